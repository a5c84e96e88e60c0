#pragma once

#include "model/KeyAssignment.h"
#include "model/KeyTable.h"
#include "model/RecordPositions.h"

#include <cstdint>
#include <vector>

// How the key table follows the macro or combination table when the user removes records.
// Keys name records by their stored position. A removal first happens in the working list;
// every other key that named the removed record loses it at once. The records after it move
// up only when the list is stored, and then the keys that name them follow.
class KeyReferences {
public:
    // Every key other than editedKey whose assignment is {type, storedIndex} becomes
    // {AssignDefault, 0} (its keyCode stays). Returns their codes in ascending order, so the
    // caller can report each one.
    static std::vector<std::uint8_t> releaseOtherUsers(KeyTable& table, AssignType type,
                                                       std::int32_t storedIndex,
                                                       std::uint8_t editedKey);
    // Every key other than editedKey of this type whose record the working list still holds
    // is given the record's row, its position once the list is stored. Values the list does
    // not hold stay as they are.
    static void renumber(KeyTable& table, AssignType type, const RecordPositions& positions,
                         std::uint8_t editedKey);
};
