#include "windows/DlgSingleComb.h"

#include "controls/GDIBitmapBtn.h"
#include "controls/ListBoxEx.h"
#include "widgets/windows/KeyPageFixture.h"

#include <QLineEdit>
#include <QTest>

#include <memory>

namespace {

constexpr std::uint64_t LeftCtrl = 162, LeftShift = 160, LeftAlt = 164;

class SingleCombPage : public CapturingPageFixture<CDlgSingleComb> {
protected:
    CListBoxEx& list() { return *page_->findChild<CListBoxEx*>(QStringLiteral("combinationList")); }
    QStringList rows() {
        QStringList texts;
        for (int row = 0; row < list().count(); ++row)
            texts << list().rowText(row);
        return texts;
    }
    void selectRow(int row) { CapturingPageFixture::selectRow(list(), row); }
};

TEST_F(SingleCombPage, SingleCaptureStoresTheLastKeyPressed) {
    open();
    EXPECT_FALSE(page_->inCombinationMode());
    click("singleCapture");
    EXPECT_TRUE(page_->isCapturing());
    EXPECT_TRUE(button("singleCapture").GetChecked());
    EXPECT_EQ(button("singleCapture").GetText(), "Stop");

    postKey(page(), 'A', false);
    EXPECT_EQ(page_->singleText(), "A");
    postKey(page(), 'A', true);
    postKey(page(), 'B', false);
    postKey(page(), 'B', true);
    EXPECT_EQ(page_->capturedKey(), 'B');
    EXPECT_EQ(page_->singleText(), "B");

    page_->ApplyAssignment();
    EXPECT_FALSE(page_->isCapturing());
    EXPECT_EQ(button("singleCapture").GetText(), "Record");
    EXPECT_EQ(assignment(EditedKey), (KeyAssignment{EditedKey, AssignSingleKey, 'B'}));
    EXPECT_EQ(keysPosted(MainWindowReference::KeyChanged), std::vector<std::int64_t>{EditedKey});
    // The single-key mode leaves the combination table alone.
    EXPECT_TRUE(registryValue(QStringLiteral("CombSetting"), CombTable::ImageSize).empty());
}

TEST_F(SingleCombPage, SingleKeyOkWithoutAnotherKeyGivesTheDefault) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::uint64_t, bool>> keys;  // key, released
    };
    const Case cases[] = {
        {"nothing captured", {}},
        {"the key itself", {{EditedKey, false}, {EditedKey, true}}},
        {"a key only released", {{'Z', true}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        assign(EditedKey, AssignSingleKey, 'Q');  // shown, then given up by the capture
        open();
        EXPECT_EQ(page_->capturedKey(), 'Q');
        click("singleCapture");
        for (const auto& [key, released] : c.keys)
            postKey(page(), key, released);
        page_->ApplyAssignment();
        EXPECT_EQ(assignment(EditedKey), (KeyAssignment{EditedKey, AssignDefault, 0}));
    }
}

TEST_F(SingleCombPage, NoCaptureStartsWithoutTheLibrary) {
    QFile::remove(TempWorld::current().appDir() + QLatin1String(KeyCaptureLibrary::FileName));
    storeCombinations(1);
    assign(EditedKey, AssignCombination, 0);
    open();
    ASSERT_FALSE(hook_->isLoaded());
    click("combinationCapture");
    EXPECT_FALSE(button("combinationCapture").GetChecked());
    click("singleMode");
    click("singleCapture");
    EXPECT_FALSE(button("singleCapture").GetChecked());
    postKey(page(), 'A', false);
    EXPECT_EQ(page_->capturedKey(), 0);
}

TEST_F(SingleCombPage, CombinationCaptureKeepsFourKeysOnceEach) {
    storeCombinations(2);
    assign(EditedKey, AssignCombination, 1);
    open();
    ASSERT_TRUE(page_->inCombinationMode());
    EXPECT_EQ(list().selectedRow(), 1);
    EXPECT_EQ(page_->combText(),
              "\u201C"
              "B"
              "\u201D");

    click("combinationCapture");
    EXPECT_TRUE(button("combinationCapture").GetChecked());
    EXPECT_EQ(page_->combText(), "");
    postKey(page(), LeftCtrl, false);
    postKey(page(), LeftCtrl, false);  // the same report again: a held key
    for (const std::uint64_t key : {LeftShift, LeftAlt, std::uint64_t('X'), std::uint64_t('Y')})
        postKey(page(), key, false);
    EXPECT_EQ(page_->combText(),
              "\u201CLeft Ctrl\u201D + \u201CLeft Shift\u201D + "
              "\u201CLeft Alt\u201D + \u201CX\u201D");
    for (const std::uint64_t key : {std::uint64_t('X'), LeftAlt, LeftShift, LeftCtrl})
        postKey(page(), key, true);

    page_->ApplyAssignment();
    EXPECT_FALSE(button("combinationCapture").GetChecked());
    EXPECT_EQ(assignment(EditedKey), (KeyAssignment{EditedKey, AssignCombination, 1}));
    const std::vector<std::uint8_t> stored =
        registryValue(QStringLiteral("CombSetting"), CombTable::ImageSize);
    ASSERT_EQ(stored.size(), std::size_t(CombTable::ImageSize));
    CombTable::Image image;
    std::copy(stored.begin(), stored.end(), image.begin());
    CombTable reread;
    reread.LoadFromImage(image);
    ASSERT_EQ(reread.size(), 2);
    const tagCombKey record = *reread.RecordAt(1);
    EXPECT_EQ(record.keys, (std::array<std::uint8_t, 4>{162, 160, 164, 'X'}));
    EXPECT_EQ(record.name, "C1");
    EXPECT_EQ(keysPosted(MainWindowReference::KeyChanged), std::vector<std::int64_t>{EditedKey});
}

TEST_F(SingleCombPage, ARepeatedReportIsIgnoredAlsoAcrossCaptures) {
    storeCombinations(1);
    assign(EditedKey, AssignCombination, 0);
    open();
    click("combinationCapture");
    postKey(page(), 'A', false);
    click("combinationCapture");  // stopped while A is down
    click("combinationCapture");
    postKey(page(), 'A', false);  // the same report as the last one handled
    postKey(page(), 'B', false);
    EXPECT_EQ(CombTable::instance().RecordAt(0)->keys, (std::array<std::uint8_t, 4>{'B', 0, 0, 0}));
}

TEST_F(SingleCombPage, RenamingToNothingGivesTheCombinationText) {
    storeCombinations(2);
    assign(EditedKey, AssignCombination, 0);
    for (const bool combinationMode : {true, false}) {
        SCOPED_TRACE(combinationMode ? "combination mode" : "single-key mode");
        open();
        if (!combinationMode)
            click("singleMode");
        page_->show();
        const QRect row = list().visualItemRect(list().item(1));
        QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, row.center());
        ASSERT_NE(list().editField(), nullptr);
        list().editField()->clear();
        QTest::keyClick(list().editField(), Qt::Key_Return);
        deliverPosts();
        EXPECT_EQ(list().rowText(1), "Combination");
        // The name the table stores is the one the list shows.
        EXPECT_EQ(CombTable::instance().RecordAt(1)->name, "Combination");
        page_->hide();
    }
}

