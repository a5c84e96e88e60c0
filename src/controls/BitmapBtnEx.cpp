#include "controls/BitmapBtnEx.h"

#include "controls/SkinText.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>

namespace {
constexpr int FontHeight = 12;
constexpr int FontWeight = 500;
}  // namespace

CBitmapBtnEx::CBitmapBtnEx(QWidget* parent) : CBitmapBtnExBase(parent) {}

void CBitmapBtnEx::SetImages(const QImage& idle, const QImage& alternativeIdle, const QImage& hover,
                             const QImage& pressed, const QImage& alternativePressed,
                             const QImage& disabled, int x, int y, int width, int height) {
    const std::array<const QImage*, ImageCount> sources = {
        &idle, &alternativeIdle, &hover, &pressed, &alternativePressed, &disabled};
    const QRect area(x, y, width, height);
    for (int i = 0; i < ImageCount; ++i) {
        const QImage& source = *sources[i];
        images_[i] = !area.isEmpty() && source.rect().contains(area) ? source.copy(area) : QImage();
    }
    update();
}

void CBitmapBtnEx::SetText(const QString& caption, int orientation) {
    orientation_ = orientation;
    storeCaption(caption);
}

void CBitmapBtnEx::paintEvent(QPaintEvent*) {
    const Look current = look();
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), images_[current.image]);
    if (caption().isEmpty())
        return;

    static const QFont font = logicalFont(
        QFontDatabase::systemFont(QFontDatabase::GeneralFont).family(), FontHeight, FontWeight);
    painter.setFont(font);
    painter.setPen(current.colour);
    // Lay the line out in the button's frame turned with the text, centred on the button.
    QSizeF line = rect().size();
    painter.translate(QRectF(rect()).center());
    if (orientation_ == Rotated90 || orientation_ == Rotated270) {
        painter.rotate(orientation_ == Rotated90 ? -90 : 90);
        line.transpose();
    }
    const QRectF lineRect(QPointF(-line.width() / 2, -line.height() / 2), line);
    const QString shown =
        QFontMetrics(font).elidedText(caption(), Qt::ElideRight, int(lineRect.width()));
    painter.drawText(lineRect, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip, shown);
}
