#include "resources/KeyNameTable.h"

#include "platform/KeyboardLayout.h"

#include <gtest/gtest.h>

namespace {

struct Name {
    int code;
    const char16_t* name;
};

void expectNames(std::initializer_list<Name> names) {
    for (const Name& n : names)
        EXPECT_EQ(KeyNameTable::name(n.code), QString::fromUtf16(n.name)) << "code " << n.code;
}

TEST(KeyNameTable, FixedNamesDoNotDependOnTheLayout) {
    for (const char* layout : {"us", "de"}) {
        SCOPED_TRACE(layout);
        KeyboardLayout::setLayout(QString::fromLatin1(layout));
        expectNames({{0, u""},
                     {255, u""},
                     {8, u"Backspace"},
                     {12, u"Clr"},
                     {13, u"Enter"},
                     {43, u"Enter"},
                     {218, u"(Enter)"},
                     {20, u"CapsLock"},
                     {32, u"Space"},
                     {41, u"Select"},
                     {44, u"Snapshot"},
                     {47, u"Help"},
                     {91, u"Left Win"},
                     {93, u"Right App"},
                     {96, u"(0)"},
                     {105, u"(9)"},
                     {106, u"(*)"},
                     {108, u"\\"},
                     {111, u"(/)"},
                     {112, u"F1"},
                     {123, u"F12"},
                     {144, u"Numlock"},
                     {145, u"Scroll Lock"},
                     {160, u"Left Shift"},
                     {165, u"Right Alt"},
                     {173, u"Mute"},
                     {181, u"Media Play"},
                     {193, u"Mode Key"},
                     {194, u"S-"},
                     {195, u"S+"},
                     {196, u"Win Key Lock"}});
    }
}

TEST(KeyNameTable, OtherCodesShowWhatAUsLayoutPrints) {
    KeyboardLayout::setLayout(QStringLiteral("us"));
    expectNames({{65, u"A"},
                 {90, u"Z"},
                 {49, u"1"},
                 {48, u"0"},
                 {186, u";"},
                 {187, u"="},
                 {192, u"`"},
                 {222, u"'"},
                 {226, u"<"},
                 // No character: a code without a key, a key that prints nothing, > 255.
                 {1, u""},
                 {124, u""},
                 {174, u""},
                 {256, u""},
                 {65 + 256, u""},
                 {-1, u""}});
}

TEST(KeyNameTable, OtherCodesFollowAGermanLayout) {
    KeyboardLayout::setLayout(QStringLiteral("de"));
    expectNames({{65, u"A"},
                 {89, u"Z"},  // QWERTZ: the key at the US Y position
                 {49, u"1"},
                 {186, u"\u00D6"},
                 {222, u"\u00C4"},
                 {219, u"\u00DC"},
                 {189, u"\u00DF"},  // stays one character
                 {192, u"^"},       // a dead key shows its accent
                 {226, u"<"}});
}

TEST(KeyNameTable, TheLayoutComesFromTheEnvironmentUnlessChosen) {
    qputenv("XKB_DEFAULT_LAYOUT", "de");
    KeyboardLayout::setLayout({});
    EXPECT_EQ(KeyboardLayout::layout(), QStringLiteral("de"));
    EXPECT_EQ(KeyNameTable::name(186), QStringLiteral("\u00D6"));

    KeyboardLayout::setLayout(QStringLiteral("fr"));
    EXPECT_EQ(KeyNameTable::name(49), QStringLiteral("&"));

    // A layout that cannot be read gives the US names.
    KeyboardLayout::setLayout(QStringLiteral("no-such-layout"));
    EXPECT_EQ(KeyboardLayout::layout(), QStringLiteral("us"));
    EXPECT_EQ(KeyNameTable::name(186), QStringLiteral(";"));
}

}  // namespace
