#pragma once
// A whole match played headless, the autoplayer against a computer level, with its record:
// the shared set-up of the match record and replay tests.

#include "ai_common.h"
#include "autoplayer.h"
#include "match_record.h"
#include "quiet_host.h"
#include "rules.h"

#include <vector>

namespace velnora::test {

class MatchOverHost : public QuietHost {
public:
    bool over = false;
    std::vector<HandReport> scored;
    bool showScoring(const HandReport& report) override {
        scored.push_back(report);
        return false;
    }
    int showGameOver(const MatchReport&) override {
        over = true;
        return kResultNo;
    }
};

// A game set up to play or replay a match under the rules.
struct HeadlessTable {
    MatchOverHost host;
    MemorySettings settings;
    Random rng;
    Game game{host, settings, rng};
    explicit HeadlessTable(const RuleSettings& rules, std::uint64_t seed = 1) : rng(seed) {
        saveRules(settings, rules);
        game.rules = rules;
        game.options.showTurns = false;
    }
};

// Plays a match of the autoplayer against the level on the table and returns its record.
inline net::MatchRecord playedMatch(HeadlessTable& t, int level, std::uint64_t seed) {
    net::MatchRecorder recorder;
    recorder.record.rules = t.game.rules;
    recorder.record.playerName = "Anna";
    recorder.record.opponentName = "Computer";
    recorder.record.level = levelName(level);
    t.game.setMatchListener(&recorder);
    ai::ComputerDriver computer;
    t.game.options.computerLevel = level;
    t.game.setOpponentDriver(&computer);
    ai::AutoPlayer player(t.game, seed);
    t.game.newGame();
    for (int turns = 0; !t.host.over && turns < 5000; ++turns)
        player.playTurn();
    t.game.setMatchListener(nullptr);
    t.game.setOpponentDriver(nullptr);
    return recorder.record;
}

// The cards in order as face and deck: where a card lies is the table's business.
template <typename Cards> std::vector<int> identities(const Cards& cards) {
    std::vector<int> out;
    for (const Card& c : cards)
        out.push_back(c.face * 2 + c.deck);
    return out;
}

} // namespace velnora::test
