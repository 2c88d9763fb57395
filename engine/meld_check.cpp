#include "meld_check.h"

#include <array>

namespace velnora {

namespace {

// The threes column never forms a velnora; rank columns 3..13 hold fours to aces.
constexpr int kWildColumn = 1;
constexpr int kFirstRankColumn = 3;
constexpr int kLastRankColumn = 13;

constexpr const char* kReasonRankSize = "every melded rank must contain at least three cards";
constexpr const char* kReasonWildShare = "there are too many wildcards within one rank";
constexpr const char* kReasonBlackThrees = "the Black Threes have not been melded correctly";
constexpr const char* kReasonWildVelnora = "wildcards must be melded as a velnora";
constexpr const char* kReasonTopCard = "you have not melded the top card correctly";

std::string firstMeldReason(int minimum, int total) {
    return "your first meld must be at least " + std::to_string(minimum) + " points (currently " +
           std::to_string(total) + " points)";
}

std::string velnorasReason(const RuleSettings& rules) {
    return std::string("you need at least ") +
           (rules.velnorasToGoOut == 1 ? "one Velnora" : "two Velnoras") + " to go out";
}

// What one seat's meld area looks like, column by column.
struct MeldShape {
    std::array<int, kColumns> cards{};
    std::array<int, kColumns> naturals{};
    std::array<int, kColumns> wildcards{};
    int points = 0;
    int blackThrees = 0;
};

MeldShape shapeOf(const Pile& melds, const Layout& layout) {
    MeldShape s;
    for (const Card& c : melds) {
        const auto col = static_cast<std::size_t>(columnOf(c.x, layout));
        ++s.cards[col];
        s.points += c.points();
        // A black three never counts towards a rank's share, wherever it stands.
        if (isBlackThree(c.face)) {
            ++s.blackThrees;
        } else if (isNatural(c.rank())) {
            ++s.naturals[col];
        } else {
            ++s.wildcards[col];
        }
    }
    return s;
}

// The checks common to the player's commit and the remote opponent's going out, evaluated in
// full; the reason is that of the first failure in the fixed order.
bool checkShape(const MeldShape& s, int handCount, int minimum, int velnoras,
                const RuleSettings& rules, std::string& reason) {
    bool rankSizeOk = true;
    bool wildShareOk = true;
    for (int c = kFirstRankColumn; c <= kLastRankColumn; ++c) {
        const auto col = static_cast<std::size_t>(c);
        if (s.cards[col] != 0 && s.cards[col] < 3) rankSizeOk = false;
        if (s.naturals[col] < s.wildcards[col]) wildShareOk = false;
    }
    // Nothing melded yet, or going out in this very action, is exempt from the minimum.
    const bool firstMeldOk = s.points >= minimum || (rules.bonusCounts && velnoras > 0) ||
                             s.points == 0 || handCount == 0;
    const bool blackThreesOk =
        handCount > 0 ? s.blackThrees == 0 : (s.blackThrees == 0 || s.blackThrees >= 3);
    const int wild = s.cards[kWildColumn];
    const bool wildVelnoraOk = wild == 0 || wild >= 7;
    const bool goOutOk = handCount != 0 || velnoras >= rules.velnorasToGoOut;

    if (!rankSizeOk)
        reason = kReasonRankSize;
    else if (!firstMeldOk)
        reason = firstMeldReason(minimum, s.points);
    else if (!wildShareOk)
        reason = kReasonWildShare;
    else if (!blackThreesOk)
        reason = kReasonBlackThrees;
    else if (!wildVelnoraOk)
        reason = kReasonWildVelnora;
    else if (!goOutOk)
        reason = velnorasReason(rules);
    else
        return true;
    return false;
}

} // namespace

bool validateMelds(GameState& g, const RuleSettings& rules, const Layout& layout, int handCount) {
    countRanks(g, layout);
    const MeldShape shape = shapeOf(g.playerMelds, layout);
    std::string reason;
    if (checkShape(shape, handCount, g.initialMeldMinimum, g.playerVelnoras.velnoraCount, rules,
                   reason))
        return true;
    g.invalidMeldReason = reason;
    return false;
}

bool validateForCommit(GameState& g, const RuleSettings& rules, const Layout& layout,
                       int handCount) {
    const bool ok = validateMelds(g, rules, layout, handCount);
    if (g.topCardPending) {
        g.invalidMeldReason = kReasonTopCard;
        return false;
    }
    return ok;
}

bool blackThreesMeldable(GameState& g, const RuleSettings& rules) {
    if (g.blackThreesAllowed) return true;
    int blackThrees = 0;
    for (const Card& c : g.playerHand)
        if (isBlackThree(c.face)) ++blackThrees;
    const int others = g.playerHand.count - blackThrees;
    // Black threes only go down as the last cards: at most the one card to discard may remain.
    if (g.playerVelnoras.velnoraCount >= rules.velnorasToGoOut && blackThrees >= 3 && others <= 1)
        g.blackThreesAllowed = 1;
    return g.blackThreesAllowed != 0;
}

bool isStuckWithOneCard(GameState& g, const RuleSettings& rules, const Layout& layout) {
    if (g.playerHand.count != 1) return false;
    const int velnoras = g.playerVelnoras.velnoraCount;
    if (velnoras >= rules.velnorasToGoOut) return false;
    if (g.topCardPending && !g.discardPile.empty()) return false;
    if (!validateForCommit(g, rules, layout, g.playerHand.count)) return false;
    if (velnoras == 0 && rules.velnorasToGoOut >= 2) return true;

    // The last card may still complete a velnora by melding it, so the player can go on.
    const Card& last = g.playerHand.at(0);
    const MeldShape shape = shapeOf(g.playerMelds, layout);
    if (isNatural(last.rank())) {
        // The threes column never becomes a velnora, so a black three cannot rescue the player.
        return last.rank() == kRankThree || shape.cards[static_cast<std::size_t>(last.rank())] != 6;
    }
    for (int c = kFirstRankColumn; c <= kLastRankColumn; ++c) {
        const auto col = static_cast<std::size_t>(c);
        if (shape.cards[col] == 6 && shape.wildcards[col] < 3) return false;
    }
    return true;
}

bool hasGoneOut(const GameState& g, Seat seat, const RuleSettings& rules) {
    const bool isPlayer = seat == Seat::player;
    const Pile& hand = isPlayer ? g.playerHand : g.opponentHand;
    const VelnoraTally& tally = isPlayer ? g.playerVelnoras : g.opponentVelnoras;
    return hand.empty() && tally.velnoraCount >= rules.velnorasToGoOut;
}

bool validateOpponentMelds(const GameState& g, const RuleSettings& rules, const Layout& layout,
                           std::string* reason) {
    const MeldShape shape = shapeOf(g.opponentMelds, layout);
    std::string why;
    const bool ok = checkShape(shape, g.opponentHand.count, initialMeldMinimumFor(g.opponentTotal),
                               g.opponentVelnoras.velnoraCount, rules, why);
    if (!ok) {
        if (reason) *reason = why;
        return false;
    }
    // A hand that still holds cards has not gone out, whatever its melds look like.
    if (!g.opponentHand.empty()) {
        if (reason) *reason = "the opponent still holds cards";
        return false;
    }
    return true;
}

} // namespace velnora
