#pragma once
// velnora-bench --duel: two computer levels play each deal twice, once from each seat, so the
// luck of the cards cancels, and the bench prints the first level's win shares.

#include "levels.h"
#include "rules.h"

#include <cstdint>
#include <functional>
#include <string>

namespace velnora::bench {

// The player seat played by following the Master's hint, as a duel's first side: each deal is
// played once by the hint and once by the Master from the same seat against the second level.
inline constexpr int kHintSeat = kLevelCount;

// Levels from "master:expert" (names, their first letters or 0..3; "hint" on the left);
// false when unreadable.
bool parseDuel(const std::string& pairing, int& first, int& second);

// Plays matches (rounded up to an even number) as matches/2 deals from both seats, with the
// rules rulesFor(matchSeed) gives, prints the results and returns the failures found.
int runDuel(int first, int second, std::uint64_t seed, int matches, const char* rulesName,
            const std::function<RuleSettings(std::uint64_t)>& rulesFor);

} // namespace velnora::bench
