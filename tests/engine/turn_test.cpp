#include "table_setup.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace velnora;
using namespace velnora::test;

namespace {
constexpr const char* kMeldPrompt =
    "Meld a card by clicking it, discard a card by right-clicking it";
constexpr const char* kTakingPrompt =
    "Meld by clicking left, undo taking discard pile by clicking it (costs 50 points)";
constexpr const char* kDrawPrompt = "Draw a card by clicking on the stock or the discard pile";

bool sawStatus(const RecordingHost& host, const std::string& text) {
    return std::any_of(host.statuses.begin(), host.statuses.end(),
                       [&](const RecordingHost::Status& s) { return s.text == text; });
}
} // namespace

TEST(Drawing, TwoCardsPerTurnWithARedThreeReplacedWithoutCounting) {
    Table t;
    t.clearTable();
    t.game.rules.cardsDrawn = 2;
    t.hand({face(kKing), face(kQueen), face(kFour), face(kSix), face(kEight)});
    t.discardPile({face(kTen)});
    t.opponentHandOf(11);
    t.stockTop({face(kNine, 1), kRedThree, face(kFive, 2)});
    t.ready();
    const int stockBefore = t.g.stock.count;
    t.game.drawFromStock();
    EXPECT_EQ(t.g.stock.count, stockBefore - 3);
    EXPECT_EQ(t.g.playerHand.count, 7);
    EXPECT_GE(t.handIndex(face(kFive, 2)), 0);
    EXPECT_GE(t.handIndex(face(kNine, 1)), 0);
    EXPECT_EQ(t.column(kRankThree), 1);
    EXPECT_EQ(t.host.movesOf(MoveKind::draw), 3);
    EXPECT_TRUE(sawStatus(t.host, "Draw a second card from the stock"));
    EXPECT_EQ(t.status(), kMeldPrompt);
    EXPECT_EQ(t.g.hasDrawn, 1);
    EXPECT_EQ(t.g.mayTakePile, 0);
    EXPECT_EQ(t.g.stockDrawsThisTurn, 0);
    EXPECT_EQ(t.host.rulesHint, " Changing the rules is only possible when starting a new game");
    EXPECT_EQ(t.g.playerHandSnapshot, t.g.playerHand);
    EXPECT_CONSISTENT(t.game);

    // A second click is refused.
    t.game.drawFromStock();
    EXPECT_EQ(t.status(), "You have already drawn");
    EXPECT_TRUE(t.statusIsWarning());
    EXPECT_EQ(t.g.playerHand.count, 7);
}

TEST(Drawing, RedThreeAsTheLastStockCardIsLaidOutWithoutReplacement) {
    Table t;
    t.clearTable();
    t.hand({face(kKing), face(kQueen), face(kFour), face(kSix), face(kEight)});
    t.opponentHandOf(11);
    t.stockTop({kRedThree2});
    t.shrinkStockTo(1);
    t.ready();
    t.game.drawFromStock();
    EXPECT_EQ(t.g.stock.count, 0);
    EXPECT_EQ(t.g.stockExhausted, 1);
    EXPECT_TRUE(t.host.endHandVisible);
    EXPECT_EQ(t.column(kRankThree), 1);
    EXPECT_EQ(t.g.playerHand.count, 5);
    EXPECT_EQ(t.g.hasDrawn, 1);
    EXPECT_EQ(t.status(), kMeldPrompt);
    EXPECT_CONSISTENT(t.game);
}

