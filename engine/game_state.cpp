#include "game_state.h"

#include "random.h"

#include <algorithm>
#include <sstream>

namespace velnora {

int columnCount(const Pile& pile, int column, const Layout& layout) {
    int n = 0;
    for (const Card& c : pile)
        if (columnOf(c.x, layout) == column) ++n;
    return n;
}

int columnNaturals(const Pile& pile, int column, const Layout& layout) {
    int n = 0;
    for (const Card& c : pile)
        if (columnOf(c.x, layout) == column && isNatural(c.rank)) ++n;
    return n;
}

int naturalsOfRank(const Pile& pile, int rank) {
    return countRank(pile, rank);
}

void countRanks(GameState& g, const Layout& layout) {
    for (auto& row : g.rankCounts)
        row.fill(0);
    for (const Card& c : g.playerMelds)
        ++g.rankCounts[kPlayerMeldsRow][columnOf(c.x, layout)];
    for (const Card& c : g.playerHand)
        ++g.rankCounts[kPlayerHandRow][c.rank];
    for (const Card& c : g.opponentHand)
        ++g.rankCounts[kOpponentHandRow][c.rank];
    for (const Card& c : g.opponentMelds)
        ++g.rankCounts[kOpponentMeldsRow][columnOf(c.x, layout)];
}

int meldedPoints(const GameState& g, Seat seat, bool onlyRealMelds, const Layout& layout) {
    const Pile& melds = seat == Seat::player ? g.playerMelds : g.opponentMelds;
    std::array<int, kColumns> counts{};
    if (onlyRealMelds)
        for (const Card& c : melds)
            ++counts[columnOf(c.x, layout)];
    int sum = 0;
    for (const Card& c : melds)
        if (!onlyRealMelds || counts[columnOf(c.x, layout)] >= 3) sum += c.points;
    return sum;
}

void takeSnapshot(GameState& g) {
    g.playerHandSnapshot = g.playerHand;
    g.playerMeldsSnapshot = g.playerMelds;
    g.playerVelnorasSnapshot = g.playerVelnoras;
    g.discardSnapshot = g.discardPile;
}

void restoreSnapshot(GameState& g) {
    g.playerHand = g.playerHandSnapshot;
    g.playerMelds = g.playerMeldsSnapshot;
    g.playerVelnoras = g.playerVelnorasSnapshot;
    g.discardPile = g.discardSnapshot;
}

void resetColumnPositions(GameState& g, const Layout& layout) {
    for (int c = 0; c < kColumns; ++c) {
        const auto i = static_cast<std::size_t>(c);
        const int x = columnX(c, layout);
        g.playerHand.columnPos[i] = {x, layout.playerHandY};
        g.playerMelds.columnPos[i] = {x, layout.playerMeldsY};
        g.opponentMelds.columnPos[i] = {x, layout.opponentMeldsY};
    }
}

void placeInColumn(Pile& pile, Card& card, int column, int step, bool moveColumn) {
    ColumnPos& pos = pile.columnPos[static_cast<std::size_t>(column)];
    card.x = pos.x;
    if (moveColumn) pos.y += step;
    card.y = pos.y;
}

Card removeFromColumn(Pile& pile, int i, const Layout& layout, const VelnoraTally& tally,
                      int step) {
    const Card card = pile.at(i);
    const int column = columnOf(card.x, layout);
    removeAt(pile, i);
    if (tally.velnoraKind[static_cast<std::size_t>(column)] == kNoVelnora) {
        pile.columnPos[static_cast<std::size_t>(column)].y -= step;
        // Cards placed after it in the same column close the gap.
        for (int j = i; j < pile.count; ++j) {
            Card& c = pile.cards[static_cast<std::size_t>(j)];
            if (columnOf(c.x, layout) == column) c.y -= step;
        }
    }
    return card;
}

bool columnFormsVelnora(const Pile& melds, int column, const Layout& layout) {
    int n = 0, naturals = 0;
    for (const Card& c : melds) {
        if (columnOf(c.x, layout) != column) continue;
        ++n;
        if (isNatural(c.rank)) ++naturals;
    }
    return formsVelnora(n, naturals, column);
}

VelnoraCheck checkVelnora(GameState& g, Seat seat, int column, const Layout& layout) {
    VelnoraCheck result;
    if (column == kRankThree || column < 0 || column >= kColumns) return result;
    const bool isPlayer = seat == Seat::player;
    Pile& melds = isPlayer ? g.playerMelds : g.opponentMelds;
    VelnoraTally& tally = isPlayer ? g.playerVelnoras : g.opponentVelnoras;
    const auto col = static_cast<std::size_t>(column);

    int n = 0, naturals = 0;
    for (const Card& c : melds) {
        if (columnOf(c.x, layout) != column) continue;
        ++n;
        if (isNatural(c.rank)) ++naturals;
    }
    tally.velnoraNaturals[col] = static_cast<std::uint8_t>(naturals);
    if (!formsVelnora(n, naturals, column)) return result;

    result.isVelnora = true;
    result.kind = column == 1 ? kWildVelnora : naturals == n ? kNaturalVelnora : kMixed;
    // A column can pass seven cards before it first qualifies (wildcards ahead of the
    // fourth natural), so a velnora is new whenever none was recorded, not only at exactly 7.
    if (tally.velnoraKind[col] == kNoVelnora) {
        result.isNew = true;
        ++tally.velnoraCount;
        tally.velnoraKind[col] = static_cast<std::uint8_t>(result.kind);
    }

    // Square the velnora up and put the characteristic card on top.
    const int base =
        isPlayer ? layout.playerMeldsY + kColumnStep : layout.opponentMeldsY - kColumnStep;
    int last = -1, chosen = -1;
    const bool mixed = tally.velnoraKind[col] == kMixed;
    for (int i = 0; i < melds.count; ++i) {
        Card& c = melds.cards[static_cast<std::size_t>(i)];
        if (columnOf(c.x, layout) != column) continue;
        c.y = base;
        last = i;
        if (column == 1 || !isNatural(c.rank)) continue;
        const bool black = c.face < 29;
        if (mixed) {
            if (chosen < 0 || (black && melds.cards[static_cast<std::size_t>(chosen)].face >= 29))
                chosen = i;
        } else if (!black) {
            chosen = i;
        }
    }
    melds.columnPos[col].y = base;
    if (chosen >= 0 && last >= 0 && chosen != last)
        std::swap(melds.cards[static_cast<std::size_t>(chosen)],
                  melds.cards[static_cast<std::size_t>(last)]);
    return result;
}

void buildDeck(GameState& g, Random& rng, const Layout& layout) {
    for (Pile* p : {&g.stock, &g.discardPile, &g.opponentHand, &g.playerHand, &g.opponentMelds,
                    &g.playerMelds, &g.knownPlayerCards, &g.knownOpponentCards})
        clear(*p);
    std::array<bool, kDeckSize> used{};
    auto place = [&](int face, int deck) {
        int slot;
        do {
            slot = rng(kDeckSize);
        } while (used[static_cast<std::size_t>(slot)]);
        used[static_cast<std::size_t>(slot)] = true;
        Card c = makeCard(face, deck);
        c.x = layout.tableLeft;
        c.y = layout.stockY;
        g.stock.cards[static_cast<std::size_t>(slot)] = c;
    };
    for (int deck = 0; deck < 2; ++deck) {
        for (int face = 1; face <= 52; ++face)
            place(face, deck);
        place(kJokerFace, deck);
        place(kJokerFace, deck);
    }
    g.stock.count = kDeckSize;
}

bool isConsistent(const GameState& g, const Layout& layout, std::string* why) {
    auto fail = [why](const std::string& msg) {
        if (why) *why = msg;
        return false;
    };
    const Pile* live[] = {&g.stock,      &g.discardPile,   &g.opponentHand,
                          &g.playerHand, &g.opponentMelds, &g.playerMelds};
    // This runs after every action of long headless runs, so the faces are counted in bit masks
    // (a two-bit counter per face: lo and hi, with over for a third and later copy) rather than
    // in memory; the counts are only spelled out when they are wrong.
    std::uint64_t lo = 0, hi = 0, over = 0;
    int jokers = 0;
    int total = 0;
    for (const Pile* p : live) {
        if (p->count < 0 || p->count > kDeckSize) return fail("pile count out of range");
        for (const Card& c : *p) {
            if (!isSoundCard(c))
                return fail(isValidFace(c.face)
                                ? "rank or points disagree with face " + std::to_string(c.face)
                                : "bad face " + std::to_string(c.face));
            if (c.face == kJokerFace) {
                ++jokers;
                continue;
            }
            const std::uint64_t bit = std::uint64_t{1} << (c.face - 1);
            const std::uint64_t carry = lo & bit;
            lo ^= bit;
            over |= hi & carry;
            hi |= carry;
        }
        total += p->count;
    }
    if (total != kDeckSize) return fail("there are " + std::to_string(total) + " cards, not 108");
    constexpr std::uint64_t kAllFaces = (std::uint64_t{1} << 52) - 1;
    if (lo != 0 || over != 0 || hi != kAllFaces) {
        std::array<int, kJokerFace + 1> faces{};
        for (const Pile* p : live)
            for (const Card& c : *p)
                ++faces[c.face];
        for (int f = 1; f <= 52; ++f)
            if (faces[static_cast<std::size_t>(f)] != 2)
                return fail("face " + std::to_string(f) + " appears " +
                            std::to_string(faces[static_cast<std::size_t>(f)]) + " times");
    }
    if (jokers != 4) return fail("there are not four jokers");
    for (const Pile* p : {&g.knownPlayerCards, &g.knownOpponentCards, &g.playerHandSnapshot,
                          &g.playerMeldsSnapshot, &g.discardSnapshot})
        if (p->count < 0 || p->count > kDeckSize) return fail("snapshot count out of range");

    auto checkTally = [&](const VelnoraTally& t, const Pile& melds, const char* who) {
        int kinds = 0;
        std::array<int, kColumns> counts{};
        bool counted = false;
        for (int c = 0; c < kColumns; ++c) {
            if (t.velnoraKind[static_cast<std::size_t>(c)] == kNoVelnora) continue;
            ++kinds;
            if (!counted) {
                for (const Card& card : melds)
                    ++counts[static_cast<std::size_t>(columnOf(card.x, layout))];
                counted = true;
            }
            if (counts[static_cast<std::size_t>(c)] < 7)
                return fail(std::string(who) + " velnora in column " + std::to_string(c) +
                            " has fewer than 7 cards");
        }
        if (kinds != t.velnoraCount) return fail(std::string(who) + " velnora count disagrees");
        return true;
    };
    if (!checkTally(g.playerVelnoras, g.playerMelds, "player")) return false;
    if (!checkTally(g.opponentVelnoras, g.opponentMelds, "opponent")) return false;
    return true;
}

namespace {
void dumpPile(std::ostringstream& out, const char* name, const Pile& p) {
    out << name << " (" << p.count << "):";
    for (const Card& c : p)
        out << ' ' << cardLabel(c.face);
    out << '\n';
}
} // namespace

std::string toString(const GameState& g) {
    std::ostringstream out;
    dumpPile(out, "stock", g.stock);
    dumpPile(out, "discardPile", g.discardPile);
    dumpPile(out, "opponentHand", g.opponentHand);
    dumpPile(out, "opponentMelds", g.opponentMelds);
    dumpPile(out, "playerMelds", g.playerMelds);
    dumpPile(out, "playerHand", g.playerHand);
    dumpPile(out, "knownPlayerCards", g.knownPlayerCards);
    dumpPile(out, "knownOpponentCards", g.knownOpponentCards);
    out << "melds x/y:";
    for (const Card& c : g.playerMelds)
        out << ' ' << cardLabel(c.face) << '(' << c.x << ',' << c.y << ')';
    out << "\nvelnoras player " << g.playerVelnoras.velnoraCount << " opponent "
        << g.opponentVelnoras.velnoraCount << "\ntotals " << g.playerTotal << " : "
        << g.opponentTotal << "  minimum " << g.initialMeldMinimum << "  opponentMeldPoints "
        << g.opponentMeldPoints << "\nprompt " << int(g.promptState) << " warning "
        << int(g.warning) << " opponentPrompt " << int(g.opponentPromptState) << " frozen "
        << int(g.pileFrozen) << " mayTake " << int(g.mayTakePile) << " drawn " << int(g.hasDrawn)
        << " taking " << int(g.takingPile) << " pending " << int(g.topCardPending) << " blocked "
        << int(g.inputBlocked) << " exhausted " << int(g.stockExhausted) << " undo "
        << g.undoStack.size() << "\nreason: " << g.invalidMeldReason << '\n';
    return out.str();
}

} // namespace velnora
