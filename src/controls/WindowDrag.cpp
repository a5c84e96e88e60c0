#include "controls/WindowDrag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

bool WindowDrag::press(QWidget& window, const QMouseEvent& event) {
    if (event.button() != Qt::LeftButton || window.childAt(event.position().toPoint()))
        return false;
    QWindow* native = window.windowHandle();
    if (native && native->startSystemMove()) {
        grabOffset_.reset();
        return true;
    }
    grabOffset_ = event.globalPosition().toPoint() - window.pos();
    return true;
}

bool WindowDrag::move(QWidget& window, const QMouseEvent& event) {
    if (!grabOffset_)
        return false;
    if (!(event.buttons() & Qt::LeftButton)) {
        // The release went elsewhere (a dialog opened meanwhile, say): the drag is over.
        grabOffset_.reset();
        return false;
    }
    window.move(event.globalPosition().toPoint() - *grabOffset_);
    return true;
}

bool WindowDrag::release(const QMouseEvent& event) {
    if (!grabOffset_ || event.button() != Qt::LeftButton)
        return false;
    grabOffset_.reset();
    return true;
}
