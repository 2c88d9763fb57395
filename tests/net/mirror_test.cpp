#include "match_record.h"
#include "mirror_match.h"
#include "played_match.h"
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

// Each copy records the match from its own seat: the same deals and the same moves in the same
// order, with the seats exchanged, and the same scores.
TEST(MirroredPlay, BothCopiesRecordTheSameMatchWithTheSeatsExchanged) {
    std::array<net::MatchRecorder, 2> recorders;
    std::array<net::MatchRecord, 2> finished;
    for (std::size_t i = 0; i < 2; ++i)
        recorders[i].onMatchStarted = [&finished, i](const net::MatchRecord& r) {
            if (finished[i].hands.empty()) finished[i] = r;
        };
    MirrorOptions opts;
    opts.seed = 5;
    opts.extras = false; // a table sent mid-hand is no move of a record
    opts.listeners = {&recorders[0], &recorders[1]};
    const auto r = playMirroredMatches(opts);
    ASSERT_EQ(r.failure, "");
    const net::MatchRecord& a = finished[0];
    const net::MatchRecord& b = finished[1];
    ASSERT_GT(a.hands.size(), 1u);
    ASSERT_EQ(a.hands.size(), b.hands.size());
    const auto other = [](Seat s) { return s == Seat::player ? Seat::opponent : Seat::player; };
    for (std::size_t h = 0; h < a.hands.size(); ++h) {
        const net::RecordedHand& x = a.hands[h];
        const net::RecordedHand& y = b.hands[h];
        EXPECT_EQ(x.deal.order, y.deal.order) << h;
        EXPECT_NE(x.deal.dealtHere, y.deal.dealtHere) << h;
        EXPECT_NE(x.deal.playerStarts, y.deal.playerStarts) << h;
        EXPECT_EQ(x.deal.playerTotal, y.deal.opponentTotal) << h;
        ASSERT_EQ(x.moves.size(), y.moves.size()) << h;
        for (std::size_t m = 0; m < x.moves.size(); ++m) {
            EXPECT_EQ(x.moves[m].seat, other(y.moves[m].seat)) << h << "/" << m;
            EXPECT_EQ(x.moves[m].move, y.moves[m].move) << h << "/" << m;
        }
        EXPECT_EQ(x.player, y.opponent) << h;
        EXPECT_EQ(x.opponent, y.player) << h;
        // Each copy's record replays on its own.
        for (const net::RecordedHand* hand : {&x, &y}) {
            test::HeadlessTable t(hand->deal.rules);
            t.game.setDealsAfterScoring(false);
            std::string why;
            EXPECT_TRUE(net::replayHand(t.game, *hand, why)) << h << ": " << why;
        }
    }
}

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
