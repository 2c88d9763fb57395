#include "meld_check.h"
#include "table_setup.h"

#include <gtest/gtest.h>

using namespace velnora;
using namespace velnora::test;

namespace {

constexpr const char* kRankSize = "every melded rank must contain at least three cards";
constexpr const char* kWildShare = "there are too many wildcards within one rank";
constexpr const char* kBlackThrees = "the Black Threes have not been melded correctly";
constexpr const char* kWildVelnoraReason = "wildcards must be melded as a velnora";
constexpr const char* kOneVelnora = "you need at least one Velnora to go out";
constexpr const char* kTwoVelnoras = "you need at least two Velnoras to go out";
constexpr const char* kTopCard = "you have not melded the top card correctly";

// Validates with the given hand count and returns the reason, or "ok".
std::string verdictOf(TableBuilder& t, const RuleSettings& rules, int handCount) {
    t.g.invalidMeldReason.clear();
    if (validateMelds(t.g, rules, t.layout, handCount)) return "ok";
    return t.g.invalidMeldReason;
}

} // namespace

TEST(MeldCheck, RankWithTwoCardsFailsAtEveryTableSize) {
    RuleSettings rules;
    for (int size = 0; size < kTableSizes; ++size) {
        TableBuilder t(size);
        t.meldRun(Seat::player, kKing, 3);
        t.meldRun(Seat::player, kQueen, 2);
        EXPECT_EQ(verdictOf(t, rules, 3), kRankSize) << "size " << size;
        t.meld(Seat::player, face(kQueen, kHearts));
        EXPECT_EQ(verdictOf(t, rules, 3), "ok") << "size " << size << '\n' << toString(t.g);
    }
}

TEST(MeldCheck, FirstMeldBelowMinimumNamesBothNumbers) {
    RuleSettings rules;
    TableBuilder t;
    t.g.initialMeldMinimum = 50;
    t.meldRun(Seat::player, kKing, 3); // 30
    t.meldRun(Seat::player, kFive, 3); // 15
    EXPECT_EQ(verdictOf(t, rules, 3),
              "your first meld must be at least 50 points (currently 45 points)");
    // Emptying the hand in this action lifts the minimum; what is left is the velnora rule,
    // and with the velnora it needs the same meld passes.
    EXPECT_EQ(verdictOf(t, rules, 0), kOneVelnora);
    t.g.playerVelnoras.velnoraCount = 1;
    EXPECT_EQ(verdictOf(t, rules, 0), "ok");
    t.g.playerVelnoras.velnoraCount = 0;
    t.meld(Seat::player, face(kFive, kHearts));
    EXPECT_EQ(verdictOf(t, rules, 3), "ok");
}

TEST(MeldCheck, MinimumIsLiftedWhenGoingOutWithAVelnora) {
    RuleSettings rules;
    TableBuilder t;
    t.g.initialMeldMinimum = 90;
    t.meldRun(Seat::player, kFour, 7); // 35, a natural velnora
    t.meldRun(Seat::player, kKing, 3); // 30
    ASSERT_EQ(t.g.playerVelnoras.velnoraCount, 1);
    EXPECT_EQ(verdictOf(t, rules, 3),
              "your first meld must be at least 90 points (currently 65 points)");
    EXPECT_EQ(verdictOf(t, rules, 0), "ok");
}

TEST(MeldCheck, NothingMeldedAndRedThreesAloneAreExemptFromTheMinimum) {
    RuleSettings rules;
    TableBuilder t;
    EXPECT_EQ(verdictOf(t, rules, 12), "ok");
    t.meldPlayer({kRedThree, kRedThree2}, kThree);
    EXPECT_EQ(verdictOf(t, rules, 12), "ok");
}

TEST(MeldCheck, VelnoraBonusCountsForTheFirstMeldOnlyWithTheRule) {
    RuleSettings rules;
    TableBuilder t;
    t.g.initialMeldMinimum = 90;
    t.meldRun(Seat::player, kFour, 7);
    ASSERT_EQ(t.g.playerVelnoras.velnoraCount, 1);
    EXPECT_EQ(verdictOf(t, rules, 3),
              "your first meld must be at least 90 points (currently 35 points)");
    rules.bonusCounts = true;
    EXPECT_EQ(verdictOf(t, rules, 3), "ok");
}

