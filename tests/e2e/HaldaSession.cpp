#include "e2e/HaldaSession.h"

#include "platform/Messages.h"
#include "support/TempWorld.h"
#include "support/WaitUntil.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstring>

namespace {
constexpr int WaitMs = 60000;

void copyFolder(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + QDir(from).relativeFilePath(source);
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(source, target);
    }
}
}  // namespace

HaldaSession::HaldaSession() {
    Messages::setSendTimeout(std::chrono::milliseconds(WaitMs));
    copyFolder(QStringLiteral(HALDA_APP_BUILD_DIR), appDir());
    QFile::copy(QStringLiteral(HALDA_FAKE_COMPANION), appDir() + "Zelt_Setting");
}

HaldaSession::~HaldaSession() {
    if (halda_.state() != QProcess::NotRunning) {
        if (const qint64 pid = haldaPid())
            ::kill(pid_t(pid), SIGKILL);
        halda_.kill();
        halda_.waitForFinished(WaitMs);
    }
    companionControl({QStringLiteral("--quit")});
    if (xvfbPid_ > 0) {
        ::kill(xvfbPid_, SIGTERM);
        ::waitpid(xvfbPid_, nullptr, 0);
    }
}

QString HaldaSession::appDir() const {
    return TempWorld::current().appDir();
}

bool HaldaSession::startXServer() {
    // Xvfb picks a free display itself and tells us its number on a pipe, so tests running
    // side by side never race for one. Without -noreset it would reset when the last client
    // (each xdotool call) leaves, and write to the pipe again.
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return false;
    xvfbPid_ = ::fork();
    if (xvfbPid_ == 0) {
        // Close the read end first: it may itself be fd 3.
        ::close(pipeFds[0]);
        ::dup2(pipeFds[1], 3);
        ::execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten",
                 "tcp", "-noreset", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    // The number and its newline come in two writes; closing the pipe before the newline
    // has arrived would kill the server.
    char buffer[16] = {};
    ssize_t got = 0;
    while (got < ssize_t(sizeof buffer - 1) && !std::memchr(buffer, '\n', std::size_t(got))) {
        const ssize_t more = ::read(pipeFds[0], buffer + got, sizeof buffer - 1 - std::size_t(got));
        if (more <= 0)
            break;
        got += more;
    }
    ::close(pipeFds[0]);
    bool isNumber = false;
    const int number = QString::fromLatin1(buffer).trimmed().toInt(&isNumber);
    if (xvfbPid_ < 0 || got <= 0 || !isNumber)
        return false;
    display_ = QStringLiteral(":") + QString::number(number);
    qputenv("DISPLAY", display_.toLatin1());
    qunsetenv("QT_QPA_PLATFORM");  // the tool runs on the X server, not offscreen
    return true;
}

bool HaldaSession::startCompanion() {
    if (!QProcess::startDetached(appDir() + "Zelt_Setting", {}))
        return false;
    // The control window is published after the one the tool looks for.
    return waitUntil(
        [] { return Messages::findWindow(QStringLiteral("QuorvZelt_Setting_Control")) != 0; },
        WaitMs);
}

bool HaldaSession::startHalda() {
    halda_.setProgram(QStringLiteral("umockdev-run"));
    halda_.setArguments({"--device", testDataPath(devices_), "--", appDir() + "halda"});
    halda_.setProcessChannelMode(forwardErrors_ ? QProcess::ForwardedChannels
                                                : QProcess::ForwardedOutputChannel);
    halda_.start();
    if (!halda_.waitForStarted())
        return false;
    QString found;
    const bool shown = waitUntil(
        [&] {
            const qint64 pid = haldaPid();
            return pid &&
                   xdotool({"search", "--onlyvisible", "--pid", QString::number(pid)}, &found) &&
                   !found.isEmpty();
        },
        WaitMs);
    window_ = found.section('\n', 0, 0).trimmed();
    return shown;
}

qint64 HaldaSession::haldaPid() const {
    const qint64 wrapper = halda_.processId();
    QFile children(QStringLiteral("/proc/%1/task/%1/children").arg(wrapper));
    if (!wrapper || !children.open(QIODevice::ReadOnly))
        return 0;
    return children.readAll().trimmed().split(' ').value(0).toLongLong();
}

int HaldaSession::runSecondHalda() {
    QProcess second;
    second.setProcessChannelMode(QProcess::ForwardedChannels);
    second.start(appDir() + "halda", {});
    if (!second.waitForFinished(WaitMs)) {
        second.kill();
        return -1;
    }
    return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
}

bool HaldaSession::click(int x, int y) {
    return xdotool({"mousemove", "--window", window_, QString::number(x), QString::number(y)}) &&
           xdotool({"click", "1"});
}

bool HaldaSession::waitForHaldaExit(int& exitCode) {
    if (!halda_.waitForFinished(WaitMs))
        return false;
    exitCode = halda_.exitStatus() == QProcess::NormalExit ? halda_.exitCode() : -1;
    return true;
}

QStringList HaldaSession::companionLog() const {
    QFile file(appDir() + "companion.log");
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

bool HaldaSession::waitForLogLine(const std::function<bool(const QString&)>& matches,
                                  std::chrono::milliseconds timeout) {
    return waitUntil(
        [&] {
            const QStringList lines = companionLog();
            return std::any_of(lines.begin(), lines.end(), matches);
        },
        int(timeout.count()));
}

int HaldaSession::companionControl(const QStringList& arguments) {
    QProcess control;
    control.start(appDir() + "Zelt_Setting", arguments);
    if (!control.waitForFinished(WaitMs))
        return -1;
    return control.exitCode();
}

bool HaldaSession::waitForToolToCatchUp() {
    // The companion learnt the main window's handle from 0x602; so do we.
    WindowHandle handle = 0;
    for (const QString& line : companionLog())
        if (line.startsWith("recv 0x602 "))
            handle = line.section("w=", 1).section(' ', 0, 0).toUInt();
    const WindowHandle tool =
        Messages::findWindow(QStringLiteral("hwnd-%1").arg(handle, 8, 16, QLatin1Char('0')));
    if (!handle || !tool)
        return false;
    // The tool reads its connections in the order they came and queues posts behind what it
    // has queued already; a send is answered as soon as it is read. When the first no-op send
    // (message 0) is answered, every earlier post has been read and queued; the second send
    // is read behind those posts, so its answer comes once they have been handled.
    for (int i = 0; i < 2; ++i)
        Messages::sendMessage(tool, 0, 0, 0);
    return Messages::isWindow(tool);
}

QByteArray HaldaSession::storedValue(const QString& name) const {
    QFile file(TempWorld::current().configHome() + "/Quorv/Zelt/" + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().mid(4);
}

QString HaldaSession::digest(const QByteArray& data) {
    return QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex());
}

bool HaldaSession::xdotool(const QStringList& arguments, QString* output) {
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    if (!process.waitForFinished(WaitMs))
        return false;
    if (output)
        *output = QString::fromLatin1(process.readAllStandardOutput());
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}
