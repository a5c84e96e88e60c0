#pragma once

#include "platform/WindowFrame.h"

#include <QString>

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <optional>

// The per-user folder in which windows published for other processes listen, one Unix
// socket per name. A socket file that accepts a connection is a live window; one that
// refuses it was left behind by a process that died and is removed when met.
class WindowDirectory {
public:
    // Identifies one socket file, so a name taken over by a new window is not mistaken for
    // the window found earlier under it.
    struct FileId {
        dev_t device = 0;
        ino_t inode = 0;
        bool operator==(const FileId&) const = default;
    };

    struct Listener {
        int fd = -1;
        QString path;
        FileId id;
    };

    // A name is one path component: not empty, no '/', no NUL, not "." or "..", and short
    // enough for a socket address. Without a window folder no name is valid.
    static bool isValidName(const QString& name);
    // Empty without a window folder (see Paths::runtimeDirectory).
    static QString socketPath(const QString& name);

    // Binds and listens under the name (replacing a stale socket). Fails when the name is
    // invalid, already taken by a live window, or the folder cannot be used.
    static std::optional<Listener> listen(const QString& name);
    // Closes the listener and removes its socket file if the file is still its own.
    static void close(Listener& listener);

    // The socket file of a live window under the name; a stale one is removed.
    static std::optional<FileId> findLive(const QString& name);
    // Whether the socket file under the name is still id and accepts connections.
    static bool isLive(const QString& name, const FileId& id);

    // Writes a post frame to the window that listens under the name as id. Returns whether
    // the frame was written in full.
    static bool post(const QString& name, const FileId& id, const WindowFrame& frame,
                     std::chrono::milliseconds timeout);
    // Writes a send frame and waits for the reply; nothing when the window is gone, refused
    // the frame or did not answer in time.
    static std::optional<std::int64_t> send(const QString& name, const FileId& id,
                                            const WindowFrame& frame,
                                            std::chrono::milliseconds timeout);
};
