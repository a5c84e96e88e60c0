#include "windows/DlgSingleComb.h"

#include "controls/GDIBitmapBtn.h"
#include "controls/ListBoxEx.h"
#include "controls/SkinText.h"
#include "model/CombTable.h"
#include "model/KeyReferences.h"
#include "model/KeyTable.h"
#include "platform/Registry.h"
#include "resources/KeyNameTable.h"
#include "resources/LanguageTable.h"
#include "shell/KeyCaptureLibrary.h"
#include "store/SettingsStore.h"
#include "windows/MainWindowReference.h"
#include "windows/PageSkin.h"
#include "windows/SwallowedKeys.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace {

// The areas that show what was captured.
const QRect SingleTextArea = skinRect(21, 72, 125, 93);
const QRect CombTextArea = skinRect(282, 55, 421, 128);

const QColor LabelColour(88, 99, 105);
const QColor CaptureColour(235, 85, 19);

constexpr int MaxCombinationKeys = tagCombKey::KeySlots;
constexpr int MaxCombinations = CombTable::Slots;

QString text(const char* key) {
    return LanguageTable::instance().text(QLatin1String(key));
}

QString keyName(std::uint64_t keyCode) {
    return KeyNameTable::name(int(keyCode & 0xFF));
}

// Text wrapped at word boundaries as an edit field wraps it, as many lines as fit, the last
// of them cut with an ellipsis when more would follow.
void drawWrappedText(QPainter& painter, const QRect& rect, const QString& text,
                     const QColor& colour) {
    if (text.isEmpty())
        return;
    static const QFont font = logicalFont(QStringLiteral("Arial"), 14, 300);
    const QFontMetrics metrics(font);
    const int lineHeight = metrics.height();
    const int visibleLines = std::max(1, rect.height() / lineHeight);

    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    std::vector<std::pair<int, int>> lines;  // start, length
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(rect.width());
        lines.emplace_back(line.textStart(), line.textLength());
    }
    layout.endLayout();

    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    const int shown = std::min<int>(visibleLines, int(lines.size()));
    for (int i = 0; i < shown; ++i) {
        const auto [start, length] = lines[i];
        const bool cut = i == shown - 1 && int(lines.size()) > shown;
        const QString lineText =
            cut ? metrics.elidedText(text.mid(start).simplified(), Qt::ElideRight, rect.width())
                : text.mid(start, length);
        painter.drawText(QRect(rect.left(), rect.top() + i * lineHeight, rect.width(), lineHeight),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, lineText);
    }
    painter.restore();
}

}  // namespace

CDlgSingleComb::CDlgSingleComb(std::uint8_t keyCode, const KeyCaptureLibrary& hook, QWidget* parent)
    : CRegionDlg(keyCode, parent), hook_(hook) {
    BuildPage();
    hook_.setwindowhwnd(handle());
    list_ = makePageList(this, ListId, skinRect(153, 53, 269, 140), 16, true);
    list_->setObjectName(QStringLiteral("combinationList"));
    list_->installEventFilter(this);
    switchToSingleMode();
}

void CDlgSingleComb::BuildPage() {
    skin_.load(QStringLiteral("Single_Comb"));
    // Every button is idle in Normal, pressed in Down and disabled in Normal again.
    const auto button = [this](const char* name, const QRect& rect, const QPixmap& hover,
                               const char* caption, const QColor& pressedColour) {
        CGDIBitmapBtn* made =
            makeSkinButton(this, rect, skin_.normal, hover, skin_.down, skin_.normal);
        setCaption(*made, text(caption), pressedColour);
        made->setObjectName(QLatin1String(name));
        return made;
    };
    // The captures keep their idle look under the pointer.
    singleCaptureButton_ = button("singleCapture", skinRect(22, 103, 125, 127), skin_.normal,
                                  "str_startrecord", CommandPressedColour);
    combCaptureButton_ = button("combinationCapture", skinRect(278, 138, 421, 162), skin_.normal,
                                "str_startrecord", CommandPressedColour);
    deleteButton_ = button("deleteButton", skinRect(212, 139, 269, 162), skin_.over, "str_del",
                           CommandPressedColour);
    newButton_ = button("newButton", skinRect(152, 139, 210, 162), skin_.over, "str_new",
                        CommandPressedColour);
    singleModeButton_ =
        button("singleMode", skinRect(27, 7, 91, 24), skin_.over, "str_singlekey", CaptureColour);
    combModeButton_ = button("combinationMode", skinRect(159, 7, 231, 24), skin_.over,
                             "str_combkey", CaptureColour);

    connect(singleModeButton_, &CGDIBitmapBtn::clicked, this, [this] { switchToSingleMode(); });
    connect(combModeButton_, &CGDIBitmapBtn::clicked, this, [this] { switchToCombinationMode(); });
    connect(combCaptureButton_, &CGDIBitmapBtn::clicked, this,
            [this] { onCombinationCaptureClicked(); });
    connect(singleCaptureButton_, &CGDIBitmapBtn::clicked, this,
            [this] { onSingleCaptureClicked(); });
    connect(deleteButton_, &CGDIBitmapBtn::clicked, this, [this] {
        if (!inCombinationMode())
            return;
        stopCombinationCapture();
        deleteCombination();
    });
    connect(newButton_, &CGDIBitmapBtn::clicked, this, [this] {
        if (!inCombinationMode())
            return;
        stopCombinationCapture();
        newCombination();
    });
}

