#include "expert.h"

#include "game_state.h"

#include <algorithm>
#include <climits>

namespace velnora::ai {

using namespace expert_detail;

// Discarding

int ExpertTurn::baitDiscardRank(const Holding& hand) {
    const Counts& c = c_;
    const bool isFrozen = frozen();
    int lim = 9;
    while (lim > 0) {
        int largest = 0;
        for (int r = kLowRank; r <= kRankAce; ++r) {
            const int held = hand.h[at(r)];
            if (held >= lim || (isFrozen && held == 2)) continue;
            largest = std::max(largest, held);
        }
        if (largest == 0) return -1;
        for (int r = kLowRank; r <= kRankAce; ++r) {
            if (hand.h[at(r)] != largest) continue;
            // The player must not be the one who wants this rank.
            if (indicator(!isFrozen) * c.p[at(r)] + c.known[at(r)] <= 1 && expertCanSpare(hand, r))
                return r;
        }
        lim = largest;
    }
    return -1;
}

int ExpertTurn::safeDiscardRank() {
    const GameState& s = game_.state;
    const Counts& c = c_;
    const bool isFrozen = frozen();
    const int notFrozen = indicator(!isFrozen);
    const int S0 = s.stock.count;
    const int threes = c.h[at(kRankThree)];
    const bool wary =
        velnoras() >= needed() || notFrozen * s.playerMelds.count + s.playerHand.count <= 25;
    int L = 0;
    int g = 0;
    for (;;) {
        g = INT_MAX;
        for (int r = kLowRank; r <= kRankAce; ++r) {
            const int held = c.h[at(r)] + c.m[at(r)];
            if (c.h[at(r)] > 0 && held > L) g = std::min(g, held);
        }
        if (g == INT_MAX) return -1;
        if (g < 2 || threes == 0 || S0 > 69) {
            for (int v = 1; v >= -8;) {
                int best = INT_MIN;
                for (int r = kLowRank; r <= kRankAce; ++r) {
                    if (c.h[at(r)] == 0 || c.h[at(r)] + c.m[at(r)] != g) continue;
                    const int score = -c.known[at(r)] - notFrozen * c.p[at(r)];
                    if (score < v) best = std::max(best, score);
                }
                if (best == INT_MIN) break;
                for (int r = kLowRank; r <= kRankAce; ++r) {
                    if (c.h[at(r)] == 0 || c.h[at(r)] + c.m[at(r)] != g) continue;
                    if (-c.known[at(r)] - notFrozen * c.p[at(r)] != best) continue;
                    const int pk = c.p[at(r)] + c.known[at(r)];
                    const bool playerWantsIt = wary && (!isFrozen || c.known[at(r)] >= 2) &&
                                               pk + c.d[at(r)] >= 6 && pk <= 6;
                    if (!playerWantsIt) return r;
                }
                v = best;
            }
        } else {
            return kRankThree;
        }
        L = g;
        if (g >= 9) break;
    }
    // Everything is held in bulk: give the player a rank whose meld already carries wild cards.
    for (int r = kLowRank; r <= kRankAce; ++r)
        if (c.h[at(r)] > 0 && c.playerMeldNaturals[at(r)] != c.p[at(r)]) return r;
    return -1;
}

DiscardChoice ExpertTurn::expertDiscard() {
    GameState& s = game_.state;
    AiMemory& ai = s.ai;
    const Counts c = recount();
    const Holding hand = Holding::ofHand(s);
    const int preferred = rng()(10) <= 7 ? kRankTwo : kRankJoker;
    const int other = preferred == kRankTwo ? kRankJoker : kRankTwo;
    const int N = needed();
    const int V = velnoras();
    const bool isFrozen = frozen();
    const int S0 = s.stock.count;
    const int PH = s.playerHand.count;
    const int PM = s.playerMelds.count;
    const int threes = c.h[at(kRankThree)];

    const auto ofRank = [&](int rank) { return DiscardChoice{findInHand(game_, rank), -1}; };
    const auto wildRank = [&] { return c.h[at(preferred)] > 0 ? preferred : other; };

    // Cards that go before anything is weighed.
    if (ai.threesToMeld && threes > 0) return ofRank(kRankThree);
    if (hand.H == 1) return DiscardChoice{0, -1};
    if (c.W > 2 * N + 2 && (isFrozen || V < N)) return ofRank(wildRank());

    // Freeze the pile with a red three taken back while the first meld is still far off.
    if (game_.rules.threeBlock && N == 2 && !melded() && hand.H < 14) {
        const Pile& melds = s.opponentMelds;
        for (int i = 0; i < melds.count; ++i)
            if (isRedThree(melds.at(i).face)) return DiscardChoice{-1, i};
    }

    int chosen = -1;
    // Keep baiting the same rank.
    if (ai.baitRank != 0 && hand.h[at(ai.baitRank)] > 0 && expertCanSpare(hand, ai.baitRank))
        chosen = ai.baitRank;
    else
        ai.baitRank = 0;

    // Build the pile up.
    if (chosen < 0 && expertPileWorthBuilding(hand)) {
        if (threes > 0) {
            chosen = kRankThree;
        } else {
            if (hand.H > 11 && PH <= 20 && c.W > 0) {
                if (hand.h[at(preferred)] > 0 && expertCanSpare(hand, preferred))
                    chosen = preferred;
                else if (hand.h[at(other)] > 0 && expertCanSpare(hand, other))
                    chosen = other;
            }
            if (chosen < 0) {
                chosen = baitDiscardRank(hand);
                if (chosen >= 0) ai.baitRank = static_cast<std::uint8_t>(chosen);
            }
        }
    }

    // A wild card freezes the pile when the player is close to taking it.
    const int unknownHand = PH - c.known[0] - c.known[1] - c.known[2];
    if ((c.W > 3 || (c.W > 0 && V >= N)) && unknownHand <= 7 && PM > 19 && !isFrozen &&
        !ai.threesToMeld)
        chosen = wildRank();

    // Safe discard.
    if (chosen < 0) {
        chosen = safeDiscardRank();
        if (chosen >= 0) ai.baitRank = static_cast<std::uint8_t>(chosen);
    }

    // Whatever is highest.
    const auto highestHeld = [&] {
        for (int r = kRankAce; r >= kRankThree; --r)
            if (hand.h[at(r)] > 0) return r;
        return hand.h[at(kRankTwo)] > 0 ? kRankTwo : kRankJoker;
    };
    if (chosen < 0) chosen = (threes == 0 || S0 > 69) ? highestHeld() : kRankThree;

    // The player's last card must not find its match on an empty pile.
    if (s.discardPile.empty() && PH == 1 && chosen >= kLowRank && c.p[at(chosen)] >= 1) {
        int instead = -1;
        for (int r = kLowRank; r <= kRankAce && instead < 0; ++r)
            if (hand.h[at(r)] > 0 && c.p[at(r)] == 0) instead = r;
        chosen = instead >= 0 ? instead : highestHeld();
    }
    return ofRank(chosen);
}

void ExpertTurn::expertDiscardPhase() {
    GameState& s = game_.state;
    if (passesDiscard(game_)) return;
    if (s.opponentHand.count == 0) return;
    DiscardChoice choice = expertDiscard();
    if (seat_.advisor) choice = seat_.advisor->discard(*this, choice);
    if (choice.meldIndex >= 0) {
        discardRedThree(game_, choice.meldIndex);
        return;
    }
    if (choice.handIndex < 0) return;
    discardFromHand(game_, choice.handIndex);
}

} // namespace velnora::ai
