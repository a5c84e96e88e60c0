#include "windows/Halda_ConfigDlg.h"

#include "controls/BitmapBtnExEx.h"
#include "controls/GDIBitmapBtn.h"
#include "controls/HyperLink.h"
#include "controls/SkinImages.h"
#include "controls/SkinText.h"
#include "controls/WindowRegion.h"
#include "model/KeyTable.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "resources/LanguageTable.h"
#include "shell/HidDevice.h"
#include "store/Companion.h"
#include "windows/KeyAssignmentText.h"
#include "windows/MainWindowReference.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QIcon>
#include <QKeyEvent>
#include <QPainter>
#include <QUrl>
#include <QVersionNumber>

#include <algorithm>
#include <cstdlib>

Q_LOGGING_CATEGORY(lcStartup, "halda.startup", QtWarningMsg)

namespace {

QString text(const char* key) {
    return LanguageTable::instance().text(QString::fromLatin1(key));
}

// Rectangles as the layout and the window's tables give them: left, top, right, bottom, with
// the right and bottom edges outside.
QRect ltrb(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

const QColor TextColour(88, 99, 105);

struct PaintedText {
    const char* key;  // nullptr: the version text
    QRect rect;
    Qt::Alignment alignment;
};
const std::array<PaintedText, 6> PaintedTexts = {{
    {"str_config_msg1", ltrb(23, 386, 239, 410), Qt::AlignLeft},
    {"str_settingdoc", ltrb(23, 413, 200, 439), Qt::AlignHCenter},
    {"str_docname", ltrb(200, 413, 376, 439), Qt::AlignHCenter},
    {"str_autopath", ltrb(376, 413, 554, 439), Qt::AlignHCenter},
    {"str_autoswitch", ltrb(554, 413, 729, 439), Qt::AlignHCenter},
    {nullptr, ltrb(376, 515, 554, 531), Qt::AlignRight},
}};

struct CommandLook {
    QRect rect;
    const char* caption;  // nullptr: none
    bool tip;             // the caption is also the tip
};
// In the order of CHalda_ConfigDlg::Command.
const std::array<CommandLook, CHalda_ConfigDlg::CommandCount> CommandLooks = {{
    {ltrb(707, 35, 725, 54), nullptr, false},
    {ltrb(677, 35, 697, 54), nullptr, false},
    {ltrb(261, 480, 323, 509), "str_OK", true},
    {ltrb(346, 480, 408, 509), "str_Cancel", true},
    {ltrb(433, 480, 497, 509), "str_Apply", true},
    {ltrb(37, 482, 164, 506), "str_config", false},
    {ltrb(587, 482, 714, 506), "str_restore", false},
}};

const std::array<QRect, CHalda_ConfigDlg::ProfileButtonCount> ProfileButtonRects = {
    ltrb(27, 442, 200, 465), ltrb(200, 442, 376, 465), ltrb(376, 442, 554, 465),
    ltrb(554, 442, 726, 465)};
// The heading painted above each profile button says what it shows.
const std::array<const char*, CHalda_ConfigDlg::ProfileButtonCount> ProfileHeadings = {
    "str_settingdoc", "str_docname", "str_autopath", "str_autoswitch"};

const QRect HyperLinkRect = ltrb(639, 58, 730, 74);

// Only what the stored assignment types 2 to 9 mean marks a key when the window is built;
// later refreshes mark every key that is not AssignDefault.
bool markedAtStart(std::int32_t type) {
    return type >= AssignSystem && type <= AssignSingleKey;
}

// The file version as the version text shows it: "V<major>.<minor>".
QString fileVersion() {
    const QVersionNumber version = QVersionNumber::fromString(QStringLiteral(HALDA_VERSION));
    if (version.isNull())
        return {};
    return QStringLiteral("V%1.%2").arg(version.majorVersion()).arg(version.minorVersion());
}

QString onOff(bool on) {
    return on ? CHalda_ConfigDlg::tr("On") : CHalda_ConfigDlg::tr("Off");
}

bool tableHolds(std::uint8_t keyCode) {
    const KeyTable& table = KeyTable::instance();
    return std::any_of(table.begin(), table.end(),
                       [keyCode](const auto& key) { return key.first == keyCode; });
}

bool isSwallowedKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape ||
           key == Qt::Key_Space;
}

}  // namespace

