#include "platform/Process.h"

#include "platform/Paths.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>

#include <cerrno>
#include <csignal>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

bool Process::startDetached(const QString& executablePath) {
    return QProcess::startDetached(executablePath, {});
}

void Process::sleepMs(unsigned milliseconds) {
    QThread::msleep(milliseconds);
}

SingleInstanceLock::SingleInstanceLock(const QString& name) : name_(name) {}

SingleInstanceLock::~SingleInstanceLock() {
    release();
}

bool SingleInstanceLock::acquire() {
    if (fd_ >= 0)
        return true;
    // Looked up when locking, so the folder is checked as it is when used.
    const QString folder = Paths::runtimeDirectory();
    if (folder.isEmpty())
        return true;
    const QString path = folder + QLatin1Char('/') + name_ + QStringLiteral(".lock");
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return true;
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const bool heldElsewhere = errno == EWOULDBLOCK;
        ::close(fd);
        return !heldElsewhere;
    }
    fd_ = fd;
    return true;
}

void SingleInstanceLock::release() {
    if (fd_ < 0)
        return;
    // The file stays: unlinking it would let a third process lock a fresh file while a
    // second one still waits on the old inode.
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

namespace {
// The program xdg-mime names as the default for a MIME type (a desktop file name), empty when
// it names none; nullopt when xdg-mime could not be run at all.
std::optional<QString> defaultApplication(const QString& mimeType) {
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!query.waitForStarted())
        return std::nullopt;
    // A query reads a few small files; one that hangs is treated as naming nothing.
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished();
        return QString();
    }
    return QString::fromLocal8Bit(query.readAllStandardOutput())
        .section(QLatin1Char('\n'), 0, 0)
        .trimmed();
}

// The desktop file with this name in the applications folders of the XDG data folders, the
// user's first. As xdg-open does, "vendor-app.desktop" may also be "vendor/app.desktop".
QString findDesktopFile(const QString& name) {
    if (name.isEmpty() || name.contains(QLatin1Char('/')))
        return {};
    QStringList candidates{name};
    if (const qsizetype dash = name.indexOf(QLatin1Char('-')); dash > 0)
        candidates << QString(name).replace(dash, 1, QLatin1Char('/'));
    for (const QString& folder :
         QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation))
        for (const QString& candidate : candidates)
            if (const QString path = folder + QLatin1Char('/') + candidate;
                QFileInfo(path).isFile())
                return path;
    return {};
}

// A desktop file value with the format's escapes (\s \n \t \r \\) resolved.
QString unescapeDesktopValue(const QString& value) {
    static const QString escaped = QStringLiteral("sntr\\");
    static const QString meant = QStringLiteral(" \n\t\r\\");
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const qsizetype k = i + 1 < value.size() ? escaped.indexOf(value[i + 1]) : -1;
        if (value[i] == QLatin1Char('\\') && k >= 0) {
            text += meant[k];
            ++i;
        } else {
            text += value[i];
        }
    }
    return text;
}

// The Exec value of the file's [Desktop Entry] group; empty when it has none.
QString desktopExecLine(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    bool inEntry = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (inEntry && equals > 0 && line.left(equals).trimmed() == QLatin1String("Exec"))
            return unescapeDesktopValue(line.mid(equals + 1).trimmed());
    }
    return {};
}
}  // namespace

UrlOpenResult UrlOpener::openWithDesktopHandler(const QString& url) {
    const QString scheme = QUrl(url).scheme();
    if (scheme.isEmpty())
        return {UrlOpenResult::Status::NoHandler};
    const std::optional<QString> handler =
        defaultApplication(QStringLiteral("x-scheme-handler/") + scheme);
    if (!handler)
        return {UrlOpenResult::Status::NotStarted, ENOENT};
    if (handler->isEmpty())
        return {UrlOpenResult::Status::NoHandler};
    return startDetached({QStringLiteral("xdg-open"), url});
}

