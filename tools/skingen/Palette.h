#pragma once

#include <QColor>

// The look follows the colours the windows give their texts and lists: dark graphite surfaces,
// grey text, and one orange accent for whatever is pressed, selected or assigned.
namespace Palette {
inline const QColor keyColour(215, 0, 255);  // outside the main window; nowhere else
inline const QColor surface(21, 24, 29);
inline const QColor page(25, 28, 34);
inline const QColor panel(27, 31, 37);
inline const QColor header(17, 19, 23);
inline const QColor edge(48, 54, 63);
inline const QColor line(40, 45, 53);
inline const QColor text(88, 95, 105);
inline const QColor accent(233, 85, 19);
inline const QColor accentLight(250, 122, 62);
inline const QColor glyph(135, 142, 153);
inline const QColor glyphHover(222, 226, 231);
}  // namespace Palette
