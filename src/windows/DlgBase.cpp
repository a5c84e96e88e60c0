#include "windows/DlgBase.h"

#include "controls/ListBoxEx.h"
#include "model/KeyTable.h"
#include "resources/LanguageTable.h"
#include "windows/MainWindowReference.h"
#include "windows/SwallowedKeys.h"

#include <QPainter>

#include <array>

namespace {
// The function of each row; the row is also the stored value.
constexpr std::array<const char*, CDlgBase::RowCount> RowCaptions{
    "str_cut",  "str_copy", "str_past", "str_all",   "str_find", "str_new", "str_print",
    "str_save", "str_undo", "str_swap", "str_close", "str_lock", "str_run", "str_show"};

QString text(const char* key) {
    return LanguageTable::instance().text(QString::fromLatin1(key));
}
}  // namespace

CDlgBase::CDlgBase(std::uint8_t keyCode, QWidget* parent) : CRegionDlg(keyCode, parent) {
    BuildPage();
}

void CDlgBase::BuildPage() {
    skin_.load(QStringLiteral("Base"));
    list_ = makePageList(this, ListId, skinRect(42, 35, 394, 172), 18, false);
    for (const char* caption : RowCaptions)
        list_->AddItem(CListBoxEx::IconNone, text(caption));
    // Each added row is selected as it comes; a selection left on the last one would show a
    // function that OK does not store.
    list_->setSelectedRow(-1);
    list_->installEventFilter(this);
}

void CDlgBase::RestoreDefault() {
    if (keyCode() == 0)
        return;
    ClearSelection();
    KeyTable::instance().entry(keyCode()) = {keyCode(), AssignDefault, 0};
}

void CDlgBase::ApplyAssignment() {
    if (keyCode() == 0)
        return;
    KeyAssignment assignment{keyCode(), AssignDefault, 0};
    if (selectedRow_ >= 0)
        assignment = {keyCode(), selectedRow_ < FirstSystemRow ? AssignEdit : AssignSystem,
                      selectedRow_};
    KeyTable::instance().entry(keyCode()) = assignment;
    MainWindowReference::post(MainWindowReference::KeyChanged, 0, keyCode());
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
    selectedRow_ = assignment.value;
    list_->setSelectedRow(selectedRow_);
}

void CDlgBase::ClearSelection() {
    selectedRow_ = -1;
    list_->setSelectedRow(-1);
}

std::int64_t CDlgBase::receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                      std::int64_t lParam) {
    if (message == CListBoxEx::SelectionChangedMessage && wParam == ListId) {
        selectedRow_ = list_->selectedRow();
        return 0;
    }
    return CRegionDlg::receiveMessage(message, wParam, lParam);
}

bool CDlgBase::event(QEvent* event) {
    // Help has nothing to show here, and the dialog behind the page is not asked either.
    return takeSwallowedKeyOrHelp(event) || CRegionDlg::event(event);
}

bool CDlgBase::eventFilter(QObject* watched, QEvent* event) {
    // The keys never reach the list either: Space would select its current row.
    if (watched == list_ && isSwallowedKey(event))
        return true;
    return CRegionDlg::eventFilter(watched, event);
}

void CDlgBase::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, skin_.normal);
    drawPageText(painter, skinRect(45, 12, 394, 35), text("str_baseinfo"), QColor(88, 99, 105));
}
