// The ten built-in card-back patterns, each inside a white card border.
#include "card_painting.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QRadialGradient>
#include <QtMath>

#include <cmath>
#include <iterator>

namespace velnora::ui::art {

namespace {

// Every pattern is drawn in a design box 100 units wide; H is the box's height in those units.

// A small fixed pseudo-random sequence so scattered motifs are the same on every run and size.
qreal jitter(int i) {
    const unsigned v = static_cast<unsigned>(i) * 2654435761u;
    return ((v >> 8) % 1000) / 1000.0;
}

QPen line(const QColor& c, qreal w) {
    QPen pen(c, w);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void beach(QPainter& p, qreal H) {
    const qreal horizon = H * 0.46, shore = H * 0.68;
    QLinearGradient sky(0, 0, 0, horizon);
    sky.setColorAt(0, QColor(70, 150, 230));
    sky.setColorAt(1, QColor(190, 228, 250));
    p.fillRect(QRectF(0, 0, 100, horizon), sky);

    QRadialGradient glow(QPointF(68, H * 0.2), 26);
    glow.setColorAt(0, QColor(255, 250, 200, 230));
    glow.setColorAt(1, QColor(255, 250, 200, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QPointF(68, H * 0.2), 26, 26);
    p.setBrush(QColor(255, 206, 60));
    p.drawEllipse(QPointF(68, H * 0.2), 12, 12);

    p.setPen(line(QColor(60, 60, 80), 1.6));
    p.setBrush(Qt::NoBrush);
    for (QPointF g : {QPointF(22, H * 0.12), QPointF(36, H * 0.2)}) {
        QPainterPath gull;
        gull.moveTo(g.x() - 6, g.y());
        gull.quadTo(g.x() - 3, g.y() - 4, g.x(), g.y());
        gull.quadTo(g.x() + 3, g.y() - 4, g.x() + 6, g.y());
        p.drawPath(gull);
    }

    QLinearGradient sea(0, horizon, 0, shore);
    sea.setColorAt(0, QColor(20, 90, 170));
    sea.setColorAt(1, QColor(40, 170, 200));
    p.fillRect(QRectF(0, horizon, 100, shore - horizon + 1), sea);
    p.setPen(line(QColor(255, 255, 255, 170), 1.4));
    for (int row = 0; row < 4; ++row) {
        const qreal y = horizon + 5 + row * (shore - horizon - 6) / 4;
        for (int i = 0; i < 4; ++i) {
            const qreal x = i * 28 + (row % 2) * 14 + 4;
            QPainterPath w;
            w.moveTo(x, y);
            w.quadTo(x + 4, y - 3, x + 8, y);
            w.quadTo(x + 12, y + 3, x + 16, y);
            p.drawPath(w);
        }
    }

    QPainterPath sand;
    sand.moveTo(0, shore);
    sand.cubicTo(30, shore - 6, 60, shore + 8, 100, shore - 2);
    sand.lineTo(100, H);
    sand.lineTo(0, H);
    sand.closeSubpath();
    QLinearGradient sandFill(0, shore, 0, H);
    sandFill.setColorAt(0, QColor(246, 226, 170));
    sandFill.setColorAt(1, QColor(222, 186, 118));
    p.setPen(line(Qt::white, 2.4));
    p.setBrush(sandFill);
    p.drawPath(sand);

    // A palm leaning over the sand.
    QPainterPath trunk;
    trunk.moveTo(18, H - 4);
    trunk.quadTo(14, H * 0.62, 28, H * 0.36);
    trunk.lineTo(32, H * 0.37);
    trunk.quadTo(20, H * 0.62, 25, H - 4);
    trunk.closeSubpath();
    p.setPen(line(QColor(90, 60, 30), 1.2));
    p.setBrush(QColor(150, 100, 50));
    p.drawPath(trunk);
    const QPointF top(30, H * 0.365);
    p.setBrush(QColor(40, 140, 60));
    p.setPen(line(QColor(20, 80, 30), 1.0));
    for (int i = 0; i < 6; ++i) {
        const qreal a = (-160 + i * 38) * M_PI / 180;
        const QPointF tip(top.x() + 24 * std::cos(a), top.y() + 16 * std::sin(a) + 8);
        QPainterPath frond;
        frond.moveTo(top);
        frond.quadTo((top + tip) / 2 + QPointF(0, -9), tip);
        frond.quadTo((top + tip) / 2 + QPointF(0, -2), top);
        p.drawPath(frond);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 70, 30));
    p.drawEllipse(top + QPointF(-2, 2), 2.5, 2.5);
    p.drawEllipse(top + QPointF(2.5, 2.5), 2.5, 2.5);

    // A starfish on the sand.
    QPainterPath star;
    const QPointF sc(72, H * 0.86);
    for (int i = 0; i < 10; ++i) {
        const qreal a = (-90 + i * 36) * M_PI / 180;
        const qreal r = i % 2 ? 3.2 : 8;
        const QPointF pt(sc.x() + r * std::cos(a), sc.y() + r * std::sin(a));
        if (i == 0)
            star.moveTo(pt);
        else
            star.lineTo(pt);
    }
    star.closeSubpath();
    p.setPen(line(QColor(190, 80, 40), 1.0));
    p.setBrush(QColor(245, 130, 70));
    p.drawPath(star);
}

QPainterPath fishShape(qreal len) {
    // A fish facing right, centred on the origin.
    QPainterPath f;
    f.moveTo(len * 0.5, 0);
    f.cubicTo(len * 0.3, -len * 0.32, -len * 0.2, -len * 0.3, -len * 0.3, 0);
    f.cubicTo(-len * 0.2, len * 0.3, len * 0.3, len * 0.32, len * 0.5, 0);
    f.closeSubpath();
    f.moveTo(-len * 0.26, 0);
    f.lineTo(-len * 0.5, -len * 0.2);
    f.quadTo(-len * 0.44, 0, -len * 0.5, len * 0.2);
    f.closeSubpath();
    return f;
}

void fish1(QPainter& p, qreal H) {
    QLinearGradient water(0, 0, 0, H);
    water.setColorAt(0, QColor(20, 110, 170));
    water.setColorAt(1, QColor(10, 50, 110));
    p.fillRect(QRectF(0, 0, 100, H), water);
    const QColor colours[] = {QColor(255, 150, 40), QColor(255, 210, 60), QColor(250, 110, 80)};
    int n = 0;
    for (int row = 0; row * 20 < H + 20; ++row) {
        const bool right = row % 2 == 0;
        for (int col = -1; col < 5; ++col, ++n) {
            const qreal x = col * 26 + (right ? 6 : 19);
            const qreal y = row * 20 + 8;
            p.save();
            p.translate(x, y);
            if (!right) p.scale(-1, 1);
            p.setPen(line(QColor(120, 50, 10), 1.0));
            p.setBrush(colours[n % 3]);
            p.drawPath(fishShape(20));
            p.setPen(line(QColor(255, 255, 255, 160), 1.4));
            p.drawLine(QPointF(2, -4.5), QPointF(2, 4.5));
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(5.5, -1.2), 1.8, 1.8);
            p.setBrush(Qt::black);
            p.drawEllipse(QPointF(5.9, -1.2), 0.9, 0.9);
            p.restore();
        }
    }
    p.setPen(line(QColor(200, 235, 255, 170), 0.9));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 16; ++i)
        p.drawEllipse(QPointF(jitter(i) * 100, jitter(i + 40) * H), 1.2 + jitter(i + 9) * 1.6,
                      1.2 + jitter(i + 9) * 1.6);
}

// A koi curled along a circle of radius R round the origin, tail at angle 0 and head a little
// more than a quarter turn further on, clockwise.
void koi(QPainter& p, qreal R, const QColor& body, const QColor& spots) {
    const qreal sweep = 150;
    auto at = [&](qreal t, qreal offset) {
        const qreal a = qDegreesToRadians(t * sweep);
        return QPointF((R + offset) * std::cos(a), (R + offset) * std::sin(a));
    };
    auto halfWidth = [](qreal t) { return 1.2 + 8.5 * std::sin(M_PI * (0.1 + 0.75 * t)); };
    QPainterPath k;
    const int steps = 24;
    for (int i = 0; i <= steps; ++i) {
        const qreal t = qreal(i) / steps;
        const QPointF pt = at(t, halfWidth(t));
        if (i == 0)
            k.moveTo(pt);
        else
            k.lineTo(pt);
    }
    // A rounded snout.
    k.quadTo(at(1.07, 0), at(1.0, -halfWidth(1.0)));
    for (int i = steps; i >= 0; --i) {
        const qreal t = qreal(i) / steps;
        k.lineTo(at(t, -halfWidth(t)));
    }
    k.closeSubpath();

    // The tail fin fans out behind the body.
    QPainterPath tail;
    tail.moveTo(at(0.02, 0));
    tail.quadTo(at(-0.08, 10), at(-0.16, 13));
    tail.quadTo(at(-0.08, 0), at(-0.16, -13));
    tail.quadTo(at(-0.08, -10), at(0.02, 0));
    const QPen outline = line(QColor(70, 30, 20), 1.1);
    p.setPen(outline);
    p.setBrush(body.lighter(108));
    p.drawPath(tail);
    // Side fins.
    for (int side = -1; side <= 1; side += 2) {
        QPainterPath fin;
        fin.moveTo(at(0.72, side * 6));
        fin.quadTo(at(0.66, side * 16), at(0.56, side * 15));
        fin.quadTo(at(0.6, side * 8), at(0.62, side * 5));
        fin.closeSubpath();
        p.drawPath(fin);
    }
    p.setBrush(body);
    p.drawPath(k);
    p.save();
    p.setClipPath(k);
    p.setPen(Qt::NoPen);
    p.setBrush(spots);
    p.drawEllipse(at(0.86, 2), 6, 5);
    p.drawEllipse(at(0.55, -3), 5, 6);
    p.drawEllipse(at(0.3, 2), 4, 4);
    p.restore();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(at(0.95, 4), 1.5, 1.5);
    p.drawEllipse(at(0.95, -4), 1.5, 1.5);
}

void fish2(QPainter& p, qreal H) {
    QRadialGradient pond(QPointF(50, H / 2), H * 0.7);
    pond.setColorAt(0, QColor(40, 160, 150));
    pond.setColorAt(1, QColor(10, 70, 80));
    p.fillRect(QRectF(0, 0, 100, H), pond);
    p.setPen(line(QColor(255, 255, 255, 60), 1.0));
    p.setBrush(Qt::NoBrush);
    for (qreal r = 18; r < H; r += 12)
        p.drawEllipse(QPointF(50, H / 2), r, r);

    // Lily pads in the corners.
    p.setPen(line(QColor(20, 80, 30), 1.0));
    for (int i = 0; i < 4; ++i) {
        const QPointF c(i % 2 ? 88 : 12, i / 2 ? H - 14 : 14);
        p.setBrush(QColor(70, 160, 70));
        p.drawPie(QRectF(c.x() - 10, c.y() - 10, 20, 20), (i * 90 + 20) * 16, 320 * 16);
        p.setBrush(QColor(250, 180, 200));
        p.drawEllipse(c, 3, 3);
    }

    // Two koi chasing each other round the pond, the second turned by half a turn.
    for (int turn = 0; turn < 2; ++turn) {
        p.save();
        p.translate(50, H / 2);
        p.rotate(turn * 180 - 60);
        if (turn == 0)
            koi(p, 24, QColor(250, 248, 240), QColor(225, 50, 30));
        else
            koi(p, 24, QColor(250, 170, 40), QColor(250, 248, 240));
        p.restore();
    }
}

QPainterPath leafShape(qreal len, qreal width) {
    QPainterPath l;
    l.moveTo(0, -len / 2);
    l.quadTo(width, 0, 0, len / 2);
    l.quadTo(-width, 0, 0, -len / 2);
    l.closeSubpath();
    return l;
}

void leaves1(QPainter& p, qreal H) {
    p.fillRect(QRectF(0, 0, 100, H), QColor(24, 76, 46));
    const QColor shades[] = {QColor(90, 170, 80), QColor(60, 140, 70), QColor(130, 190, 90)};
    int n = 0;
    for (int row = -1; row * 16 < H + 16; ++row) {
        for (int col = -1; col < 6; ++col, ++n) {
            const qreal x = col * 20 + (row % 2 ? 10 : 0);
            const qreal y = row * 16;
            p.save();
            p.translate(x, y);
            p.rotate(row % 2 ? 40 : -40);
            p.setPen(line(QColor(20, 60, 30), 0.9));
            p.setBrush(shades[n % 3]);
            p.drawPath(leafShape(22, 11));
            p.setPen(line(QColor(220, 240, 200, 200), 0.8));
            p.drawLine(QPointF(0, -9), QPointF(0, 10));
            for (int v = -1; v <= 1; ++v) {
                p.drawLine(QPointF(0, v * 4.5), QPointF(3.2, v * 4.5 - 3));
                p.drawLine(QPointF(0, v * 4.5), QPointF(-3.2, v * 4.5 - 3));
            }
            p.restore();
        }
    }
}

QPainterPath mapleShape(qreal r) {
    // A maple leaf pointing up: the right half's outline, mirrored for the left.
    static const QPointF half[] = {{0, -1},       {0.13, -0.7},  {0.3, -0.78}, {0.26, -0.44},
                                   {0.62, -0.62}, {0.56, -0.42}, {0.9, -0.34}, {0.7, -0.18},
                                   {0.76, -0.02}, {0.4, 0.02},   {0.48, 0.24}, {0.16, 0.16},
                                   {0.06, 0.34}};
    QPolygonF outline;
    for (const QPointF& pt : half)
        outline << pt * r;
    for (int i = int(std::size(half)) - 1; i >= 1; --i)
        outline << QPointF(-half[i].x(), half[i].y()) * r;
    QPainterPath m;
    m.addPolygon(outline);
    m.closeSubpath();
    QPainterPath stem;
    stem.addRect(QRectF(-0.05 * r, 0.2 * r, 0.1 * r, 0.6 * r));
    return m.united(stem);
}

void leaves2(QPainter& p, qreal H) {
    QLinearGradient bg(0, 0, 100, H);
    bg.setColorAt(0, QColor(252, 238, 206));
    bg.setColorAt(1, QColor(240, 214, 170));
    p.fillRect(QRectF(0, 0, 100, H), bg);
    const QColor shades[] = {QColor(214, 80, 30), QColor(236, 160, 40), QColor(170, 40, 30),
                             QColor(200, 120, 40)};
    int n = 0;
    for (int row = 0; row * 22 < H + 22; ++row) {
        for (int col = 0; col < 5; ++col, ++n) {
            const qreal x = col * 24 + (row % 2 ? 12 : 0) + (jitter(n) - 0.5) * 6;
            const qreal y = row * 22 + 4 + (jitter(n + 100) - 0.5) * 6;
            p.save();
            p.translate(x, y);
            p.rotate(jitter(n + 200) * 80 - 40);
            const QColor c = shades[n % 4];
            p.setPen(line(c.darker(150), 0.9));
            p.setBrush(c);
            p.drawPath(mapleShape(11));
            p.setPen(line(c.lighter(140), 0.7));
            for (const QPointF& vein : {QPointF(0, -8), QPointF(6.8, -4), QPointF(-6.8, -4),
                                        QPointF(4.5, 1.6), QPointF(-4.5, 1.6)})
                p.drawLine(QPointF(0, 1.5), vein);
            p.restore();
        }
    }
}

void pattern1(QPainter& p, qreal H) {
    // A trellis of gold lines over deep red with a small diamond at every crossing.
    p.fillRect(QRectF(0, 0, 100, H), QColor(150, 20, 36));
    const qreal step = 12.5;
    p.setPen(line(QColor(236, 196, 100), 1.0));
    for (qreal k = -H; k < 100 + H; k += step) {
        p.drawLine(QPointF(k, 0), QPointF(k + H, H));
        p.drawLine(QPointF(k, 0), QPointF(k - H, H));
    }
    p.setPen(line(QColor(110, 10, 24), 0.8));
    p.setBrush(QColor(250, 220, 140));
    const qreal half = step / 2;
    for (int row = 0; row * half < H + half; ++row) {
        for (int col = -1; col * step < 100 + step; ++col) {
            const qreal x = col * step + (row % 2 ? half : 0);
            const qreal y = row * half;
            QPolygonF d;
            d << QPointF(x, y - 2.4) << QPointF(x + 2.4, y) << QPointF(x, y + 2.4)
              << QPointF(x - 2.4, y);
            p.drawPolygon(d);
        }
    }
    // A central medallion breaks the repetition as on classic backs.
    const QPointF c(50, H / 2);
    p.setPen(line(QColor(236, 196, 100), 1.6));
    p.setBrush(QColor(120, 12, 28));
    p.drawEllipse(c, 22, 30);
    p.setPen(line(QColor(236, 196, 100), 1.0));
    p.drawEllipse(c, 18, 26);
    p.setBrush(QColor(236, 196, 100));
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(c);
        p.rotate(i * 45);
        p.drawPath(leafShape(18, 7).translated(0, -10));
        p.restore();
    }
    p.setBrush(QColor(150, 20, 36));
    p.drawEllipse(c, 4, 4);
}

