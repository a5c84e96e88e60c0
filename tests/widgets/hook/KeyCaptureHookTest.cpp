// The real KBGetKey.so, loaded from the application folder as the key setting dialog loads it.
// Keys are sent to the tool window's QWindow with the native key codes X11 and Wayland give
// (evdev + 8); from there Qt hands them to the focused widget and on to its parents, as it
// does with keys from the window system.
#include "widgets/hook/CaptureWindow.h"

#include "platform/KeyboardLayout.h"
#include "resources/KeyLayout.h"

#include <QApplication>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace {

using KeyMessages = std::vector<std::pair<std::uint64_t, std::int64_t>>;

// X key codes of the keys the tests type.
constexpr quint32 XKeyA = 38;
constexpr quint32 XKeyEnter = 36;

class KeyCaptureHook : public ::testing::Test {
protected:
    void SetUp() override {
        installKeyCaptureLibrary();
        library_ = std::make_unique<KeyCaptureLibrary>();
        ASSERT_TRUE(library_->isLoaded());
        ASSERT_TRUE(library_->hasSetHookStatus());
        // As the key setting dialog starts it.
        library_->SetHookStatus(0);
        library_->installhook(0);
        library_->setwindowhwnd(window_.handle());
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    }

    void TearDown() override {
        if (library_) {
            library_->SetHookStatus(0);
            library_->removehook();
        }
    }

    void send(QEvent::Type type, int qtKey, quint32 nativeKey, bool autoRepeat = false) {
        QKeyEvent event(type, qtKey, Qt::NoModifier, nativeKey, 0, 0, QString(), autoRepeat);
        QCoreApplication::sendEvent(window_.windowHandle(), &event);
    }
    void type(int qtKey, quint32 nativeKey) {
        send(QEvent::KeyPress, qtKey, nativeKey);
        send(QEvent::KeyRelease, qtKey, nativeKey);
    }

    CaptureWindow window_;
    std::unique_ptr<KeyCaptureLibrary> library_;
};

// The window's handle comes from the tool's own window table, and the library posts into
// that same table: one platform layer in the process, not a copy of it in the library.
TEST_F(KeyCaptureHook, KeysArriveOnceEachWithTheCodeOfTheirPositionWhileTheStatusIs1) {
    struct Key {
        const char* name;
        int qtKey;
        quint32 native;
        std::uint64_t virtualKey;
    };
    const Key keys[] = {
        {"A", Qt::Key_A, XKeyA, 65},
        // A French layout gives 'a' here; the code stays the key's position.
        {"Q", Qt::Key_A, 24, 81},
        {"Left Shift", Qt::Key_Shift, 50, 160},
        {"Right Shift", Qt::Key_Shift, 62, 161},
        {"Left Ctrl", Qt::Key_Control, 37, 162},
        {"Right Ctrl", Qt::Key_Control, 105, 163},
        {"Left Alt", Qt::Key_Alt, 64, 164},
        {"AltGr", Qt::Key_AltGr, 108, 165},
        {"Left Win", Qt::Key_Meta, 133, 91},
        {"Right Win", Qt::Key_Meta, 134, 92},
        {"Menu", Qt::Key_Menu, 135, 93},
        {"keypad 1", Qt::Key_1, 87, 97},
        {"keypad Enter", Qt::Key_Enter, 104, 13},
        {"F5", Qt::Key_F5, 71, 116},
    };
    library_->SetHookStatus(1);
    KeyMessages expected;
    for (const Key& key : keys) {
        type(key.qtKey, key.native);
        expected.push_back(pressed(key.virtualKey));
        expected.push_back(released(key.virtualKey));
    }
    EXPECT_EQ(window_.keyMessages(), expected);
}

TEST_F(KeyCaptureHook, NothingIsReportedWhileTheStatusIs0) {
    type(Qt::Key_A, XKeyA);
    EXPECT_TRUE(window_.keyMessages().empty());

    library_->SetHookStatus(1);
    send(QEvent::KeyPress, Qt::Key_A, XKeyA);
    library_->SetHookStatus(0);
    send(QEvent::KeyRelease, Qt::Key_A, XKeyA);
    type(Qt::Key_A, XKeyA);
    EXPECT_EQ(window_.keyMessages(), KeyMessages{pressed(65)});

    library_->SetHookStatus(1);
    send(QEvent::KeyRelease, Qt::Key_A, XKeyA);
    EXPECT_EQ(window_.keyMessages(), (KeyMessages{pressed(65), released(65)}));
}

