#include "SkinnedDialogTesting.h"

#include "controls/BitmapBtnEx.h"
#include "controls/GDIBitmapBtn.h"
#include "model/KeyTable.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "support/FileBytes.h"
#include "windows/DlgProfile.h"
#include "windows/ProfileFileDialogs.h"
#include "windows/ProfileList.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>

using namespace dialogs;

namespace {
constexpr std::uint32_t WM_CLOSE = 0x0010;
constexpr std::uint32_t SelectRow = 0x609;
using Cell = CProfileList::Cell;

ProfileImage imageOf(const QString& path) {
    return ProfileImage::fromFileContent(fileBytes(path));
}

void writeFile(const QString& path, const ProfileImage& image) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(image.toByteArray());
}

class DlgProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Each case starts with an empty profile folder and no index, even in one process.
        QDir(folder()).removeRecursively();
        QFile::remove(ini());
        QDir().mkpath(folder());
        writeSkin("Profile", QSize(470, 306), {"Normal", "Normal2", "Over", "Down", "Down2"});

        KeyTable::LayoutCodes codes{};
        for (int i = 0; i < 92; ++i)
            codes[std::size_t(i)] = std::uint8_t(20 + i);
        KeyTable::instance().buildDefaults(codes, KeySettingImage::instance());
        files.setTexts("Profile", "Profiles");
        files.setLayoutCodes(codes);

        previousPresenter = MessageBox::setPresenter(
            [this](const QString&, const QString& text) { messages << text; });
        previousAnswer = ProfileFileDialogs::setAnswerForTesting(
            [this](const ProfileFileDialogs::Request& request) {
                requests.push_back(request);
                // The folder the dialog opens in exists by then.
                EXPECT_TRUE(QFileInfo(request.directory).isDir());
                return answer;
            });
    }
    void TearDown() override {
        MessageBox::setPresenter(previousPresenter);
        ProfileFileDialogs::setAnswerForTesting(previousAnswer);
        EXPECT_TRUE(messages.isEmpty()) << messages.join(", ").toStdString();
    }

    QString folder() const { return app + "Profile"; }
    QString inFolder(const QString& name) const { return folder() + "/" + name + ".pro"; }
    QString ini() const { return app + "Profile.ini"; }
    QString recorded(int index) const {
        return IniFile(ini()).readString("Profiles", QString("Profile%1").arg(index + 1), "none");
    }
    void record(int index, const QString& path) {
        IniFile(ini()).writeString("Profiles", QString("Profile%1").arg(index + 1), path);
    }

    // The dialog as the main window opens it, shown and in front.
    std::unique_ptr<CDlgProfile> open(int currentIndex) {
        auto dialog = std::make_unique<CDlgProfile>(currentIndex, files);
        showActive(*dialog);
        return dialog;
    }
    static CBitmapBtnEx* cell(const CDlgProfile& dialog, int row, Cell which) {
        return dialog.list(row)->cell(which);
    }
    // Opens a row's editor with a double click and types over its text; the editor stays
    // open.
    static void type(const CDlgProfile& dialog, int row, Cell which, const QString& text) {
        doubleClick(cell(dialog, row, which));
        QCoreApplication::sendPostedEvents();
        QLineEdit* editor = which == Cell::NameCell ? dialog.list(row)->nameEditor()
                                                    : dialog.list(row)->docEditor();
        ASSERT_TRUE(editor && editor->isVisible());
        QTest::keyClicks(editor, text);
    }
    static std::vector<int> selectedRows(const CDlgProfile& dialog) {
        std::vector<int> selected;
        for (int i = 0; i < CDlgProfile::RowCount; ++i)
            if (dialog.list(i)->isSelected())
                selected.push_back(i);
        return selected;
    }

    const QString app = TempWorld::current().appDir();
    ProfileFiles files;
    QStringList messages;
    MessageBox::Presenter previousPresenter;
    QString answer;
    std::vector<ProfileFileDialogs::Request> requests;
    ProfileFileDialogs::Answer previousAnswer;
};
}  // namespace

