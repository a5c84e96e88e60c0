#pragma once

#include "controls/RegionDlg.h"
#include "model/RecordPositions.h"
#include "windows/PageSkin.h"

#include <cstdint>

class CGDIBitmapBtn;
class CListBoxEx;
class KeyCaptureLibrary;
class QLineEdit;

// The key setting dialog's page for a recorded macro. The user keeps a list of named macros,
// records the key presses and releases of the selected one through the key-capture library
// (message 0x40A), lets the page measure the pauses between them, changes single pauses and
// sets how often the macro repeats. OK stores the macro table and gives the key the selected
// macro.
class CDlgMacro : public CRegionDlg {
    Q_OBJECT
public:
    static constexpr int MacroListId = 10001;
    static constexpr int EventListId = 10002;

    CDlgMacro(std::uint8_t keyCode, const KeyCaptureLibrary& hook, QWidget* parent = nullptr);
    ~CDlgMacro() override;

    void BuildPage() override;
    void RestoreDefault() override;
    void ApplyAssignment() override;
    void ShowAssignment() override;
    void ClearSelection() override;

    // Ends a recording and switches automatic pauses and the loop off, as a press on the
    // dialog's surface does.
    void StopCapture();

    std::int64_t receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                std::int64_t lParam) override;

    bool isRecording() const { return recording_; }
    bool autoDelayOn() const { return autoDelayOn_; }
    // The pause the delay field gives, 50 .. 6349 ms.
    int delayValue() const { return delayValue_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The three ways a recording ends; they reset different things.
    void buttonStop();
    void selectionStop();

    void recordKey(std::uint64_t wParam, std::int64_t lParam);
    void onRecordClicked();
    void onAutoDelayClicked();
    void onLoopClicked();
    void onLoopCountEdited(const QString& text);
    void onDelayEdited(const QString& text);
    void newMacro();
    void deleteMacro();
    void modifyDelay();
    void renamed(int row);
    void selectionChanged();

    // Fills the macro list from the stored table; the last row stays selected.
    void loadMacros();
    void showMacro(int index);
    void storeMacros();
    void setLoopCountText(int loopCount);

    const KeyCaptureLibrary& hook_;

    bool recording_ = false;
    bool autoDelayOn_ = false;
    // The last recorded key message; a repeat of it is dropped.
    std::uint64_t lastWParam_ = 0;
    std::int64_t lastLParam_ = 0;
    // Tick count of the last recorded key; 0 for none.
    std::uint32_t lastEventTime_ = 0;
    int delayValue_ = 50;

    // Where the macro list's rows lay in the stored table, for the keys that name them.
    RecordPositions positions_;

    SkinSet skin_;
    CListBoxEx* macroList_ = nullptr;
    CListBoxEx* eventList_ = nullptr;
    QLineEdit* loopCountField_ = nullptr;
    QLineEdit* delayField_ = nullptr;
    CGDIBitmapBtn* recordButton_ = nullptr;
    CGDIBitmapBtn* autoDelayButton_ = nullptr;
    CGDIBitmapBtn* loopButton_ = nullptr;
    CGDIBitmapBtn* newButton_ = nullptr;
    CGDIBitmapBtn* deleteButton_ = nullptr;
    CGDIBitmapBtn* modifyDelayButton_ = nullptr;
};
