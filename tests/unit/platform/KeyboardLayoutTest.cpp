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
