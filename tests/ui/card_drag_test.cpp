// Dragging a hand card: onto the melds it is melded, onto the pile discarded, anywhere else or
// after Esc it goes back; a press that hardly moves is still a click.

#include "table_window_support.h"
#include "widget_lookup.h"

#include <QImage>

namespace velnora::test {
namespace {

const int kFiveSpades = face(0, 3);
const int kNineSpades = face(0, 7);
const int kNineClubs = face(1, 7);
const int kNineHearts = face(3, 7);
const int kKingDiamonds = face(2, 11);

class CardDrag : public TableWindowTest {
protected:
    void SetUp() override {
        TableWindowTest::SetUp();
        stage({kFiveSpades, kNineClubs, kKingDiamonds, kJokerFace}, {kNineHearts, kNineSpades});
    }
    // Cloth of the player's melds, clear of every card, and the opponent's side of the table.
    QPoint onMelds() { return {layout().tableWidth - 20, layout().midY + 20}; }
    QPoint onPile() { return {layout().tableLeft + 5, layout().discardY + 5}; }
    QPoint onOpponentsSide() { return {layout().tableWidth / 2, layout().midY - 30}; }
    QPoint onHand(int faceNumber) { return onHandCard(handIndexOf(faceNumber)); }
};

TEST_F(CardDrag, ADropOnTheMeldsMeldsAndOnThePileDiscards) {
    drag(onHand(kNineClubs), onMelds());
    EXPECT_EQ(meldColumnCount(rankOf(kNineClubs)), 3);
    // A wildcard put on a meld joins it, rather than going to the wildcards' own column.
    const Card& nine = state().playerMelds.at(0);
    drag(onHand(kJokerFace), {nine.x + 20, nine.y + 4});
    EXPECT_EQ(meldColumnCount(rankOf(kNineClubs)), 4);
    EXPECT_EQ(handIndexOf(kJokerFace), -1);

    // One drop discards even where a discard by the right button takes two clicks.
    game().options.doubleClickDiscard = true;
    drag(onHand(kKingDiamonds), onPile());
    EXPECT_EQ(state().discardPile.top().face, kKingDiamonds);
    EXPECT_EQ(handIndexOf(kKingDiamonds), -1);
    EXPECT_EQ(driver.turns, 1);
}

TEST_F(CardDrag, ADropElsewhereAfterEscByTheRightButtonOrOnHeldInputDoesNothing) {
    const Pile hand = state().playerHand;
    drag(onHand(kNineClubs), onOpponentsSide());
    drag(onHand(kNineClubs), onMelds(), [&] { key(Qt::Key_Escape); });
    drag(onHand(kKingDiamonds), onPile(), {}, Qt::RightButton);
    // Input held when the card is lifted makes no drag, even when it is free at the drop.
    state().inputBlocked = 1;
    drag(onHand(kNineClubs), onMelds(), [&] { state().inputBlocked = 0; });
    EXPECT_EQ(state().playerHand, hand);
    EXPECT_EQ(state().playerMelds.count, 2);
    EXPECT_FALSE(window->statusIsWarning());

    // A press that moves less than the drag distance is a click: the card is melded.
    drag(onHand(kNineClubs), onHand(kNineClubs) + QPoint(1, 1));
    EXPECT_EQ(meldColumnCount(rankOf(kNineClubs)), 3);
    // Before drawing, a drop on the pile warns as a right click does.
    state().hasDrawn = 0;
    drag(onHand(kKingDiamonds), onPile());
    EXPECT_NE(handIndexOf(kKingDiamonds), -1);
    EXPECT_EQ(window->statusText(), "You cannot discard before drawing; please draw first by "
                                    "clicking on the stock or the discard pile");
}

TEST_F(CardDrag, ADroppedCardSetsOffFromWhereItWasLetGo) {
    window->show();
    table()->setCardMovement(true, 0); // the slowest: a hundred positions
    const Card nine = state().playerHand.at(handIndexOf(kNineClubs));
    const QPoint letGo = onMelds() - QPoint(5, 5); // the card's corner under the pointer
    drag(onHand(kNineClubs), onMelds());
    const ui::Presentation& shown = window->presentation();
    ASSERT_TRUE(uitest::waitUntil([&] { return shown.overlayShown(); }, 2000));
    const QPoint first = shown.overlayPos();
    EXPECT_LT((first - letGo).manhattanLength(),
              (first - QPoint(nine.x, nine.y)).manhattanLength());
}

TEST_F(CardDrag, TheCardFollowsThePointerOverALitTargetAndLeavesItsPlaceDimmed) {
    const QPoint from = onHand(kKingDiamonds);
    const QPoint to = onMelds() + QPoint(-60, 10);
    const QPoint bandCorner(layout().tableWidth - 3, layout().midY + 4);
    const QImage before = table()->grab().toImage();
    // The device pixel under a table point, whatever the scale.
    const auto at = [&](const QImage& image, QPoint p) {
        const QPointF w = table()->tableTransform().map(QPointF(p) + QPointF(0.5, 0.5));
        return image.pixelColor((w * image.devicePixelRatio()).toPoint());
    };
    drag(from, to, [&] {
        const QImage held = table()->grab().toImage();
        // The pointer holds the card where it took it: the same pixel of the same image.
        EXPECT_EQ(at(held, to), at(before, from));
        EXPECT_NE(at(held, from), at(before, from));
        EXPECT_NE(at(held, bandCorner), at(before, bandCorner));
        key(Qt::Key_Escape);
    });
    EXPECT_EQ(table()->grab().toImage(), before);
}

} // namespace
} // namespace velnora::test
