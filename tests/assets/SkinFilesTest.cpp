#include "WindowTables.h"

#include <QFile>
#include <QImage>
#include <QSet>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

const QRgb kKeyColour = qRgb(215, 0, 255);

QString skinPath(const QString& set, const QString& state) {
    return appDir() + QStringLiteral("/skins/") + set + u'_' + state + QStringLiteral(".bmp");
}

QImage loadSkin(const QString& set, const QString& state) {
    return QImage(skinPath(set, state)).convertToFormat(QImage::Format_RGB32);
}

bool sameInside(const QImage& a, const QImage& b, const QRect& r) {
    return a.copy(r) == b.copy(r);
}

QSet<QRgb> coloursIn(const QImage& image, const QRect& r) {
    QSet<QRgb> colours;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            colours.insert(image.pixel(x, y) & 0xFFFFFF);
    return colours;
}

// The area a button's caption is drawn into, less the button's own border.
QRect captionBand(const QRect& r) {
    return QRect(QPoint(r.left() + 8, r.top() + 3), QPoint(r.right() - 5, r.bottom() - 4));
}

QRect parseRect(const QString& text) {
    const QStringList p = text.split(u',');
    return p.size() == 4 ? ltrb(p[0].toInt(), p[1].toInt(), p[2].toInt(), p[3].toInt()) : QRect();
}

class SkinSets : public ::testing::Test {
protected:
    const QList<WindowSkin> skins = windowSkins();
};

TEST_F(SkinSets, EveryPictureIsA24BitBitmapOfItsWindowsSize) {
    for (const WindowSkin& skin : skins) {
        QSize size;
        for (const QString& state : skin.states) {
            SCOPED_TRACE((skin.name + u'_' + state).toStdString());
            QFile file(skinPath(skin.name, state));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray header = file.read(30);
            ASSERT_EQ(header.size(), 30);
            EXPECT_EQ(header.left(2), QByteArray("BM"));
            EXPECT_EQ(qFromLittleEndian<quint16>(header.constData() + 28), 24);
            const QImage image = loadSkin(skin.name, state);
            ASSERT_FALSE(image.isNull());
            if (size.isEmpty())
                size = image.size();
            EXPECT_EQ(image.size(), size) << "the pictures of one set must align";
        }
        // Pages are moved to exactly this size inside the key setting dialog.
        if (skin.minimumSize == QSize(442, 186)) {
            EXPECT_EQ(size, skin.minimumSize) << skin.name.toStdString();
        }
        EXPECT_GE(size.width(), skin.minimumSize.width()) << skin.name.toStdString();
        EXPECT_GE(size.height(), skin.minimumSize.height()) << skin.name.toStdString();
    }
}

