// The demo driver: stands in for the keyboard's driver process where no keyboard is attached.
// It does nothing with what Halda tells it but say it, in plain words, one line each on its
// standard output, so that someone trying Halda sees what Halda would have the keyboard do.
//
// Installed as Zelt_Setting beside Halda, it is started by every start of Halda. A start
// while one already runs ends at once and quietly. It ends by itself, quietly, once the Halda
// that registered with it has closed, or when no Halda has registered a minute after its start.
#include "platform/Messages.h"
#include "store/Companion.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <csignal>
#include <cstdio>

namespace {
constexpr int WatchIntervalMs = 1000;
constexpr qint64 RegistrationWaitMs = 60 * 1000;

void say(const QString& words) {
    std::printf("demo driver: %s\n", words.toLocal8Bit().constData());
    // Someone watches these lines as they come, also through a pipe.
    std::fflush(stdout);
}

QString reportRate(std::uint64_t code) {
    // The codes are the reporting interval in milliseconds.
    switch (code) {
        case 1:
            return QStringLiteral("1000 Hz");
        case 2:
            return QStringLiteral("500 Hz");
        case 8:
            return QStringLiteral("125 Hz");
        default:
            return QStringLiteral("an unknown code (%1)").arg(code);
    }
}

QString describe(std::uint32_t message, std::uint64_t wParam, std::int64_t lParam) {
    switch (message) {
        case Companion::RegisterWindow:
            return QStringLiteral("Halda registered its window");
        case Companion::AboutToWrite:
            return QStringLiteral("about to write the settings");
        case Companion::SettingsWritten:
            if (lParam == 0)
                return QStringLiteral("settings written");
            if (lParam == 1)
                return QStringLiteral("settings written after a key edit");
            return QStringLiteral("settings written (with the unknown detail %1)").arg(lParam);
        case Companion::RateChanged:
            return QStringLiteral("report rate changed to ") + reportRate(wParam);
        case Companion::Restore:
            return QStringLiteral("restore to defaults");
        default:
            return QStringLiteral("unknown message 0x%1 (wParam %2, lParam %3)")
                .arg(message, 0, 16)
                .arg(wParam)
                .arg(lParam);
    }
}

class DriverWindow : public MessageReceiver {
public:
    std::int64_t receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                std::int64_t lParam) override {
        say(describe(message, wParam, lParam));
        if (message == Companion::RegisterWindow)
            halda_ = WindowHandle(wParam);
        return 0;
    }

    // The handle of the main window that registered last, in Halda's own process; 0 before.
    WindowHandle registeredHalda() const { return halda_; }

private:
    WindowHandle halda_ = 0;
};

// Halda publishes its main window under its handle for the driver; once that is gone, so is
// Halda.
bool isOpen(WindowHandle halda) {
    const WindowHandle window =
        Messages::findWindow(QStringLiteral("hwnd-%1").arg(halda, 8, 16, QLatin1Char('0')));
    return window && Messages::isWindow(window);
}
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc > 1) {
        std::fputs(
            "Zelt_Setting is Halda's demo driver and takes no options: Halda starts it, and it\n"
            "prints what Halda tells it.\n",
            stderr);
        return 2;
    }
    // A closed terminal or pipe must not take the driver away from a running Halda.
    std::signal(SIGPIPE, SIG_IGN);

    // Looked up first, so that a second start leaves without taking anything over;
    // publishing then settles a race between two starts at once.
    if (Messages::findWindow(Companion::WindowTitle))
        return 0;
    DriverWindow driver;
    const WindowHandle window = Messages::registerWindow(&driver, Companion::WindowTitle);
    if (!Messages::publishWindow(window, {Companion::WindowTitle}))
        return 0;

    QElapsedTimer sinceStart;
    sinceStart.start();
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const WindowHandle halda = driver.registeredHalda();
        if (halda ? !isOpen(halda) : sinceStart.elapsed() > RegistrationWaitMs)
            QCoreApplication::quit();
    });
    watch.start(WatchIntervalMs);

    const int result = app.exec();
    Messages::unregisterWindow(window);
    return result;
}
