#include "SkinPainter.h"

#include "Glyphs.h"
#include "Palette.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr qreal kOutlineRadius = 14;

QFont legendFont(qreal pixels, bool bold = false) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(qRound(pixels));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// The largest legend font from `pixels` down to 7 px in which the text fits the width.
QFont fittingFont(const QString& text, qreal width, qreal pixels, bool bold = false) {
    for (qreal px = pixels; px > 7; px -= 0.5) {
        const QFont font = legendFont(px, bold);
        if (QFontMetricsF(font).horizontalAdvance(text) <= width)
            return font;
    }
    return legendFont(7, bold);
}

QRectF inner(const QRect& r) {
    return QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
}

void roundedBox(QPainter& p, const QRect& r, qreal radius, const QColor& fill,
                const QColor& border) {
    p.setPen(QPen(border, 1));
    p.setBrush(fill);
    p.drawRoundedRect(inner(r), radius, radius);
}

// A 1-pixel line just outside the rectangle, where a list or edit field draws itself inside.
// A side that would run through a painted text is left out rather than broken up.
void outsideFrame(QPainter& p, const QRect& r, const QColor& fill, const QRegion& texts) {
    p.fillRect(r, fill);
    const QRect o = r.adjusted(-1, -1, 1, 1);
    const QRect sides[] = {
        QRect(o.left(), o.top(), o.width(), 1), QRect(o.left(), o.bottom(), o.width(), 1),
        QRect(o.left(), o.top(), 1, o.height()), QRect(o.right(), o.top(), 1, o.height())};
    for (const QRect& side : sides)
        if (!texts.intersects(side))
            p.fillRect(side, Palette::line);
}

// Shifted characters printed above the unshifted one on two-legend keys.
QString shiftedLegend(const QString& name) {
    static const QHash<QString, QString> shifted = {
        {"`", "~"}, {"1", "!"},  {"2", "@"}, {"3", "#"},  {"4", "$"}, {"5", "%"}, {"6", "^"},
        {"7", "&"}, {"8", "*"},  {"9", "("}, {"0", ")"},  {"-", "_"}, {"=", "+"}, {"[", "{"},
        {"]", "}"}, {"\\", "|"}, {";", ":"}, {"'", "\""}, {",", "<"}, {".", ">"}, {"/", "?"}};
    return shifted.value(name);
}

void drawKeyLegend(QPainter& p, const KeyCap& key, const QRectF& face, const QColor& colour) {
    p.setPen(colour);
    const qreal unit = std::min(face.width(), face.height());
    const QRectF glyphBox(face.center().x() - unit * 0.3, face.center().y() - unit * 0.3,
                          unit * 0.6, unit * 0.6);
    switch (key.vkcode) {
        case 0x26:
            Glyphs::arrow(p, glyphBox, 0, colour);
            return;
        case 0x27:
            Glyphs::arrow(p, glyphBox, 1, colour);
            return;
        case 0x28:
            Glyphs::arrow(p, glyphBox, 2, colour);
            return;
        case 0x25:
            Glyphs::arrow(p, glyphBox, 3, colour);
            return;
        case 0xAD:
            Glyphs::speaker(p, glyphBox.adjusted(-4, -4, 4, 4), colour, true);
            return;
        case 0x5D:
            Glyphs::menu(p, glyphBox, colour);
            return;
        case 0xC4: {  // Win Key Lock: a padlock beside the word
            const QRectF lock(face.left() + 2, face.top() + 3, face.height() - 6,
                              face.height() - 6);
            Glyphs::padlock(p, lock, colour);
            p.setFont(legendFont(8, true));
            p.drawText(face.adjusted(lock.width() + 2, 0, 0, 0), Qt::AlignCenter,
                       QStringLiteral("WIN"));
            return;
        }
        case 0xC1:
            p.setFont(fittingFont(QStringLiteral("MODE"), face.width() - 2, 8, true));
            p.drawText(face, Qt::AlignCenter, QStringLiteral("MODE"));
            return;
        case 0xC2:
        case 0xC3: {
            const QString text =
                key.vkcode == 0xC2 ? QStringLiteral("S\u2212") : QStringLiteral("S+");
            p.setFont(legendFont(11, true));
            p.drawText(face, Qt::AlignCenter, text);
            return;
        }
        default:
            break;
    }
    const QString shifted = shiftedLegend(key.name);
    if (!shifted.isEmpty()) {
        p.setFont(legendFont(11));
        const QRectF top(face.left(), face.top() + 1, face.width(), face.height() / 2);
        const QRectF bottom(face.left(), face.center().y() - 1, face.width(), face.height() / 2);
        p.drawText(top, Qt::AlignCenter, shifted);
        p.drawText(bottom, Qt::AlignCenter, key.name);
        return;
    }
    if (key.name.size() == 1) {
        p.setFont(legendFont(13));
        p.drawText(face, Qt::AlignCenter, key.name);
        return;
    }
    // Words: centred on ordinary keys, in the lower left corner of wide ones as printed keycaps do.
    const bool wide = face.width() > face.height() * 1.4;
    p.setFont(fittingFont(key.name, face.width() - (wide ? 10 : 4), 9.5));
    if (wide)
        p.drawText(face.adjusted(5, 0, -4, -4), Qt::AlignLeft | Qt::AlignBottom, key.name);
    else
        p.drawText(face, Qt::AlignCenter, key.name);
}

