#include "platform/Messages.h"
#include "platform/Paths.h"
#include "platform/WindowFrame.h"

#include "support/TempWorld.h"
#include "support/WaitUntil.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <functional>
#include <vector>

namespace {

QString socketFile(const QString& name) {
    return Paths::runtimeDirectory() + QLatin1Char('/') + name;
}

mode_t modeOf(const QString& path) {
    struct stat info {};
    ::lstat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 07777;
}

// The test helper program in a process of its own, publishing one window.
class Peer {
public:
    explicit Peer(const QString& name)
        : log_(TempWorld::current().root() + QStringLiteral("/peer-") + name + ".log") {
        process_.start(QStringLiteral(HALDA_MESSAGES_PEER), {name, log_});
        ready_ = waitUntil([this] { return log().contains(QStringLiteral("ready")); });
    }
    ~Peer() {
        process_.kill();
        process_.waitForFinished();
    }

    bool ready() const { return ready_; }
    QString log() const {
        QFile file(log_);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    void go() { QFile(log_ + ".go").open(QIODevice::WriteOnly); }
    void killHard() {
        ::kill(pid_t(process_.processId()), SIGKILL);
        process_.waitForFinished();
    }
    // True once the peer has ended on its own, cleanly.
    bool waitForCleanExit() {
        return process_.waitForFinished(2000) && process_.exitStatus() == QProcess::NormalExit &&
               process_.exitCode() == 0;
    }

private:
    QString log_;
    QProcess process_;
    bool ready_ = false;
};

struct Recorder : MessageReceiver {
    std::int64_t receiveMessage(std::uint32_t message, std::uint64_t, std::int64_t) override {
        received.push_back(message);
        return 0;
    }
    std::vector<std::uint32_t> received;
};

// Writes raw bytes to a published socket, the way a broken or hostile client would.
void writeRaw(const QString& name, const std::vector<std::uint8_t>& bytes) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(socketFile(name));
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    ::close(fd);
}

std::vector<std::uint8_t> frameBytes(std::uint32_t message, std::uint32_t kind) {
    const auto bytes = WindowFrame{message, WindowFrame::Post, 0, 0}.encode();
    std::vector<std::uint8_t> raw(bytes.begin(), bytes.end());
    raw[4] = std::uint8_t(kind);
    return raw;
}
}  // namespace

TEST(MessagesRemote, SendReturnsAfterTheOtherProcessHandledItWithItsReply) {
    Peer peer(QStringLiteral("Peer"));
    ASSERT_TRUE(peer.ready());
    const WindowHandle window = Messages::findWindow(QStringLiteral("Peer"));
    ASSERT_NE(window, 0u);
    EXPECT_TRUE(Messages::isWindow(window));
    EXPECT_EQ(Messages::findWindow(QStringLiteral("Peer")), window);  // one handle per window

    // 0x100 takes the peer 200 ms: the log line must be there the moment the send returns.
    EXPECT_EQ(Messages::sendMessage(window, 0x100, 5, -6), -6 * 3 + 7);
    EXPECT_TRUE(peer.log().contains(QStringLiteral("handled 0x100 send 5 -6")));
    EXPECT_EQ(Messages::sendMessage(window, 0x7fffffff, ~std::uint64_t(0), 1LL << 40),
              (1LL << 40) * 3 + 7);
    EXPECT_TRUE(peer.log().contains(
        QStringLiteral("handled 0x7fffffff send %1 %2").arg(~std::uint64_t(0)).arg(1LL << 40)));
}

