#include "resources/CharacterReferences.h"

#include <gtest/gtest.h>
#include <QSet>

namespace {

TEST(CharacterReferences, TableHoldsHtmlEntitiesPlusApos) {
    const auto entries = CharacterReferences::entries();
    EXPECT_EQ(entries.size(), 253u);
    QSet<QString> folded;
    int pairs = 0;
    for (const auto& entry : entries) {
        const QString name = QString::fromLatin1(entry.name).toLower();
        pairs += folded.contains(name);
        folded.insert(name);
    }
    EXPECT_EQ(pairs, 64);
}

TEST(CharacterReferences, NamesGiveTheirCodePoints) {
    const std::pair<const char16_t*, char32_t> cases[] = {
        {u"amp", 38},       {u"lt", 60},      {u"apos", 39},    {u"nbsp", 160},    {u"yuml", 255},
        {u"Yuml", 376},     {u"oslash", 248}, {u"Oslash", 216}, {u"OSLASH", 216},  {u"AMP", 38},
        {u"thetasym", 977}, {u"euro", 8364},  {u"diams", 9830}, {u"rArr", 8658},   {u"rarr", 8594},
        {u"RARR", 8658},    {u"Prime", 8243}, {u"prime", 8242}, {u"Dagger", 8225}, {u"sigmaf", 962},
        {u"foo", 0},        {u"", 0},
    };
    for (const auto& [name, codePoint] : cases)
        EXPECT_EQ(CharacterReferences::namedCodePoint(name), codePoint)
            << QString::fromUtf16(name).toStdString();
}

TEST(CharacterReferences, DecodeLeavesWhatIsNoCharacterAsWritten) {
    const std::pair<const char*, const char*> cases[] = {
        {"&amp;&#65;&#x42;&foo;x", "&AB&foo;x"},
        {"&AMP;&#X43;", "&C"},
        {"&eacute;&Eacute;", "\u00e9\u00c9"},
        {"&#x1F600;", "\U0001F600"},
        {"&#0;&#x;&#-5;&#1114112;&#65", "&#0;&#x;&#-5;&#1114112;&#65"},
        {"&thetasyms;&amp", "&thetasyms;&amp"},
        {"&am\u00e9;", "&am\u00e9;"},
        {"&&amp;", "&&"},
        {"no references", "no references"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(CharacterReferences::decode(QString::fromUtf8(text)).toStdString(), expected)
            << text;
}

}  // namespace
