#include "windows/MainWindowReference.h"

namespace {
WindowHandle& mainWindowHandle() {
    static WindowHandle handle = 0;
    return handle;
}
}  // namespace

WindowHandle MainWindowReference::handle() {
    return mainWindowHandle();
}

void MainWindowReference::set(WindowHandle mainWindow) {
    mainWindowHandle() = mainWindow;
}

bool MainWindowReference::post(std::uint32_t message, std::uint64_t wParam, std::int64_t lParam) {
    const WindowHandle window = mainWindowHandle();
    return window && Messages::postMessage(window, message, wParam, lParam);
}
