#include "platform/Process.h"

#include "support/TempWorld.h"
#include "support/WaitUntil.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

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
    const QString path = TempWorld::current().runtimeBase() + "/halda/held-elsewhere.lock";
    // flock(1) holds the lock in another process as long as it lives (-o: only flock itself,
    // not the command it runs).
    QProcess holder;
    holder.start(QStringLiteral("flock"),
                 {QStringLiteral("-o"), path, QStringLiteral("sleep"), QStringLiteral("30")});
    ASSERT_TRUE(holder.waitForStarted());
    waitUntil([&] {  // until the holder has it
        if (!lock.acquire())
            return true;
        lock.release();
        return false;
    });
    EXPECT_FALSE(lock.acquire());
    holder.kill();
    holder.waitForFinished();
    EXPECT_TRUE(lock.acquire());
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
    EXPECT_TRUE(waitUntil([&] { return QFileInfo::exists(marker); }, 5000));
    EXPECT_FALSE(Process::startDetached(TempWorld::current().appDir() + "missing"));
}

TEST(SingleInstanceLock, UnusableRuntimeFolderDoesNotPretendAnotherInstanceRuns) {
    SingleInstanceLock lock(QStringLiteral("no/such/folder"));
    EXPECT_TRUE(lock.acquire());
    EXPECT_FALSE(lock.isHeld());
}
