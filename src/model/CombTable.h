#pragma once

#include "model/CombKey.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

// The user's key combinations. The stored image is 100 record slots of 524 bytes, then the
// count (int32 at 52400); slots from the count on are zero. The working list is what the
// single and combination key page edits: a combination's index in it is the value of every
// AssignCombination that sends it. Both are process-wide.
class CombTable {
public:
    static constexpr int ImageSize = 52404;
    static constexpr int Slots = 100;
    static constexpr int CountOffset = Slots * tagCombKey::RecordSize;
    using Image = std::array<std::uint8_t, ImageSize>;
    // Key code to display name; the windows pass KeyNameTable::name.
    using KeyNamer = std::function<QString(int keyCode)>;

    // The process-wide image that the settings store and profile files carry.
    static Image& image();
    // The process-wide working list.
    static CombTable& instance();

    // Replaces the list with the image's records 0 .. count-1. A count below 0 reads as 0,
    // above 100 as 100.
    void LoadFromImage(const Image& from = image());
    // Rewrites all of the image: the records in list order, zeros after them, the count.
    void SaveToImage(Image& to = image()) const;

    // Appends a combination without keys; returns its index, or -1 when all 100 slots are
    // taken.
    int AddCombination(const QString& name);
    // Later combinations move down by one. An index outside the list changes nothing.
    void RemoveCombination(int index);
    std::optional<tagCombKey> RecordAt(int index) const;
    // "<prefix> <k>" with the smallest k that no shown name equals exactly, the prefix
    // shortened where the whole would not fit the name field (see defaultName).
    static QString DefaultName(const QString& prefix, const QStringList& shownNames);

    // The edits below change nothing for an index outside the list.
    // Up to four codes into slots 0, 1, ...; the remaining slots become 0. Extra codes are
    // dropped.
    void SetKeys(int index, std::span<const std::uint8_t> keys);
    // Stored cut to what the name field holds (see StoredName::fit).
    void SetName(int index, const QString& name);

    // The keys' names, each in typographic quotes, joined by " + ": “Ctrl” + “A”. Empty for
    // an index outside the list or a combination without keys.
    QString DisplayText(int index, const KeyNamer& keyName) const;

    int size() const { return int(records_.size()); }
    QStringList names() const;
    void clear() { records_.clear(); }

private:
    tagCombKey* at(int index);

    std::vector<tagCombKey> records_;
};
