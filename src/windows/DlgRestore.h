#pragma once

#include "windows/SkinnedDialog.h"

class CGDIBitmapBtn;

// Asks whether every key should go back to its default. It only asks: after OK its owner does
// the restoring.
class CDlgRestore : public CSkinnedDialog {
    Q_OBJECT
public:
    explicit CDlgRestore(QWidget* parent = nullptr);

    CGDIBitmapBtn* okButton() const { return ok_; }
    CGDIBitmapBtn* cancelButton() const { return cancel_; }
    CGDIBitmapBtn* closeButton() const { return close_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap normal_;
    QPixmap down_;
    QPixmap over_;
    CGDIBitmapBtn* close_ = nullptr;
    CGDIBitmapBtn* ok_ = nullptr;
    CGDIBitmapBtn* cancel_ = nullptr;
};
