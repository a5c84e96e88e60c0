#include "windows/DlgMouse.h"

#include "controls/ListBoxEx.h"
#include "model/KeyTable.h"
#include "resources/LanguageTable.h"
#include "windows/MainWindowReference.h"
#include "windows/SwallowedKeys.h"

#include <QPainter>

#include <algorithm>

namespace {
constexpr std::array<const char*, CDlgMouse::ListedRows> RowCaptions{
    "str_mouse_left", "str_mouse_right", "str_mouse_middle", "str_mouse_pre", "str_mouse_next"};

QString text(const char* key) {
    return LanguageTable::instance().text(QString::fromLatin1(key));
}

// The row that stores a button code, -1 for a code no row stores.
int rowOfCode(int code) {
    const auto* found = std::find(CDlgMouse::RowCodes.begin(), CDlgMouse::RowCodes.end(), code);
    return found == CDlgMouse::RowCodes.end()
               ? -1
               : static_cast<int>(found - CDlgMouse::RowCodes.begin());
}
}  // namespace

CDlgMouse::CDlgMouse(std::uint8_t keyCode, QWidget* parent) : CRegionDlg(keyCode, parent) {
    BuildPage();
}

void CDlgMouse::BuildPage() {
    skin_.load(QStringLiteral("Mouse"));
    list_ = makePageList(this, ListId, skinRect(18, 43, 255, 163), 18, false);
    for (const char* caption : RowCaptions)
        list_->AddItem(CListBoxEx::IconNone, text(caption));
    // Each added row is selected as it comes; a selection left on the last one would show a
    // button that OK does not store.
    list_->setSelectedRow(-1);
    list_->installEventFilter(this);
}

void CDlgMouse::RestoreDefault() {
    if (keyCode() == 0)
        return;
    ClearSelection();
    KeyTable::instance().entry(keyCode()) = {keyCode(), AssignDefault, 0};
}

void CDlgMouse::ApplyAssignment() {
    if (keyCode() == 0)
        return;
    KeyAssignment assignment{keyCode(), AssignDefault, 0};
    if (selectedRow_ >= 0)
        assignment = {keyCode(), AssignMouse, RowCodes.at(selectedRow_)};
    KeyTable::instance().entry(keyCode()) = assignment;
    MainWindowReference::post(MainWindowReference::KeyChanged, 0, keyCode());
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
    // The unlisted code stays selected without a row to show, so OK stores it again.
    selectedRow_ = rowOfCode(assignment.value);
    list_->setSelectedRow(selectedRow_ < ListedRows ? selectedRow_ : -1);
}

void CDlgMouse::ClearSelection() {
    selectedRow_ = -1;
    list_->setSelectedRow(-1);
}

std::int64_t CDlgMouse::receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                       std::int64_t lParam) {
    if (message == CListBoxEx::SelectionChangedMessage && wParam == ListId) {
        selectedRow_ = list_->selectedRow();
        return 0;
    }
    return CRegionDlg::receiveMessage(message, wParam, lParam);
}

bool CDlgMouse::event(QEvent* event) {
    // Help has nothing to show here, and the dialog behind the page is not asked either.
    return takeSwallowedKeyOrHelp(event) || CRegionDlg::event(event);
}

bool CDlgMouse::eventFilter(QObject* watched, QEvent* event) {
    // The keys never reach the list either: Space would select its current row.
    if (watched == list_ && isSwallowedKey(event))
        return true;
    return CRegionDlg::eventFilter(watched, event);
}

void CDlgMouse::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, skin_.normal);
    // The same header as the base function page.
    drawPageText(painter, skinRect(24, 21, 255, 43), text("str_baseinfo"), QColor(88, 99, 105));
}
