#pragma once

#include <QString>
#include <QStringList>

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

// Handing a web address to the desktop's programs. Nothing here waits for the program it
// starts: without a desktop session the opener runs a browser in the foreground and would
// hold the caller until the browser ends.
struct UrlOpenResult {
    enum class Status { Started, NoHandler, NotStarted };
    Status status = Status::NotStarted;
    // The system error number (errno) that kept the program from starting.
    int systemError = 0;
};

class UrlOpener {
public:
    // The desktop's URL handler (xdg-open), started detached. NoHandler when no program is
    // registered for the address's scheme (or it has none).
    static UrlOpenResult openWithDesktopHandler(const QString& url);
    // The program registered for web pages: the desktop file that xdg-mime names for
    // text/html, found in the XDG data folders, run as webBrowserCommand gives it. NoHandler
    // when none is registered or its desktop file holds no command.
    static UrlOpenResult openWithWebBrowser(const QString& url);

    // The argument vector of a desktop file's Exec line with the url: the line is cut at its
    // first placeholder (%u, %U, %f, %F, "%1" with its quotes, or %1), split into arguments as
    // the desktop entry format quotes them, and the url is appended as one more argument.
    // Empty when no program is left.
    static QStringList webBrowserCommand(const QString& execLine, const QString& url);

    // Starts command[0] (looked up on PATH unless it holds a '/') with the rest as its
    // arguments, detached, without a shell. Started once the program runs, NotStarted with
    // the reason when it could not be executed.
    static UrlOpenResult startDetached(const QStringList& command);
};
