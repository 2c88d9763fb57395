// The player's moves as one entry: each goes through the click that makes it, and the caller
// learns what the table made of it from the moves the engine reported on the way, not by
// comparing piles before and after.

#include "game.h"
#include "seat_exchange.h"

#include <algorithm>

namespace velnora {

namespace {

// The move the table reports when it accepts the wanted one: a click on the pile takes its top
// card; the rest follows by itself once the melds entitle the player to it.
MoveKind reportedKind(MoveKind wanted) {
    return wanted == MoveKind::takePile ? MoveKind::takeTopCard : wanted;
}

bool fulfils(const Move& made, const Move& wanted) {
    if (made.kind != reportedKind(wanted.kind)) return false;
    switch (wanted.kind) {
    case MoveKind::meld:
    case MoveKind::discard:
    case MoveKind::discardRedThree:
        return made.face == wanted.face;
    case MoveKind::meldWildcard:
        return made.column == wanted.column && (wanted.face == 0 || made.face == wanted.face);
    case MoveKind::undoMeld:
        return made.face == wanted.face && (wanted.column < 0 || made.column == wanted.column);
    default:
        return true;
    }
}

int lastCardWithFace(const Pile& pile, int face) {
    for (int i = pile.count - 1; i >= 0; --i)
        if (pile.at(i).face == face) return i;
    return -1;
}

int lastCardOfColumn(const Pile& melds, int column, const Layout& layout) {
    for (int i = melds.count - 1; i >= 0; --i)
        if (columnOf(melds.at(i).x, layout) == column) return i;
    return -1;
}

} // namespace

void Game::reportMove(const Move& move) {
    if (madeMoves_) madeMoves_->push_back(move);
    // The deal is heard with its whole deck, a new match by itself.
    if (listener_ && move.kind != MoveKind::deal && move.kind != MoveKind::newGame) {
        flushPendingMove();
        listener_->moveMade(seatsExchanged_ % 2 ? Seat::opponent : Seat::player, move);
    }
    host_.sendMove(move);
}

void Game::noteMatchStarted() {
    if (!listener_) return;
    flushPendingMove();
    listener_->matchStarted();
}

void Game::flushPendingMove() {
    if (!pendingMove_) return;
    const Move move = *pendingMove_;
    pendingMove_.reset();
    if (listener_) listener_->moveMade(seatsExchanged_ % 2 ? Seat::player : Seat::opponent, move);
}

MoveResult Game::applyRecordedMove(Seat seat, const Move& move) {
    if (seat == Seat::opponent) return applyOpponentMove(move);
    // The partner's copy applies the player's moves as the opponent's: the table is turned
    // round for it. The hand is scored once the seats are back, against the meld points the
    // player held when the turn began, as when a level plays the player's seat.
    exchangeSeats(state);
    const std::int32_t pointsAtTurnStart = state.opponentMeldPointsAtTurnStart;
    MoveResult result;
    bool mayEndHand = false;
    {
        const SeatsExchanged exchanged(*this);
        const bool held = holdEndOfHand;
        holdEndOfHand = true;
        try {
            result = applyOpponentMove(move);
        } catch (...) {
            holdEndOfHand = held;
            exchangeSeats(state);
            throw;
        }
        holdEndOfHand = held;
        // As the move entry would have decided: a turn handed back, or the last card melded
        // while no pile is being taken.
        const MoveKind k = move.kind;
        mayEndHand = k == MoveKind::discard || k == MoveKind::discardRedThree ||
                     k == MoveKind::pass || k == MoveKind::endHand ||
                     ((k == MoveKind::meld || k == MoveKind::meldWildcard) && !restOfPileToCome());
    }
    state.opponentMeldPointsAtTurnStart = pointsAtTurnStart;
    exchangeSeats(state);
    if (!result.accepted || !mayEndHand || checkEndOfHand()) return result;
    // A turn handed over starts the opponent's as the table starts it for the computer or the
    // partner: the player's meld points are taken for the scoring of going out.
    if (move.kind == MoveKind::discard || move.kind == MoveKind::discardRedThree ||
        move.kind == MoveKind::pass)
        noteOpponentTurnStart();
    return result;
}

MoveResult Game::applyMove(Seat seat, const Move& move) {
    return seat == Seat::player ? applyPlayerMove(move) : applyOpponentMove(move);
}

MoveResult Game::applyPlayerMove(const Move& move) {
    GameState& g = state;
    std::vector<Move> made;
    // A move may start the opponent's turn or the next hand inside this call; a nested entry
    // keeps its own list.
    std::vector<Move>* const outer = madeMoves_;
    madeMoves_ = &made;
    lastWarning_ = kNoWarning;
    struct Restore {
        Game& game;
        std::vector<Move>* outer;
        ~Restore() { game.madeMoves_ = outer; }
    } restore{*this, outer};

    switch (move.kind) {
    case MoveKind::newGame:
        newGame();
        break;
    case MoveKind::deal:
        dealHand();
        break;
    case MoveKind::draw:
        drawFromStock();
        break;
    case MoveKind::takeTopCard:
    case MoveKind::takePile:
        // A second click on the pile gives it back: that is a move of its own.
        if (!g.takingPile) takeDiscardPile();
        break;
    case MoveKind::undoTakePile:
        undoTakePile();
        break;
    case MoveKind::meld:
        if (const int i = lastCardWithFace(g.playerHand, move.face);
            i >= 0 && !isWild(g.playerHand.at(i).rank()))
            meldFromHand(i, MeldMode::single);
        break;
    case MoveKind::meldWildcard:
        if (move.column == kRankTwo) {
            // The wildcard velnora grows by a click on a wildcard in the hand.
            int i = move.face != 0 ? lastCardWithFace(g.playerHand, move.face)
                                   : findRank(g.playerHand, kRankJoker);
            if (i < 0 && move.face == 0) i = findRank(g.playerHand, kRankTwo);
            if (i >= 0 && isWild(g.playerHand.at(i).rank()))
                meldFromHandAs(i, MeldMode::single, move.face);
        } else if (move.column > kRankThree && move.column < kColumns) {
            const int i = lastCardOfColumn(g.playerMelds, move.column, layout);
            if (i >= 0 && !g.hasDrawn)
                showWarning(kWarnMeldBeforeDraw);
            else if (i >= 0)
                wildcardClick(move.column, move.face);
        }
        break;
    case MoveKind::undoMeld:
        // Only the last meld of the turn can be taken back.
        if (!g.undoStack.empty() && g.undoStack.back().card.face == move.face) undoMeld();
        break;
    case MoveKind::discard:
        discard(lastCardWithFace(g.playerHand, move.face));
        break;
    case MoveKind::discardRedThree:
        discardRedThree(lastCardWithFace(g.playerMelds, move.face));
        break;
    case MoveKind::pass:
        passIfStuck();
        break;
    case MoveKind::endHand:
        endHand();
        break;
    }

    MoveResult result;
    result.warning = lastWarning_;
    result.accepted =
        std::any_of(made.begin(), made.end(), [&](const Move& m) { return fulfils(m, move); });
    if (!result.accepted && result.warning != kNoWarning) result.why = warningText(result.warning);
    result.made = std::move(made);
    return result;
}

} // namespace velnora