TEST(MeldCheck, WildcardsMayNotOutnumberNaturalsInARank) {
    RuleSettings rules;
    TableBuilder t;
    t.meldRun(Seat::player, kKing, 2);
    t.meldPlayer({kJokerFace, face(kTwo, kHearts), face(kTwo, kClubs)}, kKing);
    EXPECT_EQ(verdictOf(t, rules, 4), kWildShare);
    t.meld(Seat::player, face(kKing, kDiamonds));
    EXPECT_EQ(verdictOf(t, rules, 4), "ok");
}

TEST(MeldCheck, BlackThreesOnlyWhenGoingOutAndAtLeastThree) {
    RuleSettings rules;
    TableBuilder t;
    t.meldRun(Seat::player, kAce, 3); // 60
    t.meldPlayer({kBlackThree, kBlackThree2}, kThree);
    t.meld(Seat::player, kBlackThree, kThree, 1);
    EXPECT_EQ(verdictOf(t, rules, 2), kBlackThrees);

    t.meldRun(Seat::player, kKing, 7);
    ASSERT_EQ(t.g.playerVelnoras.velnoraCount, 1);
    EXPECT_EQ(verdictOf(t, rules, 0), "ok");

    TableBuilder two;
    two.meldRun(Seat::player, kKing, 7);
    two.meldPlayer({kBlackThree, kBlackThree2}, kThree);
    EXPECT_EQ(verdictOf(two, rules, 0), kBlackThrees);
}

TEST(MeldCheck, RedThreesDoNotCountAsBlackThrees) {
    RuleSettings rules;
    TableBuilder t;
    t.meldRun(Seat::player, kAce, 3);
    t.meldPlayer({kRedThree, kRedThree2}, kThree);
    EXPECT_EQ(verdictOf(t, rules, 5), "ok");
}

TEST(MeldCheck, WildcardColumnNeedsSevenCards) {
    RuleSettings rules;
    TableBuilder t;
    t.meldRun(Seat::player, kAce, 3);
    for (int i = 0; i < 6; ++i)
        t.meld(Seat::player, i % 2 ? kJokerFace : face(kTwo, i % 4), 1, i / 4);
    EXPECT_EQ(verdictOf(t, rules, 4), kWildVelnoraReason);
    t.meld(Seat::player, kJokerFace, 1, 1);
    EXPECT_EQ(t.g.playerVelnoras.velnoraKind[1], kWildVelnora);
    EXPECT_EQ(verdictOf(t, rules, 4), "ok");
}

TEST(MeldCheck, GoingOutNeedsTheRequiredVelnoras) {
    RuleSettings rules;
    TableBuilder t;
    t.meldRun(Seat::player, kAce, 3);
    EXPECT_EQ(verdictOf(t, rules, 0), kOneVelnora);
    t.meldRun(Seat::player, kKing, 7);
    EXPECT_EQ(verdictOf(t, rules, 0), "ok");
    rules.velnorasToGoOut = 2;
    EXPECT_EQ(verdictOf(t, rules, 0), kTwoVelnoras);
    EXPECT_EQ(verdictOf(t, rules, 1), "ok");
}

TEST(MeldCheck, FirstFailingCheckInTheFixedOrderNamesTheReason) {
    RuleSettings rules;
    TableBuilder t;
    // Wildcard share, black threes, wildcard column and going out all fail too.
    t.meldRun(Seat::player, kKing, 1);
    t.meldPlayer({kJokerFace, kJokerFace}, kKing);
    t.meldPlayer({kBlackThree, kBlackThree2}, kThree);
    t.meld(Seat::player, kJokerFace, 1);
    t.meldRun(Seat::player, kFive, 2);
    EXPECT_EQ(verdictOf(t, rules, 0), kRankSize);

    TableBuilder u;
    u.g.initialMeldMinimum = 120;
    u.meldRun(Seat::player, kKing, 3);
    u.meldPlayer({kJokerFace}, kKing);
    u.meld(Seat::player, kBlackThree, kThree);
    EXPECT_EQ(verdictOf(u, rules, 2),
              "your first meld must be at least 120 points (currently 85 points)");
}

