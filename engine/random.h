#pragma once
// The game's one random generator: our own fixed algorithm (xoshiro256** seeded through
// splitmix64), so the same seed deals the same game with every standard library.

#include <cstdint>

namespace velnora {

class Random {
public:
    explicit Random(std::uint64_t seed = 1) { reseed(seed); }

    void reseed(std::uint64_t seed);
    // Defined here rather than out of line: shuffles call it hundreds of times per deal, and
    // with a constant n the compiler turns both divisions into multiplications.
    std::uint64_t next() {
        const std::uint64_t result = rotl(s_[1] * 5, 7) * 9;
        const std::uint64_t t = s_[1] << 17;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = rotl(s_[3], 45);
        return result;
    }
    // Uniform integer in 0..n-1; Random(0) and negative n give 0.
    int operator()(int n) {
        if (n <= 0) return 0;
        // Rejection sampling keeps every value equally likely.
        const std::uint64_t range = static_cast<std::uint64_t>(n);
        const std::uint64_t limit = UINT64_MAX - (UINT64_MAX % range);
        std::uint64_t v;
        do {
            v = next();
        } while (v >= limit);
        return static_cast<int>(v % range);
    }
    // Uniform real in [0, 1).
    double uniform();

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::uint64_t s_[4]{};
};

// A seed taken from the clock, for the program itself; tests and the bench never use it.
std::uint64_t clockSeed();

} // namespace velnora
