#include "windows/Halda_ConfigDlg.h"

#include "resources/LanguageTable.h"
#include "store/Companion.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CHalda_ConfigDlg::CHalda_ConfigDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Halda_CHalda_ConfigDlg"));
    auto* layout = new QVBoxLayout(this);
    auto* label =
        new QLabel(tr("Keyboard settings are loaded. OK saves and closes, Apply saves."), this);
    label->setWordWrap(true);
    layout->addWidget(label);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    QPushButton* apply = buttons->addButton(QDialogButtonBox::Apply);
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    ok->setObjectName(QStringLiteral("ok"));
    apply->setObjectName(QStringLiteral("apply"));
    cancel->setObjectName(QStringLiteral("cancel"));
    // Enter must not save by accident: only a click on OK does.
    ok->setAutoDefault(false);
    apply->setAutoDefault(false);
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &CHalda_ConfigDlg::onOk);
    connect(apply, &QPushButton::clicked, this, &CHalda_ConfigDlg::onApply);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);

    initialise();
}

CHalda_ConfigDlg::~CHalda_ConfigDlg() {
    Messages::unregisterWindow(handle_);
}

void CHalda_ConfigDlg::initialise() {
    QString title = LanguageTable::instance().text(QStringLiteral("str_title"));
    if (title.isEmpty())
        title = QStringLiteral("Halda");
    setWindowTitle(title);

    handle_ = Messages::registerWindow(this, windowTitle());
    // The companion reaches us by handle only: it learns it from the registration below.
    Messages::publishWindow(handle_,
                            {QStringLiteral("hwnd-%1").arg(handle_, 8, 16, QLatin1Char('0'))});

    companion_ = Companion::findWindow();
    if (companion_)
        Messages::postMessage(companion_, Companion::RegisterWindow, handle_, 0);

    store_.load();
}

std::int64_t CHalda_ConfigDlg::receiveMessage(std::uint32_t message, std::uint64_t,
                                              std::int64_t lParam) {
    if (message == Companion::LoadProfile) {
        // Profiles are not kept yet; the selection is remembered for the next save.
        store_.profileSelection = std::int32_t(lParam);
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
