#include "controls/SkinText.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

QFont logicalFont(const QString& family, int height, int weight) {
    QFont font(family);
    font.setWeight(QFont::Weight(std::clamp(weight, 1, 1000)));
    font.setStyleHint(QFont::SansSerif);
    if (height < 0) {
        font.setPixelSize(-height);
        return font;
    }
    const int cellHeight = std::max(height, 1);
    int pixelSize = cellHeight;
    font.setPixelSize(pixelSize);
    while (pixelSize > 1 && QFontMetrics(font).height() > cellHeight)
        font.setPixelSize(--pixelSize);
    return font;
}

void drawButtonCaption(QPainter& painter, const QRect& client, const QString& caption,
                       const QColor& colour) {
    if (caption.isEmpty())
        return;
    static const QFont font = logicalFont(QStringLiteral("Arial"), 14, 300);
    const QFontMetrics metrics(font);
    const int lineHeight = metrics.height();
    // Rectangles here are left, top, right, bottom with the right and bottom edges outside.
    const int left = client.left() + 8;
    const int right = client.left() + client.width() - 5;
    const int top = client.height() / 2 - lineHeight / 2;
    const int bottom = client.top() + client.height();
    const QRect textRect(left, top, right - left, bottom - top);
    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(textRect,
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
                     metrics.elidedText(caption, Qt::ElideRight, textRect.width()));
    painter.restore();
}
