#include "platform/Paths.h"

#include "support/TempWorld.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(Paths, SplitsAndJoinsPaths) {
    struct Case {
        const char* path;
        const char* directory;
        const char* baseName;
        const char* extension;
    };
    const Case cases[] = {
        {"/opt/halda/language.xml", "/opt/halda/", "language", "xml"},
        {"/opt/halda/Zelt_Setting", "/opt/halda/", "Zelt_Setting", ""},
        {"/opt/a.b/archive.tar.gz", "/opt/a.b/", "archive.tar", "gz"},
        {"/home/u/.hidden", "/home/u/", ".hidden", ""},
        {"plain", "", "plain", ""},
    };
    for (const Case& c : cases) {
        const Paths::Split split = Paths::splitPath(QString::fromUtf8(c.path));
        EXPECT_EQ(split.directory, c.directory) << c.path;
        EXPECT_EQ(split.baseName, c.baseName) << c.path;
        EXPECT_EQ(split.extension, c.extension) << c.path;
        EXPECT_EQ(Paths::joinPath(split.directory, split.baseName, split.extension), c.path);
    }
}

TEST(Paths, ExecutableDirectoryEndsWithSeparator) {
    Paths::setExecutableDirectoryForTesting({});
    const QString directory = Paths::executableDirectory();
    EXPECT_TRUE(directory.endsWith('/'));
    EXPECT_TRUE(
        QFileInfo(directory + QFileInfo("/proc/self/exe").canonicalFilePath().section('/', -1))
            .isExecutable());
    Paths::setExecutableDirectoryForTesting(TempWorld::current().appDir());
}

TEST(Paths, RuntimeDirectoryIsPrivate) {
    const QString directory = Paths::runtimeDirectory();
    EXPECT_EQ(directory, TempWorld::current().runtimeBase() + "/halda");
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(directory).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}
