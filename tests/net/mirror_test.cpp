#include "mirror_match.h"
#include "staged_table.h"

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

namespace {
using velnora::test::faceOf;
constexpr int kTwo = 1, kFive = 4, kSeven = 6, kNine = 8, kTen = 9, kJack = 10, kQueen = 11;
constexpr int kAce = 13;
using velnora::test::kClubs;
using velnora::test::kDiamonds;
using velnora::test::kHearts;
using velnora::test::kSpades;
} // namespace

// Scripted turns where the two copies' bookkeeping used to part: the undo of the natural that
// completed an eight-card velnora, and a pile take whose rest is melded while the other copy
// watches. After every move the tables agree with the seats exchanged.
TEST(MirroredScript, AnUndoneEightCardVelnoraAndAWatchedPileTakeStayMirrored) {
    velnora::test::MirroredPair pair;
    velnora::test::StagedTable t;
    t.playerHand = {faceOf(kTwo, kClubs), faceOf(kTen, kHearts), faceOf(kNine, kDiamonds),
                    faceOf(kSeven, kHearts), faceOf(kFive, kSpades)};
    t.playerMelds = {{kTen,
                      {faceOf(kTen, kSpades), faceOf(kTen, kClubs), faceOf(kTen, kDiamonds),
                       kJokerFace, kJokerFace, faceOf(kTwo, kSpades)}}};
    t.opponentHand = {faceOf(kNine, kSpades), faceOf(kNine, kHearts), faceOf(kFive, kHearts),
                      faceOf(kFive, kDiamonds), faceOf(kQueen, kClubs)};
    t.opponentMelds = {
        {kAce, {faceOf(kAce, kSpades), faceOf(kAce, kClubs), faceOf(kAce, kDiamonds)}}};
    t.pile = {faceOf(kJack, kSpades), faceOf(kFive, kClubs)};
    t.stockNext = {faceOf(kSeven, kSpades)};
    velnora::test::stageTable(pair.a.game, t);
    pair.a.session.sendTable();
    ASSERT_TRUE(pair.settle());
    ASSERT_EQ(pair.difference(), "");

    const GameState& a = pair.a.game.state;
    const GameState& b = pair.b.game.state;
    struct Step {
        bool byA;
        Move move;
    };
    const std::vector<Step> script = {
        {true, Move::of(MoveKind::draw)},
        {true, Move::meldWildcardAt(faceOf(kTwo, kClubs), kTen)}, // seven cards, three naturals
        {true, Move::withFace(MoveKind::meld, faceOf(kTen, kHearts))}, // the velnora
        {true, Move::undoMeldAt(kTen, faceOf(kTen, kHearts))},
        {true, Move::undoMeldAt(kTen, faceOf(kTwo, kClubs))},
        {true, Move::withFace(MoveKind::discard, faceOf(kNine, kDiamonds))},
        {false, Move::of(MoveKind::takeTopCard)},
        {false, Move::withFace(MoveKind::meld, faceOf(kNine, kSpades))},
        {false, Move::withFace(MoveKind::meld, faceOf(kNine, kHearts))}, // the rest comes
        {false, Move::withFace(MoveKind::meld, faceOf(kFive, kHearts))},
        {false, Move::withFace(MoveKind::meld, faceOf(kFive, kDiamonds))},
        {false, Move::withFace(MoveKind::meld, faceOf(kFive, kClubs))}, // from the pile's rest
        {false, Move::withFace(MoveKind::discard, faceOf(kQueen, kClubs))},
    };
    for (std::size_t n = 0; n < script.size(); ++n) {
        SCOPED_TRACE("move " + std::to_string(n));
        Game& mover = script[n].byA ? pair.a.game : pair.b.game;
        const MoveResult r = mover.applyPlayerMove(script[n].move);
        ASSERT_TRUE(r.accepted) << r.why;
        ASSERT_TRUE(pair.settle());
        ASSERT_EQ(pair.difference(), "");
        if (n == 2) {
            ASSERT_EQ(a.playerVelnoras.velnoraCount, 1);
            ASSERT_EQ(b.opponentVelnoras.velnoraCount, 1);
        }
        if (n == 3) {
            EXPECT_EQ(b.opponentVelnoras.velnoraCount, 0);
        }
    }
    // B melded the three fives, one of them from the pile's rest, and A saw each.
    EXPECT_EQ(columnCount(a.opponentMelds, kFive, pair.a.game.layout), 3);
    EXPECT_EQ(b.discardPile.top().face, faceOf(kQueen, kClubs));
}
