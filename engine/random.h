#pragma once
// The game's one random generator: our own fixed algorithm (xoshiro256** seeded through
// splitmix64), so the same seed deals the same game with every standard library.

#include <cstdint>

namespace velnora {

class Random {
public:
    explicit Random(std::uint64_t seed = 1) { reseed(seed); }

    void reseed(std::uint64_t seed);
    std::uint64_t next();
    // Uniform integer in 0..n-1; Random(0) and negative n give 0.
    int operator()(int n);
    // Uniform real in [0, 1).
    double uniform();

private:
    std::uint64_t s_[4]{};
};

// A seed taken from the clock, for the program itself; tests and the bench never use it.
std::uint64_t clockSeed();

} // namespace velnora
