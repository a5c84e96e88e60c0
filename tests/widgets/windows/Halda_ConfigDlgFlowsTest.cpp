// What the main window does: its start, its commands, the messages it takes, its closing, the
// drag by its background, and the keys and help requests it leaves alone.
#include "MainWindowWorld.h"

#include "controls/BitmapBtnExEx.h"
#include "controls/GDIBitmapBtn.h"
#include "controls/HyperLink.h"
#include "support/QtPrinting.h"
#include "support/WaitUntil.h"
#include "windows/MainWindowReference.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointingDevice>

#include <cstdlib>

using namespace mainwindow;
using Entry = TitledRecorder::Entry;

namespace {

constexpr std::uint32_t WM_CLOSE = CHalda_ConfigDlg::WM_CLOSE;

class MainWindowFlows : public ::testing::Test {
protected:
    void SetUp() override { prepareWorld(); }

    // The companion's window as the tool finds it, logging what it is told.
    std::vector<Entry> log;
    TitledRecorder companion{QStringLiteral("QuorvZelt_Setting"), log};

    std::vector<Entry> companionMessages(std::uint32_t message) const {
        std::vector<Entry> found;
        for (const Entry& e : log)
            if (e.message == message)
                found.push_back(e);
        return found;
    }
};

int positionOf(const CHalda_ConfigDlg& window, std::uint8_t code) {
    const KeyLayout::Entries& entries = window.layout().entries();
    return int(std::find_if(entries.begin(), entries.end(),
                            [code](const KeyLayoutEntry& e) { return e.vkcode == code; }) -
               entries.begin());
}

void click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(3, 3));
}

// A mouse event as the window gets it, with the pointer at a point of the screen.
void sendMouse(QWidget& window, QEvent::Type type, QPoint global, Qt::MouseButtons held) {
    QMouseEvent event(type, window.mapFromGlobal(global), global, Qt::LeftButton, held, {});
    QApplication::sendEvent(&window, &event);
}

}  // namespace

TEST_F(MainWindowFlows, StartsByRegisteringWithTheCompanionAndEndsByLettingGoOfItsReference) {
    WindowHandle handle = 0;
    {
        const auto window = makeWindow();
        handle = window->handle();
        ASSERT_NE(handle, 0u);
        EXPECT_EQ(MainWindowReference::handle(), handle);
        EXPECT_EQ(Messages::findWindow(QStringLiteral("hwnd-%1").arg(handle, 8, 16, QChar('0'))),
                  handle);
        EXPECT_TRUE(waitUntil([&] { return !companionMessages(0x602).empty(); }));
        EXPECT_EQ(companionMessages(0x602),
                  (std::vector<Entry>{{"QuorvZelt_Setting", 0x602, handle, 0, false}}));
        // The first start stores the defaults and makes the first profile.
        EXPECT_EQ(storedValue("KeySetting").size(), 1104);
        EXPECT_EQ(fileContent(profilePath(0)).size(), qsizetype(ProfileImage::Size));
    }
    EXPECT_EQ(MainWindowReference::handle(), 0u);
    EXPECT_FALSE(Messages::isWindow(handle));
}

TEST_F(MainWindowFlows, WithoutAKeyboardTellsTheUserAndEndsTheProcessAtOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            // The process ends inside the window's start, before the test world can clean up.
            std::atexit([] { QDir(TempWorld::current().root()).removeRecursively(); });
            CHalda_ConfigDlg window([] { return false; });
            std::fputs("still running\n", stderr);
        },
        ::testing::ExitedWithCode(0), text("str_msg4").toStdString());
    // Nothing was told to the companion here either.
    QCoreApplication::processEvents();
    EXPECT_TRUE(companionMessages(0x602).empty());
}

TEST_F(MainWindowFlows, KeyButtonsOpenTheKeySettingDialogExceptTheModeAndWinLockKeys) {
    struct Window : CHalda_ConfigDlg {
        Window() : CHalda_ConfigDlg([] { return true; }) {}
        void openKeySettingDialog(std::uint8_t keyCode) override { opened.push_back(keyCode); }
        std::vector<std::uint8_t> opened;
    } window;
    window.show();
    for (const std::uint8_t code :
         {CHalda_ConfigDlg::WinKeyLock, CHalda_ConfigDlg::ModeKey, std::uint8_t(0x41)})
        click(window.keyButton(positionOf(window, code)));
    EXPECT_EQ(window.opened, std::vector<std::uint8_t>{0x41});
}

