// Table layout, painting and the values the painting shows.

#include "table_window_support.h"

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTimer>

#include <set>

using namespace velnora;
using namespace velnora::test;

namespace {

QImage grab(ui::TableView* table) {
    return table->grab().toImage().scaled(table->size());
}

bool uniform(const QImage& image, QRgb colour) {
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            if (image.pixel(x, y) != colour) return false;
    return true;
}

} // namespace

TEST_F(TableWindowTest, LayoutValuesAtTheFourTableSizes) {
    struct Expected {
        int width, height, cardWidth, cardHeight, midY, stockY, opponentMeldsY, playerHandY;
    };
    const Expected expected[] = {
        {640, 480, 42, 65, 202, 135, 146, 323},
        {800, 600, 53, 81, 262, 179, 190, 399},
        {1024, 768, 67, 104, 346, 240, 251, 506},
        {1280, 1024, 85, 132, 474, 340, 351, 662},
    };
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        table()->computeLayout(i);
        const Layout& l = layout();
        const Expected& e = expected[i];
        EXPECT_EQ(table()->size(), QSize(e.width, e.height));
        EXPECT_EQ(l.cardWidth, e.cardWidth);
        EXPECT_EQ(l.cardHeight, e.cardHeight);
        EXPECT_EQ(l.midY, e.midY);
        EXPECT_EQ(l.stockY, e.stockY);
        EXPECT_EQ(l.discardY, e.midY + 2);
        EXPECT_EQ(l.opponentMeldsY, e.opponentMeldsY);
        EXPECT_EQ(l.playerMeldsY, e.midY - 6);
        EXPECT_EQ(l.playerHandY, e.playerHandY);
        EXPECT_EQ(l.columnPitch, (e.width - 14 * e.cardWidth) / 14 + e.cardWidth);
        // "End Hand" keeps 10 pixels to the table's right edge.
        EXPECT_EQ(table()->endHandButton()->geometry(), QRect(e.width - 85, 8, 75, 25));
    }
}

TEST_F(TableWindowTest, ChangingTheTableSizeKeepsTheCardsInTheirColumns) {
    const int seven = face(1, kSeven);
    stage({seven, face(2, kSeven), face(0, 11)}, {face(0, 9), face(1, 9), face(2, 9)});
    window->windowSizeIndex = 2;
    window->applyWindowSize();
    const Layout& l = layout();
    EXPECT_EQ(table()->size(), QSize(1024, 768));
    EXPECT_EQ(table()->images().cardSize(), QSize(67, 104));
    const Card& c = state().playerHand.at(handIndexOf(seven));
    EXPECT_EQ(c.x, columnX(rankOf(seven), l));
    EXPECT_EQ(c.y, l.playerHandY + kColumnStep);
    EXPECT_EQ(state().playerMelds.at(2).y, l.playerMeldsY + 3 * kColumnStep);
    EXPECT_EQ(state().discardPile.top().y, l.discardY);
    // The click targets follow the new layout.
    click(onHandCard(handIndexOf(seven)));
    EXPECT_EQ(meldColumnCount(rankOf(seven)), 1);
}

TEST(TableWindowStartup, NothingIsPaintedBeforeTheStartUpIntervalEnds) {
    QStandardPaths::setTestModeEnabled(true);
    MemorySettings settings;
    settings.writeInt("Settings\\Card Movement", 0);
    settings.writeInt("Settings\\Show Turns", 0);
    settings.writeInt("Settings\\AutoSave", 0);
    ui::TfmVelMain window(&settings);
    const QColor green = ui::colourFromStored(32768);
    EXPECT_TRUE(uniform(grab(window.table()), green.rgb()));
    window.game().state.playerStartsHand = 1;
    IdleDriver driver;
    window.game().setOpponentDriver(&driver);
    window.tmSplashTimer();
    EXPECT_FALSE(uniform(grab(window.table()), green.rgb()));
    EXPECT_EQ(window.game().state.playerHand.count + window.game().state.playerMelds.count >= 15,
              true);
}

