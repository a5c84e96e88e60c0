#pragma once

#include <QImage>
#include <QPixmap>
#include <QRegion>
#include <QRgb>

#include <optional>

class QWidget;

// Window outlines from skin pictures. A skin pixel of exactly the key colour lies outside the
// window; every other pixel is part of it.

inline constexpr QRgb SkinKeyColour = qRgb(215, 0, 255);

// The region, in the picture's pixel coordinates, of every pixel whose red, green and blue are
// not exactly the key colour (the fourth byte plays no part). A picture made only of key
// colour gives an empty region; no picture gives none.
std::optional<QRegion> RegionFromBitmap(const QImage& bitmap);
std::optional<QRegion> RegionFromBitmap(const QPixmap& bitmap);

// Makes region the outline of the top-level window: where the window system cuts windows to a
// shape (X11) the region becomes the window's mask; where it takes the mask for input only
// (Wayland) the window is also made translucent, and it must paint its skin through
// SkinWithoutKeyColour so that the outside stays see-through. An empty region leaves nothing
// of the window visible. Call it before the window is shown: translucency is fixed when the
// native window is made.
void SetWindowOutline(QWidget& window, const QRegion& region);

// The sequence that shapes a skinned top-level window from its Normal picture: size it to the
// picture, centre it in the available area of its screen (the area left by panels and task
// bars), and give it the picture's outline. Returns that outline; with none (no picture) the
// window stays rectangular.
std::optional<QRegion> ShapeWindowFromSkin(QWidget& window, const QPixmap& normal);

// The skin picture as a shaped window paints it: key-colour pixels fully transparent, every
// other pixel as it was. Make it once, when the skin is loaded, not on every paint.
QPixmap SkinWithoutKeyColour(const QPixmap& picture);
