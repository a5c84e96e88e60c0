#pragma once

#include <QByteArray>
#include <QString>

// Replaces a file's whole content so that readers see the old or the new content, never a
// mix, and a crash never leaves an empty or partial file: temporary file in the same folder,
// fsync, rename over the target, fsync of the folder.
class AtomicFile {
public:
    // For the tool's private files (the settings values): the name itself is replaced, and a
    // new file is readable by the user only.
    static bool replace(const QString& path, const QByteArray& content);

    // For files the user may have placed, linked or shared (profiles, the profile index):
    // the content ends up in the file the path leads to through any symbolic links, which
    // keeps its mode; a new file gets the mode an ordinary create gives (0666 less the umask).
    static bool replaceThroughLinks(const QString& path, const QByteArray& content);

    // The file a path leads to: symbolic links followed hop by hop, also when the last one
    // points nowhere yet. Empty for a loop of links.
    static QString resolveLinks(const QString& path);
};
