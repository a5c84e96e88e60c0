#include "windows/ProfileList.h"

#include "controls/BitmapBtnEx.h"
#include "controls/ParentWindow.h"
#include "controls/SkinText.h"
#include "platform/Paths.h"
#include "windows/ProfileFileDialogs.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace {
// The cells in row pixels.
const std::array<QRect, CProfileList::CellCount> CellRects = {
    QRect(1, 0, 109, 19), QRect(110, 0, 110, 19), QRect(220, 0, 110, 19), QRect(330, 0, 109, 19)};

// Programs are looked for where the system keeps them.
const QString ProgramFolder = QStringLiteral("/usr/bin");

const QFont& editorFont() {
    static const QFont font = logicalFont(QStringLiteral("Arial"), 14, 500);
    return font;
}
}  // namespace

CProfileList::CProfileList(const QString& windowText, const Pictures& pictures, const QRect& rect,
                           ProfileRow& row, QWidget* parent)
    : QWidget(parent), row_(row), handle_(Messages::registerWindow(this)) {
    setObjectName(windowText);
    setAccessibleName(windowText);
    setGeometry(rect);

    // The row's part of each picture; a cell takes its own part of those.
    std::array<QImage, PictureCount> parts;
    for (int i = 0; i < PictureCount; ++i)
        parts[std::size_t(i)] =
            pictures[std::size_t(i)].isNull() ? QImage() : pictures[std::size_t(i)].copy(rect);
    for (int which = 0; which < CellCount; ++which) {
        auto* cell = new CBitmapBtnEx(this);
        const QRect r = CellRects[std::size_t(which)];
        cell->setGeometry(r);
        // The cells have no hover picture of their own: under the pointer they stay Normal.
        cell->SetImages(parts[Normal], parts[Normal2], parts[Normal], parts[Down], parts[Down2],
                        parts[Normal], r.x(), r.y(), r.width(), r.height());
        cells_[std::size_t(which)] = cell;
        if (which == SwitchCell)
            connect(cell, &CBitmapBtnEx::clicked, this, &CProfileList::toggleSwitch);
        else
            connect(cell, &CBitmapBtnEx::clicked, this, &CProfileList::EndEdits);
    }
    // Typing goes on only while the tool is in front.
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive)
                    EndEdits();
            });
    showRow();
}

CProfileList::~CProfileList() {
    Messages::unregisterWindow(handle_);
}

void CProfileList::showRow() {
    cells_[NameCell]->SetText(row_.name);
    cells_[DocCell]->SetText(row_.docName);
    cells_[ProgramCell]->SetText(row_.programFile);
    cells_[SwitchCell]->SetAlternative(row_.image.autoSwitch() != 0);
}

void CProfileList::Select(bool selected) {
    for (CBitmapBtnEx* cell : cells_)
        cell->SetChecked(selected);
    selected_ = selected;
    showRow();
}

void CProfileList::BeginNameEdit() {
    beginEdit(NameCell);
}

void CProfileList::BeginDocEdit() {
    beginEdit(DocCell);
}

bool CProfileList::EndNameEdit() {
    return endEdit(NameCell);
}

bool CProfileList::EndDocEdit() {
    return endEdit(DocCell);
}

void CProfileList::EndEdits() {
    EndNameEdit();
    EndDocEdit();
}

bool CProfileList::isUsableName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

void CProfileList::PickProgram() {
    const QString path =
        ProfileFileDialogs::choose(window(), ProfileFileDialogs::PickProgram, ProgramFolder);
    if (path.isEmpty())
        return;
    row_.programPath = path;
    row_.programFile = ProfileInfo::programFileOf(path);
    row_.image.setProgramPath(path);
    cells_[ProgramCell]->SetText(row_.programFile);
}

