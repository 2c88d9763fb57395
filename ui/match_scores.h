#pragma once
// The hands of the match on the table as they were scored, for the score sheet. It hears the
// game in front of the match record and passes everything on, so the game keeps one listener.

#include "match_listener.h"

#include <vector>

namespace velnora {
class Game;
}

namespace velnora::ui {

// One scored hand: both seats' scores and the match totals after it.
struct ScoredHand {
    int player = 0;
    int opponent = 0;
    int playerTotal = 0;
    int opponentTotal = 0;
    bool operator==(const ScoredHand&) const = default;
};

class MatchScores : public MatchListener {
public:
    MatchScores(const Game& game, MatchListener& next);

    // The hands scored since the match began, or since the table was last replaced.
    const std::vector<ScoredHand>& hands() const { return hands_; }
    // The totals the first of those hands started from: the table's totals while there is none.
    int openingPlayerTotal() const;
    int openingOpponentTotal() const;
    // Hands were played in this match that this table never saw scored: a saved game or the
    // partner's table was taken over in the middle of a match.
    bool earlierHandsUnknown() const;

    void handDealt(const DealtHand& deal) override;
    void moveMade(Seat seat, const Move& move) override;
    void handScored(const HandReport& report) override;
    void matchStarted() override;
    void tableReplaced() override;

private:
    const Game& game_;
    MatchListener& next_;
    std::vector<ScoredHand> hands_;
    bool replaced_ = false;
};

} // namespace velnora::ui
