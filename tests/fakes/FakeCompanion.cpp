// The fake companion driver process: it does with the tool's messages nothing but log them.
//
// Started without arguments (as the tool starts it) it publishes the window
// "QuorvZelt_Setting" and the control window "QuorvZelt_Setting_Control", answers every
// send with 0 and appends to "companion.log" beside its own executable, one line each:
//
//   start pid=<pid>                       at every start, first of all
//   already running                       then the process ends (exit code 0) because a live
//                                         "QuorvZelt_Setting" window exists
//   recv 0x<msg> <send|post> w=<wParam> l=<lParam>[ key=<digest>]
//                                         each message to "QuorvZelt_Setting"; message in
//                                         lower-case hex, wParam and lParam in decimal; for
//                                         0x654 and 0x601 the digest is the lower-case SHA-1
//                                         hex of the data of the stored value KeySetting
//                                         ("Software\Quorv\Zelt"; the data follows the 4-byte
//                                         type header of its file) as it was when the message
//                                         was handled, or "none" when it cannot be read
//   control busy <on|off>                 the control commands below, as the running
//   control post-load-profile <n> <ok|failed>   instance carries them out
//   control quit
//
// Started with one of these arguments it acts as a client of the running instance and ends
// (exit code 0 when done, 1 when the command failed, 2 when no instance runs):
//
//   --busy on|off             opens / closes a published window titled "Zelt_Progressbar"
//   --post-load-profile <n>   posts 0x610 (wParam 0, lParam n) to the window whose handle
//                             came in wParam of the last 0x602, found as "hwnd-%08x"
//   --quit                    ends the running instance; returns once its window is gone
#include "platform/Messages.h"
#include "platform/Paths.h"
#include "platform/Registry.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QThread>

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {
const QString WindowTitle = QStringLiteral("QuorvZelt_Setting");
const QString ControlTitle = QStringLiteral("QuorvZelt_Setting_Control");
const QString BusyTitle = QStringLiteral("Zelt_Progressbar");

enum Control : std::uint32_t { Busy = 0x7F00, PostLoadProfile = 0x7F01, Quit = 0x7F02 };
constexpr std::uint32_t SettingsWritten = 0x601;
constexpr std::uint32_t RegisterWindow = 0x602;
constexpr std::uint32_t LoadProfile = 0x610;
constexpr std::uint32_t AboutToWrite = 0x654;

void log(const QString& line) {
    QFile file(Paths::executableDirectory() + QStringLiteral("companion.log"));
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write((line + QLatin1Char('\n')).toUtf8());
}

QString keySettingDigest() {
    const auto key = Registry::openKey(QStringLiteral("Software\\Quorv\\Zelt"));
    if (!key)
        return QStringLiteral("none");
    std::vector<std::uint8_t> buffer(1 << 20);
    const auto info = key->queryValue(QStringLiteral("KeySetting"), buffer);
    if (!info)
        return QStringLiteral("none");
    const QByteArray data(reinterpret_cast<const char*>(buffer.data()), qsizetype(info->size));
    return QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex());
}

class NoticeWindow : public MessageReceiver {
public:
    std::int64_t receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                std::int64_t lParam) override {
        QString line =
            QStringLiteral("recv 0x%1 %2 w=%3 l=%4")
                .arg(message, 0, 16)
                .arg(Messages::inSendMessage() ? QStringLiteral("send") : QStringLiteral("post"))
                .arg(wParam)
                .arg(lParam);
        if (message == AboutToWrite || message == SettingsWritten)
            line += QStringLiteral(" key=") + keySettingDigest();
        log(line);
        if (message == RegisterWindow)
            toolWindow = WindowHandle(wParam);
        return 0;
    }

    WindowHandle toolWindow = 0;
};

class BusyWindow : public MessageReceiver {
public:
    std::int64_t receiveMessage(std::uint32_t, std::uint64_t, std::int64_t) override { return 0; }
};

class ControlWindow : public MessageReceiver {
public:
    explicit ControlWindow(NoticeWindow& notices) : notices_(notices) {}

