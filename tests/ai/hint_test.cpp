#include "ai_common.h"
#include "autoplayer.h"
#include "hint.h"
#include "recording_host.h"
#include "seat_exchange.h"

#include <gtest/gtest.h>

#include <string>

using namespace velnora;
using namespace velnora::ai;

namespace {

struct HintTable {
    test::RecordingHost host;
    MemorySettings settings;
    Random rng;
    Game game{host, settings, rng};
    ComputerDriver driver;

    explicit HintTable(std::uint64_t seed) : rng(seed) {
        game.options.showTurns = false;
        game.options.computerLevel = 2;
        game.setOpponentDriver(&driver);
    }
};

// The same table with the computer's hidden cards changed: card j of its hand and card k of the
// stock trade faces, each keeping its place on the table.
void tradeHiddenCards(GameState& g, int j, int k) {
    Card& a = g.opponentHand.cards[static_cast<std::size_t>(j)];
    Card& b = g.stock.cards[static_cast<std::size_t>(k)];
    std::swap(a.face, b.face);
    std::swap(a.rank, b.rank);
    std::swap(a.points, b.points);
    std::swap(a.deck, b.deck);
}

bool isKnown(const GameState& g, int face) {
    return findFace(g.knownOpponentCards, face) >= 0;
}

void expectSameHint(const Hint& a, const Hint& b, const std::string& where) {
    EXPECT_EQ(a.text, b.text) << where;
    EXPECT_EQ(a.handIndices, b.handIndices) << where;
    EXPECT_EQ(a.votes, b.votes) << where;
}

} // namespace

TEST(Hint, DoesNotDependOnTheComputersHiddenCardsAndChangesNothing) {
    HintTable t(21);
    AutoPlayer player(t.game, 22);
    t.game.state.playerStartsHand = 1;
    t.game.newGame();
    int compared = 0, drawHints = 0, meldHints = 0;
    for (int turn = 0; turn < 40 && t.host.gameOvers.empty(); ++turn) {
        for (bool drawn : {false, true}) {
            if (!player.isPlayersTurn()) break;
            if (drawn && !t.game.state.hasDrawn) {
                if (t.game.state.stock.empty()) break;
                t.game.drawFromStock();
                if (!t.game.state.hasDrawn) break;
            }
            ASSERT_TRUE(hintAvailable(t.game));
            const GameState before = t.game.state;
            Random rngBefore = t.rng;
            const Hint hint = expertHint(t.game);
            // The game and its generator are exactly as they were.
            EXPECT_EQ(firstDifference(before, t.game.state), "");
            EXPECT_EQ(rngBefore.next(), Random(t.rng).next());
            EXPECT_GT(hint.samples, 0);
            EXPECT_NE(hint.action, Hint::Action::none) << hint.text;
            (hint.action == Hint::Action::drawFromStock || hint.action == Hint::Action::takePile
                 ? drawHints
                 : meldHints)++;

            HintTable other(99);
            other.game.state = t.game.state;
            GameState& g = other.game.state;
            for (int j = 0, k = 0; j < g.opponentHand.count && k < g.stock.count; ++j, k += 3)
                if (!isKnown(g, g.opponentHand.cards[static_cast<std::size_t>(j)].face))
                    tradeHiddenCards(g, j, k);
            // With the stock used up nothing is hidden to trade.
            if (firstDifference(t.game.state, g).empty()) continue;
            expectSameHint(hint, expertHint(other.game), hint.text);
            ++compared;
        }
        player.playTurn();
    }
    EXPECT_GT(compared, 20);
    EXPECT_GT(drawHints, 5);
    EXPECT_GT(meldHints, 5);
}

TEST(Hint, SamplesDealTheUnseenCardsWhateverTheComputerReallyHolds) {
    HintTable t(31);
    AutoPlayer player(t.game, 32);
    t.game.state.playerStartsHand = 1;
    t.game.newGame();
    for (int turn = 0; turn < 6; ++turn)
        player.playTurn();
    ASSERT_TRUE(hintAvailable(t.game));
    // The computer was seen taking a card with the pile.
    GameState& g = t.game.state;
    push(g.knownOpponentCards, g.opponentHand.at(2));

    HintTable other(1);
    other.game.state = g;
    for (int j = 0; j < g.opponentHand.count; ++j)
        if (j != 2) tradeHiddenCards(other.game.state, j, j);
    ASSERT_NE(firstDifference(g, other.game.state), "");

    Random a(7), b(7);
    const GameState sampleA = sampleUnseenCards(t.game, a);
    const GameState sampleB = sampleUnseenCards(other.game, b);
    EXPECT_EQ(firstDifference(sampleA, sampleB), "");
    std::string why;
    EXPECT_TRUE(isConsistent(sampleA, t.game.layout, &why)) << why;
    EXPECT_EQ(sampleA.opponentHand.count, g.opponentHand.count);
    EXPECT_EQ(sampleA.stock.count, g.stock.count);
    EXPECT_GE(findFace(sampleA.opponentHand, g.opponentHand.at(2).face), 0);
    // Everything the player sees is the real table.
    EXPECT_EQ(sampleA.playerHand, g.playerHand);
    EXPECT_EQ(sampleA.discardPile, g.discardPile);
    EXPECT_EQ(sampleA.opponentMelds, g.opponentMelds);
    // A second sample is another deal.
    EXPECT_NE(firstDifference(sampleA, sampleUnseenCards(t.game, a)), "");
}

TEST(Hint, IsOnlyGivenOnThePlayersTurn) {
    HintTable t(5);
    t.game.state.playerStartsHand = 1;
    t.game.newGame();
    EXPECT_TRUE(hintAvailable(t.game));
    t.game.state.inputBlocked = 1;
    EXPECT_FALSE(hintAvailable(t.game));
    EXPECT_EQ(expertHint(t.game).action, Hint::Action::none);
    t.game.state.inputBlocked = 0;
    t.game.state.promptState = kPromptWaitForDeal;
    EXPECT_FALSE(hintAvailable(t.game));
}

TEST(Hint, PointsAtTheCardsItNames) {
    HintTable t(8);
    AutoPlayer player(t.game, 9);
    t.game.state.playerStartsHand = 1;
    t.game.newGame();
    int checked = 0;
    for (int turn = 0; turn < 30 && t.host.gameOvers.empty(); ++turn) {
        if (player.isPlayersTurn() && !t.game.state.stock.empty()) {
            t.game.drawFromStock();
            const Hint hint = expertHint(t.game);
            for (int i : hint.handIndices) {
                ASSERT_GE(i, 0);
                ASSERT_LT(i, t.game.state.playerHand.count);
                EXPECT_NE(hint.text.find(cardLabel(t.game.state.playerHand.at(i).face)),
                          std::string::npos)
                    << hint.text;
                ++checked;
            }
        }
        player.playTurn();
    }
    EXPECT_GT(checked, 10);
}
