#include "shell/KeyCaptureLibrary.h"

#include "support/TempWorld.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

QString libraryPath() {
    return TempWorld::current().appDir() + QLatin1String(KeyCaptureLibrary::FileName);
}

TEST(KeyCaptureLibrary, WithoutTheLibraryEveryCallDoesNothing) {
    QFile::remove(libraryPath());
    KeyCaptureLibrary library;
    EXPECT_FALSE(library.isLoaded());
    EXPECT_FALSE(library.hasSetHookStatus());
    library.SetHookStatus(0);
    library.installhook(0);
    library.setwindowhwnd(0x10000);
    library.SetHookStatus(1);
    library.removehook();
    library.unload();
}

TEST(KeyCaptureLibrary, CallsReachTheFunctionsThereAreAndSkipTheMissingOnes) {
    QFile::remove(libraryPath());
    ASSERT_TRUE(QFile::copy(QStringLiteral(HALDA_PARTIAL_KEY_CAPTURE), libraryPath()));
    KeyCaptureLibrary library;
    ASSERT_TRUE(library.isLoaded());
    EXPECT_FALSE(library.hasSetHookStatus());
    library.SetHookStatus(0);
    library.installhook(0);
    library.setwindowhwnd(0x10001);
    library.SetHookStatus(1);
    library.removehook();

    // The library's own record of what reached it, through a second handle that keeps it
    // loaded when the first lets go.
    DynamicLibrary same(libraryPath());
    const auto calls = same.function<const char*()>("fixtureCalls");
    ASSERT_NE(calls, nullptr);
    EXPECT_STREQ(calls(), "installhook(0) setwindowhwnd(65537) ");

    library.unload();
    EXPECT_FALSE(library.isLoaded());
    library.setwindowhwnd(0x10002);
    EXPECT_STREQ(calls(), "installhook(0) setwindowhwnd(65537) ");
}

}  // namespace
