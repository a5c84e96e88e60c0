#include "model/KeyReferences.h"

#include <gtest/gtest.h>

namespace {

void assign(KeyTable& table, std::uint8_t code, AssignType type, std::int32_t value) {
    table.entry(code) = {code, type, value};
}

TEST(KeyReferences, ReleasesEveryOtherKeyUsingTheRecord) {
    KeyTable table;
    assign(table, 10, AssignCombination, 1);  // the key being edited
    assign(table, 15, AssignMacro, 1);        // same index, other table
    assign(table, 30, AssignCombination, 1);
    assign(table, 20, AssignCombination, 1);
    assign(table, 40, AssignCombination, 2);

    EXPECT_EQ(KeyReferences::releaseOtherUsers(table, AssignCombination, 1, 10),
              (std::vector<std::uint8_t>{20, 30}));
    EXPECT_EQ(table.entry(20), (KeyAssignment{20, AssignDefault, 0}));
    EXPECT_EQ(table.entry(30), (KeyAssignment{30, AssignDefault, 0}));
    EXPECT_EQ(table.entry(40), (KeyAssignment{40, AssignCombination, 2}));
    EXPECT_EQ(table.entry(10), (KeyAssignment{10, AssignCombination, 1}));
    EXPECT_EQ(table.entry(15), (KeyAssignment{15, AssignMacro, 1}));

    EXPECT_TRUE(KeyReferences::releaseOtherUsers(table, AssignCombination, 5, 10).empty());
    EXPECT_EQ(table.size(), 5u);
}

TEST(KeyReferences, KeysFollowTheirRecordsToWhereTheListStoresThem) {
    // Records 0..4 loaded; the user removes 1, adds one, removes 2 (now row 1).
    RecordPositions positions;
    positions.reset(5);
    EXPECT_EQ(positions.remove(1), 1);
    positions.append();
    EXPECT_EQ(positions.remove(1), 2);
    EXPECT_EQ(positions.remove(3), std::nullopt);  // the added row was never stored
    EXPECT_EQ(positions.remove(7), std::nullopt);

    KeyTable table;
    assign(table, 10, AssignMacro, 4);  // the key being edited keeps its value
    assign(table, 20, AssignMacro, 0);
    assign(table, 30, AssignMacro, 3);
    assign(table, 40, AssignMacro, 4);
    assign(table, 50, AssignCombination, 4);  // other table
    assign(table, 60, AssignMacro, 9);        // names nothing the list holds
    assign(table, 70, AssignMacro, -1);
    KeyReferences::renumber(table, AssignMacro, positions, 10);

    EXPECT_EQ(table.entry(10).value, 4);
    EXPECT_EQ(table.entry(20).value, 0);
    EXPECT_EQ(table.entry(30).value, 1);
    EXPECT_EQ(table.entry(40).value, 2);
    EXPECT_EQ(table.entry(50).value, 4);
    EXPECT_EQ(table.entry(60).value, 9);
    EXPECT_EQ(table.entry(70).value, -1);
    EXPECT_EQ(table.entry(40).type, AssignMacro);
}

}  // namespace
