#include "controls/RegionDlg.h"

CRegionDlg::CRegionDlg(std::uint8_t keyCode, QWidget* parent)
    : QDialog(parent), keyCode_(keyCode), handle_(Messages::registerWindow(this)) {
    // A child window of the dialog that shows it, not a dialog window of its own.
    setWindowFlags(Qt::Widget);
    setAttribute(Qt::WA_NoSystemBackground);
}

CRegionDlg::~CRegionDlg() {
    Messages::unregisterWindow(handle_);
}

std::int64_t CRegionDlg::receiveMessage(std::uint32_t, std::uint64_t, std::int64_t) {
    return 0;
}

void CRegionDlg::paintEvent(QPaintEvent*) {}