CHalda_ConfigDlg::CHalda_ConfigDlg(KeyboardCheck keyboardAttached)
    : QDialog(nullptr, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("Halda_CHalda_ConfigDlg"));

    const QIcon icon(Paths::executableDirectory() + QStringLiteral("skins/icon/halda.png"));
    if (!icon.isNull())
        setWindowIcon(icon);

    const bool attached = keyboardAttached ? keyboardAttached() : CHidDevice().findKeyboard();
    if (!attached) {
        MessageBox::show(text("str_msg4"));
        // Nothing has been shown, stored or told to anyone yet; the instance lock goes with
        // the process.
        std::exit(0);
    }

    setWindowTitle(text("str_title"));
    handle_ = Messages::registerWindow(this, windowTitle());
    // The companion reaches us by handle only: it learns it from the registration below.
    Messages::publishWindow(handle_,
                            {QStringLiteral("hwnd-%1").arg(handle_, 8, 16, QLatin1Char('0'))});
    companion_ = Companion::findWindow();
    if (companion_)
        Messages::postMessage(companion_, Companion::RegisterWindow, handle_, 0);

    layout_.load(Paths::joinPath(Paths::executableDirectory(), QStringLiteral("ButtonPos"),
                                 QStringLiteral("xml")));
    // The key defaults are built from the layout's codes, so it is read before the store.
    store_.setLayoutCodes(layout_.layoutCodes());
    profiles_.setLayoutCodes(layout_.layoutCodes());
    profiles_.setTexts(text("str_profile_title"), text("str_profile"));
    profiles_.setView(this);
    store_.setProfiles(&profiles_);
    store_.load();

    buildControls();
    profiles_.LoadCurrentProfile(store_.profileSelection);
    versionText_ = text("str_version") + QLatin1Char(':') + fileVersion();
    MainWindowReference::set(handle_);
}

CHalda_ConfigDlg::~CHalda_ConfigDlg() {
    if (MainWindowReference::handle() == handle_)
        MainWindowReference::set(0);
    Messages::unregisterWindow(handle_);
}

QString CHalda_ConfigDlg::linkTarget() {
    return QUrl::fromLocalFile(Paths::executableDirectory() + QStringLiteral("about.html"))
        .toString();
}

void CHalda_ConfigDlg::loadSkin() {
    LoadPictureFile(skinPath(QStringLiteral("Halda"), QStringLiteral("Normal")), normal_);
    LoadPictureFile(skinPath(QStringLiteral("Halda"), QStringLiteral("Down")), down_);
    LoadPictureFile(skinPath(QStringLiteral("Halda"), QStringLiteral("Over")), over_);
    LoadPictureFile(skinPath(QStringLiteral("Halda"), QStringLiteral("Normal2")), normal2_);
    LoadPictureFile(skinPath(QStringLiteral("Halda"), QStringLiteral("Down2")), down2_);
    ShapeWindowFromSkin(*this, normal_);
    // Where the outline only limits input, the window itself must leave the outside clear.
    const bool seeThrough = testAttribute(Qt::WA_TranslucentBackground);
    surface_ = seeThrough ? SkinWithoutKeyColour(normal_) : normal_;
    // The skin covers the whole window: nothing needs to be cleared before it is painted.
    setAttribute(Qt::WA_OpaquePaintEvent, !seeThrough && !normal_.isNull());
}

void CHalda_ConfigDlg::buildControls() {
    // Every text of the window is in this font: the painted ones and the link's.
    setFont(logicalFont(QStringLiteral("Arial"), 14, 300));
    loadSkin();
    buildKeyButtons();
    buildHyperLink();
    buildCommandButtons();
    buildProfileButtons();
}

