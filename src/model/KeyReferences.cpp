#include "model/KeyReferences.h"

std::optional<std::uint8_t> KeyReferences::firstOtherUser(const KeyTable& table, AssignType type,
                                                          std::int32_t index,
                                                          std::uint8_t editedKey) {
    for (const auto& [code, assignment] : table)
        if (code != editedKey && assignment.type == type && assignment.value == index)
            return code;
    return std::nullopt;
}

std::optional<std::uint8_t> KeyReferences::releaseFirstOtherUser(KeyTable& table, AssignType type,
                                                                 std::int32_t index,
                                                                 std::uint8_t editedKey) {
    const std::optional<std::uint8_t> code = firstOtherUser(table, type, index, editedKey);
    if (code) {
        KeyAssignment& assignment = table.entry(*code);
        assignment.type = AssignDefault;
        assignment.value = 0;
    }
    return code;
}
