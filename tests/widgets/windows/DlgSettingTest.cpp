#include "windows/DlgSetting.h"

#include "controls/GDIBitmapBtn.h"
#include "controls/ListBoxEx.h"
#include "controls/RegionDlg.h"
#include "support/WaitUntil.h"
#include "widgets/windows/KeyPageFixture.h"
#include "windows/DlgMacro.h"
#include "windows/DlgSingleComb.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QWindow>

#include <memory>

namespace {

constexpr std::uint8_t EditedKey = 65;
// X key codes (evdev + 8) of the keys typed "for real", through the window.
constexpr quint32 XKeyA = 38;
constexpr quint32 XKeyEnter = 36;

class KeySettingDialog : public KeyPageFixture {
protected:
    CDlgSetting& open(std::uint8_t keyCode = EditedKey) {
        // One dialog at a time, as the main window opens them.
        dialog_.reset();
        dialog_ = std::make_unique<CDlgSetting>(keyCode, &mainWindow);
        return *dialog_;
    }
    CDlgSetting& openShown(std::uint8_t keyCode = EditedKey) {
        open(keyCode).show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
        return *dialog_;
    }
    void TearDown() override {
        dialog_.reset();
        KeyPageFixture::TearDown();
    }

    template <typename Control = CGDIBitmapBtn>
    Control& child(const QString& name) {
        auto* found = dialog_->findChild<Control*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return *found;
    }
    void click(const QString& name) { QTest::mouseClick(&child(name), Qt::LeftButton); }
    void clickSelector(int page) { click(QStringLiteral("selector%1").arg(page)); }

    // The pages not hidden, and the selectors checked, by number.
    std::vector<int> shownPages() {
        std::vector<int> shown;
        for (int page = 1; page <= CDlgSetting::PageCount; ++page)
            if (!dialog_->page(page)->isHidden())
                shown.push_back(page);
        return shown;
    }
    std::vector<int> checkedSelectors() {
        std::vector<int> checked;
        for (int page = 1; page <= CDlgSetting::PageCount; ++page)
            if (child(QStringLiteral("selector%1").arg(page)).GetChecked())
                checked.push_back(page);
        return checked;
    }

    // A key typed on the keyboard: through the dialog's window, as the window system sends it,
    // so the capture library sees it before the dialog does.
    void type(int qtKey, quint32 xKey, const QString& text = {}) {
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, qtKey, Qt::NoModifier, xKey, 0, 0, text);
            QCoreApplication::sendEvent(dialog_->windowHandle(), &event);
        }
        deliverPosts();
    }

    std::unique_ptr<CDlgSetting> dialog_;
};

