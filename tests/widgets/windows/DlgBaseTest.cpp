#include "windows/DlgBase.h"

#include "AssignmentPageTesting.h"

using namespace pagetesting;

namespace {
class DlgBase : public PageTest {};

struct ShownCase {
    const char* name;
    int clickedRow;  // what the user picked before the page is shown again; -1 for nothing
    Stored stored;
    int shownRow;
    KeyAssignment applied;
};

class DlgBaseShows : public PageTest, public ::testing::WithParamInterface<ShownCase> {};

const ShownCase shownCases[] = {
    {"EditRow", -1, {AssignEdit, 4}, 4, {EditedKey, AssignEdit, 4}},
    {"FirstEditRow", -1, {AssignEdit, 0}, 0, {EditedKey, AssignEdit, 0}},
    {"SystemRow", -1, {AssignSystem, 11}, 11, {EditedKey, AssignSystem, 11}},
    // The row decides the type that OK stores, not the stored type.
    {"EditTypeOnSystemRow", -1, {AssignEdit, 12}, 12, {EditedKey, AssignSystem, 12}},
    {"SystemTypeOnEditRow", -1, {AssignSystem, 3}, 3, {EditedKey, AssignEdit, 3}},
    {"EditBeyondTheList", -1, {AssignEdit, 20}, -1, {EditedKey, AssignDefault, 0}},
    {"SystemBelowTheList", -1, {AssignSystem, -1}, -1, {EditedKey, AssignDefault, 0}},
    {"Default", -1, {AssignDefault, 0}, -1, {EditedKey, AssignDefault, 0}},
    {"AbsentKey", -1, {AssignNone, 0}, -1, {EditedKey, AssignDefault, 0}},
    {"OtherPagesType", 2, {AssignMedia, 3}, -1, {EditedKey, AssignDefault, 0}},
    // A value outside the list leaves what the user picked.
    {"PickedLastEditRow", 8, {AssignEdit, 14}, 8, {EditedKey, AssignEdit, 8}},
    {"PickedFirstSystemRow", 9, {AssignSystem, 14}, 9, {EditedKey, AssignSystem, 9}},
    {"PickedLastRow", 13, {AssignEdit, -3}, 13, {EditedKey, AssignSystem, 13}},
    {"PickedThenShownInList", 2, {AssignSystem, 10}, 10, {EditedKey, AssignSystem, 10}},
};
}  // namespace

TEST_P(DlgBaseShows, TheStoredFunctionAndOkStoresTheShownRow) {
    const ShownCase& c = GetParam();
    auto* page = makePage<CDlgBase>();
    ASSERT_EQ(page->functionList()->selectedRow(), -1);
    if (c.clickedRow >= 0)
        clickRow(page, page->functionList(), c.clickedRow);
    store(c.stored);

    page->ShowAssignment();
    EXPECT_EQ(page->functionList()->selectedRow(), c.shownRow);
    EXPECT_EQ(page->selectedRow(), c.shownRow);

    page->ApplyAssignment();
    EXPECT_EQ(key(EditedKey), c.applied);
    EXPECT_EQ(key(OtherKey), OtherAssignment);
    EXPECT_EQ(keyChangedPosts(), onePostFor(EditedKey));
}