TEST(TakingThePile, FrozenPileNeedsTwoNaturalsAndCompletesOnlyWhenBothAreMelded) {
    Table t;
    t.clearTable();
    t.game.rules.naturalPair = false; // one natural and a wildcard would do on an open pile
    t.hand({face(kSeven, 2), kJoker, face(kKing), face(kQueen), face(kFour)});
    t.discardPile({face(kNine, 2), kRedThree2, face(kSeven, 1)});
    t.opponentHandOf(11);
    t.g.pileFrozen = 1;
    t.ready();
    t.game.takeDiscardPile();
    EXPECT_EQ(t.status(),
              "Taking the discard pile is not possible now because you cannot meld the top card");
    EXPECT_TRUE(t.statusIsWarning());
    EXPECT_EQ(t.g.discardPile.count, 3);
    EXPECT_EQ(t.g.mayTakePile, 1);
    EXPECT_EQ(t.g.hasDrawn, 0);
    EXPECT_CONSISTENT(t.game);
}

TEST(TakingThePile, FrozenPileWithTwoSevensIsPendingUntilBothAreMelded) {
    Table t;
    t.clearTable();
    t.hand({face(kSeven, 2), face(kSeven, 3), face(kKing), face(kQueen), face(kFour)});
    t.discardPile({face(kNine, 2), kRedThree2, face(kSeven, 1)});
    t.opponentHandOf(11);
    t.g.pileFrozen = 1;
    t.g.initialMeldMinimum = 15; // three sevens are worth 15
    t.ready();
    t.game.takeDiscardPile();
    EXPECT_EQ(t.status(), kTakingPrompt);
    EXPECT_EQ(t.g.takingPile, 1);
    EXPECT_EQ(t.g.topCardPending, 1);
    EXPECT_EQ(t.g.hasDrawn, 1);
    EXPECT_EQ(t.g.naturalPairNeeded, 1);
    EXPECT_EQ(t.column(kSeven), 1);
    EXPECT_EQ(t.g.discardPile.count, 2);
    EXPECT_CONSISTENT(t.game);

    t.game.meldFromHand(t.handIndex(face(kSeven, 2)), MeldMode::single);
    EXPECT_EQ(t.g.takingPile, 1);
    EXPECT_EQ(t.status(), kTakingPrompt); // the taking prompt stays while it is pending
    EXPECT_EQ(t.g.discardPile.count, 2);
    // A discard now is refused: the top card is not melded correctly yet.
    EXPECT_FALSE(t.game.discard(t.handIndex(face(kFour))));
    EXPECT_EQ(t.status(),
              "Discarding is not possible now: you have not melded the top card correctly");

    t.game.meldFromHand(t.handIndex(face(kSeven, 3)), MeldMode::single);
    EXPECT_EQ(t.g.takingPile, 0);
    EXPECT_EQ(t.g.topCardPending, 0);
    EXPECT_EQ(t.g.pileFrozen, 0);
    EXPECT_EQ(t.g.discardPile.count, 0);
    EXPECT_EQ(t.status(), kMeldPrompt);
    EXPECT_GE(t.handIndex(face(kNine, 2)), 0);
    EXPECT_EQ(findFace(t.g.knownPlayerCards, face(kNine, 2)), 0);
    EXPECT_EQ(t.column(kRankThree), 1); // the red three of the pile is laid out
    EXPECT_TRUE(t.g.undoStack.empty());
    EXPECT_FALSE(t.host.undoEnabled);
    EXPECT_CONSISTENT(t.game);
}

