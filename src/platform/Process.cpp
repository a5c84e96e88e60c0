#include "platform/Process.h"

#include "platform/Paths.h"

#include <QFile>
#include <QProcess>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

bool Process::startDetached(const QString& executablePath) {
    return QProcess::startDetached(executablePath, {});
}

void Process::sleepMs(unsigned milliseconds) {
    QThread::msleep(milliseconds);
}

SingleInstanceLock::SingleInstanceLock(const QString& name)
    : path_(Paths::runtimeDirectory() + QLatin1Char('/') + name + QStringLiteral(".lock")) {}

SingleInstanceLock::~SingleInstanceLock() {
    release();
}

bool SingleInstanceLock::acquire() {
    if (fd_ >= 0)
        return true;
    const int fd = ::open(QFile::encodeName(path_).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
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
