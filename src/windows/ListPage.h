#pragma once

#include "controls/RegionDlg.h"
#include "model/KeyAssignment.h"
#include "windows/PageSkin.h"

#include <cstdint>
#include <span>

class CListBoxEx;

// What the base function and mouse pages share: the choice is one row of the page's list.
// A click on a row picks it; clearing drops the pick, and Restore also gives the key its
// default at once. OK gives the key the picked row's function, or its default when no row is
// picked, and tells the main window. Enter, Escape and Space reach neither the page nor its
// list, and help is not asked for.
class CListPage : public CRegionDlg {
    Q_OBJECT
public:
    void RestoreDefault() override;
    void ApplyAssignment() override;
    void ClearSelection() override;

    std::int64_t receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                std::int64_t lParam) override;

    // The row OK stores, -1 for none.
    int selectedRow() const { return selectedRow_; }

protected:
    CListPage(std::uint8_t keyCode, int listId, QWidget* parent);

    // Loads the page's skin and makes its list, one row per language key and none picked.
    void buildList(const QString& skinName, const QRect& rect,
                   std::span<const char* const> captionKeys);
    // The assignment OK gives the key for a picked row.
    virtual KeyAssignment assignmentOf(int row) const = 0;
    // Picks the row that OK stores; a row past the list's is picked without being shown.
    void pick(int row);

    CListBoxEx* list() const { return list_; }
    const SkinSet& skin() const { return skin_; }

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const int listId_;
    int selectedRow_ = -1;
    SkinSet skin_;
    CListBoxEx* list_ = nullptr;
};