TEST_F(SingleCombPage, NewAndDeleteKeepListAndTableInStep) {
    storeCombinations(2);
    assign(EditedKey, AssignCombination, 1);
    open();
    click("newButton");
    click("newButton");
    EXPECT_EQ(rows(), (QStringList{"C0", "C1", "Combo 1", "Combo 2"}));
    EXPECT_EQ(list().selectedRow(), 3);
    EXPECT_EQ(CombTable::instance().names(), rows());

    // Deleting the last selects the new last; deleting the only one leaves nothing.
    click("deleteButton");
    EXPECT_EQ(list().selectedRow(), 2);
    selectRow(0);
    click("deleteButton");
    EXPECT_EQ(rows(), (QStringList{"C1", "Combo 1"}));
    EXPECT_EQ(list().selectedRow(), 0);
    EXPECT_EQ(page_->combText(),
              "\u201C"
              "B"
              "\u201D");
    click("deleteButton");
    click("deleteButton");
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(list().selectedRow(), -1);
    EXPECT_EQ(page_->combText(), "");
    EXPECT_EQ(CombTable::instance().size(), 0);

    // Shown again, the page has the stored table back.
    page_->ShowAssignment();
    EXPECT_EQ(rows(), (QStringList{"C0", "C1"}));
}

TEST_F(SingleCombPage, AStoredIndexPastTheListOpensWithoutSelection) {
    storeCombinations(2);
    assign(EditedKey, AssignCombination, 2);
    open();
    EXPECT_TRUE(page_->inCombinationMode());
    EXPECT_EQ(list().selectedRow(), -1);
    EXPECT_EQ(page_->combText(), "");
    page_->ApplyAssignment();
    EXPECT_EQ(assignment(EditedKey), (KeyAssignment{EditedKey, AssignDefault, 0}));
}

TEST_F(SingleCombPage, EnterEscapeAndSpaceNeverReachTheList) {
    storeCombinations(3);
    assign(EditedKey, AssignCombination, 1);
    open();
    page_->show();
    list().setFocus();
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Escape}) {
        QTest::keyClick(&list(), key);
        EXPECT_EQ(list().selectedRow(), 1);
        EXPECT_TRUE(page_->isVisible());
    }
    QTest::keyClick(&list(), Qt::Key_Down);
    EXPECT_EQ(list().selectedRow(), 2);
}

TEST_F(SingleCombPage, APressOnThePageEndsTheCaptures) {
    open();
    page_->show();
    click("singleCapture");
    ASSERT_TRUE(page_->isCapturing());
    QTest::mouseClick(page_.get(), Qt::LeftButton, {}, QPoint(5, 180));
    EXPECT_FALSE(page_->isCapturing());
    EXPECT_FALSE(button("singleCapture").GetChecked());
}

TEST_F(SingleCombPage, RestoreGivesTheDefaultAndClearsWhatIsShown) {
    assign(EditedKey, AssignSingleKey, 'Q');
    open();
    page_->RestoreDefault();
    EXPECT_EQ(page_->singleText(), "");
    EXPECT_EQ(assignment(EditedKey), (KeyAssignment{EditedKey, AssignDefault, 0}));
    EXPECT_TRUE(keysPosted(MainWindowReference::KeyChanged).empty());
}

}  // namespace
