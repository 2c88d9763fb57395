#include "expert.h"

#include "game_state.h"

#include <algorithm>
#include <climits>

namespace velnora::ai {

namespace {

constexpr int kLowRank = 3; // the four: threes never form an ordinary meld
constexpr std::size_t at(int rank) {
    return static_cast<std::size_t>(rank);
}

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

int indicator(bool b) {
    return b ? 1 : 0;
}

} // namespace

Holding Holding::ofHand(const GameState& state) {
    Holding hd;
    for (const Card& card : state.opponentHand)
        hd.add(card);
    return hd;
}

void Holding::add(const Card& card) {
    ++h[at(card.rank)];
    ++H;
    if (card.rank == kRankJoker) ++J;
    if (card.rank == kRankTwo) ++T;
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

ExpertTurn::ExpertTurn(Game& game)
    : game_(game), minimum_(initialMeldMinimumFor(game.state.opponentTotal)) {
    c_ = aiRecount(game_);
}

const Counts& ExpertTurn::recount() {
    c_ = aiRecount(game_);
    return c_;
}

bool ExpertTurn::frozen() const {
    return game_.frozenForSeat(Seat::opponent);
}

bool ExpertTurn::melded() const {
    return game_.state.opponentMeldPoints > 0;
}

int ExpertTurn::velnoras() const {
    return game_.state.opponentVelnoras.velnoraCount;
}

int ExpertTurn::needed() const {
    return game_.rules.velnorasToGoOut;
}

bool ExpertTurn::reachesMinimum(int value, bool makesVelnora) const {
    const GameState& s = game_.state;
    if (s.opponentMeldPoints > 0) return true;
    // Under the bonus rule a velnora, even the one being laid, lifts the minimum.
    if (game_.rules.bonusCounts && (makesVelnora || velnoras() > 0)) return true;
    return value >= minimum_;
}

bool ExpertTurn::scoresAllowGoingOut() const {
    const GameState& s = game_.state;
    const int player = s.playerTotal + 300 * s.playerVelnoras.velnoraCount +
                       meldedPoints(s, Seat::player, false, game_.layout);
    const int computer =
        s.opponentTotal + 300 * velnoras() + meldedPoints(s, Seat::opponent, false, game_.layout);
    return player < computer || player < 5000;
}

void ExpertTurn::play() {
    minimum_ = beginTurn(game_);
    const int result = expertDrawPhase();
    game_.state.opponentPromptState = 1;
    if (result != 2) {
        expertMeldPhase();
        expertDiscardPhase();
    }
    endTurn(game_);
}

void expertTurn(Game& game) {
    ExpertTurn turn(game);
    turn.play();
}

// Drawing and taking the pile

int ExpertTurn::expertDrawPhase() {
    GameState& s = game_.state;
    AiMemory& ai = s.ai;
    const int stock = s.stock.count;
    // (aggression * 0.6 + 10) > Random(S0), kept in integers so no rounding decides the mood.
    ai.aggressiveMode = indicator(game_.options.aggression * 6 + 100 > 10 * game_.rng()(stock));

    recount();
    if (s.discardPile.count == 1) {
        ai.threesToMeld = indicator(ai.threesToMeld && c_.h[at(kRankThree)] > 1);
        ai.baitRank = 0;
    }

    const int pile = s.discardPile.count;
    const int seen = s.playerHand.count + s.playerMelds.count;
    ai.fallingBehind =
        indicator(stock + pile < 62 && seen >= (77 - stock - pile) / 2 + 21 && !melded());

    if (expertTakePile()) {
        ai.baitRank = 0;
        const Card top = takeTopCard(game_);
        const int r = top.rank;
        recount();
        if (c_.m[at(r)] < 3) {
            if (!melded()) {
                // The top card's own pair was one of the planned wild-card pairs.
                if (c_.h[at(r)] == 2) ai.plannedPairs -= 1;
                expertMeldRank(r, 0);
                expertFinishInitialMeld();
            } else {
                expertMeldRank(r, 3);
            }
        } else if (frozen() || (game_.rules.naturalPair && game_.rules.addExistingMeld)) {
            expertMeldRank(r, 3);
        } else {
            expertMeldRank(r, 1);
        }
        ai.pileMakesVelnora = 0;
        takeRestOfPile(game_);
        s.pileFrozen = 0;
        return 1;
    }

    if (s.stockExhausted || s.stock.empty()) {
        if (!s.discardPile.empty() && game_.isForcedFor(Seat::opponent)) {
            const Card top = takeTopCard(game_);
            expertMeldRank(top.rank, 1);
            return 1;
        }
        // Neither draw nor pick-up is possible: the hand ends at the close of this turn.
        s.endHandRequested = 1;
        return 2;
    }

    drawForTurn(game_);
    return 0;
}

bool ExpertTurn::velnoraWithinReach(const Holding& hand, int topRank, bool ok) {
    const Counts& c = c_;
    int best = -1;
    for (int s = kRankAce; s >= kLowRank && best < 0; --s) {
        const int g = hand.h[at(s)] + c.d[at(s)] + c.m[at(s)] - indicator(s == topRank);
        if (g >= 4 && hand.W + g >= 7) best = s;
    }
    bool inReach = best >= 0;
    if (inReach && hand.h[at(best)] < 3) {
        // Wild cards promised to the initial meld cannot also fill the velnora.
        const int g = hand.h[at(best)] + c.d[at(best)] + c.m[at(best)] -
                      game_.state.ai.plannedPairs - indicator(best == topRank);
        inReach = hand.J + hand.T + g > 6;
    }
    if (!ok) return false;
    if (inReach) return true;
    // A small pile that brings no velnora is left alone; a big one is worth a gamble.
    const double pile = game_.state.discardPile.count;
    const double rnd = game_.rng().uniform();
    return !(25.0 / (pile * pile) >= rnd);
}

bool ExpertTurn::expertTakePile() {
    GameState& s = game_.state;
    AiMemory& ai = s.ai;
    const RuleSettings& rules = game_.rules;
    if (s.discardPile.empty()) return false;
    const Card top = s.discardPile.top();
    const int r = top.rank;
    // A top card that does not count must be paid for, whether or not the pile is taken.
    if (!rules.topCardCounts) minimum_ += top.points;

    const Counts& c = recount();
    const bool isFrozen = frozen();
    if (!canTakeDiscard(game_, c, isFrozen)) return false;

    const int N = needed();
    const int V = velnoras();
    const int D = s.discardPile.count;
    const int S0 = s.stock.count;
    const int PH = s.playerHand.count;

    // 1. Does the pile bring a velnora that the hand alone cannot make?
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

    // 2. The hand as it would be with the top card.
    Holding withTop = hand;
    withTop.add(top);
    int used = 0;
    const bool ok =
        melded() || expertEstimateMeld(withTop, r, ai.pileMakesVelnora != 0, true, &used);
    ai.plannedPairs = used;

    const auto h = [&](int rank) { return withTop.h[at(rank)]; };
    const int m = c.m[at(r)];
    const int W = withTop.W;

    // 3. A pile being built up is taken only when it has grown or holds wild cards.
    if (expertPileWorthBuilding(withTop)) {
        if (h(kRankThree) > 0 || ai.baitRank != 0) return false;
        if (withTop.H > 24 && PH <= 20 &&
            ((withTop.T > 0 && expertCanSpare(withTop, kRankTwo)) ||
             (withTop.J > 0 && expertCanSpare(withTop, kRankJoker))))
            return false;
        return ok && ((S0 <= 70 && D > 2) || c.d[at(kRankJoker)] + c.d[at(kRankTwo)] > 0);
    }

    // 4. Leftover after taking everything; red threes from the pile are laid, not held.
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
    const int t = s.discardPile.top().rank;
    if (s.ai.fallingBehind) return false;
    if (!melded() && s.ai.baitRank == 0) {
        // A query only: the plan chosen for taking the pile stays as it was.
        const std::int32_t plan = s.ai.meldPlan;
        const bool canMeld = expertEstimateMeld(hand, -1, false, false);
        game_.state.ai.meldPlan = plan;
        if (!canMeld) return false;
    }
    const auto& q = s.rankCounts[kPlayerHandRow];
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

// Melding

int ExpertTurn::meldCardsOfRank(int rank, int limit) {
    int done = 0;
    while (limit == 0 || done < limit) {
        const Pile& hand = game_.state.opponentHand;
        int i = hand.count - 1;
        while (i >= 0 && hand.at(i).rank != rank)
            --i;
        if (i < 0) break;
        game_.opponentMeldCard(i);
        ++done;
    }
    return done;
}

void ExpertTurn::expertMeldRank(int rank, int limit) {
    meldCardsOfRank(rank, limit);
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
            meldCardsOfRank(r, 0);
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
        if (chosen[at(r)]) meldCardsOfRank(r, 0);
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

void ExpertTurn::expertMeldPhase() {
    GameState& s = game_.state;
    AiMemory& ai = s.ai;
    const RuleSettings& rules = game_.rules;
    const int N = needed();

    // 1. Red threes.
    layRedThrees(game_, true);

    // 2. Natural velnoras.
    recount();
    for (int r = kLowRank; r <= kRankAce; ++r) {
        const int held = c_.h[at(r)];
        if (held == 0 || held + c_.m[at(r)] < 7 || c_.m[at(r)] != c_.opponentMeldNaturals[at(r)])
            continue;
        if (melded() || pointsOfRank(r) * 7 >= minimum_) {
            meldCardsOfRank(r, 0);
            recount();
        }
    }

    // 3. Quick exit: can everything go down with the velnoras it needs?
    {
        const Counts& c = recount();
        int spare = c.W;
        int vel = velnoras();
        bool ok = true;
        int singles = 0;
        for (int j = 8; j >= 1; --j) {
            for (int r = kLowRank; r <= kRankAce && ok; ++r) {
                if (c.h[at(r)] + c.m[at(r)] != j) continue;
                // A velnora already on the table is counted once, in V.
                const bool newVelnora = s.opponentVelnoras.velnoraKind[at(r)] == kNoVelnora;
                if (vel < N && j >= 4 && newVelnora && spare + j - 7 >= 0) {
                    spare -= 7 - j;
                    ++vel;
                }
                ok = ok && (j != 2 || spare > 0);
                if (j == 1) ++singles;
                if (j == 2 && spare > 0) --spare;
            }
        }
        const int threes = c.h[at(kRankThree)];
        ok = ok && singles < 2 && (threes == 0 || threes > 2 || (singles == 1 && threes == 1));
        if (ok && vel >= N && ai.aggressiveMode && scoresAllowGoingOut()) {
            expertCompleteVelnoras();
            // The rest goes down only when the velnoras did.
            if (velnoras() >= N) {
                expertMeldNaturals(0);
                expertGoOut();
            }
        }
    }

    // 4. Build velnoras when the hand is nearly over.
    {
        recount();
        const int S0 = s.stock.count;
        const int PV = s.playerVelnoras.velnoraCount;
        const int PH = s.playerHand.count;
        const int PM = s.playerMelds.count;
        if (S0 < 6 || (!ai.fallingBehind &&
                       ((PV >= N && PH < 10) || (PV == 0 && N == 1 && S0 < 55 && PM <= 4)))) {
            expertCompleteVelnoras();
            if (velnoras() >= N && scoresAllowGoingOut()) {
                expertMeldNaturals(0);
                expertGoOut();
            }
        }
    }

    // 5. Two velnoras to go out: are both within reach?
    if (N == 2) {
        const Counts& c = recount();
        const int H = c.handSize;
        const int S0 = s.stock.count;
        int reach = velnoras();
        int used = c.W;
        int spare = c.W;
        for (int i = 8; i >= 4 && spare >= 0; --i) {
            for (int r = kLowRank; r <= kRankAce; ++r) {
                const int held = c.h[at(r)] + c.m[at(r)];
                if (held == i && c.m[at(r)] < 7 && spare >= 7 - held) {
                    ++reach;
                    used += c.h[at(r)];
                    spare -= 7 - held;
                }
            }
        }
        if (reach > 1 || S0 < 5) {
            if ((H - used != 2 && reach > 1) || S0 < 5) expertCompleteVelnoras();
            if (H - used < 2 && reach > 1 && velnoras() >= N && scoresAllowGoingOut()) {
                expertMeldNaturals(0);
                expertGoOut();
            }
        }
    }

    // 6. Going out, or cutting what would be caught in the hand.
    if (velnoras() >= N || !rules.velnoraRequired) {
        recount();
        const int V = velnoras();
        const int S0 = s.stock.count;
        const int PV = s.playerVelnoras.velnoraCount;
        const int PH = s.playerHand.count;
        const int PM = s.playerMelds.count;
        const int H = c_.handSize;
        const int OM = s.opponentMelds.count;
        if (V < N) {
            if (PV >= N && PH < 5 && !ai.fallingBehind && H + OM >= 7 * N - 7 * V + 10 && melded())
                expertMeldNaturals(1);
        } else {
            const int open = OM * indicator(!frozen()) + H;
            const bool mood = ai.aggressiveMode
                                  ? PV >= N - 1 || PH + PM >= 35 || open <= 14
                                  : PH + PM >= 35 || open <= 6 || (PV >= N && PH <= 3);
            if (mood && expertCanGoOut(Holding::ofHand(s)) && scoresAllowGoingOut()) {
                expertMeldNaturals(0);
                expertCompleteVelnoras();
                expertGoOut();
            } else {
                bool onlyRedThrees = true;
                for (const Card& card : s.playerMelds)
                    if (!isRedThree(card.face)) onlyRedThrees = false;
                if (PH < 6 || S0 < 5 || (S0 < 60 && onlyRedThrees && ai.aggressiveMode)) {
                    expertCompleteVelnoras();
                    if (S0 < 5 || (PH <= 5 && PV >= N)) expertMeldNaturals(1);
                }
            }
        }
    }

    // 7. Threes are kept for going out late in the hand.
    recount();
    if (3 * N + 68 >= s.stock.count && c_.h[at(kRankThree)] > 1) ai.threesToMeld = 1;
}

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
    const int preferred = game_.rng()(10) <= 7 ? kRankTwo : kRankJoker;
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

    // 1.-3. Cards that go before anything is weighed.
    if (ai.threesToMeld && threes > 0) return ofRank(kRankThree);
    if (hand.H == 1) return DiscardChoice{0, -1};
    if (c.W > 2 * N + 2 && (isFrozen || V < N)) return ofRank(wildRank());

    // 4. Freeze the pile with a red three taken back while the first meld is still far off.
    if (game_.rules.threeBlock && N == 2 && !melded() && hand.H < 14) {
        const Pile& melds = s.opponentMelds;
        for (int i = 0; i < melds.count; ++i)
            if (isRedThree(melds.at(i).face)) return DiscardChoice{-1, i};
    }

    int chosen = -1;
    // 5. Keep baiting the same rank.
    if (ai.baitRank != 0 && hand.h[at(ai.baitRank)] > 0 && expertCanSpare(hand, ai.baitRank))
        chosen = ai.baitRank;
    else
        ai.baitRank = 0;

    // 6. Build the pile up.
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

    // 7. A wild card freezes the pile when the player is close to taking it.
    const int unknownHand = PH - c.known[0] - c.known[1] - c.known[2];
    if ((c.W > 3 || (c.W > 0 && V >= N)) && unknownHand <= 7 && PM > 19 && !isFrozen &&
        !ai.threesToMeld)
        chosen = wildRank();

    // 8. Safe discard.
    if (chosen < 0) {
        chosen = safeDiscardRank();
        if (chosen >= 0) ai.baitRank = static_cast<std::uint8_t>(chosen);
    }

    // 9. Whatever is highest.
    const auto highestHeld = [&] {
        for (int r = kRankAce; r >= kRankThree; --r)
            if (hand.h[at(r)] > 0) return r;
        return hand.h[at(kRankTwo)] > 0 ? kRankTwo : kRankJoker;
    };
    if (chosen < 0) chosen = (threes == 0 || S0 > 69) ? highestHeld() : kRankThree;

    // 10. The player's last card must not find its match on an empty pile.
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
    const DiscardChoice choice = expertDiscard();
    if (choice.meldIndex >= 0) {
        // The red three leaves the melds; the threes above it close the gap.
        Card card = removeFromColumn(s.opponentMelds, choice.meldIndex, game_.layout,
                                     s.opponentVelnoras, -kColumnStep);
        game_.host().repaint(TableArea::opponentMelds);
        layOnDiscardPile(game_, card);
        return;
    }
    if (choice.handIndex < 0) return;
    discardFromHand(game_, choice.handIndex);
}

} // namespace velnora::ai