TEST_F(DlgProfileTest, OpensWithTheCurrentRowSelectedAndEveryProfileShown) {
    ProfileImage mine;
    mine.setName("not shown: the file's name is");
    mine.setDocName("for racing");
    mine.setProgramPath("/usr/games/supertuxkart");
    mine.setAutoSwitch(1);
    writeFile(app + "Racing.pro", mine);
    record(4, app + "Racing.pro");

    const auto dialog = open(3);
    EXPECT_EQ(dialog->windowTitle(), "Halda_CDlgProfile");
    EXPECT_EQ(Messages::findWindow("Halda_CDlgProfile"), dialog->handle());
    EXPECT_EQ(dialog->size(), QSize(470, 306));
    EXPECT_EQ(dialog->selectedIndex(), 3);
    EXPECT_EQ(selectedRows(*dialog), std::vector<int>{3});
    EXPECT_EQ(look(cell(*dialog, 3, Cell::NameCell)), skinColour("Down"));
    EXPECT_EQ(look(cell(*dialog, 2, Cell::NameCell)), skinColour("Normal"));
    EXPECT_EQ(dialog->list(3)->geometry(), QRect(16, 166, 439, 19));

    // A missing file becomes a default one at the default path.
    EXPECT_EQ(cell(*dialog, 0, Cell::NameCell)->GetText(), "Profile 1");
    EXPECT_TRUE(QFileInfo::exists(inFolder("Profile 1")));
    EXPECT_EQ(cell(*dialog, 4, Cell::NameCell)->GetText(), "Racing");
    EXPECT_EQ(cell(*dialog, 4, Cell::DocCell)->GetText(), "for racing");
    EXPECT_EQ(cell(*dialog, 4, Cell::ProgramCell)->GetText(), "supertuxkart");
    EXPECT_EQ(look(cell(*dialog, 4, Cell::SwitchCell)), skinColour("Normal2"));
    EXPECT_EQ(look(cell(*dialog, 0, Cell::SwitchCell)), skinColour("Normal"));
}

TEST_F(DlgProfileTest, WithoutTheProfileFolderEveryRowStaysEmpty) {
    QDir(folder()).removeRecursively();
    const auto dialog = open(0);
    for (int i = 0; i < CDlgProfile::RowCount; ++i) {
        EXPECT_EQ(dialog->rows()[std::size_t(i)].path, "");
        EXPECT_EQ(cell(*dialog, i, Cell::NameCell)->GetText(), "");
    }
    EXPECT_FALSE(QFileInfo::exists(folder()));
    EXPECT_EQ(selectedRows(*dialog), std::vector<int>{0});

    // An import makes the folder to open the file dialog in; cancelled, it changes nothing.
    click(dialog->importButton());
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].purpose, ProfileFileDialogs::ImportProfile);
    EXPECT_EQ(requests[0].directory, folder());
    EXPECT_EQ(dialog->rows()[0].path, "");
}

TEST_F(DlgProfileTest, OkTakesTheOpenEditorsTextAndWritesEveryRowsFile) {
    const auto dialog = open(0);
    type(*dialog, 2, Cell::DocCell, "quiet");
    QTest::keyClick(dialog->list(2)->docEditor(), Qt::Key_Return);
    click(cell(*dialog, 2, Cell::SwitchCell));
    EXPECT_EQ(look(cell(*dialog, 2, Cell::SwitchCell)), skinColour("Down2"));
    type(*dialog, 1, Cell::NameCell, "Work");  // left open

    click(dialog->okButton());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->selectedIndex(), 1);
    ASSERT_NE(dialog->selectedRow(), nullptr);
    EXPECT_EQ(dialog->selectedRow()->name, "Work");
    EXPECT_EQ(dialog->selectedRow()->path, inFolder("Work"));

    EXPECT_EQ(imageOf(inFolder("Work")).name(), "Work");
    EXPECT_EQ(recorded(1), inFolder("Work"));
    // The file under the old name stays where it is.
    EXPECT_TRUE(QFileInfo::exists(inFolder("Profile 2")));
    EXPECT_EQ(imageOf(inFolder("Profile 3")).docName(), "quiet");
    EXPECT_EQ(imageOf(inFolder("Profile 3")).autoSwitch(), 1);
    for (int i = 0; i < CDlgProfile::RowCount; ++i) {
        const ProfileRow& row = dialog->rows()[std::size_t(i)];
        EXPECT_EQ(fileBytes(row.path), row.image.toByteArray()) << i;
        EXPECT_EQ(recorded(i), row.path);
    }
}

