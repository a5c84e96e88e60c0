#include "store/ProfileFiles.h"

#include "model/CombTable.h"
#include "model/MacroTable.h"
#include "platform/AtomicFile.h"
#include "platform/IniFile.h"
#include "platform/LittleEndian.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "store/ProfileView.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {
const QString ProfileExtension = QStringLiteral("pro");

void putDefaultRecord(ProfileImage::KeySection keys, int record, std::uint8_t keyCode) {
    const std::size_t at = std::size_t(record) * KeyAssignment::RecordSize;
    keys[at] = keyCode;
    le::writeI32(keys, at + 4, AssignDefault);
}

// The default keys in ascending key code, one per entry of the key table. A table that
// does not hold 92 entries leaves the section zero, and the user is told "error!".
void writeDefaultKeySection(ProfileImage::KeySection keys) {
    const KeyTable& table = KeyTable::instance();
    if (table.size() != std::size_t(KeySettingImage::KeyCount)) {
        MessageBox::show(QStringLiteral("error!"));
        return;
    }
    int record = 0;
    for (const auto& [code, assignment] : table)
        putDefaultRecord(keys, record++, code);
}

// A file's content as it is read into a zeroed image; none when it cannot be opened.
std::optional<ProfileImage> readImage(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return ProfileImage::fromFileContent(file.read(qint64(ProfileImage::Size)));
}

// Creates or replaces a file whole. The profile folder is made first where the file is to
// lie in it.
bool writeFile(const QString& path, const QByteArray& content) {
    if (path.isEmpty())
        return false;
    const QString folder = ProfileFiles::profileDirectory();
    if (QDir::cleanPath(QFileInfo(path).absolutePath()) == QDir::cleanPath(folder))
        Paths::makeDirectories(folder);
    return AtomicFile::replaceThroughLinks(path, content);
}

void reportFileError(const QString& path) {
    MessageBox::show(QStringLiteral("The profile file %1 could not be written.").arg(path));
}

void copySection(std::span<const std::uint8_t> from, std::span<std::uint8_t> to) {
    std::ranges::copy(from, to.begin());
}
}  // namespace

std::optional<int> ProfileFiles::checkedIndex(std::int64_t value) {
    if (value < 0 || value >= ProfileCount)
        return std::nullopt;
    return int(value);
}

void ProfileFiles::setTexts(const QString& profileTitle, const QString& profile) {
    profileTitle_ = profileTitle;
    profile_ = profile;
}

QString ProfileFiles::iniPath() {
    return Paths::joinPath(Paths::executableDirectory(), QStringLiteral("Profile"),
                           QStringLiteral("ini"));
}

QString ProfileFiles::profileDirectory() {
    return Paths::executableDirectory() + QStringLiteral("Profile");
}

bool ProfileFiles::profileDirectoryExists() {
    return QFileInfo(profileDirectory()).isDir();
}

QString ProfileFiles::iniKey(int index) {
    return QStringLiteral("Profile%1").arg(index + 1);
}

QString ProfileFiles::defaultName(int index) const {
    return QStringLiteral("%1 %2").arg(profileTitle_).arg(index + 1);
}

QString ProfileFiles::defaultPath(int index) const {
    return Paths::joinPath(profileDirectory(), defaultName(index), ProfileExtension);
}

QString ProfileFiles::recordedPath(int index) const {
    const QString value =
        IniFile(iniPath()).readString(IniSection, iniKey(index), defaultName(index));
    if (value.isEmpty() || !QDir::isAbsolutePath(value))
        return defaultPath(index);
    return value;
}

ProfileImage ProfileFiles::defaultImage(const QString& name, bool keysInLayoutOrder) const {
    ProfileImage image;
    image.setName(name);
    if (keysInLayoutOrder) {
        for (int i = 0; i < KeySettingImage::KeyCount; ++i)
            putDefaultRecord(image.keySection(), i, layoutCodes_[std::size_t(i)]);
    } else {
        writeDefaultKeySection(image.keySection());
    }
    return image;
}

void ProfileFiles::writeKeySection(ProfileImage::KeySection section) const {
    const KeyTable& table = KeyTable::instance();
    if (table.size() != std::size_t(KeySettingImage::KeyCount)) {
        MessageBox::show(QStringLiteral("error"));
        return;
    }
    table.toRecords(section);
}

void ProfileFiles::showInfo(const ProfileInfo& info) {
    info_ = info;
    if (view_)
        view_->showProfileInfo(info_);
}

void ProfileFiles::refreshAllKeys() {
    if (view_)
        view_->refreshAllKeys();
}

QString ProfileFiles::ResolveProfilePath(int index) {
    if (!checkedIndex(index) || !QFileInfo(Paths::executableDirectory()).isDir())
        return {};
    const QString path = recordedPath(index);
    if (QFileInfo::exists(path))
        return path;
    const QString fallback = defaultPath(index);
    return CreateDefaultProfileFile(index, fallback) ? fallback : QString();
}

bool ProfileFiles::CreateDefaultProfileFile(int index, const QString& path) {
    if (!checkedIndex(index))
        return false;
    if (!writeFile(path, defaultImage(defaultName(index), true).toByteArray())) {
        reportFileError(path);
        return false;
    }
    RecordProfilePath(index, path);
    return true;
}

