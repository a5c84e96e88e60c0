#include "model/MacroTable.h"

#include "ImageBytes.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr std::size_t Record = tagMacroInfo::RecordSize;

struct MacroTableTest : ::testing::Test {
    MacroTable table;
    std::unique_ptr<MacroTable::Image> image = std::make_unique<MacroTable::Image>();

    std::span<const std::uint8_t> slot(int i) const {
        return std::span<const std::uint8_t>(*image).subspan(std::size_t(i) * Record, Record);
    }
    // Saves, then reads the image back into a second table.
    MacroTable roundTrip() {
        table.SaveToImage(*image);
        MacroTable loaded;
        loaded.LoadFromImage(*image);
        return loaded;
    }
};

TEST_F(MacroTableTest, EmptyImageLoadsAsEmptyListAndEmptyListSavesAsZeros) {
    table.AddMacro(QStringLiteral("left over"));
    table.LoadFromImage(*image);
    EXPECT_EQ(table.size(), 0);

    image->fill(0xAB);
    table.SaveToImage(*image);
    EXPECT_TRUE(allZero(*image));
}

TEST_F(MacroTableTest, SavedMacrosFillSlotsInOrderWithCountAtTheEnd) {
    table.AddMacro(QStringLiteral("one"));
    table.AddMacro(QStringLiteral("two"));
    EXPECT_EQ(table.AddMacro(QStringLiteral("three")), 2);
    image->fill(0xAB);
    table.SaveToImage(*image);

    EXPECT_EQ(int32At(*image, 130400), 3);
    for (int i = 3; i < MacroTable::Slots; ++i)
        ASSERT_TRUE(allZero(slot(i))) << "slot " << i;
    // A macro saved without recording: loopCount 1, everything else zero but the name.
    std::vector<std::uint8_t> expected(Record, 0);
    putInt32(expected, 8, 1);
    putUtf16(expected, 784, QStringLiteral("two"));
    EXPECT_EQ(std::vector<std::uint8_t>(slot(1).begin(), slot(1).end()), expected);
}

