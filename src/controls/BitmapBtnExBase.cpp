#include "controls/BitmapBtnExBase.h"

#include "controls/ParentWindow.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>

namespace {
constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
constexpr std::uint16_t ControlId = 0;  // the buttons are told apart by their handles
constexpr std::uint64_t WM_LBUTTONDOWN = 0x0201;

// The key state of a mouse message: MK_LBUTTON, MK_RBUTTON, MK_SHIFT, MK_CONTROL,
// MK_MBUTTON, MK_XBUTTON1, MK_XBUTTON2.
std::uint64_t keyState(const QMouseEvent& event) {
    std::uint64_t keys = 0;
    const Qt::MouseButtons buttons = event.buttons();
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (buttons & Qt::LeftButton)
        keys |= 0x0001;
    if (buttons & Qt::RightButton)
        keys |= 0x0002;
    if (modifiers & Qt::ShiftModifier)
        keys |= 0x0004;
    if (modifiers & Qt::ControlModifier)
        keys |= 0x0008;
    if (buttons & Qt::MiddleButton)
        keys |= 0x0010;
    if (buttons & Qt::BackButton)
        keys |= 0x0020;
    if (buttons & Qt::ForwardButton)
        keys |= 0x0040;
    return keys;
}
}  // namespace

CBitmapBtnExBase::CBitmapBtnExBase(QWidget* parent) : QAbstractButton(parent) {
    handle_ = Messages::registerWindow(this);
    // Not a tab stop: the windows keep the keyboard to themselves.
    setFocusPolicy(Qt::NoFocus);
    // Every move over the button, for the hover look and for the window.
    setMouseTracking(true);
}

CBitmapBtnExBase::~CBitmapBtnExBase() {
    Messages::unregisterWindow(handle_);
}

void CBitmapBtnExBase::SetChecked(bool checked) {
    if (checked == checked_)
        return;
    checked_ = checked;
    update();
}

void CBitmapBtnExBase::SetAlternative(bool alternative) {
    if (alternative == alternative_)
        return;
    alternative_ = alternative;
    update();
}

void CBitmapBtnExBase::SetColors(const QColor& normal, const QColor& hover, const QColor& pressed) {
    normalColour_ = normal;
    hoverColour_ = hover;
    pressedColour_ = pressed;
    update();
}

std::int64_t CBitmapBtnExBase::receiveMessage(std::uint32_t, std::uint64_t, std::int64_t) {
    return 0;
}

CBitmapBtnExBase::Look CBitmapBtnExBase::look() const {
    // The first matching state wins. A press shows the normal pressed image even in the
    // alternative set; only the owner's checked state shows the alternative one.
    if (checked_)
        return {alternative_ ? AlternativePressed : Pressed, pressedColour_};
    if (isDown())
        return {Pressed, pressedColour_};
    if (hovered_)
        return {alternative_ ? AlternativeIdle : Hover, hoverColour_};
    if (!isEnabled())
        return {Disabled, normalColour_};
    return {alternative_ ? AlternativeIdle : Idle, normalColour_};
}

void CBitmapBtnExBase::storeCaption(const QString& caption) {
    caption_ = caption;
    // Qt's button text carries only the accessible name; '&' doubled so that it never turns
    // into a shortcut of the window.
    setText(QString(caption).replace(QLatin1Char('&'), QStringLiteral("&&")));
    update();
}

void CBitmapBtnExBase::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractButton::mousePressEvent(event);
        return;
    }
    update();
    const QPointer<CBitmapBtnExBase> alive(this);
    const bool heldBefore = QGuiApplication::mouseButtons() & Qt::LeftButton;
    sendToWindow(WM_BTNEX_DOWN, WM_LBUTTONDOWN << 16 | ControlId);
    if (!alive)
        return;
    event->accept();
    // A window that answers the press with a modal dialog (the profile dialog does) takes the
    // release into the dialog, and the button never sees it. Rather than stay pushed, the
    // button ends the press here, as the release would have: no click, the window hears UP.
    if (heldBefore && !(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
        sendToWindow(WM_BTNEX_UP, ControlId);
        return;
    }
    QAbstractButton::mousePressEvent(event);
}

void CBitmapBtnExBase::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractButton::mouseReleaseEvent(event);
        return;
    }
    const QPointer<CBitmapBtnExBase> alive(this);
    // The platform's click: only when the release is over the button it was pressed on.
    QAbstractButton::mouseReleaseEvent(event);
    if (!alive)
        return;
    event->accept();
    sendToWindow(WM_BTNEX_UP, ControlId);
}

void CBitmapBtnExBase::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractButton::mouseDoubleClickEvent(event);
        return;
    }
    // Not a second press: the button is not pushed, so its release gives no click.
    event->accept();
    update();
    sendToWindow(WM_BTNEX_DBLCLK, ControlId);
}

void CBitmapBtnExBase::mouseMoveEvent(QMouseEvent* event) {
    QAbstractButton::mouseMoveEvent(event);
    event->accept();
    const bool leftHeld = event->buttons() & Qt::LeftButton;
    // A press that began while the button was not hovered (or that left it) gets no hover
    // look until it ends, and its moves are not the window's business.
    if (leftHeld && !hovered_)
        return;
    const bool over = rect().contains(event->position().toPoint());
    if (!hovered_) {
        if (over && QApplication::activeWindow() && parentWidget())
            setHovered(true);
    } else if (!over) {
        setHovered(false);
    }
    postMouseMove(*event);
}

void CBitmapBtnExBase::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    setHovered(false);
}

void CBitmapBtnExBase::changeEvent(QEvent* event) {
    QAbstractButton::changeEvent(event);
    // Going to the background ends the hover look, as losing the focus did.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        setHovered(false);
}

void CBitmapBtnExBase::setHovered(bool hovered) {
    if (hovered == hovered_)
        return;
    hovered_ = hovered;
    update();
}

void CBitmapBtnExBase::sendToWindow(std::uint32_t message, std::uint64_t wParam) {
    Messages::sendMessage(parentWindowHandle(this), message, wParam, handle_);
}

void CBitmapBtnExBase::postMouseMove(const QMouseEvent& event) {
    const QPoint screen = event.globalPosition().toPoint();
    const std::uint32_t position =
        std::uint32_t(std::uint16_t(screen.x())) | std::uint32_t(std::uint16_t(screen.y())) << 16;
    Messages::postMessage(parentWindowHandle(this), WM_MOUSEMOVE, keyState(event), position);
}
