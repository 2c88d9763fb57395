#include "ai_table.h"

#include <gtest/gtest.h>

using namespace velnora;
using namespace velnora::test;
using namespace velnora::ai;

namespace {
constexpr int kQueens[] = {face(kQueen, 0), face(kQueen, 1), face(kQueen, 2), face(kQueen, 3)};

// Four queens and two fours in hand; three more queens and a four on the pile, so a velnora of
// queens is within reach. Whether the pile is taken depends on the first meld alone.
void queensTable(AiTable& t, bool withAces) {
    t.opponentHand(
        {face(kFour, 0), face(kFour, 1), kQueens[0], kQueens[1], kQueens[2], kQueens[3]});
    if (withAces) t.opponentHand({face(kRankAce, 0), face(kRankAce, 1), face(kRankAce, 2)});
    t.discardPile({kQueens[0], kQueens[1], kQueens[2], face(kFour, 2)});
    t.stockTop({face(kNine)});
    t.hand({face(kFive), face(kSix)});
}
} // namespace

TEST(Beginner, LeavesTheFoursWhenItsNaturalsCannotMakeTheFirstMeld) {
    AiTable t;
    queensTable(t, false); // 40 points of queens and no wild card against 50
    const int stock = t.g.stock.count;
    beginnerTurn(t.game);
    EXPECT_EQ(t.g.stock.count, stock - 1);
    EXPECT_EQ(t.g.discardPile.count, 5);
    EXPECT_EQ(t.g.opponentMelds.count, 0);
    EXPECT_EQ(t.g.opponentHand.count, 6);
    EXPECT_CONSISTENT(t.game);
}

TEST(Beginner, TakesThePileForAVelnoraWhenTheFirstMeldIsCovered) {
    AiTable t;
    queensTable(t, true); // the aces bring the naturals to 100
    const int stock = t.g.stock.count;
    beginnerTurn(t.game);
    EXPECT_EQ(t.g.stock.count, stock); // no draw
    // The fours meld with the top card; the queens reach the minimum and, with the pile's
    // queens, make a natural velnora. Of three aces the first is discarded.
    EXPECT_EQ(t.opponentColumn(kFour), 3);
    EXPECT_EQ(t.opponentColumn(kQueen), 7);
    EXPECT_EQ(t.g.opponentVelnoras.velnoraCount, 1);
    EXPECT_EQ(t.g.opponentVelnoras.velnoraKind[kQueen], kNaturalVelnora);
    ASSERT_EQ(t.g.discardPile.count, 1);
    EXPECT_EQ(t.pileTop().rank(), kRankAce);
    EXPECT_EQ(t.g.opponentHand.count, 2);
    EXPECT_EQ(t.g.pileFrozen, 0);
    EXPECT_CONSISTENT(t.game);
}

TEST(Beginner, AFirstMeldFromThePileReachesTheMinimumWithTheWildCardsItCounted) {
    AiTable t;
    t.g.opponentTotal = 3000; // minimum 120
    // Kings and aces make 90, the three twos 60 more; the pile's ace brings a velnora in reach.
    t.opponentHand({face(kFive), face(kFive, 1), face(kKing), face(kKing, 1), face(kKing, 2),
                    face(kRankAce), face(kRankAce, 1), face(kRankAce, 2), face(kRankTwo),
                    face(kRankTwo, 1), face(kRankTwo, 2)});
    t.discardPile({face(kRankAce, 3), face(kFive, 2)});
    t.stockTop({face(kSix)});
    const int stock = t.g.stock.count;
    beginnerTurn(t.game);
    EXPECT_EQ(t.g.stock.count, stock); // the pile was taken
    EXPECT_EQ(t.opponentColumn(kFive), 3);
    // Fives 15, kings 30, aces 60 and a two on top; the rest of the hand cannot finish a velnora.
    EXPECT_EQ(t.g.opponentMeldPoints, 125);
    EXPECT_CONSISTENT(t.game);
}

