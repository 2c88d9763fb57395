// libFuzzer target for the saved-game loader: any byte string must either load into a
// consistent game or be refused, never crash or read out of bounds.

#include "saved_game.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

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
    }
    return 0;
}