TEST_F(SkinSets, OnlyTheMainWindowsCornersCarryTheKeyColour) {
    for (const WindowSkin& skin : skins) {
        for (const QString& state : skin.states) {
            SCOPED_TRACE((skin.name + u'_' + state).toStdString());
            const QImage image = loadSkin(skin.name, state);
            const int w = image.width(), h = image.height();
            const int corner = 16;
            const QRect corners[] = {QRect(0, 0, corner, corner),
                                     QRect(w - corner, 0, corner, corner),
                                     QRect(0, h - corner, corner, corner),
                                     QRect(w - corner, h - corner, corner, corner)};
            int keyPixels = 0, nearKeyPixels = 0, keyOutsideCorners = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const QRgb c = image.pixel(x, y) & 0xFFFFFF;
                    if (c == (kKeyColour & 0xFFFFFF)) {
                        ++keyPixels;
                        bool inCorner = false;
                        for (const QRect& r : corners)
                            inCorner = inCorner || r.contains(x, y);
                        keyOutsideCorners += !inCorner;
                    } else if (qAbs(qRed(c) - 215) < 48 && qGreen(c) < 48 &&
                               qAbs(qBlue(c) - 255) < 48) {
                        ++nearKeyPixels;  // a blend into the key colour: the cut is not hard
                    }
                }
            EXPECT_EQ(nearKeyPixels, 0);
            if (skin.name == u"Halda") {
                for (const QPoint p :
                     {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
                    EXPECT_EQ(image.pixel(p) & 0xFFFFFF, kKeyColour & 0xFFFFFF);
                EXPECT_GT(keyPixels, 4);
                EXPECT_EQ(keyOutsideCorners, 0);
                EXPECT_NE(image.pixel(w / 2, 0), kKeyColour);
                EXPECT_NE(image.pixel(0, h / 2), kKeyColour);
            } else {
                EXPECT_EQ(keyPixels, 0);
            }
        }
    }
}

TEST_F(SkinSets, EveryControlShowsItsStates) {
    for (const WindowSkin& skin : skins) {
        const QImage normal = loadSkin(skin.name, "Normal");
        const QImage down = loadSkin(skin.name, "Down");
        const QImage over = loadSkin(skin.name, "Over");
        const bool hasAlternative = skin.states.contains("Normal2");
        const QImage normal2 = hasAlternative ? loadSkin(skin.name, "Normal2") : QImage();
        const QImage down2 = hasAlternative ? loadSkin(skin.name, "Down2") : QImage();
        for (const SkinControl& c : skin.controls) {
            SCOPED_TRACE(skin.name.toStdString() + " control at " + std::to_string(c.rect.left()) +
                         "," + std::to_string(c.rect.top()));
            ASSERT_TRUE(normal.rect().contains(c.rect));
            EXPECT_GT(coloursIn(normal, c.rect).size(), 1) << "the control is not visible";
            EXPECT_FALSE(sameInside(normal, down, c.rect));
            if (c.usesOver) {
                EXPECT_FALSE(sameInside(normal, over, c.rect));
            }
            if (c.alternative) {
                EXPECT_FALSE(sameInside(normal, normal2, c.rect));
                EXPECT_FALSE(sameInside(down, down2, c.rect));
                EXPECT_FALSE(sameInside(normal2, down2, c.rect));
            }
        }
    }
}

TEST_F(SkinSets, CaptionsAndPaintedTextsFallOnPlainGround) {
    for (const WindowSkin& skin : skins) {
        for (const QString& state : skin.states) {
            SCOPED_TRACE((skin.name + u'_' + state).toStdString());
            const QImage image = loadSkin(skin.name, state);
            for (const QRect& r : skin.texts) {
                EXPECT_EQ(coloursIn(image, r).size(), 1)
                    << "painted text area " << r.left() << "," << r.top() << " is not plain";
            }
            for (const SkinControl& c : skin.controls) {
                if (c.captioned) {
                    EXPECT_EQ(coloursIn(image, captionBand(c.rect)).size(), 1)
                        << "caption area of " << c.rect.left() << "," << c.rect.top()
                        << " is not plain";
                }
            }
        }
    }
}

TEST(MainWindowKeys, EveryKeyCapCarriesALegendAndLightsUp) {
    const QImage normal = loadSkin("Halda", "Normal");
    const QImage down = loadSkin("Halda", "Down");
    const QImage over = loadSkin("Halda", "Over");
    const QList<LayoutKey> keys = shippedLayout();
    ASSERT_EQ(keys.size(), 92);
    for (const LayoutKey& key : keys) {
        SCOPED_TRACE(key.name.toStdString());
        const QRect r = parseRect(key.rect);
        ASSERT_TRUE(normal.rect().contains(r));
        // A legend brings glyph and anti-aliasing colours onto the plain cap.
        EXPECT_GT(coloursIn(normal, r.adjusted(3, 3, -3, -5)).size(), 4);
        EXPECT_FALSE(sameInside(normal, down, r));
        EXPECT_FALSE(sameInside(normal, over, r));
    }
}

TEST(ListIcons, AreSixteenPixelSquaresWithTransparency) {
    for (const char* name :
         {"up_normal", "up_select", "down_normal", "down_select", "delay_normal", "delay_select"}) {
        SCOPED_TRACE(name);
        const QImage icon(appDir() + QStringLiteral("/skins/icon/") + name +
                          QStringLiteral(".png"));
        ASSERT_FALSE(icon.isNull());
        EXPECT_EQ(icon.size(), QSize(16, 16));
        ASSERT_TRUE(icon.hasAlphaChannel());
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
        int opaque = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                opaque += qAlpha(icon.pixel(x, y)) > 128;
        EXPECT_GT(opaque, 16) << "the icon shows no mark";
    }
    // The selected version must stand apart from the normal one.
    EXPECT_NE(QImage(appDir() + "/skins/icon/up_normal.png"),
              QImage(appDir() + "/skins/icon/up_select.png"));
}

// The window's icon and the page its link opens lie beside the program too.
TEST(ShippedFiles, TheWindowIconAndTheAboutPage) {
    const QImage icon(appDir() + QStringLiteral("/skins/icon/halda.png"));
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.size(), QSize(48, 48));
    QFile page(appDir() + QStringLiteral("/about.html"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_TRUE(page.readAll().contains("<title>About Halda</title>"));
}

}  // namespace
