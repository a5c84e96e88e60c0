#pragma once

#include "platform/Messages.h"

#include <QWidget>

// Controls report to the window they sit on through the process-wide window table, as the
// windows' own messages do. The parent is the nearest ancestor that takes messages.
inline WindowHandle parentWindowHandle(const QWidget* control) {
    for (const QWidget* w = control ? control->parentWidget() : nullptr; w; w = w->parentWidget())
        if (const auto* receiver = dynamic_cast<const MessageReceiver*>(w))
            if (const WindowHandle handle = Messages::handleOf(receiver))
                return handle;
    return 0;
}