UrlOpenResult UrlOpener::openWithWebBrowser(const QString& url) {
    const std::optional<QString> name = defaultApplication(QStringLiteral("text/html"));
    const QString desktopFile = name ? findDesktopFile(*name) : QString();
    const QStringList command = desktopFile.isEmpty()
                                    ? QStringList()
                                    : webBrowserCommand(desktopExecLine(desktopFile), url);
    if (command.isEmpty())
        return {UrlOpenResult::Status::NoHandler};
    return startDetached(command);
}

QStringList UrlOpener::webBrowserCommand(const QString& execLine, const QString& url) {
    QStringList arguments;
    QString argument;
    bool inArgument = false;
    bool quoted = false;
    for (qsizetype i = 0; i < execLine.size(); ++i) {
        const QChar c = execLine[i];
        const QChar next = i + 1 < execLine.size() ? execLine[i + 1] : QChar();
        if (c == QLatin1Char('%') && next == QLatin1Char('%')) {
            argument += c;
            inArgument = true;
            ++i;
        } else if (c == QLatin1Char('%') && QStringLiteral("uUfF1").contains(next)) {
            // The placeholder ends the command; what came before it in the same argument
            // ("--url=%u") stays, the opening quote of "%1" alone does not.
            if (!argument.isEmpty())
                arguments << argument;
            inArgument = false;
            break;
        } else if (quoted && c == QLatin1Char('\\') && !next.isNull()) {
            argument += next;
            ++i;
        } else if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inArgument = true;
        } else if (!quoted && (c == QLatin1Char(' ') || c == QLatin1Char('\t'))) {
            if (inArgument)
                arguments << argument;
            argument.clear();
            inArgument = false;
        } else {
            argument += c;
            inArgument = true;
        }
    }
    if (inArgument)
        arguments << argument;
    if (arguments.isEmpty())
        return {};
    return arguments << url;
}

UrlOpenResult UrlOpener::startDetached(const QStringList& command) {
    if (command.isEmpty() || command.first().isEmpty())
        return {UrlOpenResult::Status::NotStarted, ENOENT};
    const QString program = command.first().contains(QLatin1Char('/'))
                                ? command.first()
                                : QStandardPaths::findExecutable(command.first());
    if (program.isEmpty())
        return {UrlOpenResult::Status::NotStarted, ENOENT};

    // Everything the child needs is made before the fork: between fork and exec only
    // async-signal-safe calls are allowed.
    const QByteArray path = QFile::encodeName(program);
    std::vector<QByteArray> encoded;
    for (const QString& part : command)
        encoded.push_back(QFile::encodeName(part));
    std::vector<char*> argv;
    for (QByteArray& part : encoded)
        argv.push_back(part.data());
    argv.push_back(nullptr);

    // The started program reports a failed exec through this pipe; a successful exec closes
    // it without a word.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return {UrlOpenResult::Status::NotStarted, errno};
    const pid_t child = ::fork();
    if (child < 0) {
        const int error = errno;
        ::close(report[0]);
        ::close(report[1]);
        return {UrlOpenResult::Status::NotStarted, error};
    }
    if (child == 0) {
        // A go-between that ends at once: the program becomes nobody's child here, so this
        // process never waits for it nor leaves it unreaped.
        const pid_t started = ::fork();
        if (started == 0) {
            struct sigaction plain = {};
            plain.sa_handler = SIG_DFL;
            ::sigaction(SIGPIPE, &plain, nullptr);
            ::execv(path.constData(), argv.data());
        }
        if (started <= 0) {
            const int error = errno;
            if (::write(report[1], &error, sizeof error) < 0) {
                // Nothing left to tell it with; the caller sees a start.
            }
        }
        ::_exit(started == 0 ? 127 : 0);
    }
    ::close(report[1]);
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got = 0;
    do {
        got = ::read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    if (got == static_cast<ssize_t>(sizeof error))
        return {UrlOpenResult::Status::NotStarted, error};
    return {UrlOpenResult::Status::Started};
}
