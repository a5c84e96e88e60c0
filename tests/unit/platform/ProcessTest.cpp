#include "platform/Process.h"

#include "platform/Paths.h"
#include "support/ScopedEnvironment.h"
#include "support/TempWorld.h"
#include "support/WaitUntil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <deque>

namespace {
// Errors the next flock calls of this process fail with, one per call, in order.
std::deque<int> flockFailures;
}  // namespace

// Stands in for the C library's flock in this test program, so the lock's answer to the
// errors a real file system gives only rarely (no lock support, a signal) can be seen.
extern "C" int flock(int fd, int operation) noexcept {
    if (!flockFailures.empty()) {
        errno = flockFailures.front();
        flockFailures.pop_front();
        return -1;
    }
    using Flock = int (*)(int, int);
    static const auto real = reinterpret_cast<Flock>(::dlsym(RTLD_NEXT, "flock"));
    return real(fd, operation);
}

TEST(SingleInstanceLock, OnlyOneHolderAtATimeAndReleaseFreesIt) {
    SingleInstanceLock first(QStringLiteral("Zelt_KEYBORAD_DRIVER"));
    SingleInstanceLock second(QStringLiteral("Zelt_KEYBORAD_DRIVER"));
    ASSERT_TRUE(first.acquire());
    EXPECT_FALSE(second.acquire());
    first.release();
    EXPECT_TRUE(second.acquire());
}

TEST(SingleInstanceLock, HolderThatDiesFreesTheLock) {
    SingleInstanceLock lock(QStringLiteral("held-elsewhere"));
    const QString path = Paths::runtimeDirectory() + "/held-elsewhere.lock";  // makes the folder
    // flock(1) holds the lock in another process as long as it lives (-o: only flock itself,
    // not the command it runs).
    QProcess holder;
    holder.start(QStringLiteral("flock"),
                 {QStringLiteral("-o"), path, QStringLiteral("sleep"), QStringLiteral("30")});
    ASSERT_TRUE(holder.waitForStarted());
    ASSERT_TRUE(waitUntil(
        [&] {  // until the holder has it
            if (!lock.acquire())
                return true;
            lock.release();
            return false;
        },
        60000));
    EXPECT_FALSE(lock.acquire());
    holder.kill();
    holder.waitForFinished();
    // The command flock(1) had just forked may still share the lock for a moment, until it
    // closes its copy before running.
    EXPECT_TRUE(waitUntil([&] { return lock.acquire() && lock.isHeld(); }, 60000));
}

TEST(Process, StartsAnExecutableDetached) {
    const QString marker = TempWorld::current().root() + "/started";
    const QString script = TempWorld::current().appDir() + "Zelt_Setting";
    {
        QFile file(script);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("#!/bin/sh\ntouch '%1'\n").arg(marker).toUtf8());
    }
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(Process::startDetached(script));
    EXPECT_TRUE(waitUntil([&] { return QFileInfo::exists(marker); }, 60000));
    EXPECT_FALSE(Process::startDetached(TempWorld::current().appDir() + "missing"));
}

TEST(SingleInstanceLock, UnusableRuntimeFolderDoesNotPretendAnotherInstanceRuns) {
    SingleInstanceLock lock(QStringLiteral("no/such/folder"));
    EXPECT_TRUE(lock.acquire());
    EXPECT_FALSE(lock.isHeld());
}

TEST(SingleInstanceLock, OnlyAnotherHolderMeansAlreadyRunning) {
    struct Case {
        std::deque<int> failures;
        bool acquired;
        bool held;
    };
    const Case cases[] = {
        {{EWOULDBLOCK}, false, false},  // the one answer that means another holder
        {{ENOLCK}, true, false},        // a file system without locks: nobody can hold it
        {{EINTR}, true, true},          // a signal: tried again
    };
    for (const Case& c : cases) {
        SingleInstanceLock lock(QStringLiteral("Zelt_KEYBORAD_DRIVER"));
        flockFailures = c.failures;
        EXPECT_EQ(lock.acquire(), c.acquired) << c.failures.front();
        EXPECT_EQ(lock.isHeld(), c.held) << c.failures.front();
        flockFailures.clear();
    }
}

// Without XDG_RUNTIME_DIR the lock lives under the temporary folder, where another user may
// have made the folder first and holds the lock in it; that must not keep the tool away.
TEST(SingleInstanceLock, LockInAFolderPlantedByAnotherIsNeverTaken) {
    const QString root = TempWorld::current().root();
    const QString temp = root + "/tmp";
    const QString tempBase = temp + "/halda-runtime-" + QString::number(::getuid());
    const QString planted = root + "/planted";
    QDir().mkpath(planted + "/halda");
    QDir().mkpath(temp);
    for (const QString& folder : {planted, planted + "/halda"})
        ::chmod(QFile::encodeName(folder).constData(), 0777);
    ScopedEnvironment environment;
    environment.set("XDG_RUNTIME_DIR", std::nullopt);
    environment.set("TMPDIR", QFile::encodeName(temp));
    environment.set("XDG_CACHE_HOME", QFile::encodeName(root + "/cache"));

    const QByteArray plantedLock = QFile::encodeName(planted + "/halda/Zelt_KEYBORAD_DRIVER.lock");
    const int held = ::open(plantedLock.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);

    for (const bool asLink : {true, false}) {
        QFile::remove(tempBase);
        QDir(tempBase).removeRecursively();
        if (asLink) {
            ASSERT_TRUE(QFile::link(planted, tempBase));
        } else {
            // The same folder made in place, open to everyone, holding a held lock file.
            QDir().mkpath(tempBase + "/halda");
            for (const QString& folder : {tempBase, tempBase + "/halda"})
                ::chmod(QFile::encodeName(folder).constData(), 0777);
            QFile::link(planted + "/halda/Zelt_KEYBORAD_DRIVER.lock",
                        tempBase + "/halda/Zelt_KEYBORAD_DRIVER.lock");
        }
        SingleInstanceLock lock(QStringLiteral("Zelt_KEYBORAD_DRIVER"));
        EXPECT_TRUE(lock.acquire()) << asLink;
        EXPECT_TRUE(lock.isHeld()) << asLink;
        EXPECT_EQ(Paths::runtimeDirectory(), root + "/cache/halda") << asLink;
    }
    ::close(held);
}
