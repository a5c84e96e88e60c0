#include "resources/LanguageTable.h"

#include "support/TempWorld.h"

#include <gtest/gtest.h>
#include <QSet>

namespace {

TEST(LanguageTable, LooksUpNinetyTwoKeysInNinetyThreeLookups) {
    const auto& keys = LanguageTable::lookupKeys();
    QSet<QString> distinct;
    int news = 0;
    for (const char16_t* key : keys) {
        distinct.insert(QString::fromUtf16(key));
        news += QString::fromUtf16(key) == u"str_new";
    }
    EXPECT_EQ(keys.size(), 93u);
    EXPECT_EQ(distinct.size(), LanguageTable::StringCount);
    EXPECT_EQ(news, 2);
}

TEST(LanguageTable, ReadsTheKeysOfTheConfigElement) {
    LanguageTable table;
    table.load(testDataPath(u"xml/language_basic.xml"_qs));
    EXPECT_EQ(table.text(u"str_title"_qs), "Halda & Co");
    EXPECT_EQ(table.text(u"str_OK"_qs), "OK");  // the first of two
    EXPECT_EQ(table.text(u"str_new"_qs), "New");
    EXPECT_EQ(table.text(u"str_msg4"_qs), "No <keyboard> found");
    EXPECT_EQ(table.text(u"str_Cancel"_qs), "");
    EXPECT_EQ(table.text(u"str_unlisted"_qs), "");
    EXPECT_EQ(table.text(u"note"_qs), "");
}

TEST(LanguageTable, OnlyTheFirstConfigAndOnesNestedInItCount) {
    LanguageTable table;
    table.load(testDataPath(u"xml/language_two_configs.xml"_qs));
    EXPECT_EQ(table.text(u"str_title"_qs), "First");
    EXPECT_EQ(table.text(u"str_OK"_qs), "Nested");
    EXPECT_EQ(table.text(u"str_Cancel"_qs), "");

    table.load(testDataPath(u"xml/language_config_root.xml"_qs));
    EXPECT_EQ(table.text(u"str_title"_qs), "");
}

TEST(LanguageTable, MissingFileLeavesEveryStringEmpty) {
    LanguageTable table;
    table.load(testDataPath(u"xml/language_basic.xml"_qs));
    table.load(TempWorld::current().appDir() + QStringLiteral("language.xml"));
    for (const char16_t* key : LanguageTable::lookupKeys())
        EXPECT_EQ(table.text(QString::fromUtf16(key)), "");
    EXPECT_EQ(table.document().LoadReport(), "No such file or directory");
}

TEST(LanguageTable, InstanceIsOneTable) {
    EXPECT_EQ(&LanguageTable::instance(), &LanguageTable::instance());
}

}  // namespace
