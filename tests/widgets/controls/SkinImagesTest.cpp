#include "controls/SkinImages.h"

#include "support/TempWorld.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {
// A picture whose every pixel tells where it came from: red = x, green = y.
QImage coordinatePicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x, y, 7));
    return image;
}
}  // namespace

TEST(SkinImages, PathIsBesideTheExecutable) {
    EXPECT_EQ(skinPath(QStringLiteral("Macro"), QStringLiteral("Down")),
              TempWorld::current().appDir() + QStringLiteral("skins/Macro_Down.bmp"));
}

TEST(SkinImages, LoadReplacesTheHeldPictureAndAMissingFileLeavesNone) {
    const QString path = TempWorld::current().root() + QStringLiteral("/picture.bmp");
    ASSERT_TRUE(coordinatePicture(5, 3).save(path));

    QPixmap bitmap(9, 9);
    EXPECT_EQ(LoadPictureFile(path, bitmap), QSize(5, 3));
    EXPECT_EQ(bitmap.toImage().pixel(4, 2), qRgb(4, 2, 7));

    EXPECT_EQ(LoadPictureFile(path + QStringLiteral(".missing"), bitmap), QSize(0, 0));
    EXPECT_TRUE(bitmap.isNull());
}

TEST(SkinImages, CopyTakesTheRectangleAndAnEmptySourceKeepsTheTarget) {
    const QPixmap source = QPixmap::fromImage(coordinatePicture(20, 10));
    QPixmap target;
    CopyBitmapRect(target, source, 3, 2, 8, 6);
    ASSERT_EQ(target.size(), QSize(5, 4));
    EXPECT_EQ(target.toImage().pixel(0, 0), qRgb(3, 2, 7));
    EXPECT_EQ(target.toImage().pixel(4, 3), qRgb(7, 5, 7));

    CopyBitmapRect(target, QPixmap(), 0, 0, 1, 1);
    EXPECT_EQ(target.size(), QSize(5, 4));

    // An empty area is no image at all, not the whole picture.
    CopyBitmapRect(target, source, 4, 4, 4, 9);
    EXPECT_TRUE(target.isNull());
}
