#pragma once
// The thirteen rule variants, where they are stored, and the rule string a network partner
// compares with its own.

#include <string>

namespace velnora {

class Settings;

struct RuleSettings {
    bool velnoraRequired = false;
    int velnorasToGoOut = 1;
    int cardsDrawn = 1;
    bool addToVelnora = true;
    bool topCardCounts = true;
    bool initialBlock = true;
    bool initialBlockForBoth = true;
    bool naturalPair = true;
    bool addExistingMeld = false;
    bool drawExtra = true;
    bool threeBlock = false;
    bool bonusCounts = false;
    bool wildcardVelnora = true;

    bool operator==(const RuleSettings&) const = default;
};

// The settings keys of the rules (the reader's spelling; the store folds case).
namespace rulekeys {
inline constexpr const char* kVelnoraRequired = "Settings\\Velnora required";
// The name as the dialog writes it: a value stored for the first time keeps this spelling.
inline constexpr const char* kVelnoraRequiredWritten = "Settings\\Velnora Required";
inline constexpr const char* kNumberOfVelnoras = "Settings\\Number of Velnoras";
inline constexpr const char* kNumberOfCards = "Settings\\Number of Cards";
inline constexpr const char* kAddToVelnora = "Settings\\Add to Velnora";
inline constexpr const char* kTopCardCounts = "Settings\\Top Card Counts";
inline constexpr const char* kInitialBlock = "Settings\\Initial Block";
inline constexpr const char* kInitialBlockForBoth = "Settings\\Initial Block for Both";
inline constexpr const char* kNaturalPair = "Settings\\Natural Pair";
inline constexpr const char* kAddExistingMeld = "Settings\\Add Existing Meld";
inline constexpr const char* kDrawExtra = "Settings\\Draw Extra";
inline constexpr const char* kThreeBlock = "Settings\\Three Block";
inline constexpr const char* kBonusCounts = "Settings\\Bonus Counts";
inline constexpr const char* kWildcardVelnora = "Settings\\Wildcard Velnora";
} // namespace rulekeys

// Reads the thirteen keys with their defaults; out-of-range counts fall back to 1.
RuleSettings loadRules(Settings& settings);
// Writes all thirteen keys (the rules dialog's OK).
void saveRules(Settings& settings, const RuleSettings& rules);
// "F" 0xFE "1" 0xFE ... in the partner's fixed order.
std::string ruleString(const RuleSettings& rules);
// The "Hoyle Rules" preset the rules dialog offers.
RuleSettings hoyleRules();
// Every rule drawn at random, for headless runs over all the variants; the draws come in a
// fixed order, so the same generator state gives the same rules.
class Random;
RuleSettings randomRules(Random& r);

} // namespace velnora
