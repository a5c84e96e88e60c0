#pragma once

#include <QString>

// Where the tool's files are: everything it reads or writes lies beside the executable,
// per-user settings under the XDG config home, live windows and locks under the runtime dir.
class Paths {
public:
    struct Split {
        QString directory;  // ends with '/' unless empty
        QString baseName;   // file name without its last extension
        QString extension;  // without the dot; empty when there is none
    };

    // The running executable's directory, ending in '/'.
    static QString executableDirectory();
    // Overrides executableDirectory() for tests that stand in for the application folder.
    static void setExecutableDirectoryForTesting(const QString& directory);

    static Split splitPath(const QString& path);
    // directory + baseName + "." + extension; the dot is left out with an empty extension.
    static QString joinPath(const QString& directory, const QString& baseName,
                            const QString& extension);

    // $XDG_CONFIG_HOME, or ~/.config when it is unset or not absolute.
    static QString configHome();
    // $XDG_RUNTIME_DIR/halda (mode 0700), created on first use. Falls back to a per-user
    // folder in the temporary directory when XDG_RUNTIME_DIR is unset.
    static QString runtimeDirectory();

    static bool makeDirectories(const QString& path);
};
