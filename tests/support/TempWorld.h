#pragma once

#include <QString>
#include <QTemporaryDir>

// A private world for one test case: its own config home, runtime folder and application
// folder, so no test touches a real user's settings, tests run in parallel, and no case sees
// what another left behind.
class TempWorld {
public:
    TempWorld();
    ~TempWorld();

    QString root() const { return dir_.path(); }
    QString configHome() const { return dir_.path() + QStringLiteral("/config"); }
    QString runtimeBase() const { return dir_.path() + QStringLiteral("/runtime"); }
    // Ends with '/', like the executable directory it stands in for.
    QString appDir() const { return dir_.path() + QStringLiteral("/app/"); }

    // The world of the running test case.
    static TempWorld& current();

    // Gives every test case of the program a fresh world, made before its fixture and
    // removed after it. Called once by the test mains, after InitGoogleTest.
    static void givePerTestWorlds();

private:
    QTemporaryDir dir_;
};

// A fixture file from tests/data.
QString testDataPath(const QString& name);
