#include "platform/WindowServer.h"

#include <QMetaObject>
#include <QObject>
#include <QTimer>

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace {
// A peer that connects and never finishes its frame must not hold a descriptor for ever.
constexpr int kFrameTimeoutMs = 5000;

// One accepted connection, reading its single frame. It belongs to no server, so a handler
// that closes the window it was sent to does not pull the connection away under itself.
class Connection : public QObject {
public:
    Connection(int fd, WindowServer::Handler handler)
        : fd_(fd), handler_(std::move(handler)), notifier_(fd, QSocketNotifier::Read, this) {
        notifier_.setEnabled(false);
        QObject::connect(&notifier_, &QSocketNotifier::activated, this, [this] { readFrame(); });
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { finish(); });
        timer_.start(kFrameTimeoutMs);
    }
    ~Connection() override { closeSocket(); }

    void readFrame() {
        while (received_ < frame_.size()) {
            const ssize_t got =
                ::recv(fd_, frame_.data() + received_, frame_.size() - received_, 0);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                notifier_.setEnabled(true);
                return;
            }
            if (got <= 0) {
                finish();  // closed early: a probe, or a short frame, dropped unread
                return;
            }
            received_ += std::size_t(got);
        }
        notifier_.setEnabled(false);
        timer_.stop();
        if (const auto frame = WindowFrame::decode(frame_)) {
            const std::int64_t result = handler_(*frame);
            if (frame->kind == WindowFrame::Send) {
                const auto reply = WindowFrame::encodeReply(result);
                // A sender that gave up has closed; MSG_NOSIGNAL keeps that from killing us.
                [[maybe_unused]] const ssize_t sent =
                    ::send(fd_, reply.data(), reply.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
            }
        }
        finish();
    }

private:
    void closeSocket() {
        if (fd_ < 0)
            return;
        notifier_.setEnabled(false);
        ::close(fd_);
        fd_ = -1;
    }
    void finish() {
        closeSocket();
        deleteLater();
    }

    int fd_;
    WindowServer::Handler handler_;
    QSocketNotifier notifier_;
    QTimer timer_;
    std::array<std::uint8_t, WindowFrame::Size> frame_{};
    std::size_t received_ = 0;
};
}  // namespace

std::unique_ptr<WindowServer> WindowServer::listen(const QString& name, Handler handler) {
    auto listener = WindowDirectory::listen(name);
    if (!listener)
        return nullptr;
    return std::unique_ptr<WindowServer>(new WindowServer(*listener, std::move(handler)));
}

WindowServer::WindowServer(WindowDirectory::Listener listener, Handler handler)
    : listener_(std::move(listener)),
      handler_(std::move(handler)),
      notifier_(std::make_unique<QSocketNotifier>(listener_.fd, QSocketNotifier::Read)) {
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { acceptPending(); });
}

WindowServer::~WindowServer() {
    notifier_.reset();
    WindowDirectory::close(listener_);
}

void WindowServer::acceptPending() {
    for (;;) {
        const int fd = ::accept4(listener_.fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return;  // nothing more pending
        }
        ucred peer{};
        socklen_t size = sizeof peer;
        if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || size != sizeof peer ||
            peer.uid != ::geteuid()) {
            ::close(fd);  // another user's process never reaches our windows
            continue;
        }
        auto* connection = new Connection(fd, handler_);
        // Read in accept order from the event loop, so frames from a burst of posts are
        // handed over in the order they were written.
        QMetaObject::invokeMethod(
            connection, [connection] { connection->readFrame(); }, Qt::QueuedConnection);
    }
}
