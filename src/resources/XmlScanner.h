#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// One node of XML text, as the scanner cuts it. Offsets count UTF-16 units from the start
// of the scanned text.
struct XmlNode {
    enum Kind : int {
        EndTag = 0,
        StartTag = 1,
        Text = 2,
        Whitespace = 4,
        CData = 8,
        ProcessingInstruction = 16,
        Comment = 32,
        Declaration = 64,
        Malformed = -1,
        EndOfText = -2,
    };

    Kind kind = EndOfText;
    qsizetype start = 0;
    qsizetype end = 0;  // one past the node's last unit
    // Tags and processing instructions: the name runs from nameStart to nameEnd.
    qsizetype nameStart = 0;
    qsizetype nameEnd = 0;
    bool empty = false;  // a start tag closed by "/>"
    QString error;       // malformed nodes only
};

// Cuts XML text into nodes, one at a time, and reads names and attributes inside tags.
// Everything is bounded by the text given; nothing recurses.
class XmlScanner {
public:
    // The node that starts at position (EndOfText at or past the end).
    static XmlNode scan(QStringView text, qsizetype position);

    static bool isSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }
    // Names end at whitespace, "/" or ">" (or the end of the text).
    static qsizetype nameEnd(QStringView text, qsizetype from);

    // Whether a name read from the text matches the name asked for: equal units over the
    // name's length, after which the asked-for name ends or goes on with one of " =/[]".
    // noCase folds ASCII letters until two equal units from U+0080 up have been passed.
    static bool namesMatch(QStringView found, QStringView wanted, bool noCase);
    static bool equalNoCase(QStringView a, QStringView b);

    // The raw value of the named attribute in the inside of a tag (from just after "<", or
    // after "<?" for a processing instruction, to the tag's end): the text between its
    // quotes, its unquoted value, or its own name when it has no "=". The first token (the
    // tag's name) is passed over. Nothing when there is no such attribute.
    static std::optional<QStringView> attributeValue(QStringView tagInside, QStringView name,
                                                     bool noCase);
};
