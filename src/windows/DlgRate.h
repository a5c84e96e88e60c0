#pragma once

#include "windows/ConfirmDialog.h"

#include <array>
#include <cstdint>

class CGDIBitmapBtn;

// The report rate dialog: the user picks one of three rates, shown as codes 8, 2 and 1
// (125, 500 and 1000 reports a second). It writes nothing; after OK its owner reads the
// chosen code, tells the companion and stores it.
class CDlgRate : public CConfirmDialog {
    Q_OBJECT
public:
    static constexpr std::array<std::int32_t, 3> Codes = {8, 2, 1};

    // A code that is none of the three opens with the first choice (8).
    explicit CDlgRate(std::int32_t currentCode, QWidget* parent = nullptr);

    // The code of the checked choice.
    std::int32_t rateCode() const { return rateCode_; }

    // For tests and accessibility: the three choices in the order of Codes.
    CGDIBitmapBtn* choice(std::size_t index) const { return choices_[index]; }

private:
    void choose(std::size_t index);

    std::int32_t rateCode_ = Codes[0];
    std::array<CGDIBitmapBtn*, 3> choices_{};
};
