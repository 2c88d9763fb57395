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

// The bounds a table read from a file or a partner must keep. A match ends at 5000 and no hand
// scores more than a few thousand either way; only repeated undoing of a pile take (50 points
// each time) lowers a total further. Values past these limits would overflow once play goes on.
constexpr int kTotalLimit = 1000000;
// All 108 cards together are worth less than this.
constexpr int kMeldPointsLimit = 2000;

// The twelve values of one seat for the hand that just ended (g.wentOut must be set).
HandScore scoreSeat(const GameState& g, Seat seat, const RuleSettings& rules, const Layout& layout);
// "Congratulations Ann! You crushed the computer." and the other verdicts.
std::string matchVerdict(int matchDiff, const std::string& name, const std::string& other);

} // namespace velnora