TEST_F(MainWindowFlows, OkSavesBetweenTheNoticesRewritesTheProfileAndEndsAsCancelled) {
    const auto window = makeWindow();
    KeyTable::instance().entry(0x41) = assigned(0x41, AssignSingleKey, 0x42);
    const int result =
        execWith(*window, [&] { click(window->commandButton(CHalda_ConfigDlg::Ok)); });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(keyRecord(storedValue("KeySetting"), 0x41), std::pair(9, 0x42));
    EXPECT_EQ(keyRecord(fileContent(profilePath(0)).mid(ProfileImage::KeyOffset), 0x41),
              std::pair(9, 0x42));
    std::vector<Entry> notices;
    for (const Entry& e : log)
        if (e.message != 0x602)
            notices.push_back(e);
    EXPECT_EQ(notices, (std::vector<Entry>{{"QuorvZelt_Setting", 0x654, 0, 0, true},
                                           {"QuorvZelt_Setting", 0x601, 0, 0, true}}));
}

TEST_F(MainWindowFlows, ApplySavesUnlessTheCompanionIsBusyWhileOkSavesAnyway) {
    const auto window = makeWindow();
    window->show();
    KeyTable::instance().entry(0x41) = assigned(0x41, AssignMedia, 3);
    {
        std::vector<Entry> busyLog;
        TitledRecorder busy(QStringLiteral("Zelt_Progressbar"), busyLog);
        click(window->commandButton(CHalda_ConfigDlg::Apply));
        EXPECT_EQ(keyRecord(storedValue("KeySetting"), 0x41), std::pair(1, 0));
        EXPECT_TRUE(companionMessages(0x654).empty());

        const int result =
            execWith(*window, [&] { click(window->commandButton(CHalda_ConfigDlg::Ok)); });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_EQ(keyRecord(storedValue("KeySetting"), 0x41), std::pair(5, 3));
    }
    // Once the companion is done, Apply saves, and the profile file follows.
    KeyTable::instance().entry(0x41) = assigned(0x41, AssignMedia, 4);
    click(window->commandButton(CHalda_ConfigDlg::Apply));
    EXPECT_EQ(keyRecord(storedValue("KeySetting"), 0x41), std::pair(5, 4));
    EXPECT_EQ(keyRecord(fileContent(profilePath(0)).mid(ProfileImage::KeyOffset), 0x41),
              std::pair(5, 4));
    EXPECT_TRUE(waitUntil([&] { return companionMessages(0x601).size() == 2; }));
    EXPECT_FALSE(companionMessages(0x601).back().sent);  // Apply posts its notice
}

TEST_F(MainWindowFlows, EveryCloseClosesTheOtherWindowsFirstEndsAsCancelledAndWritesNothing) {
    enum Way { CancelButton, CloseButton, WindowSystem, Message };
    for (const Way way : {CancelButton, CloseButton, WindowSystem, Message}) {
        SCOPED_TRACE(way);
        prepareWorld();
        const auto window = makeWindow();
        const QByteArray keysBefore = storedValue("KeySetting");
        const QByteArray profileBefore = fileContent(profilePath(0));
        KeyTable::instance().entry(0x41) = assigned(0x41, AssignMedia, 3);

        // Two of the three windows it closes are open.
        std::vector<Entry> closed;
        TitledRecorder restore(QStringLiteral("Halda_CDlgRestore"), closed);
        TitledRecorder setting(QStringLiteral("Halda_CDlgSetting"), closed);
        const int result = execWith(*window, [&] {
            switch (way) {
                case CancelButton:
                    click(window->commandButton(CHalda_ConfigDlg::Cancel));
                    break;
                case CloseButton:
                    click(window->commandButton(CHalda_ConfigDlg::Close));
                    break;
                case WindowSystem:
                    window->close();
                    break;
                case Message:
                    Messages::postMessage(window->handle(), WM_CLOSE, 0, 0);
                    break;
            }
        });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_FALSE(window->isVisible());
        ASSERT_TRUE(waitUntil([&] { return closed.size() == 2; }));
        EXPECT_EQ(closed, (std::vector<Entry>{{"Halda_CDlgSetting", WM_CLOSE, 0, 0, false},
                                              {"Halda_CDlgRestore", WM_CLOSE, 0, 0, false}}));
        EXPECT_EQ(storedValue("KeySetting"), keysBefore);
        EXPECT_EQ(fileContent(profilePath(0)), profileBefore);
    }
}

