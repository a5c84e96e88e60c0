#include "support/TempWorld.h"

#include "platform/Paths.h"

#include <QDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <memory>

namespace {
TempWorld* currentWorld = nullptr;

// OnTestStart comes before the fixture is built and OnTestEnd after it is gone, so a
// fixture may use the world in its constructor and destructor.
class PerTestWorlds : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        world_ = std::make_unique<TempWorld>();
    }
    void OnTestEnd(const ::testing::TestInfo&) override { world_.reset(); }

    std::unique_ptr<TempWorld> world_;
};
}  // namespace

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
    // The child process of a death test gets no test events, so no per-test world: it lives
    // in one of its own for its short life.
    if (!currentWorld) {
        static TempWorld fallback;
        currentWorld = &fallback;
    }
    return *currentWorld;
}

void TempWorld::givePerTestWorlds() {
    // The listener list owns what it is given.
    ::testing::UnitTest::GetInstance()->listeners().Append(new PerTestWorlds);
}

QString testDataPath(const QString& name) {
    return QStringLiteral(HALDA_TEST_DATA_DIR "/") + name;
}
