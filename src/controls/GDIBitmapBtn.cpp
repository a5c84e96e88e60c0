#include "controls/GDIBitmapBtn.h"

#include "controls/SkinImages.h"
#include "controls/SkinText.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

CGDIBitmapBtn::CGDIBitmapBtn(QWidget* parent) : QAbstractButton(parent) {
    // Not a tab stop: the windows keep the keyboard to themselves.
    setFocusPolicy(Qt::NoFocus);
    // Every move over the button, so the hover look follows the pointer without a press.
    setMouseTracking(true);
}

void CGDIBitmapBtn::SetImages(const QPixmap& idle, const QPixmap& hover, const QPixmap& pressed,
                              const QPixmap& disabled, int left, int top, int right, int bottom) {
    CopyBitmapRect(idle_, idle, left, top, right, bottom);
    CopyBitmapRect(hover_, hover, left, top, right, bottom);
    CopyBitmapRect(pressed_, pressed, left, top, right, bottom);
    CopyBitmapRect(disabled_, disabled, left, top, right, bottom);
    update();
}

void CGDIBitmapBtn::SetText(const QString& caption) {
    caption_ = caption;
    updateAccessibleText();
    update();
}

void CGDIBitmapBtn::SetTipText(const QString& text) {
    if (text.isEmpty())
        return;
    setToolTip(text);
    updateAccessibleText();
}

void CGDIBitmapBtn::SetChecked(bool checked) {
    if (checked == checked_)
        return;
    checked_ = checked;
    update();
}

void CGDIBitmapBtn::SetColors(const QColor& normal, const QColor& hover, const QColor& pressed) {
    normalColour_ = normal;
    hoverColour_ = hover;
    pressedColour_ = pressed;
    update();
}

void CGDIBitmapBtn::paintEvent(QPaintEvent*) {
    // The first matching look wins: checked, pushed, hovered, disabled, idle.
    const QPixmap* image = &idle_;
    QColor colour = normalColour_;
    if (checked_ || isDown()) {
        image = &pressed_;
        colour = pressedColour_;
    } else if (hovered_) {
        image = &hover_;
        colour = hoverColour_;
    } else if (!isEnabled()) {
        image = &disabled_;
    }
    // Qt paints into the window's backing store and shows it in one step, so the caption
    // never flickers over the image.
    QPainter painter(this);
    painter.drawPixmap(QPoint(0, 0), *image, rect());
    drawButtonCaption(painter, rect(), caption_, colour);
}

void CGDIBitmapBtn::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && QApplication::activeWindow() != window())
        window()->activateWindow();
    QAbstractButton::mousePressEvent(event);
}

void CGDIBitmapBtn::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractButton::mouseReleaseEvent(event);
        return;
    }
    // Every left release that reaches the button is a command, also one outside it after a
    // press on it (Qt sends the release to the button that was pressed). The platform's own
    // click, which needs the release over the button, is not used.
    event->accept();
    setDown(false);
    emit released();
    emit clicked(false);
}

void CGDIBitmapBtn::mouseMoveEvent(QMouseEvent* event) {
    QAbstractButton::mouseMoveEvent(event);
    // Moves stay with the button; its window does not hear about them.
    event->accept();
    const bool leftHeld = event->buttons() & Qt::LeftButton;
    // A press that began while the button was not hovered (or that left it) gets no hover
    // look until it ends.
    if (leftHeld && !hovered_)
        return;
    const bool over = rect().contains(event->position().toPoint());
    if (!hovered_) {
        if (over && QApplication::activeWindow() && parentWidget())
            setHovered(true);
    } else if (!over) {
        setHovered(false);
    }
}

void CGDIBitmapBtn::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    setHovered(false);
}

void CGDIBitmapBtn::changeEvent(QEvent* event) {
    QAbstractButton::changeEvent(event);
    // Going to the background ends the hover look, as losing the focus did.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        setHovered(false);
}

void CGDIBitmapBtn::updateAccessibleText() {
    // Qt's button text is only the accessible name: the caption, or for a button without one
    // (a key button) its tip. '&' is doubled so that it never turns into a shortcut.
    const QString name = caption_.isEmpty() ? toolTip() : caption_;
    setText(QString(name).replace(QLatin1Char('&'), QStringLiteral("&&")));
}

void CGDIBitmapBtn::setHovered(bool hovered) {
    if (hovered == hovered_)
        return;
    hovered_ = hovered;
    update();
}
