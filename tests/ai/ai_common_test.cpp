#include "ai_table.h"

#include <gtest/gtest.h>

using namespace velnora;
using namespace velnora::test;
using namespace velnora::ai;

TEST(ComputerLevel, OnlyTheExactWordsSelectBeginnerAndAdvanced) {
    EXPECT_EQ(levelFromString("Beginner"), 0);
    EXPECT_EQ(levelFromString("Advanced"), 1);
    EXPECT_EQ(levelFromString("Expert"), 2);
    // Anything else is the Expert, including near misses.
    EXPECT_EQ(levelFromString("beginner"), 2);
    EXPECT_EQ(levelFromString("Advanced "), 2);
    EXPECT_EQ(levelFromString(""), 2);
    EXPECT_EQ(levelFromString("Grandmaster"), 2);
    EXPECT_EQ(levelFromString("master"), 2);
    // The Master has a word of its own; the words of the older levels keep their meaning.
    EXPECT_EQ(levelFromString("Master"), 3);
    for (int level = 0; level < kLevelCount; ++level)
        EXPECT_EQ(levelFromString(levelName(level)), level);
    // A level out of range is written as the Expert, and read back as one.
    EXPECT_EQ(levelFromString(levelName(kLevelCount)), 2);
    EXPECT_EQ(levelFromString(levelName(-1)), 2);
}

TEST(ComputerLevel, MeldingTrackBarMapsToTheDelay) {
    EXPECT_EQ(meldDelayForPosition(10), 0);
    EXPECT_EQ(meldDelayForPosition(0), 1500);
    EXPECT_EQ(positionForMeldDelay(300), 8); // the default delay
    EXPECT_EQ(positionForMeldDelay(0), 10);
    EXPECT_EQ(positionForMeldDelay(1500), 0);
    for (int p = 0; p <= 10; ++p)
        EXPECT_EQ(positionForMeldDelay(meldDelayForPosition(p)), p);
}

TEST(CanTakeDiscard, ThreesTwosAndJokersOnTopAreNeverTaken) {
    struct Case {
        int inHand1, inHand2, top;
    };
    for (const Case& k : {Case{kBlackThree, kBlackThree2, kBlackThree},
                          Case{face(kRankTwo, 0), face(kRankTwo, 1), face(kRankTwo, 2)},
                          Case{kJoker, kJoker, kJoker}}) {
        const int top = k.top;
        AiTable t;
        t.opponentHand({k.inHand1, k.inHand2, face(kNine), face(kTen)});
        t.discardPile({face(kSix), top});
        const Counts c = aiRecount(t.game);
        EXPECT_FALSE(canTakeDiscard(t.game, c, false)) << top;
        EXPECT_FALSE(canTakeDiscard(t.game, c, true)) << top;
    }
    // The same table with a seven on top is taken: the refusal is the rank's.
    AiTable t;
    t.opponentHand({face(kSeven), face(kSeven, 1), face(kNine), face(kTen)});
    t.discardPile({face(kSix), face(kSeven, 2)});
    EXPECT_TRUE(canTakeDiscard(t.game, aiRecount(t.game), true));
}

TEST(CanTakeDiscard, OneCardInThePileAgainstOneCardInHand) {
    AiTable t;
    t.opponentMeldRun(kKing, 3);
    t.opponentHand({face(kKing, 3)});
    t.discardPile({face(kKing, 0)});
    EXPECT_FALSE(canTakeDiscard(t.game, aiRecount(t.game), false));

    AiTable two;
    two.opponentMeldRun(kKing, 3);
    two.opponentHand({face(kKing, 3)});
    two.discardPile({face(kFive), face(kKing, 0)});
    EXPECT_TRUE(canTakeDiscard(two.game, aiRecount(two.game), false));
}

TEST(CanTakeDiscard, AFrozenPileNeedsANaturalPair) {
    AiTable t;
    t.game.rules.naturalPair = false;
    t.opponentHand({face(kSeven), kJoker, face(kNine), face(kTen)});
    t.discardPile({face(kSix), face(kSeven, 1)});
    const Counts c = aiRecount(t.game);
    EXPECT_TRUE(canTakeDiscard(t.game, c, false)); // one natural and a wild card
    EXPECT_FALSE(canTakeDiscard(t.game, c, true));
    t.game.rules.naturalPair = true;
    EXPECT_FALSE(canTakeDiscard(t.game, c, false));
}

TEST(CanTakeDiscard, ANewMeldNeedsCardsToSpare) {
    // Hand plus pile must hold more than three cards when the rank is not melded yet.
    AiTable t;
    t.opponentHand({face(kSeven), face(kSeven, 1)});
    t.discardPile({face(kSeven, 2)});
    EXPECT_FALSE(canTakeDiscard(t.game, aiRecount(t.game), false));
    AiTable more;
    more.opponentHand({face(kSeven), face(kSeven, 1)});
    more.discardPile({face(kFive), face(kSeven, 2)});
    EXPECT_TRUE(canTakeDiscard(more.game, aiRecount(more.game), false));
}

