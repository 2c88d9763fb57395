#pragma once
// Hand scoring of one seat and the match verdict texts.

#include "game_state.h"
#include "host.h"
#include "rules.h"

#include <string>

namespace velnora {

constexpr int kMatchTarget = 5000;

// Bonuses and costs of a hand, in points. The help pages state them too, and a test holds the
// two together.
constexpr int kMixedVelnoraBonus = 300;
constexpr int kNaturalVelnoraBonus = 500;
constexpr int kWildVelnoraBonus = 1000;
constexpr int kRedThreeBonus = 100;
constexpr int kAllFourRedThreesExtra = 400; // on top of four times the red-three bonus
constexpr int kRedThreeInHandCost = 500;
constexpr int kGoingOutBonus = 100;
constexpr int kConcealedGoingOutBonus = 200;
// Taking back a pending take of the discard pile costs this much of the match score.
constexpr int kUndoTakeCost = 50;

// The twelve values of one seat for the hand that just ended (g.wentOut must be set).
HandScore scoreSeat(const GameState& g, Seat seat, const RuleSettings& rules, const Layout& layout);
// "Congratulations Ann! You crushed the computer." and the other verdicts.
std::string matchVerdict(int matchDiff, const std::string& name, const std::string& other);

} // namespace velnora
