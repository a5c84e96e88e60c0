#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Windows code page numbers mapped onto glibc's iconv converters, and the system's error texts.
// Conversion never fails: bytes a converter cannot map become U+FFFD.
class CodePage {
public:
    // What 0 and -1 (and any code page without a converter here) stand for.
    static constexpr int DefaultCodePage = 1252;

    // The iconv name of a code page; empty when glibc has no converter for it.
    static QByteArray converterName(int codePage);
    // The code page actually used for codePage: itself when it has a converter, else the
    // default code page.
    static int effectiveCodePage(int codePage);

    static QString toUnicode(int codePage, QByteArrayView bytes);
    // Converts with an iconv converter given by name; an unknown name falls back to the
    // default code page.
    static QString toUnicode(const char* converter, QByteArrayView bytes);

    // The first line of the system's message for an errno value, at most 99 characters.
    static QString systemMessage(int error);
};
