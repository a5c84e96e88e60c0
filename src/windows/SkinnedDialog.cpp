#include "windows/SkinnedDialog.h"

#include "controls/GDIBitmapBtn.h"
#include "controls/SkinImages.h"
#include "controls/SkinText.h"
#include "windows/PageSkin.h"
#include "windows/SwallowedKeys.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

namespace {
const QFont& textFont() {
    static const QFont font = logicalFont(QStringLiteral("Arial"), 14, 300);
    return font;
}
}  // namespace

CSkinnedDialog::CSkinnedDialog(const QString& title, ConfirmKeys keys, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), keys_(keys) {
    setWindowTitle(title);
    setObjectName(title);
    handle_ = Messages::registerWindow(this, title);
}

CSkinnedDialog::~CSkinnedDialog() {
    Messages::unregisterWindow(handle_);
}

std::int64_t CSkinnedDialog::receiveMessage(std::uint32_t message, std::uint64_t, std::int64_t) {
    // A close request after the dialog has ended (the main window closes whatever it finds)
    // must not change how it ended.
    if (message == WM_CLOSE && isVisible())
        reject();
    return 0;
}

QPixmap CSkinnedDialog::loadSkin(const QString& skin, const QString& state) {
    QPixmap picture;
    LoadPictureFile(skinPath(skin, state), picture);
    return picture;
}

void CSkinnedDialog::placeByPicture(const QPixmap& normal) {
    const QSize size = normal.isNull() ? this->size() : normal.size();
    setFixedSize(size);
    const QScreen* screen = this->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    // Integer halves, truncated, as the area or the picture may be odd in size.
    move(available.x() + (available.width() - size.width()) / 2,
         available.y() + (available.height() - size.height()) / 2);
}

CGDIBitmapBtn* CSkinnedDialog::addButton(const QRect& rect, const QPixmap& normal,
                                         const QPixmap& over, const QPixmap& down,
                                         const QString& caption) {
    CGDIBitmapBtn* button = makeSkinButton(this, rect, normal, over, down, normal);
    if (!caption.isEmpty())
        setCaption(*button, caption, CommandPressedColour);
    return button;
}

void CSkinnedDialog::drawWrapped(QPainter& painter, const QRect& rect, const QString& text,
                                 const QColor& colour) {
    painter.setFont(textFont());
    painter.setPen(colour);
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextDontClip,
                     text);
}

void CSkinnedDialog::postClose() {
    Messages::postMessage(handle_, WM_CLOSE, 0, 0);
}

bool CSkinnedDialog::discardsKey(const QKeyEvent& event) const {
    return keys_ == ConfirmKeys::Discarded && isSwallowedKey(&event);
}

void CSkinnedDialog::keyPressEvent(QKeyEvent* event) {
    if (discardsKey(*event)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CSkinnedDialog::keyReleaseEvent(QKeyEvent* event) {
    if (discardsKey(*event)) {
        event->accept();
        return;
    }
    QDialog::keyReleaseEvent(event);
}
