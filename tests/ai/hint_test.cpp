#include "ai_common.h"
#include "autoplayer.h"
#include "hint.h"
#include "master.h"
#include "recording_host.h"
#include "seat_exchange.h"
#include "table_setup.h"

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
    Card& a = g.opponentHand.places()[static_cast<std::size_t>(j)];
    Card& b = g.stock.places()[static_cast<std::size_t>(k)];
    std::swap(a.face, b.face);
    std::swap(a.deck, b.deck);
}

bool isKnown(const GameState& g, int face) {
    return findFace(g.knownOpponentCards, face) >= 0;
}

// Trades every card of the computer's hand it was not seen taking with a card of the stock,
// every stride-th one.
void tradeUnknownCards(GameState& g, int stride) {
    for (int j = 0, k = 0; j < g.opponentHand.count && k < g.stock.count; ++j, k += stride)
        if (!isKnown(g, g.opponentHand.places()[static_cast<std::size_t>(j)].face))
            tradeHiddenCards(g, j, k);
}

void expectSameHint(const Hint& a, const Hint& b, const std::string& where) {
    EXPECT_EQ(a.text, b.text) << where;
    EXPECT_EQ(a.handIndices, b.handIndices) << where;
    EXPECT_EQ(a.votes, b.votes) << where;
}

} // namespace

TEST(Hint, DoesNotDependOnTheComputersHiddenCardsAndChangesNothing) {
    // The Master's hint is checked alongside, on a small budget.
    const MasterBudget defaults = masterBudget();
    MasterBudget small = defaults;
    small.rounds = 6;
    small.screenRounds = 3;
    small.hardCapMs = 1e9;
    setMasterBudget(small);
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
            const Hint searched = masterHint(t.game);
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
            tradeUnknownCards(g, 3);
            // With the stock used up nothing is hidden to trade.
            if (firstDifference(t.game.state, g).empty()) continue;
            expectSameHint(hint, expertHint(other.game), hint.text);
            expectSameHint(searched, masterHint(other.game), searched.text);
            ++compared;
        }
        player.playTurn();
    }
    setMasterBudget(defaults);
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
                EXPECT_NE(hint.text.find(cardName(t.game.state.playerHand.at(i).face)),
                          std::string::npos)
                    << hint.text;
                ++checked;
            }
        }
        player.playTurn();
    }
    EXPECT_GT(checked, 10);
}

namespace {

int warningsShown(const test::RecordingHost& host) {
    int n = 0;
    for (const auto& s : host.statuses)
        n += s.warning ? 1 : 0;
    return n;
}

// Whether taking the pile now would leave the take pending until the player melds.
bool takeWouldWait(const Game& game) {
    if (!game.state.mayTakePile || game.state.discardPile.empty()) return false;
    HintTable copy(1);
    copy.game.rules = game.rules;
    copy.game.state = game.state;
    copy.game.setOpponentDriver(nullptr);
    copy.game.takeDiscardPile();
    return copy.game.state.takingPile != 0;
}

// Half a meld: one natural of a rank held twice or more whose column is still empty.
bool meldHalf(Game& game) {
    const GameState& g = game.state;
    if (g.playerHand.count < 4) return false;
    for (int i = 0; i < g.playerHand.count; ++i) {
        const int rank = g.playerHand.at(i).rank();
        if (rank > kRankThree && countRank(g.playerHand, rank) >= 2 &&
            columnCount(g.playerMelds, rank, game.layout) == 0) {
            game.meldFromHand(i, MeldMode::single);
            return true;
        }
    }
    return false;
}

} // namespace

