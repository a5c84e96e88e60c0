#include "resources/CharacterReferences.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace {

// HTML 4.01 order (Latin-1, symbols, special), then apos.
constexpr CharacterReferences::Entry kEntries[] = {
    {"nbsp", 160},    {"iexcl", 161},    {"cent", 162},    {"pound", 163},   {"curren", 164},
    {"yen", 165},     {"brvbar", 166},   {"sect", 167},    {"uml", 168},     {"copy", 169},
    {"ordf", 170},    {"laquo", 171},    {"not", 172},     {"shy", 173},     {"reg", 174},
    {"macr", 175},    {"deg", 176},      {"plusmn", 177},  {"sup2", 178},    {"sup3", 179},
    {"acute", 180},   {"micro", 181},    {"para", 182},    {"middot", 183},  {"cedil", 184},
    {"sup1", 185},    {"ordm", 186},     {"raquo", 187},   {"frac14", 188},  {"frac12", 189},
    {"frac34", 190},  {"iquest", 191},   {"Agrave", 192},  {"Aacute", 193},  {"Acirc", 194},
    {"Atilde", 195},  {"Auml", 196},     {"Aring", 197},   {"AElig", 198},   {"Ccedil", 199},
    {"Egrave", 200},  {"Eacute", 201},   {"Ecirc", 202},   {"Euml", 203},    {"Igrave", 204},
    {"Iacute", 205},  {"Icirc", 206},    {"Iuml", 207},    {"ETH", 208},     {"Ntilde", 209},
    {"Ograve", 210},  {"Oacute", 211},   {"Ocirc", 212},   {"Otilde", 213},  {"Ouml", 214},
    {"times", 215},   {"Oslash", 216},   {"Ugrave", 217},  {"Uacute", 218},  {"Ucirc", 219},
    {"Uuml", 220},    {"Yacute", 221},   {"THORN", 222},   {"szlig", 223},   {"agrave", 224},
    {"aacute", 225},  {"acirc", 226},    {"atilde", 227},  {"auml", 228},    {"aring", 229},
    {"aelig", 230},   {"ccedil", 231},   {"egrave", 232},  {"eacute", 233},  {"ecirc", 234},
    {"euml", 235},    {"igrave", 236},   {"iacute", 237},  {"icirc", 238},   {"iuml", 239},
    {"eth", 240},     {"ntilde", 241},   {"ograve", 242},  {"oacute", 243},  {"ocirc", 244},
    {"otilde", 245},  {"ouml", 246},     {"divide", 247},  {"oslash", 248},  {"ugrave", 249},
    {"uacute", 250},  {"ucirc", 251},    {"uuml", 252},    {"yacute", 253},  {"thorn", 254},
    {"yuml", 255},    {"fnof", 402},     {"Alpha", 913},   {"Beta", 914},    {"Gamma", 915},
    {"Delta", 916},   {"Epsilon", 917},  {"Zeta", 918},    {"Eta", 919},     {"Theta", 920},
    {"Iota", 921},    {"Kappa", 922},    {"Lambda", 923},  {"Mu", 924},      {"Nu", 925},
    {"Xi", 926},      {"Omicron", 927},  {"Pi", 928},      {"Rho", 929},     {"Sigma", 931},
    {"Tau", 932},     {"Upsilon", 933},  {"Phi", 934},     {"Chi", 935},     {"Psi", 936},
    {"Omega", 937},   {"alpha", 945},    {"beta", 946},    {"gamma", 947},   {"delta", 948},
    {"epsilon", 949}, {"zeta", 950},     {"eta", 951},     {"theta", 952},   {"iota", 953},
    {"kappa", 954},   {"lambda", 955},   {"mu", 956},      {"nu", 957},      {"xi", 958},
    {"omicron", 959}, {"pi", 960},       {"rho", 961},     {"sigmaf", 962},  {"sigma", 963},
    {"tau", 964},     {"upsilon", 965},  {"phi", 966},     {"chi", 967},     {"psi", 968},
    {"omega", 969},   {"thetasym", 977}, {"upsih", 978},   {"piv", 982},     {"bull", 8226},
    {"hellip", 8230}, {"prime", 8242},   {"Prime", 8243},  {"oline", 8254},  {"frasl", 8260},
    {"weierp", 8472}, {"image", 8465},   {"real", 8476},   {"trade", 8482},  {"alefsym", 8501},
    {"larr", 8592},   {"uarr", 8593},    {"rarr", 8594},   {"darr", 8595},   {"harr", 8596},
    {"crarr", 8629},  {"lArr", 8656},    {"uArr", 8657},   {"rArr", 8658},   {"dArr", 8659},
    {"hArr", 8660},   {"forall", 8704},  {"part", 8706},   {"exist", 8707},  {"empty", 8709},
    {"nabla", 8711},  {"isin", 8712},    {"notin", 8713},  {"ni", 8715},     {"prod", 8719},
    {"sum", 8721},    {"minus", 8722},   {"lowast", 8727}, {"radic", 8730},  {"prop", 8733},
    {"infin", 8734},  {"ang", 8736},     {"and", 8743},    {"or", 8744},     {"cap", 8745},
    {"cup", 8746},    {"int", 8747},     {"there4", 8756}, {"sim", 8764},    {"cong", 8773},
    {"asymp", 8776},  {"ne", 8800},      {"equiv", 8801},  {"le", 8804},     {"ge", 8805},
    {"sub", 8834},    {"sup", 8835},     {"nsub", 8836},   {"sube", 8838},   {"supe", 8839},
    {"oplus", 8853},  {"otimes", 8855},  {"perp", 8869},   {"sdot", 8901},   {"lceil", 8968},
    {"rceil", 8969},  {"lfloor", 8970},  {"rfloor", 8971}, {"lang", 9001},   {"rang", 9002},
    {"loz", 9674},    {"spades", 9824},  {"clubs", 9827},  {"hearts", 9829}, {"diams", 9830},
    {"quot", 34},     {"amp", 38},       {"lt", 60},       {"gt", 62},       {"OElig", 338},
    {"oelig", 339},   {"Scaron", 352},   {"scaron", 353},  {"Yuml", 376},    {"circ", 710},
    {"tilde", 732},   {"ensp", 8194},    {"emsp", 8195},   {"thinsp", 8201}, {"zwnj", 8204},
    {"zwj", 8205},    {"lrm", 8206},     {"rlm", 8207},    {"ndash", 8211},  {"mdash", 8212},
    {"lsquo", 8216},  {"rsquo", 8217},   {"sbquo", 8218},  {"ldquo", 8220},  {"rdquo", 8221},
    {"bdquo", 8222},  {"dagger", 8224},  {"Dagger", 8225}, {"permil", 8240}, {"lsaquo", 8249},
    {"rsaquo", 8250}, {"euro", 8364},    {"apos", 39},
};