void pattern2(QPainter& p, qreal H) {
    // Concentric diamond bands around an eight-pointed star, in teal and ivory.
    const QPointF c(50, H / 2);
    const QColor bands[] = {QColor(16, 90, 110), QColor(236, 232, 214), QColor(30, 140, 150),
                            QColor(236, 232, 214)};
    const int count = static_cast<int>((50 + H / 2) / 7) + 2;
    p.setPen(Qt::NoPen);
    for (int i = count; i >= 0; --i) {
        const qreal r = i * 7 + 4;
        QPolygonF d;
        d << QPointF(c.x(), c.y() - r * 1.3) << QPointF(c.x() + r, c.y())
          << QPointF(c.x(), c.y() + r * 1.3) << QPointF(c.x() - r, c.y());
        p.setBrush(bands[i % 4]);
        p.drawPolygon(d);
    }
    // Dots on the ivory bands.
    p.setBrush(QColor(220, 120, 40));
    for (int i = 1; i < count; i += 2) {
        const qreal r = i * 7 + 0.5;
        for (int k = 0; k < 4; ++k) {
            const qreal sx = (k % 2 ? 1 : -1), sy = (k / 2 ? 1 : -1);
            p.drawEllipse(QPointF(c.x() + sx * r / 2, c.y() + sy * r * 1.3 / 2), 1.3, 1.3);
        }
    }
    QPainterPath star;
    for (int i = 0; i < 16; ++i) {
        const qreal a = (-90 + i * 22.5) * M_PI / 180;
        const qreal r = i % 2 ? 5 : 12;
        const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (i == 0)
            star.moveTo(pt);
        else
            star.lineTo(pt);
    }
    star.closeSubpath();
    p.setPen(line(QColor(120, 50, 10), 0.9));
    p.setBrush(QColor(240, 170, 50));
    p.drawPath(star);
}

