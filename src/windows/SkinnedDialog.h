#pragma once

#include "platform/Messages.h"

#include <QColor>
#include <QDialog>
#include <QPixmap>
#include <QRect>
#include <QString>

#include <cstdint>

class CGDIBitmapBtn;
class QPainter;

// What the profile, report rate and restore dialogs share. Each is a frameless dialog as large
// as its Normal skin picture, centred in the available area of its screen, drawn from that
// picture. It stands in the window table under its title for its whole life, so the main
// window can find it by title and post it WM_CLOSE, which ends it as cancelled.
class CSkinnedDialog : public QDialog, public MessageReceiver {
    Q_OBJECT
public:
    static constexpr std::uint32_t WM_CLOSE = 0x0010;

    ~CSkinnedDialog() override;

    WindowHandle handle() const { return handle_; }

    std::int64_t receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                std::int64_t lParam) override;

protected:
    // Whether Enter, Escape and Space reach the dialog (Escape then cancels it) or are
    // discarded, so that the keyboard never confirms or cancels it.
    enum class ConfirmKeys { Ordinary, Discarded };

    CSkinnedDialog(const QString& title, ConfirmKeys keys, QWidget* parent);

    // The skin picture skins/<skin>_<state>.bmp; empty when it cannot be read.
    static QPixmap loadSkin(const QString& skin, const QString& state);
    // Sizes the window to the picture and centres it. Without a picture the size stays.
    void placeByPicture(const QPixmap& normal);

    // A command button over its rectangle, showing that part of the pictures (idle Normal,
    // hover Over, pressed Down, disabled Normal). A captioned button gets the command buttons'
    // caption colours; the close button keeps the button's own.
    CGDIBitmapBtn* addButton(const QRect& rect, const QPixmap& normal, const QPixmap& over,
                             const QPixmap& down, const QString& caption = {});

    // A text painted over the skin in "Arial" 14/300 on a transparent background, in lines
    // wrapped at word boundaries from the top left, never clipped. (Single lines are
    // drawAlignedText's.)
    static void drawWrapped(QPainter& painter, const QRect& rect, const QString& text,
                            const QColor& colour);

    // A close request to itself, handled once the current event is done.
    void postClose();

    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    bool discardsKey(const QKeyEvent& event) const;

    ConfirmKeys keys_;
    WindowHandle handle_ = 0;
};
