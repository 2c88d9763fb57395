#include "card_drag.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <optional>
#include <utility>

namespace velnora::ui {

CardDrag::CardDrag(TableView& table, const Game& game) : table_(table), game_(game) {}

void CardDrag::press(Qt::MouseButton button, QPointF widgetPos, const Hit& hit, bool mayAct) {
    // A second button pressed during a drag belongs to the drag and changes nothing.
    if (state_ == State::dragging || state_ == State::spent) return;
    state_ = State::idle;
    const bool handCard = hit.kind == kHitHandNatural || hit.kind == kHitHandWildcard;
    if (button != Qt::LeftButton || !handCard || !mayAct) return;
    const Card& c = game_.state.playerHand.at(hit.index);
    state_ = State::armed;
    handIndex_ = hit.index;
    face_ = c.face;
    pressedAt_ = widgetPos;
    pointer_ = widgetPos;
    grabOffset_ = tablePointF(widgetPos) - QPointF(c.x, c.y);
}

bool CardDrag::move(QPointF widgetPos, Qt::MouseButtons buttons) {
    if (state_ == State::idle) return false;
    // The release went elsewhere (a box opened over the table): nothing is dropped.
    if (!(buttons & Qt::LeftButton)) {
        const bool shown = state_ == State::dragging;
        end(State::idle);
        return shown;
    }
    if (state_ == State::spent) return false;
    pointer_ = widgetPos;
    if (state_ == State::armed) {
        // Measured on the screen, as the platform's own drags are: a hand that trembles while
        // clicking must not lift the card, whatever the table's scale.
        if ((widgetPos - pressedAt_).manhattanLength() < QApplication::startDragDistance())
            return false;
        state_ = State::dragging;
        table_.setCursor(Qt::ClosedHandCursor);
    }
    target_ = targetAt(table_.tablePoint(widgetPos));
    return true;
}

CardDrag::Drop CardDrag::release(Qt::MouseButton button, QPointF widgetPos) {
    Drop drop;
    if (state_ == State::armed && button == Qt::LeftButton) state_ = State::idle;
    if (state_ != State::dragging && state_ != State::spent) return drop;
    drop.ended = true;
    if (button != Qt::LeftButton) return drop;
    if (state_ == State::dragging) {
        drop.at = table_.tablePoint(widgetPos);
        drop.target = targetAt(drop.at);
        drop.face = face_;
        drop.cardAt = (tablePointF(widgetPos) - grabOffset_).toPoint();
    }
    end(State::idle);
    return drop;
}

bool CardDrag::cancel() {
    if (state_ != State::dragging) return false;
    end(State::spent);
    return true;
}

void CardDrag::end(State next) {
    if (state_ == State::dragging) table_.unsetCursor();
    state_ = next;
    target_ = Target::none;
}

QPointF CardDrag::tablePointF(QPointF widgetPos) const {
    return table_.tableTransform().inverted().map(widgetPos);
}

CardDrag::Target CardDrag::targetAt(QPoint at) const {
    if (targetRect(Target::pile).contains(at)) return Target::pile;
    if (targetRect(Target::melds).contains(at)) return Target::melds;
    // A long meld column reaches into the hand row; its uncovered cards still take the card.
    const int kind = table_.hitTest(at.x(), at.y()).kind;
    return kind == kHitMeld || kind == kHitThreesColumn ? Target::melds : Target::none;
}

QRect CardDrag::targetRect(Target target) const {
    const Layout& l = game_.layout;
    switch (target) {
    case Target::pile:
        // The whole pile while it is fanned: the player sees one heap and aims at any of it.
        return {l.tableLeft, l.discardY, l.cardWidth, l.cardHeight + table_.discardExtraHeight()};
    case Target::melds:
        // From the middle line to the first hand card, right of the pile column's frame.
        return QRect(QPoint(l.tableLeft + l.cardWidth + 5, l.midY + 2),
                     QPoint(l.tableWidth - 1, l.playerHandY + kColumnStep - 3));
    case Target::none:
        break;
    }
    return {};
}

void CardDrag::paint(QPainter& p) const {
    if (state_ != State::dragging) return;
    const Pile& hand = game_.state.playerHand;
    const Layout& l = game_.layout;
    // The card's place stays as a shadow, so the player sees where a card put back returns to.
    if (handIndex_ < hand.count && hand.at(handIndex_).face == face_) {
        QColor shade = table_.backgroundColour();
        shade.setAlpha(170);
        p.fillRect(table_.visibleRect(hand, handIndex_), shade);
    }
    if (target_ != Target::none) {
        const QRect r = targetRect(target_);
        const int pen = std::max(2, l.cardWidth / 16);
        p.fillRect(r, QColor(255, 255, 255, 50));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 235, 120), pen));
        p.drawRect(r.adjusted(pen / 2, pen / 2, -(pen + 1) / 2, -(pen + 1) / 2));
    }
    const QPixmap& image = table_.images().image(face_ - 1);
    if (!image.isNull())
        drawTableImage(p, table_.tableTransform(), image, tablePointF(pointer_) - grabOffset_);
}

