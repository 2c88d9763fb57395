// Clicks and keys on the table, mapped to the player's actions.

#include "table_window_support.h"

#include <QFile>
#include <QImage>
#include <QKeySequence>
#include <QMouseEvent>
#include <QRegularExpression>

using namespace velnora;
using namespace velnora::test;

namespace {

const int kFiveSpades = face(0, 3);
const int kNineClubs = face(1, 7);
const int kKingDiamonds = face(2, 11);
const int kSixHearts = face(3, 4);
const int kJackSpades = face(0, 9);
const int kQueenClubs = face(1, 10);

class TwoClickDiscard : public TableWindowTest {
    void prepareSettings() override {
        settings.writeString("Settings\\Mouse options", "Double Right Click");
    }
};

} // namespace

TEST_F(TableWindowTest, ClickOnTheStockDrawsForThePlayer) {
    ASSERT_EQ(state().promptState, kPromptDraw);
    const int stockBefore = state().stock.count;
    const int cardsBefore = state().playerHand.count + state().playerMelds.count;
    click({layout().tableLeft + 10, layout().stockY + 10});
    EXPECT_TRUE(state().hasDrawn);
    EXPECT_TRUE(state().gameInProgress);
    EXPECT_LT(state().stock.count, stockBefore);
    EXPECT_EQ(state().playerHand.count + state().playerMelds.count,
              cardsBefore + (stockBefore - state().stock.count));
    // A second click is refused with "You have already drawn".
    const int stockAfter = state().stock.count;
    click({layout().tableLeft + 10, layout().stockY + 10});
    EXPECT_EQ(state().stock.count, stockAfter);
    EXPECT_EQ(window->statusText(), "You have already drawn");
    EXPECT_TRUE(window->statusIsWarning());
}

TEST_F(TwoClickDiscard, SecondRightClickOnTheSameCardDiscardsIt) {
    stage({kFiveSpades, kNineClubs, kKingDiamonds, kSixHearts, kJackSpades, kQueenClubs});
    rightClick(onHandCard(handIndexOf(kFiveSpades)));
    rightClick(onHandCard(handIndexOf(kNineClubs)));
    EXPECT_EQ(state().playerHand.count, 6);
    rightClick(onHandCard(handIndexOf(kNineClubs)));
    EXPECT_EQ(state().playerHand.count, 5);
    EXPECT_EQ(state().discardPile.top().face, kNineClubs);
    EXPECT_EQ(handIndexOf(kNineClubs), -1);
    EXPECT_EQ(driver.turns, 1);
    EXPECT_EQ(table()->lastRightClickCard, -1);
    EXPECT_EQ(table()->rightClickCount, 0);
}

TEST_F(TwoClickDiscard, ClicksOnAlternatingCardsNeverDiscard) {
    stage({kFiveSpades, kNineClubs, kKingDiamonds, kSixHearts, kJackSpades, kQueenClubs});
    rightClick(onHandCard(handIndexOf(kFiveSpades)));
    rightClick(onHandCard(handIndexOf(kNineClubs)));
    rightClick(onHandCard(handIndexOf(kFiveSpades)));
    EXPECT_EQ(state().playerHand.count, 6);
    EXPECT_EQ(driver.turns, 0);
    EXPECT_EQ(table()->lastRightClickCard, handIndexOf(kFiveSpades));
    // A left click in between does not reset the count.
    click({layout().tableLeft + 300, 5});
    rightClick(onHandCard(handIndexOf(kFiveSpades)));
    EXPECT_EQ(state().playerHand.count, 5);
    EXPECT_EQ(state().discardPile.top().face, kFiveSpades);
}

