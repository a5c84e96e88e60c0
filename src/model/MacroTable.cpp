#include "model/MacroTable.h"

#include "model/DefaultName.h"
#include "platform/LittleEndian.h"

#include <algorithm>
#include <span>

static_assert(MacroTable::CountOffset + 4 == MacroTable::ImageSize);

namespace {

std::span<const std::uint8_t, tagMacroInfo::RecordSize> slot(const MacroTable::Image& image,
                                                             int i) {
    return std::span(image)
        .subspan(std::size_t(i) * tagMacroInfo::RecordSize)
        .first<tagMacroInfo::RecordSize>();
}

std::span<std::uint8_t, tagMacroInfo::RecordSize> slot(MacroTable::Image& image, int i) {
    return std::span(image)
        .subspan(std::size_t(i) * tagMacroInfo::RecordSize)
        .first<tagMacroInfo::RecordSize>();
}

}  // namespace

MacroTable::Image& MacroTable::image() {
    static Image bytes{};
    return bytes;
}

MacroTable& MacroTable::instance() {
    static MacroTable table;
    return table;
}

void MacroTable::LoadFromImage(const Image& from) {
    const int count = std::clamp(le::readI32(from, CountOffset), 0, Slots);
    records_.clear();
    records_.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i)
        records_.push_back(tagMacroInfo::read(slot(from, i)));
}

void MacroTable::SaveToImage(Image& to) const {
    to.fill(0);
    const int count = std::min(size(), Slots);
    for (int i = 0; i < count; ++i)
        records_[std::size_t(i)].write(slot(to, i));
    le::writeI32(to, CountOffset, count);
}

int MacroTable::AddMacro(const QString& name) {
    if (size() >= Slots)
        return -1;
    tagMacroInfo macro;
    macro.loopCount = 1;
    macro.name = StoredName::fit(name);
    records_.push_back(std::move(macro));
    return size() - 1;
}

void MacroTable::RemoveMacro(int index) {
    if (at(index))
        records_.erase(records_.begin() + index);
}

std::optional<tagMacroInfo> MacroTable::RecordAt(int index) const {
    if (index < 0 || index >= size())
        return std::nullopt;
    return records_[std::size_t(index)];
}

QString MacroTable::DefaultName(const QString& prefix) const {
    return defaultName(prefix, names());
}

void MacroTable::ClearEvents(int index) {
    if (tagMacroInfo* macro = at(index)) {
        macro->eventCount = 0;
        macro->events.fill({});
    }
}

void MacroTable::AppendEvent(int index, std::uint8_t keyCode, bool released) {
    tagMacroInfo* macro = at(index);
    if (!macro || macro->eventCount >= tagMacroInfo::MaxEvents)
        return;
    macro->events[macro->eventCount] = {keyCode, std::uint8_t(released ? 1 : 0), 0};
    ++macro->eventCount;
}

void MacroTable::SetDelay(int index, int eventIndex, std::int32_t delayMs) {
    tagMacroInfo* macro = at(index);
    if (macro && eventIndex >= 0 && eventIndex < macro->eventCount)
        macro->events[std::size_t(eventIndex)].delayMs = delayMs;
}

void MacroTable::SetName(int index, const QString& name) {
    if (tagMacroInfo* macro = at(index))
        macro->name = StoredName::fit(name);
}

void MacroTable::SetAutoDelay(int index, std::int32_t autoDelay) {
    if (tagMacroInfo* macro = at(index))
        macro->autoDelay = autoDelay;
}

void MacroTable::SetLoopEnabled(int index, std::int32_t loopEnabled) {
    if (tagMacroInfo* macro = at(index))
        macro->loopEnabled = loopEnabled;
}

void MacroTable::SetLoopCount(int index, std::int32_t loopCount) {
    if (tagMacroInfo* macro = at(index))
        macro->loopCount = loopCount;
}

QStringList MacroTable::names() const {
    QStringList list;
    list.reserve(size());
    for (const tagMacroInfo& macro : records_)
        list.append(macro.name);
    return list;
}

tagMacroInfo* MacroTable::at(int index) {
    return index >= 0 && index < size() ? &records_[std::size_t(index)] : nullptr;
}
