#pragma once
// Hand scoring of one seat and the match verdict texts.

#include "game_state.h"
#include "host.h"
#include "rules.h"

#include <string>

namespace velnora {

constexpr int kMatchTarget = 5000;

// The twelve values of one seat for the hand that just ended (g.wentOut must be set).
HandScore scoreSeat(const GameState& g, Seat seat, const RuleSettings& rules, const Layout& layout);
// "Congratulations Ann! You crushed the computer." and the other verdicts.
std::string matchVerdict(int matchDiff, const std::string& name, const std::string& other);

} // namespace velnora
