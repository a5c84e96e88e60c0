#include "windows/ConfirmDialog.h"

#include "controls/GDIBitmapBtn.h"
#include "resources/LanguageTable.h"

#include <QPainter>

namespace {
const QColor TextColour(88, 99, 105);

QString text(const char* key) {
    return LanguageTable::instance().text(QString::fromLatin1(key));
}
}  // namespace

CConfirmDialog::CConfirmDialog(const QString& title, const QString& skinName, const char* titleKey,
                               const char* messageKey, const QRect& messageRect, QWidget* parent)
    : CSkinnedDialog(title, ConfirmKeys::Discarded, parent),
      titleKey_(titleKey),
      messageKey_(messageKey),
      messageRect_(messageRect) {
    skin_.load(skinName);
    placeByPicture(skin_.normal);

    close_ = addButton(skinRect(337, 6, 353, 22), skin_.normal, skin_.over, skin_.down);
    ok_ = addButton(skinRect(194, 174, 271, 201), skin_.normal, skin_.over, skin_.down,
                    text("str_OK"));
    cancel_ = addButton(skinRect(274, 174, 351, 201), skin_.normal, skin_.over, skin_.down,
                        text("str_Cancel"));
    connect(close_, &CGDIBitmapBtn::clicked, this, &QDialog::reject);
    connect(ok_, &CGDIBitmapBtn::clicked, this, &QDialog::accept);
    connect(cancel_, &CGDIBitmapBtn::clicked, this, &QDialog::reject);
}

void CConfirmDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, skin_.normal);
    drawAlignedText(painter, skinRect(126, 0, 234, 22), text(titleKey_), TextColour,
                    Qt::AlignCenter);
    drawWrapped(painter, messageRect_, text(messageKey_), TextColour);
}
