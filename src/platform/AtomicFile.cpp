#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {
bool writeAll(int fd, const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, std::size_t(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

void syncDirectory(const QByteArray& directory) {
    const int fd = ::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

QByteArray temporaryPrefix(const QFileInfo& target) {
    return QFile::encodeName(target.absolutePath() + QStringLiteral("/.") + target.fileName());
}

// Writes the content into the open temporary file and moves it over the target; the
// temporary file is gone afterwards whatever happens.
bool commit(int fd, const QByteArray& temporary, const QFileInfo& target,
            const QByteArray& content) {
    const bool written = writeAll(fd, content.constData(), content.size()) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed ||
        ::rename(temporary.constData(), QFile::encodeName(target.absoluteFilePath()).constData()) !=
            0) {
        ::unlink(temporary.constData());
        return false;
    }
    syncDirectory(QFile::encodeName(target.absolutePath()));
    return true;
}
}  // namespace

bool AtomicFile::replace(const QString& path, const QByteArray& content) {
    const QFileInfo target(path);
    QByteArray temporary = temporaryPrefix(target) + ".XXXXXX";
    // mkostemp makes the file 0600; settings files are the user's own and stay that way.
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    return commit(fd, temporary, target, content);
}

bool AtomicFile::replaceThroughLinks(const QString& path, const QByteArray& content) {
    const QString real = resolveLinks(path);
    if (real.isEmpty())
        return false;
    const QFileInfo target(real);

    struct stat existing {};
    const bool exists = ::stat(QFile::encodeName(real).constData(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode))
        return false;

    QByteArray temporary;
    int fd = -1;
    // Created like any new file, so the umask applies; an existing file's mode is copied
    // over below.
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = temporaryPrefix(target) + '.' +
                    QByteArray::number(QRandomGenerator::global()->generate(), 36);
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    if (exists) {
        // The group may differ from ours (a shared folder); keeping it is worth a try only.
        [[maybe_unused]] const int owned = ::fchown(fd, existing.st_uid, existing.st_gid);
        if (::fchmod(fd, existing.st_mode & 07777) != 0) {
            ::close(fd);
            ::unlink(temporary.constData());
            return false;
        }
    }
    return commit(fd, temporary, target, content);
}

QString AtomicFile::resolveLinks(const QString& path) {
    // Each hop is taken from the real folder that holds the link, as the kernel takes it, so
    // ".." in a link's target means what it means to the kernel.
    const auto inRealFolder = [](const QByteArray& file) -> QByteArray {
        const qsizetype slash = file.lastIndexOf('/');
        const QByteArray folder = slash <= 0 ? QByteArray("/") : file.left(slash);
        char* real = ::realpath(folder.constData(), nullptr);
        if (!real)
            return file;  // a folder that does not exist: nothing can be made there anyway
        QByteArray resolved(real);
        std::free(real);
        if (!resolved.endsWith('/'))
            resolved += '/';
        return resolved + file.mid(slash + 1);
    };

    QByteArray current = inRealFolder(QFile::encodeName(QFileInfo(path).absoluteFilePath()));
    // The kernel gives up after 40 links as well.
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info {};
        if (::lstat(current.constData(), &info) != 0 || !S_ISLNK(info.st_mode))
            return QFile::decodeName(current);
        QByteArray target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(current.constData(), target.data(), target.size());
        if (length <= 0 || length >= target.size())
            return {};
        target.truncate(length);
        if (!target.startsWith('/'))
            target = current.left(current.lastIndexOf('/') + 1) + target;
        current = inRealFolder(target);
    }
    return {};
}
