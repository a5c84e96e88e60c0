// Skin pictures are read with a fast path for the plain Windows bitmaps the skins are; every
// picture must come out with exactly the pixels of Qt's own reader, whichever way it is read.
#include "controls/SkinImages.h"

#include "support/TempWorld.h"

#include <QBuffer>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <functional>

namespace {

void putLE(QByteArray& bytes, qsizetype at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes[at + i] = char(value >> (8 * i));
}

// An uncompressed Windows bitmap written by hand; a negative height stores the top row first.
// Every pixel tells where it lies; 32-bit pixels carry a fourth byte that means nothing.
QByteArray plainBitmap(int width, int height, int bits) {
    const int rows = std::abs(height);
    const int stride = (width * bits + 31) / 32 * 4;
    QByteArray file(54 + stride * rows, '\0');
    file[0] = 'B';
    file[1] = 'M';
    putLE(file, 2, std::uint32_t(file.size()), 4);
    putLE(file, 10, 54, 4);
    putLE(file, 14, 40, 4);
    putLE(file, 18, std::uint32_t(width), 4);
    putLE(file, 22, std::uint32_t(height), 4);
    putLE(file, 26, 1, 2);
    putLE(file, 28, std::uint32_t(bits), 2);
    for (int row = 0; row < rows; ++row) {
        const int y = height > 0 ? rows - 1 - row : row;
        for (int x = 0; x < width; ++x) {
            const qsizetype at = 54 + qsizetype(row) * stride + x * (bits / 8);
            file[at] = char(10 + x);           // blue
            file[at + 1] = char(100 + y);      // green
            file[at + 2] = char(200 + x + y);  // red
            if (bits == 32)
                file[at + 3] = char(0x5A);
        }
    }
    return file;
}

QByteArray writtenByQt(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

QImage loaded(const QByteArray& content) {
    const QString path = TempWorld::current().root() + QStringLiteral("/skin.bmp");
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(content);
    file.close();
    QPixmap bitmap;
    LoadPictureFile(path, bitmap);
    return bitmap.toImage().convertToFormat(QImage::Format_RGB32);
}

QImage readByQt(const QByteArray& content) {
    return QImage::fromData(content, "BMP").convertToFormat(QImage::Format_RGB32);
}

}  // namespace

TEST(SkinBitmapFile, EveryKindOfBitmapHasThePixelsQtsReaderGives) {
    QImage palette(7, 3, QImage::Format_Indexed8);
    palette.setColorTable({qRgb(1, 2, 3), qRgb(200, 100, 50)});
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x)
            palette.setPixel(x, y, (x + y) % 2);
    const struct {
        const char* name;
        QByteArray content;
    } cases[] = {
        {"24 bits, rows padded, bottom up", plainBitmap(5, 3, 24)},
        {"24 bits, top down", plainBitmap(6, -4, 24)},
        {"32 bits, bottom up", plainBitmap(3, 5, 32)},
        {"32 bits, top down", plainBitmap(2, -2, 32)},
        {"written by Qt", writtenByQt(QImage::fromData(plainBitmap(9, 4, 24)))},
        {"with a palette", writtenByQt(palette)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage expected = readByQt(c.content);
        ASSERT_FALSE(expected.isNull());
        EXPECT_TRUE(loaded(c.content) == expected);
    }
}

// What the fast path does not take whole goes to Qt's reader, which makes of it what it can.
TEST(SkinBitmapFile, ADamagedBitmapIsLeftToQtsReader) {
    QByteArray cut = plainBitmap(40, 30, 24);
    cut.truncate(cut.size() / 2);
    EXPECT_EQ(loaded(cut).size(), readByQt(cut).size());
    QByteArray wide = plainBitmap(4, 4, 24);
    putLE(wide, 18, 0x7FFFFFFF, 4);
    EXPECT_EQ(loaded(wide).isNull(), readByQt(wide).isNull());
    EXPECT_TRUE(loaded(QByteArray("BM")).isNull());
}
