#include "model/DefaultName.h"

#include "model/CombTable.h"
#include "model/MacroTable.h"

#include "support/QtPrinting.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
const QString X = QStringLiteral("x");
const QString Pair = QString::fromUtf16(u"\U0001F600");

QStringList numbered(const QString& prefix, int from, int to) {
    QStringList names;
    for (int k = from; k <= to; ++k)
        names << prefix + QLatin1Char(' ') + QString::number(k);
    return names;
}
}  // namespace

// A candidate is compared as it will be stored, so a long prefix is shortened to leave room
// for its number instead of losing the number to the field's end.
TEST(DefaultName, LongPrefixIsShortenedSoTheNumberFits) {
    const QString longPrefix = X.repeated(300);
    struct Case {
        QString prefix;
        QStringList names;
        QString expected;
    };
    const Case cases[] = {
        {longPrefix, {}, X.repeated(257) + " 1"},
        {longPrefix, {X.repeated(257) + " 1"}, X.repeated(257) + " 2"},
        {longPrefix, numbered(X.repeated(257), 1, 9), X.repeated(256) + " 10"},
        {longPrefix, numbered(X.repeated(257), 1, 9) + numbered(X.repeated(256), 10, 99),
         X.repeated(255) + " 100"},
        // A name longer than the field blocks what it is stored as.
        {longPrefix, {longPrefix + " 1"}, X.repeated(257) + " 1"},
        {longPrefix, {X.repeated(257) + " 1" + X}, X.repeated(257) + " 2"},
        // The cut falls before a surrogate pair, never inside it.
        {X.repeated(256) + Pair + X, {}, X.repeated(256) + " 1"},
        {X.repeated(255) + Pair + X, {}, X.repeated(255) + Pair + " 1"},
        // The field ends at a NUL, so the number goes before it.
        {QStringLiteral("ab") + QChar(0) + QStringLiteral("cd"),
         {QStringLiteral("ab 1")},
         QStringLiteral("ab 2")},
        {X.repeated(258), {}, X.repeated(257) + " 1"},
        {X.repeated(257), {}, X.repeated(257) + " 1"},
    };
    for (const Case& c : cases) {
        const QString name = defaultName(c.prefix, c.names);
        EXPECT_EQ(name, c.expected) << c.prefix.size() << " " << c.names.size();
        EXPECT_LE(name.size(), 259);
    }
}

TEST(DefaultName, EveryNewMacroAndCombinationGetsItsOwnStoredName) {
    const QString longPrefix = X.repeated(259);
    MacroTable macros;
    CombTable combinations;
    for (int i = 0; i < 11; ++i) {
        macros.AddMacro(macros.DefaultName(longPrefix));
        combinations.AddCombination(CombTable::DefaultName(longPrefix, combinations.names()));
    }
    auto image = std::make_unique<MacroTable::Image>();
    macros.SaveToImage(*image);
    MacroTable reloaded;
    reloaded.LoadFromImage(*image);
    EXPECT_EQ(reloaded.names().removeDuplicates(), 0);
    EXPECT_EQ(reloaded.names().last(), X.repeated(256) + " 11");
    EXPECT_EQ(combinations.names().removeDuplicates(), 0);
    EXPECT_EQ(combinations.names().first(), X.repeated(257) + " 1");
}
