#include "table_setup.h"

#include <gtest/gtest.h>

using namespace velnora;
using namespace velnora::test;

namespace {
// A table where the player has drawn and may meld.
void drawn(Table& t) {
    t.discardPile({face(kTen, 3)});
    t.opponentHandOf(11);
    t.ready();
    t.g.hasDrawn = 1;
    t.g.mayTakePile = 0;
    t.game.showInstruction(kPromptMeldOrDiscard);
}
} // namespace

TEST(Melding, SecondKingByPlainClickGetsTheJokerAtOnce) {
    Table t;
    t.clearTable();
    t.hand(
        {face(kKing), face(kKing, 1), kJoker, face(kFour), face(kSix), face(kEight), face(kNine)});
    drawn(t);
    t.game.meldFromHand(t.handIndex(face(kKing)), MeldMode::single);
    EXPECT_EQ(t.column(kKing), 1);
    EXPECT_TRUE(t.host.undoEnabled);
    t.game.meldFromHand(t.handIndex(face(kKing, 1)), MeldMode::single);
    EXPECT_EQ(t.column(kKing), 3);
    EXPECT_EQ(t.handIndex(kJoker), -1);
    EXPECT_EQ(t.g.playerHand.count, 4);
    EXPECT_EQ(t.g.undoStack.size(), 3u);
    // Cards of a column lie one step apart, the first one step below the meld row.
    int y = t.game.layout.playerMeldsY;
    for (const Card& c : t.g.playerMelds) {
        y += kColumnStep;
        EXPECT_EQ(c.y, y);
        EXPECT_EQ(columnOf(c.x, t.game.layout), kKing);
    }
    EXPECT_CONSISTENT(t.game);
}

TEST(Melding, NoAutomaticWildcardWhileTheRankIsStillInHand) {
    Table t;
    t.clearTable();
    t.hand({face(kKing), face(kKing, 1), face(kKing, 2), kJoker, face(kFour), face(kSix)});
    drawn(t);
    t.game.meldFromHand(t.handIndex(face(kKing)), MeldMode::single);
    t.game.meldFromHand(t.handIndex(face(kKing, 1)), MeldMode::single);
    EXPECT_EQ(t.column(kKing), 2);
    EXPECT_GE(t.handIndex(kJoker), 0);
}

TEST(Melding, ShiftMeldKeepsOneCardWhenItWouldEmptyTheHandWithoutAVelnora) {
    Table t;
    t.clearTable();
    t.hand({face(kQueen), face(kQueen, 1), face(kQueen, 2)});
    drawn(t);
    t.game.meldFromHand(t.handIndex(face(kQueen, 1)), MeldMode::allOfRank);
    EXPECT_EQ(t.column(kQueen), 2);
    EXPECT_EQ(t.g.playerHand.count, 1);
    // The lowest hand positions go first.
    EXPECT_GE(t.handIndex(face(kQueen, 2)), 0);
    EXPECT_CONSISTENT(t.game);

    // With the velnora in hand, the whole rank goes.
    Table u;
    u.clearTable();
    u.melds(kFive, {face(kFive, 0), face(kFive, 1), face(kFive, 2), face(kFive, 3), face(kFive, 0),
                    face(kFive, 1), face(kFive, 2)});
    u.hand({face(kQueen), face(kQueen, 1), face(kQueen, 2), face(kFour)});
    drawn(u);
    u.game.meldFromHand(0, MeldMode::allOfRank);
    EXPECT_EQ(u.column(kQueen), 3);
    EXPECT_EQ(u.g.playerHand.count, 1);
}

TEST(Melding, CtrlMeldsUpToThreeInTheColumn) {
    Table t;
    t.clearTable();
    t.hand(
        {face(kQueen), face(kQueen, 1), face(kQueen, 2), face(kQueen, 3), face(kFour), face(kSix)});
    drawn(t);
    t.game.meldFromHand(t.handIndex(face(kQueen)), MeldMode::single);
    t.game.meldFromHand(t.handIndex(face(kQueen, 3)), MeldMode::upToThree);
    EXPECT_EQ(t.column(kQueen), 3);
    EXPECT_EQ(countRank(t.g.playerHand, kQueen), 1);
}

