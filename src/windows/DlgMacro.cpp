#include "windows/DlgMacro.h"

#include "controls/GDIBitmapBtn.h"
#include "controls/ListBoxEx.h"
#include "model/DefaultName.h"
#include "model/KeyReferences.h"
#include "model/KeyTable.h"
#include "model/MacroTable.h"
#include "platform/Registry.h"
#include "platform/TickCount.h"
#include "resources/KeyNameTable.h"
#include "resources/LanguageTable.h"
#include "shell/KeyCaptureLibrary.h"
#include "store/SettingsStore.h"
#include "windows/MainWindowReference.h"
#include "windows/PageSkin.h"
#include "windows/SwallowedKeys.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpressionValidator>

namespace {

const QColor LabelColour(88, 99, 105);
const QColor SwitchPressedColour(233, 85, 19);

constexpr int MinLoopCount = 1;
constexpr int MaxLoopCount = 200;
constexpr int MinDelay = 50;
constexpr int MaxDelay = 6349;

QString text(const char* key) {
    return LanguageTable::instance().text(QLatin1String(key));
}

QString pauseText(std::int32_t delayMs) {
    return QStringLiteral("%1 ms").arg(delayMs);
}

// A field for a number: digits only, red on black while it can be edited, the platform's
// look while it is disabled.
QLineEdit* makeNumberField(QWidget* parent, const char* name, const QRect& rect, int maxLength,
                           const QString& initial) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setGeometry(rect);
    field->setFrame(false);
    field->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), field));
    field->setMaxLength(maxLength);
    QPalette palette = field->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Text, Qt::red);
        palette.setColor(group, QPalette::Base, Qt::black);
    }
    field->setPalette(palette);
    field->setText(initial);
    field->show();
    return field;
}

}  // namespace

CDlgMacro::CDlgMacro(std::uint8_t keyCode, const KeyCaptureLibrary& hook, QWidget* parent)
    : CRegionDlg(keyCode, parent), hook_(hook) {
    macroList_ = makePageList(this, MacroListId, skinRect(11, 32, 127, 151), 16, true);
    macroList_->setObjectName(QStringLiteral("macroList"));
    eventList_ = makePageList(this, EventListId, skinRect(137, 32, 262, 173), 16, false);
    eventList_->setObjectName(QStringLiteral("eventList"));
    BuildPage();
    for (QWidget* control :
         {static_cast<QWidget*>(macroList_), static_cast<QWidget*>(eventList_),
          static_cast<QWidget*>(loopCountField_), static_cast<QWidget*>(delayField_)})
        control->installEventFilter(this);
    hook_.setwindowhwnd(handle());
    loadMacros();
}

CDlgMacro::~CDlgMacro() {
    hook_.SetHookStatus(0);
    hook_.removehook();
    MacroTable::instance().clear();
}

void CDlgMacro::BuildPage() {
    skin_.load(QStringLiteral("Macro"));
    // Every button is idle in Normal, pressed and disabled in Down.
    const auto button = [this](const char* name, const QRect& rect, const QPixmap& hover,
                               const char* caption, const QColor& pressedColour) {
        CGDIBitmapBtn* made =
            makeSkinButton(this, rect, skin_.normal, hover, skin_.down, skin_.down);
        setCaption(*made, text(caption), pressedColour);
        made->setObjectName(QLatin1String(name));
        return made;
    };
    // The record button keeps its idle look under the pointer.
    recordButton_ = button("recordButton", skinRect(271, 100, 415, 124), skin_.normal,
                           "str_startrecord", CommandPressedColour);
    autoDelayButton_ = button("autoDelaySwitch", skinRect(272, 40, 343, 56), skin_.over,
                              "str_autodelay", SwitchPressedColour);
    loopButton_ = button("loopSwitch", skinRect(272, 15, 343, 31), skin_.over, "str_looptimes",
                         SwitchPressedColour);
    newButton_ = button("newButton", skinRect(10, 151, 68, 172), skin_.over, "str_new",
                        CommandPressedColour);
    deleteButton_ = button("deleteButton", skinRect(69, 151, 127, 172), skin_.over, "str_del",
                           CommandPressedColour);
    modifyDelayButton_ = button("modifyDelayButton", skinRect(271, 65, 336, 88), skin_.over,
                                "str_modifydelay", CommandPressedColour);

    loopCountField_ =
        makeNumberField(this, "loopCountField", skinRect(343, 12, 390, 31), 3, QStringLiteral("1"));
    loopCountField_->setEnabled(false);
    delayField_ =
        makeNumberField(this, "delayField", skinRect(343, 68, 390, 85), 4, QStringLiteral("50"));

    connect(recordButton_, &CGDIBitmapBtn::clicked, this, [this] { onRecordClicked(); });
    connect(autoDelayButton_, &CGDIBitmapBtn::clicked, this, [this] { onAutoDelayClicked(); });
    connect(loopButton_, &CGDIBitmapBtn::clicked, this, [this] { onLoopClicked(); });
    connect(newButton_, &CGDIBitmapBtn::clicked, this, [this] { newMacro(); });
    connect(deleteButton_, &CGDIBitmapBtn::clicked, this, [this] { deleteMacro(); });
    connect(modifyDelayButton_, &CGDIBitmapBtn::clicked, this, [this] { modifyDelay(); });
    connect(loopCountField_, &QLineEdit::textChanged, this,
            [this](const QString& now) { onLoopCountEdited(now); });
    connect(delayField_, &QLineEdit::textChanged, this,
            [this](const QString& now) { onDelayEdited(now); });
}

