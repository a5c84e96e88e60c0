#include "controls/SkinImages.h"

#include "platform/Paths.h"

#include <QImage>
#include <QPainter>
#include <QRect>

QString skinPath(const QString& skinName, const QString& state) {
    return Paths::executableDirectory() + QStringLiteral("skins/") + skinName + QLatin1Char('_') +
           state + QStringLiteral(".bmp");
}

QSize LoadPictureFile(const QString& path, QPixmap& bitmap) {
    // Any format Qt decodes loads the same way; the skins are Windows bitmap files.
    QImage image(path);
    bitmap = image.isNull() ? QPixmap() : QPixmap::fromImage(std::move(image));
    return bitmap.size();
}

void CopyBitmapRect(QPixmap& target, const QPixmap& source, int left, int top, int right,
                    int bottom) {
    if (source.isNull())
        return;
    const QRect area(left, top, right - left, bottom - top);
    // QPixmap::copy takes an empty rectangle for "all of it"; an empty area is no image.
    if (area.isEmpty()) {
        target = QPixmap();
        return;
    }
    if (source.rect().contains(area)) {
        target = source.copy(area);
        return;
    }
    // Parts outside the source stay transparent, as they hold nothing of the skin.
    QPixmap copy(area.size());
    copy.fill(Qt::transparent);
    QPainter painter(&copy);
    painter.drawPixmap(QPoint(0, 0), source, area);
    painter.end();
    target = copy;
}
