#include "controls/ListBoxEx.h"

#include "support/QtPrinting.h"
#include "support/RecordingWindow.h"
#include "support/TempWorld.h"
#include "support/WaitUntil.h"

#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <map>

namespace {
constexpr std::uint32_t kEdit = CListBoxEx::EditFinishedMessage;
constexpr std::uint32_t kSelection = CListBoxEx::SelectionChangedMessage;
constexpr std::uint32_t kMarker = 0x7777;

// One plain colour per icon file, so a pixel tells which icon was drawn.
const std::map<QString, QColor> iconColours = {
    {"up_normal.png", QColor(200, 0, 0)},      {"up_select.png", QColor(0, 200, 0)},
    {"down_normal.png", QColor(0, 0, 200)},    {"down_select.png", QColor(200, 200, 0)},
    {"delay_normal.png", QColor(0, 200, 200)}, {"delay_select.png", QColor(200, 0, 200)},
};

void writeIcons() {
    QDir().mkpath(TempWorld::current().appDir() + "skins/icon");
    for (const auto& [file, colour] : iconColours) {
        QImage icon(16, 16, QImage::Format_ARGB32);
        icon.fill(colour);
        ASSERT_TRUE(icon.save(CListBoxEx::iconPath(file)));
    }
}

bool contains(const QImage& image, const QRect& area, const QColor& colour) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y).rgb() == colour.rgb())
                return true;
    return false;
}

// A list on a window that records what the list tells it, with the colours of the pages.
class ListBoxEx : public ::testing::Test {
protected:
    void SetUp() override {
        writeIcons();
        window.resize(300, 220);
        list = new CListBoxEx(&window);
        list->setGeometry(10, 10, 200, 150);
        list->setControlId(10001);
        list->setSelectionColor(selection);
        list->setBackgroundColor(background);
        list->setTextColor(text);
        list->setSelectedTextColor(selectedText);
        other = new QLineEdit(&window);
        other->setGeometry(10, 170, 100, 20);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    // The messages with this number that arrived before a marker posted now, so that a
    // message that would have been posted has been delivered by then. Forgets all received.
    std::vector<RecordingWindow::Message> messagesAfterMarker(std::uint32_t message) {
        Messages::postMessage(window.handle(), kMarker, 0, 0);
        EXPECT_TRUE(waitUntil([&] { return !window.messages(kMarker).empty(); }));
        std::vector<RecordingWindow::Message> result = window.messages(message);
        window.received.clear();
        return result;
    }

    QPoint rowCentre(int row) const {
        return list->visualRect(list->model()->index(row, 0)).center();
    }

    void fill(const QStringList& texts) {
        for (const QString& t : texts)
            list->AddItem(CListBoxEx::IconDown, t);
        messagesAfterMarker(0);
    }

    QLineEdit* openRename(int row) {
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowCentre(row));
        return list->editField();
    }

    const QColor selection{26, 18, 18};
    const QColor background{21, 24, 29};
    const QColor text{88, 95, 105};
    const QColor selectedText{235, 85, 19};
    RecordingWindow window;
    CListBoxEx* list = nullptr;
    QLineEdit* other = nullptr;
};
}  // namespace

TEST_F(ListBoxEx, AddItemAppendsAndSelectsWithoutTellingTheParent) {
    EXPECT_EQ(list->AddItem(CListBoxEx::IconNone, "Cut"), 0);
    EXPECT_EQ(list->AddItem(CListBoxEx::IconDelay, "50 ms"), 1);
    EXPECT_EQ(list->selectedRow(), 1);
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(list->rowText(1), "50 ms");
    EXPECT_EQ(list->iconKind(1), CListBoxEx::IconDelay);
    EXPECT_EQ(list->iconKind(7), CListBoxEx::IconNone);
    list->setSelectedRow(0);
    EXPECT_EQ(list->selectedRow(), 0);
    list->setSelectedRow(-1);
    EXPECT_EQ(list->selectedRow(), -1);
    EXPECT_TRUE(messagesAfterMarker(kSelection).empty());
}