void robot(QPainter& p, qreal H) {
    p.fillRect(QRectF(0, 0, 100, H), QColor(18, 28, 60));
    // Circuit traces behind the robot.
    p.setPen(line(QColor(60, 140, 200, 150), 1.0));
    for (int i = 0; i < 14; ++i) {
        const qreal x = jitter(i) * 100, y = jitter(i + 30) * H;
        const qreal dx = (jitter(i + 60) - 0.5) * 40;
        QPainterPath t;
        t.moveTo(x, y);
        t.lineTo(x + dx, y);
        t.lineTo(x + dx + 8, y + (i % 2 ? 8 : -8));
        p.drawPath(t);
        p.setBrush(QColor(90, 190, 240));
        p.drawEllipse(QPointF(x, y), 1.4, 1.4);
        p.setBrush(Qt::NoBrush);
    }

    const qreal cy = H / 2;
    QLinearGradient metal(0, 0, 100, 0);
    metal.setColorAt(0, QColor(150, 160, 175));
    metal.setColorAt(0.5, QColor(225, 230, 238));
    metal.setColorAt(1, QColor(130, 140, 155));
    const QPen edge = line(QColor(30, 34, 44), 1.4);

    // Antenna.
    p.setPen(edge);
    p.drawLine(QPointF(50, cy - 52), QPointF(50, cy - 40));
    p.setBrush(QColor(255, 80, 60));
    p.drawEllipse(QPointF(50, cy - 54), 3.5, 3.5);
    // Head.
    p.setBrush(metal);
    p.drawRoundedRect(QRectF(30, cy - 42, 40, 28), 5, 5);
    p.setBrush(QColor(200, 60, 50));
    p.drawRoundedRect(QRectF(26, cy - 33, 4, 10), 1.5, 1.5);
    p.drawRoundedRect(QRectF(70, cy - 33, 4, 10), 1.5, 1.5);
    p.setBrush(QColor(20, 24, 40));
    p.drawEllipse(QPointF(41, cy - 31), 6, 6);
    p.drawEllipse(QPointF(59, cy - 31), 6, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 230, 255));
    p.drawEllipse(QPointF(41, cy - 31), 3.5, 3.5);
    p.drawEllipse(QPointF(59, cy - 31), 3.5, 3.5);
    p.setPen(edge);
    p.setBrush(QColor(40, 44, 60));
    p.drawRoundedRect(QRectF(40, cy - 22, 20, 5), 1.5, 1.5);
    p.setPen(line(QColor(200, 210, 220), 0.8));
    for (qreal x = 44; x < 60; x += 4)
        p.drawLine(QPointF(x, cy - 22), QPointF(x, cy - 17));
    // Neck, body and control panel.
    p.setPen(edge);
    p.setBrush(metal);
    p.drawRect(QRectF(45, cy - 14, 10, 4));
    p.drawRoundedRect(QRectF(26, cy - 10, 48, 38), 6, 6);
    p.setBrush(QColor(40, 50, 80));
    p.drawRoundedRect(QRectF(34, cy - 4, 32, 20), 3, 3);
    p.setPen(Qt::NoPen);
    const QColor lamps[] = {QColor(255, 80, 60), QColor(255, 210, 60), QColor(90, 220, 120)};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(lamps[i]);
        p.drawEllipse(QPointF(41 + i * 9, cy + 2), 2.6, 2.6);
    }
    p.setBrush(QColor(120, 230, 255));
    p.drawRect(QRectF(38, cy + 9, 24, 3));
    // Arms with claw hands, and legs.
    p.setPen(edge);
    p.setBrush(metal);
    p.drawRoundedRect(QRectF(15, cy - 8, 9, 30), 4, 4);
    p.drawRoundedRect(QRectF(76, cy - 8, 9, 30), 4, 4);
    p.setBrush(Qt::NoBrush);
    p.setPen(line(QColor(30, 34, 44), 2.2));
    p.drawArc(QRectF(14, cy + 21, 11, 9), 200 * 16, 140 * 16);
    p.drawArc(QRectF(75, cy + 21, 11, 9), 200 * 16, 140 * 16);
    p.setPen(edge);
    p.setBrush(metal);
    p.drawRect(QRectF(34, cy + 28, 10, 18));
    p.drawRect(QRectF(56, cy + 28, 10, 18));
    p.setBrush(QColor(60, 66, 84));
    p.drawRoundedRect(QRectF(30, cy + 46, 18, 7), 3, 3);
    p.drawRoundedRect(QRectF(52, cy + 46, 18, 7), 3, 3);
}

