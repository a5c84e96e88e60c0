#include "windows/ProfileFileDialogs.h"

#include <QDir>
#include <QFileDialog>

namespace {
ProfileFileDialogs::Answer& standIn() {
    static ProfileFileDialogs::Answer answer;
    return answer;
}

const QString ProfileSuffix = QStringLiteral("pro");
const QString ProfileFilter = QStringLiteral("pro(*.pro)");
}  // namespace

QString ProfileFileDialogs::choose(QWidget* parent, Purpose purpose, const QString& directory) {
    if (standIn())
        return standIn()({purpose, directory});

    QFileDialog dialog(parent, QString(), directory);
    // Qt's own dialog on every desktop: only it can list executable files alone.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    switch (purpose) {
        case ImportProfile:
        case ExportProfile:
            dialog.setNameFilter(ProfileFilter);
            dialog.setDefaultSuffix(ProfileSuffix);
            break;
        case PickProgram:
            dialog.setFilter(QDir::AllDirs | QDir::Files | QDir::Executable | QDir::NoDotAndDotDot);
            break;
    }
    if (purpose == ExportProfile) {
        // Asks before it replaces an existing file.
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

ProfileFileDialogs::Answer ProfileFileDialogs::setAnswerForTesting(Answer answer) {
    return std::exchange(standIn(), std::move(answer));
}
