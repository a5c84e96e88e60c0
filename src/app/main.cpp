#include "platform/MessageBox.h"
#include "shell/Halda_ConfigApp.h"
#include "windows/Halda_ConfigDlg.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QMessageBox>

#include <cstdio>

// The texts of the message boxes as they are shown, off unless asked for:
// QT_LOGGING_RULES="halda.messagebox.debug=true".
Q_LOGGING_CATEGORY(lcMessageBox, "halda.messagebox", QtWarningMsg)

namespace {
// Qt aborts with a toolkit error when it finds no display; say plainly what to do instead.
bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}
}  // namespace

int main(int argc, char* argv[]) {
    if (!hasDisplay()) {
        std::fputs(
            "Halda is a desktop program and needs a graphical display, but none was found\n"
            "(DISPLAY and WAYLAND_DISPLAY are not set).\n"
            "To see it anyway on a machine without a screen, run it in a virtual display and\n"
            "take a screenshot:\n"
            "  Xvfb :99 -screen 0 1024x768x24 &\n"
            "  DISPLAY=:99 build/app/halda &\n"
            "  sleep 3; DISPLAY=:99 import -window root halda.png   # ImageMagick\n",
            stderr);
        return 1;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Halda"));
    QApplication::setApplicationVersion(QStringLiteral(HALDA_VERSION));
    MessageBox::setPresenter([](const QString& caption, const QString& text) {
        qCDebug(lcMessageBox).noquote() << text;
        QMessageBox::information(nullptr, caption, text, QMessageBox::Ok);
    });

    CHalda_ConfigApp app;
    return app.run([] {
        CHalda_ConfigDlg dialog;
        dialog.exec();
    });
}
