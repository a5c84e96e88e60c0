#include "resources/XmlDocument.h"
#include "resources/XmlEncoding.h"

#include "platform/CodePage.h"
#include "support/TempWorld.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

namespace {

QString writeFile(const QByteArray& bytes, const QString& name = u"doc.xml"_qs) {
    const QString path = TempWorld::current().root() + QStringLiteral("/") + name;
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    return path;
}

QByteArray utf16(const QString& text, bool bigEndian) {
    QByteArray bytes;
    for (QChar c : text) {
        const char high = char(c.unicode() >> 8), low = char(c.unicode() & 0xFF);
        bytes += bigEndian ? QByteArray{&high, 1} + QByteArray{&low, 1}
                           : QByteArray{&low, 1} + QByteArray{&high, 1};
    }
    return bytes;
}

QByteArray utf32BigEndian(const QString& text) {
    QByteArray bytes;
    for (char32_t c : text.toUcs4())
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes += char((c >> shift) & 0xFF);
    return bytes;
}

struct Loaded {
    bool ok;
    QString text;
    QString report;
    int flags;
};

Loaded load(const QByteArray& bytes) {
    XmlDocument document;
    const bool ok = document.LoadFile(writeFile(bytes));
    return {ok, document.text(), document.LoadReport(), document.documentFlags()};
}

TEST(XmlLoad, ReportsAreBuiltFromWhatWasFound) {
    const QByteArray utf8Body = "<r>caf\xC3\xA9</r>";
    const struct {
        QByteArray bytes;
        QString text;
        QString report;
        int flags;
    } cases[] = {
        {"", "", "ANSI 0 length ", 0},
        {"<r/>", "<r/>", "UTF-8 length 4 to 4 wide chars ", 0},
        {"\xEF\xBB\xBF" + utf8Body, u"<r>café</r>"_qs, "UTF-8 BOM + length 12 to 11 wide chars ",
         XmlDocument::FlagUtf8Mark},
        {"\xFF\xFE" + utf16(u"<r>é</r>"_qs, false), u"<r>é</r>"_qs, "UTF-16LE BOM + length 8 ",
         XmlDocument::FlagUtf16LittleEndianMark},
        {"\xFE\xFF" + utf16(u"<r>é</r>"_qs, true), u"<r>é</r>"_qs,
         "UTF-16BE BOM + length 8 endian swap ", XmlDocument::FlagUtf16BigEndianMark},
        {"\xFF\xFE" + utf16(QString::fromUtf16(u"<r>\0</r>", 8), false), "<r></r>",
         "UTF-16LE BOM + length 8 (1 nulls removed) ", XmlDocument::FlagUtf16LittleEndianMark},
        {QByteArray("<r>a\0b\0</r>", 11), "<r>ab</r>",
         "UTF-8 length 11 (2 nulls removed) to 9 wide chars ", 0},
        {"\xC3\x28", u"\u00C3("_qs, "ANSI length 2 (used UTF-8 detection) to 2 wide chars ", 0},
        {QByteArray(78, 'x') + "\xC3\xA9", QString(78, u'x') + QStringLiteral("é"),
         "UTF-8 length 80 (used UTF-8 detection) to 79 wide chars ", 0},
        {"\xEF\xBB\xBF", "", "UTF-8 BOM + 0 length ", XmlDocument::FlagUtf8Mark},
    };
    for (const auto& c : cases) {
        const Loaded loaded = load(c.bytes);
        EXPECT_TRUE(loaded.ok);
        EXPECT_EQ(loaded.text, c.text) << c.report.toStdString();
        EXPECT_EQ(loaded.report, c.report);
        EXPECT_EQ(loaded.flags, c.flags) << c.report.toStdString();
    }
}

TEST(XmlLoad, ParseAppendsItsFindingsToTheLoadReport) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFile(writeFile("")));
    document.ParseDocument();
    EXPECT_EQ(document.LoadReport(), "ANSI 0 length  Empty document");
    ASSERT_TRUE(document.LoadFile(writeFile("<a><b></a>")));
    document.ParseDocument();
    document.ParseDocument();  // a second parse does not repeat its findings
    EXPECT_EQ(document.LoadReport(),
              "UTF-8 length 10 to 10 wide chars  End tag 'a' at offset 7 does not match start "
              "tag 'b' at offset 3");
}