TEST_F(TwoClickDiscard, TheArmedCardIsFramedUntilItIsDiscarded) {
    stage({kFiveSpades, kNineClubs, kKingDiamonds, kSixHearts, kJackSpades, kQueenClubs});
    const auto redInFrameOf = [&](int face) {
        const Card& c = state().playerHand.at(handIndexOf(face));
        const QImage image = table()->grab().toImage().scaled(table()->size());
        int red = 0;
        for (int x = c.x; x < c.x + layout().cardWidth; ++x) {
            const QColor p = image.pixelColor(x, c.y + 1);
            red += p.red() > 150 && p.green() < 60 && p.blue() < 60 ? 1 : 0;
        }
        return red;
    };
    EXPECT_EQ(redInFrameOf(kNineClubs), 0);
    rightClick(onHandCard(handIndexOf(kNineClubs)));
    EXPECT_GT(redInFrameOf(kNineClubs), 4);
    EXPECT_EQ(redInFrameOf(kFiveSpades), 0);
    rightClick(onHandCard(handIndexOf(kFiveSpades)));
    EXPECT_EQ(redInFrameOf(kNineClubs), 0);
    EXPECT_GT(redInFrameOf(kFiveSpades), 4);
    rightClick(onHandCard(handIndexOf(kFiveSpades)));
    EXPECT_EQ(table()->armedCard(), -1);
}

TEST_F(TableWindowTest, APressOnOneCardAndAReleaseOnAnotherDoNothing) {
    stage({kFiveSpades, kNineClubs, kKingDiamonds, kSixHearts});
    const QPoint from = onHandCard(handIndexOf(kFiveSpades));
    const QPoint to = onHandCard(handIndexOf(kKingDiamonds));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(from), QPointF(from), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(table(), &press);
    rightClick(to);
    EXPECT_EQ(state().playerHand.count, 4);
    // A press and release on the same card is a click.
    QApplication::sendEvent(table(), &press);
    rightClick(from);
    EXPECT_EQ(state().discardPile.top().face, kFiveSpades);
}

TEST_F(TableWindowTest, RightClickBeforeDrawingWarnsAndDoesNotArm) {
    ASSERT_FALSE(state().hasDrawn);
    const int handBefore = state().playerHand.count;
    rightClick(onHandCard(0));
    EXPECT_EQ(window->statusText(), "You cannot discard before drawing; please draw first by "
                                    "clicking on the stock or the discard pile");
    EXPECT_TRUE(window->statusIsWarning());
    EXPECT_EQ(table()->lastRightClickCard, -1);
    EXPECT_EQ(state().playerHand.count, handBefore);
}

TEST_F(TableWindowTest, SingleRightClickDiscardsAtOnce) {
    stage({kFiveSpades, kNineClubs, kKingDiamonds, kSixHearts});
    rightClick(onHandCard(handIndexOf(kKingDiamonds)));
    EXPECT_EQ(state().discardPile.top().face, kKingDiamonds);
    EXPECT_EQ(state().playerHand.count, 3);
}

TEST_F(TableWindowTest, CoveredPartOfAHandCardSelectsTheCoveringCard) {
    const int sevenSpades = face(0, kSeven), sevenClubs = face(1, kSeven);
    stage({sevenSpades, sevenClubs, kKingDiamonds});
    const Card& first = state().playerHand.at(handIndexOf(sevenSpades));
    const Card& second = state().playerHand.at(handIndexOf(sevenClubs));
    ASSERT_EQ(second.y, first.y + kColumnStep);
    // Inside the first card's rectangle but below the strip it shows.
    ui::Hit covered = table()->hitTest(first.x + 5, first.y + kColumnStep + 20);
    EXPECT_EQ(covered.kind, ui::kHitHandNatural);
    EXPECT_EQ(covered.index, handIndexOf(sevenClubs));
    ui::Hit strip = table()->hitTest(first.x + 5, first.y + 4);
    EXPECT_EQ(strip.index, handIndexOf(sevenSpades));
    // Below the last card of the column there is nothing.
    EXPECT_EQ(table()->hitTest(first.x + 5, second.y + layout().cardHeight + 2).kind,
              ui::kHitNothing);
}