// Modes and captures

void CDlgSingleComb::switchToSingleMode() {
    mode_ = Mode::Single;
    singleModeButton_->SetChecked(true);
    combModeButton_->SetChecked(false);
    stopCombinationCapture();
    list_->setSelectedRow(-1);
    combText_.clear();
    update(CombTextArea);
}

void CDlgSingleComb::switchToCombinationMode() {
    mode_ = Mode::Combination;
    combModeButton_->SetChecked(true);
    singleModeButton_->SetChecked(false);
    stopSingleCapture();
    if (const int row = list_->selectedRow(); row >= 0)
        combText_ = displayText(row);
    capturedKey_ = 0;
    singleText_.clear();
    update(SingleTextArea);
    update(CombTextArea);
}

void CDlgSingleComb::startSingleCapture() {
    if (!hook_.hasSetHookStatus())
        return;
    capturing_ = true;
    hook_.SetHookStatus(1);
    showCapturing(*singleCaptureButton_, true);
}

void CDlgSingleComb::stopSingleCapture() {
    if (!hook_.hasSetHookStatus())
        return;
    capturing_ = false;
    hook_.SetHookStatus(0);
    showCapturing(*singleCaptureButton_, false);
}

void CDlgSingleComb::startCombinationCapture() {
    if (!hook_.hasSetHookStatus() || list_->selectedRow() < 0)
        return;
    captureCount_ = 0;
    captureBuffer_ = tagCombKey();
    capturing_ = true;
    hook_.SetHookStatus(1);
    showCapturing(*combCaptureButton_, true);
    combText_.clear();
    update(CombTextArea);
}

void CDlgSingleComb::stopCombinationCapture() {
    if (!hook_.hasSetHookStatus())
        return;
    capturing_ = false;
    hook_.SetHookStatus(0);
    showCapturing(*combCaptureButton_, false);
}

void CDlgSingleComb::StopCapture() {
    stopCombinationCapture();
    stopSingleCapture();
}

void CDlgSingleComb::onSingleCaptureClicked() {
    if (inCombinationMode())
        return;
    if (singleCaptureButton_->GetChecked()) {
        stopSingleCapture();
        return;
    }
    capturedKey_ = 0;
    singleText_.clear();
    update(SingleTextArea);
    startSingleCapture();
}

void CDlgSingleComb::onCombinationCaptureClicked() {
    if (!inCombinationMode())
        return;
    if (combCaptureButton_->GetChecked()) {
        stopCombinationCapture();
        return;
    }
    combText_.clear();
    update(CombTextArea);
    startCombinationCapture();
}

// The combination list

void CDlgSingleComb::newCombination() {
    captureCount_ = 0;
    combText_.clear();
    update(CombTextArea);
    if (capturing_)
        stopCombinationCapture();
    if (list_->count() >= MaxCombinations)
        return;
    QStringList shown;
    for (int row = 0; row < list_->count(); ++row)
        shown << list_->rowText(row);
    const QString name = CombTable::DefaultName(text("str_comb"), shown);
    // Adding closes a rename in progress without taking its text.
    list_->AddItem(CListBoxEx::IconNone, name);
    CombTable::instance().AddCombination(name);
    positions_.append();
}

