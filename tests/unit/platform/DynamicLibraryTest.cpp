#include "platform/DynamicLibrary.h"

#include "support/TempWorld.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

using Answer = int();

// Copies a built library into the test's application folder under the given name.
QString installInAppDir(const char* builtPath, const QString& relativeName) {
    const QString target = TempWorld::current().appDir() + relativeName;
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::remove(target);
    EXPECT_TRUE(QFile::copy(QString::fromUtf8(builtPath), target)) << target.toStdString();
    return target;
}

TEST(DynamicLibrary, LoadsFromTheExecutableDirectoryAndFindsItsExports) {
    const QString path = installInAppDir(HALDA_LIBRARY_FIXTURE, QStringLiteral("Fixture.so"));
    DynamicLibrary library(path);
    ASSERT_TRUE(library.isLoaded());
    Answer* answer = library.function<Answer>("fixtureAnswer");
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(library.function<Answer>("noSuchExport"), nullptr);

    library.unload();
    EXPECT_FALSE(library.isLoaded());
    EXPECT_EQ(library.function<Answer>("fixtureAnswer"), nullptr);
}

TEST(DynamicLibrary, RefusesEveryPathThatIsNotDirectlyInTheExecutableDirectory) {
    const QString appDir = TempWorld::current().appDir();
    installInAppDir(HALDA_LIBRARY_FIXTURE, QStringLiteral("Fixture.so"));
    installInAppDir(HALDA_LIBRARY_FIXTURE, QStringLiteral("plugins/Fixture.so"));
    const QString outside = installInAppDir(HALDA_LIBRARY_FIXTURE, QStringLiteral("../Fixture.so"));
    const QString paths[] = {
        QStringLiteral("Fixture.so"),  // would be searched for along the library path
        QStringLiteral("./Fixture.so"),
        QString::fromUtf8(HALDA_LIBRARY_FIXTURE),  // where it was built
        QDir::cleanPath(outside),
        appDir + QStringLiteral("plugins/Fixture.so"),
        appDir + QStringLiteral("plugins/../../Fixture.so"),
        appDir,
        appDir + QStringLiteral("Missing.so"),
        QString(),
    };
    for (const QString& path : paths) {
        DynamicLibrary library(path);
        EXPECT_FALSE(library.isLoaded()) << path.toStdString();
        EXPECT_EQ(library.function<Answer>("fixtureAnswer"), nullptr) << path.toStdString();
    }
    // Untidy spellings of a path in the folder are still that path.
    EXPECT_TRUE(DynamicLibrary(appDir + QStringLiteral("plugins/../Fixture.so")).isLoaded());
    EXPECT_TRUE(DynamicLibrary(appDir + QStringLiteral("/./Fixture.so")).isLoaded());
}

TEST(DynamicLibrary, ALibraryWhoseDependenciesAreMissingIsNotLoaded) {
    const QString path =
        installInAppDir(HALDA_LIBRARY_FIXTURE_UNRESOLVED, QStringLiteral("Unresolved.so"));
    DynamicLibrary library(path);
    EXPECT_FALSE(library.isLoaded());
    EXPECT_EQ(library.function<Answer>("fixtureAnswer"), nullptr);
}

TEST(DynamicLibrary, AFailedLoadUnloadsTheLibraryBeforeAndAMoveHandsItOver) {
    const QString appDir = TempWorld::current().appDir();
    DynamicLibrary library(installInAppDir(HALDA_LIBRARY_FIXTURE, QStringLiteral("Fixture.so")));
    ASSERT_TRUE(library.isLoaded());
    EXPECT_FALSE(library.load(appDir + QStringLiteral("Missing.so")));
    EXPECT_EQ(library.function<Answer>("fixtureAnswer"), nullptr);

    DynamicLibrary moved(installInAppDir(HALDA_LIBRARY_FIXTURE, QStringLiteral("Fixture.so")));
    library = std::move(moved);
    EXPECT_FALSE(moved.isLoaded());
    ASSERT_NE(library.function<Answer>("fixtureAnswer"), nullptr);
}

}  // namespace