TEST_F(TableWindowTest, FannedPileOfNineIsNinetySixPixelsTallerAndMovesTheFrame) {
    stage({face(0, 11), face(1, 11)});
    while (state().discardPile.count < 9) {
        Card c = pop(state().stock);
        c.y = layout().discardY;
        c.faceUp = 1;
        push(state().discardPile, c);
    }
    state().pileFanned = 1;
    EXPECT_EQ(table()->discardExtraHeight(), 96);
    const QFontMetrics fm(table()->counterFont());
    const int h = fm.boundingRect("8").height() + layout().cardHeight + 5;
    const QImage image = grab(table());
    const int frameBottom = layout().midY + h + 1 + 96;
    EXPECT_EQ(QColor(image.pixel(1, frameBottom)), QColor(Qt::black));
    EXPECT_EQ(QColor(image.pixel(1, frameBottom - 1)), QColor(Qt::white));
    EXPECT_NE(QColor(image.pixel(1, layout().midY + h + 1)), QColor(Qt::black));
    // Not fanned: only the top card, no extra height.
    state().pileFanned = 0;
    EXPECT_EQ(table()->discardExtraHeight(), 0);
    EXPECT_EQ(QColor(grab(table()).pixel(1, layout().midY + h + 1)), QColor(Qt::black));
}

TEST_F(TableWindowTest, PileCounterShowsAStarWhileFrozen) {
    stage({face(0, 11)});
    while (state().discardPile.count < 12)
        push(state().discardPile, pop(state().stock));
    state().pileFrozen = 1;
    EXPECT_EQ(table()->discardCountText(), "*12");
    state().pileFrozen = 0;
    EXPECT_EQ(table()->discardCountText(), "12");
    EXPECT_EQ(table()->stockCountText(), QString::number(state().stock.count));
}

TEST_F(TableWindowTest, VelnoraLabelsNameTheKindAndCounts) {
    const int queens[] = {face(0, 10), face(1, 10), face(2, 10), face(3, 10)};
    stage({face(0, 11)}, {queens[0], queens[1], queens[2], queens[3], face(0, 10)});
    const int column = rankOf(queens[0]);
    // Two wildcards from the stock join the queens.
    for (int wild : {kJokerFace, face(1, kTwo)}) {
        Card c = removeAt(state().stock, findFace(state().stock, wild));
        c.faceUp = 1;
        placeInColumn(state().playerMelds, c, column, kColumnStep);
        push(state().playerMelds, c);
    }
    checkVelnora(state(), Seat::player, column, layout());
    ASSERT_EQ(state().playerVelnoras.velnoraKind[column], kMixed);
    EXPECT_EQ(table()->velnoraLabel(Seat::player, column), QStringList({"Mixed", "2/5"}));

    state().opponentVelnoras.velnoraKind[4] = kNaturalVelnora;
    state().opponentVelnoras.velnoraNaturals[4] = 8;
    EXPECT_EQ(table()->velnoraLabel(Seat::opponent, 4), QStringList({"Natural", "8"}));
    state().opponentVelnoras.velnoraKind[1] = kWildVelnora;
    EXPECT_EQ(table()->velnoraLabel(Seat::opponent, 1), QStringList({"Wild", "card"}));
    EXPECT_TRUE(table()->velnoraLabel(Seat::player, 4).isEmpty());

    // The label is painted as a yellow box under the column.
    const QImage image = grab(table());
    const int x = layout().tableLeft + column * layout().columnPitch;
    const int top = layout().playerMeldsY + layout().cardHeight + 15;
    EXPECT_EQ(QColor(image.pixel(x + 2, top + 2)), QColor(Qt::yellow));
}

TEST_F(TableWindowTest, LabelFontShrinksUntilNaturalFitsTheCard) {
    for (int size = 0; size < 4; ++size) {
        SCOPED_TRACE(size);
        table()->computeLayout(size);
        const QFont f = table()->labelFont();
        EXPECT_EQ(f.bold(), size != 0);
        const int limit = layout().cardWidth - 4;
        EXPECT_LE(QFontMetrics(f).horizontalAdvance("Natural"), limit);
        // Either the starting 10 points fitted or one point larger would not have.
        int points = 0;
        for (int p = 1; p <= 10; ++p)
            if (ui::pointsToPixels(p) == f.pixelSize()) points = p;
        ASSERT_GT(points, 0);
        if (points < 10) {
            QFont larger = f;
            larger.setPixelSize(ui::pointsToPixels(points + 1));
            EXPECT_GT(QFontMetrics(larger).horizontalAdvance("Natural"), limit);
        }
    }
}

