#include "model/KeyReferences.h"

std::vector<std::uint8_t> KeyReferences::releaseOtherUsers(KeyTable& table, AssignType type,
                                                           std::int32_t storedIndex,
                                                           std::uint8_t editedKey) {
    std::vector<std::uint8_t> released;
    for (const auto& [code, assignment] : table)
        if (code != editedKey && assignment.type == type && assignment.value == storedIndex)
            released.push_back(code);
    for (const std::uint8_t code : released) {
        KeyAssignment& assignment = table.entry(code);
        assignment.type = AssignDefault;
        assignment.value = 0;
    }
    return released;
}

void KeyReferences::renumber(KeyTable& table, AssignType type, const RecordPositions& positions,
                             std::uint8_t editedKey) {
    std::vector<std::pair<std::uint8_t, int>> moved;
    for (const auto& [code, assignment] : table)
        if (code != editedKey && assignment.type == type)
            if (const std::optional<int> row = positions.rowOf(assignment.value))
                moved.emplace_back(code, *row);
    for (const auto& [code, row] : moved)
        table.entry(code).value = row;
}
