#include "windows/DlgMedia.h"

#include "controls/GDIBitmapBtn.h"

#include "AssignmentPageTesting.h"

using namespace pagetesting;

namespace {
class DlgMedia : public PageTest {
protected:
    // The indices of the checked buttons.
    static std::vector<int> checked(const CDlgMedia* page) {
        std::vector<int> indices;
        for (int index = 0; index < CDlgMedia::ButtonCount; ++index)
            if (page->button(index)->GetChecked())
                indices.push_back(index);
        return indices;
    }

    static void click(CDlgMedia* page, int index) {
        QTest::mouseClick(page->button(index), Qt::LeftButton);
    }
};

struct ShownCase {
    const char* name;
    int clickedButton;  // what the user picked before the page is shown again; -1 for nothing
    Stored stored;
    int shownButton;
    KeyAssignment applied;
};

class DlgMediaShows : public DlgMedia, public ::testing::WithParamInterface<ShownCase> {};

const ShownCase shownCases[] = {
    {"Refresh", -1, {AssignMedia, 11}, 11, {EditedKey, AssignMedia, 11}},
    {"FirstButton", -1, {AssignMedia, 0}, 0, {EditedKey, AssignMedia, 0}},
    {"LastButton", -1, {AssignMedia, 17}, 17, {EditedKey, AssignMedia, 17}},
    {"ReplacesAPick", 3, {AssignMedia, 5}, 5, {EditedKey, AssignMedia, 5}},
    {"BeyondTheButtons", -1, {AssignMedia, 18}, -1, {EditedKey, AssignDefault, 0}},
    // A function number without a button leaves what the user picked.
    {"BeyondTheButtonsKeepsThePick", 3, {AssignMedia, 18}, 3, {EditedKey, AssignMedia, 3}},
    {"NegativeKeepsThePick", 3, {AssignMedia, -1}, 3, {EditedKey, AssignMedia, 3}},
    {"Default", 3, {AssignDefault, 0}, -1, {EditedKey, AssignDefault, 0}},
    {"OtherPagesType", 3, {AssignMouse, 1}, -1, {EditedKey, AssignDefault, 0}},
    {"TypeSeven", -1, {7, 4}, -1, {EditedKey, AssignDefault, 0}},
};
}  // namespace

TEST_P(DlgMediaShows, TheStoredFunctionAndOkStoresTheCheckedButton) {
    const ShownCase& c = GetParam();
    auto* page = makePage<CDlgMedia>();
    ASSERT_TRUE(checked(page).empty());
    if (c.clickedButton >= 0)
        click(page, c.clickedButton);
    store(c.stored);

    page->ShowAssignment();
    EXPECT_EQ(checked(page), c.shownButton < 0 ? std::vector<int>{} : std::vector{c.shownButton});
    EXPECT_EQ(page->selectedButton(), c.shownButton);

    page->ApplyAssignment();
    EXPECT_EQ(key(EditedKey), c.applied);
    EXPECT_EQ(key(OtherKey), OtherAssignment);
    EXPECT_EQ(keyChangedPosts(), onePostFor(EditedKey));
}

