#pragma once

#include <QColor>
#include <QRectF>
#include <QString>

class QPainter;

// Small drawings of our own, each scaled into the given box in the given colour.
namespace Glyphs {
// The eighteen media, browser and program functions; false for an unknown name.
bool media(QPainter& p, const QRectF& box, const QString& name, const QColor& colour);
// Key press (down), key release (up) and pause (delay) marks of the macro event list.
bool listIcon(QPainter& p, const QRectF& box, const QString& name, const QColor& colour);
// An arrow head pointing 0 up, 1 right, 2 down, 3 left.
void arrow(QPainter& p, const QRectF& box, int direction, const QColor& colour);
void speaker(QPainter& p, const QRectF& box, const QColor& colour, bool crossed);
void padlock(QPainter& p, const QRectF& box, const QColor& colour);
void menu(QPainter& p, const QRectF& box, const QColor& colour);
}  // namespace Glyphs