TEST(TakingThePile, OpenPileGoesOntoAnExistingMeldAtOnce) {
    Table t;
    t.clearTable();
    t.melds(kSeven, {face(kSeven, 0), face(kSeven, 2), face(kSeven, 3)});
    t.hand({face(kKing), face(kQueen), face(kFour)});
    t.discardPile({face(kNine, 2), face(kSeven, 1)});
    t.opponentHandOf(11);
    t.ready();
    ASSERT_TRUE(t.game.rules.naturalPair);
    ASSERT_FALSE(t.game.rules.addExistingMeld);
    t.game.takeDiscardPile();
    EXPECT_EQ(t.column(kSeven), 4);
    EXPECT_EQ(t.g.discardPile.count, 0);
    EXPECT_EQ(t.g.playerHand.count, 4);
    EXPECT_EQ(t.g.takingPile, 0);
    EXPECT_EQ(t.g.hasDrawn, 1);
    EXPECT_EQ(t.status(), kMeldPrompt);
    EXPECT_EQ(t.host.movesOf(MoveKind::takePile), 1);
    EXPECT_CONSISTENT(t.game);

    // With the natural pair also required for existing melds the same take is refused.
    Table u;
    u.clearTable();
    u.game.rules.addExistingMeld = true;
    u.melds(kSeven, {face(kSeven, 0), face(kSeven, 2), face(kSeven, 3)});
    u.hand({face(kKing), face(kQueen), face(kFour)});
    u.discardPile({face(kNine, 2), face(kSeven, 1)});
    u.ready();
    u.game.takeDiscardPile();
    EXPECT_EQ(u.g.takingPile, 0);
    EXPECT_EQ(u.g.discardPile.count, 2);
    EXPECT_TRUE(u.statusIsWarning());
}

TEST(TakingThePile, UndoingTheTakeCostsFiftyEachTime) {
    Table t;
    t.clearTable();
    t.hand({face(kSeven, 2), face(kSeven, 3), face(kKing), face(kQueen), face(kFour)});
    t.discardPile({face(kNine, 2), face(kSeven, 1)});
    t.opponentHandOf(11);
    t.g.pileFrozen = 1;
    t.g.playerTotal = 120;
    t.ready();
    const Pile handBefore = t.g.playerHand;
    for (int round = 1; round <= 2; ++round) {
        t.game.takeDiscardPile();
        ASSERT_EQ(t.g.takingPile, 1);
        t.game.meldFromHand(t.handIndex(face(kSeven, 2)), MeldMode::single);
        EXPECT_TRUE(t.host.undoEnabled);
        // A click on the pile while taking it undoes the take.
        t.game.takeDiscardPile();
        EXPECT_EQ(t.g.playerTotal, 120 - 50 * round);
        EXPECT_EQ(t.g.takingPile, 0);
        EXPECT_EQ(t.g.hasDrawn, 0);
        EXPECT_EQ(t.g.mayTakePile, 1);
        EXPECT_EQ(t.g.discardPile.count, 2);
        EXPECT_EQ(t.g.discardPile.top().face, face(kSeven, 1));
        EXPECT_EQ(t.g.discardPile.top().y, t.game.layout.discardY);
        EXPECT_EQ(t.g.playerHand, handBefore);
        EXPECT_EQ(t.g.playerMelds.count, 0);
        EXPECT_TRUE(t.g.undoStack.empty());
        EXPECT_FALSE(t.host.undoEnabled);
        EXPECT_EQ(t.status(), kDrawPrompt);
        EXPECT_CONSISTENT(t.game);
    }
    EXPECT_EQ(t.host.movesOf(MoveKind::undoTakePile), 2);
}

TEST(TakingThePile, TopCardThatCompletesAVelnoraIsTakenBackWithIt) {
    Table t;
    t.clearTable();
    t.melds(kEight,
            {face(kEight, 0), face(kEight, 1), kJoker, face(kEight, 2), kJoker, face(kEight, 3)});
    t.hand({face(kEight, 0), face(kEight, 1), face(kKing), face(kQueen), face(kFour)});
    t.discardPile({face(kEight, 2)});
    t.g.pileFrozen = 1; // the take stays pending, so it can be undone
    t.ready();
    t.game.takeDiscardPile();
    ASSERT_EQ(t.g.takingPile, 1);
    EXPECT_EQ(t.g.playerVelnoras.velnoraCount, 1);
    EXPECT_EQ(t.g.playerVelnoras.velnoraKind[kEight], kMixed);
    t.game.undoTakePile();
    EXPECT_EQ(t.g.playerVelnoras.velnoraCount, 0);
    EXPECT_EQ(t.column(kEight), 6);
    EXPECT_EQ(t.g.discardPile.top().face, face(kEight, 2));
    EXPECT_EQ(t.g.playerTotal, -50);
    EXPECT_CONSISTENT(t.game);
}

