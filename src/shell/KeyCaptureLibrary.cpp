#include "shell/KeyCaptureLibrary.h"

#include "platform/Paths.h"

KeyCaptureLibrary::KeyCaptureLibrary()
    : library_(Paths::executableDirectory() + QLatin1String(FileName)) {
    installHook_ = library_.function<InstallHook>("installhook");
    removeHook_ = library_.function<RemoveHook>("removehook");
    setWindow_ = library_.function<SetWindow>("setwindowhwnd");
    setHookStatus_ = library_.function<SetStatus>("SetHookStatus");
}

void KeyCaptureLibrary::unload() {
    installHook_ = nullptr;
    removeHook_ = nullptr;
    setWindow_ = nullptr;
    setHookStatus_ = nullptr;
    library_.unload();
}

void KeyCaptureLibrary::installhook(std::int32_t value) const {
    if (installHook_)
        installHook_(value);
}

void KeyCaptureLibrary::removehook() const {
    if (removeHook_)
        removeHook_();
}

void KeyCaptureLibrary::setwindowhwnd(WindowHandle window) const {
    if (setWindow_)
        setWindow_(window);
}

void KeyCaptureLibrary::SetHookStatus(std::int32_t status) const {
    if (setHookStatus_)
        setHookStatus_(status);
}
