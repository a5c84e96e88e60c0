#include "platform/Messages.h"

#include "platform/WindowDirectory.h"
#include "platform/WindowServer.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <map>
#include <memory>
#include <optional>

namespace {
// A window of another process, reached through its socket file in the window folder.
struct RemoteWindow {
    QString name;
    WindowDirectory::FileId id;
};

struct Window {
    MessageReceiver* receiver = nullptr;
    QString title;
    // Once published, the window is also reachable under its title, which follows renames.
    bool published = false;
    QStringList names;
    std::map<QString, std::unique_ptr<WindowServer>> servers;
    std::optional<RemoteWindow> remote;
};

struct WindowTable {
    std::map<WindowHandle, Window> windows;
    WindowHandle nextHandle = 0x10000;  // small numbers look like nothing but handles
    std::chrono::milliseconds sendTimeout{5000};
    bool inSend = false;
};

WindowTable& table() {
    static WindowTable instance;
    return instance;
}

Window* findEntry(WindowHandle window) {
    const auto it = table().windows.find(window);
    return it == table().windows.end() ? nullptr : &it->second;
}

MessageReceiver* localReceiver(WindowHandle window) {
    const Window* entry = findEntry(window);
    return entry ? entry->receiver : nullptr;
}

class InSendScope {
public:
    explicit InSendScope(bool inSend) : saved_(table().inSend) { table().inSend = inSend; }
    ~InSendScope() { table().inSend = saved_; }
    InSendScope(const InSendScope&) = delete;
    InSendScope& operator=(const InSendScope&) = delete;

private:
    bool saved_;
};

// Frames from other processes reach the window exactly as local messages would.
WindowServer::Handler deliverTo(WindowHandle window) {
    return [window](const WindowFrame& frame) -> std::int64_t {
        if (frame.kind == WindowFrame::Send)
            return Messages::sendMessage(window, frame.message, frame.wParam, frame.lParam);
        Messages::postMessage(window, frame.message, frame.wParam, frame.lParam);
        return 0;
    };
}

void publishTitle(WindowHandle handle, Window& window) {
    // The title is taken when it can be; two windows may well carry the same title, and a
    // title that cannot be a file name is simply not found from outside.
    if (window.servers.contains(window.title) || !WindowDirectory::isValidName(window.title))
        return;
    if (auto server = WindowServer::listen(window.title, deliverTo(handle)))
        window.servers[window.title] = std::move(server);
}
}  // namespace

WindowHandle Messages::registerWindow(MessageReceiver* receiver, const QString& title) {
    WindowTable& t = table();
    const WindowHandle handle = t.nextHandle++;
    Window& window = t.windows[handle];
    window.receiver = receiver;
    window.title = title;
    return handle;
}

WindowHandle Messages::handleOf(const MessageReceiver* receiver) {
    if (!receiver)
        return 0;
    for (const auto& [handle, window] : table().windows)
        if (window.receiver == receiver)
            return handle;
    return 0;
}

void Messages::setWindowTitle(WindowHandle handle, const QString& title) {
    Window* window = findEntry(handle);
    if (!window || !window->receiver || window->title == title)
        return;
    if (window->published && !window->names.contains(window->title))
        window->servers.erase(window->title);
    window->title = title;
    if (window->published)
        publishTitle(handle, *window);
}

void Messages::unregisterWindow(WindowHandle window) {
    // Pull the entry out first: closing its servers must not run while it is still found.
    auto node = table().windows.extract(window);
}

bool Messages::publishWindow(WindowHandle handle, const QStringList& names) {
    Window* window = findEntry(handle);
    if (!window || !window->receiver || !QCoreApplication::instance())
        return false;
    for (const QString& name : names)
        if (!WindowDirectory::isValidName(name))
            return false;

    QStringList added;
    for (const QString& name : names) {
        if (window->servers.contains(name))
            continue;
        auto server = WindowServer::listen(name, deliverTo(handle));
        if (!server) {
            for (const QString& undo : added)
                window->servers.erase(undo);
            return false;
        }
        window->servers[name] = std::move(server);
        added.append(name);
    }
    window->published = true;
    for (const QString& name : names)
        if (!window->names.contains(name))
            window->names.append(name);
    publishTitle(handle, *window);
    return true;
}

WindowHandle Messages::findWindow(const QString& title) {
    WindowTable& t = table();
    for (const auto& [handle, window] : t.windows)
        if (window.receiver && (window.title == title || window.names.contains(title)))
            return handle;

    const auto id = WindowDirectory::findLive(title);
    if (!id)
        return 0;
    // One handle per remote window, however often it is looked up; an entry for an earlier
    // window under the same name is dead and goes.
    for (auto it = t.windows.begin(); it != t.windows.end();) {
        const auto& remote = it->second.remote;
        if (remote && remote->name == title) {
            if (remote->id == *id)
                return it->first;
            it = t.windows.erase(it);
        } else {
            ++it;
        }
    }
    const WindowHandle handle = t.nextHandle++;
    Window& window = t.windows[handle];
    window.title = title;
    window.remote = RemoteWindow{title, *id};
    return handle;
}

bool Messages::isWindow(WindowHandle handle) {
    const Window* window = findEntry(handle);
    if (!window)
        return false;
    if (window->remote)
        return WindowDirectory::isLive(window->remote->name, window->remote->id);
    return window->receiver != nullptr;
}

bool Messages::postMessage(WindowHandle handle, std::uint32_t message, std::uint64_t wParam,
                           std::int64_t lParam) {
    const Window* window = findEntry(handle);
    if (window && window->remote) {
        const RemoteWindow remote = *window->remote;
        return WindowDirectory::post(remote.name, remote.id,
                                     WindowFrame{message, WindowFrame::Post, wParam, lParam},
                                     table().sendTimeout);
    }
    if (!localReceiver(handle) || !QCoreApplication::instance())
        return false;
    // Looked up again at delivery: the window may be gone by then.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [=] {
            if (MessageReceiver* receiver = localReceiver(handle)) {
                InSendScope scope(false);
                receiver->receiveMessage(message, wParam, lParam);
            }
        },
        Qt::QueuedConnection);
    return true;
}

std::int64_t Messages::sendMessage(WindowHandle handle, std::uint32_t message, std::uint64_t wParam,
                                   std::int64_t lParam) {
    const Window* window = findEntry(handle);
    if (window && window->remote) {
        const RemoteWindow remote = *window->remote;
        return WindowDirectory::send(remote.name, remote.id,
                                     WindowFrame{message, WindowFrame::Send, wParam, lParam},
                                     table().sendTimeout)
            .value_or(0);
    }
    if (MessageReceiver* receiver = localReceiver(handle)) {
        InSendScope scope(true);
        return receiver->receiveMessage(message, wParam, lParam);
    }
    return 0;
}

bool Messages::inSendMessage() {
    return table().inSend;
}

void Messages::setSendTimeout(std::chrono::milliseconds timeout) {
    table().sendTimeout = timeout;
}
