#pragma once
// Meld validation and going out: rule checks on the player's whole meld area at the moments
// that commit it, with the reason texts the status line shows.

#include "game_state.h"
#include "rules.h"

#include <string>

namespace velnora {

// Validates the player's meld area as if the hand held handCount cards; sets
// g.invalidMeldReason on failure (the first failing check in the fixed order).
bool validateMelds(GameState& g, const RuleSettings& rules, const Layout& layout, int handCount);
// validateMelds, then the pending-top-card check, which overrides any earlier result.
bool validateForCommit(GameState& g, const RuleSettings& rules, const Layout& layout,
                       int handCount);
// Whether black threes may be melded now; once true it stays true until the next deal.
bool blackThreesMeldable(GameState& g, const RuleSettings& rules);
bool isStuckWithOneCard(GameState& g, const RuleSettings& rules, const Layout& layout);
bool hasGoneOut(const GameState& g, Seat seat, const RuleSettings& rules);
// The check of a remote opponent's melds when it goes out; reason set on failure.
bool validateOpponentMelds(const GameState& g, const RuleSettings& rules, const Layout& layout,
                           std::string* reason = nullptr);

} // namespace velnora
