#include "controls/ListBoxEx.h"

#include "controls/ParentWindow.h"
#include "platform/Messages.h"
#include "platform/Paths.h"

#include <QAbstractItemDelegate>
#include <QFocusEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>

#include <climits>
#include <utility>

namespace {
constexpr int IconKindRole = Qt::UserRole;

// The icon file of a kind in its selected or normal look; empty for kinds without an icon.
QString iconFileName(int iconKind, bool selected) {
    const char* base = iconKind == CListBoxEx::IconUp      ? "up"
                       : iconKind == CListBoxEx::IconDown  ? "down"
                       : iconKind == CListBoxEx::IconDelay ? "delay"
                                                           : nullptr;
    if (!base)
        return {};
    return QString::fromLatin1(base) +
           (selected ? QStringLiteral("_select.png") : QStringLiteral("_normal.png"));
}
}  // namespace

// Gives every row the list's row height and leaves its drawing to the list.
class CListBoxEx::RowPainter : public QAbstractItemDelegate {
public:
    explicit RowPainter(CListBoxEx* list) : QAbstractItemDelegate(list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        list_->paintRow(*painter, option.rect, index.row(),
                        option.state.testFlag(QStyle::State_Selected));
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return {0, list_->rowHeight()};
    }

private:
    const CListBoxEx* list_;
};

CListBoxEx::CListBoxEx(QWidget* parent)
    : QListWidget(parent),
      textColor_(palette().color(QPalette::Active, QPalette::Text)),
      selectedTextColor_(palette().color(QPalette::Active, QPalette::HighlightedText)),
      selectionColor_(palette().color(QPalette::Active, QPalette::Highlight)) {
    QFont rowFont(QStringLiteral("Arial"));
    rowFont.setStyleHint(QFont::SansSerif);
    rowFont.setPixelSize(14);
    rowFont.setWeight(QFont::Normal);
    setFont(rowFont);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setItemDelegate(new RowPainter(this));
}

int CListBoxEx::AddItem(int iconKind, const QString& text) {
    closeRename();
    auto* row = new QListWidgetItem(text);
    row->setData(IconKindRole, iconKind);
    addItem(row);
    setSelectedRow(count() - 1);
    return count() - 1;
}

QString CListBoxEx::rowText(int row) const {
    const QListWidgetItem* it = item(row);
    return it ? it->text() : QString();
}

int CListBoxEx::iconKind(int row) const {
    const QListWidgetItem* it = item(row);
    return it ? it->data(IconKindRole).toInt() : IconNone;
}

int CListBoxEx::selectedRow() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void CListBoxEx::setSelectedRow(int row) {
    if (row < 0 || row >= count())
        selectionModel()->clear();
    else
        setCurrentRow(row);
}

void CListBoxEx::setRowHeight(int height) {
    rowHeight_ = height;
    scheduleDelayedItemsLayout();
}

void CListBoxEx::setIconSize(int width, int height) {
    iconWidth_ = width;
    iconHeight_ = height;
    viewport()->update();
}

void CListBoxEx::setTextColor(const QColor& color) {
    textColor_ = color;
    viewport()->update();
}

void CListBoxEx::setSelectedTextColor(const QColor& color) {
    selectedTextColor_ = color;
    viewport()->update();
}

void CListBoxEx::setSelectionColor(const QColor& color) {
    selectionColor_ = color;
    viewport()->update();
}

void CListBoxEx::setBackgroundColor(const QColor& color) {
    backgroundColor_ = color;
    viewport()->update();
}

QColor CListBoxEx::disabledTextColor() const {
    return palette().color(QPalette::Active, QPalette::Dark);
}

QColor CListBoxEx::disabledBackgroundColor() const {
    return palette().color(QPalette::Active, QPalette::Window);
}

QString CListBoxEx::iconPath(const QString& fileName) {
    return Paths::executableDirectory() + QStringLiteral("skins/icon/") + fileName;
}

void CListBoxEx::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(viewport());
        painter.fillRect(event->rect(), currentBackground());
    }
    QListWidget::paintEvent(event);
}

QColor CListBoxEx::currentBackground() const {
    if (!isEnabled())
        return disabledBackgroundColor();
    return backgroundColor_.isValid() ? backgroundColor_
                                      : palette().color(QPalette::Active, QPalette::Base);
}

void CListBoxEx::paintRow(QPainter& painter, const QRect& rect, int row, bool selected) const {
    const QListWidgetItem* it = item(row);
    if (!it)
        return;
    painter.fillRect(rect, selected ? selectionColor_ : currentBackground());
    const QColor color = !isEnabled() ? disabledTextColor()
                         : selected   ? selectedTextColor_
                                      : textColor_;

    const int kind = iconKind(row);
    const int textLeft = rect.left() + (kind == IconNone ? 5 : iconWidth_ + 10);
    // Read on every drawing: the icons are a few hundred bytes, and a skin swapped on disk
    // shows at once.
    if (const QString file = iconFileName(kind, selected); !file.isEmpty()) {
        const QImage icon(iconPath(file));
        if (!icon.isNull())
            painter.drawImage(QRect(rect.left() + 5, rect.top(), iconWidth_, iconHeight_), icon);
    }

    const QRect textRect(QPoint(textLeft, rect.top()), rect.bottomRight());
    painter.setFont(font());
    painter.setPen(color);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     fontMetrics().elidedText(it->text(), Qt::ElideRight, textRect.width()));
}

