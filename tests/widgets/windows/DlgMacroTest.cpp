#include "windows/DlgMacro.h"

#include "controls/GDIBitmapBtn.h"
#include "controls/ListBoxEx.h"
#include "widgets/windows/KeyPageFixture.h"

#include <QLineEdit>
#include <QTest>

#include <memory>

namespace {

class MacroPage : public CapturingPageFixture<CDlgMacro> {
protected:
    CListBoxEx& macros() { return *page_->findChild<CListBoxEx*>(QStringLiteral("macroList")); }
    CListBoxEx& events() { return *page_->findChild<CListBoxEx*>(QStringLiteral("eventList")); }
    QLineEdit& field(const char* name) {
        return *page_->findChild<QLineEdit*>(QLatin1String(name));
    }
    // The event list as "text/icon kind".
    QStringList eventRows() {
        QStringList rows;
        for (int row = 0; row < events().count(); ++row)
            rows << QStringLiteral("%1/%2").arg(events().rowText(row)).arg(events().iconKind(row));
        return rows;
    }
    tagMacroInfo record(int index) { return *MacroTable::instance().RecordAt(index); }
};

TEST_F(MacroPage, AutomaticPausesShowWhenTheNextKeyArrives) {
    std::uint32_t now = 1000;
    TickCount::setSourceForTesting([&] { return now; });
    open();
    click("newButton");
    click("autoDelaySwitch");  // not recording: stays off
    EXPECT_FALSE(button("autoDelaySwitch").GetChecked());
    click("recordButton");
    ASSERT_TRUE(page_->isRecording());
    EXPECT_EQ(button("recordButton").GetText(), "Stop");
    click("autoDelaySwitch");
    EXPECT_TRUE(button("autoDelaySwitch").GetChecked());

    postKey(page(), 'A', false);
    postKey(page(), 'A', false);  // a held key reports again
    EXPECT_EQ(eventRows(), QStringList{"A/3"});
    now += 300;
    postKey(page(), 'A', true);
    EXPECT_EQ(eventRows(), (QStringList{"A/3", "300 ms/4", "A/2"}));
    EXPECT_EQ(events().selectedRow(), 2);
    now += 40;
    postKey(page(), 'B', false);
    EXPECT_EQ(eventRows(), (QStringList{"A/3", "300 ms/4", "A/2", "40 ms/4", "B/3"}));

    click("recordButton");
    EXPECT_FALSE(page_->isRecording());
    EXPECT_FALSE(button("autoDelaySwitch").GetChecked());
    const tagMacroInfo macro = record(0);
    ASSERT_EQ(macro.eventCount, 3);
    EXPECT_EQ(macro.events[0], (MacroEvent{'A', 0, 300}));
    EXPECT_EQ(macro.events[1], (MacroEvent{'A', 1, 40}));
    EXPECT_EQ(macro.events[2], (MacroEvent{'B', 0, 0}));
    EXPECT_EQ(macro.autoDelay, 0);  // the button stop switches it off again

    // Keys after the recording are not taken.
    postKey(page(), 'C', false);
    EXPECT_EQ(record(0).eventCount, 3);
}

TEST_F(MacroPage, WithoutAutomaticPausesNoneIsMeasured) {
    std::uint32_t now = 1000;
    TickCount::setSourceForTesting([&] { return now; });
    open();
    click("newButton");
    click("recordButton");
    postKey(page(), 'A', false);
    now += 300;
    postKey(page(), 'A', true);
    EXPECT_EQ(eventRows(), (QStringList{"A/3", "A/2"}));
    EXPECT_EQ(record(0).events[0].delayMs, 0);
}

TEST_F(MacroPage, ARecordingStopsGrowingAt95Events) {
    open();
    click("newButton");
    click("recordButton");
    for (int i = 0; i < 50; ++i)
        pressAndRelease(page(), {std::uint64_t('A' + i % 26)});
    EXPECT_EQ(record(0).eventCount, 95);
    EXPECT_EQ(events().count(), 95);
    EXPECT_EQ(record(0).events[95], MacroEvent{});
}

TEST_F(MacroPage, NewStopsAtElevenMacros) {
    storeMacros(2);
    open();
    for (int i = 0; i < 12; ++i)
        click("newButton");
    ASSERT_EQ(macros().count(), 11);
    EXPECT_EQ(MacroTable::instance().size(), 11);
    EXPECT_EQ(macros().rowText(2), "Recorded 1");
    EXPECT_EQ(macros().rowText(10), "Recorded 9");
    EXPECT_EQ(macros().selectedRow(), 10);
}

TEST_F(MacroPage, RenamingToNothingGivesTheNewMacroText) {
    storeMacros(2);
    open();
    page_->show();
    QTest::mouseDClick(macros().viewport(), Qt::LeftButton, {},
                       macros().visualItemRect(macros().item(0)).center());
    ASSERT_NE(macros().editField(), nullptr);
    macros().editField()->clear();
    QTest::keyClick(macros().editField(), Qt::Key_Return);
    deliverPosts();
    EXPECT_EQ(macros().rowText(0), "Recorded");
    EXPECT_EQ(record(0).name, "Recorded");
    EXPECT_EQ(eventRows(), QStringList{"A/3"});  // the renamed macro is shown
}

TEST_F(MacroPage, NumberFieldsTakeDigitsAndClampThem) {
    storeMacros(1);
    assign(EditedKey, AssignMacro, 0);
    open();
    QLineEdit& loops = field("loopCountField");
    EXPECT_FALSE(loops.isEnabled());
    // Never switched on, the loop leaves the macro alone whatever the field says.
    loops.setText(QStringLiteral("7"));
    EXPECT_EQ(record(0).loopCount, 1);

    click("loopSwitch");
    ASSERT_TRUE(loops.isEnabled());
    EXPECT_EQ(record(0).loopEnabled, 1);
    struct Case {
        QLineEdit* field;
        const char* typed;
        const char* shown;
    };
    QLineEdit* delay = &field("delayField");
    const Case cases[] = {
        {&loops, "0", "1"},  {&loops, "250", "200"},  {&loops, "12", "12"},  {&loops, "x7y", "7"},
        {delay, "20", "20"}, {delay, "7000", "6349"}, {delay, "300", "300"}, {delay, "-5", "5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        // Typed over the whole text, as emptying the loop field would put "1" back.
        c.field->selectAll();
        QTest::keyClicks(c.field, QLatin1String(c.typed));
        EXPECT_EQ(c.field->text(), c.shown);
    }
    EXPECT_EQ(record(0).loopCount, 7);
    EXPECT_EQ(page_->delayValue(), 50);  // "5" is below the shortest pause
}

TEST_F(MacroPage, ModifyDelayChangesOnlyAnExistingPause) {
    std::uint32_t now = 1000;
    TickCount::setSourceForTesting([&] { return now; });
    open();
    click("newButton");
    click("recordButton");
    click("autoDelaySwitch");
    postKey(page(), 'A', false);
    now += 100;
    postKey(page(), 'A', true);
    now += 100;
    postKey(page(), 'B', false);
    click("recordButton");
    page_->show();

    field("delayField").setText(QStringLiteral("20"));  // below the shortest pause: 50
    selectRow(events(), 2);                             // a key row
    click("modifyDelayButton");
    EXPECT_EQ(record(0).events[1].delayMs, 100);
    selectRow(events(), 3);  // the pause after the release
    click("modifyDelayButton");
    EXPECT_EQ(record(0).events[1].delayMs, 50);
    EXPECT_EQ(eventRows(), (QStringList{"A/3", "100 ms/4", "A/2", "50 ms/4", "B/3"}));
    EXPECT_EQ(events().selectedRow(), 3);
}

TEST_F(MacroPage, DeletingSelectsTheNextAndFinallyNothing) {
    storeMacros(3);
    assign(EditedKey, AssignMacro, 2);
    open();
    click("deleteButton");
    EXPECT_EQ(macros().selectedRow(), 1);
    EXPECT_EQ(eventRows(), QStringList{"B/3"});
    click("deleteButton");
    click("deleteButton");
    EXPECT_EQ(macros().count(), 0);
    EXPECT_EQ(events().count(), 0);
    EXPECT_FALSE(field("loopCountField").isEnabled());
    EXPECT_EQ(MacroTable::instance().size(), 0);
}

TEST_F(MacroPage, OkWithoutSelectionStoresTheTableAndGivesTheDefault) {
    storeMacros(2);
    assign(EditedKey, AssignMacro, 5);  // past the table: nothing selected
    open();
    EXPECT_EQ(macros().selectedRow(), -1);
    click("newButton");
    macros().setSelectedRow(-1);
    page_->ApplyAssignment();
    EXPECT_EQ(assignment(EditedKey), (KeyAssignment{EditedKey, AssignDefault, 0}));
    EXPECT_EQ(keysPosted(MainWindowReference::KeyChanged), std::vector<std::int64_t>{EditedKey});
    const std::vector<std::uint8_t> stored =
        registryValue(QStringLiteral("MacroSetting"), MacroTable::ImageSize);
    ASSERT_EQ(stored.size(), std::size_t(MacroTable::ImageSize));
    EXPECT_EQ(stored[MacroTable::CountOffset], 3);
}

TEST_F(MacroPage, OkGivesTheKeyTheSelectedMacro) {
    storeMacros(3);
    open();
    page_->show();
    selectRow(macros(), 1);
    EXPECT_EQ(eventRows(), QStringList{"B/3"});
    page_->ApplyAssignment();
    EXPECT_EQ(assignment(EditedKey), (KeyAssignment{EditedKey, AssignMacro, 1}));
}

TEST_F(MacroPage, ChangingTheSelectionEndsTheRecording) {
    storeMacros(2);
    open();
    page_->show();
    selectRow(macros(), 0);
    click("recordButton");
    ASSERT_TRUE(page_->isRecording());
    selectRow(macros(), 1);
    EXPECT_FALSE(page_->isRecording());
    EXPECT_FALSE(button("recordButton").GetChecked());
    postKey(page(), 'Z', false);
    EXPECT_EQ(record(1).eventCount, 1);
    EXPECT_EQ(record(0).eventCount, 0);  // cleared when its recording began
}

}  // namespace
