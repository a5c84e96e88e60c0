#pragma once

#include "model/KeyAssignment.h"

#include <array>
#include <cstdint>

// The byte image of the stored key table: 92 records of 12 bytes, no header, no count.
// Readers find a key's record by its key code, never by position.
struct KeySettingImage {
    static constexpr int KeyCount = 92;
    static constexpr int Size = KeyCount * KeyAssignment::RecordSize;  // 1104

    std::array<std::uint8_t, Size> bytes{};

    // The one image the settings store reads into and writes from.
    static KeySettingImage& instance();
};
