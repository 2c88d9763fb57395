// The Game menu's hint: status line, marks on the table, and the count in the game-over dialog.

#include "scoring_dialogs.h"
#include "seat_exchange.h"
#include "table_window_support.h"
#include "widget_lookup.h"

#include <QAction>
#include <QLabel>
#include <QRegularExpression>

using namespace velnora;
using namespace velnora::test;
using velnora::uitest::onNextModal;

namespace {

QAction* hintItem(QWidget* window) {
    return window->findChild<QAction*>("Hint1");
}

} // namespace

TEST_F(TableWindowTest, HintNamesAMoveMarksItsCardsAndChangesNothing) {
    QAction* hint = hintItem(window.get());
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->text(), "H&int");
    EXPECT_EQ(hint->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_H));

    // The deal leaves the player to draw.
    ASSERT_EQ(state().promptState, kPromptDraw);
    const GameState before = state();
    hint->trigger();
    EXPECT_EQ(firstDifference(before, state()), "");
    EXPECT_TRUE(window->statusText().startsWith("Hint: ")) << window->statusText().toStdString();
    EXPECT_TRUE(table()->hintMarksShown());
    ASSERT_EQ(table()->hintMarkRects().size(), 1u);

    // Melding or discarding: the marks stand on hand cards, inside the table.
    stage({face(0, 11), face(1, 11), face(2, 11), face(0, 3), face(3, 8), face(1, 5)});
    hint->trigger();
    // The whole hint stands in a panel over the foot of the table, its cards named as their
    // corners show them.
    auto* panel = window->findChild<QLabel*>("lbHint");
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisibleTo(window.get()));
    EXPECT_EQ(panel->text(), window->statusText());
    EXPECT_TRUE(panel->text().contains(QRegularExpression(QString::fromUtf8("[0-9JQKA][♠♣♦♥]"))))
        << panel->text().toStdString();
    const auto rects = table()->hintMarkRects();
    ASSERT_FALSE(rects.empty()) << window->statusText().toStdString();
    for (const QRect& r : rects) {
        EXPECT_GE(r.top(), layout().playerHandY) << window->statusText().toStdString();
        EXPECT_LE(r.right(), layout().tableWidth);
        EXPECT_GT(r.height(), 0);
    }
    // The player's next action ends the marks.
    rightClick(onHandCard(0));
    rightClick(onHandCard(0));
    EXPECT_FALSE(table()->hintMarksShown());
    EXPECT_FALSE(panel->isVisibleTo(window.get()));
}

TEST_F(TableWindowTest, HintWaitsForThePlayersTurnAndIsCountedForTheGameOverDialog) {
    QAction* hint = hintItem(window.get());
    state().inputBlocked = 1;
    hint->trigger();
    EXPECT_EQ(window->statusText(), "A hint is given when it is your turn to play.");
    EXPECT_FALSE(table()->hintMarksShown());
    state().inputBlocked = 0;
    hint->trigger();
    hint->trigger();

    QString shown;
    auto answer = onNextModal<ui::TfmGameOver>(
        [&](ui::TfmGameOver* d) { shown = d->findChild<QLabel*>("lbHints")->text(); });
    MatchReport report;
    report.verdict = "You won.";
    window->showGameOver(report);
    EXPECT_EQ(shown, "hints used: 2");
    // The next match counts from nothing.
    auto again = onNextModal<ui::TfmGameOver>(
        [&](ui::TfmGameOver* d) { shown = d->findChild<QLabel*>("lbHints")->text(); });
    window->showGameOver(report);
    EXPECT_EQ(shown, "hints used: 0");
}

// Taking a frozen pile waits for two sevens from the hand, and the first meld needs the aces
// too: the hint names and marks exactly those, and clicking the marked cards completes the take.
TEST_F(TableWindowTest, HintDuringAPileTakeMarksTheCardsThatCompleteIt) {
    constexpr int kAce = 12, kNine = 7, kFour = 2;
    stage({face(0, kSeven), face(1, kSeven), face(0, kAce), face(1, kAce), face(3, kAce),
           face(3, kFour), face(2, kNine), face(1, kNine)});
    GameState& g = state();
    // The pile: a nine under a seven, frozen; the player has not drawn yet.
    Card under = g.discardPile.top();
    clear(g.discardPile);
    for (int f : {face(3, kNine), face(2, kSeven)}) {
        Card c = g.stock.at(findFace(g.stock, f));
        removeFace(g.stock, f);
        c.x = under.x;
        c.y = under.y;
        c.faceUp = 1;
        push(g.discardPile, c);
    }
    push(g.stock, under);
    g.pileFrozen = 1;
    g.hasDrawn = 0;
    g.mayTakePile = 1;
    game().showInstruction(kPromptDraw);
    takeSnapshot(g);
    game().takeDiscardPile();
    ASSERT_TRUE(g.takingPile);
    settle();

    hintItem(window.get())->trigger();
    const QString text = window->statusText();
    EXPECT_TRUE(text.startsWith("Hint: to take the pile, meld 7")) << text.toStdString();
    for (const char* card : {"7♠", "7♣", "A♠", "A♣", "A♥"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(card))) << text.toStdString();
    EXPECT_FALSE(text.contains("discard")) << text.toStdString();
    const auto rects = table()->hintMarkRects();
    ASSERT_EQ(rects.size(), 5u);

    // Clicking the marked cards, as a player would, completes the take.
    std::vector<int> faces;
    for (const QRect& r : rects)
        for (const Card& c : g.playerHand)
            if (c.x == r.x() && c.y == r.y()) faces.push_back(c.face);
    ASSERT_EQ(faces.size(), 5u);
    for (int f : faces)
        click(onHandCard(handIndexOf(f)));
    EXPECT_FALSE(g.takingPile);
    EXPECT_TRUE(g.discardPile.empty());
    EXPECT_GE(findFace(g.playerHand, face(3, kNine)), 0);
}
