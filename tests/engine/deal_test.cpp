#include "table_setup.h"

#include <gtest/gtest.h>

using namespace velnora;
using namespace velnora::test;

namespace {
int handNonRedThrees(const Pile& p) {
    int n = 0;
    for (const Card& c : p)
        if (!isRedThree(c.face)) ++n;
    return n;
}
} // namespace

TEST(Deal, DealsFifteenCardsEachAndTurnsUpANaturalOnTheLeft) {
    Table t;
    t.options().showTurns = true;
    t.g.playerStartsHand = 1;
    t.game.dealHand();
    EXPECT_CONSISTENT(t.game);
    EXPECT_EQ(t.g.playerHand.count, 15);
    EXPECT_EQ(handNonRedThrees(t.g.opponentHand), 15);
    for (const Card& c : t.g.playerMelds)
        EXPECT_TRUE(isRedThree(c.face));
    for (const Card& c : t.g.opponentMelds)
        EXPECT_TRUE(isRedThree(c.face));
    ASSERT_GE(t.g.discardPile.count, 1);
    const Card& top = t.g.discardPile.top();
    EXPECT_FALSE(isWild(top.rank()));
    EXPECT_FALSE(isRedThree(top.face));
    EXPECT_EQ(top.x, t.game.layout.tableLeft);
    EXPECT_EQ(top.y, t.game.layout.discardY);
    EXPECT_EQ(top.faceUp, 1);
    // Every hand card sits in the column of its rank, one step apart per column.
    for (const Card& c : t.g.playerHand)
        EXPECT_EQ(columnOf(c.x, t.game.layout), c.rank());
    for (const Card& c : t.g.opponentHand) {
        EXPECT_EQ(c.y, 5);
        EXPECT_EQ(c.faceUp, 0);
    }
    EXPECT_EQ(t.g.stock.count + t.g.discardPile.count + t.g.playerHand.count +
                  t.g.opponentHand.count + t.g.playerMelds.count + t.g.opponentMelds.count,
              108);

    EXPECT_EQ(t.status(), "Draw a card by clicking on the stock or the discard pile");
    EXPECT_EQ(t.g.promptState, kPromptDraw);
    EXPECT_EQ(t.g.inputBlocked, 0);
    EXPECT_EQ(t.g.mayTakePile, 1);
    EXPECT_EQ(t.g.playerStartsHand, 0);
    EXPECT_EQ(t.g.pileFanned, 1);
    EXPECT_EQ(t.g.initialMeldMinimum, 50);
    EXPECT_EQ(t.host.rulesHint, "|Adjust the rules of Velnora to your local variant");
    ASSERT_EQ(t.host.whoseTurn.size(), 1u);
    EXPECT_EQ(t.host.whoseTurn[0], "It's your turn to draw first.");
    ASSERT_FALSE(t.host.sounds.empty());
    EXPECT_EQ(t.host.sounds[0], SoundEvent::deal);
    EXPECT_FALSE(t.host.undoEnabled);
    EXPECT_FALSE(t.host.endHandVisible);
    EXPECT_EQ(t.settings.readInt("Settings\\CurrentHand", 0), 1);
    // The snapshot is the table as dealt.
    EXPECT_EQ(t.g.playerHandSnapshot, t.g.playerHand);
    EXPECT_EQ(t.g.discardSnapshot, t.g.discardPile);
}

TEST(Deal, SameSeedSameDealAndTheStartingSideAlternates) {
    Table a, b;
    a.game.dealHand();
    b.game.dealHand();
    EXPECT_EQ(a.g.playerHand, b.g.playerHand);
    EXPECT_EQ(a.g.stock, b.g.stock);
    // Second deal: the computer starts (no driver set, so nothing moves).
    a.game.dealHand();
    EXPECT_EQ(a.g.inputBlocked, 1);
    EXPECT_EQ(a.status(), "It's the computer's turn");
    EXPECT_EQ(a.settings.readInt("Settings\\CurrentHand", 0), 2);
    EXPECT_NE(a.g.playerHand, b.g.playerHand);
}

TEST(Deal, InitialBlockIsReadFromTheStoreAtEveryDeal) {
    Table t;
    t.settings.writeBool(rulekeys::kInitialBlock, false);
    bool sawUnfrozen = false;
    for (int i = 0; i < 6; ++i) {
        t.game.dealHand();
        // Frozen only when an upcard was a wildcard or a red three.
        bool frozenByUpcard = t.g.discardPile.count > 1;
        EXPECT_EQ(t.g.pileFrozen != 0, frozenByUpcard);
        if (!frozenByUpcard) sawUnfrozen = true;
    }
    EXPECT_TRUE(sawUnfrozen);
    t.settings.writeBool(rulekeys::kInitialBlock, true);
    t.game.dealHand();
    EXPECT_EQ(t.g.pileFrozen, 1);
}

