// The status line says what the table shows, also while moves are still being shown.

#include "seat_driver.h"
#include "table_window_support.h"

using namespace velnora;
using velnora::test::face;
using velnora::test::TableWindowTest;

namespace {

const QString kDraw = "Draw a card by clicking on the stock or the discard pile";

// Cards move and the computer plays, so the moves take time to be shown.
class ShownMoves : public test::TableWindowTest {
protected:
    ai::LevelDriver beginner{0};

    void prepareSettings() override {
        settings.writeInt("Settings\\Card Movement", 1);
        settings.writeInt("Settings\\Show Turns", 1);
    }
    void SetUp() override {
        TableWindowTest::SetUp();
        game().setOpponentDriver(&beginner);
        window->show();
    }
    // A dealt hand and a computer's turn take longer to show than settle() waits.
    void waitShown() {
        for (int i = 0; i < 5 && window->presentation().busy(); ++i)
            settle();
    }
    void send(QEvent* event) {
        QApplication::sendEvent(table(), event);
        delete event;
    }
};

} // namespace

TEST_F(ShownMoves, TheStatusLineBelongsToTheMoveBeingShownAndAKeyTypedMeanwhileActs) {
    // A hand the computer begins says so while it is dealt and played, not "Draw a card".
    state().playerStartsHand = 0;
    game().newGame();
    ASSERT_TRUE(window->presentation().busy());
    EXPECT_EQ(window->statusText(), "It's the computer's turn");
    waitShown();
    EXPECT_EQ(window->statusText(), kDraw);

    key(Qt::Key_F6);
    ASSERT_TRUE(state().hasDrawn);
    const QString meld = window->statusText();
    const QPoint card = onHandCard(0);
    send(new QMouseEvent(QEvent::MouseButtonRelease, QPointF(card), QPointF(card), Qt::RightButton,
                         Qt::NoButton, Qt::NoModifier));
    ASSERT_TRUE(window->presentation().busy());
    // While our discard is still on its way, the line is our turn's.
    EXPECT_EQ(window->statusText(), meld);
    EXPECT_NE(window->statusText(), kDraw);

    // F6 typed before the computer's turn has been shown shows the rest and draws.
    const int stock = state().stock.count;
    send(new QKeyEvent(QEvent::KeyPress, Qt::Key_F6, Qt::NoModifier));
    EXPECT_TRUE(state().hasDrawn);
    EXPECT_EQ(state().stock.count, stock - 1);

    // A shortcut (Ctrl+H, Alt+G) is offered as an override first: it too shows the rest, so the
    // hint or menu it opens meets the table the window shows.
    ASSERT_TRUE(window->presentation().busy()); // the drawn card on its way
    send(new QKeyEvent(QEvent::ShortcutOverride, Qt::Key_H, Qt::ControlModifier));
    EXPECT_FALSE(window->presentation().busy());
}

TEST_F(TableWindowTest, AWarningGivesWayToTheNextMoveThatGoesThrough) {
    const int fiveSpades = face(0, 3), fiveClubs = face(1, 3), nineHearts = face(3, 7);
    stage({fiveSpades, fiveClubs, nineHearts});
    const QString meld = window->statusText();
    click({layout().tableLeft + 10, layout().stockY + 10});
    ASSERT_EQ(window->statusText(), "You have already drawn");
    click(onHandCard(handIndexOf(fiveSpades)));
    ASSERT_EQ(state().playerHand.count, 2);
    EXPECT_EQ(window->statusText(), meld);
    EXPECT_FALSE(window->statusIsWarning());
}
