#include "hook/KeyCaptureHook.h"

#include "platform/KeyboardLayout.h"

#include <QCoreApplication>
#include <QKeyEvent>

KeyCaptureHook::~KeyCaptureHook() {
    remove();
}

KeyCaptureHook& KeyCaptureHook::instance() {
    // Destroyed when the library is unloaded, which takes it off the application first.
    static KeyCaptureHook hook;
    return hook;
}

void KeyCaptureHook::install() {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application || watched_ == application)
        return;
    remove();
    application->installEventFilter(this);
    watched_ = application;
    // The application may end before the library is unloaded.
    connect(application, &QObject::destroyed, this, [this] { watched_ = nullptr; });
}

void KeyCaptureHook::remove() {
    if (!watched_)
        return;
    watched_->removeEventFilter(this);
    disconnect(watched_, nullptr, this, nullptr);
    watched_ = nullptr;
}

bool KeyCaptureHook::eventFilter(QObject* receiver, QEvent* event) {
    const bool press = event->type() == QEvent::KeyPress;
    if (!press && event->type() != QEvent::KeyRelease)
        return false;
    // An application filter sees a key event once for every object it is delivered to: the
    // window first, then the focused widget and each parent it propagates to. Only the
    // window's delivery is the key itself.
    if (!receiver->isWindowType() || !active_ || target_ == 0)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    // A held key reports one press and one release, as it was pressed and released once;
    // the repeats X11 makes of both would otherwise read as a key tapped many times.
    if (key->isAutoRepeat())
        return false;
    const int virtualKey = KeyboardLayout::virtualKeyOfNativeKey(key->nativeScanCode());
    if (virtualKey == 0)
        return false;
    Messages::postMessage(target_, KeyMessage, std::uint64_t(virtualKey), press ? 0 : ReleasedFlag);
    return false;
}