TEST_F(MainWindowFlows, TheCompanionLoadsAProfileOnlyByAnIndexInRange) {
    Configuration configuration;
    configuration.keys[0x41] = assigned(0x41, AssignMedia, 2);
    storeConfiguration(configuration);
    const auto window = makeWindow();
    const int a = positionOf(*window, 0x41);
    ASSERT_TRUE(window->keyButton(a)->GetChecked());

    Messages::postMessage(window->handle(), 0x610, 0, 3);
    ASSERT_TRUE(waitUntil([&] { return window->store().profileSelection == 3; }));
    // A fresh profile: default keys, shown on the buttons.
    EXPECT_TRUE(QFile::exists(profilePath(3)));
    EXPECT_FALSE(window->keyButton(a)->GetChecked());
    EXPECT_EQ(window->profileButton(0)->GetText(), text("str_profile_title") + " 4");

    for (const std::int64_t index :
         {std::int64_t(7), std::int64_t(-1), (std::int64_t(1) << 32) | 2, INT64_MIN})
        Messages::postMessage(window->handle(), 0x610, 0, index);
    Messages::postMessage(window->handle(), 0x610, 0, 0);
    ASSERT_TRUE(waitUntil([&] { return window->store().profileSelection == 0; }));
    EXPECT_FALSE(QFile::exists(profilePath(2)));
    EXPECT_TRUE(window->keyButton(a)->GetChecked());
}

TEST_F(MainWindowFlows, AKeyThatLostItsMacroIsResetAndSaved) {
    Configuration configuration;
    configuration.macros = {QStringLiteral("Greeting")};
    configuration.keys[0x41] = assigned(0x41, AssignMacro, 0);
    storeConfiguration(configuration);
    const auto window = makeWindow();
    const int a = positionOf(*window, 0x41);
    ASSERT_TRUE(window->keyButton(a)->GetChecked());
    // What storing the configuration told the companion is not the window's doing.
    QCoreApplication::processEvents();
    log.clear();

    // Values that are no key of the table change nothing: a narrowed 0x141 would be A, a new
    // table entry would make every later save fail.
    const std::size_t keys = KeyTable::instance().size();
    Messages::postMessage(window->handle(), 0x614, 0, 0x141);
    Messages::postMessage(window->handle(), 0x614, 0, 0x07);
    Messages::postMessage(window->handle(), 0x614, 12345, 0x41);
    ASSERT_TRUE(waitUntil([&] { return !window->keyButton(a)->GetChecked(); }));
    EXPECT_EQ(KeyTable::instance().size(), keys);
    EXPECT_EQ(KeyTable::instance().entry(0x41), assigned(0x41, AssignDefault, 0));
    EXPECT_EQ(keyRecord(storedValue("KeySetting"), 0x41), std::pair(1, 0));
    EXPECT_EQ(keyRecord(fileContent(profilePath(0)).mid(ProfileImage::KeyOffset), 0x41),
              std::pair(1, 0));
    EXPECT_TRUE(waitUntil([&] { return !companionMessages(0x601).empty(); }));
    EXPECT_EQ(companionMessages(0x601),
              (std::vector<Entry>{{"QuorvZelt_Setting", 0x601, 0, 1, false}}));
}

