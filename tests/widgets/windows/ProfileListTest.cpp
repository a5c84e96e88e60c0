#include "SkinnedDialogTesting.h"

#include "controls/BitmapBtnEx.h"
#include "support/RecordingWindow.h"
#include "windows/ProfileFileDialogs.h"
#include "windows/ProfileList.h"

#include <QLineEdit>

using namespace dialogs;

namespace {
const QRect RowRect(16, 109, 439, 19);

CProfileList::Pictures flatPictures() {
    CProfileList::Pictures pictures;
    const QStringList states = {"Normal", "Normal2", "Over", "Down", "Down2"};
    for (int i = 0; i < CProfileList::PictureCount; ++i) {
        pictures[std::size_t(i)] = QImage(470, 306, QImage::Format_RGB32);
        pictures[std::size_t(i)].fill(skinColour(states[i]));
    }
    return pictures;
}

QString unitsAt(const ProfileImage& image, std::size_t offset, int count) {
    QString text;
    for (int i = 0; i < count; ++i)
        text += QChar(char16_t(image.bytes()[offset + 2 * std::size_t(i)] |
                               image.bytes()[offset + 2 * std::size_t(i) + 1] << 8));
    return text;
}

// One row on a window that records what the row posts to it, showing a profile file in the
// profile folder.
class ProfileListTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(470, 306);
        showActive(window);
        ProfileImage image;
        image.setName("Older name field");
        image.setDocName("notes");
        image.setProgramPath("/usr/games/nethack");
        profile.fill("/home/u/Profile/Profile 2.pro", image);
        list = new CProfileList("Pro1", flatPictures(), RowRect, profile, &window);
        list->show();
        previousAnswer = ProfileFileDialogs::setAnswerForTesting(
            [this](const ProfileFileDialogs::Request& request) {
                requests.push_back(request);
                return answer;
            });
    }
    void TearDown() override { ProfileFileDialogs::setAnswerForTesting(previousAnswer); }

    CBitmapBtnEx* cell(CProfileList::Cell which) const { return list->cell(which); }
    // Opens the name editor as the user does and types over its text.
    void typeName(const QString& text) {
        doubleClick(cell(CProfileList::NameCell));
        ASSERT_TRUE(list->nameEditor() && list->nameEditor()->isVisible());
        QTest::keyClicks(list->nameEditor(), text);
    }

    RecordingWindow window;
    ProfileRow profile;
    CProfileList* list = nullptr;
    QString answer;
    std::vector<ProfileFileDialogs::Request> requests;
    ProfileFileDialogs::Answer previousAnswer;
};
}  // namespace

TEST_F(ProfileListTest, ShowsTheFilesBaseNameItsNotesAndItsProgramsFileName) {
    EXPECT_EQ(cell(CProfileList::NameCell)->GetText(), "Profile 2");
    EXPECT_EQ(cell(CProfileList::DocCell)->GetText(), "notes");
    EXPECT_EQ(cell(CProfileList::ProgramCell)->GetText(), "nethack");
    EXPECT_EQ(cell(CProfileList::SwitchCell)->GetText(), "");
    EXPECT_EQ(list->size(), QSize(439, 19));
    EXPECT_EQ(cell(CProfileList::SwitchCell)->geometry(), QRect(330, 0, 109, 19));
}

TEST_F(ProfileListTest, SelectedShowsDownAndAnActiveSwitchShowsTheAlternativePictures) {
    struct Case {
        bool selected;
        std::int32_t autoSwitch;
        const char* cells;
        const char* switchCell;
    };
    const Case cases[] = {{false, 0, "Normal", "Normal"},
                          {true, 0, "Down", "Down"},
                          {false, 1, "Normal", "Normal2"},
                          {true, 1, "Down", "Down2"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.selected << c.autoSwitch);
        profile.image.setAutoSwitch(c.autoSwitch);
        list->Select(c.selected);
        EXPECT_EQ(list->isSelected(), c.selected);
        for (const auto which :
             {CProfileList::NameCell, CProfileList::DocCell, CProfileList::ProgramCell})
            EXPECT_EQ(look(cell(which)), skinColour(c.cells));
        EXPECT_EQ(look(cell(CProfileList::SwitchCell)), skinColour(c.switchCell));
    }
}

