// libFuzzer target for the saved-game loader: any byte string must either load into a
// consistent game or be refused, never crash or read out of bounds. A game that loads is
// also played on for a few turns by the autoplayer and the computer, so that values which
// only go wrong in play (totals, minimums, take counts) are reached too.

#include "ai_common.h"
#include "autoplayer.h"
#include "game_io.h"
#include "recording_host.h"
#include "rules.h"
#include "saved_game.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

constexpr int kPlayerTurns = 3;

// Stops the run with the reason, so a crash file explains itself.
void requireConsistent(const velnora::Game& game, const char* when) {
    std::string why;
    if (game.isConsistent(&why)) return;
    std::fprintf(stderr, "%s: %s\n%s\n", when, why.c_str(), velnora::toString(game.state).c_str());
    std::abort();
}

// Computer turns stop being played once the budget is spent, so a match cannot run on.
struct LimitedComputer : velnora::OpponentDriver {
    velnora::ai::ComputerDriver computer;
    int turnsLeft = kPlayerTurns + 1;
    void startTurn(velnora::Game& game) override {
        if (turnsLeft-- <= 0) return;
        computer.startTurn(game);
        requireConsistent(game, "after a computer turn");
    }
};

void playOn(const velnora::savegame::LoadResult& loaded, std::uint64_t seed) {
    using namespace velnora;
    test::RecordingHost host;
    MemorySettings settings;
    Random rng(seed);
    Game game(host, settings, rng);
    game.options.showTurns = false;
    game.options.computerLevel = static_cast<int>(seed % 3);
    if (seed & 4) game.rules = hoyleRules();
    // Half the time at another table size, so that the loaded cards are laid out anew.
    game.layout =
        computeLayout(seed & 8 ? static_cast<int>(seed >> 4) % kTableSizes : loaded.sizeIndex);
    LimitedComputer computer;
    game.setOpponentDriver(&computer);
    adoptLoadedGame(game, loaded); // as the Load menu and the resume at start-up do
    requireConsistent(game, "after the load");
    ai::AutoPlayer player(game, seed);
    for (int turn = 0; turn < kPlayerTurns && !host.closed && host.fatal.empty(); ++turn)
        player.playTurn([&game] { requireConsistent(game, "after a player action"); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velnora;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    savegame::LoadResult r = savegame::decode(text, GameState{});
    if (r.error == savegame::LoadError::none) {
        // What the loader accepts must satisfy the engine's invariants and save again.
        if (!isConsistent(r.state, computeLayout(r.sizeIndex))) std::abort();
        int key = 0;
        std::string again = savegame::encode(r.state, r.sizeIndex, [&key] { return key++ % 1000; });
        if (savegame::decode(again, GameState{}).error != savegame::LoadError::none) std::abort();
        playOn(r, size);
    }
    return 0;
}
