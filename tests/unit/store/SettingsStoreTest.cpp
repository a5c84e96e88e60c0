#include "store/SettingsStore.h"

#include "model/CombTable.h"
#include "model/MacroTable.h"
#include "platform/LittleEndian.h"
#include "platform/MessageBox.h"
#include "platform/Messages.h"
#include "store/ProfileFiles.h"
#include "support/TempWorld.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {
QString valuePath(const char* name) {
    return TempWorld::current().configHome() + "/Quorv/Zelt/" + name;
}

QByteArray stored(const char* name) {
    QFile file(valuePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void store(const char* name, std::uint32_t type, const QByteArray& data) {
    QDir().mkpath(TempWorld::current().configHome() + "/Quorv/Zelt");
    QFile file(valuePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QByteArray header(4, 0);
    header[0] = char(type);
    file.write(header + data);
}

QByteArray binary(const QByteArray& data) {
    return QByteArray("\x03\x00\x00\x00", 4) + data;
}

KeyTable::LayoutCodes layoutCodes() {
    KeyTable::LayoutCodes codes{};
    for (int i = 0; i < 92; ++i)
        codes[std::size_t(i)] = std::uint8_t(20 + i);
    return codes;
}

QByteArray defaultKeySetting() {
    QByteArray bytes(1104, 0);
    for (int i = 0; i < 92; ++i) {
        bytes[i * 12] = char(20 + i);
        bytes[i * 12 + 4] = 1;
    }
    return bytes;
}

void expectAllDefaultsStored() {
    EXPECT_EQ(stored("KeySetting"), binary(defaultKeySetting()));
    EXPECT_EQ(stored("MacroSetting"), binary(QByteArray(130404, 0)));
    EXPECT_EQ(stored("CombSetting"), binary(QByteArray(52404, 0)));
    EXPECT_EQ(stored("RateSetting"), binary(QByteArray("\x08\x00\x00\x00", 4)));
    EXPECT_EQ(stored("ProSettingSel"), binary(QByteArray(4, 0)));
}

// Stands in for the companion inside the test process: notes each message with the stored
// key setting at that moment, so the order against the writes shows.
class RecordingCompanion : public MessageReceiver {
public:
    RecordingCompanion() {
        handle = Messages::registerWindow(this, QStringLiteral("QuorvZelt_Setting"));
    }
    ~RecordingCompanion() override { Messages::unregisterWindow(handle); }

    std::int64_t receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                std::int64_t lParam) override {
        log << QStringLiteral("%1 %2 %3 %4")
                   .arg(message, 0, 16)
                   .arg(wParam)
                   .arg(lParam)
                   .arg(stored("KeySetting") == keySettingBefore ? "old" : "new");
        return 0;
    }

    WindowHandle handle = 0;
    QByteArray keySettingBefore;
    QStringList log;
};

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The tables and images are process-wide: each case starts as a fresh process does.
        KeySettingImage::instance() = {};
        KeyTable::instance().clear();
        MacroTable::image().fill(0);
        CombTable::image().fill(0);
        previousPresenter = MessageBox::setPresenter(
            [this](const QString&, const QString& text) { shown << text; });
        settings.setLayoutCodes(layoutCodes());
    }
    void TearDown() override { MessageBox::setPresenter(previousPresenter); }

    SettingsStore settings;
    QStringList shown;
    MessageBox::Presenter previousPresenter;
};
}  // namespace