void roseBloom(QPainter& p, qreal r) {
    // Overlapping petals darkening towards a spiral heart.
    const QColor outer(200, 20, 40), inner(140, 0, 20);
    p.setPen(line(QColor(90, 0, 16), 0.9));
    for (int i = 0; i < 5; ++i) {
        p.save();
        p.rotate(i * 72 + 10);
        p.setBrush(outer);
        p.drawEllipse(QPointF(0, -r * 0.5), r * 0.55, r * 0.55);
        p.restore();
    }
    p.setBrush(QColor(175, 10, 32));
    p.drawEllipse(QPointF(0, 0), r * 0.62, r * 0.62);
    for (int i = 0; i < 3; ++i) {
        p.save();
        p.rotate(i * 120 + 40);
        p.setBrush(QColor(190, 16, 38));
        p.drawEllipse(QPointF(0, -r * 0.2), r * 0.34, r * 0.3);
        p.restore();
    }
    p.setBrush(inner);
    p.drawEllipse(QPointF(0, 0), r * 0.22, r * 0.22);
    p.setBrush(Qt::NoBrush);
    p.setPen(line(QColor(250, 120, 130, 180), 0.9));
    QPainterPath spiral;
    for (int i = 0; i <= 24; ++i) {
        const qreal a = i * 0.5;
        const qreal rr = r * 0.05 + i * r * 0.022;
        const QPointF pt(rr * std::cos(a), rr * std::sin(a));
        if (i == 0)
            spiral.moveTo(pt);
        else
            spiral.lineTo(pt);
    }
    p.drawPath(spiral);
}

