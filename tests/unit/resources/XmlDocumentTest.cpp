#include "resources/XmlDocument.h"

#include <gtest/gtest.h>
#include <QStringList>

namespace {

struct Parsed {
    XmlDocument document;
    bool wellFormed = false;
};

std::unique_ptr<Parsed> parse(const QString& text) {
    auto parsed = std::make_unique<Parsed>();
    parsed->document.setText(text);
    parsed->wellFormed = parsed->document.ParseDocument();
    return parsed;
}

// The first child of the root, selected as the child element.
std::unique_ptr<Parsed> parseAndSelectFirstChild(const QString& text) {
    auto parsed = parse(text);
    parsed->document.Rewind();
    EXPECT_TRUE(parsed->document.NextChildElement());
    return parsed;
}

struct ReportCase {
    const char* text;
    const char* report;
    bool wellFormed;
};

class ParseReport : public ::testing::TestWithParam<ReportCase> {};

TEST_P(ParseReport, DescribesTheFirstProblem) {
    const auto parsed = parse(QString::fromUtf8(GetParam().text));
    EXPECT_EQ(parsed->document.LoadReport().toStdString(), GetParam().report);
    EXPECT_EQ(parsed->wellFormed, GetParam().wellFormed);
}

INSTANTIATE_TEST_SUITE_P(
    XmlDocument, ParseReport,
    ::testing::Values(
        ReportCase{"", "Empty document", false}, ReportCase{"<r a='1'>text<k/></r>", "", true},
        ReportCase{"<a><b></a>", "End tag 'a' at offset 7 does not match start tag 'b' at offset 3",
                   false},
        ReportCase{"<a></b></a>", "No start tag for end tag 'b' at offset 3", false},
        ReportCase{"<a>", "Element 'a' at offset 0 not ended", false},
        ReportCase{"<a/><b/>", "Root element has sibling", false},
        ReportCase{"hello", "No root element", false}, ReportCase{"<1>", "No root element", false},
        ReportCase{"<r><!-- x", "Comment at offset 3 unterminated", false},
        ReportCase{"<r>< a></r>", "Incorrect tag name character at offset 3", false},
        ReportCase{"<r><![X]></r>", "Incorrect tag at offset 3", false},
        ReportCase{"<r><!-x></r>", "Incorrect comment tag at offset 3", false},
        ReportCase{"<r><!Q></r>", "Incorrect ! tag at offset 3", false},
        ReportCase{"<r></r", "Element end tag at offset 3 unterminated", false},
        ReportCase{"<r><x y='>", "Element tag at offset 3 unterminated", false},
        ReportCase{"<r><![CDATA[x</r>", "CDATA Section at offset 3 unterminated", false},
        ReportCase{"<r><?pi x</r>", "Processing instruction at offset 3 unterminated", false},
        ReportCase{"<r/><!DOCTYPE r [<!ENTITY x 'a>", "Doctype at offset 4 unterminated", false},
        ReportCase{"<r><", "tag at offset 3 unterminated", false},
        ReportCase{"<?xml version='1.0'?><!DOCTYPE r [<!ENTITY x 'a>b'><!-- > -->]>"
                   "<!ELEMENT r 'x>'><r><![CDATA[<a>]]><!-- <b> --></r>",
                   "", true}));

// Which element each end tag ends, and the report, on small documents where names repeat,
// share prefixes or have equal lengths: the matching must find the innermost open tag of the
// same name and nothing else.
struct MatchCase {
    const char* text;
    // Each element in index order: its index, the text it spans, "~" when never ended, then
    // "^" and its parent.
    const char* elements;
    const char* report;
};

QString describeElements(const XmlDocument& doc) {
    QStringList parts;
    for (std::int32_t i = 1; i < doc.recordCount(); ++i) {
        const ElementRecord& record = doc.record(i);
        const bool neverEnded = record.flagsAndLevel & XmlDocument::RecordNeverEnded;
        parts << QStringLiteral("%1:%2%3^%4")
                     .arg(i)
                     .arg(doc.text().mid(record.start, record.length),
                          neverEnded ? u"~"_qs : u""_qs)
                     .arg(record.parent);
    }
    return parts.join(u' ');
}

class EndTagMatch : public ::testing::TestWithParam<MatchCase> {};

TEST_P(EndTagMatch, EndsTheInnermostOpenTagOfTheSameName) {
    const auto parsed = parse(QString::fromUtf8(GetParam().text));
    EXPECT_EQ(describeElements(parsed->document).toStdString(), GetParam().elements);
    EXPECT_EQ(parsed->document.LoadReport().toStdString(), GetParam().report);
}

INSTANTIATE_TEST_SUITE_P(
    XmlDocument, EndTagMatch,
    ::testing::Values(
        MatchCase{"<a><b><a><c></a></b></a>",
                  "1:<a><b><a><c></a></b></a>^0 2:<b><a><c></a></b>^1 3:<a><c></a>^2 4:<c>~^3",
                  "End tag 'a' at offset 13 does not match start tag 'c' at offset 9"},
        MatchCase{"<ab><cd></ab>", "1:<ab><cd></ab>^0 2:<cd>~^1",
                  "End tag 'ab' at offset 9 does not match start tag 'cd' at offset 4"},
        MatchCase{"<a><ab></a></ab>", "1:<a><ab></a>^0 2:<ab>~^1",
                  "End tag 'a' at offset 8 does not match start tag 'ab' at offset 3"},
        MatchCase{"<ab><a></ab>", "1:<ab><a></ab>^0 2:<a>~^1",
                  "End tag 'ab' at offset 8 does not match start tag 'a' at offset 4"},
        MatchCase{"<abcX><abcY></abcX>", "1:<abcX><abcY></abcX>^0 2:<abcY>~^1",
                  "End tag 'abcX' at offset 13 does not match start tag 'abcY' at offset 6"},
        MatchCase{"<r><x></y></x></r>", "1:<r><x></y></x></r>^0 2:<x></y></x>^1",
                  "No start tag for end tag 'y' at offset 6"},
        MatchCase{"<a><a></a></a></a>", "1:<a><a></a></a>^0 2:<a></a>^1",
                  "No start tag for end tag 'a' at offset 14"},
        // y is closed by </x>, so </y> finds no open y.
        MatchCase{"<r><x><y></x></y></r>", "1:<r><x><y></x></y></r>^0 2:<x><y></x>^1 3:<y>~^2",
                  "End tag 'x' at offset 10 does not match start tag 'y' at offset 6"},
        MatchCase{"<x><a><x><a></x></a></x>",
                  "1:<x><a><x><a></x></a></x>^0 2:<a><x><a></x></a>^1 3:<x><a></x>^2 4:<a>~^3",
                  "End tag 'x' at offset 13 does not match start tag 'a' at offset 9"},
        MatchCase{"<k a='1'><k/><k></k ></k/>",
                  "1:<k a='1'><k/><k></k ></k/>^0 2:<k/>^1 3:<k></k >^1", ""},
        MatchCase{"<a><b></c>", "1:<a>~^0 2:<b>~^0", "Root element has sibling"}));

TEST(XmlDocument, FreshDocumentReportsEmpty) {
    XmlDocument document;
    EXPECT_EQ(document.LoadReport(), "Empty document");
    EXPECT_FALSE(document.NextElement());
}

TEST(XmlDocument, MismatchedEndTagClosesInnerElementAsNeverEnded) {
    const auto parsed = parse("<a><b></a>");
    const XmlDocument& doc = parsed->document;
    ASSERT_EQ(doc.recordCount(), 3);
    EXPECT_EQ(doc.record(1).length, 10);
    EXPECT_EQ(doc.endTagLength(1), 4);
    EXPECT_FALSE(doc.record(1).flagsAndLevel & XmlDocument::RecordNeverEnded);
    EXPECT_TRUE(doc.record(2).flagsAndLevel & XmlDocument::RecordNeverEnded);
    EXPECT_EQ(doc.record(2).length, 3);
    EXPECT_EQ(doc.record(2).parent, 1);
    EXPECT_TRUE(doc.record(0).flagsAndLevel & XmlDocument::RecordNotWellFormed);
}

TEST(XmlDocument, ChildrenOfNeverEndedElementFollowItAsSiblings) {
    // a is never ended: b and c move up to r, after a, and r's last-child link follows them.
    const auto parsed = parse("<r><a><b/><c><d/></c></r>");
    const XmlDocument& doc = parsed->document;
    EXPECT_TRUE(parsed->wellFormed == false);
    const std::int32_t r = 1, a = 2, b = 3, c = 4, d = 5;
    EXPECT_EQ(doc.record(r).firstChild, a);
    EXPECT_EQ(doc.record(a).nextSibling, b);
    EXPECT_EQ(doc.record(b).nextSibling, c);
    EXPECT_EQ(doc.record(c).nextSibling, 0);
    EXPECT_EQ(doc.record(a).previousSibling, c);
    EXPECT_EQ(doc.record(b).previousSibling, a);
    EXPECT_EQ(doc.record(a).firstChild, 0);
    for (std::int32_t moved : {b, c})
        EXPECT_EQ(doc.record(moved).parent, r);
    EXPECT_FALSE(doc.record(b).flagsAndLevel & XmlDocument::RecordFirstChild);
    EXPECT_EQ(doc.record(d).parent, c);
    EXPECT_EQ(doc.record(r).length, 25);
}

TEST(XmlDocument, UnclosedNestingEndsUpFlatAtTheDocumentLevel) {
    // Closing every open tag at the end moves each one's children up; deep unclosed nesting
    // must stay linear, so this takes no time.
    QString text;
    const int depth = 200000;
    for (int i = 0; i < depth; ++i)
        text += QStringLiteral("<a>");
    const auto parsed = parse(text);
    const XmlDocument& doc = parsed->document;
    EXPECT_EQ(doc.LoadReport(), "Root element has sibling");
    ASSERT_EQ(doc.recordCount(), depth + 1);
    for (std::int32_t i = 1; i <= depth; i += 997) {
        EXPECT_EQ(doc.record(i).parent, 0);
        EXPECT_EQ(doc.record(i).nextSibling, i < depth ? i + 1 : 0);
    }
    EXPECT_EQ(doc.record(1).previousSibling, depth);
}

TEST(XmlDocument, MillionLevelsDeepParsesWithLevelsHeldInTheirField) {
    const int depth = 1000000;
    QString text;
    text.reserve(depth * 7);
    for (int i = 0; i < depth; ++i)
        text += QStringLiteral("<a>");
    for (int i = 0; i < depth; ++i)
        text += QStringLiteral("</a>");
    const auto parsed = parse(text);
    const XmlDocument& doc = parsed->document;
    EXPECT_TRUE(parsed->wellFormed);
    ASSERT_EQ(doc.recordCount(), depth + 1);
    const ElementRecord& innermost = doc.record(depth);
    EXPECT_EQ(innermost.flagsAndLevel & 0xFFFF, XmlDocument::MaxLevel);
    EXPECT_EQ(innermost.flagsAndLevel & ~0xFFFF, XmlDocument::RecordFirstChild);
    EXPECT_EQ(innermost.parent, depth - 1);
    EXPECT_EQ(doc.record(1).length, text.size());
}

TEST(XmlDocument, IndexSpansBlocks) {
    const int keys = XmlDocument::BlockSize + 5000;
    QString text = u"<r>"_qs;
    for (int i = 0; i < keys; ++i)
        text += QStringLiteral("<k n='%1'/>").arg(i);
    text += QStringLiteral("</r>");
    auto parsed = parse(text);
    XmlDocument& doc = parsed->document;
    ASSERT_TRUE(parsed->wellFormed);
    doc.Rewind();
    int seen = 0;
    while (doc.NextChildElement(u"k")) {
        if (seen == XmlDocument::BlockSize + 17) {
            EXPECT_EQ(doc.ChildAttribute(u"n"), QString::number(seen));
        }
        ++seen;
    }
    EXPECT_EQ(seen, keys);
}

TEST(XmlDocument, TagsLongerThanTheirLengthFieldsKeepTheirLengths) {
    const QString value(5000000, u'v');
    const QString endPadding(2000, u' ');
    auto parsed = parse(u"<r><k a='"_qs + value + QStringLiteral("'>text</k") + endPadding +
                        QStringLiteral("><m/></r>"));
    XmlDocument& doc = parsed->document;
    ASSERT_TRUE(parsed->wellFormed);
    EXPECT_EQ(doc.startTagLength(2), 5000000 + 8);
    EXPECT_EQ(doc.endTagLength(2), 2004);
    doc.Rewind();
    ASSERT_TRUE(doc.NextChildElement(u"k"));
    EXPECT_EQ(doc.ChildText(), "text");
    EXPECT_EQ(doc.ChildAttribute(u"a").size(), value.size());
    EXPECT_TRUE(doc.NextChildElement(u"m"));
}

TEST(XmlDocument, NavigationWalksLevelsAndKeepsPositionsOnFailure) {
    auto parsed = parse("<r><a><x/></a><key/><keyboard/><key id='2'/></r>");
    XmlDocument& doc = parsed->document;

    doc.Rewind();
    EXPECT_FALSE(doc.NextChildElement(u"none"));
    EXPECT_EQ(doc.currentPosition(), 0);  // not even the root stays selected

    // After Rewind the root is selected first, then its children are searched.
    EXPECT_TRUE(doc.NextChildElement(u"key"));
    EXPECT_EQ(doc.currentPosition(), 1);
    EXPECT_EQ(doc.childPosition(), 4);
    EXPECT_TRUE(doc.NextChildElement(u"key"));  // keyboard is another name
    EXPECT_EQ(doc.ChildAttribute(u"id"), "2");
    EXPECT_FALSE(doc.NextChildElement(u"key"));
    EXPECT_EQ(doc.childPosition(), 6);

    doc.Rewind();
    EXPECT_TRUE(doc.NextChildElement(u"a"));
    EXPECT_TRUE(doc.EnterElement());
    EXPECT_EQ(doc.currentPosition(), 2);
    EXPECT_TRUE(doc.NextChildElement());
    EXPECT_EQ(doc.childPosition(), 3);
    EXPECT_EQ(doc.tagName(doc.childPosition()), u"x");

    // A name may carry more after a space, "=", "/", "[" or "]".
    doc.Rewind();
    EXPECT_TRUE(doc.NextChildElement(u"keyboard/x"));
    EXPECT_EQ(doc.tagName(doc.childPosition()), u"keyboard");
}

TEST(XmlDocument, NextElementWalksTopLevelSiblings) {
    auto parsed = parse("<a/><b/>");
    XmlDocument& doc = parsed->document;
    doc.Rewind();
    EXPECT_TRUE(doc.NextElement());
    EXPECT_EQ(doc.tagName(doc.currentPosition()), u"a");
    EXPECT_TRUE(doc.NextElement(u"b"));
    EXPECT_FALSE(doc.NextElement());
    EXPECT_EQ(doc.tagName(doc.currentPosition()), u"b");
}

TEST(XmlDocument, EmptyElementNeedsTheSlashOutsideAValue) {
    // In <k x=1/> the slash belongs to the value, so k stays open and holds m.
    auto parsed = parse("<r><k x=1/><m/></k><n x='1'/><o/></r>");
    XmlDocument& doc = parsed->document;
    EXPECT_TRUE(parsed->wellFormed);
    doc.Rewind();
    ASSERT_TRUE(doc.NextChildElement(u"k"));
    EXPECT_EQ(doc.ChildAttribute(u"x"), "1/");
    EXPECT_NE(doc.record(doc.childPosition()).firstChild, 0);
    EXPECT_TRUE(doc.NextChildElement(u"n"));
    EXPECT_TRUE(doc.NextChildElement(u"o"));
}

TEST(XmlDocument, ChildAttributeReadsEveryValueForm) {
    auto parsed = parseAndSelectFirstChild(
        "<r><k a=\"1\" b='x\"y' c=z d e = \"sp ace\" g='1>2' h=\"&amp;&#65;&#x42;&foo;x\" "
        "i='&AMP;' j='&thetasyms;'/></r>");
    const XmlDocument& doc = parsed->document;
    const std::pair<const char16_t*, const char*> cases[] = {
        {u"a", "1"},           {u"b", "x\"y"},   {u"c", "z"},         {u"d", "d"},
        {u"e", "sp ace"},      {u"g", "1>2"},    {u"h", "&AB&foo;x"}, {u"i", "&"},
        {u"j", "&thetasyms;"}, {u"missing", ""}, {u"k", ""},
    };
    for (const auto& [name, value] : cases)
        EXPECT_EQ(doc.ChildAttribute(name).toStdString(), value)
            << QString::fromUtf16(name).toStdString();
}

TEST(XmlDocument, ChildAttributeNeedsAChild) {
    auto parsed = parse("<r a='1'/>");
    XmlDocument& doc = parsed->document;
    doc.Rewind();
    doc.NextElement();
    EXPECT_EQ(doc.ChildAttribute(u"a"), "");
}

TEST(XmlDocument, ChildTextJoinsTextAndCDataOnly) {
    const std::pair<const char*, const char*> cases[] = {
        {"<r><k>a<!--c-->b<![CDATA[<x>]]></k></r>", "ab<x>"},
        {"<r><k><m/>t</k></r>", ""},
        {"<r><k/></r>", ""},
        {"<r><k>x &lt; y &#x1F600;</k></r>", "x < y \U0001F600"},
        {"<r><k>a<?pi?> <![CDATA[]]>b</k></r>", "ab"},
        {"<r><k>  </k></r>", "  "},
    };
    for (const auto& [text, expected] : cases) {
        auto parsed = parseAndSelectFirstChild(QString::fromUtf8(text));
        EXPECT_EQ(parsed->document.ChildText().toStdString(), expected) << text;
    }
}

}  // namespace
