#include "platform/Messages.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <map>

namespace {
struct Window {
    MessageReceiver* receiver = nullptr;
    QString title;
};

struct WindowTable {
    std::map<WindowHandle, Window> windows;
    WindowHandle nextHandle = 0x10000;  // small numbers look like nothing but handles
};

WindowTable& table() {
    static WindowTable instance;
    return instance;
}

MessageReceiver* localReceiver(WindowHandle window) {
    const auto it = table().windows.find(window);
    return it == table().windows.end() ? nullptr : it->second.receiver;
}
}  // namespace

WindowHandle Messages::registerWindow(MessageReceiver* receiver, const QString& title) {
    WindowTable& t = table();
    const WindowHandle handle = t.nextHandle++;
    t.windows[handle] = Window{receiver, title};
    return handle;
}

void Messages::setWindowTitle(WindowHandle window, const QString& title) {
    const auto it = table().windows.find(window);
    if (it != table().windows.end())
        it->second.title = title;
}

void Messages::unregisterWindow(WindowHandle window) {
    table().windows.erase(window);
}

bool Messages::publishWindow(WindowHandle, const QStringList&) {
    return false;
}

WindowHandle Messages::findWindow(const QString& title) {
    for (const auto& [handle, window] : table().windows)
        if (window.receiver && window.title == title)
            return handle;
    return 0;
}

bool Messages::isWindow(WindowHandle window) {
    return localReceiver(window) != nullptr;
}

bool Messages::postMessage(WindowHandle window, std::uint32_t message, std::uint64_t wParam,
                           std::int64_t lParam) {
    if (!localReceiver(window) || !QCoreApplication::instance())
        return false;
    // Looked up again at delivery: the window may be gone by then.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [=] {
            if (MessageReceiver* receiver = localReceiver(window))
                receiver->receiveMessage(message, wParam, lParam);
        },
        Qt::QueuedConnection);
    return true;
}

std::int64_t Messages::sendMessage(WindowHandle window, std::uint32_t message, std::uint64_t wParam,
                                   std::int64_t lParam) {
    if (MessageReceiver* receiver = localReceiver(window))
        return receiver->receiveMessage(message, wParam, lParam);
    return 0;
}
