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

    // Set while the partner has taken the pile's top card but not yet the rest.
    bool pileTakingByOpponent = false;
};

} // namespace velnora::net
