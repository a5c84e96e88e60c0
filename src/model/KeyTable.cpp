#include "model/KeyTable.h"

#include "platform/LittleEndian.h"
#include "platform/MessageBox.h"

#include <algorithm>

KeySettingImage& KeySettingImage::instance() {
    static KeySettingImage image;
    return image;
}

KeyTable& KeyTable::instance() {
    static KeyTable table;
    return table;
}

KeyAssignment& KeyTable::entry(std::uint8_t keyCode) {
    return entries_[keyCode];
}

void KeyTable::loadRecords(std::span<const std::uint8_t, KeySettingImage::Size> records,
                           const LayoutCodes& layoutCodes) {
    std::array<bool, 256> inLayout{};
    for (std::uint8_t code : layoutCodes)
        inLayout[code] = true;

    entries_.clear();
    for (int r = 0; r < KeySettingImage::KeyCount; ++r) {
        const std::size_t at = std::size_t(r) * KeyAssignment::RecordSize;
        KeyAssignment assignment;
        assignment.keyCode = records[at];
        assignment.type = le::readI32(records, at + 4);
        if (assignment.type >= AssignSystem && assignment.type <= AssignCombination)
            assignment.value = le::readI32(records, at + 8);
        else if (assignment.type == AssignSingleKey)
            assignment.value = records[at + 8];
        if (inLayout[assignment.keyCode])
            entries_.try_emplace(std::uint8_t(assignment.keyCode), assignment);
    }
    for (std::uint8_t code : layoutCodes)
        entries_.try_emplace(code, KeyAssignment{code, AssignDefault, 0});
}

void KeyTable::buildDefaults(const LayoutCodes& layoutCodes, KeySettingImage& image) {
    entries_.clear();
    image.bytes.fill(0);
    for (int i = 0; i < KeySettingImage::KeyCount; ++i) {
        const std::uint8_t code = layoutCodes[std::size_t(i)];
        const std::size_t at = std::size_t(i) * KeyAssignment::RecordSize;
        image.bytes[at] = code;
        le::writeI32(image.bytes, at + 4, AssignDefault);
        entries_.try_emplace(code, KeyAssignment{code, AssignDefault, 0});
    }
}

bool KeyTable::toRecords(std::span<std::uint8_t, KeySettingImage::Size> out) const {
    if (entries_.size() != std::size_t(KeySettingImage::KeyCount)) {
        MessageBox::show(QStringLiteral("error!"));
        return false;
    }
    std::size_t at = 0;
    for (const auto& [code, assignment] : entries_) {
        le::writeU32(out, at, assignment.keyCode);
        le::writeI32(out, at + 4, assignment.type);
        le::writeI32(out, at + 8, assignment.value);
        at += KeyAssignment::RecordSize;
    }
    return true;
}