TEST_F(KeySettingDialog, OpensOnThePageOfTheAssignment) {
    struct Case {
        std::int32_t type;
        int page;  // NoPage: none shown, none checked
    };
    const Case cases[] = {
        {AssignNone, CDlgSetting::NoPage},
        {AssignDefault, CDlgSetting::MediaPage},
        {AssignSystem, CDlgSetting::BasePage},
        {AssignMouse, CDlgSetting::MousePage},
        {AssignMacro, CDlgSetting::MacroPage},
        {AssignMedia, CDlgSetting::MediaPage},
        {AssignEdit, CDlgSetting::BasePage},
        {7, CDlgSetting::MediaPage},
        {AssignCombination, CDlgSetting::SingleCombPage},
        {AssignSingleKey, CDlgSetting::SingleCombPage},
        {10, CDlgSetting::NoPage},
        {-1, CDlgSetting::NoPage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        assign(EditedKey, AssignType(c.type), 0);
        open();
        const std::vector<int> expected =
            c.page == CDlgSetting::NoPage ? std::vector<int>{} : std::vector<int>{c.page};
        EXPECT_EQ(shownPages(), expected);
        EXPECT_EQ(checkedSelectors(), expected);
        EXPECT_EQ(dialog_->currentPage(),
                  c.page == CDlgSetting::NoPage ? CDlgSetting::SingleCombPage : c.page);
        for (int page = 1; page <= CDlgSetting::PageCount; ++page)
            EXPECT_EQ(dialog_->page(page)->geometry(), QRect(15, 74, 442, 186));
    }
}

TEST_F(KeySettingDialog, IsFoundByItsTitleWhileItLives) {
    open();
    EXPECT_EQ(dialog_->windowTitle(), "Halda_CDlgSetting");
    EXPECT_TRUE(dialog_->windowFlags().testFlag(Qt::FramelessWindowHint));
    const WindowHandle handle = dialog_->handle();
    EXPECT_EQ(Messages::findWindow(QStringLiteral("Halda_CDlgSetting")), handle);
    dialog_.reset();
    EXPECT_EQ(Messages::findWindow(QStringLiteral("Halda_CDlgSetting")), 0u);
}

TEST_F(KeySettingDialog, OkWithNothingShownAppliesTheEmptyFirstPage) {
    // A key the table does not hold reads as a blank record.
    openShown(EditedKey);
    ASSERT_TRUE(shownPages().empty());
    click(QStringLiteral("okButton"));
    EXPECT_EQ(dialog_->result(), QDialog::Accepted);
    EXPECT_EQ(assignment(EditedKey), (KeyAssignment{EditedKey, AssignDefault, 0}));
    EXPECT_EQ(keysPosted(MainWindowReference::KeyChanged), std::vector<std::int64_t>{EditedKey});
}

TEST_F(KeySettingDialog, OkAppliesTheVisiblePageOnly) {
    storeMacros(2);
    storeCombinations(1);
    assign(EditedKey, AssignMacro, 1);
    openShown();
    // A combination picked on the first page, then left for the macro page again.
    clickSelector(CDlgSetting::SingleCombPage);
    click(QStringLiteral("combinationMode"));
    child<CListBoxEx>(QStringLiteral("combinationList")).setSelectedRow(0);
    clickSelector(CDlgSetting::MacroPage);
    click(QStringLiteral("okButton"));
    EXPECT_EQ(assignment(EditedKey), (KeyAssignment{EditedKey, AssignMacro, 1}));
    EXPECT_EQ(registryValue(QStringLiteral("MacroSetting"), MacroTable::ImageSize).size(),
              std::size_t(MacroTable::ImageSize));
    EXPECT_TRUE(registryValue(QStringLiteral("CombSetting"), CombTable::ImageSize).empty());
    EXPECT_EQ(child<CListBoxEx>(QStringLiteral("combinationList")).selectedRow(), -1);
}

TEST_F(KeySettingDialog, RestoreThenCancelKeepsTheDefaultUntold) {
    storeMacros(1);
    assign(EditedKey, AssignMacro, 0);
    openShown();
    ASSERT_EQ(shownPages(), std::vector<int>{CDlgSetting::MacroPage});
    click(QStringLiteral("restoreButton"));
    EXPECT_EQ(assignment(EditedKey), (KeyAssignment{EditedKey, AssignDefault, 0}));
    click(QStringLiteral("cancelButton"));
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(assignment(EditedKey), (KeyAssignment{EditedKey, AssignDefault, 0}));
    EXPECT_TRUE(keysPosted(MainWindowReference::KeyChanged).empty());
}

TEST_F(KeySettingDialog, TheCloseButtonAndACloseRequestCancel) {
    for (const bool button : {true, false}) {
        SCOPED_TRACE(button ? "close button" : "close request");
        assign(EditedKey, AssignSystem, 9);
        openShown();
        if (button)
            click(QStringLiteral("closeButton"));
        else
            Messages::postMessage(dialog_->handle(), CDlgSetting::CloseMessage, 0, 0);
        ASSERT_TRUE(waitUntil([&] { return !dialog_->isVisible(); }));
        EXPECT_EQ(dialog_->result(), QDialog::Rejected);
        EXPECT_EQ(assignment(EditedKey), (KeyAssignment{EditedKey, AssignSystem, 9}));
        EXPECT_TRUE(keysPosted(MainWindowReference::KeyChanged).empty());
    }
}

TEST_F(KeySettingDialog, EnterEscapeAndSpaceNeitherConfirmNorCancel) {
    assign(EditedKey, AssignEdit, 4);
    openShown();
    QWidget* focused = QApplication::focusWidget();
    for (QWidget* target : {static_cast<QWidget*>(dialog_.get()), focused}) {
        if (!target)
            continue;
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Space})
            QTest::keyClick(target, key);
    }
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_TRUE(keysPosted(MainWindowReference::KeyChanged).empty());
}

TEST_F(KeySettingDialog, EnterIsCapturedThoughTheDialogSwallowsIt) {
    assign(EditedKey, AssignSingleKey, 'Q');
    openShown();
    click(QStringLiteral("singleCapture"));
    type(Qt::Key_Return, XKeyEnter);
    auto* page = static_cast<CDlgSingleComb*>(dialog_->page(CDlgSetting::SingleCombPage));
    EXPECT_EQ(page->capturedKey(), 13);
    EXPECT_EQ(page->singleText(), "Enter");
    EXPECT_TRUE(dialog_->isVisible());
    click(QStringLiteral("okButton"));
    EXPECT_EQ(assignment(EditedKey), (KeyAssignment{EditedKey, AssignSingleKey, 13}));
}