TEST(TakingThePile, AnUndoThatCannotFindTheTakenCardWarnsAndDealsAgain) {
    Table t;
    t.clearTable();
    t.hand({face(kEight, 0), face(kEight, 1), face(kKing), face(kQueen), face(kFour)});
    t.discardPile({face(kEight, 2)});
    t.g.pileFrozen = 1;
    t.ready();
    t.game.takeDiscardPile();
    ASSERT_EQ(t.g.takingPile, 1);
    t.g.takenTopCard.face = face(kKing); // the record no longer names the card in the melds
    t.game.undoTakePile();
    ASSERT_FALSE(t.host.messageKinds.empty());
    EXPECT_EQ(t.host.messageKinds.back(), MessageKind::warning);
    EXPECT_EQ(t.host.messages.back(),
              "An error occurred while undoing taking the discard pile. A new hand will be dealt.");
    EXPECT_EQ(t.g.takingPile, 0);
    EXPECT_CONSISTENT(t.game);
}

TEST(TakingThePile, UndoingTheTakeDissolvesAVelnoraThatNoLongerHasFourNaturals) {
    Table t;
    t.clearTable();
    t.melds(kEight, {face(kEight, 0), face(kEight, 1), kJoker, face(kEight, 2), kJoker,
                     face(kTwo, 0), face(kTwo, 1)});
    ASSERT_EQ(t.g.playerVelnoras.velnoraCount, 0); // seven cards, three naturals
    t.hand({face(kEight, 0), face(kEight, 1), face(kKing), face(kQueen), face(kFour)});
    t.discardPile({face(kEight, 3)});
    t.g.pileFrozen = 1;
    t.ready();
    t.game.takeDiscardPile();
    ASSERT_EQ(t.g.takingPile, 1);
    ASSERT_EQ(t.g.playerVelnoras.velnoraCount, 1);
    t.game.undoTakePile();
    EXPECT_EQ(t.column(kEight), 7);
    EXPECT_EQ(t.g.playerVelnoras.velnoraCount, 0);
    EXPECT_EQ(t.g.playerVelnoras.velnoraKind[kEight], kNoVelnora);
    EXPECT_CONSISTENT(t.game);
}

TEST(TakingThePile, AFrozenTakeDoesNotCompleteWithOneNaturalAndAWildcard) {
    Table t;
    t.clearTable();
    t.hand({face(kSeven, 2), face(kSeven, 3), kJoker, face(kKing), face(kQueen), face(kFour)});
    t.discardPile({face(kNine, 2), face(kSeven, 1)});
    t.opponentHandOf(11);
    t.g.pileFrozen = 1;
    t.g.initialMeldMinimum = 15;
    t.ready();
    t.game.takeDiscardPile();
    ASSERT_EQ(t.g.takingPile, 1);
    t.game.meldFromHand(t.handIndex(face(kSeven, 2)), MeldMode::single);
    t.game.meldCardClick(t.meldIndex(face(kSeven, 2)), false);
    // Three cards and 60 points, but only two sevens of the three the frozen pile needs.
    ASSERT_EQ(t.column(kSeven), 3);
    EXPECT_EQ(t.g.takingPile, 1);
    EXPECT_EQ(t.g.discardPile.count, 1);
    t.game.meldFromHand(t.handIndex(face(kSeven, 3)), MeldMode::single);
    EXPECT_EQ(t.g.takingPile, 0);
    EXPECT_EQ(t.g.discardPile.count, 0);
    EXPECT_CONSISTENT(t.game);
}

