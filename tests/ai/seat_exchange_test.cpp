#include "ai_common.h"
#include "autoplayer.h"
#include "recording_host.h"
#include "seat_exchange.h"
#include "table_setup.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace velnora;
using namespace velnora::test;

namespace {

// A recording host that also lets the test look at the table while the computer melds.
class PausingHost : public RecordingHost {
public:
    std::function<void()> onPause;
    void pause(int ms) override {
        RecordingHost::pause(ms);
        if (onPause) onPause();
    }
};

// Plays the autoplayer against a level at a table size and calls visit after every action of
// either seat, until the match ends or maxHands hands are scored.
void playVisiting(int level, int sizeIndex, const RuleSettings& rules, std::uint64_t seed,
                  int maxHands, const std::function<void(const Game&)>& visit) {
    PausingHost host;
    MemorySettings settings;
    Random rng(seed);
    Game game(host, settings, rng);
    game.layout = computeLayout(sizeIndex);
    game.rules = rules;
    saveRules(settings, rules);
    game.options.computerLevel = level;
    game.options.showTurns = false;
    ai::ComputerDriver driver;
    game.setOpponentDriver(&driver);
    ai::AutoPlayer player(game, seed + 5);
    host.onPause = [&] { visit(game); };
    game.newGame();
    for (int turn = 0; turn < 3000 && host.gameOvers.empty(); ++turn) {
        if (static_cast<int>(host.scorings.size()) >= maxHands) break;
        player.playTurn([&] { visit(game); });
        visit(game);
    }
}

} // namespace

TEST(SeatExchange, TwiceGivesTheIdenticalStateThroughoutRealPlay) {
    int states = 0, failures = 0;
    for (int size = 0; size < kTableSizes; ++size) {
        for (int level : {0, 1, 2}) {
            const RuleSettings rules = (size + level) % 2 ? hoyleRules() : RuleSettings{};
            playVisiting(level, size, rules, 40 + static_cast<std::uint64_t>(size * 3 + level), 3,
                         [&](const Game& game) {
                             ++states;
                             GameState once = game.state;
                             exchangeSeats(once);
                             std::string why;
                             if (!isConsistent(once, game.layout, &why) && failures++ < 3)
                                 ADD_FAILURE() << "exchanged table: " << why << "\n"
                                               << toString(once);
                             GameState twice = once;
                             exchangeSeats(twice);
                             const std::string diff = firstDifference(game.state, twice);
                             if (!diff.empty() && failures++ < 3)
                                 ADD_FAILURE() << "size " << size << " level " << level << ": "
                                               << diff << "\n"
                                               << toString(game.state);
                         });
        }
    }
    EXPECT_GT(states, 2000);
}

TEST(SeatExchange, EachSeatTakesTheOthersCardsTalliesAndScores) {
    Table t;
    t.clearTable();
    t.g.playerTotal = 1200;
    t.g.opponentTotal = 3400;
    t.g.promptState = kPromptMeldOrDiscard;
    t.g.opponentPromptState = kPromptOpponentsTurn;
    t.g.wentOut = 0;
    t.g.ai.baitRank = 7;
    t.hand({face(kKing), face(kFive), face(kKing, kHearts)});
    t.opponentHand({face(kNine), kJoker});
    t.melds(kQueen, {face(kQueen), face(kQueen, kHearts), face(kQueen, kClubs)});
    for (int f : {face(kSix), face(kSix, kHearts), face(kTwo)})
        layInMelds(t.g, Seat::opponent, t.takeFromStock(f), kSix);
    const GameState before = t.g;

    exchangeSeats(t.g);
    const GameState& g = t.g;
    ASSERT_EQ(g.playerHand.count, 2);
    EXPECT_EQ(g.playerHand.places()[1].face, kJoker);
    // Laid as the player's hand: in its rank column, one step below the row.
    EXPECT_EQ(columnOf(g.playerHand.places()[0].x, t.game.layout), kNine);
    EXPECT_EQ(g.playerHand.places()[0].y, t.game.layout.playerHandY + kColumnStep);
    ASSERT_EQ(g.opponentHand.count, 3);
    EXPECT_EQ(g.opponentHand.places()[2].face, face(kKing, kHearts));
    EXPECT_EQ(g.opponentHand.places()[2].y, kOpponentHandY);
    EXPECT_EQ(columnCount(g.opponentMelds, kQueen, t.game.layout), 3);
    EXPECT_EQ(columnCount(g.playerMelds, kSix, t.game.layout), 3);
    // The mirrored melds stand where the opponent lays its own: above its row.
    EXPECT_LT(g.opponentMelds.places()[0].y, t.game.layout.opponentMeldsY);
    EXPECT_EQ(g.opponentMeldPoints, 30);
    EXPECT_EQ(g.playerTotal, 3400);
    EXPECT_EQ(g.opponentTotal, 1200);
    EXPECT_EQ(g.promptState, kPromptOpponentsTurn);
    EXPECT_EQ(g.opponentPromptState, kPromptMeldOrDiscard);
    EXPECT_EQ(g.wentOut, 1);
    EXPECT_EQ(g.playerSeatAi.baitRank, 7);
    EXPECT_TRUE(t.game.isConsistent());

    exchangeSeats(t.g);
    EXPECT_EQ(firstDifference(before, t.g), "");
}

TEST(SeatExchange, FirstDifferenceNamesThePileCardOrField) {
    Table t;
    t.clearTable();
    t.hand({face(kKing), face(kFive)});
    const GameState a = t.g;

    GameState b = a;
    EXPECT_EQ(firstDifference(a, b), "");
    b.playerHand.places()[1].y += 1;
    EXPECT_EQ(firstDifference(a, b).rfind("playerHand card 1: ", 0), 0u) << firstDifference(a, b);
    b = a;
    b.playerMelds.columnPos[4].y += kColumnStep;
    EXPECT_EQ(firstDifference(a, b).rfind("playerMelds column 4 position", 0), 0u);
    b = a;
    b.opponentVelnoras.velnoraKind[9] = kMixed;
    EXPECT_EQ(firstDifference(a, b), "opponentVelnoras.velnoraKind[9]: 0 / 1");
    b = a;
    b.hasDrawn = 1;
    b.opponentTotal = 5;
    EXPECT_EQ(firstDifference(a, b), "opponentTotal: 0 / 5");
    b = a;
    b.playerSeatAi.meldPlan = 2;
    EXPECT_EQ(firstDifference(a, b), "playerSeatAi.meldPlan: 0 / 2");
}
