#pragma once

#include <QColor>
#include <QPixmap>
#include <QRect>
#include <QString>

class CGDIBitmapBtn;
class CListBoxEx;
class QPainter;

// What the key setting dialog, its pages and the other skinned dialogs build their surfaces
// from.

// The three pictures of a window's skin; the normal one is also its background.
struct SkinSet {
    QPixmap normal;
    QPixmap over;
    QPixmap down;

    // skins/<name>_Normal.bmp, _Over.bmp, _Down.bmp beside the executable
    void load(const QString& skinName);
};

// The rectangle of a skin item given as left, top, right, bottom, right and bottom outside.
inline QRect skinRect(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

// The caption colours every button of these windows shares, when idle and under the pointer,
// and the pressed colour of their command buttons.
inline const QColor ButtonNormalColour{88, 95, 105};
inline const QColor ButtonHoverColour{143, 148, 167};
inline const QColor CommandPressedColour{38, 29, 5};

// A visible button at its own rectangle, with its four looks cut from the pictures there.
CGDIBitmapBtn* makeSkinButton(QWidget* parent, const QRect& rect, const QPixmap& idle,
                              const QPixmap& hover, const QPixmap& pressed,
                              const QPixmap& disabled);
// Its caption, in the shared idle and hover colours and its own pressed colour.
void setCaption(CGDIBitmapBtn& button, const QString& caption, const QColor& pressedColour);

// A capture button (a macro's recording, a key's or a combination's capture) is checked and
// reads str_endrecord while its capture runs, and reads str_startrecord otherwise.
void showCapturing(CGDIBitmapBtn& button, bool capturing);

// A list of the pages in their dark colours, reporting to its page under the identifier.
CListBoxEx* makePageList(QWidget* parent, int controlId, const QRect& rect, int rowHeight,
                         bool editable);

// Texts painted over the skin: one line of "Arial" 14/300, cut with an ellipsis when it is
// too wide. A page's label is left-aligned, vertically centred and clipped to its area; other
// texts are placed as the alignment says and never clipped.
void drawPageText(QPainter& painter, const QRect& area, const QString& text, const QColor& colour);
void drawAlignedText(QPainter& painter, const QRect& rect, const QString& text,
                     const QColor& colour, Qt::Alignment alignment);
