#include "shell/Halda_ConfigApp.h"

#include "support/TempWorld.h"
#include "support/WaitUntil.h"

#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

namespace {
// A companion that only notes that it was started.
QString installCompanion() {
    const QString log = TempWorld::current().root() + "/companion-starts";
    const QString path = TempWorld::current().appDir() + "Zelt_Setting";
    QFile script(path);
    script.open(QIODevice::WriteOnly);
    script.write(QStringLiteral("#!/bin/sh\necho start >> '%1'\n").arg(log).toUtf8());
    script.close();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return log;
}

int startsIn(const QString& log) {
    QFile file(log);
    return file.open(QIODevice::ReadOnly) ? int(file.readAll().count("start")) : 0;
}
}  // namespace

TEST(Halda_ConfigApp, StartsTheCompanionPausesThenRunsTheMainWindowAndReleasesTheLock) {
    const QString log = installCompanion();
    CHalda_ConfigApp app;
    QElapsedTimer sinceStart;
    sinceStart.start();
    qint64 mainWindowAt = -1;
    int startsWhenShown = -1;
    bool heldWhileShown = false;
    const int exitCode = app.run([&] {
        mainWindowAt = sinceStart.elapsed();
        // Started before the main window; a loaded machine may take its time to run it.
        waitUntil([&] { return startsIn(log) >= 1; }, 60000);
        startsWhenShown = startsIn(log);
        heldWhileShown = !SingleInstanceLock(CHalda_ConfigApp::InstanceLockName).acquire();
    });
    EXPECT_EQ(exitCode, 0);
    EXPECT_GE(mainWindowAt, 1000);  // the companion had its time to open a window
    EXPECT_EQ(startsWhenShown, 1);
    EXPECT_TRUE(heldWhileShown);
    EXPECT_TRUE(SingleInstanceLock(CHalda_ConfigApp::InstanceLockName).acquire());
}

TEST(Halda_ConfigApp, SecondInstanceStartsTheCompanionAgainAndEndsSilently) {
    const QString log = installCompanion();
    SingleInstanceLock firstInstance(CHalda_ConfigApp::InstanceLockName);
    ASSERT_TRUE(firstInstance.acquire());
    CHalda_ConfigApp second;
    bool shown = false;
    EXPECT_EQ(second.run([&] { shown = true; }), 0);
    EXPECT_FALSE(shown);
    EXPECT_TRUE(waitUntil([&] { return startsIn(log) >= 1; }, 60000));
    EXPECT_EQ(startsIn(log), 1);
}

TEST(Halda_ConfigApp, RunsWithoutACompanion) {
    CHalda_ConfigApp app;
    bool shown = false;
    EXPECT_EQ(app.run([&] { shown = true; }), 0);
    EXPECT_TRUE(shown);
}
