#pragma once

#include <QLoggingCategory>
#include <QStringList>

// Diagnostics of the keyboard check, off unless asked for:
// QT_LOGGING_RULES="halda.hid.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcHid)

// Whether a Halda keyboard is attached: some present HID interface path names one of the
// accepted vendor and product pairs. The device is never opened.
class CHidDevice {
public:
    // Searched for in this order, without regard to case.
    static inline const QStringList AcceptedDevices = {QStringLiteral("VID_1C7E&PID_3B61"),
                                                       QStringLiteral("VID_2F3A&PID_6E12")};

    // True at the first interface that matches; false when none does and on every failure.
    bool findKeyboard() const;
};
