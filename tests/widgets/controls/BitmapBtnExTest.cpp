#include "ButtonTesting.h"

#include "controls/BitmapBtnEx.h"
#include "controls/BitmapBtnExEx.h"

#include <QAccessible>
#include <QDialog>
#include <QTimer>

using namespace buttons;

namespace {
const QRect Geometry(20, 20, 80, 24);
enum { Idle, AlternativeIdle, Hover, Pressed, AlternativePressed, Disabled };
constexpr std::uint32_t Click = 0;  // the platform click, recorded among the messages
constexpr std::uint32_t MouseMove = 0x0200;

// The two buttons take their images differently: skin pictures and a rectangle, or images
// and an area.
template <class Button>
struct Kind;

template <>
struct Kind<CBitmapBtnExEx> {
    static void setImages(CBitmapBtnExEx& button, const std::array<QImage, 6>& skins,
                          const QRect& r) {
        const auto p = [&](int look) { return QPixmap::fromImage(skins[look]); };
        button.SetImages(p(0), p(1), p(2), p(3), p(4), p(5), r.left(), r.top(),
                         r.left() + r.width(), r.top() + r.height());
    }
    static void setText(CBitmapBtnExEx& button, const QString& text) { button.SetText(text); }
};

template <>
struct Kind<CBitmapBtnEx> {
    static void setImages(CBitmapBtnEx& button, const std::array<QImage, 6>& skins,
                          const QRect& r) {
        button.SetImages(skins[0], skins[1], skins[2], skins[3], skins[4], skins[5], r.x(), r.y(),
                         r.width(), r.height());
    }
    static void setText(CBitmapBtnEx& button, const QString& text) { button.SetText(text); }
};

template <class Button, class Window = RecordingWindow>
struct SixImageButton {
    std::unique_ptr<Window> window = activeWindow<Window>();
    Button* button = new Button(window.get());

    SixImageButton() {
        button->setGeometry(Geometry);
        std::array<QImage, 6> skins;
        for (int look = 0; look < 6; ++look)
            skins[look] = solidImage(window->size(), grey(LookGreys[look]));
        Kind<Button>::setImages(*button, skins, Geometry);
        button->SetColors(NormalColour, HoverColour, PressedColour);
        Kind<Button>::setText(*button, QStringLiteral("HH"));
        button->show();
        // The pointer starts on the window, off the button.
        QTest::mouseMove(window.get(), QPoint(230, 110));
    }
    QImage shot() const { return button->grab().toImage(); }
    QRgb image() const { return shot().pixel(1, 1); }
    // The messages the button tells its window about presses, releases and double clicks,
    // with the platform clicks among them.
    std::vector<RecordingWindow::Message> buttonMessages() const {
        std::vector<RecordingWindow::Message> found;
        for (const auto& m : window->received)
            if (m.message == Click || (m.message >= WM_BTNEX_DBLCLK && m.message <= WM_BTNEX_UP))
                found.push_back(m);
        return found;
    }
    void recordClicks() {
        QObject::connect(button, &QAbstractButton::clicked, [w = window.get()] {
            w->received.push_back({Click, 0, 0, false});
        });
    }
};

std::uint32_t screenPosition(QPoint p) {
    return std::uint32_t(std::uint16_t(p.x())) | std::uint32_t(std::uint16_t(p.y())) << 16;
}
}  // namespace

template <class Button>
class SixImageButtons : public ::testing::Test {};
using Kinds = ::testing::Types<CBitmapBtnExEx, CBitmapBtnEx>;
TYPED_TEST_SUITE(SixImageButtons, Kinds);