TEST(Melding, BlackThreesOnlyWhenGoingOut) {
    Table t;
    t.clearTable();
    t.hand({kBlackThree, kBlackThree2, face(kFour), face(kSix)});
    drawn(t);
    t.game.meldFromHand(t.handIndex(kBlackThree), MeldMode::single);
    EXPECT_EQ(t.status(), "Black Threes can only be melded as the last cards when going out");
    EXPECT_EQ(t.g.playerMelds.count, 0);
}

TEST(Wildcards, WildcardVelnoraNeedsSevenAndTheRule) {
    Table t;
    t.clearTable();
    t.hand({kJoker, kJoker, kJoker, face(1, 0), face(1, 1), face(1, 2), face(kFour), face(kSix)});
    drawn(t);
    t.game.meldFromHand(t.handIndex(kJoker), MeldMode::allOfRank);
    EXPECT_EQ(t.status(), "You need at least seven wildcards to create a wildcard Velnora");
    EXPECT_EQ(t.g.playerMelds.count, 0);

    Table u;
    u.clearTable();
    u.hand({kJoker, kJoker, kJoker, face(1, 0), face(1, 1), face(1, 2), face(1, 3), face(kFour),
            face(kSix)});
    drawn(u);
    u.game.rules.wildcardVelnora = false;
    u.game.meldWildcards(MeldMode::allOfRank);
    EXPECT_EQ(u.status(), "Wildcard Velnoras are not allowed with the current rules");
    u.game.rules.wildcardVelnora = true;
    u.game.meldWildcards(MeldMode::single);
    EXPECT_EQ(u.column(kRankTwo), 1);
    EXPECT_EQ(u.g.playerMelds.top().face, kJoker); // jokers before twos
    u.game.meldWildcards(MeldMode::allOfRank);
    EXPECT_EQ(u.column(kRankTwo), 7);
    EXPECT_EQ(u.g.playerVelnoras.velnoraCount, 1);
    EXPECT_EQ(u.g.playerVelnoras.velnoraKind[kRankTwo], kWildVelnora);
    EXPECT_EQ(u.host.sounds.back(), SoundEvent::naturalVelnora);
    EXPECT_EQ(u.g.playerHand.count, 2);
    EXPECT_CONSISTENT(u.game);
}

TEST(Wildcards, MeldClickAddsOneAndShiftFillsTheVelnora) {
    Table t;
    t.clearTable();
    t.melds(kTen, {face(kTen, 0), face(kTen, 1), face(kTen, 2), face(kTen, 3)});
    t.hand({kJoker, face(1, 1), face(1, 2), face(kFour), face(kSix), face(kEight)});
    drawn(t);
    t.game.meldCardClick(t.meldIndex(face(kTen, 1)), false);
    EXPECT_EQ(t.column(kTen), 5);
    EXPECT_EQ(t.g.playerMelds.top().face, kJoker);
    t.game.meldCardClick(t.meldIndex(face(kTen, 1)), true);
    EXPECT_EQ(t.column(kTen), 7);
    EXPECT_EQ(t.g.playerVelnoras.velnoraKind[kTen], kMixed);
    EXPECT_EQ(t.host.sounds.back(), SoundEvent::mixedVelnora);
    EXPECT_EQ(t.g.undoStack.size(), 3u);
    // Squared up, a black ten on top.
    for (const Card& c : t.g.playerMelds)
        EXPECT_EQ(c.y, t.game.layout.playerMeldsY + kColumnStep);
    EXPECT_EQ(t.g.playerMelds.top().face, face(kTen, 0));
    EXPECT_CONSISTENT(t.game);

    // Shift on a column that cannot reach seven does nothing.
    Table u;
    u.clearTable();
    u.melds(kTen, {face(kTen, 0), face(kTen, 1), face(kTen, 2), face(kTen, 3)});
    u.hand({kJoker, face(1, 1), face(kFour), face(kSix), face(kEight)});
    drawn(u);
    u.game.meldCardClick(u.meldIndex(face(kTen, 1)), true);
    EXPECT_EQ(u.column(kTen), 4);
}

