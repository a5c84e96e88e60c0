#pragma once

#include <QString>

#include <cstdint>
#include <span>

// A name in a stored record: 260 UTF-16LE code units, NUL-terminated, unused units zero.
class StoredName {
public:
    static constexpr int Units = 260;
    static constexpr int MaxLength = Units - 1;
    static constexpr int Bytes = Units * 2;

    using Field = std::span<std::uint8_t, Bytes>;
    using ConstField = std::span<const std::uint8_t, Bytes>;

    // The units before the first NUL; a field without one (never written by this tool)
    // reads as its first 259 units, so it still ends in a NUL when written back.
    static QString read(ConstField field);
    // Writes every byte of the field: the name as fit() makes it, then zeros.
    static void write(Field field, const QString& name);
    // What a stored name keeps of a text: the part before any NUL, cut to 259 units.
    static QString fit(const QString& name);
    // The first units of a text, one fewer where the cut would split a surrogate pair, so a
    // cut name never ends in half a character.
    static QString cut(const QString& text, qsizetype units);
};