TEST_F(TableWindowTest, HitTestFindsPilesMeldsAndTheThreesColumn) {
    const int blackThree = face(0, 1);
    stage({kKingDiamonds, kJackSpades, kQueenClubs, kNineClubs},
          {face(0, kSeven), face(1, kSeven), face(2, kSeven), blackThree});
    const Layout& l = layout();
    EXPECT_EQ(table()->hitTest(l.tableLeft, l.stockY).kind, ui::kHitStock);
    EXPECT_EQ(table()->hitTest(l.tableLeft + l.cardWidth, l.stockY + l.cardHeight).kind,
              ui::kHitStock);
    EXPECT_EQ(table()->hitTest(l.tableLeft + 5, l.discardY + 5).kind, ui::kHitDiscardPile);
    const Card& seven = state().playerMelds.at(0);
    EXPECT_EQ(table()->hitTest(seven.x + 3, seven.y + 3).kind, ui::kHitMeld);
    const Card& three = state().playerMelds.at(3);
    EXPECT_EQ(table()->hitTest(three.x + 3, three.y + 3).kind, ui::kHitThreesColumn);
    // An exhausted stock is no target; prompt 9 makes nothing a target.
    state().stockExhausted = 1;
    EXPECT_EQ(table()->hitTest(l.tableLeft + 5, l.stockY + 5).kind, ui::kHitNothing);
    game().showInstruction(kPromptWaitForDeal);
    EXPECT_EQ(table()->hitTest(l.tableLeft + 5, l.discardY + 5).kind, ui::kHitNothing);
}