TEST(TakingThePile, OneCardPileWithOneCardInHandIsRefusedWithItsOwnWarning) {
    Table t;
    t.clearTable();
    t.melds(kSeven, {face(kSeven, 0), face(kSeven, 2), face(kSeven, 3)});
    t.hand({face(kSeven, 1)});
    t.discardPile({face(kSeven, 3)});
    t.ready();
    t.game.takeDiscardPile();
    EXPECT_EQ(t.status(), "You cannot take a pile with one card if you only have one card in hand");
}

TEST(EndingTheHand, EndHandWhileForcedShowsTheMessageAndTheHandGoesOn) {
    Table t;
    t.clearTable();
    t.melds(kEight, {face(kEight, 0), face(kEight, 1), face(kEight, 2), face(kEight, 3)});
    t.hand({face(kKing), face(kQueen), face(kFour)});
    t.discardPile({face(kEight, 2)});
    t.shrinkStockTo(0);
    t.g.stockExhausted = 1;
    t.ready();
    t.game.showInstruction(kPromptDraw);
    EXPECT_TRUE(t.game.isForced());
    t.game.endHand();
    ASSERT_EQ(t.host.messages.size(), 1u);
    EXPECT_EQ(t.host.messages[0], "You cannot end this hand now, because you must \n\rmeld the "
                                  "top card of the pile. (You are 'forced').");
    EXPECT_EQ(t.g.endHandRequested, 0);
    EXPECT_EQ(t.g.promptState, kPromptDraw);
    EXPECT_CONSISTENT(t.game);
}

TEST(Discarding, RefusedBeforeDrawingAndWithBrokenMeldsThenHandsTheTurnOver) {
    Table t;
    ScriptedDriver driver;
    t.game.setOpponentDriver(&driver);
    t.clearTable();
    t.hand({face(kKing), face(kKing, 1), face(kQueen), kJoker, face(kFour)});
    t.discardPile({face(kTen)});
    t.opponentHandOf(11);
    t.ready();
    EXPECT_FALSE(t.game.discard(0));
    EXPECT_EQ(t.status(), "You cannot discard before drawing; please draw first by clicking on "
                          "the stock or the discard pile");
    t.game.meldFromHand(0, MeldMode::single);
    EXPECT_EQ(t.status(), "You cannot meld before drawing; please draw first by clicking on the "
                          "stock or the discard pile");

    t.stockTop({face(kNine)});
    t.game.drawFromStock();
    t.game.meldFromHand(t.handIndex(face(kKing)), MeldMode::single);
    EXPECT_FALSE(t.game.discard(t.handIndex(face(kFour))));
    EXPECT_EQ(t.status(), "Discarding is not possible now: every melded rank must contain at "
                          "least three cards");
    t.game.undoMeld();
    EXPECT_FALSE(t.host.undoEnabled);

    // A discarded wildcard freezes the pile and the computer's turn starts.
    ASSERT_TRUE(t.game.discard(t.handIndex(kJoker)));
    EXPECT_EQ(t.g.pileFrozen, 1);
    EXPECT_EQ(t.g.discardPile.top().face, kJoker);
    EXPECT_EQ(t.g.discardPile.top().x, t.game.layout.tableLeft);
    EXPECT_EQ(t.g.hasDrawn, 0);
    EXPECT_EQ(t.g.mayTakePile, 1);
    EXPECT_EQ(driver.turns, 1);
    EXPECT_TRUE(driver.blockedAtStart);
    EXPECT_EQ(t.status(), "It's the computer's turn");
    // The hand column of the jokers closed up.
    EXPECT_EQ(t.g.playerHand.columnPos[0].y, t.game.layout.playerHandY);
    EXPECT_CONSISTENT(t.game);
}

