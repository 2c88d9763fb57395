#include "ai_common.h"

#include <cstddef>

// The Beginner: takes the pile only when it brings a velnora within reach, melds as soon as its
// naturals reach the minimum, completes velnoras whenever its wild cards allow, and discards
// single cards of ranks the player has not melded.

namespace velnora::ai {

namespace {

// Melds every hand card of rank r, then a wild card when the column holds only two.
void beginnerMeldRank(Game& game, int r) {
    for (int i = findInHand(game, r); i >= 0; i = findInHand(game, r))
        meldFromHand(game, i);
    const Counts c = aiRecount(game);
    if (at(c.m, r) == 2) meldWildcard(game, r);
}

// The points the first meld reaches when the pile is taken: the top card with its rank (and a
// wild card for a column of two), the estimate's wild-card pairs, ranks of three or more until
// the minimum, then spare wild cards on the columns laid (beginnerMeldRank, layFirstMelds,
// topUpFirstMeld). c is counted without the top card, whose rank is r.
int beginnerFirstMeldReach(Counts c, int r, int minimum) {
    int value = 0;
    std::array<int, kColumns> room{}; // wild cards a column may still take
    auto spendWild = [&](int column) {
        value += c.J > 0 ? pointsOfRank(kRankJoker) : pointsOfRank(kRankTwo);
        --(c.J > 0 ? c.J : c.T);
        --c.W;
        --c.handSize;
        --room[static_cast<std::size_t>(column)];
    };
    auto meldRank = [&](int q, int cards) {
        value += pointsOfRank(q) * cards;
        c.handSize -= cards;
        c.h[static_cast<std::size_t>(q)] = 0;
        room[static_cast<std::size_t>(q)] = cards;
        if (cards == 2 && c.W > 0) spendWild(q);
    };
    ++c.handSize; // the top card joins the hand and leaves it with its rank
    meldRank(r, 1 + at(c.h, r));
    const int pairs = sharedMeldEstimate(c, minimum, value).pairs;
    for (int k = 0, q = kRankAce; k < pairs && q >= 3; --q) {
        if (at(c.h, q) != 2) continue;
        meldRank(q, 2);
        ++k;
    }
    for (int q = 3; q <= kRankAce && value < minimum; ++q)
        if (at(c.h, q) >= 3) meldRank(q, at(c.h, q));
    for (int q = 3; q <= kRankAce; ++q)
        while (at(room, q) > 0 && value < minimum && c.W > 0 && c.handSize >= 2)
            spendWild(q);
    return value;
}

bool beginnerTakePile(Game& game, int& minimum) {
    const GameState& s = game.state;
    if (s.discardPile.empty()) return false;
    const Card& top = s.discardPile.top();
    const int r = top.rank();
    // A top card that does not count for the first meld has to be paid for.
    if (!game.rules.topCardCounts) minimum += top.points();
    const Counts c = aiRecount(game);
    if (!canTakeDiscard(game, c, game.frozenForSeat(Seat::opponent))) return false;

    // The top card joins the hand only for the evaluation and the counts are taken before it
    // would be added, so it changes nothing that is read below.
    if (velnoras(game) < game.rules.velnorasToGoOut) {
        bool meldOk = hasMelded(game);
        int wildNeeded = 0;
        if (!meldOk) {
            int a = 0;
            for (int q = 3; q <= kRankAce; ++q)
                if (at(c.h, q) >= 3) a += pointsOfRank(q) * at(c.h, q);
            meldOk = 50 * c.J + 20 * c.T + a >= minimum;
            if (meldOk) {
                int jokers = c.J;
                while (a < minimum) {
                    if (jokers > 0) {
                        a += 50;
                        --jokers;
                    } else {
                        a += 20;
                    }
                    ++wildNeeded;
                }
            }
        }
        // The wild cards counted above must also fit the meld the laying will make.
        if (!hasMelded(game)) meldOk = meldOk && beginnerFirstMeldReach(c, r, minimum) >= minimum;
        return meldOk && velnoraWithinReach(c, r, wildNeeded) >= 0;
    }
    const int h = at(c.h, r);
    return h >= 3 || (h <= 2 && at(c.m, r) >= 3 && s.discardPile.count >= 3);
}

bool beginnerCanMeld(Game& game, int minimum) {
    const Counts c = aiRecount(game);
    const MeldEstimate e = sharedMeldEstimate(game, c, minimum);
    return e.a >= minimum && e.cards < c.handSize;
}

void beginnerMeldNaturals(Game& game) {
    const Counts c = aiRecount(game);
    int budget = c.handSize;
    for (int r = kRankAce; r >= 3; --r) {
        const int h = at(c.h, r);
        const int m = at(c.m, r);
        if (!((m > 0 && h > 0) || h >= 3)) continue;
        if (budget < h) continue;
        budget -= h;
        // The last card of the budget is kept for the discard.
        const int k = budget == 0 ? h - 1 : h;
        if (k < (m > 0 ? 1 : 3)) continue;
        for (int n = 0; n < k; ++n) {
            const int i = findInHand(game, r);
            if (i < 0) break;
            meldFromHand(game, i);
        }
    }
}

void beginnerGoOut(Game& game) {
    Counts c = aiRecount(game);
    int pairs = 0;
    for (int r = 3; r <= kRankAce; ++r)
        if (at(c.h, r) == 2) ++pairs;
    const int spare = c.W - pairs;
    const int rest = c.handSize - 3 * pairs - spare;
    if (spare < 0 || (rest != 0 && rest != 1)) return;
    for (int r = kRankAce; r >= 3; --r)
        if (at(c.h, r) == 2) beginnerMeldRank(game, r);

    c = aiRecount(game);
    std::array<int, kColumns> capacity{};
    for (int r = 3; r <= kRankAce; ++r) {
        // A meld must keep at least as many naturals as wild cards: room = naturals - wilds.
        const int w = countMeldWildcards(game, r);
        const int room = at(c.m, r) >= 7 ? 0 : at(c.m, r) - 2 * w;
        capacity[static_cast<std::size_t>(r)] = room > 0 ? room : 0;
    }
    // One card stays in hand for the discard.
    const int toPlace = spare + rest - 1;
    int placed = 0;
    for (int r = 3; r <= kRankAce && placed < toPlace; ++r) {
        const int n = std::min(at(capacity, r), toPlace - placed);
        for (int k = 0; k < n; ++k)
            meldWildcard(game, r);
        placed += n;
    }
    if (placed < toPlace) wildcardsIntoLowestVelnora(game, aiRecount(game), toPlace - placed);
}

bool beginnerThreat(Game& game, const Counts& c) {
    if (c.W == 0 || game.frozenForSeat(Seat::opponent)) return false;
    for (int r = 3; r <= kRankAce; ++r)
        if (at(c.h, r) > 0 && (at(c.p, r) == 5 || at(c.p, r) == 6)) return true;
    return false;
}

int beginnerDiscard(Game& game) {
    const Counts c = aiRecount(game);
    if (c.handSize == 0) {
        game.host().fatalError("No card left to discard.");
        return -1;
    }
    const int threes = at(c.h, kRankThree);
    const bool onlyLow = threes + c.W == c.handSize;
    if (beginnerThreat(game, c) || onlyLow) {
        // A black three blocks the pile; a wild card freezes it.
        for (int r : {kRankThree, kRankTwo, kRankJoker})
            if (at(c.h, r) > 0) return findInHand(game, r);
    }
    int found = -1;
    int foundCount = 0;
    for (int i = 1; i <= 9 && found < 0; ++i) {
        for (int j = 2; j <= 5 && found < 0; ++j)
            for (int r = 3; r <= kRankAce && found < 0; ++r)
                if (at(c.h, r) == i && at(c.p, r) <= j) found = r;
        // A player column of exactly six is one card from a velnora and is never fed.
        for (int r = 3; r <= kRankAce && found < 0; ++r)
            if (at(c.h, r) == i && at(c.p, r) >= 7) found = r;
        if (found >= 0) foundCount = i;
    }
    const bool oneBesidesThrees = c.handSize - threes == 1;
    if ((found < 0 || foundCount >= 2 || oneBesidesThrees) && threes > 0)
        return findInHand(game, kRankThree);
    if (found < 0) return 0;
    return findInHand(game, found);
}

} // namespace

void beginnerTurn(Game& game) {
    const Game::ComputerTurn turn(game);
    int minimum = beginTurn(game);
    GameState& s = game.state;
    if (beginnerTakePile(game, minimum)) {
        const bool firstMeld = !hasMelded(game);
        s.pileFrozen = 0;
        pause(game);
        const Card top = takeTopCard(game);
        beginnerMeldRank(game, top.rank());
        layFirstMelds(game, minimum, beginnerMeldRank);
        // The take decision counted every wild card in hand towards the minimum.
        if (firstMeld) topUpFirstMeld(game, minimum);
        takeRestOfPile(game);
    } else if (s.stockExhausted) {
        if (!takeForcedTopCardOrEndHand(game, beginnerMeldRank)) return;
    } else {
        drawForTurn(game);
    }

    s.opponentPromptState = kPromptMeldOrDiscard;
    layRedThrees(game);
    if (!hasMelded(game) && beginnerCanMeld(game, minimum))
        layFirstMelds(game, minimum, beginnerMeldRank);
    if (hasMelded(game)) velnoraCompletingStep(game);
    if (velnoras(game) >= game.rules.velnorasToGoOut) {
        beginnerMeldNaturals(game);
        beginnerGoOut(game);
    }
    if (!passesDiscard(game) && !s.opponentHand.empty()) {
        const int i = beginnerDiscard(game);
        if (i >= 0) discardFromHand(game, i);
    }
    endTurn(game);
}

} // namespace velnora::ai
