// The real KBGetKey.so with keys typed on an X server: the native key codes, and each key
// delivered once, as they come from X11 through all of Qt's key handling.
#include "widgets/hook/CaptureWindow.h"

#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

namespace {

bool xdotool(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

TEST(KeyCaptureHookOnX11, TypedKeysArriveOnceEachWithTheCodesOfTheirPositions) {
    installKeyCaptureLibrary();
    KeyCaptureLibrary library;
    ASSERT_TRUE(library.isLoaded());
    library.SetHookStatus(0);
    library.installhook(0);
    CaptureWindow window;
    library.setwindowhwnd(window.handle());
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    // Keys typed while the status is 0 are not reported, even once it is 1 again.
    ASSERT_TRUE(xdotool({"key", "b"}));
    ASSERT_TRUE(waitUntil([&] { return window.handled.size() == 2; }));
    library.SetHookStatus(1);
    // xdotool types a right-hand modifier together with the left one, so only the left ones
    // are typed here. KP_End is keypad 1 with NumLock off: still the keypad key's own code.
    ASSERT_TRUE(xdotool({"key", "a", "Shift_L", "Control_L", "Alt_L", "Super_L", "Menu", "KP_End",
                         "F5", "Return"}));
    const std::uint64_t codes[] = {65, 160, 162, 164, 91, 93, 97, 116, 13};
    std::vector<std::pair<std::uint64_t, std::int64_t>> expected;
    for (const std::uint64_t code : codes) {
        expected.push_back(pressed(code));
        expected.push_back(released(code));
    }
    ASSERT_TRUE(waitUntil(
        [&] { return window.messages(KeyCaptureLibrary::KeyMessage).size() >= expected.size(); },
        10000));
    EXPECT_EQ(window.keyMessages(), expected);
    EXPECT_EQ(window.swallowed, (std::vector<int>{Qt::Key_Return, Qt::Key_Return}));

    library.SetHookStatus(0);
    library.removehook();
}

}  // namespace
