#include "platform/Messages.h"
#include "platform/Registry.h"

#include "support/TempWorld.h"
#include "support/WaitUntil.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// The fake companion as the tool meets it: copied into the application folder and started
// from there, so its log lands beside it.
class Companion {
public:
    Companion() : path_(TempWorld::current().appDir() + QStringLiteral("Zelt_Setting")) {
        QFile::remove(path_);
        QFile::copy(QStringLiteral(HALDA_FAKE_COMPANION), path_);
    }
    ~Companion() {
        instance_.kill();
        instance_.waitForFinished();
    }

    void start() { instance_.start(path_, {}); }
    // Runs a second copy to its end; returns its exit code.
    int run(const QStringList& args) {
        QProcess process;
        process.start(path_, args);
        return process.waitForFinished(3000) && process.exitStatus() == QProcess::NormalExit
                   ? process.exitCode()
                   : -1;
    }
    bool waitForExit() { return instance_.waitForFinished(2000); }
    QString log() const {
        QFile file(TempWorld::current().appDir() + QStringLiteral("companion.log"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private:
    QString path_;
    QProcess instance_;
};

struct ToolWindow : MessageReceiver {
    std::int64_t receiveMessage(std::uint32_t message, std::uint64_t,
                                std::int64_t lParam) override {
        if (message == 0x610)
            profile = lParam;
        return 0;
    }
    std::int64_t profile = -1;
};
}  // namespace

TEST(MessagesFakeCompanion, LogsWhatItIsToldAndObeysItsControls) {
    const QByteArray keySetting(1104, '\x5a');
    auto key = Registry::createKey(QStringLiteral("Software\\Quorv\\Zelt"));
    ASSERT_TRUE(key);
    ASSERT_TRUE(
        key->setValue(QStringLiteral("KeySetting"), Registry::RegBinary,
                      std::span(reinterpret_cast<const std::uint8_t*>(keySetting.data()), 1104)));
    const std::string digest =
        QCryptographicHash::hash(keySetting, QCryptographicHash::Sha1).toHex().toStdString();

    Companion companion;
    companion.start();
    WindowHandle window = 0;
    ASSERT_TRUE(
        waitUntil([&] { return (window = Messages::findWindow("QuorvZelt_Setting")) != 0; }));

    ToolWindow tool;
    const WindowHandle toolHandle = Messages::registerWindow(&tool, QStringLiteral("Halda"));
    ASSERT_TRUE(Messages::publishWindow(
        toolHandle, {QStringLiteral("hwnd-%1").arg(toolHandle, 8, 16, QLatin1Char('0'))}));
    // A send overtakes posts not handled yet, so the registration is awaited first.
    ASSERT_TRUE(Messages::postMessage(window, 0x602, toolHandle, 0));
    ASSERT_TRUE(waitUntil([&] { return companion.log().contains("recv 0x602"); }));
    EXPECT_EQ(Messages::sendMessage(window, 0x654, 0, 0), 0);
    ASSERT_TRUE(Messages::postMessage(window, 0x601, 0, 1));
    ASSERT_TRUE(waitUntil([&] { return companion.log().contains("recv 0x601"); }));

    EXPECT_EQ(companion.run({"--busy", "on"}), 0);
    EXPECT_NE(Messages::findWindow(QStringLiteral("Zelt_Progressbar")), 0u);
    EXPECT_EQ(companion.run({"--busy", "off"}), 0);
    EXPECT_EQ(Messages::findWindow(QStringLiteral("Zelt_Progressbar")), 0u);

    EXPECT_EQ(companion.run({"--post-load-profile", "3"}), 0);
    EXPECT_TRUE(waitUntil([&] { return tool.profile == 3; }));

    EXPECT_EQ(companion.run({}), 0);  // a second start leaves the first one running
    EXPECT_EQ(companion.run({"--quit"}), 0);
    EXPECT_TRUE(companion.waitForExit());
    EXPECT_EQ(Messages::findWindow(QStringLiteral("QuorvZelt_Setting")), 0u);
    EXPECT_EQ(companion.run({"--quit"}), 2);

    std::vector<std::string> lines;
    for (const QString& line : companion.log().split('\n', Qt::SkipEmptyParts))
        lines.push_back(line.toStdString());
    ASSERT_EQ(lines.size(), 10u) << companion.log().toStdString();
    EXPECT_EQ(lines[0].rfind("start pid=", 0), 0u);
    EXPECT_EQ(lines[1], "recv 0x602 post w=" + std::to_string(toolHandle) + " l=0");
    EXPECT_EQ(lines[2], "recv 0x654 send w=0 l=0 key=" + digest);
    EXPECT_EQ(lines[3], "recv 0x601 post w=0 l=1 key=" + digest);
    EXPECT_EQ(lines[4], "control busy on");
    EXPECT_EQ(lines[5], "control busy off");
    EXPECT_EQ(lines[6], "control post-load-profile 3 ok");
    EXPECT_EQ(lines[7].rfind("start pid=", 0), 0u);
    EXPECT_NE(lines[7], lines[0]);
    EXPECT_EQ(lines[8], "already running");
    EXPECT_EQ(lines[9], "control quit");
    Messages::unregisterWindow(toolHandle);
}
