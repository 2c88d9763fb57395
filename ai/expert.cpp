#include "expert.h"

#include "game_state.h"

#include <algorithm>

namespace velnora::ai {

using namespace expert_detail;

ExpertTurn::ExpertTurn(Game& game, const ExpertSeat& seat)
    : game_(game), seat_(seat), minimum_(initialMeldMinimumFor(game.state.opponentTotal)) {
    c_ = recountTables(game_);
    cStamp_ = recountStamp();
}

Random& ExpertTurn::rng() {
    return seat_.rng ? *seat_.rng : game_.rng();
}

const Counts& ExpertTurn::recount() {
    const Counts& now = recountTables(game_);
    // Most recounts find the table as the last one did: the copy is only made when it changed.
    if (recountStamp() != cStamp_) {
        c_ = now;
        cStamp_ = recountStamp();
    }
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
    const Game::ComputerTurn turn(game_);
    minimum_ = beginTurn(game_);
    expertBeginDraw();
    bool take = expertTakePile();
    if (seat_.advisor) take = seat_.advisor->takePile(*this, take);
    playFrom(take);
}

void ExpertTurn::playFrom(bool takePile) {
    const Game::ComputerTurn turn(game_);
    if (expertTakeOrDraw(takePile) == 2) {
        // The hand ended for want of cards and has been scored (on a table that never marked
        // its empty stock, the turn's end scores it).
        endTurn(game_);
        return;
    }
    game_.state.opponentPromptState = kPromptMeldOrDiscard;
    expertMeldPhase();
    expertDiscardPhase();
    endTurn(game_);
}

void expertTurn(Game& game) {
    ExpertTurn turn(game);
    turn.play();
}

// The draw phase: the mood, the memory of the pile, and the pick-up or draw

int ExpertTurn::expertDrawPhase() {
    expertBeginDraw();
    return expertTakeOrDraw(expertTakePile());
}

void ExpertTurn::expertBeginDraw() {
    GameState& s = game_.state;
    AiMemory& ai = s.ai;
    const int stock = s.stock.count;
    // Aggressive when aggression * 0.6 + 10 beats a random number below the stock count; kept in
    // integers so that no rounding decides the mood.
    ai.aggressiveMode = indicator(game_.options.aggression * 6 + 100 > 10 * rng()(stock));

    recount();
    if (s.discardPile.count == 1) {
        ai.threesToMeld = indicator(ai.threesToMeld && c_.h[at(kRankThree)] > 1);
        ai.baitRank = 0;
    }

    const int pile = s.discardPile.count;
    const int seen = s.playerHand.count + s.playerMelds.count;
    ai.fallingBehind =
        indicator(stock + pile < 62 && seen >= (77 - stock - pile) / 2 + 21 && !melded());
}

int ExpertTurn::expertTakeOrDraw(bool takePile) {
    GameState& s = game_.state;
    AiMemory& ai = s.ai;
    if (takePile) {
        ai.baitRank = 0;
        const bool meldedBefore = melded();
        const Card top = takeTopCard(game_);
        expertMeldTakenTop(top.rank(), meldedBefore);
        ai.pileMakesVelnora = 0;
        takeRestOfPile(game_);
        s.pileFrozen = 0;
        return 1;
    }

    if (s.stockExhausted || s.stock.empty()) {
        if (!s.discardPile.empty() && game_.isForcedFor(Seat::opponent)) {
            const Card top = takeTopCard(game_);
            expertMeldBesideTop(top.rank(), 1);
            return 1;
        }
        // Neither draw nor pick-up is possible: the hand ends here.
        if (s.stockExhausted)
            endHandStockExhausted(game_);
        else
            s.endHandRequested = 1; // a table that never marked its empty stock
        return 2;
    }

    drawForTurn(game_);
    return 0;
}

void ExpertTurn::expertMeldTakenTop(int r, bool meldedBefore) {
    recount();
    // The top card already lies in its column; the choices count it as the hand card it was
    // when the pile was judged.
    const int held = c_.h[at(r)] + 1;
    const int laid = c_.m[at(r)] - 1;
    if (laid < 3) {
        if (!meldedBefore) {
            // The top card's own pair was one of the planned wild-card pairs.
            if (held == 2) game_.state.ai.plannedPairs -= 1;
            expertMeldRank(r, 0);
            expertFinishInitialMeld();
        } else {
            expertMeldBesideTop(r, 3);
        }
    } else if (frozen() || (game_.rules.naturalPair && game_.rules.addExistingMeld)) {
        expertMeldBesideTop(r, 3);
    } else {
        expertMeldBesideTop(r, 1);
    }
}

void ExpertTurn::expertMeldBesideTop(int r, int cards) {
    // The top card is the first of the cards; the rest come from the hand.
    if (cards > 1) {
        expertMeldRank(r, cards - 1);
        return;
    }
    recount();
    if (r >= kLowRank && c_.m[at(r)] == 2) meldWildcard(game_, r);
}

// The meld phase

void ExpertTurn::expertMeldPhase() {
    GameState& s = game_.state;
    AiMemory& ai = s.ai;
    const RuleSettings& rules = game_.rules;
    const int N = needed();

    // Red threes.
    layRedThrees(game_, true);

    // Natural velnoras.
    recount();
    for (int r = kLowRank; r <= kRankAce; ++r) {
        const int held = c_.h[at(r)];
        if (held == 0 || held + c_.m[at(r)] < 7 || c_.m[at(r)] != c_.opponentMeldNaturals[at(r)])
            continue;
        if (melded() || pointsOfRank(r) * 7 >= minimum_) {
            meldFromLast(game_, r);
            recount();
        }
    }

    // Quick exit: can everything go down with the velnoras it needs?
    {
        const Counts& c = recount();
        int spare = c.W;
        int vel = velnoras();
        bool ok = true;
        int singles = 0;
        // Ranks by the cards they have in hand and on the table, eight down to one, low ranks
        // first within a count; sorted into buckets once instead of scanned eight times.
        std::array<std::array<int, kColumns>, 9> byCards;
        std::array<int, 9> inBucket{};
        for (int r = kLowRank; r <= kRankAce; ++r) {
            const int j = c.h[at(r)] + c.m[at(r)];
            if (j >= 1 && j <= 8) byCards[at(j)][at(inBucket[at(j)]++)] = r;
        }
        for (int j = 8; j >= 1 && ok; --j) {
            for (int k = 0; k < inBucket[at(j)] && ok; ++k) {
                const int r = byCards[at(j)][at(k)];
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

    // Build velnoras when the hand is nearly over.
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

    // Two velnoras to go out: are both within reach?
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

    // Going out, or cutting what would be caught in the hand.
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

    // Threes are kept for going out late in the hand.
    recount();
    if (3 * N + 68 >= s.stock.count && c_.h[at(kRankThree)] > 1) ai.threesToMeld = 1;
}

} // namespace velnora::ai
