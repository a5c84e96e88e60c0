#include "Glyphs.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

// Every glyph is designed on a 24 × 24 grid and scaled into its box.
class Grid {
public:
    Grid(QPainter& p, const QRectF& box, const QColor& colour, qreal stroke = 2.0) : p_(p) {
        p_.save();
        p_.setRenderHint(QPainter::Antialiasing);
        const qreal side = std::min(box.width(), box.height());
        p_.translate(box.center().x() - side / 2, box.center().y() - side / 2);
        p_.scale(side / 24.0, side / 24.0);
        pen_ = QPen(colour, stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p_.setPen(pen_);
        p_.setBrush(Qt::NoBrush);
        colour_ = colour;
    }
    ~Grid() { p_.restore(); }
    QPainter& p() { return p_; }
    void fill(const QPainterPath& path) { p_.fillPath(path, colour_); }
    void fillPolygon(std::initializer_list<QPointF> points) {
        QPainterPath path;
        path.addPolygon(QPolygonF(QList<QPointF>(points)));
        path.closeSubpath();
        fill(path);
    }
    void line(qreal x1, qreal y1, qreal x2, qreal y2) {
        p_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
    }
    void stroke(qreal width) {
        pen_.setWidthF(width);
        p_.setPen(pen_);
    }

private:
    QPainter& p_;
    QPen pen_;
    QColor colour_;
};

void speakerBody(Grid& g, qreal x) {
    g.fillPolygon({{x, 9}, {x + 4, 9}, {x + 9, 4.5}, {x + 9, 19.5}, {x + 4, 15}, {x, 15}});
}

void arrowLine(Grid& g, bool right) {
    const qreal s = right ? -1 : 1;
    g.line(12 + 7 * s, 12, 12 - 7 * s, 12);
    g.line(12 - 7 * s, 12, 12 - 1 * s, 6);
    g.line(12 - 7 * s, 12, 12 - 1 * s, 18);
}

}  // namespace

namespace Glyphs {

bool media(QPainter& p, const QRectF& box, const QString& name, const QColor& colour) {
    Grid g(p, box, colour);
    if (name == u"players") {  // two beamed notes
        QPainterPath notes;
        notes.addEllipse(QPointF(7, 18), 3.2, 2.5);
        notes.addEllipse(QPointF(17.5, 16), 3.2, 2.5);
        g.fill(notes);
        g.line(9.8, 18, 9.8, 6);
        g.line(20.3, 16, 20.3, 4);
        g.fillPolygon({{8.8, 4.8}, {21.3, 2.6}, {21.3, 6.2}, {8.8, 8.4}});
    } else if (name == u"play") {  // play and pause
        g.fillPolygon({{3, 5}, {12, 12}, {3, 19}});
        g.fill([] {
            QPainterPath bars;
            bars.addRoundedRect(QRectF(14, 5, 3, 14), 0.8, 0.8);
            bars.addRoundedRect(QRectF(19, 5, 3, 14), 0.8, 0.8);
            return bars;
        }());
    } else if (name == u"stop") {
        QPainterPath square;
        square.addRoundedRect(QRectF(6, 6, 12, 12), 1.5, 1.5);
        g.fill(square);
    } else if (name == u"previous" || name == u"next") {
        p.save();
        if (name == u"next") {  // the mirror image of previous
            p.translate(24, 0);
            p.scale(-1, 1);
        }
        QPainterPath bar;
        bar.addRoundedRect(QRectF(3.5, 6, 2.6, 12), 0.6, 0.6);
        g.fill(bar);
        g.fillPolygon({{13.5, 6}, {13.5, 18}, {6.5, 12}});
        g.fillPolygon({{21, 6}, {21, 18}, {14, 12}});
        p.restore();
    } else if (name == u"volumedown" || name == u"volumeup" || name == u"mute") {
        speakerBody(g, 2);
        if (name == u"mute") {
            g.line(15, 9, 21, 15);
            g.line(21, 9, 15, 15);
        } else {
            g.line(15, 12, 21, 12);
            if (name == u"volumeup")
                g.line(18, 9, 18, 15);
        }
    } else if (name == u"back" || name == u"forward") {
        g.p().drawEllipse(QPointF(12, 12), 10, 10);
        g.stroke(2.2);
        p.save();
        p.translate(12, 12);
        p.scale(0.78, 0.78);
        p.translate(-12, -12);
        arrowLine(g, name == u"forward");
        p.restore();
    } else if (name == u"browserstop") {
        g.p().drawEllipse(QPointF(12, 12), 10, 10);
        g.line(8.5, 8.5, 15.5, 15.5);
        g.line(15.5, 8.5, 8.5, 15.5);
    } else if (name == u"refresh") {
        const QRectF circle(4.5, 4.5, 15, 15);
        g.p().drawArc(circle, 60 * 16, 290 * 16);
        const qreal a = 60 * M_PI / 180.0;
        const QPointF tip(12 + 7.5 * std::cos(a), 12 - 7.5 * std::sin(a));
        g.fillPolygon(
            {tip + QPointF(-4.6, -3.2), tip + QPointF(1.6, -4.8), tip + QPointF(0.8, 1.6)});
    } else if (name == u"favourites") {
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            const qreal r = i % 2 ? 4.3 : 10;
            const qreal a = -M_PI / 2 + i * M_PI / 5;
            star << QPointF(12 + r * std::cos(a), 12.8 + r * std::sin(a));
        }
        QPainterPath path;
        path.addPolygon(star);
        path.closeSubpath();
        g.fill(path);
    } else if (name == u"search") {
        g.p().drawEllipse(QPointF(10, 10), 6.2, 6.2);
        g.stroke(3);
        g.line(14.8, 14.8, 20.5, 20.5);
    } else if (name == u"mail") {
        g.p().drawRoundedRect(QRectF(3, 6, 18, 12.5), 1.5, 1.5);
        g.line(3.5, 7, 12, 13.5);
        g.line(12, 13.5, 20.5, 7);
    } else if (name == u"home") {
        g.line(2.5, 12, 12, 3.5);
        g.line(12, 3.5, 21.5, 12);
        QPainterPath house;
        house.moveTo(6, 11);
        house.lineTo(6, 20.5);
        house.lineTo(10, 20.5);
        house.lineTo(10, 15);
        house.lineTo(14, 15);
        house.lineTo(14, 20.5);
        house.lineTo(18, 20.5);
        house.lineTo(18, 11);
        g.p().drawPath(house);
    } else if (name == u"explorer") {  // a folder
        QPainterPath folder;
        folder.moveTo(3, 6.5);
        folder.lineTo(9.5, 6.5);
        folder.lineTo(11.5, 8.5);
        folder.lineTo(21, 8.5);
        folder.lineTo(21, 19);
        folder.lineTo(3, 19);
        folder.closeSubpath();
        g.p().drawPath(folder);
        g.line(3, 11.5, 21, 11.5);
    } else if (name == u"calculator") {
        g.p().drawRoundedRect(QRectF(5, 2.5, 14, 19), 2, 2);
        QPainterPath keys;
        keys.addRect(QRectF(8, 5.5, 8, 3.5));
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                keys.addRect(QRectF(7.8 + col * 3.1, 11 + row * 3.1, 2.2, 2.2));
        g.fill(keys);
    } else {
        return false;
    }
    return true;
}

