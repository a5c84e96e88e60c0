#pragma once

#include <array>
#include <cstdint>

// The stored combination table: 100 record slots of 524 bytes, then the count.
class CombTable {
public:
    static constexpr int ImageSize = 52404;
    using Image = std::array<std::uint8_t, ImageSize>;

    // The process-wide image that the settings store and profile files carry.
    static Image& image();
};
