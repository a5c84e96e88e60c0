#pragma once

#include "platform/Messages.h"

#include <cstdint>

// The process-wide reference to the main window through which the pages and dialogs post to
// it. It is set at the end of the main window's initialisation and 0 before that (and after
// the window is gone), so a post made then simply goes nowhere.
class MainWindowReference {
public:
    // Messages the main window takes from the pages.
    enum Message : std::uint32_t {
        KeyChanged = 0x60E,  // lParam: the key code; refresh that key's button
        KeyReleased = 0x614  // wParam: the page's window, lParam: the key code; reset it, save
    };

    static WindowHandle handle();
    static void set(WindowHandle mainWindow);
    // Posts to the main window; false when there is none.
    static bool post(std::uint32_t message, std::uint64_t wParam, std::int64_t lParam);
};
