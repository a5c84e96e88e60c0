#include "windows/DlgRestore.h"

CDlgRestore::CDlgRestore(QWidget* parent)
    : CConfirmDialog(QStringLiteral("Halda_CDlgRestore"), QStringLiteral("Restore"),
                     "str_restore_title", "str_msg5", skinRect(117, 100, 344, 130), parent) {}
