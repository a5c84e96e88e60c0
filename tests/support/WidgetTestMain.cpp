#include "support/TempWorld.h"

#include <QApplication>

#include <gtest/gtest.h>

// Widget test cases each run inside their own temporary world with a widget application, on the
// offscreen platform unless told otherwise, so they need no display (not even to be listed).
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    TempWorld::givePerTestWorlds();
    return RUN_ALL_TESTS();
}