TEST_F(ProfileListTest, APressOnACellAsksTheWindowToSelectTheRow) {
    click(cell(CProfileList::DocCell));
    QCoreApplication::sendPostedEvents();
    // The row turns its state over; its window then selects it whatever it asked for.
    click(cell(CProfileList::ProgramCell));
    QCoreApplication::sendPostedEvents();
    const std::int64_t self = list->handle();
    const std::vector<RecordingWindow::Message> expected = {{0x609, 1, self, false},
                                                            {0x609, 0, self, false}};
    EXPECT_EQ(window.messages(0x609), expected);
}

TEST_F(ProfileListTest, TheSwitchCellTogglesTheFlagInTheRowAndTheImage) {
    list->Select(true);
    click(cell(CProfileList::SwitchCell));
    EXPECT_EQ(profile.autoSwitch, 1);
    EXPECT_EQ(profile.image.autoSwitch(), 1);
    list->Select(true);  // as the window answers the press
    EXPECT_EQ(look(cell(CProfileList::SwitchCell)), skinColour("Down2"));
    click(cell(CProfileList::SwitchCell));
    list->Select(true);
    EXPECT_EQ(profile.autoSwitch, 0);
    EXPECT_EQ(profile.image.autoSwitch(), 0);
    EXPECT_EQ(look(cell(CProfileList::SwitchCell)), skinColour("Down"));
}

TEST_F(ProfileListTest, ADoubleClickOnTheSwitchCellOnlySelectsTheRow) {
    doubleClick(cell(CProfileList::SwitchCell));
    EXPECT_TRUE(list->isSelected());
    EXPECT_EQ(list->nameEditor(), nullptr);
    EXPECT_EQ(list->docEditor(), nullptr);
    EXPECT_TRUE(requests.empty());
    // Its first click was a click, which toggled the switch once.
    EXPECT_EQ(profile.autoSwitch, 1);
}

TEST_F(ProfileListTest, RenamingChangesTheNameTheImagesNameAndTheFileNameOnly) {
    typeName("Work");
    EXPECT_TRUE(list->EndNameEdit());
    EXPECT_EQ(cell(CProfileList::NameCell)->GetText(), "Work");
    EXPECT_TRUE(cell(CProfileList::NameCell)->isVisible());
    EXPECT_FALSE(list->nameEditor()->isVisible());
    EXPECT_EQ(profile.name, "Work");
    EXPECT_EQ(profile.path, "/home/u/Profile/Work.pro");
    EXPECT_EQ(profile.image.name(), "Work");
    // The field is written in place: after the new name and its NUL the old bytes stay.
    EXPECT_EQ(unitsAt(profile.image, 0, 8), QString("Work") + QChar(0) + " na");
    EXPECT_EQ(profile.docName, "notes");
    EXPECT_EQ(profile.image.docName(), "notes");
}

TEST_F(ProfileListTest, TheSameTextAgainChangesNothing) {
    const ProfileImage before = profile.image;
    typeName("Profile 2");
    EXPECT_FALSE(list->EndNameEdit());
    doubleClick(cell(CProfileList::DocCell));
    EXPECT_FALSE(list->EndDocEdit());
    EXPECT_EQ(profile.path, "/home/u/Profile/Profile 2.pro");
    EXPECT_TRUE(profile.image == before);
    // Nothing is open any more.
    EXPECT_FALSE(list->EndNameEdit());
}

TEST_F(ProfileListTest, NoMoreThanFifteenCharactersCanBeTyped) {
    typeName("abcdefghijklmnopqrst");
    EXPECT_EQ(list->nameEditor()->text(), "abcdefghijklmno");
    EXPECT_TRUE(list->EndNameEdit());
    EXPECT_EQ(profile.name, "abcdefghijklmno");

    // A longer name the file already has stays whole while the editor is open and closed.
    profile.fill("/p/A name of twenty-two.pro", profile.image);
    list->showRow();
    doubleClick(cell(CProfileList::NameCell));
    QTest::keyClick(list->nameEditor(), Qt::Key_End);
    QTest::keyClicks(list->nameEditor(), "xyz");
    EXPECT_EQ(list->nameEditor()->text(), "A name of twenty-two");
    EXPECT_FALSE(list->EndNameEdit());
    EXPECT_EQ(profile.path, "/p/A name of twenty-two.pro");
}

