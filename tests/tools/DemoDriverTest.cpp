#include "platform/Messages.h"
#include "store/Companion.h"

#include "support/QtPrinting.h"
#include "support/WaitUntil.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace {
constexpr int Patience = 10000;

QString handleName(WindowHandle window) {
    return QStringLiteral("hwnd-%1").arg(window, 8, 16, QLatin1Char('0'));
}

// Halda's main window as the driver meets it: published under its handle, which it tells the
// driver by registering.
struct HaldaWindow : MessageReceiver {
    HaldaWindow() : handle(Messages::registerWindow(this, QStringLiteral("Halda"))) {
        Messages::publishWindow(handle, {handleName(handle)});
    }
    ~HaldaWindow() override { close(); }
    std::int64_t receiveMessage(std::uint32_t, std::uint64_t, std::int64_t) override { return 0; }
    void close() {
        Messages::unregisterWindow(handle);
        handle = 0;
    }
    WindowHandle handle;
};

class DemoDriver {
public:
    ~DemoDriver() {
        process_.kill();
        process_.waitForFinished();
    }

    // Starts the driver and waits for its window.
    WindowHandle start() {
        process_.start(QStringLiteral(HALDA_DEMO_DRIVER), {});
        WindowHandle window = 0;
        waitUntil([&] { return (window = Companion::findWindow()) != 0; }, Patience);
        return window;
    }

    bool waitForLines(int count) {
        return waitUntil([&] { return lines().size() >= count; }, Patience);
    }
    // Every line it has printed so far.
    QStringList lines() {
        output_ += QString::fromLocal8Bit(process_.readAllStandardOutput());
        return output_.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    bool waitForExit() {
        return waitUntil([&] { return process_.state() == QProcess::NotRunning; }, Patience) &&
               process_.exitStatus() == QProcess::NormalExit;
    }
    int exitCode() const { return process_.exitCode(); }

private:
    QProcess process_;
    QString output_;
};
}  // namespace

TEST(DemoDriver, SaysEachNoticeInPlainWordsOneLineEach) {
    DemoDriver driver;
    const WindowHandle window = driver.start();
    ASSERT_NE(window, 0u);
    HaldaWindow halda;
    Messages::postMessage(window, Companion::RegisterWindow, halda.handle, 0);
    ASSERT_TRUE(driver.waitForLines(1));

    struct Notice {
        std::uint32_t message;
        std::uint64_t wParam;
        std::int64_t lParam;
    };
    // Sent, so that they arrive in this order.
    const Notice notices[] = {
        {Companion::AboutToWrite, 0, 0},    {Companion::SettingsWritten, 0, 0},
        {Companion::SettingsWritten, 0, 1}, {Companion::SettingsWritten, 0, 7},
        {Companion::RateChanged, 1, 0},     {Companion::RateChanged, 2, 0},
        {Companion::RateChanged, 8, 0},     {Companion::RateChanged, 4, 0},
        {Companion::Restore, 0, 0},         {0x610, 3, -2},
    };
    for (const Notice& notice : notices)
        Messages::sendMessage(window, notice.message, notice.wParam, notice.lParam);

    const QStringList expected = {
        "demo driver: Halda registered its window",
        "demo driver: about to write the settings",
        "demo driver: settings written",
        "demo driver: settings written after a key edit",
        "demo driver: settings written (with the unknown detail 7)",
        "demo driver: report rate changed to 1000 Hz",
        "demo driver: report rate changed to 500 Hz",
        "demo driver: report rate changed to 125 Hz",
        "demo driver: report rate changed to an unknown code (4)",
        "demo driver: restore to defaults",
        "demo driver: unknown message 0x610 (wParam 3, lParam -2)",
    };
    ASSERT_TRUE(driver.waitForLines(int(expected.size())));
    EXPECT_EQ(driver.lines(), expected);
}

TEST(DemoDriver, ASecondStartEndsQuietlyAndTheFirstEndsWhenItsHaldaCloses) {
    DemoDriver first;
    const WindowHandle window = first.start();
    ASSERT_NE(window, 0u);
    HaldaWindow halda;
    Messages::postMessage(window, Companion::RegisterWindow, halda.handle, 0);
    ASSERT_TRUE(first.waitForLines(1));

    DemoDriver second;
    second.start();
    ASSERT_TRUE(second.waitForExit());
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(second.lines(), QStringList());
    EXPECT_TRUE(Messages::isWindow(window));

    halda.close();
    ASSERT_TRUE(first.waitForExit());
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_EQ(first.lines().size(), 1);
}