INSTANTIATE_TEST_SUITE_P(Cases, DlgBaseShows, ::testing::ValuesIn(shownCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DlgBase, ListsTheFourteenFunctionsInRowOrder) {
    auto* page = makePage<CDlgBase>();
    const CListBoxEx* list = page->functionList();
    const QStringList expected{"str_cut",   "str_copy",  "str_past", "str_all",  "str_find",
                               "str_new",   "str_print", "str_save", "str_undo", "str_swap",
                               "str_close", "str_lock",  "str_run",  "str_show"};
    QStringList rows;
    for (int row = 0; row < list->count(); ++row)
        rows << list->rowText(row);
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(list->controlId(), CDlgBase::ListId);
    EXPECT_EQ(list->geometry(), QRect(42, 35, 352, 137));
    EXPECT_EQ(list->rowHeight(), 18);
}

TEST_F(DlgBase, OkWithNothingPickedGivesTheDefault) {
    store({AssignSystem, 9});
    auto* page = makePage<CDlgBase>();
    page->ApplyAssignment();
    EXPECT_EQ(key(EditedKey), (KeyAssignment{EditedKey, AssignDefault, 0}));
    EXPECT_EQ(keyChangedPosts(), onePostFor(EditedKey));
}

TEST_F(DlgBase, RestoreGivesTheDefaultAtOnceWithoutTellingTheMainWindow) {
    store({AssignEdit, 4});
    auto* page = makePage<CDlgBase>();
    page->ShowAssignment();

    page->RestoreDefault();
    EXPECT_EQ(page->functionList()->selectedRow(), -1);
    EXPECT_EQ(page->selectedRow(), -1);
    EXPECT_EQ(key(EditedKey), (KeyAssignment{EditedKey, AssignDefault, 0}));
    EXPECT_TRUE(keyChangedPosts().empty());
}

TEST_F(DlgBase, ClearingLeavesTheKeyAlone) {
    store({AssignEdit, 4});
    auto* page = makePage<CDlgBase>();
    page->ShowAssignment();

    page->ClearSelection();
    EXPECT_EQ(page->functionList()->selectedRow(), -1);
    EXPECT_EQ(page->selectedRow(), -1);
    EXPECT_EQ(key(EditedKey), edited({AssignEdit, 4}));
    EXPECT_TRUE(keyChangedPosts().empty());
}

TEST_F(DlgBase, KeyCodeZeroTouchesNoKey) {
    auto* page = makePage<CDlgBase>(0);
    clickRow(page, page->functionList(), 3);
    const std::size_t keys = KeyTable::instance().size();
    page->ShowAssignment();
    EXPECT_EQ(page->selectedRow(), 3);
    page->ApplyAssignment();
    page->RestoreDefault();
    EXPECT_EQ(page->selectedRow(), 3);
    EXPECT_EQ(KeyTable::instance().size(), keys);
    EXPECT_TRUE(keyChangedPosts().empty());
}

TEST_F(DlgBase, KeepsEnterEscapeSpaceAndHelpToItself) {
    store({AssignEdit, 4});
    auto* page = makePage<CDlgBase>();
    page->ShowAssignment();
    CListBoxEx* list = page->functionList();
    list->setFocus();
    // Row 4 stays current without being selected: Space would select it.
    list->selectionModel()->clearSelection();
    ASSERT_EQ(list->currentRow(), 4);

    typeConfirmKeys(list);
    typeConfirmKeys(page);
    EXPECT_TRUE(page->isVisible());
    EXPECT_EQ(list->selectedRow(), -1);
    EXPECT_FALSE(helpReachesDialog(page, &dialog));

    // Other keys still move through the list.
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_TRUE(waitUntil([&] { return page->selectedRow() == 5; }));
}

TEST_F(DlgBase, PaintsItsSkinTheHeaderAndTheListInThePagesColours) {
    store({AssignEdit, 0});
    auto* page = makePage<CDlgBase>();
    const QRect firstRowEnd(42 + 150, 35 + 2, 100, 14);  // right of the text, left of the bar

    QImage look = page->grab().toImage();
    EXPECT_EQ(look.pixelColor(5, 5), NormalColour);
    EXPECT_TRUE(near(brightest(look, QRect(45, 12, 349, 23)), PageTextColour));
    EXPECT_TRUE(isAll(look, firstRowEnd, QColor(21, 24, 29)));

    page->ShowAssignment();
    look = page->grab().toImage();
    EXPECT_TRUE(isAll(look, firstRowEnd, QColor(26, 18, 18)));
}

TEST_F(DlgBase, CutsALongHeaderAtItsRectangle) {
    loadLanguage({{"str_baseinfo", QString(80, QLatin1Char('W'))}});
    auto* page = makePage<CDlgBase>();
    const QImage look = page->grab().toImage();
    EXPECT_TRUE(near(brightest(look, QRect(45, 12, 349, 23)), PageTextColour));
    EXPECT_TRUE(isAll(look, QRect(394, 12, 48, 23), NormalColour));
}
