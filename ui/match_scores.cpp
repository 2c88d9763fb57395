#include "match_scores.h"

#include "game.h"

namespace velnora::ui {

MatchScores::MatchScores(const Game& game, MatchListener& next) : game_(game), next_(next) {}

int MatchScores::openingPlayerTotal() const {
    if (hands_.empty()) return game_.state.playerTotal;
    return hands_.front().playerTotal - hands_.front().player;
}

int MatchScores::openingOpponentTotal() const {
    if (hands_.empty()) return game_.state.opponentTotal;
    return hands_.front().opponentTotal - hands_.front().opponent;
}

bool MatchScores::earlierHandsUnknown() const {
    // A table replaced before its match's first hand was scored hides nothing.
    return replaced_ && (openingPlayerTotal() != 0 || openingOpponentTotal() != 0);
}

void MatchScores::handDealt(const DealtHand& deal) {
    next_.handDealt(deal);
}

void MatchScores::moveMade(Seat seat, const Move& move) {
    next_.moveMade(seat, move);
}

void MatchScores::handScored(const HandReport& report) {
    // The game adds the hand to the totals before it reports the hand.
    hands_.push_back({report.player.total(), report.opponent.total(), game_.state.playerTotal,
                      game_.state.opponentTotal});
    next_.handScored(report);
}

void MatchScores::matchStarted() {
    hands_.clear();
    replaced_ = false;
    next_.matchStarted();
}

void MatchScores::tableReplaced() {
    hands_.clear();
    replaced_ = true;
    next_.tableReplaced();
}

} // namespace velnora::ui
