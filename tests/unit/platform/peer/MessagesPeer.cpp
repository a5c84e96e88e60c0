// A second process for the cross-process message tests.
//
//   messages_peer <window name> <log file>
//
// Publishes a window under the name, writes "ready" to the log, then logs every message it
// handles as "handled 0x<message> <send|post> <wParam> <lParam>" and answers a send with
// lParam * 3 + 7. Message 0x100 takes 200 ms to handle; 0x101 waits until "<log file>.go"
// exists; 0x102 ends the process normally.
#include "platform/Messages.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>

#include <cstdio>

namespace {
class PeerWindow : public MessageReceiver {
public:
    explicit PeerWindow(QString logPath) : logPath_(std::move(logPath)) {}

    void log(const QString& line) const {
        QFile file(logPath_);
        if (file.open(QIODevice::WriteOnly | QIODevice::Append))
            file.write((line + QLatin1Char('\n')).toUtf8());
    }

    std::int64_t receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                std::int64_t lParam) override {
        const bool sent = Messages::inSendMessage();
        if (message == 0x100)
            QThread::msleep(200);
        if (message == 0x101)
            for (int i = 0; i < 500 && !QFile::exists(logPath_ + QStringLiteral(".go")); ++i)
                QThread::msleep(10);
        log(QStringLiteral("handled 0x%1 %2 %3 %4")
                .arg(message, 0, 16)
                .arg(sent ? QStringLiteral("send") : QStringLiteral("post"))
                .arg(wParam)
                .arg(lParam));
        if (message == 0x102)
            QCoreApplication::quit();
        return lParam * 3 + 7;
    }

private:
    QString logPath_;
};
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: messages_peer <window name> <log file>\n");
        return 2;
    }
    PeerWindow window(args[2]);
    const WindowHandle handle = Messages::registerWindow(&window, args[1]);
    if (!Messages::publishWindow(handle, {args[1]})) {
        window.log(QStringLiteral("publish failed"));
        return 1;
    }
    window.log(QStringLiteral("ready"));
    return app.exec();
}
