#pragma once

#include "platform/Messages.h"
#include "store/ProfileRow.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

class CBitmapBtnEx;
class QLineEdit;

// One row of the profile dialog's table: one profile in four cells - its name, its free
// text, its bound program and its automatic-switch flag. The row shows and edits a
// ProfileRow that its dialog keeps (the whole image of the profile file and its path): a
// click selects the row, a double click edits the name or the free text in place or picks
// the program, a click on the switch cell toggles it. Every change goes into the ProfileRow;
// the dialog writes the files.
//
// The row is the cells' window: they tell it about presses, releases and double clicks. It
// asks its own window to make it the selected row by posting SelectMessage.
class CProfileList : public QWidget, public MessageReceiver {
    Q_OBJECT
public:
    // wParam: the row's new selected state, lParam: the row's handle.
    static constexpr std::uint32_t SelectMessage = 0x609;
    static constexpr int ControlId = 1234;
    static constexpr int MaxTextLength = 15;  // what the user may type into an editor

    // The dialog's skin pictures, whole.
    enum Picture { Normal, Normal2, Over, Down, Down2, PictureCount };
    using Pictures = std::array<QImage, PictureCount>;
    enum Cell { NameCell, DocCell, ProgramCell, SwitchCell, CellCount };
    // Whether another row of the dialog holds the name already.
    using NameTaken = std::function<bool(const QString& name)>;

    // rect: the row's place in the window, left, top, right, bottom; the row cuts its cells'
    // looks out of the pictures there. The ProfileRow must outlive the row.
    CProfileList(const QString& windowText, const Pictures& pictures, const QRect& rect,
                 ProfileRow& row, QWidget* parent);
    ~CProfileList() override;

    WindowHandle handle() const { return handle_; }
    const ProfileRow& row() const { return row_; }
    void setNameTaken(NameTaken nameTaken) { nameTaken_ = std::move(nameTaken); }

    // Shows the ProfileRow anew, after it was filled from a file.
    void showRow();

    // Selected, all four cells show their pressed look.
    void Select(bool selected);
    bool isSelected() const { return selected_; }

    // Opens the editor over its cell with the cell's text, all of it selected; an edit still
    // open there is ended first.
    void BeginNameEdit();
    void BeginDocEdit();
    // Takes an open editor's text into the row and closes it. Returns whether the text
    // changed anything. A new name renames the row's file (same folder and extension); a
    // name that cannot be a file name of its own (see isUsableName) or that another row
    // holds is refused: the row keeps its name and path.
    bool EndNameEdit();
    bool EndDocEdit();
    void EndEdits();

    // The program picker: a chosen program's full path is bound to the profile, and the cell
    // shows its file name.
    void PickProgram();

    // A name that can stand as a file name in its folder: not empty, not "." or "..", without
    // '/' or NUL. Every other character is allowed.
    static bool isUsableName(const QString& name);

    // For tests and accessibility.
    CBitmapBtnEx* cell(Cell which) const { return cells_[which]; }
    QLineEdit* nameEditor() const { return editors_[NameCell].field; }
    QLineEdit* docEditor() const { return editors_[DocCell].field; }

    std::int64_t receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                std::int64_t lParam) override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Editor {
        QLineEdit* field = nullptr;
        QString accepted;  // the last text the length limit let through
    };

    void beginEdit(Cell which);
    bool endEdit(Cell which);
    // Hides the editor and shows its cell again, without taking the text.
    void closeEditor(Cell which);
    bool isEditing(Cell which) const;
    void takeText(Cell which, const QString& text);
    void toggleSwitch();
    int cellOf(std::int64_t cellHandle) const;

    ProfileRow& row_;
    WindowHandle handle_ = 0;
    bool selected_ = false;
    NameTaken nameTaken_;
    std::array<CBitmapBtnEx*, CellCount> cells_{};
    std::array<Editor, 2> editors_;  // name and free text, made on first use
};
