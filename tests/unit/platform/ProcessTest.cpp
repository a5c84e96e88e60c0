#include "platform/Process.h"

#include "support/TempWorld.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

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
    QElapsedTimer waited;
    waited.start();
    while (lock.acquire() && waited.elapsed() < 2000) {  // until the holder has it
        lock.release();
        QThread::msleep(10);
    }
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
    QElapsedTimer waited;
    waited.start();
    while (!QFileInfo::exists(marker) && waited.elapsed() < 5000)
        Process::sleepMs(10);
    EXPECT_TRUE(QFileInfo::exists(marker));
    EXPECT_FALSE(Process::startDetached(TempWorld::current().appDir() + "missing"));
}
