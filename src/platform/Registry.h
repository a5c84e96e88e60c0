#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <span>

// The per-user settings store. A key "Software\A\B" is the folder A/B under the XDG config
// home; each value is one file named after it holding a 4-byte little-endian type code and
// then the data. Every write replaces the file atomically, so a reader in another process
// sees the old or the new value whole, and a crash never leaves a half-written value.
class Registry {
public:
    enum ValueType : std::uint32_t { RegSz = 1, RegBinary = 3, RegDword = 4 };

    struct ValueInfo {
        std::uint32_t type = 0;
        std::size_t size = 0;  // bytes of data copied into the caller's buffer
    };

    // Opens an existing key; fails when its folder does not exist.
    static std::optional<Registry> openKey(const QString& keyPath);
    // Opens a key, creating its folders first; fails when they cannot be made.
    static std::optional<Registry> createKey(const QString& keyPath);
    // The folder a key path maps to, or an empty string for a path that cannot be a key.
    static QString keyDirectory(const QString& keyPath);

    // Copies the value's data into buffer. Fails when the value is missing, unreadable,
    // shorter than its type header, or longer than the buffer; the buffer is then untouched.
    std::optional<ValueInfo> queryValue(const QString& name, std::span<std::uint8_t> buffer) const;
    bool setValue(const QString& name, std::uint32_t type, std::span<const std::uint8_t> data);
    // Keys hold no OS resources; close only marks the object unusable, as a closed handle is.
    void close() { directory_.clear(); }

    const QString& directory() const { return directory_; }

private:
    explicit Registry(QString directory) : directory_(std::move(directory)) {}
    QString valuePath(const QString& name) const;

    QString directory_;
};
