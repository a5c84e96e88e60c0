#pragma once

#include <QList>
#include <QString>

#include <optional>

// The HID interfaces present on the machine, each named by a Windows-style device interface
// path, so callers can recognise a device by searching its path for "VID_xxxx&PID_yyyy" as
// they would on Windows. Nothing here opens a device.
//
// A path reads \\?\hid#vid_1c7e&pid_3b61#hidraw0#{4d1e55b2-f16f-11cf-88cb-001111000030}:
// vendor and product from the HID device's HID_ID, then the name of the hidraw node, which
// tells apart the interfaces of one keyboard, then the HID interface class identifier.
class HidDevices {
public:
    // One entry per present hidraw node, in udev's order. An entry is empty when the node's
    // HID device or its identity could not be read.
    using InterfacePaths = QList<std::optional<QString>>;

    struct Listing {
        InterfacePaths paths;
        int error = 0;  // the errno when the device list itself could not be read
    };

    static Listing presentInterfaces();
};
