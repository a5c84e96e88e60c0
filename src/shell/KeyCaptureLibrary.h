#pragma once

#include "platform/DynamicLibrary.h"
#include "platform/Messages.h"

#include <cstdint>

// The key-capture library KBGetKey.so beside the executable, through which the key setting
// dialog and its pages receive the keys the user types. It reports each key press and release
// as message KeyMessage to the window last named by setwindowhwnd, while the last
// SetHookStatus passed 1. When the library or one of its functions is missing, each call to
// that function does nothing, so the tool works on without key capture.
class KeyCaptureLibrary {
public:
    static constexpr const char* FileName = "KBGetKey.so";
    // wParam: the key's Windows virtual-key code; lParam: ReleasedFlag set for a release.
    static constexpr std::uint32_t KeyMessage = 0x40A;
    static constexpr std::int64_t ReleasedFlag = 0x80;

    // Loads the library from the executable directory and looks up its functions; calls none.
    KeyCaptureLibrary();
    KeyCaptureLibrary(const KeyCaptureLibrary&) = delete;
    KeyCaptureLibrary& operator=(const KeyCaptureLibrary&) = delete;

    // Frees the library and forgets its functions; calls none of them (so removehook comes
    // first). Destruction does the same.
    void unload();

    bool isLoaded() const { return library_.isLoaded(); }
    // Without SetHookStatus no capture can be started.
    bool hasSetHookStatus() const { return setHookStatus_ != nullptr; }

    void installhook(std::int32_t value) const;
    void removehook() const;
    void setwindowhwnd(WindowHandle window) const;
    void SetHookStatus(std::int32_t status) const;

private:
    using InstallHook = void(std::int32_t);
    using RemoveHook = void();
    using SetWindow = void(std::uint32_t);
    using SetStatus = void(std::int32_t);

    DynamicLibrary library_;
    InstallHook* installHook_ = nullptr;
    RemoveHook* removeHook_ = nullptr;
    SetWindow* setWindow_ = nullptr;
    SetStatus* setHookStatus_ = nullptr;
};
