#include "controls/WindowRegion.h"

#include "support/WaitUntil.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

namespace {
constexpr QRgb Face = qRgb(40, 90, 200);

// A skin like the main window's: a face with rounded corners in the key colour.
QPixmap roundedSkin(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(SkinKeyColour);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(Face));
    painter.drawRoundedRect(QRect(0, 0, width, height), 12, 12);
    painter.end();
    return QPixmap::fromImage(image);
}

bool inputMaskOnly() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// A captionless window that paints its skin, as the skinned windows do.
class SkinnedWindow : public QWidget {
public:
    explicit SkinnedWindow(const QPixmap& skin)
        : QWidget(nullptr, Qt::FramelessWindowHint), skin_(SkinWithoutKeyColour(skin)) {}
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawPixmap(0, 0, skin_);
        ++paints;
    }

private:
    QPixmap skin_;
};
}  // namespace

TEST(WindowOutline, SizesCentresInTheAvailableAreaAndShapes) {
    const QPixmap skin = roundedSkin(301, 201);
    QWidget window;
    const std::optional<QRegion> outline = ShapeWindowFromSkin(window, skin);
    ASSERT_TRUE(outline.has_value());

    const QRect available = window.screen()->availableGeometry();
    EXPECT_EQ(window.geometry(), QRect(available.x() + (available.width() - 301) / 2,
                                       available.y() + (available.height() - 201) / 2, 301, 201));
    EXPECT_TRUE(window.mask().xored(*outline).isEmpty());
    EXPECT_TRUE(outline->contains(QPoint(150, 100)));
    EXPECT_FALSE(outline->contains(QPoint(0, 0)));
    EXPECT_EQ(window.testAttribute(Qt::WA_TranslucentBackground), inputMaskOnly());
}

TEST(WindowOutline, WithoutAPictureTheWindowStaysRectangular) {
    QWidget window;
    window.resize(120, 90);
    EXPECT_FALSE(ShapeWindowFromSkin(window, QPixmap()).has_value());
    EXPECT_EQ(window.size(), QSize(120, 90));
    EXPECT_TRUE(window.mask().isEmpty());
}

TEST(WindowOutline, AnEmptyOutlineLeavesNothingOfTheWindow) {
    QPixmap allKey(40, 30);
    allKey.fill(QColor(SkinKeyColour));
    QWidget window;
    const std::optional<QRegion> outline = ShapeWindowFromSkin(window, allKey);
    ASSERT_TRUE(outline.has_value());
    EXPECT_TRUE(outline->isEmpty());
    // Qt reads an empty mask as none at all; this one is set and holds no pixel of the window.
    EXPECT_FALSE(window.mask().isEmpty());
    EXPECT_TRUE(window.mask().intersected(window.rect()).isEmpty());
}

// Run for real under a compositor as well (QT_QPA_PLATFORM=wayland): the window maps, paints
// its face, and on Wayland shows nothing where the skin has the key colour.
TEST(WindowOutline, ShapedWindowMapsAndDraws) {
    const QPixmap skin = roundedSkin(160, 100);
    SkinnedWindow window(skin);
    ASSERT_TRUE(ShapeWindowFromSkin(window, skin).has_value());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, 10000));
    ASSERT_TRUE(waitUntil([&] { return window.paints > 0; }, 10000));

    ASSERT_NE(window.windowHandle(), nullptr);
    EXPECT_TRUE(window.windowHandle()->mask().xored(window.mask()).isEmpty());
    if (inputMaskOnly()) {
        EXPECT_TRUE(window.windowHandle()->requestedFormat().hasAlpha());
    }

    const QImage shown = window.grab().toImage();
    EXPECT_EQ(shown.pixel(80, 50), Face);
    if (inputMaskOnly()) {
        EXPECT_EQ(qAlpha(shown.pixel(0, 0)), 0);
    }
}
