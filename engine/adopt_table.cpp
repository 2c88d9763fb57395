// Tables that arrive whole from outside the play: a saved game from disk, and the partner's
// table of a LOADGAME. The engine takes them over in one step, so nothing outside it writes the
// game state.

#include "game.h"
#include "meld_check.h"
#include "relayout.h"
#include "scoring.h"

namespace velnora {

namespace {

// The layout a saved table was laid out in. A table of the largest size saved before its cards
// grew has its rows where the smaller cards put them; the base lines still show in the stock and
// in the empty columns of the hand and the opponent's melds (the rows the card height moves).
Layout layoutSavedIn(const GameState& g, int sizeIndex) {
    const Layout now = computeLayout(sizeIndex);
    const Layout before = earlierLargestLayout();
    if (sizeIndex != before.sizeIndex) return now;
    int votesBefore = 0, votesNow = 0;
    auto vote = [&](int y, int yBefore, int yNow) {
        votesBefore += y == yBefore;
        votesNow += y == yNow;
    };
    if (!g.stock.empty()) vote(g.stock.top().y, before.stockY, now.stockY);
    auto emptyColumns = [&](const Pile& pile, int Layout::*base) {
        for (int k = 0; k < kColumns; ++k) {
            bool empty = true;
            for (const Card& c : pile)
                empty = empty && columnOf(c.x, now) != k;
            if (empty) vote(pile.columnPos[static_cast<std::size_t>(k)].y, before.*base, now.*base);
        }
    };
    emptyColumns(g.playerHand, &Layout::playerHandY);
    emptyColumns(g.opponentMelds, &Layout::opponentMeldsY);
    return votesBefore > votesNow ? before : now;
}

} // namespace

void Game::adoptSavedTable(GameState loaded, int sizeIndex) {
    if (listener_) listener_->tableReplaced();
    const Layout saved = layoutSavedIn(loaded, sizeIndex);
    if (sizeIndex != layout.sizeIndex || saved.cardHeight != layout.cardHeight)
        relayout(loaded, saved, layout);
    loaded.opponentCardSpacing = loaded.opponentCardSpacing ? loaded.opponentCardSpacing : 10;
    state = std::move(loaded);
    host_.setUndoEnabled(false);
    showInstruction(state.promptState);
    host_.repaint(TableArea::all);
    // Saved between a hand's scoring and the next deal (the program ended while the hand's
    // result was shown): nothing would ever deal. A network game deals once the partner has
    // the table.
    if (!options.networkGame && dealIfBetweenHands()) return;
    if (state.inputBlocked && !options.networkGame) startOpponentTurn();
}

void Game::adoptPartnerTable(const GameState& v) {
    if (listener_) listener_->tableReplaced();
    resetHandState();
    GameState& g = state;
    g.stock = v.stock;
    g.discardPile = v.discardPile;
    g.playerHand = v.playerHand;
    g.playerMelds = v.playerMelds;
    g.opponentMelds = v.opponentMelds;
    g.opponentHand = v.opponentHand;
    // The opponent's row as this table shows it.
    for (int i = 0; i < g.opponentHand.count; ++i) {
        Card& c = g.opponentHand.editAt(i);
        c.x = layout.tableLeft + g.opponentCardSpacing * i;
        c.faceUp = g.showOpponentCards;
    }
    clear(g.knownPlayerCards);
    clear(g.knownOpponentCards);
    g.playerVelnoras = v.playerVelnoras;
    g.opponentVelnoras = v.opponentVelnoras;
    g.pileFrozen = v.pileFrozen;
    g.playerTotal = v.playerTotal;
    g.opponentTotal = v.opponentTotal;
    g.opponentMeldPoints = v.opponentMeldPoints;
    g.opponentPromptState = v.opponentPromptState;
    // Both waiting would leave the table with nobody to move, as a saved game's loader knows.
    if (v.promptState == kPromptOpponentsTurn && v.opponentPromptState == kPromptOpponentsTurn)
        g.opponentPromptState = kPromptDraw;

    g.stockExhausted = g.stock.empty() ? 1 : 0;
    g.hasDrawn = v.promptState != kPromptDraw && v.promptState != kPromptOpponentsTurn;
    g.mayTakePile = g.hasDrawn ? 0 : 1;
    g.inputBlocked = v.promptState == kPromptOpponentsTurn ? 1 : 0;
    g.initialMeldMinimum = initialMeldMinimumFor(g.playerTotal);
    g.playerMeldPointsAtTurnStart = meldedPoints(g, Seat::player, true, layout);
    g.opponentMeldPointsAtTurnStart = g.opponentMeldPoints;
    g.loadedSinceDeal = 1;
    forgetOpponentTake();
    takeSnapshot(g);
    showInstruction(v.promptState);
    host_.repaint(TableArea::all);
}

void Game::startMatchTotalsFromZero() {
    state.playerTotal = 0;
    state.opponentTotal = 0;
    noteMatchStarted();
}

} // namespace velnora
