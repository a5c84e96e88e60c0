#include "hook/KBGetKey.h"

#include "hook/KeyCaptureHook.h"

void installhook(std::int32_t) {
    KeyCaptureHook::instance().install();
}

void removehook() {
    KeyCaptureHook::instance().remove();
}

void setwindowhwnd(std::uint32_t window) {
    KeyCaptureHook::instance().setTarget(window);
}

void SetHookStatus(std::int32_t status) {
    KeyCaptureHook::instance().setActive(status != 0);
}
