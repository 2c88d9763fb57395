// The opponent seat's moves as one entry: every move is checked against the table first and
// applied only when it fits whole, so a refused move leaves the table as it was.

#include "game.h"
#include "meld_check.h"

namespace velnora {

namespace {
constexpr int kBigPile = 12;
constexpr int kUndoTakeCost = 50;

std::string cardText(int face) {
    return face >= 1 && face <= kJokerFace ? cardLabel(face) : "card " + std::to_string(face);
}
} // namespace

bool Game::opponentToMove() const {
    return state.promptState == kPromptOpponentsTurn;
}

bool Game::opponentHasDrawn() const {
    const int p = state.opponentPromptState;
    return opponentToMove() && p != kPromptDraw && p != kPromptOpponentsTurn &&
           p != kPromptWaitForDeal;
}

bool Game::opponentTakingPile() const {
    // A forced take of the top card never sends the rest, and a hand may end during a take:
    // the mark counts only while the table still shows the opponent taking the pile.
    return state.opponentTakingPile && state.opponentPromptState == kPromptTakingPile;
}

void Game::forgetOpponentTake() {
    // The snapshot is only ever taken with the mark; most turns have nothing to drop, and
    // clearing four piles on every draw and discard is not free.
    if (state.opponentTakingPile == 0) return;
    state.opponentTakingPile = 0;
    state.opponentTakeForced = 0;
    state.opponentTakeSnapshot = PileTakeSnapshot{};
}

int Game::cardOfMove(const Pile& pile, const Move& move) {
    int found = -1;
    if (move.place >= 0 && move.place < pile.count && pile.at(move.place).face == move.face)
        found = move.place;
    for (int i = pile.count - 1; i >= 0 && found < 0; --i)
        if (pile.at(i).face == move.face && (move.deck < 0 || pile.at(i).deck == move.deck))
            found = i;
    for (int i = pile.count - 1; i >= 0 && found < 0; --i)
        if (pile.at(i).face == move.face) found = i;
    if (found >= 0 && pendingMove_) pendingMove_->deck = pile.at(found).deck;
    return found;
}

MoveResult Game::applyOpponentMove(const Move& move) {
    if (!listener_ || move.kind == MoveKind::newGame) return applyOpponentMoveUnheard(move);
    flushPendingMove();
    pendingMove_ = move;
    const MoveResult result = applyOpponentMoveUnheard(move);
    if (result.accepted)
        flushPendingMove();
    else
        pendingMove_.reset();
    return result;
}

MoveResult Game::applyOpponentMoveUnheard(const Move& move) {
    GameState& g = state;
    switch (move.kind) {
    case MoveKind::newGame:
        g.opponentTotal = 0;
        g.playerTotal = 0;
        g.gameInProgress = 0;
        noteMatchStarted();
        return {};
    case MoveKind::deal:
        // The deal comes with its stock order through dealPartnerHand.
        return MoveResult::refused("A deal needs its stock order.");

    case MoveKind::draw: {
        if (!opponentToMove() || opponentTakingPile())
            return MoveResult::refused("The opponent drew from the stock while it was not their "
                                       "draw.");
        if (g.stock.empty()) return MoveResult::refused("The opponent drew from an empty stock.");
        g.opponentPromptState = kPromptMeldOrDiscard;
        opponentDraw();
        const int last = g.opponentHand.count - 1;
        if (isRedThree(g.opponentHand.at(last).face)) opponentMeldCard(last);
        g.playerMeldPointsAtTurnStart = meldedPoints(g, Seat::player, true, layout);
        g.opponentMeldPointsAtTurnStart = g.opponentMeldPoints;
        forgetOpponentTake();
        return {};
    }
    case MoveKind::takeTopCard: {
        if (!opponentToMove() || g.opponentPromptState != kPromptDraw)
            return MoveResult::refused("The opponent took the discard pile while it was not their "
                                       "draw.");
        if (g.discardPile.empty())
            return MoveResult::refused("The opponent took an empty discard pile.");
        // A take the exhausted stock forces brings the top card alone: the seat may go out by
        // melding before any rest could follow.
        const bool forced = g.stockExhausted && isForcedFor(Seat::opponent);
        g.opponentPromptState = kPromptTakingPile;
        if (g.discardPile.count > kBigPile) host_.playSound(SoundEvent::takeHugePile);
        g.opponentTakeSnapshot =
            PileTakeSnapshot{g.opponentHand,       g.opponentMelds,    g.discardPile,
                             g.knownOpponentCards, g.opponentVelnoras, g.opponentMeldPoints};
        const Card card = pop(g.discardPile);
        host_.repaint(TableArea::pileColumn);
        opponentLayCard(card, isRedThree(card.face) ? kRankThree : card.rank());
        g.opponentTakingPile = 1;
        g.opponentTakeForced = forced ? 1 : 0;
        return {};
    }
    case MoveKind::takePile:
        if (!opponentToMove() || !opponentTakingPile())
            return MoveResult::refused("The opponent took the rest of a pile whose top card it had "
                                       "not taken.");
        g.opponentPromptState = kPromptMeldOrDiscard;
        while (!g.discardPile.empty()) {
            Card card = pop(g.discardPile);
            card.faceUp = 1;
            // The player saw these taken, as the computer sees the player's pile cards.
            if (!isRedThree(card.face)) push(g.knownOpponentCards, card);
            opponentAddCard(card, true);
            if (isRedThree(card.face)) opponentMeldCard(g.opponentHand.count - 1);
        }
        host_.repaint(TableArea::pileColumn);
        g.pileFrozen = 0;
        forgetOpponentTake();
        return {};
    case MoveKind::undoTakePile: {
        if (!opponentToMove() || !opponentTakingPile())
            return MoveResult::refused("The opponent gave back a pile it had not taken.");
        g.opponentPromptState = kPromptDraw;
        PileTakeSnapshot& s = g.opponentTakeSnapshot;
        g.opponentHand = s.hand;
        g.opponentMelds = s.melds;
        g.discardPile = s.discardPile;
        g.knownOpponentCards = s.knownCards;
        g.opponentVelnoras = s.velnoras;
        // The points of the cards melded while taking go back with them, not only the top card's.
        g.opponentMeldPoints = s.meldPoints;
        g.opponentTotal -= kUndoTakeCost;
        forgetOpponentTake();
        host_.repaint(TableArea::all);
        return {};
    }

    case MoveKind::meld: {
        if (!opponentHasDrawn()) return MoveResult::refused("The opponent melded before drawing.");
        const int i = cardOfMove(g.opponentHand, move);
        if (i < 0 || isWild(rankOf(move.face)))
            return MoveResult::refused("The opponent melded " + cardText(move.face) +
                                       ", which it does not hold.");
        // While the pile is being taken the opponent still shows its taking prompt.
        if (!opponentTakingPile()) g.opponentPromptState = kPromptMeldOrDiscard;
        opponentMeldCard(i);
        endHandIfGoneOut();
        return {};
    }
    case MoveKind::meldWildcard: {
        if (!opponentHasDrawn()) return MoveResult::refused("The opponent melded before drawing.");
        if (move.column < 0 || move.column >= kColumns)
            return MoveResult::refused("The opponent melded into a column that does not exist.");
        const int i = cardOfMove(g.opponentHand, move);
        if (i < 0 || !isWild(rankOf(move.face)))
            return MoveResult::refused("The opponent melded " + cardText(move.face) +
                                       " as a wildcard, which it does not hold.");
        opponentLayCard(opponentRemoveCard(i), move.column);
        endHandIfGoneOut();
        return {};
    }
    case MoveKind::undoMeld: {
        if (!opponentHasDrawn())
            return MoveResult::refused("The opponent took back a meld outside its turn.");
        int index = -1;
        const Pile& melds = g.opponentMelds;
        if (move.place >= 0 && move.place < melds.count && melds.at(move.place).face == move.face &&
            columnOf(melds.at(move.place).x, layout) == move.column)
            index = move.place;
        // Of two copies of the face in the column, the one of the move's deck when it names one.
        for (int pass = move.deck < 0 ? 1 : 0; pass < 2 && index < 0; ++pass)
            for (int i = g.opponentMelds.count - 1; i >= 0 && index < 0; --i) {
                const Card& c = g.opponentMelds.at(i);
                if (c.face == move.face && columnOf(c.x, layout) == move.column &&
                    (pass == 1 || c.deck == move.deck))
                    index = i;
            }
        if (index >= 0 && pendingMove_) pendingMove_->deck = g.opponentMelds.at(index).deck;
        if (index < 0)
            return MoveResult::refused("The opponent took back " + cardText(move.face) +
                                       ", which is not in its melds.");
        opponentTakeBackMeld(index);
        return {};
    }

    case MoveKind::discard: {
        if (!opponentHasDrawn())
            return MoveResult::refused("The opponent discarded before drawing.");
        const int i = cardOfMove(g.opponentHand, move);
        if (i < 0)
            return MoveResult::refused("The opponent discarded " + cardText(move.face) +
                                       ", which it does not hold.");
        forgetOpponentTake();
        opponentLayOnPile(opponentRemoveCard(i));
        handBackAfterOpponent();
        return {};
    }
    case MoveKind::discardRedThree: {
        if (!opponentHasDrawn())
            return MoveResult::refused("The opponent discarded before drawing.");
        const int i = isRedThree(move.face) ? cardOfMove(g.opponentMelds, move) : -1;
        if (i < 0)
            return MoveResult::refused("The opponent discarded " + cardText(move.face) +
                                       " as a red three from its melds, where it is not.");
        forgetOpponentTake();
        Card card = removeFromColumn(g.opponentMelds, i, layout, g.opponentVelnoras, -kColumnStep);
        host_.repaint(TableArea::opponentMelds);
        opponentLayOnPile(card);
        handBackAfterOpponent();
        return {};
    }
    case MoveKind::pass:
        if (!opponentToMove())
            return MoveResult::refused("The opponent passed while it was not their turn.");
        forgetOpponentTake();
        host_.showMessage(MessageKind::information,
                          options.networkGame ? options.remoteName + " passes the discard."
                                              : std::string("The computer passes the discard."));
        endOpponentTurn();
        return {};
    case MoveKind::endHand:
        if (!opponentToMove() || g.opponentPromptState != kPromptDraw || !g.stockExhausted)
            return MoveResult::refused("The opponent ended the hand while the stock was not "
                                       "exhausted.");
        g.endHandRequested = 1;
        checkEndOfHand();
        return {};
    }
    return MoveResult::refused("Unknown move.");
}

void Game::handBackAfterOpponent() {
    // The computer's turn ends in front of the player; a partner's needs a sound to be noticed.
    if (options.networkGame) host_.playSound(SoundEvent::endTurnNetwork);
    endOpponentTurn();
}

void Game::endHandIfGoneOut() {
    // A partner who melds its last card sends nothing more; a computer level ends its own turn,
    // and the hand with it, once it has done all it meant to. A seat that empties its hand
    // while taking the pile has not gone out: the rest of the pile is still to come into it.
    if (computerTurnRunning_ == 0 && !restOfPileToCome() &&
        hasGoneOut(state, Seat::opponent, rules))
        checkEndOfHand();
}

bool Game::restOfPileToCome() const {
    return opponentTakingPile() && !state.opponentTakeForced;
}

bool Game::opponentTurnOpen() const {
    const int p = state.opponentPromptState;
    return opponentToMove() && p != kPromptOpponentsTurn && p != kPromptWaitForDeal;
}

} // namespace velnora
