#include "model/StoredName.h"

#include "ImageBytes.h"

#include "support/QtPrinting.h"

#include <gtest/gtest.h>

#include <array>

namespace {
const QString Pair = QString::fromUtf16(u"\U0001F600");  // one character, two code units
const QString X = QStringLiteral("x");
}  // namespace

TEST(StoredName, CutsAtTheFieldLengthButNeverInsideASurrogatePair) {
    struct Case {
        QString name;
        QString stored;
    };
    const Case cases[] = {
        {X.repeated(300), X.repeated(259)},
        // The pair would straddle the cut: it goes whole, not its first half alone.
        {X.repeated(258) + Pair + X, X.repeated(258)},
        {X.repeated(257) + Pair + X, X.repeated(257) + Pair},
        {X.repeated(257) + Pair, X.repeated(257) + Pair},
        {Pair.repeated(130), Pair.repeated(129)},
        {QStringLiteral("a") + QChar(0) + QStringLiteral("b"), QStringLiteral("a")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StoredName::fit(c.name), c.stored) << c.name.size();
        std::array<std::uint8_t, StoredName::Bytes> field{};
        StoredName::write(field, c.name);
        EXPECT_EQ(StoredName::read(field), c.stored) << c.name.size();
    }
}

TEST(StoredName, FieldWithoutTerminatorReadsAsWholeCharacters) {
    std::array<std::uint8_t, StoredName::Bytes> field{};
    putUtf16(field, 0, X.repeated(258) + Pair);  // all 260 units used, no NUL
    EXPECT_EQ(StoredName::read(field), X.repeated(258));
    putUtf16(field, 0, X.repeated(260));
    EXPECT_EQ(StoredName::read(field), X.repeated(259));
}