// Recording

void CDlgMacro::StopCapture() {
    recording_ = false;
    hook_.SetHookStatus(0);
    showCapturing(*recordButton_, false);
    autoDelayButton_->SetChecked(false);
    autoDelayOn_ = false;
    loopCountField_->setEnabled(false);
    loopButton_->SetChecked(false);
}

void CDlgMacro::buttonStop() {
    selectionStop();
    if (autoDelayButton_->GetChecked()) {
        autoDelayButton_->SetChecked(false);
        MacroTable::instance().SetAutoDelay(macroList_->selectedRow(), 0);
        lastEventTime_ = 0;
    }
}

void CDlgMacro::selectionStop() {
    recording_ = false;
    hook_.SetHookStatus(0);
    showCapturing(*recordButton_, false);
}

void CDlgMacro::recordKey(std::uint64_t wParam, std::int64_t lParam) {
    // A held key may be reported again and again; it was pressed once.
    if (wParam == lastWParam_ && lParam == lastLParam_)
        return;
    if (!recording_)
        return;
    const std::uint32_t now = TickCount::now();
    const int macro = macroList_->selectedRow();
    MacroTable& table = MacroTable::instance();
    const std::optional<tagMacroInfo> record = table.RecordAt(macro);
    if (!record)
        return;
    const int count = record->eventCount;
    if (count >= tagMacroInfo::MaxEvents)
        return;

    // The pause belongs to the event before this one, so it shows only once this key is here.
    if (record->autoDelay == 1 && lastEventTime_ != 0 && autoDelayOn_ && count >= 1) {
        const auto pause = std::int32_t(now - lastEventTime_);
        table.SetDelay(macro, count - 1, pause);
        if (pause > 0)
            eventList_->AddItem(CListBoxEx::IconDelay, pauseText(pause));
    }
    const bool released = lParam & KeyCaptureLibrary::ReleasedFlag;
    const std::uint8_t keyCode = std::uint8_t(wParam);
    eventList_->AddItem(released ? CListBoxEx::IconUp : CListBoxEx::IconDown,
                        KeyNameTable::name(keyCode));
    table.AppendEvent(macro, keyCode, released);
    eventList_->setSelectedRow(eventList_->count() - 1);

    lastWParam_ = wParam;
    lastLParam_ = lParam;
    lastEventTime_ = now;
}

void CDlgMacro::onRecordClicked() {
    const int macro = macroList_->selectedRow();
    if (macro < 0)
        return;
    if (recording_) {
        buttonStop();
        return;
    }
    recording_ = true;
    hook_.SetHookStatus(1);
    MacroTable::instance().ClearEvents(macro);
    eventList_->clear();
    showCapturing(*recordButton_, true);
}

void CDlgMacro::onAutoDelayClicked() {
    const int macro = macroList_->selectedRow();
    if (macro < 0)
        return;
    // Pauses are measured only from a recording on, and the first key after switching gets
    // none.
    if (!recording_) {
        autoDelayButton_->SetChecked(false);
        autoDelayOn_ = false;
        return;
    }
    autoDelayOn_ = !autoDelayButton_->GetChecked();
    autoDelayButton_->SetChecked(autoDelayOn_);
    MacroTable::instance().SetAutoDelay(macro, autoDelayOn_ ? 1 : 0);
    lastEventTime_ = 0;
}

void CDlgMacro::onLoopClicked() {
    const int macro = macroList_->selectedRow();
    if (macro < 0)
        return;
    if (!loopButton_->GetChecked()) {
        loopCountField_->setEnabled(true);
        loopButton_->SetChecked(true);
        MacroTable::instance().SetLoopEnabled(macro, 1);
    } else {
        // The macro keeps repeating as set; switching off only closes the field.
        loopCountField_->setEnabled(false);
        loopButton_->SetChecked(false);
    }
}

