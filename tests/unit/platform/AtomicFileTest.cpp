#include "platform/AtomicFile.h"

#include "support/FileBytes.h"
#include "support/TempWorld.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {
mode_t modeOf(const QString& path) {
    struct stat info {};
    ::lstat(QFile::encodeName(path).constData(), &info);
    return info.st_mode;
}

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        QDir(dir).removeRecursively();
        QDir().mkpath(dir + "/real");
        QDir().mkpath(dir + "/links");
    }
    const QString dir = TempWorld::current().root() + "/atomic";
};
}  // namespace

TEST_F(AtomicFileTest, ReplacesTheRealFileBehindLinksAndKeepsItsMode) {
    const QString real = dir + "/real/Profile 1.pro";
    writeRaw(real, "old");
    ::chmod(QFile::encodeName(real).constData(), 0640);
    // links/a -> b (relative) -> ../real/Profile 1.pro, through a linked folder as well.
    ASSERT_EQ(::symlink("../real", QFile::encodeName(dir + "/links/folder").constData()), 0);
    ASSERT_EQ(
        ::symlink("folder/../real/Profile 1.pro", QFile::encodeName(dir + "/links/b").constData()),
        0);
    ASSERT_EQ(::symlink("b", QFile::encodeName(dir + "/links/a").constData()), 0);

    ASSERT_TRUE(AtomicFile::replaceThroughLinks(dir + "/links/a", "new"));
    EXPECT_EQ(fileBytes(real), "new");
    EXPECT_EQ(modeOf(real) & 07777, 0640u);
    EXPECT_TRUE(S_ISLNK(modeOf(dir + "/links/a")));
    EXPECT_TRUE(S_ISLNK(modeOf(dir + "/links/b")));
    EXPECT_EQ(QDir(dir + "/real").entryList(QDir::Files | QDir::Hidden),
              QStringList{"Profile 1.pro"});  // no temporary file left behind
}

TEST_F(AtomicFileTest, NewFilesGetTheUmaskModeAndADanglingLinkIsFilledIn) {
    const mode_t previous = ::umask(027);
    ASSERT_TRUE(AtomicFile::replaceThroughLinks(dir + "/real/new.ini", "x"));
    ASSERT_EQ(
        ::symlink("../real/target.pro", QFile::encodeName(dir + "/links/dangling").constData()), 0);
    ASSERT_TRUE(AtomicFile::replaceThroughLinks(dir + "/links/dangling", "y"));
    ::umask(previous);

    EXPECT_EQ(modeOf(dir + "/real/new.ini") & 07777, 0640u);
    EXPECT_EQ(fileBytes(dir + "/real/target.pro"), "y");
    EXPECT_TRUE(S_ISLNK(modeOf(dir + "/links/dangling")));
}

TEST_F(AtomicFileTest, LinkLoopsFoldersAndMissingFoldersFail) {
    ASSERT_EQ(::symlink("loop2", QFile::encodeName(dir + "/links/loop1").constData()), 0);
    ASSERT_EQ(::symlink("loop1", QFile::encodeName(dir + "/links/loop2").constData()), 0);
    EXPECT_FALSE(AtomicFile::replaceThroughLinks(dir + "/links/loop1", "x"));
    EXPECT_FALSE(AtomicFile::replaceThroughLinks(dir + "/real", "x"));
    EXPECT_FALSE(AtomicFile::replaceThroughLinks(dir + "/missing/file", "x"));
    EXPECT_TRUE(QFileInfo(dir + "/real").isDir());
}

TEST_F(AtomicFileTest, PrivateReplaceStaysForTheSettingsValues) {
    const QString value = dir + "/real/KeySetting";
    ASSERT_TRUE(AtomicFile::replace(value, "v"));
    EXPECT_EQ(modeOf(value) & 07777, 0600u);
}