void CProfileList::beginEdit(Cell which) {
    endEdit(which);
    Editor& editor = editors_[std::size_t(which)];
    if (!editor.field) {
        editor.field = new QLineEdit(this);
        editor.field->setFont(editorFont());
        editor.field->installEventFilter(this);
        // The limit is for what the user types: a longer text the row holds already (a long
        // file name) stays whole until the user shortens it, so closing the editor unchanged
        // never cuts it.
        connect(editor.field, &QLineEdit::textEdited, this, [this, which](const QString& now) {
            Editor& e = editors_[std::size_t(which)];
            if (now.size() > MaxTextLength && now.size() > e.accepted.size()) {
                const int cursor = e.field->cursorPosition() - int(now.size() - e.accepted.size());
                e.field->setText(e.accepted);
                e.field->setCursorPosition(qMax(0, cursor));
            } else {
                e.accepted = now;
            }
        });
    }
    CBitmapBtnEx* cell = cells_[std::size_t(which)];
    const QString text = cell->GetText();
    editor.accepted = text;
    editor.field->setMaxLength(qMax<int>(MaxTextLength, int(text.size())));
    editor.field->setGeometry(CellRects[std::size_t(which)]);
    editor.field->setText(text);
    editor.field->show();
    cell->hide();
    editor.field->selectAll();
    editor.field->setFocus(Qt::OtherFocusReason);
}

bool CProfileList::isEditing(Cell which) const {
    const QLineEdit* field = editors_[std::size_t(which)].field;
    return field && !field->isHidden();
}

bool CProfileList::endEdit(Cell which) {
    // Only an open editor holds an edit: a hidden one keeps the text of its last use, which
    // must never come back over what the row shows now.
    if (!isEditing(which))
        return false;
    const QString text = editors_[std::size_t(which)].field->text();
    const bool changed = text != cells_[std::size_t(which)]->GetText() &&
                         (which != NameCell || (isUsableName(text) && !row_.path.isEmpty() &&
                                                !(nameTaken_ && nameTaken_(text))));
    if (changed)
        takeText(which, text);
    closeEditor(which);
    return changed;
}

void CProfileList::takeText(Cell which, const QString& text) {
    cells_[std::size_t(which)]->SetText(text);
    if (which == DocCell) {
        row_.docName = text;
        row_.image.setDocName(text);
        return;
    }
    // The name is the file's: the row's file becomes <folder>/<name>.<extension>. The file
    // under the old name stays where it is.
    row_.name = text;
    row_.image.setName(text);
    const Paths::Split old = Paths::splitPath(row_.path);
    row_.path = Paths::joinPath(old.directory, text, old.extension);
}

void CProfileList::closeEditor(Cell which) {
    QLineEdit* field = editors_[std::size_t(which)].field;
    if (!field)
        return;
    const bool hadFocus = field->hasFocus();
    field->hide();
    cells_[std::size_t(which)]->show();
    if (hadFocus)
        window()->setFocus(Qt::OtherFocusReason);
}

void CProfileList::toggleSwitch() {
    EndEdits();
    const bool on = !cells_[SwitchCell]->GetAlternative();
    cells_[SwitchCell]->SetAlternative(on);
    row_.autoSwitch = on ? 1 : 0;
    row_.image.setAutoSwitch(row_.autoSwitch);
}

int CProfileList::cellOf(std::int64_t cellHandle) const {
    for (int which = 0; which < CellCount; ++which)
        if (cells_[std::size_t(which)]->handle() == cellHandle)
            return which;
    return -1;
}

std::int64_t CProfileList::receiveMessage(std::uint32_t message, std::uint64_t,
                                          std::int64_t lParam) {
    const int which = cellOf(lParam);
    if (which < 0)
        return 0;
    if (message == WM_BTNEX_DOWN) {
        // The dialog answers by selecting this row and no other, so a click on any cell
        // leaves its row selected, also when it was selected already.
        Select(!selected_);
        Messages::postMessage(parentWindowHandle(this), SelectMessage, selected_ ? 1 : 0, handle_);
    } else if (message == WM_BTNEX_DBLCLK) {
        Select(true);
        if (which == NameCell)
            BeginNameEdit();
        else if (which == DocCell)
            BeginDocEdit();
        else if (which == ProgramCell)
            PickProgram();
    }
    return 0;
}

void CProfileList::mousePressEvent(QMouseEvent* event) {
    EndEdits();
    // The row's own: a press on it is no press on the dialog's background.
    event->accept();
}

bool CProfileList::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    for (const Cell which : {NameCell, DocCell}) {
        if (watched != editors_[std::size_t(which)].field)
            continue;
        // Taken on the press, so that neither key goes on to the dialog and ends it.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            endEdit(which);
            return true;
        }
        if (key == Qt::Key_Escape) {
            closeEditor(which);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
