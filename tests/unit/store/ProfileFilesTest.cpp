#include "store/ProfileFiles.h"

#include "model/CombTable.h"
#include "model/MacroTable.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "store/ProfileView.h"
#include "support/FileBytes.h"
#include "support/TempWorld.h"
#include "unit/model/ImageBytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int ProfileSize = 185476;
constexpr int CombAt = 1564, MacroAt = 53968, KeysAt = 184372;

std::span<std::uint8_t> span(QByteArray& bytes) {
    return {reinterpret_cast<std::uint8_t*>(bytes.data()), std::size_t(bytes.size())};
}
std::span<const std::uint8_t> span(const QByteArray& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size())};
}

// The layout runs against ascending key code, so the two orders of default keys differ.
KeyTable::LayoutCodes layoutCodes() {
    KeyTable::LayoutCodes codes{};
    for (int i = 0; i < 92; ++i)
        codes[std::size_t(i)] = std::uint8_t(111 - i);
    return codes;
}

// A key section of 92 records {code, type, value}, one per layout code in ascending order.
QByteArray keySection(std::int32_t type, int valueBase) {
    QByteArray keys(1104, 0);
    for (int r = 0; r < 92; ++r) {
        keys[r * 12] = char(20 + r);
        putInt32(span(keys), std::size_t(r * 12 + 4), type);
        putInt32(span(keys), std::size_t(r * 12 + 8), valueBase + r);
    }
    return keys;
}

struct Fields {
    QString name = {};
    QString programPath = {};
    QString docName = {};
    std::int32_t autoSwitch = 0;
    char comb = 0, macro = 0;
    QByteArray keys = keySection(AssignDefault, 0);
};

QByteArray profileBytes(const Fields& f) {
    QByteArray bytes(ProfileSize, 0);
    putUtf16(span(bytes), 0, f.name);
    putUtf16(span(bytes), 520, f.programPath);
    putUtf16(span(bytes), 1040, f.docName);
    putInt32(span(bytes), 1560, f.autoSwitch);
    bytes.replace(CombAt, 52404, QByteArray(52404, f.comb));
    bytes.replace(MacroAt, 130404, QByteArray(130404, f.macro));
    bytes.replace(KeysAt, 1104, f.keys);
    return bytes;
}

// The default keys as a profile stores them: in layout order or in ascending key code.
QByteArray defaultKeys(bool layoutOrder) {
    QByteArray keys(1104, 0);
    for (int r = 0; r < 92; ++r) {
        keys[r * 12] = char(layoutOrder ? 111 - r : 20 + r);
        keys[r * 12 + 4] = 1;
    }
    return keys;
}

class RecordingView : public ProfileView {
public:
    void showProfileInfo(const ProfileInfo& info) override { shown.push_back(info); }
    void refreshAllKeys() override { ++refreshes; }
    std::vector<ProfileInfo> shown;
    int refreshes = 0;
};

class ProfileFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Each case starts from an empty application folder, even in one process.
        QDir(app).removeRecursively();
        QDir().mkpath(app);
        previousPresenter = MessageBox::setPresenter(
            [this](const QString&, const QString& text) { messages << text; });
        profiles.setTexts("Profile", "Profiles");
        profiles.setLayoutCodes(layoutCodes());
        profiles.setView(&view);
        KeySettingImage::instance().bytes.fill(0x5A);
        KeyTable::instance().loadRecords(span(std::as_const(keysInMemory)).first<1104>(),
                                         layoutCodes());
        MacroTable::image().fill(0x33);
        CombTable::image().fill(0x44);
    }
    void TearDown() override { MessageBox::setPresenter(previousPresenter); }

    QString inProfileFolder(const QString& name) const { return app + "Profile/" + name; }
    void record(int index, const QString& path) {
        ASSERT_TRUE(QFile::exists(ini()) || QDir().mkpath(app));
        IniFile(ini()).writeString("Profiles", QString("Profile%1").arg(index + 1), path);
    }
    QString ini() const { return app + "Profile.ini"; }
    QString recorded(int index) const {
        return IniFile(ini()).readString("Profiles", QString("Profile%1").arg(index + 1), "none");
    }
    // The key table holds the "running" assignments: every key a macro.
    const QByteArray keysInMemory = keySection(AssignMacro, 0);

    const QString app = TempWorld::current().appDir();
    RecordingView view;
    ProfileFiles profiles;
    QStringList messages;
    MessageBox::Presenter previousPresenter;
};
}  // namespace

