#pragma once
// Dragging a hand card with the left button: the card follows the pointer over the table, and a
// drop on the player's melds or on the discard pile asks the table to meld or discard it. The
// gesture itself changes nothing; the table acts on the drop through the engine's actions.

#include "table_view.h"

#include <QPoint>
#include <QPointF>
#include <QRect>

class QPainter;

namespace velnora::ui {

class CardDrag {
public:
    // Where a dragged card may be put down.
    enum class Target { none, melds, pile };

    // What a release made of the gesture: `ended` when it belonged to a drag (the table must not
    // treat it as a click), with the target under the pointer and the table point it fell on.
    struct Drop {
        bool ended = false;
        Target target = Target::none;
        int face = 0;
        QPoint at;
        QPoint cardAt; // the dragged card's corner
    };

    CardDrag(TableView& table, const Game& game);

    // Mouse events of the table, in widget coordinates. A left press on a hand card, made while
    // the player may act, may turn into a drag; a plain click stays a click.
    void press(Qt::MouseButton button, QPointF widgetPos, const Hit& hit, bool mayAct);
    // Returns true when the table must be repainted: the dragged card moved, started or ended.
    bool move(QPointF widgetPos, Qt::MouseButtons buttons);
    Drop release(Qt::MouseButton button, QPointF widgetPos);
    // Esc: the card goes back; the release that follows does nothing.
    bool cancel();

    bool dragging() const { return state_ == State::dragging; }
    // The target under a point of the table, and the area that lights up for it.
    Target targetAt(QPoint tablePoint) const;
    QRect targetRect(Target target) const;

    // Dims the card's place in the hand, lights the target and draws the card under the pointer.
    void paint(QPainter& p) const;

private:
    enum class State { idle, armed, dragging, spent };

    QPointF tablePointF(QPointF widgetPos) const;
    void end(State next);

    TableView& table_;
    const Game& game_;
    State state_ = State::idle;
    int handIndex_ = -1;
    int face_ = 0;
    QPointF pressedAt_;  // widget coordinates
    QPointF grabOffset_; // table coordinates, from the card's corner to the pointer
    QPointF pointer_;    // widget coordinates
    Target target_ = Target::none;
};

} // namespace velnora::ui
