#pragma once

#include <QColor>
#include <QFont>
#include <QListWidget>
#include <QString>

#include <cstdint>

class QLineEdit;

// The list of the assignment pages: one line of text per row, optionally after a small icon,
// in the owner's colours. It tells the window it sits on (parentWindowHandle) when the user
// changes the selection (0x465) and, when the owner makes it editable, lets the user rename
// a row in place with a double click (0x464 once the new text is taken).
//
// Rows, texts and the selection are read and changed through QListWidget (count(),
// item(row)->text(), takeItem(), clear()) or the short forms below. Changes made by the
// program, AddItem and setSelectedRow included, post nothing.
class CListBoxEx : public QListWidget {
    Q_OBJECT

public:
    // Row data: what is drawn before the text.
    enum IconKind {
        IconNone = 0,    // text 5 pixels from the left
        IconIndent = 1,  // no icon, text indented as if there were one
        IconUp = 2,      // up_normal.png / up_select.png
        IconDown = 3,    // down_normal.png / down_select.png
        IconDelay = 4,   // delay_normal.png / delay_select.png
    };
    static constexpr std::uint32_t EditFinishedMessage = 0x464;      // identifier, row
    static constexpr std::uint32_t SelectionChangedMessage = 0x465;  // identifier, 0
    static constexpr int MaxRenameLength = 10;

    explicit CListBoxEx(QWidget* parent = nullptr);

    // Closes an open rename without taking its text, appends the row and selects it.
    // Returns the new row's index.
    int AddItem(int iconKind, const QString& text);

    QString rowText(int row) const;
    // The row's icon kind; 0 for a row that has none or does not exist.
    int iconKind(int row) const;
    // The selected row, -1 for none.
    int selectedRow() const;
    // Selects the row; -1 (or any row that does not exist) removes the selection.
    void setSelectedRow(int row);

    // The identifier sent with both messages, so an owner with several lists can tell them apart.
    void setControlId(int id) { controlId_ = id; }
    int controlId() const { return controlId_; }

    void setEditable(bool editable) { editable_ = editable; }
    bool isEditable() const { return editable_; }

    void setRowHeight(int height);
    int rowHeight() const { return rowHeight_; }

    void setIconSize(int width, int height);
    int iconWidth() const { return iconWidth_; }
    int iconHeight() const { return iconHeight_; }

    void setTextColor(const QColor& color);
    QColor textColor() const { return textColor_; }
    void setSelectedTextColor(const QColor& color);
    QColor selectedTextColor() const { return selectedTextColor_; }
    void setSelectionColor(const QColor& color);
    QColor selectionColor() const { return selectionColor_; }
    // The background of the list and of its unselected rows; an invalid colour stands for
    // the system's window background.
    void setBackgroundColor(const QColor& color);
    QColor backgroundColor() const { return backgroundColor_; }

    // What a disabled list is drawn in: its text in the button-shadow colour, its background
    // in the inactive-border colour (the button face here).
    QColor disabledTextColor() const;
    QColor disabledBackgroundColor() const;

    // The rename in progress: the row, -1 when none is open, and its edit field.
    int editRow() const { return editRow_; }
    QLineEdit* editField() const { return editField_; }

    // executable directory + "skins/icon/" + file name
    static QString iconPath(const QString& fileName);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class RowPainter;
    void paintRow(QPainter& painter, const QRect& rect, int row, bool selected) const;
    QColor currentBackground() const;

    void openRename(int row);
    void commitRename();
    void closeRename();
    int rowNearest(const QPoint& position) const;

    int controlId_ = 0;
    bool editable_ = false;
    int rowHeight_ = 20;
    int iconWidth_ = 16;
    int iconHeight_ = 16;
    QColor textColor_;
    QColor selectedTextColor_;
    QColor selectionColor_;
    QColor backgroundColor_;
    int editRow_ = -1;
    QLineEdit* editField_ = nullptr;
    // Set while the list handles the user's mouse or keys: only their selection changes are
    // reported, as the program knows of its own.
    bool userInput_ = false;
};
