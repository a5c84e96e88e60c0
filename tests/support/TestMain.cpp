#include "support/TempWorld.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

// Every test case runs inside its own temporary world with a Qt application object, so
// posted messages have an event loop to be delivered from.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication application(argc, argv);
    TempWorld::givePerTestWorlds();
    return RUN_ALL_TESTS();
}
