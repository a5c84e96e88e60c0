#pragma once

#include <array>
#include <cstdint>

// The stored macro table: 100 record slots of 1304 bytes, then the count.
class MacroTable {
public:
    static constexpr int ImageSize = 130404;
    using Image = std::array<std::uint8_t, ImageSize>;

    // The process-wide image that the settings store and profile files carry.
    static Image& image();
};