TEST_F(ListBoxEx, TheUsersSelectionChangesArePostedWithTheControlIdentifier) {
    fill({"one", "two", "three"});
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(0));
    EXPECT_EQ(list->selectedRow(), 0);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->selectedRow(), 1);
    const RecordingWindow::Message posted{kSelection, 10001, 0, false};
    EXPECT_EQ(messagesAfterMarker(kSelection),
              (std::vector<RecordingWindow::Message>{posted, posted}));
}

TEST_F(ListBoxEx, DoubleClickOpensARenameOverTheRowWithItsTextSelected) {
    fill({"one", "two", "three"});
    list->setEditable(true);
    QLineEdit* field = openRename(1);
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(list->editRow(), 1);
    EXPECT_EQ(field->geometry(), list->visualRect(list->model()->index(1, 0)));
    EXPECT_EQ(field->text(), "two");
    EXPECT_EQ(field->selectedText(), "two");
    EXPECT_TRUE(field->hasFocus());
    EXPECT_EQ(field->font(), list->font());

    // Clicking another row takes the focus from the field, which commits it; the double
    // click then renames that row.
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowCentre(2));
    EXPECT_EQ(list->editRow(), 2);
    EXPECT_EQ(messagesAfterMarker(kEdit),
              (std::vector<RecordingWindow::Message>{{kEdit, 10001, 1, false}}));
}

TEST_F(ListBoxEx, DoubleClickBelowTheRowsRenamesTheLastAndAListNotEditableIgnoresIt) {
    fill({"one", "two"});
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowCentre(0));
    EXPECT_EQ(list->editField(), nullptr);

    list->setEditable(true);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(50, 140));
    ASSERT_NE(list->editField(), nullptr);
    EXPECT_EQ(list->editRow(), 1);
    EXPECT_EQ(list->editField()->text(), "two");
}

TEST_F(ListBoxEx, EnterCommitsOnceAsARowWithoutIcon) {
    fill({"one", "two", "three"});
    list->setEditable(true);
    QLineEdit* field = openRename(1);
    ASSERT_NE(field, nullptr);
    QTest::keyClicks(field, "Zed");
    QTest::keyClick(field, Qt::Key_Return);

    EXPECT_EQ(list->editField(), nullptr);
    EXPECT_EQ(list->editRow(), -1);
    EXPECT_EQ(list->rowText(1), "Zed");
    EXPECT_EQ(list->iconKind(1), CListBoxEx::IconNone);
    EXPECT_EQ(list->iconKind(0), CListBoxEx::IconDown);
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->selectedRow(), 1);
    EXPECT_TRUE(list->hasFocus());
    // The focus moving on afterwards commits nothing more.
    other->setFocus();
    EXPECT_EQ(messagesAfterMarker(kEdit),
              (std::vector<RecordingWindow::Message>{{kEdit, 10001, 1, false}}));
    EXPECT_TRUE(window.messages(kSelection).empty());
}

TEST_F(ListBoxEx, LeavingTheFieldCommitsAndAnEmptyTextIsCommittedToo) {
    fill({"one", "two", "three"});
    list->setEditable(true);
    QLineEdit* field = openRename(2);
    ASSERT_NE(field, nullptr);
    QTest::keyClick(field, Qt::Key_Backspace);
    other->setFocus();

    EXPECT_EQ(list->editField(), nullptr);
    EXPECT_EQ(list->rowText(2), "");
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->selectedRow(), 2);
    EXPECT_EQ(messagesAfterMarker(kEdit),
              (std::vector<RecordingWindow::Message>{{kEdit, 10001, 2, false}}));
}

