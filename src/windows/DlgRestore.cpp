#include "windows/DlgRestore.h"

#include "controls/GDIBitmapBtn.h"
#include "resources/LanguageTable.h"

#include <QPainter>

namespace {
const QString Skin = QStringLiteral("Restore");
const QColor TextColour(88, 99, 105);

QString text(const char* key) {
    return LanguageTable::instance().text(QString::fromLatin1(key));
}
}  // namespace

CDlgRestore::CDlgRestore(QWidget* parent)
    : CSkinnedDialog(QStringLiteral("Halda_CDlgRestore"), ConfirmKeys::Discarded, parent) {
    normal_ = loadSkin(Skin, QStringLiteral("Normal"));
    down_ = loadSkin(Skin, QStringLiteral("Down"));
    over_ = loadSkin(Skin, QStringLiteral("Over"));
    placeByPicture(normal_);

    close_ = addButton(ltrb(337, 6, 353, 22), normal_, over_, down_);
    ok_ = addButton(ltrb(194, 174, 271, 201), normal_, over_, down_, text("str_OK"));
    cancel_ = addButton(ltrb(274, 174, 351, 201), normal_, over_, down_, text("str_Cancel"));
    connect(close_, &CGDIBitmapBtn::clicked, this, &QDialog::reject);
    connect(ok_, &CGDIBitmapBtn::clicked, this, &QDialog::accept);
    connect(cancel_, &CGDIBitmapBtn::clicked, this, &QDialog::reject);
}

void CDlgRestore::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, normal_);
    drawCentredLine(painter, ltrb(126, 0, 234, 22), text("str_restore_title"), TextColour);
    drawWrapped(painter, ltrb(117, 100, 344, 130), text("str_msg5"), TextColour);
}
