#include "support/TempWorld.h"

#include <QApplication>
#include <QProcess>

#include <gtest/gtest.h>

#include <cstdio>

namespace {
// An X server of this program's own. Xvfb picks a free display itself and writes its number
// to the descriptor named by -displayfd, here its standard output, so programs starting side
// by side never race for one.
bool startXServer(QProcess& server) {
    server.setProcessChannelMode(QProcess::SeparateChannels);
    server.setStandardErrorFile(QProcess::nullDevice());
    server.start(QStringLiteral("Xvfb"),
                 {"-displayfd", "1", "-screen", "0", "640x480x24", "-nolisten", "tcp", "-noreset"});
    if (!server.waitForStarted())
        return false;
    QByteArray number;
    while (!number.contains('\n') && server.waitForReadyRead(10000))
        number += server.readAllStandardOutput();
    bool isNumber = false;
    number.trimmed().toInt(&isNumber);
    if (!isNumber)
        return false;
    qputenv("DISPLAY", ":" + number.trimmed());
    return true;
}
}  // namespace

// Tests that need real keys typed: a widget application on an X server of their own, typed
// into with xdotool.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    QProcess server;
    if (!startXServer(server)) {
        std::fprintf(stderr, "Xvfb could not be started\n");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    int result = 0;
    {
        QApplication application(argc, argv);
        TempWorld world;
        result = RUN_ALL_TESTS();
    }
    server.terminate();
    server.waitForFinished();
    return result;
}
