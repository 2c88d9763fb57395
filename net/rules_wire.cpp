// The RULES payload and the rule-differences rows built from two rules texts.

#include "wire.h"

namespace velnora::net {

namespace {
struct RuleRow {
    const char* name;
    bool isCount; // shown as One/Two instead of Yes/No
};
// In the order of the rules text.
constexpr std::array<RuleRow, 13> kRuleRows = {{
    {"Velnora Required for Positive Score", false},
    {"Number of Velnoras required to go out", true},
    {"Number of Cards drawn each turn", true},
    {"Add top card to Velnora", false},
    {"Top card counts for initial meld", false},
    {"Discard Pile initially frozen", false},
    {"Natural pair required for taking pile", false},
    {"Draw extra card for Red Three", false},
    {"Discarding Red Three freezes pile", false},
    {"Velnora Bonus counts for initial meld", false},
    {"Initial Freeze separate for both players", false},
    {"Wildcard Velnora allowed", false},
    {"Don't add top card to existing meld", false},
}};

std::string valueText(const RuleRow& row, const std::string& value) {
    if (row.isCount) return value == "1" ? "One" : "Two";
    return value == "T" ? "Yes" : "No";
}
} // namespace

std::string buildRules(const RuleSettings& rules) {
    return ruleString(rules);
}

std::array<std::string, 13> ruleValues(std::string_view payload) {
    std::array<std::string, 13> values;
    std::string rest(payload);
    for (std::string& v : values)
        v = NextField(rest);
    return values;
}

RuleSettings parseRules(std::string_view payload) {
    const auto v = ruleValues(payload);
    auto yes = [&](int i) { return v[static_cast<std::size_t>(i)] == "T"; };
    // Anything but "1" is two, as the list shows it: a count of 99 must not empty the stock.
    auto count = [&](int i) { return v[static_cast<std::size_t>(i)] == "1" ? 1 : 2; };
    RuleSettings r;
    r.velnoraRequired = yes(0);
    r.velnorasToGoOut = count(1);
    r.cardsDrawn = count(2);
    r.addToVelnora = yes(3);
    r.topCardCounts = yes(4);
    r.initialBlock = yes(5);
    r.naturalPair = yes(6);
    r.drawExtra = yes(7);
    r.threeBlock = yes(8);
    r.bonusCounts = yes(9);
    r.initialBlockForBoth = yes(10);
    r.wildcardVelnora = yes(11);
    r.addExistingMeld = yes(12);
    return r;
}

std::vector<RuleDifference> ruleDifferences(std::string_view localRules,
                                            std::string_view remoteRules) {
    const auto local = ruleValues(localRules);
    const auto remote = ruleValues(remoteRules);
    std::vector<RuleDifference> rows;
    for (std::size_t i = 0; i < kRuleRows.size(); ++i) {
        if (local[i] == remote[i]) continue;
        rows.push_back({kRuleRows[i].name, valueText(kRuleRows[i], local[i]),
                        valueText(kRuleRows[i], remote[i])});
    }
    return rows;
}

} // namespace velnora::net