INSTANTIATE_TEST_SUITE_P(Cases, DlgMediaShows, ::testing::ValuesIn(shownCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DlgMedia, PickingAButtonChecksOnlyThatOne) {
    auto* page = makePage<CDlgMedia>();
    click(page, 2);
    click(page, 11);
    EXPECT_EQ(checked(page), std::vector{11});
    EXPECT_EQ(page->selectedButton(), 11);
    EXPECT_TRUE(keyChangedPosts().empty());

    page->ApplyAssignment();
    EXPECT_EQ(key(EditedKey), (KeyAssignment{EditedKey, AssignMedia, 11}));
    EXPECT_EQ(keyChangedPosts(), onePostFor(EditedKey));
}

TEST_F(DlgMedia, ClickingThePickedButtonAgainGivesTheDefaultAtOnce) {
    store({AssignMedia, 11});
    auto* page = makePage<CDlgMedia>();
    page->ShowAssignment();

    click(page, 11);
    EXPECT_TRUE(checked(page).empty());
    EXPECT_EQ(page->selectedButton(), -1);
    EXPECT_EQ(key(EditedKey), (KeyAssignment{EditedKey, AssignDefault, 0}));
    EXPECT_EQ(key(OtherKey), OtherAssignment);
    EXPECT_TRUE(keyChangedPosts().empty());

    // A third click picks it again, and only OK stores it.
    click(page, 11);
    EXPECT_EQ(checked(page), std::vector{11});
    EXPECT_EQ(key(EditedKey), (KeyAssignment{EditedKey, AssignDefault, 0}));
}

TEST_F(DlgMedia, RestoreLeavesTheKeyUntilOk) {
    store({AssignMedia, 4});
    auto* page = makePage<CDlgMedia>();
    page->ShowAssignment();

    page->RestoreDefault();
    EXPECT_TRUE(checked(page).empty());
    EXPECT_EQ(page->selectedButton(), -1);
    EXPECT_EQ(key(EditedKey), edited({AssignMedia, 4}));
    EXPECT_TRUE(keyChangedPosts().empty());

    page->ApplyAssignment();
    EXPECT_EQ(key(EditedKey), (KeyAssignment{EditedKey, AssignDefault, 0}));
    EXPECT_EQ(keyChangedPosts(), onePostFor(EditedKey));
}

TEST_F(DlgMedia, ClearingLeavesTheKeyAlone) {
    store({AssignMedia, 4});
    auto* page = makePage<CDlgMedia>();
    page->ShowAssignment();

    page->ClearSelection();
    EXPECT_TRUE(checked(page).empty());
    EXPECT_EQ(page->selectedButton(), -1);
    EXPECT_EQ(key(EditedKey), edited({AssignMedia, 4}));
    EXPECT_TRUE(keyChangedPosts().empty());
}

TEST_F(DlgMedia, KeyCodeZeroTouchesNoKey) {
    auto* page = makePage<CDlgMedia>(0);
    const std::size_t keys = KeyTable::instance().size();
    click(page, 6);
    page->ShowAssignment();
    page->ApplyAssignment();
    EXPECT_EQ(checked(page), std::vector{6});
    click(page, 6);
    EXPECT_TRUE(checked(page).empty());
    EXPECT_EQ(KeyTable::instance().size(), keys);
    EXPECT_TRUE(keyChangedPosts().empty());
}

TEST_F(DlgMedia, GivesEachButtonItsFunctionAsTooltip) {
    auto* page = makePage<CDlgMedia>();
    const char* tips[CDlgMedia::ButtonCount] = {
        "str_players",   "str_play",   "str_stop", "str_pre",     "str_next",     "str_voldown",
        "str_volup",     "str_mute",   "str_back", "str_forword", "str_b_stop",   "str_refresh",
        "str_favorites", "str_search", "str_mail", "str_home",    "str_explorer", "str_cal"};
    for (int index = 0; index < CDlgMedia::ButtonCount; ++index)
        EXPECT_EQ(page->button(index)->toolTip(), QString::fromLatin1(tips[index])) << index;
}

TEST_F(DlgMedia, KeepsEnterEscapeSpaceAndHelpToItself) {
    store({AssignMedia, 2});
    auto* page = makePage<CDlgMedia>();
    page->ShowAssignment();
    typeConfirmKeys(page);
    typeConfirmKeys(page->button(2));
    EXPECT_TRUE(page->isVisible());
    EXPECT_EQ(checked(page), std::vector{2});
    EXPECT_FALSE(helpReachesDialog(page, &dialog));
}

TEST_F(DlgMedia, ShowsTheCheckedButtonInTheDownLook) {
    auto* page = makePage<CDlgMedia>();
    click(page, 11);
    // Away from the buttons, so none is in its hover look.
    QTest::mouseMove(page, QPoint(420, 180));
    const QImage look = page->grab().toImage();
    EXPECT_TRUE(isAll(look, QRect(183, 97, 34, 34), DownColour));
    EXPECT_TRUE(isAll(look, QRect(138, 97, 36, 34), NormalColour));
    EXPECT_TRUE(isAll(look, QRect(50, 29, 35, 35), NormalColour));
    EXPECT_EQ(look.pixelColor(5, 5), NormalColour);
    EXPECT_TRUE(near(brightest(look, QRect(49, 10, 127, 17)), PageTextColour));
    EXPECT_TRUE(near(brightest(look, QRect(49, 78, 127, 15)), PageTextColour));
}
