#include "game_state.h"
#include "relayout.h"

#include <gtest/gtest.h>

using namespace velnora;

namespace {

void place(Pile& pile, int face, int column, int step) {
    Card c = makeCard(face, 0);
    c.faceUp = 1;
    placeInColumn(pile, c, column, step);
    push(pile, c);
}

} // namespace

TEST(Relayout, KeepsEveryCardInItsColumnAtTheSameDistanceFromItsRow) {
    for (int fromIndex = 0; fromIndex < kTableSizes; ++fromIndex) {
        for (int toIndex = 0; toIndex < kTableSizes; ++toIndex) {
            const Layout from = computeLayout(fromIndex);
            const Layout to = computeLayout(toIndex);
            GameState g;
            resetColumnPositions(g, from);
            place(g.playerHand, 7, 7, 12);  // eight of spades: column 7
            place(g.playerHand, 20, 7, 12); // eight of clubs under it
            place(g.playerHand, 13, 13, 12);
            place(g.playerHand, 53, 0, 12);
            place(g.playerMelds, 5, 5, 12);
            place(g.playerMelds, 18, 5, 12);
            place(g.opponentMelds, 12, 12, -12);
            place(g.opponentMelds, 25, 12, -12);
            Card s = makeCard(30, 1);
            s.x = from.tableLeft;
            s.y = from.stockY;
            push(g.stock, s);
            Card d = makeCard(31, 1);
            d.x = from.tableLeft;
            d.y = from.discardY;
            push(g.discardPile, d);
            const GameState before = g;

            relayout(g, from, to);

            SCOPED_TRACE(std::to_string(fromIndex) + " -> " + std::to_string(toIndex));
            auto check = [&](const Pile& was, const Pile& now, int fromBase, int toBase) {
                ASSERT_EQ(was.count, now.count);
                for (int i = 0; i < now.count; ++i) {
                    EXPECT_EQ(columnOf(now.at(i).x, to), columnOf(was.at(i).x, from));
                    EXPECT_EQ(now.at(i).x, columnX(columnOf(was.at(i).x, from), to));
                    EXPECT_EQ(now.at(i).y - toBase, was.at(i).y - fromBase);
                }
                for (int k = 0; k < kColumns; ++k) {
                    EXPECT_EQ(now.columnPos[k].x, columnX(k, to));
                    EXPECT_EQ(now.columnPos[k].y - toBase, was.columnPos[k].y - fromBase);
                }
            };
            check(before.playerHand, g.playerHand, from.playerHandY, to.playerHandY);
            check(before.playerMelds, g.playerMelds, from.playerMeldsY, to.playerMeldsY);
            check(before.opponentMelds, g.opponentMelds, from.opponentMeldsY, to.opponentMeldsY);
            EXPECT_EQ(g.stock.at(0).y, to.stockY);
            EXPECT_EQ(g.discardPile.at(0).y, to.discardY);
            EXPECT_EQ(columnOf(g.stock.at(0).x, to), 0);
        }
    }
}

TEST(Relayout, MovesTheSnapshotAndTheTakenTopCardWithTheTable) {
    // Undoing a pile take after a size change restores the snapshot and looks the taken top card
    // up by position, so both must follow the table.
    const Layout from = computeLayout(0);
    const Layout to = computeLayout(3);
    GameState g;
    resetColumnPositions(g, from);
    place(g.playerMelds, 9, 9, 12);
    g.takenTopCard = g.playerMelds.top();
    takeSnapshot(g);

    relayout(g, from, to);

    EXPECT_EQ(g.takenTopCard.x, g.playerMelds.top().x);
    EXPECT_EQ(g.takenTopCard.y, g.playerMelds.top().y);
    restoreSnapshot(g);
    EXPECT_EQ(g.playerMelds.top().x, columnX(9, to));
    EXPECT_EQ(g.playerMelds.top().y, to.playerMeldsY + 12);
}
