// The Expert computer level on hand-built tables: its mood, its memory between turns, when it
// takes the pile, when it goes out, and what it discards.

#include "ai_table.h"
#include "autoplayer.h"
#include "expert.h"
#include "meld_check.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace velnora::ai {
namespace {

using namespace test; // the shared tables and their card names

constexpr int kTwoS = face(kTwo), kJokerCard = kJoker;

// The shared computer table with what the Expert's decisions read besides: a short stock whose
// cards lie under the discard pile, and the player's hand as the window last counted it.
struct Table : AiTable {
    Table() {
        game.options.meldDelay = 0;
        game.options.computerLevel = 2;
    }

    Card take(int f) {
        Card c = takeFromStock(f);
        c.faceUp = 1;
        return c;
    }
    void pile(std::initializer_list<int> faces) { discardPile(faces); }
    void toPile(Card c) {
        c.x = game.layout.tableLeft;
        c.y = game.layout.discardY;
        push(g.discardPile, c);
    }
    void playerHand(std::initializer_list<int> faces) { hand(faces); }
    void playerMelds(int column, std::initializer_list<int> faces) { melds(column, faces); }
    // The player's hand filled up to n cards with naturals from four to ace.
    void playerHandOf(int n) {
        for (int i = 0; i < g.stock.count && g.playerHand.count < n;) {
            if (g.stock.places()[static_cast<std::size_t>(i)].rank() >= kFour) {
                Card c = removeAt(g.stock, i);
                c.faceUp = 1;
                placeInColumn(g.playerHand, c, c.rank(), kColumnStep);
                push(g.playerHand, c);
            } else {
                ++i;
            }
        }
    }
    // Moves stock cards, except those of the ranks listed, under the discard pile until the
    // stock holds n cards.
    void shrinkStockTo(int n, std::initializer_list<int> keep = {}) {
        Pile under;
        for (int i = 0; g.stock.count > n && i < g.stock.count;) {
            const int r = g.stock.places()[static_cast<std::size_t>(i)].rank();
            bool kept = false;
            for (int k : keep)
                kept = kept || rankOf(k) == r;
            if (kept) {
                ++i;
                continue;
            }
            push(under, removeAt(g.stock, i));
        }
        for (Card& c : under.edit()) {
            c.faceUp = 1;
            c.x = game.layout.tableLeft;
            c.y = game.layout.discardY;
        }
        for (const Card& c : g.discardPile)
            push(under, c);
        g.discardPile = under;
    }
    void recountWindow() { countRanks(g, game.layout); }
    bool consistent() {
        std::string why;
        const bool ok = game.isConsistent(&why);
        if (!ok) ADD_FAILURE() << why << "\n" << toString(g);
        return ok;
    }
};

int handCount(const Table& t, int rank) {
    return countRank(t.g.opponentHand, rank);
}

// The mood

TEST(ExpertMood, FullAggressionIsCertainFromSeventyStockCardsDown) {
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
        Table t;
        t.rng.reseed(seed);
        t.game.options.aggression = 100;
        t.opponentHand({face(kFour), face(kNine), face(kKing)});
        t.pile({kBlackThree});
        t.shrinkStockTo(70);
        ExpertTurn turn(t.game);
        turn.expertDrawPhase();
        EXPECT_EQ(t.g.ai.aggressiveMode, 1) << "seed " << seed;
    }
}

TEST(ExpertMood, NoAggressionIsCertainOnlyFromTenStockCardsDown) {
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
        Table t;
        t.rng.reseed(seed);
        t.game.options.aggression = 0;
        t.opponentHand({face(kFour), face(kNine), face(kKing)});
        t.pile({kBlackThree});
        t.shrinkStockTo(10);
        ExpertTurn turn(t.game);
        turn.expertDrawPhase();
        EXPECT_EQ(t.g.ai.aggressiveMode, 1) << "seed " << seed;
    }
    // With 104 cards in the stock the chance is 10 in 104.
    int aggressive = 0;
    for (std::uint64_t seed = 1; seed <= 300; ++seed) {
        Table t;
        t.rng.reseed(seed);
        t.game.options.aggression = 0;
        t.opponentHand({face(kFour), face(kNine), face(kKing)});
        t.pile({kBlackThree});
        ExpertTurn turn(t.game);
        turn.expertDrawPhase();
        aggressive += t.g.ai.aggressiveMode;
    }
    EXPECT_GT(aggressive, 10);
    EXPECT_LT(aggressive, 60);
}

