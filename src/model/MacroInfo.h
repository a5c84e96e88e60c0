#pragma once

#include "model/MacroEvent.h"
#include "model/StoredName.h"

#include <QString>

#include <array>
#include <cstdint>
#include <span>

// One macro, 1304 bytes when stored:
//   0 autoDelay, 4 loopEnabled, 8 loopCount (int32); 12 eventCount (uint16), 14 two zero
//   bytes; 16 the 96 event slots; 784 the name.
struct tagMacroInfo {
    static constexpr int RecordSize = 1304;
    static constexpr int EventSlots = 96;
    // A recording stops growing at 95 events; the last slot always stays empty.
    static constexpr int MaxEvents = 95;
    static constexpr int EventsOffset = 16;
    static constexpr int NameOffset = 784;

    using Record = std::span<std::uint8_t, RecordSize>;
    using ConstRecord = std::span<const std::uint8_t, RecordSize>;

    std::int32_t autoDelay = 0;
    std::int32_t loopEnabled = 0;
    std::int32_t loopCount = 0;
    std::uint16_t eventCount = 0;
    std::array<MacroEvent, EventSlots> events{};  // the ones from eventCount on are zero
    QString name;

    // A damaged record reads as much of itself as is valid: an eventCount above 95 as 95,
    // a name without its NUL as its first 259 units. Slots past eventCount read as empty.
    static tagMacroInfo read(ConstRecord record);
    // Writes every byte of the record.
    void write(Record record) const;

    friend bool operator==(const tagMacroInfo&, const tagMacroInfo&) = default;
};

static_assert(tagMacroInfo::EventsOffset + tagMacroInfo::EventSlots * MacroEvent::RecordSize ==
              tagMacroInfo::NameOffset);
static_assert(tagMacroInfo::NameOffset + StoredName::Bytes == tagMacroInfo::RecordSize);
