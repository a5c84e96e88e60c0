#pragma once

#include <cstdint>

// What one key does; 12 bytes when stored: keyCode (byte 0, bytes 1-3 zero), type, value.
enum AssignType : std::int32_t {
    AssignNone = 0,
    AssignDefault = 1,
    AssignSystem = 2,
    AssignMouse = 3,
    AssignMacro = 4,
    AssignMedia = 5,
    AssignEdit = 6,
    AssignCombination = 8,
    AssignSingleKey = 9,
};

struct KeyAssignment {
    static constexpr int RecordSize = 12;

    // Held as a 32-bit word whose upper 24 bits are zero, written back exactly as held.
    std::uint32_t keyCode = 0;
    std::int32_t type = AssignNone;
    std::int32_t value = 0;

    friend bool operator==(const KeyAssignment&, const KeyAssignment&) = default;
};
