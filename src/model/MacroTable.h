#pragma once

#include "model/MacroInfo.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// The user's macros. The stored image is 100 record slots of 1304 bytes, then the count
// (int32 at 130400); slots from the count on are zero. The working list is what the macro
// page edits: a macro's index in it is the value of every AssignMacro that plays it. Both
// are process-wide; the image changes only through LoadFromImage/SaveToImage callers.
class MacroTable {
public:
    static constexpr int ImageSize = 130404;
    static constexpr int Slots = 100;
    static constexpr int CountOffset = Slots * tagMacroInfo::RecordSize;
    // The macro page refuses a new macro while the list holds this many or more.
    static constexpr int PageLimit = 11;
    using Image = std::array<std::uint8_t, ImageSize>;

    // The process-wide image that the settings store and profile files carry.
    static Image& image();
    // The process-wide working list.
    static MacroTable& instance();

    // Replaces the list with the image's records 0 .. count-1. A count below 0 reads as 0,
    // above 100 as 100.
    void LoadFromImage(const Image& from = image());
    // Rewrites all of the image: the records in list order, zeros after them, the count.
    void SaveToImage(Image& to = image()) const;

    // Appends a macro with loopCount 1, no events and that name; returns its index, or -1
    // when all 100 slots are taken.
    int AddMacro(const QString& name);
    // Later macros move down by one. An index outside the list changes nothing.
    void RemoveMacro(int index);
    std::optional<tagMacroInfo> RecordAt(int index) const;
    // "<prefix> <k>" with the smallest k that no macro's name equals exactly, the prefix
    // shortened where the whole would not fit the name field (see defaultName).
    QString DefaultName(const QString& prefix) const;

    // The edits below change nothing for an index outside the list.
    // Empties every event slot; the header fields and the name stay.
    void ClearEvents(int index);
    // Adds one event with no pause; ignored once the macro holds 95 events.
    void AppendEvent(int index, std::uint8_t keyCode, bool released);
    // Only recorded events (below eventCount) take a pause.
    void SetDelay(int index, int eventIndex, std::int32_t delayMs);
    // Stored cut to what the name field holds (see StoredName::fit).
    void SetName(int index, const QString& name);
    void SetAutoDelay(int index, std::int32_t autoDelay);
    void SetLoopEnabled(int index, std::int32_t loopEnabled);
    void SetLoopCount(int index, std::int32_t loopCount);

    int size() const { return int(records_.size()); }
    QStringList names() const;
    void clear() { records_.clear(); }

private:
    tagMacroInfo* at(int index);

    std::vector<tagMacroInfo> records_;
};
