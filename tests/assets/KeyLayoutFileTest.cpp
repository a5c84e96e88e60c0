#include "WindowTables.h"

#include <QSet>

#include <gtest/gtest.h>

namespace {

QRect parseRect(const QString& text, bool* ok) {
    const QStringList p = text.split(u',');
    *ok = p.size() == 4;
    int v[4] = {};
    for (int i = 0; *ok && i < 4; ++i)
        v[i] = p[i].toInt(ok);
    return ltrb(v[0], v[1], v[2], v[3]);
}

TEST(KeyLayoutFile, HoldsTheNinetyTwoKeysInLayoutOrder) {
    // Special keys, then the tenkeyless block row by row.
    const QStringList expected = QStringLiteral(
                                     "C1 C2 C3 C4 AD "
                                     "1B 70 71 72 73 74 75 76 77 78 79 7A 7B 2C 91 13 "
                                     "C0 31 32 33 34 35 36 37 38 39 30 BD BB 08 2D 24 21 "
                                     "09 51 57 45 52 54 59 55 49 4F 50 DB DD DC 2E 23 22 "
                                     "14 41 53 44 46 47 48 4A 4B 4C BA DE 0D "
                                     "A0 5A 58 43 56 42 4E 4D BC BE BF A1 26 "
                                     "A2 5B A4 20 A5 5C 5D A3 25 28 27")
                                     .split(u' ');
    const QList<LayoutKey> keys = shippedLayout();
    ASSERT_EQ(keys.size(), 92);
    QSet<int> codes;
    for (int i = 0; i < keys.size(); ++i) {
        const LayoutKey& key = keys[i];
        SCOPED_TRACE(std::to_string(i) + " " + key.name.toStdString());
        bool ok = false;
        const int code = key.vkcode.toInt(&ok, 16);
        EXPECT_TRUE(ok);
        EXPECT_EQ(code, expected[i].toInt(nullptr, 16));
        codes.insert(code);
        EXPECT_FALSE(key.name.isEmpty());
        EXPECT_FALSE(key.buttontip.isEmpty());
        EXPECT_EQ(key.kstatus, QStringLiteral("0"));
    }
    EXPECT_EQ(codes.size(), 92) << "key codes must be distinct";
    EXPECT_EQ(keys[3].buttontip, QStringLiteral("Win Key Lock"));
    EXPECT_EQ(keys[55].buttontip, QStringLiteral("Caps Lock")) << keys[55].name.toStdString();
}

TEST(KeyLayoutFile, KeysFormAKeyboardClearOfTheWindowsOtherParts) {
    const QList<LayoutKey> keys = shippedLayout();
    ASSERT_EQ(keys.size(), 92);
    const WindowSkin main = windowSkins().first();
    ASSERT_EQ(main.name, QStringLiteral("Halda"));
    const QRect keyboardArea(QPoint(0, 0), QPoint(main.minimumSize.width() - 1, 379));
    QList<QRect> rects;
    for (const LayoutKey& key : keys) {
        SCOPED_TRACE(key.name.toStdString());
        bool ok = false;
        const QRect r = parseRect(key.rect, &ok);
        ASSERT_TRUE(ok) << key.rect.toStdString();
        EXPECT_TRUE(keyboardArea.contains(r));
        EXPECT_GE(r.width(), 24);
        EXPECT_GE(r.height(), 20);
        for (const SkinControl& c : main.controls)
            EXPECT_FALSE(r.intersects(c.rect));
        for (const QRect& t : main.texts)
            EXPECT_FALSE(r.intersects(t));
        for (const QRect& other : rects)
            EXPECT_FALSE(r.intersects(other)) << "overlaps another key";
        rects << r;
    }
    // Standard proportions: the space bar is the widest key, about six and a quarter keys wide.
    ASSERT_EQ(keys[84].vkcode, QStringLiteral("20"));
    EXPECT_GT(rects[84].width(), 6 * rects[6].width());
}

}  // namespace
