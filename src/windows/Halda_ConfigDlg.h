#pragma once

#include "controls/WindowDrag.h"
#include "platform/Messages.h"
#include "resources/KeyLayout.h"
#include "store/ProfileFiles.h"
#include "store/ProfileView.h"
#include "store/SettingsStore.h"

#include <QDialog>
#include <QLoggingCategory>
#include <QPixmap>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>

class CBitmapBtnExEx;
class CGDIBitmapBtn;
class CHyperLink;

// The moment the main window first paints, for start-up measurements, off unless asked for:
// QT_LOGGING_RULES="halda.startup.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcStartup)

// The tool's main window and the owner of the running configuration: the keyboard picture
// with a button over each of the 92 programmable keys, marked when the key carries an
// assignment; the command buttons (close, minimise, OK, Cancel, Apply, report rate, restore);
// four profile buttons showing the current profile; a link to the page about the tool. The
// whole surface is the Halda skin, shaped from its key colour and dragged by its background.
// It ends as cancelled whichever way it is closed, after asking the tool's other windows to
// close first; what was saved stays saved.
class CHalda_ConfigDlg : public QDialog, public MessageReceiver, private ProfileView {
    Q_OBJECT
public:
    static constexpr std::uint32_t WM_CLOSE = 0x0010;
    // Closing the main window closes these first, in this order, where they exist.
    static inline const QStringList DialogTitles = {QStringLiteral("Halda_CDlgSetting"),
                                                    QStringLiteral("Halda_CDlgRate"),
                                                    QStringLiteral("Halda_CDlgRestore")};
    // Keys whose buttons open nothing: the keyboard's own mode and Windows-key lock keys.
    static constexpr std::uint8_t ModeKey = 0xC1;
    static constexpr std::uint8_t WinKeyLock = 0xC4;

    // The command buttons, in the order they are made.
    enum Command { Close, Minimise, Ok, Cancel, Apply, ReportRate, Restore, CommandCount };
    static constexpr int ProfileButtonCount = 4;

    // Whether a keyboard is attached; CHidDevice's check unless another is given.
    using KeyboardCheck = std::function<bool()>;

    // Runs the whole initialisation. Without a keyboard it tells the user and ends the
    // process with exit code 0, before anything else is shown or told to the companion.
    explicit CHalda_ConfigDlg(KeyboardCheck keyboardAttached = {});
    ~CHalda_ConfigDlg() override;

    WindowHandle handle() const { return handle_; }
    SettingsStore& store() { return store_; }
    ProfileFiles& profiles() { return profiles_; }
    const KeyLayout& layout() const { return layout_; }
    CGDIBitmapBtn* keyButton(int position) const { return keyButtons_[std::size_t(position)]; }
    CGDIBitmapBtn* commandButton(Command command) const {
        return commandButtons_[std::size_t(command)];
    }
    CBitmapBtnExEx* profileButton(int index) const { return profileButtons_[std::size_t(index)]; }
    CHyperLink* hyperLink() const { return hyperLink_; }
    // "<str_version>:V<major>.<minor>", drawn at the bottom of the window.
    QString versionText() const { return versionText_; }
    // Where the link leads: the page about the tool beside the executable, as a file URL.
    static QString linkTarget();

    // Marks the first key button whose layout code is keyCode by the key's assignment.
    void refreshKey(std::uint8_t keyCode);
    // refreshKey for every key of the key table, in ascending key code.
    void refreshAllKeys() override;

    // The three flows that run a dialog; the parts after the dialog's OK are their own
    // functions so that they hold without the dialog.
    void runReportRateFlow();
    // The chosen rate becomes the current one, the companion hears of it, then it is stored.
    void applyReportRate(std::int32_t rateCode);
    void runRestoreFlow();
    // Every key back to its own function and the current profile file reset; nothing is
    // stored until the next OK or Apply.
    void applyRestore();
    // At a press on a profile button.
    void runProfileFlow();
    // The selected row of the profile dialog becomes the current profile.
    void applyProfileRow(const ProfileRow& row, int index);

    std::int64_t receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                std::int64_t lParam) override;

protected:
    // Runs the key setting dialog for the key, owned by this window; a key edit confirmed
    // there is saved at once (SettingsStore::saveAll with NoticeEdit).
    virtual void openKeySettingDialog(std::uint8_t keyCode);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void loadSkin();
    void buildControls();
    void buildKeyButtons();
    void buildHyperLink();
    void buildCommandButtons();
    void buildProfileButtons();
    void showProfileInfo(const ProfileInfo& info) override;

    void onKeyButton(int position);
    void onCommand(Command command);
    void closeDialogs();
    void setProfileButtonsChecked(bool checked);
    bool isProfileButton(std::int64_t handle) const;

    KeyLayout layout_;
    ProfileFiles profiles_;
    SettingsStore store_;
    WindowHandle handle_ = 0;
    WindowHandle companion_ = 0;  // kept from start-up for the rate and restore notices

    // The Halda skin, and the picture painted as the window's surface (Normal, with the key
    // colour see-through where the window system does not cut the window to its outline).
    QPixmap normal_, down_, over_, normal2_, down2_;
    QPixmap surface_;

    std::array<CGDIBitmapBtn*, KeyLayout::KeyCount> keyButtons_{};
    std::array<CGDIBitmapBtn*, CommandCount> commandButtons_{};
    std::array<CBitmapBtnExEx*, ProfileButtonCount> profileButtons_{};
    CHyperLink* hyperLink_ = nullptr;
    QString versionText_;

    WindowDrag drag_;
    bool painted_ = false;
};