void CHalda_ConfigDlg::buildKeyButtons() {
    for (int i = 0; i < KeyLayout::KeyCount; ++i) {
        const KeyLayoutEntry& entry = layout_.entry(i);
        const KeyLayoutEntry::Rect& r = entry.rect;
        auto* button = new CGDIBitmapBtn(this);
        button->setGeometry(ltrb(r.left, r.top, r.right, r.bottom));
        button->SetImages(normal_, over_, down_, normal_, r.left, r.top, r.right, r.bottom);
        const KeyAssignment& assignment = KeyTable::instance().entry(entry.vkcode);
        button->SetChecked(markedAtStart(assignment.type));
        button->SetTipText(entry.buttontip);
        button->setAccessibleDescription(KeyAssignmentText::describe(assignment));
        connect(button, &CGDIBitmapBtn::clicked, this, [this, i] { onKeyButton(i); });
        keyButtons_[std::size_t(i)] = button;
    }
}

void CHalda_ConfigDlg::buildHyperLink() {
    hyperLink_ = new CHyperLink(text("str_enter_clup"), this);
    hyperLink_->setGeometry(HyperLinkRect);
    hyperLink_->SetTarget(linkTarget());
    hyperLink_->setLinkColor(QColor(88, 95, 105));
    hyperLink_->setVisitedColor(QColor(143, 148, 167));
    hyperLink_->setHoverColor(QColor(233, 85, 19));
    hyperLink_->setUnderlineMode(CHyperLink::UnderlineNever);
}

void CHalda_ConfigDlg::buildCommandButtons() {
    for (int c = 0; c < CommandCount; ++c) {
        const CommandLook& look = CommandLooks[std::size_t(c)];
        const QRect& r = look.rect;
        auto* button = new CGDIBitmapBtn(this);
        button->setGeometry(r);
        button->SetImages(normal_, over_, down_, normal_, r.left(), r.top(), r.right() + 1,
                          r.bottom() + 1);
        if (look.caption) {
            button->SetText(text(look.caption));
            if (look.tip)
                button->SetTipText(text(look.caption));
        }
        connect(button, &CGDIBitmapBtn::clicked, this, [this, c] { onCommand(Command(c)); });
        commandButtons_[std::size_t(c)] = button;
    }
    // The two window buttons are pictures only; a screen reader still names them.
    commandButtons_[Close]->setAccessibleName(tr("Close"));
    commandButtons_[Minimise]->setAccessibleName(tr("Minimise"));
}

void CHalda_ConfigDlg::buildProfileButtons() {
    const QColor captionColour(255, 85, 19);
    for (int i = 0; i < ProfileButtonCount; ++i) {
        const QRect& r = ProfileButtonRects[std::size_t(i)];
        auto* button = new CBitmapBtnExEx(this);
        button->setGeometry(r);
        button->SetImages(normal_, normal2_, normal_, down_, down2_, normal_, r.left(), r.top(),
                          r.right() + 1, r.bottom() + 1);
        button->SetColors(captionColour, captionColour, captionColour);
        button->setAccessibleDescription(text(ProfileHeadings[std::size_t(i)]));
        profileButtons_[std::size_t(i)] = button;
    }
    // The fourth shows the automatic switch by its look alone.
    profileButtons_[3]->setAccessibleName(text("str_autoswitch"));
    profileButtons_[3]->setAccessibleDescription(onOff(false));
    profileButtons_[0]->SetText(text("str_profile_title") + QStringLiteral(" 1"));
}

void CHalda_ConfigDlg::showProfileInfo(const ProfileInfo& info) {
    profileButtons_[0]->SetText(info.name);
    profileButtons_[1]->SetText(info.docName);
    profileButtons_[2]->SetText(info.programFile);
    profileButtons_[3]->SetAlternative(info.autoSwitch != 0);
    profileButtons_[3]->setAccessibleDescription(onOff(info.autoSwitch != 0));
}

