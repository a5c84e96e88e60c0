#pragma once

#include "model/StoredName.h"

#include <QString>

#include <array>
#include <cstdint>
#include <span>

// One key combination, 524 bytes when stored: four key codes, then the name.
struct tagCombKey {
    static constexpr int RecordSize = 524;
    static constexpr int KeySlots = 4;
    static constexpr int NameOffset = 4;

    using Record = std::span<std::uint8_t, RecordSize>;
    using ConstRecord = std::span<const std::uint8_t, RecordSize>;

    // In the order they were pressed, filled from slot 0; unused slots are 0.
    std::array<std::uint8_t, KeySlots> keys{};
    QString name;

    // A name without its NUL (never written by this tool) reads as its first 259 units.
    static tagCombKey read(ConstRecord record);
    // Writes every byte of the record.
    void write(Record record) const;

    friend bool operator==(const tagCombKey&, const tagCombKey&) = default;
};

static_assert(tagCombKey::NameOffset + StoredName::Bytes == tagCombKey::RecordSize);