bool ProfileFiles::RecordProfilePath(int index, const QString& path) {
    if (!checkedIndex(index))
        return false;
    return IniFile(iniPath()).writeString(IniSection, iniKey(index), path);
}

bool ProfileFiles::ReadProfileFile(const QString& path) {
    const std::optional<ProfileImage> image = readImage(path);
    if (image) {
        const QString programPath = image->programPath();
        showInfo({image->name(), image->docName(), programPath,
                  ProfileInfo::programFileOf(programPath), image->autoSwitch()});
        copySection(image->combSection(), CombTable::image());
        copySection(image->macroSection(), MacroTable::image());
        KeySettingImage& keys = KeySettingImage::instance();
        copySection(image->keySection(), keys.bytes);
        KeyTable::instance().loadRecords(keys.bytes, layoutCodes_);
    }
    refreshAllKeys();
    return image.has_value();
}

bool ProfileFiles::WriteProfileFile(const QString& path) {
    QFile existing(path);
    if (path.isEmpty() || !QFileInfo(path).isFile() || !existing.open(QIODevice::ReadOnly)) {
        reportFileError(path);
        return false;
    }
    const QByteArray old = existing.readAll();
    existing.close();

    // When the key table cannot be stored, the file keeps the keys it had.
    ProfileImage image;
    copySection(ProfileImage::fromFileContent(old).keySection(), image.keySection());
    image.setName(info_.name);
    image.setProgramPath(info_.programPath);
    image.setDocName(info_.docName);
    image.setAutoSwitch(info_.autoSwitch);
    copySection(CombTable::image(), image.combSection());
    copySection(MacroTable::image(), image.macroSection());
    writeKeySection(image.keySection());

    if (!writeFile(path, image.toByteArray() + old.mid(qsizetype(ProfileImage::Size)))) {
        reportFileError(path);
        return false;
    }
    return true;
}

void ProfileFiles::LoadCurrentProfile(int index) {
    if (!checkedIndex(index))
        return;
    ReadProfileFile(ResolveProfilePath(index));
}

void ProfileFiles::SaveCurrentProfile(int index) {
    if (!checkedIndex(index))
        return;
    const QString path = ResolveProfilePath(index);
    if (!path.isEmpty())
        WriteProfileFile(path);
    refreshAllKeys();
}

void ProfileFiles::ResetCurrentProfile(int index) {
    if (!checkedIndex(index))
        return;
    const QString path = recordedPath(index);
    const QString name = Paths::splitPath(path).baseName;
    if (!writeFile(path, defaultImage(name, false).toByteArray()))
        return;
    showInfo({name, {}, {}, {}, 0});
}

ProfileRow ProfileFiles::LoadProfileRow(int index) {
    ProfileRow row;
    if (!checkedIndex(index))
        return row;
    const QString candidate = recordedPath(index);
    if (const std::optional<ProfileImage> image = readImage(candidate)) {
        row.fill(candidate, *image);
        return row;
    }
    const QString path = defaultPath(index);
    const ProfileImage image = defaultImage(defaultName(index), false);
    if (writeFile(path, image.toByteArray()))
        row.fill(path, image);
    return row;
}

bool ProfileFiles::ImportProfileFile(ProfileRow& row, const QString& chosenPath) {
    const std::optional<ProfileImage> image = readImage(chosenPath);
    if (!image)
        return false;
    row.fill(chosenPath, *image);
    return true;
}

bool ProfileFiles::ExportProfileFile(const ProfileRow& row, const QString& chosenPath) {
    return writeFile(chosenPath, row.image.toByteArray());
}

bool ProfileFiles::WriteRowFile(const ProfileRow& row) {
    if (row.path.isEmpty())
        return false;
    return writeFile(row.path, row.image.toByteArray());
}

void ProfileFiles::RecordAllProfilePaths(const Rows& rows) {
    for (int index = 0; index < ProfileCount; ++index)
        RecordProfilePath(index, rows[std::size_t(index)].path);
}

void ProfileFiles::ApplySelectedProfile(const ProfileRow& row, int index) {
    if (!checkedIndex(index))
        return;
    showInfo(row.info());
    copySection(row.image.macroSection(), MacroTable::image());
    copySection(row.image.combSection(), CombTable::image());
    KeyTable::instance().loadRecords(row.image.keySection(), layoutCodes_);
    refreshAllKeys();

    const QString target =
        !row.name.isEmpty() || !row.path.isEmpty()
            ? row.path
            : Paths::joinPath(profileDirectory(),
                              QStringLiteral("%1 %2").arg(profile_).arg(index + 1),
                              ProfileExtension);
    // When the key table cannot be stored, the file gets the keys the row brought.
    ProfileImage image;
    copySection(row.image.keySection(), image.keySection());
    image.setName(row.name);
    image.setProgramPath(row.programPath);
    image.setDocName(row.docName);
    image.setAutoSwitch(row.autoSwitch);
    copySection(CombTable::image(), image.combSection());
    copySection(MacroTable::image(), image.macroSection());
    writeKeySection(image.keySection());
    writeFile(target, image.toByteArray());
}