TEST(XmlLoad, DeclaredEncodingsSelectTheirCodePages) {
    const QString han = u"<r>\u4E2D\u6587</r>"_qs;
    const QByteArray gb = "<?xml version=\"1.0\" encoding=\"GB2312\"?><r>\xD6\xD0\xCE\xC4</r>";
    Loaded loaded = load(gb);
    EXPECT_EQ(loaded.report, "GB2312 length 50 to 48 wide chars ");
    EXPECT_TRUE(loaded.text.endsWith(han));

    loaded = load("<?xml encoding='windows-1251'?><r>\xE9</r>");
    EXPECT_TRUE(loaded.text.endsWith(u"<r>\u0439</r>"_qs));
    EXPECT_TRUE(loaded.report.startsWith(u"windows-1251 length"));

    // Unknown names use the default code page.
    loaded = load("<?xml encoding='no-such'?><r>\x80</r>");
    EXPECT_TRUE(loaded.text.endsWith(u"<r>\u20AC</r>"_qs));

    // Only the first 1024 bytes are searched for a declaration.
    const QByteArray comment = "<!--" + QByteArray(1100, 'x') + "-->";
    loaded = load(comment + "<?xml encoding='windows-1251'?><r>\xE9</r>");
    EXPECT_TRUE(loaded.report.startsWith(u"UTF-8 length"));
    EXPECT_TRUE(loaded.text.endsWith(u"<r>\uFFFD</r>"_qs));
}

TEST(XmlLoad, WideFilesWithoutMarkAreReadAsTheyDeclare) {
    const QString text = u"<?xml version='1.0' encoding='UTF-32BE'?><r>\u00E9\U0001F600</r>"_qs;
    Loaded loaded = load(utf32BigEndian(text));
    EXPECT_EQ(loaded.text, text);
    EXPECT_TRUE(loaded.report.startsWith(u"UTF-32BE length ")) << loaded.report.toStdString();

    const QString utf16Text = u"<?xml version='1.0' encoding='utf-16'?><r>\u4E2D</r>"_qs;
    loaded = load(utf16(utf16Text, false));
    EXPECT_EQ(loaded.text, utf16Text);
    loaded = load(utf16(utf16Text, true));
    EXPECT_EQ(loaded.text, utf16Text);
    EXPECT_EQ(loaded.flags, 0);
    const QString otherSpelling = u"<?xml version='1.0' encoding='UTF16'?><r>\u4E2D</r>"_qs;
    loaded = load(utf16(otherSpelling, false));
    EXPECT_EQ(loaded.text, otherSpelling);

    // Undeclared, the layout of the first bytes names the encoding.
    loaded = load(utf16(u"<r>\u4E2D</r>"_qs, true));
    EXPECT_EQ(loaded.text, u"<r>\u4E2D</r>"_qs);
    EXPECT_EQ(loaded.report, "UTF-16BE length 16 to 8 wide chars ");

    // A UTF-32 mark is not taken for a UTF-16 one.
    loaded =
        load(QByteArray("\xFF\xFE\x00\x00", 4) + QByteArray("<\0\0\0r\0\0\0/\0\0\0>\0\0\0", 16));
    EXPECT_EQ(loaded.text, "<r/>");
    EXPECT_EQ(loaded.report, "UTF-32LE BOM + length 16 to 4 wide chars ");
}

TEST(XmlLoad, EightBitFilesDeclaringWideUnitsAreReadAsUndeclared) {
    // The bytes of these files are 8-bit text, whatever they declare: they get the UTF-8
    // test, then the default code page, as a file without a declaration would.
    for (const char* name : {"UTF-16", "utf-16", "UTF-16LE", "utf-16be", "Utf16", "unicode",
                             "unicodeFFFE", "UTF-32", "utf-32", "UTF-32BE", "utf_32le"}) {
        const QByteArray declaration =
            "<?xml version=\"1.0\" encoding=\"" + QByteArray(name) + "\"?>";
        Loaded loaded = load(declaration + "<r>caf\xC3\xA9</r>");
        EXPECT_EQ(loaded.text.toStdString(),
                  (QString::fromLatin1(declaration) + u"<r>caf\u00E9</r>"_qs).toStdString())
            << name;
        EXPECT_EQ(loaded.report.toStdString(),
                  QStringLiteral("UTF-8 length %1 (used UTF-8 detection) to %2 wide chars ")
                      .arg(declaration.size() + 12)
                      .arg(declaration.size() + 11)
                      .toStdString())
            << name;

        loaded = load(declaration + "<r>caf\xE9</r>");
        EXPECT_EQ(loaded.text.toStdString(),
                  (QString::fromLatin1(declaration) + u"<r>caf\u00E9</r>"_qs).toStdString())
            << name;
        EXPECT_TRUE(loaded.report.startsWith(u"ANSI length ")) << loaded.report.toStdString();
        EXPECT_TRUE(loaded.report.contains(u"(used UTF-8 detection) "));
    }
    const Loaded html = load(
        "<html><head><meta http-equiv='Content-Type' content='text/html; charset=utf-16'>"
        "</head><body>\xE9</body></html>");
    EXPECT_TRUE(html.text.endsWith(u"<body>\u00E9</body></html>"_qs));
    EXPECT_TRUE(html.report.startsWith(u"ANSI length ")) << html.report.toStdString();
}