TEST_F(TableWindowTest, ShiftAndCtrlOnANaturalMeldUpToThree) {
    const int sevens[] = {face(0, kSeven), face(1, kSeven), face(2, kSeven), face(3, kSeven)};
    stage({sevens[0], sevens[1], sevens[2], sevens[3], kKingDiamonds, kJackSpades, kQueenClubs,
           kNineClubs});
    click(onHandCard(handIndexOf(sevens[0])), Qt::LeftButton,
          Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(meldColumnCount(rankOf(sevens[0])), 3);
    EXPECT_EQ(countRank(state().playerHand, rankOf(sevens[0])), 1);
}

TEST_F(TableWindowTest, ShiftAloneOnANaturalMeldsTheWholeRank) {
    const int sevens[] = {face(0, kSeven), face(1, kSeven), face(2, kSeven), face(3, kSeven)};
    stage({sevens[0], sevens[1], sevens[2], sevens[3], kKingDiamonds, kJackSpades, kQueenClubs});
    click(onHandCard(handIndexOf(sevens[1])), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(meldColumnCount(rankOf(sevens[0])), 4);
}

TEST_F(TableWindowTest, ShiftAndCtrlOnAWildcardMeldUpToSeven) {
    const int two = face(0, kTwo);
    stage({kJokerFace, kJokerFace, kJokerFace, kJokerFace, two, face(1, kTwo), face(2, kTwo),
           kKingDiamonds, kJackSpades, kQueenClubs});
    ASSERT_TRUE(game().rules.wildcardVelnora);
    click(onHandCard(handIndexOf(kJokerFace)), Qt::LeftButton,
          Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(meldColumnCount(kRankTwo), 7);
    EXPECT_EQ(state().playerHand.count, 3);
}

TEST_F(TableWindowTest, CtrlOnAWildcardMeldsUpToThree) {
    stage({kJokerFace, kJokerFace, kJokerFace, kJokerFace, face(0, kTwo), face(1, kTwo),
           face(2, kTwo), kKingDiamonds, kJackSpades, kQueenClubs});
    click(onHandCard(handIndexOf(kJokerFace)), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(meldColumnCount(kRankTwo), 3);
}

TEST_F(TableWindowTest, CtrlF11TogglesTheOpponentsHandAndBack) {
    ASSERT_GT(state().opponentHand.count, 0);
    ASSERT_EQ(state().opponentCardSpacing, 10);
    for (const Card& c : state().opponentHand)
        ASSERT_FALSE(c.faceUp);
    key(Qt::Key_F11, Qt::ControlModifier);
    EXPECT_EQ(state().opponentCardSpacing, 12);
    EXPECT_TRUE(state().showOpponentCards);
    for (const Card& c : state().opponentHand)
        EXPECT_TRUE(c.faceUp);
    key(Qt::Key_F11, Qt::ControlModifier);
    EXPECT_EQ(state().opponentCardSpacing, 10);
    EXPECT_FALSE(state().showOpponentCards);
    for (const Card& c : state().opponentHand)
        EXPECT_FALSE(c.faceUp);
    // F11 without Ctrl does nothing.
    key(Qt::Key_F11);
    EXPECT_EQ(state().opponentCardSpacing, 10);
}

TEST_F(TableWindowTest, RankKeysAtTheMeldPromptMeldAndKeepThePrompt) {
    const int sevenSpades = face(0, kSeven);
    stage({sevenSpades, face(1, kSeven), kKingDiamonds, kJackSpades, kQueenClubs, kNineClubs});
    key(Qt::Key_F8);
    EXPECT_EQ(state().promptState, kPromptSelectMeld);
    EXPECT_EQ(window->statusText(),
              "Select a card to meld by typing one of the characters 2 thru 9, 0 (for 10), J, "
              "Q, K, A or W for a wildcard");
    key(Qt::Key_7);
    EXPECT_EQ(meldColumnCount(rankOf(sevenSpades)), 1);
    EXPECT_EQ(state().promptState, kPromptSelectMeld);
    key(Qt::Key_Q);
    EXPECT_EQ(meldColumnCount(rankOf(kQueenClubs)), 1);
    // A rank with no card in hand does nothing.
    const int melded = state().playerMelds.count;
    key(Qt::Key_4);
    EXPECT_EQ(state().playerMelds.count, melded);
    // Escape leaves the selection prompt.
    key(Qt::Key_Escape);
    EXPECT_EQ(state().promptState, kPromptMeldOrDiscard);
    key(Qt::Key_K);
    EXPECT_EQ(meldColumnCount(rankOf(kKingDiamonds)), 0);
}

TEST_F(TableWindowTest, DigitKeysAreKnownByTheirPlaceSoShiftAndCtrlKeepTheirMeaning) {
    const int sevens[] = {face(0, kSeven), face(1, kSeven), face(2, kSeven), face(3, kSeven)};
    stage({sevens[0], sevens[1], sevens[2], sevens[3], kKingDiamonds, kJackSpades, kQueenClubs,
           kNineClubs});
    key(Qt::Key_F8);
    // Shift+7 on a US layout arrives as '&'; the key is the one with scan code 16.
    QKeyEvent shifted(QEvent::KeyPress, Qt::Key_Ampersand, Qt::ShiftModifier, 16, '&', 0, "&");
    QApplication::sendEvent(table(), &shifted);
    EXPECT_EQ(meldColumnCount(rankOf(sevens[0])), 4);
    EXPECT_EQ(state().promptState, kPromptSelectMeld);

    // On a French layout the unshifted nine key types a c-cedilla; with Ctrl it melds up to
    // three, with nothing it melds one.
    stage(
        {face(0, 7), face(1, 7), face(2, 7), face(3, 7), kKingDiamonds, kJackSpades, kQueenClubs});
    key(Qt::Key_F8);
    QKeyEvent ctrl(QEvent::KeyPress, Qt::Key_Ccedilla, Qt::ControlModifier, 18, 0xe7, 0);
    QApplication::sendEvent(window.get(), &ctrl);
    EXPECT_EQ(meldColumnCount(rankOf(face(0, 7))), 3);
    settle();
    QKeyEvent plain(QEvent::KeyPress, Qt::Key_Ccedilla, Qt::NoModifier, 18, 0xe7, 0, "\u00e7");
    QApplication::sendEvent(table(), &plain);
    EXPECT_EQ(meldColumnCount(rankOf(face(0, 7))), 4);
}

TEST_F(TableWindowTest, RankKeyAtTheDiscardPromptDiscardsAndEndsTheSelection) {
    stage({kFiveSpades, kNineClubs, kKingDiamonds, kSixHearts, kJackSpades});
    key(Qt::Key_F10);
    EXPECT_EQ(state().promptState, kPromptSelectDiscard);
    EXPECT_EQ(table()->keySelectMode, 1);
    key(Qt::Key_K);
    EXPECT_EQ(state().discardPile.top().face, kKingDiamonds);
    EXPECT_EQ(driver.turns, 1);
    EXPECT_NE(state().promptState, kPromptSelectDiscard);
}

TEST_F(TableWindowTest, RankKeyAtTheWildcardPromptAddsToThatMeld) {
    const int sevens[] = {face(0, kSeven), face(1, kSeven), face(2, kSeven)};
    stage({kJokerFace, kKingDiamonds, kJackSpades, kQueenClubs, kNineClubs},
          {sevens[0], sevens[1], sevens[2]});
    key(Qt::Key_F9);
    EXPECT_EQ(state().promptState, kPromptSelectWildcard);
    key(Qt::Key_7);
    EXPECT_EQ(meldColumnCount(rankOf(sevens[0])), 4);
    EXPECT_EQ(handIndexOf(kJokerFace), -1);
}

// The keyboard help names the key that picks the wildcard velnora after F9; that key must add
// the hand's wildcard to it.
TEST_F(TableWindowTest, TheKeyTheHelpNamesForTheWildcardVelnoraAddsToIt) {
    QFile page(QStringLiteral(VELNORA_HELP_DIR) + "/keyboard.html");
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QRegularExpression row(
        R"re(<td class="key">(\w)</td><td>[^<]*wildcard velnora \(F9\))re");
    const QRegularExpressionMatch m = row.match(QString::fromUtf8(page.readAll()));
    ASSERT_TRUE(m.hasMatch());
    const QKeySequence named(m.captured(1));

    const int twos[] = {face(0, kTwo), face(1, kTwo), face(2, kTwo)};
    stage({kJokerFace, kKingDiamonds, kJackSpades, kQueenClubs, kNineClubs},
          {twos[0], twos[1], twos[2]});
    const int before = meldColumnCount(rankOf(twos[0]));
    key(Qt::Key_F9);
    key(named[0].key());
    EXPECT_EQ(meldColumnCount(rankOf(twos[0])), before + 1) << m.captured(1).toStdString();
    EXPECT_EQ(handIndexOf(kJokerFace), -1);
}

TEST_F(TableWindowTest, EscapeBeforeDrawingReturnsToTheDrawPrompt) {
    stage({face(0, kSeven), kKingDiamonds, kJackSpades});
    state().hasDrawn = 0;
    game().showInstruction(kPromptDraw);
    key(Qt::Key_F8);
    EXPECT_EQ(state().promptState, kPromptSelectMeld);
    key(Qt::Key_7);
    EXPECT_EQ(window->statusText(), "You cannot meld before drawing; please draw first by "
                                    "clicking on the stock or the discard pile");
    key(Qt::Key_Escape);
    EXPECT_EQ(state().promptState, kPromptDraw);
}

TEST_F(TableWindowTest, FunctionKeysDrawAndTakeThePile) {
    ASSERT_EQ(state().promptState, kPromptDraw);
    const int stockBefore = state().stock.count;
    key(Qt::Key_F6);
    EXPECT_TRUE(state().hasDrawn);
    EXPECT_LT(state().stock.count, stockBefore);
}

TEST_F(TableWindowTest, ClicksDoNothingWhileInputIsBlocked) {
    stage({kFiveSpades, kNineClubs, kKingDiamonds});
    state().hasDrawn = 0;
    state().inputBlocked = 1;
    const int stockBefore = state().stock.count;
    click({layout().tableLeft + 5, layout().stockY + 5});
    EXPECT_EQ(state().stock.count, stockBefore);
    EXPECT_FALSE(state().hasDrawn);
}

TEST_F(TableWindowTest, ALeftClickEndsTheFannedPile) {
    state().pileFanned = 1;
    click({layout().tableLeft + 300, 5});
    EXPECT_FALSE(state().pileFanned);
}
