#pragma once

#include "resources/KeyLayoutEntry.h"

#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>

// The 92 programmable keys of the keyboard picture, in layout order: where each key button
// sits, its key code and its tooltip.
class KeyLayout {
public:
    static constexpr int KeyCount = 92;
    using Entries = std::array<KeyLayoutEntry, KeyCount>;

    // Fills the entries from the key layout file, one per "key" child of the root, in order.
    // Entries the file does not fill (no file, a file that is not well formed, fewer keys)
    // are empty. True when the file was read and well formed.
    bool load(const QString& path);

    const Entries& entries() const { return entries_; }
    const KeyLayoutEntry& entry(int position) const { return entries_[size_t(position)]; }
    // The key codes in layout order, as the key table's defaults take them.
    std::array<std::uint8_t, KeyCount> layoutCodes() const;

    // The attribute formats: a hexadecimal "vkcode" (low 8 bits), a "CRect" of four decimal
    // numbers "left,top,right,bottom", a "kstatus" that counts only when it is 1.
    static std::uint8_t parseKeyCode(QStringView text);
    static KeyLayoutEntry::Rect parseRect(QStringView text);
    static std::int32_t parseStatus(QStringView text);

private:
    Entries entries_{};
};
