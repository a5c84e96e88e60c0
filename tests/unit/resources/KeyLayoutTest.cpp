#include "resources/KeyLayout.h"

#include "support/TempWorld.h"

#include <gtest/gtest.h>
#include <QFile>

namespace {

using Rect = KeyLayoutEntry::Rect;

TEST(KeyLayout, FillsPositionsFromKeyElementsInOrder) {
    KeyLayout layout;
    ASSERT_TRUE(layout.load(testDataPath(u"xml/layout_basic.xml"_qs)));

    const KeyLayoutEntry& a = layout.entry(0);
    EXPECT_EQ(a.name, "A");
    EXPECT_EQ(a.vkcode, 65);
    EXPECT_EQ(a.buttontip, "Key A");
    EXPECT_EQ(a.rect, (Rect{10, 20, 58, 68}));
    EXPECT_EQ(a.kstatus, 1);

    // The label between the keys takes no position.
    const KeyLayoutEntry& esc = layout.entry(1);
    EXPECT_EQ(esc.name, "Esc");
    EXPECT_EQ(esc.vkcode, 27);
    EXPECT_EQ(esc.buttontip, "");
    EXPECT_EQ(esc.rect, (Rect{-5, 6, 7, 8}));
    EXPECT_EQ(esc.kstatus, 0);

    EXPECT_EQ(layout.entry(2).vkcode, 65);
    EXPECT_EQ(layout.entry(2).rect, Rect{});
    for (int i = 3; i < KeyLayout::KeyCount; ++i)
        EXPECT_EQ(layout.entry(i), KeyLayoutEntry{});

    const auto codes = layout.layoutCodes();
    EXPECT_EQ(codes[0], 65);
    EXPECT_EQ(codes[1], 27);
    EXPECT_EQ(codes[91], 0);
}

TEST(KeyLayout, StoresNinetyTwoKeysAtMost) {
    QByteArray xml = "<layout>";
    for (int i = 0; i < 100; ++i)
        xml += "<key vkcode='" + QByteArray::number(i + 1, 16) + "'/>";
    xml += "</layout>";
    const QString path = TempWorld::current().root() + QStringLiteral("/ButtonPos.xml");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(xml);
    file.close();

    KeyLayout layout;
    ASSERT_TRUE(layout.load(path));
    EXPECT_EQ(layout.entry(0).vkcode, 1);
    EXPECT_EQ(layout.entry(91).vkcode, 92);
}

TEST(KeyLayout, FileNotWellFormedOrMissingFillsNothing) {
    KeyLayout layout;
    ASSERT_TRUE(layout.load(testDataPath(u"xml/layout_basic.xml"_qs)));
    EXPECT_FALSE(layout.load(testDataPath(u"xml/layout_broken.xml"_qs)));
    EXPECT_EQ(layout.entry(0), KeyLayoutEntry{});
    EXPECT_FALSE(layout.load(TempWorld::current().appDir() + QStringLiteral("ButtonPos.xml")));
    EXPECT_EQ(layout.layoutCodes(), (std::array<std::uint8_t, KeyLayout::KeyCount>{}));
}

TEST(KeyLayout, AttributeFormats) {
    const std::pair<const char16_t*, int> codes[] = {
        {u"41", 65}, {u"0x1B", 27}, {u"141", 65},    {u"  +0X1b", 27}, {u"-1", 255},
        {u"0x", 0},  {u"zz", 0},    {u"1FFzz", 255}, {u"", 0},         {u"123456789abcdef", 0xEF},
    };
    for (const auto& [text, code] : codes)
        EXPECT_EQ(KeyLayout::parseKeyCode(text), code) << QString::fromUtf16(text).toStdString();

    const std::pair<const char16_t*, Rect> rects[] = {
        {u"10,20,58,68", {10, 20, 58, 68}},
        {u"1,2", {1, 2, 0, 0}},
        {u"1,2,3,4,5", {1, 2, 3, 4}},
        {u"a,2,b3,4x", {0, 2, 0, 4}},
        {u"99999999999,-99999999999,0,0", {2147483647, -2147483647 - 1, 0, 0}},
    };
    for (const auto& [text, rect] : rects)
        EXPECT_EQ(KeyLayout::parseRect(text), rect) << QString::fromUtf16(text).toStdString();

    EXPECT_EQ(KeyLayout::parseStatus(u"1"), 1);
    EXPECT_EQ(KeyLayout::parseStatus(u" 1x"), 1);
    EXPECT_EQ(KeyLayout::parseStatus(u"2"), 0);
    EXPECT_EQ(KeyLayout::parseStatus(u""), 0);
}

}  // namespace
