#pragma once

#include <QString>
#include <QTemporaryDir>

// A private world for one test process: its own config home, runtime folder and
// application folder, so no test touches a real user's settings and tests run in parallel.
class TempWorld {
public:
    TempWorld();
    ~TempWorld();

    QString root() const { return dir_.path(); }
    QString configHome() const { return dir_.path() + QStringLiteral("/config"); }
    QString runtimeBase() const { return dir_.path() + QStringLiteral("/runtime"); }
    // Ends with '/', like the executable directory it stands in for.
    QString appDir() const { return dir_.path() + QStringLiteral("/app/"); }

    // The world of the running test program.
    static TempWorld& current();

private:
    QTemporaryDir dir_;
};

// A fixture file from tests/data.
QString testDataPath(const QString& name);