void CDlgMacro::onLoopCountEdited(const QString& now) {
    const int macro = macroList_->selectedRow();
    const std::optional<tagMacroInfo> record = MacroTable::instance().RecordAt(macro);
    if (!record || record->loopEnabled == 0)
        return;
    int count = now.toInt();
    if (count < MinLoopCount) {
        count = MinLoopCount;
        loopCountField_->setText(QString::number(count));
    } else if (count > MaxLoopCount) {
        count = MaxLoopCount;
        loopCountField_->setText(QString::number(count));
    }
    MacroTable::instance().SetLoopCount(macro, count);
}

void CDlgMacro::onDelayEdited(const QString& now) {
    int delay = now.toInt();
    // Too short a pause is raised quietly, so the user can go on typing the number.
    if (delay < MinDelay) {
        delay = MinDelay;
    } else if (delay > MaxDelay) {
        delay = MaxDelay;
        delayField_->setText(QString::number(delay));
    }
    delayValue_ = delay;
}

// The macro list

void CDlgMacro::newMacro() {
    StopCapture();
    if (macroList_->count() >= MacroTable::PageLimit)
        return;
    eventList_->clear();
    loopCountField_->setEnabled(false);
    autoDelayButton_->SetChecked(false);
    loopButton_->SetChecked(false);
    QStringList shown;
    for (int row = 0; row < macroList_->count(); ++row)
        shown << macroList_->rowText(row);
    const QString name = defaultName(text("str_newmacro"), shown);
    macroList_->AddItem(CListBoxEx::IconNone, name);
    MacroTable::instance().AddMacro(name);
    positions_.append();
    setLoopCountText(1);
}

void CDlgMacro::deleteMacro() {
    StopCapture();
    const int row = macroList_->selectedRow();
    if (row < 0)
        return;
    // Every other key that plays the macro loses it now; the ones after it move up only when
    // the list is stored, and the keys that name them follow then.
    if (const std::optional<int> stored = positions_.remove(row)) {
        for (const std::uint8_t code : KeyReferences::releaseOtherUsers(
                 KeyTable::instance(), AssignMacro, *stored, keyCode()))
            MainWindowReference::post(MainWindowReference::KeyReleased, handle(), code);
    }
    delete macroList_->takeItem(row);
    MacroTable::instance().RemoveMacro(row);
    macroList_->viewport()->update();
    eventList_->clear();
    const int next = row < macroList_->count() ? row : macroList_->count() - 1;
    macroList_->setSelectedRow(next);
    showMacro(next);
    if (macroList_->selectedRow() < 0) {
        autoDelayButton_->SetChecked(false);
        loopButton_->SetChecked(false);
        loopCountField_->setEnabled(false);
    }
}

void CDlgMacro::modifyDelay() {
    const int macro = macroList_->selectedRow();
    const int row = eventList_->selectedRow();
    if (macro < 0 || row < 0 || eventList_->iconKind(row) != CListBoxEx::IconDelay)
        return;
    // Only an existing pause can be changed: it belongs to the event above it.
    int event = -1;
    for (int above = 0; above < row; ++above)
        if (eventList_->iconKind(above) != CListBoxEx::IconDelay)
            ++event;
    MacroTable::instance().SetDelay(macro, event, delayValue_ > 0 ? delayValue_ : MinDelay);
    showMacro(macro);
    eventList_->setSelectedRow(row);
}

void CDlgMacro::renamed(int row) {
    if (row < 0 || row >= macroList_->count())
        return;
    autoDelayButton_->setEnabled(true);
    loopButton_->setEnabled(true);
    QString name = macroList_->rowText(row);
    if (name.isEmpty()) {
        name = text("str_newmacro");
        macroList_->item(row)->setText(name);
    }
    MacroTable::instance().SetName(row, name);
    showMacro(row);
}

void CDlgMacro::selectionChanged() {
    if (recording_)
        selectionStop();
    const int macro = macroList_->selectedRow();
    const std::optional<tagMacroInfo> record = MacroTable::instance().RecordAt(macro);
    if (!record)
        return;
    autoDelayButton_->setEnabled(true);
    loopButton_->setEnabled(true);
    showMacro(macro);
    setLoopCountText(record->loopCount);
}

void CDlgMacro::showMacro(int index) {
    const std::optional<tagMacroInfo> record = MacroTable::instance().RecordAt(index);
    if (!record)
        return;
    eventList_->clear();
    for (int i = 0; i < record->eventCount; ++i) {
        const MacroEvent& event = record->events[i];
        eventList_->AddItem(event.released ? CListBoxEx::IconUp : CListBoxEx::IconDown,
                            KeyNameTable::name(event.keyCode));
        if (event.delayMs != 0)
            eventList_->AddItem(CListBoxEx::IconDelay, pauseText(event.delayMs));
    }
    autoDelayButton_->SetChecked(false);
    setLoopCountText(record->loopCount);
    loopButton_->SetChecked(false);
    loopCountField_->setEnabled(false);
}

