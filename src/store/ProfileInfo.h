#pragma once

#include <QString>

#include <cstdint>

// The current profile as the main window shows it on its profile buttons.
struct ProfileInfo {
    QString name;
    QString docName;
    QString programPath;
    QString programFile;  // file name and extension of programPath
    std::int32_t autoSwitch = 0;

    // The file name and extension of a program path. Paths written on Windows separate
    // their folders with backslashes, and those are taken as separators too.
    static QString programFileOf(const QString& programPath);

    friend bool operator==(const ProfileInfo&, const ProfileInfo&) = default;
};
