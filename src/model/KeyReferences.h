#pragma once

#include "model/KeyAssignment.h"
#include "model/KeyTable.h"

#include <cstdint>
#include <optional>

// How the key table follows a macro or combination being removed. Only the first other key
// that uses the removed index loses it; the pages tell the main window about that key.
class KeyReferences {
public:
    // In ascending key code, the first key other than editedKey whose assignment is
    // {type, index}.
    static std::optional<std::uint8_t> firstOtherUser(const KeyTable& table, AssignType type,
                                                      std::int32_t index, std::uint8_t editedKey);
    // Sets that key to {AssignDefault, 0} (its keyCode stays) and returns its code.
    static std::optional<std::uint8_t> releaseFirstOtherUser(KeyTable& table, AssignType type,
                                                             std::int32_t index,
                                                             std::uint8_t editedKey);
};
