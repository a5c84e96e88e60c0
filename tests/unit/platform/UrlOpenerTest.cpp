#include "platform/Process.h"

#include "support/QtPrinting.h"
#include "support/TempWorld.h"
#include "support/WaitUntil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cerrno>
#include <map>
#include <optional>

namespace {
void writeFile(const QString& path, const QString& text,
               QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
    file.close();
    QFile::setPermissions(path, permissions);
}

QStringList linesOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    lines.removeLast();  // after the last newline
    return lines;
}

const QFile::Permissions executable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

// A desktop of our own: the XDG data and config folders of the temporary world, no desktop
// environment that xdg-open would hand over to, and a display name so that xdg-open looks up
// scheme handlers at all. The "browser" is a script that writes each argument it gets on a line
// of its own, so a test sees exactly the argument vector it was started with.
class UrlOpenerOnFakeDesktop : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name :
             {"XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_DIRS", "DISPLAY", "WAYLAND_DISPLAY",
              "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
              "GNOME_DESKTOP_SESSION_ID", "MATE_DESKTOP_SESSION_ID", "BROWSER"}) {
            saved_[name] = qEnvironmentVariableIsSet(name)
                               ? std::optional<QByteArray>(qgetenv(name))
                               : std::nullopt;
            qunsetenv(name);
        }
        qputenv("XDG_DATA_HOME", QFile::encodeName(root + "/data"));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(root + "/system-data"));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(root + "/system-config"));
        qputenv("DISPLAY", ":97");
        QDir().mkpath(root + "/system-data/applications");
        QFile::remove(argumentsFile);
        writeFile(browser,
                  QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; "
                                 "done > '%1.part'\nmv '%1.part' '%1'\n")
                      .arg(argumentsFile),
                  executable);
    }
    void TearDown() override {
        for (const auto& [name, value] : saved_)
            value ? qputenv(name.c_str(), *value) : qunsetenv(name.c_str());
        QFile::remove(TempWorld::current().configHome() + "/mimeapps.list");
    }

    void setDefaults(const QString& lines) {
        writeFile(TempWorld::current().configHome() + "/mimeapps.list",
                  "[Default Applications]\n" + lines);
    }
    void addDesktopFile(const QString& relativePath, const QString& exec) {
        writeFile(root + "/data/applications/" + relativePath,
                  "[Desktop Entry]\nType=Application\nName=Fake\nExec=" + exec + "\n");
    }
    QStringList argumentsWhenWritten() {
        waitUntil([&] { return QFileInfo::exists(argumentsFile); }, 10000);
        return linesOf(argumentsFile);
    }

    const QString root = TempWorld::current().root();
    const QString browser = root + "/bin/fake-browser";
    const QString argumentsFile = root + "/arguments";

private:
    std::map<std::string, std::optional<QByteArray>> saved_;
};
}  // namespace

