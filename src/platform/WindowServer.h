#pragma once

#include "platform/WindowDirectory.h"
#include "platform/WindowFrame.h"

#include <QSocketNotifier>

#include <functional>
#include <memory>

// Listens under one name in the window folder and hands every well-formed frame from a
// process of the same user to its handler, from the event loop. The handler's result is the
// reply to a send; a post gets none.
class WindowServer {
public:
    using Handler = std::function<std::int64_t(const WindowFrame&)>;

    // Nothing when the name cannot be taken (invalid, or a live window already has it).
    static std::unique_ptr<WindowServer> listen(const QString& name, Handler handler);
    // Stops listening and removes the socket file. Frames already accepted are still
    // handed over.
    ~WindowServer();
    WindowServer(const WindowServer&) = delete;
    WindowServer& operator=(const WindowServer&) = delete;

private:
    WindowServer(WindowDirectory::Listener listener, Handler handler);
    void acceptPending();

    WindowDirectory::Listener listener_;
    Handler handler_;
    std::unique_ptr<QSocketNotifier> notifier_;
};
