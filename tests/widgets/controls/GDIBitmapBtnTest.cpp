#include "ButtonTesting.h"

#include "controls/GDIBitmapBtn.h"

#include <QAccessible>
#include <QHelpEvent>
#include <QToolTip>

using namespace buttons;

namespace {
const QRect Geometry(20, 20, 80, 24);
enum { Idle, Hover, Pressed, Disabled };

struct KeyButton {
    std::unique_ptr<RecordingWindow> window = activeWindow();
    CGDIBitmapBtn* button = new CGDIBitmapBtn(window.get());

    KeyButton() {
        button->setGeometry(Geometry);
        const auto skin = [&](int look) {
            return QPixmap::fromImage(solidImage(window->size(), grey(LookGreys[look])));
        };
        button->SetImages(skin(Idle), skin(Hover), skin(Pressed), skin(Disabled), Geometry.left(),
                          Geometry.top(), Geometry.right() + 1, Geometry.bottom() + 1);
        button->SetColors(NormalColour, HoverColour, PressedColour);
        button->SetText(QStringLiteral("HH"));
        button->show();
        // The pointer starts on the window, off the button.
        QTest::mouseMove(window.get(), QPoint(230, 110));
    }
    QImage shot() const { return button->grab().toImage(); }
    QRgb image() const { return shot().pixel(1, 1); }
};
}  // namespace

TEST(CGDIBitmapBtn, LookTable) {
    struct Case {
        const char* name;
        bool checked, pressed, hovered, disabled;
        int look;
        QColor colour;
    };
    const Case cases[] = {
        {"idle", false, false, false, false, Idle, NormalColour},
        {"disabled", false, false, false, true, Disabled, NormalColour},
        {"hovered", false, false, true, false, Hover, HoverColour},
        {"hovered beats disabled", false, false, true, true, Hover, HoverColour},
        {"pressed", false, true, false, false, Pressed, PressedColour},
        {"pressed beats hovered", false, true, true, false, Pressed, PressedColour},
        {"checked", true, false, false, false, Pressed, PressedColour},
        {"checked beats hovered", true, false, true, false, Pressed, PressedColour},
        {"checked beats disabled", true, false, false, true, Pressed, PressedColour},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KeyButton key;
        if (c.hovered)
            QTest::mouseMove(key.button, QPoint(3, 3));
        key.button->SetChecked(c.checked);
        key.button->setDown(c.pressed);
        key.button->setEnabled(!c.disabled);
        EXPECT_EQ(key.image(), grey(LookGreys[c.look]).rgb());
        EXPECT_EQ(captionColour(key.shot()), c.colour);
    }
}

TEST(CGDIBitmapBtn, ShowsItsPartOfTheSkinCutOnce) {
    KeyButton key;
    QImage picture(key.window->size(), QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x, y, 7));
    QPixmap skin = QPixmap::fromImage(picture);
    key.button->SetText(QString());
    key.button->SetImages(skin, skin, skin, skin, 30, 10, 110, 34);
    EXPECT_EQ(key.shot().pixel(0, 0), qRgb(30, 10, 7));
    EXPECT_EQ(key.shot().pixel(79, 23), qRgb(109, 33, 7));

    // Drawing takes nothing from the skin any more.
    skin.fill(Qt::black);
    EXPECT_EQ(key.shot().pixel(79, 23), qRgb(109, 33, 7));
}

TEST(CGDIBitmapBtn, ClicksAtEveryReleaseAlsoOutsideAndNeverAtThePress) {
    KeyButton key;
    int clicks = 0;
    QObject::connect(key.button, &QAbstractButton::clicked, [&] { ++clicks; });

    QTest::mousePress(key.button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 0);
    QTest::mouseRelease(key.button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);

    // Off the button with the left button held: neither pushed nor hovered, and the release
    // outside still reaches it.
    QTest::mousePress(key.button, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(key.button, QPoint(-15, 5));
    EXPECT_EQ(key.image(), grey(LookGreys[Idle]).rgb());
    EXPECT_EQ(clicks, 1);
    QTest::mouseRelease(key.button, Qt::LeftButton, {}, QPoint(-15, 5));
    EXPECT_EQ(clicks, 2);

    // Both releases of a double click are commands.
    QTest::mouseDClick(key.button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 4);

    // The key button tells its window nothing else: no press, release or double-click
    // messages, no mouse moves.
    deliverPosted();
    EXPECT_TRUE(key.window->received.empty());
}

TEST(CGDIBitmapBtn, PressActivatesItsInactiveWindowFirst) {
    KeyButton key;
    auto other = activeWindow(QSize(50, 50));
    ASSERT_EQ(QApplication::activeWindow(), other.get());

    bool activeAtClick = false;
    QObject::connect(key.button, &QAbstractButton::clicked,
                     [&] { activeAtClick = QApplication::activeWindow() == key.window.get(); });
    QTest::mousePress(key.button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(waitUntil([&] { return QApplication::activeWindow() == key.window.get(); }));
    QTest::mouseRelease(key.button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(activeAtClick);
}

TEST(CGDIBitmapBtn, SetCheckedRepaintsOnlyOnAChange) {
    KeyButton key;
    EXPECT_TRUE(repaintsOn(key.button, [&] { key.button->SetChecked(true); }));
    EXPECT_FALSE(repaintsOn(key.button, [&] { key.button->SetChecked(true); }));
    EXPECT_TRUE(repaintsOn(key.button, [&] { key.button->SetChecked(false); }));
    EXPECT_FALSE(repaintsOn(key.button, [&] { key.button->SetChecked(false); }));
}

TEST(CGDIBitmapBtn, TooltipOnlyAfterSetTipTextAndASecondTextReplacesIt) {
    KeyButton key;
    const auto tipShown = [&] {
        QToolTip::hideText();
        QHelpEvent request(QEvent::ToolTip, QPoint(5, 5), key.button->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(key.button, &request);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tipShown(), QString());
    key.button->SetTipText(QString());
    EXPECT_EQ(tipShown(), QString());
    key.button->SetTipText(QStringLiteral("Esc"));
    EXPECT_EQ(tipShown(), QStringLiteral("Esc"));
    key.button->SetTipText(QStringLiteral("F1"));
    EXPECT_EQ(tipShown(), QStringLiteral("F1"));
    key.button->SetTipText(QString());
    EXPECT_EQ(tipShown(), QStringLiteral("F1"));
}

TEST(CGDIBitmapBtn, AccessibleNameIsTheCaptionOrTheTipAndTheOwnersWins) {
    KeyButton key;
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(key.button);
    ASSERT_NE(accessible, nullptr);
    key.button->SetText(QString());
    key.button->SetTipText(QStringLiteral("Esc"));
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Esc"));
    key.button->SetText(QStringLiteral("R&D"));
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("R&D"));

    key.button->setAccessibleName(QStringLiteral("Escape key"));
    key.button->setAccessibleDescription(QStringLiteral("Plays macro 1"));
    key.button->SetText(QStringLiteral("Other"));
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Escape key"));
    EXPECT_EQ(accessible->text(QAccessible::Description), QStringLiteral("Plays macro 1"));
}
