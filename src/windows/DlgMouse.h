#pragma once

#include "controls/RegionDlg.h"
#include "windows/PageSkin.h"

#include <array>
#include <cstdint>

class CListBoxEx;

// Page 5 of the key setting dialog: the key becomes a mouse button (AssignMouse). The stored
// value is the button's code, not the list row.
class CDlgMouse : public CRegionDlg {
    Q_OBJECT
public:
    static constexpr int ListId = 100;
    // The code of each row. The last row is never listed, so the user cannot pick it, but a
    // key that already carries its code keeps it through OK.
    static constexpr std::array<int, 6> RowCodes{1, 2, 4, 16, 8, 10};
    static constexpr int ListedRows = 5;

    explicit CDlgMouse(std::uint8_t keyCode, QWidget* parent = nullptr);

    void BuildPage() override;
    void RestoreDefault() override;
    void ApplyAssignment() override;
    void ShowAssignment() override;
    void ClearSelection() override;

    std::int64_t receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                std::int64_t lParam) override;

    // The row OK stores, -1 for none; may be the unlisted last row.
    int selectedRow() const { return selectedRow_; }
    CListBoxEx* buttonList() const { return list_; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int selectedRow_ = -1;
    SkinSet skin_;
    CListBoxEx* list_ = nullptr;
};
