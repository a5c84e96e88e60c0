#include "model/MacroInfo.h"

#include "platform/LittleEndian.h"

#include <algorithm>

tagMacroInfo tagMacroInfo::read(ConstRecord record) {
    tagMacroInfo macro;
    macro.autoDelay = le::readI32(record, 0);
    macro.loopEnabled = le::readI32(record, 4);
    macro.loopCount = le::readI32(record, 8);
    macro.eventCount = std::min<std::uint16_t>(le::readU16(record, 12), MaxEvents);
    for (std::size_t i = 0; i < macro.eventCount; ++i) {
        const std::size_t at = EventsOffset + i * MacroEvent::RecordSize;
        macro.events[i] = {record[at], record[at + 1], le::readI32(record, at + 4)};
    }
    macro.name = StoredName::read(record.subspan<NameOffset, StoredName::Bytes>());
    return macro;
}

void tagMacroInfo::write(Record record) const {
    std::ranges::fill(record, std::uint8_t(0));
    le::writeI32(record, 0, autoDelay);
    le::writeI32(record, 4, loopEnabled);
    le::writeI32(record, 8, loopCount);
    le::writeU16(record, 12, eventCount);
    for (std::size_t i = 0; i < events.size(); ++i) {
        const std::size_t at = EventsOffset + i * MacroEvent::RecordSize;
        record[at] = events[i].keyCode;
        record[at + 1] = events[i].released;
        le::writeI32(record, at + 4, events[i].delayMs);
    }
    StoredName::write(record.subspan<NameOffset, StoredName::Bytes>(), name);
}
