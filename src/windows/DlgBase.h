#pragma once

#include "windows/ListPage.h"

#include <cstdint>

class CListBoxEx;

// Page 3 of the key setting dialog: one list of fourteen fixed functions, nine edit shortcuts
// (AssignEdit) and five system functions (AssignSystem). Both store the function's row in
// the list, so the system values run 9 to 13.
class CDlgBase : public CListPage {
    Q_OBJECT
public:
    static constexpr int ListId = 101;
    static constexpr int RowCount = 14;
    static constexpr int FirstSystemRow = 9;

    explicit CDlgBase(std::uint8_t keyCode, QWidget* parent = nullptr);

    void BuildPage() override;
    void ShowAssignment() override;

    CListBoxEx* functionList() const { return list(); }

protected:
    KeyAssignment assignmentOf(int row) const override;
    void paintEvent(QPaintEvent* event) override;
};
