#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

// One thing drawn into a skin picture: a control at its window rectangle, or a decoration.
struct SkinItem {
    QString kind;   // see the comment at the top of skins.json
    QRect rect;     // window client pixels; right and bottom exclusive
    QString alt;    // the alternative look shown in Normal2/Down2 ("switch"), or empty
    QString icon;   // media icon name
    QString label;  // text printed on a choice
    QString art;    // decoration name
};

struct SkinSet {
    QString name;
    QSize size;
    QStringList states;
    bool roundedOutline = false;  // cut out by the key colour outside rounded corners
    bool page = false;            // a page inside the key setting dialog
    QList<SkinItem> items;
};

struct IconFile {
    QString file;
    QString glyph;
    bool selected = false;
    int size = 0;  // 0: the size shared by the list icons
};

// A key of the keyboard picture, as the key layout file places it.
struct KeyCap {
    QString name;
    int vkcode = 0;
    QRect rect;
};

struct Description {
    QList<SkinSet> sets;
    int iconSize = 16;
    QList<IconFile> icons;
};

// Both readers return false and set error when the file is missing or malformed, so a broken
// description fails the build instead of producing half a skin.
bool readDescription(const QString& path, Description& out, QString& error);
bool readKeyLayout(const QString& path, QList<KeyCap>& out, QString& error);
