#include "platform/CodePage.h"

#include <gtest/gtest.h>
#include <cerrno>

namespace {

TEST(CodePage, ConvertsWithTheConverterOfTheCodePage) {
    const std::tuple<int, QByteArray, QString> cases[] = {
        {936, "\xD6\xD0\xCE\xC4", u"\u4E2D\u6587"_qs},
        {932, "\x93\xFA\x96\x7B", u"\u65E5\u672C"_qs},
        {949, "\xC7\xD1", u"\uD55C"_qs},
        {950, "\xA4\xA4", u"\u4E2D"_qs},
        {1251, "\xE9", u"\u0439"_qs},
        {20866, "\xC1", u"\u0430"_qs},
        {437, "\x82", u"\u00E9"_qs},
        {37, "\xC1", u"A"_qs},
        {65001, "\xE2\x82\xAC", u"\u20AC"_qs},
        {50220, "\x1B$B$\"\x1B(B", u"\u3042"_qs},
        {65000, "+AOk-", u"\u00E9"_qs},
        {0, "\x80", u"\u20AC"_qs},
        {-1, "\x80", u"\u20AC"_qs},
        {720, "\x80", u"\u20AC"_qs},
    };
    for (const auto& [codePage, bytes, text] : cases)
        EXPECT_EQ(CodePage::toUnicode(codePage, bytes), text) << codePage;
}

TEST(CodePage, Windows1252GivesItsUndefinedBytesAsC1Controls) {
    // As the system's converter does, wherever 1252 is used: by number, as the default code
    // page, and as the fallback for a converter name that does not exist.
    const QByteArray bytes = "a\x80\x81\x8D\x8F\x90\x9D\x9F\xE9";
    const QString text = u"a\u20AC\u0081\u008D\u008F\u0090\u009D\u0178\u00E9"_qs;
    for (int codePage : {1252, 0, -1, 720})
        EXPECT_EQ(CodePage::toUnicode(codePage, bytes), text) << codePage;
    EXPECT_EQ(CodePage::toUnicode("no-such-converter", bytes), text);
}

TEST(CodePage, UnmappableBytesBecomeReplacementCharacters) {
    EXPECT_EQ(CodePage::toUnicode(65001,
                                  "a\xFF"
                                  "b"),
              u"a\uFFFDb"_qs);
    EXPECT_EQ(CodePage::toUnicode(932, "a\x82"), u"a\uFFFD"_qs);
    EXPECT_EQ(CodePage::toUnicode(20127, "a\xE9z"), u"a\uFFFDz"_qs);
    EXPECT_EQ(CodePage::effectiveCodePage(0), CodePage::DefaultCodePage);
    EXPECT_EQ(CodePage::effectiveCodePage(57002), CodePage::DefaultCodePage);
    EXPECT_EQ(CodePage::effectiveCodePage(28591), 28591);
}

TEST(CodePage, LongInputGrowsTheOutput) {
    // UTF-7 can produce more units than it has bytes only rarely; a plain long text checks
    // that the buffer logic holds across many conversions.
    const QByteArray bytes(100000, 'a');
    EXPECT_EQ(CodePage::toUnicode(1252, bytes), QString(100000, u'a'));
}

TEST(CodePage, SystemMessageIsTheFirstLineOfTheErrorText) {
    EXPECT_EQ(CodePage::systemMessage(ENOENT), "No such file or directory");
    EXPECT_EQ(CodePage::systemMessage(EISDIR), "Is a directory");
}

}  // namespace