void CHalda_ConfigDlg::refreshKey(std::uint8_t keyCode) {
    const KeyLayout::Entries& entries = layout_.entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].vkcode != keyCode)
            continue;
        const KeyAssignment& assignment = KeyTable::instance().entry(keyCode);
        keyButtons_[i]->SetChecked(assignment.type != AssignDefault);
        keyButtons_[i]->setAccessibleDescription(KeyAssignmentText::describe(assignment));
        return;
    }
}

void CHalda_ConfigDlg::refreshAllKeys() {
    // refreshKey never adds to the table, so the codes can be taken while walking it.
    for (const auto& [keyCode, assignment] : KeyTable::instance())
        refreshKey(keyCode);
}

void CHalda_ConfigDlg::onKeyButton(int position) {
    const std::uint8_t keyCode = layout_.entry(position).vkcode;
    if (keyCode == ModeKey || keyCode == WinKeyLock)
        return;
    openKeySettingDialog(keyCode);
}

void CHalda_ConfigDlg::openKeySettingDialog(std::uint8_t keyCode) {
    // The key setting dialog runs here, modally for keyCode; when it ends with OK the edit
    // is saved at once with store_.saveAll(SettingsStore::NoticeEdit). Until the dialog is
    // part of the tool a key click opens nothing.
    (void)keyCode;
}

void CHalda_ConfigDlg::onCommand(Command command) {
    switch (command) {
        case Ok:
            store_.saveAll(SettingsStore::NoticeOk);
            Messages::postMessage(handle_, WM_CLOSE, 0, 0);
            break;
        case Apply:
            // While the companion shows its busy window it is writing to the keyboard; a
            // save now would change the settings under it.
            if (!Messages::findWindow(Companion::BusyWindowTitle))
                store_.saveAll(SettingsStore::NoticeApply);
            break;
        case Cancel:
        case Close:
            Messages::postMessage(handle_, WM_CLOSE, 0, 0);
            break;
        case Minimise:
            showMinimized();
            break;
        case ReportRate:
            runReportRateFlow();
            break;
        case Restore:
            runRestoreFlow();
            break;
        case CommandCount:
            break;
    }
}

void CHalda_ConfigDlg::runReportRateFlow() {
    // The report rate dialog runs here, modally with store_.reportRate and this window as
    // owner; when it ends with OK, applyReportRate with the code chosen in it. Until the
    // dialog is part of the tool the button opens nothing.
}

void CHalda_ConfigDlg::applyReportRate(std::int32_t rateCode) {
    store_.reportRate = rateCode;
    if (companion_)
        Messages::postMessage(companion_, Companion::RateChanged, std::uint64_t(rateCode), 0);
    store_.writeReportRate();
}

void CHalda_ConfigDlg::runRestoreFlow() {
    // The restore dialog runs here, modally and without owner; when it ends with OK,
    // applyRestore. Until the dialog is part of the tool the button opens nothing.
}

void CHalda_ConfigDlg::applyRestore() {
    if (companion_)
        Messages::postMessage(companion_, Companion::Restore, 0, 0);
    store_.buildKeyDefaults();
    profiles_.ResetCurrentProfile(store_.profileSelection);
    refreshAllKeys();
}

void CHalda_ConfigDlg::runProfileFlow() {
    setProfileButtonsChecked(true);
    // The profile dialog runs here, modally with store_.profileSelection; when it ends with
    // OK, applyProfileRow with its selected row and that row's index. Until the dialog is
    // part of the tool the buttons only show the press.
}

void CHalda_ConfigDlg::applyProfileRow(const ProfileRow& row, int index) {
    const std::optional<int> checked = ProfileFiles::checkedIndex(index);
    if (!checked)
        return;
    store_.profileSelection = *checked;
    // Shows the row on the profile buttons, loads its configuration and writes its file.
    profiles_.ApplySelectedProfile(row, *checked);
}

void CHalda_ConfigDlg::setProfileButtonsChecked(bool checked) {
    for (CBitmapBtnExEx* button : profileButtons_)
        button->SetChecked(checked);
}

