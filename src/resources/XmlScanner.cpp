#include "resources/XmlScanner.h"

namespace {

QString at(const char* what, qsizetype offset) {
    return QString::fromLatin1(what) + QStringLiteral(" at offset ") + QString::number(offset);
}

QString incorrect(const char* what, qsizetype offset) {
    return QStringLiteral("Incorrect ") + at(what, offset);
}

QString unterminated(const char* kind, qsizetype offset) {
    return at(kind, offset) + QStringLiteral(" unterminated");
}

char16_t foldAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
}

bool isQuote(char16_t c) {
    return c == u'"' || c == u'\'';
}

// The first occurrence of a short terminator ("-->", "?>", "]]>") at or after from; the search
// runs on its first unit, which the library finds with vector instructions.
qsizetype findTerminator(QStringView t, qsizetype from, QStringView terminator) {
    const QChar first = terminator.front();
    for (qsizetype i = t.indexOf(first, from); i >= 0; i = t.indexOf(first, i + 1))
        if (t.sliced(i).startsWith(terminator))
            return i;
    return -1;
}

// The first ">" at or after from that is not inside a quoted string; -1 when there is none.
qsizetype declarationEnd(QStringView t, qsizetype from) {
    const char16_t* d = t.utf16();
    for (qsizetype i = from; i < t.size(); ++i) {
        if (d[i] == u'>')
            return i;
        if (isQuote(d[i])) {
            i = t.indexOf(QChar(d[i]), i + 1);
            if (i < 0)
                return -1;
        }
    }
    return -1;
}

// The ">" that ends a DOCTYPE, passing over the declarations and comments inside it.
qsizetype doctypeEnd(QStringView t, qsizetype from) {
    const char16_t* d = t.utf16();
    const qsizetype n = t.size();
    for (qsizetype i = from; i < n; ++i) {
        if (d[i] == u'>')
            return i;
        if (d[i] != u'<' || i + 2 >= n || d[i + 1] != u'!')
            continue;
        const char16_t kind = d[i + 2];
        if (kind == u'E' || kind == u'A' || kind == u'N') {
            i = declarationEnd(t, i + 2);
        } else if (kind == u'-' && i + 3 < n && d[i + 3] == u'-') {
            i = findTerminator(t, i + 4, u"-->");
            if (i >= 0)
                i += 2;
        } else {
            continue;
        }
        if (i < 0)
            return -1;
    }
    return -1;
}

}  // namespace

qsizetype XmlScanner::nameEnd(QStringView text, qsizetype from) {
    const char16_t* d = text.utf16();
    qsizetype i = from;
    while (i < text.size() && !isSpace(d[i]) && d[i] != u'/' && d[i] != u'>')
        ++i;
    return i;
}

XmlNode XmlScanner::scan(QStringView t, qsizetype p) {
    XmlNode node;
    const qsizetype n = t.size();
    if (p >= n) {
        node.start = node.end = n;
        return node;
    }
    node.start = p;
    const char16_t* d = t.utf16();

    if (d[p] != u'<') {
        qsizetype i = p;
        while (i < n && isSpace(d[i]))
            ++i;
        if (i == n || d[i] == u'<') {
            node.kind = XmlNode::Whitespace;
            node.end = i;
            return node;
        }
        node.kind = XmlNode::Text;
        for (; i < n; ++i) {
            if (d[i] == u'<')
                break;
            if (d[i] == u'>') {
                ++i;
                break;
            }
        }
        node.end = i;
        return node;
    }

    auto unit = [&](qsizetype i) -> char16_t { return i < n ? d[i] : u'\0'; };
    // Ends the node just after a terminator found at found (of length termLength), or makes
    // it malformed when the text ran out first.
    auto finish = [&](XmlNode::Kind kind, qsizetype found, qsizetype termLength,
                      const char* kindName) {
        if (found < 0) {
            node.kind = XmlNode::Malformed;
            node.end = n;
            node.error = unterminated(kindName, p);
        } else {
            node.kind = kind;
            node.end = found + termLength;
        }
        return node;
    };
    auto malformed = [&](QString error) {
        node.kind = XmlNode::Malformed;
        node.error = std::move(error);
        qsizetype i = p + 1;
        while (i < n && d[i] != u'<' && d[i] != u'>')
            ++i;
        if (i == n) {
            node.end = n;
            node.error = unterminated("tag", p);
        } else {
            node.end = d[i] == u'>' ? i + 1 : i;
        }
        return node;
    };

    const char16_t c1 = unit(p + 1);
    if (c1 == u'/') {
        node.nameStart = p + 2;
        node.nameEnd = nameEnd(t, p + 2);
        return finish(XmlNode::EndTag, t.indexOf(u'>', node.nameEnd), 1, "Element end tag");
    }
    if (c1 == u'?') {
        node.nameStart = p + 2;
        node.nameEnd = nameEnd(t, p + 2);
        return finish(XmlNode::ProcessingInstruction, findTerminator(t, p + 2, u"?>"), 2,
                      "Processing instruction");
    }
    if (c1 == u'!') {
        const char16_t c2 = unit(p + 2);
        if (c2 == u'-') {
            if (unit(p + 3) != u'-')
                return malformed(incorrect("comment tag", p));
            return finish(XmlNode::Comment, findTerminator(t, p + 4, u"-->"), 3, "Comment");
        }
        if (c2 == u'[') {
            if (unit(p + 3) != u'C')
                return malformed(incorrect("tag", p));
            return finish(XmlNode::CData, findTerminator(t, p + 3, u"]]>"), 3, "CDATA Section");
        }
        if (c2 == u'D')
            return finish(XmlNode::Declaration, doctypeEnd(t, p + 2), 1, "Doctype");
        if (c2 == u'E' || c2 == u'A' || c2 == u'N')
            return finish(XmlNode::Declaration, declarationEnd(t, p + 2), 1, "Doctype");
        return malformed(incorrect("! tag", p));
    }
    if (!((c1 >= u'A' && c1 <= u'Z') || c1 == u':' || c1 == u'_' || c1 >= u'a'))
        return malformed(incorrect("tag name character", p));

    // Start tag: the first ">" outside a quoted value; a quote opens a value only after "=".
    node.nameStart = p + 1;
    node.nameEnd = nameEnd(t, p + 1);
    qsizetype i = node.nameEnd;
    while (i < n) {
        const char16_t c = d[i];
        if (c == u'>') {
            const qsizetype slash = i - 1;
            node.empty = d[slash] == u'/' &&
                         (slash == node.nameEnd || isSpace(d[slash - 1]) || isQuote(d[slash - 1]));
            return finish(XmlNode::StartTag, i, 1, "Element tag");
        }
        ++i;
        if (c != u'=')
            continue;
        while (i < n && isSpace(d[i]))
            ++i;
        if (i < n && isQuote(d[i])) {
            const char16_t quote = d[i];
            ++i;
            while (i < n && d[i] != quote)
                ++i;
            if (i == n)
                break;
            ++i;
        } else {
            while (i < n && !isSpace(d[i]) && d[i] != u'>')
                ++i;
        }
    }
    return finish(XmlNode::StartTag, -1, 1, "Element tag");
}