void CDlgSingleComb::deleteCombination() {
    const int row = list_->selectedRow();
    if (row < 0)
        return;
    // Every other key that sends the combination loses it now; the ones after it move up only
    // when the list is stored, and the keys that name them follow then.
    if (const std::optional<int> stored = positions_.remove(row)) {
        for (const std::uint8_t code : KeyReferences::releaseOtherUsers(
                 KeyTable::instance(), AssignCombination, *stored, keyCode()))
            MainWindowReference::post(MainWindowReference::KeyReleased, handle(), code);
    }
    delete list_->takeItem(row);
    CombTable::instance().RemoveCombination(row);
    list_->setSelectedRow(row < list_->count() ? row : list_->count() - 1);
    const int selected = list_->selectedRow();
    combText_ = selected >= 0 ? displayText(selected) : QString();
    list_->viewport()->update();
    update(CombTextArea);
}

void CDlgSingleComb::selectionChanged() {
    if (capturing_) {
        capturing_ = false;
        hook_.SetHookStatus(0);
    }
    showCapturing(*combCaptureButton_, false);
    if (const int row = list_->selectedRow(); row >= 0) {
        combText_ = displayText(row);
        update(CombTextArea);
    }
}

void CDlgSingleComb::renamed(int row) {
    if (row < 0 || row >= list_->count())
        return;
    QString name = list_->rowText(row);
    if (name.isEmpty()) {
        name = text("str_combkey");
        list_->item(row)->setText(name);
    }
    // Taken in either mode, so the stored name is always the one the list shows.
    CombTable::instance().SetName(row, name);
    if (inCombinationMode()) {
        combText_ = displayText(row);
        update(CombTextArea);
    }
}

QString CDlgSingleComb::displayText(int row) const {
    return CombTable::instance().DisplayText(row, &KeyNameTable::name);
}

void CDlgSingleComb::loadCombinations() {
    list_->clear();
    CombTable& table = CombTable::instance();
    table.clear();
    table.LoadFromImage();
    positions_.reset(table.size());
    for (const QString& name : table.names())
        list_->AddItem(CListBoxEx::IconNone, name);
    list_->setSelectedRow(-1);
}

void CDlgSingleComb::storeCombinations() {
    CombTable::instance().SaveToImage();
    if (std::optional<Registry> key = Registry::openKey(SettingsStore::KeyPath)) {
        key->setValue(QStringLiteral("CombSetting"), Registry::RegBinary, CombTable::image());
        key->close();
    }
    // The stored table now has the list's order: the keys that name a moved combination
    // follow it.
    KeyReferences::renumber(KeyTable::instance(), AssignCombination, positions_, keyCode());
    positions_.reset(CombTable::instance().size());
}

// Captured keys

std::int64_t CDlgSingleComb::receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                            std::int64_t lParam) {
    switch (message) {
        case KeyCaptureLibrary::KeyMessage:
            return inCombinationMode() ? combinationKey(wParam, lParam) : singleKey(wParam, lParam);
        case CListBoxEx::SelectionChangedMessage:
            if (wParam == ListId && inCombinationMode())
                selectionChanged();
            return 0;
        case CListBoxEx::EditFinishedMessage:
            if (wParam == ListId)
                renamed(int(lParam));
            return 0;
        default:
            return CRegionDlg::receiveMessage(message, wParam, lParam);
    }
}

std::int64_t CDlgSingleComb::combinationKey(std::uint64_t wParam, std::int64_t lParam) {
    // A held key may be reported again and again; only its first report counts.
    if (wParam == lastWParam_ && lParam == lastLParam_)
        return 0;
    if (captureCount_ >= MaxCombinationKeys)
        return lParam;
    const int row = list_->selectedRow();
    if (row < 0 || !CombTable::instance().RecordAt(row))
        return 0;
    captureBuffer_.name = list_->rowText(row);

    const bool released = lParam & KeyCaptureLibrary::ReleasedFlag;
    if (!capturing_ && !released) {
        // A key pressed while no capture runs begins one; releasing that key completes it.
        firstKey_ = wParam;
        capturing_ = true;
        captureCount_ = 0;
        captureBuffer_.keys = {};
        combText_.clear();
        update(CombTextArea);
    }
    if (capturing_) {
        if (wParam == firstKey_ && released)
            capturing_ = false;
        if (capturing_ && !released) {
            captureBuffer_.keys[captureCount_] = std::uint8_t(wParam);
            const QString quoted = QStringLiteral("\u201C%1\u201D").arg(keyName(wParam));
            combText_ += captureCount_ == 0 ? quoted : QStringLiteral(" + ") + quoted;
            ++captureCount_;
            CombTable& table = CombTable::instance();
            table.SetKeys(row, captureBuffer_.keys);
            table.SetName(row, captureBuffer_.name);
        }
    }
    update(CombTextArea);
    lastWParam_ = wParam;
    lastLParam_ = lParam;
    return 1;
}

