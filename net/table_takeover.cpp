// Building this copy's table from the partner's LOADGAME.

#include "table_takeover.h"

#include "seat_exchange.h"

namespace velnora::net {

namespace {
// Where the lists of a LOADGAME go in the partner's own view.
enum ListIndex : std::size_t {
    kStockList = 0,
    kOpponentHandList = 1,
    kDiscardList = 2,
    kOpponentMeldsList = 4,
    kPlayerHandList = 5,
    kPlayerMeldsList = 6,
};

Card cardFrom(const WireCard& w, bool faceUp) {
    Card c = makeCard(w.face, w.deck);
    c.faceUp = faceUp ? 1 : 0;
    return c;
}

// A melded card's column: a wildcard's as sent, a red three's the threes, any other its rank.
int meldColumn(const WireCard& w) {
    if (isWild(rankOf(w.face)) && w.column >= 0) return w.column;
    return isRedThree(w.face) ? kRankThree : rankOf(w.face);
}

void layMelds(Pile& melds, const std::vector<WireCard>& cards, const VelnoraTally& tally, int step,
              int squaredY) {
    for (const WireCard& w : cards) {
        Card c = cardFrom(w, true);
        placeInColumn(melds, c, meldColumn(w), step);
        push(melds, c);
    }
    // A completed velnora is drawn squared up.
    for (int k = 0; k < kColumns; ++k) {
        if (tally.velnoraKind[static_cast<std::size_t>(k)] == kNoVelnora) continue;
        const int x = melds.columnPos[static_cast<std::size_t>(k)].x;
        for (Card& c : melds.edit())
            if (c.x == x) c.y = squaredY;
        melds.columnPos[static_cast<std::size_t>(k)].y = squaredY;
    }
}

// Each face of each deck exactly as often as the deck holds it: once, a joker twice.
bool wholeDecks(const LoadedTable& t, std::string& why) {
    std::array<std::array<int, kJokerFace + 1>, 2> seen{};
    for (std::size_t list : {kStockList, kOpponentHandList, kDiscardList, kOpponentMeldsList,
                             kPlayerHandList, kPlayerMeldsList})
        for (const WireCard& w : t.lists[list])
            ++seen[static_cast<std::size_t>(w.deck)][static_cast<std::size_t>(w.face)];
    for (int deck = 0; deck < 2; ++deck)
        for (int face = 1; face <= kJokerFace; ++face) {
            const int want = face == kJokerFace ? 2 : 1;
            if (seen[static_cast<std::size_t>(deck)][static_cast<std::size_t>(face)] != want) {
                why = "The opponent's table does not hold the two whole decks (" + cardLabel(face) +
                      " of deck " + std::to_string(deck) + ").";
                return false;
            }
        }
    return true;
}
} // namespace

std::optional<GameState> tableFromPartner(const LoadedTable& t, const Layout& layout,
                                          std::string& why) {
    if (!wholeDecks(t, why)) return std::nullopt;

    // The partner's own view first: its player is our opponent.
    GameState v;
    resetColumnPositions(v, layout);
    for (const WireCard& w : t.lists[kStockList]) {
        Card c = cardFrom(w, false);
        c.x = layout.tableLeft;
        c.y = layout.stockY;
        push(v.stock, c);
    }
    for (const WireCard& w : t.lists[kDiscardList]) {
        Card c = cardFrom(w, true);
        c.x = layout.tableLeft;
        c.y = layout.discardY;
        push(v.discardPile, c);
    }
    for (const WireCard& w : t.lists[kOpponentHandList]) {
        Card c = cardFrom(w, false);
        c.x = layout.tableLeft + v.opponentCardSpacing * v.opponentHand.count;
        c.y = kOpponentHandY;
        push(v.opponentHand, c);
    }
    for (const WireCard& w : t.lists[kPlayerHandList]) {
        Card c = cardFrom(w, true);
        placeInColumn(v.playerHand, c, rankOf(w.face), kColumnStep);
        push(v.playerHand, c);
    }
    v.playerVelnoras = t.tallies[0];
    v.opponentVelnoras = t.tallies[1];
    layMelds(v.playerMelds, t.lists[kPlayerMeldsList], v.playerVelnoras, kColumnStep,
             layout.playerMeldsY + kColumnStep);
    layMelds(v.opponentMelds, t.lists[kOpponentMeldsList], v.opponentVelnoras, -kColumnStep,
             layout.opponentMeldsY - kColumnStep);
    v.playerTotal = t.playerTotal;
    v.opponentTotal = t.opponentTotal;
    v.promptState = static_cast<std::uint8_t>(t.promptState);
    v.opponentPromptState = static_cast<std::uint8_t>(t.opponentPromptState);
    if (!isConsistent(v, layout, &why)) {
        why = "The opponent's table is not whole: " + why + ".";
        return std::nullopt;
    }

    exchangeSeats(v);
    // The partner's meld value as it counted it, not our recount.
    v.opponentMeldPoints = t.playerMeldPoints;
    v.pileFrozen = t.pileFrozen ? 1 : 0;
    return v;
}

bool takeOverTable(Game& game, const LoadedTable& table, std::string& why) {
    auto built = tableFromPartner(table, game.layout, why);
    if (!built) return false;
    game.adoptPartnerTable(*built);
    return true;
}

} // namespace velnora::net