TEST_F(ProfileListTest, ANameThatCannotBeItsOwnFileNameIsRefused) {
    list->setNameTaken([](const QString& name) { return name == "Profile 1"; });
    const QString refused[] = {
        "", ".", "..", "../up", "a/b", "/", QString("a") + QChar(0) + "b", "Profile 1"};
    for (const QString& name : refused) {
        SCOPED_TRACE(name.toStdString());
        const ProfileImage before = profile.image;
        doubleClick(cell(CProfileList::NameCell));
        list->nameEditor()->setText(name);
        EXPECT_FALSE(list->EndNameEdit());
        EXPECT_EQ(profile.name, "Profile 2");
        EXPECT_EQ(profile.path, "/home/u/Profile/Profile 2.pro");
        EXPECT_EQ(cell(CProfileList::NameCell)->GetText(), "Profile 2");
        EXPECT_TRUE(profile.image == before);
    }
    // Every other character is a file name's.
    const QString allowed[] = {"a\\b", " spaced ", "Ünïcödé",   "a.b",
                               "...",  "-x",       "profile 1", "*?<>|:\""};
    for (const QString& name : allowed) {
        SCOPED_TRACE(name.toStdString());
        doubleClick(cell(CProfileList::NameCell));
        list->nameEditor()->setText(name);
        EXPECT_TRUE(list->EndNameEdit());
        EXPECT_EQ(profile.path, "/home/u/Profile/" + name + ".pro");
    }
}

TEST_F(ProfileListTest, ARowWithoutAFileKeepsItsEmptyName) {
    profile = ProfileRow();
    list->showRow();
    typeName("Named");
    EXPECT_FALSE(list->EndNameEdit());
    EXPECT_EQ(profile.path, "");
    EXPECT_EQ(profile.name, "");
}

TEST_F(ProfileListTest, TheNotesEditorChangesTheNotesAndLeavesThePath) {
    doubleClick(cell(CProfileList::DocCell));
    ASSERT_TRUE(list->docEditor() && list->docEditor()->hasFocus());
    EXPECT_EQ(list->docEditor()->selectedText(), "notes");
    QTest::keyClicks(list->docEditor(), "For racing games, long");
    EXPECT_EQ(list->docEditor()->text(), "For racing game");
    // Enter takes the text, as a click elsewhere would.
    QTest::keyClick(list->docEditor(), Qt::Key_Return);
    EXPECT_FALSE(list->docEditor()->isVisible());
    EXPECT_EQ(profile.docName, "For racing game");
    EXPECT_EQ(profile.image.docName(), "For racing game");
    EXPECT_EQ(cell(CProfileList::DocCell)->GetText(), "For racing game");
    EXPECT_EQ(profile.path, "/home/u/Profile/Profile 2.pro");

    // Escape closes the editor and keeps what the row had.
    doubleClick(cell(CProfileList::DocCell));
    QTest::keyClicks(list->docEditor(), "other");
    QTest::keyClick(list->docEditor(), Qt::Key_Escape);
    EXPECT_FALSE(list->docEditor()->isVisible());
    EXPECT_FALSE(list->EndDocEdit());
    EXPECT_EQ(profile.docName, "For racing game");
}

TEST_F(ProfileListTest, AClickOnAnotherCellTakesTheOpenEditorsText) {
    typeName("Clicked");
    click(cell(CProfileList::ProgramCell));
    EXPECT_EQ(profile.name, "Clicked");
    EXPECT_FALSE(list->nameEditor()->isVisible());
}

TEST_F(ProfileListTest, APickedProgramIsStoredWholeAndShownByItsFileName) {
    answer = "/opt/games/bin/quake.x86_64";
    doubleClick(cell(CProfileList::ProgramCell));
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].purpose, ProfileFileDialogs::PickProgram);
    EXPECT_TRUE(list->isSelected());
    EXPECT_EQ(cell(CProfileList::ProgramCell)->GetText(), "quake.x86_64");
    EXPECT_EQ(profile.programFile, "quake.x86_64");
    EXPECT_EQ(profile.programPath, answer);
    EXPECT_EQ(unitsAt(profile.image, 520, int(answer.size()) + 1), answer + QChar(0));

    // A cancelled picker changes nothing.
    answer.clear();
    doubleClick(cell(CProfileList::ProgramCell));
    EXPECT_EQ(requests.size(), 2u);
    EXPECT_EQ(profile.programPath, "/opt/games/bin/quake.x86_64");
    EXPECT_EQ(cell(CProfileList::ProgramCell)->GetText(), "quake.x86_64");
}
