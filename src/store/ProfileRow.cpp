#include "store/ProfileRow.h"

#include "platform/Paths.h"

void ProfileRow::fill(const QString& filePath, const ProfileImage& fileImage) {
    image = fileImage;
    path = filePath;
    name = Paths::splitPath(filePath).baseName;
    docName = image.docName();
    programPath = image.programPath();
    programFile = ProfileInfo::programFileOf(programPath);
    autoSwitch = image.autoSwitch();
}
