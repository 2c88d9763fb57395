#include "ai_common.h"
#include "recording_host.h"
#include "scoring.h"
#include "seat_driver.h"

#include <gtest/gtest.h>

#include <string>

using namespace velnora;
using namespace velnora::ai;

namespace {

// Checks the table every time the computer pauses after a card, whichever seat it plays.
class CheckingHost : public test::RecordingHost {
public:
    const Game* game = nullptr;
    std::string failure;
    int checks = 0;
    void pause(int ms) override {
        RecordingHost::pause(ms);
        check("while a level melds");
    }
    void check(const char* when) {
        std::string why;
        ++checks;
        if (failure.empty() && game && !game->isConsistent(&why))
            failure = std::string(when) + ": " + why + "\n" + toString(game->state);
    }
};

struct SeatMatch {
    CheckingHost host;
    MemorySettings settings;
    Random rng;
    Game game{host, settings, rng};
    LevelDriver opponent;
    int playerTurns = 0;

    SeatMatch(int playerLevel, int opponentLevel, std::uint64_t seed, const RuleSettings& rules)
        : rng(seed), opponent(opponentLevel) {
        host.game = &game;
        game.rules = rules;
        saveRules(settings, rules);
        game.options.showTurns = false;
        game.setOpponentDriver(&opponent);
        game.state.playerStartsHand = static_cast<std::uint8_t>(rng(2));
        game.newGame();
        host.check("after the deal");
        while (host.gameOvers.empty() && host.failure.empty() && playerTurns < 2000) {
            if (!playPlayerSeatTurn(game, playerLevel)) break;
            ++playerTurns;
            host.check("after a turn of both seats");
        }
    }
};

} // namespace

TEST(SeatDriver, LevelsOnBothSeatsPlayWholeMatchesToTheEnd) {
    for (int playerLevel : {0, 1, 2}) {
        const int opponentLevel = (playerLevel + 1) % 3;
        const RuleSettings rules = playerLevel == 1 ? hoyleRules() : RuleSettings{};
        SeatMatch m(playerLevel, opponentLevel, 300 + static_cast<std::uint64_t>(playerLevel),
                    rules);
        EXPECT_EQ(m.host.failure, "");
        EXPECT_EQ(m.host.fatal, "");
        ASSERT_EQ(m.host.gameOvers.size(), 1u) << "levels " << playerLevel << ":" << opponentLevel
                                               << " after " << m.playerTurns << " turns\n"
                                               << toString(m.game.state);
        const MatchReport& end = m.host.gameOvers.front();
        EXPECT_TRUE(end.playerTotal >= kMatchTarget || end.opponentTotal >= kMatchTarget);
        EXPECT_GT(m.host.checks, 100);
        // Both seats melded, so the level on the player seat really played.
        int playerMelded = 0;
        for (const HandReport& r : m.host.scorings)
            playerMelded += r.player.total() != 0;
        EXPECT_GT(playerMelded, 0);
    }
}

TEST(SeatDriver, RefusesWhenTheTableDoesNotWaitForThePlayersDraw) {
    test::RecordingHost host;
    MemorySettings settings;
    Random rng(5);
    Game game(host, settings, rng);
    LevelDriver opponent(0);
    game.setOpponentDriver(&opponent);
    game.options.showTurns = false;
    game.state.playerStartsHand = 1;
    game.newGame();
    game.drawFromStock();
    const GameState before = game.state;
    EXPECT_FALSE(playPlayerSeatTurn(game, 2));
    EXPECT_EQ(game.state, before);
}
