#include "windows/DlgSetting.h"

#include "controls/GDIBitmapBtn.h"
#include "model/KeyTable.h"
#include "resources/KeyNameTable.h"
#include "resources/LanguageTable.h"
#include "windows/DlgBase.h"
#include "windows/DlgMacro.h"
#include "windows/DlgMedia.h"
#include "windows/DlgMouse.h"
#include "windows/DlgSingleComb.h"
#include "windows/PageSkin.h"
#include "windows/SwallowedKeys.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <iterator>

namespace {

// The size the skin is drawn for, kept when the skin picture is missing.
constexpr QSize DesignedSize(470, 306);
const QRect PageArea = skinRect(15, 74, 457, 260);

const QColor TitleColour(88, 95, 105);
const QColor KeyColour(233, 85, 19);
const QColor SelectorPressedColour(233, 85, 19);

struct Selector {
    const char* caption;
    QRect rect;
};
// By page number less one.
const std::array<Selector, CDlgSetting::PageCount> Selectors{{
    {"str_singlecomb", skinRect(0, 30, 92, 63)},
    {"str_macro", skinRect(94, 30, 186, 63)},
    {"str_base", skinRect(189, 30, 280, 63)},
    {"str_media", skinRect(282, 30, 374, 63)},
    {"str_mouse", skinRect(376, 30, 469, 63)},
}};

// The keys this dialog names itself; 96..105 and 112..123 are named by their number.
struct KeyNameEntry {
    int code;
    const char16_t* name;
};
// clang-format off
constexpr KeyNameEntry KeyNames[] = {
    {8, u"Backspace"}, {9, u"Tab"}, {12, u"Clr"}, {13, u"Enter"}, {43, u"Enter"}, {16, u"Shift"},
    {17, u"Ctrl"}, {18, u"Alt"}, {19, u"Pause"}, {20, u"CapsLock"}, {27, u"Esc"}, {32, u"Space"},
    {33, u"PageUp"}, {34, u"PageDown"}, {35, u"End"}, {36, u"Home"}, {37, u"Left"}, {38, u"Up"},
    {39, u"Right"}, {40, u"Down"}, {41, u"Select"}, {42, u"Print"}, {44, u"Snapshot"},
    {45, u"Insert"}, {46, u"Delete"}, {47, u"Help"}, {91, u"LWin"}, {92, u"RWin"},
    {93, u"RightApp"}, {106, u"(*)"}, {107, u"(+)"}, {108, u"\\"}, {109, u"(-)"}, {110, u"(.)"},
    {111, u"(/)"}, {144, u"Numlock"}, {145, u"Scroll Lock"}, {160, u"LShift"}, {161, u"RShift"},
    {162, u"LCtrl"}, {163, u"RCtrl"}, {164, u"LAlt"}, {165, u"RAlt"}, {173, u"Mute"}, {174, u"V-"},
    {175, u"V+"}, {193, u"ModeKey"}, {196, u"LockPC"}, {218, u"(Enter)"}, {255, u""},
};
// clang-format on

QString text(const char* key) {
    return LanguageTable::instance().text(QLatin1String(key));
}

}  // namespace

CDlgSetting::CDlgSetting(std::uint8_t keyCode, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), keyCode_(keyCode) {
    hook_.SetHookStatus(0);
    hook_.installhook(0);

    setWindowTitle(Title);
    handle_ = Messages::registerWindow(this, Title);
    skin_.load(QStringLiteral("Setting"));
    placeInScreen();
    createButtons();
    createPages();
    keyName_ = KeyName(keyCode_);
    if (const int start = startPage(KeyTable::instance().entry(keyCode_).type); start != NoPage)
        switchToPage(start);
}

CDlgSetting::~CDlgSetting() {
    Messages::unregisterWindow(handle_);
    // The pages go before the library they call into, in the order they were made.
    for (const int number : {BasePage, MacroPage, MousePage, MediaPage, SingleCombPage}) {
        delete pages_[number - 1];
        pages_[number - 1] = nullptr;
    }
    singleCombPage_ = nullptr;
    macroPage_ = nullptr;
    hook_.SetHookStatus(0);
    hook_.removehook();
    hook_.unload();
}

CRegionDlg* CDlgSetting::page(int number) const {
    return number >= 1 && number <= PageCount ? pages_[number - 1] : nullptr;
}

int CDlgSetting::startPage(std::int32_t assignmentType) {
    switch (assignmentType) {
        case AssignDefault:
        case AssignMedia:
        case 7:
            return MediaPage;
        case AssignSystem:
        case AssignEdit:
            return BasePage;
        case AssignMouse:
            return MousePage;
        case AssignMacro:
            return MacroPage;
        case AssignCombination:
        case AssignSingleKey:
            return SingleCombPage;
        default:
            return NoPage;
    }
}

QString CDlgSetting::KeyName(int keyCode) {
    if (keyCode >= 96 && keyCode <= 105)
        return QStringLiteral("(%1)").arg(keyCode - 96);
    if (keyCode >= 112 && keyCode <= 123)
        return QStringLiteral("F%1").arg(keyCode - 111);
    const auto named = std::find_if(std::begin(KeyNames), std::end(KeyNames),
                                    [keyCode](const KeyNameEntry& e) { return e.code == keyCode; });
    if (named != std::end(KeyNames))
        return QString::fromUtf16(named->name);
    // The character the layout prints on the key, letters as capitals.
    return KeyNameTable::layoutName(keyCode);
}

// Building the window

void CDlgSetting::placeInScreen() {
    const QSize size = skin_.normal.isNull() ? DesignedSize : skin_.normal.size();
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    // Centred in the area the panels and task bars leave, halves truncated.
    const QRect available = screen ? screen->availableGeometry() : QRect(QPoint(0, 0), size);
    setGeometry(available.x() + (available.width() - size.width()) / 2,
                available.y() + (available.height() - size.height()) / 2, size.width(),
                size.height());
}

