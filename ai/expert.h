#pragma once
// The Expert level: a turn split into draw, meld and discard phases, the decisions behind each,
// and the memory (game.state.ai) it keeps between its turns.

#include "ai_common.h"

#include <array>
#include <cstddef>

namespace velnora::ai {

// Small helpers of the Expert's counting.
namespace expert_detail {
inline constexpr int kLowRank = 3; // the four: threes never form an ordinary meld
constexpr std::size_t at(int rank) {
    return static_cast<std::size_t>(rank);
}
constexpr int indicator(bool b) {
    return b ? 1 : 0;
}
} // namespace expert_detail

// A computer hand as the Expert weighs it: the real hand, or a copy with cards added or removed
// to ask "what if".
struct Holding {
    std::array<int, kColumns> h{}; // cards per rank
    int J = 0;                     // jokers
    int T = 0;                     // twos
    int W = 0;                     // J + T
    int H = 0;                     // cards in all
    int blackThrees = 0;           // faces 2 and 15

    // The hand of the opponent seat as it lies on the table.
    static Holding ofHand(const GameState& state);
    void add(const Card& card);
    void removeOne(int rank);
};

// The card the discard choice settled on: a card of the hand, or (under the red-three freeze
// rule) a red three taken back from the melds.
struct DiscardChoice {
    int handIndex = -1;
    int meldIndex = -1;
};

class ExpertTurn;

// Replaces two of the Expert's answers once it has made them: a searcher weighs them against
// the alternatives.
class ExpertAdvisor {
public:
    virtual ~ExpertAdvisor() = default;
    // Whether to take the pile, given the Expert's own answer.
    virtual bool takePile(ExpertTurn& turn, bool expertTakes) = 0;
    // The discard, given the Expert's own choice (a card of the hand, or a red three).
    virtual DiscardChoice discard(ExpertTurn& turn, DiscardChoice expertChoice) = 0;
};

// How the Expert plays a seat for someone else than itself: the Master, the hint, a searcher's
// rollouts.
struct ExpertSeat {
    // The mood and the preferred wild card come from here instead of the game's generator.
    Random* rng = nullptr;
    // Nothing of the other hand is read but what the seat saw: its size, its melds and the
    // cards seen taken with the pile; the table's count of that hand's ranks stays unread.
    bool blind = false;
    ExpertAdvisor* advisor = nullptr;
};

// One Expert turn. It holds the turn's initial-meld minimum M, which the take-pile decision may
// raise and which stays raised for the rest of the turn.
class ExpertTurn {
public:
    explicit ExpertTurn(Game& game, const ExpertSeat& seat = {});

    // The whole turn, from the draw to the hand-back.
    void play();
    // The turn from the take-or-draw answer on: the pick-up or the draw, the melds, the
    // discard and the hand-back.
    void playFrom(bool takePile);

    // Phases
    int expertDrawPhase(); // 0 drew, 1 took the pile, 2 cannot continue
    // The mood and the memory of the pile at the start of the draw phase.
    void expertBeginDraw();
    // The pick-up (when takePile) or the draw; the result of expertDrawPhase.
    int expertTakeOrDraw(bool takePile);
    void expertMeldPhase();
    void expertDiscardPhase();

    // Decisions
    bool expertTakePile();
    // The melds that go with the pile's top card once it is in the hand (rank r).
    // meldedBefore: the seat had melded before the top card went down.
    void expertMeldTakenTop(int r, bool meldedBefore);
    // Melds the taken top card's rank as `cards` cards counting the top card (at least one).
    void expertMeldBesideTop(int r, int cards);
    bool expertPileWorthBuilding(const Holding& hand);
    bool expertEstimateMeld(const Holding& hand, int topRank, bool pileMakesVelnora, bool strict,
                            int* wildcardsUsed = nullptr);
    bool expertCanSpare(const Holding& hand, int rank);
    bool expertCanGoOut(const Holding& hand, int* leftover = nullptr);
    DiscardChoice expertDiscard();

    // Moves
    void expertMeldRank(int rank, int limit);
    void expertFinishInitialMeld();
    void expertCompleteVelnoras();
    void expertMeldNaturals(int keep);
    void expertGoOut();

    int minimum() const { return minimum_; }
    Game& game() { return game_; }
    // A turn taken over part-way (the hint) starts from the table's own minimum.
    void setMinimum(int minimum) { minimum_ = minimum; }

private:
    const Counts& recount();
    bool frozen() const;
    bool melded() const;
    int velnoras() const;
    int needed() const;
    // Going out ends the hand: never while that hands the player the match on projected scores.
    bool scoresAllowGoingOut() const;
    // Whether laying cards worth value now keeps the first meld at or above the minimum.
    bool reachesMinimum(int value, bool makesVelnora) const;
    bool velnoraWithinReach(const Holding& hand, int topRank, bool ok);
    // Safe discard of the smallest holdings; returns the rank or -1.
    int safeDiscardRank();
    int baitDiscardRank(const Holding& hand);

    Random& rng();

    Game& game_;
    ExpertSeat seat_;
    Counts c_;
    std::uint64_t cStamp_ = 0; // the recount stamp c_ was copied at
    int minimum_ = 0;
};

} // namespace velnora::ai
