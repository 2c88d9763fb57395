#pragma once
// Drawing routines shared by the card-art files; callers paint in logical pixels of one card.

#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QPainter;

namespace velnora::ui::art {

// Suit order of the face numbering: 0 spade, 1 club, 2 diamond, 3 heart.
constexpr int kSpade = 0;
constexpr int kClub = 1;
constexpr int kDiamond = 2;
constexpr int kHeart = 3;

// The ink of a suit's symbols and indices.
QColor suitColour(int suit);

// Outline of a suit symbol in a box from (-0.5, -0.5) to (0.5, 0.5), pointing up.
QPainterPath suitPath(int suit);

// A suit symbol of the given width and height centred at (cx, cy), upside down when asked.
void drawSuit(QPainter& p, int suit, qreal cx, qreal cy, qreal width, qreal height,
              bool upsideDown = false);

// Text as a path squeezed into box (height fills the box, width at most the box's), centred.
QPainterPath fittedText(const QString& text, const QFont& font, const QRectF& box);

// The font of corner indices and lettering.
QFont letteringFont();

// The white card body with its thin border; transparent outside the rounded corners.
void paintCardBody(QPainter& p, const QSizeF& size);

// A natural face 1..52 or the joker 53 on a fresh transparent card.
void paintFace(QPainter& p, const QSizeF& size, int face);

// The spare joker picture, a second jester in other colours.
void paintSpareJoker(QPainter& p, const QSizeF& size);

// Built-in back pattern 0..9 inside the white card border.
void paintPattern(QPainter& p, const QSizeF& size, int pattern);

} // namespace velnora::ui::art