void CDlgSetting::createButtons() {
    const auto command = [this](const char* name, const QRect& rect) {
        CGDIBitmapBtn* button =
            makeSkinButton(this, rect, skin_.normal, skin_.over, skin_.down, skin_.normal);
        button->setObjectName(QLatin1String(name));
        return button;
    };
    closeButton_ = command("closeButton", skinRect(445, 7, 460, 22));
    okButton_ = command("okButton", skinRect(299, 266, 380, 296));
    cancelButton_ = command("cancelButton", skinRect(380, 266, 460, 296));
    restoreButton_ = command("restoreButton", skinRect(14, 266, 120, 293));
    setCaption(*okButton_, text("str_OK"), CommandPressedColour);
    setCaption(*cancelButton_, text("str_Cancel"), CommandPressedColour);
    setCaption(*restoreButton_, text("str_Restore"), CommandPressedColour);
    for (int i = 0; i < PageCount; ++i) {
        // A checked selector shows the page it opens as the one in front.
        CGDIBitmapBtn* selector = makeSkinButton(this, Selectors[i].rect, skin_.normal, skin_.over,
                                                 skin_.down, skin_.down);
        selector->setObjectName(QStringLiteral("selector%1").arg(i + 1));
        setCaption(*selector, text(Selectors[i].caption), SelectorPressedColour);
        selectors_[i] = selector;
        connect(selector, &CGDIBitmapBtn::clicked, this, [this, i] { switchToPage(i + 1); });
    }

    // The close button asks as the window system would, and is answered as Cancel.
    connect(closeButton_, &CGDIBitmapBtn::clicked, this,
            [this] { Messages::postMessage(handle_, CloseMessage, 0, 0); });
    connect(restoreButton_, &CGDIBitmapBtn::clicked, this, [this] {
        if (CRegionDlg* visible = page(currentPage_))
            visible->RestoreDefault();
    });
    connect(okButton_, &CGDIBitmapBtn::clicked, this, [this] { onOk(); });
    connect(cancelButton_, &CGDIBitmapBtn::clicked, this, [this] { reject(); });
}

void CDlgSetting::createPages() {
    const auto place = [this](CRegionDlg* made, int number) {
        made->hide();
        made->setGeometry(PageArea);
        pages_[number - 1] = made;
    };
    place(new CDlgBase(keyCode_, this), BasePage);
    place(macroPage_ = new CDlgMacro(keyCode_, hook_, this), MacroPage);
    place(new CDlgMouse(keyCode_, this), MousePage);
    place(new CDlgMedia(keyCode_, this), MediaPage);
    place(singleCombPage_ = new CDlgSingleComb(keyCode_, hook_, this), SingleCombPage);
}

// Pages and commands

void CDlgSetting::switchToPage(int number) {
    currentPage_ = number;
    hook_.SetHookStatus(0);
    hook_.setwindowhwnd(handle_);
    for (int i = 0; i < PageCount; ++i)
        selectors_[i]->SetChecked(i + 1 == number);
    for (int i = 0; i < PageCount; ++i) {
        if (i + 1 != number) {
            pages_[i]->hide();
            continue;
        }
        pages_[i]->show();
        pages_[i]->ShowAssignment();
    }
    // Only the capturing pages take the keys; the others leave them to the dialog.
    if (number == SingleCombPage || number == MacroPage)
        hook_.setwindowhwnd(pages_[number - 1]->handle());
}

void CDlgSetting::onOk() {
    for (int i = 0; i < PageCount; ++i) {
        if (i + 1 == currentPage_)
            pages_[i]->ApplyAssignment();
        else
            pages_[i]->ClearSelection();
    }
    accept();
}

std::int64_t CDlgSetting::receiveMessage(std::uint32_t message, std::uint64_t, std::int64_t) {
    if (message == CloseMessage)
        reject();
    // Captured keys that reach the dialog itself are meant for no page.
    return 0;
}

// Window events

bool CDlgSetting::event(QEvent* event) {
    // Enter, Escape and Space neither confirm nor cancel; help has nothing to show.
    return takeSwallowedKeyOrHelp(event) || QDialog::event(event);
}

void CDlgSetting::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(QPoint(0, 0), skin_.normal);
    drawAlignedText(painter, skinRect(165, 0, 305, 21), text("str_buttonedit"), TitleColour,
                    Qt::AlignHCenter | Qt::AlignVCenter);
    drawAlignedText(painter, skinRect(0, 9, 80, 28), text("str_buttondefault") + QChar(0xFF1A),
                    KeyColour, Qt::AlignRight | Qt::AlignVCenter);
    drawAlignedText(painter, skinRect(80, 9, 146, 28), keyName_, KeyColour,
                    Qt::AlignLeft | Qt::AlignVCenter);
}

void CDlgSetting::mousePressEvent(QMouseEvent* event) {
    // Only the dialog's own surface moves it; presses on the pages and buttons are theirs.
    if (!drag_.press(*this, *event)) {
        QDialog::mousePressEvent(event);
        return;
    }
    event->accept();
    singleCombPage_->StopCapture();
    macroPage_->StopCapture();
}

void CDlgSetting::mouseMoveEvent(QMouseEvent* event) {
    if (drag_.move(*this, *event))
        event->accept();
    else
        QDialog::mouseMoveEvent(event);
}

void CDlgSetting::mouseReleaseEvent(QMouseEvent* event) {
    if (drag_.release(*event))
        event->accept();
    else
        QDialog::mouseReleaseEvent(event);
}
