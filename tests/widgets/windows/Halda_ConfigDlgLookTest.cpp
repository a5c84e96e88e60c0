// What the main window shows: the skin, its controls at their places with their cut-outs and
// captions, the keys marked by their assignments, the painted texts, and what a screen reader
// hears.
#include "MainWindowWorld.h"

#include "controls/BitmapBtnExEx.h"
#include "controls/GDIBitmapBtn.h"
#include "controls/HyperLink.h"
#include "support/QtPrinting.h"
#include "support/WaitUntil.h"
#include "windows/MainWindowReference.h"

#include <QAccessible>
#include <QVersionNumber>

using namespace mainwindow;

namespace {

QRect ltrb(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

// The pixels of one rectangle of a picture, as an image of their own.
QImage cutOut(const QImage& picture, const QRect& rect) {
    return picture.copy(rect);
}

QString accessible(QWidget* widget, QAccessible::Text kind) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(kind) : QStringLiteral("<no interface>");
}

class MainWindowLook : public ::testing::Test {
protected:
    void SetUp() override { prepareWorld(); }
};

}  // namespace

TEST_F(MainWindowLook, ControlsSitAtTheirRectanglesCutFromTheSkin) {
    const auto window = makeWindow();
    const QImage normal = skin("Normal");
    ASSERT_FALSE(normal.isNull());
    EXPECT_EQ(window->size(), normal.size());
    EXPECT_EQ(window->windowTitle(), text("str_title"));
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    // Shaped from the key colour: the corner lies outside, the middle inside.
    EXPECT_FALSE(window->mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(window->mask().contains(QPoint(375, 272)));

    // Every key unassigned: the keyboard looks exactly like the Normal picture.
    const KeyLayout layout = shippedLayout();
    for (int i = 0; i < KeyLayout::KeyCount; ++i) {
        SCOPED_TRACE(i);
        const QRect rect = rectOf(layout.entry(i));
        EXPECT_EQ(window->keyButton(i)->geometry(), rect);
        EXPECT_FALSE(window->keyButton(i)->GetChecked());
        EXPECT_EQ(window->keyButton(i)->toolTip(), layout.entry(i).buttontip);
        EXPECT_TRUE(shot(*window->keyButton(i)) == cutOut(normal, rect));
    }
    const QRect keyboard = ltrb(26, 80, 720, 364);
    EXPECT_TRUE(cutOut(shot(*window), keyboard) == cutOut(normal, keyboard));

    struct Command {
        CHalda_ConfigDlg::Command command;
        QRect rect;
        QString caption;
        QString tip;
    };
    const Command commands[] = {
        {CHalda_ConfigDlg::Close, ltrb(707, 35, 725, 54), {}, {}},
        {CHalda_ConfigDlg::Minimise, ltrb(677, 35, 697, 54), {}, {}},
        {CHalda_ConfigDlg::Ok, ltrb(261, 480, 323, 509), text("str_OK"), text("str_OK")},
        {CHalda_ConfigDlg::Cancel, ltrb(346, 480, 408, 509), text("str_Cancel"),
         text("str_Cancel")},
        {CHalda_ConfigDlg::Apply, ltrb(433, 480, 497, 509), text("str_Apply"), text("str_Apply")},
        {CHalda_ConfigDlg::ReportRate, ltrb(37, 482, 164, 506), text("str_config"), {}},
        {CHalda_ConfigDlg::Restore, ltrb(587, 482, 714, 506), text("str_restore"), {}},
    };
    for (const Command& c : commands) {
        SCOPED_TRACE(c.command);
        CGDIBitmapBtn* button = window->commandButton(c.command);
        EXPECT_EQ(button->geometry(), c.rect);
        EXPECT_EQ(button->GetText(), c.caption);
        EXPECT_EQ(button->toolTip(), c.tip);
        // Away from the centred caption the button is its part of the Normal picture.
        const QRect corner(0, 0, 4, 4);
        EXPECT_TRUE(cutOut(shot(*button), corner) ==
                    cutOut(normal, corner.translated(c.rect.topLeft())));
        if (c.caption.isEmpty()) {
            EXPECT_TRUE(shot(*button) == cutOut(normal, c.rect));
        }
    }

    const QRect profileRects[] = {ltrb(27, 442, 200, 465), ltrb(200, 442, 376, 465),
                                  ltrb(376, 442, 554, 465), ltrb(554, 442, 726, 465)};
    for (int i = 0; i < CHalda_ConfigDlg::ProfileButtonCount; ++i) {
        SCOPED_TRACE(i);
        CBitmapBtnExEx* button = window->profileButton(i);
        EXPECT_EQ(button->geometry(), profileRects[i]);
        EXPECT_FALSE(button->GetChecked());
        EXPECT_FALSE(button->GetAlternative());
        const QRect corner(0, 0, 4, 4);
        EXPECT_TRUE(cutOut(shot(*button), corner) ==
                    cutOut(normal, corner.translated(profileRects[i].topLeft())));
    }
    // The first profile is made and loaded at the first start; its caption is in the
    // profile buttons' colour.
    EXPECT_EQ(window->profileButton(0)->GetText(), text("str_profile_title") + " 1");
    const QImage caption = shot(*window->profileButton(0));
    bool orange = false;
    for (int y = 0; y < caption.height(); ++y)
        for (int x = 0; x < caption.width(); ++x)
            orange |= caption.pixel(x, y) == qRgb(255, 85, 19);
    EXPECT_TRUE(orange);

    CHyperLink* link = window->hyperLink();
    EXPECT_EQ(link->pos(), QPoint(639, 58));
    EXPECT_EQ(link->text(), text("str_enter_clup"));
    EXPECT_EQ(link->target(), CHalda_ConfigDlg::linkTarget());
    EXPECT_EQ(link->target(),
              QUrl::fromLocalFile(TempWorld::current().appDir() + "about.html").toString());
    EXPECT_EQ(link->linkColor(), QColor(88, 95, 105));
    EXPECT_EQ(link->visitedColor(), QColor(143, 148, 167));
    EXPECT_EQ(link->hoverColor(), QColor(233, 85, 19));
    EXPECT_EQ(link->underlineMode(), CHyperLink::UnderlineNever);
}

TEST_F(MainWindowLook, PaintsTheSixTextsOverTheSkin) {
    const auto window = makeWindow();
    const QVersionNumber version = QVersionNumber::fromString(QStringLiteral(HALDA_VERSION));
    EXPECT_EQ(
        window->versionText(),
        text("str_version") +
            QStringLiteral(":V%1.%2").arg(version.majorVersion()).arg(version.minorVersion()));
    const QImage painted = shot(*window);
    const QImage normal = skin("Normal");
    const QRect texts[] = {ltrb(23, 386, 239, 410),  ltrb(23, 413, 200, 439),
                           ltrb(200, 413, 376, 439), ltrb(376, 413, 554, 439),
                           ltrb(554, 413, 729, 439), ltrb(376, 515, 554, 531)};
    for (const QRect& rect : texts) {
        SCOPED_TRACE(rect.x());
        const QImage area = cutOut(painted, rect);
        EXPECT_FALSE(area == cutOut(normal, rect)) << "nothing drawn";
        // The brightest pixel is the text colour or a little under it, where the thin
        // strokes cover a pixel only in part.
        QRgb brightest = 0;
        for (int y = 0; y < area.height(); ++y)
            for (int x = 0; x < area.width(); ++x)
                if (qGray(area.pixel(x, y)) > qGray(brightest))
                    brightest = area.pixel(x, y);
        EXPECT_LE(qRed(brightest), 88);
        EXPECT_GE(qRed(brightest), 88 - 30);
        EXPECT_LE(qBlue(brightest), 105);
        EXPECT_GE(qBlue(brightest), 105 - 30);
    }
    // The version text is right-aligned: its right end is near the rectangle's, its left end
    // far from the rectangle's.
    const QImage version_ = cutOut(painted, texts[5]);
    const QImage plain = cutOut(normal, texts[5]);
    int leftmost = version_.width(), rightmost = -1;
    for (int y = 0; y < version_.height(); ++y)
        for (int x = 0; x < version_.width(); ++x)
            if (version_.pixel(x, y) != plain.pixel(x, y)) {
                leftmost = std::min(leftmost, x);
                rightmost = std::max(rightmost, x);
            }
    EXPECT_GT(rightmost, version_.width() - 4);
    EXPECT_GT(leftmost, 40);
}

namespace {
// Twelve keys, each sharing its code with one more key later in the layout: the later key is
// never refreshed (refreshes go to the first key of a code), so it keeps the mark the window
// gave it when it was built.
constexpr std::int32_t Types[] = {-1,          AssignNone,        AssignDefault,   AssignSystem,
                                  AssignMouse, AssignMacro,       AssignMedia,     AssignEdit,
                                  7,           AssignCombination, AssignSingleKey, 10};
constexpr int Repeats = 12;
constexpr int FirstRepeat = 80;  // positions 80 .. 91 repeat the codes of 0 .. 11

void storeTypesOnRepeatedKeys() {
    const KeyLayout layout = shippedLayout();
    Configuration configuration;
    for (int i = 0; i < Repeats; ++i) {
        const std::uint8_t code = layout.entry(i).vkcode;
        configuration.keys[code] = assigned(code, Types[i], 0);
    }
    storeConfiguration(configuration);
    std::vector<std::pair<int, int>> repeats;
    for (int i = 0; i < Repeats; ++i)
        repeats.push_back({FirstRepeat + i, i});
    writeLayoutWithRepeatedCodes(repeats);
}
}  // namespace

TEST_F(MainWindowLook, KeysAreMarkedByTheirAssignmentWhenBuiltAndWhenRefreshed) {
    storeTypesOnRepeatedKeys();
    const auto window = makeWindow();
    const QImage down = skin("Down"), normal = skin("Normal");
    for (int i = 0; i < Repeats; ++i) {
        SCOPED_TRACE(Types[i]);
        // Built: marked exactly for the types 2 to 9.
        CGDIBitmapBtn* built = window->keyButton(FirstRepeat + i);
        const bool builtMarked = Types[i] >= 2 && Types[i] <= 9;
        EXPECT_EQ(built->GetChecked(), builtMarked);
        EXPECT_TRUE(shot(*built) == cutOut(builtMarked ? down : normal, built->geometry()));
        // Refreshed by the profile load at start: marked for everything but the default.
        CGDIBitmapBtn* refreshed = window->keyButton(i);
        const bool refreshedMarked = Types[i] != AssignDefault;
        EXPECT_EQ(refreshed->GetChecked(), refreshedMarked);
        EXPECT_TRUE(shot(*refreshed) ==
                    cutOut(refreshedMarked ? down : normal, refreshed->geometry()));
    }
}

TEST_F(MainWindowLook, ARefreshOfARepeatedCodeReachesItsFirstKeyOnly) {
    storeTypesOnRepeatedKeys();
    const auto window = makeWindow();
    // Position 2 holds the default and is unmarked, as is its repeat at 82.
    const std::uint8_t code = window->layout().entry(2).vkcode;
    ASSERT_FALSE(window->keyButton(2)->GetChecked());
    ASSERT_FALSE(window->keyButton(FirstRepeat + 2)->GetChecked());
    KeyTable::instance().entry(code) = assigned(code, AssignSingleKey, 0x41);
    MainWindowReference::post(MainWindowReference::KeyChanged, 0, code);
    EXPECT_TRUE(waitUntil([&] { return window->keyButton(2)->GetChecked(); }));
    EXPECT_FALSE(window->keyButton(FirstRepeat + 2)->GetChecked());
    EXPECT_EQ(accessible(window->keyButton(2), QAccessible::Description),
              QString::fromUtf8("Key: “A”"));
    EXPECT_EQ(accessible(window->keyButton(FirstRepeat + 2), QAccessible::Description), "Default");
    // A value that only narrowing would make that code changes nothing; a later refresh of
    // another key shows that it has been handled.
    KeyTable::instance().entry(code) = assigned(code, AssignDefault, 0);
    MainWindowReference::post(MainWindowReference::KeyChanged, 0, 0x100 + code);
    const std::uint8_t other = window->layout().entry(20).vkcode;
    KeyTable::instance().entry(other) = assigned(other, AssignMedia, 1);
    MainWindowReference::post(MainWindowReference::KeyChanged, 0, other);
    EXPECT_TRUE(waitUntil([&] { return window->keyButton(20)->GetChecked(); }));
    EXPECT_TRUE(window->keyButton(2)->GetChecked());
}

TEST_F(MainWindowLook, ScreenReadersHearEachKeysNameAndAssignment) {
    Configuration configuration;
    configuration.macros = {QStringLiteral("Warm up"), QStringLiteral("Greeting")};
    configuration.combinations = {{0x11, 0x43}};
    struct Case {
        std::uint8_t code;
        std::int32_t type;
        std::int32_t value;
        QString description;
    };
    const Case cases[] = {
        {0x41, AssignDefault, 0, "Default"},
        {0x42, AssignMedia, 7, "Media: " + text("str_mute")},
        {0x43, AssignMedia, 18, "Media"},
        {0x44, AssignMacro, 1, "Macro: Greeting"},
        {0x45, AssignCombination, 0, QString::fromUtf8("Keys: “Ctrl” + “C”")},
        {0x46, AssignSingleKey, 0x41, QString::fromUtf8("Key: “A”")},
        {0x47, AssignMouse, 16, "Mouse: " + text("str_mouse_pre")},
        {0x48, AssignEdit, 1, "Edit: " + text("str_copy")},
        {0x49, AssignSystem, 11, "System: " + text("str_lock")},
        {0x4A, 7, 3, "Unknown function"},
    };
    for (const Case& c : cases)
        configuration.keys[c.code] = assigned(c.code, c.type, c.value);
    storeConfiguration(configuration);
    const auto window = makeWindow();

    const KeyLayout& layout = window->layout();
    for (const Case& c : cases) {
        const int position = int(std::find_if(layout.entries().begin(), layout.entries().end(),
                                              [&](const auto& e) { return e.vkcode == c.code; }) -
                                 layout.entries().begin());
        ASSERT_LT(position, KeyLayout::KeyCount);
        SCOPED_TRACE(c.description.toStdString());
        EXPECT_EQ(accessible(window->keyButton(position), QAccessible::Name),
                  layout.entry(position).buttontip);
        EXPECT_EQ(accessible(window->keyButton(position), QAccessible::Description), c.description);
    }

    EXPECT_EQ(accessible(window->commandButton(CHalda_ConfigDlg::Ok), QAccessible::Name),
              text("str_OK"));
    EXPECT_EQ(accessible(window->commandButton(CHalda_ConfigDlg::ReportRate), QAccessible::Name),
              text("str_config"));
    EXPECT_EQ(accessible(window->commandButton(CHalda_ConfigDlg::Close), QAccessible::Name),
              "Close");
    EXPECT_EQ(accessible(window->commandButton(CHalda_ConfigDlg::Minimise), QAccessible::Name),
              "Minimise");
    EXPECT_EQ(accessible(window->profileButton(0), QAccessible::Name),
              text("str_profile_title") + " 1");
    EXPECT_EQ(accessible(window->profileButton(0), QAccessible::Description),
              text("str_settingdoc"));
    EXPECT_EQ(accessible(window->profileButton(3), QAccessible::Name), text("str_autoswitch"));
    EXPECT_EQ(accessible(window->profileButton(3), QAccessible::Description), "Off");
}
