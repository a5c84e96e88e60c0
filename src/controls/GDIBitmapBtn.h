#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>
#include <QString>

// The everyday skinned button: the key buttons over the keyboard picture and the command
// buttons of every window. It shows one of four images cut from its window's skin pictures,
// an optional caption over it, a hover look, and an optional tooltip. Its command is
// clicked(), emitted at every left-button release that reaches it - also a release outside
// after a press on it - and never at the press.
//
// Its accessible name is the caption, or without one (a key button) the tip text; an owner's
// own setAccessibleName / setAccessibleDescription take precedence over both.
class CGDIBitmapBtn : public QAbstractButton {
    Q_OBJECT
public:
    explicit CGDIBitmapBtn(QWidget* parent = nullptr);

    // Cuts the button's four looks out of the skin pictures at [left, right) x [top, bottom),
    // normally the button's own rectangle in its window. Painting only copies them.
    void SetImages(const QPixmap& idle, const QPixmap& hover, const QPixmap& pressed,
                   const QPixmap& disabled, int left, int top, int right, int bottom);
    void SetText(const QString& caption);
    QString GetText() const { return caption_; }
    // An empty text changes nothing; a later text replaces the earlier one.
    void SetTipText(const QString& text);
    // Repaints only when the state changes.
    void SetChecked(bool checked);
    bool GetChecked() const { return checked_; }
    void SetColors(const QColor& normal, const QColor& hover, const QColor& pressed);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void setHovered(bool hovered);
    void updateAccessibleText();

    QPixmap idle_;
    QPixmap hover_;
    QPixmap pressed_;
    QPixmap disabled_;
    bool checked_ = false;
    bool hovered_ = false;
    QString caption_;
    QColor normalColour_{88, 99, 105};
    QColor hoverColour_{145, 154, 166};
    QColor pressedColour_{38, 29, 5};
};