TEST_F(SettingsStoreTest, FirstRunCreatesTheKeyWithAllFiveDefaults) {
    MacroTable::image().fill(0x11);
    CombTable::image().fill(0x22);
    settings.load();
    expectAllDefaultsStored();
    EXPECT_EQ(KeyTable::instance().size(), 92u);
    EXPECT_EQ(MacroTable::image()[0], 0);
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(SettingsStoreTest, StoredValuesAreLoadedAsTheyStand) {
    QByteArray keys = defaultKeySetting();
    keys[4] = char(AssignSingleKey);
    keys[8] = 0x41;
    QByteArray macros(130404, 0);
    macros[130400] = 1;
    store("KeySetting", 3, keys);
    store("MacroSetting", 3, macros);
    store("CombSetting", 3, QByteArray(52404, 7));
    store("RateSetting", 3, QByteArray("\x02\x00\x00\x00", 4));
    store("ProSettingSel", 3, QByteArray("\x05\x00\x00\x00", 4));
    settings.load();
    EXPECT_EQ(KeyTable::instance().entry(20), (KeyAssignment{20, AssignSingleKey, 0x41}));
    EXPECT_EQ(MacroTable::image()[130400], 1);
    EXPECT_EQ(CombTable::image()[52403], 7);
    EXPECT_EQ(settings.reportRate, 2);
    EXPECT_EQ(settings.profileSelection, 5);
    EXPECT_EQ(stored("KeySetting"), binary(keys));  // nothing rewritten
}

TEST_F(SettingsStoreTest, UnusableValuesAreReplacedByDefaultsAndWrittenBack) {
    store("KeySetting", 3, QByteArray(1200, 1));                 // too long
    store("MacroSetting", 1, QByteArray(10, 'x'));               // not binary
    store("CombSetting", 3, QByteArray(52405, 1));               // too long
    store("RateSetting", 4, QByteArray("\x01\x00\x00\x00", 4));  // REG_DWORD
    store("ProSettingSel", 3, QByteArray(5, 0));                 // too long
    settings.load();
    expectAllDefaultsStored();
    EXPECT_EQ(settings.reportRate, 8);
}

// A damaged KeySetting must not lock the user out: after one save it holds every layout key,
// and what it held for them before.
TEST_F(SettingsStoreTest, DamagedKeySettingIsCompletedAtTheNextSave) {
    QByteArray keys = defaultKeySetting();
    for (int r = 0; r < 92; ++r) {
        keys[r * 12 + 4] = char(AssignMedia);
        keys[r * 12 + 8] = char(r);
    }
    QByteArray repeated = keys;
    repeated[5 * 12] = char(20 + 70);  // record 5 now names record 70's key as well
    const QByteArray stores[] = {keys.left(600), repeated};
    for (const QByteArray& damaged : stores) {
        store("KeySetting", 3, damaged);
        KeySettingImage::instance().bytes.fill(0);
        settings.load();
        EXPECT_EQ(KeyTable::instance().size(), 92u);
        settings.saveAll(SettingsStore::NoticeEdit);
        EXPECT_TRUE(shown.isEmpty()) << shown.join(' ').toStdString();

        QByteArray expected = keys;
        const bool isShort = damaged.size() == 600;
        for (int r = 0; r < 92; ++r) {
            const bool lost = isShort ? r >= 50 : r == 5;  // no usable record of its own
            if (lost) {
                expected[r * 12 + 4] = char(AssignDefault);
                expected[r * 12 + 8] = 0;
            }
        }
        if (!isShort)
            expected[70 * 12 + 8] = char(5);  // the first record of a key code wins
        EXPECT_EQ(stored("KeySetting"), binary(expected));
    }
}

TEST_F(SettingsStoreTest, SaveWithAnIncompleteTableShowsErrorAndStillWritesEverything) {
    settings.load();
    const QByteArray keysBefore = stored("KeySetting");
    KeyTable::instance().entry(20).type = AssignMouse;  // an edit that cannot be stored...
    KeyTable::instance().entry(200);                    // ...because the table now holds 93
    settings.reportRate = 1;
    settings.profileSelection = 3;
    MacroTable::image()[0] = 9;
    CombTable::image()[0] = 8;
    settings.saveAll(SettingsStore::NoticeEdit);
    EXPECT_EQ(shown, QStringList{"error!"});
    EXPECT_EQ(stored("KeySetting"), keysBefore);
    EXPECT_EQ(stored("MacroSetting").at(4), 9);
    EXPECT_EQ(stored("CombSetting").at(4), 8);
    EXPECT_EQ(stored("RateSetting"), binary(QByteArray("\x01\x00\x00\x00", 4)));
    EXPECT_EQ(stored("ProSettingSel"), binary(QByteArray("\x03\x00\x00\x00", 4)));
}

TEST_F(SettingsStoreTest, NoticesWarnBeforeAndTellAfterTheWrite) {
    settings.load();
    struct Case {
        SettingsStore::Notice notice;
        QStringList duringSave;
        QStringList afterEvents;
    };
    const Case cases[] = {
        {SettingsStore::NoticeOk, {"654 0 0 old", "601 0 0 new"}, {}},
        {SettingsStore::NoticeApply, {"654 0 0 old"}, {"601 0 0 new"}},
        {SettingsStore::NoticeEdit, {}, {"601 0 1 new"}},
    };
    for (const Case& c : cases) {
        RecordingCompanion companion;
        companion.keySettingBefore = stored("KeySetting");
        KeyTable::instance().entry(21).value += 1;
        KeyTable::instance().entry(21).type = AssignMedia;
        settings.saveAll(c.notice);
        EXPECT_EQ(companion.log, c.duringSave) << int(c.notice);
        companion.log.clear();
        QCoreApplication::processEvents();
        EXPECT_EQ(companion.log, c.afterEvents) << int(c.notice);
    }
}

TEST_F(SettingsStoreTest, SaveWithoutCompanionStillWrites) {
    settings.load();
    KeyTable::instance().entry(20).type = AssignMedia;
    settings.saveAll(SettingsStore::NoticeOk);
    EXPECT_EQ(stored("KeySetting").at(4 + 4), char(AssignMedia));
}

TEST_F(SettingsStoreTest, ReportRateIsWrittenAloneAndOnlyIntoAnExistingKey) {
    settings.reportRate = 2;
    settings.writeReportRate();
    EXPECT_FALSE(QDir(TempWorld::current().configHome() + "/Quorv/Zelt").exists());

    settings.load();
    const QByteArray keys = stored("KeySetting");
    KeyTable::instance().entry(20).type = AssignMedia;
    settings.reportRate = 2;
    settings.writeReportRate();
    EXPECT_EQ(stored("RateSetting"), binary(QByteArray("\x02\x00\x00\x00", 4)));
    EXPECT_EQ(stored("KeySetting"), keys);
}

TEST_F(SettingsStoreTest, UnwritableStoreKeepsDefaultsInMemory) {
    QDir().mkpath(TempWorld::current().configHome());
    QFile blocker(TempWorld::current().configHome() + "/Quorv");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    settings.load();
    EXPECT_EQ(KeyTable::instance().size(), 92u);
    EXPECT_EQ(settings.reportRate, 8);
    settings.saveAll(SettingsStore::NoticeOk);  // fails quietly
    EXPECT_TRUE(shown.isEmpty());
}

// A damaged current profile index must never reach a file name: it loads as profile 1,
// and every save stores the 0 and rewrites profile 1's file.
TEST_F(SettingsStoreTest, SavesRewriteTheCurrentProfileAndADamagedIndexMeansTheFirst) {
    ProfileFiles profiles;
    profiles.setTexts("Profile", "Profiles");
    profiles.setLayoutCodes(layoutCodes());
    settings.setProfiles(&profiles);
    const QString folder = TempWorld::current().appDir() + "Profile";
    for (const char* index : {"\x07\x00\x00\x00", "\xFF\xFF\xFF\xFF", "\x00\x00\x00\x80"}) {
        QDir(folder).removeRecursively();
        store("ProSettingSel", 3, QByteArray(index, 4));
        settings.load();
        EXPECT_EQ(settings.profileSelection, 0);
        EXPECT_EQ(stored("ProSettingSel"), binary(QByteArray(index, 4)));  // not yet

        KeyTable::instance().entry(20) = {20, AssignMedia, 4};
        settings.saveAll(SettingsStore::NoticeEdit);
        EXPECT_EQ(stored("ProSettingSel"), binary(QByteArray(4, 0)));
        EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"Profile 1.pro"});
        QFile profile(folder + "/Profile 1.pro");
        ASSERT_TRUE(profile.open(QIODevice::ReadOnly));
        const QByteArray bytes = profile.readAll();
        ASSERT_EQ(bytes.size(), 185476);
        EXPECT_EQ(bytes.mid(184372, 12), QByteArray("\x14\0\0\0\x05\0\0\0\x04\0\0\0", 12));
    }
    EXPECT_TRUE(shown.isEmpty());
}
