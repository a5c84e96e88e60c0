#include "platform/HidDevices.h"

#include <QStringList>

#include <libudev.h>

#include <cerrno>
#include <memory>

namespace {
struct UdevDeleter {
    void operator()(udev* u) const { udev_unref(u); }
    void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
    void operator()(udev_device* d) const { udev_device_unref(d); }
};
template <typename T>
using UdevPtr = std::unique_ptr<T, UdevDeleter>;

// HID_ID reads bus:vendor:product in hexadecimal ("0003:00001C7E:00003B61").
std::optional<QString> interfacePath(const QString& hidId, const QString& nodeName) {
    const QStringList fields = hidId.split(QLatin1Char(':'));
    if (fields.size() != 3)
        return std::nullopt;
    bool busOk = false;
    bool vendorOk = false;
    bool productOk = false;
    fields[0].toUInt(&busOk, 16);
    const uint vendor = fields[1].toUInt(&vendorOk, 16);
    const uint product = fields[2].toUInt(&productOk, 16);
    if (!busOk || !vendorOk || !productOk)
        return std::nullopt;
    return QStringLiteral("\\\\?\\hid#vid_%1&pid_%2#%3#{4d1e55b2-f16f-11cf-88cb-001111000030}")
        .arg(vendor, 4, 16, QLatin1Char('0'))
        .arg(product, 4, 16, QLatin1Char('0'))
        .arg(nodeName.toLower());
}

std::optional<QString> pathOf(udev* context, const char* syspath) {
    const UdevPtr<udev_device> node(udev_device_new_from_syspath(context, syspath));
    if (!node)
        return std::nullopt;
    // The parent is owned by the node and goes with it.
    udev_device* hid = udev_device_get_parent_with_subsystem_devtype(node.get(), "hid", nullptr);
    const char* hidId = hid ? udev_device_get_property_value(hid, "HID_ID") : nullptr;
    if (!hidId)
        return std::nullopt;
    return interfacePath(QString::fromLatin1(hidId),
                         QString::fromLatin1(udev_device_get_sysname(node.get())));
}
}  // namespace

HidDevices::Listing HidDevices::presentInterfaces() {
    Listing listing;
    errno = 0;
    const UdevPtr<udev> context(udev_new());
    const UdevPtr<udev_enumerate> enumerate(context ? udev_enumerate_new(context.get()) : nullptr);
    if (!enumerate) {
        listing.error = errno ? errno : ENOMEM;
        return listing;
    }
    int result = udev_enumerate_add_match_subsystem(enumerate.get(), "hidraw");
    if (result >= 0)
        result = udev_enumerate_scan_devices(enumerate.get());
    if (result < 0) {
        listing.error = -result;
        return listing;
    }
    udev_list_entry* entry;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get())) {
        listing.paths.append(pathOf(context.get(), udev_list_entry_get_name(entry)));
    }
    return listing;
}