void CDlgMacro::setLoopCountText(int loopCount) {
    loopCountField_->setText(QString::number(loopCount));
}

void CDlgMacro::loadMacros() {
    MacroTable& table = MacroTable::instance();
    table.LoadFromImage();
    positions_.reset(table.size());
    macroList_->clear();
    eventList_->clear();
    for (const QString& name : table.names())
        macroList_->AddItem(CListBoxEx::IconNone, name);
}

void CDlgMacro::storeMacros() {
    MacroTable::instance().SaveToImage();
    if (std::optional<Registry> key = Registry::openKey(SettingsStore::KeyPath)) {
        key->setValue(QStringLiteral("MacroSetting"), Registry::RegBinary, MacroTable::image());
        key->close();
    }
    // The stored table now has the list's order: the keys that name a moved macro follow it.
    KeyReferences::renumber(KeyTable::instance(), AssignMacro, positions_, keyCode());
    positions_.reset(MacroTable::instance().size());
}

std::int64_t CDlgMacro::receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                       std::int64_t lParam) {
    switch (message) {
        case KeyCaptureLibrary::KeyMessage:
            recordKey(wParam, lParam);
            return 0;
        case CListBoxEx::EditFinishedMessage:
            if (wParam == MacroListId)
                renamed(int(lParam));
            return 0;
        case CListBoxEx::SelectionChangedMessage:
            if (wParam == MacroListId)
                selectionChanged();
            return 0;
        default:
            return CRegionDlg::receiveMessage(message, wParam, lParam);
    }
}

// Page operations

void CDlgMacro::ShowAssignment() {
    StopCapture();
    if (keyCode() == 0)
        return;
    // Edits that were not applied are dropped here.
    loadMacros();
    const KeyAssignment assignment = KeyTable::instance().entry(keyCode());
    if (assignment.type == AssignMacro && assignment.value >= 0 &&
        assignment.value < macroList_->count()) {
        macroList_->setSelectedRow(assignment.value);
        showMacro(assignment.value);
        return;
    }
    if (macroList_->count() > 0)
        macroList_->setSelectedRow(-1);
    setLoopCountText(1);
}

void CDlgMacro::ApplyAssignment() {
    StopCapture();
    if (keyCode() == 0)
        return;
    storeMacros();
    const int macro = macroList_->selectedRow();
    KeyTable::instance().entry(keyCode()) = macro >= 0
                                                ? KeyAssignment{keyCode(), AssignMacro, macro}
                                                : KeyAssignment{keyCode(), AssignDefault, 0};
    MainWindowReference::post(MainWindowReference::KeyChanged, 0, keyCode());
}

void CDlgMacro::RestoreDefault() {
    StopCapture();
    if (keyCode() == 0)
        return;
    KeyTable::instance().entry(keyCode()) = {keyCode(), AssignDefault, 0};
    macroList_->setSelectedRow(-1);
    eventList_->clear();
}

void CDlgMacro::ClearSelection() {
    eventList_->clear();
    macroList_->setSelectedRow(-1);
}

// Window events

void CDlgMacro::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(QPoint(0, 0), skin_.normal);
    drawPageText(painter, skinRect(15, 11, 127, 31), text("str_macrolist"), LabelColour);
    drawPageText(painter, skinRect(141, 11, 262, 31), text("str_editlist"), LabelColour);
}

void CDlgMacro::mousePressEvent(QMouseEvent* event) {
    // A press on the page is the page's own and does not move the dialog.
    event->accept();
}

bool CDlgMacro::event(QEvent* event) {
    // Help has nothing to show here, and the dialog behind the page is not asked either.
    return takeSwallowedKeyOrHelp(event) || CRegionDlg::event(event);
}

bool CDlgMacro::eventFilter(QObject* watched, QEvent* event) {
    const bool field = watched == loopCountField_ || watched == delayField_;
    const bool ours = field || watched == macroList_ || watched == eventList_;
    if (!ours)
        return CRegionDlg::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            // Enter, Escape and Space go no further; a rename's field takes Enter and Escape
            // itself, before they get here.
            return isSwallowedKey(event);
        case QEvent::FocusIn:
            // Typing a number is not part of the macro.
            if (field && recording_)
                hook_.SetHookStatus(0);
            return false;
        case QEvent::FocusOut:
            if (field && recording_)
                hook_.SetHookStatus(1);
            return false;
        default:
            return false;
    }
}