void drawKey(QPainter& p, const KeyCap& key, ControlLook look) {
    QColor side(31, 34, 40), top(47, 52, 60), legend(150, 157, 167);
    if (look.kind == ControlLook::Hover) {
        side = QColor(45, 50, 58);
        top = QColor(66, 72, 82);
        legend = QColor(230, 232, 235);
    } else if (look.kind == ControlLook::Pressed) {
        side = QColor(84, 38, 16);
        top = QColor(56, 36, 28);
        legend = Palette::accent;
    }
    const QRectF body = QRectF(key.rect);
    p.setPen(Qt::NoPen);
    p.setBrush(side);
    p.drawRoundedRect(body, 4, 4);
    const bool down = look.kind == ControlLook::Pressed;
    const QRectF face = body.adjusted(2, down ? 2 : 1, -2, down ? -3 : -4);
    QLinearGradient shade(face.topLeft(), face.bottomLeft());
    shade.setColorAt(0, top.lighter(112));
    shade.setColorAt(1, top);
    p.setBrush(shade);
    p.drawRoundedRect(face, 3, 3);
    if (down) {
        p.setPen(QPen(Palette::accent, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(inner(key.rect), 4, 4);
    }
    drawKeyLegend(p, key, face, legend);
}

void drawKeyboard(QPainter& p, const QRect& area, const QList<KeyCap>& keys, ControlLook look) {
    p.setPen(QPen(Palette::line, 1));
    p.setBrush(QColor(14, 16, 19));
    p.drawRoundedRect(inner(area), 10, 10);
    p.setPen(QPen(QColor(255, 255, 255, 10), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(inner(area.adjusted(1, 1, -1, -1)), 9, 9);
    for (const KeyCap& key : keys)
        drawKey(p, key, look);
}

void drawButton(QPainter& p, const QRect& r, ControlLook look) {
    switch (look.kind) {
        case ControlLook::Idle:
            roundedBox(p, r, 3, QColor(33, 37, 44), QColor(56, 62, 72));
            break;
        case ControlLook::Hover:
            roundedBox(p, r, 3, QColor(43, 48, 56), QColor(96, 105, 118));
            break;
        case ControlLook::Pressed:
            roundedBox(p, r, 3, Palette::accent, Palette::accentLight);
            break;
    }
}

void drawTab(QPainter& p, const QRect& r, ControlLook look) {
    switch (look.kind) {
        case ControlLook::Idle:
            roundedBox(p, r, 3, QColor(27, 31, 37), QColor(42, 47, 55));
            break;
        case ControlLook::Hover:
            roundedBox(p, r, 3, QColor(36, 41, 48), QColor(66, 72, 82));
            break;
        case ControlLook::Pressed:
            roundedBox(p, r, 3, QColor(33, 31, 32), QColor(62, 52, 47));
            p.fillRect(QRect(r.left() + 2, r.bottom() - 3, r.width() - 4, 3), Palette::accent);
            break;
    }
}

// A captioned switch: the lamp at its left edge, clear of the caption, shows whether it is on.
void drawToggle(QPainter& p, const QRect& r, ControlLook look) {
    QColor lamp(62, 68, 78);
    switch (look.kind) {
        case ControlLook::Idle:
            roundedBox(p, r, 3, QColor(33, 37, 44), QColor(56, 62, 72));
            break;
        case ControlLook::Hover:
            roundedBox(p, r, 3, QColor(43, 48, 56), QColor(96, 105, 118));
            lamp = QColor(112, 120, 132);
            break;
        case ControlLook::Pressed:
            roundedBox(p, r, 3, QColor(44, 32, 27), Palette::accent);
            lamp = Palette::accent;
            break;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(lamp);
    p.drawRoundedRect(QRectF(r.left() + 3, r.top() + 4, 3, r.height() - 8), 1, 1);
}

void drawWindowButton(QPainter& p, const QRect& r, ControlLook look, bool close) {
    QColor mark = Palette::glyph;
    if (look.kind == ControlLook::Hover) {
        roundedBox(p, r, 3, QColor(62, 45, 38), QColor(62, 45, 38));
        mark = Palette::glyphHover;
    } else if (look.kind == ControlLook::Pressed) {
        roundedBox(p, r, 3, Palette::accent, Palette::accent);
        mark = QColor(30, 20, 12);
    }
    const QRectF m = QRectF(r).adjusted(4.5, 4.5, -4.5, -4.5);
    p.setPen(QPen(mark, 1.6, Qt::SolidLine, Qt::RoundCap));
    const qreal side = std::min(m.width(), m.height());
    const QRectF sq(m.center().x() - side / 2, m.center().y() - side / 2, side, side);
    if (close) {
        p.drawLine(sq.topLeft(), sq.bottomRight());
        p.drawLine(sq.topRight(), sq.bottomLeft());
    } else {
        p.drawLine(QPointF(sq.left(), sq.bottom() - 0.5), QPointF(sq.right(), sq.bottom() - 0.5));
    }
}

void tile(QPainter& p, const QRect& r, ControlLook look, QColor& ink) {
    switch (look.kind) {
        case ControlLook::Idle:
            roundedBox(p, r, 5, QColor(30, 34, 40), QColor(46, 52, 61));
            ink = Palette::glyph;
            break;
        case ControlLook::Hover:
            roundedBox(p, r, 5, QColor(40, 45, 53), QColor(92, 101, 114));
            ink = Palette::glyphHover;
            break;
        case ControlLook::Pressed:
            roundedBox(p, r, 5, QColor(50, 31, 22), Palette::accent);
            ink = Palette::accent;
            break;
    }
}

void drawMedia(QPainter& p, const SkinItem& item, ControlLook look) {
    QColor ink;
    tile(p, item.rect, look, ink);
    const QPointF c = QRectF(item.rect).center();
    const qreal side = std::min(item.rect.width(), item.rect.height()) * 0.66;
    if (!Glyphs::media(p, QRectF(c.x() - side / 2, c.y() - side / 2, side, side), item.icon, ink))
        qFatal("unknown media icon %s", qPrintable(item.icon));
}

void drawChoice(QPainter& p, const SkinItem& item, ControlLook look) {
    QColor ink;
    tile(p, item.rect, look, ink);
    p.setPen(ink);
    p.setFont(fittingFont(item.label, item.rect.width() - 8, 12, true));
    p.drawText(QRectF(item.rect), Qt::AlignCenter, item.label);
}

// A switch drawn as a pill whose knob sits right and lit while on.
void drawSwitch(QPainter& p, const QRect& r, bool on, const QColor& offTrack,
                const QColor& offKnob) {
    const QRectF track(QRectF(r).center().x() - 15, QRectF(r).center().y() - 6, 30, 12);
    p.setPen(Qt::NoPen);
    p.setBrush(on ? Palette::accent : offTrack);
    p.drawRoundedRect(track, 6, 6);
    p.setBrush(on ? QColor(250, 246, 242) : offKnob);
    const qreal x = on ? track.right() - 6 : track.left() + 6;
    p.drawEllipse(QPointF(x, track.center().y()), 4.2, 4.2);
}

void drawProfileCell(QPainter& p, const SkinItem& item, ControlLook look) {
    if (look.kind == ControlLook::Pressed)
        roundedBox(p, item.rect, 2, QColor(42, 31, 26), Palette::accent);
    else
        roundedBox(p, item.rect, 2, QColor(31, 35, 41), QColor(48, 54, 63));
    if (item.alt == u"switch")
        drawSwitch(p, item.rect, look.alternative, QColor(50, 56, 66), QColor(125, 132, 143));
}

// Profile rows carry dark captions, so their cells are light.
void drawRowCell(QPainter& p, const SkinItem& item, ControlLook look) {
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRect r = item.rect;
    if (look.kind == ControlLook::Pressed) {
        p.fillRect(r, QColor(226, 208, 197));
        p.fillRect(QRect(r.left(), r.bottom() - 1, r.width(), 2), Palette::accent);
    } else {
        p.fillRect(r, QColor(146, 152, 162));
        p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), QColor(112, 119, 130));
    }
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), QColor(112, 119, 130));
    p.setRenderHint(QPainter::Antialiasing, true);
    if (item.alt == u"switch")
        drawSwitch(p, r, look.alternative, QColor(104, 111, 122), QColor(236, 238, 241));
}

void drawLogo(QPainter& p, const QRect& r) {
    p.setPen(Qt::NoPen);
    p.setBrush(Palette::accent);
    p.drawRoundedRect(QRectF(r.left(), r.top() + 6, 5, r.height() - 12), 2, 2);
    QFont font = legendFont(r.height() * 0.66, true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    p.setFont(font);
    p.setPen(QColor(214, 218, 224));
    p.drawText(QRectF(r).adjusted(14, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("HALDA"));
}

void drawArt(QPainter& p, const SkinItem& item) {
    const QRectF r(item.rect);
    if (item.art == u"mouse") {
        const QRectF body(r.center().x() - 38, r.top() + 8, 76, r.height() - 16);
        p.setPen(QPen(QColor(52, 58, 67), 1.5));
        p.setBrush(QColor(29, 33, 39));
        p.drawRoundedRect(body, 38, 44);
        p.drawLine(QPointF(body.center().x(), body.top()),
                   QPointF(body.center().x(), body.top() + 48));
        p.drawLine(QPointF(body.left() + 3, body.top() + 48),
                   QPointF(body.right() - 3, body.top() + 48));
        p.setPen(Qt::NoPen);
        p.setBrush(Palette::accent);
        p.drawRoundedRect(QRectF(body.center().x() - 3.5, body.top() + 14, 7, 18), 3.5, 3.5);
        p.setBrush(QColor(44, 49, 57));
        p.drawRoundedRect(QRectF(body.left() - 1.5, body.top() + 58, 5, 14), 2, 2);
        p.drawRoundedRect(QRectF(body.left() - 1.5, body.top() + 76, 5, 14), 2, 2);
    } else if (item.art == u"restore") {
        const QRectF circle = r.adjusted(8, 8, -8, -8);
        p.setPen(QPen(QColor(62, 68, 78), 5, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(circle, 100 * 16, 290 * 16);
        const QPointF tip(circle.center().x() - 4, circle.top());
        QPainterPath head;
        head.moveTo(tip + QPointF(-9, 0));
        head.lineTo(tip + QPointF(4, -8));
        head.lineTo(tip + QPointF(4, 8));
        head.closeSubpath();
        p.fillPath(head, Palette::accent);
        p.setPen(Qt::NoPen);
        p.setBrush(Palette::accent);
        p.drawEllipse(circle.center(), 4, 4);
    } else {
        qFatal("unknown decoration %s", qPrintable(item.art));
    }
}

// Any pixel that came out as the key colour by accident is moved one step off it.
void clearKeyColour(QImage& image, const QRegion& keep) {
    const QRgb key = Palette::keyColour.rgb();
    for (int y = 0; y < image.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF) && !keep.contains(QPoint(x, y)))
                line[x] = qRgb(215, 0, 254);
    }
}

}  // namespace

ControlLook lookForState(const QString& state) {
    ControlLook look;
    if (state.startsWith(u"Down"))
        look.kind = ControlLook::Pressed;
    else if (state == u"Over")
        look.kind = ControlLook::Hover;
    look.alternative = state.endsWith(u'2');
    return look;
}

QImage paintSkin(const SkinSet& set, const QString& state, const QList<KeyCap>& keys) {
    const ControlLook look = lookForState(state);
    QImage image(set.size, QImage::Format_RGB32);
    const QRect all(QPoint(0, 0), set.size);
    image.fill(set.page ? Palette::page : set.roundedOutline ? Palette::edge : Palette::surface);

    // Windows paint their own texts into these areas, so decorations keep out of them.
    QRegion texts;
    for (const SkinItem& item : set.items)
        if (item.kind == u"text")
            texts += item.rect;
    const QRegion decorations = QRegion(all) - texts;

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(all), kOutlineRadius, kOutlineRadius);
    if (set.roundedOutline) {
        QPainterPath face;
        face.addRoundedRect(QRectF(all).adjusted(1, 1, -1, -1), kOutlineRadius - 1,
                            kOutlineRadius - 1);
        p.fillPath(face, Palette::surface);
    } else if (!set.page) {
        p.setClipRegion(decorations);
        p.setPen(QPen(Palette::edge, 1));
        p.setBrush(Qt::NoBrush);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.drawRect(all.adjusted(0, 0, -1, -1));
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setClipping(false);
    }

    for (const SkinItem& item : set.items) {
        const QString& k = item.kind;
        if (k == u"text") {
            continue;
        } else if (k == u"header") {
            p.fillRect(item.rect, Palette::header);
            p.fillRect(
                QRect(item.rect.left() + 1, item.rect.bottom() + 1, item.rect.width() - 2, 1),
                Palette::line);
        } else if (k == u"panel") {
            p.fillRect(item.rect, set.name == u"Setting" ? Palette::page : Palette::panel);
            p.setClipRegion(decorations);
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(QPen(Palette::line, 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(item.rect.adjusted(0, 0, -1, -1));
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setClipping(false);
        } else if (k == u"frame" || k == u"well") {
            outsideFrame(p, item.rect, k == u"well" ? QColor(17, 19, 23) : Palette::surface, texts);
        } else if (k == u"logo") {
            drawLogo(p, item.rect);
        } else if (k == u"art") {
            p.setClipRegion(decorations);
            drawArt(p, item);
            p.setClipping(false);
        } else if (k == u"keyboard") {
            drawKeyboard(p, item.rect, keys, look);
        } else if (k == u"button") {
            drawButton(p, item.rect, look);
        } else if (k == u"tab") {
            drawTab(p, item.rect, look);
        } else if (k == u"toggle") {
            drawToggle(p, item.rect, look);
        } else if (k == u"close" || k == u"minimise") {
            drawWindowButton(p, item.rect, look, k == u"close");
        } else if (k == u"media") {
            drawMedia(p, item, look);
        } else if (k == u"choice") {
            drawChoice(p, item, look);
        } else if (k == u"profile") {
            drawProfileCell(p, item, look);
        } else if (k == u"row") {
            drawRowCell(p, item, look);
        } else {
            qFatal("%s: unknown item kind %s", qPrintable(set.name), qPrintable(k));
        }
    }
    p.end();

    // The outline is cut hard: a pixel is either exactly the key colour or part of the window.
    QRegion outside;
    if (set.roundedOutline) {
        QImage mask(set.size, QImage::Format_Grayscale8);
        mask.fill(0);
        QPainter m(&mask);
        m.setRenderHint(QPainter::Antialiasing, false);
        m.fillPath(outline, Qt::white);
        m.end();
        for (int y = 0; y < mask.height(); ++y) {
            const uchar* row = mask.constScanLine(y);
            QRgb* pixels = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < mask.width(); ++x)
                if (row[x] == 0) {
                    pixels[x] = Palette::keyColour.rgb();
                    outside += QRect(x, y, 1, 1);
                }
        }
    }
    clearKeyColour(image, outside);
    return image.convertToFormat(QImage::Format_RGB888);
}

QImage paintListIcon(const IconFile& icon, int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    if (icon.glyph == u"app") {
        // The application's own icon: the logo's accent bar and initial on a key cap.
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF cap = QRectF(0, 0, size, size).adjusted(0.5, 0.5, -0.5, -0.5);
        p.setPen(QPen(Palette::edge, size / 24.0));
        p.setBrush(Palette::surface);
        p.drawRoundedRect(cap, size / 6.0, size / 6.0);
        p.setPen(Qt::NoPen);
        p.setBrush(Palette::accent);
        p.drawRoundedRect(QRectF(size * 0.2, size * 0.22, size * 0.1, size * 0.56), 1, 1);
        p.setFont(legendFont(size * 0.62, true));
        p.setPen(QColor(214, 218, 224));
        p.drawText(QRectF(size * 0.3, 0, size * 0.6, size), Qt::AlignCenter, QStringLiteral("H"));
        return image;
    }
    const QColor colour = icon.selected ? QColor(235, 85, 19) : QColor(128, 136, 148);
    if (!Glyphs::listIcon(p, QRectF(0, 0, size, size).adjusted(1, 1, -1, -1), icon.glyph, colour))
        qFatal("unknown list icon %s", qPrintable(icon.glyph));
    return image;
}
