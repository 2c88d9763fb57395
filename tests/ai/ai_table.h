#pragma once
// Hand-built tables for the computer's turns: the engine tests' Table plus the computer's melds
// and a way to empty the stock without growing the discard pile.

#include "ai_common.h"
#include "table_setup.h"

#include <initializer_list>

namespace velnora::test {

struct AiTable : Table {
    AiTable() {
        clearTable();
        // It is the computer's turn.
        g.promptState = kPromptOpponentsTurn;
        // It has drawn: the tests play its melds and discards one by one.
        g.opponentPromptState = kPromptMeldOrDiscard;
        g.inputBlocked = 1;
    }

    // Cards laid into one column of the computer's melds, counted in its meld points.
    void opponentMelds(int column, std::initializer_list<int> faces) {
        for (int f : faces)
            layInMelds(g, Seat::opponent, takeFromStock(f), column);
        checkVelnora(g, Seat::opponent, column, game.layout);
    }
    // n cards of a rank in the four suits (twice when n > 4).
    void opponentMeldRun(int rank, int n) {
        for (int i = 0; i < n; ++i)
            opponentMelds(rank, {face(rank, i % 4)});
    }
    // Moves what is left of the stock into the player's hand, so the stock is exhausted while
    // the discard pile keeps its size.
    void exhaustStock() {
        while (!g.stock.empty())
            layInPlayerHand(g, pop(g.stock));
        g.stockExhausted = 1;
    }
    int opponentColumn(int c) const { return columnCount(g.opponentMelds, c, game.layout); }
    const Card& pileTop() const { return g.discardPile.top(); }
    bool messageShown(const std::string& text) const {
        for (const std::string& m : host.messages)
            if (m == text) return true;
        return false;
    }
};

} // namespace velnora::test