    std::int64_t receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                std::int64_t lParam) override {
        switch (message) {
            case Busy:
                log(QStringLiteral("control busy ") + QLatin1String(wParam ? "on" : "off"));
                return setBusy(wParam != 0);
            case PostLoadProfile: {
                const bool ok = postLoadProfile(lParam);
                log(QStringLiteral("control post-load-profile %1 %2")
                        .arg(lParam)
                        .arg(ok ? QStringLiteral("ok") : QStringLiteral("failed")));
                return ok;
            }
            case Quit:
                log(QStringLiteral("control quit"));
                // After the reply has gone out; the windows' sockets go with the process.
                QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                          Qt::QueuedConnection);
                return 1;
            default:
                return 0;
        }
    }

private:
    bool setBusy(bool on) {
        if (!on) {
            if (busyHandle_)
                Messages::unregisterWindow(busyHandle_);
            busyHandle_ = 0;
            return true;
        }
        if (busyHandle_)
            return true;
        busyHandle_ = Messages::registerWindow(&busy_, BusyTitle);
        if (!Messages::publishWindow(busyHandle_, {BusyTitle})) {
            Messages::unregisterWindow(busyHandle_);
            busyHandle_ = 0;
            return false;
        }
        return true;
    }

    bool postLoadProfile(std::int64_t profile) {
        if (!notices_.toolWindow)
            return false;
        // The handle is one of the tool's process; the tool publishes its window under it.
        const WindowHandle tool = Messages::findWindow(
            QStringLiteral("hwnd-%1").arg(notices_.toolWindow, 8, 16, QLatin1Char('0')));
        return tool && Messages::postMessage(tool, LoadProfile, 0, profile);
    }

    NoticeWindow& notices_;
    BusyWindow busy_;
    WindowHandle busyHandle_ = 0;
};

int runInstance(QCoreApplication& app) {
    log(QStringLiteral("start pid=%1").arg(::getpid()));
    // Looked up first, so that a second start leaves without taking anything over;
    // publishing then settles a race between two starts at once.
    if (Messages::findWindow(WindowTitle)) {
        log(QStringLiteral("already running"));
        return 0;
    }
    NoticeWindow notices;
    ControlWindow control(notices);
    const WindowHandle window = Messages::registerWindow(&notices, WindowTitle);
    if (!Messages::publishWindow(window, {WindowTitle})) {
        log(QStringLiteral("already running"));
        return 0;
    }
    const WindowHandle controlWindow = Messages::registerWindow(&control, ControlTitle);
    Messages::publishWindow(controlWindow, {ControlTitle});
    const int result = app.exec();
    Messages::unregisterWindow(controlWindow);
    Messages::unregisterWindow(window);
    return result;
}

int runClient(const QStringList& args) {
    std::uint32_t message = 0;
    std::uint64_t wParam = 0;
    std::int64_t lParam = 0;
    bool valid = false;
    if (args.size() == 3 && args[1] == QLatin1String("--busy")) {
        message = Busy;
        wParam = args[2] == QLatin1String("on");
        valid = wParam || args[2] == QLatin1String("off");
    } else if (args.size() == 3 && args[1] == QLatin1String("--post-load-profile")) {
        message = PostLoadProfile;
        lParam = args[2].toLongLong(&valid);
    } else if (args.size() == 2 && args[1] == QLatin1String("--quit")) {
        message = Quit;
        valid = true;
    }
    if (!valid) {
        std::fprintf(stderr,
                     "usage: Zelt_Setting [--busy on|off | --post-load-profile N | --quit]\n");
        return 2;
    }
    const WindowHandle control = Messages::findWindow(ControlTitle);
    if (!control) {
        std::fprintf(stderr, "Zelt_Setting: no running instance\n");
        return 2;
    }
    if (Messages::sendMessage(control, message, wParam, lParam) != 1)
        return 1;
    if (message == Quit) {
        for (int i = 0; i < 500 && Messages::findWindow(WindowTitle); ++i)
            QThread::msleep(10);
    }
    return 0;
}
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    return args.size() > 1 ? runClient(args) : runInstance(app);
}
