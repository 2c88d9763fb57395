#pragma once
// A table of its own, for play that must never reach the real one: the hint's samples and the
// Master's rollouts. It has the real table's rules, layout and options, no network, and its own
// generator.

#include "game.h"
#include "quiet_host.h"

#include <cstdint>

namespace velnora::ai {

struct Sandbox {
    QuietHost host;
    MemorySettings settings;
    Random rng;
    Game game;

    Sandbox(const Game& real, const GameState& table, std::uint64_t seed)
        : rng(seed), game(host, settings, rng) {
        game.rules = real.rules;
        game.layout = real.layout;
        game.options = real.options;
        game.options.networkGame = false;
        game.options.reseedFromClock = false;
        game.state = table;
    }
};

} // namespace velnora::ai
