#pragma once
// A table laid out card by card for scripted play between two copies: the server's view, its
// player to draw, every card of the two decks once (the rest in the stock). Sent to the partner
// with LOADGAME, it gives both copies the same known table.

#include "game.h"

#include <map>
#include <utility>
#include <vector>

namespace velnora::test {

constexpr int kSpades = 0, kClubs = 1, kDiamonds = 2, kHearts = 3;
// Face of a natural card or a two of a rank (1 two .. 13 ace) in a suit.
constexpr int faceOf(int rank, int suit) {
    return suit * 13 + rank;
}

struct StagedTable {
    std::vector<int> playerHand;
    std::vector<std::pair<int, std::vector<int>>> playerMelds; // column, faces
    std::vector<int> opponentHand;
    std::vector<std::pair<int, std::vector<int>>> opponentMelds;
    std::vector<int> pile;      // bottom first
    std::vector<int> stockNext; // drawn in this order
};

inline void stageTable(Game& game, const StagedTable& t) {
    GameState& g = game.state;
    const Layout& l = game.layout;
    for (Pile* p : {&g.stock, &g.discardPile, &g.opponentHand, &g.playerHand, &g.opponentMelds,
                    &g.playerMelds, &g.knownPlayerCards, &g.knownOpponentCards})
        clear(*p);
    g.playerVelnoras = {};
    g.opponentVelnoras = {};
    g.undoStack.clear();
    resetColumnPositions(g, l);
    std::map<int, int> used;
    auto take = [&](int f) {
        Card c = makeCard(f, used[f]++ % 2);
        c.faceUp = 1;
        return c;
    };
    for (int f : t.playerHand) {
        Card c = take(f);
        placeInColumn(g.playerHand, c, c.rank(), kColumnStep);
        push(g.playerHand, c);
    }
    for (const auto& [column, faces] : t.playerMelds) {
        for (int f : faces) {
            Card c = take(f);
            placeInColumn(g.playerMelds, c, column, kColumnStep);
            push(g.playerMelds, c);
        }
        checkVelnora(g, Seat::player, column, l);
    }
    for (int f : t.opponentHand)
        game.opponentAddCard(take(f), false);
    g.opponentMeldPoints = 0;
    for (const auto& [column, faces] : t.opponentMelds) {
        for (int f : faces) {
            Card c = take(f);
            placeInColumn(g.opponentMelds, c, column, -kColumnStep);
            push(g.opponentMelds, c);
            g.opponentMeldPoints += c.points();
        }
        checkVelnora(g, Seat::opponent, column, l);
    }
    for (int f : t.pile) {
        Card c = take(f);
        c.x = l.tableLeft;
        c.y = l.discardY;
        push(g.discardPile, c);
    }
    std::map<int, int> kept; // copies held back for the top of the stock
    for (int f : t.stockNext)
        ++kept[f];
    auto toStock = [&](int f) {
        Card c = makeCard(f, used[f]++ % 2);
        c.x = l.tableLeft;
        c.y = l.stockY;
        push(g.stock, c);
    };
    for (int f = 1; f <= kJokerFace; ++f) {
        const int copies = f == kJokerFace ? 4 : 2;
        while (used[f] + kept[f] < copies)
            toStock(f);
    }
    for (auto it = t.stockNext.rbegin(); it != t.stockNext.rend(); ++it)
        toStock(*it);
    g.pileFrozen = 0;
    g.pileFanned = 0;
    g.hasDrawn = 0;
    g.mayTakePile = 1;
    g.takingPile = 0;
    g.topCardPending = 0;
    g.stockExhausted = 0;
    g.inputBlocked = 0;
    g.gameInProgress = 1;
    g.opponentPromptState = kPromptOpponentsTurn;
    g.initialMeldMinimum = initialMeldMinimumFor(g.playerTotal);
    game.showInstruction(kPromptDraw);
    takeSnapshot(g);
}

} // namespace velnora::test
