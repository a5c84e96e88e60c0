#include "platform/CodePage.h"

#include <iconv.h>
#include <cerrno>
#include <cstring>
#include <utility>

#include <QSysInfo>

namespace {

// Code pages without an entry use the default code page: glibc has no converter for them
// (720, the Mac Arabic/Hebrew/Greek/Turkish and CJK pages, 20000, 20833, 20838, 29001,
// 52936, the ISCII pages).
constexpr std::pair<int, const char*> kConverters[] = {
    {37, "IBM037"},
    {420, "IBM420"},
    {437, "IBM437"},
    {708, "ASMO-708"},
    {737, "CP737"},
    {775, "CP775"},
    {850, "IBM850"},
    {852, "IBM852"},
    {857, "IBM857"},
    {861, "IBM861"},
    {862, "IBM862"},
    {866, "IBM866"},
    {869, "IBM869"},
    {870, "IBM870"},
    {874, "CP874"},
    {875, "IBM875"},
    {932, "CP932"},
    {936, "CP936"},
    {949, "CP949"},
    {950, "CP950"},
    {1026, "IBM1026"},
    {1140, "IBM1140"},
    {1141, "IBM1141"},
    {1142, "IBM1142"},
    {1143, "IBM1143"},
    {1144, "IBM1144"},
    {1145, "IBM1145"},
    {1146, "IBM1146"},
    {1147, "IBM1147"},
    {1148, "IBM1148"},
    {1149, "IBM1149"},
    {1200, "UTF-16LE"},
    {1201, "UTF-16BE"},
    {1250, "CP1250"},
    {1251, "CP1251"},
    {1252, "CP1252"},
    {1253, "CP1253"},
    {1254, "CP1254"},
    {1255, "CP1255"},
    {1256, "CP1256"},
    {1257, "CP1257"},
    {1258, "CP1258"},
    {1361, "JOHAB"},
    {10000, "MACINTOSH"},
    {10007, "MAC-CYRILLIC"},
    {10029, "MAC-CENTRALEUROPE"},
    {10079, "MAC-IS"},
    {20002, "BIG5"},
    {20105, "ISO_646.IRV:1991"},
    {20106, "ISO646-DE"},
    {20107, "ISO646-SE"},
    {20108, "ISO646-NO"},
    {20127, "ANSI_X3.4-1968"},
    {20273, "IBM273"},
    {20277, "IBM277"},
    {20278, "IBM278"},
    {20280, "IBM280"},
    {20284, "IBM284"},
    {20285, "IBM285"},
    {20290, "IBM290"},
    {20423, "IBM423"},
    {20424, "IBM424"},
    {20866, "KOI8-R"},
    {20873, "IBM871"},
    {20880, "IBM880"},
    {20905, "IBM905"},
    {21025, "IBM1025"},
    {21866, "KOI8-U"},
    {28591, "ISO-8859-1"},
    {28592, "ISO-8859-2"},
    {28593, "ISO-8859-3"},
    {28594, "ISO-8859-4"},
    {28595, "ISO-8859-5"},
    {28596, "ISO-8859-6"},
    {28597, "ISO-8859-7"},
    {28598, "ISO-8859-8"},
    {28599, "ISO-8859-9"},
    {28605, "ISO-8859-15"},
    {38598, "ISO-8859-8"},
    {50220, "ISO-2022-JP"},
    {50221, "ISO-2022-JP"},
    {50222, "ISO-2022-JP"},
    {50225, "ISO-2022-KR"},
    {50930, "IBM930"},
    {50933, "IBM933"},
    {50935, "IBM935"},
    {50937, "IBM937"},
    {50939, "IBM939"},
    {51932, "EUC-JP"},
    {51936, "EUC-CN"},
    {51949, "EUC-KR"},
    {65000, "UTF-7"},
    {65001, "UTF-8"},
    // Without a mark glibc reads UTF-32 as big-endian.
    {65005, "UTF-32"},
};

const char* findConverter(int codePage) {
    for (const auto& [page, name] : kConverters)
        if (page == codePage)
            return name;
    return nullptr;
}

const char* hostUtf16() {
    return QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE";
}

}  // namespace

QByteArray CodePage::converterName(int codePage) {
    const char* name = findConverter(codePage);
    return name ? QByteArray(name) : QByteArray();
}

int CodePage::effectiveCodePage(int codePage) {
    return findConverter(codePage) ? codePage : DefaultCodePage;
}

QString CodePage::toUnicode(int codePage, QByteArrayView bytes) {
    codePage = effectiveCodePage(codePage);
    if (codePage == 65001)
        return QString::fromUtf8(bytes);
    return toUnicode(findConverter(codePage), bytes);
}

QString CodePage::toUnicode(const char* converter, QByteArrayView bytes) {
    iconv_t cd = iconv_open(hostUtf16(), converter);
    if (cd == iconv_t(-1)) {
        converter = findConverter(DefaultCodePage);
        cd = iconv_open(hostUtf16(), converter);
    }
    if (cd == iconv_t(-1))
        return QString::fromLatin1(bytes);
    // Windows-1252 leaves five bytes undefined; glibc rejects them, where the system's own
    // converter gives the C1 control of the same value.
    const bool windows1252 = std::strcmp(converter, findConverter(1252)) == 0;
    auto isWindows1252Gap = [](unsigned char byte) {
        return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
    };

    // Most code pages give at most one unit per byte; the buffer grows when one does not.
    QString out(bytes.size() + bytes.size() / 100 + 16, Qt::Uninitialized);
    qsizetype used = 0;
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = size_t(bytes.size());
    // A null input flushes what stateful converters (ISO-2022, UTF-7) still hold.
    auto convert = [&](bool flush) {
        for (;;) {
            char* outPtr = reinterpret_cast<char*>(out.data() + used);
            size_t outLeft = size_t(out.size() - used) * 2;
            const size_t result = flush ? iconv(cd, nullptr, nullptr, &outPtr, &outLeft)
                                        : iconv(cd, &in, &inLeft, &outPtr, &outLeft);
            used = reinterpret_cast<QChar*>(outPtr) - out.data();
            if (result != size_t(-1))
                return;
            if (errno == E2BIG) {
                out.resize(out.size() * 2 + 16);
                continue;
            }
            if (flush)
                return;
            // An unmappable or broken sequence, or one cut off by the end: one replacement
            // character, then carry on after the offending byte.
            if (used == out.size())
                out.resize(out.size() * 2 + 16);
            const auto byte = static_cast<unsigned char>(inLeft > 0 ? *in : 0);
            const bool gap = windows1252 && errno == EILSEQ && isWindows1252Gap(byte);
            out[used++] = gap ? QChar(byte) : QChar(QChar::ReplacementCharacter);
            if (errno != EILSEQ || inLeft == 0) {
                inLeft = 0;
                return;
            }
            ++in;
            --inLeft;
        }
    };
    convert(false);
    convert(true);
    iconv_close(cd);
    out.truncate(used);
    return out;
}

QString CodePage::systemMessage(int error) {
    QString text = QString::fromLocal8Bit(std::strerror(error));
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            text.truncate(i);
            break;
        }
    }
    text.truncate(99);
    return text;
}
