#include "resources/XmlEncoding.h"

#include "resources/CharsetTable.h"
#include "resources/XmlScanner.h"

#include <cstring>

namespace {

// The token after "charset" "=" in a meta element's content value.
QString charsetOf(QStringView content) {
    auto isSeparator = [](char16_t c) {
        return XmlScanner::isSpace(c) || c == u'<' || c == u'>' || c == u'\\' || c == u'/' ||
               c == u'?' || c == u'!' || c == u'"' || c == u'\'' || c == u';';
    };
    qsizetype i = 0;
    auto nextToken = [&]() -> QStringView {
        while (i < content.size() && isSeparator(content[i].unicode()))
            ++i;
        if (i >= content.size())
            return {};
        const qsizetype start = i;
        if (content[i] == u'=')
            return content.sliced(start, ++i - start);
        while (i < content.size() && !isSeparator(content[i].unicode()) && content[i] != u'=')
            ++i;
        return content.sliced(start, i - start);
    };
    for (QStringView token = nextToken(); !token.isEmpty(); token = nextToken()) {
        if (!XmlScanner::equalNoCase(token, u"charset"))
            continue;
        const qsizetype afterCharset = i;
        if (nextToken() == u"=")
            return nextToken().toString();
        i = afterCharset;
    }
    return {};
}

}  // namespace

QString ScanEncodingDeclaration(QStringView text) {
    bool tagSeen = false;
    bool instructionSeen = false;
    bool htmlSeen = false;
    for (qsizetype position = 0;;) {
        const XmlNode node = XmlScanner::scan(text, position);
        position = node.end;
        const QStringView name = text.sliced(node.nameStart, node.nameEnd - node.nameStart);
        switch (node.kind) {
            case XmlNode::EndOfText:
            case XmlNode::Malformed:
                return {};
            case XmlNode::ProcessingInstruction:
                if (!tagSeen && !instructionSeen) {
                    instructionSeen = true;
                    if (XmlScanner::equalNoCase(name, u"xml")) {
                        const QStringView inside =
                            text.sliced(node.nameStart, node.end - node.nameStart);
                        const auto value = XmlScanner::attributeValue(inside, u"encoding", true);
                        return value ? value->toString() : QString();
                    }
                }
                break;
            case XmlNode::EndTag:
                tagSeen = true;
                if (XmlScanner::equalNoCase(name, u"head"))
                    return {};
                break;
            case XmlNode::StartTag: {
                tagSeen = true;
                if (!htmlSeen) {
                    if (!XmlScanner::equalNoCase(name, u"html"))
                        return {};
                    htmlSeen = true;
                    break;
                }
                if (!XmlScanner::equalNoCase(name, u"meta"))
                    break;
                const QStringView inside = text.sliced(node.start + 1, node.end - node.start - 1);
                const auto equiv = XmlScanner::attributeValue(inside, u"http-equiv", true);
                if (!equiv || !XmlScanner::equalNoCase(*equiv, u"Content-Type"))
                    break;
                const auto content = XmlScanner::attributeValue(inside, u"content", true);
                return content ? charsetOf(*content) : QString();
            }
            default:
                break;
        }
    }
}

bool PassesUtf8Test(QByteArrayView bytes) {
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const auto lead = static_cast<unsigned char>(bytes[i++]);
        if (lead == 0)
            return true;
        if (lead < 0x80)
            continue;
        int following;
        if (!(lead & 0x20))
            following = 1;
        else if (!(lead & 0x10))
            following = 2;
        else if (!(lead & 0x08))
            following = 3;
        else
            return false;
        for (; following > 0; --following, ++i)
            if (i >= n || !(static_cast<unsigned char>(bytes[i]) & 0x80))
                return false;
    }
    return true;
}

const char* WideLayoutOf(QByteArrayView b) {
    if (b.size() < 4)
        return nullptr;
    const bool z0 = b[0] == 0, z1 = b[1] == 0, z2 = b[2] == 0, z3 = b[3] == 0;
    if (z0 && z1 && z2 && b[3] == '<')
        return "UTF-32BE";
    if (b[0] == '<' && z1 && z2 && z3)
        return "UTF-32LE";
    if (z0 && b[1] == '<' && z2 && !z3)
        return "UTF-16BE";
    if (b[0] == '<' && z1 && !z2 && z3)
        return "UTF-16LE";
    return nullptr;
}

int WideUnitSize(QStringView name) {
    const int codePage = CharsetTable::codePage(name);
    if (codePage == 65005)
        return 4;
    if (codePage == 1200 || codePage == 1201)
        return 2;
    // "utf" and the width, with or without a separator between them.
    QString folded = name.toString().toLower();
    folded.remove(u'-').remove(u'_');
    if (folded.startsWith(u"utf32"))
        return 4;
    if (folded.startsWith(u"utf16"))
        return 2;
    return 0;
}

const char* WideConverterFor(QStringView name, const char* layout) {
    const int width = WideUnitSize(name);
    if (width == 0)
        return nullptr;

    const QString folded = name.toString().toLower();
    bool bigEndian = false;
    if (folded.endsWith(u"be") || CharsetTable::codePage(name) == 1201)
        bigEndian = true;
    else if (folded.endsWith(u"le"))
        bigEndian = false;
    else if (layout && std::strlen(layout) == 8 && (layout[4] == '3') == (width == 4))
        bigEndian = layout[6] == 'B';
    if (width == 4)
        return bigEndian ? "UTF-32BE" : "UTF-32LE";
    return bigEndian ? "UTF-16BE" : "UTF-16LE";
}
