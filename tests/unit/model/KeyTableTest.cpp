#include "model/KeyTable.h"

#include "platform/LittleEndian.h"
#include "platform/MessageBox.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {
using Image = std::array<std::uint8_t, KeySettingImage::Size>;

void putRecord(Image& image, int r, std::uint8_t code, std::int32_t type, std::uint32_t value) {
    const std::size_t at = std::size_t(r) * 12;
    image[at] = code;
    le::writeI32(image, at + 4, type);
    le::writeU32(image, at + 8, value);
}

// 92 distinct key codes, as a layout would give them: 100..191.
KeyTable::LayoutCodes distinctCodes() {
    KeyTable::LayoutCodes codes{};
    for (int i = 0; i < 92; ++i)
        codes[std::size_t(i)] = std::uint8_t(100 + i);
    return codes;
}

struct RecordedMessages {
    QStringList shown;
    MessageBox::Presenter previous =
        MessageBox::setPresenter([this](const QString&, const QString& text) { shown << text; });
    ~RecordedMessages() { MessageBox::setPresenter(previous); }
};
}  // namespace

TEST(KeyTable, LoadDerivesValueFromTypeAndRecordBytes) {
    struct Case {
        std::int32_t type;
        std::uint32_t stored;
        std::int32_t loaded;
    };
    const Case cases[] = {
        {AssignSingleKey, 0x141, 0x41},  // only byte 8 counts
        {AssignDefault, 77, 0},          // no value for the key's own function
        {AssignNone, 5, 0},
        {7, 0x12345678, 0x12345678},    // unknown to the tool, kept as stored
        {AssignMacro, 0xFFFFFFFF, -1},  // full 32-bit word
        {AssignSystem, 11, 11},
        {-3, 9, 0},
        {10, 9, 0},
    };
    Image image{};
    for (int r = 0; r < 92; ++r)
        putRecord(image, r, std::uint8_t(r + 1), AssignDefault, 0);
    for (std::size_t i = 0; i < std::size(cases); ++i)
        putRecord(image, int(i), std::uint8_t(i + 1), cases[i].type, cases[i].stored);
    image[1] = 0xAB;  // bytes 1-3 of a record carry nothing

    KeyTable table;
    table.loadRecords(image);
    ASSERT_EQ(table.size(), 92u);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const KeyAssignment& a = table.entry(std::uint8_t(i + 1));
        EXPECT_EQ(a.keyCode, i + 1);
        EXPECT_EQ(a.type, cases[i].type);
        EXPECT_EQ(a.value, cases[i].loaded) << "type " << cases[i].type;
    }
}

TEST(KeyTable, SavesInAscendingKeyCodeWhateverTheLoadOrder) {
    Image image{};
    for (int r = 0; r < 92; ++r)
        putRecord(image, r, std::uint8_t(250 - r), AssignMedia, std::uint32_t(r));
    KeyTable table;
    table.loadRecords(image);

    Image saved{};
    saved.fill(0xCC);
    ASSERT_TRUE(table.toRecords(saved));
    for (int r = 0; r < 92; ++r) {
        const std::size_t at = std::size_t(r) * 12;
        EXPECT_EQ(le::readU32(saved, at), std::uint32_t(159 + r));  // zero upper bytes
        EXPECT_EQ(le::readI32(saved, at + 4), AssignMedia);
        EXPECT_EQ(le::readI32(saved, at + 8), 91 - r);
    }
    std::uint8_t previous = 0;
    for (const auto& [code, a] : table) {  // iteration is ascending as well
        EXPECT_GT(code, previous);
        previous = code;
    }
}

TEST(KeyTable, RepeatedKeyCodeKeepsTheFirstAndCannotBeSaved) {
    Image image{};
    for (int r = 0; r < 92; ++r)
        putRecord(image, r, std::uint8_t(r + 1), AssignDefault, 0);
    putRecord(image, 0, 50, AssignMouse, 4);  // record 49 also has key code 50
    KeyTable table;
    table.loadRecords(image);
    EXPECT_EQ(table.size(), 91u);
    EXPECT_EQ(table.entry(50), (KeyAssignment{50, AssignMouse, 4}));

    RecordedMessages messages;
    Image out{};
    out.fill(0x5A);
    EXPECT_FALSE(table.toRecords(out));
    EXPECT_EQ(messages.shown, QStringList{"error!"});
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](std::uint8_t b) { return b == 0x5A; }));
}

TEST(KeyTable, EntryForAnAbsentCodeAddsABlankRecord) {
    KeyTable table;
    KeySettingImage image;
    table.buildDefaults(distinctCodes(), image);
    ASSERT_EQ(table.size(), 92u);
    EXPECT_EQ(table.entry(7), (KeyAssignment{0, AssignNone, 0}));
    EXPECT_EQ(table.size(), 93u);
}

TEST(KeyTable, DefaultsFollowTheLayout) {
    KeyTable table;
    KeySettingImage image;
    image.bytes.fill(0x77);
    table.buildDefaults(distinctCodes(), image);
    ASSERT_EQ(table.size(), 92u);
    for (const auto& [code, a] : table)
        EXPECT_EQ(a, (KeyAssignment{code, AssignDefault, 0}));
    for (int i = 0; i < 92; ++i) {
        const std::size_t at = std::size_t(i) * 12;
        const Image::value_type expected[12] = {
            std::uint8_t(100 + i), 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
        EXPECT_TRUE(std::equal(expected, expected + 12, image.bytes.begin() + long(at))) << i;
    }
}

TEST(KeyTable, MissingLayoutGivesOneEntryForKeyZero) {
    KeyTable table;
    KeySettingImage image;
    table.buildDefaults(KeyTable::LayoutCodes{}, image);
    EXPECT_EQ(table.size(), 1u);
    EXPECT_EQ(le::readI32(image.bytes, 91 * 12 + 4), AssignDefault);
}