TEST_F(ListBoxEx, EscapeCancelsKeepingTheOldTextSelectedAndSendsNothing) {
    fill({"one", "two", "three"});
    list->setEditable(true);
    QLineEdit* field = openRename(0);
    ASSERT_NE(field, nullptr);
    QTest::keyClicks(field, "changed");
    QTest::keyClick(field, Qt::Key_Escape);

    EXPECT_EQ(list->editField(), nullptr);
    EXPECT_EQ(list->editRow(), -1);
    EXPECT_EQ(list->rowText(0), "one");
    EXPECT_EQ(list->iconKind(0), CListBoxEx::IconDown);
    EXPECT_EQ(list->selectedRow(), 0);
    other->setFocus();
    EXPECT_TRUE(messagesAfterMarker(kEdit).empty());
}

TEST_F(ListBoxEx, AddItemClosesAnOpenRenameWithoutCommitting) {
    fill({"one", "two"});
    list->setEditable(true);
    QLineEdit* field = openRename(0);
    ASSERT_NE(field, nullptr);
    QTest::keyClicks(field, "lost");
    EXPECT_EQ(list->AddItem(CListBoxEx::IconUp, "new"), 2);

    EXPECT_EQ(list->editField(), nullptr);
    EXPECT_EQ(list->editRow(), -1);
    EXPECT_EQ(list->rowText(0), "one");
    EXPECT_EQ(list->selectedRow(), 2);
    other->setFocus();
    EXPECT_TRUE(messagesAfterMarker(kEdit).empty());
}

TEST_F(ListBoxEx, ARenameHoldsAtMostTenCharactersButNeverCutsALongerName) {
    fill({"short", "A name of sixteen"});
    list->setEditable(true);
    QLineEdit* field = openRename(0);
    ASSERT_NE(field, nullptr);
    QTest::keyClicks(field, "abcdefghijklmno");
    EXPECT_EQ(field->text(), "abcdefghij");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(list->rowText(0), "abcdefghij");

    // A name that is already longer stays whole, and cannot grow.
    field = openRename(1);
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->text(), "A name of sixteen");
    QTest::keyClick(field, Qt::Key_End);
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, "xy");
    EXPECT_EQ(field->text(), "A name of sixtee");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(list->rowText(1), "A name of sixtee");
}

TEST_F(ListBoxEx, RowsAreDrawnInTheOwnersColours) {
    list->AddItem(CListBoxEx::IconNone, "HHHH llll");
    list->AddItem(CListBoxEx::IconNone, "HHHH llll");
    list->setSelectedRow(1);
    const QImage image = list->grab().toImage();
    const QRect first = list->visualRect(list->model()->index(0, 0));
    const QRect second = list->visualRect(list->model()->index(1, 0));
    EXPECT_EQ(first.height(), 20);

    EXPECT_EQ(image.pixelColor(first.right() - 2, first.center().y()), background);
    EXPECT_EQ(image.pixelColor(second.right() - 2, second.center().y()), selection);
    EXPECT_EQ(image.pixelColor(100, 120), background);  // below the rows
    EXPECT_TRUE(contains(image, first, text));
    EXPECT_FALSE(contains(image, first, selectedText));
    EXPECT_TRUE(contains(image, second, selectedText));
    EXPECT_FALSE(contains(image, second, text));
}

TEST_F(ListBoxEx, TextStartsFivePixelsInOrAfterTheIconsPlace) {
    list->AddItem(CListBoxEx::IconNone, "HHHH");
    list->AddItem(CListBoxEx::IconIndent, "HHHH");
    list->AddItem(CListBoxEx::IconIndent, "HHHH");
    list->setIconSize(30, 16);
    list->setSelectedRow(-1);
    const QImage image = list->grab().toImage();
    const auto textLeft = [&](int row) {
        const QRect rect = list->visualRect(list->model()->index(row, 0));
        for (int x = rect.left(); x <= rect.right(); ++x)
            for (int y = rect.top(); y <= rect.bottom(); ++y)
                if (image.pixelColor(x, y) != background)
                    return x - rect.left();
        return -1;
    };
    ASSERT_GE(textLeft(0), 5);
    EXPECT_LT(textLeft(0), 5 + 4);  // the glyph's own side bearing
    EXPECT_EQ(textLeft(1) - textLeft(0), 30 + 10 - 5);
}