TEST(Passing, StuckWithOneCardPassesTheTurnWithoutADiscard) {
    Table t;
    ScriptedDriver driver;
    t.game.setOpponentDriver(&driver);
    t.clearTable();
    t.melds(kRankAce, {face(13, 0), face(13, 1), face(13, 2)});
    t.hand({face(13, 3), face(kFive)});
    t.discardPile({face(kTen)});
    t.opponentHandOf(11);
    t.ready();
    t.g.hasDrawn = 1;
    t.game.meldFromHand(t.handIndex(face(13, 3)), MeldMode::single);
    ASSERT_EQ(t.host.messages.size(), 1u);
    EXPECT_EQ(t.host.messages[0], "You only have one card left, and not enough Velnoras to go "
                                  "out.\r You have to pass the discard.");
    EXPECT_EQ(driver.turns, 1);
    EXPECT_EQ(t.g.inputBlocked, 1);
    EXPECT_EQ(t.g.hasDrawn, 0);
    EXPECT_EQ(t.g.mayTakePile, 1);
    EXPECT_EQ(t.g.playerHand.count, 1);
    EXPECT_TRUE(t.g.undoStack.empty());
    EXPECT_FALSE(t.host.undoEnabled);
    EXPECT_EQ(t.host.movesOf(MoveKind::pass), 1);
    EXPECT_EQ(t.status(), "It's the computer's turn");
    EXPECT_CONSISTENT(t.game);
}

TEST(EndingTheHand, EndHandWhenNotForcedScoresTheHandWithNobodyOut) {
    Table t;
    t.clearTable();
    t.melds(kEight, {face(kEight, 0), face(kEight, 1), face(kEight, 2), face(kEight, 3)});
    t.hand({face(kKing), face(kQueen), face(kFour)});
    t.discardPile({face(kNine, 2)});
    t.opponentHandOf(5);
    t.shrinkStockTo(0);
    t.g.stockExhausted = 1;
    t.g.playerStartsHand = 1;
    t.ready();
    t.game.showInstruction(kPromptDraw);
    EXPECT_FALSE(t.game.isForced());
    t.game.endHand();
    EXPECT_EQ(t.host.movesOf(MoveKind::endHand), 1);
    ASSERT_EQ(t.host.scorings.size(), 1u);
    EXPECT_EQ(t.host.scorings[0].player.v[9], 0); // nobody went out
    EXPECT_EQ(t.host.scorings[0].opponent.v[9], 0);
    EXPECT_EQ(t.g.playerHand.count, 15); // the next hand is dealt
    EXPECT_CONSISTENT(t.game);
}

TEST(Discarding, RedThreeFromTheMeldsFreezesThePileWhenTheRuleAllowsIt) {
    Table t;
    ScriptedDriver driver;
    t.game.setOpponentDriver(&driver);
    t.clearTable();
    t.melds(kRankThree, {kRedThree});
    t.hand({face(kKing), face(kQueen), face(kFour)});
    t.discardPile({face(kNine, 2)});
    t.opponentHandOf(11);
    t.ready();
    t.g.hasDrawn = 1;
    t.game.discardRedThree(t.meldIndex(kRedThree));
    EXPECT_EQ(t.g.discardPile.count, 1); // refused without the rule
    t.game.rules.threeBlock = true;
    // Ending the turn this way still needs melds that are complete.
    t.g.hasDrawn = 1;
    t.game.meldFromHand(t.handIndex(face(kKing)), MeldMode::single);
    t.game.discardRedThree(t.meldIndex(kRedThree));
    EXPECT_EQ(t.status(), "Discarding is not possible now: every melded rank must contain at "
                          "least three cards");
    EXPECT_EQ(t.g.discardPile.count, 1);
    t.game.undoMeld();
    t.game.discardRedThree(t.meldIndex(kRedThree));
    EXPECT_EQ(t.g.discardPile.top().face, kRedThree);
    EXPECT_EQ(t.g.pileFrozen, 1);
    EXPECT_EQ(t.column(kRankThree), 0);
    EXPECT_EQ(t.g.playerMelds.columnPos[kRankThree].y, t.game.layout.playerMeldsY);
    EXPECT_EQ(driver.turns, 1);
    EXPECT_EQ(t.status(), "It's the computer's turn");
    EXPECT_CONSISTENT(t.game);
}