TEST(Deal, UpcardsJokerAndRedThreeFreezeThePileUnderASeven) {
    Table t;
    t.clearTable();
    t.stockTop({face(kSeven, 1), kRedThree, kJoker});
    t.game.turnUpDiscard();
    ASSERT_EQ(t.g.discardPile.count, 3);
    EXPECT_EQ(t.g.discardPile.places()[0].face, kJoker);
    EXPECT_EQ(t.g.discardPile.places()[1].face, kRedThree);
    EXPECT_EQ(t.g.discardPile.top().face, face(kSeven, 1));
    EXPECT_EQ(t.g.pileFrozen, 1);
    EXPECT_CONSISTENT(t.game);
}

TEST(Deal, ComputerStartsAfterTheFlipAndWithItsTurnStarted) {
    Table t;
    ScriptedDriver driver;
    t.game.setOpponentDriver(&driver);
    t.options().showTurns = true;
    t.g.playerStartsHand = 0;
    t.game.dealHand();
    EXPECT_EQ(driver.turns, 1);
    EXPECT_TRUE(driver.blockedAtStart);
    EXPECT_EQ(driver.promptAtStart, 0);
    // The hand the computer's turn might end deals with the flipped value.
    EXPECT_EQ(driver.playerStartsAtStart, 1);
    EXPECT_EQ(t.status(), "It's the computer's turn");
    EXPECT_EQ(t.host.whoseTurn.back(), "It's the computer's turn to draw first.");
}

TEST(Deal, NetworkDealSendsTheStockAndWaitsForThePartner) {
    Table t;
    ScriptedDriver driver;
    t.game.setOpponentDriver(&driver);
    t.options().showTurns = true;
    t.options().networkGame = true;
    t.options().remoteName = "Ann";
    t.g.playerStartsHand = 0;
    t.game.dealHand();
    EXPECT_EQ(driver.turns, 0);
    EXPECT_EQ(t.status(), "It's Ann's turn");
    EXPECT_EQ(t.host.whoseTurn.back(), "It's Ann's turn to draw first.");
    ASSERT_FALSE(t.host.moves.empty());
    // Who starts, sent while the whole stock still lies there to be encoded.
    EXPECT_EQ(t.host.moves[0], Move::dealt(false));
}

TEST(Deal, NewGameClearsTotalsAndAsksOnlyDuringANetworkGame) {
    Table t;
    t.g.playerTotal = 1200;
    t.g.opponentTotal = 800;
    t.g.gameInProgress = 1;
    t.game.newGame();
    EXPECT_TRUE(t.host.messages.empty());
    EXPECT_EQ(t.g.playerTotal, 0);
    EXPECT_EQ(t.g.opponentTotal, 0);
    EXPECT_EQ(t.g.gameInProgress, 0);

    t.options().networkGame = true;
    t.g.gameInProgress = 1;
    t.g.playerTotal = 300;
    t.host.messageAnswers.push_back(MessageAnswer::no);
    t.game.newGame();
    ASSERT_EQ(t.host.messages.size(), 1u);
    EXPECT_EQ(t.host.messages[0],
              "You have a network game running. Are you sure you want to start a new game?");
    EXPECT_EQ(t.g.playerTotal, 300);
}

TEST(StatusLine, PromptsFollowTheMouseOptionTheStockAndTheOpponent) {
    Table t;
    t.game.showInstruction(1);
    EXPECT_EQ(t.status(), "Meld a card by clicking it, discard a card by right-clicking it");
    t.game.showInstruction(2);
    EXPECT_EQ(t.g.promptState, 1);
    t.options().doubleClickDiscard = true;
    t.game.showInstruction(1);
    EXPECT_EQ(t.status(), "Meld by clicking a card, discard by right-clicking it twice");
    EXPECT_EQ(t.g.promptState, 2);
    EXPECT_FALSE(t.host.endHandEnabled);

    t.g.stockExhausted = 1;
    t.game.showInstruction(0);
    EXPECT_EQ(t.status(), "Stock exhausted; take discard pile or end hand");
    EXPECT_TRUE(t.host.endHandVisible);
    EXPECT_TRUE(t.host.endHandEnabled);
    // A warning, then warning 0 restores the table text without the replacement.
    t.game.showWarning(kWarnAlreadyDrawn);
    EXPECT_EQ(t.status(), "You have already drawn");
    EXPECT_TRUE(t.statusIsWarning());
    EXPECT_EQ(t.g.warning, 3);
    t.game.showWarning(kNoWarning);
    EXPECT_EQ(t.status(), "Draw a card by clicking on the stock or the discard pile");
    EXPECT_FALSE(t.statusIsWarning());

    t.game.showInstruction(8);
    EXPECT_EQ(t.status(), "It's the computer's turn");
    EXPECT_FALSE(t.host.endHandEnabled);
    t.game.showWarning(kNoWarning);
    EXPECT_EQ(t.status(), "It's the turn of your opponent now");

    t.g.invalidMeldReason = "every melded rank must contain at least three cards";
    t.game.showWarning(kWarnCannotDiscard);
    EXPECT_EQ(t.status(), "Discarding is not possible now: every melded rank must contain at "
                          "least three cards");
    EXPECT_STREQ(warningText(kWarnOneCardPile),
                 "You cannot take a pile with one card if you only have one card in hand");
    EXPECT_STREQ(promptTableText(9), "Please wait for the next hand to be dealt");
}

