#include "game.h"
#include "game_state.h"
#include "random.h"
#include "recording_host.h"
#include "relayout.h"
#include "settings.h"

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

TEST(Relayout, ATableSavedBeforeTheLargestCardsGrewIsMovedToTheirRows) {
    // A whole table of the largest size laid out with the smaller cards of earlier versions.
    const Layout before = earlierLargestLayout();
    const Layout now = computeLayout(3);
    ASSERT_GT(now.cardHeight, before.cardHeight);
    auto tableIn = [](const Layout& l) {
        GameState g;
        resetColumnPositions(g, l);
        place(g.playerHand, 7, 7, 12);
        place(g.playerHand, 20, 7, 12);
        place(g.opponentMelds, 12, 12, -12);
        for (int deck = 0; deck < 2; ++deck)
            for (int f = 1; f <= kJokerFace; ++f)
                for (int n = 0; n < (f == kJokerFace ? 2 : 1); ++n) {
                    if (deck == 0 && (f == 7 || f == 20 || f == 12)) continue;
                    Card c = makeCard(f, deck);
                    c.x = l.tableLeft;
                    c.y = g.discardPile.empty() ? l.discardY : l.stockY;
                    push(g.discardPile.empty() ? g.discardPile : g.stock, c);
                }
        return g;
    };
    MemorySettings settings;
    test::RecordingHost host;
    Random rng(1);
    for (int size : {3, 1}) {
        SCOPED_TRACE(size);
        Game game(host, settings, rng);
        game.setTableSize(size);
        const Layout& l = game.layout;
        game.adoptSavedTable(tableIn(before), 3);
        EXPECT_EQ(game.state.playerHand.at(1).y, l.playerHandY + 24);
        EXPECT_EQ(game.state.playerHand.columnPos[3].y, l.playerHandY);
        EXPECT_EQ(game.state.opponentMelds.at(0).y, l.opponentMeldsY - 12);
        EXPECT_EQ(game.state.stock.top().y, l.stockY);
    }
    // A table saved with the present cards stays where it is.
    Game game(host, settings, rng);
    game.setTableSize(3);
    const GameState saved = tableIn(now);
    game.adoptSavedTable(saved, 3);
    EXPECT_TRUE(game.state.playerHand == saved.playerHand);
    EXPECT_TRUE(game.state.opponentMelds == saved.opponentMelds);
}
