#pragma once
// Hand-built tables for the engine and computer tests. Table is a whole game whose cards are
// all taken out of a full stock, so the table always holds the 108 cards and isConsistent()
// stays meaningful; TableBuilder is a bare game state for the rule checks and the scoring,
// with cards placed at the real layout so every column count goes through columnOf as in play.

#include "game.h"
#include "recording_host.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>

namespace velnora::test {

// Suits in face order.
constexpr int kSpades = 0, kClubs = 1, kDiamonds = 2, kHearts = 3;

// Rank numbers by their card names, for readable tables.
constexpr int kTwo = 1, kThree = 2, kFour = 3, kFive = 4, kSix = 5, kSeven = 6, kEight = 7;
constexpr int kNine = 8, kTen = 9, kJack = 10, kQueen = 11, kKing = 12, kAce = 13;

// Face of a natural card or a two of a rank (1 two .. 13 ace) in a suit.
constexpr int face(int rank, int suit = kSpades) {
    return suit * 13 + rank;
}
constexpr int kJoker = kJokerFace;
constexpr int kRedThree = face(kThree, kDiamonds); // 28
constexpr int kRedThree2 = face(kThree, kHearts);  // 41
constexpr int kBlackThree = face(kThree, kSpades); // 2
constexpr int kBlackThree2 = face(kThree, kClubs); // 15

// Lays a card face up in a column of a seat's melds. The opponent's meld value is kept as a
// running sum, as its melding does; the player's is read from the pile.
inline void layInMelds(GameState& g, Seat seat, Card c, int column) {
    const bool isPlayer = seat == Seat::player;
    Pile& melds = isPlayer ? g.playerMelds : g.opponentMelds;
    c.faceUp = 1;
    placeInColumn(melds, c, column, isPlayer ? kColumnStep : -kColumnStep);
    push(melds, c);
    if (!isPlayer && !isRedThree(c.face)) g.opponentMeldPoints += c.points();
}
// Lays a card face up in its rank column of the player's hand.
inline void layInPlayerHand(GameState& g, Card c) {
    c.faceUp = 1;
    placeInColumn(g.playerHand, c, c.rank(), kColumnStep);
    push(g.playerHand, c);
}
// Lays a card face up on the discard pile.
inline void layOnPile(GameState& g, const Layout& layout, Card c) {
    c.faceUp = 1;
    c.x = layout.tableLeft;
    c.y = layout.discardY;
    push(g.discardPile, c);
}

// A game on a table of size 0 with a recording host, in-memory settings and a fixed seed.
struct Table {
    RecordingHost host;
    MemorySettings settings;
    Random rng{12345};
    Game game{host, settings, rng};
    GameState& g = game.state;

    Table() { options().showTurns = false; }
    GameOptions& options() { return game.options; }

    // An empty table in the middle of a hand: all 108 cards in the stock, the player to move.
    void clearTable() {
        buildDeck(g, rng, game.layout);
        resetColumnPositions(g, game.layout);
        g.playerVelnoras = {};
        g.opponentVelnoras = {};
        g.pileFrozen = 0;
        g.mayTakePile = 1;
        g.hasDrawn = 0;
        g.takingPile = 0;
        g.topCardPending = 0;
        g.stockDrawsThisTurn = 0;
        g.inputBlocked = 0;
        g.stockExhausted = 0;
        g.promptState = kPromptDraw;
        g.opponentPromptState = kPromptOpponentsTurn;
        g.initialMeldMinimum = 50;
        g.undoStack.clear();
    }

    Card takeFromStock(int f) {
        const int i = findFace(g.stock, f);
        if (i < 0) throw InternalError("no such card left in the stock: " + cardLabel(f));
        return removeAt(g.stock, i);
    }

