#pragma once
// What a match record needs to hear from the table: each hand's deal, every move of either seat
// in the order the table applied it, and each hand's score. The engine calls it; a recorder
// (or a test) implements it.

#include "card.h"
#include "host.h"
#include "move.h"
#include "rules.h"

#include <array>

namespace velnora {

enum class Seat;

struct DealtHand {
    // The whole deck as it lay before the first card was dealt, top of the stock last.
    std::array<Card, kDeckSize> order{};
    // This table dealt the hand (it serves the opponent first), or the partner did.
    bool dealtHere = true;
    bool playerStarts = true;
    // The pile's freeze before the first card was turned up (the dealer's rule).
    bool initialFreeze = true;
    std::int32_t playerTotal = 0;
    std::int32_t opponentTotal = 0;
    // The rules the hand is played under (they may change between hands).
    RuleSettings rules;
};

class MatchListener {
public:
    virtual ~MatchListener() = default;
    virtual void handDealt(const DealtHand& deal) = 0;
    // A move the table accepted, with the deck of the card it moved where one moved.
    virtual void moveMade(Seat seat, const Move& move) = 0;
    virtual void handScored(const HandReport& report) = 0;
    // The match totals went back to zero (a new match).
    virtual void matchStarted() = 0;
    // The table was replaced by one this table did not deal (a saved game loaded, a partner's
    // table taken over): the moves that follow belong to no hand heard so far.
    virtual void tableReplaced() {}
};

} // namespace velnora