// Memory between turns

TEST(ExpertMemory, OneCardPileAtTurnStartForgetsTheBaitAndSpareThrees) {
    Table t;
    t.opponentHand({face(kFour), face(kNine), face(kKing), kBlackThree2});
    t.pile({kBlackThree});
    t.g.ai.baitRank = kNine;
    t.g.ai.threesToMeld = 1;
    ExpertTurn turn(t.game);
    EXPECT_EQ(turn.expertDrawPhase(), 0);
    EXPECT_EQ(t.g.ai.baitRank, 0);
    // A single three in hand is not worth keeping back for going out.
    EXPECT_EQ(t.g.ai.threesToMeld, 0);

    Table kept;
    kept.opponentHand({face(kFour), face(kNine), face(kKing), kBlackThree2});
    kept.pile({face(kSix), kBlackThree});
    kept.g.ai.baitRank = kNine;
    kept.g.ai.threesToMeld = 1;
    ExpertTurn turn2(kept.game);
    EXPECT_EQ(turn2.expertDrawPhase(), 0);
    EXPECT_EQ(kept.g.ai.baitRank, kNine);
    EXPECT_EQ(kept.g.ai.threesToMeld, 1);
}

TEST(ExpertMemory, ANewDealForgetsTheHandBefore) {
    Table t;
    t.g.ai.baitRank = kTen;
    t.g.ai.threesToMeld = 1;
    t.g.ai.playerDiscardsByRank[5] = 3;
    t.g.playerStartsHand = 1;
    t.game.dealHand();
    EXPECT_EQ(t.g.ai.baitRank, 0);
    EXPECT_EQ(t.g.ai.threesToMeld, 0);
    EXPECT_EQ(t.g.ai.playerDiscardsByRank[5], 3);
}

// Taking the pile

// A pile of sevens the computer could add to its meld of sevens; the player holds enough cards
// that building the pile up is out of the question.
void pileOfSevensTable(Table& t, int stockSize) {
    t.opponentMelds(kSeven, {face(kSeven, 0), face(kSeven, 1), face(kSeven, 2)});
    t.opponentHand({face(kFour), face(kNine), face(kKing), face(kQueen), face(kAce)});
    const Card under = t.take(face(kEight));
    const Card top = t.take(face(kSeven, 3));
    t.playerHandOf(26);
    t.recountWindow();
    t.shrinkStockTo(stockSize, {face(kSeven)});
    t.toPile(under);
    t.toPile(top);
}

TEST(ExpertTakePile, WithOneVelnoraToGoOutAnEarlyPileIsLeft) {
    for (int stock : {68, 70}) {
        Table t;
        pileOfSevensTable(t, stock);
        ExpertTurn turn(t.game);
        EXPECT_FALSE(turn.expertTakePile()) << "stock " << stock;
    }
    Table t;
    pileOfSevensTable(t, 67);
    ExpertTurn turn(t.game);
    EXPECT_TRUE(turn.expertTakePile());
}

TEST(ExpertTakePile, TwoVelnorasToGoOutLiftTheEarlyLimit) {
    Table t;
    t.game.rules.velnorasToGoOut = 2;
    pileOfSevensTable(t, 70);
    ExpertTurn turn(t.game);
    EXPECT_TRUE(turn.expertTakePile());
}

