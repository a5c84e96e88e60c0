#pragma once

#include "platform/Messages.h"

#include <QAbstractButton>
#include <QColor>
#include <QString>

#include <cstdint>

// Sent (not posted) to the button's window, with the button's handle as lParam.
inline constexpr std::uint32_t WM_BTNEX_DBLCLK = 0x2407;
inline constexpr std::uint32_t WM_BTNEX_DOWN = 0x2408;  // wParam: 0x0201 in the high word
inline constexpr std::uint32_t WM_BTNEX_UP = 0x2409;

// What the two six-image buttons share: the look state their owner sets (checked, the
// alternative image set, three caption colours), the hover look, and the mouse handling that
// tells their window about presses, releases, double clicks and moves. The derived buttons
// hold the images and paint.
//
// The window is the nearest ancestor in the window table. It hears, all sent while the button
// handles the input: WM_BTNEX_DOWN at a left press, before the button shows itself pushed;
// WM_BTNEX_UP at every left release, after the click; WM_BTNEX_DBLCLK at a double click,
// which pushes nothing and gives no click. clicked() comes only for a release over the button.
// A window that answers WM_BTNEX_DOWN with a modal dialog gets WM_BTNEX_UP when the send
// returns, as the release went to the dialog; the button does not stay pushed.
// Every move over the button is posted to the window as a mouse move (0x0200, key state,
// screen x | y << 16), except moves with the left button held while it is not hovered.
//
// The caption is the button's accessible name; an owner may set a name and a description of
// its own (setAccessibleName / setAccessibleDescription), which a caption never overrides.
class CBitmapBtnExBase : public QAbstractButton, public MessageReceiver {
    Q_OBJECT
public:
    ~CBitmapBtnExBase() override;

    // The button's own handle, which its messages carry as lParam.
    WindowHandle handle() const { return handle_; }

    // Each repaints only when the state changes.
    void SetChecked(bool checked);
    bool GetChecked() const { return checked_; }
    void SetAlternative(bool alternative);
    bool GetAlternative() const { return alternative_; }
    void SetColors(const QColor& normal, const QColor& hover, const QColor& pressed);
    QString GetText() const { return caption_; }

    // The button takes no messages of its own.
    std::int64_t receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                std::int64_t lParam) override;

protected:
    // The six state images, in the order the owners give them.
    enum Image { Idle, AlternativeIdle, Hover, Pressed, AlternativePressed, Disabled, ImageCount };
    struct Look {
        Image image;
        QColor colour;
    };

    explicit CBitmapBtnExBase(QWidget* parent);

    // The image and caption colour of the current state.
    Look look() const;
    const QString& caption() const { return caption_; }
    void storeCaption(const QString& caption);

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void setHovered(bool hovered);
    void sendToWindow(std::uint32_t message, std::uint64_t wParam);
    void postMouseMove(const QMouseEvent& event);

    WindowHandle handle_ = 0;
    bool checked_ = false;
    bool hovered_ = false;
    bool alternative_ = false;
    QString caption_;
    QColor normalColour_{46, 55, 65};
    QColor hoverColour_{106, 124, 145};
    QColor pressedColour_{236, 27, 35};
};
