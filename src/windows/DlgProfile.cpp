#include "windows/DlgProfile.h"

#include "controls/GDIBitmapBtn.h"
#include "platform/Paths.h"
#include "resources/LanguageTable.h"
#include "windows/PageSkin.h"
#include "windows/ProfileFileDialogs.h"
#include "windows/ProfileList.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
const QString Skin = QStringLiteral("Profile");
const QColor TextColour(88, 95, 105);

QString text(const char* key) {
    return LanguageTable::instance().text(QString::fromLatin1(key));
}
}  // namespace

CDlgProfile::CDlgProfile(int currentIndex, ProfileFiles& files, QWidget* parent)
    : CSkinnedDialog(QStringLiteral("Halda_CDlgProfile"), ConfirmKeys::Ordinary, parent),
      files_(files),
      selected_(ProfileFiles::checkedIndex(currentIndex).value_or(-1)) {
    CProfileList::Pictures pictures;
    const std::array<QString, CProfileList::PictureCount> states = {
        QStringLiteral("Normal"), QStringLiteral("Normal2"), QStringLiteral("Over"),
        QStringLiteral("Down"), QStringLiteral("Down2")};
    std::array<QPixmap, CProfileList::PictureCount> skins;
    for (std::size_t i = 0; i < states.size(); ++i) {
        skins[i] = loadSkin(Skin, states[i]);
        pictures[i] = skins[i].toImage();
    }
    normal_ = skins[CProfileList::Normal];
    const QPixmap& over = skins[CProfileList::Over];
    const QPixmap& down = skins[CProfileList::Down];
    placeByPicture(normal_);

    close_ = addButton(skinRect(445, 7, 460, 22), normal_, over, down);
    ok_ = addButton(skinRect(299, 266, 380, 296), normal_, over, down, text("str_OK"));
    cancel_ = addButton(skinRect(380, 266, 460, 296), normal_, over, down, text("str_Cancel"));
    import_ = addButton(skinRect(14, 267, 119, 293), normal_, over, down, text("str_import"));
    export_ = addButton(skinRect(125, 267, 229, 293), normal_, over, down, text("str_export"));
    onCommand(close_, &CDlgProfile::postClose);
    onCommand(ok_, &CDlgProfile::writeRowsAndAccept);
    onCommand(cancel_, &CDlgProfile::reject);
    onCommand(import_, &CDlgProfile::importProfile);
    onCommand(export_, &CDlgProfile::exportProfile);

    for (int i = 0; i < RowCount; ++i) {
        auto* list = new CProfileList(QStringLiteral("Pro%1").arg(i), pictures,
                                      skinRect(16, 109 + 19 * i, 455, 128 + 19 * i),
                                      rows_[std::size_t(i)], this);
        // Two rows of one name would share one file, and the later would overwrite the other.
        list->setNameTaken([this, i](const QString& name) {
            for (int other = 0; other < RowCount; ++other)
                if (other != i && rows_[std::size_t(other)].name == name)
                    return true;
            return false;
        });
        lists_[std::size_t(i)] = list;
    }

    if (ProfileFiles::profileDirectoryExists()) {
        for (int i = 0; i < RowCount; ++i) {
            rows_[std::size_t(i)] = files_.LoadProfileRow(i);
            lists_[std::size_t(i)]->showRow();
        }
    }
    for (int i = 0; i < RowCount; ++i)
        keptPaths_[std::size_t(i)] = rows_[std::size_t(i)].path;
    selectRow(selected_);
}

CDlgProfile::~CDlgProfile() {
    // The rows' windows go before the profiles they show.
    for (CProfileList*& list : lists_)
        delete std::exchange(list, nullptr);
}

const ProfileRow* CDlgProfile::selectedRow() const {
    return selected_ < 0 ? nullptr : &rows_[std::size_t(selected_)];
}