bool listIcon(QPainter& p, const QRectF& box, const QString& name, const QColor& colour) {
    Grid g(p, box, colour, 2.6);
    if (name == u"down" || name == u"up") {
        const qreal s = name == u"up" ? -1 : 1;  // up points the other way
        g.line(12, 12 - 8 * s, 12, 12 + 6 * s);
        g.fillPolygon({{12, 12 + 10 * s}, {5, 12 + 2 * s}, {19, 12 + 2 * s}});
    } else if (name == u"delay") {  // a clock
        g.p().drawEllipse(QPointF(12, 12), 9, 9);
        g.stroke(2.4);
        g.line(12, 12, 12, 6.5);
        g.line(12, 12, 16, 14);
    } else {
        return false;
    }
    return true;
}

void arrow(QPainter& p, const QRectF& box, int direction, const QColor& colour) {
    Grid g(p, box, colour);
    p.translate(12, 12);
    p.rotate(90 * direction);
    p.translate(-12, -12);
    g.fillPolygon({{12, 6}, {19, 17}, {5, 17}});
}

void speaker(QPainter& p, const QRectF& box, const QColor& colour, bool crossed) {
    Grid g(p, box, colour, 2.2);
    speakerBody(g, 2);
    if (crossed) {
        g.line(15, 9, 21, 15);
        g.line(21, 9, 15, 15);
    }
}

void padlock(QPainter& p, const QRectF& box, const QColor& colour) {
    Grid g(p, box, colour, 2.6);
    g.p().drawArc(QRectF(7, 3, 10, 11), 0, 180 * 16);
    g.line(7, 8.5, 7, 11);
    g.line(17, 8.5, 17, 11);
    QPainterPath body;
    body.addRoundedRect(QRectF(4.5, 10.5, 15, 11), 2, 2);
    g.fill(body);
}

void menu(QPainter& p, const QRectF& box, const QColor& colour) {
    Grid g(p, box, colour, 1.8);
    g.p().drawRoundedRect(QRectF(5, 3, 14, 18), 1.5, 1.5);
    for (int i = 0; i < 3; ++i)
        g.line(8.5, 8 + i * 4, 15.5, 8 + i * 4);
}

}  // namespace Glyphs