TEST(DrawForTurn, ARedThreeIsReplacedBeforeTheSecondCard) {
    AiTable t;
    t.game.rules.cardsDrawn = 2;
    t.stockTop({face(kNine), face(kEight), kRedThree}); // the red three comes first
    const int stock = t.g.stock.count;
    drawForTurn(t.game);
    // The red three goes down as it is drawn, as every seat's does.
    EXPECT_EQ(t.opponentColumn(kRankThree), 1);
    ASSERT_EQ(t.g.opponentHand.count, 2);
    EXPECT_EQ(t.g.opponentHand.at(0).face, face(kEight));
    EXPECT_EQ(t.g.opponentHand.at(1).face, face(kNine));
    EXPECT_EQ(t.g.stock.count, stock - 3);

    AiTable plain;
    plain.game.rules.cardsDrawn = 2;
    plain.game.rules.drawExtra = false;
    plain.stockTop({face(kNine), face(kEight), kRedThree});
    drawForTurn(plain.game);
    ASSERT_EQ(plain.g.opponentHand.count, 1);
    EXPECT_EQ(plain.g.opponentHand.at(0).face, face(kEight));
}

TEST(DrawForTurn, DrawsStopWhenTheStockIsEmpty) {
    AiTable t;
    t.game.rules.cardsDrawn = 2;
    const Card redThree = t.takeFromStock(kRedThree);
    t.exhaustStock();
    t.g.stockExhausted = 0;
    push(t.g.stock, redThree);
    drawForTurn(t.game);
    EXPECT_EQ(t.opponentColumn(kRankThree), 1);
    EXPECT_TRUE(t.g.stock.empty());
    EXPECT_EQ(t.g.stockExhausted, 1);
    EXPECT_CONSISTENT(t.game);
}

TEST(Discard, WildCardsAndRedThreesFreezeThePileButABlackThreeDoesNot) {
    for (int f : {kJoker, face(kRankTwo), kBlackThree, face(kNine)}) {
        AiTable t;
        t.opponentHand({face(kSix), f});
        t.discardPile({face(kFive)});
        discardFromHand(t.game, 1);
        EXPECT_EQ(t.pileTop().face, f);
        const bool freezes = f == kJoker || f == face(kRankTwo);
        EXPECT_EQ(t.g.pileFrozen, freezes ? 1 : 0) << f;
        EXPECT_CONSISTENT(t.game);
    }
    AiTable t;
    t.opponentMelds(kRankThree, {kRedThree});
    discardRedThree(t.game, 0);
    EXPECT_TRUE(t.g.opponentMelds.empty());
    EXPECT_EQ(t.pileTop().face, kRedThree);
    EXPECT_EQ(t.g.pileFrozen, 1);
}

TEST(MeldWildcard, PrefersAJokerAndReportsAMissingWildCard) {
    AiTable t;
    t.opponentMeldRun(kNine, 3);
    t.opponentHand({face(kRankTwo), face(kFive), kJoker});
    const int points = t.g.opponentMeldPoints;
    meldWildcard(t.game, kNine);
    EXPECT_EQ(t.opponentColumn(kNine), 4);
    EXPECT_EQ(countMeldWildcards(t.game, kNine), 1);
    EXPECT_EQ(findInHand(t.game, kRankJoker), -1);
    EXPECT_EQ(t.g.opponentMeldPoints, points + 50);

    AiTable none;
    none.opponentMeldRun(kNine, 3);
    none.opponentHand({face(kFive)});
    meldWildcard(none.game, kNine);
    EXPECT_TRUE(none.messageShown("Meld error: Wildcard not found."));
    EXPECT_EQ(none.opponentColumn(kNine), 3);
    EXPECT_EQ(none.g.opponentHand.count, 1);
}

TEST(MeldEstimate, TriplesFirstThenWildCardPairsFromTheAceDown) {
    AiTable t;
    t.game.rules.naturalPair = false;
    t.opponentHand({face(kKing), face(kKing, 1), face(kKing, 2), face(kNine), face(kNine, 1),
                    face(kFive), face(kFive, 1), kJoker, face(kRankTwo), face(kEight)});
    const Counts c = aiRecount(t.game);
    // 30 for the kings; the nines with the joker bring 20 + 50.
    MeldEstimate e = sharedMeldEstimate(t.game, c, 50);
    EXPECT_EQ(e.a, 100);
    EXPECT_EQ(e.pairs, 1);
    EXPECT_EQ(e.cards, 6);
    // A larger minimum also spends the two on the fives.
    e = sharedMeldEstimate(t.game, c, 120);
    EXPECT_EQ(e.a, 130);
    EXPECT_EQ(e.pairs, 2);
    EXPECT_EQ(e.cards, 9);
    // The natural pair rule is about taking the pile: the pairs in hand still count.
    t.game.rules.naturalPair = true;
    e = sharedMeldEstimate(t.game, c, 50);
    EXPECT_EQ(e.a, 100);
    EXPECT_EQ(e.pairs, 1);
}

