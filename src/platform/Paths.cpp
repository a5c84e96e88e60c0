#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QtGlobal>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {
QString& executableDirectoryOverride() {
    static QString directory;
    return directory;
}

QString withTrailingSlash(QString directory) {
    if (!directory.endsWith(QLatin1Char('/')))
        directory += QLatin1Char('/');
    return directory;
}

bool isOwnFolderClosedToOthers(const struct stat& info) {
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 022) == 0;
}

// A folder given to us (XDG_RUNTIME_DIR, the cache home): whoever can write to it could swap
// what we make inside, so it must be ours and closed to everyone else. A link is fine here:
// where it points is what gets checked.
bool isSafeParent(const QString& path) {
    struct stat info {};
    return QDir::isAbsolutePath(path) && ::stat(QFile::encodeName(path).constData(), &info) == 0 &&
           isOwnFolderClosedToOthers(info);
}

// Makes the folder, or takes the one already there, when it is a real folder of ours with
// mode 0700. Checked through a descriptor opened without following links, so the folder
// checked is the folder mended. A folder of ours that nobody else could write to holds only
// what we put there; a wider mode on it (a umask, an older version) is mended. One that others
// could write to may hold anything, and is refused.
bool makePrivateFolder(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    const int fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;  // a link, or not a folder
    struct stat info {};
    bool usable = ::fstat(fd, &info) == 0 && isOwnFolderClosedToOthers(info);
    if (usable && (info.st_mode & 07777) != 0700)
        usable =
            ::fchmod(fd, 0700) == 0 && ::fstat(fd, &info) == 0 && (info.st_mode & 07777) == 0700;
    ::close(fd);
    return usable;
}

QString cacheHome() {
    const QString xdg = qEnvironmentVariable("XDG_CACHE_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg;
    return QDir::homePath() + QStringLiteral("/.cache");
}

// Once per process and text: the folder is looked up again at every use.
void reportOnce(const QString& text) {
    static QSet<QString> reported;
    if (reported.contains(text))
        return;
    reported.insert(text);
    QString program = QCoreApplication::applicationName();
    if (program.isEmpty())
        program = QStringLiteral("halda");
    std::fprintf(stderr, "%s: %s\n", qPrintable(program), qPrintable(text));
}
}  // namespace

QString Paths::executableDirectory() {
    if (!executableDirectoryOverride().isEmpty())
        return executableDirectoryOverride();
    const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return withTrailingSlash(QFileInfo(exe).absolutePath());
}

void Paths::setExecutableDirectoryForTesting(const QString& directory) {
    executableDirectoryOverride() = directory.isEmpty() ? QString() : withTrailingSlash(directory);
}

Paths::Split Paths::splitPath(const QString& path) {
    Split split;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    split.directory = path.left(slash + 1);
    const QString name = path.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    // A leading dot names a hidden file, not an extension.
    if (dot <= 0) {
        split.baseName = name;
    } else {
        split.baseName = name.left(dot);
        split.extension = name.mid(dot + 1);
    }
    return split;
}

QString Paths::joinPath(const QString& directory, const QString& baseName,
                        const QString& extension) {
    QString path = directory;
    if (!path.isEmpty() && !path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    path += baseName;
    if (!extension.isEmpty())
        path += QLatin1Char('.') + extension;
    return path;
}

QString Paths::configHome() {
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg;
    return QDir::homePath() + QStringLiteral("/.config");
}

QString Paths::runtimeDirectory() {
    const QString folder = QStringLiteral("/halda");
    QStringList refused;
    const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!xdg.isEmpty()) {
        if (isSafeParent(xdg) && makePrivateFolder(xdg + folder))
            return xdg + folder;
        refused << xdg + folder;
    }
    // Another user may have made this one first, or planted a link under its name.
    QString tempRoot = QDir::tempPath();  // empty when TMPDIR names no folder
    if (tempRoot.isEmpty())
        tempRoot = QStringLiteral("/tmp");
    const QString temp = tempRoot + QStringLiteral("/halda-runtime-") + QString::number(::getuid());
    if (makePrivateFolder(temp) && makePrivateFolder(temp + folder)) {
        if (!refused.isEmpty())
            reportOnce(QStringLiteral("not private to this user: %1; using %2 instead")
                           .arg(refused.join(QStringLiteral(", ")), temp + folder));
        return temp + folder;
    }
    refused << temp + folder;
    const QString cache = cacheHome();
    makeDirectories(cache);
    if (isSafeParent(cache) && makePrivateFolder(cache + folder)) {
        reportOnce(QStringLiteral("not private to this user: %1; using %2 instead")
                       .arg(refused.join(QStringLiteral(", ")), cache + folder));
        return cache + folder;
    }
    refused << cache + folder;
    reportOnce(QStringLiteral("no runtime folder private to this user (refused: %1); other "
                              "programs cannot reach this one's windows, and nothing keeps a "
                              "second copy from starting")
                   .arg(refused.join(QStringLiteral(", "))));
    return {};
}

bool Paths::makeDirectories(const QString& path) {
    return QDir().mkpath(path);
}
