#pragma once
// velnora-bench --network: two copies play whole matches against each other over a loopback
// connection through the wire codec, and the bench prints matches per second and how often
// the two tables disagreed.

#include <cstdint>

namespace velnora::bench {

// Plays `matches` matches in runs of ten, one connection per run; returns the mismatches and
// other failures found (0 when the copies always agreed).
int runNetwork(std::uint64_t seed, int matches);

} // namespace velnora::bench
