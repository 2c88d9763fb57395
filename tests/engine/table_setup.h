#pragma once
// Builds hands with chosen cards for the hand-flow tests: every card is taken out of a full
// stock, so the table always holds the 108 cards and isConsistent() stays meaningful.

#include "game.h"
#include "recording_host.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>

namespace velnora::test {

// Face of a natural card: rank 1 (two) .. 13 (ace), suit 0 spade, 1 club, 2 diamond, 3 heart.
constexpr int face(int rank, int suit = 0) {
    return suit * 13 + rank;
}
constexpr int kJoker = kJokerFace;
constexpr int kFour = 3, kFive = 4, kSix = 5, kSeven = 6, kEight = 7, kNine = 8, kTen = 9;
constexpr int kJack = 10, kQueen = 11, kKing = 12;
constexpr int kRedThree = 28;    // three of diamonds
constexpr int kRedThree2 = 41;   // three of hearts
constexpr int kBlackThree = 2;   // three of spades
constexpr int kBlackThree2 = 15; // three of clubs

// A game on a table of size 0 with a recording host, in-memory settings and a fixed seed.
struct Table {
    RecordingHost host;
    MemorySettings settings;
    Random rng{12345};
    Game game{host, settings, rng};
    GameState& g = game.state;

    Table() { options().showTurns = false; }
    GameOptions& options() { return game.options; }

    // An empty table in the middle of a hand: all 108 cards in the stock, the player to move.
    void clearTable() {
        buildDeck(g, rng, game.layout);
        for (int c = 0; c < kColumns; ++c) {
            const auto i = static_cast<std::size_t>(c);
            const int x = columnX(c, game.layout);
            g.playerHand.columnPos[i] = {x, game.layout.playerHandY};
            g.playerMelds.columnPos[i] = {x, game.layout.playerMeldsY};
            g.opponentMelds.columnPos[i] = {x, game.layout.opponentMeldsY};
        }
        g.playerVelnoras = {};
        g.opponentVelnoras = {};
        g.pileFrozen = 0;
        g.mayTakePile = 1;
        g.hasDrawn = 0;
        g.takingPile = 0;
        g.topCardPending = 0;
        g.stockDrawsThisTurn = 0;
        g.inputBlocked = 0;
        g.stockExhausted = 0;
        g.promptState = kPromptDraw;
        g.opponentPromptState = kPromptOpponentsTurn;
        g.initialMeldMinimum = 50;
        g.undoStack.clear();
    }

    Card takeFromStock(int f) {
        const int i = findFace(g.stock, f);
        if (i < 0) throw InternalError("no such card left in the stock: " + cardLabel(f));
        return removeAt(g.stock, i);
    }

    void hand(std::initializer_list<int> faces) {
        for (int f : faces) {
            Card c = takeFromStock(f);
            c.faceUp = 1;
            placeInColumn(g.playerHand, c, c.rank, kColumnStep);
            push(g.playerHand, c);
        }
    }
    // Cards laid into one column of the player's melds (velnora check included).
    void melds(int column, std::initializer_list<int> faces) {
        for (int f : faces) {
            Card c = takeFromStock(f);
            c.faceUp = 1;
            placeInColumn(g.playerMelds, c, column, kColumnStep);
            push(g.playerMelds, c);
        }
        checkVelnora(g, Seat::player, column, game.layout);
    }
    void opponentHand(std::initializer_list<int> faces) {
        for (int f : faces)
            game.opponentAddCard(takeFromStock(f), false);
    }
    // Fills the opponent's hand with whatever naturals the stock still holds.
    void opponentHandOf(int n) {
        for (int i = 0; i < g.stock.count && g.opponentHand.count < n;) {
            const Card& c = g.stock.cards[static_cast<std::size_t>(i)];
            if (isNatural(c.rank) && c.rank != kRankThree)
                game.opponentAddCard(removeAt(g.stock, i), false);
            else
                ++i;
        }
    }
    // Discard pile from bottom to top.
    void discardPile(std::initializer_list<int> faces) {
        for (int f : faces) {
            Card c = takeFromStock(f);
            c.faceUp = 1;
            c.x = game.layout.tableLeft;
            c.y = game.layout.discardY;
            push(g.discardPile, c);
        }
    }
    // Puts the given cards on top of the stock; the last one is drawn first.
    void stockTop(std::initializer_list<int> faces) {
        for (int f : faces)
            push(g.stock, takeFromStock(f));
    }
    // Moves all but n stock cards (from the bottom) to the discard pile's bottom.
    void shrinkStockTo(int n) {
        Pile rest = g.discardPile;
        clear(g.discardPile);
        while (g.stock.count > n) {
            Card c = removeAt(g.stock, 0);
            c.x = game.layout.tableLeft;
            c.y = game.layout.discardY;
            push(g.discardPile, c);
        }
        for (const Card& c : rest)
            push(g.discardPile, c);
    }
    // Everything is set: remember the table as a turn start does.
    void ready() { takeSnapshot(g); }

    int handIndex(int f) const { return findFace(g.playerHand, f); }
    int meldIndex(int f) const { return findFace(g.playerMelds, f); }
    int column(int c) const { return columnCount(g.playerMelds, c, game.layout); }
    std::string status() const { return host.lastStatus().text; }
    bool statusIsWarning() const { return host.lastStatus().warning; }
};

// A driver that records the turns it was asked to play and, if given, runs a script.
struct ScriptedDriver : OpponentDriver {
    int turns = 0;
    bool blockedAtStart = false;
    int promptAtStart = -1;
    int playerStartsAtStart = -1;
    std::function<void(Game&)> script;
    void startTurn(Game& game) override {
        ++turns;
        blockedAtStart = game.state.inputBlocked != 0;
        promptAtStart = game.state.opponentPromptState;
        playerStartsAtStart = game.state.playerStartsHand;
        if (script) script(game);
    }
};

#define EXPECT_CONSISTENT(game)                                                                    \
    do {                                                                                           \
        std::string why_;                                                                          \
        EXPECT_TRUE((game).isConsistent(&why_)) << why_ << '\n' << toString((game).state);         \
    } while (0)

} // namespace velnora::test
