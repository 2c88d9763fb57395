// Writes saved games of real play into a folder: seeded matches of the autoplayer against the
// computer, saved at several moments of the player's turns. The fuzz target's seed corpus
// comes from here. Usage: save-corpus <folder> [games] [seed]

#include "ai_common.h"
#include "autoplayer.h"
#include "game_io.h"
#include "recording_host.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace velnora;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: save-corpus <folder> [games] [seed]\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const int games = argc > 2 ? std::atoi(argv[2]) : 8;
    const std::uint64_t seed = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 1;
    std::filesystem::create_directories(folder);
    int written = 0;
    for (int n = 0; n < games; ++n) {
        test::RecordingHost host;
        MemorySettings settings;
        Random rng(seed + static_cast<std::uint64_t>(n));
        Game game(host, settings, rng);
        game.layout = computeLayout(n % kTableSizes);
        game.options.computerLevel = n % 3;
        game.options.meldDelay = 0;
        ai::ComputerDriver driver;
        game.setOpponentDriver(&driver);
        ai::AutoPlayer player(game, seed * 31 + static_cast<std::uint64_t>(n));
        game.newGame();
        // Save after a few turns into the hand, and once more in the middle of a turn.
        for (int turn = 0; turn < 6 * (n + 1) && !host.closed; ++turn) {
            int actions = 0;
            player.playTurn([&] {
                if (++actions == 2 && turn % 3 == 1) {
                    const auto file = folder / ("mid" + std::to_string(written) + ".vel");
                    if (saveGame(game, true, file) == SaveOutcome::saved) ++written;
                }
            });
        }
        if (host.closed) continue;
        const auto file = folder / ("game" + std::to_string(written) + ".vel");
        if (saveGame(game, true, file) == SaveOutcome::saved) ++written;
    }
    std::printf("%d saved games written to %s\n", written, folder.c_str());
    return 0;
}
