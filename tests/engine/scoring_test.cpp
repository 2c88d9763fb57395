#include "scoring.h"
#include "table_setup.h"

#include <gtest/gtest.h>

using namespace velnora;
using namespace velnora::test;

namespace {

// The twelve values written out, for readable comparisons.
HandScore scoreOf(std::initializer_list<int> values) {
    HandScore s;
    int i = 0;
    for (int v : values)
        s.v[static_cast<std::size_t>(i++)] = v;
    return s;
}

} // namespace

TEST(Scoring, ConcealedGoingOutWithTwoNaturalVelnorasAndThreeRedThrees) {
    RuleSettings rules;
    TableBuilder t;
    t.meldRun(Seat::player, kKing, 7);
    t.meldRun(Seat::player, kQueen, 7);
    t.meldPlayer({kRedThree, kRedThree2, kRedThree}, kThree);
    ASSERT_EQ(t.g.playerVelnoras.velnoraKind[kKing], kNaturalVelnora);
    ASSERT_EQ(t.g.playerVelnoras.velnoraKind[kQueen], kNaturalVelnora);
    t.g.wentOut = 0;
    t.g.playerMeldPointsAtTurnStart = 0;
    // 2 x 500 + 3 x 100 + 200 + 140 melded points.
    EXPECT_EQ(scoreSeat(t.g, Seat::player, rules, t.layout),
              scoreOf({14, 140, 0, 0, 2, 1000, 3, 300, 0, 200, 0, 1640}));

    t.g.playerMeldPointsAtTurnStart = 140; // had melded before its last turn
    EXPECT_EQ(scoreSeat(t.g, Seat::player, rules, t.layout).v[9], 100);
}

TEST(Scoring, VelnoraBonusByKindAndOpponentGoingOut) {
    RuleSettings rules;
    TableBuilder t;
    t.meldRun(Seat::opponent, kJack, 4);
    t.meldOpponent({face(kTwo), face(kTwo, kHearts), face(kTwo, kClubs)}, kJack); // mixed
    t.meldRun(Seat::opponent, 0, 4);
    t.meldOpponent({face(kTwo, kDiamonds), face(kTwo), face(kTwo, kHearts)}); // wild
    ASSERT_EQ(t.g.opponentVelnoras.velnoraKind[kJack], kMixed);
    ASSERT_EQ(t.g.opponentVelnoras.velnoraKind[1], kWildVelnora);
    t.g.wentOut = 1;
    t.g.opponentMeldPointsAtTurnStart = 90;
    // Jacks 40 + 60, wildcards 4 x 50 + 60; bonus 300 + 1000; finish 100.
    EXPECT_EQ(scoreSeat(t.g, Seat::opponent, rules, t.layout),
              scoreOf({14, 360, 0, 0, 2, 1300, 0, 0, 0, 100, 0, 1760}));
    // The other seat did not go out and gets no finish bonus.
    t.meldRun(Seat::player, kAce, 3);
    t.playerHandCards({face(kFive), kJokerFace});
    EXPECT_EQ(scoreSeat(t.g, Seat::player, rules, t.layout),
              scoreOf({3, 60, 2, -55, 0, 0, 0, 0, 0, 0, 0, 5}));
}

TEST(Scoring, FourRedThreesDoubleAndArePenalisedTheSameWay) {
    RuleSettings rules;
    TableBuilder t;
    t.meldRun(Seat::player, kAce, 3);
    t.meldPlayer({kRedThree, kRedThree2}, kThree);
    t.meld(Seat::player, kRedThree, kThree, 1);
    t.meld(Seat::player, kRedThree2, kThree, 1);
    t.playerHandCards({face(kFive), face(kSix)});
    t.g.wentOut = 1;
    EXPECT_EQ(scoreSeat(t.g, Seat::player, rules, t.layout),
              scoreOf({3, 60, 2, -10, 0, 0, 4, 800, 0, 0, 0, 850}));

    rules.velnoraRequired = true;
    EXPECT_EQ(scoreSeat(t.g, Seat::player, rules, t.layout),
              scoreOf({3, -60, 2, -10, 0, 0, 4, -800, 0, 0, 0, -870}));
}