TEST(ExpertTakePile, APickUpMakesTheWholeInitialMeldAndUnfreezesThePile) {
    Table t;
    // Eights on the pile, a pair of eights and three kings in hand: 30 + 30 reaches 50.
    t.opponentHand({face(kEight, 0), face(kEight, 1), face(kKing, 0), face(kKing, 1),
                    face(kKing, 2), face(kFour), face(kFive), face(kNine), face(kJack)});
    const Card under = t.take(face(kSix, 3));
    const Card top = t.take(face(kEight, 2));
    t.playerHandOf(26);
    t.recountWindow();
    t.shrinkStockTo(50, {face(kEight), face(kKing)});
    t.toPile(under);
    t.toPile(top);
    t.g.pileFrozen = 1;
    t.g.promptState = kPromptOpponentsTurn;
    t.g.opponentPromptState = kPromptDraw;
    const int pileBefore = t.g.discardPile.count;
    const int handBefore = t.g.opponentHand.count;
    int redThrees = 0;
    for (const Card& c : t.g.discardPile)
        redThrees += isRedThree(c.face) ? 1 : 0;

    ExpertTurn turn(t.game);
    EXPECT_EQ(turn.expertDrawPhase(), 1);
    EXPECT_GE(t.g.opponentMeldPoints, 50);
    EXPECT_TRUE(t.g.discardPile.empty());
    EXPECT_EQ(t.g.pileFrozen, 0);
    // Six cards went down (three eights, three kings); the rest of the pile came into the hand,
    // but for its red threes, which went down as they came.
    EXPECT_EQ(t.g.opponentHand.count, handBefore + pileBefore - 6 - redThrees);
    EXPECT_EQ(handCount(t, kEight), 0);
    EXPECT_EQ(handCount(t, kKing), 0);
    EXPECT_TRUE(t.consistent());
}

// Estimates

TEST(ExpertEstimate, TheTopCardsWildcardIsNotSpentTwice) {
    Table t;
    t.g.opponentTotal = 1500; // minimum 90
    t.opponentHand({face(kEight, 0), kJokerCard, face(kKing, 0), face(kKing, 1), face(kFour)});
    t.pile({face(kEight, 1)});
    const Card two = t.take(kTwoS);
    t.shrinkStockTo(60);
    ExpertTurn turn(t.game);
    Holding hand = Holding::ofHand(t.g);
    hand.add(t.g.discardPile.top());
    // Eights 20 + joker 50 = 70; the pair of kings would need a second wild card.
    EXPECT_FALSE(turn.expertEstimateMeld(hand, kEight, false, false));
    EXPECT_EQ(t.g.ai.meldPlan, 0);
    hand.add(two);
    int used = 0;
    EXPECT_TRUE(turn.expertEstimateMeld(hand, kEight, false, false, &used));
    EXPECT_EQ(used, 2);
    EXPECT_EQ(t.g.ai.meldPlan, 2);
}

TEST(ExpertEstimate, PrefersThePlanWithFewerWildcards) {
    Table t;
    t.game.rules.naturalPair = false;
    // Fours and fives make 30; the joker tops them up past 50, as it would a pair of aces.
    t.opponentHand({face(kFour, 0), face(kFour, 1), face(kFour, 2), face(kFive, 0), face(kFive, 1),
                    face(kFive, 2), face(kAce, 0), face(kAce, 1), kJokerCard, face(kNine),
                    face(kTen), face(kJack)});
    t.pile({face(kSix)});
    t.shrinkStockTo(60);
    ExpertTurn turn(t.game);
    int used = 0;
    EXPECT_TRUE(turn.expertEstimateMeld(Holding::ofHand(t.g), -1, false, false, &used));
    EXPECT_EQ(used, 1);
    EXPECT_EQ(t.g.ai.meldPlan, 1); // equal wild cards: triples first

    // Fours alone need two twos to pass 50; the aces with one two make 75.
    Holding twos = Holding::ofHand(t.g);
    for (int i = 0; i < 3; ++i)
        twos.removeOne(kFive);
    twos.removeOne(kRankJoker);
    twos.add(makeCard(kTwoS, 0));
    twos.add(makeCard(kTwoS + 13, 0));
    EXPECT_TRUE(turn.expertEstimateMeld(twos, -1, false, false, &used));
    EXPECT_EQ(used, 1);
    EXPECT_EQ(t.g.ai.meldPlan, 2);
}