TEST_F(ProfileFilesTest, FirstRunCreatesTheFolderTheDefaultFileAndProfile1AndLoadsIt) {
    profiles.LoadCurrentProfile(0);

    const QString path = inProfileFolder("Profile 1.pro");
    EXPECT_EQ(fileBytes(path), profileBytes({.name = "Profile 1", .keys = defaultKeys(true)}));
    EXPECT_EQ(fileBytes(ini()), "[Profiles]\nProfile1=" + QFile::encodeName(path) + "\n");

    // The running configuration is the default profile's now.
    ASSERT_EQ(KeyTable::instance().size(), 92u);
    for (const auto& [code, a] : KeyTable::instance())
        EXPECT_EQ(a, (KeyAssignment{code, AssignDefault, 0}));
    EXPECT_TRUE(allZero(MacroTable::image()));
    EXPECT_TRUE(allZero(CombTable::image()));
    ASSERT_EQ(view.shown.size(), 1u);
    EXPECT_EQ(view.shown[0], (ProfileInfo{"Profile 1", "", "", "", 0}));
    EXPECT_EQ(profiles.info(), view.shown[0]);
    EXPECT_EQ(view.refreshes, 1);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ProfileFilesTest, AMissingFileNamedByTheIndexIsReplacedAtTheDefaultPathAndRecorded) {
    record(2, app + "gone/elsewhere.pro");
    EXPECT_EQ(profiles.ResolveProfilePath(2), inProfileFolder("Profile 3.pro"));
    EXPECT_EQ(recorded(2), inProfileFolder("Profile 3.pro"));
    EXPECT_EQ(fileBytes(inProfileFolder("Profile 3.pro")),
              profileBytes({.name = "Profile 3", .keys = defaultKeys(true)}));

    // A recorded file that exists is used where it lies.
    const QString elsewhere = app + "mine.pro";
    writeRaw(elsewhere, "x");
    record(2, elsewhere);
    EXPECT_EQ(profiles.ResolveProfilePath(2), elsewhere);
}

TEST_F(ProfileFilesTest, AnExistingDefaultFileIsTakenOverWhenNothingIsRecordedForItsIndex) {
    QDir().mkpath(app + "Profile");
    const QByteArray mine = profileBytes({.name = "Mine", .comb = 1});
    writeRaw(inProfileFolder("Profile 2.pro"), mine);

    EXPECT_EQ(profiles.ResolveProfilePath(1), inProfileFolder("Profile 2.pro"));
    EXPECT_FALSE(QFile::exists(ini()));  // no index file: none is made
    record(0, "/somewhere/else.pro");    // an index file without a key for index 1
    EXPECT_EQ(profiles.ResolveProfilePath(1), inProfileFolder("Profile 2.pro"));
    EXPECT_EQ(fileBytes(inProfileFolder("Profile 2.pro")), mine);
}

