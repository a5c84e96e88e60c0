#pragma once

#include "windows/ConfirmDialog.h"

// Asks whether every key should go back to its default. It only asks: after OK its owner does
// the restoring.
class CDlgRestore : public CConfirmDialog {
    Q_OBJECT
public:
    explicit CDlgRestore(QWidget* parent = nullptr);
};