bool XmlScanner::namesMatch(QStringView found, QStringView wanted, bool noCase) {
    if (wanted.size() < found.size())
        return false;
    bool exact = !noCase;
    for (qsizetype i = 0; i < found.size(); ++i) {
        char16_t a = found[i].unicode();
        char16_t b = wanted[i].unicode();
        if (!exact) {
            a = foldAscii(a);
            b = foldAscii(b);
        }
        if (a != b)
            return false;
        if (a >= 0x80)
            exact = true;
    }
    if (wanted.size() == found.size())
        return true;
    const char16_t next = wanted[found.size()].unicode();
    return next == u' ' || next == u'=' || next == u'/' || next == u'[' || next == u']';
}

bool XmlScanner::equalNoCase(QStringView a, QStringView b) {
    return a.size() == b.size() && namesMatch(a, b, true);
}

std::optional<QStringView> XmlScanner::attributeValue(QStringView tag, QStringView name,
                                                      bool noCase) {
    const char16_t* d = tag.utf16();
    const qsizetype n = tag.size();
    auto isNameStop = [](char16_t c) {
        return isSpace(c) || c == u'=' || c == u'>' || c == u'/' || c == u'?';
    };
    auto skipSpace = [&](qsizetype i) {
        while (i < n && isSpace(d[i]))
            ++i;
        return i;
    };

    qsizetype i = skipSpace(0);
    while (i < n && !isNameStop(d[i]))
        ++i;

    // An attribute name stays pending until the next token shows whether "=" follows it.
    std::optional<QStringView> pending;
    bool afterEquals = false;
    auto pendingMatches = [&] { return pending && namesMatch(*pending, name, noCase); };
    for (;;) {
        i = skipSpace(i);
        if (i >= n)
            break;
        const char16_t c = d[i];
        if (afterEquals) {
            afterEquals = false;
            QStringView value;
            if (isQuote(c)) {
                qsizetype close = tag.indexOf(QChar(c), i + 1);
                if (close < 0)
                    close = n;
                value = tag.sliced(i + 1, close - i - 1);
                i = close + 1;
            } else {
                qsizetype j = i;
                while (j < n && !isSpace(d[j]) && d[j] != u'>')
                    ++j;
                value = tag.sliced(i, j - i);
                i = j;
            }
            if (pendingMatches())
                return value;
            pending.reset();
            continue;
        }
        if (c == u'=') {
            afterEquals = true;
            if (!pending)
                pending = QStringView();
            ++i;
            continue;
        }
        if (pendingMatches())
            return pending;
        pending.reset();
        if (isQuote(c)) {
            const qsizetype close = tag.indexOf(QChar(c), i + 1);
            i = close < 0 ? n : close + 1;
            continue;
        }
        if (c == u'/' || c == u'>' || c == u'?')
            break;
        qsizetype j = i;
        while (j < n && !isNameStop(d[j]))
            ++j;
        pending = tag.sliced(i, j - i);
        i = j;
    }
    if (!afterEquals && pendingMatches())
        return pending;
    return std::nullopt;
}