TEST(MessagesRemote, PostReturnsAtOnceAndPostsArriveInOrder) {
    Peer peer(QStringLiteral("Peer"));
    ASSERT_TRUE(peer.ready());
    const WindowHandle window = Messages::findWindow(QStringLiteral("Peer"));
    ASSERT_NE(window, 0u);

    // The peer holds 0x101 until told to go; the post must not wait for that.
    ASSERT_TRUE(Messages::postMessage(window, 0x101, 1, 2));
    for (std::int64_t i = 0; i < 5; ++i)
        ASSERT_TRUE(Messages::postMessage(window, 0x200, 0, i));
    EXPECT_FALSE(peer.log().contains(QStringLiteral("handled")));
    peer.go();
    ASSERT_TRUE(waitUntil([&] { return peer.log().contains(QStringLiteral("0x200 post 0 4")); }));
    EXPECT_EQ(peer.log(), QStringLiteral("ready\n"
                                         "handled 0x101 post 1 2\n"
                                         "handled 0x200 post 0 0\n"
                                         "handled 0x200 post 0 1\n"
                                         "handled 0x200 post 0 2\n"
                                         "handled 0x200 post 0 3\n"
                                         "handled 0x200 post 0 4\n"));
}

TEST(MessagesRemote, WindowOfAnEndedProcessIsNoLongerFound) {
    // Killed: the socket file stays behind, refuses connections, and is cleaned up.
    Peer killed(QStringLiteral("Killed"));
    ASSERT_TRUE(killed.ready());
    const WindowHandle window = Messages::findWindow(QStringLiteral("Killed"));
    ASSERT_NE(window, 0u);
    killed.killHard();
    ASSERT_TRUE(QFile::exists(socketFile(QStringLiteral("Killed"))));
    EXPECT_FALSE(Messages::isWindow(window));
    EXPECT_FALSE(Messages::postMessage(window, 0x200, 0, 0));
    EXPECT_EQ(Messages::sendMessage(window, 0x200, 0, 0), 0);
    EXPECT_EQ(Messages::findWindow(QStringLiteral("Killed")), 0u);
    EXPECT_FALSE(QFile::exists(socketFile(QStringLiteral("Killed"))));

    // Ended normally without closing its window: it takes its socket file with it.
    Peer ended(QStringLiteral("Ended"));
    ASSERT_TRUE(ended.ready());
    const WindowHandle other = Messages::findWindow(QStringLiteral("Ended"));
    ASSERT_TRUE(Messages::postMessage(other, 0x102, 0, 0));
    ASSERT_TRUE(ended.waitForCleanExit());
    EXPECT_FALSE(QFile::exists(socketFile(QStringLiteral("Ended"))));
    EXPECT_EQ(Messages::findWindow(QStringLiteral("Ended")), 0u);
}

TEST(MessagesRemote, NameOfALiveWindowCannotBeTakenButAStaleOneCan) {
    Recorder recorder;
    const WindowHandle window = Messages::registerWindow(&recorder);
    Peer peer(QStringLiteral("Taken"));
    ASSERT_TRUE(peer.ready());
    EXPECT_FALSE(
        Messages::publishWindow(window, {QStringLiteral("Free"), QStringLiteral("Taken")}));
    EXPECT_FALSE(QFile::exists(socketFile(QStringLiteral("Free"))));  // all or nothing

    peer.killHard();
    ASSERT_TRUE(Messages::publishWindow(window, {QStringLiteral("Taken")}));
    EXPECT_EQ(Messages::findWindow(QStringLiteral("Taken")), window);
    Messages::unregisterWindow(window);
}

TEST(MessagesRemote, PublishedNamesFollowTheWindow) {
    Recorder recorder;
    const WindowHandle window = Messages::registerWindow(&recorder, QStringLiteral("Before"));
    for (const QString& bad : {QString(), QStringLiteral("a/b"), QStringLiteral(".."),
                               QStringLiteral("x").repeated(200)})
        EXPECT_FALSE(Messages::publishWindow(window, {bad})) << bad.toStdString();

    const QString handleName = QStringLiteral("hwnd-%1").arg(window, 8, 16, QLatin1Char('0'));
    ASSERT_TRUE(Messages::publishWindow(window, {handleName}));
    EXPECT_EQ(Messages::findWindow(handleName), window);
    EXPECT_TRUE(QFile::exists(socketFile(QStringLiteral("Before"))));
    EXPECT_EQ(modeOf(Paths::runtimeDirectory()), 0700u);
    EXPECT_EQ(modeOf(socketFile(handleName)), 0600u);

    Messages::setWindowTitle(window, QStringLiteral("After"));
    EXPECT_FALSE(QFile::exists(socketFile(QStringLiteral("Before"))));
    EXPECT_TRUE(QFile::exists(socketFile(QStringLiteral("After"))));

    Messages::unregisterWindow(window);
    EXPECT_FALSE(QFile::exists(socketFile(QStringLiteral("After"))));
    EXPECT_FALSE(QFile::exists(socketFile(handleName)));
}

