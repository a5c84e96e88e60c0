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
    // The folder of the windows that other processes may reach, and of locks, created on
    // first use: $XDG_RUNTIME_DIR/halda; without a usable XDG_RUNTIME_DIR (an existing folder
    // of this user that nobody else can write to), <temp>/halda-runtime-<uid>/halda, and
    // failing that <cache home>/halda. A folder we make is used only when it is a real folder
    // (never a link) owned by this user with mode 0700. Empty when none passes: the process
    // then runs without windows for other processes and without locks. Each refusal is said
    // once on standard error.
    static QString runtimeDirectory();

    static bool makeDirectories(const QString& path);
};