TEST_F(ProfileFilesTest, AShortFileLoadsWithZerosAndStringsEndAtTheirFirstNul) {
    QByteArray bytes = profileBytes({.name = "Short",
                                     .programPath = "/usr/games/tetris",
                                     .docName = "doc",
                                     .autoSwitch = 1,
                                     .comb = 7,
                                     .macro = 8,
                                     .keys = keySection(AssignMedia, 0)});
    putUtf16(span(bytes), 1040 + 8, QString("tail"));  // after "doc" and its NUL
    const QString full = app + "full.pro", cut = app + "short.pro";
    writeRaw(full, bytes);
    writeRaw(cut, bytes.left(CombAt + 10));

    ASSERT_TRUE(profiles.ReadProfileFile(full));
    EXPECT_EQ(profiles.info(), (ProfileInfo{"Short", "doc", "/usr/games/tetris", "tetris", 1}));
    EXPECT_EQ(KeyTable::instance().entry(20), (KeyAssignment{20, AssignMedia, 0}));
    EXPECT_EQ(MacroTable::image()[0], 8);
    EXPECT_EQ(std::vector<std::uint8_t>(KeySettingImage::instance().bytes.begin(),
                                        KeySettingImage::instance().bytes.end()),
              std::vector<std::uint8_t>(bytes.begin() + KeysAt, bytes.end()));

    ASSERT_TRUE(profiles.ReadProfileFile(cut));
    EXPECT_EQ(CombTable::image()[9], 7);
    EXPECT_TRUE(allZero(std::span(CombTable::image()).subspan(10)));
    EXPECT_TRUE(allZero(MacroTable::image()));
    // No key records at all: the layout makes every key default, so it can still be saved.
    ASSERT_EQ(KeyTable::instance().size(), 92u);
    EXPECT_EQ(KeyTable::instance().entry(20), (KeyAssignment{20, AssignDefault, 0}));
}

TEST_F(ProfileFilesTest, AFileThatCannotBeReadChangesNothingButTheKeysAreRefreshed) {
    EXPECT_FALSE(profiles.ReadProfileFile(app + "missing.pro"));
    EXPECT_FALSE(profiles.ReadProfileFile(app));  // a folder
    EXPECT_EQ(KeyTable::instance().entry(20), (KeyAssignment{20, AssignMacro, 0}));
    EXPECT_EQ(MacroTable::image()[0], 0x33);
    EXPECT_TRUE(view.shown.empty());
    EXPECT_EQ(view.refreshes, 2);
}

TEST_F(ProfileFilesTest, SavingRewritesTheCurrentFileInPlaceOfItsFirstBytesOnly) {
    // The profile lies elsewhere and is reached through a link; whatever the file holds
    // beyond the profile stays, and so do the link and the mode.
    const QString real = app + "real.pro", link = app + "link.pro";
    const QByteArray tail = "beyond the profile";
    writeRaw(real, profileBytes({.name = "Old"}) + tail);
    ::chmod(QFile::encodeName(real).constData(), 0604);
    ASSERT_EQ(::symlink("real.pro", QFile::encodeName(link).constData()), 0);
    record(4, link);
    ASSERT_TRUE(profiles.ReadProfileFile(link));
    KeyTable::instance().entry(25) = {25, AssignSingleKey, 0x41};
    MacroTable::image().fill(2);
    CombTable::image().fill(3);

    profiles.SaveCurrentProfile(4);
    QByteArray keys = defaultKeys(false);
    keys.replace(5 * 12, 12, QByteArray("\x19\0\0\0\x09\0\0\0\x41\0\0\0", 12));
    EXPECT_EQ(fileBytes(real),
              profileBytes({.name = "Old", .comb = 3, .macro = 2, .keys = keys}) + tail);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(real).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0604u);
    EXPECT_EQ(view.refreshes, 2);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ProfileFilesTest, AKeyTableThatCannotBeStoredKeepsTheFileKeys) {
    profiles.LoadCurrentProfile(0);
    const QByteArray before = fileBytes(inProfileFolder("Profile 1.pro"));
    KeyTable::instance().entry(3);  // a 93rd entry
    MacroTable::image().fill(9);
    profiles.SaveCurrentProfile(0);
    EXPECT_EQ(messages, QStringList{"error"});
    const QByteArray after = fileBytes(inProfileFolder("Profile 1.pro"));
    EXPECT_EQ(after.mid(KeysAt), before.mid(KeysAt));
    EXPECT_EQ(after.at(MacroAt), 9);
}

TEST_F(ProfileFilesTest, SavingIntoAFileThatCannotBeMadeIsReportedOnce) {
    writeRaw(app + "Profile", "a file where the folder should be");
    profiles.SaveCurrentProfile(0);
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(view.refreshes, 1);
}

