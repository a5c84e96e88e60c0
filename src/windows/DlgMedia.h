#pragma once

#include "controls/RegionDlg.h"
#include "windows/PageSkin.h"

#include <array>
#include <cstdint>

class CGDIBitmapBtn;

// Page 4 of the key setting dialog: eighteen icon buttons for media, browser and program
// functions (AssignMedia, the button's index as value). At most one button is checked;
// clicking it again drops the choice and gives the key its default at once. Keys with their
// default open on this page too.
class CDlgMedia : public CRegionDlg {
    Q_OBJECT
public:
    static constexpr int ButtonCount = 18;

    explicit CDlgMedia(std::uint8_t keyCode, QWidget* parent = nullptr);

    void BuildPage() override;
    void RestoreDefault() override;
    void ApplyAssignment() override;
    void ShowAssignment() override;
    void ClearSelection() override;

    // The picked button, -1 for none.
    int selectedButton() const { return selectedButton_; }
    CGDIBitmapBtn* button(int index) const { return buttons_.at(index); }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void onButtonClicked(int index);
    void select(int index);
    void clear();

    int selectedButton_ = -1;
    SkinSet skin_;
    std::array<CGDIBitmapBtn*, ButtonCount> buttons_{};
};
