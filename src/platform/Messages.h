#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdint>

// Window handles and window messages. Every window that receives messages has a 32-bit
// handle from this one process-wide table. A post is delivered from the event loop after the
// poster's code has returned; a send is handled before it returns and yields the reply.
// Windows published for other processes can be found and reached from them through the
// per-user window folder (see WindowDirectory): a send to such a window waits, for a bounded
// time, until the other process has handled it; a post returns once the message is on its way.
using WindowHandle = std::uint32_t;

class MessageReceiver {
public:
    virtual ~MessageReceiver() = default;
    virtual std::int64_t receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                        std::int64_t lParam) = 0;
};

class Messages {
public:
    // Gives the receiver a handle; title is what findWindow matches in this process.
    static WindowHandle registerWindow(MessageReceiver* receiver, const QString& title = {});
    static void setWindowTitle(WindowHandle window, const QString& title);
    // The handle the receiver was registered under; 0 when it has none.
    static WindowHandle handleOf(const MessageReceiver* receiver);
    // Forgets the handle; messages still queued for it are dropped.
    static void unregisterWindow(WindowHandle window);
    // Makes the window reachable by other processes under each of the names and, from now
    // on, under its title as well. Fails, publishing none of the names, when one of them is
    // empty, holds '/', or is taken by a live window; a stale name left by a process that
    // died is taken over. The title is published where it can be, without failing the call.
    // This process finds its own windows under these names too.
    static bool publishWindow(WindowHandle window, const QStringList& names);

    // This process's windows first, then the windows other processes published.
    // Returns 0 when there is none.
    static WindowHandle findWindow(const QString& title);
    static bool isWindow(WindowHandle window);

    static bool postMessage(WindowHandle window, std::uint32_t message, std::uint64_t wParam,
                            std::int64_t lParam);
    // Returns the receiver's reply; 0 when there is no such window or it did not answer in
    // time.
    static std::int64_t sendMessage(WindowHandle window, std::uint32_t message,
                                    std::uint64_t wParam, std::int64_t lParam);

    // True while a receiver handles a sent (rather than posted) message.
    static bool inSendMessage();
    // How long a send to another process waits for its reply (and a post for room to write).
    static void setSendTimeout(std::chrono::milliseconds timeout);
};
