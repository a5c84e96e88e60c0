#pragma once

#include "platform/Messages.h"
#include "resources/KeyLayout.h"
#include "store/ProfileFiles.h"
#include "store/ProfileView.h"
#include "store/SettingsStore.h"

#include <QDialog>

class QPushButton;

// The main window. For now it carries the stored configuration and the three buttons that
// save it; the keyboard picture comes later.
class CHalda_ConfigDlg : public QDialog, public MessageReceiver, private ProfileView {
    Q_OBJECT
public:
    explicit CHalda_ConfigDlg(QWidget* parent = nullptr);
    ~CHalda_ConfigDlg() override;

    WindowHandle handle() const { return handle_; }
    SettingsStore& store() { return store_; }

    std::int64_t receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                std::int64_t lParam) override;

private:
    void initialise();
    void onOk();
    void onApply();
    // Nothing shows the profile or the keys yet.
    void showProfileInfo(const ProfileInfo&) override {}
    void refreshAllKeys() override {}

    KeyLayout layout_;
    ProfileFiles profiles_;
    SettingsStore store_;
    WindowHandle handle_ = 0;
    WindowHandle companion_ = 0;  // kept from start-up for the rate and restore notices
};
