#include "ButtonTesting.h"

#include "controls/BitmapBtnEx.h"
#include "controls/BitmapBtnExEx.h"
#include "controls/GDIBitmapBtn.h"
#include "controls/SkinText.h"

#include <QFontInfo>
#include <QFontMetrics>

using namespace buttons;

namespace {
const QSize ButtonSize(100, 24);

// A black button with a white caption, and its picture.
template <class Button>
QImage captioned(const QString& caption, int orientation = 0, QSize size = ButtonSize) {
    auto window = activeWindow();
    auto* button = new Button(window.get());
    button->setGeometry(QRect(QPoint(10, 10), size));
    button->SetColors(Qt::white, Qt::white, Qt::white);
    const QImage black = solidImage(size, Qt::black);
    if constexpr (std::is_same_v<Button, CBitmapBtnEx>) {
        button->SetImages(black, black, black, black, black, black, 0, 0, size.width(),
                          size.height());
        button->SetText(caption, orientation);
    } else if constexpr (std::is_same_v<Button, CBitmapBtnExEx>) {
        const QPixmap p = QPixmap::fromImage(black);
        button->SetImages(p, p, p, p, p, p, 0, 0, size.width(), size.height());
        button->SetText(caption);
    } else {
        const QPixmap p = QPixmap::fromImage(black);
        button->SetImages(p, p, p, p, 0, 0, size.width(), size.height());
        button->SetText(caption);
    }
    return button->grab().toImage();
}

// The centre of the caption's ink, weighted by brightness.
QPointF inkCentre(const QImage& shot) {
    double sum = 0, x = 0, y = 0;
    for (int j = 0; j < shot.height(); ++j)
        for (int i = 0; i < shot.width(); ++i) {
            const int v = qGray(shot.pixel(i, j));
            sum += v;
            x += v * i;
            y += v * j;
        }
    return sum ? QPointF(x / sum, y / sum) : QPointF();
}
}  // namespace

TEST(SkinText, PositiveHeightIsTheCellHeightAndNegativeTheCharacterHeight) {
    const QFont arial = logicalFont(QStringLiteral("Arial"), 14, 300);
    EXPECT_EQ(QFontInfo(arial).family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(arial.weight(), QFont::Light);
    EXPECT_LE(QFontMetrics(arial).height(), 14);
    QFont larger = arial;
    larger.setPixelSize(arial.pixelSize() + 1);
    EXPECT_GT(QFontMetrics(larger).height(), 14);

    const QFont character = logicalFont(QStringLiteral("Arial"), -14, 500);
    EXPECT_EQ(character.pixelSize(), 14);
    EXPECT_EQ(character.weight(), QFont::Medium);
}

template <class Button>
class ArialCaptions : public ::testing::Test {};
using ArialKinds = ::testing::Types<CGDIBitmapBtn, CBitmapBtnExEx>;
TYPED_TEST_SUITE(ArialCaptions, ArialKinds);

TYPED_TEST(ArialCaptions, CentredInTheTextRectangle) {
    const QImage shot = captioned<TypeParam>(QStringLiteral("Halda"));
    const QRect ink = inkBounds(shot);
    ASSERT_FALSE(ink.isEmpty());
    // Text rectangle: x from 8 to 100 - 5, top 24 / 2 - 14 / 2 = 5, one 14-pixel line.
    EXPECT_GE(ink.left(), 8);
    EXPECT_LT(ink.right(), 95);
    EXPECT_NEAR((ink.left() + ink.right() + 1) / 2.0, (8 + 95) / 2.0, 1.5);
    EXPECT_GE(ink.top(), 5);
    EXPECT_LT(ink.bottom(), 5 + 14);
}

TYPED_TEST(ArialCaptions, TooWideACaptionEndsInAnEllipsis) {
    const QImage shot = captioned<TypeParam>(QString(40, QLatin1Char('W')));
    const QRect ink = inkBounds(shot);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.left(), 8);
    EXPECT_LT(ink.right(), 95);
    // The last columns hold the dots on the base line, not the full height of a "W".
    const QRect tail(ink.right() - 2, 0, 3, shot.height());
    const QRect tailInk = inkBounds(shot.copy(tail));
    EXPECT_GT(tailInk.top(), ink.top() + ink.height() / 2);
}

TEST(CBitmapBtnEx, CaptionIsCentredBothWaysAndTurnsWithItsOrientation) {
    const QSize tall(24, 100);
    const QImage flat = captioned<CBitmapBtnEx>(QStringLiteral("LLLL"), 0, ButtonSize);
    const QRect flatInk = inkBounds(flat);
    EXPECT_GT(flatInk.width(), flatInk.height());
    EXPECT_NEAR(QRectF(flatInk).center().x(), ButtonSize.width() / 2.0, 1.5);
    EXPECT_NEAR(QRectF(flatInk).center().y(), ButtonSize.height() / 2.0, 1.5);

    // An "L" has its weight low and to the left; turned a quarter to the left (upwards)
    // that is low and to the right, turned to the right (downwards) high and to the left.
    for (const int orientation : {CBitmapBtnEx::Rotated90, CBitmapBtnEx::Rotated270}) {
        SCOPED_TRACE(orientation);
        const QImage shot = captioned<CBitmapBtnEx>(QStringLiteral("L"), orientation, tall);
        const QRect ink = inkBounds(shot);
        const QPointF box = QRectF(ink).center();
        EXPECT_NEAR(box.x(), tall.width() / 2.0, 1.5);
        EXPECT_NEAR(box.y(), tall.height() / 2.0, 1.5);
        const QPointF weight = inkCentre(shot);
        const double side = orientation == CBitmapBtnEx::Rotated90 ? 1 : -1;
        EXPECT_GT((weight.x() - box.x()) * side, 0);
        EXPECT_GT((weight.y() - box.y()) * side, 0);

        const QImage word = captioned<CBitmapBtnEx>(QStringLiteral("LLLL"), orientation, tall);
        const QRect wordInk = inkBounds(word);
        EXPECT_GT(wordInk.height(), wordInk.width());
    }
}
