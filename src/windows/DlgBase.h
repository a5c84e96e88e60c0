#pragma once

#include "controls/RegionDlg.h"
#include "windows/PageSkin.h"

#include <cstdint>

class CListBoxEx;

// Page 3 of the key setting dialog: one list of fourteen fixed functions, nine edit shortcuts
// (AssignEdit) and five system functions (AssignSystem). Both store the function's row in
// the list, so the system values run 9 to 13.
class CDlgBase : public CRegionDlg {
    Q_OBJECT
public:
    static constexpr int ListId = 101;
    static constexpr int RowCount = 14;
    static constexpr int FirstSystemRow = 9;

    explicit CDlgBase(std::uint8_t keyCode, QWidget* parent = nullptr);

    void BuildPage() override;
    void RestoreDefault() override;
    void ApplyAssignment() override;
    void ShowAssignment() override;
    void ClearSelection() override;

    std::int64_t receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                std::int64_t lParam) override;

    // The row OK stores, -1 for none.
    int selectedRow() const { return selectedRow_; }
    CListBoxEx* functionList() const { return list_; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int selectedRow_ = -1;
    SkinSet skin_;
    CListBoxEx* list_ = nullptr;
};
