#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

// How the encoding of an XML file is found before its text is converted.

// The encoding an XML declaration or an HTML meta element names, or empty. Only the text's
// first nodes are examined: an XML declaration before any tag, or the meta elements at the
// start of an html element's head.
QString ScanEncodingDeclaration(QStringView text);

// Whether bytes look like UTF-8: every lead byte is followed by as many bytes with the top
// bit set as its bits promise. Stops at the first zero byte.
bool PassesUtf8Test(QByteArrayView bytes);

// A file whose first bytes are "<" in a 16- or 32-bit Unicode encoding, told by where the
// zero bytes fall. Empty when the bytes are not laid out that way.
const char* WideLayoutOf(QByteArrayView firstBytes);

// The bytes per unit, 2 or 4, of the 16- or 32-bit Unicode encoding an encoding name means
// in any spelling ("UTF-16", "utf16", "unicode", "unicodeFFFE", "UTF-32", "utf_32be", ...);
// 0 for every other name.
int WideUnitSize(QStringView encodingName);

// The iconv converter for an encoding name that means a 16- or 32-bit Unicode encoding, its
// byte order taken from the name, else from the file's layout, else little-endian. Null for
// every other name.
const char* WideConverterFor(QStringView encodingName, const char* layout);
