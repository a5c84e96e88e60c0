#include "windows/Halda_ConfigDlg.h"

#include "platform/Paths.h"
#include "resources/LanguageTable.h"
#include "store/Companion.h"

#include <QLabel>
#include <QPushButton>

namespace {
QString text(const char* key) {
    return LanguageTable::instance().text(QString::fromLatin1(key));
}

// A command button at its place on the window, as left, top, right, bottom.
QPushButton* addButton(QWidget* parent, const char* name, const QString& caption, int left, int top,
                       int right, int bottom) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(caption);
    button->setGeometry(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
    // Enter must not save by accident: only a click on OK does.
    button->setAutoDefault(false);
    return button;
}
}  // namespace

CHalda_ConfigDlg::CHalda_ConfigDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Halda_CHalda_ConfigDlg"));
    setFixedSize(740, 540);

    auto* label = new QLabel(this);
    label->setText(
        tr("Keyboard settings are loaded. OK saves and closes, Apply saves, "
           "Cancel closes without saving."));
    label->setWordWrap(true);
    label->setGeometry(23, 386, 700, 48);

    QPushButton* ok = addButton(this, "ok", text("str_OK"), 261, 480, 323, 509);
    QPushButton* cancel = addButton(this, "cancel", text("str_Cancel"), 346, 480, 408, 509);
    QPushButton* apply = addButton(this, "apply", text("str_Apply"), 433, 480, 497, 509);
    connect(ok, &QPushButton::clicked, this, &CHalda_ConfigDlg::onOk);
    connect(apply, &QPushButton::clicked, this, &CHalda_ConfigDlg::onApply);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    initialise();
}

CHalda_ConfigDlg::~CHalda_ConfigDlg() {
    Messages::unregisterWindow(handle_);
}

void CHalda_ConfigDlg::initialise() {
    setWindowTitle(LanguageTable::instance().text(QStringLiteral("str_title")));

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
    profiles_.LoadCurrentProfile(store_.profileSelection);
}

std::int64_t CHalda_ConfigDlg::receiveMessage(std::uint32_t message, std::uint64_t,
                                              std::int64_t lParam) {
    if (message == Companion::LoadProfile) {
        // Another process may send anything; only a real profile index is taken.
        if (const std::optional<int> index = ProfileFiles::checkedIndex(lParam)) {
            store_.profileSelection = *index;
            profiles_.LoadCurrentProfile(*index);
        }
    }
    return 0;
}

void CHalda_ConfigDlg::onOk() {
    store_.saveAll(SettingsStore::NoticeOk);
    accept();
}

void CHalda_ConfigDlg::onApply() {
    // While the companion shows its busy window it is writing to the keyboard; a save now
    // would change the settings under it.
    if (Messages::findWindow(Companion::BusyWindowTitle))
        return;
    store_.saveAll(SettingsStore::NoticeApply);
}
