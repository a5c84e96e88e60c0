#pragma once

#include "platform/Messages.h"

#include <QObject>

#include <cstdint>

// Reports every key pressed and released in this application's own windows as one message
// 0x40A to one window: wParam the Windows virtual-key code of the key's position, lParam
// 0x80 for a release and 0 for a press. It watches the application's events from outside
// every window, so keys that a window swallows in its own key handler are still reported.
class KeyCaptureHook : public QObject {
public:
    static constexpr std::uint32_t KeyMessage = 0x40A;
    static constexpr std::int64_t ReleasedFlag = 0x80;

    ~KeyCaptureHook() override;

    // The one hook of this library.
    static KeyCaptureHook& instance();

    // Watches the running application; does nothing when there is none yet.
    void install();
    void remove();
    void setTarget(WindowHandle window) { target_ = window; }
    // Only while active are keys reported; the target and the installation stay as they are.
    void setActive(bool active) { active_ = active; }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    KeyCaptureHook() = default;

    QObject* watched_ = nullptr;
    WindowHandle target_ = 0;
    bool active_ = false;
};
