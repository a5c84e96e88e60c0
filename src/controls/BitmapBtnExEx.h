#pragma once

#include "controls/BitmapBtnExBase.h"

#include <QPixmap>

#include <array>

// The six-image button cut from skin pictures, with an "Arial" caption: the main window's
// profile buttons. Mouse handling and messages are those of CBitmapBtnExBase.
class CBitmapBtnExEx : public CBitmapBtnExBase {
    Q_OBJECT
public:
    explicit CBitmapBtnExEx(QWidget* parent = nullptr);

    // Cuts the six looks out of the skin pictures at [left, right) x [top, bottom), normally
    // the button's own rectangle in its window. Painting only copies them.
    void SetImages(const QPixmap& idle, const QPixmap& alternativeIdle, const QPixmap& hover,
                   const QPixmap& pressed, const QPixmap& alternativePressed,
                   const QPixmap& disabled, int left, int top, int right, int bottom);
    void SetText(const QString& caption);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::array<QPixmap, ImageCount> images_;
};