// Whole matches played by following the hints alone, also from the table's in-between states:
// a pile take that waits for its melds, a half-built meld. Every hinted click must be one the
// game accepts, and no hint may change the game.
TEST(Hint, FollowingTheHintsPlaysWholeHandsWithoutARefusal) {
    int pendingTakes = 0, takesFinished = 0, halfMelds = 0, hints = 0, hands = 0;
    for (std::uint64_t seed = 1; seed <= 6; ++seed) {
        HintTable t(seed);
        t.game.rules.topCardCounts = seed % 2 == 0;
        t.game.state.playerStartsHand = 1;
        t.game.newGame();
        for (int turn = 0; turn < 120 && t.host.gameOvers.empty(); ++turn) {
            GameState& g = t.game.state;
            if (!hintAvailable(t.game)) break;
            const bool pending = turn % 2 == 0 && !g.hasDrawn && takeWouldWait(t.game);
            if (pending) {
                t.game.takeDiscardPile();
                ASSERT_TRUE(g.takingPile);
                ++pendingTakes;
            } else if (g.hasDrawn && !g.takingPile && turn % 3 == 0 && meldHalf(t.game)) {
                ++halfMelds;
            }
            if (!hintAvailable(t.game)) continue;

            const GameState before = g;
            Random rngBefore = t.rng;
            const Hint hint = expertHint(t.game);
            ASSERT_EQ(firstDifference(before, g), "");
            ASSERT_EQ(rngBefore.next(), Random(t.rng).next());
            ASSERT_FALSE(hint.steps.empty()) << hint.text;
            if (pending) {
                ASSERT_TRUE(hint.action == Hint::Action::completeTake ||
                            hint.action == Hint::Action::undoTakePile)
                    << hint.text;
                // Nothing but what the take waits for: no discard while it is pending.
                for (const HintStep& step : hint.steps)
                    EXPECT_NE(step.kind, HintStep::Kind::discard) << hint.text;
            }

            // The text names the cards in the order of the clicks: which wildcard a meld gets
            // depends on it.
            std::size_t at = 0;
            for (const HintStep& step : hint.steps) {
                if (step.face == 0) continue;
                at = hint.text.find(cardName(step.face), at);
                ASSERT_NE(at, std::string::npos) << hint.text;
                at += cardName(step.face).size();
            }

            const int warnings = warningsShown(t.host);
            const int handsBefore = static_cast<int>(t.host.scorings.size());
            ASSERT_TRUE(carryOutHint(t.game, hint.steps)) << hint.text;
            EXPECT_EQ(warningsShown(t.host), warnings) << hint.text;
            std::string why;
            ASSERT_TRUE(t.game.isConsistent(&why)) << why;
            if (pending && hint.action == Hint::Action::completeTake) {
                EXPECT_FALSE(g.takingPile) << hint.text;
                EXPECT_TRUE(g.discardPile.empty() || g.inputBlocked) << hint.text;
                ++takesFinished;
            }
            hands += static_cast<int>(t.host.scorings.size()) - handsBefore;
            ++hints;
        }
    }
    EXPECT_GT(hints, 300);
    EXPECT_GT(hands, 3);
    EXPECT_GT(pendingTakes, 3);
    EXPECT_GT(takesFinished, 2);
    EXPECT_GT(halfMelds, 5);
}

TEST(Hint, APendingTakeGetsTheSameHintWhateverTheComputerHolds) {
    int compared = 0;
    for (std::uint64_t seed = 40; seed < 60 && compared < 3; ++seed) {
        HintTable t(seed);
        AutoPlayer player(t.game, seed);
        t.game.state.playerStartsHand = 1;
        t.game.newGame();
        for (int turn = 0; turn < 40 && t.host.gameOvers.empty(); ++turn) {
            if (player.isPlayersTurn() && takeWouldWait(t.game)) {
                t.game.takeDiscardPile();
                const Hint hint = expertHint(t.game);
                HintTable other(2);
                other.game.state = t.game.state;
                GameState& g = other.game.state;
                tradeUnknownCards(g, 2);
                ASSERT_NE(firstDifference(t.game.state, g), "");
                expectSameHint(hint, expertHint(other.game), hint.text);
                ++compared;
                break;
            }
            player.playTurn();
        }
    }
    EXPECT_EQ(compared, 3);
}

// The Expert melds by the mood it rolls at the start of its turn. With aggression at its
// highest the mood is certain from seventy stock cards down, and in that mood the Expert lays
// a hand that holds a velnora and a single card to discard; the hint must say so after the draw
// too.
TEST(Hint, MeldsByTheMoodOfTheTurn) {
    test::Table t;
    t.clearTable();
    t.options().aggression = 100;
    t.hand({test::face(test::kKing), test::face(test::kKing, test::kHearts),
            test::face(test::kKing, test::kClubs), test::face(test::kKing, test::kDiamonds),
            test::face(test::kKing, test::kSpades), test::kJoker, test::kJoker,
            test::face(test::kQueen), test::face(test::kQueen, test::kHearts),
            test::face(test::kQueen, test::kClubs), test::face(test::kSeven)});
    t.opponentHandOf(11);
    t.discardPile({test::face(test::kSix)});
    t.shrinkStockTo(60);
    t.stockTop({test::face(test::kQueen, test::kDiamonds)});
    t.game.drawFromStock();
    ASSERT_TRUE(t.g.hasDrawn);
    ASSERT_TRUE(hintAvailable(t.game));
    for (const Hint& hint : {expertHint(t.game), masterHint(t.game)}) {
        EXPECT_EQ(hint.action, Hint::Action::meld) << hint.text;
        int kings = 0;
        for (const HintStep& step : hint.steps)
            kings += step.kind == HintStep::Kind::meldNatural && rankOf(step.face) == test::kKing;
        EXPECT_EQ(kings, 5) << hint.text;
    }
}
