#include "windows/ListPage.h"

#include "controls/ListBoxEx.h"
#include "model/KeyTable.h"
#include "resources/LanguageTable.h"
#include "windows/MainWindowReference.h"
#include "windows/SwallowedKeys.h"

CListPage::CListPage(std::uint8_t keyCode, int listId, QWidget* parent)
    : CRegionDlg(keyCode, parent), listId_(listId) {}

void CListPage::buildList(const QString& skinName, const QRect& rect,
                          std::span<const char* const> captionKeys) {
    skin_.load(skinName);
    list_ = makePageList(this, listId_, rect, 18, false);
    for (const char* key : captionKeys)
        list_->AddItem(CListBoxEx::IconNone,
                       LanguageTable::instance().text(QString::fromLatin1(key)));
    // Each added row is selected as it comes; a selection left on the last one would show a
    // function that OK does not store.
    list_->setSelectedRow(-1);
    list_->installEventFilter(this);
}

void CListPage::RestoreDefault() {
    if (keyCode() == 0)
        return;
    ClearSelection();
    KeyTable::instance().entry(keyCode()) = {keyCode(), AssignDefault, 0};
}

void CListPage::ApplyAssignment() {
    if (keyCode() == 0)
        return;
    KeyAssignment assignment{keyCode(), AssignDefault, 0};
    if (selectedRow_ >= 0)
        assignment = assignmentOf(selectedRow_);
    KeyTable::instance().entry(keyCode()) = assignment;
    MainWindowReference::post(MainWindowReference::KeyChanged, 0, keyCode());
}

void CListPage::ClearSelection() {
    pick(-1);
}

void CListPage::pick(int row) {
    selectedRow_ = row;
    list_->setSelectedRow(row < list_->count() ? row : -1);
}

std::int64_t CListPage::receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                       std::int64_t lParam) {
    if (message == CListBoxEx::SelectionChangedMessage && wParam == std::uint64_t(listId_)) {
        selectedRow_ = list_->selectedRow();
        return 0;
    }
    return CRegionDlg::receiveMessage(message, wParam, lParam);
}

bool CListPage::event(QEvent* event) {
    // Help has nothing to show here, and the dialog behind the page is not asked either.
    return takeSwallowedKeyOrHelp(event) || CRegionDlg::event(event);
}

bool CListPage::eventFilter(QObject* watched, QEvent* event) {
    // The keys never reach the list either: Space would select its current row.
    if (watched == list_ && isSwallowedKey(event))
        return true;
    return CRegionDlg::eventFilter(watched, event);
}
