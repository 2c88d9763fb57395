#include "table_setup.h"

#include <gtest/gtest.h>

#include <array>

using namespace velnora;
using namespace velnora::test;

namespace {
constexpr int S = 0, C = 1, D = 2, H = 3;

// The computer's side of the script: it plays through the opponent primitives only.
void opponentDiscards(Game& game, int f) {
    Card card = game.opponentRemoveCard(findFace(game.state.opponentHand, f));
    card.x = game.layout.tableLeft;
    card.y = game.layout.discardY;
    card.faceUp = 1;
    push(game.state.discardPile, card);
}
} // namespace

// One hand from the first draw to going out: a frozen pile taken with a natural pair and
// completed by melds, wildcards added and taken back, a velnora filled, and a final discard.
TEST(WholeHand, PlayerTakesThePileBuildsAVelnoraAndGoesOutByADiscard) {
    Table t;
    ScriptedDriver driver;
    t.game.setOpponentDriver(&driver);
    t.clearTable();
    t.hand({face(kQueen, S), face(kQueen, C), face(kQueen, D), face(kKing, S), face(kKing, C),
            face(kKing, D), face(kKing, H), face(kKing, S), kJoker, face(1, S), face(1, C),
            face(kFive, S), face(kFive, C), face(kFive, D), face(kEight, D)});
    t.discardPile({face(kFour, C)});
    t.opponentHand({face(kQueen, H), face(kJack, H), face(kJack, D), face(kJack, C), face(kSix, H),
                    face(kSix, D), face(kSeven, H), face(kSeven, D), face(kNine, C), face(kNine, H),
                    face(kEight, H)});
    // Drawn in this order: player, computer, computer, player.
    t.stockTop({face(kTen, S), face(kEight, S), face(kSix, C), face(kTen, D)});
    t.g.pileFrozen = 1;
    t.g.playerStartsHand = 1; // the next deal is the player's again
    t.ready();
    t.game.showInstruction(kPromptDraw);
    EXPECT_CONSISTENT(t.game);

    driver.script = [&](Game& game) {
        EXPECT_EQ(game.state.promptState, kPromptOpponentsTurn);
        if (driver.turns == 1) {
            game.opponentDraw();
            EXPECT_CONSISTENT(game);
            opponentDiscards(game, face(kQueen, H));
        } else if (driver.turns == 2) {
            game.opponentDraw();
            for (int suit : {H, D, C}) {
                game.opponentMeldCard(findFace(game.state.opponentHand, face(kJack, suit)));
                EXPECT_CONSISTENT(game);
            }
            EXPECT_EQ(game.state.opponentMeldPoints, 30);
            opponentDiscards(game, face(kNine, C));
        } else {
            return; // the next hand is not part of the script
        }
        EXPECT_CONSISTENT(game);
        game.endOpponentTurn();
    };

    // Turn 1: draw, discard.
    t.game.drawFromStock();
    EXPECT_CONSISTENT(t.game);
    EXPECT_GE(t.handIndex(face(kTen, D)), 0);
    ASSERT_TRUE(t.game.discard(t.handIndex(face(kEight, D))));
    EXPECT_CONSISTENT(t.game);
    EXPECT_EQ(driver.turns, 1);
    EXPECT_EQ(t.status(), "Draw a card by clicking on the stock or the discard pile");
    EXPECT_EQ(t.g.inputBlocked, 0);
    ASSERT_EQ(t.g.discardPile.count, 3);
    EXPECT_EQ(t.g.discardPile.top().face, face(kQueen, H));

    // Turn 2: the frozen pile with two queens; pending until the first meld is complete.
    t.game.takeDiscardPile();
    EXPECT_CONSISTENT(t.game);
    EXPECT_EQ(t.status(),
              "Meld by clicking left, undo taking discard pile by clicking it (costs 50 points)");
    t.game.meldFromHand(t.handIndex(face(kQueen, S)), MeldMode::single);
    EXPECT_CONSISTENT(t.game);
    t.game.meldFromHand(t.handIndex(face(kQueen, C)), MeldMode::single);
    EXPECT_CONSISTENT(t.game);
    EXPECT_EQ(t.g.takingPile, 1); // 30 points are short of the 50 of a first meld
    EXPECT_EQ(t.g.discardPile.count, 2);
    t.game.meldFromHand(t.handIndex(face(kKing, D)), MeldMode::allOfRank);
    EXPECT_CONSISTENT(t.game);
    EXPECT_EQ(t.column(kKing), 5);
    EXPECT_EQ(t.g.takingPile, 0);
    EXPECT_EQ(t.g.discardPile.count, 0);
    EXPECT_EQ(t.g.playerHand.count, 10);
    EXPECT_EQ(t.g.knownPlayerCards.count, 2);
    EXPECT_EQ(t.status(), "Meld a card by clicking it, discard a card by right-clicking it");

    t.game.meldCardClick(t.meldIndex(face(kKing, C)), false);
    EXPECT_CONSISTENT(t.game);
    EXPECT_EQ(t.column(kKing), 6);
    t.game.undoMeld();
    EXPECT_CONSISTENT(t.game);
    EXPECT_EQ(t.column(kKing), 5);
    EXPECT_GE(t.handIndex(kJoker), 0);
    t.game.meldCardClick(t.meldIndex(face(kKing, C)), true);
    EXPECT_CONSISTENT(t.game);
    EXPECT_EQ(t.column(kKing), 7);
    EXPECT_EQ(t.g.playerVelnoras.velnoraKind[kKing], kMixed);
    EXPECT_EQ(t.host.sounds.back(), SoundEvent::mixedVelnora);
    EXPECT_TRUE(t.host.undoEnabled);
    ASSERT_TRUE(t.game.discard(t.handIndex(face(kEight, D))));
    EXPECT_CONSISTENT(t.game);
    // The four stays known; the eight went back to the pile and the joker is melded again.
    EXPECT_EQ(t.g.knownPlayerCards.count, 1);
    EXPECT_EQ(driver.turns, 2);
    EXPECT_EQ(t.g.opponentMeldPointsAtTurnStart, 30);

    // Turn 3: fives up to three, a queen, two tens with the automatic wildcard, then out.
    t.game.drawFromStock();
    EXPECT_CONSISTENT(t.game);
    t.game.meldFromHand(t.handIndex(face(kFive, C)), MeldMode::upToThree);
    EXPECT_CONSISTENT(t.game);
    EXPECT_EQ(t.column(kFive), 3);
    t.game.meldFromHand(t.handIndex(face(kQueen, D)), MeldMode::single);
    t.game.meldFromHand(t.handIndex(face(kTen, D)), MeldMode::single);
    t.game.meldFromHand(t.handIndex(face(kTen, S)), MeldMode::single);
    EXPECT_CONSISTENT(t.game);
    EXPECT_EQ(t.column(kTen), 3);
    ASSERT_EQ(t.g.playerHand.count, 1);
    EXPECT_TRUE(t.host.messages.empty()); // a velnora is held, so no pass
    ASSERT_TRUE(t.game.discard(t.handIndex(face(kFour, C))));
    EXPECT_CONSISTENT(t.game);

    // Melded: queens 4 x 10, kings 5 x 10 + joker 50 + two 20, fives 3 x 5, tens 2 x 10 + two
    // 20: 17 cards worth 215; a mixed velnora 300; out after having melded: 100.
    ASSERT_EQ(t.host.scorings.size(), 1u);
    const HandReport& r = t.host.scorings[0];
    const std::array<std::int32_t, 12> player{17, 215, 0, 0, 1, 300, 0, 0, 0, 100, 0, 615};
    EXPECT_EQ(r.player.v, player);
    // The computer: three jacks melded, eight cards left worth 55.
    const std::array<std::int32_t, 12> opponent{3, 30, 8, -55, 0, 0, 0, 0, 0, 0, 0, -25};
    EXPECT_EQ(r.opponent.v, opponent);
    EXPECT_EQ(t.g.playerTotal, 615);
    EXPECT_EQ(t.g.opponentTotal, -25);
    ASSERT_FALSE(t.host.highscores.empty());
    EXPECT_EQ(t.host.highscores[0], std::make_pair(0, 640));
    // The next hand has been dealt and the player draws first.
    EXPECT_EQ(t.g.playerHand.count, 15);
    EXPECT_EQ(t.status(), "Draw a card by clicking on the stock or the discard pile");
    EXPECT_EQ(driver.turns, 2);
    EXPECT_EQ(t.g.initialMeldMinimum, 50);
}