TEST_F(TableWindowTest, AnimationStepsFollowTheCardSpeed) {
    table()->setCardMovement(true, 10);
    EXPECT_EQ(table()->animationSteps(), 9);
    table()->setCardMovement(true, 0);
    EXPECT_EQ(table()->animationSteps(), 100);
    table()->setCardMovement(true, 2);
    EXPECT_EQ(table()->animationSteps(), 33);
}

// A move is shown over the table as it stood when the card left: the engine call has long
// returned and the live table moved on, and the painting follows only once the card has landed.
TEST_F(TableWindowTest, AMovingCardIsShownOverTheTableItLeft) {
    table()->setCardMovement(true, 5);
    window->show();
    const Card card = state().playerHand.at(0);
    const GameState before = state();
    window->animateCard(card, 3, 135, 300, 300, false);
    const int stock = state().stock.count;
    Card drawn = removeAt(state().stock, state().stock.count - 1);
    push(state().discardPile, drawn); // the live table changes after the call
    QApplication::processEvents();
    ASSERT_TRUE(window->presentation().overlayShown());
    EXPECT_TRUE(table()->shown() == before);
    EXPECT_EQ(table()->stockCountText(), QString::number(stock));
    settle();
    EXPECT_FALSE(window->presentation().overlayShown());
    EXPECT_EQ(table()->stockCountText(), QString::number(stock - 1));
}

TEST_F(TableWindowTest, CardsDealtToTheOpponentTravelFaceDown) {
    Card hidden = makeCard(face(2, 11), 1);
    hidden.faceUp = 0;
    EXPECT_EQ(ui::TableView::dragImageIndex(hidden), ui::kFirstBackImage + 1);
    hidden.deck = 0;
    EXPECT_EQ(ui::TableView::dragImageIndex(hidden), ui::kFirstBackImage);
    Card shown = makeCard(face(2, 11), 1);
    shown.faceUp = 1;
    EXPECT_EQ(ui::TableView::dragImageIndex(shown), face(2, 11) - 1);
    // The deal moves every opponent card with its face down unless the reveal key is on.
    for (const Card& c : state().opponentHand)
        EXPECT_EQ(ui::TableView::dragImageIndex(c), ui::kFirstBackImage + c.deck);
}

// The card that completes a velnora lands in a squared-up, labelled column: the first frame
// without the moving card already shows the velnora.
TEST_F(TableWindowTest, AVelnoraIsSquaredAndLabelledInTheFrameItsLastCardLands) {
    const int seven = face(0, kSeven);
    const int rank = rankOf(seven);
    stage({seven, face(1, 9), face(2, 10)}, {face(0, kSeven), face(1, kSeven), face(2, kSeven),
                                             face(3, kSeven), face(1, kSeven), face(2, kSeven)});
    table()->setCardMovement(true, 10);
    window->show();
    bool moving = false, landed = false, squared = false;
    QStringList label;
    table()->onPainted = [&] {
        if (window->presentation().overlayShown()) {
            moving = true;
            return;
        }
        if (!moving || landed) return;
        landed = true;
        label = table()->velnoraLabel(Seat::player, rank);
        std::set<int> rows;
        for (const Card& c : table()->shown().playerMelds)
            if (columnOf(c.x, layout()) == rank) rows.insert(c.y);
        squared = rows.size() == 1;
    };
    click(onHandCard(handIndexOf(seven)));
    QApplication::processEvents(); // the last frame's paint
    ASSERT_EQ(state().playerVelnoras.velnoraCount, 1);
    ASSERT_TRUE(moving);
    ASSERT_TRUE(landed);
    EXPECT_TRUE(squared);
    EXPECT_EQ(label, QStringList({"Natural", "7"}));
}

TEST(CounterColour, StandsOutOnLightAndDarkTables) {
    EXPECT_EQ(ui::counterColour(QColor(0, 128, 0)), QColor(Qt::black)); // the usual cloth
    EXPECT_EQ(ui::counterColour(QColor(0, 0, 128)), QColor(Qt::white));
    EXPECT_EQ(ui::counterColour(QColor(90, 0, 0)), QColor(Qt::white));
    EXPECT_EQ(ui::counterColour(QColor(255, 255, 160)), QColor(Qt::black));
}
