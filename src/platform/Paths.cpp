#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtGlobal>

#include <sys/stat.h>
#include <unistd.h>

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
    QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::tempPath() + QStringLiteral("/halda-runtime-") + QString::number(getuid());
    const QString directory = base + QStringLiteral("/halda");
    const QByteArray native = QFile::encodeName(directory);
    makeDirectories(base);
    ::mkdir(native.constData(), 0700);
    // An existing folder may have been made with a wider mode; peers of other users must
    // never reach our windows.
    ::chmod(native.constData(), 0700);
    return directory;
}

bool Paths::makeDirectories(const QString& path) {
    return QDir().mkpath(path);
}