TEST(ExpertEstimate, CanSpareLeavesThePlanAsItWas) {
    Table t;
    t.opponentHand({face(kKing, 0), face(kKing, 1), face(kKing, 2), face(kAce, 0), face(kAce, 1),
                    face(kAce, 2), face(kNine)});
    t.pile({face(kSix)});
    t.shrinkStockTo(60);
    ExpertTurn turn(t.game);
    t.g.ai.meldPlan = 2;
    const Holding hand = Holding::ofHand(t.g);
    // Kings 30 + aces 60: the aces alone still make the minimum, the kings alone do not.
    EXPECT_TRUE(turn.expertCanSpare(hand, kKing));
    EXPECT_FALSE(turn.expertCanSpare(hand, kAce));
    EXPECT_FALSE(turn.expertCanSpare(hand, kTen));
    EXPECT_EQ(t.g.ai.meldPlan, 2);
}

// Going out

// A velnora of sevens on the table, four kings and a nine in hand after the draw; the player
// has melded aces and tens (90 points).
void readyToGoOut(Table& t, int playerTotal) {
    t.game.options.aggression = 100;
    t.g.playerTotal = playerTotal;
    t.opponentMelds(kSeven, {face(kSeven, 0), face(kSeven, 0), face(kSeven, 1), face(kSeven, 1),
                             face(kSeven, 2), face(kSeven, 2), face(kSeven, 3)});
    t.opponentHand({face(kKing, 0), face(kKing, 1), face(kKing, 2), face(kNine)});
    t.playerMelds(kAce, {face(kAce, 0), face(kAce, 1), face(kAce, 2)});
    t.playerMelds(kTen, {face(kTen, 0), face(kTen, 1), face(kTen, 2)});
    const Card drawn = t.take(face(kKing, 3));
    t.playerHandOf(15);
    t.recountWindow();
    t.shrinkStockTo(60);
    t.pile({kBlackThree});
    push(t.g.stock, drawn);
}

TEST(ExpertGoOut, NeverHandsThePlayerTheMatch) {
    Table t;
    readyToGoOut(t, 4950); // projected 4950 + 90 against 300 + 35
    ASSERT_EQ(t.g.opponentVelnoras.velnoraCount, 1);
    expertTurn(t.game);
    EXPECT_TRUE(t.host.scorings.empty());
    EXPECT_EQ(t.g.opponentHand.count, 4);
    EXPECT_TRUE(t.consistent());

    Table below;
    readyToGoOut(below, 4900); // projected 4990: the hand may end
    expertTurn(below.game);
    EXPECT_EQ(below.host.scorings.size(), 1u);
}

TEST(ExpertGoOut, AFinishedVelnoraCountsOnceWhenPlanningToGoOut) {
    Table t;
    t.game.rules.velnorasToGoOut = 2;
    t.game.options.aggression = 100;
    t.opponentMelds(kSeven, {face(kSeven, 0), face(kSeven, 0), face(kSeven, 1), face(kSeven, 1),
                             face(kSeven, 2), face(kSeven, 2), face(kSeven, 3)});
    t.opponentHand({face(kKing, 0), face(kKing, 1), kJokerCard});
    const Card drawn = t.take(face(kNine));
    t.playerHandOf(15);
    t.recountWindow();
    t.shrinkStockTo(60);
    t.pile({kBlackThree});
    push(t.g.stock, drawn);

    expertTurn(t.game);
    // Melding the kings with the joker would leave one card and no second velnora.
    EXPECT_EQ(t.g.opponentHand.count, 3);
    EXPECT_EQ(columnCount(t.g.opponentMelds, kKing, t.game.layout), 0);
    for (const std::string& m : t.host.messages)
        EXPECT_NE(m, "The computer passes the discard.");
    EXPECT_TRUE(t.consistent());
}

