#include "expert.h"

#include "game_state.h"

#include <algorithm>

namespace velnora::ai {

using namespace expert_detail;

// Melding

void ExpertTurn::expertMeldRank(int rank, int limit) {
    meldFromLast(game_, rank, limit);
    recount();
    if (rank >= kLowRank && c_.m[at(rank)] == 2) meldWildcard(game_, rank);
}

void ExpertTurn::expertFinishInitialMeld() {
    GameState& s = game_.state;
    const auto reached = [&] { return s.opponentMeldPoints >= minimum_; };
    std::array<bool, kColumns> marked{};
    recount();
    for (int r = kRankAce; r >= kLowRank && !reached(); --r) {
        if (c_.h[at(r)] > 2) {
            marked[at(r)] = true;
            expertMeldRank(r, 3);
        }
    }
    for (int r = kRankAce; r >= kLowRank && !reached(); --r)
        if (marked[at(r)]) expertMeldRank(r, 0);

    if (s.ai.meldPlan == 2) {
        int pairs = 0;
        for (int r = kRankAce; r >= kLowRank && !reached() && pairs < s.ai.plannedPairs; --r) {
            recount();
            // A pair goes down only with the wild card that makes it a meld.
            if (c_.h[at(r)] == 2 && c_.W > 0) {
                expertMeldRank(r, 0);
                ++pairs;
            }
        }
    }

    const Counts c = recount();
    for (int size = 8; size >= 3 && !reached(); --size) {
        for (int r = kRankAce; r >= kLowRank && !reached(); --r) {
            if (c.m[at(r)] <= 0 || c.m[at(r)] + c.d[at(r)] != size) continue;
            for (int k = 0; k < 4 && !reached(); ++k) {
                if (findInHand(game_, kRankJoker) < 0 && findInHand(game_, kRankTwo) < 0) break;
                // Wild cards never outnumber the naturals of a meld.
                const int wild = countMeldWildcards(game_, r);
                if (wild + 1 > meldColumnCount(game_, r) - wild) break;
                meldWildcard(game_, r);
            }
        }
    }
}

void ExpertTurn::expertCompleteVelnoras() {
    std::array<int, kColumns> need;
    need.fill(-1);
    recount();
    for (int r = kRankAce; r >= kLowRank; --r) {
        const int held = c_.h[at(r)] + c_.m[at(r)];
        if (held + c_.W >= 7 && held >= 4 && c_.m[at(r)] <= 6) {
            const int w = c_.m[at(r)] > 0 ? countMeldWildcards(game_, r) : 0;
            const int x = std::max(0, 7 - held);
            if (3 - w >= x) need[at(r)] = x;
        }
    }
    for (int x = 0; x <= 3; ++x) {
        if (x >= 1) {
            recount();
            const GameState& s = game_.state;
            // Wild cards go into velnoras only when they buy something.
            const bool worthIt = s.ai.aggressiveMode || velnoras() < needed() ||
                                 velnoras() < s.playerVelnoras.velnoraCount || c_.W > 5 ||
                                 expertCanGoOut(Holding::ofHand(s));
            if (!worthIt) return;
        }
        for (int r = kRankAce; r >= kLowRank; --r) {
            if (need[at(r)] != x) continue;
            recount();
            if (c_.W < x || c_.handSize < c_.h[at(r)] + x) continue;
            // A velnora that would be the first meld must still reach the minimum.
            const int jokers = std::min(c_.J, x);
            const int value = pointsOfRank(r) * c_.h[at(r)] + pointsOfRank(kRankJoker) * jokers +
                              pointsOfRank(kRankTwo) * (x - jokers);
            if (!reachesMinimum(value, true)) continue;
            meldFromLast(game_, r);
            for (int k = 0; k < x; ++k)
                meldWildcard(game_, r);
        }
    }
}

void ExpertTurn::expertMeldNaturals(int keep) {
    const Counts c = recount();
    const int N = needed();
    int budget = velnoras() < N ? c.handSize - 6 * N - 2 : c.handSize - 2 * keep;
    std::array<bool, kColumns> chosen{};
    int value = 0;
    for (int r = kRankAce; r >= kLowRank; --r) {
        const int held = c.h[at(r)];
        const bool qualifies = (c.m[at(r)] > 0 && held > 0) || held >= 3;
        if (!qualifies || budget < held) continue;
        budget -= held;
        chosen[at(r)] = true;
        value += pointsOfRank(r) * held;
    }
    // Naturals laid before the first meld must make that meld on their own.
    if (!reachesMinimum(value, false)) return;
    for (int r = kRankAce; r >= kLowRank; --r)
        if (chosen[at(r)]) meldFromLast(game_, r);
}

void ExpertTurn::expertGoOut() {
    recount();
    const Holding hand = Holding::ofHand(game_.state);
    const int b3 = hand.blackThrees;
    int pairs = 0;
    for (int r = kLowRank; r <= kRankAce; ++r)
        if (hand.h[at(r)] == 2) ++pairs;
    const int X = hand.W - pairs;
    int R = hand.H - 3 * pairs - X;
    if (b3 > 2) R -= b3;
    if (X < 0 || R > 1) return;

    for (int r = kRankAce; r >= kLowRank; --r)
        if (hand.h[at(r)] == 2) expertMeldRank(r, 0);
    if (b3 > 2) expertMeldRank(kRankThree, 0);

    const Counts c = recount();
    int placed = 0;
    for (int r = kLowRank; r <= kRankAce && placed < X; ++r) {
        const int capacity = c.m[at(r)] >= 7 ? 0 : 2 * c.opponentMeldNaturals[at(r)] - c.m[at(r)];
        const int k = std::min(capacity, X - placed);
        for (int i = 0; i < k; ++i)
            meldWildcard(game_, r);
        placed += std::max(0, k);
    }
    if (placed < X) {
        for (int r = kLowRank; r <= kRankAce; ++r) {
            if (c.m[at(r)] >= 7) {
                for (; placed < X; ++placed)
                    meldWildcard(game_, r);
                break;
            }
        }
    }
}

} // namespace velnora::ai