TEST(Beginner, DiscardsAThreeFirstWhenOnlyWildCardsAndThreesAreLeft) {
    AiTable t;
    t.opponentHand({kJoker, face(kRankTwo), kBlackThree});
    t.stockTop({kBlackThree2});
    t.discardPile({face(kNine)});
    beginnerTurn(t.game);
    EXPECT_EQ(t.pileTop().face, kBlackThree);
    EXPECT_EQ(t.g.pileFrozen, 0); // a black three blocks without freezing
    EXPECT_EQ(t.g.opponentHand.count, 3);
}

TEST(Beginner, BlocksThePileWhenThePlayerIsCloseToAVelnoraOfItsRank) {
    for (int playerFives : {5, 4}) {
        AiTable t;
        t.game.rules.initialBlock = false; // not frozen for the computer
        for (int i = 0; i < playerFives; ++i)
            t.melds(kFive, {face(kFive, i % 4)});
        t.opponentHand({face(kFive, 1), face(kRankTwo), face(kKing), face(kKing, 1)});
        t.stockTop({face(kQueen)});
        t.discardPile({face(kNine)});
        beginnerTurn(t.game);
        if (playerFives == 5) {
            EXPECT_EQ(t.pileTop().face, face(kRankTwo)); // no three to block with: a two
            EXPECT_EQ(t.g.pileFrozen, 1);
        } else {
            EXPECT_EQ(t.pileTop().face, face(kQueen)); // the lowest safe single
            EXPECT_EQ(t.g.pileFrozen, 0);
        }
    }
}

TEST(Beginner, NeverFeedsAPlayerMeldOfSix) {
    AiTable t;
    for (int i = 0; i < 6; ++i)
        t.melds(kFive, {face(kFive, i % 4)});
    t.opponentHand({face(kFive, 2), face(kKing), face(kKing, 1)});
    t.stockTop({face(kKing, 2)});
    t.discardPile({face(kNine)});
    beginnerTurn(t.game);
    // The five is the only single, but a sixth five on the player's side is one from a velnora.
    EXPECT_EQ(t.pileTop().rank(), kKing);
    EXPECT_GE(findInHand(t.game, kFive), 0);
}

TEST(Beginner, GoesOutWithAPairAndAWildCard) {
    AiTable t;
    t.opponentMeldRun(kKing, 7); // a natural velnora
    t.g.opponentMeldPointsAtTurnStart = t.g.opponentMeldPoints;
    t.opponentHand({face(kQueen), face(kQueen, 1)});
    t.stockTop({kJoker});
    t.discardPile({face(kNine)});
    t.hand({face(kFive), face(kSix), face(kSeven)});
    beginnerTurn(t.game);
    // Nothing is left to discard; the hand ends with the computer out.
    ASSERT_EQ(t.host.scorings.size(), 1u);
    const HandScore& s = t.host.scorings[0].opponent;
    EXPECT_EQ(s.v[2], 0);   // no cards in hand
    EXPECT_EQ(s.v[0], 10);  // seven kings, two queens and the joker
    EXPECT_EQ(s.v[1], 140); // 70 + 20 + 50
    EXPECT_EQ(s.v[5], 500); // natural velnora
    EXPECT_EQ(s.v[9], 100); // went out after melding earlier
}

TEST(Beginner, WaitsForTwoVelnorasBeforeGoingOut) {
    AiTable t;
    t.game.rules.velnorasToGoOut = 2;
    t.opponentMeldRun(kKing, 7);
    t.opponentHand({face(kQueen), face(kQueen, 1)});
    t.stockTop({kJoker});
    t.discardPile({face(kNine)});
    beginnerTurn(t.game);
    // With one velnora of two nothing more is laid; the pair is broken for the discard.
    EXPECT_TRUE(t.host.scorings.empty());
    EXPECT_EQ(t.opponentColumn(kQueen), 0);
    EXPECT_EQ(t.pileTop().rank(), kQueen);
    EXPECT_EQ(t.g.opponentHand.count, 2);
}
