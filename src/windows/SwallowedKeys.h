#pragma once

#include <QEvent>
#include <QKeyEvent>

// Enter, Escape and Space must neither confirm nor cancel the windows that swallow them (the
// main window, the key setting dialog and its pages, the report rate and restore dialogs), nor
// act on the control that has the focus in them: the windows drop their presses and releases
// in their own key handlers. An application-wide filter would do the same, but it would run
// before the key-capture library's and hide these keys from a capture.
inline bool isSwallowedKey(const QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    switch (static_cast<const QKeyEvent*>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_Space:
            return true;
        default:
            return false;
    }
}

// The key setting dialog and its pages take a swallowed key, and a help request, which they
// have nothing to show for; returns whether the event was taken.
inline bool takeSwallowedKeyOrHelp(QEvent* event) {
    if (!isSwallowedKey(event) && event->type() != QEvent::WhatsThis)
        return false;
    event->accept();
    return true;
}
