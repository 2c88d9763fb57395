#include "random.h"

#include <chrono>

namespace velnora {

namespace {
std::uint64_t splitmix64(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}
} // namespace

void Random::reseed(std::uint64_t seed) {
    std::uint64_t x = seed;
    for (auto& s : s_)
        s = splitmix64(x);
}

double Random::uniform() {
    return static_cast<double>(next() >> 11) * 0x1.0p-53;
}

std::uint64_t clockSeed() {
    return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count() ^
                                      std::chrono::system_clock::now().time_since_epoch().count());
}

} // namespace velnora
