#include "seat_exchange.h"

#include <optional>
#include <sstream>
#include <utility>

namespace velnora {

namespace {

// The table size is not part of the state, but every deal puts the meld and hand columns at
// their size's positions, so the column pitch found there names the size. Only x is read,
// which the exchange never changes for the melds and re-lays the same for the player's hand.
std::optional<Layout> layoutFromColumns(const Pile& pile) {
    for (int size = 0; size < kTableSizes; ++size) {
        const Layout layout = computeLayout(size);
        if (pile.columnPos[0].x == columnX(0, layout) &&
            pile.columnPos[1].x == columnX(1, layout) &&
            pile.columnPos[kColumns - 1].x == columnX(kColumns - 1, layout))
            return layout;
    }
    return std::nullopt;
}

std::optional<Layout> tableLayout(const GameState& g) {
    for (const Pile* p : {&g.playerMelds, &g.opponentMelds, &g.playerHand})
        if (auto layout = layoutFromColumns(*p)) return layout;
    return std::nullopt;
}

} // namespace

void layAsPlayerHand(Pile& hand, const Layout& layout) {
    std::array<int, kColumns> inColumn{};
    for (Card& c : hand.edit()) {
        const int column = c.rank() < kColumns ? c.rank() : 0;
        const int n = ++inColumn[static_cast<std::size_t>(column)];
        c.x = columnX(column, layout);
        c.y = layout.playerHandY + n * kColumnStep;
        c.faceUp = 1;
    }
    for (int k = 0; k < kColumns; ++k)
        hand.columnPos[static_cast<std::size_t>(k)] = {
            columnX(k, layout),
            layout.playerHandY + inColumn[static_cast<std::size_t>(k)] * kColumnStep};
}

void layAsOpponentRow(Pile& hand, const Layout& layout, const GameState& g) {
    int i = 0;
    for (Card& c : hand.edit()) {
        c.x = layout.tableLeft + g.opponentCardSpacing * i++;
        c.y = kOpponentHandY;
        c.faceUp = g.showOpponentCards;
    }
}

namespace {

// The player's melds grow downwards from their row and the opponent's upwards from theirs, so
// reflecting y about the middle of the two rows puts each column where the other seat lays it.
// A reflection is its own inverse.
void mirrorMelds(Pile& melds, int sum) {
    for (Card& c : melds.edit())
        c.y = sum - c.y;
    for (ColumnPos& pos : melds.columnPos)
        pos.y = sum - pos.y;
}

// The opponent's meld value is a running sum of the points it laid (red threes score nothing
// there), so it is the sum over its melds.
std::int32_t pointsLaid(const Pile& melds) {
    std::int32_t sum = 0;
    for (const Card& c : melds)
        sum += c.points();
    return sum;
}

} // namespace

void exchangeSeats(GameState& g) {
    const std::optional<Layout> layout = tableLayout(g);

    swapCards(g.playerHand, g.opponentHand);
    std::swap(g.playerMelds, g.opponentMelds);
    if (layout) {
        // The opponent row's column positions mean nothing; they stay with the row.
        layAsPlayerHand(g.playerHand, *layout);
        layAsOpponentRow(g.opponentHand, *layout, g);
        const int sum = layout->playerMeldsY + layout->opponentMeldsY;
        mirrorMelds(g.playerMelds, sum);
        mirrorMelds(g.opponentMelds, sum);
        // The top card taken with the pile is found again among the player's melds by place.
        g.takenTopCard.y = sum - g.takenTopCard.y;
    }
    std::swap(g.knownPlayerCards, g.knownOpponentCards);

    std::swap(g.playerVelnoras, g.opponentVelnoras);
    std::swap(g.rankCounts[kPlayerMeldsRow], g.rankCounts[kOpponentMeldsRow]);
    std::swap(g.rankCounts[kPlayerHandRow], g.rankCounts[kOpponentHandRow]);

    std::swap(g.playerTotal, g.opponentTotal);
    std::swap(g.playerMeldPointsAtTurnStart, g.opponentMeldPointsAtTurnStart);
    g.opponentMeldPoints = pointsLaid(g.opponentMelds);
    if (g.wentOut == 0 || g.wentOut == 1) g.wentOut = 1 - g.wentOut;
    g.playerStartsHand ^= 1;
    std::swap(g.promptState, g.opponentPromptState);

    std::swap(g.ai, g.playerSeatAi);
    // The snapshots, the meld undo list, the warning and the first-meld minimum serve the
    // player's undo and status line within one turn; the opponent has none of them, so they
    // stay where they are and come back unchanged.
}

namespace {

// Collects the first difference; every later comparison is skipped once one is found.
class Differ {
public:
    const std::string& result() const { return out_; }

