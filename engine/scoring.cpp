#include "scoring.h"

namespace velnora {

namespace {

// Indices of the twelve values, in the order the details dialog shows them.
enum ScoreIndex {
    kMeldedCount = 0,
    kMeldedValue = 1,
    kHandCount = 2,
    kHandValue = 3,
    kVelnoraCount = 4,
    kVelnoraBonus = 5,
    kRedThreeCount = 6,
    kRedThreeValue = 7,
    kFinishBonus = 9,
    kTotal = 11,
};

int velnoraBonus(int kind) {
    switch (kind) {
    case kMixed:
        return kMixedVelnoraBonus;
    case kNaturalVelnora:
        return kNaturalVelnoraBonus;
    case kWildVelnora:
        return kWildVelnoraBonus;
    default:
        return 0;
    }
}

} // namespace

HandScore scoreSeat(const GameState& g, Seat seat, const RuleSettings& rules, const Layout&) {
    const bool isPlayer = seat == Seat::player;
    const Pile& melds = isPlayer ? g.playerMelds : g.opponentMelds;
    const Pile& hand = isPlayer ? g.playerHand : g.opponentHand;
    const VelnoraTally& tally = isPlayer ? g.playerVelnoras : g.opponentVelnoras;
    const bool wentOut = g.wentOut == (isPlayer ? 0 : 1);
    const int pointsAtTurnStart =
        isPlayer ? g.playerMeldPointsAtTurnStart : g.opponentMeldPointsAtTurnStart;

    HandScore s;
    auto& v = s.v;
    if (wentOut)
        v[kFinishBonus] = pointsAtTurnStart != 0 ? kGoingOutBonus : kConcealedGoingOutBonus;

    int redThrees = 0;
    bool onlyRedThrees = true;
    for (const Card& c : melds) {
        if (isRedThree(c.face))
            ++redThrees;
        else
            onlyRedThrees = false;
    }
    v[kRedThreeCount] = redThrees;

    const bool penalised = (rules.velnoraRequired && tally.velnoraCount < rules.velnorasToGoOut) ||
                           (!wentOut && onlyRedThrees);
    const int sign = penalised ? -1 : 1;

    if (!penalised) {
        for (int c = 1; c < kColumns; ++c) {
            const int bonus = velnoraBonus(tally.velnoraKind[static_cast<std::size_t>(c)]);
            if (bonus == 0) continue;
            ++v[kVelnoraCount];
            v[kVelnoraBonus] += bonus;
        }
    }

    v[kRedThreeValue] = sign * kRedThreeBonus * redThrees;
    // Unpenalised, the all-four extra counts only the red threes laid out, not those in hand.
    if (!penalised && redThrees == 4) v[kRedThreeValue] += kAllFourRedThreesExtra;

    for (const Card& c : melds) {
        if (isRedThree(c.face)) continue;
        ++v[kMeldedCount];
        v[kMeldedValue] += sign * c.points();
    }

    for (const Card& c : hand) {
        if (isRedThree(c.face)) {
            ++v[kRedThreeCount];
            v[kRedThreeValue] -= kRedThreeInHandCost;
        } else {
            ++v[kHandCount];
            v[kHandValue] -= c.points();
        }
    }
    if (penalised && v[kRedThreeCount] == 4) v[kRedThreeValue] -= kAllFourRedThreesExtra;

    v[kTotal] =
        v[kMeldedValue] + v[kHandValue] + v[kVelnoraBonus] + v[kRedThreeValue] + v[kFinishBonus];
    return s;
}

std::string matchVerdict(int matchDiff, const std::string& name, const std::string& other) {
    if (matchDiff > 0) {
        std::string text = "Congratulations " + name + "! ";
        if (matchDiff > 2500) return text + "You crushed " + other + ".";
        if (matchDiff > 1800) return text + "You defeated " + other + ".";
        if (matchDiff > 500) return text + "You beat " + other + ".";
        if (matchDiff > 200) return text + "You won.";
        return text + "You won, but it was pretty close!";
    }
    if (matchDiff < 0) {
        std::string text = "Too bad, " + name + ", ";
        if (matchDiff < -2500) return text + other + " crushed you.";
        if (matchDiff < -1800) return text + other + " defeated you.";
        if (matchDiff < -500) return text + other + " beat you.";
        if (matchDiff < -200) return text + "you lost.";
        return text + "you lost but it was pretty close.";
    }
    return "It's a draw!";
}

} // namespace velnora