void rose(QPainter& p, qreal H) {
    // Red roses on deep green, with a faint trellis and a gold inner frame.
    QRadialGradient ground(QPointF(50, H / 2), H * 0.6);
    ground.setColorAt(0, QColor(40, 100, 56));
    ground.setColorAt(1, QColor(14, 52, 30));
    p.fillRect(QRectF(0, 0, 100, H), ground);
    p.setPen(line(QColor(120, 190, 120, 60), 0.8));
    for (qreal k = -H; k < 100 + H; k += 10) {
        p.drawLine(QPointF(k, 0), QPointF(k + H, H));
        p.drawLine(QPointF(k, 0), QPointF(k - H, H));
    }
    p.setPen(line(QColor(230, 190, 90), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(5, 5, 90, H - 10), 4, 4);
    // Buds in the corners of the frame.
    for (int i = 0; i < 4; ++i) {
        p.save();
        p.translate(i % 2 ? 95 : 5, i / 2 ? H - 5 : 5);
        p.setPen(line(QColor(90, 0, 16), 0.8));
        p.setBrush(QColor(200, 30, 50));
        p.drawEllipse(QPointF(0, 0), 4, 4);
        p.setBrush(QColor(150, 10, 30));
        p.drawEllipse(QPointF(0, 0), 1.8, 1.8);
        p.restore();
    }

    // The stem with leaves, then the bloom, mirrored by a half turn like a court card.
    for (int turn = 0; turn < 2; ++turn) {
        p.save();
        p.translate(50, H / 2);
        p.rotate(turn * 180);
        p.setPen(line(QColor(120, 190, 90), 2.6));
        QPainterPath stem;
        stem.moveTo(0, 0);
        stem.cubicTo(-8, -12, 8, -24, 0, -H * 0.22);
        p.drawPath(stem);
        p.setPen(line(QColor(20, 70, 30), 0.9));
        p.setBrush(QColor(60, 140, 60));
        for (int side = -1; side <= 1; side += 2) {
            p.save();
            p.translate(side * 2, -14 - side * 4);
            p.rotate(side * 55);
            p.drawPath(leafShape(18, 9).translated(0, -9));
            p.restore();
        }
        p.translate(0, -H * 0.25);
        roseBloom(p, 17);
        p.restore();
    }
}

void shell(QPainter& p, qreal H) {
    // Pastel scales behind a large scallop.
    p.fillRect(QRectF(0, 0, 100, H), QColor(252, 226, 214));
    p.setPen(line(QColor(236, 180, 170), 0.9));
    p.setBrush(QColor(255, 236, 226));
    for (int row = 0; row * 8 < H + 16; ++row) {
        for (int col = -1; col < 9; ++col) {
            const QPointF c(col * 12 + (row % 2 ? 6 : 0), row * 8);
            p.drawChord(QRectF(c.x() - 6, c.y() - 6, 12, 12), 180 * 16, 180 * 16);
        }
    }

    const QPointF hinge(50, H / 2 + 28);
    const qreal radius = 40;
    const int ribs = 11;
    QPainterPath fan;
    fan.moveTo(hinge);
    for (int i = 0; i < ribs; ++i) {
        const qreal a0 = (-165 + i * 150.0 / ribs) * M_PI / 180;
        const qreal a1 = (-165 + (i + 1) * 150.0 / ribs) * M_PI / 180;
        const QPointF p0 = hinge + QPointF(radius * std::cos(a0), radius * std::sin(a0));
        const QPointF p1 = hinge + QPointF(radius * std::cos(a1), radius * std::sin(a1));
        const qreal am = (a0 + a1) / 2;
        const QPointF bulge =
            hinge + QPointF((radius + 6) * std::cos(am), (radius + 6) * std::sin(am));
        if (i == 0) fan.lineTo(p0);
        fan.quadTo(bulge, p1);
    }
    fan.closeSubpath();
    QRadialGradient shellFill(hinge, radius + 6);
    shellFill.setColorAt(0, QColor(255, 214, 170));
    shellFill.setColorAt(1, QColor(240, 130, 100));
    p.setPen(line(QColor(160, 70, 50), 1.3));
    p.setBrush(shellFill);
    p.drawPath(fan);
    p.setPen(line(QColor(190, 90, 70), 1.0));
    for (int i = 1; i < ribs; ++i) {
        const qreal a = (-165 + i * 150.0 / ribs) * M_PI / 180;
        p.drawLine(hinge + QPointF(4 * std::cos(a), 4 * std::sin(a)),
                   hinge + QPointF(radius * std::cos(a), radius * std::sin(a)));
    }
    p.setPen(line(QColor(255, 240, 230, 150), 0.8));
    p.setBrush(Qt::NoBrush);
    for (qreal r = 12; r < radius; r += 9)
        p.drawArc(QRectF(hinge.x() - r, hinge.y() - r, 2 * r, 2 * r), 20 * 16, 140 * 16);
    // The ears at the hinge.
    p.setPen(line(QColor(160, 70, 50), 1.2));
    p.setBrush(QColor(245, 160, 120));
    QPolygonF ears;
    ears << hinge + QPointF(-12, 2) << hinge + QPointF(12, 2) << hinge + QPointF(7, 10)
         << hinge + QPointF(-7, 10);
    p.drawPolygon(ears);

    // Pearls along the foot of the card.
    p.setPen(line(QColor(180, 160, 160), 0.8));
    for (int i = 0; i < 5; ++i) {
        QRadialGradient pearl(QPointF(28 + i * 11 - 1, H - 12 - 1), 4);
        pearl.setColorAt(0, Qt::white);
        pearl.setColorAt(1, QColor(220, 210, 220));
        p.setBrush(pearl);
        p.drawEllipse(QPointF(28 + i * 11, H - 12), 3.6, 3.6);
    }
}

} // namespace

