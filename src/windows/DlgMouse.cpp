#include "windows/DlgMouse.h"

#include "model/KeyTable.h"
#include "resources/LanguageTable.h"

#include <QPainter>

#include <algorithm>

namespace {
constexpr std::array<const char*, CDlgMouse::ListedRows> RowCaptions{
    "str_mouse_left", "str_mouse_right", "str_mouse_middle", "str_mouse_pre", "str_mouse_next"};

// The row that stores a button code, -1 for a code no row stores.
int rowOfCode(int code) {
    const auto* found = std::find(CDlgMouse::RowCodes.begin(), CDlgMouse::RowCodes.end(), code);
    return found == CDlgMouse::RowCodes.end()
               ? -1
               : static_cast<int>(found - CDlgMouse::RowCodes.begin());
}
}  // namespace

CDlgMouse::CDlgMouse(std::uint8_t keyCode, QWidget* parent) : CListPage(keyCode, ListId, parent) {
    BuildPage();
}

void CDlgMouse::BuildPage() {
    buildList(QStringLiteral("Mouse"), skinRect(18, 43, 255, 163), RowCaptions);
}

KeyAssignment CDlgMouse::assignmentOf(int row) const {
    return {keyCode(), AssignMouse, RowCodes.at(row)};
}

void CDlgMouse::ShowAssignment() {
    if (keyCode() == 0)
        return;
    const KeyAssignment& assignment = KeyTable::instance().entry(keyCode());
    if (assignment.type != AssignMouse) {
        ClearSelection();
        return;
    }
    // Code 0 is no button at all; the page keeps what it had.
    if (assignment.value == 0)
        return;
    // The unlisted code stays picked without a row to show, so OK stores it again.
    pick(rowOfCode(assignment.value));
}

void CDlgMouse::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, skin().normal);
    // The same header as the base function page.
    drawPageText(painter, skinRect(24, 21, 255, 43),
                 LanguageTable::instance().text(QStringLiteral("str_baseinfo")),
                 QColor(88, 99, 105));
}
