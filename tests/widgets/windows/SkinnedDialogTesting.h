#pragma once

// Mouse input goes through the window system interface, as real input does: Qt's implicit
// grab, enter and leave, and double clicks made from press-release-press-release.
#define QTEST_QPA_MOUSE_HANDLING

#include "WindowTestWorld.h"

#include "support/QtPrinting.h"
#include "support/WaitUntil.h"

#include <QAbstractButton>
#include <QDialog>
#include <QImage>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace dialogs {

// Every skin picture is one flat colour of its own, so one pixel of a control tells which
// picture it shows.
inline QRgb skinColour(const QString& state) {
    if (state == u"Normal")
        return qRgb(20, 20, 20);
    if (state == u"Normal2")
        return qRgb(40, 40, 40);
    if (state == u"Over")
        return qRgb(60, 60, 60);
    if (state == u"Down")
        return qRgb(80, 80, 80);
    if (state == u"Down2")
        return qRgb(100, 100, 100);
    return qRgb(0, 0, 0);
}

// The skin set <name>_<state>.bmp in the application folder of the test world.
inline void writeSkin(const QString& name, QSize size, const QStringList& states) {
    std::vector<std::pair<QString, QColor>> looks;
    for (const QString& state : states)
        looks.emplace_back(state, QColor(skinColour(state)));
    windowworld::writeFlatSkin(name, size, looks);
}

// A pixel of the widget away from its caption (which is centred).
inline QRgb look(QWidget* widget) {
    return widget->grab().toImage().pixel(2, 2);
}

inline void click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

inline void doubleClick(QWidget* widget) {
    QTest::mouseDClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

inline void showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
}

// Runs the dialog modally as its owner does; during the run, act() is called from its event
// loop and should end the dialog. Returns how the dialog ended.
inline int runModal(QDialog& dialog, const std::function<void()>& act) {
    QTimer::singleShot(0, &dialog, [&] {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        act();
        if (!waitUntil([&] { return !dialog.isVisible(); })) {
            ADD_FAILURE() << "the dialog is still open";
            dialog.reject();
        }
    });
    return dialog.exec();
}

}  // namespace dialogs