    void hand(std::initializer_list<int> faces) {
        for (int f : faces)
            layInPlayerHand(g, takeFromStock(f));
    }
    // Cards laid into one column of the player's melds (velnora check included).
    void melds(int column, std::initializer_list<int> faces) {
        for (int f : faces)
            layInMelds(g, Seat::player, takeFromStock(f), column);
        checkVelnora(g, Seat::player, column, game.layout);
    }
    void opponentHand(std::initializer_list<int> faces) {
        for (int f : faces)
            game.opponentAddCard(takeFromStock(f), false);
    }
    // Fills the opponent's hand with whatever naturals the stock still holds.
    void opponentHandOf(int n) {
        for (int i = 0; i < g.stock.count && g.opponentHand.count < n;) {
            const Card& c = g.stock.places()[static_cast<std::size_t>(i)];
            if (isNatural(c.rank()) && c.rank() != kRankThree)
                game.opponentAddCard(removeAt(g.stock, i), false);
            else
                ++i;
        }
    }
    // Discard pile from bottom to top.
    void discardPile(std::initializer_list<int> faces) {
        for (int f : faces)
            layOnPile(g, game.layout, takeFromStock(f));
    }
    // Puts the given cards on top of the stock; the last one is drawn first.
    void stockTop(std::initializer_list<int> faces) {
        for (int f : faces)
            push(g.stock, takeFromStock(f));
    }
    // Moves all but n stock cards (from the bottom) to the discard pile's bottom.
    void shrinkStockTo(int n) {
        Pile rest = g.discardPile;
        clear(g.discardPile);
        while (g.stock.count > n) {
            Card c = removeAt(g.stock, 0);
            c.x = game.layout.tableLeft;
            c.y = game.layout.discardY;
            push(g.discardPile, c);
        }
        for (const Card& c : rest)
            push(g.discardPile, c);
    }
    // Everything is set: remember the table as a turn start does.
    void ready() { takeSnapshot(g); }

    int handIndex(int f) const { return findFace(g.playerHand, f); }
    int meldIndex(int f) const { return findFace(g.playerMelds, f); }
    int column(int c) const { return columnCount(g.playerMelds, c, game.layout); }
    std::string status() const { return host.lastStatus().text; }
    bool statusIsWarning() const { return host.lastStatus().warning; }
};

// A game state with the column positions of a fresh deal at one table size.
struct TableBuilder {
    Layout layout;
    GameState g;

    explicit TableBuilder(int sizeIndex = 0) : layout(computeLayout(sizeIndex)) {
        resetColumnPositions(g, layout);
    }

    // The column a card goes to when none is named: its rank, or the wildcard column.
    static int defaultColumn(int face) {
        const int rank = rankOf(face);
        return isWild(rank) ? 1 : rank;
    }

    // Melds a card for a seat in a column (its rank column by default) and runs the velnora
    // check, as the melding actions do.
    Card& meld(Seat seat, int face, int column = -1, int deck = 0) {
        if (column < 0) column = defaultColumn(face);
        layInMelds(g, seat, makeCard(face, deck), column);
        checkVelnora(g, seat, column, layout);
        return (seat == Seat::player ? g.playerMelds : g.opponentMelds).editTop();
    }
    void meldPlayer(std::initializer_list<int> faces, int column = -1) {
        for (int f : faces)
            meld(Seat::player, f, column);
    }
    void meldOpponent(std::initializer_list<int> faces, int column = -1) {
        for (int f : faces)
            meld(Seat::opponent, f, column);
    }
    // n copies of a rank in alternating suits, melded in one column.
    void meldRun(Seat seat, int rank, int n, int column = -1) {
        for (int i = 0; i < n; ++i)
            meld(seat, rank == 0 ? kJokerFace : face(rank, i % 4), column, i / 4 % 2);
    }

    // Adds a card to the player's hand in its rank column.
    void playerHandCard(int face) { layInPlayerHand(g, makeCard(face, 0)); }
    void playerHandCards(std::initializer_list<int> faces) {
        for (int f : faces)
            playerHandCard(f);
    }
    // Adds a card at the right end of the opponent's hand row.
    void opponentHandCard(int face) {
        Card c = makeCard(face, 1);
        c.x = layout.tableLeft + g.opponentCardSpacing * g.opponentHand.count;
        c.y = kOpponentHandY;
        c.faceUp = g.showOpponentCards;
        push(g.opponentHand, c);
    }
    void opponentHandCards(std::initializer_list<int> faces) {
        for (int f : faces)
            opponentHandCard(f);
    }
    void discard(int face) { layOnPile(g, layout, makeCard(face, 0)); }
};

// A driver that records the turns it was asked to play and, if given, runs a script.
struct ScriptedDriver : OpponentDriver {
    int turns = 0;
    bool blockedAtStart = false;
    int promptAtStart = -1;
    int playerStartsAtStart = -1;
    std::function<void(Game&)> script;
    void startTurn(Game& game) override {
        ++turns;
        blockedAtStart = game.state.inputBlocked != 0;
        promptAtStart = game.state.opponentPromptState;
        playerStartsAtStart = game.state.playerStartsHand;
        if (script) script(game);
    }
};

#define EXPECT_CONSISTENT(game)                                                                    \
    do {                                                                                           \
        std::string why_;                                                                          \
        EXPECT_TRUE((game).isConsistent(&why_)) << why_ << '\n' << toString((game).state);         \
    } while (0)

} // namespace velnora::test