TEST_F(ProfileFilesTest, ResetWritesTheDefaultContentNamedAfterTheFileBaseName) {
    const QString path = app + "My keys.v2.pro";
    writeRaw(path, profileBytes({.name = "Whatever", .docName = "d", .autoSwitch = 1, .comb = 1}) +
                       "tail");
    record(3, path);
    profiles.ResetCurrentProfile(3);
    // Keys from the table, in ascending key code; the old content is gone, tail and all.
    EXPECT_EQ(fileBytes(path), profileBytes({.name = "My keys.v2", .keys = defaultKeys(false)}));
    ASSERT_EQ(view.shown.size(), 1u);
    EXPECT_EQ(view.shown[0], (ProfileInfo{"My keys.v2", "", "", "", 0}));

    // Nothing recorded: the default path.
    profiles.ResetCurrentProfile(5);
    EXPECT_EQ(fileBytes(inProfileFolder("Profile 6.pro")),
              profileBytes({.name = "Profile 6", .keys = defaultKeys(false)}));

    // A table that cannot be stored: "error!" and no keys in the file.
    KeyTable::instance().entry(3);
    profiles.ResetCurrentProfile(5);
    EXPECT_EQ(messages, QStringList{"error!"});
    EXPECT_EQ(fileBytes(inProfileFolder("Profile 6.pro")),
              profileBytes({.name = "Profile 6", .keys = QByteArray(1104, 0)}));
}

TEST_F(ProfileFilesTest, DialogRowsComeFromTheRecordedFilesOrFromNewDefaultFiles) {
    const QString mine = app + "Racing.pro";
    QByteArray image = profileBytes({.name = "Inner name",
                                     .programPath = "C:\\Games\\race.exe",
                                     .docName = "fast",
                                     .autoSwitch = 1,
                                     .comb = 5});
    writeRaw(mine, image);
    record(0, mine);
    record(1, app + "missing.pro");

    const ProfileRow first = profiles.LoadProfileRow(0);
    EXPECT_EQ(first.path, mine);
    EXPECT_EQ(first.name, "Racing");  // from the path, not the image
    EXPECT_EQ(first.docName, "fast");
    EXPECT_EQ(first.programPath, "C:\\Games\\race.exe");
    EXPECT_EQ(first.programFile, "race.exe");
    EXPECT_EQ(first.autoSwitch, 1);
    EXPECT_EQ(first.image.toByteArray(), image);

    const ProfileRow second = profiles.LoadProfileRow(1);
    const QByteArray defaults = profileBytes({.name = "Profile 2", .keys = defaultKeys(false)});
    EXPECT_EQ(second.path, inProfileFolder("Profile 2.pro"));
    EXPECT_EQ(second.name, "Profile 2");
    EXPECT_EQ(second.image.toByteArray(), defaults);
    EXPECT_EQ(fileBytes(second.path), defaults);
    EXPECT_EQ(recorded(1), app + "missing.pro");  // recorded when the dialog closes

    // A default file that cannot be made leaves the row empty.
    QDir(app + "Profile").removeRecursively();
    writeRaw(app + "Profile", "blocked");
    const ProfileRow third = profiles.LoadProfileRow(2);
    EXPECT_TRUE(third.path.isEmpty());
    EXPECT_TRUE(third.name.isEmpty());
    EXPECT_FALSE(profiles.WriteRowFile(third));
}

