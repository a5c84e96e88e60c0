#include "controls/BitmapBtnExEx.h"

#include "controls/SkinImages.h"
#include "controls/SkinText.h"

#include <QPainter>

CBitmapBtnExEx::CBitmapBtnExEx(QWidget* parent) : CBitmapBtnExBase(parent) {}

void CBitmapBtnExEx::SetImages(const QPixmap& idle, const QPixmap& alternativeIdle,
                               const QPixmap& hover, const QPixmap& pressed,
                               const QPixmap& alternativePressed, const QPixmap& disabled, int left,
                               int top, int right, int bottom) {
    const std::array<const QPixmap*, ImageCount> sources = {
        &idle, &alternativeIdle, &hover, &pressed, &alternativePressed, &disabled};
    for (int i = 0; i < ImageCount; ++i)
        CopyBitmapRect(images_[i], *sources[i], left, top, right, bottom);
    update();
}

void CBitmapBtnExEx::SetText(const QString& caption) {
    storeCaption(caption);
}

void CBitmapBtnExEx::paintEvent(QPaintEvent*) {
    const Look current = look();
    // Qt paints into the window's backing store and shows it in one step, so the caption
    // never flickers over the image.
    QPainter painter(this);
    painter.drawPixmap(QPoint(0, 0), images_[current.image], rect());
    drawButtonCaption(painter, rect(), caption(), current.colour);
}
