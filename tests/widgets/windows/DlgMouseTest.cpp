#include "windows/DlgMouse.h"

#include "AssignmentPageTesting.h"

using namespace pagetesting;

namespace {
class DlgMouse : public PageTest {};

struct ShownCase {
    const char* name;
    int clickedRow;  // what the user picked before the page is shown again; -1 for nothing
    Stored stored;
    int listRow;  // the row the list shows
    int pageRow;  // the row OK stores, which may be the unlisted one
    KeyAssignment applied;
};

class DlgMouseShows : public PageTest, public ::testing::WithParamInterface<ShownCase> {};

const ShownCase shownCases[] = {
    {"Left", -1, {AssignMouse, 1}, 0, 0, {EditedKey, AssignMouse, 1}},
    {"Right", -1, {AssignMouse, 2}, 1, 1, {EditedKey, AssignMouse, 2}},
    {"Middle", -1, {AssignMouse, 4}, 2, 2, {EditedKey, AssignMouse, 4}},
    {"Back", -1, {AssignMouse, 16}, 3, 3, {EditedKey, AssignMouse, 16}},
    {"Forward", -1, {AssignMouse, 8}, 4, 4, {EditedKey, AssignMouse, 8}},
    // Code 10 has no row to show, yet OK keeps it.
    {"UnlistedCode", -1, {AssignMouse, 10}, -1, 5, {EditedKey, AssignMouse, 10}},
    {"UnlistedCodeOverAPick", 3, {AssignMouse, 10}, -1, 5, {EditedKey, AssignMouse, 10}},
    {"CodeOfNoRow", 2, {AssignMouse, 3}, -1, -1, {EditedKey, AssignDefault, 0}},
    {"CodeAboveTheTable", 2, {AssignMouse, 17}, -1, -1, {EditedKey, AssignDefault, 0}},
    {"NegativeCode", 2, {AssignMouse, -4}, -1, -1, {EditedKey, AssignDefault, 0}},
    {"CodeZero", -1, {AssignMouse, 0}, -1, -1, {EditedKey, AssignDefault, 0}},
    // Code 0 is no button: the user's pick stays.
    {"CodeZeroKeepsThePick", 2, {AssignMouse, 0}, 2, 2, {EditedKey, AssignMouse, 4}},
    {"PickedBack", 3, {AssignMouse, 0}, 3, 3, {EditedKey, AssignMouse, 16}},
    {"PickedForward", 4, {AssignMouse, 0}, 4, 4, {EditedKey, AssignMouse, 8}},
    {"OtherPagesType", 1, {AssignEdit, 1}, -1, -1, {EditedKey, AssignDefault, 0}},
    {"Default", -1, {AssignDefault, 0}, -1, -1, {EditedKey, AssignDefault, 0}},
};
}  // namespace

TEST_P(DlgMouseShows, TheStoredButtonAndOkStoresItsCode) {
    const ShownCase& c = GetParam();
    auto* page = makePage<CDlgMouse>();
    ASSERT_EQ(page->buttonList()->selectedRow(), -1);
    if (c.clickedRow >= 0)
        clickRow(page, page->buttonList(), c.clickedRow);
    store(c.stored);

    page->ShowAssignment();
    EXPECT_EQ(page->buttonList()->selectedRow(), c.listRow);
    EXPECT_EQ(page->selectedRow(), c.pageRow);

    page->ApplyAssignment();
    EXPECT_EQ(key(EditedKey), c.applied);
    EXPECT_EQ(key(OtherKey), OtherAssignment);
    EXPECT_EQ(keyChangedPosts(), onePostFor(EditedKey));
}

