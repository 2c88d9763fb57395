#include "rules.h"

#include "random.h"
#include "settings.h"

namespace velnora {

RuleSettings loadRules(Settings& s) {
    using namespace rulekeys;
    RuleSettings r;
    r.velnoraRequired = s.readBool(kVelnoraRequired, false);
    r.velnorasToGoOut = s.readInt(kNumberOfVelnoras, 1);
    r.cardsDrawn = s.readInt(kNumberOfCards, 1);
    // A damaged store must not give a rule the game cannot play.
    if (r.velnorasToGoOut != 1 && r.velnorasToGoOut != 2) r.velnorasToGoOut = 1;
    if (r.cardsDrawn != 1 && r.cardsDrawn != 2) r.cardsDrawn = 1;
    r.addToVelnora = s.readBool(kAddToVelnora, true);
    r.topCardCounts = s.readBool(kTopCardCounts, true);
    r.initialBlock = s.readBool(kInitialBlock, true);
    r.naturalPair = s.readBool(kNaturalPair, true);
    r.addExistingMeld = s.readBool(kAddExistingMeld, false);
    r.drawExtra = s.readBool(kDrawExtra, true);
    r.threeBlock = s.readBool(kThreeBlock, false);
    r.bonusCounts = s.readBool(kBonusCounts, false);
    r.initialBlockForBoth = s.readBool(kInitialBlockForBoth, true);
    r.wildcardVelnora = s.readBool(kWildcardVelnora, true);
    return r;
}

void saveRules(Settings& s, const RuleSettings& r) {
    using namespace rulekeys;
    s.writeBool(kVelnoraRequiredWritten, r.velnoraRequired);
    s.writeInt(kNumberOfVelnoras, r.velnorasToGoOut);
    s.writeInt(kNumberOfCards, r.cardsDrawn);
    s.writeBool(kAddToVelnora, r.addToVelnora);
    s.writeBool(kTopCardCounts, r.topCardCounts);
    s.writeBool(kInitialBlock, r.initialBlock);
    s.writeBool(kInitialBlockForBoth, r.initialBlockForBoth);
    s.writeBool(kNaturalPair, r.naturalPair);
    s.writeBool(kAddExistingMeld, r.addExistingMeld);
    s.writeBool(kDrawExtra, r.drawExtra);
    s.writeBool(kThreeBlock, r.threeBlock);
    s.writeBool(kBonusCounts, r.bonusCounts);
    s.writeBool(kWildcardVelnora, r.wildcardVelnora);
}

std::string ruleString(const RuleSettings& r) {
    auto b = [](bool v) { return std::string(v ? "T" : "F"); };
    const std::string sep(1, static_cast<char>(0xFE));
    return b(r.velnoraRequired) + sep + std::to_string(r.velnorasToGoOut) + sep +
           std::to_string(r.cardsDrawn) + sep + b(r.addToVelnora) + sep + b(r.topCardCounts) + sep +
           b(r.initialBlock) + sep + b(r.naturalPair) + sep + b(r.drawExtra) + sep +
           b(r.threeBlock) + sep + b(r.bonusCounts) + sep + b(r.initialBlockForBoth) + sep +
           b(r.wildcardVelnora) + sep + b(r.addExistingMeld);
}

RuleSettings hoyleRules() {
    RuleSettings r;
    r.addToVelnora = false;
    r.topCardCounts = true;
    r.initialBlock = true;
    r.initialBlockForBoth = true;
    r.naturalPair = false;
    r.addExistingMeld = false;
    r.drawExtra = true;
    r.threeBlock = false;
    r.velnoraRequired = false;
    r.bonusCounts = false;
    r.wildcardVelnora = false;
    r.velnorasToGoOut = 2;
    r.cardsDrawn = 2;
    return r;
}

RuleSettings randomRules(Random& r) {
    RuleSettings rules;
    auto coin = [&] { return r(2) == 1; };
    rules.velnoraRequired = coin();
    rules.velnorasToGoOut = 1 + r(2);
    rules.cardsDrawn = 1 + r(2);
    rules.addToVelnora = coin();
    rules.topCardCounts = coin();
    rules.initialBlock = coin();
    rules.initialBlockForBoth = coin();
    rules.naturalPair = coin();
    rules.addExistingMeld = coin();
    rules.drawExtra = coin();
    rules.threeBlock = coin();
    rules.bonusCounts = coin();
    rules.wildcardVelnora = coin();
    return rules;
}

} // namespace velnora