char16_t foldAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
}

struct Slot {
    std::string folded;
    const CharacterReferences::Entry* entry;
};

bool hasCapital(std::string_view name) {
    for (char c : name)
        if (c >= 'A' && c <= 'Z')
            return true;
    return false;
}

const std::array<std::vector<Slot>, CharacterReferences::BucketCount>& buckets() {
    static const auto table = [] {
        std::array<std::vector<Slot>, CharacterReferences::BucketCount> b;
        for (const auto& entry : kEntries) {
            std::string folded;
            unsigned sum = 0;
            for (const char* p = entry.name; *p; ++p) {
                folded += char(foldAscii(char16_t(*p)));
                sum += unsigned(char(foldAscii(char16_t(*p))));
            }
            auto& bucket = b[sum % CharacterReferences::BucketCount];
            // Of two names that fold together, the capitalised one comes first.
            auto at = bucket.end();
            if (hasCapital(entry.name)) {
                for (auto it = bucket.begin(); it != bucket.end(); ++it)
                    if (it->folded == folded) {
                        at = it;
                        break;
                    }
            }
            bucket.insert(at, Slot{folded, &entry});
        }
        return b;
    }();
    return table;
}

// Digits up to the first other unit; 0 when there are none or the number is no code point.
char32_t parseNumber(QStringView digits, int base) {
    char32_t value = 0;
    for (QChar c : digits) {
        const char16_t u = foldAscii(c.unicode());
        int digit;
        if (u >= u'0' && u <= u'9')
            digit = u - u'0';
        else if (base == 16 && u >= u'a' && u <= u'f')
            digit = u - u'a' + 10;
        else
            break;
        value = value * char32_t(base) + char32_t(digit);
        if (value > 0x10FFFF)
            return 0;
    }
    return value;
}

}  // namespace

std::span<const CharacterReferences::Entry> CharacterReferences::entries() {
    return kEntries;
}

char32_t CharacterReferences::namedCodePoint(QStringView name) {
    unsigned sum = 0;
    for (QChar c : name)
        sum += foldAscii(c.unicode());
    const Slot* folded = nullptr;
    for (const Slot& slot : buckets()[sum % BucketCount]) {
        if (qsizetype(slot.folded.size()) != name.size())
            continue;
        bool same = true;
        bool exact = true;
        for (qsizetype i = 0; i < name.size() && same; ++i) {
            same = foldAscii(name[i].unicode()) == char16_t(slot.folded[size_t(i)]);
            exact = exact && name[i].unicode() == char16_t(slot.entry->name[i]);
        }
        if (!same)
            continue;
        if (exact)
            return slot.entry->codePoint;
        if (!folded)
            folded = &slot;
    }
    return folded ? folded->entry->codePoint : 0;
}

QString CharacterReferences::decode(QStringView text) {
    qsizetype amp = text.indexOf(u'&');
    if (amp < 0)
        return text.toString();
    QString out;
    out.reserve(text.size());
    qsizetype copied = 0;
    while (amp >= 0) {
        // The name runs to a ';' within the next nine units, all of them ASCII.
        qsizetype semicolon = -1;
        for (qsizetype i = amp + 1; i < text.size() && i <= amp + 9; ++i) {
            const char16_t u = text[i].unicode();
            if (u >= 0x80)
                break;
            if (u == u';') {
                semicolon = i;
                break;
            }
        }
        char32_t codePoint = 0;
        if (semicolon > amp) {
            const QStringView name = text.sliced(amp + 1, semicolon - amp - 1);
            if (name.startsWith(u'#')) {
                if (name.size() > 1 && foldAscii(name[1].unicode()) == u'x')
                    codePoint = parseNumber(name.sliced(2), 16);
                else
                    codePoint = parseNumber(name.sliced(1), 10);
            } else {
                codePoint = namedCodePoint(name);
            }
        }
        if (codePoint == 0) {
            amp = text.indexOf(u'&', amp + 1);
            continue;
        }
        out += text.sliced(copied, amp - copied);
        if (codePoint < 0x10000) {
            out += QChar(char16_t(codePoint));
        } else {
            out += QChar(char16_t(0xD800 + ((codePoint - 0x10000) >> 10)));
            out += QChar(char16_t(0xDC00 + (codePoint & 0x3FF)));
        }
        copied = semicolon + 1;
        amp = text.indexOf(u'&', copied);
    }
    out += text.sliced(copied);
    return out;
}
