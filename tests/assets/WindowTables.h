#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

// What each window takes from its skin pictures, written down from the windows' own layout:
// the rectangles of the controls cut from the pictures and of the texts the windows paint.
// Kept apart from the generator's description so that the pictures are checked against the
// windows, not against themselves.

struct SkinControl {
    QRect rect;
    bool usesOver = true;      // the window gives it the Over picture as its hover image
    bool alternative = false;  // the window switches it to Normal2/Down2
    bool captioned = false;    // the window draws a caption over its centre
};

struct WindowSkin {
    QString name;
    QStringList states;
    QSize minimumSize;  // what the window's controls and texts need
    QList<SkinControl> controls;
    QList<QRect> texts;
};

// Left, top, right, bottom as the windows give them: right and bottom are exclusive.
QRect ltrb(int left, int top, int right, int bottom);

QList<WindowSkin> windowSkins();

QString appDir();

// One "key" element of the shipped key layout file, attributes as written.
struct LayoutKey {
    QString name, vkcode, buttontip, rect, kstatus;
};
QList<LayoutKey> shippedLayout();
