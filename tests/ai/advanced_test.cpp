#include "ai_table.h"

#include <gtest/gtest.h>

using namespace velnora;
using namespace velnora::test;
using namespace velnora::ai;

TEST(Advanced, SpendsTwoWildCardPairsOnTheFirstMeldOnlyAboveFifty) {
    // Fives and fours with a two each reach 60 against 50 only as two pairs.
    auto table = [](AiTable& t) {
        t.game.rules.naturalPair = false;
        t.opponentHand({face(kFive), face(kFive, 1), face(kFour), face(kFour, 1), face(kRankTwo),
                        face(kRankTwo, 1), face(kSeven), face(kEight), face(kNine), face(kTen),
                        face(kJack), face(kQueen), face(kKing), face(kRankAce)});
        t.stockTop({face(kSix)});
        t.discardPile({kBlackThree});
    };
    AiTable advanced;
    table(advanced);
    advancedTurn(advanced.game);
    EXPECT_EQ(advanced.g.opponentMeldPoints, 0);
    EXPECT_EQ(advanced.g.opponentMelds.count, 0);

    // The Beginner has no such limit.
    AiTable beginner;
    table(beginner);
    beginnerTurn(beginner.game);
    EXPECT_EQ(beginner.g.opponentMeldPoints, 60);
}

TEST(Advanced, AWildCardPairInHandCountsUnderTheNaturalPairRule) {
    AiTable t;
    ASSERT_TRUE(t.game.rules.naturalPair);
    t.g.opponentTotal = 1500; // minimum 90, one pair allowed
    t.opponentHand({face(kRankAce), face(kRankAce, 1), face(kRankAce, 2), face(kKing),
                    face(kKing, 1), kJoker, face(kFour), face(kFive), face(kSix), face(kSeven),
                    face(kEight), face(kNine), face(kTen)});
    t.stockTop({face(kJack)});
    t.discardPile({kBlackThree});
    advancedTurn(t.game);
    // Kings with the joker 70, aces 60.
    EXPECT_EQ(t.g.opponentMeldPoints, 130);
    EXPECT_EQ(t.opponentColumn(kKing), 3);
    EXPECT_EQ(t.opponentColumn(kRankAce), 3);
    EXPECT_CONSISTENT(t.game);
}

TEST(Advanced, ThreeWildCardPairsMakeTheFirstMeldAgainst120) {
    AiTable t;
    t.game.rules.naturalPair = false;
    t.g.opponentTotal = 3000;
    t.opponentHand({face(kKing), face(kKing, 1), face(kQueen), face(kQueen, 1), face(kJack),
                    face(kJack, 1), face(kRankTwo), face(kRankTwo, 1), face(kRankTwo, 2),
                    face(kFour), face(kFive), face(kSix), face(kSeven), face(kEight), face(kNine)});
    t.stockTop({face(kTen)});
    t.discardPile({kBlackThree});
    advancedTurn(t.game);
    EXPECT_EQ(t.g.opponentMeldPoints, 120);
    EXPECT_EQ(t.opponentColumn(kKing), 3);
    EXPECT_EQ(t.opponentColumn(kQueen), 3);
    EXPECT_EQ(t.opponentColumn(kJack), 3);

    // Against 90 only one pair is allowed: nothing is laid.
    AiTable ninety;
    ninety.game.rules.naturalPair = false;
    ninety.g.opponentTotal = 1500;
    ninety.opponentHand({face(kKing), face(kKing, 1), face(kQueen), face(kQueen, 1), face(kJack),
                         face(kJack, 1), face(kRankTwo), face(kRankTwo, 1), face(kRankTwo, 2),
                         face(kFour), face(kFive), face(kSix), face(kSeven), face(kEight),
                         face(kNine)});
    ninety.stockTop({face(kTen)});
    ninety.discardPile({kBlackThree});
    advancedTurn(ninety.game);
    EXPECT_EQ(ninety.g.opponentMeldPoints, 0);
}

TEST(Advanced, TheFirstMeldKeepsSevenCardsInHand) {
    for (bool oneMore : {false, true}) {
        AiTable t;
        t.opponentHand({face(kQueen), face(kQueen, 1), face(kQueen, 2), face(kKing), face(kKing, 1),
                        face(kKing, 2), face(kFour), face(kFive), face(kSix), face(kSeven),
                        face(kEight)});
        if (oneMore) t.opponentHand({face(kTen)});
        t.stockTop({face(kNine)});
        t.discardPile({kBlackThree});
        advancedTurn(t.game);
        // Six cards for 60 points leave six of twelve, or seven of thirteen.
        EXPECT_EQ(t.g.opponentMeldPoints, oneMore ? 60 : 0);
    }
}