// Four fives, two twos and a joker: a velnora worth 110 points.
void velnoraOfFives(Table& t, int opponentTotal) {
    t.game.options.aggression = 100;
    t.g.opponentTotal = opponentTotal;
    t.opponentHand({face(kFive, 0), face(kFive, 1), face(kFive, 2), face(kFive, 3), kTwoS, kTwoS,
                    kJokerCard, face(kNine, 0)});
    const Card drawn = t.take(face(kKing, 0));
    t.playerHandOf(15);
    t.recountWindow();
    t.shrinkStockTo(50, {face(kFive)});
    t.pile({kBlackThree});
    push(t.g.stock, drawn);
}

TEST(ExpertMeld, AVelnoraIsNoFirstMeldBelowTheMinimum) {
    Table t;
    velnoraOfFives(t, 3000); // minimum 120
    expertTurn(t.game);
    EXPECT_EQ(t.g.opponentMeldPoints, 0);
    EXPECT_EQ(columnCount(t.g.opponentMelds, kFive, t.game.layout), 0);
    EXPECT_TRUE(t.consistent());

    Table enough;
    velnoraOfFives(enough, 1500); // minimum 90
    expertTurn(enough.game);
    EXPECT_EQ(enough.g.opponentMeldPoints, 110);
    EXPECT_EQ(enough.g.opponentVelnoras.velnoraCount, 1);

    // When a velnora lifts the minimum, the same velnora may open the melds.
    Table bonus;
    bonus.game.rules.bonusCounts = true;
    velnoraOfFives(bonus, 3000);
    expertTurn(bonus.game);
    EXPECT_EQ(bonus.g.opponentVelnoras.velnoraCount, 1);
}

// Discarding

// Twelve naturals without a meld in them, two red threes laid out, two velnoras to go out.
void redThreeTable(Table& t, int handSize) {
    t.game.rules.threeBlock = true;
    t.game.rules.velnorasToGoOut = 2;
    t.opponentMelds(kRankThree, {kRedThree, kRedThree2});
    t.opponentHand({face(kFour, 0), face(kFive, 0), face(kSix, 0), face(kEight, 0), face(kNine, 0),
                    face(kTen, 0), face(kJack, 0), face(kQueen, 0), face(kKing, 0), face(kAce, 0),
                    face(kFour, 1), face(kFive, 1)});
    if (handSize > 12) t.opponentHand({face(kJack, 1)});
    t.pile({face(kSix, 3), kBlackThree});
    t.stockTop({face(kNine, 1)});
}

TEST(ExpertDiscard, UnderTheFreezeRuleARedThreeGoesBackWhileTheHandIsSmall) {
    Table t;
    redThreeTable(t, 12);
    const int firstY = t.g.opponentMelds.at(0).y;
    expertTurn(t.game);
    ASSERT_FALSE(t.g.discardPile.empty());
    EXPECT_EQ(t.g.discardPile.top().face, kRedThree);
    EXPECT_EQ(t.g.pileFrozen, 1);
    ASSERT_EQ(t.g.opponentMelds.count, 1);
    // The red three left behind closes the gap.
    EXPECT_EQ(t.g.opponentMelds.at(0).face, kRedThree2);
    EXPECT_EQ(t.g.opponentMelds.at(0).y, firstY);
    EXPECT_EQ(t.g.opponentHand.count, 13);
    EXPECT_TRUE(t.consistent());

    Table big;
    redThreeTable(big, 13);
    expertTurn(big.game);
    EXPECT_FALSE(isRedThree(big.g.discardPile.top().face));
    EXPECT_EQ(big.g.opponentMelds.count, 2);
    EXPECT_EQ(big.g.opponentHand.count, 13);
}

TEST(ExpertDiscard, TheLastCardRuleAvoidsTheRanksThePlayerMelded) {
    Table t;
    t.opponentMelds(kQueen, {face(kQueen, 0), face(kQueen, 1), face(kQueen, 2)});
    t.opponentHand({face(kNine, 0), face(kTen, 0), face(kTen, 1)});
    t.playerMelds(kNine, {face(kNine, 1), face(kNine, 2), face(kNine, 3)});
    t.playerHand({face(kAce, 3)});
    t.recountWindow();
    ExpertTurn turn(t.game);
    const DiscardChoice choice = turn.expertDiscard();
    ASSERT_GE(choice.handIndex, 0);
    // The single nine would be the safe discard, but the player holds one card and has a meld
    // of nines.
    EXPECT_EQ(t.g.opponentHand.at(choice.handIndex).rank(), kTen);
}