TEST_F(MainWindowFlows, ProfileButtonsShowAPressOnAnyOfThemUntilItIsReleased) {
    const auto window = makeWindow();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    auto checked = [&] {
        std::vector<bool> states;
        for (int i = 0; i < CHalda_ConfigDlg::ProfileButtonCount; ++i)
            states.push_back(window->profileButton(i)->GetChecked());
        return states;
    };
    QTest::mousePress(window->profileButton(1), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(checked(), std::vector<bool>(4, true));
    QTest::mouseRelease(window->profileButton(1), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(checked(), std::vector<bool>(4, false));
    // The same messages from any other button are not the profile buttons' business.
    const WindowHandle other = Messages::handleOf(&companion);
    Messages::sendMessage(window->handle(), WM_BTNEX_DOWN, 0x0201 << 16, other);
    EXPECT_EQ(checked(), std::vector<bool>(4, false));
}

TEST_F(MainWindowFlows, TheReportRateAndRestoreAfterTheirDialogsOk) {
    Configuration configuration;
    configuration.keys[0x41] = assigned(0x41, AssignMedia, 2);
    storeConfiguration(configuration);
    const auto window = makeWindow();
    const QByteArray keysBefore = storedValue("KeySetting");

    window->applyReportRate(1);
    EXPECT_EQ(storedValue("RateSetting"), QByteArray("\x01\x00\x00\x00", 4));
    window->applyRestore();
    EXPECT_TRUE(waitUntil([&] { return !companionMessages(0x653).empty(); }));
    EXPECT_EQ(companionMessages(0x613),
              (std::vector<Entry>{{"QuorvZelt_Setting", 0x613, 1, 0, false}}));
    // The keys are back to their own functions and so is the profile file; the store keeps
    // the old keys until the next OK or Apply.
    EXPECT_EQ(KeyTable::instance().entry(0x41), assigned(0x41, AssignDefault, 0));
    EXPECT_FALSE(window->keyButton(positionOf(*window, 0x41))->GetChecked());
    const ProfileImage profile = ProfileImage::fromFileContent(fileContent(profilePath(0)));
    EXPECT_EQ(profile.name(), text("str_profile_title") + " 1");
    EXPECT_EQ(keyRecord(fileContent(profilePath(0)).mid(ProfileImage::KeyOffset), 0x41),
              std::pair(1, 0));
    EXPECT_EQ(storedValue("KeySetting"), keysBefore);
    EXPECT_EQ(window->store().reportRate, SettingsStore::DefaultReportRate);
}

TEST_F(MainWindowFlows, AProfileRowChosenInTheDialogBecomesTheCurrentProfile) {
    const auto window = makeWindow();
    ProfileRow row = window->profiles().LoadProfileRow(2);
    row.docName = QStringLiteral("For racing");
    row.autoSwitch = 1;
    window->applyProfileRow(row, 2);
    EXPECT_EQ(window->store().profileSelection, 2);
    EXPECT_EQ(window->profileButton(0)->GetText(), text("str_profile_title") + " 3");
    EXPECT_EQ(window->profileButton(1)->GetText(), "For racing");
    EXPECT_TRUE(window->profileButton(3)->GetAlternative());
    window->applyProfileRow(row, 7);
    EXPECT_EQ(window->store().profileSelection, 2);
}

TEST_F(MainWindowFlows, DragsByItsBackgroundFollowingThePointerWhereTheWindowSystemCannot) {
    const auto window = makeWindow();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const QPoint start = window->pos();
    // Above the keyboard, left of the logo: no control there.
    const QPoint background(20, 72);
    ASSERT_EQ(window->childAt(background), nullptr);
    const QPoint pointer = window->mapToGlobal(background);
    sendMouse(*window, QEvent::MouseButtonPress, pointer, Qt::LeftButton);
    sendMouse(*window, QEvent::MouseMove, pointer + QPoint(30, 40), Qt::LeftButton);
    sendMouse(*window, QEvent::MouseMove, pointer + QPoint(50, 20), Qt::LeftButton);
    sendMouse(*window, QEvent::MouseButtonRelease, pointer + QPoint(50, 20), Qt::NoButton);
    EXPECT_EQ(window->pos(), start + QPoint(50, 20));

    // After the release the pointer moves the window no more, and a press on a control does
    // not drag it: the link, whose text passes presses on, neither.
    sendMouse(*window, QEvent::MouseMove, pointer, Qt::NoButton);
    EXPECT_EQ(window->pos(), start + QPoint(50, 20));
    const QPoint onLink = window->mapToGlobal(window->hyperLink()->geometry().center());
    sendMouse(*window, QEvent::MouseButtonPress, onLink, Qt::LeftButton);
    sendMouse(*window, QEvent::MouseMove, onLink + QPoint(30, 30), Qt::LeftButton);
    sendMouse(*window, QEvent::MouseButtonRelease, onLink + QPoint(30, 30), Qt::NoButton);
    EXPECT_EQ(window->pos(), start + QPoint(50, 20));
}

TEST_F(MainWindowFlows, TheKeyboardNeverConfirmsOrCancelsAndHelpDoesNothing) {
    const auto window = makeWindow();
    const QByteArray keysBefore = storedValue("KeySetting");
    KeyTable::instance().entry(0x41) = assigned(0x41, AssignMedia, 3);
    bool stillOpen = false;
    const int result = execWith(*window, [&] {
        for (const Qt::Key key :
             {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_F1})
            QTest::keyClick(window.get(), key);
        QHelpEvent whatsThis(QEvent::WhatsThis, QPoint(300, 200),
                             window->mapToGlobal(QPoint(300, 200)));
        EXPECT_TRUE(QApplication::sendEvent(window.get(), &whatsThis));
        stillOpen = window->isVisible();
        window->done(QDialog::Accepted);
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(storedValue("KeySetting"), keysBefore);
}