TEST(Wildcards, WithOneCardLeftOnlyASixCardColumnTakesTheWildcard) {
    Table t;
    t.clearTable();
    t.melds(kTen, {face(kTen, 0), face(kTen, 1), face(kTen, 2), face(kTen, 3), face(kTen, 0)});
    t.melds(kNine, {face(kNine, 0), face(kNine, 1), face(kNine, 2), face(kNine, 3), face(kNine, 0),
                    face(kNine, 1)});
    t.hand({kJoker});
    drawn(t);
    t.game.meldCardClick(t.meldIndex(face(kTen, 1)), false);
    EXPECT_EQ(t.column(kTen), 5);
    EXPECT_EQ(t.g.playerHand.count, 1);
}

TEST(Undo, UndoingTheSeventhCardDissolvesTheVelnora) {
    Table t;
    t.clearTable();
    t.melds(kNine, {face(kNine, 0), face(kNine, 1), face(kNine, 2), face(kNine, 3), face(kNine, 0),
                    face(kNine, 1)});
    t.hand({face(kNine, 2), face(kFour), face(kSix), face(kEight)});
    drawn(t);
    t.game.meldFromHand(t.handIndex(face(kNine, 2)), MeldMode::single);
    ASSERT_EQ(t.g.playerVelnoras.velnoraCount, 1);
    EXPECT_EQ(t.g.playerVelnoras.velnoraKind[kNine], kNaturalVelnora);
    EXPECT_EQ(t.host.sounds.back(), SoundEvent::naturalVelnora);

    t.game.undoMeld();
    EXPECT_EQ(t.g.playerVelnoras.velnoraCount, 0);
    EXPECT_EQ(t.g.playerVelnoras.velnoraKind[kNine], kNoVelnora);
    EXPECT_EQ(t.column(kNine), 6);
    int y = t.game.layout.playerMeldsY;
    for (const Card& c : t.g.playerMelds) {
        y += kColumnStep;
        EXPECT_EQ(c.y, y);
    }
    EXPECT_EQ(t.g.playerMelds.columnPos[kNine].y, t.game.layout.playerMeldsY + 6 * kColumnStep);
    const int back = t.handIndex(face(kNine, 2));
    ASSERT_GE(back, 0);
    EXPECT_EQ(columnOf(t.g.playerHand.at(back).x, t.game.layout), kNine);
    EXPECT_GE(findFace(t.g.knownPlayerCards, face(kNine, 2)), 0);
    EXPECT_FALSE(t.host.undoEnabled);
    EXPECT_CONSISTENT(t.game);

    // Melding it again makes the velnora anew.
    t.game.meldFromHand(back, MeldMode::single);
    EXPECT_EQ(t.g.playerVelnoras.velnoraCount, 1);
    EXPECT_CONSISTENT(t.game);
}

TEST(Undo, UndoingANaturalDissolvesAVelnoraThatPassedSevenBeforeItQualified) {
    Table t;
    t.clearTable();
    t.melds(kTen, {face(kTen, 0), face(kTen, 1), face(kTen, 2), kJoker, kJoker, face(kTwo, 0)});
    t.hand({face(kTwo, 1), face(kTen, 3), face(kFour), face(kSix), face(kEight)});
    drawn(t);
    t.game.meldCardClick(t.meldIndex(face(kTen, 1)), false);
    ASSERT_EQ(t.column(kTen), 7);
    EXPECT_EQ(t.g.playerVelnoras.velnoraCount, 0); // three naturals are too few
    t.game.meldFromHand(t.handIndex(face(kTen, 3)), MeldMode::single);
    ASSERT_EQ(t.g.playerVelnoras.velnoraCount, 1);

    t.game.undoMeld();
    EXPECT_EQ(t.column(kTen), 7);
    EXPECT_EQ(t.g.playerVelnoras.velnoraCount, 0);
    EXPECT_EQ(t.g.playerVelnoras.velnoraKind[kTen], kNoVelnora);
    EXPECT_EQ(t.g.playerMelds.columnPos[kTen].y, t.game.layout.playerMeldsY + 7 * kColumnStep);
    EXPECT_CONSISTENT(t.game);
}

