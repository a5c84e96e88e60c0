#include "controls/WindowRegion.h"

#include <QImage>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {
constexpr QRgb Opaque = qRgb(10, 120, 30);
constexpr QRgb Key = SkinKeyColour;

// A picture drawn row by row from text: '#' opaque, '.' key colour.
QImage pictureOf(const std::vector<std::string>& rows,
                 QImage::Format format = QImage::Format_RGB32) {
    QImage image(int(rows.front().size()), int(rows.size()), format);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, rows[y][x] == '.' ? Key : Opaque);
    return image;
}

QImage filled(int width, int height, QRgb colour, QImage::Format format = QImage::Format_RGB32) {
    QImage image(width, height, format);
    image.fill(colour);
    return image;
}

// runsPerRow one-pixel runs on every row (opaque at even x, key colour at odd x), and on an
// extra last row lastRowRuns more.
QImage columns(int runsPerRow, int rows, int lastRowRuns = 0) {
    QImage image = filled(2 * runsPerRow - 1, rows + (lastRowRuns ? 1 : 0), Key);
    for (int y = 0; y < image.height(); ++y) {
        const int runs = y < rows ? runsPerRow : lastRowRuns;
        for (int i = 0; i < runs; ++i)
            image.setPixel(2 * i, y, Opaque);
    }
    return image;
}

QRegion columnsRegion(int runsPerRow, int rows, int lastRowRuns = 0) {
    QRegion region;
    for (int y = 0; y < rows + (lastRowRuns ? 1 : 0); ++y)
        for (int i = 0; i < (y < rows ? runsPerRow : lastRowRuns); ++i)
            region += QRect(2 * i, y, 1, 1);
    return region;
}

std::string describe(const QRegion& region) {
    std::string text;
    for (const QRect& r : region)
        text += "(" + std::to_string(r.left()) + "," + std::to_string(r.top()) + " " +
                std::to_string(r.width()) + "x" + std::to_string(r.height()) + ")";
    return text;
}

QRegion unionOf(const std::vector<QRect>& rects) {
    QRegion region;
    for (const QRect& r : rects)
        region += r;
    return region;
}

struct RegionCase {
    const char* name;
    std::function<QImage()> picture;
    std::function<QRegion()> expected;
};

void PrintTo(const RegionCase& regionCase, std::ostream* out) {
    *out << regionCase.name;
}

const RegionCase regionCases[] = {
    {"AllKeyColourIsEmpty", [] { return filled(7, 3, Key); }, [] { return QRegion(); }},
    {"NoKeyColourCoversEveryRow", [] { return filled(6, 4, Opaque); },
     [] {
         return unionOf(
             {QRect(0, 0, 6, 1), QRect(0, 1, 6, 1), QRect(0, 2, 6, 1), QRect(0, 3, 6, 1)});
     }},
    {"KeyBetweenRunsAndAtTheRowStart",
     [] {
         return pictureOf({"##.###", ".#####", "..##.."});
     },
     [] {
         return unionOf(
             {QRect(0, 0, 2, 1), QRect(3, 0, 3, 1), QRect(1, 1, 5, 1), QRect(2, 2, 2, 1)});
     }},
    {"OnlyTheExactKeyColourIsOutside",
     [] {
         QImage image = filled(4, 1, Key);
         image.setPixel(1, 0, qRgb(215, 0, 254));
         image.setPixel(2, 0, qRgb(214, 0, 255));
         image.setPixel(3, 0, qRgb(215, 1, 255));
         return image;
     },
     [] { return QRegion(1, 0, 3, 1); }},
    {"FourthByteIsIgnored",
     [] {
         QImage image = filled(5, 1, Opaque, QImage::Format_ARGB32);
         image.setPixel(0, 0, qRgba(215, 0, 255, 0));
         image.setPixel(2, 0, qRgba(215, 0, 255, 0x7f));
         image.setPixel(4, 0, qRgba(215, 0, 255, 0xff));
         image.setPixel(3, 0, qRgba(10, 120, 30, 0));
         return image;
     },
     [] {
         return unionOf({QRect(1, 0, 1, 1), QRect(3, 0, 1, 1)});
     }},
    {"PicturesWithoutAFourthByte",
     [] {
         return pictureOf({"#.#", "..#"}, QImage::Format_RGB888);
     },
     [] {
         return unionOf({QRect(0, 0, 1, 1), QRect(2, 0, 1, 2)});
     }},
    {"Exactly2000Rectangles", [] { return columns(100, 20); },
     [] { return columnsRegion(100, 20); }},
    {"2001Rectangles", [] { return columns(100, 20, 1); },
     [] { return columnsRegion(100, 20, 1); }},
    // 3 runs a row: the first batch ends after the second run of row 666.
    {"ABatchEndingInsideARow", [] { return columns(3, 667, 2); },
     [] { return columnsRegion(3, 667, 2); }},
    {"SeveralBatches", [] { return columns(150, 40); }, [] { return columnsRegion(150, 40); }},
};

class RegionFromBitmapCases : public ::testing::TestWithParam<RegionCase> {};
}  // namespace

TEST_P(RegionFromBitmapCases, CoversExactlyThePixelsNotOfTheKeyColour) {
    const std::optional<QRegion> region = RegionFromBitmap(GetParam().picture());
    ASSERT_TRUE(region.has_value());
    // The same area can be cut into different rectangle lists, so compare what they cover.
    EXPECT_TRUE(region->xored(GetParam().expected()).isEmpty()) << describe(*region);
}

INSTANTIATE_TEST_SUITE_P(RegionFromBitmap, RegionFromBitmapCases, ::testing::ValuesIn(regionCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RegionFromBitmap, NoPictureGivesNone) {
    EXPECT_FALSE(RegionFromBitmap(QImage()).has_value());
    EXPECT_FALSE(RegionFromBitmap(QPixmap()).has_value());
}

TEST(RegionFromBitmap, IdenticalRowsShareTheirRectangles) {
    // A rounded outline: only the rows that differ cost rectangles of their own.
    const QImage rounded = pictureOf(
        {"..####..", ".######.", "########", "########", "########", ".######.", "..####.."});
    const std::optional<QRegion> region = RegionFromBitmap(QPixmap::fromImage(rounded));
    ASSERT_TRUE(region.has_value());
    EXPECT_EQ(region->rectCount(), 5);
    EXPECT_EQ(RegionFromBitmap(filled(640, 480, Opaque))->rectCount(), 1);
    EXPECT_EQ(RegionFromBitmap(columns(100, 20))->rectCount(), 100);
}

TEST(SkinWithoutKeyColour, MakesOnlyTheKeyColourTransparent) {
    QImage picture = pictureOf({"#..#"});
    picture.setPixel(2, 0, qRgb(215, 0, 254));
    const QImage painted = SkinWithoutKeyColour(QPixmap::fromImage(picture)).toImage();
    EXPECT_EQ(painted.pixel(0, 0), Opaque);
    EXPECT_EQ(qAlpha(painted.pixel(1, 0)), 0);
    EXPECT_EQ(painted.pixel(2, 0), qRgb(215, 0, 254));
    EXPECT_EQ(painted.pixel(3, 0), Opaque);
    EXPECT_TRUE(SkinWithoutKeyColour(QPixmap()).isNull());
}
