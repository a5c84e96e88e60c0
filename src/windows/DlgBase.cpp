#include "windows/DlgBase.h"

#include "model/KeyTable.h"
#include "resources/LanguageTable.h"

#include <QPainter>

#include <array>

namespace {
// The function of each row; the row is also the stored value.
constexpr std::array<const char*, CDlgBase::RowCount> RowCaptions{
    "str_cut",  "str_copy", "str_past", "str_all",   "str_find", "str_new", "str_print",
    "str_save", "str_undo", "str_swap", "str_close", "str_lock", "str_run", "str_show"};
}  // namespace

CDlgBase::CDlgBase(std::uint8_t keyCode, QWidget* parent) : CListPage(keyCode, ListId, parent) {
    BuildPage();
}

void CDlgBase::BuildPage() {
    buildList(QStringLiteral("Base"), skinRect(42, 35, 394, 172), RowCaptions);
}

KeyAssignment CDlgBase::assignmentOf(int row) const {
    return {keyCode(), row < FirstSystemRow ? AssignEdit : AssignSystem, row};
}

void CDlgBase::ShowAssignment() {
    if (keyCode() == 0)
        return;
    const KeyAssignment& assignment = KeyTable::instance().entry(keyCode());
    if (assignment.type != AssignEdit && assignment.type != AssignSystem) {
        ClearSelection();
        return;
    }
    // A row number the list does not have shows nothing new; the page keeps what it had.
    if (assignment.value < 0 || assignment.value >= RowCount)
        return;
    pick(assignment.value);
}

void CDlgBase::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, skin().normal);
    drawPageText(painter, skinRect(45, 12, 394, 35),
                 LanguageTable::instance().text(QStringLiteral("str_baseinfo")),
                 QColor(88, 99, 105));
}