TEST(Wildcards, ShiftClickOnAWildcardLaysAllSeven) {
    Table t;
    t.clearTable();
    t.hand({kJoker, kJoker, kJoker, face(kTwo, 0), face(kTwo, 1), face(kTwo, 2), face(kTwo, 3),
            face(kFour), face(kSix)});
    drawn(t);
    t.game.meldFromHand(t.handIndex(face(kTwo, 2)), MeldMode::allOfRank);
    EXPECT_EQ(t.column(kRankTwo), 7);
    EXPECT_EQ(t.g.playerVelnoras.velnoraKind[kRankTwo], kWildVelnora);
    EXPECT_EQ(t.g.playerHand.count, 2);
    EXPECT_EQ(t.g.undoStack.size(), 7u);
    EXPECT_CONSISTENT(t.game);
}

TEST(Undo, UndoAllTakesBackEveryCardInReverseOrder) {
    Table t;
    t.clearTable();
    t.hand(
        {face(kKing), face(kKing, 1), kJoker, face(kFour), face(kSix), face(kEight), face(kNine)});
    drawn(t);
    const Pile before = t.g.playerHand;
    t.game.meldFromHand(t.handIndex(face(kKing)), MeldMode::single);
    t.game.meldFromHand(t.handIndex(face(kKing, 1)), MeldMode::single);
    ASSERT_EQ(t.g.undoStack.size(), 3u);
    t.game.undoAll();
    EXPECT_EQ(t.g.playerMelds.count, 0);
    EXPECT_EQ(t.g.playerHand.count, before.count);
    for (const Card& c : before)
        EXPECT_GE(t.handIndex(c.face), 0);
    for (int col = 0; col < kColumns; ++col)
        EXPECT_EQ(t.g.playerHand.columnPos[col].y, before.columnPos[col].y);
    EXPECT_EQ(t.g.playerMelds.columnPos[kKing].y, t.game.layout.playerMeldsY);
    EXPECT_FALSE(t.host.undoEnabled);
    EXPECT_CONSISTENT(t.game);
}

TEST(Melding, LastCardCompletingAVelnoraIsMeldedAndTheHandEnds) {
    Table t;
    t.clearTable();
    t.melds(kQueen, {face(kQueen, 0), face(kQueen, 1), face(kQueen, 2), face(kQueen, 3),
                     face(kQueen, 0), face(kQueen, 1)});
    t.hand({face(kQueen, 2)});
    t.g.playerStartsHand = 1;
    drawn(t);
    EXPECT_TRUE(t.host.messages.empty()); // not stuck: the queen completes a velnora
    t.game.meldFromHand(0, MeldMode::single);
    ASSERT_EQ(t.host.scorings.size(), 1u);
    EXPECT_EQ(t.host.scorings[0].player.v[4], 1);
    EXPECT_EQ(t.host.scorings[0].player.v[5], 500);
    EXPECT_GT(t.host.scorings[0].player.v[9], 0);
    EXPECT_TRUE(t.host.messages.empty());
    EXPECT_CONSISTENT(t.game);
}