TEST(MeldCheck, PendingTopCardOverridesEveryOtherResult) {
    RuleSettings rules;
    TableBuilder t;
    t.meldRun(Seat::player, kAce, 3);
    ASSERT_TRUE(validateForCommit(t.g, rules, t.layout, 3));
    t.g.topCardPending = 1;
    EXPECT_FALSE(validateForCommit(t.g, rules, t.layout, 3));
    EXPECT_EQ(t.g.invalidMeldReason, kTopCard);
    t.meldRun(Seat::player, kQueen, 2);
    EXPECT_FALSE(validateForCommit(t.g, rules, t.layout, 3));
    EXPECT_EQ(t.g.invalidMeldReason, kTopCard);
}

TEST(MeldCheck, BlackThreesBecomeMeldableOnlyAsTheLastCardsAndStaySo) {
    RuleSettings rules;
    TableBuilder t;
    t.playerHandCards({kBlackThree, kBlackThree2, kBlackThree, face(kNine)});
    EXPECT_FALSE(blackThreesMeldable(t.g, rules)) << "no velnora yet";
    t.meldRun(Seat::player, kKing, 7);
    t.playerHandCard(face(kTen));
    EXPECT_FALSE(blackThreesMeldable(t.g, rules)) << "two other cards in hand";
    removeAt(t.g.playerHand, t.g.playerHand.count - 1);
    EXPECT_TRUE(blackThreesMeldable(t.g, rules));
    // Melding the first black three leaves two; the permission holds until the next deal.
    removeAt(t.g.playerHand, 0);
    EXPECT_TRUE(blackThreesMeldable(t.g, rules));
    EXPECT_EQ(t.g.blackThreesAllowed, 1);
}

TEST(MeldCheck, StuckWithOneCardUnlessItCompletesAVelnora) {
    RuleSettings rules;
    {
        TableBuilder t;
        t.meldRun(Seat::player, kAce, 3);
        t.playerHandCard(face(kNine));
        EXPECT_TRUE(isStuckWithOneCard(t.g, rules, t.layout));
        t.g.playerHand.count = 0;
        t.playerHandCards({face(kNine), face(kTen)});
        EXPECT_FALSE(isStuckWithOneCard(t.g, rules, t.layout)) << "two cards in hand";
    }
    {
        TableBuilder t; // the last queen makes seven
        t.meldRun(Seat::player, kQueen, 6);
        t.playerHandCard(face(kQueen, kHearts));
        EXPECT_FALSE(isStuckWithOneCard(t.g, rules, t.layout));
        rules.velnorasToGoOut = 2;
        EXPECT_TRUE(isStuckWithOneCard(t.g, rules, t.layout)) << "two needed, none held";
        rules.velnorasToGoOut = 1;
    }
    {
        TableBuilder t; // a wildcard completes six with at most two wildcards
        t.meldRun(Seat::player, kQueen, 4);
        t.meldPlayer({kJokerFace, kJokerFace}, kQueen);
        t.playerHandCard(face(kTwo));
        EXPECT_FALSE(isStuckWithOneCard(t.g, rules, t.layout));
    }
    {
        TableBuilder t; // three naturals and three wildcards: a fourth wildcard makes no velnora
        t.meldRun(Seat::player, kQueen, 3);
        t.meldPlayer({kJokerFace, kJokerFace, face(kTwo)}, kQueen);
        t.playerHandCard(face(kTwo, kHearts));
        EXPECT_TRUE(isStuckWithOneCard(t.g, rules, t.layout));
    }
    {
        TableBuilder t; // the melds are wrong: the discard is refused, not passed
        t.meldRun(Seat::player, kQueen, 2);
        t.playerHandCard(face(kNine));
        EXPECT_FALSE(isStuckWithOneCard(t.g, rules, t.layout));
    }
    {
        TableBuilder t; // enough velnoras: the player simply goes out
        t.meldRun(Seat::player, kQueen, 7);
        t.playerHandCard(face(kNine));
        EXPECT_FALSE(isStuckWithOneCard(t.g, rules, t.layout));
    }
    {
        TableBuilder t; // pending top card with cards left in the pile
        t.meldRun(Seat::player, kAce, 3);
        t.playerHandCard(face(kNine));
        t.discard(face(kSix));
        t.g.topCardPending = 1;
        EXPECT_FALSE(isStuckWithOneCard(t.g, rules, t.layout));
    }
}