TEST(VelnoraCompletingStep, FinishesAVelnoraOnlyWhenACardStaysForTheDiscard) {
    AiTable t;
    t.opponentMelds(kRankAce, {face(kRankAce), face(kRankAce, 1), face(kRankAce, 2)}); // has melded
    t.opponentHand({face(kQueen), face(kQueen, 1), face(kQueen, 2), face(kQueen, 3),
                    face(kQueen, 0), kJoker, kJoker, face(kSix)});
    velnoraCompletingStep(t.game);
    EXPECT_EQ(t.opponentColumn(kQueen), 7);
    EXPECT_EQ(t.g.opponentVelnoras.velnoraCount, 1);
    ASSERT_EQ(t.g.opponentHand.count, 1);
    EXPECT_EQ(t.g.opponentHand.at(0).face, face(kSix));
    EXPECT_CONSISTENT(t.game);

    AiTable last;
    last.opponentMelds(kRankAce, {face(kRankAce), face(kRankAce, 1), face(kRankAce, 2)});
    last.opponentHand({face(kQueen), face(kQueen, 1), face(kQueen, 2), face(kQueen, 3),
                       face(kQueen, 0), kJoker, kJoker});
    velnoraCompletingStep(last.game);
    EXPECT_EQ(last.opponentColumn(kQueen), 0);
    EXPECT_EQ(last.g.opponentHand.count, 7);
}

TEST(VelnoraCompletingStep, NeverPutsAFourthWildCardIntoAMeld) {
    AiTable t;
    t.opponentMelds(kTen, {face(kTen), face(kTen, 1), kJoker, face(kTen, 2)}); // one wild card
    t.opponentHand({kJoker, face(kRankTwo), face(kRankTwo, 1), face(kFive), face(kSix)});
    velnoraCompletingStep(t.game); // needs three more wild cards: four in all
    EXPECT_EQ(t.opponentColumn(kTen), 4);
    EXPECT_EQ(t.g.opponentHand.count, 5);
}

TEST(ComputerTurn, PassesTheDiscardWithOneCardAndTooFewVelnoras) {
    for (int level : {0, 1}) {
        AiTable t;
        t.opponentMeldRun(kKing, 3);
        t.g.opponentMeldPointsAtTurnStart = t.g.opponentMeldPoints;
        t.opponentHand({face(kQueen)});
        t.discardPile({face(kSeven), face(kKing, 3)});
        t.hand({face(kFive), face(kSix)});
        t.exhaustStock();
        t.options().computerLevel = level;
        ComputerDriver driver;
        driver.startTurn(t.game);
        // The stock is gone, so the king joins its meld and the queen may not be discarded.
        EXPECT_EQ(t.opponentColumn(kKing), 4) << level;
        EXPECT_TRUE(t.messageShown("The computer passes the discard.")) << level;
        ASSERT_EQ(t.g.opponentHand.count, 1);
        EXPECT_EQ(t.g.opponentHand.at(0).face, face(kQueen));
        ASSERT_EQ(t.g.discardPile.count, 1);
        EXPECT_EQ(t.pileTop().face, face(kSeven));
        EXPECT_EQ(t.g.pileFrozen, 0);
        // The turn is handed back.
        EXPECT_EQ(t.g.inputBlocked, 0);
        EXPECT_EQ(t.g.promptState, kPromptDraw);
        EXPECT_EQ(t.g.opponentPromptState, kPromptOpponentsTurn);
        EXPECT_EQ(t.g.opponentMeldPointsAtTurnStart, t.g.opponentMeldPoints);
        EXPECT_CONSISTENT(t.game);
    }
}

TEST(ComputerTurn, AnExhaustedStockWithNothingToTakeEndsTheHand) {
    AiTable t;
    t.opponentHand({face(kQueen), face(kFive)});
    t.discardPile({face(kSeven), face(kKing, 3)});
    t.hand({face(kFive, 1), face(kSix)});
    t.exhaustStock();
    beginnerTurn(t.game);
    // The hand was scored and the next one dealt.
    ASSERT_EQ(t.host.scorings.size(), 1u);
    EXPECT_EQ(t.host.scorings[0].opponent.v[9], 0); // nobody went out
    EXPECT_EQ(t.host.scorings[0].player.v[9], 0);
    EXPECT_EQ(t.g.opponentHand.count, 15);
}

TEST(ComputerDriver, PlaysNoTurnInANetworkGameOrAtAnUnknownLevel) {
    for (bool network : {true, false}) {
        AiTable t;
        t.opponentHand({face(kFive), face(kNine)});
        t.discardPile({face(kSeven)});
        t.options().networkGame = network;
        t.options().computerLevel = network ? 0 : kLevelCount;
        const int stock = t.g.stock.count;
        ComputerDriver driver;
        driver.startTurn(t.game);
        EXPECT_EQ(t.g.stock.count, stock);
        EXPECT_EQ(t.g.opponentHand.count, 2);
        EXPECT_EQ(t.g.discardPile.count, 1);
    }
    AiTable t;
    t.opponentHand({face(kFive), face(kNine)});
    t.discardPile({face(kSeven)});
    ComputerDriver driver;
    const int stock = t.g.stock.count;
    driver.startTurn(t.game);
    EXPECT_EQ(t.g.stock.count, stock - 1);
    EXPECT_EQ(t.g.discardPile.count, 2);
}
