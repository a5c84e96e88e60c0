#include "platform/KeyboardLayout.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(KeyboardLayout, KeyEventsMapBackToTheCodeTheirNameComesFrom) {
    for (int code = 1; code < 256; ++code) {
        const int evdev = KeyboardLayout::evdevCode(code);
        if (evdev == 0)
            continue;
        const int back = KeyboardLayout::virtualKey(evdev);
        // Codes that share a key come back as the one a key event reports.
        EXPECT_EQ(KeyboardLayout::evdevCode(back), evdev) << "code " << code;
    }
    struct Pair {
        int evdev;
        int virtualKey;
    };
    for (const Pair p : {Pair{30, 65}, Pair{2, 49}, Pair{39, 186}, Pair{42, 160}, Pair{54, 161},
                         Pair{29, 162}, Pair{97, 163}, Pair{56, 164}, Pair{100, 165}, Pair{28, 13},
                         Pair{96, 13}, Pair{76, 101}, Pair{125, 91}, Pair{0, 0}, Pair{999, 0}})
        EXPECT_EQ(KeyboardLayout::virtualKey(p.evdev), p.virtualKey) << "evdev " << p.evdev;
    EXPECT_EQ(KeyboardLayout::evdevCode(16), 42);
    EXPECT_EQ(KeyboardLayout::evdevCode(0), 0);
    EXPECT_EQ(KeyboardLayout::evdevCode(300), 0);
}

// Native key codes as X11 and Wayland report them: the XKB key code, evdev + 8.
TEST(KeyboardLayout, NativeKeyCodesGiveTheCodeOfTheKeysPosition) {
    struct Case {
        const char* key;
        quint32 native;
        int virtualKey;
    };
    const Case cases[] = {
        {"A", 38, 65},
        {"Q (A on a French layout)", 24, 81},
        {"1", 10, 49},
        {";", 47, 186},
        {"Esc", 9, 27},
        {"Enter", 36, 13},
        {"Space", 65, 32},
        {"Backspace", 22, 8},
        {"Tab", 23, 9},
        {"Caps Lock", 66, 20},
        {"Left Shift", 50, 160},
        {"Right Shift", 62, 161},
        {"Left Ctrl", 37, 162},
        {"Right Ctrl", 105, 163},
        {"Left Alt", 64, 164},
        {"Right Alt (AltGr)", 108, 165},
        {"Left Win", 133, 91},
        {"Right Win", 134, 92},
        {"Menu", 135, 93},
        {"Print Screen", 107, 44},
        {"Scroll Lock", 78, 145},
        {"Pause", 127, 19},
        {"Insert", 118, 45},
        {"Delete", 119, 46},
        {"Home", 110, 36},
        {"Page Down", 117, 34},
        {"Up", 111, 38},
        {"Right", 114, 39},
        {"F1", 67, 112},
        {"F12", 96, 123},
        {"Mute", 121, 173},
        {"keypad 0", 90, 96},
        {"keypad 5", 84, 101},
        {"keypad 9", 81, 105},
        {"keypad *", 63, 106},
        {"keypad +", 86, 107},
        {"keypad -", 82, 109},
        {"keypad .", 91, 110},
        {"keypad /", 106, 111},
        {"keypad Enter", 104, 13},
        {"Num Lock", 77, 144},
        {"key beside Left Shift (105 keys)", 94, 226},
        {"browser back", 166, 166},
        {"calculator", 148, 183},
        {"no code (offscreen, synthesized events)", 0, 0},
        {"below the first key code", 8, 0},
        {"a key without a virtual-key code", 255, 0},
        {"far out of range", 0xFFFFFFFFu, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyboardLayout::virtualKeyOfNativeKey(c.native), c.virtualKey) << c.key;
}

TEST(KeyboardLayout, UnshiftedCharactersOfAUsLayout) {
    KeyboardLayout::setLayout(QStringLiteral("us"));
    EXPECT_EQ(KeyboardLayout::unshiftedCharacter(65), U'a');
    EXPECT_EQ(KeyboardLayout::unshiftedCharacter(32), U' ');
    // Control characters are not something to show.
    EXPECT_EQ(KeyboardLayout::unshiftedCharacter(13), 0u);
    EXPECT_EQ(KeyboardLayout::unshiftedCharacter(27), 0u);
    EXPECT_EQ(KeyboardLayout::unshiftedCharacter(8), 0u);
}

}  // namespace

TEST(KeyboardLayout, WithoutAnyLayoutDataTheKeysAreReadAsUs) {
    const QTemporaryDir empty;
    qputenv("XKB_CONFIG_ROOT", empty.path().toUtf8());
    KeyboardLayout::setLayout(QStringLiteral("de"));
    EXPECT_EQ(KeyboardLayout::layout(), QStringLiteral("us"));
    EXPECT_EQ(KeyboardLayout::unshiftedCharacter(186), U';');
    EXPECT_EQ(KeyboardLayout::unshiftedCharacter(89), U'y');
    EXPECT_EQ(KeyboardLayout::unshiftedCharacter(13), 0u);
    qunsetenv("XKB_CONFIG_ROOT");
}
