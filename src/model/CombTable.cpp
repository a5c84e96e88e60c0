#include "model/CombTable.h"

#include "model/DefaultName.h"
#include "platform/LittleEndian.h"

#include <algorithm>
#include <span>

static_assert(CombTable::CountOffset + 4 == CombTable::ImageSize);

namespace {

std::span<const std::uint8_t, tagCombKey::RecordSize> slot(const CombTable::Image& image, int i) {
    return std::span(image)
        .subspan(std::size_t(i) * tagCombKey::RecordSize)
        .first<tagCombKey::RecordSize>();
}

std::span<std::uint8_t, tagCombKey::RecordSize> slot(CombTable::Image& image, int i) {
    return std::span(image)
        .subspan(std::size_t(i) * tagCombKey::RecordSize)
        .first<tagCombKey::RecordSize>();
}

}  // namespace

CombTable::Image& CombTable::image() {
    static Image bytes{};
    return bytes;
}

CombTable& CombTable::instance() {
    static CombTable table;
    return table;
}

void CombTable::LoadFromImage(const Image& from) {
    const int count = std::clamp(le::readI32(from, CountOffset), 0, Slots);
    records_.clear();
    records_.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i)
        records_.push_back(tagCombKey::read(slot(from, i)));
}

void CombTable::SaveToImage(Image& to) const {
    to.fill(0);
    const int count = std::min(size(), Slots);
    for (int i = 0; i < count; ++i)
        records_[std::size_t(i)].write(slot(to, i));
    le::writeI32(to, CountOffset, count);
}

int CombTable::AddCombination(const QString& name) {
    if (size() >= Slots)
        return -1;
    tagCombKey comb;
    comb.name = StoredName::fit(name);
    records_.push_back(std::move(comb));
    return size() - 1;
}

void CombTable::RemoveCombination(int index) {
    if (at(index))
        records_.erase(records_.begin() + index);
}

std::optional<tagCombKey> CombTable::RecordAt(int index) const {
    if (index < 0 || index >= size())
        return std::nullopt;
    return records_[std::size_t(index)];
}

QString CombTable::DefaultName(const QString& prefix, const QStringList& shownNames) {
    return defaultName(prefix, shownNames);
}

void CombTable::SetKeys(int index, std::span<const std::uint8_t> keys) {
    tagCombKey* comb = at(index);
    if (!comb)
        return;
    comb->keys.fill(0);
    std::copy_n(keys.begin(), std::min<std::size_t>(keys.size(), tagCombKey::KeySlots),
                comb->keys.begin());
}

void CombTable::SetName(int index, const QString& name) {
    if (tagCombKey* comb = at(index))
        comb->name = StoredName::fit(name);
}

QString CombTable::DisplayText(int index, const KeyNamer& keyName) const {
    QString text;
    if (index < 0 || index >= size())
        return text;
    const tagCombKey& comb = records_[std::size_t(index)];
    for (int i = 0; i < tagCombKey::KeySlots; ++i) {
        const std::uint8_t key = comb.keys[std::size_t(i)];
        if (key == 0)
            continue;
        if (i > 0)
            text += QStringLiteral(" + ");
        text += QChar(0x201C) + keyName(key) + QChar(0x201D);
    }
    return text;
}

QStringList CombTable::names() const {
    QStringList list;
    list.reserve(size());
    for (const tagCombKey& comb : records_)
        list.append(comb.name);
    return list;
}

tagCombKey* CombTable::at(int index) {
    return index >= 0 && index < size() ? &records_[std::size_t(index)] : nullptr;
}