TEST_F(KeyCaptureHook, EnterIsCapturedThoughTheWindowSwallowsIt) {
    library_->SetHookStatus(1);
    type(Qt::Key_Return, XKeyEnter);
    EXPECT_EQ(window_.keyMessages(), (KeyMessages{pressed(13), released(13)}));
    EXPECT_EQ(window_.swallowed, (std::vector<int>{Qt::Key_Return, Qt::Key_Return}));
}

TEST_F(KeyCaptureHook, AHeldKeyIsOnePressAndOneRelease) {
    library_->SetHookStatus(1);
    send(QEvent::KeyPress, Qt::Key_A, XKeyA);
    for (int i = 0; i < 3; ++i) {
        // X11 repeats a held key as release and press pairs; Wayland as presses.
        send(QEvent::KeyRelease, Qt::Key_A, XKeyA, true);
        send(QEvent::KeyPress, Qt::Key_A, XKeyA, true);
    }
    send(QEvent::KeyRelease, Qt::Key_A, XKeyA);
    EXPECT_EQ(window_.keyMessages(), (KeyMessages{pressed(65), released(65)}));
}

TEST_F(KeyCaptureHook, KeyEventsWithoutAKnownKeyAreNotReported) {
    library_->SetHookStatus(1);
    type(Qt::Key_A, 0);    // synthesized, as QTest makes them
    type(Qt::Key_A, 255);  // a key code that names no key with a virtual-key code
    // Only the window's own delivery counts, not one sent straight to a widget.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, XKeyA, 0, 0);
    QCoreApplication::sendEvent(&window_, &press);
    EXPECT_TRUE(window_.keyMessages().empty());
}

TEST_F(KeyCaptureHook, KeysGoToTheWindowNamedLast) {
    RecordingWindow other;
    library_->SetHookStatus(1);
    library_->setwindowhwnd(other.handle());
    type(Qt::Key_A, XKeyA);
    library_->setwindowhwnd(window_.handle());
    type(Qt::Key_Return, XKeyEnter);
    EXPECT_EQ(window_.keyMessages(), (KeyMessages{pressed(13), released(13)}));
    ASSERT_EQ(other.messages(KeyCaptureLibrary::KeyMessage).size(), 2u);
    EXPECT_EQ(other.messages(KeyCaptureLibrary::KeyMessage)[0].wParam, 65u);
}

// The dialog removes the hook twice (the macro page does too), and a removed hook may be
// installed again by the next dialog.
TEST_F(KeyCaptureHook, RemovingStopsTheReportsAndInstallingAgainResumesThem) {
    library_->SetHookStatus(1);
    library_->removehook();
    library_->removehook();
    type(Qt::Key_A, XKeyA);
    EXPECT_TRUE(window_.keyMessages().empty());

    library_->installhook(0);
    library_->installhook(0);
    type(Qt::Key_A, XKeyA);
    EXPECT_EQ(window_.keyMessages(), (KeyMessages{pressed(65), released(65)}));
}

TEST_F(KeyCaptureHook, UnloadingTakesTheHookOffTheApplication) {
    library_->SetHookStatus(1);
    library_->unload();
    type(Qt::Key_A, XKeyA);
    EXPECT_TRUE(window_.keyMessages().empty());

    // A second load starts with keys not wanted, as a fresh library does.
    library_ = std::make_unique<KeyCaptureLibrary>();
    library_->installhook(0);
    library_->setwindowhwnd(window_.handle());
    type(Qt::Key_A, XKeyA);
    EXPECT_TRUE(window_.keyMessages().empty());
}

// Every key of the keyboard picture can be captured from the key at its position, except the
// keyboard's own keys (Mode, S-, S+, Win Lock: 193 to 196), which no system reports.
TEST_F(KeyCaptureHook, EveryKeyOfTheLayoutFileIsCapturedFromItsKey) {
    KeyLayout layout;
    ASSERT_TRUE(layout.load(QStringLiteral(HALDA_KEY_LAYOUT_FILE)));
    library_->SetHookStatus(1);
    KeyMessages expected;
    for (const KeyLayoutEntry& entry : layout.entries()) {
        if (entry.vkcode >= 193 && entry.vkcode <= 196)
            continue;
        const int evdev = KeyboardLayout::evdevCode(entry.vkcode);
        EXPECT_NE(evdev, 0) << entry.name.toStdString();
        type(Qt::Key_unknown, quint32(evdev + 8));
        expected.push_back(pressed(entry.vkcode));
        expected.push_back(released(entry.vkcode));
    }
    EXPECT_EQ(expected.size(), 2u * 88u);
    EXPECT_EQ(window_.keyMessages(), expected);
}

}  // namespace