void paintPattern(QPainter& p, const QSizeF& s, int pattern) {
    paintCardBody(p, s);
    const qreal margin = std::max(2.0, s.width() * 0.075);
    const QRectF inner(margin, margin, s.width() - 2 * margin, s.height() - 2 * margin);
    const qreal radius = std::max(1.5, s.width() * 0.04);
    QPainterPath clip;
    clip.addRoundedRect(inner, radius, radius);

    p.save();
    p.setClipPath(clip);
    p.translate(inner.topLeft());
    const qreal scale = inner.width() / 100;
    p.scale(scale, scale);
    const qreal H = inner.height() / scale;
    switch (pattern) {
    case 0:
        beach(p, H);
        break;
    case 1:
        fish1(p, H);
        break;
    case 2:
        fish2(p, H);
        break;
    case 3:
        leaves1(p, H);
        break;
    case 4:
        leaves2(p, H);
        break;
    case 5:
        pattern1(p, H);
        break;
    case 6:
        pattern2(p, H);
        break;
    case 7:
        robot(p, H);
        break;
    case 8:
        rose(p, H);
        break;
    case 9:
        shell(p, H);
        break;
    default:
        break;
    }
    p.restore();
    p.setPen(QPen(QColor(90, 90, 96), std::max(0.5, s.width() / 90.0)));
    p.setBrush(Qt::NoBrush);
    p.drawPath(clip);
}

} // namespace velnora::ui::art
