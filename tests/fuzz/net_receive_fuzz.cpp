// libFuzzer target for the network receive path: any byte stream from a partner, split into
// reads anywhere, is applied to a live game whose own player is played by the autoplayer.
// The table must stay whole after every read and every turn; nothing may crash or hang.
// The corpus holds streams a real partner sent, so mutations start from a game in play.

#include "mirror_match.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

constexpr int kMaxTurns = 40;

void requireConsistent(const velnora::Game& game, const char* when) {
    std::string why;
    if (game.isConsistent(&why)) return;
    std::fprintf(stderr, "%s: %s\n%s\n", when, why.c_str(), velnora::toString(game.state).c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velnora;
    if (size < 1) return 0;
    // The same seed and name as the client copy of the mirrored-play harness (seed 1), so a
    // recorded stream replays the game it came from.
    test::MirrorCopy copy(4, -1);
    copy.game.options.playerName = "Bj\xC3\xB8rn";
    copy.adoptDifferingRules = true;
    // The program always has a table: a local hand is dealt before any connection.
    copy.game.dealHand();
    copy.session.connectionOpened(net::NetRole::client, copy.game.options.playerName);

    // The first byte sets how the stream is cut into reads.
    Random cuts(data[0]);
    const std::string_view stream(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::size_t at = 0;
    std::int64_t now = 0;
    int turns = 0;
    while (at < stream.size()) {
        const std::size_t n = 1 + static_cast<std::size_t>(cuts(cuts(2) ? 8 : 600));
        copy.session.receive(stream.substr(at, n), now += 250);
        at += n;
        if (copy.dispatchDue) {
            copy.dispatchDue = false;
            copy.session.dispatchPending();
        }
        requireConsistent(copy.game, "after a read");
        if (copy.game.options.networkGame && copy.player.isPlayersTurn() && turns < kMaxTurns) {
            ++turns;
            copy.player.playTurn();
            requireConsistent(copy.game, "after a turn");
        }
        copy.session.dropStalePartial(now);
    }
    return 0;
}
