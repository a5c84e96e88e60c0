#include "store/SettingsStore.h"

#include "model/CombTable.h"
#include "model/MacroTable.h"
#include "platform/LittleEndian.h"
#include "platform/Registry.h"
#include "store/Companion.h"
#include "store/ProfileFiles.h"

#include <array>

namespace {
const QString KeySettingName = QStringLiteral("KeySetting");
const QString MacroSettingName = QStringLiteral("MacroSetting");
const QString CombSettingName = QStringLiteral("CombSetting");
const QString RateSettingName = QStringLiteral("RateSetting");
const QString ProSettingSelName = QStringLiteral("ProSettingSel");

// Reads a binary value into buffer; a shorter stored value replaces only its own bytes.
bool readBinary(const Registry& key, const QString& name, std::span<std::uint8_t> buffer) {
    const auto info = key.queryValue(name, buffer);
    return info && info->type == Registry::RegBinary;
}

void writeBinary(Registry& key, const QString& name, std::span<const std::uint8_t> data) {
    key.setValue(name, Registry::RegBinary, data);
}

std::array<std::uint8_t, 4> int32Bytes(std::int32_t value) {
    std::array<std::uint8_t, 4> bytes{};
    le::writeI32(bytes, 0, value);
    return bytes;
}

// An int32 value read over its current bytes, as a short stored value replaces only those.
bool readInt32(const Registry& key, const QString& name, std::int32_t& value) {
    auto bytes = int32Bytes(value);
    if (!readBinary(key, name, bytes))
        return false;
    value = le::readI32(bytes, 0);
    return true;
}

void writeInt32(Registry& key, const QString& name, std::int32_t value) {
    writeBinary(key, name, int32Bytes(value));
}
}  // namespace

void SettingsStore::buildKeyDefaults() {
    KeyTable::instance().buildDefaults(layoutCodes_, KeySettingImage::instance());
    reportRate = DefaultReportRate;
}

void SettingsStore::load() {
    KeySettingImage& keyImage = KeySettingImage::instance();
    MacroTable::Image& macroImage = MacroTable::image();
    CombTable::Image& combImage = CombTable::image();

    std::optional<Registry> key = Registry::openKey(KeyPath);
    if (!key) {
        // First run: create the key and store every default. If even that fails the
        // defaults stay in memory and the tool runs on them.
        std::optional<Registry> created = Registry::createKey(KeyPath);
        buildKeyDefaults();
        macroImage.fill(0);
        combImage.fill(0);
        reportRate = DefaultReportRate;
        profileSelection = 0;
        if (created) {
            writeBinary(*created, KeySettingName, keyImage.bytes);
            writeBinary(*created, MacroSettingName, macroImage);
            writeBinary(*created, CombSettingName, combImage);
            writeInt32(*created, RateSettingName, reportRate);
            writeInt32(*created, ProSettingSelName, profileSelection);
            created->close();
        }
        return;
    }

    if (readBinary(*key, KeySettingName, keyImage.bytes)) {
        KeyTable::instance().loadRecords(keyImage.bytes, layoutCodes_);
    } else {
        buildKeyDefaults();
        writeBinary(*key, KeySettingName, keyImage.bytes);
    }
    if (!readBinary(*key, MacroSettingName, macroImage)) {
        macroImage.fill(0);
        writeBinary(*key, MacroSettingName, macroImage);
    }
    if (!readBinary(*key, CombSettingName, combImage)) {
        combImage.fill(0);
        writeBinary(*key, CombSettingName, combImage);
    }
    if (!readInt32(*key, RateSettingName, reportRate)) {
        reportRate = DefaultReportRate;
        writeInt32(*key, RateSettingName, reportRate);
    }
    if (!readInt32(*key, ProSettingSelName, profileSelection)) {
        profileSelection = 0;
        writeInt32(*key, ProSettingSelName, profileSelection);
    } else if (!ProfileFiles::checkedIndex(profileSelection)) {
        // A damaged index must never reach a file name; the next save stores the 0.
        profileSelection = 0;
    }
    key->close();
}

void SettingsStore::saveAll(Notice notice) {
    WindowHandle companion = 0;
    if (notice == NoticeOk || notice == NoticeApply) {
        companion = Companion::findWindow();
        // The companion must have stopped reading before any value changes.
        if (companion)
            Messages::sendMessage(companion, Companion::AboutToWrite, 0, 0);
    }

    KeySettingImage& keyImage = KeySettingImage::instance();
    // A table that cannot be stored leaves the image as it was; everything else is still
    // written.
    KeyTable::instance().toRecords(keyImage.bytes);

    std::optional<Registry> key = Registry::openKey(KeyPath);
    if (!key)
        key = Registry::createKey(KeyPath);
    if (key) {
        writeBinary(*key, KeySettingName, keyImage.bytes);
        writeBinary(*key, MacroSettingName, MacroTable::image());
        writeBinary(*key, CombSettingName, CombTable::image());
        writeInt32(*key, RateSettingName, reportRate);
        writeInt32(*key, ProSettingSelName, profileSelection);
        key->close();
    }

    switch (notice) {
        case NoticeOk:
            if (companion)
                Messages::sendMessage(companion, Companion::SettingsWritten, 0, 0);
            break;
        case NoticeApply:
            if (companion)
                Messages::postMessage(companion, Companion::SettingsWritten, 0, 0);
            break;
        case NoticeEdit:
            if (WindowHandle found = Companion::findWindow())
                Messages::postMessage(found, Companion::SettingsWritten, 0, 1);
            break;
    }

    rewriteCurrentProfile();
}

void SettingsStore::writeReportRate() {
    std::optional<Registry> key = Registry::openKey(KeyPath);
    if (!key)
        return;
    writeInt32(*key, RateSettingName, reportRate);
    key->close();
}

void SettingsStore::rewriteCurrentProfile() {
    if (profiles_)
        profiles_->SaveCurrentProfile(profileSelection);
}
