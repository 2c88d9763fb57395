#pragma once
// Builds hand-made tables for engine tests: cards placed into the columns of the meld areas and
// hands at the real layout, so every column count goes through columnOf like in play.

#include "game_state.h"
#include "layout.h"

#include <initializer_list>

namespace velnora::test {

// Suits in face order: spades, clubs, diamonds, hearts.
enum Suit { kSpades = 0, kClubs = 1, kDiamonds = 2, kHearts = 3 };

// Face of a natural or two of a rank (1 two ... 13 ace) in a suit.
constexpr int faceOf(int rank, int suit = kSpades) {
    return suit * 13 + rank;
}

// Rank numbers by their card names, for readable tables.
enum CardRank {
    kTwo = 1,
    kThree = 2,
    kFour = 3,
    kFive = 4,
    kSix = 5,
    kSeven = 6,
    kEight = 7,
    kNine = 8,
    kTen = 9,
    kJack = 10,
    kQueen = 11,
    kKing = 12,
    kAce = 13,
};

constexpr int kRedThreeFace = faceOf(kThree, kDiamonds);     // 28
constexpr int kOtherRedThreeFace = faceOf(kThree, kHearts);  // 41
constexpr int kBlackThreeFace = faceOf(kThree, kSpades);     // 2
constexpr int kOtherBlackThreeFace = faceOf(kThree, kClubs); // 15

// A game state with the column positions of a fresh deal at one table size.
struct TableBuilder {
    Layout layout;
    GameState g;

    explicit TableBuilder(int sizeIndex = 0) : layout(computeLayout(sizeIndex)) {
        for (int c = 0; c < kColumns; ++c) {
            const auto col = static_cast<std::size_t>(c);
            const int x = columnX(c, layout);
            g.playerMelds.columnPos[col] = {x, layout.playerMeldsY};
            g.playerHand.columnPos[col] = {x, layout.playerHandY};
            g.opponentMelds.columnPos[col] = {x, layout.opponentMeldsY};
        }
    }

    // The column a card goes to when none is named: its rank, or the wildcard column.
    static int defaultColumn(int face) {
        const int rank = rankOf(face);
        return isWild(rank) ? 1 : rank;
    }

    // Melds a card for a seat in a column (its rank column by default) and runs the velnora
    // check, as the melding actions do.
    Card& meld(Seat seat, int face, int column = -1, int deck = 0) {
        const bool isPlayer = seat == Seat::player;
        Pile& melds = isPlayer ? g.playerMelds : g.opponentMelds;
        if (column < 0) column = defaultColumn(face);
        Card c = makeCard(face, deck);
        c.faceUp = 1;
        placeInColumn(melds, c, column, isPlayer ? kColumnStep : -kColumnStep);
        push(melds, c);
        // The opponent's meld value is kept as a running sum; the player's comes from the pile.
        if (!isPlayer && !isRedThree(face)) g.opponentMeldPoints += c.points;
        checkVelnora(g, seat, column, layout);
        return melds.top();
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
            meld(seat, rank == 0 ? kJokerFace : faceOf(rank, i % 4), column, i / 4 % 2);
    }

    // Adds a card to the player's hand in its rank column.
    void playerHandCard(int face) {
        Card c = makeCard(face, 0);
        c.faceUp = 1;
        placeInColumn(g.playerHand, c, rankOf(face), kColumnStep);
        push(g.playerHand, c);
    }
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
    void discard(int face) {
        Card c = makeCard(face, 0);
        c.faceUp = 1;
        c.x = layout.tableLeft;
        c.y = layout.discardY;
        push(g.discardPile, c);
    }
};

} // namespace velnora::test
