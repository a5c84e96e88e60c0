#pragma once

#include "controls/WindowDrag.h"
#include "platform/Messages.h"
#include "shell/KeyCaptureLibrary.h"
#include "windows/PageSkin.h"

#include <QDialog>
#include <QString>

#include <array>
#include <cstdint>

class CDlgMacro;
class CDlgSingleComb;
class CGDIBitmapBtn;
class CRegionDlg;

// The modal dialog in which the user gives one key a new assignment, on one of five pages.
// exec() returns Accepted once OK has made the visible page write the key's assignment (and
// post 0x60E to the main window), Rejected for Cancel, the close button and a close request
// (message 0x10). It owns the key-capture library for its life and sends captured keys to the
// visible page when that page captures (single and combination key, macro), to itself
// otherwise, where they are dropped.
class CDlgSetting : public QDialog, public MessageReceiver {
    Q_OBJECT
public:
    static inline const QString Title = QStringLiteral("Halda_CDlgSetting");
    static constexpr std::uint32_t CloseMessage = 0x10;

    // The pages as the dialog numbers them, which is also the order it visits them in.
    enum Page {
        NoPage = 0,
        SingleCombPage = 1,
        MacroPage = 2,
        BasePage = 3,
        MediaPage = 4,
        MousePage = 5,
    };
    static constexpr int PageCount = 5;

    CDlgSetting(std::uint8_t keyCode, QWidget* parent);
    ~CDlgSetting() override;

    WindowHandle handle() const { return handle_; }
    // The page that OK and Restore act on; SingleCombPage until the user or the key's
    // assignment picks another, even while no page is shown.
    int currentPage() const { return currentPage_; }
    CRegionDlg* page(int number) const;
    const QString& keyName() const { return keyName_; }

    // The page a key of this assignment type opens on; NoPage for a type no page shows.
    static int startPage(std::int32_t assignmentType);
    // The key's name as this dialog shows it, which for some keys is shorter than elsewhere.
    static QString KeyName(int keyCode);

    std::int64_t receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                std::int64_t lParam) override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void createButtons();
    void createPages();
    void placeInScreen();
    void switchToPage(int number);
    void onOk();

    // Created first and gone last: the pages call into it until they are deleted.
    KeyCaptureLibrary hook_;
    std::uint8_t keyCode_;
    int currentPage_ = SingleCombPage;
    WindowHandle handle_ = 0;
    SkinSet skin_;
    QString keyName_;

    // By page number less one.
    std::array<CRegionDlg*, PageCount> pages_{};
    CDlgSingleComb* singleCombPage_ = nullptr;
    CDlgMacro* macroPage_ = nullptr;

    CGDIBitmapBtn* closeButton_ = nullptr;
    CGDIBitmapBtn* okButton_ = nullptr;
    CGDIBitmapBtn* cancelButton_ = nullptr;
    CGDIBitmapBtn* restoreButton_ = nullptr;
    std::array<CGDIBitmapBtn*, PageCount> selectors_{};

    WindowDrag drag_;
};
