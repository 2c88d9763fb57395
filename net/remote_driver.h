#pragma once
// The remote human as driver of the opponent seat: every game token the partner sends is
// checked against the table and then repeated on the opponent's side with the engine's
// opponent primitives. The computer never plays while this driver is in place.

#include "game.h"
#include "wire.h"

#include <string>

namespace velnora::net {

// Outcome of applying one token.
enum class ApplyResult {
    applied,
    malformed, // the payload cannot be read; nothing changed
    outOfStep, // the move does not fit this table; nothing changed
};

class RemoteDriver : public OpponentDriver {
public:
    // A remote turn arrives as tokens; there is nothing to start.
    void startTurn(Game&) override {}

    // Applies one game token with the rest of its message; `why` explains a refusal.
    ApplyResult apply(Game& game, Token token, std::string& rest, std::string& why);

    // Forgets a pile take in progress (a new connection or a table taken over).
    void reset() { pileTakingByOpponent = false; }

    // Set while the partner has taken the pile's top card but not yet the rest.
    bool pileTakingByOpponent = false;

private:
    ApplyResult deal(Game& game, const std::string& payload, std::string& why);
    ApplyResult drawNew(Game& game, std::string& why);
    ApplyResult drawPileTop(Game& game, std::string& why);
    ApplyResult drawPileRest(Game& game, std::string& why);
    ApplyResult undoPile(Game& game, std::string& why);
    ApplyResult meld(Game& game, std::string& rest, std::string& why);
    ApplyResult meldWildcard(Game& game, std::string& rest, std::string& why);
    ApplyResult undo(Game& game, std::string& rest, std::string& why);
    ApplyResult discard(Game& game, std::string& rest, std::string& why);
    ApplyResult discardRedThree(Game& game, std::string& rest, std::string& why);
    ApplyResult passDiscard(Game& game, std::string& why);
    ApplyResult handOver(Game& game, std::string& why);
    ApplyResult loadGame(Game& game, std::string& rest, std::string& why);
    // The partner has taken the pile's top card and not yet the rest.
    bool takingPile(const Game& game) const;
    // Ends the partner's turn on this table after its discard or pass.
    void handBack(Game& game);

    // The opponent's side as it was before it took the pile's top card, for UNDOPILE.
    Pile handBeforeTake_;
    Pile meldsBeforeTake_;
    Pile pileBeforeTake_;
    VelnoraTally velnorasBeforeTake_;
    std::int32_t meldPointsBeforeTake_ = 0;
};

} // namespace velnora::net
