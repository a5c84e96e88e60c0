#include "ContactSheet.h"

#include <QFont>
#include <QPainter>

namespace {
constexpr int kGap = 16;
constexpr int kLabel = 20;

int scaleFor(const QImage& image) {
    return image.width() <= 32 ? 6 : 1;
}
int columnWidth(const QImage& image) {
    return std::max(image.width() * scaleFor(image), 130);
}
}  // namespace

QImage contactSheet(const QList<QList<SheetEntry>>& rows) {
    int width = 0, height = kGap;
    for (const auto& row : rows) {
        int w = kGap, h = 0;
        for (const SheetEntry& e : row) {
            const int s = scaleFor(e.image);
            w += columnWidth(e.image) + kGap;
            h = std::max(h, e.image.height() * s);
        }
        width = std::max(width, w);
        height += kLabel + h + kGap;
    }
    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(QColor(236, 237, 239));
    QPainter p(&sheet);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(13);
    p.setFont(font);
    p.setPen(QColor(40, 40, 44));
    int y = kGap;
    for (const auto& row : rows) {
        int x = kGap, h = 0;
        for (const SheetEntry& e : row) {
            const int s = scaleFor(e.image);
            const QSize size = e.image.size() * s;
            p.drawText(QRect(x, y, columnWidth(e.image), kLabel - 4),
                       Qt::AlignLeft | Qt::AlignBottom, e.label);
            if (s > 1)  // show transparency against a list's background
                p.fillRect(QRect(QPoint(x, y + kLabel), size), QColor(21, 24, 29));
            p.drawImage(QRect(QPoint(x, y + kLabel), size), e.image);
            x += columnWidth(e.image) + kGap;
            h = std::max(h, size.height());
        }
        y += kLabel + h + kGap;
    }
    return sheet;
}