TEST_F(DlgProfileTest, CancelWritesNoFileAndRecordsThePathsTheRowsOpenedWith) {
    enum Way { Cancel, Close, CloseRequest, Escape };
    for (const Way way : {Cancel, Close, CloseRequest, Escape}) {
        SCOPED_TRACE(way);
        CDlgProfile dialog(0, files);
        const QByteArray before = fileBytes(inFolder("Profile 2"));
        const int result = runModal(dialog, [&] {
            type(dialog, 1, Cell::NameCell, "Work");
            QTest::keyClick(dialog.list(1)->nameEditor(), Qt::Key_Return);
            type(dialog, 0, Cell::DocCell, "changed");
            if (way == Cancel)
                click(dialog.cancelButton());
            else if (way == Close)
                click(dialog.closeButton());
            else if (way == CloseRequest)
                Messages::postMessage(Messages::findWindow("Halda_CDlgProfile"), WM_CLOSE, 0, 0);
            else
                QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_EQ(dialog.rows()[1].path, inFolder("Work"));
        EXPECT_FALSE(QFileInfo::exists(inFolder("Work")));
        // Profile 2 stays what it was, under the file it was found in.
        EXPECT_EQ(recorded(1), inFolder("Profile 2"));
        EXPECT_EQ(fileBytes(inFolder("Profile 2")), before);
        EXPECT_EQ(imageOf(inFolder("Profile 1")).docName(), "");
        for (int i = 0; i < CDlgProfile::RowCount; ++i)
            EXPECT_EQ(recorded(i), inFolder(QString("Profile %1").arg(i + 1)));
    }
}

TEST_F(DlgProfileTest, AnImportFollowedByCancelKeepsTheImportedFile) {
    ProfileImage theirs;
    theirs.setDocName("shared by a friend");
    writeFile(app + "Friend.pro", theirs);
    const QByteArray imported = fileBytes(app + "Friend.pro");

    CDlgProfile dialog(2, files);
    const int result = runModal(dialog, [&] {
        // A cancelled file dialog and a file that cannot be read change nothing.
        for (const QString& none : {QString(), app + "missing.pro"}) {
            answer = none;
            click(dialog.importButton());
            EXPECT_EQ(dialog.rows()[2].path, inFolder("Profile 3"));
        }
        answer = app + "Friend.pro";
        click(dialog.importButton());
        EXPECT_EQ(cell(dialog, 2, Cell::NameCell)->GetText(), "Friend");
        EXPECT_EQ(cell(dialog, 2, Cell::DocCell)->GetText(), "shared by a friend");
        // A rename afterwards is not written either.
        type(dialog, 2, Cell::NameCell, "Renamed");
        click(dialog.cancelButton());
    });
    EXPECT_EQ(result, QDialog::Rejected);
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[2].purpose, ProfileFileDialogs::ImportProfile);
    EXPECT_EQ(requests[2].directory, folder());
    EXPECT_EQ(recorded(2), app + "Friend.pro");
    EXPECT_EQ(fileBytes(app + "Friend.pro"), imported);
    EXPECT_FALSE(QFileInfo::exists(app + "Renamed.pro"));
}

TEST_F(DlgProfileTest, ExportWritesTheSelectedRowAsItIsNow) {
    const auto dialog = open(5);
    type(*dialog, 5, Cell::DocCell, "to share");
    answer = app + "Out.pro";
    click(dialog->exportButton());
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].purpose, ProfileFileDialogs::ExportProfile);
    EXPECT_EQ(imageOf(app + "Out.pro").docName(), "to share");
    EXPECT_EQ(fileBytes(app + "Out.pro"), dialog->rows()[5].image.toByteArray());
    // Export does not change which file the row is.
    EXPECT_EQ(dialog->rows()[5].path, inFolder("Profile 6"));
}

