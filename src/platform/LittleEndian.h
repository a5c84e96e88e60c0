#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// Field-by-field access to stored records, so every image is byte-exact on any host.
// Callers check bounds against the record layout; these only assemble the bytes.
namespace le {

inline std::uint16_t readU16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return std::uint16_t(bytes[offset] | bytes[offset + 1] << 8);
}

inline std::uint32_t readU32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return std::uint32_t(bytes[offset]) | std::uint32_t(bytes[offset + 1]) << 8 |
           std::uint32_t(bytes[offset + 2]) << 16 | std::uint32_t(bytes[offset + 3]) << 24;
}

inline std::int32_t readI32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return std::int32_t(readU32(bytes, offset));
}

inline void writeU16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value) {
    bytes[offset] = std::uint8_t(value);
    bytes[offset + 1] = std::uint8_t(value >> 8);
}

inline void writeU32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        bytes[offset + i] = std::uint8_t(value >> (8 * i));
}

inline void writeI32(std::span<std::uint8_t> bytes, std::size_t offset, std::int32_t value) {
    writeU32(bytes, offset, std::uint32_t(value));
}

}  // namespace le