void CListBoxEx::mousePressEvent(QMouseEvent* event) {
    QScopedValueRollback<bool> user(userInput_, true);
    QListWidget::mousePressEvent(event);
}

void CListBoxEx::mouseMoveEvent(QMouseEvent* event) {
    QScopedValueRollback<bool> user(userInput_, true);
    QListWidget::mouseMoveEvent(event);
}

void CListBoxEx::keyPressEvent(QKeyEvent* event) {
    QScopedValueRollback<bool> user(userInput_, true);
    QListWidget::keyPressEvent(event);
}

void CListBoxEx::selectionChanged(const QItemSelection& selected,
                                  const QItemSelection& deselected) {
    QListWidget::selectionChanged(selected, deselected);
    if (userInput_)
        Messages::postMessage(parentWindowHandle(this), SelectionChangedMessage, controlId_, 0);
}

void CListBoxEx::mouseDoubleClickEvent(QMouseEvent* event) {
    {
        // A double click below the rows is handled as a press by the base class.
        QScopedValueRollback<bool> user(userInput_, true);
        QListWidget::mouseDoubleClickEvent(event);
    }
    if (event->button() != Qt::LeftButton || !editable_ || editField_)
        return;
    if (const int row = rowNearest(event->position().toPoint()); row >= 0)
        openRename(row);
}

int CListBoxEx::rowNearest(const QPoint& position) const {
    int nearest = -1;
    int nearestDistance = INT_MAX;
    for (int row = 0; row < count(); ++row) {
        const QRect rect = visualRect(model()->index(row, 0));
        const int distance = position.y() < rect.top()      ? rect.top() - position.y()
                             : position.y() > rect.bottom() ? position.y() - rect.bottom()
                                                            : 0;
        if (distance < nearestDistance) {
            nearest = row;
            nearestDistance = distance;
        }
    }
    return nearest;
}

void CListBoxEx::openRename(int row) {
    editRow_ = row;
    const QString text = rowText(row);
    editField_ = new QLineEdit(viewport());
    editField_->setFont(font());
    // The limit is for what the user types: a longer text the row already holds stays whole
    // until the user shortens it, so committing unchanged never cuts a name.
    editField_->setMaxLength(qMax<int>(MaxRenameLength, text.size()));
    editField_->setText(text);
    if (text.size() > MaxRenameLength)
        connect(editField_, &QLineEdit::textEdited, editField_,
                [field = editField_, accepted = text](const QString& now) mutable {
                    if (now.size() > MaxRenameLength && now.size() > accepted.size()) {
                        const int cursor = field->cursorPosition() - (now.size() - accepted.size());
                        field->setText(accepted);
                        field->setCursorPosition(qMax(0, cursor));
                    } else {
                        accepted = now;
                    }
                });
    editField_->setGeometry(visualRect(model()->index(row, 0)));
    editField_->selectAll();
    editField_->installEventFilter(this);
    editField_->show();
    editField_->setFocus(Qt::OtherFocusReason);
    viewport()->update();
}

bool CListBoxEx::eventFilter(QObject* watched, QEvent* event) {
    if (watched != editField_ || !editField_)
        return QListWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        // Taken on the press, so that neither key goes on to the dialog's default button or
        // its cancel.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            commitRename();
            return true;
        }
        if (key == Qt::Key_Escape) {
            const int row = editRow_;
            closeRename();
            setSelectedRow(row);
            return true;
        }
    } else if (event->type() == QEvent::FocusOut &&
               static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        // The field's own context menu takes the focus only for a moment.
        commitRename();
    }
    return QListWidget::eventFilter(watched, event);
}

void CListBoxEx::commitRename() {
    if (!editField_)
        return;
    const int row = editRow_;
    const QString text = editField_->text();
    closeRename();
    // The owner may have removed rows meanwhile; then there is nothing left to rename.
    if (row < 0 || row >= count())
        return;
    delete takeItem(row);
    insertItem(row, text);  // a renamed row has no icon
    setSelectedRow(row);
    Messages::postMessage(parentWindowHandle(this), EditFinishedMessage, controlId_, row);
}

void CListBoxEx::closeRename() {
    QLineEdit* field = std::exchange(editField_, nullptr);
    editRow_ = -1;
    if (!field)
        return;
    field->removeEventFilter(this);
    if (field->hasFocus())
        setFocus(Qt::OtherFocusReason);
    field->hide();
    // Deleted later: this may run inside one of the field's own events.
    field->deleteLater();
    viewport()->update();
}
