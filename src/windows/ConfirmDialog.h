#pragma once

#include "windows/PageSkin.h"
#include "windows/SkinnedDialog.h"

#include <QRect>

class CGDIBitmapBtn;

// What the report rate and restore dialogs share: a skin of their own in one layout, a title
// and a message painted over it, a close button, OK and Cancel. OK accepts; Cancel and the
// close button cancel; Enter, Escape and Space do neither.
class CConfirmDialog : public CSkinnedDialog {
    Q_OBJECT
public:
    CGDIBitmapBtn* okButton() const { return ok_; }
    CGDIBitmapBtn* cancelButton() const { return cancel_; }
    CGDIBitmapBtn* closeButton() const { return close_; }

protected:
    // The title and the message are language keys, looked up whenever the dialog paints; the
    // message is wrapped in its rectangle.
    CConfirmDialog(const QString& title, const QString& skinName, const char* titleKey,
                   const char* messageKey, const QRect& messageRect, QWidget* parent);

    const SkinSet& skin() const { return skin_; }

    void paintEvent(QPaintEvent* event) override;

private:
    const char* titleKey_;
    const char* messageKey_;
    QRect messageRect_;
    SkinSet skin_;
    CGDIBitmapBtn* close_ = nullptr;
    CGDIBitmapBtn* ok_ = nullptr;
    CGDIBitmapBtn* cancel_ = nullptr;
};
