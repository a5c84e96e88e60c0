#include "model/CombTable.h"

#include "ImageBytes.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr std::size_t Record = tagCombKey::RecordSize;

QString testName(int code) {
    switch (code) {
        case 17:
            return QStringLiteral("Ctrl");
        case 65:
            return QStringLiteral("A");
        default:
            return QString::number(code);
    }
}

struct CombTableTest : ::testing::Test {
    CombTable table;
    std::unique_ptr<CombTable::Image> image = std::make_unique<CombTable::Image>();

    std::span<const std::uint8_t> slot(int i) const {
        return std::span<const std::uint8_t>(*image).subspan(std::size_t(i) * Record, Record);
    }
};

TEST_F(CombTableTest, EmptyImageLoadsAsEmptyListAndEmptyListSavesAsZeros) {
    table.AddCombination(QStringLiteral("left over"));
    table.LoadFromImage(*image);
    EXPECT_EQ(table.size(), 0);

    image->fill(0xAB);
    table.SaveToImage(*image);
    EXPECT_TRUE(allZero(*image));
}

TEST_F(CombTableTest, SavedCombinationsFillSlotsInOrderWithCountAtTheEnd) {
    EXPECT_EQ(table.AddCombination(QStringLiteral("Comb 1")), 0);
    EXPECT_EQ(table.AddCombination(QStringLiteral("Comb 2")), 1);
    const std::uint8_t keys[] = {17, 18, 46};
    table.SetKeys(0, keys);
    image->fill(0xAB);
    table.SaveToImage(*image);

    EXPECT_EQ(int32At(*image, 52400), 2);
    for (int i = 2; i < CombTable::Slots; ++i)
        ASSERT_TRUE(allZero(slot(i))) << "slot " << i;
    std::vector<std::uint8_t> expected(Record, 0);
    expected[0] = 17;
    expected[1] = 18;
    expected[2] = 46;
    putUtf16(expected, 4, QStringLiteral("Comb 1"));
    EXPECT_EQ(std::vector<std::uint8_t>(slot(0).begin(), slot(0).end()), expected);
    // Saved without captured keys: all four keys 0, the name at offset 4.
    std::fill(expected.begin(), expected.end(), 0);
    putUtf16(expected, 4, QStringLiteral("Comb 2"));
    EXPECT_EQ(std::vector<std::uint8_t>(slot(1).begin(), slot(1).end()), expected);

    CombTable loaded;
    loaded.LoadFromImage(*image);
    EXPECT_EQ(loaded.RecordAt(0), table.RecordAt(0));
    EXPECT_EQ(loaded.RecordAt(1), table.RecordAt(1));
}

TEST_F(CombTableTest, SetKeysFillsFromTheFirstSlotAndZerosTheRest) {
    table.AddCombination(QStringLiteral("c"));
    const std::uint8_t five[] = {1, 2, 3, 4, 5};
    table.SetKeys(0, five);
    EXPECT_EQ(table.RecordAt(0)->keys, (std::array<std::uint8_t, 4>{1, 2, 3, 4}));
    const std::uint8_t one[] = {9};
    table.SetKeys(0, one);
    EXPECT_EQ(table.RecordAt(0)->keys, (std::array<std::uint8_t, 4>{9, 0, 0, 0}));
    table.SetKeys(1, one);  // outside the list
    EXPECT_EQ(table.size(), 1);
}

TEST_F(CombTableTest, DisplayTextQuotesEachKeyName) {
    table.AddCombination(QStringLiteral("c"));
    EXPECT_EQ(table.DisplayText(0, testName), QString());
    const std::uint8_t ctrlA[] = {17, 65, 0, 0};
    table.SetKeys(0, ctrlA);
    EXPECT_EQ(table.DisplayText(0, testName), QStringLiteral("\u201CCtrl\u201D + \u201CA\u201D"));
    const std::uint8_t four[] = {17, 18, 19, 20};
    table.SetKeys(0, four);
    EXPECT_EQ(
        table.DisplayText(0, testName),
        QStringLiteral("\u201CCtrl\u201D + \u201C18\u201D + \u201C19\u201D + \u201C20\u201D"));
    EXPECT_EQ(table.DisplayText(1, testName), QString());
    EXPECT_EQ(table.DisplayText(-1, testName), QString());
}

TEST_F(CombTableTest, RemovingMovesLaterCombinationsDown) {
    for (const char* name : {"a", "b", "c"})
        table.AddCombination(QString::fromLatin1(name));
    table.RemoveCombination(1);
    EXPECT_EQ(table.names(), (QStringList{QStringLiteral("a"), QStringLiteral("c")}));
    table.RemoveCombination(2);
    EXPECT_EQ(table.size(), 2);
    EXPECT_FALSE(table.RecordAt(2));
    EXPECT_FALSE(table.RecordAt(-1));
    table.SaveToImage(*image);
    EXPECT_TRUE(allZero(slot(2)));
    EXPECT_EQ(int32At(*image, 52400), 2);
}

TEST(CombTableDefaultName, TakesTheSmallestFreeNumberOfTheShownNames) {
    const QString prefix = QStringLiteral("Comb");
    EXPECT_EQ(CombTable::DefaultName(prefix, {}), QStringLiteral("Comb 1"));
    EXPECT_EQ(CombTable::DefaultName(prefix, {QStringLiteral("Comb 1"), QStringLiteral("Comb 3")}),
              QStringLiteral("Comb 2"));
    EXPECT_EQ(CombTable::DefaultName(prefix, {QStringLiteral("Comb 1"), QStringLiteral("comb 2")}),
              QStringLiteral("Comb 2"));
    EXPECT_EQ(CombTable::DefaultName(prefix, {QStringLiteral("Comb 1"), QStringLiteral("Comb 2")}),
              QStringLiteral("Comb 3"));
}

TEST_F(CombTableTest, DamagedImageKeepsItsValidPart) {
    for (int i = 0; i < 100; ++i)
        (*image)[std::size_t(i) * Record] = std::uint8_t(i + 1);
    putInt32(*image, 52400, -5);
    table.LoadFromImage(*image);
    EXPECT_EQ(table.size(), 0);

    putInt32(*image, 52400, 1000);
    putUtf16(*image, 4, QString(260, QChar(0x4E2D)));
    table.LoadFromImage(*image);
    ASSERT_EQ(table.size(), 100);
    EXPECT_EQ(table.RecordAt(99)->keys[0], 100);
    EXPECT_EQ(table.RecordAt(0)->name, QString(259, QChar(0x4E2D)));

    table.SaveToImage(*image);
    EXPECT_EQ(int32At(*image, 52400), 100);
    EXPECT_EQ((*image)[4 + 2 * 259], 0);
    EXPECT_EQ((*image)[4 + 2 * 259 + 1], 0);
}

TEST_F(CombTableTest, NamesAreCutToWhatTheFieldHolds) {
    table.AddCombination(QString(400, QChar(u'y')));
    EXPECT_EQ(table.RecordAt(0)->name.size(), 259);
    table.SetName(0, QStringLiteral("ok"));
    EXPECT_EQ(table.RecordAt(0)->name, QStringLiteral("ok"));
    for (int i = 1; i < 100; ++i)
        table.AddCombination(QString::number(i));
    EXPECT_EQ(table.AddCombination(QStringLiteral("one too many")), -1);
}

}  // namespace
