#pragma once

#include "model/KeyAssignment.h"
#include "model/KeySettingImage.h"

#include <array>
#include <cstdint>
#include <map>
#include <span>

// The assignment of every programmable key, by key code in ascending order. There is one
// table in the process; windows read and change a key only through entry().
class KeyTable {
public:
    using Map = std::map<std::uint8_t, KeyAssignment>;
    using LayoutCodes = std::array<std::uint8_t, KeySettingImage::KeyCount>;

    static KeyTable& instance();

    // The key's assignment; an absent key code first gets a blank record (all fields 0).
    KeyAssignment& entry(std::uint8_t keyCode);

    // Replaces the table with 92 consecutive 12-byte records, completed from the layout so
    // that a damaged image cannot make every later save fail: each record of a layout key
    // is kept (the first of a key code wins), records of other codes are dropped, and a
    // layout key without a record gets AssignDefault. Only a layout that does not give 92
    // distinct codes leaves the table unsavable.
    void loadRecords(std::span<const std::uint8_t, KeySettingImage::Size> records,
                     const LayoutCodes& layoutCodes);
    // Every layout key gets AssignDefault; the image is zeroed and then holds the defaults
    // in layout order.
    void buildDefaults(const LayoutCodes& layoutCodes, KeySettingImage& image);
    // Writes the table as 92 records in ascending key code. A table that does not hold
    // exactly 92 entries cannot be stored: the user is told "error!" and out is untouched.
    bool toRecords(std::span<std::uint8_t, KeySettingImage::Size> out) const;

    std::size_t size() const { return entries_.size(); }
    Map::const_iterator begin() const { return entries_.begin(); }
    Map::const_iterator end() const { return entries_.end(); }
    void clear() { entries_.clear(); }

private:
    Map entries_;
};