TEST_F(KeySettingDialog, OnlyTheVisibleCapturingPageGetsTheKeys) {
    storeMacros(1);
    assign(EditedKey, AssignMacro, 0);
    openShown();
    auto* macroPage = static_cast<CDlgMacro*>(dialog_->page(CDlgSetting::MacroPage));
    click(QStringLiteral("recordButton"));
    type(Qt::Key_A, XKeyA);
    EXPECT_EQ(MacroTable::instance().RecordAt(0)->eventCount, 2);

    clickSelector(CDlgSetting::BasePage);
    // Whatever turns the library on now, the keys go to the dialog, not the hidden page.
    KeyCaptureLibrary sameLibrary;
    sameLibrary.SetHookStatus(1);
    type(Qt::Key_A, XKeyA);
    sameLibrary.SetHookStatus(0);
    EXPECT_TRUE(macroPage->isHidden());
    EXPECT_EQ(MacroTable::instance().RecordAt(0)->eventCount, 2);
}

TEST_F(KeySettingDialog, TypingANumberDuringARecordingIsNotRecorded) {
    storeMacros(1);
    assign(EditedKey, AssignMacro, 0);
    openShown();
    dialog_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog_.get()));
    click(QStringLiteral("recordButton"));
    auto& delay = child<QLineEdit>(QStringLiteral("delayField"));
    delay.setFocus();
    ASSERT_TRUE(delay.hasFocus());
    type(Qt::Key_5, 14, QStringLiteral("5"));  // the 5 key
    EXPECT_EQ(MacroTable::instance().RecordAt(0)->eventCount, 0);
    EXPECT_EQ(delay.text(), "505");

    child<CListBoxEx>(QStringLiteral("macroList")).setFocus();
    type(Qt::Key_A, XKeyA);
    EXPECT_EQ(MacroTable::instance().RecordAt(0)->eventCount, 2);
}

TEST_F(KeySettingDialog, DraggingTheSurfaceMovesItAndEndsTheCaptures) {
    assign(EditedKey, AssignSingleKey, 'Q');
    openShown();
    click(QStringLiteral("singleCapture"));
    auto* page = static_cast<CDlgSingleComb*>(dialog_->page(CDlgSetting::SingleCombPage));
    ASSERT_TRUE(page->isCapturing());

    const QPoint before = dialog_->pos();
    const QPoint grip(120, 20);  // the title line, on no control
    ASSERT_EQ(dialog_->childAt(grip), nullptr);
    QTest::mousePress(dialog_.get(), Qt::LeftButton, {}, grip);
    EXPECT_FALSE(page->isCapturing());
    EXPECT_FALSE(child(QStringLiteral("singleCapture")).GetChecked());
    // Offscreen there is no window system to move it; the dialog follows the pointer itself.
    QMouseEvent move(QEvent::MouseMove, QPointF(grip + QPoint(30, 20)),
                     QPointF(dialog_->mapToGlobal(grip + QPoint(30, 20))), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(dialog_.get(), &move);
    QTest::mouseRelease(dialog_.get(), Qt::LeftButton, {}, grip + QPoint(30, 20));
    EXPECT_EQ(dialog_->pos(), before + QPoint(30, 20));

    // A press on a page is the page's: the dialog stays where it is.
    QTest::mousePress(page, Qt::LeftButton, {}, QPoint(5, 180));
    QTest::mouseRelease(page, Qt::LeftButton, {}, QPoint(5, 180));
    EXPECT_EQ(dialog_->pos(), before + QPoint(30, 20));
}

TEST_F(KeySettingDialog, NamesKeysWithItsOwnTable) {
    struct Case {
        int code;
        const char* name;
    };
    const Case cases[] = {
        {65, "A"},        {49, "1"},        {186, ";"},
        {0, ""},          {255, ""},        {13, "Enter"},
        {43, "Enter"},    {218, "(Enter)"}, {91, "LWin"},
        {93, "RightApp"}, {160, "LShift"},  {165, "RAlt"},
        {174, "V-"},      {175, "V+"},      {193, "ModeKey"},
        {196, "LockPC"},  {97, "(1)"},      {108, "\\"},
        {112, "F1"},      {123, "F12"},     {145, "Scroll Lock"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CDlgSetting::KeyName(c.code), QString::fromUtf8(c.name)) << c.code;
    EXPECT_EQ(open(65).keyName(), "A");
}

}  // namespace