TEST(Scoring, RequiredVelnorasMissingCancelsTheBonusAndTurnsMeldsNegative) {
    RuleSettings rules;
    rules.velnoraRequired = true;
    rules.velnorasToGoOut = 2;
    TableBuilder t;
    t.meldRun(Seat::opponent, kKing, 7);
    t.meld(Seat::opponent, kRedThree, kThree);
    t.opponentHandCards({face(kAce)});
    t.g.wentOut = 0;
    EXPECT_EQ(scoreSeat(t.g, Seat::opponent, rules, t.layout),
              scoreOf({7, -70, 1, -20, 0, 0, 1, -100, 0, 0, 0, -190}));
    rules.velnorasToGoOut = 1;
    EXPECT_EQ(scoreSeat(t.g, Seat::opponent, rules, t.layout),
              scoreOf({7, 70, 1, -20, 1, 500, 1, 100, 0, 0, 0, 650}));
}

TEST(Scoring, ExhaustedStockGivesNoFinishBonusAndUnmeldedRedThreesCount) {
    RuleSettings rules;
    TableBuilder t;
    t.g.stockExhausted = 1;
    t.g.endHandRequested = 1;
    t.g.wentOut = 2;
    t.g.playerMeldPointsAtTurnStart = 0;
    t.g.opponentMeldPointsAtTurnStart = 0;
    t.meldPlayer({kRedThree, kRedThree2}, kThree);
    t.playerHandCards({face(kKing), face(kFive), kJokerFace});
    EXPECT_EQ(scoreSeat(t.g, Seat::player, rules, t.layout),
              scoreOf({0, 0, 3, -65, 0, 0, 2, -200, 0, 0, 0, -265}));

    t.meldRun(Seat::opponent, kJack, 7);
    t.opponentHandCards({face(kNine)});
    EXPECT_EQ(scoreSeat(t.g, Seat::opponent, rules, t.layout),
              scoreOf({7, 70, 1, -10, 1, 500, 0, 0, 0, 0, 0, 560}));
}

TEST(Scoring, RedThreeInHandCostsFiveHundred) {
    RuleSettings rules;
    TableBuilder t;
    t.meldRun(Seat::player, kAce, 3);
    t.meldPlayer({kRedThree, kRedThree2, kRedThree}, kThree);
    t.playerHandCards({kRedThree2});
    t.g.wentOut = 1;
    // The all-four extra only looks at the red threes laid out.
    EXPECT_EQ(scoreSeat(t.g, Seat::player, rules, t.layout),
              scoreOf({3, 60, 0, 0, 0, 0, 4, -200, 0, 0, 0, -140}));
    // Penalised, the fourth red three in hand also costs the extra 400.
    rules.velnoraRequired = true;
    EXPECT_EQ(scoreSeat(t.g, Seat::player, rules, t.layout),
              scoreOf({3, -60, 0, 0, 0, 0, 4, -1200, 0, 0, 0, -1260}));
}

TEST(Scoring, VerdictTextsAndTheirBoundaries) {
    const std::string c = "Congratulations Ann! ";
    const std::string b = "Too bad, Ann, ";
    auto verdict = [](int d) { return matchVerdict(d, "Ann", "the computer"); };
    EXPECT_EQ(verdict(4660), c + "You crushed the computer.");
    EXPECT_EQ(verdict(2501), c + "You crushed the computer.");
    EXPECT_EQ(verdict(2500), c + "You defeated the computer.");
    EXPECT_EQ(verdict(1801), c + "You defeated the computer.");
    EXPECT_EQ(verdict(1800), c + "You beat the computer.");
    EXPECT_EQ(verdict(501), c + "You beat the computer.");
    EXPECT_EQ(verdict(500), c + "You won.");
    EXPECT_EQ(verdict(201), c + "You won.");
    EXPECT_EQ(verdict(200), c + "You won, but it was pretty close!");
    EXPECT_EQ(verdict(1), c + "You won, but it was pretty close!");
    EXPECT_EQ(verdict(0), "It's a draw!");
    EXPECT_EQ(verdict(-1), b + "you lost but it was pretty close.");
    EXPECT_EQ(verdict(-200), b + "you lost but it was pretty close.");
    EXPECT_EQ(verdict(-201), b + "you lost.");
    EXPECT_EQ(verdict(-500), b + "you lost.");
    EXPECT_EQ(verdict(-501), b + "the computer beat you.");
    EXPECT_EQ(verdict(-1801), b + "the computer defeated you.");
    EXPECT_EQ(verdict(-2500), b + "the computer defeated you.");
    EXPECT_EQ(verdict(-2501), b + "the computer crushed you.");
    EXPECT_EQ(matchVerdict(-3000, "Player", "Bob"), "Too bad, Player, Bob crushed you.");
}
