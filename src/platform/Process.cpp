#include "platform/Process.h"

#include "platform/Paths.h"

#include <QFile>
#include <QProcess>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
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
