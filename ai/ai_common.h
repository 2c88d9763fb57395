#pragma once
// What the three computer strategies share: the counting tables, the common order of a turn
// and the routines every level uses to take the pile, draw, lay red threes, meld and discard.

#include "game.h"
#include "levels.h"

#include <array>

namespace velnora::ai {

// Counting tables rebuilt by aiRecount; every decision reads these, not the piles.
struct Counts {
    std::array<int, kColumns> h{};                  // cards of each rank in the computer's hand
    std::array<int, kColumns> m{};                  // cards in each column of the computer's melds
    std::array<int, kColumns> p{};                  // cards in each column of the player's melds
    std::array<int, kColumns> d{};                  // cards of each rank in the discard pile
    std::array<int, kColumns> playerMeldNaturals{}; // by own rank, player's melds
    std::array<int, kColumns> opponentMeldNaturals{}; // by own rank, computer's melds
    std::array<int, kColumns> known{}; // cards of each rank the player is known to hold
    std::array<int, kColumns> seen{};  // three to ace: hand, both melds, known, pile
    int J = 0, T = 0, W = 0;           // jokers, twos, wild cards in hand
    int handSize = 0;                  // cards in the computer's hand

    bool operator==(const Counts&) const = default;
};

// Per-card value of a rank as the estimates count it (joker 50, two and ace 20, ...).
int pointsOfRank(int rank);

// The levels by their stored words, for the strategies' callers.
using velnora::levelFromString;
using velnora::levelName;
// Melding track-bar position 0..10 and meldDelay in ms.
inline int meldDelayForPosition(int position) {
    return 1500 - 150 * position;
}
// Track-bar position shown for a stored meldDelay.
inline int positionForMeldDelay(int delay) {
    return 10 - delay / 150;
}

// The opponent seat played by the computer at game.options.computerLevel.
class ComputerDriver : public OpponentDriver {
public:
    void startTurn(Game& game) override;
};

// Shared routines
// The entry of one rank in a counting table.
inline int at(const std::array<int, kColumns>& table, int rank) {
    return table[static_cast<std::size_t>(rank)];
}
// Whether the computer has made its first meld this hand.
inline bool hasMelded(const Game& game) {
    return game.state.opponentMeldPoints > 0;
}
// Velnoras the computer has completed this hand.
inline int velnoras(const Game& game) {
    return game.state.opponentVelnoras.velnoraCount;
}
// Rebuilds the counting tables (and rows 0, 2 and 3 of rankCounts) from the piles.
Counts aiRecount(Game& game);
// The same, without a copy: the tables hold until the next recount on this thread, so copy
// what is to be kept across a move.
const Counts& recountTables(Game& game);
// Changes whenever the tables recountTables() hands out change: equal stamps, equal tables.
std::uint64_t recountStamp();
// The computer's pause after a card it lays: meldDelay through the host.
void pause(Game& game);
// Applies one of the computer's moves through the seat's move entry.
void play(Game& game, const Move& move);
// Melds the natural (or red three) at handIndex.
void meldFromHand(Game& game, int handIndex);
// Whether the computer may and will consider taking the pile; the same at every level.
bool canTakeDiscard(Game& game, const Counts& c, bool frozen);
// Moves one wild card (a joker before a two) from the hand into a meld column.
void meldWildcard(Game& game, int column);
// Melds up to limit (0 = all) hand cards of a rank, scanning from the last card; returns how
// many it melded.
int meldFromLast(Game& game, int rank, int limit = 0);
// Jokers and twos standing in one column of the computer's melds.
int countMeldWildcards(const Game& game, int column);
// Index of the first hand card of a rank, or -1.
int findInHand(const Game& game, int rank);
// Lays every red three of the hand; fromLast scans from the last card (the Expert).
void layRedThrees(Game& game, bool fromLast = false);
// The ordinary draw: cardsDrawn cards, each red three (with drawExtra) followed by one more.
void drawForTurn(Game& game);
// The velnora-completing step that Beginner and Advanced use as their add-to-melds step.
void velnoraCompletingStep(Game& game);
// The initial-meld estimate shape of Beginner and Advanced.
struct MeldEstimate {
    int a = 0;     // meld points reached
    int cards = 0; // hand cards the estimate uses
    int pairs = 0; // wild-card pairs it counts
};
// Triples at face value, then wild-card pairs from the ace down, until the minimum is reached.
MeldEstimate sharedMeldEstimate(Game& game, const Counts& c, int minimum);
// The same estimate starting from melded points instead of the computer's meld points.
MeldEstimate sharedMeldEstimate(const Counts& c, int minimum, int melded);
// How a level melds every hand card of one rank (and the wild card it adds to a short column).
using MeldRankFn = void (*)(Game& game, int rank);
// The first meld of Beginner and Advanced: the estimate's wild-card pairs from the ace down,
// then ranks in hand order until the minimum is reached, each laid by meldRank.
void layFirstMelds(Game& game, int minimum, MeldRankFn meldRank);
// Spare wild cards onto the columns of a first meld, a joker before a two, while the meld is
// below the minimum, a column has fewer wild cards than naturals and a card stays in hand.
void topUpFirstMeld(Game& game, int minimum);
// The highest rank whose velnora the top card of rank topRank brings within reach when
// wildSpent wild cards go to the first meld, or -1.
int velnoraWithinReach(const Counts& c, int topRank, int wildSpent);
// Puts count wild cards into the lowest finished velnora, as counted in c.
void wildcardsIntoLowestVelnora(Game& game, const Counts& c, int count);
// The start of every turn: blocks input, records the player's meld points and returns the
// turn's unraised first-meld minimum.
int beginTurn(Game& game);
// The discard itself: lays hand card i on the pile (a wild card or red three freezes it) and
// hands the table back.
void discardFromHand(Game& game, int handIndex);
// Discards the red three at meldIndex of the melds, handing the table back.
void discardRedThree(Game& game, int meldIndex);
// Passes the discard (and hands the table back) when the hand holds fewer than two cards and
// the velnoras are short; returns true when it passed.
bool passesDiscard(Game& game);
// The end of every turn: end-of-hand check, then the table goes back to the player. When the
// check ends the hand, the next hand's state is left alone.
void endTurn(Game& game);

// Moving cards between the pile and the computer's hand
// The counts as they stood before the taken top card of rank r went from the pile into the melds,
// with the card in the hand: the choices that judged the pile count it there.
Counts withTakenTopInHand(Counts c, int r);
// Lays the pile's top card into its column of the melds, as every seat takes it, and returns
// it; the level then melds the naturals that go with it.
Card takeTopCard(Game& game);
// Moves every remaining card of the pile, top first, into the hand.
void takeRestOfPile(Game& game);
// Cards in one column of the computer's melds.
int meldColumnCount(const Game& game, int column);
// The stock is exhausted and the pile cannot be taken: sets endHandRequested and runs the
// end-of-hand check.
void endHandStockExhausted(Game& game);
// With the stock exhausted: takes the forced top card and melds its rank with meldRank, or,
// when the pile cannot be taken, ends the hand. Returns false when the hand was ended.
bool takeForcedTopCardOrEndHand(Game& game, MeldRankFn meldRank);

// The three levels' entry points.
void beginnerTurn(Game& game);
void advancedTurn(Game& game);
void expertTurn(Game& game);

} // namespace velnora::ai
