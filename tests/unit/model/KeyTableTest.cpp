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

// 92 distinct key codes, as a layout would give them: first .. first+91.
KeyTable::LayoutCodes distinctCodes(int first = 100) {
    KeyTable::LayoutCodes codes{};
    for (int i = 0; i < 92; ++i)
        codes[std::size_t(i)] = std::uint8_t(first + i);
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
    table.loadRecords(image, distinctCodes(1));
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
    table.loadRecords(image, distinctCodes(159));

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

// A damaged stored image must not make every later save fail: what it holds for layout
// keys is kept, and the layout fills in the rest.
TEST(KeyTable, DamagedImagesAreCompletedFromTheLayout) {
    struct Case {
        const char* what;
        int records;   // records taken from a full image, the rest zero
        int repeatAt;  // a record that repeats the code of record 60, or -1
    };
    const Case cases[] = {
        {"600 bytes: 50 records, then 42 zero records for key 0", 50, -1},
        {"a repeated code", 92, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Image image{};
        for (int r = 0; r < c.records; ++r)
            putRecord(image, r, std::uint8_t(100 + r), AssignMacro, std::uint32_t(r));
        if (c.repeatAt >= 0)
            putRecord(image, c.repeatAt, 160, AssignMouse, 4);  // 160 is record 60's code
        putRecord(image, 10, 7, AssignMedia, 3);                // 7 is no layout key

        KeyTable table;
        table.loadRecords(image, distinctCodes());
        ASSERT_EQ(table.size(), 92u);
        for (int r = 0; r < 92; ++r) {
            const std::uint8_t code = std::uint8_t(100 + r);
            KeyAssignment expected{code, AssignMacro, r};
            if (r >= c.records || r == c.repeatAt || r == 10)
                expected = {code, AssignDefault, 0};  // no usable record of its own
            if (c.repeatAt >= 0 && code == 160)
                expected = {160, AssignMouse, 4};  // the first record of a code wins
            EXPECT_EQ(table.entry(code), expected) << int(code);
        }

        RecordedMessages messages;
        Image saved{};
        EXPECT_TRUE(table.toRecords(saved));
        EXPECT_TRUE(messages.shown.isEmpty());
    }
}

TEST(KeyTable, LayoutWithoutNinetyTwoDistinctKeysStillCannotBeSaved) {
    KeyTable::LayoutCodes layout = distinctCodes();
    layout[91] = layout[0];
    Image image{};
    for (int r = 0; r < 92; ++r)
        putRecord(image, r, std::uint8_t(100 + r), AssignDefault, 0);
    KeyTable table;
    table.loadRecords(image, layout);
    EXPECT_EQ(table.size(), 91u);

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
