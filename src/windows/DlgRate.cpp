#include "windows/DlgRate.h"

#include "controls/GDIBitmapBtn.h"
#include "resources/LanguageTable.h"

#include <QPainter>

#include <algorithm>

namespace {
const QString Skin = QStringLiteral("Rate");
const QColor TextColour(88, 99, 105);
// The labels are part of the skin; screen readers get them from here.
const std::array<QString, 3> ChoiceNames = {QStringLiteral("125 Hz"), QStringLiteral("500 Hz"),
                                            QStringLiteral("1000 Hz")};

QString text(const char* key) {
    return LanguageTable::instance().text(QString::fromLatin1(key));
}
}  // namespace

CDlgRate::CDlgRate(std::int32_t currentCode, QWidget* parent)
    : CSkinnedDialog(QStringLiteral("Halda_CDlgRate"), ConfirmKeys::Discarded, parent) {
    normal_ = loadSkin(Skin, QStringLiteral("Normal"));
    down_ = loadSkin(Skin, QStringLiteral("Down"));
    over_ = loadSkin(Skin, QStringLiteral("Over"));
    placeByPicture(normal_);

    close_ = addButton(ltrb(337, 6, 353, 22), normal_, over_, down_);
    ok_ = addButton(ltrb(194, 174, 271, 201), normal_, over_, down_, text("str_OK"));
    cancel_ = addButton(ltrb(274, 174, 351, 201), normal_, over_, down_, text("str_Cancel"));
    const std::array<QRect, 3> choiceRects = {ltrb(50, 111, 113, 133), ltrb(147, 111, 209, 133),
                                              ltrb(246, 111, 309, 133)};
    for (std::size_t i = 0; i < choices_.size(); ++i) {
        choices_[i] = addButton(choiceRects[i], normal_, over_, down_);
        choices_[i]->setAccessibleName(ChoiceNames[i]);
        connect(choices_[i], &CGDIBitmapBtn::clicked, this, [this, i] { choose(i); });
    }
    connect(close_, &CGDIBitmapBtn::clicked, this, &QDialog::reject);
    connect(ok_, &CGDIBitmapBtn::clicked, this, &QDialog::accept);
    connect(cancel_, &CGDIBitmapBtn::clicked, this, &QDialog::reject);

    const auto* known = std::find(Codes.begin(), Codes.end(), currentCode);
    choose(known == Codes.end() ? 0 : std::size_t(known - Codes.begin()));
}

void CDlgRate::choose(std::size_t index) {
    rateCode_ = Codes[index];
    for (std::size_t i = 0; i < choices_.size(); ++i)
        choices_[i]->SetChecked(i == index);
}

void CDlgRate::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, normal_);
    drawCentredLine(painter, ltrb(126, 0, 234, 22), text("str_rate_title"), TextColour);
    drawWrapped(painter, ltrb(24, 63, 253, 87), text("str_rate_msg"), TextColour);
}
