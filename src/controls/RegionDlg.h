#pragma once

#include "platform/Messages.h"

#include <QDialog>

#include <cstdint>

// The base of the key setting dialog's assignment pages. A page is a child window of that
// dialog, made for the key being edited, and paints its whole surface from its own skin; the
// base paints nothing, not even a background, so nothing is drawn under the skin.
//
// The dialog drives every page through the five operations below (the base versions do
// nothing). Pages take window messages (captured keys, list notices) through their handle in
// the process-wide window table, which the base holds for the page's whole life; a page
// handles them by overriding receiveMessage.
class CRegionDlg : public QDialog, public MessageReceiver {
    Q_OBJECT
public:
    CRegionDlg(std::uint8_t keyCode, QWidget* parent);
    ~CRegionDlg() override;

    // The virtual-key code of the key the page edits.
    std::uint8_t keyCode() const { return keyCode_; }
    WindowHandle handle() const { return handle_; }

    // Loads the page's skin and makes its controls; the page calls it from its own
    // initialisation.
    virtual void BuildPage() {}
    // Clears the selection and gives the key its default function.
    virtual void RestoreDefault() {}
    // Writes the selection into the key's assignment and tells the main window.
    virtual void ApplyAssignment() {}
    // Shows the key's current assignment if it belongs to this page, otherwise no selection.
    virtual void ShowAssignment() {}
    // Clears the selection and what the page shows of it; the key is not touched.
    virtual void ClearSelection() {}

    std::int64_t receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                std::int64_t lParam) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::uint8_t keyCode_;
    WindowHandle handle_ = 0;
};
