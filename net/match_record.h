#pragma once
// A match kept whole: the rules, the names, each hand's deal and every move of both seats in
// the order this table applied them, with the hands' scores. It is written as a small text of
// our own that a person can read, the moves under the wire's token names, and read back by a
// loader that trusts nothing. A record replays into a game exactly: same piles, same scores.

#include "game.h"
#include "match_listener.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velnora::net {

struct RecordedMove {
    Seat seat = Seat::player;
    Move move;
    bool operator==(const RecordedMove& o) const {
        return seat == o.seat && move == o.move && move.deck == o.move.deck;
    }
};

struct RecordedHand {
    DealtHand deal;
    std::vector<RecordedMove> moves;
    bool scored = false;
    HandScore player;
    HandScore opponent;
};

struct MatchRecord {
    RuleSettings rules;
    std::string playerName;
    std::string opponentName;
    // "Beginner", "Advanced", "Expert" or "Network".
    std::string level;
    std::vector<RecordedHand> hands;
};

// Builds the record of the match a game plays, from what the game reports to its listener.
// A new match (totals back to zero) starts a new record; onHandScored hears each hand the
// moment it is scored, so a caller can write the file then.
class MatchRecorder : public MatchListener {
public:
    MatchRecord record;
    std::function<void(const MatchRecord&)> onHandScored;
    std::function<void(const MatchRecord&)> onMatchStarted;

    void handDealt(const DealtHand& deal) override;
    void moveMade(Seat seat, const Move& move) override;
    void handScored(const HandReport& report) override;
    void matchStarted() override;
    // The record so far ends; a new one starts with the next deal, at the totals it is dealt at.
    void tableReplaced() override { matchStarted(); }
};

// The text of a record, and a record from a text: false with the reason for anything that is
// not a whole, sound record (a deck that is not the 108 cards, a move no token names, numbers
// out of range, more than a record can hold).
std::string formatRecord(const MatchRecord& record);
bool parseRecord(std::string_view text, MatchRecord& record, std::string& why);

// Plays a recorded hand into a game: its deal, then its moves in order. Stops at the first
// move the table refuses, with the reason; the game must not deal after scoring
// (Game::setDealsAfterScoring(false)).
bool replayHand(Game& game, const RecordedHand& hand, std::string& why);

} // namespace velnora::net