TEST(OpponentPrimitives, DrawAddRemoveAndMeldKeepTheRowAndTheColumns) {
    Table t;
    t.clearTable();
    t.opponentHand({face(kNine), face(kKing), face(kKing, 1), kJoker});
    const Pile& h = t.g.opponentHand;
    EXPECT_EQ(h.places()[0].x, t.game.layout.tableLeft);
    EXPECT_EQ(h.places()[3].x, t.game.layout.tableLeft + 30);
    t.stockTop({face(kFive)});
    t.game.opponentDraw();
    ASSERT_EQ(h.count, 5);
    EXPECT_EQ(h.places()[4].face, face(kFive));
    EXPECT_EQ(h.places()[4].x, t.game.layout.tableLeft + 40);
    EXPECT_EQ(h.places()[4].y, 5);

    const Card removed = t.game.opponentRemoveCard(0);
    EXPECT_EQ(removed.face, face(kNine));
    EXPECT_EQ(h.places()[0].x, t.game.layout.tableLeft);
    EXPECT_EQ(h.places()[3].x, t.game.layout.tableLeft + 30);
    push(t.g.discardPile, removed);

    t.options().meldDelay = 250;
    t.game.opponentMeldCard(0); // king
    EXPECT_EQ(t.g.opponentMeldPoints, 10);
    EXPECT_EQ(t.host.pausedMilliseconds, 250);
    const Card& k = t.g.opponentMelds.top();
    EXPECT_EQ(columnOf(k.x, t.game.layout), kKing);
    EXPECT_EQ(k.y, t.game.layout.opponentMeldsY - 12);
    EXPECT_EQ(k.faceUp, 1);
    EXPECT_CONSISTENT(t.game);

    EXPECT_THROW(t.game.opponentRemoveCard(h.count), InternalError);
    EXPECT_EQ(t.host.fatal, "Internal Failure removing card from computer's hand");
}

TEST(OpponentPrimitives, SeventhCardMakesAVelnoraAndRedThreesScoreNothing) {
    Table t;
    t.clearTable();
    t.opponentHand(
        {face(kTen), face(kTen, 1), face(kTen, 2), face(kTen, 3), face(kTen), kRedThree});
    // The second ten of spades comes from the second deck.
    for (int i = 0; i < 5; ++i)
        t.game.opponentMeldCard(0);
    EXPECT_EQ(t.g.opponentMeldPoints, 50);
    t.game.opponentMeldCard(0); // red three
    EXPECT_EQ(t.g.opponentMeldPoints, 50);
    EXPECT_EQ(columnCount(t.g.opponentMelds, kRankThree, t.game.layout), 1);
    t.opponentHand({face(kTen, 1), face(kTen, 2)});
    t.game.opponentMeldCard(0);
    EXPECT_EQ(t.g.opponentVelnoras.velnoraCount, 0); // six tens
    t.game.opponentMeldCard(0);
    EXPECT_EQ(t.g.opponentVelnoras.velnoraCount, 1);
    EXPECT_EQ(t.g.opponentVelnoras.velnoraKind[kTen], kNaturalVelnora);
    for (const Card& c : t.g.opponentMelds) {
        if (columnOf(c.x, t.game.layout) == kTen) {
            EXPECT_EQ(c.y, t.game.layout.opponentMeldsY - 12);
        }
    }
    EXPECT_CONSISTENT(t.game);
}

TEST(OpponentPrimitives, DrawingTheLastStockCardExhaustsTheStock) {
    Table t;
    t.clearTable();
    t.shrinkStockTo(1);
    t.game.opponentDraw();
    EXPECT_EQ(t.g.stock.count, 0);
    EXPECT_EQ(t.g.stockExhausted, 1);
    EXPECT_TRUE(t.host.endHandVisible);
    EXPECT_CONSISTENT(t.game);
}
