#include "mirror_match.h"

#include <gtest/gtest.h>

using namespace velnora;
using velnora::test::MirrorOptions;
using velnora::test::playMirroredMatches;

namespace {
constexpr int kSeeds = 10;
constexpr int kMatchesPerSeed = 10;
} // namespace

// Whole matches between two copies over a real loopback connection; after every action copy A
// equals copy B with the seats exchanged.
class MirroredPlay : public ::testing::TestWithParam<int> {};

TEST_P(MirroredPlay, TwoCopiesStayMirroredThroughWholeMatches) {
    MirrorOptions opts;
    opts.seed = static_cast<std::uint64_t>(GetParam()) * 7919 + 11;
    opts.matches = kMatchesPerSeed;
    const auto r = playMirroredMatches(opts);
    EXPECT_EQ(r.failure, "");
    EXPECT_EQ(r.mismatches, 0);
    EXPECT_EQ(r.matches, kMatchesPerSeed);
    // Every match carried chat both ways and a new game.
    EXPECT_EQ(r.chatsChecked, kMatchesPerSeed);
    EXPECT_EQ(r.newGames, kMatchesPerSeed);
    EXPECT_GT(r.tablesSent, 0);
    EXPECT_GT(r.undoPiles, 0);
    EXPECT_EQ(r.adoptedRules, 1);
}

INSTANTIATE_TEST_SUITE_P(Seeds, MirroredPlay, ::testing::Range(0, kSeeds));
