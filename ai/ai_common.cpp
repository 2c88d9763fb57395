#include "ai_common.h"

#include "column_profile.h"
#include "game_state.h"
#include "meld_check.h"
#include "pile_memo.h"

#include <algorithm>

namespace velnora::ai {

namespace {
constexpr const char* kWildcardNotFound = "Meld error: Wildcard not found.";
} // namespace

int pointsOfRank(int rank) {
    if (rank == kRankJoker) return 50;
    if (rank == kRankTwo || rank == kRankAce) return 20;
    if (rank >= 7) return 10; // eight to king
    return 5;                 // three to seven
}

namespace {

using RankTable = std::array<int, kColumns>;

RankTable countRanksOf(const Pile& pile) {
    RankTable t{};
    for (const Card& card : pile)
        ++t[card.rank()];
    return t;
}

// What names the piles a recount reads: their versions and counts, and the columns' layout.
struct RecountKey {
    std::array<std::uint64_t, 5> versions{};
    std::array<int, 5> counts{};
    int tableLeft = 0;
    int columnPitch = -1;
    bool operator==(const RecountKey&) const = default;
};

// The tables as the last recount on this thread took them, pile by pile and whole: the
// computer recounts after each card it plays and before each choice, and most of its recounts
// find every pile, or all but one, as they were.
struct RecountMemo {
    PileMemo<RankTable> hand, discard, known;
    RecountKey key;
    Counts counts;
    std::uint64_t stamp = 0; // renewed whenever the counts are taken again

