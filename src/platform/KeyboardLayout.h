#pragma once

#include <QString>

// Windows virtual-key codes against the current keyboard layout. A virtual-key code stands
// for the key at its position on a US keyboard, in both directions, so that a captured key
// and the name shown for its code always belong to the same physical key.
class KeyboardLayout {
public:
    // Chooses the layout by its XKB name ("us", "de", "fr,us") and variant ("nodeadkeys").
    // An empty name goes back to the system's layout: $XKB_DEFAULT_LAYOUT, else the
    // system keyboard setting, else US.
    static void setLayout(const QString& layout, const QString& variant = {});
    // The layout in use as XKB names it; "us" when no other one could be read.
    static QString layout();

    // The character the key gives with no modifier held (dead keys give their spacing
    // accent); 0 when the code has no key or the key gives no character.
    static char32_t unshiftedCharacter(int virtualKey);

    // The evdev code of the key at the virtual-key code's US position; 0 when there is none.
    static int evdevCode(int virtualKey);
    // The virtual-key code of an evdev key; 0 when it has none. Modifier keys give their
    // side-specific codes (160 to 165, 91, 92); keypad keys give their own codes (96 to 111)
    // whatever the NumLock state, keypad Enter gives 13.
    static int virtualKey(int evdevCode);
    // The same for the native key code of a key event (QKeyEvent::nativeScanCode), which on
    // X11 and on Wayland is the XKB key code, evdev + 8. It names the key's position, so the
    // layout and the modifiers held do not change it.
    static int virtualKeyOfNativeKey(quint32 nativeScanCode);
};
