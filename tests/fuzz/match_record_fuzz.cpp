// libFuzzer target for the match record loader: any byte string is read back or refused,
// never a crash; a record that reads is replayed into a game (a refused move ends the replay),
// which must stay whole, and writing it again and reading that gives the same record.

#include "match_record.h"
#include "quiet_host.h"
#include "rules.h"
#include "settings.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

void require(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velnora;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    net::MatchRecord record;
    std::string why;
    if (!net::parseRecord(text, record, why)) return 0;

    net::MatchRecord again;
    require(net::parseRecord(net::formatRecord(record), again, why), "a written record is refused");
    require(again.hands.size() == record.hands.size(), "a written record lost hands");

    QuietHost host;
    MemorySettings settings;
    saveRules(settings, record.rules);
    Random rng(1);
    Game game(host, settings, rng);
    game.rules = record.rules;
    game.options.showTurns = false;
    game.setDealsAfterScoring(false);
    // A few hands are enough to reach every kind of move; a long hostile record would only
    // slow the run.
    for (std::size_t h = 0; h < record.hands.size() && h < 4; ++h) {
        try {
            if (!net::replayHand(game, record.hands[h], why)) break;
        } catch (const InternalError&) {
            break; // the quiet host stops play on a fault it would otherwise show
        }
        std::string reason;
        if (!game.isConsistent(&reason)) {
            std::fprintf(stderr, "after hand %zu: %s\n", h + 1, reason.c_str());
            std::abort();
        }
    }
    return 0;
}
