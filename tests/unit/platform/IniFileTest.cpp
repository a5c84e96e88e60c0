#include "platform/IniFile.h"

#include "support/FileBytes.h"
#include "support/TempWorld.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {
class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override { QFile::remove(path); }
    const QString path = TempWorld::current().root() + "/Test.ini";
    IniFile ini{path};
};
}  // namespace

TEST_F(IniFileTest, MissingFileGivesTheDefaultAndTheFirstWriteCreatesFileAndSection) {
    EXPECT_EQ(ini.readString("Profiles", "Profile1", "Profile 1  "), "Profile 1");
    EXPECT_EQ(ini.readString("Profiles", "Profile1"), "");
    EXPECT_FALSE(ini.exists());

    ASSERT_TRUE(ini.writeString("Profiles", "Profile1", "/opt/Profil ä.pro"));
    EXPECT_EQ(fileBytes(path), QByteArray("[Profiles]\nProfile1=/opt/Profil \xC3\xA4.pro\n"));
    EXPECT_EQ(ini.readString("profiles", "PROFILE1", "x"), "/opt/Profil ä.pro");
    EXPECT_EQ(ini.readString("Profiles", "Profile2", "x"), "x");
    EXPECT_EQ(ini.readString("Other", "Profile1", "x"), "x");
}

TEST_F(IniFileTest, ReadsValuesAsWindowsDoes) {
    writeRaw(path,
             "\xEF\xBB\xBF"
             "Profile1=before any section\r\n"
             "[ profiles ]\r\n"
             "; Profile1=a comment\r\n"
             "  Profile1 =  /a b.pro  \r\n"
             "Profile1=/second\r\n"
             "Profile2=\"  quoted  \"\r\n"
             "Profile3='x'\r\n"
             "Profile4=\"unbalanced\r\n"
             "Profile5\r\n"
             "Profile6=\r\n"
             "[Profiles]\r\n"
             "Profile7=/only in the second section\r\n");
    const struct {
        const char* key;
        const char* expected;
    } cases[] = {
        {"Profile1", "/a b.pro"},  // trimmed; the first key of the first section wins
        {"Profile2", "  quoted  "}, {"Profile3", "x"},       {"Profile4", "\"unbalanced"},
        {"Profile5", "default"},                              // no "=": no value
        {"Profile6", ""},           {"Profile7", "default"},  // only the first section of a name is
                                                              // searched
    };
    for (const auto& c : cases)
        EXPECT_EQ(ini.readString("Profiles", c.key, "default"), QString::fromUtf8(c.expected))
            << c.key;
}

TEST_F(IniFileTest, ValuesAreCutToTheBufferWithoutSplittingASurrogatePair) {
    const QString long300(300, QLatin1Char('a'));
    ASSERT_TRUE(ini.writeString("S", "k", long300));
    EXPECT_EQ(ini.readString("S", "k"), QString(259, QLatin1Char('a')));
    EXPECT_EQ(ini.readString("S", "missing", long300), QString(259, QLatin1Char('a')));

    const QString pairAtTheCut = QString(258, QLatin1Char('a')) + QString::fromUtf8("😀") + "b";
    ASSERT_TRUE(ini.writeString("S", "k", pairAtTheCut));
    EXPECT_EQ(ini.readString("S", "k"), QString(258, QLatin1Char('a')));
}

TEST_F(IniFileTest, WritesChangeOnlyTheirLineAndKeepEverythingElse) {
    writeRaw(path,
             "; kept\r\n"
             "[Profiles]\r\n"
             "profile1=/old\r\n"
             "Stray \xFF\xFE line\r\n"
             "\r\n"
             "[Other]\r\n"
             "Profile1=/other\r\n");
    ASSERT_TRUE(ini.writeString("PROFILES", "Profile1", "/new"));
    ASSERT_TRUE(ini.writeString("Profiles", "Profile2", "/added"));
    ASSERT_TRUE(ini.writeString("Third", "Profile3", " blanks "));
    EXPECT_EQ(fileBytes(path), QByteArray("; kept\r\n"
                                          "[Profiles]\r\n"
                                          "Profile1=/new\r\n"
                                          "Stray \xFF\xFE line\r\n"
                                          "Profile2=/added\r\n"
                                          "\r\n"
                                          "[Other]\r\n"
                                          "Profile1=/other\r\n"
                                          "\r\n"
                                          "[Third]\r\n"
                                          "Profile3=\" blanks \"\r\n"));
    // Values that reading would change are quoted, so they read back as given.
    EXPECT_EQ(ini.readString("Third", "Profile3"), " blanks ");
    ASSERT_TRUE(ini.writeString("Third", "Profile3", "'q'"));
    EXPECT_EQ(ini.readString("Third", "Profile3"), "'q'");
}

TEST_F(IniFileTest, RefusesWhatWouldBreakTheLines) {
    ASSERT_TRUE(ini.writeString("Profiles", "Profile1", "/safe"));
    const QByteArray before = fileBytes(path);
    EXPECT_FALSE(ini.writeString("Profiles", "Profile1", "/a\nProfile2=/injected"));
    EXPECT_FALSE(ini.writeString("Profiles", "Profile1", "/a\r"));
    EXPECT_FALSE(ini.writeString("Profiles", "Key=1", "v"));
    EXPECT_FALSE(ini.writeString("Profiles", ";Key", "v"));
    EXPECT_FALSE(ini.writeString("Profiles", "", "v"));
    EXPECT_FALSE(ini.writeString("A]B", "Key", "v"));
    EXPECT_FALSE(ini.writeString("Profiles", "Profile1", QString("a") + QChar(0) + "b"));
    EXPECT_EQ(fileBytes(path), before);
}

TEST_F(IniFileTest, AnUnreadableFileIsNeverReplaced) {
    writeRaw(path, "[Profiles]\nProfile1=/kept\n");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::WriteOwner));
    if (QFile(path).open(QIODevice::ReadOnly))
        GTEST_SKIP() << "running with permission to read anything";
    EXPECT_FALSE(ini.writeString("Profiles", "Profile2", "/new"));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(fileBytes(path), QByteArray("[Profiles]\nProfile1=/kept\n"));
}
