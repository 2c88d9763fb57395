#include "ai_common.h"
#include "autoplayer.h"
#include "recording_host.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using namespace velnora;
using namespace velnora::ai;

namespace {

struct MatchResult {
    std::uint64_t signature = 0;
    int hands = 0;
    bool ended = false;
    int playerWentOut = 0;
    std::string failure;
};

std::uint64_t fnv(std::uint64_t h, const std::string& text) {
    for (unsigned char ch : text) {
        h ^= ch;
        h *= 0x100000001b3ULL;
    }
    return h;
}

// Plays the autoplayer against a level until the match ends or maxHands hands are scored,
// checking the table after every action.
MatchResult playMatch(int level, std::uint64_t seed, int maxHands, const RuleSettings& rules) {
    MatchResult out;
    test::RecordingHost host;
    MemorySettings settings;
    Random rng(seed);
    Game game(host, settings, rng);
    game.rules = rules;
    saveRules(settings, rules);
    game.options.computerLevel = level;
    game.options.showTurns = false;
    ComputerDriver driver;
    game.setOpponentDriver(&driver);
    AutoPlayer player(game, seed + 17);
    auto check = [&] {
        std::string why;
        if (out.failure.empty() && !game.isConsistent(&why))
            out.failure = why + "\n" + toString(game.state);
    };
    game.newGame();
    for (int turn = 0; turn < 3000 && host.gameOvers.empty() && out.failure.empty(); ++turn) {
        if (static_cast<int>(host.scorings.size()) >= maxHands) break;
        player.playTurn(check);
    }
    out.ended = !host.gameOvers.empty();
    out.hands = static_cast<int>(host.scorings.size());
    std::uint64_t h = 0xcbf29ce484222325ULL;
    for (const HandReport& r : host.scorings) {
        for (int v : r.player.v)
            h = fnv(h, std::to_string(v) + ",");
        for (int v : r.opponent.v)
            h = fnv(h, std::to_string(v) + ";");
        if (r.player.v[9] > 0) ++out.playerWentOut;
    }
    out.signature = fnv(h, toString(game.state));
    for (const std::string& m : host.messages)
        if (m.find("Internal Failure") != std::string::npos ||
            m.find("Meld error") != std::string::npos ||
            m.find("error occurred") != std::string::npos)
            out.failure += "message: " + m + "\n";
    if (!host.fatal.empty()) out.failure += "fatal: " + host.fatal;
    return out;
}

} // namespace

TEST(AutoPlay, TheSameSeedPlaysTheSameGame) {
    for (int level : {0, 1, 2}) {
        const MatchResult a = playMatch(level, 99, 2, RuleSettings{});
        const MatchResult b = playMatch(level, 99, 2, RuleSettings{});
        const MatchResult c = playMatch(level, 100, 2, RuleSettings{});
        EXPECT_TRUE(a.failure.empty()) << a.failure;
        EXPECT_EQ(a.hands, 2);
        EXPECT_EQ(a.signature, b.signature) << level;
        EXPECT_NE(a.signature, c.signature) << level;
    }
}

TEST(AutoPlay, WholeMatchesEndConsistentlyUnderBothRuleSets) {
    int playerOuts = 0;
    for (const RuleSettings& rules : {RuleSettings{}, hoyleRules()}) {
        for (int level : {0, 1, 2}) {
            const MatchResult r =
                playMatch(level, 7 + static_cast<std::uint64_t>(level), 100, rules);
            EXPECT_TRUE(r.failure.empty()) << r.failure;
            EXPECT_TRUE(r.ended) << "level " << level << " after " << r.hands << " hands";
            playerOuts += r.playerWentOut;
        }
    }
    // The autoplayer is plain, but it does go out now and then.
    EXPECT_GT(playerOuts, 0);
}
