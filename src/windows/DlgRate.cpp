#include "windows/DlgRate.h"

#include "controls/GDIBitmapBtn.h"

#include <algorithm>

namespace {
// The labels are part of the skin; screen readers get them from here.
const std::array<QString, 3> ChoiceNames = {QStringLiteral("125 Hz"), QStringLiteral("500 Hz"),
                                            QStringLiteral("1000 Hz")};
}  // namespace

CDlgRate::CDlgRate(std::int32_t currentCode, QWidget* parent)
    : CConfirmDialog(QStringLiteral("Halda_CDlgRate"), QStringLiteral("Rate"), "str_rate_title",
                     "str_rate_msg", skinRect(24, 63, 253, 87), parent) {
    const std::array<QRect, 3> choiceRects = {
        skinRect(50, 111, 113, 133), skinRect(147, 111, 209, 133), skinRect(246, 111, 309, 133)};
    for (std::size_t i = 0; i < choices_.size(); ++i) {
        choices_[i] = addButton(choiceRects[i], skin().normal, skin().over, skin().down);
        choices_[i]->setAccessibleName(ChoiceNames[i]);
        connect(choices_[i], &CGDIBitmapBtn::clicked, this, [this, i] { choose(i); });
    }

    const auto* known = std::find(Codes.begin(), Codes.end(), currentCode);
    choose(known == Codes.end() ? 0 : std::size_t(known - Codes.begin()));
}

void CDlgRate::choose(std::size_t index) {
    rateCode_ = Codes[index];
    for (std::size_t i = 0; i < choices_.size(); ++i)
        choices_[i]->SetChecked(i == index);
}