TEST(XmlLoad, Windows1252GivesItsUndefinedBytesAsC1Controls) {
    const QString expected = u"<r>\u20AC\u0081\u008D\u008F\u0090\u009D\u0178</r>"_qs;
    Loaded declared = load("<?xml encoding='windows-1252'?><r>\x80\x81\x8D\x8F\x90\x9D\x9F</r>");
    EXPECT_TRUE(declared.text.endsWith(expected)) << declared.text.toStdString();
    Loaded byDefault = load("\x9D<r>\x80\x81\x8D\x8F\x90\x9D\x9F</r>");
    EXPECT_EQ(byDefault.text.toStdString(), (u"\u009D"_qs + expected).toStdString());
    EXPECT_TRUE(byDefault.report.startsWith(u"ANSI length ")) << byDefault.report.toStdString();
}

TEST(XmlLoad, FailuresGiveTheSystemMessageAndAnEmptyText) {
    XmlDocument document;
    EXPECT_FALSE(document.LoadFile(TempWorld::current().root() + QStringLiteral("/missing.xml")));
    EXPECT_EQ(document.LoadReport(), "No such file or directory");
    EXPECT_TRUE(document.text().isEmpty());

    QDir(TempWorld::current().root()).mkdir(u"folder"_qs);
    EXPECT_FALSE(document.LoadFile(TempWorld::current().root() + QStringLiteral("/folder")));
    EXPECT_EQ(document.LoadReport(), "Is a directory");
    EXPECT_EQ(document.documentFlags() & XmlDocument::FlagReading, 0);
}

TEST(XmlLoad, ReloadingForgetsTheEarlierMark) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFile(writeFile("\xFE\xFF" + utf16(u"<a/>"_qs, true))));
    EXPECT_EQ(document.documentFlags(), XmlDocument::FlagUtf16BigEndianMark);
    ASSERT_TRUE(document.LoadFile(writeFile("<b/>")));
    EXPECT_EQ(document.text(), "<b/>");
    EXPECT_EQ(document.documentFlags(), 0);
}

TEST(XmlEncoding, DeclarationScan) {
    const std::pair<const char*, const char*> cases[] = {
        {"<?xml version='1.0' encoding='Shift_JIS'?><r/>", "Shift_JIS"},
        {"<?XML ENCODING=\"koi8-r\"?>", "koi8-r"},
        {"<?xml version='1.0'?><?xml encoding='x'?>", ""},
        {"<?other?><?xml encoding='x'?>", ""},
        {"<r/><?xml encoding='x'?>", ""},
        {"<!-- c --><?xml encoding='gbk'?>", "gbk"},
        {"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
         "charset=windows-1251\"></head></html>",
         "windows-1251"},
        {"<HTML><meta name='x'><META HTTP-EQUIV='content-type' CONTENT='text/html;CharSet = "
         "big5;'>",
         "big5"},
        {"<html><head></head><meta http-equiv='Content-Type' content='charset=x'>", ""},
        {"<body><meta http-equiv='Content-Type' content='text/html; charset=utf-8'>", ""},
        {"<html><meta http-equiv='Content-Type' content='text/html'><meta "
         "http-equiv='Content-Type' content='charset=x'>",
         ""},
    };
    for (const auto& [text, encoding] : cases)
        EXPECT_EQ(ScanEncodingDeclaration(QString::fromUtf8(text)).toStdString(), encoding) << text;
}

TEST(XmlEncoding, Utf8Test) {
    const std::pair<QByteArray, bool> cases[] = {
        {"plain", true},
        {"\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80", true},
        {"\xC3\x28", false},
        {"\xE4\xB8", false},
        {"\xF8\x80\x80\x80\x80", false},
        {QByteArray("a\0\xFF", 3), true},
        {"\x80\x80", true},
    };
    for (const auto& [bytes, passes] : cases)
        EXPECT_EQ(PassesUtf8Test(bytes), passes) << bytes.toHex().toStdString();
}

}  // namespace