TEST_F(ProfileFilesTest, ImportExportWriteAndRecordWorkOnTheRows) {
    ProfileFiles::Rows rows;
    for (int n = 0; n < 7; ++n)
        rows[std::size_t(n)] = profiles.LoadProfileRow(n);

    // Import takes a file where it lies; one that cannot be read changes nothing.
    const QString imported = app + "from a stick.pro";
    const QByteArray image = profileBytes({.name = "x", .docName = "imported", .macro = 6});
    writeRaw(imported, image);
    EXPECT_FALSE(profiles.ImportProfileFile(rows[3], app + "nothing.pro"));
    EXPECT_EQ(rows[3].name, "Profile 4");
    ASSERT_TRUE(profiles.ImportProfileFile(rows[3], imported));
    EXPECT_EQ(rows[3].path, imported);
    EXPECT_EQ(rows[3].name, "from a stick");
    EXPECT_FALSE(QFile::exists(inProfileFolder("from a stick.pro")));

    // Export writes the row's image as it is.
    ASSERT_TRUE(profiles.ExportProfileFile(rows[3], app + "exported.pro"));
    EXPECT_EQ(fileBytes(app + "exported.pro"), image);

    // A row writes its image over its file, whatever was there.
    rows[0].image.setDocName("edited");
    writeRaw(rows[0].path, profileBytes({}) + "tail");
    ASSERT_TRUE(profiles.WriteRowFile(rows[0]));
    EXPECT_EQ(fileBytes(rows[0].path), rows[0].image.toByteArray());

    rows[6] = ProfileRow{};
    profiles.RecordAllProfilePaths(rows);
    EXPECT_EQ(recorded(3), imported);
    EXPECT_EQ(recorded(0), inProfileFolder("Profile 1.pro"));
    EXPECT_EQ(recorded(6), "");  // a row without a path records an empty value
    EXPECT_TRUE(fileBytes(ini()).contains("\nProfile7=\n"));
    // ...which means the default path again.
    EXPECT_EQ(profiles.ResolveProfilePath(6), inProfileFolder("Profile 7.pro"));
}

TEST_F(ProfileFilesTest, ApplyingARowMakesItCurrentAndWritesItsFile) {
    ProfileRow row;
    row.fill(app + "Work.pro",
             ProfileImage::fromFileContent(profileBytes({.name = "stale",
                                                         .programPath = "/bin/ed",
                                                         .docName = "d",
                                                         .autoSwitch = 1,
                                                         .comb = 1,
                                                         .macro = 2,
                                                         .keys = keySection(AssignEdit, 0)})));
    profiles.ApplySelectedProfile(row, 2);
    EXPECT_EQ(profiles.info(), (ProfileInfo{"Work", "d", "/bin/ed", "ed", 1}));
    EXPECT_EQ(KeyTable::instance().entry(21), (KeyAssignment{21, AssignEdit, 1}));
    EXPECT_EQ(MacroTable::image()[0], 2);
    EXPECT_EQ(CombTable::image()[0], 1);
    EXPECT_EQ(view.refreshes, 1);
    EXPECT_EQ(fileBytes(app + "Work.pro"), profileBytes({.name = "Work",
                                                         .programPath = "/bin/ed",
                                                         .docName = "d",
                                                         .autoSwitch = 1,
                                                         .comb = 1,
                                                         .macro = 2,
                                                         .keys = keySection(AssignEdit, 0)}));

    // A row without name and path: "<str_profile> n+1.pro" in the profile folder. Its image
    // holds no keys, so the layout's defaults are what the table and the file get.
    ProfileRow empty;
    profiles.ApplySelectedProfile(empty, 4);
    EXPECT_EQ(fileBytes(inProfileFolder("Profiles 5.pro")),
              profileBytes({.keys = defaultKeys(false)}));
    EXPECT_EQ(profiles.info(), ProfileInfo{});
}

TEST_F(ProfileFilesTest, AnIndexOutsideTheSevenProfilesReachesNoFile) {
    const struct {
        std::int64_t value;
        std::optional<int> index;
    } cases[] = {{0, 0},
                 {6, 6},
                 {-1, {}},
                 {7, {}},
                 {std::int64_t(1) << 32, {}},
                 {(std::int64_t(1) << 32) + 3, {}},
                 {INT64_MIN, {}}};
    for (const auto& c : cases)
        EXPECT_EQ(ProfileFiles::checkedIndex(c.value), c.index) << c.value;

    for (int index : {-1, 7, 1000}) {
        profiles.LoadCurrentProfile(index);
        profiles.SaveCurrentProfile(index);
        profiles.ResetCurrentProfile(index);
        profiles.ApplySelectedProfile(ProfileRow{}, index);
        EXPECT_TRUE(profiles.LoadProfileRow(index).path.isEmpty());
        EXPECT_FALSE(profiles.RecordProfilePath(index, "/x"));
    }
    EXPECT_TRUE(QDir(app).isEmpty());
}
