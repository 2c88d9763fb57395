#pragma once
// The single record of a hand in progress and the running match, and the queries on it that
// do not depend on rule flow: rank counts, melded points, snapshots, velnora checks.

#include "layout.h"
#include "pile.h"
#include "status_codes.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velnora {

enum class Seat { player, opponent };

// Velnora kinds per column.
enum VelnoraKind : std::uint8_t {
    kNoVelnora = 0,
    kMixed = 1,
    kNaturalVelnora = 2,
    kWildVelnora = 3
};

struct VelnoraTally {
    std::int32_t velnoraCount = 0;
    std::array<std::uint8_t, kColumns> velnoraKind{};
    std::array<std::uint8_t, kColumns> velnoraNaturals{};
    bool operator==(const VelnoraTally&) const = default;
};

// One card melded from the hand, remembered for "Undo Meld".
struct UndoEntry {
    Card card;
    int columnPitch = 0;
    bool operator==(const UndoEntry&) const = default;
};

// Rows of GameState::rankCounts.
enum RankRow {
    kPlayerMeldsRow = 0,
    kPlayerHandRow = 1,
    kOpponentHandRow = 2,
    kOpponentMeldsRow = 3
};

// What the computer opponent remembers between its turns.
struct AiMemory {
    std::uint8_t aggressiveMode = 0;
    std::uint8_t fallingBehind = 0;
    std::uint8_t pileMakesVelnora = 0;
    std::uint8_t baitRank = 0;
    std::int32_t plannedPairs = 0;
    std::int32_t meldPlan = 0;
    std::uint8_t threesToMeld = 0;
    std::array<std::int32_t, kColumns> playerDiscardsByRank{};
    bool operator==(const AiMemory&) const = default;

    // Forgets what the strategies learnt about the hand that ended; the window's own count of
    // the player's discards is left alone.
    void clearForNewHand() {
        const auto discards = playerDiscardsByRank;
        *this = AiMemory{};
        playerDiscardsByRank = discards;
    }
};

// A seat's side of the table before it took the pile's top card: giving the pile back restores
// it, with the points of whatever was melded meanwhile.
struct PileTakeSnapshot {
    Pile hand;
    Pile melds;
    Pile discardPile;
    Pile knownCards; // what the other seat saw this seat take with the pile
    VelnoraTally velnoras;
    std::int32_t meldPoints = 0;
    bool operator==(const PileTakeSnapshot&) const = default;
};

struct GameState {
    // Piles
    Pile stock;
    Pile discardPile;
    Pile opponentHand;
    Pile playerHand;
    Pile opponentMelds;
    Pile playerMelds;
    Pile knownPlayerCards;
    // Cards the opponent took with the pile and still holds, as the player saw them.
    Pile knownOpponentCards;
    Pile playerHandSnapshot;
    Pile playerMeldsSnapshot;
    Pile discardSnapshot;

    // Velnoras
    VelnoraTally playerVelnoras;
    VelnoraTally opponentVelnoras;
    VelnoraTally playerVelnorasSnapshot;

    std::array<std::array<std::int32_t, kColumns>, 4> rankCounts{};

    // Match and hand values
    std::int32_t playerTotal = 0;
    std::int32_t opponentTotal = 0;
    std::int32_t initialMeldMinimum = 50;
    std::int32_t opponentMeldPoints = 0;
    std::int32_t playerMeldPointsAtTurnStart = 0;
    std::int32_t opponentMeldPointsAtTurnStart = 0;
    std::int32_t wentOut = 2;

