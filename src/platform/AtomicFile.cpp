#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
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
}  // namespace

bool AtomicFile::replace(const QString& path, const QByteArray& content) {
    const QFileInfo info(path);
    const QByteArray directory = QFile::encodeName(info.absolutePath());
    QByteArray temporary =
        QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName()) + ".XXXXXX";

    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    // mkostemp makes the file 0600; settings files are the user's own and stay that way.
    const bool written = writeAll(fd, content.constData(), content.size()) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed ||
        ::rename(temporary.constData(), QFile::encodeName(info.absoluteFilePath()).constData()) !=
            0) {
        ::unlink(temporary.constData());
        return false;
    }
    syncDirectory(directory);
    return true;
}
