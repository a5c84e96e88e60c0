#pragma once

#include <QString>
#include <QStringView>
#include <span>

// The named character references of HTML 4.01 plus apos, and the decoding of "&...;"
// references in attribute values and element text.
class CharacterReferences {
public:
    struct Entry {
        const char* name;  // spelled as in HTML
        char32_t codePoint;
    };

    static constexpr int BucketCount = 130;

    static std::span<const Entry> entries();

    // The code point of a reference name, 0 when the name is unknown. Names are matched
    // without regard to letter case; where two names differ only in case (Oslash, oslash),
    // the spelling given wins, and any other spelling gets the capitalised one.
    static char32_t namedCodePoint(QStringView name);

    // Replaces every reference that names a known character ("&amp;", "&#65;", "&#x42;");
    // anything else stays as written.
    static QString decode(QStringView text);
};
