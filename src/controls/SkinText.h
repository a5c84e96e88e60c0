#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QPainter;

// Texts painted over skins. Their fonts are given as the skins were drawn for: a family, a
// height in pixels and a weight on the 100..900 scale.

// A positive height is the font's cell height (ascent plus descent), as the skins' texts were
// laid out for, so "Arial" 14 is the largest pixel size whose lines are at most 14 pixels high;
// a negative height is the character height (the pixel size itself).
QFont logicalFont(const QString& family, int height, int weight);

// The caption of the four- and six-image buttons: "Arial" 14/300 on one line, centred between
// client left + 8 and client right - 5, its top at half the client height less half the line
// height, cut with an ellipsis when it is too wide, never clipped.
void drawButtonCaption(QPainter& painter, const QRect& client, const QString& caption,
                       const QColor& colour);
