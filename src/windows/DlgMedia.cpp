#include "windows/DlgMedia.h"

#include "controls/GDIBitmapBtn.h"
#include "model/KeyTable.h"
#include "resources/LanguageTable.h"
#include "windows/MainWindowReference.h"
#include "windows/SwallowedKeys.h"

#include <QPainter>

namespace {
struct MediaButton {
    QRect rect;
    const char* tip;
};

// In index order, which is the stored value; the icons are part of the skin.
const std::array<MediaButton, CDlgMedia::ButtonCount>& mediaButtons() {
    static const std::array<MediaButton, CDlgMedia::ButtonCount> buttons{{
        {skinRect(50, 29, 85, 64), "str_players"},
        {skinRect(94, 29, 130, 64), "str_play"},
        {skinRect(138, 29, 174, 64), "str_stop"},
        {skinRect(183, 29, 217, 64), "str_pre"},
        {skinRect(228, 29, 263, 64), "str_next"},
        {skinRect(272, 29, 308, 64), "str_voldown"},
        {skinRect(317, 29, 352, 64), "str_volup"},
        {skinRect(361, 29, 397, 64), "str_mute"},
        {skinRect(50, 97, 85, 131), "str_back"},
        {skinRect(94, 97, 130, 131), "str_forword"},
        {skinRect(138, 97, 174, 131), "str_b_stop"},
        {skinRect(183, 97, 217, 131), "str_refresh"},
        {skinRect(228, 97, 263, 131), "str_favorites"},
        {skinRect(272, 97, 308, 131), "str_search"},
        {skinRect(317, 97, 352, 131), "str_mail"},
        {skinRect(361, 97, 397, 131), "str_home"},
        {skinRect(50, 137, 85, 174), "str_explorer"},
        {skinRect(94, 137, 130, 174), "str_cal"},
    }};
    return buttons;
}

QString text(const char* key) {
    return LanguageTable::instance().text(QString::fromLatin1(key));
}
}  // namespace

CDlgMedia::CDlgMedia(std::uint8_t keyCode, QWidget* parent) : CRegionDlg(keyCode, parent) {
    BuildPage();
}

void CDlgMedia::BuildPage() {
    skin_.load(QStringLiteral("Media"));
    for (int index = 0; index < ButtonCount; ++index) {
        const MediaButton& place = mediaButtons()[index];
        CGDIBitmapBtn* button =
            makeSkinButton(this, place.rect, skin_.normal, skin_.over, skin_.down, skin_.down);
        button->SetTipText(text(place.tip));
        button->installEventFilter(this);
        connect(button, &CGDIBitmapBtn::clicked, this, [this, index] { onButtonClicked(index); });
        buttons_[index] = button;
    }
}

void CDlgMedia::RestoreDefault() {
    // The key keeps its assignment: only OK on the cleared page gives it the default.
    clear();
}

void CDlgMedia::ApplyAssignment() {
    if (keyCode() == 0)
        return;
    KeyAssignment assignment{keyCode(), AssignDefault, 0};
    if (selectedButton_ >= 0)
        assignment = {keyCode(), AssignMedia, selectedButton_};
    KeyTable::instance().entry(keyCode()) = assignment;
    MainWindowReference::post(MainWindowReference::KeyChanged, 0, keyCode());
}

void CDlgMedia::ShowAssignment() {
    if (keyCode() == 0)
        return;
    const KeyAssignment& assignment = KeyTable::instance().entry(keyCode());
    if (assignment.type != AssignMedia) {
        clear();
        return;
    }
    // A function number without a button shows nothing new; the page keeps what it had.
    if (assignment.value < 0 || assignment.value >= ButtonCount)
        return;
    select(assignment.value);
}

void CDlgMedia::ClearSelection() {
    clear();
}

void CDlgMedia::onButtonClicked(int index) {
    if (!buttons_[index]->GetChecked()) {
        select(index);
        return;
    }
    // Clicking the picked function again drops it, and the key is given its default at once,
    // whichever way the dialog ends.
    clear();
    if (keyCode() != 0)
        KeyTable::instance().entry(keyCode()) = {keyCode(), AssignDefault, 0};
}

void CDlgMedia::select(int index) {
    for (int j = 0; j < ButtonCount; ++j)
        buttons_[j]->SetChecked(j == index);
    selectedButton_ = index;
}

void CDlgMedia::clear() {
    for (CGDIBitmapBtn* button : buttons_)
        button->SetChecked(false);
    selectedButton_ = -1;
}

bool CDlgMedia::event(QEvent* event) {
    // Help has nothing to show here, and the dialog behind the page is not asked either.
    return takeSwallowedKeyOrHelp(event) || CRegionDlg::event(event);
}

bool CDlgMedia::eventFilter(QObject* watched, QEvent* event) {
    // The buttons take no focus, but a key that reached one anyway must not click it: Space
    // would drop the picked function and reset the key.
    if (isSwallowedKey(event) && watched->parent() == this)
        return true;
    return CRegionDlg::eventFilter(watched, event);
}

void CDlgMedia::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, skin_.normal);
    const QColor colour(88, 99, 105);
    drawPageText(painter, skinRect(49, 10, 176, 27), text("str_media_info1"), colour);
    drawPageText(painter, skinRect(49, 78, 176, 93), text("str_media_info2"), colour);
}
