#include "resources/KeyLayout.h"

#include "resources/XmlDocument.h"

#include <algorithm>
#include <limits>

namespace {

// The C library's idea of white space before a number.
bool isSpace(QChar c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

// Leading white space, an optional sign; returns where the digits start.
qsizetype skipToDigits(QStringView text, bool& negative) {
    qsizetype i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    return i;
}

int digitValue(QChar c, int base) {
    const char16_t u = c.unicode();
    int value = 99;
    if (u >= u'0' && u <= u'9')
        value = u - u'0';
    else if (u >= u'a' && u <= u'f')
        value = u - u'a' + 10;
    else if (u >= u'A' && u <= u'F')
        value = u - u'A' + 10;
    return value < base ? value : -1;
}

// Decimal digits up to the first other unit, held within the 32-bit range.
std::int32_t parseDecimal(QStringView text) {
    bool negative;
    qsizetype i = skipToDigits(text, negative);
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = digitValue(text[i], 10);
        if (digit < 0)
            break;
        value = std::min<std::int64_t>(value * 10 + digit, std::int64_t(1) << 32);
    }
    if (negative)
        value = -value;
    return std::int32_t(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                 std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

std::uint8_t KeyLayout::parseKeyCode(QStringView text) {
    bool negative;
    qsizetype i = skipToDigits(text, negative);
    if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X') &&
        i + 2 < text.size() && digitValue(text[i + 2], 16) >= 0)
        i += 2;
    // Only the low 8 bits are kept, so the digits may wrap freely.
    std::uint32_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = digitValue(text[i], 16);
        if (digit < 0)
            break;
        value = value * 16 + std::uint32_t(digit);
    }
    if (negative)
        value = 0u - value;
    return std::uint8_t(value & 0xFF);
}

KeyLayoutEntry::Rect KeyLayout::parseRect(QStringView text) {
    std::int32_t numbers[4] = {};
    qsizetype from = 0;
    for (int part = 0; part < 4 && from <= text.size(); ++part) {
        const qsizetype comma = part < 3 ? text.indexOf(u',', from) : -1;
        const qsizetype to = comma < 0 ? text.size() : comma;
        numbers[part] = parseDecimal(text.sliced(from, to - from));
        if (comma < 0)
            break;
        from = comma + 1;
    }
    return {numbers[0], numbers[1], numbers[2], numbers[3]};
}

std::int32_t KeyLayout::parseStatus(QStringView text) {
    return parseDecimal(text) == 1 ? 1 : 0;
}

bool KeyLayout::load(const QString& path) {
    entries_ = Entries{};
    XmlDocument document;
    if (!document.LoadFile(path) || !document.ParseDocument())
        return false;
    document.Rewind();
    document.NextElement();
    for (int position = 0; position < KeyCount && document.NextChildElement(u"key"); ++position) {
        KeyLayoutEntry& entry = entries_[size_t(position)];
        entry.name = document.ChildAttribute(u"name");
        const QString vkcode = document.ChildAttribute(u"vkcode");
        entry.buttontip = document.ChildAttribute(u"buttontip");
        const QString rect = document.ChildAttribute(u"CRect");
        const QString status = document.ChildAttribute(u"kstatus");
        entry.vkcode = parseKeyCode(vkcode);
        entry.rect = parseRect(rect);
        entry.kstatus = parseStatus(status);
    }
    return true;
}

std::array<std::uint8_t, KeyLayout::KeyCount> KeyLayout::layoutCodes() const {
    std::array<std::uint8_t, KeyCount> codes{};
    for (int i = 0; i < KeyCount; ++i)
        codes[size_t(i)] = entries_[size_t(i)].vkcode;
    return codes;
}
