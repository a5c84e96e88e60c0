#include "windows/PageSkin.h"

#include "controls/GDIBitmapBtn.h"
#include "controls/ListBoxEx.h"
#include "controls/SkinImages.h"
#include "controls/SkinText.h"
#include "resources/LanguageTable.h"

#include <QFontMetrics>
#include <QPainter>

void SkinSet::load(const QString& skinName) {
    LoadPictureFile(skinPath(skinName, QStringLiteral("Normal")), normal);
    LoadPictureFile(skinPath(skinName, QStringLiteral("Over")), over);
    LoadPictureFile(skinPath(skinName, QStringLiteral("Down")), down);
}

CGDIBitmapBtn* makeSkinButton(QWidget* parent, const QRect& rect, const QPixmap& idle,
                              const QPixmap& hover, const QPixmap& pressed,
                              const QPixmap& disabled) {
    auto* button = new CGDIBitmapBtn(parent);
    button->setGeometry(rect);
    button->SetImages(idle, hover, pressed, disabled, rect.left(), rect.top(),
                      rect.left() + rect.width(), rect.top() + rect.height());
    button->show();
    return button;
}

void setCaption(CGDIBitmapBtn& button, const QString& caption, const QColor& pressedColour) {
    button.SetText(caption);
    button.SetColors(ButtonNormalColour, ButtonHoverColour, pressedColour);
}

void showCapturing(CGDIBitmapBtn& button, bool capturing) {
    button.SetChecked(capturing);
    button.SetText(LanguageTable::instance().text(capturing ? QStringLiteral("str_endrecord")
                                                            : QStringLiteral("str_startrecord")));
}

CListBoxEx* makePageList(QWidget* parent, int controlId, const QRect& rect, int rowHeight,
                         bool editable) {
    auto* list = new CListBoxEx(parent);
    list->setControlId(controlId);
    list->setGeometry(rect);
    list->setSelectionColor(QColor(26, 18, 18));
    list->setBackgroundColor(QColor(21, 24, 29));
    list->setTextColor(QColor(88, 95, 105));
    list->setSelectedTextColor(QColor(235, 85, 19));
    list->setRowHeight(rowHeight);
    list->setEditable(editable);
    list->show();
    return list;
}

namespace {
void drawLine(QPainter& painter, const QRect& rect, const QString& text, const QColor& colour,
              int flags) {
    static const QFont font = logicalFont(QStringLiteral("Arial"), 14, 300);
    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(rect, flags | Qt::TextSingleLine,
                     QFontMetrics(font).elidedText(text, Qt::ElideRight, rect.width()));
    painter.restore();
}
}  // namespace

void drawPageText(QPainter& painter, const QRect& area, const QString& text, const QColor& colour) {
    drawLine(painter, area, text, colour, Qt::AlignLeft | Qt::AlignVCenter);
}

void drawAlignedText(QPainter& painter, const QRect& rect, const QString& text,
                     const QColor& colour, Qt::Alignment alignment) {
    drawLine(painter, rect, text, colour, alignment | Qt::TextDontClip);
}