bool CHalda_ConfigDlg::isProfileButton(std::int64_t handle) const {
    return std::any_of(profileButtons_.begin(), profileButtons_.end(),
                       [handle](const CBitmapBtnExEx* b) { return b->handle() == handle; });
}

void CHalda_ConfigDlg::closeDialogs() {
    for (const QString& title : DialogTitles)
        if (const WindowHandle window = Messages::findWindow(title))
            Messages::postMessage(window, WM_CLOSE, 0, 0);
}

std::int64_t CHalda_ConfigDlg::receiveMessage(std::uint32_t message, std::uint64_t,
                                              std::int64_t lParam) {
    // Every window of this process may post here, and so may other processes: a value that
    // is not a key code or a profile index is not narrowed into one.
    const bool isKeyCode = lParam >= 0 && lParam <= 0xFF;
    switch (message) {
        case MainWindowReference::KeyChanged:
            if (isKeyCode)
                refreshKey(std::uint8_t(lParam));
            break;
        case MainWindowReference::KeyReleased:
            // Only a key of the table: a new entry would leave a table that cannot be saved.
            if (isKeyCode && tableHolds(std::uint8_t(lParam))) {
                KeyAssignment& key = KeyTable::instance().entry(std::uint8_t(lParam));
                key.type = AssignDefault;
                key.value = 0;
                store_.saveAll(SettingsStore::NoticeEdit);
                refreshKey(std::uint8_t(lParam));
            }
            break;
        case Companion::LoadProfile:
            if (const std::optional<int> index = ProfileFiles::checkedIndex(lParam)) {
                store_.profileSelection = *index;
                profiles_.LoadCurrentProfile(*index);
            }
            break;
        case WM_BTNEX_DOWN:
            if (isProfileButton(lParam))
                runProfileFlow();
            break;
        case WM_BTNEX_UP:
            if (isProfileButton(lParam))
                setProfileButtonsChecked(false);
            break;
        case WM_CLOSE:
            closeDialogs();
            done(Rejected);
            break;
        default:
            break;
    }
    return 0;
}

void CHalda_ConfigDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, surface_);
    const QFontMetrics metrics(font());
    painter.setPen(TextColour);
    for (const PaintedText& painted : PaintedTexts) {
        const QString line = painted.key ? text(painted.key) : versionText_;
        painter.drawText(
            painted.rect,
            int(painted.alignment | Qt::AlignVCenter) | Qt::TextSingleLine | Qt::TextDontClip,
            metrics.elidedText(line, Qt::ElideRight, painted.rect.width()));
    }
    if (!painted_) {
        painted_ = true;
        qCDebug(lcStartup) << "first paint";
    }
}

void CHalda_ConfigDlg::mousePressEvent(QMouseEvent* event) {
    if (drag_.press(*this, *event))
        event->accept();
    else
        QDialog::mousePressEvent(event);
}

void CHalda_ConfigDlg::mouseMoveEvent(QMouseEvent* event) {
    if (drag_.move(*this, *event))
        event->accept();
    else
        QDialog::mouseMoveEvent(event);
}

void CHalda_ConfigDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (drag_.release(*event))
        event->accept();
    else
        QDialog::mouseReleaseEvent(event);
}

void CHalda_ConfigDlg::keyPressEvent(QKeyEvent* event) {
    // The keyboard never confirms or cancels the window; help is answered and does nothing.
    if (isSwallowedKey(event->key()) || event->key() == Qt::Key_F1 ||
        event->key() == Qt::Key_Help) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CHalda_ConfigDlg::keyReleaseEvent(QKeyEvent* event) {
    if (isSwallowedKey(event->key())) {
        event->accept();
        return;
    }
    QDialog::keyReleaseEvent(event);
}

void CHalda_ConfigDlg::closeEvent(QCloseEvent* event) {
    // A close from the window system (the task bar, the window manager) is the same close.
    closeDialogs();
    QDialog::closeEvent(event);
}

bool CHalda_ConfigDlg::event(QEvent* event) {
    if (event->type() == QEvent::WhatsThis) {
        event->accept();
        return true;
    }
    return QDialog::event(event);
}
