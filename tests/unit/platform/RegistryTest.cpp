#include "platform/Registry.h"

#include "support/FileBytes.h"
#include "support/TempWorld.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {
const QString kKey = QStringLiteral("Software\\Quorv\\Zelt");

}  // namespace

TEST(Registry, KeyPathDropsSoftwareAndLivesUnderConfigHome) {
    EXPECT_EQ(Registry::keyDirectory(kKey), TempWorld::current().configHome() + "/Quorv/Zelt");
    EXPECT_TRUE(Registry::keyDirectory(QStringLiteral("Software\\..\\x")).isEmpty());
    EXPECT_TRUE(Registry::keyDirectory(QStringLiteral("Software")).isEmpty());
}

TEST(Registry, OpenFailsUntilCreatedThenValuesRoundTripWithTheirType) {
    EXPECT_FALSE(Registry::openKey(kKey));
    auto key = Registry::createKey(kKey);
    ASSERT_TRUE(key);
    const std::array<std::uint8_t, 3> data{1, 2, 3};
    ASSERT_TRUE(key->setValue(QStringLiteral("Rate"), Registry::RegDword, data));

    // On disk: 4-byte little-endian type, then the data.
    EXPECT_EQ(fileBytes(key->directory() + "/Rate"), QByteArray("\x04\x00\x00\x00\x01\x02\x03", 7));

    auto reopened = Registry::openKey(kKey);
    ASSERT_TRUE(reopened);
    std::array<std::uint8_t, 8> buffer{};
    buffer.fill(0xEE);
    auto info = reopened->queryValue(QStringLiteral("Rate"), buffer);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->type, Registry::RegDword);
    EXPECT_EQ(info->size, 3u);
    // A shorter value replaces only its own bytes of the caller's buffer.
    EXPECT_EQ(buffer, (std::array<std::uint8_t, 8>{1, 2, 3, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}));
}

TEST(Registry, UnusableValuesFailAndLeaveTheBufferAlone) {
    auto key = Registry::createKey(kKey);
    ASSERT_TRUE(key);
    const std::array<std::uint8_t, 5> five{9, 9, 9, 9, 9};
    ASSERT_TRUE(key->setValue(QStringLiteral("Long"), Registry::RegBinary, five));
    writeRaw(key->directory() + "/Short", QByteArray("\x03\x00\x00", 3));

    std::array<std::uint8_t, 4> buffer{7, 7, 7, 7};
    EXPECT_FALSE(key->queryValue(QStringLiteral("Long"), buffer));   // longer than buffer
    EXPECT_FALSE(key->queryValue(QStringLiteral("Short"), buffer));  // no whole type header
    EXPECT_FALSE(key->queryValue(QStringLiteral("Missing"), buffer));
    EXPECT_FALSE(key->queryValue(QStringLiteral("../Zelt"), buffer));  // not a value name
    EXPECT_EQ(buffer, (std::array<std::uint8_t, 4>{7, 7, 7, 7}));

    // A value that fits exactly is fine, and a bare type header is an empty value.
    std::array<std::uint8_t, 5> exact{};
    EXPECT_TRUE(key->queryValue(QStringLiteral("Long"), exact));
    writeRaw(key->directory() + "/Empty", QByteArray("\x03\x00\x00\x00", 4));
    auto info = key->queryValue(QStringLiteral("Empty"), buffer);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->size, 0u);
}

TEST(Registry, BlockedKeyFolderMakesCreateAndWritesFailQuietly) {
    // A plain file where the key's folder should be (tests run as root, so permissions
    // would not stop us).
    QDir().mkpath(TempWorld::current().configHome());
    writeRaw(TempWorld::current().configHome() + "/Quorv", "not a folder");
    EXPECT_FALSE(Registry::openKey(kKey));
    EXPECT_FALSE(Registry::createKey(kKey));

    // A key whose folder vanished after opening fails its writes without throwing.
    auto other = Registry::createKey(QStringLiteral("Software\\Other"));
    ASSERT_TRUE(other);
    QDir(other->directory()).removeRecursively();
    const std::array<std::uint8_t, 1> one{1};
    EXPECT_FALSE(other->setValue(QStringLiteral("V"), Registry::RegBinary, one));
}

TEST(Registry, ReaderInAnotherProcessNeverSeesAMixedValue) {
    auto key = Registry::createKey(kKey);
    ASSERT_TRUE(key);
    const std::vector<std::uint8_t> a(100000, 'a');
    const std::vector<std::uint8_t> b(60000, 'b');
    ASSERT_TRUE(key->setValue(QStringLiteral("Big"), Registry::RegBinary, a));

    // The reader checks every read itself and prints how many were torn.
    QProcess reader;
    reader.start(QStringLiteral(HALDA_REGISTRY_READER),
                 {key->directory() + "/Big", QString::number(a.size()), QString::number(b.size())});
    ASSERT_TRUE(reader.waitForStarted());
    for (int i = 0; i < 300; ++i)
        ASSERT_TRUE(key->setValue(QStringLiteral("Big"), Registry::RegBinary, i % 2 ? a : b));
    reader.closeWriteChannel();
    ASSERT_TRUE(reader.waitForFinished(20000));
    const QString report = QString::fromLatin1(reader.readAllStandardOutput()).trimmed();
    EXPECT_EQ(reader.exitCode(), 0) << report.toStdString();
    EXPECT_TRUE(report.startsWith("torn=0 ")) << report.toStdString();
}
