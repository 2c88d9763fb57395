#include "autoplayer.h"

#include "ai_common.h"
#include "column_profile.h"

#include "game_state.h"
#include "meld_check.h"

#include <algorithm>
#include <vector>

namespace velnora::ai {

AutoPlayer::AutoPlayer(Game& game, std::uint64_t seed) : game_(game), rng_(seed) {}

bool AutoPlayer::isPlayersTurn() const {
    const GameState& s = game_.state;
    return !s.inputBlocked && s.promptState != kPromptWaitForDeal;
}

bool AutoPlayer::turnOver() const {
    // A discard, a pass or the end of the hand hands the table over; when it comes back the
    // player has not drawn yet.
    return !isPlayersTurn() || !game_.state.hasDrawn || actions_ >= kMaxActionsPerTurn;
}

const AutoPlayer::Tally& AutoPlayer::tally() const {
    if (!tallyStale_) return tally_;
    const GameState& s = game_.state;
    tally_ = Tally{};
    for (const Card& c : s.playerHand)
        if (c.rank() < kColumns) ++tally_.hand[c.rank()];
    const ColumnProfile& melds = columnProfile(s.playerMelds, game_.layout);
    tally_.melds = melds.cards;
    tally_.meldNaturals = melds.naturals;
    tallyStale_ = false;
    return tally_;
}

int AutoPlayer::handCount(int rank) const {
    return tally().hand[static_cast<std::size_t>(rank)];
}

int AutoPlayer::meldColumn(int column) const {
    return tally().melds[static_cast<std::size_t>(column)];
}

int AutoPlayer::meldWilds(int column) const {
    return meldColumn(column) - tally().meldNaturals[static_cast<std::size_t>(column)];
}

int AutoPlayer::firstInHand(int rank) const {
    return findRank(game_.state.playerHand, rank);
}

bool AutoPlayer::hasRealMeld() const {
    for (int c = 3; c <= kRankAce; ++c)
        if (meldColumn(c) >= 3) return true;
    return false;
}

bool AutoPlayer::enoughVelnoras() const {
    return game_.state.playerVelnoras.velnoraCount >= game_.rules.velnorasToGoOut;
}

bool AutoPlayer::wantsPile() {
    GameState& s = game_.state;
    if (s.discardPile.empty() || !game_.canTakePile(false)) return false;
    const Card& top = s.discardPile.top();
    const int r = top.rank();
    const int m = meldColumn(r);
    const bool frozen = game_.frozenForPlayer();
    // The top card joins a meld on the table and the pile comes over at once.
    if (!frozen && m >= 3 && !(game_.rules.naturalPair && game_.rules.addExistingMeld)) return true;
    const int h = handCount(r);
    if (h < 2) return false;
    if (hasRealMeld()) return s.playerHand.count - h >= 2;
    // Before the first meld the taking completes only when the minimum is reached.
    int points = top.points() * (h + 1);
    int used = h;
    for (int q = 3; q <= kRankAce; ++q) {
        if (q == r || handCount(q) < 3) continue;
        points += pointsOfRank(q) * handCount(q);
        used += handCount(q);
    }
    int minimum = s.initialMeldMinimum;
    if (!game_.rules.topCardCounts) minimum += top.points();
    return points >= minimum && s.playerHand.count - used >= 1;
}

bool AutoPlayer::drawPhase() {
    GameState& s = game_.state;
    const int pileBefore = s.discardPile.count;
    const int stockBefore = s.stock.count;
    auto changed = [&] {
        return s.discardPile.count != pileBefore || s.stock.count != stockBefore;
    };
    if (s.stockExhausted ? game_.canTakePile(true) : wantsPile()) {
        act([&] { game_.takeDiscardPile(); });
        if (s.hasDrawn && isPlayersTurn()) return true;
        if (changed()) return false; // passed with one card, or the hand ended
    }
    if (s.stockExhausted || s.stock.empty()) {
        act([&] { game_.endHand(); });
        return false;
    }
    act([&] { game_.drawFromStock(); });
    return s.hasDrawn && isPlayersTurn() && actions_ < kMaxActionsPerTurn;
}

bool AutoPlayer::completePileTake() {
    GameState& s = game_.state;
    const int r = s.takenTopRank;
    while (s.takingPile && handCount(r) > 0) {
        if (!act([&] { game_.meldFromHand(firstInHand(r), MeldMode::allOfRank); })) return false;
    }
    for (int q = kRankAce; q >= 3 && s.takingPile; --q) {
        if (handCount(q) < 3 || s.playerHand.count - handCount(q) < 1) continue;
        if (!act([&] { game_.meldFromHand(firstInHand(q), MeldMode::allOfRank); })) return false;
    }
    // Wild cards make up the rest of the minimum: first on melds that have naturals to spare
    // (the taken rank first), then on pairs.
    auto wilds = [&] { return handCount(kRankJoker) + handCount(kRankTwo); };
    for (int k = 0; k <= kRankAce - 3 && s.takingPile; ++k) {
        const int q = k == 0 ? r : kRankAce + 1 - k;
        if (k > 0 && q == r) continue;
        while (s.takingPile && wilds() > 0 && s.playerHand.count > 1 && meldColumn(q) >= 3 &&
               2 * meldWilds(q) < meldColumn(q)) {
            if (!act([&] { game_.addWildcard(q); })) return false;
        }
    }
    for (int q = kRankAce; q >= 3 && s.takingPile; --q) {
        if (handCount(q) != 2 || wilds() == 0 || s.playerHand.count < 4) continue;
        if (!act([&] { game_.meldFromHand(firstInHand(q), MeldMode::allOfRank); })) return false;
    }
    if (!s.takingPile) return true;
    // Giving the pile back costs 50 points but keeps the game going.
    act([&] { game_.undoTakePile(); });
    if (s.hasDrawn || !isPlayersTurn()) return !turnOver();
    if (s.stock.empty())
        act([&] { game_.endHand(); });
    else
        act([&] { game_.drawFromStock(); });
    return !turnOver();
}

bool AutoPlayer::meldPhase() {
    GameState& s = game_.state;
    // Without enough velnoras two cards stay in hand, so no pass is forced on us.
    auto keep = [&] { return enoughVelnoras() ? 0 : 2; };

    if (!hasRealMeld()) {
        std::vector<int> ranks;
        int points = 0, used = 0;
        for (int q = kRankAce; q >= 3; --q) {
            if (handCount(q) >= 3) {
                ranks.push_back(q);
                points += pointsOfRank(q) * handCount(q);
                used += handCount(q);
            }
        }
        int jokers = handCount(kRankJoker), twos = handCount(kRankTwo);
        for (int q = kRankAce; q >= 3 && points < s.initialMeldMinimum; --q) {
            if (handCount(q) != 2 || jokers + twos == 0) continue;
            ranks.push_back(q);
            points += pointsOfRank(q) * 2 + (jokers > 0 ? 50 : 20);
            jokers > 0 ? --jokers : --twos;
            used += 3;
        }
        if (ranks.empty() || points < s.initialMeldMinimum || s.playerHand.count - used < 2)
            return true;
        for (int q : ranks) {
            const int i = firstInHand(q);
            if (i < 0) continue;
            if (!act([&] { game_.meldFromHand(i, MeldMode::allOfRank); })) return false;
        }
    } else {
        for (int q = kRankAce; q >= 3; --q) {
            const int h = handCount(q);
            if (h == 0 || (meldColumn(q) == 0 && h < 3)) continue;
            if (s.playerHand.count - h < keep()) continue;
            if (!act([&] { game_.meldFromHand(firstInHand(q), MeldMode::allOfRank); }))
                return false;
        }
    }

    // Complete velnoras that already hold four naturals.
    for (int q = 3; q <= kRankAce; ++q) {
        const int n = meldColumn(q);
        const int wilds = handCount(kRankJoker) + handCount(kRankTwo);
        if (n < 4 || n > 6 || n - meldWilds(q) < 4 || n + wilds < 7) continue;
        if (s.playerHand.count - (7 - n) < keep()) continue;
        if (!act([&] { game_.fillVelnora(q); })) return false;
    }
    if (!enoughVelnoras()) return true;

    // Going out: black threes when they are the last cards, then the wild cards wherever a
    // meld has more naturals than wild cards.
    int blackThrees = 0;
    for (const Card& c : s.playerHand)
        if (isBlackThree(c.face)) ++blackThrees;
    if (blackThrees >= 3 && s.playerHand.count - blackThrees <= 1) {
        for (int k = 0; k < blackThrees; ++k) {
            int i = -1;
            for (int j = 0; j < s.playerHand.count && i < 0; ++j)
                if (isBlackThree(s.playerHand.at(j).face)) i = j;
            if (i < 0) break;
            if (!act([&] { game_.meldFromHand(i, MeldMode::single); })) return false;
        }
    }
    for (int q = 3; q <= kRankAce; ++q) {
        while (s.playerHand.count > 1 && handCount(kRankJoker) + handCount(kRankTwo) > 0 &&
               meldColumn(q) >= 3 && 2 * meldWilds(q) < meldColumn(q)) {
            if (!act([&] { game_.addWildcard(q); })) return false;
        }
    }
    return true;
}

bool AutoPlayer::discardPhase() {
    GameState& s = game_.state;
    if (s.playerHand.count == 1 && !enoughVelnoras()) {
        // The last card may complete the velnora still missing; that goes out by melding.
        const Card& last = s.playerHand.at(0);
        if (isNatural(last.rank()) && meldColumn(last.rank()) == 6) {
            if (!act([&] { game_.meldFromHand(0, MeldMode::single); })) return false;
        } else if (isWild(last.rank())) {
            for (int q = 3; q <= kRankAce; ++q) {
                if (meldColumn(q) == 6 && meldWilds(q) < 3) {
                    if (!act([&] { game_.addWildcard(q); })) return false;
                    break;
                }
            }
        }
        if (s.playerHand.count == 0) return false;
    }

    // Cheapest and safest first: black threes block the pile; singles of ranks the computer
    // has not melded give the least away; wild cards go last.
    const std::array<int, kColumns> opponentColumns =
        columnProfile(game_.state.opponentMelds, game_.layout).cards;
    std::vector<std::pair<int, int>>& order = discardOrder_;
    order.clear();
    for (int i = 0; i < s.playerHand.count; ++i) {
        const Card& c = s.playerHand.at(i);
        int score;
        if (isBlackThree(c.face))
            score = 0;
        else if (isWild(c.rank()))
            score = 1000 + c.points();
        else {
            const int h = handCount(c.rank());
            score = (h == 1 ? 100 : h == 2 ? 300 : 500) + c.points() * 4;
            if (opponentColumns[c.rank()] > 0) score += 200;
        }
        order.emplace_back(score * 8 + rng_(8), i);
    }
    // The first choice nearly always goes: it is picked out alone, and the rest are only sorted
    // when it is refused. The pairs are all different, so the order is the same either way.
    if (!order.empty()) std::iter_swap(order.begin(), std::min_element(order.begin(), order.end()));
    bool sorted = order.size() < 3;
    for (int attempt = 0; attempt < 2; ++attempt) {
        for (std::size_t k = 0; k < order.size(); ++k) {
            if (k == 1 && !sorted) {
                std::sort(order.begin() + 1, order.end());
                sorted = true;
            }
            const int i = order[k].second;
            if (i >= s.playerHand.count) continue;
            ++actions_;
            tallyStale_ = true;
            const bool done = game_.discard(i);
            afterAction();
            if (done) return false;
            if (actions_ >= kMaxActionsPerTurn) return false;
        }
        // The melds of this turn do not stand up: take them back and try again.
        if (s.undoStack.empty()) break;
        act([&] { game_.undoAll(); });
        order.clear();
        for (int i = 0; i < s.playerHand.count; ++i)
            order.emplace_back(isWild(s.playerHand.at(i).rank()) ? 1 : 0, i);
        std::stable_sort(order.begin(), order.end());
    }
    return false;
}

int AutoPlayer::playTurn(const std::function<void()>& afterAction) {
    if (!isPlayersTurn()) return 0;
    after_ = &afterAction;
    actions_ = 0;
    tallyStale_ = true;
    playPhases();
    after_ = nullptr; // the caller's function goes out of scope
    return actions_;
}

void AutoPlayer::playPhases() {
    GameState& s = game_.state;
    if (!s.hasDrawn && !drawPhase()) return;
    if (s.takingPile && !completePileTake()) return;
    if (!meldPhase()) return;
    discardPhase();
}

} // namespace velnora::ai
