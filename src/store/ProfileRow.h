#pragma once

#include "store/ProfileImage.h"
#include "store/ProfileInfo.h"

#include <QString>

#include <cstdint>

// One row of the profile dialog: a whole profile file's image, where it lies, and what the
// row shows. A row that could not be loaded has no path.
struct ProfileRow {
    ProfileImage image;
    QString path;
    QString name;  // the base name of path, not the image's name field
    QString docName;
    QString programPath;
    QString programFile;
    std::int32_t autoSwitch = 0;

    // Takes over a file's path and image: the name comes from the path, the rest from
    // the image.
    void fill(const QString& filePath, const ProfileImage& fileImage);

    // What the main window shows once this row's profile is the current one.
    ProfileInfo info() const { return {name, docName, programPath, programFile, autoSwitch}; }
};
