#pragma once

#include <QPoint>

#include <optional>

class QMouseEvent;
class QWidget;

// Moves a captionless top-level window by its background, as if its caption had been pressed:
// a left press on a point of the window that no control covers hands the move to the window
// system where it offers one; where it does not (no window manager, as under a bare X server)
// the window follows the pointer until the button is released. The window passes its own
// mouse events in and leaves alone those the drag takes.
class WindowDrag {
public:
    bool press(QWidget& window, const QMouseEvent& event);
    bool move(QWidget& window, const QMouseEvent& event);
    bool release(const QMouseEvent& event);

    bool isFollowingPointer() const { return grabOffset_.has_value(); }

private:
    // Where the pointer holds the window, from its top left corner.
    std::optional<QPoint> grabOffset_;
};
