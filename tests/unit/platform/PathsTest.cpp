#include "platform/Paths.h"

#include "platform/Messages.h"
#include "support/QtPrinting.h"
#include "support/ScopedEnvironment.h"
#include "support/TempWorld.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <functional>

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

namespace {
mode_t modeOf(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

bool isPlainFolder(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

void makeFolder(const QString& path, mode_t mode) {
    QDir().mkpath(path);
    ::chmod(QFile::encodeName(path).constData(), mode);
}

// What a call writes to standard error.
QString standardErrorOf(const std::function<void()>& call) {
    QTemporaryFile capture;
    if (!capture.open())
        return QStringLiteral("(no capture)");
    std::fflush(stderr);
    const int saved = ::dup(2);
    ::dup2(capture.handle(), 2);
    call();
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
    capture.seek(0);
    return QString::fromLocal8Bit(capture.readAll());
}

// The places the runtime folder may come from, all inside the test's world: XDG_RUNTIME_DIR
// (unset, or naming `own`), the temporary folder and the cache home.
struct RuntimeScene {
    enum RuntimeDir { Unset, Own, Relative };

    QString root;
    QString own = root + "/own";
    QString temp = root + "/tmp";
    QString tempBase = temp + "/halda-runtime-" + QString::number(::getuid());
    QString cache = root + "/cache";
    QString elsewhere = root + "/elsewhere";  // where planted links point
    ScopedEnvironment environment;

    explicit RuntimeScene(RuntimeDir runtimeDir, const QString& name = QStringLiteral("scene"))
        : root(TempWorld::current().root() + "/" + name) {
        QDir().mkpath(temp);
        makeFolder(elsewhere, 0700);
        const QByteArray dir = runtimeDir == Own ? QFile::encodeName(own) : QByteArray("relative");
        environment.set("XDG_RUNTIME_DIR", runtimeDir == Unset ? std::nullopt : std::optional(dir));
        environment.set("TMPDIR", QFile::encodeName(temp));
        environment.set("XDG_CACHE_HOME", QFile::encodeName(cache));
    }

    void plantLink(const QString& at) const {
        QDir().mkpath(QFileInfo(at).path());
        QFile::link(elsewhere, at);
    }
};
}  // namespace

TEST(Paths, RuntimeFolderIsUsedOnlyWhenItIsARealFolderOfThisUserClosedToOthers) {
    using Scene = RuntimeScene;
    enum Expected { InOwn, InTemp, InCache, None };
    struct Case {
        const char* what;
        Scene::RuntimeDir runtimeDir;
        std::function<void(const Scene&)> prepare;
        Expected expected;
        bool reported;
    };
    const Case cases[] = {
        {"own runtime dir", Scene::Own, [](const Scene& s) { makeFolder(s.own, 0700); }, InOwn,
         false},
        {"no runtime dir", Scene::Unset, [](const Scene&) {}, InTemp, false},
        {"temp folder of ours, mode mended", Scene::Unset,
         [](const Scene& s) { makeFolder(s.tempBase, 0755); }, InTemp, false},
        {"temp folder is a link", Scene::Unset, [](const Scene& s) { s.plantLink(s.tempBase); },
         InCache, true},
        {"temp folder open to others", Scene::Unset,
         [](const Scene& s) { makeFolder(s.tempBase, 0777); }, InCache, true},
        {"halda in it is a link", Scene::Unset,
         [](const Scene& s) {
             makeFolder(s.tempBase, 0700);
             s.plantLink(s.tempBase + "/halda");
         },
         InCache, true},
        {"halda in it open to others", Scene::Unset,
         [](const Scene& s) {
             makeFolder(s.tempBase, 0700);
             makeFolder(s.tempBase + "/halda", 0773);
         },
         InCache, true},
        {"runtime dir open to others", Scene::Own, [](const Scene& s) { makeFolder(s.own, 0777); },
         InTemp, true},
        {"runtime dir missing", Scene::Own, [](const Scene&) {}, InTemp, true},
        {"runtime dir relative", Scene::Relative, [](const Scene&) {}, InTemp, true},
        {"halda in the runtime dir is a link", Scene::Own,
         [](const Scene& s) {
             makeFolder(s.own, 0700);
             s.plantLink(s.own + "/halda");
         },
         InTemp, true},
        {"nothing passes", Scene::Unset,
         [](const Scene& s) {
             s.plantLink(s.tempBase);
             QFile(s.cache).open(QIODevice::WriteOnly);  // a file, not a folder
         },
         None, true},
    };
    int n = 0;
    for (const Case& c : cases) {
        // A scene of its own per case: each refusal is said once per process.
        Scene scene(c.runtimeDir, QStringLiteral("scene-%1").arg(++n));
        c.prepare(scene);
        const QString expected[] = {scene.own + "/halda", scene.tempBase + "/halda",
                                    scene.cache + "/halda", QString()};
        QString directory;
        const QString said = standardErrorOf([&] { directory = Paths::runtimeDirectory(); });
        EXPECT_EQ(directory, expected[c.expected]) << c.what;
        EXPECT_EQ(!said.isEmpty(), c.reported) << c.what << ": " << said.toStdString();
        if (!directory.isEmpty()) {
            EXPECT_TRUE(isPlainFolder(directory)) << c.what;
            EXPECT_EQ(modeOf(directory), 0700u) << c.what;
            EXPECT_EQ(modeOf(QFileInfo(directory).path()) & 022, 0u) << c.what;
        }
        EXPECT_TRUE(QDir(scene.elsewhere).isEmpty()) << c.what;  // nothing made behind a link
        // The folder is looked up at every use; what is wrong is said only once.
        EXPECT_EQ(standardErrorOf([] { Paths::runtimeDirectory(); }), QString()) << c.what;
    }
}

TEST(Paths, RuntimeFolderOfAnotherUserIsRefused) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to make a folder of another user";
    RuntimeScene scene(RuntimeScene::Unset);
    for (const QString& folder : {scene.tempBase, scene.tempBase + "/halda"}) {
        makeFolder(folder, 0700);
        ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), 65534, 65534), 0);
    }
    QString directory;
    const QString said = standardErrorOf([&] { directory = Paths::runtimeDirectory(); });
    EXPECT_EQ(directory, scene.cache + "/halda");
    EXPECT_TRUE(said.contains(scene.tempBase)) << said.toStdString();
}

TEST(Paths, WithoutAPrivateRuntimeFolderNoWindowIsPublished) {
    RuntimeScene scene(RuntimeScene::Unset);
    QFile(scene.tempBase).open(QIODevice::WriteOnly);
    QFile(scene.cache).open(QIODevice::WriteOnly);
    QString said;
    struct Recorder : MessageReceiver {
        std::int64_t receiveMessage(std::uint32_t, std::uint64_t, std::int64_t) override {
            return 0;
        }
    } recorder;
    const WindowHandle window = Messages::registerWindow(&recorder, QStringLiteral("Lonely"));
    said = standardErrorOf(
        [&] { EXPECT_FALSE(Messages::publishWindow(window, {QStringLiteral("Lonely")})); });
    EXPECT_TRUE(said.contains("no runtime folder private to this user")) << said.toStdString();
    EXPECT_EQ(Messages::findWindow(QStringLiteral("Lonely")), window);  // still found here
    EXPECT_EQ(Messages::findWindow(QStringLiteral("QuorvZelt_Setting")), 0u);
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/Lonely")));
    Messages::unregisterWindow(window);
}