TEST(ExpertDiscard, AWildcardFreezesThePileWhenThePlayerIsCloseToIt) {
    Table t;
    t.opponentMelds(kQueen, {face(kQueen, 0), face(kQueen, 1), face(kQueen, 2)});
    t.opponentHand({face(kNine, 0), face(kTen, 0), kJokerCard, kJokerCard, kTwoS, kTwoS,
                    face(kFour, 0), face(kFour, 1), face(kFive, 0), face(kSix, 0)});
    // Twenty cards melded by the player and six in hand.
    t.playerMelds(kAce, {face(kAce, 0), face(kAce, 1), face(kAce, 2), face(kAce, 3)});
    t.playerMelds(kKing, {face(kKing, 0), face(kKing, 1), face(kKing, 2), face(kKing, 3)});
    t.playerMelds(kJack, {face(kJack, 0), face(kJack, 1), face(kJack, 2), face(kJack, 3)});
    t.playerMelds(kEight, {face(kEight, 0), face(kEight, 1), face(kEight, 2), face(kEight, 3)});
    t.playerMelds(kSeven, {face(kSeven, 0), face(kSeven, 1), face(kSeven, 2), face(kSeven, 3)});
    t.playerHandOf(6);
    t.recountWindow();
    t.pile({face(kSix, 3)});
    ExpertTurn turn(t.game);
    // Four wild cards in hand, the player's melds hold twenty cards and the pile is open.
    const DiscardChoice choice = turn.expertDiscard();
    ASSERT_GE(choice.handIndex, 0);
    EXPECT_TRUE(isWild(t.g.opponentHand.at(choice.handIndex).rank()));
}

// Whole matches against the autoplayer

// Plays the Expert and checks after each of its turns that its melds are ones the rules allow
// while cards are still in hand (a first meld below the minimum, too many wild cards, ...).
struct CheckedExpert : OpponentDriver {
    ComputerDriver computer;
    std::vector<std::string> faults;
    void startTurn(Game& game) override {
        computer.startTurn(game);
        std::string why;
        if (game.state.promptState != kPromptWaitForDeal &&
            !validateOpponentMelds(game.state, game.rules, game.layout, &why) &&
            why != "the opponent still holds cards")
            faults.push_back(why + "\n" + toString(game.state));
    }
};

TEST(ExpertPlay, WholeMatchesKeepTheTableAndTheMeldsLegal) {
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
        Table t;
        t.rng.reseed(seed);
        CheckedExpert driver;
        t.game.setOpponentDriver(&driver);
        t.game.options.aggression = static_cast<int>(seed * 9 % 101);
        t.game.rules.velnorasToGoOut = seed % 2 == 0 ? 2 : 1;
        t.game.rules.threeBlock = seed % 3 == 0;
        t.game.rules.naturalPair = seed % 4 != 1;
        t.game.rules.cardsDrawn = seed % 5 == 0 ? 2 : 1;
        t.game.rules.topCardCounts = seed % 7 != 0;
        t.game.rules.velnoraRequired = seed % 6 == 0;
        t.game.rules.bonusCounts = seed % 8 == 0;
        AutoPlayer player(t.game, seed);
        t.game.newGame();
        bool ok = true;
        for (int turn = 0; turn < 3000 && ok && t.host.gameOvers.empty(); ++turn)
            if (player.playTurn([&] { ok = ok && t.consistent(); }) == 0) break;
        EXPECT_FALSE(t.host.gameOvers.empty()) << "seed " << seed;
        EXPECT_TRUE(driver.faults.empty()) << "seed " << seed << ": " << driver.faults.front();
        EXPECT_FALSE(t.messageShown("Meld error: Wildcard not found.")) << "seed " << seed;
        EXPECT_TRUE(t.host.fatal.empty()) << "seed " << seed;
    }
}

} // namespace
} // namespace velnora::ai
