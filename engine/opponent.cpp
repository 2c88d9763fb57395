#include "game.h"

#include <algorithm>

namespace velnora {

void Game::startOpponentTurn() {
    // A remote opponent's turn arrives as tokens; nothing is started here for it.
    if (options.networkGame) return;
    state.playerMeldPointsAtTurnStart = meldedPoints(state, Seat::player, true, layout);
    state.inputBlocked = 1;
    state.opponentPromptState = 0;
    if (driver_) driver_->startTurn(*this);
}

void Game::opponentDraw() {
    if (state.stock.empty()) return;
    const Card card = pop(state.stock);
    // The player's "End Hand" depends on this, whichever seat took the last card.
    if (state.stock.empty()) {
        state.stockExhausted = 1;
        host_.setEndHandButton(true, state.promptState == kPromptDraw);
    }
    opponentAddCard(card, true);
}

void Game::opponentAddCard(Card card, bool animate) {
    const Pile& hand = state.opponentHand;
    int right = layout.tableLeft - state.opponentCardSpacing;
    for (const Card& c : hand)
        right = std::max(right, c.x);
    const int fromX = card.x, fromY = card.y;
    card.x = right + state.opponentCardSpacing;
    card.y = kOpponentHandY;
    card.faceUp = state.showOpponentCards;
    if (animate) moveCard(card, fromX, fromY);
    push(state.opponentHand, card);
    host_.repaint(TableArea::opponentHand);
}

Card Game::opponentRemoveCard(int i) {
    Pile& hand = state.opponentHand;
    if (i < 0 || i >= hand.count) {
        host_.fatalError("Internal Failure removing card from computer's hand");
        // The program ends after the message; a host that returns must not go on with a
        // card that does not exist.
        throw InternalError("Internal Failure removing card from computer's hand");
    }
    const Card card = removeAt(hand, i);
    removeFace(state.knownOpponentCards, card.face);
    for (Card& c : hand)
        if (c.x > card.x) c.x -= state.opponentCardSpacing;
    return card;
}

void Game::opponentMeldCard(int i) {
    Card card = opponentRemoveCard(i);
    const int fromX = card.x, fromY = card.y;
    card.faceUp = 1;
    const int column = isRedThree(card.face) ? kRankThree : card.rank;
    // Beyond six cards the column is drawn squared up, so the new card joins that position.
    if (columnCount(state.opponentMelds, column, layout) > 6) {
        placeInColumn(state.opponentMelds, card, column, -kColumnStep, false);
        card.y = layout.opponentMeldsY - kColumnStep;
    } else {
        placeInColumn(state.opponentMelds, card, column, -kColumnStep);
    }
    moveCard(card, fromX, fromY);
    push(state.opponentMelds, card);
    if (!isRedThree(card.face)) state.opponentMeldPoints += card.points;
    host_.repaint(TableArea::opponentMelds);
    host_.pause(options.meldDelay);
    if (columnCount(state.opponentMelds, column, layout) >= 7)
        checkVelnora(state, Seat::opponent, column, layout);
}

} // namespace velnora
