#pragma once
// The Master level: the Expert's play, with its take-or-draw answer and its discard weighed
// against the alternatives by playing the hand out on deals of the cards the seat cannot see.
// It reads only what its seat sees, and never the game's generator.

#include "expert.h"
#include "unseen_cards.h"

#include <chrono>
#include <cstdint>
#include <vector>

namespace velnora::ai {

inline constexpr int kMasterLevel = 3;

// How much the Master searches per decision. The work is a fixed number of rounds, so that a
// seed decides the same on any machine and any number of threads; the time cap only stops a
// search that runs far over.
struct MasterBudget {
    int rounds = 64;        // deals each surviving candidate is played out on
    int screenRounds = 16;  // after these, only the best few discards go on
    int survivors = 3;      // discards kept beside the Expert's after the screening
    double margin = 2.0;    // standard errors a candidate must beat the Expert's choice by
    double hardCapMs = 200; // no rollout starts after this; the round it cuts is dropped
    bool inference = true;  // weigh the deals by what the other seat's play showed
    int threads = 0;        // threads the rollouts are spread over; 0: all the machine has
    std::uint64_t salt = 0x6d61737465720001ULL; // part of every decision's seed
};

// What a search found, for tests and the bench.
struct MasterStats {
    int rounds = 0;       // rounds played
    int candidates = 0;   // candidates weighed
    bool changed = false; // the Expert's answer was overruled
    double milliseconds = 0;
};

// The Master's search, as the Expert's advisor on the opponent seat. Both decisions read the
// table through a const copy: nothing of the game changes, its generator included.
class MasterSearch : public ExpertAdvisor {
public:
    explicit MasterSearch(const MasterBudget& budget = {}) : budget_(budget) {}
    bool takePile(ExpertTurn& turn, bool expertTakes) override;
    DiscardChoice discard(ExpertTurn& turn, DiscardChoice expertChoice) override;

    // The decisions themselves, on the table of a game whose opponent seat is to decide:
    // taking the pile with the first-meld minimum of the turn, or the discard.
    bool decideTake(const Game& game, int minimum, bool expertTakes);
    DiscardChoice decideDiscard(const Game& game, int minimum, DiscardChoice expertChoice);

    const MasterStats& lastStats() const { return stats_; }

private:
    struct Candidate {
        bool take = false;
        DiscardChoice discard;
    };
    // Index of the candidate chosen; candidate 0 is the Expert's.
    std::size_t search(const Game& game, int minimum, const std::vector<Candidate>& candidates,
                       bool takeDecision);
    std::size_t weigh(const Game& game, int minimum, const std::vector<Candidate>& candidates,
                      bool takeDecision, std::chrono::steady_clock::time_point start);

    MasterBudget budget_;
    MasterStats stats_;
};

// The budget masterTurn and masterHint search with (the bench tries others); per thread.
void setMasterBudget(const MasterBudget& budget);
const MasterBudget& masterBudget();

// Where every decision's think time in milliseconds is appended (the bench), or null; per
// thread.
void setMasterThinkLog(std::vector<double>* log);

// One Master turn of the opponent seat.
void masterTurn(Game& game);

// The seed of a decision: a digest of what the opponent seat sees and the salt, so that equal
// situations search alike and the cards it cannot see play no part.
std::uint64_t situationSeed(const GameState& s, std::uint64_t salt);

// How likely the player seat is to hold each rank, from its play that the table shows: the
// cards on top of the pile were thrown or passed over by it, so pairs of them are unlikely.
RankWeights otherHandWeights(const GameState& s);

} // namespace velnora::ai
