// umockdev's headers come first: GLib uses names that Qt's headers define as macros.
#include <umockdev.h>

#include "support/UdevTestbed.h"

#include "support/TempWorld.h"

#include <QFile>

#include <gtest/gtest.h>

UdevTestbed::UdevTestbed() : testbed_(umockdev_testbed_new()) {
    if (!umockdev_in_mock_environment())
        ADD_FAILURE() << "umockdev's preload library is not loaded, so this test would see the "
                         "machine's own devices; run it through ctest or umockdev-wrapper";
}

UdevTestbed::~UdevTestbed() {
    g_object_unref(testbed_);
}

bool UdevTestbed::add(const QString& name) {
    const QString path = testDataPath(QStringLiteral("devices/%1.umockdev").arg(name));
    GError* error = nullptr;
    if (umockdev_testbed_add_from_file(testbed_, QFile::encodeName(path).constData(), &error))
        return true;
    ADD_FAILURE() << "cannot add the devices of " << path.toStdString() << ": " << error->message;
    g_error_free(error);
    return false;
}
