#include "expert.h"

#include "game_state.h"

#include <algorithm>

namespace velnora::ai {

using namespace expert_detail;

namespace {

// One wild card out of a supply, jokers first; its points, or 0 when the supply is empty.
int useWildcard(int& jokers, int& twos) {
    if (jokers > 0) {
        --jokers;
        return pointsOfRank(kRankJoker);
    }
    if (twos > 0) {
        --twos;
        return pointsOfRank(kRankTwo);
    }
    return 0;
}

} // namespace

// Holdings

Holding Holding::ofHand(const GameState& state) {
    Holding hd;
    for (const Card& card : state.opponentHand)
        hd.add(card);
    return hd;
}

void Holding::add(const Card& card) {
    ++h[at(card.rank())];
    ++H;
    if (card.rank() == kRankJoker) ++J;
    if (card.rank() == kRankTwo) ++T;
    W = J + T;
    if (isBlackThree(card.face)) ++blackThrees;
}

void Holding::removeOne(int rank) {
    if (h[at(rank)] == 0) return;
    --h[at(rank)];
    --H;
    if (rank == kRankJoker) --J;
    if (rank == kRankTwo) --T;
    W = J + T;
    if (rank == kRankThree && blackThrees > h[at(rank)]) blackThrees = h[at(rank)];
}

// Taking the pile

bool ExpertTurn::velnoraWithinReach(const Holding& hand, int topRank, bool ok) {
    // The table as counted, with this hand in place of the one in the counts.
    Counts c = c_;
    c.h = hand.h;
    c.J = hand.J;
    c.T = hand.T;
    c.W = hand.W;
    // Wild cards promised to the initial meld cannot also fill the velnora.
    const bool inReach = ai::velnoraWithinReach(c, topRank, game_.state.ai.plannedPairs) >= 0;
    if (!ok) return false;
    if (inReach) return true;
    // A small pile that brings no velnora is left alone; a big one is worth a gamble.
    const double pile = game_.state.discardPile.count;
    const double rnd = rng().uniform();
    return !(25.0 / (pile * pile) >= rnd);
}

bool ExpertTurn::expertTakePile() {
    GameState& s = game_.state;
    AiMemory& ai = s.ai;
    const RuleSettings& rules = game_.rules;
    if (s.discardPile.empty()) return false;
    const Card top = s.discardPile.top();
    const int r = top.rank();
    // A top card that does not count must be paid for, whether or not the pile is taken.
    if (!rules.topCardCounts) minimum_ += top.points();

    const Counts& c = recount();
    const bool isFrozen = frozen();
    if (!canTakeDiscard(game_, c, isFrozen)) return false;

    const int N = needed();
    const int V = velnoras();
    const int D = s.discardPile.count;
    const int S0 = s.stock.count;
    const int PH = s.playerHand.count;

    // Does the pile bring a velnora that the hand alone cannot make?
    const Holding hand = Holding::ofHand(s);
    ai.pileMakesVelnora = 0;
    for (int q = kLowRank; q <= kRankAce; ++q) {
        const int own = hand.h[at(q)] + c.opponentMeldNaturals[at(q)];
        if (own + c.d[at(q)] >= 4 && hand.W + own + c.d[at(q)] >= 7 && hand.W + own <= 6 &&
            c.m[at(q)] <= 6)
            ai.pileMakesVelnora = 1;
    }
    int leftoverBefore = 0;
    expertCanGoOut(hand, &leftoverBefore);

    // The hand as it would be with the top card.
    Holding withTop = hand;
    withTop.add(top);
    int used = 0;
    const bool ok =
        melded() || expertEstimateMeld(withTop, r, ai.pileMakesVelnora != 0, true, &used);
    ai.plannedPairs = used;

    const auto h = [&](int rank) { return withTop.h[at(rank)]; };
    const int m = c.m[at(r)];
    const int W = withTop.W;

    // A pile being built up is taken only when it has grown or holds wild cards.
    if (expertPileWorthBuilding(withTop)) {
        if (h(kRankThree) > 0 || ai.baitRank != 0) return false;
        if (withTop.H > 24 && PH <= 20 &&
            ((withTop.T > 0 && expertCanSpare(withTop, kRankTwo)) ||
             (withTop.J > 0 && expertCanSpare(withTop, kRankJoker))))
            return false;
        return ok && ((S0 <= 70 && D > 2) || c.d[at(kRankJoker)] + c.d[at(kRankTwo)] > 0);
    }

    // Leftover after taking everything; red threes from the pile are laid, not held.
    Holding withPile = hand;
    for (const Card& card : s.discardPile)
        if (!isRedThree(card.face)) withPile.add(card);
    int leftoverAfter = 0;
    expertCanGoOut(withPile, &leftoverAfter);
    const bool closeToOut = ai.aggressiveMode && V >= N && leftoverBefore <= 2;

    if (!ai.threesToMeld) {
        bool take = false;
        if (V < N && rules.velnoraRequired) {
            take = velnoraWithinReach(withTop, r, ok);
        } else if (closeToOut) {
            // Never take a pile that leaves more to get rid of than it helps with.
            take = ok && !(leftoverBefore + 1 < leftoverAfter);
        } else {
            const int l = h(r) + m + c.d[at(r)];
            const bool good = (l > 4 && m < 7 && l + W > 7) ||
                              (N == 2 && D >= 3 && (m >= 1 || h(r) >= 3)) ||
                              (N == 2 && D > 5 && (m >= 1 || (h(r) == 2 && W >= 1)));
            if (good) {
                take = ok;
            } else if (m < 1 || isFrozen) {
                if (h(r) >= 4)
                    take = ok && 15 * N + 46 >= S0;
                else if (h(r) == 3)
                    take = ok && D >= 15 - 7 * N && 15 * N + 46 >= S0;
            } else {
                take = ok && D > 3;
            }
        }
        // With one velnora to go out an early pick-up only feeds the player's next one.
        if (N == 1 && S0 >= 68) take = false;
        return take;
    }

    const bool goodForOut = closeToOut ? leftoverBefore + 1 >= leftoverAfter : true;
    if (!ok) return false;
    const auto fallback = [&] {
        return ai.pileMakesVelnora && (h(r) > 2 || (m >= 1 && !isFrozen));
    };
    if (h(kRankThree) > 0 || ai.baitRank != 0 || !goodForOut) return fallback();
    if (h(r) < 3) return m >= 1 && !isFrozen;
    if (V < N || D < 8 / N) return fallback();
    return true;
}

bool ExpertTurn::expertPileWorthBuilding(const Holding& hand) {
    const GameState& s = game_.state;
    if (s.discardPile.empty()) return false;
    const Counts& c = c_;
    int r2 = 0, r3 = 0, r4 = 0;
    for (int r = kLowRank; r <= kRankAce; ++r) {
        const int held = hand.h[at(r)];
        if (held > 1) ++r2;
        if (held + c.m[at(r)] == 3) ++r3;
        if (held + c.m[at(r)] >= 4) ++r4;
    }
    const bool potential = (r3 > 0 && r3 + hand.W > 2) || (r4 > 0 && r4 + hand.W > 1);
    const int t = s.discardPile.top().rank();
    if (s.ai.fallingBehind) return false;
    if (!melded() && s.ai.baitRank == 0) {
        // A query only: the plan chosen for taking the pile stays as it was.
        const std::int32_t plan = s.ai.meldPlan;
        const bool canMeld = expertEstimateMeld(hand, -1, false, false);
        game_.state.ai.meldPlan = plan;
        if (!canMeld) return false;
    }
    // Blind, the seat counts only the wild cards and threes it saw the player take.
    const auto& q = seat_.blind ? c.known : s.rankCounts[kPlayerHandRow];
    const int PH = s.playerHand.count;
    const int PM = s.playerMelds.count;
    if (PH + PM + q[0] + q[1] + q[2] > 25) return false;
    const int N = needed();
    const int V = velnoras();
    if (N == 2 && r2 > 4) return true;
    const int D = s.discardPile.count;
    const int known = c.known[at(t)] + c.p[at(t)];
    return (!potential && V == 0) || D > 19 || (hand.H > 19 && V >= N) ||
           (known + c.d[at(t)] > 6 && known < 7);
}

// Estimates and tests on a holding

bool ExpertTurn::expertEstimateMeld(const Holding& hand, int t, bool pileMakesVelnora, bool strict,
                                    int* wildcardsUsed) {
    const GameState& s = game_.state;
    const RuleSettings& rules = game_.rules;
    const int M = minimum_;
    // Close enough is good enough when the estimate only asks whether a meld is near.
    const int target = strict ? M : M - 5;
    int pts = s.opponentMeldPoints;
    int used = 0;
    int cards = 0;
    int jokers = hand.J;
    int twos = hand.T;

    if (t >= 0) {
        pts += pointsOfRank(t) * hand.h[at(t)];
        cards = hand.h[at(t)];
        if (hand.h[at(t)] == 2 && jokers + twos > 0) {
            pts += useWildcard(jokers, twos);
            ++used;
        }
    }

    // Wild cards onto the triples, at most three to a meld.
    const auto topUp = [&](int& p, int& u, int& j, int& tw) {
        if (rules.naturalPair) return;
        for (int r = kRankAce; r >= kLowRank && p < M && j + tw > 0; --r) {
            if (hand.h[at(r)] <= 2) continue;
            for (int k = 0; k < 3 && p < M && j + tw > 0; ++k) {
                p += useWildcard(j, tw);
                ++u;
            }
        }
    };

    // Triples plan.
    int triplePts = pts, tripleCards = cards;
    for (int r = kLowRank; r <= kRankAce && triplePts < M; ++r) {
        if (r != t && hand.h[at(r)] > 2) {
            triplePts += pointsOfRank(r) * hand.h[at(r)];
            tripleCards += hand.h[at(r)];
        }
    }
    const int afterTriples = triplePts;
    const int cardsAfterTriples = tripleCards;
    int tripleUsed = used, tripleJ = jokers, tripleT = twos;
    topUp(triplePts, tripleUsed, tripleJ, tripleT);

    // Pairs plan, from the triples before their top-up. The wild card already given to the top
    // card's pair is not available again.
    int pairPts = afterTriples, pairCards = cardsAfterTriples, pairUsed = used;
    int pairJ = jokers, pairT = twos;
    for (int r = kRankAce; r >= kLowRank && pairPts < M && pairJ + pairT > 0; --r) {
        if (r != t && hand.h[at(r)] == 2) {
            pairPts += pointsOfRank(r) * 2 + useWildcard(pairJ, pairT);
            ++pairUsed;
            pairCards += 2;
        }
    }
    topUp(pairPts, pairUsed, pairJ, pairT);

    const bool triplesReach = triplePts >= target;
    const bool pairsReach = pairPts >= target;
    int plan = 0;
    if (triplesReach && pairsReach)
        plan = tripleUsed <= pairUsed ? 1 : 2;
    else if (triplesReach)
        plan = 1;
    else if (pairsReach)
        plan = 2;
    game_.state.ai.meldPlan = plan;
    pts = plan == 1 ? triplePts : plan == 2 ? pairPts : 0;
    used = plan == 1 ? tripleUsed : plan == 2 ? pairUsed : 0;
    cards = plan == 1 ? tripleCards : plan == 2 ? pairCards : 0;
    if (wildcardsUsed) *wildcardsUsed = used;

    // Can the hand afford the meld and still build its velnoras?
    const int N = needed();
    const int D = s.discardPile.count;
    const bool ok1 =
        !strict || hand.H + D - 3 * N - 9 >= cards + used || (N == 1 && pileMakesVelnora);
    bool ok2 = true;
    if (N == 1) {
        const int u = used - (c_.d[at(kRankJoker)] + c_.d[at(kRankTwo)]);
        ok2 = (M < 90 && indicator(D > 14) >= u) || (M >= 90 && M < 120 && indicator(D > 6) >= u) ||
              (M >= 120 && indicator(D > 10) + indicator(D > 5) >= u) || D > 19;
    }
    return ok1 && ok2 && plan != 0 && pts >= target;
}

bool ExpertTurn::expertCanSpare(const Holding& hand, int rank) {
    if (melded()) return true;
    if (hand.h[at(rank)] == 0) return false;
    Holding copy = hand;
    copy.removeOne(rank);
    const std::int32_t plan = game_.state.ai.meldPlan;
    const bool yes = expertEstimateMeld(copy, -1, false, false);
    game_.state.ai.meldPlan = plan;
    return yes;
}

bool ExpertTurn::expertCanGoOut(const Holding& hand, int* leftover) {
    int pairs = 0, meldable = 0;
    for (int r = kRankAce; r >= kLowRank; --r) {
        const int total = hand.h[at(r)] + c_.m[at(r)];
        if (total == 2)
            ++pairs;
        else if (total > 2)
            meldable += hand.h[at(r)];
    }
    const int X = hand.W - pairs;
    int R = hand.H - 3 * pairs - meldable - X;
    // Three or more black threes go down when going out.
    if (hand.blackThrees >= 3) R -= hand.blackThrees;
    if (leftover) *leftover = R + (X < 0 ? -2 * X : 0);
    return X >= 0 && (R == 0 || R == 1);
}

} // namespace velnora::ai