TEST(UrlOpener, WebBrowserCommandCutsTheExecLineAtItsPlaceholder) {
    const QString url = QStringLiteral("https://forum.example/a b?x=1&y=$(id)");
    const struct {
        const char* execLine;
        QStringList expected;
    } cases[] = {
        {"firefox %u", {"firefox", url}},
        {"chromium --new-window %U", {"chromium", "--new-window", url}},
        {"viewer %f", {"viewer", url}},
        {"viewer %F", {"viewer", url}},
        {"browser %1", {"browser", url}},
        // A line ending in a space and the quoted placeholder: the part before it, then the
        // target as an argument of its own.
        {"\"/opt/Web Browser/run\" \"%1\"", {"/opt/Web Browser/run", url}},
        {"/opt/run -x \"%1\" --after", {"/opt/run", "-x", url}},
        {"browser %u %F", {"browser", url}},
        {"browser --url=%u", {"browser", "--url=", url}},
        {"browser", {"browser", url}},
        {"browser --private  ", {"browser", "--private", url}},
        {"\"/opt/my \\\"best\\\" \\$browser\" %U", {"/opt/my \"best\" $browser", url}},
        {"env \"\" 100%%u %u", {"env", "", "100%u", url}},
        {"%u", {}},
        {"\"%1\"", {}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UrlOpener::webBrowserCommand(QString::fromUtf8(c.execLine), url), c.expected)
            << c.execLine;
}

TEST_F(UrlOpenerOnFakeDesktop, StartDetachedPassesTheArgumentsAsTheyAreAndReportsWhyNot) {
    const QString url = QStringLiteral("https://forum.example/?a=1&b=`id`;rm -rf x");
    const UrlOpenResult started = UrlOpener::startDetached({browser, url, QString()});
    EXPECT_EQ(started.status, UrlOpenResult::Status::Started);
    EXPECT_EQ(argumentsWhenWritten(), (QStringList{url, QString()}));

    const QString plainFile = root + "/bin/not-a-program";
    writeFile(plainFile, "just text\n");
    const QString noFormat = root + "/bin/no-format";
    writeFile(noFormat, QString(QChar(0x7f)) + "garbage", executable);
    const struct {
        QString program;
        int error;
    } failures[] = {
        {root + "/bin/missing", ENOENT},
        {QStringLiteral("halda-no-such-program-on-path"), ENOENT},
        {QString(), ENOENT},
        {plainFile, EACCES},
        {noFormat, ENOEXEC},
    };
    for (const auto& f : failures) {
        const UrlOpenResult result = UrlOpener::startDetached({f.program, url});
        EXPECT_EQ(result.status, UrlOpenResult::Status::NotStarted) << f.program.toStdString();
        EXPECT_EQ(result.systemError, f.error) << f.program.toStdString();
    }
}

TEST_F(UrlOpenerOnFakeDesktop, WebBrowserIsTheProgramRegisteredForWebPages) {
    const QString url = QStringLiteral("https://forum.example/board");
    EXPECT_EQ(UrlOpener::openWithWebBrowser(url).status, UrlOpenResult::Status::NoHandler);

    // A desktop file id with a dash may live in a vendor folder, as xdg-open also finds it.
    setDefaults("text/html=fakevendor-browser.desktop\n");
    addDesktopFile("fakevendor/browser.desktop", browser + " --tab \"%1\"");
    EXPECT_EQ(UrlOpener::openWithWebBrowser(url).status, UrlOpenResult::Status::Started);
    EXPECT_EQ(argumentsWhenWritten(), (QStringList{"--tab", url}));
}

TEST_F(UrlOpenerOnFakeDesktop, WebBrowserWithoutAUsableDesktopFileIsNoHandler) {
    const QString url = QStringLiteral("https://forum.example/");
    setDefaults("text/html=gone.desktop\n");
    EXPECT_EQ(UrlOpener::openWithWebBrowser(url).status, UrlOpenResult::Status::NoHandler);

    setDefaults("text/html=empty.desktop\n");
    addDesktopFile("empty.desktop", "%u");
    EXPECT_EQ(UrlOpener::openWithWebBrowser(url).status, UrlOpenResult::Status::NoHandler);

    // xdg-mime names no desktop file whose program is missing.
    setDefaults("text/html=broken.desktop\n");
    addDesktopFile("broken.desktop", root + "/bin/missing %u");
    EXPECT_EQ(UrlOpener::openWithWebBrowser(url).status, UrlOpenResult::Status::NoHandler);

    const QString noFormat = root + "/bin/no-format";
    writeFile(noFormat, QString(QChar(0x7f)) + "garbage", executable);
    setDefaults("text/html=unrunnable.desktop\n");
    addDesktopFile("unrunnable.desktop", noFormat + " %u");
    const UrlOpenResult result = UrlOpener::openWithWebBrowser(url);
    EXPECT_EQ(result.status, UrlOpenResult::Status::NotStarted);
    EXPECT_EQ(result.systemError, ENOEXEC);
}

TEST_F(UrlOpenerOnFakeDesktop, DesktopHandlerNeedsAHandlerForTheScheme) {
    setDefaults("x-scheme-handler/haldatest=fake-handler.desktop\n");
    addDesktopFile("fake-handler.desktop", browser + " %u");

    EXPECT_EQ(UrlOpener::openWithDesktopHandler("haldaother://x").status,
              UrlOpenResult::Status::NoHandler);
    EXPECT_EQ(UrlOpener::openWithDesktopHandler("no scheme at all").status,
              UrlOpenResult::Status::NoHandler);

    const QString url = QStringLiteral("haldatest://forum.example/board?x=1&y=2");
    EXPECT_EQ(UrlOpener::openWithDesktopHandler(url).status, UrlOpenResult::Status::Started);
    EXPECT_EQ(argumentsWhenWritten(), QStringList{url});
}
