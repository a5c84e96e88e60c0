#pragma once

#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

// Reading and planting fields in stored images, independent of the code under test.
inline std::int32_t int32At(std::span<const std::uint8_t> bytes, std::size_t at) {
    return std::int32_t(std::uint32_t(bytes[at]) | std::uint32_t(bytes[at + 1]) << 8 |
                        std::uint32_t(bytes[at + 2]) << 16 | std::uint32_t(bytes[at + 3]) << 24);
}

inline void putInt32(std::span<std::uint8_t> bytes, std::size_t at, std::int32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        bytes[at + i] = std::uint8_t(std::uint32_t(value) >> (8 * i));
}

inline void putUtf16(std::span<std::uint8_t> bytes, std::size_t at, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        bytes[at + 2 * std::size_t(i)] = std::uint8_t(text.at(i).unicode());
        bytes[at + 2 * std::size_t(i) + 1] = std::uint8_t(text.at(i).unicode() >> 8);
    }
}

inline bool allZero(std::span<const std::uint8_t> bytes) {
    return std::ranges::all_of(bytes, [](std::uint8_t b) { return b == 0; });
}
