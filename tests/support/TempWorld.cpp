#include "support/TempWorld.h"

#include "platform/Paths.h"

#include <QDir>

#include <sys/stat.h>
#include <cassert>

namespace {
TempWorld* currentWorld = nullptr;
}

TempWorld::TempWorld() : dir_(QDir::tempPath() + QStringLiteral("/halda-test-XXXXXX")) {
    QDir().mkpath(configHome());
    QDir().mkpath(runtimeBase());
    ::chmod(QFile::encodeName(runtimeBase()).constData(), 0700);
    QDir().mkpath(appDir());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeBase()));
    Paths::setExecutableDirectoryForTesting(appDir());
    currentWorld = this;
}

TempWorld::~TempWorld() {
    if (currentWorld == this)
        currentWorld = nullptr;
    Paths::setExecutableDirectoryForTesting({});
}

TempWorld& TempWorld::current() {
    assert(currentWorld);
    return *currentWorld;
}

QString testDataPath(const QString& name) {
    return QStringLiteral(HALDA_TEST_DATA_DIR "/") + name;
}
