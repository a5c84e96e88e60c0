#include "platform/WindowDirectory.h"

#include "platform/Paths.h"

#include <QFile>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {
using Clock = std::chrono::steady_clock;

enum class Probe { Absent, Live, Stale, Unusable };

// Serialises taking over and removing socket files between processes: without it, one
// process could remove a socket that another has just bound in place of a stale one.
class FolderLock {
public:
    explicit FolderLock(const QString& folder)
        : fd_(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (fd_ >= 0)
            ::flock(fd_, LOCK_EX);
    }
    ~FolderLock() {
        if (fd_ >= 0)
            ::close(fd_);  // releases the lock
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_;
};

sockaddr_un socketAddress(const QByteArray& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
    return address;
}

std::optional<WindowDirectory::FileId> socketFileId(const QByteArray& path) {
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0 || !S_ISSOCK(info.st_mode))
        return std::nullopt;
    return WindowDirectory::FileId{info.st_dev, info.st_ino};
}

timeval toTimeval(std::chrono::milliseconds duration) {
    if (duration.count() <= 0)
        duration = std::chrono::milliseconds(1);  // zero would mean "wait for ever"
    timeval tv{};
    tv.tv_sec = time_t(duration.count() / 1000);
    tv.tv_usec = suseconds_t(duration.count() % 1000 * 1000);
    return tv;
}

// Connects to the socket file. A full backlog means the window is alive but busy: the
// connect then waits up to the timeout (zero: not at all) for room.
int connectTo(const QByteArray& path, std::chrono::milliseconds timeout, int& error) {
    const int flags = SOCK_STREAM | SOCK_CLOEXEC | (timeout.count() == 0 ? SOCK_NONBLOCK : 0);
    const int fd = ::socket(AF_UNIX, flags, 0);
    if (fd < 0) {
        error = errno;
        return -1;
    }
    if (timeout.count() > 0) {
        const timeval tv = toTimeval(timeout);
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    }
    const sockaddr_un address = socketAddress(path);
    int result;
    do {
        result = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        error = errno;
        ::close(fd);
        return -1;
    }
    error = 0;
    return fd;
}

Probe probe(const QByteArray& path) {
    if (!socketFileId(path))
        return Probe::Absent;
    int error = 0;
    const int fd = connectTo(path, std::chrono::milliseconds(0), error);
    if (fd >= 0) {
        // The window accepts and drops the empty connection.
        ::close(fd);
        return Probe::Live;
    }
    if (error == EAGAIN)
        return Probe::Live;  // backlog full: someone listens
    if (error == ECONNREFUSED)
        return Probe::Stale;
    if (error == ENOENT)
        return Probe::Absent;
    return Probe::Unusable;
}

// Removes a stale socket file unless someone took the name over meanwhile.
void removeIfStale(const QByteArray& path, const WindowDirectory::FileId& id) {
    if (socketFileId(path) == id && probe(path) == Probe::Stale)
        ::unlink(path.constData());
}

bool writeAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::send(fd, data, size, MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= std::size_t(written);
    }
    return true;
}

bool readAll(int fd, std::uint8_t* data, std::size_t size, Clock::time_point deadline) {
    while (size > 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return false;
        pollfd pfd{fd, POLLIN, 0};
        const int ready = ::poll(&pfd, 1, int(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        const ssize_t got = ::recv(fd, data, size, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;  // closed: the window is gone or refused us
        data += got;
        size -= std::size_t(got);
    }
    return true;
}

// Connects to the window known as id and writes the frame; returns the open connection.
int deliver(const QString& name, const WindowDirectory::FileId& id, const WindowFrame& frame,
            std::chrono::milliseconds timeout) {
    if (!WindowDirectory::isValidName(name))
        return -1;
    const QByteArray path = QFile::encodeName(WindowDirectory::socketPath(name));
    if (socketFileId(path) != id)
        return -1;  // the window we knew is gone; whoever took its name is another one
    int error = 0;
    const int fd = connectTo(path, timeout, error);
    if (fd < 0)
        return -1;
    const auto bytes = frame.encode();
    if (!writeAll(fd, bytes.data(), bytes.size())) {
        ::close(fd);
        return -1;
    }
    return fd;
}
}  // namespace

bool WindowDirectory::isValidName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
        name.contains(QLatin1Char('/')) || name.contains(QChar(0)))
        return false;
    const QString path = socketPath(name);
    return !path.isEmpty() &&
           std::size_t(QFile::encodeName(path).size()) < sizeof(sockaddr_un::sun_path);
}

QString WindowDirectory::socketPath(const QString& name) {
    const QString folder = Paths::runtimeDirectory();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + name;
}

std::optional<WindowDirectory::Listener> WindowDirectory::listen(const QString& name) {
    if (!isValidName(name))
        return std::nullopt;
    const QString path = socketPath(name);
    const QByteArray native = QFile::encodeName(path);
    FolderLock lock(Paths::runtimeDirectory());

    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return std::nullopt;
    const sockaddr_un address = socketAddress(native);
    auto bindSocket = [&] {
        return ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    };
    bool bound = bindSocket();
    if (!bound && errno == EADDRINUSE && probe(native) == Probe::Stale) {
        ::unlink(native.constData());
        bound = bindSocket();
    }
    // The folder already keeps other users out; the file mode says the same on its own.
    if (!bound || ::chmod(native.constData(), 0600) != 0 || ::listen(fd, SOMAXCONN) != 0) {
        if (bound)
            ::unlink(native.constData());
        ::close(fd);
        return std::nullopt;
    }
    const auto id = socketFileId(native);
    if (!id) {
        ::close(fd);
        return std::nullopt;
    }
    return Listener{fd, path, *id};
}

void WindowDirectory::close(Listener& listener) {
    if (listener.fd < 0)
        return;
    const QByteArray native = QFile::encodeName(listener.path);
    if (socketFileId(native) == listener.id)
        ::unlink(native.constData());
    ::close(listener.fd);
    listener.fd = -1;
}

std::optional<WindowDirectory::FileId> WindowDirectory::findLive(const QString& name) {
    if (!isValidName(name))
        return std::nullopt;
    const QByteArray path = QFile::encodeName(socketPath(name));
    const auto id = socketFileId(path);
    if (!id)
        return std::nullopt;
    switch (probe(path)) {
        case Probe::Live:
            return id;
        case Probe::Stale: {
            FolderLock lock(Paths::runtimeDirectory());
            removeIfStale(path, *id);
            return std::nullopt;
        }
        default:
            return std::nullopt;
    }
}

bool WindowDirectory::isLive(const QString& name, const FileId& id) {
    if (!isValidName(name))
        return false;
    const QByteArray path = QFile::encodeName(socketPath(name));
    return socketFileId(path) == id && probe(path) == Probe::Live;
}

bool WindowDirectory::post(const QString& name, const FileId& id, const WindowFrame& frame,
                           std::chrono::milliseconds timeout) {
    const int fd = deliver(name, id, frame, timeout);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

std::optional<std::int64_t> WindowDirectory::send(const QString& name, const FileId& id,
                                                  const WindowFrame& frame,
                                                  std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    const int fd = deliver(name, id, frame, timeout);
    if (fd < 0)
        return std::nullopt;
    std::array<std::uint8_t, WindowFrame::ReplySize> reply{};
    const bool answered = readAll(fd, reply.data(), reply.size(), deadline);
    ::close(fd);
    if (!answered)
        return std::nullopt;
    return WindowFrame::decodeReply(reply);
}