TEST(Wildcards, TheLastCardIsNotAddedWhenTheHandWouldEndUpEmptyWithoutEnoughVelnoras) {
    Table t;
    t.clearTable();
    t.game.rules.velnorasToGoOut = 3;
    t.melds(kFive, {face(kFive, 0), face(kFive, 1), face(kFive, 2), face(kFive, 3), face(kFive, 0),
                    face(kFive, 1), face(kFive, 2)});
    t.melds(kTen, {face(kTen, 0), face(kTen, 1), face(kTen, 2), face(kTen, 3), face(kTen, 0)});
    t.hand({kJoker, kJoker, face(kFour)});
    t.g.playerStartsHand = 1;
    drawn(t);
    t.game.meldCardClick(t.meldIndex(face(kTen, 1)), false);
    ASSERT_TRUE(t.game.discard(t.handIndex(face(kFour))));
    ASSERT_EQ(t.g.playerHand.count, 1);
    // Next turn: drawn again, one joker in hand, the tens one short of a velnora.
    t.g.inputBlocked = 0;
    t.g.hasDrawn = 1;
    t.game.meldCardClick(t.meldIndex(face(kTen, 1)), false);
    EXPECT_EQ(t.g.playerHand.count, 1); // two velnoras would still be one short
    EXPECT_EQ(t.column(kTen), 6);
    EXPECT_TRUE(t.host.scorings.empty());
    EXPECT_CONSISTENT(t.game);

    // When the velnora it completes is enough, the joker goes and the hand ends.
    t.game.rules.velnorasToGoOut = 2;
    t.game.meldCardClick(t.meldIndex(face(kTen, 1)), false);
    EXPECT_EQ(t.host.scorings.size(), 1u);
}

// The player's moves through the one entry: what the table made of each, and the refusals
// with the warning the player saw, with the cards left where they were.
TEST(PlayerMoves, ResultsNameWhatTheTableMadeAndRefusalsTheirWarning) {
    Table t;
    t.clearTable();
    t.hand({face(kKing), face(kKing, 1), kJoker, kJoker, face(kTwo), face(kFour)});
    t.stockTop({face(kNine)});

    const MoveResult early = t.game.applyPlayerMove(Move::withFace(MoveKind::meld, face(kKing)));
    EXPECT_FALSE(early.accepted);
    EXPECT_EQ(early.warning, kWarnMeldBeforeDraw);
    EXPECT_TRUE(early.made.empty());
    EXPECT_EQ(t.g.playerHand.count, 6);

    const MoveResult draw = t.game.applyPlayerMove(Move::of(MoveKind::draw));
    ASSERT_TRUE(draw.accepted);
    EXPECT_EQ(draw.made, std::vector<Move>{Move::of(MoveKind::draw)});
    const MoveResult again = t.game.applyPlayerMove(Move::of(MoveKind::draw));
    EXPECT_FALSE(again.accepted);
    EXPECT_EQ(again.warning, kWarnAlreadyDrawn);

    // A card the hand does not hold is refused without a word; a pair brings its wildcard.
    EXPECT_FALSE(t.game.applyPlayerMove(Move::withFace(MoveKind::meld, face(kAce))).accepted);
    ASSERT_TRUE(t.game.applyPlayerMove(Move::withFace(MoveKind::meld, face(kKing))).accepted);
    const MoveResult pair = t.game.applyPlayerMove(Move::withFace(MoveKind::meld, face(kKing, 1)));
    ASSERT_TRUE(pair.accepted);
    EXPECT_EQ(pair.made, (std::vector<Move>{Move::withFace(MoveKind::meld, face(kKing, 1)),
                                            Move::meldWildcardAt(kJoker, kKing)}));

    // A named wildcard goes in, not the one the table would pick; only the last meld comes back.
    const MoveResult two = t.game.applyPlayerMove(Move::meldWildcardAt(face(kTwo), kKing));
    ASSERT_TRUE(two.accepted);
    EXPECT_EQ(two.made.front().face, face(kTwo));
    EXPECT_FALSE(t.game.applyPlayerMove(Move::undoMeldAt(-1, kJoker)).accepted);
    EXPECT_TRUE(t.game.applyPlayerMove(Move::undoMeldAt(-1, face(kTwo))).accepted);
    EXPECT_GE(t.handIndex(face(kTwo)), 0);
    EXPECT_GE(t.handIndex(kJoker), 0);
    EXPECT_CONSISTENT(t.game);
}