std::int64_t CDlgSingleComb::singleKey(std::uint64_t wParam, std::int64_t lParam) {
    if (wParam == lastWParam_ && lParam == lastLParam_)
        return 0;
    if (!capturing_)
        return lParam;
    // Each press replaces the key until the capture is stopped.
    if (!(lParam & KeyCaptureLibrary::ReleasedFlag)) {
        capturedKey_ = std::uint8_t(wParam);
        singleText_ = keyName(wParam);
        update(SingleTextArea);
    }
    return 1;
}

// Page operations

void CDlgSingleComb::ShowAssignment() {
    StopCapture();
    const KeyAssignment assignment = KeyTable::instance().entry(keyCode());
    if (assignment.type == AssignSingleKey) {
        if (keyCode() == 0)
            return;
        if (assignment.keyCode == keyCode()) {
            capturedKey_ = std::uint8_t(assignment.value);
            singleText_ = keyName(capturedKey_);
        } else {
            capturedKey_ = 0;
            singleText_.clear();
        }
        update(SingleTextArea);
        loadCombinations();
        switchToSingleMode();
    } else if (assignment.type == AssignCombination) {
        if (keyCode() == 0)
            return;
        combText_.clear();
        loadCombinations();
        if (assignment.value >= 0 && assignment.value < list_->count()) {
            list_->setSelectedRow(assignment.value);
            combText_ = displayText(assignment.value);
        }
        switchToCombinationMode();
    } else {
        clearDisplays();
        loadCombinations();
        switchToSingleMode();
    }
}

void CDlgSingleComb::ApplyAssignment() {
    KeyAssignment assignment{keyCode(), AssignDefault, 0};
    if (!inCombinationMode()) {
        stopSingleCapture();
        if (keyCode() == 0)
            return;
        if (capturedKey_ != 0 && capturedKey_ != keyCode())
            assignment = {keyCode(), AssignSingleKey, capturedKey_};
    } else {
        stopCombinationCapture();
        if (keyCode() == 0)
            return;
        StopCapture();
        storeCombinations();
        if (const int row = list_->selectedRow(); row >= 0)
            assignment = {keyCode(), AssignCombination, row};
    }
    KeyTable::instance().entry(keyCode()) = assignment;
    MainWindowReference::post(MainWindowReference::KeyChanged, 0, keyCode());
}

void CDlgSingleComb::RestoreDefault() {
    if (keyCode() == 0)
        return;
    clearDisplays();
    KeyTable::instance().entry(keyCode()) = {keyCode(), AssignDefault, 0};
}

void CDlgSingleComb::ClearSelection() {
    clearDisplays();
}

void CDlgSingleComb::clearDisplays() {
    capturedKey_ = 0;
    singleText_.clear();
    update(SingleTextArea);
    list_->setSelectedRow(-1);
    combText_.clear();
    update(CombTextArea);
}

// Window events

void CDlgSingleComb::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(QPoint(0, 0), skin_.normal);
    drawPageText(painter, skinRect(22, 53, 126, 70), text("str_input_key"), LabelColour);
    drawPageText(painter, skinRect(156, 32, 269, 53), text("str_comblist"), LabelColour);
    drawPageText(painter, skinRect(282, 32, 421, 53), text("str_combkey"), LabelColour);
    if (inCombinationMode())
        drawWrappedText(painter, CombTextArea, combText_, CaptureColour);
    else
        drawAlignedText(painter, skinRect(24, 72, 125, 93), singleText_, CaptureColour,
                        Qt::AlignHCenter | Qt::AlignVCenter);
}

void CDlgSingleComb::mousePressEvent(QMouseEvent* event) {
    // A press on the page is the page's own: it ends the captures and does not move the
    // dialog.
    if (event->button() == Qt::LeftButton)
        StopCapture();
    event->accept();
}

bool CDlgSingleComb::event(QEvent* event) {
    // Help has nothing to show here, and the dialog behind the page is not asked either.
    return takeSwallowedKeyOrHelp(event) || CRegionDlg::event(event);
}

bool CDlgSingleComb::eventFilter(QObject* watched, QEvent* event) {
    // The list never sees Enter, Escape or Space; a rename's field takes Enter and Escape
    // itself, before they get here.
    if (watched == list_ && isSwallowedKey(event))
        return true;
    return CRegionDlg::eventFilter(watched, event);
}
