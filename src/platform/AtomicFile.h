#pragma once

#include <QByteArray>
#include <QString>

// Replaces a file's whole content so that readers see the old or the new content, never a
// mix, and a crash never leaves an empty or partial file: temporary file in the same folder,
// fsync, rename over the target, fsync of the folder.
class AtomicFile {
public:
    static bool replace(const QString& path, const QByteArray& content);
};
