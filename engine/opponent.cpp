#include "game.h"

#include <algorithm>

namespace velnora {

void Game::noteOpponentTurnStart() {
    state.playerMeldPointsAtTurnStart = meldedPoints(state, Seat::player, true, layout);
    // The table is the opponent's until it hands it back, also a remote opponent's.
    state.inputBlocked = 1;
    state.opponentPromptState = kPromptDraw;
}

void Game::startOpponentTurn() {
    noteOpponentTurnStart();
    // The Expert reads the player's rank counts as they stand when its turn begins.
    countRanks(state, layout);
    // A remote opponent's turn arrives as tokens; nothing is started here for it.
    if (driver_ && !options.networkGame) driver_->startTurn(*this);
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
    for (Card& c : hand.edit())
        if (c.x > card.x) c.x -= state.opponentCardSpacing;
    return card;
}

void Game::opponentMeldCard(int i) {
    const Card card = opponentRemoveCard(i);
    opponentLayCard(card, isRedThree(card.face) ? kRankThree : card.rank());
}

void Game::opponentLayCard(Card card, int column) {
    const int fromX = card.x, fromY = card.y;
    card.faceUp = 1;
    // A completed velnora is drawn squared up, so the new card joins that position; any other
    // column grows, also past seven cards (the threes, or a rank with many wildcards), as the
    // player's columns do.
    if (state.opponentVelnoras.velnoraKind[static_cast<std::size_t>(column)] != kNoVelnora) {
        placeInColumn(state.opponentMelds, card, column, -kColumnStep, false);
        card.y = layout.opponentMeldsY - kColumnStep;
    } else {
        placeInColumn(state.opponentMelds, card, column, -kColumnStep);
    }
    moveCard(card, fromX, fromY);
    push(state.opponentMelds, card);
    if (!isRedThree(card.face)) state.opponentMeldPoints += card.points();
    host_.repaint(TableArea::opponentMelds);
    host_.pause(options.meldDelay);
    if (columnCount(state.opponentMelds, column, layout) >= 7)
        checkVelnora(state, Seat::opponent, column, layout);
}

Card Game::opponentTakeBackMeld(int meldIndex) {
    GameState& g = state;
    const int column = columnOf(g.opponentMelds.at(meldIndex).x, layout);
    Card card =
        removeFromColumn(g.opponentMelds, meldIndex, layout, g.opponentVelnoras, -kColumnStep);
    // The same rule as the player's undo: a velnora is undone when its column stops forming
    // one, which is not always at seven cards (wildcards can come before the fourth natural).
    // Both copies must count the same velnoras.
    dissolveLostVelnora(Seat::opponent, column);
    checkVelnora(g, Seat::opponent, column, layout);
    g.opponentMeldPoints -= card.points();
    host_.repaint(TableArea::opponentMelds);
    opponentAddCard(card, true);
    return card;
}

void Game::opponentLayOnPile(Card card) {
    const int fromX = card.x, fromY = card.y;
    card.faceUp = 1;
    card.x = layout.tableLeft;
    card.y = layout.discardY;
    moveCard(card, fromX, fromY);
    push(state.discardPile, card);
    if (isWild(card.rank()) || isRedThree(card.face)) state.pileFrozen = 1;
    host_.repaint(TableArea::pileColumn);
}

} // namespace velnora
