#pragma once

#include <QString>

// Starting other programs, pausing, and the tool's single-instance rule.
class Process {
public:
    // Starts an executable detached from this process, without arguments. The result is
    // whether it could be started; callers that must not care simply ignore it.
    static bool startDetached(const QString& executablePath);
    static void sleepMs(unsigned milliseconds);
};

// A named lock held for the life of the process: a lock file in the runtime folder held with
// flock, which the kernel releases when the holder ends, even on a crash.
class SingleInstanceLock {
public:
    explicit SingleInstanceLock(const QString& name);
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // False only when another holder has the lock. Any other failure (no private runtime
    // folder, a lock file that cannot be made, a file system without locks) means nobody can
    // hold it: acquire() answers true without holding anything (isHeld() tells), so a broken
    // runtime folder never keeps the tool from starting.
    bool acquire();
    void release();
    bool isHeld() const { return fd_ >= 0; }

private:
    QString name_;
    int fd_ = -1;
};
