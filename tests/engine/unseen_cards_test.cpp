#include "seat_exchange.h"
#include "table_setup.h"
#include "unseen_cards.h"

#include <gtest/gtest.h>

using namespace velnora;
using namespace velnora::test;

namespace {

// A hand in progress: both hands, a pile, a meld of the player's, and a card the opponent saw
// the player take with the pile.
struct DealtTable : Table {
    DealtTable() {
        clearTable();
        hand({face(kFive), face(kFive, kHearts), face(kNine), face(kJack), face(kQueen),
              face(kKing), face(kAce), face(kSeven)});
        melds(kEight, {face(kEight), face(kEight, kHearts), face(kEight, kClubs)});
        opponentHandOf(11);
        discardPile({face(kSix), face(kTen)});
        push(g.knownPlayerCards, g.playerHand.at(6)); // the ace
        g.playerSeatAi.baitRank = 9;
        g.ai.baitRank = 4;
        g.undoStack.push_back({g.playerMelds.at(0), kColumnStep});
        countRanks(g, game.layout);
    }
    // Each card of the player's hand but the known ace trades faces with a card of the stock.
    GameState withOtherHiddenCards() const {
        GameState other = g;
        for (int j = 0; j < other.playerHand.count; ++j) {
            if (j == 6) continue;
            Card& a = other.playerHand.places()[static_cast<std::size_t>(j)];
            Card& b = other.stock.places()[static_cast<std::size_t>(3 * j)];
            std::swap(a.face, b.face);
            std::swap(a.deck, b.deck);
        }
        countRanks(other, game.layout);
        takeSnapshot(other);
        return other;
    }
};

int playerHandRank(const GameState& g, int rank) {
    return countRank(g.playerHand, rank);
}

} // namespace

TEST(UnseenCards, TheOpponentsCopyKnowsOnlyWhatTheOpponentSees) {
    DealtTable t;
    const GameState other = t.withOtherHiddenCards();
    ASSERT_NE(firstDifference(t.g, other), "");
    Random a(7), b(7);
    const GameState sample = dealUnseenCards(t.g, t.game.layout, Seat::opponent, a);
    // Where the hidden cards really are makes no difference.
    EXPECT_EQ(firstDifference(sample, dealUnseenCards(other, t.game.layout, Seat::opponent, b)),
              "");
    std::string why;
    EXPECT_TRUE(isConsistent(sample, t.game.layout, &why)) << why;
    EXPECT_EQ(sample.playerHand.count, t.g.playerHand.count);
    EXPECT_EQ(sample.stock.count, t.g.stock.count);
    EXPECT_GE(findFace(sample.playerHand, face(kAce)), 0);
    // What the opponent sees is the real table.
    EXPECT_EQ(sample.opponentHand, t.g.opponentHand);
    EXPECT_EQ(sample.discardPile, t.g.discardPile);
    EXPECT_EQ(sample.playerMelds, t.g.playerMelds);
    EXPECT_EQ(sample.ai, t.g.ai);
    // The player's plans, undo list and undo copy, and the count of its hand are of the deal.
    EXPECT_EQ(sample.playerSeatAi, AiMemory{});
    EXPECT_TRUE(sample.undoStack.empty());
    EXPECT_EQ(sample.playerHandSnapshot, sample.playerHand);
    for (int r = 0; r < kColumns; ++r)
        EXPECT_EQ(sample.rankCounts[kPlayerHandRow][static_cast<std::size_t>(r)],
                  playerHandRank(sample, r));
    EXPECT_NE(firstDifference(sample, dealUnseenCards(t.g, t.game.layout, Seat::opponent, a)), "");
}

TEST(UnseenCards, WeightsSteerTheOtherHandAndEitherSeatCanAsk) {
    DealtTable t;
    RankWeights noKings = kUniformRanks;
    noKings[kKing] = 0;
    Random rng(3);
    int uniformKings = 0;
    for (int n = 0; n < 30; ++n) {
        const GameState steered = dealUnseenCards(t.g, t.game.layout, Seat::opponent, rng, noKings);
        EXPECT_EQ(playerHandRank(steered, kKing), 0);
        EXPECT_EQ(steered.playerHand.count, t.g.playerHand.count);
        uniformKings +=
            playerHandRank(dealUnseenCards(t.g, t.game.layout, Seat::opponent, rng), kKing);
    }
    EXPECT_GT(uniformKings, 0);

    // The player's copy deals the opponent's hand and forgets the opponent's plans instead.
    const GameState forPlayer = dealUnseenCards(t.g, t.game.layout, Seat::player, rng);
    EXPECT_EQ(forPlayer.playerHand, t.g.playerHand);
    EXPECT_EQ(forPlayer.opponentHand.count, t.g.opponentHand.count);
    EXPECT_NE(forPlayer.opponentHand, t.g.opponentHand);
    EXPECT_EQ(forPlayer.ai, AiMemory{});
    EXPECT_EQ(forPlayer.playerSeatAi, t.g.playerSeatAi);
    std::string why;
    EXPECT_TRUE(isConsistent(forPlayer, t.game.layout, &why)) << why;
}
