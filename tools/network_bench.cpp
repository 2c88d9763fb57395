#include "network_bench.h"

#include "mirror_match.h"

#include <chrono>
#include <cstdio>

namespace velnora::bench {

namespace {
constexpr int kMatchesPerConnection = 10;
} // namespace

int runNetwork(std::uint64_t seed, int matches) {
    long hands = 0, actions = 0;
    int played = 0, mismatches = 0, failures = 0, stalls = 0, tables = 0, undoPiles = 0;
    std::string firstFailure;
    const auto start = std::chrono::steady_clock::now();
    for (int run = 0; played < matches; ++run) {
        test::MirrorOptions opts;
        opts.seed = seed + static_cast<std::uint64_t>(run);
        opts.matches = std::min(kMatchesPerConnection, matches - played);
        // Keep playing after a mismatch: the bench counts them, the table is sent to mend it.
        opts.stopAtMismatch = false;
        const test::MirrorResult r = test::playMirroredMatches(opts);
        played += r.matches;
        hands += r.hands;
        actions += r.actions;
        mismatches += r.mismatches;
        stalls += r.stalledHands;
        tables += r.tablesSent;
        undoPiles += r.undoPiles;
        if (!r.failure.empty()) {
            ++failures;
            if (firstFailure.empty()) firstFailure = r.failure;
        }
        if (r.matches < opts.matches) break; // a run that could not finish its matches
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("network: %d matches, %ld hands, %ld actions in %.2f s: %.1f matches/s, "
                "%.0f actions/s\n",
                played, hands, actions, seconds, played / seconds, actions / seconds);
    std::printf("network: %d mismatches, %d runs with a failure, %d stalled hands restarted, "
                "%d tables sent, %d pile takes given back\n",
                mismatches, failures, stalls, tables, undoPiles);
    if (!firstFailure.empty())
        std::printf("first failure: %s\n", firstFailure.substr(0, 2000).c_str());
    return played < matches ? failures + 1 : failures;
}

} // namespace velnora::bench
