// Card faces: corner indices, pip layouts, the court figures and the jester of the joker.
#include "card_painting.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QTransform>

#include <array>

namespace velnora::ui::art {

namespace {

const QColor kRedInk(196, 18, 40);
const QColor kBlackInk(22, 22, 28);
const QColor kGold(232, 181, 52);
const QColor kDarkGold(150, 104, 20);
const QColor kSkin(250, 214, 178);
const QColor kLine(30, 24, 20);
const QColor kCourtBlue(30, 72, 158);
const QColor kCourtRed(192, 32, 44);
const QColor kCream(252, 246, 226);

QString rankText(int typeIndex) {
    static const std::array<const char*, 13> texts = {"2", "3",  "4", "5", "6", "7", "8",
                                                      "9", "10", "J", "Q", "K", "A"};
    return QString::fromLatin1(texts[typeIndex]);
}

// Corner geometry shared by the index and the pip layouts, so pips never run into an index.
struct Corner {
    qreal left, top, width, rankHeight, suitSize, gap;
};

// Cards in a meld column overlap by 12 pixels and the opponent's hand by 10, whatever the card
// size, so the rank must fit in the top 12 pixels and the left 10 of every card.
Corner cornerFor(const QSizeF& s) {
    Corner c;
    c.left = 1.6 + s.width() * 0.015;
    c.top = 2.2;
    c.width = std::min(s.width() * 0.17, 7.4);
    c.rankHeight = std::min(s.height() * 0.14, 9.4);
    c.suitSize = std::min(s.width() * 0.15, 7.4);
    c.gap = 1.6;
    return c;
}

qreal indexRight(const QSizeF& s) {
    const Corner c = cornerFor(s);
    return c.left + c.width;
}

// Draws the top-left index and, turned by half a turn, the bottom-right one.
void drawIndices(QPainter& p, const QSizeF& s, const QString& rank, int suit) {
    const Corner c = cornerFor(s);
    const QColor ink = suitColour(suit);
    for (int turn = 0; turn < 2; ++turn) {
        p.save();
        if (turn == 1) {
            p.translate(s.width(), s.height());
            p.rotate(180);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawPath(fittedText(rank, letteringFont(), QRectF(c.left, c.top, c.width, c.rankHeight)));
        const qreal cx = c.left + c.width / 2;
        const qreal cy = c.top + c.rankHeight + c.gap + c.suitSize / 2;
        drawSuit(p, suit, cx, cy, c.suitSize, c.suitSize * 1.08);
        p.restore();
    }
}

// Pip centres as (column, row) with column -1 left, 0 centre, 1 right and row 0 top .. 1 bottom.
struct Pip {
    qreal column, row;
};

std::vector<Pip> pipLayout(int count) {
    const qreal third = 1.0 / 3.0;
    std::vector<Pip> pips;
    auto sides = [&](std::initializer_list<qreal> rows) {
        for (qreal r : rows) {
            pips.push_back({-1, r});
            pips.push_back({1, r});
        }
    };
    switch (count) {
    case 2:
        pips = {{0, 0}, {0, 1}};
        break;
    case 3:
        pips = {{0, 0}, {0, 0.5}, {0, 1}};
        break;
    case 4:
        sides({0, 1});
        break;
    case 5:
        sides({0, 1});
        pips.push_back({0, 0.5});
        break;
    case 6:
        sides({0, 0.5, 1});
        break;
    case 7:
        sides({0, 0.5, 1});
        pips.push_back({0, 0.25});
        break;
    case 8:
        sides({0, 0.5, 1});
        pips.push_back({0, 0.25});
        pips.push_back({0, 0.75});
        break;
    case 9:
        sides({0, third, 2 * third, 1});
        pips.push_back({0, 0.5});
        break;
    case 10:
        sides({0, third, 2 * third, 1});
        pips.push_back({0, third / 2});
        pips.push_back({0, 1 - third / 2});
        break;
    default:
        break;
    }
    return pips;
}

void drawPips(QPainter& p, const QSizeF& s, int count, int suit) {
    const qreal pipW = s.width() * 0.18;
    const qreal pipH = pipW * 1.1;
    // Side columns as wide apart as real cards have them, but clear of the corner index.
    const qreal colStep = std::min(s.width() * 0.2, s.width() / 2 - pipW / 2 - indexRight(s) - 1.0);
    // The top and bottom rows stay out of the 12-pixel strip that shows in an overlapped column,
    // so the strip holds only the index.
    const qreal top = std::max(s.height() * 0.2, 12 + pipH / 2 - 0.5);
    const qreal bottom = s.height() - top;
    for (const Pip& pip : pipLayout(count)) {
        const qreal x = s.width() / 2 + pip.column * colStep;
        const qreal y = top + pip.row * (bottom - top);
        // Pips in the lower half stand on their heads, as on printed cards.
        drawSuit(p, suit, x, y, pipW, pipH, pip.row > 0.5);
    }
}

void drawAce(QPainter& p, const QSizeF& s, int suit) {
    const qreal cx = s.width() / 2, cy = s.height() / 2;
    if (suit == kSpade) {
        // The ace of spades carries the big ornamented pip of tradition.
        const qreal w = s.width() * 0.56;
        p.setPen(QPen(kBlackInk, std::max(0.6, s.width() / 60.0)));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(cx, cy), w * 0.68, w * 0.68);
        drawSuit(p, suit, cx, cy, w, w * 1.08);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        drawSuit(p, kSpade, cx, cy - w * 0.04, w * 0.22, w * 0.24);
        p.setBrush(kRedInk);
        drawSuit(p, kSpade, cx, cy - w * 0.04, w * 0.14, w * 0.15);
        return;
    }
    const qreal w = s.width() * 0.44;
    drawSuit(p, suit, cx, cy, w, w * 1.08);
}

// Court figures -----------------------------------------------------------------------------
//
// One half of a court figure is drawn in a design box 100 wide and 126 high whose bottom edge is
// the middle of the card; the other half is the same drawing turned by half a turn.

constexpr qreal kHalfW = 100;
constexpr qreal kHalfH = 126;

QPen outlinePen() {
    QPen pen(kLine, 2.2);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void drawRobe(QPainter& p, int typeIndex, const QColor& main, const QColor& second) {
    p.setPen(outlinePen());
    // Shoulders and robe widen towards the middle of the card.
    QPainterPath robe;
    robe.moveTo(14, kHalfH + 2);
    robe.lineTo(16, 86);
    robe.quadTo(18, 72, 36, 68);
    robe.lineTo(64, 68);
    robe.quadTo(82, 72, 84, 86);
    robe.lineTo(86, kHalfH + 2);
    robe.closeSubpath();
    p.setBrush(main);
    p.drawPath(robe);

    // A contrasting front panel with a gold border and a row of buttons.
    QPainterPath panel;
    panel.moveTo(38, 68);
    panel.lineTo(62, 68);
    panel.lineTo(66, kHalfH + 2);
    panel.lineTo(34, kHalfH + 2);
    panel.closeSubpath();
    p.setBrush(second);
    p.drawPath(panel);
    // Each court wears its own cloth so the three read apart at a glance: the king a buttoned
    // front, the queen a gold lattice bodice, the jack a striped tunic with a belt.
    p.save();
    p.setClipPath(panel);
    if (typeIndex == 10) {
        p.setPen(QPen(kGold, 1.6));
        for (qreal k = -60; k < 80; k += 9) {
            p.drawLine(QPointF(30 + k, 68), QPointF(30 + k + 60, kHalfH + 2));
            p.drawLine(QPointF(70 - k, 68), QPointF(70 - k - 60, kHalfH + 2));
        }
    } else if (typeIndex == 9) {
        p.setPen(Qt::NoPen);
        p.setBrush(kGold);
        for (qreal y = 74; y < kHalfH; y += 10)
            p.drawRect(QRectF(30, y, 40, 4));
    }
    p.restore();
    p.setPen(QPen(kGold, 3.2));
    p.drawLine(QPointF(38, 70), QPointF(34, kHalfH));
    p.drawLine(QPointF(62, 70), QPointF(66, kHalfH));
    if (typeIndex == 11) {
        p.setPen(QPen(kDarkGold, 1.2));
        p.setBrush(kGold);
        for (qreal y = 80; y < kHalfH; y += 12)
            p.drawEllipse(QPointF(50, y), 2.8, 2.8);
    }
    if (typeIndex == 9) {
        p.setPen(outlinePen());
        p.setBrush(QColor(90, 56, 30));
        p.drawRect(QRectF(15.5, 104, 69, 7));
        p.setBrush(kGold);
        p.drawRoundedRect(QRectF(45, 102.5, 10, 10), 2, 2);
    }

    // Ermine-like trim along the shoulders.
    p.setPen(QPen(kLine, 1.6));
    p.setBrush(QColor(250, 250, 244));
    QPainterPath collar;
    collar.moveTo(24, 74);
    collar.quadTo(50, 88, 76, 74);
    collar.quadTo(72, 66, 64, 66);
    collar.quadTo(50, 74, 36, 66);
    collar.quadTo(28, 66, 24, 74);
    p.drawPath(collar);
    p.setPen(Qt::NoPen);
    if (typeIndex == 11) {
        // Ermine tails on the king's collar.
        p.setBrush(kLine);
        for (qreal x : {32.0, 44.0, 56.0, 68.0})
            p.drawEllipse(QPointF(x, 74 + (x == 44.0 || x == 56.0 ? 3 : 0)), 1.3, 1.8);
    } else if (typeIndex == 10) {
        // The queen's pearl necklace.
        p.setPen(QPen(kLine, 0.8));
        p.setBrush(QColor(255, 250, 240));
        for (int i = 0; i <= 8; ++i) {
            const qreal t = i / 8.0;
            const qreal x = 34 + 32 * t;
            const qreal y = 76 + 8 * (1 - (2 * t - 1) * (2 * t - 1));
            p.drawEllipse(QPointF(x, y), 2.2, 2.2);
        }
    }
}

void drawHead(QPainter& p, bool beard) {
    p.setPen(outlinePen());
    p.setBrush(kSkin);
    p.drawEllipse(QPointF(50, 47), 14, 17);
    if (beard) {
        QPainterPath b;
        b.moveTo(37, 48);
        b.quadTo(38, 72, 50, 74);
        b.quadTo(62, 72, 63, 48);
        b.quadTo(58, 60, 50, 60);
        b.quadTo(42, 60, 37, 48);
        p.setBrush(QColor(120, 78, 40));
        p.drawPath(b);
    }
    // Eyes, brows and mouth.
    p.setPen(Qt::NoPen);
    p.setBrush(kLine);
    p.drawEllipse(QPointF(45, 45), 1.7, 1.9);
    p.drawEllipse(QPointF(55, 45), 1.7, 1.9);
    p.setPen(QPen(kLine, 1.3));
    p.drawLine(QPointF(42, 41), QPointF(47, 40.5));
    p.drawLine(QPointF(53, 40.5), QPointF(58, 41));
    p.setPen(QPen(QColor(170, 40, 40), 1.6));
    p.drawLine(QPointF(46.5, 55), QPointF(53.5, 55));
    p.setPen(QPen(QColor(200, 150, 120), 1.2));
    p.drawLine(QPointF(50, 46), QPointF(49, 51));
}

void drawKingCrown(QPainter& p) {
    QPainterPath crown;
    crown.moveTo(33, 36);
    crown.lineTo(31, 12);
    crown.lineTo(40, 22);
    crown.lineTo(50, 6);
    crown.lineTo(60, 22);
    crown.lineTo(69, 12);
    crown.lineTo(67, 36);
    crown.closeSubpath();
    p.setPen(outlinePen());
    p.setBrush(kGold);
    p.drawPath(crown);
    p.setBrush(kCourtRed);
    p.drawRect(QRectF(33, 29, 34, 7));
    p.setPen(Qt::NoPen);
    p.setBrush(kCourtBlue);
    for (qreal x : {31.0, 50.0, 69.0})
        p.drawEllipse(QPointF(x, x == 50.0 ? 6 : 12), 3, 3);
    p.setBrush(QColor(255, 240, 180));
    p.drawEllipse(QPointF(50, 32.5), 2.5, 2.5);
}

void drawQueenHair(QPainter& p) {
    // Long locks falling past the shoulders, behind the head.
    QPainterPath hair;
    hair.moveTo(36, 40);
    hair.quadTo(28, 62, 26, 82);
    hair.quadTo(36, 80, 40, 66);
    hair.lineTo(60, 66);
    hair.quadTo(64, 80, 74, 82);
    hair.quadTo(72, 62, 64, 40);
    hair.closeSubpath();
    p.setPen(outlinePen());
    p.setBrush(QColor(236, 190, 70));
    p.drawPath(hair);
}

void drawQueenCrown(QPainter& p) {
    p.setPen(outlinePen());
    QPainterPath band;
    band.addRect(QRectF(35, 22, 30, 13));
    p.setBrush(kGold);
    p.drawPath(band);
    QPainterPath arches;
    arches.moveTo(35, 23);
    for (int i = 0; i < 3; ++i) {
        const qreal x = 35 + i * 10;
        arches.quadTo(x + 5, 6, x + 10, 23);
    }
    p.drawPath(arches);
    p.setPen(Qt::NoPen);
    p.setBrush(kCourtRed);
    p.drawEllipse(QPointF(50, 28.5), 3, 3);
    p.setBrush(kCourtBlue);
    p.drawEllipse(QPointF(41, 28.5), 2.2, 2.2);
    p.drawEllipse(QPointF(59, 28.5), 2.2, 2.2);
}

void drawJackHair(QPainter& p) {
    QPainterPath hair;
    hair.moveTo(36, 40);
    hair.quadTo(34, 56, 38, 60);
    hair.lineTo(62, 60);
    hair.quadTo(66, 56, 64, 40);
    hair.closeSubpath();
    p.setPen(outlinePen());
    p.setBrush(QColor(140, 86, 40));
    p.drawPath(hair);
}

void drawJackHat(QPainter& p) {
    // A feathered cap worn at a tilt.
    QPainterPath feather;
    feather.moveTo(60, 26);
    feather.cubicTo(74, 6, 90, 8, 94, 4);
    feather.cubicTo(90, 18, 78, 26, 62, 32);
    feather.closeSubpath();
    p.setBrush(QColor(250, 250, 244));
    p.drawPath(feather);
    p.setPen(QPen(kLine, 1.0));
    p.drawLine(QPointF(62, 29), QPointF(92, 7));

    QPainterPath cap;
    cap.moveTo(30, 36);
    cap.quadTo(34, 12, 56, 14);
    cap.quadTo(72, 16, 70, 36);
    cap.closeSubpath();
    p.setPen(outlinePen());
    p.setBrush(kCourtRed);
    p.drawPath(cap);
    p.setBrush(kGold);
    p.drawRoundedRect(QRectF(29, 31, 42, 7), 3, 3);
}

void drawSword(QPainter& p) {
    p.setPen(outlinePen());
    p.setBrush(QColor(214, 220, 230));
    QPainterPath blade;
    blade.moveTo(84, 4);
    blade.lineTo(88, 12);
    blade.lineTo(88, 86);
    blade.lineTo(80, 86);
    blade.lineTo(80, 12);
    blade.closeSubpath();
    p.drawPath(blade);
    p.setBrush(kGold);
    p.drawRoundedRect(QRectF(74, 86, 20, 5), 2, 2);
    p.setBrush(QColor(110, 60, 30));
    p.drawRect(QRectF(81.5, 91, 5, 14));
    p.setBrush(kGold);
    p.drawEllipse(QPointF(84, 108), 3.5, 3.5);
}

void drawFlower(QPainter& p) {
    p.setPen(QPen(QColor(40, 110, 50), 2.4));
    p.drawLine(QPointF(18, 44), QPointF(24, 104));
    p.setPen(outlinePen());
    p.setBrush(QColor(70, 150, 70));
    QPainterPath leaf;
    leaf.moveTo(21, 70);
    leaf.quadTo(8, 64, 8, 54);
    leaf.quadTo(18, 58, 21, 70);
    p.drawPath(leaf);
    p.setBrush(kCourtRed);
    for (int i = 0; i < 5; ++i) {
        p.save();
        p.translate(18, 40);
        p.rotate(i * 72);
        p.drawEllipse(QPointF(0, -6), 4.5, 6);
        p.restore();
    }
    p.setBrush(kGold);
    p.drawEllipse(QPointF(18, 40), 3.5, 3.5);
}

void drawHalberd(QPainter& p) {
    p.setPen(outlinePen());
    p.setBrush(QColor(120, 74, 36));
    p.drawRect(QRectF(14, 18, 5, 100));
    QPainterPath axe;
    axe.moveTo(19, 22);
    axe.quadTo(34, 24, 34, 40);
    axe.quadTo(26, 34, 19, 38);
    axe.closeSubpath();
    axe.moveTo(16.5, 4);
    axe.lineTo(20, 18);
    axe.lineTo(13, 18);
    axe.closeSubpath();
    p.setBrush(QColor(214, 220, 230));
    p.drawPath(axe);
}

void drawHand(QPainter& p, qreal x, qreal y) {
    p.setPen(outlinePen());
    p.setBrush(kSkin);
    p.drawEllipse(QPointF(x, y), 5.5, 4.5);
}

void drawSleeve(QPainter& p, QPointF shoulder, QPointF hand, const QColor& colour) {
    QPainterPath arm;
    arm.moveTo(shoulder);
    arm.quadTo(QPointF(hand.x(), shoulder.y() + 4), hand);
    QPen outer(kLine, 13, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.strokePath(arm, outer);
    p.strokePath(arm, QPen(colour.lighter(115), 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    // A gold cuff at the wrist.
    const QPointF dir = hand - QPointF(hand.x(), shoulder.y() + 4);
    const qreal len = std::max(1.0, std::hypot(dir.x(), dir.y()));
    const QPointF cuff = hand - dir / len * 6;
    p.setPen(QPen(kLine, 1.4));
    p.setBrush(kGold);
    p.drawEllipse(cuff, 6, 3.5);
    drawHand(p, hand.x(), hand.y());
}

void drawCourtHalf(QPainter& p, int typeIndex, int suit) {
    const bool red = suit == kDiamond || suit == kHeart;
    const QColor main = red ? kCourtRed : kCourtBlue;
    const QColor second = red ? kCourtBlue : kCourtRed;

    // The held object sits behind the figure so the robe overlaps its lower end.
    if (typeIndex == 11) drawSword(p);
    if (typeIndex == 10) drawFlower(p);
    if (typeIndex == 9) drawHalberd(p);

    if (typeIndex == 10) drawQueenHair(p);
    if (typeIndex == 9) drawJackHair(p);
    drawRobe(p, typeIndex, main, second);
    drawHead(p, typeIndex == 11);
    if (typeIndex == 11) drawKingCrown(p);
    if (typeIndex == 10) drawQueenCrown(p);
    if (typeIndex == 9) drawJackHat(p);

    // A sleeve from the shoulder to the hand holding the object.
    if (typeIndex == 11) drawSleeve(p, {70, 74}, {84, 96}, main);
    if (typeIndex == 10) drawSleeve(p, {30, 74}, {23, 98}, main);
    if (typeIndex == 9) drawSleeve(p, {30, 74}, {16.5, 96}, main);

    // The suit beside the head, as on printed courts.
    p.setPen(Qt::NoPen);
    p.setBrush(suitColour(suit));
    const QPointF pipAt = typeIndex == 11 ? QPointF(16, 18) : QPointF(84, 22);
    if (typeIndex == 9)
        drawSuit(p, suit, 84, 50, 16, 17);
    else
        drawSuit(p, suit, pipAt.x(), pipAt.y(), 16, 17);
}

void drawCourt(QPainter& p, const QSizeF& s, int typeIndex, int suit) {
    const qreal left = std::max(s.width() * 0.235, indexRight(s) + 0.4);
    const QRectF frame(left, s.height() * 0.065, s.width() - 2 * left, s.height() * 0.87);
    p.setPen(Qt::NoPen);
    p.setBrush(kCream);
    p.drawRect(frame);

    const qreal scale = frame.width() / kHalfW;
    for (int turn = 0; turn < 2; ++turn) {
        p.save();
        if (turn == 1) {
            p.translate(s.width(), s.height());
            p.rotate(180);
        }
        // Each half is clipped at the middle line so the two figures meet cleanly there.
        p.setClipRect(QRectF(frame.left(), frame.top(), frame.width(), frame.height() / 2));
        p.translate(frame.left(), frame.top());
        p.scale(scale, frame.height() / 2 / kHalfH);
        drawCourtHalf(p, typeIndex, suit);
        p.restore();
    }
    const qreal line = std::max(0.5, s.width() / 70.0);
    p.setPen(QPen(suitColour(suit), line));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame);
    p.setPen(QPen(kLine, line * 0.8));
    p.drawLine(QPointF(frame.left(), frame.center().y()),
               QPointF(frame.right(), frame.center().y()));
}

// Joker -------------------------------------------------------------------------------------
//
// The jester is drawn in a design box 100 wide and 150 high.

struct JesterColours {
    QColor left, middle, right, body1, body2;
};

void drawJester(QPainter& p, const JesterColours& c) {
    QPen pen(kLine, 2.0);
    pen.setJoinStyle(Qt::RoundJoin);

    // Harlequin body of diamonds.
    QPainterPath body;
    body.moveTo(30, 96);
    body.lineTo(70, 96);
    body.lineTo(86, 150);
    body.lineTo(14, 150);
    body.closeSubpath();
    p.setPen(pen);
    p.setBrush(c.body1);
    p.drawPath(body);
    p.save();
    p.setClipPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(c.body2);
    for (int row = 0; row < 5; ++row) {
        for (int col = -1; col < 7; ++col) {
            const qreal cx = col * 16 + (row % 2 ? 8 : 0) + 2;
            const qreal cy = 96 + row * 14;
            QPolygonF d;
            d << QPointF(cx, cy - 7) << QPointF(cx + 8, cy) << QPointF(cx, cy + 7)
              << QPointF(cx - 8, cy);
            if ((row + col) % 2 == 0) p.drawPolygon(d);
        }
    }
    p.restore();
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(body);

    // Ruff collar.
    QPainterPath ruff;
    ruff.moveTo(22, 90);
    for (int i = 0; i < 8; ++i) {
        const qreal x = 22 + i * 7;
        ruff.lineTo(x + 3.5, 102);
        ruff.lineTo(x + 7, 90);
    }
    ruff.lineTo(22, 90);
    p.setBrush(Qt::white);
    p.drawPath(ruff);

    // Face.
    p.setBrush(kSkin);
    p.drawEllipse(QPointF(50, 70), 16, 18);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 130, 130, 160));
    p.drawEllipse(QPointF(40, 76), 4, 3);
    p.drawEllipse(QPointF(60, 76), 4, 3);
    p.setBrush(kLine);
    p.drawEllipse(QPointF(44, 66), 2, 2.4);
    p.drawEllipse(QPointF(56, 66), 2, 2.4);
    p.setBrush(kCourtRed);
    p.drawEllipse(QPointF(50, 72), 3, 3);
    p.setPen(QPen(kLine, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath smile;
    smile.moveTo(42, 78);
    smile.quadTo(50, 86, 58, 78);
    p.drawPath(smile);

    // Three-pointed cap with bells.
    auto lobe = [&](QPointF b1, QPointF c1, QPointF tip, QPointF c2, QPointF b2, QColor col) {
        QPainterPath l;
        l.moveTo(b1);
        l.quadTo(c1, tip);
        l.quadTo(c2, b2);
        l.closeSubpath();
        p.setPen(pen);
        p.setBrush(col);
        p.drawPath(l);
    };
    lobe({38, 54}, {30, 18}, {50, 4}, {70, 18}, {62, 54}, c.middle);
    lobe({34, 58}, {10, 14}, {5, 42}, {26, 32}, {48, 52}, c.left);
    lobe({66, 58}, {90, 14}, {95, 42}, {74, 32}, {52, 52}, c.right);
    p.setBrush(kGold);
    p.drawRoundedRect(QRectF(32, 52, 36, 8), 4, 4);
    for (QPointF bell : {QPointF(50, 4), QPointF(5, 42), QPointF(95, 42)})
        p.drawEllipse(bell, 4.5, 4.5);
}

// The jester's cap as the joker's corner index, so a joker in an overlapped column is never
// mistaken for a jack.
void drawCapIndex(QPainter& p, const QRectF& box, const JesterColours& c) {
    p.save();
    p.translate(box.topLeft());
    p.scale(box.width() / 100, box.height() / 100);
    QPen pen(kLine, 7);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    auto lobe = [&](QPointF b1, QPointF tip, QPointF b2, QColor col) {
        QPainterPath l;
        l.moveTo(b1);
        l.quadTo(QPointF((b1.x() + tip.x()) / 2, tip.y() - 10), tip);
        l.quadTo(QPointF((b2.x() + tip.x()) / 2, (b2.y() + tip.y()) / 2), b2);
        l.closeSubpath();
        p.setBrush(col);
        p.drawPath(l);
    };
    lobe({30, 84}, {50, 12}, {70, 84}, c.middle);
    lobe({22, 86}, {6, 30}, {48, 76}, c.left);
    lobe({78, 86}, {94, 30}, {52, 76}, c.right);
    p.setBrush(kGold);
    p.drawRoundedRect(QRectF(16, 78, 68, 18), 8, 8);
    for (QPointF bell : {QPointF(50, 12), QPointF(6, 30), QPointF(94, 30)})
        p.drawEllipse(bell, 9, 9);
    p.restore();
}

void drawJokerCard(QPainter& p, const QSizeF& s, const JesterColours& colours, const QColor& ink) {
    // The cap in each corner, with "JOKER" running down under it one letter below the other.
    const Corner c = cornerFor(s);
    const QString word = QStringLiteral("JOKER");
    const qreal letterH = s.height() * 0.068;
    const qreal step = letterH * 1.25;
    const qreal capSide = std::min(c.width + 1.5, c.rankHeight);
    for (int turn = 0; turn < 2; ++turn) {
        p.save();
        if (turn == 1) {
            p.translate(s.width(), s.height());
            p.rotate(180);
        }
        drawCapIndex(p, QRectF(c.left + c.width / 2 - capSide / 2, c.top, capSide, c.rankHeight),
                     colours);
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        const qreal first = c.top + c.rankHeight + c.gap;
        for (int i = 0; i < word.size(); ++i)
            p.drawPath(fittedText(word.mid(i, 1), letteringFont(),
                                  QRectF(c.left, first + i * step, c.width, letterH)));
        p.restore();
    }

    const qreal left = indexRight(s) + 0.8;
    const QRectF area(left, s.height() * 0.12, s.width() - 2 * left, s.height() * 0.76);
    p.save();
    p.translate(area.left(), area.top());
    const qreal scale = std::min(area.width() / 100, area.height() / 150);
    p.translate((area.width() - 100 * scale) / 2, (area.height() - 150 * scale) / 2);
    p.scale(scale, scale);
    drawJester(p, colours);
    p.restore();
}

} // namespace

QColor suitColour(int suit) {
    return suit == kDiamond || suit == kHeart ? kRedInk : kBlackInk;
}

QPainterPath suitPath(int suit) {
    QPainterPath path;
    switch (suit) {
    case kHeart:
        path.moveTo(0, 0.5);
        path.cubicTo(-0.2, 0.26, -0.5, 0.08, -0.5, -0.2);
        path.cubicTo(-0.5, -0.4, -0.36, -0.5, -0.24, -0.5);
        path.cubicTo(-0.1, -0.5, -0.02, -0.42, 0, -0.3);
        path.cubicTo(0.02, -0.42, 0.1, -0.5, 0.24, -0.5);
        path.cubicTo(0.36, -0.5, 0.5, -0.4, 0.5, -0.2);
        path.cubicTo(0.5, 0.08, 0.2, 0.26, 0, 0.5);
        path.closeSubpath();
        break;
    case kDiamond:
        path.moveTo(0, -0.5);
        path.quadTo(0.16, -0.22, 0.4, 0);
        path.quadTo(0.16, 0.22, 0, 0.5);
        path.quadTo(-0.16, 0.22, -0.4, 0);
        path.quadTo(-0.16, -0.22, 0, -0.5);
        path.closeSubpath();
        break;
    case kSpade:
        path.moveTo(0, -0.5);
        path.cubicTo(0.18, -0.28, 0.5, -0.1, 0.5, 0.12);
        path.cubicTo(0.5, 0.3, 0.36, 0.38, 0.25, 0.38);
        path.cubicTo(0.14, 0.38, 0.06, 0.32, 0.03, 0.24);
        path.quadTo(0.06, 0.44, 0.2, 0.5);
        path.lineTo(-0.2, 0.5);
        path.quadTo(-0.06, 0.44, -0.03, 0.24);
        path.cubicTo(-0.06, 0.32, -0.14, 0.38, -0.25, 0.38);
        path.cubicTo(-0.36, 0.38, -0.5, 0.3, -0.5, 0.12);
        path.cubicTo(-0.5, -0.1, -0.18, -0.28, 0, -0.5);
        path.closeSubpath();
        break;
    case kClub: {
        QPainterPath leaves;
        leaves.addEllipse(QPointF(0, -0.27), 0.23, 0.23);
        QPainterPath left;
        left.addEllipse(QPointF(-0.27, 0.08), 0.23, 0.23);
        QPainterPath right;
        right.addEllipse(QPointF(0.27, 0.08), 0.23, 0.23);
        QPainterPath middle;
        middle.addEllipse(QPointF(0, 0.0), 0.14, 0.14);
        QPainterPath stem;
        stem.moveTo(0.04, 0.0);
        stem.quadTo(0.06, 0.42, 0.2, 0.5);
        stem.lineTo(-0.2, 0.5);
        stem.quadTo(-0.06, 0.42, -0.04, 0.0);
        stem.closeSubpath();
        path = leaves.united(left).united(right).united(middle).united(stem);
        break;
    }
    default:
        break;
    }
    return path;
}

void drawSuit(QPainter& p, int suit, qreal cx, qreal cy, qreal width, qreal height,
              bool upsideDown) {
    QTransform t;
    t.translate(cx, cy);
    if (upsideDown) t.rotate(180);
    t.scale(width, height);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(suitColour(suit));
    p.drawPath(t.map(suitPath(suit)));
    p.restore();
}

QFont letteringFont() {
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setStyleHint(QFont::Serif);
    font.setBold(true);
    font.setStretch(QFont::Condensed);
    font.setPixelSize(100);
    return font;
}

QPainterPath fittedText(const QString& text, const QFont& font, const QRectF& box) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF bounds = path.boundingRect();
    if (bounds.isEmpty()) return path;
    qreal sy = box.height() / bounds.height();
    qreal sx = sy;
    if (bounds.width() * sx > box.width()) sx = box.width() / bounds.width();
    QTransform t;
    t.translate(box.center().x() - bounds.width() * sx / 2, box.top());
    t.scale(sx, sy);
    t.translate(-bounds.left(), -bounds.top());
    return t.map(path);
}

void paintCardBody(QPainter& p, const QSizeF& s) {
    const QRectF body(0.5, 0.5, s.width() - 1, s.height() - 1);
    const qreal radius = s.width() * 0.08;
    p.setPen(QPen(QColor(70, 70, 78), 1.0));
    p.setBrush(QColor(255, 255, 252));
    p.drawRoundedRect(body, radius, radius);
}

void paintFace(QPainter& p, const QSizeF& s, int face) {
    paintCardBody(p, s);
    if (face == 53) {
        drawJokerCard(p, s,
                      {kCourtRed, QColor(40, 150, 70), kCourtBlue, QColor(120, 60, 170), kGold},
                      kRedInk);
        return;
    }
    if (face < 1 || face > 52) return;
    const int suit = (face - 1) / 13;
    const int typeIndex = (face - 1) % 13;
    drawIndices(p, s, rankText(typeIndex), suit);
    if (typeIndex <= 8)
        drawPips(p, s, typeIndex + 2, suit);
    else if (typeIndex == 12)
        drawAce(p, s, suit);
    else
        drawCourt(p, s, typeIndex, suit);
}

void paintSpareJoker(QPainter& p, const QSizeF& s) {
    paintCardBody(p, s);
    drawJokerCard(p, s, {kBlackInk, kCourtRed, kBlackInk, kCourtRed, QColor(40, 40, 48)},
                  kBlackInk);
}

} // namespace velnora::ui::art