TEST(MeldCheck, BlackThreeCannotCompleteAVelnoraInTheThreesColumn) {
    // Six cards stand in the threes column (four red threes and two wildcards put there), yet
    // a three never makes a velnora, so the last black three leaves the player stuck.
    RuleSettings rules;
    TableBuilder t;
    t.meldRun(Seat::player, kAce, 3);
    t.meldPlayer({kRedThree, kRedThree2, kJokerFace, kJokerFace}, kThree);
    t.meld(Seat::player, kRedThree, kThree, 1);
    t.meld(Seat::player, kRedThree2, kThree, 1);
    ASSERT_EQ(columnCount(t.g.playerMelds, kThree, t.layout), 6);
    t.playerHandCard(kBlackThree);
    EXPECT_TRUE(isStuckWithOneCard(t.g, rules, t.layout));
}

TEST(MeldCheck, GoneOutNeedsAnEmptyHandAndTheVelnoras) {
    RuleSettings rules;
    TableBuilder t;
    EXPECT_FALSE(hasGoneOut(t.g, Seat::opponent, rules));
    t.meldRun(Seat::opponent, kJack, 7);
    EXPECT_TRUE(hasGoneOut(t.g, Seat::opponent, rules));
    rules.velnorasToGoOut = 2;
    EXPECT_FALSE(hasGoneOut(t.g, Seat::opponent, rules));
    rules.velnorasToGoOut = 1;
    t.opponentHandCard(face(kFive));
    EXPECT_FALSE(hasGoneOut(t.g, Seat::opponent, rules));
    EXPECT_FALSE(hasGoneOut(t.g, Seat::player, rules));
}

TEST(MeldCheck, RemoteOpponentGoingOutIsCheckedByTheSameRules) {
    RuleSettings rules;
    std::string reason;
    TableBuilder t;
    t.meldRun(Seat::opponent, kJack, 7);
    t.meldRun(Seat::opponent, kFive, 3);
    EXPECT_TRUE(validateOpponentMelds(t.g, rules, t.layout, &reason)) << reason;

    t.meldOpponent({kBlackThree, kBlackThree2}, kThree);
    EXPECT_FALSE(validateOpponentMelds(t.g, rules, t.layout, &reason));
    EXPECT_EQ(reason, kBlackThrees);

    TableBuilder u;
    u.meldRun(Seat::opponent, kJack, 7);
    u.meldRun(Seat::opponent, kNine, 2);
    u.meldRun(Seat::opponent, kSix, 1);
    u.meldOpponent({kJokerFace, kJokerFace}, kSix);
    EXPECT_FALSE(validateOpponentMelds(u.g, rules, u.layout, &reason));
    EXPECT_EQ(reason, kRankSize);

    TableBuilder v; // no velnora
    v.meldRun(Seat::opponent, kJack, 4);
    EXPECT_FALSE(validateOpponentMelds(v.g, rules, v.layout, &reason));
    EXPECT_EQ(reason, kOneVelnora);

    TableBuilder w; // still holding a card: not gone out
    w.meldRun(Seat::opponent, kJack, 7);
    w.opponentHandCard(face(kFive));
    EXPECT_FALSE(validateOpponentMelds(w.g, rules, w.layout));
}
