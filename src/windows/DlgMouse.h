#pragma once

#include "windows/ListPage.h"

#include <array>
#include <cstdint>

class CListBoxEx;

// Page 5 of the key setting dialog: the key becomes a mouse button (AssignMouse). The stored
// value is the button's code, not the list row.
class CDlgMouse : public CListPage {
    Q_OBJECT
public:
    static constexpr int ListId = 100;
    // The code of each row. The last row is never listed, so the user cannot pick it, but a
    // key that already carries its code keeps it through OK.
    static constexpr std::array<int, 6> RowCodes{1, 2, 4, 16, 8, 10};
    static constexpr int ListedRows = 5;

    explicit CDlgMouse(std::uint8_t keyCode, QWidget* parent = nullptr);

    void BuildPage() override;
    void ShowAssignment() override;

    // selectedRow() may be the unlisted last row.
    CListBoxEx* buttonList() const { return list(); }

protected:
    KeyAssignment assignmentOf(int row) const override;
    void paintEvent(QPaintEvent* event) override;
};
