#include "ai_common.h"

#include <cstddef>

// The Advanced level: keeps seven cards in hand after its first meld, limits wild-card pairs by
// the size of the minimum, builds a whole velnora when the pile gives one, and leaves three of
// its decisions to chance.

namespace velnora::ai {

namespace {

// Melds every hand card of rank r from the last card backwards; a column left with two cards
// (or two threes just melded) gets one wild card.
void advancedMeldRank(Game& game, int r) {
    const int melded = meldFromLast(game, r);
    const Counts c = aiRecount(game);
    if ((r >= 3 && at(c.m, r) == 2) || (r == kRankThree && melded == 2)) meldWildcard(game, r);
}

struct CanMeld {
    bool ok = false;
    int pairs = 0;
};

CanMeld advancedCanMeld(Game& game, const Counts& c, int minimum) {
    const MeldEstimate e = sharedMeldEstimate(game, c, minimum);
    const bool pairsSuit = minimum < 90 ? e.pairs == 0 : minimum < 120 ? e.pairs <= 1 : true;
    // Seven cards stay in hand after the first meld.
    return {e.cards < c.handSize - 6 && e.a >= minimum && pairsSuit, e.pairs};
}

struct TakeDecision {
    bool take = false;
    int velnoraRank = -1; // highest rank whose velnora the pile brings within reach
};

TakeDecision advancedTakePile(Game& game, int& minimum) {
    TakeDecision result;
    const GameState& s = game.state;
    if (s.discardPile.empty()) return result;
    const Card& top = s.discardPile.top();
    const int r = top.rank();
    if (!game.rules.topCardCounts) minimum += top.points();
    Counts c = aiRecount(game);
    if (!canTakeDiscard(game, c, game.frozenForSeat(Seat::opponent))) return result;

    // Evaluate as if the top card were already in hand (it still counts in the pile too).
    ++c.h[static_cast<std::size_t>(r)];
    ++c.handSize;
    bool canMeld = hasMelded(game);
    int pairs = 0;
    if (!canMeld) {
        const CanMeld cm = advancedCanMeld(game, c, minimum);
        canMeld = cm.ok;
        pairs = cm.pairs;
    }
    const int pile = s.discardPile.count;
    const double pileSquared = static_cast<double>(pile) * pile;

    if (velnoras(game) < game.rules.velnorasToGoOut && game.rules.velnoraRequired) {
        result.velnoraRank = velnoraWithinReach(c, r, pairs);
        if (!canMeld) return result;
        if (result.velnoraRank >= 0) {
            result.take = true;
        } else {
            // A small pile is not worth a turn while the velnoras are still missing.
            const double rnd = game.rng().uniform();
            result.take = !(25.0 / pileSquared >= rnd);
        }
        return result;
    }

    const double rnd = game.rng().uniform();
    const int h = at(c.h, r), m = at(c.m, r);
    const int l = h + m + at(c.d, r);
    if (l > 3 && l + c.W > 6)
        result.take = canMeld && (h > 2 || m > 2);
    else if (16.0 / pileSquared >= rnd)
        result.take = canMeld && h > 2;
    else
        result.take = canMeld && (h > 2 || m > 2);
    return result;
}

// The lowest rank that becomes a velnora at once with the wild cards in hand and is worth the
// minimum, or -1.
int advancedFindVelnora(const Counts& c, int minimum) {
    int jokers = c.J;
    int found = -1;
    for (int r = kRankAce; r >= 3; --r) {
        const int h = at(c.h, r);
        if (h < 4 || h + c.W < 7) continue;
        int value = pointsOfRank(r) * h;
        for (int k = 0; k < 7 - h; ++k) {
            if (jokers > 0) {
                value += 50;
                --jokers;
            } else {
                value += 20;
            }
        }
        if (value >= minimum) found = r;
    }
    return found;
}

void advancedBuildVelnora(Game& game, int r) {
    advancedMeldRank(game, r);
    const Counts c = aiRecount(game);
    for (int k = at(c.m, r); k < 7; ++k)
        meldWildcard(game, r);
}

void advancedMeldNaturals(Game& game) {
    const Counts c = aiRecount(game);
    int budget = velnoras(game) < game.rules.velnorasToGoOut ? c.handSize - 6 : c.handSize;
    for (int r = kRankAce; r >= 3; --r) {
        const int h = at(c.h, r);
        const int m = at(c.m, r);
        if (!((m > 0 && h > 0) || h >= 3)) continue;
        if (budget < h) continue;
        budget -= h;
        if (h < (m > 0 ? 1 : 3)) continue;
        for (int i = findInHand(game, r); i >= 0; i = findInHand(game, r))
            meldFromHand(game, i);
    }
}

void advancedGoOut(Game& game) {
    Counts c = aiRecount(game);
    int blackThrees = 0;
    for (const Card& card : game.state.opponentHand)
        if (isBlackThree(card.face)) ++blackThrees;
    int pairs = 0;
    for (int r = 3; r <= kRankAce; ++r)
        if (at(c.h, r) == 2) ++pairs;
    const int spare = c.W - pairs;
    int rest = c.handSize - 3 * pairs - spare;
    // Three or more black threes may be melded when going out.
    if (blackThrees > 2) rest -= blackThrees;
    if (spare < 0 || rest > 1) return;
    for (int r = kRankAce; r >= 3; --r)
        if (at(c.h, r) == 2) advancedMeldRank(game, r);
    if (blackThrees > 2) advancedMeldRank(game, kRankThree);

    c = aiRecount(game);
    int placed = 0;
    for (int r = 3; r <= kRankAce && placed < spare; ++r) {
        const int room = at(c.m, r) >= 7 ? 0 : 2 * at(c.opponentMeldNaturals, r) - at(c.m, r);
        const int n = std::min(room > 0 ? room : 0, spare - placed);
        for (int k = 0; k < n; ++k)
            meldWildcard(game, r);
        placed += n;
    }
    // The count taken before the wild cards above were laid decides which velnora is lowest.
    if (placed < spare) wildcardsIntoLowestVelnora(game, c, spare - placed);
}

// First hand index of a two, or of a joker when there is no two.
int twoOrJoker(const Game& game) {
    const int i = findInHand(game, kRankTwo);
    return i >= 0 ? i : findInHand(game, kRankJoker);
}

int advancedDiscard(Game& game) {
    const Counts c = aiRecount(game);
    const GameState& s = game.state;
    const RuleSettings& rules = game.rules;
    if (c.handSize == 0) return -1;
    if (c.handSize == 1) return 0;
    const bool frozen = game.frozenForSeat(Seat::opponent);
    const bool shortOfVelnoras = velnoras(game) < rules.velnorasToGoOut;
    const bool hasThree = at(c.h, kRankThree) > 0;
    if (c.W > 2 && c.W >= c.handSize - 4 && (frozen || shortOfVelnoras)) return twoOrJoker(game);

    auto fedVelnora = [&](int r) { return at(c.p, r) >= 7 && !rules.addToVelnora; };
    if (s.discardPile.count > 5) {
        // The pile is worth taking: block it with a three when possible.
        if (hasThree) return findInHand(game, kRankThree);
        for (int j = 3; j <= kRankAce; ++j) {
            const int h = at(c.h, j);
            if ((h == 1 || h == 4 || h == 5) && (at(c.p, j) < 3 || fedVelnora(j)))
                return findInHand(game, j);
        }
        int safest = -1;
        for (int i = 0; i <= 15 && safest < 0; ++i) {
            for (int k = 3; k <= kRankAce; ++k) {
                if (at(c.h, k) == 0 || !(at(c.p, k) <= i || fedVelnora(k))) continue;
                if (safest < 0 || at(c.h, k) < at(c.h, safest)) safest = k;
            }
        }
        if (safest < 0) return 0;
        if (c.W > 0 && s.playerHand.count < 10 && at(c.p, safest) >= 2 && !frozen)
            return twoOrJoker(game);
        return findInHand(game, safest);
    }

    for (int k = 1; k <= 15; ++k) {
        const bool upward = game.rng().uniform() < 0.8;
        for (int n = 0; n <= kRankAce - 3; ++n) {
            const int e = upward ? 3 + n : kRankAce - n;
            if (at(c.h, e) == 0 || at(c.h, e) + at(c.m, e) != k) continue;
            if (at(c.h, e) >= 2 && hasThree) return findInHand(game, kRankThree);
            // The player is one card from a velnora in this rank.
            if (at(c.p, e) == 6) continue;
            return findInHand(game, e);
        }
    }
    if (hasThree) return findInHand(game, kRankThree);
    return 0;
}

} // namespace

void advancedTurn(Game& game) {
    const Game::ComputerTurn turn(game);
    GameState& s = game.state;
    const RuleSettings& rules = game.rules;
    const int unraised = beginTurn(game);
    int minimum = unraised;
    if (advancedTakePile(game, minimum).take) {
        s.pileFrozen = 0;
        pause(game);
        const bool melded = hasMelded(game);
        const Card top = takeTopCard(game);
        if (!melded && advancedFindVelnora(withTakenTopInHand(aiRecount(game), top.rank()),
                                           minimum) == top.rank())
            advancedBuildVelnora(game, top.rank());
        else
            advancedMeldRank(game, top.rank());
        layFirstMelds(game, minimum, advancedMeldRank);
        takeRestOfPile(game);
    } else if (s.stockExhausted) {
        if (!takeForcedTopCardOrEndHand(game, advancedMeldRank)) return;
    } else {
        drawForTurn(game);
    }

    s.opponentPromptState = kPromptMeldOrDiscard;
    layRedThrees(game);
    if (!hasMelded(game)) {
        const CanMeld cm = advancedCanMeld(game, aiRecount(game), minimum);
        // Two wild-card pairs are spent on a first meld only when the minimum is large.
        if (cm.ok && (cm.pairs < 2 || unraised > 50))
            layFirstMelds(game, minimum, advancedMeldRank);
    }
    if (hasMelded(game)) velnoraCompletingStep(game);

    const int needed = rules.velnorasToGoOut;
    if (velnoras(game) >= needed || !rules.velnoraRequired) {
        const int playerHand = s.playerHand.count;
        if (velnoras(game) < needed) {
            // Cut the points that would be caught in hand if the player goes out soon.
            if (s.playerVelnoras.velnoraCount >= needed && hasMelded(game) && playerHand < 7)
                advancedMeldNaturals(game);
        } else {
            const double rnd = game.rng().uniform();
            bool layAll;
            if (s.playerMelds.count + playerHand > 30)
                layAll = true;
            else if (s.opponentMelds.count + s.opponentHand.count >= 7 || s.ai.threesToMeld)
                layAll = 16.0 / (playerHand * playerHand + 1) > rnd || s.opponentHand.count == 2;
            else
                layAll = true;
            if (layAll) {
                advancedMeldNaturals(game);
                advancedGoOut(game);
            }
        }
    }
    const Counts c = aiRecount(game);
    if (s.opponentMelds.count > 20 && velnoras(game) >= needed && at(c.h, kRankThree) > 0)
        s.ai.threesToMeld = 1;

    if (!passesDiscard(game) && !s.opponentHand.empty()) {
        const int i = advancedDiscard(game);
        if (i >= 0) discardFromHand(game, i);
    }
    endTurn(game);
}

} // namespace velnora::ai