namespace {
// The computer has melded three kings and holds a fourth; the pile shows a king on top of
// pileSize - 1 unrelated cards and no velnora is within reach.
bool takesSmallPile(int pileSize, std::uint64_t seed) {
    AiTable t;
    t.rng.reseed(seed);
    t.game.rules.velnoraRequired = true;
    t.opponentMeldRun(kKing, 3);
    t.opponentHand({face(kKing, 3), face(kFive), face(kEight), face(kNine), face(kJack)});
    const int below[] = {face(kFour), face(kSix),   face(kSeven),
                         face(kTen),  face(kQueen), face(kRankAce)};
    for (int i = 0; i < pileSize - 1; ++i)
        t.discardPile({below[i]});
    t.discardPile({face(kKing, 0)});
    advancedTurn(t.game);
    return t.g.discardPile.count == 1; // only its own discard is left on the pile
}
} // namespace

TEST(Advanced, NeverTakesASmallPileWhileItStillNeedsItsVelnora) {
    for (std::uint64_t seed = 1; seed <= 30; ++seed)
        EXPECT_FALSE(takesSmallPile(5, seed)) << seed; // 25 / 25 is never below the draw
    // Six cards: taken with a chance of 1 - 25/36.
    int taken = 0;
    for (std::uint64_t seed = 1; seed <= 60; ++seed)
        taken += takesSmallPile(6, seed) ? 1 : 0;
    EXPECT_GT(taken, 5);
    EXPECT_LT(taken, 40);
}

TEST(Advanced, DiscardsAThreeOntoAPileOfSixOrMore) {
    AiTable t;
    t.opponentHand({face(kFive), face(kSeven), face(kSeven, 1), face(kJack), kBlackThree,
                    face(kQueen), face(kKing)});
    t.stockTop({face(kTen)});
    t.discardPile(
        {face(kFour), face(kSix), face(kEight), face(kFour, 1), face(kSix, 1), face(kNine)});
    advancedTurn(t.game);
    EXPECT_EQ(t.pileTop().face, kBlackThree);
    EXPECT_EQ(t.g.discardPile.count, 7);
}

TEST(Advanced, TheSmallPileScanSkipsARankThePlayerHasSixOf) {
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        AiTable t;
        t.rng.reseed(seed);
        for (int i = 0; i < 6; ++i)
            t.melds(kFive, {face(kFive, i % 4)});
        t.opponentHand({face(kFive, 2), face(kKing), face(kKing, 1)});
        t.stockTop({face(kKing, 2)});
        t.discardPile({face(kNine)});
        advancedTurn(t.game);
        EXPECT_EQ(t.pileTop().rank(), kKing) << seed;
    }
}

TEST(Advanced, LaysEverythingWhenThePlayerHoldsThreeCardsOrFewer) {
    auto lays = [](int playerCards, std::uint64_t seed) {
        AiTable t;
        t.rng.reseed(seed);
        t.opponentMeldRun(kKing, 7);
        t.opponentHand({face(kQueen), face(kQueen, 1), face(kQueen, 2), face(kJack)});
        t.stockTop({face(kFive)});
        t.discardPile({face(kEight)});
        const int cards[] = {face(kFour),    face(kSix),     face(kSeven),   face(kNine),
                             face(kTen),     face(kFour, 1), face(kSix, 1),  face(kSeven, 1),
                             face(kNine, 1), face(kTen, 1),  face(kFour, 2), face(kSix, 2)};
        for (int i = 0; i < playerCards; ++i)
            t.hand({cards[i]});
        advancedTurn(t.game);
        return t.opponentColumn(kQueen) == 3;
    };
    for (std::uint64_t seed = 1; seed <= 20; ++seed)
        EXPECT_TRUE(lays(3, seed)) << seed; // 16 / 10 beats every draw
    int laid = 0;
    for (std::uint64_t seed = 1; seed <= 40; ++seed)
        laid += lays(12, seed) ? 1 : 0; // 16 / 145
    EXPECT_LT(laid, 20);
}

TEST(Advanced, TakesThePileForAFirstMeldWithoutWildCardPairsOnlyAgainstFifty) {
    // The top king makes three kings; the rest of the first meld comes from a queen pair with a
    // joker (not allowed against 50) or from three aces.
    for (bool aces : {false, true}) {
        AiTable t;
        t.game.rules.naturalPair = false;
        t.game.rules.initialBlock = false;
        t.opponentHand({face(kKing), face(kKing, 1)});
        if (aces)
            t.opponentHand({face(kRankAce), face(kRankAce, 1), face(kRankAce, 2)});
        else
            t.opponentHand({face(kQueen), face(kQueen, 1), kJoker});
        t.opponentHand({face(kFour), face(kFive), face(kSix), face(kSeven), face(kEight),
                        face(kNine), face(kTen), face(kJack)});
        t.discardPile({face(kFive, 1), face(kKing, 2)});
        advancedTurn(t.game);
        if (aces) {
            EXPECT_EQ(t.g.discardPile.count, 1);
            EXPECT_EQ(t.opponentColumn(kKing), 3);
            EXPECT_EQ(t.g.opponentMeldPoints, 90);
        } else {
            EXPECT_EQ(t.g.discardPile.count, 3);
            EXPECT_EQ(t.g.opponentMeldPoints, 0);
        }
    }
}