TEST_F(DlgProfileTest, ASelectionRequestFromARowSelectsItAndFromAnyOtherWindowTheFirst) {
    const auto dialog = open(3);
    Messages::postMessage(dialog->handle(), SelectRow, 1, 0xdead);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(selectedRows(*dialog), std::vector<int>{0});
    EXPECT_EQ(dialog->selectedIndex(), 0);

    Messages::postMessage(dialog->handle(), SelectRow, 0, dialog->list(5)->handle());
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(selectedRows(*dialog), std::vector<int>{5});
    EXPECT_EQ(dialog->selectedIndex(), 5);
}

TEST_F(DlgProfileTest, AClickOnACellSelectsItsRowAloneAndKeepsItSelected) {
    const auto dialog = open(0);
    for (int clicks = 0; clicks < 2; ++clicks) {
        click(cell(*dialog, 5, Cell::ProgramCell));
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(selectedRows(*dialog), std::vector<int>{5});
        EXPECT_EQ(dialog->selectedIndex(), 5);
        EXPECT_EQ(look(cell(*dialog, 5, Cell::DocCell)), skinColour("Down"));
    }
}

TEST_F(DlgProfileTest, SelectingAnotherRowOrPressingTheBackgroundTakesTheOpenEdit) {
    const auto dialog = open(0);
    type(*dialog, 1, Cell::NameCell, "Taken");
    click(cell(*dialog, 4, Cell::NameCell));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(dialog->rows()[1].name, "Taken");
    EXPECT_FALSE(dialog->list(1)->nameEditor()->isVisible());

    type(*dialog, 4, Cell::DocCell, "by background");
    const QPoint background(200, 50);
    const QPoint before = dialog->pos();
    QTest::mousePress(dialog.get(), Qt::LeftButton, {}, background);
    EXPECT_EQ(dialog->rows()[4].docName, "by background");
    // The background drags the dialog.
    QTest::mouseMove(dialog.get(), background + QPoint(30, 20));
    EXPECT_TRUE(waitUntil([&] { return dialog->pos() == before + QPoint(30, 20); }));
    // The pointer is over the same point of the moved dialog.
    QTest::mouseRelease(dialog.get(), Qt::LeftButton, {}, background);
    EXPECT_EQ(dialog->pos(), before + QPoint(30, 20));
}

TEST_F(DlgProfileTest, ANameOfAnotherRowOrOutsideTheFolderIsRefusedAndOverwritesNothing) {
    const auto dialog = open(0);
    type(*dialog, 1, Cell::NameCell, "Mine");
    QTest::keyClick(dialog->list(1)->nameEditor(), Qt::Key_Return);
    const QByteArray first = fileBytes(inFolder("Profile 1"));
    struct Case {
        int row;
        QString name;
    };
    const Case refused[] = {{2, "Profile 1"}, {2, "Mine"}, {3, "../Outside"}, {3, ".."}, {0, ""}};
    for (const Case& c : refused) {
        SCOPED_TRACE(c.name.toStdString());
        doubleClick(cell(*dialog, c.row, Cell::NameCell));
        QCoreApplication::sendPostedEvents();
        dialog->list(c.row)->nameEditor()->setText(c.name);
        EXPECT_FALSE(dialog->list(c.row)->EndNameEdit());
        EXPECT_EQ(dialog->rows()[std::size_t(c.row)].path,
                  inFolder(QString("Profile %1").arg(c.row + 1)));
    }
    click(dialog->okButton());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(fileBytes(inFolder("Profile 1")), first);
    EXPECT_EQ(imageOf(inFolder("Mine")).name(), "Mine");
    EXPECT_FALSE(QFileInfo::exists(app + "Outside.pro"));
    const QStringList written = QDir(folder()).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(written,
              (QStringList{"Mine.pro", "Profile 1.pro", "Profile 2.pro", "Profile 3.pro",
                           "Profile 4.pro", "Profile 5.pro", "Profile 6.pro", "Profile 7.pro"}));
}

TEST_F(DlgProfileTest, ACurrentIndexOutOfRangeSelectsNoRowAndImportsNothing) {
    const auto dialog = open(7);
    EXPECT_TRUE(selectedRows(*dialog).empty());
    EXPECT_EQ(dialog->selectedIndex(), -1);
    answer = app + "Out.pro";
    click(dialog->importButton());
    click(dialog->exportButton());
    EXPECT_TRUE(requests.empty());
    click(dialog->okButton());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->selectedRow(), nullptr);
}
