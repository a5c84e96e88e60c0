#pragma once

#include "platform/Messages.h"

#include <QString>

// What the tool relies on of the companion driver process: its executable, its window and
// the messages it is told. The companion reads the stored settings and applies them.
namespace Companion {

inline const QString ExecutableName = QStringLiteral("Zelt_Setting");
inline const QString WindowTitle = QStringLiteral("QuorvZelt_Setting");
inline const QString BusyWindowTitle = QStringLiteral("Zelt_Progressbar");

enum Message : std::uint32_t {
    SettingsWritten = 0x601,  // lParam 1 after a key edit, 0 after OK or Apply
    RegisterWindow = 0x602,   // wParam: the main window's handle
    RateChanged = 0x613,      // wParam: the new report rate code
    Restore = 0x653,
    AboutToWrite = 0x654,
    LoadProfile = 0x610,  // from the companion to the main window; lParam: profile index
};

// The companion's window, looked up anew each time; 0 when it is not running.
inline WindowHandle findWindow() {
    return Messages::findWindow(WindowTitle);
}

}  // namespace Companion