// The table's mouse buttons: a press and release on one target is a click, a left press on a
// hand card that moves far enough is a drag.

void TableView::mousePressEvent(QMouseEvent* event) {
    const QPoint at = tablePoint(event->position());
    pressed_ = hitTest(at.x(), at.y());
    drag_->press(event->button(), event->position(), *pressed_, mayStartDrag());
    QWidget::mousePressEvent(event);
}

void TableView::mouseReleaseEvent(QMouseEvent* event) {
    clearHintMarks();
    const QPoint at = tablePoint(event->position());
    const std::optional<Hit> pressed = std::exchange(pressed_, std::nullopt);
    if (const CardDrag::Drop drop = drag_->release(event->button(), event->position());
        drop.ended) {
        update();
        if (drop.target != CardDrag::Target::none)
            dropHandCard(drop.face, drop.target == CardDrag::Target::pile, drop.at, drop.cardAt);
        return;
    }
    // A press on one card and a release on another is no click on either.
    if (pressed) {
        const Hit released = hitTest(at.x(), at.y());
        if (released.kind != pressed->kind || released.index != pressed->index) return;
    }
    formMouseUp(event->button(), event->modifiers(), at);
}

void TableView::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove) onMouseMove();
    if (drag_->move(event->position(), event->buttons())) update();
    QWidget::mouseMoveEvent(event);
}

// The table's side of a drop: the engine actions a click on the card would take.

void TableView::dropHandCard(int face, bool onPile, QPoint at, QPoint cardAt) {
    dropped_ = {face, cardAt};
    actAsPlayer([&] {
        const GameState& g = game_.state;
        const int index = findFace(g.playerHand, face);
        if (index < 0) return;
        const bool wild = isWild(g.playerHand.at(index).rank());
        if (!wild) game_.noteTableClick();
        // A drag is a left-button gesture: it folds the fanned pile as a left click does.
        if (g.pileFanned) {
            game_.foldDiscardPile();
            repaintArea(TableArea::pileColumn);
        }
        if (onPile) {
            // Whatever the right-click option: carrying the card to the pile is unmistakable.
            discardFromHand(index);
        } else if (!wild) {
            game_.applyPlayerMove(Move::withFace(MoveKind::meld, face));
        } else {
            // A wildcard put on a meld joins that meld, as a click on the meld would add one;
            // anywhere else on the melds it goes where a click on it sends it.
            const Hit on = hitTest(at.x(), at.y());
            const int column =
                on.kind == kHitMeld ? columnOf(g.playerMelds.at(on.index).x, game_.layout) : 0;
            game_.applyPlayerMove(
                Move::meldWildcardAt(face, column > kRankThree ? column : kRankTwo));
        }
    });
    dropped_.reset();
}

QPoint TableView::movementStart(const Card& card, QPoint from) {
    if (!dropped_ || dropped_->first != card.face) return from;
    // Only the dropped card's own move: a wildcard its meld brings along leaves from the hand.
    return std::exchange(dropped_, std::nullopt)->second;
}

bool TableView::mayStartDrag() const {
    const GameState& g = game_.state;
    return !g.inputBlocked && !waitingToRetryConnection && paintingEnabled_ &&
           !(presentation_ && presentation_->busy());
}

} // namespace velnora::ui