TEST(MessagesRemote, MalformedFramesAreDropped) {
    Recorder recorder;
    const WindowHandle window = Messages::registerWindow(&recorder);
    ASSERT_TRUE(Messages::publishWindow(window, {QStringLiteral("Raw")}));

    auto shortFrame = frameBytes(0x41, WindowFrame::Post);
    shortFrame.resize(10);
    writeRaw(QStringLiteral("Raw"), shortFrame);
    writeRaw(QStringLiteral("Raw"), frameBytes(0x42, 7));
    writeRaw(QStringLiteral("Raw"), frameBytes(0x43, WindowFrame::Post));
    ASSERT_TRUE(waitUntil([&] { return !recorder.received.empty(); }));
    waitUntil([] { return false; }, 100);
    EXPECT_EQ(recorder.received, std::vector<std::uint32_t>{0x43});
    Messages::unregisterWindow(window);
}

TEST(MessagesRemote, PeerOfAnotherUserIsRefused) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    Recorder recorder;
    const WindowHandle window = Messages::registerWindow(&recorder);
    ASSERT_TRUE(Messages::publishWindow(window, {QStringLiteral("Private")}));
    // Open the way through the file modes, so that only the peer check stands in between
    // (asking for the folder's path would close it again).
    const QByteArray path = QFile::encodeName(socketFile(QStringLiteral("Private")));
    for (const QString& folder : {TempWorld::current().root(), TempWorld::current().runtimeBase(),
                                  Paths::runtimeDirectory()})
        ::chmod(QFile::encodeName(folder).constData(), 0711);
    ::chmod(path.constData(), 0666);
    const auto frame = WindowFrame{0x44, WindowFrame::Send, 0, 0}.encode();

    const pid_t child = ::fork();
    if (child == 0) {
        // Only plain system calls after fork: exit 0 = refused, 1 = answered, 2 = no way in.
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(3);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            ::_exit(10 + errno % 100);
        if (::write(fd, frame.data(), frame.size()) != ssize_t(frame.size()))
            ::_exit(0);
        pollfd pfd{fd, POLLIN, 0};
        char reply[8];
        // Closed unanswered: end of file, or a reset because our frame was left unread.
        if (::poll(&pfd, 1, 1500) == 1 && ::read(fd, reply, sizeof reply) <= 0)
            ::_exit(0);
        ::_exit(1);
    }
    ASSERT_GT(child, 0);
    int status = -1;
    EXPECT_TRUE(waitUntil([&] { return ::waitpid(child, &status, WNOHANG) == child; }));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    QCoreApplication::processEvents();
    EXPECT_TRUE(recorder.received.empty());
    Messages::unregisterWindow(window);
}

TEST(MessagesRemote, SendToAWindowThatNeverAnswersGivesUp) {
    // Listens but never accepts: connections wait in its backlog for ever.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(socketFile(QStringLiteral("Mute")));
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(fd, 8), 0);

    const WindowHandle window = Messages::findWindow(QStringLiteral("Mute"));
    ASSERT_NE(window, 0u);
    Messages::setSendTimeout(std::chrono::milliseconds(200));
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(Messages::sendMessage(window, 0x45, 0, 0), 0);
    EXPECT_GE(timer.elapsed(), 150);
    EXPECT_LT(timer.elapsed(), 1500);
    ::close(fd);
}