    // Fills every table in c that depends on the piles (the rest stays as it is, zero).
    void countTables(Counts& c, const GameState& s, const Layout& layout) {
        c.h = hand.get(s.opponentHand, countRanksOf);
        const ColumnProfile& own = columnProfile(s.opponentMelds, layout);
        c.m = own.cards;
        c.opponentMeldNaturals = own.ranks;
        const ColumnProfile& other = columnProfile(s.playerMelds, layout);
        c.p = other.cards;
        c.playerMeldNaturals = other.ranks;
        c.d = discard.get(s.discardPile, countRanksOf);
        c.known = known.get(s.knownPlayerCards, countRanksOf);
        for (int r = kRankThree; r <= kRankAce; ++r) {
            const auto i = static_cast<std::size_t>(r);
            c.seen[i] =
                c.h[i] + c.opponentMeldNaturals[i] + c.playerMeldNaturals[i] + c.known[i] + c.d[i];
        }
        c.J = c.h[kRankJoker];
        c.T = c.h[kRankTwo];
        c.W = c.J + c.T;
        c.handSize = s.opponentHand.count;
    }
};
thread_local RecountMemo recountMemo;

RecountKey recountKey(const GameState& s, const Layout& layout) {
    RecountKey k;
    std::size_t i = 0;
    for (const Pile* p :
         {&s.opponentHand, &s.opponentMelds, &s.playerMelds, &s.discardPile, &s.knownPlayerCards}) {
        k.versions[i] = p->version();
        k.counts[i] = p->count;
        ++i;
    }
    k.tableLeft = layout.tableLeft;
    k.columnPitch = layout.columnPitch;
    return k;
}

} // namespace

const Counts& recountTables(Game& game) {
    GameState& s = game.state;
    RecountMemo& memo = recountMemo;
    const RecountKey key = recountKey(s, game.layout);
    if (!(key == memo.key)) {
        // Counted straight into the kept tables: no clearing and no copy.
        memo.countTables(memo.counts, s, game.layout);
        memo.key = key;
        ++memo.stamp;
    }
#ifndef NDEBUG
    // Debug builds (the sanitizer tests) prove that every change gave a pile a new version.
    else {
        Counts fresh;
        memo.countTables(fresh, s, game.layout);
        if (!(fresh == memo.counts))
            throw InternalError("a pile was changed without a new version");
    }
#endif
    const Counts& c = memo.counts;
    // Row 1 (the player's hand) is left as the window last counted it.
    s.rankCounts[kPlayerMeldsRow] = c.p;
    s.rankCounts[kOpponentHandRow] = c.h;
    s.rankCounts[kOpponentMeldsRow] = c.m;
    return c;
}

Counts aiRecount(Game& game) {
    return recountTables(game);
}

std::uint64_t recountStamp() {
    return recountMemo.stamp;
}

void pause(Game& game) {
    game.host().pause(game.options.meldDelay);
}

void play(Game& game, const Move& move) {
    const MoveResult result = game.applyMove(Seat::opponent, move);
    if (result.accepted) return;
    // The levels choose only from what they hold: a refusal is a fault in their own counting.
    game.host().fatalError("Internal Failure: " + result.why);
    throw InternalError(result.why);
}

void meldFromHand(Game& game, int handIndex) {
    const int face = game.state.opponentHand.at(handIndex).face;
    play(game, Move::withFace(MoveKind::meld, face).at(handIndex));
}

bool canTakeDiscard(Game& game, const Counts& c, bool frozen) {
    const GameState& s = game.state;
    const RuleSettings& rules = game.rules;
    if (s.discardPile.empty()) return false;
    const int r = s.discardPile.top().rank();
    // A three, a two or a joker on top is never taken.
    if (r < 3) return false;
    if (s.discardPile.count == 1 && s.opponentHand.count == 1) return false;
    const auto i = static_cast<std::size_t>(r);
    const int h = c.h[i];
    const int m = c.m[i];
    const bool unfrozenOk = rules.naturalPair ? (h >= 2 || (m >= 3 && !rules.addExistingMeld))
                                              : ((h == 1 && c.W >= 1) || h >= 2 || m >= 3);
    const bool roomInMeld = m <= 6 || rules.addToVelnora;
    const bool allowed = (!frozen && unfrozenOk && roomInMeld) ||
                         (frozen && h >= 2 && roomInMeld) ||
                         (s.stockExhausted && game.isForcedFor(Seat::opponent));
    if (!allowed) return false;
    if (m == 0 && s.opponentHand.count + s.discardPile.count <= 3) return false;
    return true;
}

int meldColumnCount(const Game& game, int column) {
    return columnCount(game.state.opponentMelds, column, game.layout);
}

int countMeldWildcards(const Game& game, int column) {
    int n = 0;
    for (const Card& card : game.state.opponentMelds)
        if (columnOf(card.x, game.layout) == column && isWild(card.rank())) ++n;
    return n;
}

int findInHand(const Game& game, int rank) {
    return findRank(game.state.opponentHand, rank);
}

void meldWildcard(Game& game, int column) {
    int i = findInHand(game, kRankJoker);
    if (i < 0) i = findInHand(game, kRankTwo);
    if (i < 0) {
        game.host().showMessage(MessageKind::information, kWildcardNotFound);
        return;
    }
    play(game, Move::meldWildcardAt(game.state.opponentHand.at(i).face, column).at(i));
}

int meldFromLast(Game& game, int rank, int limit) {
    int done = 0;
    while (limit == 0 || done < limit) {
        const Pile& hand = game.state.opponentHand;
        int i = hand.count - 1;
        while (i >= 0 && hand.at(i).rank() != rank)
            --i;
        if (i < 0) break;
        meldFromHand(game, i);
        ++done;
    }
    return done;
}

void layRedThrees(Game& game, bool fromLast) {
    for (;;) {
        const Pile& hand = game.state.opponentHand;
        int found = -1;
        if (fromLast) {
            for (int i = hand.count - 1; i >= 0 && found < 0; --i)
                if (isRedThree(hand.at(i).face)) found = i;
        } else {
            for (int i = 0; i < hand.count && found < 0; ++i)
                if (isRedThree(hand.at(i).face)) found = i;
        }
        if (found < 0) return;
        meldFromHand(game, found);
    }
}

namespace {
// One card from the stock (the draw itself marks an emptied stock as exhausted); returns its face.
int drawOne(Game& game) {
    const int face = game.state.stock.top().face;
    play(game, Move::of(MoveKind::draw));
    return face;
}
} // namespace

void drawForTurn(Game& game) {
    GameState& s = game.state;
    for (int n = 0; n < game.rules.cardsDrawn && !s.stock.empty(); ++n) {
        int face = drawOne(game);
        // A red three is replaced at once; it is laid out in the next step.
        while (game.rules.drawExtra && isRedThree(face) && !s.stock.empty())
            face = drawOne(game);
    }
}

void velnoraCompletingStep(Game& game) {
    int top = kRankAce;
    for (;;) {
        const Counts c = aiRecount(game);
        int r = top;
        for (; r >= 3; --r) {
            const auto i = static_cast<std::size_t>(r);
            if (c.h[i] + c.m[i] + c.W >= 7 && c.m[i] <= 6) break;
        }
        if (r < 3) return;
        const auto i = static_cast<std::size_t>(r);
        const int w = c.m[i] > 0 ? countMeldWildcards(game, r) : 0;
        const int need = std::max(0, 7 - c.h[i] - c.m[i]);
        // Never more than three wild cards in a meld, and a card must stay for the discard.
        if (c.W >= need && 3 - w >= need && c.h[i] + need < c.handSize) {
            for (int k = findInHand(game, r); k >= 0; k = findInHand(game, r))
                meldFromHand(game, k);
            for (int k = 0; k < need; ++k)
                meldWildcard(game, r);
        }
        top = r - 1;
    }
}

MeldEstimate sharedMeldEstimate(Game& game, const Counts& c, int minimum) {
    return sharedMeldEstimate(c, minimum, game.state.opponentMeldPoints);
}

MeldEstimate sharedMeldEstimate(const Counts& c, int minimum, int melded) {
    MeldEstimate e;
    e.a = melded;
    for (int r = 3; r <= kRankAce && e.a < minimum; ++r) {
        const int n = c.h[static_cast<std::size_t>(r)];
        if (n >= 3) {
            e.a += pointsOfRank(r) * n;
            e.cards += n;
        }
    }
    int jokers = c.J, twos = c.T;
    for (int r = kRankAce; r >= 3 && e.a < minimum; --r) {
        // The natural pair rule governs taking the pile, not the wild-card pairs of the hand.
        if (jokers == 0 && twos == 0) break;
        if (c.h[static_cast<std::size_t>(r)] != 2) continue;
        ++e.pairs;
        if (jokers > 0) {
            e.a += pointsOfRank(r) * 2 + 50;
            --jokers;
        } else {
            e.a += pointsOfRank(r) * 2 + 20;
            --twos;
        }
        e.cards += 3;
    }
    return e;
}

void layFirstMelds(Game& game, int minimum, MeldRankFn meldRank) {
    Counts c = aiRecount(game);
    const int pairs = sharedMeldEstimate(game, c, minimum).pairs;
    for (int k = 0; k < pairs; ++k) {
        int r = kRankAce;
        while (r >= 3 && at(c.h, r) != 2)
            --r;
        if (r < 3) break;
        meldRank(game, r);
        c = aiRecount(game);
    }
    while (game.state.opponentMeldPoints < minimum) {
        c = aiRecount(game);
        int chosen = -1;
        for (const Card& card : game.state.opponentHand) {
            // Threes and wild cards never start a meld here.
            if (card.rank() >= 3 && at(c.h, card.rank()) + at(c.m, card.rank()) >= 3) {
                chosen = card.rank();
                break;
            }
        }
        if (chosen < 0) return;
        meldRank(game, chosen);
    }
}

void topUpFirstMeld(Game& game, int minimum) {
    for (;;) {
        const Counts c = aiRecount(game);
        if (game.state.opponentMeldPoints >= minimum || c.W == 0 || c.handSize < 2) return;
        // A column may hold as many wild cards as naturals.
        int column = -1;
        for (int r = kRankAce; r >= 3 && column < 0; --r)
            if (at(c.opponentMeldNaturals, r) > countMeldWildcards(game, r)) column = r;
        if (column < 0) return;
        meldWildcard(game, column);
    }
}

int velnoraWithinReach(const Counts& c, int topRank, int wildSpent) {
    int best = -1;
    for (int q = kRankAce; q >= 3 && best < 0; --q) {
        const int g = at(c.h, q) + at(c.d, q) + at(c.m, q) - (q == topRank ? 1 : 0);
        if (g >= 4 && c.W + g >= 7) best = q;
    }
    if (best < 0 || at(c.h, best) >= 3) return best;
    const int g =
        at(c.h, best) + at(c.d, best) + at(c.m, best) - wildSpent - (best == topRank ? 1 : 0);
    return c.J + c.T + g > 6 ? best : -1;
}

void wildcardsIntoLowestVelnora(Game& game, const Counts& c, int count) {
    for (int r = 3; r <= kRankAce; ++r) {
        if (at(c.m, r) >= 7) {
            for (int k = 0; k < count; ++k)
                meldWildcard(game, r);
            return;
        }
    }
}

int beginTurn(Game& game) {
    game.noteOpponentTurnStart();
    game.host().setBusyCursor(true);
    return initialMeldMinimumFor(game.state.opponentTotal);
}

Counts withTakenTopInHand(Counts c, int r) {
    const auto i = static_cast<std::size_t>(r);
    ++c.h[i];
    --c.m[i];
    --c.opponentMeldNaturals[i];
    ++c.handSize;
    return c;
}

Card takeTopCard(Game& game) {
    const Card card = game.state.discardPile.top();
    play(game, Move::of(MoveKind::takeTopCard));
    return card;
}

void takeRestOfPile(Game& game) {
    play(game, Move::of(MoveKind::takePile));
}

void discardRedThree(Game& game, int meldIndex) {
    const int face = game.state.opponentMelds.at(meldIndex).face;
    play(game, Move::withFace(MoveKind::discardRedThree, face).at(meldIndex));
}

void discardFromHand(Game& game, int handIndex) {
    const int face = game.state.opponentHand.at(handIndex).face;
    play(game, Move::withFace(MoveKind::discard, face).at(handIndex));
}

bool passesDiscard(Game& game) {
    const GameState& s = game.state;
    if (s.opponentHand.count < 2 && s.opponentVelnoras.velnoraCount < game.rules.velnorasToGoOut) {
        play(game, Move::of(MoveKind::pass));
        return true;
    }
    return false;
}

void endHandStockExhausted(Game& game) {
    game.host().setBusyCursor(false);
    play(game, Move::of(MoveKind::endHand));
}

bool takeForcedTopCardOrEndHand(Game& game, MeldRankFn meldRank) {
    if (!game.isForcedFor(Seat::opponent)) {
        endHandStockExhausted(game);
        return false;
    }
    const Card top = takeTopCard(game);
    meldRank(game, top.rank());
    return true;
}

void endTurn(Game& game) {
    game.host().repaint(TableArea::opponentHand);
    game.host().setBusyCursor(false);
    // A discard or a pass has handed the table back already; going out by melding has not.
    if (game.opponentTurnOpen()) game.endOpponentTurn();
}

} // namespace velnora::ai
