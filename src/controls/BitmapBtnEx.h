#pragma once

#include "controls/BitmapBtnExBase.h"

#include <QImage>

#include <array>

// The six-image button whose looks are areas of larger images, drawn scaled to the button,
// with a caption in the default sans font that may run vertically: the profile list's cells.
// Mouse handling and messages are those of CBitmapBtnExBase.
class CBitmapBtnEx : public CBitmapBtnExBase {
    Q_OBJECT
public:
    // SetText orientations; any other value is horizontal.
    static constexpr int Rotated90 = 2;   // reads upwards
    static constexpr int Rotated270 = 3;  // reads downwards

    explicit CBitmapBtnEx(QWidget* parent = nullptr);

    // Copies the area (x, y, width, height) of each source. A null source, or an area that
    // does not lie inside it, leaves that look empty; an empty look draws nothing.
    void SetImages(const QImage& idle, const QImage& alternativeIdle, const QImage& hover,
                   const QImage& pressed, const QImage& alternativePressed, const QImage& disabled,
                   int x, int y, int width, int height);
    void SetText(const QString& caption, int orientation = 0);
    int orientation() const { return orientation_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::array<QImage, ImageCount> images_;
    int orientation_ = 0;
};
