#pragma once

#include "controls/WindowDrag.h"
#include "store/ProfileFiles.h"
#include "windows/SkinnedDialog.h"

#include <array>

class CGDIBitmapBtn;
class CProfileList;

// The profile dialog: the seven profiles, one row each (CProfileList), to rename, describe,
// bind to a program, switch automatically, import from or export to a file, and select. It
// opens with the current profile selected. OK writes every row's file; Cancel writes none.
// Whenever it closes it records the rows' files in the profile index - after Cancel the files
// they had when it opened, or the file an import gave them, never a name no file was written
// under. After OK the owner makes the selected row the current profile.
class CDlgProfile : public CSkinnedDialog {
    Q_OBJECT
public:
    static constexpr int RowCount = ProfileFiles::ProfileCount;

    // A current index outside 0..6 selects no row; import and export then do nothing.
    CDlgProfile(int currentIndex, ProfileFiles& files, QWidget* parent = nullptr);
    ~CDlgProfile() override;

    // The selected row: 0..6, or -1 when there is none.
    int selectedIndex() const { return selected_; }
    // The selected row's profile, for the owner after OK; null when no row is selected.
    const ProfileRow* selectedRow() const;
    const ProfileFiles::Rows& rows() const { return rows_; }

    // For tests and accessibility.
    CProfileList* list(int index) const { return lists_[std::size_t(index)]; }
    CGDIBitmapBtn* okButton() const { return ok_; }
    CGDIBitmapBtn* cancelButton() const { return cancel_; }
    CGDIBitmapBtn* closeButton() const { return close_; }
    CGDIBitmapBtn* importButton() const { return import_; }
    CGDIBitmapBtn* exportButton() const { return export_; }

    std::int64_t receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                std::int64_t lParam) override;
    void done(int result) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Selects the row and no other; the others' edits are ended. -1 selects none.
    void selectRow(int index);
    void endAllEdits();
    // Every button command first takes over what was typed into the rows.
    void onCommand(CGDIBitmapBtn* button, void (CDlgProfile::*action)());
    void writeRowsAndAccept();
    void importProfile();
    void exportProfile();

    ProfileFiles& files_;
    ProfileFiles::Rows rows_;
    // What Cancel records: each row's file when the dialog opened, or the file imported into
    // it since.
    std::array<QString, RowCount> keptPaths_;
    int selected_ = -1;
    QPixmap normal_;
    std::array<CProfileList*, RowCount> lists_{};
    CGDIBitmapBtn* close_ = nullptr;
    CGDIBitmapBtn* ok_ = nullptr;
    CGDIBitmapBtn* cancel_ = nullptr;
    CGDIBitmapBtn* import_ = nullptr;
    CGDIBitmapBtn* export_ = nullptr;
    WindowDrag drag_;
};
