#include "game_state.h"

#include "column_profile.h"
#include "random.h"

#include <algorithm>
#include <sstream>

namespace velnora {

int columnCount(const Pile& pile, int column, const Layout& layout) {
    if (column < 0 || column >= kColumns) return 0;
    return columnProfile(pile, layout).cards[static_cast<std::size_t>(column)];
}

int columnNaturals(const Pile& pile, int column, const Layout& layout) {
    if (column < 0 || column >= kColumns) return 0;
    return columnProfile(pile, layout).naturals[static_cast<std::size_t>(column)];
}

int naturalsOfRank(const Pile& pile, int rank) {
    return countRank(pile, rank);
}

void countRanks(GameState& g, const Layout& layout) {
    g.rankCounts[kPlayerMeldsRow] = columnProfile(g.playerMelds, layout).cards;
    g.rankCounts[kOpponentMeldsRow] = columnProfile(g.opponentMelds, layout).cards;
    g.rankCounts[kPlayerHandRow].fill(0);
    for (const Card& c : g.playerHand)
        ++g.rankCounts[kPlayerHandRow][c.rank()];
    g.rankCounts[kOpponentHandRow].fill(0);
    for (const Card& c : g.opponentHand)
        ++g.rankCounts[kOpponentHandRow][c.rank()];
}

int meldedPoints(const GameState& g, Seat seat, bool onlyRealMelds, const Layout& layout) {
    const ColumnProfile& p =
        columnProfile(seat == Seat::player ? g.playerMelds : g.opponentMelds, layout);
    return onlyRealMelds ? p.realMeldPoints : p.totalPoints;
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
            Card& c = pile.editAt(j);
            if (columnOf(c.x, layout) == column) c.y -= step;
        }
    }
    return card;
}

bool columnFormsVelnora(const Pile& melds, int column, const Layout& layout) {
    if (column < 0 || column >= kColumns) return formsVelnora(0, 0, column);
    const auto col = static_cast<std::size_t>(column);
    const ColumnProfile& profile = columnProfile(melds, layout);
    return formsVelnora(profile.cards[col], profile.naturals[col], column);
}

VelnoraCheck checkVelnora(GameState& g, Seat seat, int column, const Layout& layout) {
    VelnoraCheck result;
    if (column == kRankThree || column < 0 || column >= kColumns) return result;
    const bool isPlayer = seat == Seat::player;
    Pile& melds = isPlayer ? g.playerMelds : g.opponentMelds;
    VelnoraTally& tally = isPlayer ? g.playerVelnoras : g.opponentVelnoras;
    const auto col = static_cast<std::size_t>(column);

    const ColumnProfile& profile = columnProfile(melds, layout);
    const int n = profile.cards[col], naturals = profile.naturals[col];
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
        Card& c = melds.editAt(i);
        if (columnOf(c.x, layout) != column) continue;
        c.y = base;
        last = i;
        if (column == 1 || !isNatural(c.rank())) continue;
        const bool black = c.face < 29;
        if (mixed) {
            if (chosen < 0 || (black && melds.at(chosen).face >= 29)) chosen = i;
        } else if (!black) {
            chosen = i;
        }
    }
    melds.columnPos[col].y = base;
    if (chosen >= 0 && last >= 0 && chosen != last)
        std::swap(melds.editAt(chosen), melds.editAt(last));
    return result;
}

void buildDeck(GameState& g, Random& rng, const Layout& layout) {
    for (Pile* p : {&g.stock, &g.discardPile, &g.opponentHand, &g.playerHand, &g.opponentMelds,
                    &g.playerMelds, &g.knownPlayerCards, &g.knownOpponentCards})
        clear(*p);
    std::array<bool, kDeckSize> used{};
    std::array<Card, kDeckSize>& slots = g.stock.places();
    auto place = [&](int face, int deck) {
        int slot;
        do {
            slot = rng(kDeckSize);
        } while (used[static_cast<std::size_t>(slot)]);
        used[static_cast<std::size_t>(slot)] = true;
        Card c = makeCard(face, deck);
        c.x = layout.tableLeft;
        c.y = layout.stockY;
        slots[static_cast<std::size_t>(slot)] = c;
    };
    for (int deck = 0; deck < 2; ++deck) {
        for (int face = 1; face <= 52; ++face)
            place(face, deck);
        place(kJokerFace, deck);
        place(kJokerFace, deck);
    }
    g.stock.count = kDeckSize;
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
