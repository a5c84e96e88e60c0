#pragma once

#include <QColor>
#include <QRect>
#include <QString>

class QPainter;

// A text the assignment pages paint over their skin: "Arial" 14/300 on one line,
// left-aligned and vertically centred in area, cut with an ellipsis when it is too wide and
// clipped to area.
void drawPageText(QPainter& painter, const QRect& area, const QString& text, const QColor& colour);

// The rectangle of a skin item given as left, top, right, bottom, right and bottom outside.
inline QRect skinRect(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}
