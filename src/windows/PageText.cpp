#include "windows/PageText.h"

#include "controls/SkinText.h"

#include <QFontMetrics>
#include <QPainter>

void drawPageText(QPainter& painter, const QRect& area, const QString& text, const QColor& colour) {
    static const QFont font = logicalFont(QStringLiteral("Arial"), 14, 300);
    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QFontMetrics(font).elidedText(text, Qt::ElideRight, area.width()));
    painter.restore();
}
