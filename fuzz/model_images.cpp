// Arbitrary bytes as the three stored tables: nothing may crash, every image must load, and
// what a load saves must be a fixed point (loading and saving it again gives the same bytes).
#include "model/CombTable.h"
#include "model/KeyTable.h"
#include "model/MacroTable.h"
#include "resources/KeyNameTable.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

// The input laid over the image from its start, the rest zero. Small inputs would never
// reach the count at the end, so a second image also takes the input's first four bytes
// as its count.
template <typename Image, std::size_t CountOffset>
void fill(Image& plain, Image& counted, const std::uint8_t* data, std::size_t size) {
    plain.fill(0);
    std::copy_n(data, std::min(size, plain.size()), plain.begin());
    counted = plain;
    if (size >= 4)
        std::copy_n(data, 4, counted.begin() + CountOffset);
}

template <typename Table>
void roundTrip(const typename Table::Image& input) {
    auto first = std::make_unique<typename Table::Image>();
    auto second = std::make_unique<typename Table::Image>();
    Table loaded;
    loaded.LoadFromImage(input);
    check(loaded.size() >= 0 && loaded.size() <= Table::Slots);
    loaded.SaveToImage(*first);

    Table reloaded;
    reloaded.LoadFromImage(*first);
    check(reloaded.size() == loaded.size());
    for (int i = 0; i < loaded.size(); ++i)
        check(reloaded.RecordAt(i) == loaded.RecordAt(i));
    reloaded.SaveToImage(*second);
    check(*first == *second);
}

// Every other code belongs to the layout, so records of both kinds turn up.
KeyTable::LayoutCodes oddCodes() {
    KeyTable::LayoutCodes codes{};
    for (std::size_t i = 0; i < codes.size(); ++i)
        codes[i] = std::uint8_t(2 * i + 1);
    return codes;
}

void keyTableRoundTrip(std::span<const std::uint8_t, KeySettingImage::Size> records) {
    // Whatever the records, a layout of 92 distinct keys gives a table that can be stored.
    KeyTable table;
    table.loadRecords(records, oddCodes());
    check(table.size() == std::size_t(KeySettingImage::KeyCount));
    KeySettingImage first, second;
    check(table.toRecords(first.bytes));
    KeyTable reloaded;
    reloaded.loadRecords(first.bytes, oddCodes());
    check(reloaded.toRecords(second.bytes));
    check(first.bytes == second.bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto macroPlain = std::make_unique<MacroTable::Image>();
    static auto macroCounted = std::make_unique<MacroTable::Image>();
    fill<MacroTable::Image, MacroTable::CountOffset>(*macroPlain, *macroCounted, data, size);
    roundTrip<MacroTable>(*macroPlain);
    roundTrip<MacroTable>(*macroCounted);

    static auto combPlain = std::make_unique<CombTable::Image>();
    static auto combCounted = std::make_unique<CombTable::Image>();
    fill<CombTable::Image, CombTable::CountOffset>(*combPlain, *combCounted, data, size);
    roundTrip<CombTable>(*combPlain);
    roundTrip<CombTable>(*combCounted);

    CombTable combs;
    combs.LoadFromImage(*combCounted);
    for (int i = 0; i < combs.size(); ++i)
        combs.DisplayText(i, KeyNameTable::name);
    MacroTable macros;
    macros.LoadFromImage(*macroCounted);
    check(!macros.DefaultName(QStringLiteral("Macro")).isEmpty());

    KeySettingImage keys;
    std::copy_n(data, std::min(size, keys.bytes.size()), keys.bytes.begin());
    keyTableRoundTrip(keys.bytes);
    return 0;
}