std::int64_t CDlgProfile::receiveMessage(std::uint32_t message, std::uint64_t wParam,
                                         std::int64_t lParam) {
    if (message != CProfileList::SelectMessage)
        return CSkinnedDialog::receiveMessage(message, wParam, lParam);
    // Whatever the row asked for, it becomes the selected one. A message that comes from no
    // row selects the first.
    int index = 0;
    for (int i = 0; i < RowCount; ++i)
        if (lists_[std::size_t(i)]->handle() == lParam)
            index = i;
    selectRow(index);
    return 0;
}

void CDlgProfile::done(int result) {
    if (result == Accepted) {
        files_.RecordAllProfilePaths(rows_);
    } else {
        // Nothing was written: a renamed row's new file does not exist, and recording it
        // would replace that profile with a fresh default the next time it is loaded.
        for (int i = 0; i < RowCount; ++i)
            files_.RecordProfilePath(i, keptPaths_[std::size_t(i)]);
    }
    CSkinnedDialog::done(result);
}

void CDlgProfile::selectRow(int index) {
    for (int i = 0; i < RowCount; ++i) {
        CProfileList* list = lists_[std::size_t(i)];
        if (i == index) {
            list->Select(true);
        } else {
            list->EndEdits();
            list->Select(false);
        }
    }
    selected_ = index;
}

void CDlgProfile::endAllEdits() {
    for (CProfileList* list : lists_)
        list->EndEdits();
}

void CDlgProfile::onCommand(CGDIBitmapBtn* button, void (CDlgProfile::*action)()) {
    connect(button, &CGDIBitmapBtn::clicked, this, [this, action] {
        endAllEdits();
        (this->*action)();
    });
}

void CDlgProfile::writeRowsAndAccept() {
    for (const ProfileRow& row : rows_)
        files_.WriteRowFile(row);
    accept();
}

void CDlgProfile::importProfile() {
    if (selected_ < 0)
        return;
    const QString folder = ProfileFiles::profileDirectory();
    Paths::makeDirectories(folder);
    const QString path =
        ProfileFileDialogs::choose(this, ProfileFileDialogs::ImportProfile, folder);
    if (path.isEmpty())
        return;
    const std::size_t row = std::size_t(selected_);
    if (!files_.ImportProfileFile(rows_[row], path))
        return;
    lists_[row]->showRow();
    // The imported file is the profile's now, also if the dialog is cancelled.
    keptPaths_[row] = rows_[row].path;
}

void CDlgProfile::exportProfile() {
    if (selected_ < 0)
        return;
    const QString folder = ProfileFiles::profileDirectory();
    Paths::makeDirectories(folder);
    const QString path =
        ProfileFileDialogs::choose(this, ProfileFileDialogs::ExportProfile, folder);
    if (!path.isEmpty())
        files_.ExportProfileFile(rows_[std::size_t(selected_)], path);
}

void CDlgProfile::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, normal_);
    drawAlignedText(painter, skinRect(165, 0, 305, 21), text("str_profile_title"), TextColour,
                    Qt::AlignCenter);
    drawAlignedText(painter, skinRect(14, 83, 125, 109), text("str_settingdoc"), TextColour,
                    Qt::AlignCenter);
    drawAlignedText(painter, skinRect(127, 83, 235, 109), text("str_docname"), TextColour,
                    Qt::AlignCenter);
    drawAlignedText(painter, skinRect(236, 83, 343, 109), text("str_autopath"), TextColour,
                    Qt::AlignCenter);
    drawAlignedText(painter, skinRect(345, 83, 456, 109), text("str_autoswitch"), TextColour,
                    Qt::AlignCenter);
}

void CDlgProfile::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        endAllEdits();
    // The background is the dialog's caption.
    if (drag_.press(*this, *event))
        event->accept();
    else
        CSkinnedDialog::mousePressEvent(event);
}

void CDlgProfile::mouseMoveEvent(QMouseEvent* event) {
    if (drag_.move(*this, *event))
        event->accept();
    else
        CSkinnedDialog::mouseMoveEvent(event);
}

void CDlgProfile::mouseReleaseEvent(QMouseEvent* event) {
    if (drag_.release(*event))
        event->accept();
    else
        CSkinnedDialog::mouseReleaseEvent(event);
}
