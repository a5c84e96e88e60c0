#pragma once

// Mouse input goes through the window system interface, as real input does: Qt's implicit
// grab, enter and leave, and double clicks made from press-release-press-release.
#define QTEST_QPA_MOUSE_HANDLING

#include "support/RecordingWindow.h"
#include "support/WaitUntil.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>

namespace buttons {

// Every look gets its own grey, so a pixel away from the caption tells which one is shown.
inline constexpr std::array<int, 6> LookGreys = {20, 40, 60, 80, 100, 120};

inline QImage solidImage(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

inline QColor grey(int level) {
    return QColor(level, level, level);
}

// Caption colours that antialiasing cannot confuse: each lies in one channel only.
inline const QColor NormalColour(255, 0, 0);
inline const QColor HoverColour(0, 255, 0);
inline const QColor PressedColour(0, 0, 255);

// The colour the caption leans to: the channel that stands out most in the most colourful
// pixel. Black when there is no coloured pixel (no caption drawn).
inline QColor captionColour(const QImage& shot) {
    QRgb best = 0;
    int bestSpread = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QRgb p = shot.pixel(x, y);
            const int spread =
                std::max({qRed(p), qGreen(p), qBlue(p)}) - std::min({qRed(p), qGreen(p), qBlue(p)});
            if (spread > bestSpread) {
                bestSpread = spread;
                best = p;
            }
        }
    if (bestSpread < 40)
        return Qt::black;
    const int top = std::max({qRed(best), qGreen(best), qBlue(best)});
    if (qRed(best) == top)
        return NormalColour;
    if (qGreen(best) == top)
        return HoverColour;
    return PressedColour;
}

// The bounding box of the pixels that differ from the one at (x, y).
inline QRect inkBounds(const QImage& shot, QPoint background = {0, 0}) {
    const QRgb ground = shot.pixel(background);
    QRect bounds;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixel(x, y) != ground)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// A top-level window that records its messages, shown and active (the application is in
// the foreground, which the hover look asks for).
template <class Window = RecordingWindow>
std::unique_ptr<Window> activeWindow(QSize size = {240, 120}) {
    auto window = std::make_unique<Window>();
    window->resize(size);
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    return window;
}

// Counts the paint events of a widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

// Delivers every message posted so far.
inline void deliverPosted() {
    QCoreApplication::sendPostedEvents();
}

// Whether change() makes the widget repaint. A probe beside it in the same window is
// repainted after the change; Qt paints every pending part of a window in one pass, so by
// the time the probe has been painted the widget has been too, if the change asked for it.
inline bool repaintsOn(QWidget* widget, const std::function<void()>& change) {
    QWidget probe(widget->window());
    probe.setGeometry(0, 0, 1, 1);
    probe.show();
    PaintCounter widgetPaints(widget);
    PaintCounter probePaints(&probe);
    const auto paintProbe = [&] {
        probePaints.count = 0;
        probe.update();
        EXPECT_TRUE(waitUntil([&] { return probePaints.count > 0; }));
    };
    paintProbe();  // whatever was pending before
    widgetPaints.count = 0;
    change();
    paintProbe();
    return widgetPaints.count > 0;
}

}  // namespace buttons