TEST_F(ListBoxEx, ADisabledListDrawsInTheSystemsDisabledColours) {
    list->AddItem(CListBoxEx::IconNone, "HHHH llll");
    list->AddItem(CListBoxEx::IconNone, "HHHH llll");
    list->setSelectedRow(1);
    list->setEnabled(false);
    const QImage image = list->grab().toImage();
    const QRect first = list->visualRect(list->model()->index(0, 0));
    const QRect second = list->visualRect(list->model()->index(1, 0));

    EXPECT_EQ(image.pixelColor(first.right() - 2, first.center().y()),
              list->disabledBackgroundColor());
    EXPECT_EQ(image.pixelColor(100, 120), list->disabledBackgroundColor());
    EXPECT_EQ(image.pixelColor(second.right() - 2, second.center().y()), selection);
    EXPECT_TRUE(contains(image, first, list->disabledTextColor()));
    EXPECT_TRUE(contains(image, second, list->disabledTextColor()));
    EXPECT_FALSE(contains(image, first, text));
    EXPECT_FALSE(contains(image, second, selectedText));
}

TEST_F(ListBoxEx, IconsFollowTheKindAndTheSelectionAndTheOwnersSize) {
    // Rows without text, so that only the icon can colour the icon's place.
    const struct {
        int kind;
        bool selected;
        QColor atIcon;
    } cases[] = {
        {CListBoxEx::IconNone, false, background},
        {CListBoxEx::IconIndent, true, selection},
        {CListBoxEx::IconUp, false, iconColours.at("up_normal.png")},
        {CListBoxEx::IconUp, true, iconColours.at("up_select.png")},
        {CListBoxEx::IconDown, false, iconColours.at("down_normal.png")},
        {CListBoxEx::IconDown, true, iconColours.at("down_select.png")},
        {CListBoxEx::IconDelay, false, iconColours.at("delay_normal.png")},
        {CListBoxEx::IconDelay, true, iconColours.at("delay_select.png")},
        {9, false, background},
    };
    for (const auto& c : cases) {
        list->clear();
        list->AddItem(c.kind, QString());
        list->setSelectedRow(c.selected ? 0 : -1);
        const QImage image = list->grab().toImage();
        EXPECT_EQ(image.pixelColor(5 + 8, 8), c.atIcon) << c.kind << " " << c.selected;
        EXPECT_EQ(image.pixelColor(3, 8), c.selected ? selection : background) << c.kind;
    }

    list->setIconSize(8, 8);
    list->clear();
    list->AddItem(CListBoxEx::IconUp, QString());
    list->setSelectedRow(-1);
    QImage image = list->grab().toImage();
    EXPECT_EQ(image.pixelColor(5 + 7, 7), iconColours.at("up_normal.png"));
    EXPECT_EQ(image.pixelColor(5 + 9, 9), background);

    // A missing icon file draws no icon.
    QFile::remove(CListBoxEx::iconPath("up_normal.png"));
    image = list->grab().toImage();
    EXPECT_EQ(image.pixelColor(5 + 4, 4), background);
}

TEST_F(ListBoxEx, TheRowHeightIsTheOwners) {
    fill({"one", "two"});
    list->setRowHeight(16);
    EXPECT_TRUE(
        waitUntil([&] { return list->visualRect(list->model()->index(1, 0)).top() == 16; }));
    EXPECT_EQ(list->visualRect(list->model()->index(1, 0)).height(), 16);
    EXPECT_EQ(list->visualRect(list->model()->index(1, 0)).width(), list->viewport()->width());
}