TEST_F(MacroTableTest, EveryFieldLandsAtItsOffset) {
    const int m = table.AddMacro(QStringLiteral("M\u00E4"));
    table.SetAutoDelay(m, 1);
    table.SetLoopEnabled(m, 1);
    table.SetLoopCount(m, 200);
    table.AppendEvent(m, 0x41, false);
    table.AppendEvent(m, 0x41, true);
    table.SetDelay(m, 0, 300);
    table.SetDelay(m, 1, -2);
    table.SaveToImage(*image);

    const std::vector<std::uint8_t> head(image->begin(), image->begin() + 32);
    const std::vector<std::uint8_t> expected = {
        1,    0, 0, 0, 1,    0, 0, 0, 200,  0, 0, 0, 2,    0,    0,    0,  //
        0x41, 0, 0, 0, 0x2C, 1, 0, 0, 0x41, 1, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(head, expected);
    EXPECT_TRUE(allZero(std::span(*image).subspan(32, 784 - 32)));
    const std::vector<std::uint8_t> name(image->begin() + 784, image->begin() + 790);
    EXPECT_EQ(name, (std::vector<std::uint8_t>{'M', 0, 0xE4, 0, 0, 0}));
    EXPECT_TRUE(allZero(std::span(*image).subspan(790, Record - 790)));

    const MacroTable loaded = roundTrip();
    EXPECT_EQ(loaded.RecordAt(0), table.RecordAt(0));
}

TEST_F(MacroTableTest, RemovingMovesLaterMacrosDown) {
    for (const char* name : {"a", "b", "c"})
        table.AddMacro(QString::fromLatin1(name));
    table.RemoveMacro(3);
    table.RemoveMacro(-1);
    ASSERT_EQ(table.size(), 3);

    table.RemoveMacro(0);
    EXPECT_EQ(table.names(), (QStringList{QStringLiteral("b"), QStringLiteral("c")}));
    image->fill(0xAB);
    table.SaveToImage(*image);
    EXPECT_TRUE(allZero(slot(2)));
    EXPECT_EQ(int32At(*image, 130400), 2);

    table.RemoveMacro(1);
    table.RemoveMacro(0);
    EXPECT_EQ(table.size(), 0);
}

TEST_F(MacroTableTest, RecordAtOutsideTheListIsNone) {
    table.AddMacro(QStringLiteral("only"));
    EXPECT_FALSE(table.RecordAt(-1));
    EXPECT_FALSE(table.RecordAt(1));
    ASSERT_TRUE(table.RecordAt(0));
    EXPECT_EQ(table.RecordAt(0)->name, QStringLiteral("only"));
}

TEST(MacroTableDefaultName, TakesTheSmallestFreeNumberComparingCaseExactly) {
    struct Case {
        QStringList names;
        QString expected;
    };
    const Case cases[] = {
        {{}, QStringLiteral("Macro 1")},
        {{QStringLiteral("Macro 1"), QStringLiteral("Macro 3")}, QStringLiteral("Macro 2")},
        {{QStringLiteral("Macro 2"), QStringLiteral("Macro 1")}, QStringLiteral("Macro 3")},
        {{QStringLiteral("macro 1"), QStringLiteral("MACRO 2")}, QStringLiteral("Macro 1")},
        {{QStringLiteral("Macro 1"), QStringLiteral("Macro 1")}, QStringLiteral("Macro 2")},
    };
    for (const Case& c : cases) {
        MacroTable table;
        for (const QString& name : c.names)
            table.AddMacro(name);
        EXPECT_EQ(table.DefaultName(QStringLiteral("Macro")), c.expected)
            << c.names.join('|').toStdString();
    }
    // A prefix is taken as text, never as a format.
    EXPECT_EQ(MacroTable().DefaultName(QStringLiteral("%1 %2%")), QStringLiteral("%1 %2% 1"));
}

TEST_F(MacroTableTest, RecordingStopsAtNinetyFiveEvents) {
    const int m = table.AddMacro(QStringLiteral("long"));
    table.SetLoopCount(m, 7);
    table.AppendEvent(m, 1, false);
    table.ClearEvents(m);
    for (int i = 0; i < 96; ++i)
        table.AppendEvent(m, std::uint8_t(i + 1), i % 2 == 1);

    const tagMacroInfo macro = *table.RecordAt(m);
    EXPECT_EQ(macro.eventCount, 95);
    EXPECT_EQ(macro.events[94], (MacroEvent{95, 0, 0}));
    EXPECT_EQ(macro.events[95], MacroEvent{});
    EXPECT_EQ(macro.loopCount, 7);

    // A pause goes only on a recorded event, so the empty last slot stays empty.
    table.SetDelay(m, 95, 500);
    table.SetDelay(m, -1, 500);
    EXPECT_EQ(table.RecordAt(m)->events[95], MacroEvent{});

    table.ClearEvents(m);
    const tagMacroInfo cleared = *table.RecordAt(m);
    EXPECT_EQ(cleared.eventCount, 0);
    EXPECT_EQ(cleared.events, decltype(cleared.events){});
    EXPECT_EQ(cleared.name, QStringLiteral("long"));
    EXPECT_EQ(cleared.loopCount, 7);
}

TEST_F(MacroTableTest, NamesAreCutToWhatTheFieldHolds) {
    const QString longName(300, QChar(u'x'));
    const int m = table.AddMacro(longName);
    EXPECT_EQ(table.RecordAt(m)->name, longName.left(259));
    table.SetName(m, QStringLiteral("before") + QChar(0) + QStringLiteral("after"));
    EXPECT_EQ(table.RecordAt(m)->name, QStringLiteral("before"));

    table.SetName(m, longName);
    table.SaveToImage(*image);
    EXPECT_EQ(image->at(784 + 2 * 258), 'x');
    EXPECT_EQ(image->at(784 + 2 * 259), 0);
    EXPECT_EQ(roundTrip().RecordAt(0)->name, longName.left(259));
}

TEST_F(MacroTableTest, TheListHoldsNoMoreThanTheImageHasSlots) {
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(table.AddMacro(QString::number(i)), i);
    EXPECT_EQ(table.AddMacro(QStringLiteral("one too many")), -1);
    EXPECT_EQ(table.size(), 100);
    EXPECT_EQ(roundTrip().names(), table.names());
}

TEST_F(MacroTableTest, DamagedCountReadsWithinTheSlots) {
    for (int i = 0; i < 100; ++i)
        putInt32(*image, std::size_t(i) * Record + 8, i + 1);  // a loopCount marks each slot
    struct Case {
        std::int32_t stored;
        int loaded;
    };
    for (const Case c : {Case{-1, 0}, Case{INT32_MIN, 0}, Case{101, 100}, Case{INT32_MAX, 100},
                         Case{100, 100}, Case{7, 7}}) {
        putInt32(*image, 130400, c.stored);
        table.LoadFromImage(*image);
        ASSERT_EQ(table.size(), c.loaded) << c.stored;
        if (c.loaded > 0) {
            EXPECT_EQ(table.RecordAt(c.loaded - 1)->loopCount, c.loaded);
        }
    }
}

TEST_F(MacroTableTest, DamagedRecordKeepsItsValidPart) {
    putInt32(*image, 130400, 1);
    putInt32(*image, 8, 3);
    (*image)[12] = 200;  // eventCount 200
    for (std::size_t e = 0; e < 96; ++e) {
        (*image)[16 + 8 * e] = std::uint8_t(e + 1);
        putInt32(*image, 16 + 8 * e + 4, int(e) * 10);
    }
    (*image)[16 + 2] = 0x55;  // padding that should have been zero
    putUtf16(*image, 784, QString(260, QChar(u'n')));

    table.LoadFromImage(*image);
    tagMacroInfo macro = *table.RecordAt(0);
    EXPECT_EQ(macro.eventCount, 95);
    EXPECT_EQ(macro.events[0], (MacroEvent{1, 0, 0}));
    EXPECT_EQ(macro.events[94], (MacroEvent{95, 0, 940}));
    EXPECT_EQ(macro.events[95], MacroEvent{});
    EXPECT_EQ(macro.name, QString(259, QChar(u'n')));
    EXPECT_EQ(macro.loopCount, 3);

    // Written back, the record is well formed and reads the same again.
    table.SaveToImage(*image);
    EXPECT_EQ((*image)[12], 95);
    EXPECT_EQ((*image)[18], 0);
    EXPECT_TRUE(allZero(std::span(*image).subspan(16 + 8 * 95, 8)));
    EXPECT_EQ((*image)[784 + 2 * 259], 0);
    table.LoadFromImage(*image);
    EXPECT_EQ(table.RecordAt(0), macro);
}

TEST(MacroTableProcessWide, LoadsFromAndSavesToTheSharedImage) {
    putInt32(MacroTable::image(), 130400, 1);
    putUtf16(MacroTable::image(), 784, QStringLiteral("shared"));
    MacroTable::instance().LoadFromImage();
    ASSERT_EQ(MacroTable::instance().size(), 1);
    EXPECT_EQ(MacroTable::instance().RecordAt(0)->name, QStringLiteral("shared"));

    MacroTable::instance().RemoveMacro(0);
    MacroTable::instance().SaveToImage();
    EXPECT_TRUE(allZero(MacroTable::image()));
    EXPECT_EQ(&MacroTable::instance(), &MacroTable::instance());
}

}  // namespace