    template <typename T> void value(const std::string& name, const T& a, const T& b) {
        if (!out_.empty() || a == b) return;
        std::ostringstream s;
        s << name << ": " << +a << " / " << +b;
        out_ = s.str();
    }
    void text(const std::string& name, const std::string& a, const std::string& b) {
        if (out_.empty() && a != b) out_ = name + ": \"" + a + "\" / \"" + b + "\"";
    }
    void card(const std::string& name, const Card& a, const Card& b) {
        if (!out_.empty() || a == b) return;
        out_ = name + ": " + describe(a) + " / " + describe(b);
    }
    void pile(const std::string& name, const Pile& a, const Pile& b) {
        value(name + " count", a.count, b.count);
        for (int i = 0; i < a.count && i < b.count && out_.empty(); ++i)
            card(name + " card " + std::to_string(i), a.at(i), b.at(i));
        for (int k = 0; k < kColumns && out_.empty(); ++k) {
            const ColumnPos& pa = a.columnPos[static_cast<std::size_t>(k)];
            const ColumnPos& pb = b.columnPos[static_cast<std::size_t>(k)];
            if (pa != pb)
                out_ = name + " column " + std::to_string(k) + " position: (" +
                       std::to_string(pa.x) + "," + std::to_string(pa.y) + ") / (" +
                       std::to_string(pb.x) + "," + std::to_string(pb.y) + ")";
        }
    }
    template <typename T, std::size_t N>
    void array(const std::string& name, const std::array<T, N>& a, const std::array<T, N>& b) {
        for (std::size_t i = 0; i < N; ++i)
            value(name + "[" + std::to_string(i) + "]", a[i], b[i]);
    }
    void tally(const std::string& name, const VelnoraTally& a, const VelnoraTally& b) {
        value(name + ".velnoraCount", a.velnoraCount, b.velnoraCount);
        array(name + ".velnoraKind", a.velnoraKind, b.velnoraKind);
        array(name + ".velnoraNaturals", a.velnoraNaturals, b.velnoraNaturals);
    }
    void memory(const std::string& name, const AiMemory& a, const AiMemory& b) {
        value(name + ".aggressiveMode", a.aggressiveMode, b.aggressiveMode);
        value(name + ".fallingBehind", a.fallingBehind, b.fallingBehind);
        value(name + ".pileMakesVelnora", a.pileMakesVelnora, b.pileMakesVelnora);
        value(name + ".baitRank", a.baitRank, b.baitRank);
        value(name + ".plannedPairs", a.plannedPairs, b.plannedPairs);
        value(name + ".meldPlan", a.meldPlan, b.meldPlan);
        value(name + ".threesToMeld", a.threesToMeld, b.threesToMeld);
        array(name + ".playerDiscardsByRank", a.playerDiscardsByRank, b.playerDiscardsByRank);
    }

private:
    static std::string describe(const Card& c) {
        std::ostringstream s;
        s << (c.face >= 1 && c.face <= kJokerFace ? cardLabel(c.face)
                                                  : "face " + std::to_string(+c.face))
          << " deck " << +c.deck << " at (" << c.x << "," << c.y << ")"
          << (c.faceUp ? " up" : " down") << " rank " << +c.rank() << " points " << c.points();
        return s.str();
    }

