#pragma once
// The remote human as driver of the opponent seat: every game token the partner sends is read
// into a move, which the engine checks against the table and then plays on the opponent's side.
// The computer never plays while this driver is in place.

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

private:
    ApplyResult deal(Game& game, const std::string& payload, std::string& why);
    ApplyResult loadGame(Game& game, std::string& rest, std::string& why);
};

} // namespace velnora::net
