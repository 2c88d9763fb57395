#include "autoplayer.h"
#include "master.h"
#include "quiet_host.h"
#include "seat_driver.h"
#include "seat_exchange.h"
#include "worker_pool.h"

#include <gtest/gtest.h>

using namespace velnora;
using namespace velnora::ai;

namespace {

// Few rounds, a low bar for overruling the Expert (so that the search's own answers are
// exercised), and no time cap: the same decision must come out of both tables, whatever the
// number of threads each searches on.
MasterBudget testBudget(int threads) {
    MasterBudget b;
    b.threads = threads;
    b.rounds = 6;
    b.screenRounds = 3;
    b.survivors = 2;
    b.margin = 0.5;
    b.hardCapMs = 1e9;
    return b;
}

// The same table with what the opponent seat cannot see made otherwise: the player's hand
// (but the cards seen taken) trades cards with the stock, the stock is turned over, and the
// player's plans and undo copy follow the new hand.
struct OtherHiddenCards {
    QuietHost host;
    MemorySettings settings;
    Random rng{99};
    Game game{host, settings, rng};

    explicit OtherHiddenCards(const Game& real) {
        game.rules = real.rules;
        game.layout = real.layout;
        game.options = real.options;
        GameState& g = game.state;
        g = real.state;
        for (int j = 0, k = 1; j < g.playerHand.count && k < g.stock.count; ++j, k += 2) {
            Card& a = g.playerHand.places()[static_cast<std::size_t>(j)];
            if (findFace(g.knownPlayerCards, a.face) >= 0) continue;
            Card& b = g.stock.places()[static_cast<std::size_t>(k)];
            std::swap(a.face, b.face);
            std::swap(a.deck, b.deck);
        }
        auto& stock = g.stock.places();
        for (int i = 0, j = g.stock.count - 1; i < j; ++i, --j) {
            std::swap(stock[static_cast<std::size_t>(i)].face,
                      stock[static_cast<std::size_t>(j)].face);
            std::swap(stock[static_cast<std::size_t>(i)].deck,
                      stock[static_cast<std::size_t>(j)].deck);
        }
        countRanks(g, game.layout);
        takeSnapshot(g);
        g.playerSeatAi.baitRank = static_cast<std::uint8_t>(g.playerSeatAi.baitRank + 3);
        g.playerSeatAi.aggressiveMode ^= 1;
    }
};

// Plays the opponent seat as the Master does and checks every decision: it changes nothing of
// the game, its generator included, and a table whose hidden cards lie otherwise gets it too.
class CheckedMaster : public OpponentDriver, public ExpertAdvisor {
public:
    MasterSearch search{testBudget(1)};
    MasterSearch twin{testBudget(4)};
    int takes = 0, discards = 0, compared = 0, overruled = 0;

    void startTurn(Game& game) override {
        Random mood(situationSeed(game.state, 1));
        ExpertTurn turn(game, ExpertSeat{&mood, true, this});
        turn.play();
    }
    bool takePile(ExpertTurn& turn, bool expertTakes) override {
        ++takes;
        return check(turn, [&](MasterSearch& s, const Game& g) {
            return s.decideTake(g, turn.minimum(), expertTakes) ? 1 : 0;
        });
    }
    DiscardChoice discard(ExpertTurn& turn, DiscardChoice expertChoice) override {
        ++discards;
        const int chosen = check(turn, [&](MasterSearch& s, const Game& g) {
            const DiscardChoice d = s.decideDiscard(g, turn.minimum(), expertChoice);
            return d.meldIndex >= 0 ? 1000 + d.meldIndex : d.handIndex;
        });
        return chosen >= 1000 ? DiscardChoice{-1, chosen - 1000} : DiscardChoice{chosen, -1};
    }

private:
    template <typename Decide> int check(ExpertTurn& turn, Decide decide) {
        Game& game = turn.game();
        const GameState before = game.state;
        const Random rngBefore = game.rng();
        const int chosen = decide(search, game);
        EXPECT_EQ(firstDifference(before, game.state), "");
        EXPECT_EQ(Random(rngBefore).next(), Random(game.rng()).next());
        overruled += search.lastStats().changed ? 1 : 0;

        OtherHiddenCards other(game);
        if (!firstDifference(game.state, other.game.state).empty()) {
            EXPECT_EQ(decide(twin, other.game), chosen) << toString(game.state);
            EXPECT_EQ(twin.lastStats().rounds, search.lastStats().rounds);
            ++compared;
        }
        return chosen;
    }
};

} // namespace

TEST(Master, DecidesOnWhatItSeesAloneAndChangesNothing) {
    CheckedMaster master;
    int played = 0;
    for (std::uint64_t seed = 1; seed <= 2; ++seed) {
        QuietHost host;
        MemorySettings settings;
        Random rng(seed);
        Game game(host, settings, rng);
        game.options.showTurns = false;
        game.setOpponentDriver(&master);
        AutoPlayer player(game, seed + 10);
        game.state.playerStartsHand = 1;
        game.newGame();
        for (int turn = 0; turn < 14 && player.isPlayersTurn(); ++turn) {
            player.playTurn();
            std::string why;
            ASSERT_TRUE(game.isConsistent(&why)) << why;
            ++played;
        }
    }
    EXPECT_GT(played, 20);
    EXPECT_GT(master.takes, 10);
    EXPECT_GT(master.discards, 10);
    EXPECT_GT(master.compared, 20);
    // The search does overrule the Expert now and then: the comparisons are of its own answers.
    EXPECT_GT(master.overruled, 0);
}

TEST(Master, WorkerPoolRunsEachTaskOnceAndLetsASecondCallerWorkAlone) {
    WorkerPool pool(3);
    std::vector<std::atomic<int>> calls(5000);
    std::vector<std::thread::id> inner(2);
    pool.run(calls.size(), 4, [&](std::size_t i) {
        calls[i].fetch_add(1);
        // A second job while this one runs is done by its caller alone, not queued behind it.
        if (i == 17)
            std::thread([&] {
                pool.run(inner.size(), 4,
                         [&](std::size_t j) { inner[j] = std::this_thread::get_id(); });
            }).join();
    });
    for (const auto& c : calls)
        ASSERT_EQ(c.load(), 1);
    EXPECT_EQ(inner[0], inner[1]);
    // And the pool serves the next job after that.
    std::atomic<int> sum{0};
    pool.run(100, 4, [&](std::size_t i) { sum += static_cast<int>(i); });
    EXPECT_EQ(sum.load(), 4950);
}

TEST(Master, PlaysEitherSeatThroughWholeHands) {
    QuietHost host;
    MemorySettings settings;
    Random rng(5);
    Game game(host, settings, rng);
    game.options.showTurns = false;
    LevelDriver expert(2);
    game.setOpponentDriver(&expert);
    game.setDealsAfterScoring(false);
    game.state.playerStartsHand = 1;
    game.newGame();
    int turns = 0;
    while (game.state.promptState != kPromptWaitForDeal && turns < 200) {
        ASSERT_TRUE(playPlayerSeatTurn(game, kMasterLevel)) << toString(game.state);
        std::string why;
        ASSERT_TRUE(game.isConsistent(&why)) << why;
        ++turns;
    }
    EXPECT_EQ(game.state.promptState, kPromptWaitForDeal);
    EXPECT_NE(game.lastHandReport.player.total(), 0);
}
