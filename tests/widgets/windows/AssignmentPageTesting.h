#pragma once

#include "WindowTestWorld.h"

#include "controls/ListBoxEx.h"
#include "model/KeyTable.h"
#include "resources/LanguageTable.h"
#include "support/RecordingWindow.h"
#include "support/WaitUntil.h"
#include "windows/MainWindowReference.h"

#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <ostream>
#include <vector>

// What the tests of the base function, mouse and media pages share: the pages' skins in one
// plain colour per look, a language file in which every string is its own key, a key table
// with the edited key and one other, a recording main window, and a window standing in for
// the key setting dialog that holds the page where the dialog puts it.
namespace pagetesting {

constexpr std::uint8_t EditedKey = 65;
constexpr std::uint8_t OtherKey = 66;
constexpr std::uint32_t Marker = 0x7777;

inline const QColor NormalColour(40, 44, 52);
inline const QColor OverColour(70, 80, 90);
inline const QColor DownColour(160, 120, 40);
inline const QColor PageTextColour(88, 99, 105);

inline void writeSkin(const QString& name) {
    windowworld::writeFlatSkin(name, QSize(442, 186),
                               {{QStringLiteral("Normal"), NormalColour},
                                {QStringLiteral("Over"), OverColour},
                                {QStringLiteral("Down"), DownColour}});
}

// Every string is its key ("str_cut" reads "str_cut") unless given another text.
inline void loadLanguage(const std::map<QString, QString>& texts = {}) {
    std::vector<std::pair<QString, QString>> all;
    for (const char16_t* key : LanguageTable::lookupKeys()) {
        const QString name = QString::fromUtf16(key);
        const auto given = texts.find(name);
        all.emplace_back(name, given == texts.end() ? name : given->second);
    }
    windowworld::loadLanguage(all);
}

// A stored type and value, for tables of cases.
struct Stored {
    std::int32_t type = AssignNone;
    std::int32_t value = 0;
};

inline KeyAssignment edited(Stored stored) {
    return {EditedKey, stored.type, stored.value};
}

inline const KeyAssignment OtherAssignment{OtherKey, AssignMacro, 2};

class PageTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* skin : {"Base", "Mouse", "Media"})
            writeSkin(QString::fromLatin1(skin));
        loadLanguage();
        KeyTable::instance().clear();
        KeyTable::instance().entry(OtherKey) = OtherAssignment;
        MainWindowReference::set(mainWindow.handle());
        dialog.resize(470, 306);
    }
    void TearDown() override { MainWindowReference::set(0); }

    // Made as the key setting dialog makes its pages, and shown.
    template <class Page>
    Page* makePage(std::uint8_t keyCode = EditedKey) {
        auto* page = new Page(keyCode, &dialog);
        page->hide();
        page->setGeometry(15, 74, 442, 186);
        dialog.show();
        page->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        return page;
    }

    static void store(Stored stored) { KeyTable::instance().entry(EditedKey) = edited(stored); }
    static KeyAssignment key(std::uint8_t code) { return KeyTable::instance().entry(code); }

    // The 0x60E messages that reached the main window before a marker posted now, so that
    // one that would have been posted has arrived by then. Forgets all received.
    std::vector<RecordingWindow::Message> keyChangedPosts() {
        Messages::postMessage(mainWindow.handle(), Marker, 0, 0);
        EXPECT_TRUE(waitUntil([&] { return !mainWindow.messages(Marker).empty(); }));
        std::vector<RecordingWindow::Message> posts =
            mainWindow.messages(MainWindowReference::KeyChanged);
        mainWindow.received.clear();
        return posts;
    }

    static std::vector<RecordingWindow::Message> onePostFor(std::uint8_t keyCode) {
        return {{MainWindowReference::KeyChanged, 0, keyCode, false}};
    }

    RecordingWindow mainWindow;
    QWidget dialog;
};

// Clicks a row as the user would, scrolling it into view first, and waits until the page
// has heard of it.
template <class Page>
void clickRow(Page* page, CListBoxEx* list, int row) {
    QListWidgetItem* item = list->item(row);
    ASSERT_NE(item, nullptr);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    ASSERT_TRUE(waitUntil([&] { return page->selectedRow() == row; }));
}

// The brightest pixel of an area: on a dark skin, the core of a painted text.
inline QColor brightest(const QImage& image, const QRect& area) {
    QColor best(Qt::black);
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (const QColor c = image.pixelColor(x, y); c.lightness() > best.lightness())
                best = c;
    return best;
}

inline bool isAll(const QImage& image, const QRect& area, const QColor& colour) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y).rgb() != colour.rgb())
                return false;
    return true;
}

// Colours that differ by no more than antialiasing's rounding.
inline bool near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) <= 3 && std::abs(a.green() - b.green()) <= 3 &&
           std::abs(a.blue() - b.blue()) <= 3;
}

// Presses and releases of Enter, Escape and Space at target. Unswallowed, Escape would
// reject the page (a dialog) and hide it.
inline void typeConfirmKeys(QWidget* target) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Space})
        QTest::keyClick(target, key);
}

// Whether a help request at the page reached the window behind it.
inline bool helpReachesDialog(QWidget* page, QWidget* dialog) {
    struct HelpSpy : QObject {
        bool seen = false;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::WhatsThis)
                seen = true;
            return false;
        }
    } spy;
    dialog->installEventFilter(&spy);
    QHelpEvent help(QEvent::WhatsThis, QPoint(5, 5), page->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(page, &help);
    dialog->removeEventFilter(&spy);
    return spy.seen;
}

}  // namespace pagetesting

inline void PrintTo(const KeyAssignment& a, std::ostream* out) {
    *out << "{key " << a.keyCode << ", type " << a.type << ", value " << a.value << '}';
}