TYPED_TEST(SixImageButtons, LookTable) {
    struct Case {
        const char* name;
        bool checked, pressed, hovered, disabled, alternative;
        int look;
        QColor colour;
    };
    const Case cases[] = {
        {"idle", false, false, false, false, false, Idle, NormalColour},
        {"alternative idle", false, false, false, false, true, AlternativeIdle, NormalColour},
        {"disabled", false, false, false, true, false, Disabled, NormalColour},
        {"disabled has no alternative", false, false, false, true, true, Disabled, NormalColour},
        {"hovered", false, false, true, false, false, Hover, HoverColour},
        {"hovered in the alternative set", false, false, true, false, true, AlternativeIdle,
         HoverColour},
        {"hovered beats disabled", false, false, true, true, false, Hover, HoverColour},
        {"pressed", false, true, false, false, false, Pressed, PressedColour},
        {"pressed has no alternative", false, true, false, false, true, Pressed, PressedColour},
        {"pressed beats hovered", false, true, true, false, true, Pressed, PressedColour},
        {"checked", true, false, false, false, false, Pressed, PressedColour},
        {"checked in the alternative set", true, false, false, false, true, AlternativePressed,
         PressedColour},
        {"checked beats pressed", true, true, false, false, true, AlternativePressed,
         PressedColour},
        {"checked beats hovered", true, false, true, false, false, Pressed, PressedColour},
        {"checked beats disabled", true, false, false, true, true, AlternativePressed,
         PressedColour},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SixImageButton<TypeParam> cell;
        if (c.hovered)
            QTest::mouseMove(cell.button, QPoint(3, 3));
        cell.button->SetChecked(c.checked);
        cell.button->SetAlternative(c.alternative);
        cell.button->setDown(c.pressed);
        cell.button->setEnabled(!c.disabled);
        EXPECT_EQ(cell.image(), grey(LookGreys[c.look]).rgb());
        EXPECT_EQ(captionColour(cell.shot()), c.colour);
    }
}

TYPED_TEST(SixImageButtons, DoubleClickGivesOneClickAndTheMessagesInOrder) {
    SixImageButton<TypeParam> cell;
    cell.recordClicks();
    QTest::mouseDClick(cell.button, Qt::LeftButton, {}, QPoint(5, 5));

    const std::int64_t self = cell.button->handle();
    ASSERT_NE(self, 0);
    const std::vector<RecordingWindow::Message> expected = {
        {WM_BTNEX_DOWN, 0x0201u << 16, self, true},
        {Click, 0, 0, false},
        {WM_BTNEX_UP, 0, self, true},
        {WM_BTNEX_DBLCLK, 0, self, true},
        {WM_BTNEX_UP, 0, self, true},
    };
    EXPECT_EQ(cell.buttonMessages(), expected);
}

TYPED_TEST(SixImageButtons, ReleaseOutsideAfterAPressSendsUpButNoClick) {
    SixImageButton<TypeParam> cell;
    cell.recordClicks();
    QTest::mouseMove(cell.button, QPoint(5, 5));
    QTest::mousePress(cell.button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(cell.image(), grey(LookGreys[Pressed]).rgb());

    // Off the button with the left button held: no longer pushed, no longer hovered.
    QTest::mouseMove(cell.button, QPoint(-15, 5));
    EXPECT_EQ(cell.image(), grey(LookGreys[Idle]).rgb());
    QTest::mouseRelease(cell.button, Qt::LeftButton, {}, QPoint(-15, 5));

    const std::int64_t self = cell.button->handle();
    const std::vector<RecordingWindow::Message> expected = {
        {WM_BTNEX_DOWN, 0x0201u << 16, self, true},
        {WM_BTNEX_UP, 0, self, true},
    };
    EXPECT_EQ(cell.buttonMessages(), expected);
}

TYPED_TEST(SixImageButtons, MovesReachTheWindowExceptHeldOnesWhileNotHovered) {
    SixImageButton<TypeParam> cell;
    const auto screen = [&](QPoint p) { return screenPosition(cell.button->mapToGlobal(p)); };
    QTest::mouseMove(cell.button, QPoint(4, 5));
    deliverPosted();
    std::vector<RecordingWindow::Message> expected = {{MouseMove, 0, screen({4, 5}), false}};
    EXPECT_EQ(cell.window->messages(MouseMove), expected);

    cell.window->received.clear();
    QTest::mousePress(cell.button, Qt::LeftButton, {}, QPoint(4, 5));
    QTest::mouseMove(cell.button, QPoint(6, 5));    // held and hovered: passed on
    QTest::mouseMove(cell.button, QPoint(-10, 5));  // leaves: passed on, hover ends
    QTest::mouseMove(cell.button, QPoint(-20, 5));  // held, not hovered: kept
    QTest::mouseMove(cell.button, QPoint(6, 5));    // back, still held and not hovered: kept
    deliverPosted();
    const std::uint64_t leftButton = 0x0001;
    expected = {{MouseMove, leftButton, screen({6, 5}), false},
                {MouseMove, leftButton, screen({-10, 5}), false}};
    EXPECT_EQ(cell.window->messages(MouseMove), expected);
    QTest::mouseRelease(cell.button, Qt::LeftButton, {}, QPoint(6, 5));
}

namespace {
// Answers a press with a modal dialog, in which the mouse button is released.
class DialogOnPress : public RecordingWindow {
public:
    std::int64_t receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                std::int64_t lParam) override {
        RecordingWindow::receiveMessage(message, wParam, lParam);
        if (message == WM_BTNEX_DOWN) {
            QDialog dialog(this);
            dialog.resize(60, 60);
            QTimer::singleShot(0, &dialog, [&] {
                QTest::mouseRelease(&dialog, Qt::LeftButton, {}, QPoint(5, 5));
                dialog.accept();
            });
            dialog.exec();
        }
        return 0;
    }
};
}  // namespace