    // Flags of the current turn
    std::uint8_t pileFrozen = 0;
    std::uint8_t mayTakePile = 0;
    std::uint8_t hasDrawn = 0;
    std::uint8_t stockDrawsThisTurn = 0;
    std::uint8_t takingPile = 0;
    std::uint8_t topCardPending = 0;
    std::uint8_t blackThreesAllowed = 0;
    Card takenTopCard;
    std::uint8_t takenTopRank = 0;
    std::int32_t topColumnCountAtTake = 0;
    std::int32_t topNaturalsAtTake = 0;
    std::uint8_t naturalPairNeeded = 0;
    std::uint8_t promptState = kPromptDraw;
    std::uint8_t warning = kNoWarning;
    std::uint8_t opponentPromptState = kPromptOpponentsTurn;
    // Set while the opponent has taken the pile's top card and not yet the rest; the snapshot
    // is empty otherwise. Neither is saved: a table is never saved or sent in that moment.
    std::uint8_t opponentTakingPile = 0;
    // The take was one the exhausted stock forced: the rest of the pile never follows it.
    std::uint8_t opponentTakeForced = 0;
    PileTakeSnapshot opponentTakeSnapshot;
    std::string invalidMeldReason;
    std::uint8_t playerStartsHand = 1;
    std::uint8_t gameInProgress = 0;
    std::uint8_t inputBlocked = 0;
    std::uint8_t stockExhausted = 0;
    std::uint8_t endHandRequested = 0;
    std::uint8_t showOpponentCards = 0;
    std::uint8_t opponentCardSpacing = 10;
    // Set by a load until the next deal: the opponent's hand is drawn face down.
    std::uint8_t loadedSinceDeal = 0;
    // The discard pile is shown fanned from the deal until the first left click.
    std::uint8_t pileFanned = 0;
    std::vector<UndoEntry> undoStack;

    AiMemory ai;
    // The memory of a computer level playing the player seat (duels, the hint).
    AiMemory playerSeatAi;

    bool operator==(const GameState&) const = default;
};

// Recounts rankCounts from the piles (columns for melds, ranks for hands).
void countRanks(GameState& g, const Layout& layout);
// Cards in column c of a column-laid pile.
int columnCount(const Pile& pile, int column, const Layout& layout);
// Naturals (rank >= 2) standing in column c.
int columnNaturals(const Pile& pile, int column, const Layout& layout);
// Naturals of exactly that rank standing anywhere in the pile.
int naturalsOfRank(const Pile& pile, int rank);
// Sum of points of a seat's melds; with onlyRealMelds only columns of 3 or more cards count.
int meldedPoints(const GameState& g, Seat seat, bool onlyRealMelds, const Layout& layout);
// First-meld minimum for a match total.
constexpr int initialMeldMinimumFor(int total) {
    return total < 0 ? 15 : total < 1500 ? 50 : total < 3000 ? 90 : 120;
}

void takeSnapshot(GameState& g);
void restoreSnapshot(GameState& g);

// Puts a card at the next place of a column; the caller pushes it. moveColumn=false keeps the
// column's y (a completed velnora is shown squared up).
void placeInColumn(Pile& pile, Card& card, int column, int step, bool moveColumn = true);
// Puts every column of the player's hand and both meld areas at its empty-table position, as a
// new deal needs them.
void resetColumnPositions(GameState& g, const Layout& layout);
// Removes card i of a column-laid pile and closes the gap in its column, unless the column is
// a completed velnora (which is drawn squared up and has no gap).
Card removeFromColumn(Pile& pile, int i, const Layout& layout, const VelnoraTally& tally, int step);

// Result of a velnora check of one column.
struct VelnoraCheck {
    bool isVelnora = false;
    bool isNew = false;
    int kind = 0;
};
// The velnora rule of one column: seven cards or more with at least four naturals, or any seven
// in the wildcard column.
constexpr bool formsVelnora(int cards, int naturals, int column) {
    return cards >= 7 && (naturals >= 4 || column == 1);
}
// Whether column c of a meld pile forms a velnora now.
bool columnFormsVelnora(const Pile& melds, int column, const Layout& layout);
// Checks column c of a seat's melds after a change, updates the tally and squares the velnora up.
VelnoraCheck checkVelnora(GameState& g, Seat seat, int column, const Layout& layout);

// Builds the shuffled 108-card stock through the game's generator and empties every other pile.
class Random;
void buildDeck(GameState& g, Random& rng, const Layout& layout);

// Exactly 108 cards across the six live piles, each face the right number of times, counts in
// range, tallies agreeing with the columns. On failure `why` says what is wrong.
bool isConsistent(const GameState& g, const Layout& layout, std::string* why = nullptr);

// A readable dump of the table for test failures.
std::string toString(const GameState& g);

} // namespace velnora