    std::string out_;
};

} // namespace

std::string firstDifference(const GameState& a, const GameState& b) {
    Differ d;
    d.pile("stock", a.stock, b.stock);
    d.pile("discardPile", a.discardPile, b.discardPile);
    d.pile("opponentHand", a.opponentHand, b.opponentHand);
    d.pile("playerHand", a.playerHand, b.playerHand);
    d.pile("opponentMelds", a.opponentMelds, b.opponentMelds);
    d.pile("playerMelds", a.playerMelds, b.playerMelds);
    d.pile("knownPlayerCards", a.knownPlayerCards, b.knownPlayerCards);
    d.pile("knownOpponentCards", a.knownOpponentCards, b.knownOpponentCards);
    d.pile("playerHandSnapshot", a.playerHandSnapshot, b.playerHandSnapshot);
    d.pile("playerMeldsSnapshot", a.playerMeldsSnapshot, b.playerMeldsSnapshot);
    d.pile("discardSnapshot", a.discardSnapshot, b.discardSnapshot);

    d.tally("playerVelnoras", a.playerVelnoras, b.playerVelnoras);
    d.tally("opponentVelnoras", a.opponentVelnoras, b.opponentVelnoras);
    d.tally("playerVelnorasSnapshot", a.playerVelnorasSnapshot, b.playerVelnorasSnapshot);
    for (std::size_t row = 0; row < a.rankCounts.size(); ++row)
        d.array("rankCounts[" + std::to_string(row) + "]", a.rankCounts[row], b.rankCounts[row]);

    d.value("playerTotal", a.playerTotal, b.playerTotal);
    d.value("opponentTotal", a.opponentTotal, b.opponentTotal);
    d.value("initialMeldMinimum", a.initialMeldMinimum, b.initialMeldMinimum);
    d.value("opponentMeldPoints", a.opponentMeldPoints, b.opponentMeldPoints);
    d.value("playerMeldPointsAtTurnStart", a.playerMeldPointsAtTurnStart,
            b.playerMeldPointsAtTurnStart);
    d.value("opponentMeldPointsAtTurnStart", a.opponentMeldPointsAtTurnStart,
            b.opponentMeldPointsAtTurnStart);
    d.value("wentOut", a.wentOut, b.wentOut);

    d.value("pileFrozen", a.pileFrozen, b.pileFrozen);
    d.value("mayTakePile", a.mayTakePile, b.mayTakePile);
    d.value("hasDrawn", a.hasDrawn, b.hasDrawn);
    d.value("stockDrawsThisTurn", a.stockDrawsThisTurn, b.stockDrawsThisTurn);
    d.value("takingPile", a.takingPile, b.takingPile);
    d.value("topCardPending", a.topCardPending, b.topCardPending);
    d.value("blackThreesAllowed", a.blackThreesAllowed, b.blackThreesAllowed);
    d.card("takenTopCard", a.takenTopCard, b.takenTopCard);
    d.value("takenTopRank", a.takenTopRank, b.takenTopRank);
    d.value("topColumnCountAtTake", a.topColumnCountAtTake, b.topColumnCountAtTake);
    d.value("topNaturalsAtTake", a.topNaturalsAtTake, b.topNaturalsAtTake);
    d.value("naturalPairNeeded", a.naturalPairNeeded, b.naturalPairNeeded);
    d.value("promptState", a.promptState, b.promptState);
    d.value("warning", a.warning, b.warning);
    d.value("opponentPromptState", a.opponentPromptState, b.opponentPromptState);
    d.text("invalidMeldReason", a.invalidMeldReason, b.invalidMeldReason);
    d.value("playerStartsHand", a.playerStartsHand, b.playerStartsHand);
    d.value("gameInProgress", a.gameInProgress, b.gameInProgress);
    d.value("inputBlocked", a.inputBlocked, b.inputBlocked);
    d.value("stockExhausted", a.stockExhausted, b.stockExhausted);
    d.value("endHandRequested", a.endHandRequested, b.endHandRequested);
    d.value("showOpponentCards", a.showOpponentCards, b.showOpponentCards);
    d.value("opponentCardSpacing", a.opponentCardSpacing, b.opponentCardSpacing);
    d.value("loadedSinceDeal", a.loadedSinceDeal, b.loadedSinceDeal);
    d.value("pileFanned", a.pileFanned, b.pileFanned);

    d.value("undoStack size", a.undoStack.size(), b.undoStack.size());
    for (std::size_t i = 0; i < a.undoStack.size() && i < b.undoStack.size(); ++i) {
        d.card("undoStack " + std::to_string(i) + " card", a.undoStack[i].card,
               b.undoStack[i].card);
        d.value("undoStack " + std::to_string(i) + " columnPitch", a.undoStack[i].columnPitch,
                b.undoStack[i].columnPitch);
    }

    d.memory("ai", a.ai, b.ai);
    d.memory("playerSeatAi", a.playerSeatAi, b.playerSeatAi);

    if (d.result().empty() && !(a == b))
        return "a field that firstDifference does not name yet differs";
    return d.result();
}

} // namespace velnora
