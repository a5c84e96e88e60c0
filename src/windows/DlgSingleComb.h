#pragma once

#include "controls/RegionDlg.h"
#include "model/CombKey.h"
#include "model/RecordPositions.h"
#include "windows/PageSkin.h"

#include <QString>

#include <cstdint>

class CGDIBitmapBtn;
class CListBoxEx;
class KeyCaptureLibrary;

// The key setting dialog's page for another key or a key combination. In single-key mode a
// capture takes the key the user presses, and OK gives the edited key that key. In
// combination mode the user keeps a list of named combinations, captures up to four keys into
// the selected one, and OK stores the combination table and gives the key the selected one.
// Captured keys arrive from the key-capture library as message 0x40A while the page is the
// library's target.
class CDlgSingleComb : public CRegionDlg {
    Q_OBJECT
public:
    static constexpr int ListId = 102;

    CDlgSingleComb(std::uint8_t keyCode, const KeyCaptureLibrary& hook, QWidget* parent = nullptr);

    void BuildPage() override;
    void RestoreDefault() override;
    void ApplyAssignment() override;
    void ShowAssignment() override;
    void ClearSelection() override;

    // Ends the single and the combination capture, as a press on the dialog's surface does.
    void StopCapture();

    std::int64_t receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                std::int64_t lParam) override;

    bool inCombinationMode() const { return mode_ == Mode::Combination; }
    bool isCapturing() const { return capturing_; }
    std::uint8_t capturedKey() const { return capturedKey_; }
    const QString& singleText() const { return singleText_; }
    const QString& combText() const { return combText_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Mode { Single, Combination };

    void switchToSingleMode();
    void switchToCombinationMode();
    void startSingleCapture();
    void stopSingleCapture();
    void startCombinationCapture();
    void stopCombinationCapture();

    void onSingleCaptureClicked();
    void onCombinationCaptureClicked();
    void newCombination();
    void deleteCombination();

    std::int64_t combinationKey(std::uint64_t wParam, std::int64_t lParam);
    std::int64_t singleKey(std::uint64_t wParam, std::int64_t lParam);
    void selectionChanged();
    void renamed(int row);

    // Fills the list from the stored table, with no selection.
    void loadCombinations();
    void clearDisplays();
    void storeCombinations();
    QString displayText(int row) const;

    const KeyCaptureLibrary& hook_;

    std::uint8_t capturedKey_ = 0;
    Mode mode_ = Mode::Single;
    bool capturing_ = false;
    QString combText_;
    QString singleText_;

    // The combination being captured: its keys so far and the selected row's name.
    tagCombKey captureBuffer_;
    int captureCount_ = 0;
    // The key whose press began the last capture that a key began (not the button); its
    // release completes that combination.
    std::uint64_t firstKey_ = 0;
    // The last key message handled in combination mode; a repeat of it is dropped.
    std::uint64_t lastWParam_ = 0;
    std::int64_t lastLParam_ = 0;

    // Where the list's rows lay in the stored table, for the keys that name them.
    RecordPositions positions_;

    SkinSet skin_;
    CListBoxEx* list_ = nullptr;
    CGDIBitmapBtn* singleCaptureButton_ = nullptr;
    CGDIBitmapBtn* combCaptureButton_ = nullptr;
    CGDIBitmapBtn* deleteButton_ = nullptr;
    CGDIBitmapBtn* newButton_ = nullptr;
    CGDIBitmapBtn* singleModeButton_ = nullptr;
    CGDIBitmapBtn* combModeButton_ = nullptr;
};