INSTANTIATE_TEST_SUITE_P(Cases, DlgMouseShows, ::testing::ValuesIn(shownCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DlgMouse, ListsFiveButtonsWithoutTheDoubleClick) {
    auto* page = makePage<CDlgMouse>();
    const CListBoxEx* list = page->buttonList();
    QStringList rows;
    for (int row = 0; row < list->count(); ++row)
        rows << list->rowText(row);
    EXPECT_EQ(rows, (QStringList{"str_mouse_left", "str_mouse_right", "str_mouse_middle",
                                 "str_mouse_pre", "str_mouse_next"}));
    EXPECT_EQ(list->controlId(), CDlgMouse::ListId);
    EXPECT_EQ(list->geometry(), QRect(18, 43, 237, 120));
    EXPECT_EQ(list->rowHeight(), 18);
}

TEST_F(DlgMouse, OkWithNothingPickedGivesTheDefault) {
    store({AssignMouse, 2});
    auto* page = makePage<CDlgMouse>();
    page->ApplyAssignment();
    EXPECT_EQ(key(EditedKey), (KeyAssignment{EditedKey, AssignDefault, 0}));
    EXPECT_EQ(keyChangedPosts(), onePostFor(EditedKey));
}

TEST_F(DlgMouse, RestoreGivesTheDefaultAtOnceWithoutTellingTheMainWindow) {
    store({AssignMouse, 10});
    auto* page = makePage<CDlgMouse>();
    page->ShowAssignment();

    page->RestoreDefault();
    EXPECT_EQ(page->selectedRow(), -1);
    EXPECT_EQ(key(EditedKey), (KeyAssignment{EditedKey, AssignDefault, 0}));
    EXPECT_TRUE(keyChangedPosts().empty());

    page->ApplyAssignment();
    EXPECT_EQ(key(EditedKey), (KeyAssignment{EditedKey, AssignDefault, 0}));
}

TEST_F(DlgMouse, ClearingLeavesTheKeyAlone) {
    store({AssignMouse, 8});
    auto* page = makePage<CDlgMouse>();
    page->ShowAssignment();

    page->ClearSelection();
    EXPECT_EQ(page->buttonList()->selectedRow(), -1);
    EXPECT_EQ(page->selectedRow(), -1);
    EXPECT_EQ(key(EditedKey), edited({AssignMouse, 8}));
    EXPECT_TRUE(keyChangedPosts().empty());
}

TEST_F(DlgMouse, KeyCodeZeroTouchesNoKey) {
    auto* page = makePage<CDlgMouse>(0);
    clickRow(page, page->buttonList(), 1);
    const std::size_t keys = KeyTable::instance().size();
    page->ShowAssignment();
    page->ApplyAssignment();
    page->RestoreDefault();
    EXPECT_EQ(page->selectedRow(), 1);
    EXPECT_EQ(KeyTable::instance().size(), keys);
    EXPECT_TRUE(keyChangedPosts().empty());
}

TEST_F(DlgMouse, KeepsEnterEscapeSpaceAndHelpToItself) {
    store({AssignMouse, 4});
    auto* page = makePage<CDlgMouse>();
    page->ShowAssignment();
    CListBoxEx* list = page->buttonList();
    list->setFocus();
    // Row 2 stays current without being selected: Space would select it.
    list->selectionModel()->clearSelection();
    ASSERT_EQ(list->currentRow(), 2);

    typeConfirmKeys(list);
    typeConfirmKeys(page);
    EXPECT_TRUE(page->isVisible());
    EXPECT_EQ(list->selectedRow(), -1);
    EXPECT_FALSE(helpReachesDialog(page, &dialog));

    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_TRUE(waitUntil([&] { return page->selectedRow() == 1; }));
}

TEST_F(DlgMouse, PaintsItsSkinTheBaseHeaderAndTheListInThePagesColours) {
    store({AssignMouse, 1});
    auto* page = makePage<CDlgMouse>();
    const QRect firstRowEnd(18 + 150, 43 + 2, 80, 14);
    const QRect belowTheRows(18, 43 + 5 * 18, 237, 120 - 5 * 18);

    QImage look = page->grab().toImage();
    EXPECT_EQ(look.pixelColor(5, 5), NormalColour);
    EXPECT_TRUE(near(brightest(look, QRect(24, 21, 231, 22)), PageTextColour));
    EXPECT_TRUE(isAll(look, firstRowEnd, QColor(21, 24, 29)));
    EXPECT_TRUE(isAll(look, belowTheRows, QColor(21, 24, 29)));

    page->ShowAssignment();
    look = page->grab().toImage();
    EXPECT_TRUE(isAll(look, firstRowEnd, QColor(26, 18, 18)));
}