TYPED_TEST(SixImageButtons, PressAnsweredWithAModalDialogDoesNotStayPushed) {
    SixImageButton<TypeParam, DialogOnPress> cell;
    cell.recordClicks();
    QTest::mousePress(cell.button, Qt::LeftButton, {}, QPoint(5, 5));

    EXPECT_FALSE(cell.button->isDown());
    EXPECT_NE(cell.image(), grey(LookGreys[Pressed]).rgb());
    const std::int64_t self = cell.button->handle();
    const std::vector<RecordingWindow::Message> expected = {
        {WM_BTNEX_DOWN, 0x0201u << 16, self, true},
        {WM_BTNEX_UP, 0, self, true},
    };
    EXPECT_EQ(cell.buttonMessages(), expected);
}

TYPED_TEST(SixImageButtons, OwnerStatesRepaintOnlyOnAChange) {
    SixImageButton<TypeParam> cell;
    EXPECT_TRUE(repaintsOn(cell.button, [&] { cell.button->SetChecked(true); }));
    EXPECT_FALSE(repaintsOn(cell.button, [&] { cell.button->SetChecked(true); }));
    EXPECT_TRUE(repaintsOn(cell.button, [&] { cell.button->SetAlternative(true); }));
    EXPECT_FALSE(repaintsOn(cell.button, [&] { cell.button->SetAlternative(true); }));
}

TYPED_TEST(SixImageButtons, ShowsItsPartOfThePicturesCutOnce) {
    SixImageButton<TypeParam> cell;
    QImage picture(cell.window->size(), QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x, y, 7));
    std::array<QImage, 6> pictures;
    pictures.fill(picture);
    Kind<TypeParam>::setText(*cell.button, QString());
    Kind<TypeParam>::setImages(*cell.button, pictures, QRect(30, 10, 80, 24));
    EXPECT_EQ(cell.shot().pixel(0, 0), qRgb(30, 10, 7));
    EXPECT_EQ(cell.shot().pixel(79, 23), qRgb(109, 33, 7));

    // Drawing takes nothing from the pictures any more.
    pictures.fill(solidImage(picture.size(), Qt::black));
    picture.fill(Qt::black);
    EXPECT_EQ(cell.shot().pixel(79, 23), qRgb(109, 33, 7));
}

TYPED_TEST(SixImageButtons, AccessibleNameIsTheCaptionUnlessTheOwnerGivesOne) {
    SixImageButton<TypeParam> cell;
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(cell.button);
    ASSERT_NE(accessible, nullptr);
    Kind<TypeParam>::setText(*cell.button, QStringLiteral("R&D"));
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("R&D"));
    EXPECT_EQ(cell.button->GetText(), QStringLiteral("R&D"));

    Kind<TypeParam>::setText(*cell.button, QString());
    cell.button->setAccessibleName(QStringLiteral("Automatic switch"));
    cell.button->setAccessibleDescription(QStringLiteral("On"));
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Automatic switch"));
    EXPECT_EQ(accessible->text(QAccessible::Description), QStringLiteral("On"));
}

TEST(CBitmapBtnEx, AnAreaOutsideItsImageLeavesThatLookEmpty) {
    SixImageButton<CBitmapBtnEx> cell;
    std::array<QImage, 6> images;
    for (int look = 0; look < 6; ++look)
        images[look] = solidImage(cell.window->size(), grey(LookGreys[look]));
    images[Idle] = solidImage(QSize(50, 50), grey(LookGreys[Idle]));
    images[Disabled] = QImage();
    Kind<CBitmapBtnEx>::setImages(*cell.button, images, Geometry);
    Kind<CBitmapBtnEx>::setText(*cell.button, QString());

    EXPECT_NE(cell.image(), grey(LookGreys[Idle]).rgb());
    cell.button->SetAlternative(true);
    EXPECT_EQ(cell.image(), grey(LookGreys[AlternativeIdle]).rgb());
    cell.button->SetAlternative(false);
    cell.button->setEnabled(false);
    EXPECT_NE(cell.image(), grey(LookGreys[Disabled]).rgb());
}
