#include "resources/CharsetTable.h"

#include "platform/CodePage.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <QString>

namespace {

TEST(CharsetTable, EveryNameFindsItsOwnCodePage) {
    const auto entries = CharsetTable::entries();
    EXPECT_EQ(entries.size(), 254u);
    for (const auto& entry : entries) {
        const QString name = QString::fromLatin1(entry.name);
        EXPECT_EQ(name, name.toLower());
        EXPECT_EQ(CharsetTable::codePage(name), entry.codePage) << entry.name;
        EXPECT_EQ(CharsetTable::codePage(name.toUpper()), entry.codePage) << entry.name;
    }
}

TEST(CharsetTable, LookupRules) {
    const std::pair<QString, int> cases[] = {
        {"", 0},
        {"GB2312", 936},
        {"UTF-32BE", 65005},
        {"UTF-32whatever", 65005},
        {"utf-32", -1},
        {"Shift_JIS", 932},
        {"cp500", 775},
        {"x-ebcdic-france", 1143},
        {"x-ebcdic-germany-euro", 1143},
        {"csiso", 28593},
        {"csisolatin5", 28595},
        {"UTF-8", 65001},
        {"no-such-charset", -1},
        {QString(100, u'a'), -1},
        {QString(99, u'a'), -1},
    };
    for (const auto& [name, codePage] : cases)
        EXPECT_EQ(CharsetTable::codePage(name), codePage) << name.toStdString();
}

TEST(CharsetTable, EveryCodePageHasAWorkingConverterOrTheDefault) {
    for (const auto& entry : CharsetTable::entries()) {
        const QByteArray converter = CodePage::converterName(entry.codePage);
        if (converter.isEmpty()) {
            EXPECT_EQ(CodePage::effectiveCodePage(entry.codePage), CodePage::DefaultCodePage);
            continue;
        }
        const iconv_t cd = iconv_open("UTF-16LE", converter.constData());
        EXPECT_NE(cd, iconv_t(-1)) << entry.name << " " << converter.constData();
        if (cd != iconv_t(-1))
            iconv_close(cd);
    }
}

}  // namespace
