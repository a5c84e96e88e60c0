#include "model/KeyReferences.h"

#include <gtest/gtest.h>

namespace {

void assign(KeyTable& table, std::uint8_t code, AssignType type, std::int32_t value) {
    table.entry(code) = {code, type, value};
}

TEST(KeyReferences, ReleasesOnlyTheLowestOtherKeyUsingTheIndex) {
    KeyTable table;
    assign(table, 10, AssignCombination, 1);  // the key being edited
    assign(table, 15, AssignMacro, 1);        // same index, other table
    assign(table, 30, AssignCombination, 1);
    assign(table, 20, AssignCombination, 1);
    assign(table, 40, AssignCombination, 2);

    EXPECT_EQ(KeyReferences::releaseFirstOtherUser(table, AssignCombination, 1, 10),
              std::optional<std::uint8_t>(20));
    EXPECT_EQ(table.entry(20), (KeyAssignment{20, AssignDefault, 0}));
    EXPECT_EQ(table.entry(30), (KeyAssignment{30, AssignCombination, 1}));
    EXPECT_EQ(table.entry(40), (KeyAssignment{40, AssignCombination, 2}));
    EXPECT_EQ(table.entry(10), (KeyAssignment{10, AssignCombination, 1}));
    EXPECT_EQ(table.entry(15), (KeyAssignment{15, AssignMacro, 1}));

    EXPECT_EQ(KeyReferences::firstOtherUser(table, AssignMacro, 1, 10),
              std::optional<std::uint8_t>(15));
    EXPECT_EQ(KeyReferences::firstOtherUser(table, AssignMacro, 1, 15), std::nullopt);
    EXPECT_EQ(KeyReferences::releaseFirstOtherUser(table, AssignCombination, 5, 10), std::nullopt);
    EXPECT_EQ(table.size(), 5u);
}

}  // namespace
