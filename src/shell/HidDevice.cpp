#include "shell/HidDevice.h"

#include "platform/HidDevices.h"

Q_LOGGING_CATEGORY(lcHid, "halda.hid", QtWarningMsg)

namespace {
bool isKeyboard(const QString& path) {
    for (const QString& device : CHidDevice::AcceptedDevices) {
        if (path.contains(device, Qt::CaseInsensitive))
            return true;
    }
    return false;
}
}  // namespace

bool CHidDevice::findKeyboard() const {
    const HidDevices::Listing listing = HidDevices::presentInterfaces();
    if (listing.error != 0) {
        qCDebug(lcHid, "SetupDiGetClassDevs failed: %x", unsigned(listing.error));
        return false;
    }
    for (const std::optional<QString>& path : listing.paths) {
        if (!path) {
            qCDebug(lcHid, "Error: SetupDiGetInterfaceDeviceDetail failed");
            continue;
        }
        if (isKeyboard(*path)) {
            qCDebug(lcHid, "Success:Found Ostra device");
            return true;
        }
    }
    return false;
}
