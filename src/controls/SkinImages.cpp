#include "controls/SkinImages.h"

#include "platform/Paths.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QtEndian>

#include <cstdint>
#include <cstdlib>
#include <optional>

namespace {

std::uint32_t readLE(const QByteArray& bytes, qsizetype at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | std::uint8_t(bytes[at + i]);
    return value;
}

// Windows bitmaps as the skins are drawn: uncompressed, 24 or 32 bits per pixel. Qt's reader
// converts them pixel by pixel through colour masks; taking the rows as they lie is several
// times faster, and the main window loads five pictures of its whole size at every start.
// Everything else (other depths, palettes, compression, damage) is left to Qt's reader.
std::optional<QImage> readPlainBitmap(const QByteArray& file) {
    constexpr qsizetype FileHeader = 14, InfoHeader = 40;
    if (file.size() < FileHeader + InfoHeader || file[0] != 'B' || file[1] != 'M')
        return std::nullopt;
    const qsizetype dataOffset = readLE(file, 10, 4);
    const std::int32_t width = std::int32_t(readLE(file, 18, 4));
    const std::int32_t height = std::int32_t(readLE(file, 22, 4));
    const std::uint32_t planes = readLE(file, 26, 2);
    const std::uint32_t bits = readLE(file, 28, 2);
    const std::uint32_t compression = readLE(file, 30, 4);
    constexpr std::int32_t Limit = 1 << 14;
    if (readLE(file, 14, 4) < InfoHeader || planes != 1 || (bits != 24 && bits != 32) ||
        compression != 0 || width <= 0 || width > Limit || height == 0 || height > Limit ||
        height < -Limit)
        return std::nullopt;
    const int rows = std::abs(height);
    const qsizetype stride = (qsizetype(width) * bits + 31) / 32 * 4;
    if (dataOffset < FileHeader + InfoHeader || dataOffset + stride * rows > file.size())
        return std::nullopt;
    QImage image(width, rows, QImage::Format_RGB32);
    if (image.isNull())
        return std::nullopt;
    const auto* data = reinterpret_cast<const std::uint8_t*>(file.constData()) + dataOffset;
    const int step = bits / 8;
    uchar* const out = image.bits();
    const qsizetype outStride = image.bytesPerLine();
    for (int y = 0; y < rows; ++y) {
        // A positive height stores the bottom row first.
        const std::uint8_t* from = data + (height > 0 ? rows - 1 - y : y) * stride;
        auto* to = reinterpret_cast<QRgb*>(out + y * outStride);
        // Four bytes at a time hold blue, green, red and one more, which the mask drops. The
        // last pixel of a 24-bit row is read byte by byte: its fourth byte may lie past the
        // end of the file.
        const int whole = step == 4 ? width : width - 1;
        for (int x = 0; x < whole; ++x, from += step)
            to[x] = 0xFF000000u | (qFromLittleEndian<quint32>(from) & 0x00FFFFFFu);
        if (step == 3)
            to[width - 1] = qRgb(from[2], from[1], from[0]);
    }
    return image;
}

}  // namespace

QString skinPath(const QString& skinName, const QString& state) {
    return Paths::executableDirectory() + QStringLiteral("skins/") + skinName + QLatin1Char('_') +
           state + QStringLiteral(".bmp");
}

QSize LoadPictureFile(const QString& path, QPixmap& bitmap) {
    // Any format Qt decodes loads the same way; the skins are Windows bitmap files.
    QFile file(path);
    const QByteArray content = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    QImage image = readPlainBitmap(content).value_or(QImage());
    if (image.isNull())
        image = QImage::fromData(content);
    bitmap = image.isNull() ? QPixmap() : QPixmap::fromImage(std::move(image));
    return bitmap.size();
}

void CopyBitmapRect(QPixmap& target, const QPixmap& source, int left, int top, int right,
                    int bottom) {
    if (source.isNull())
        return;
    const QRect area(left, top, right - left, bottom - top);
    // QPixmap::copy takes an empty rectangle for "all of it"; an empty area is no image.
    if (area.isEmpty()) {
        target = QPixmap();
        return;
    }
    if (source.rect().contains(area)) {
        target = source.copy(area);
        return;
    }
    // Parts outside the source stay transparent, as they hold nothing of the skin.
    QPixmap copy(area.size());
    copy.fill(Qt::transparent);
    QPainter painter(&copy);
    painter.drawPixmap(QPoint(0, 0), source, area);
    painter.end();
    target = copy;
}
