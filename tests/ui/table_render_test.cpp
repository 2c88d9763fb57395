// A mid-game table drawn at every table size and kept as PNG files next to the test binary, so
// the drawing can be looked at after a run.

#include "table_window_support.h"

#include <QCoreApplication>
#include <QImage>

using namespace velnora;
using namespace velnora::test;

namespace {

constexpr int kTwoType = 0, kFourType = 2, kFiveType = 3, kSixType = 4, kEightType = 6,
              kNineType = 7, kTenType = 8, kJackType = 9, kQueenType = 10, kKingType = 11,
              kAceType = 12;
constexpr int kRedThrees[] = {28, 41};

int darkPixels(const QImage& image, const QRect& area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (QColor(image.pixel(x, y)).lightness() < 60) ++n;
    return n;
}

class TableRenderTest : public TableWindowTest {
protected:
    // Takes one card of a face out of the stock, so no card is ever invented.
    Card take(int faceNumber) {
        const int i = findFace(state().stock, faceNumber);
        if (i < 0) {
            ADD_FAILURE() << "no " << cardLabel(faceNumber) << " left in the stock";
            return makeCard(faceNumber, 0);
        }
        Card c = removeAt(state().stock, i);
        c.faceUp = 1;
        return c;
    }

    void meld(Seat seat, int faceNumber, int column = -1) {
        Pile& melds = seat == Seat::player ? state().playerMelds : state().opponentMelds;
        Card c = take(faceNumber);
        placeInColumn(melds, c, column < 0 ? c.rank() : column,
                      seat == Seat::player ? kColumnStep : -kColumnStep);
        push(melds, c);
    }

    // Both seats have melded for a while: a natural and a mixed velnora each, open melds, red
    // threes, and a frozen pile of eight still shown fanned.
    void layOutMidGame() {
        GameState& g = state();
        const Layout& l = layout();
        for (Pile* p : {&g.stock, &g.discardPile, &g.opponentHand, &g.playerHand, &g.opponentMelds,
                        &g.playerMelds, &g.knownPlayerCards})
            clear(*p);
        g.playerVelnoras = {};
        g.opponentVelnoras = {};
        g.undoStack.clear();
        for (int k = 0; k < kColumns; ++k) {
            const auto i = static_cast<std::size_t>(k);
            g.playerHand.columnPos[i] = {columnX(k, l), l.playerHandY};
            g.playerMelds.columnPos[i] = {columnX(k, l), l.playerMeldsY};
            g.opponentMelds.columnPos[i] = {columnX(k, l), l.opponentMeldsY};
        }
        for (int f = 1; f <= kJokerFace; ++f)
            for (int n = 0; n < (f == kJokerFace ? 4 : 2); ++n) {
                Card c = makeCard(f, n % 2);
                c.x = l.tableLeft;
                c.y = l.stockY;
                push(g.stock, c);
            }

        // The player: natural kings, mixed nines, open eights, two red threes.
        for (int n = 0; n < 7; ++n)
            meld(Seat::player, face(n % 4, kKingType));
        for (int s = 0; s < 4; ++s)
            meld(Seat::player, face(s, kNineType));
        for (int wild : {kJokerFace, kJokerFace, face(0, kTwoType)})
            meld(Seat::player, wild, rankOf(face(0, kNineType)));
        for (int s = 0; s < 3; ++s)
            meld(Seat::player, face(s, kEightType));
        for (int red : kRedThrees)
            meld(Seat::player, red);

        // The opponent: mixed queens, natural sixes, tens with a two, one red three.
        for (int n = 0; n < 5; ++n)
            meld(Seat::opponent, face(n % 4, kQueenType));
        for (int wild : {kJokerFace, face(1, kTwoType)})
            meld(Seat::opponent, wild, rankOf(face(0, kQueenType)));
        for (int n = 0; n < 7; ++n)
            meld(Seat::opponent, face(n % 4, kSixType));
        for (int s = 0; s < 3; ++s)
            meld(Seat::opponent, face(s, kTenType));
        meld(Seat::opponent, face(2, kTwoType), rankOf(face(0, kTenType)));
        meld(Seat::opponent, kRedThrees[0]);

        for (int column : {rankOf(face(0, kKingType)), rankOf(face(0, kNineType))})
            checkVelnora(g, Seat::player, column, l);
        for (int column : {rankOf(face(0, kQueenType)), rankOf(face(0, kSixType))})
            checkVelnora(g, Seat::opponent, column, l);

        for (int f :
             {face(0, kAceType), face(1, kAceType), face(0, kFourType), face(1, kFiveType),
              face(2, kFiveType), face(0, kJackType), face(3, kJackType), face(1, kSeven),
              face(0, 1), face(3, kTenType), face(3, kKingType), face(3, kTwoType), kJokerFace}) {
            Card c = take(f);
            placeInColumn(g.playerHand, c, c.rank(), kColumnStep);
            push(g.playerHand, c);
        }
        for (int f : {face(1, kFourType), face(3, kFiveType), face(2, kJackType), face(3, kSeven),
                      face(3, kAceType), face(2, kEightType), face(1, kNineType),
                      face(3, kQueenType), face(0, kSeven)}) {
            Card c = take(f);
            c.faceUp = 0;
            c.x = l.tableLeft + g.opponentCardSpacing * g.opponentHand.count;
            c.y = kOpponentHandY;
            push(g.opponentHand, c);
        }
        // A two at the bottom froze the pile.
        for (int f :
             {face(2, kTwoType), face(3, kSixType), face(1, kJackType), face(3, kFourType),
              face(0, kFiveType), face(2, kAceType), face(1, kEightType), face(2, kTenType)}) {
            Card c = take(f);
            c.x = l.tableLeft;
            c.y = l.discardY;
            push(g.discardPile, c);
        }
        g.pileFrozen = 1;
        g.pileFanned = 1;
        g.hasDrawn = 0;
        g.mayTakePile = 1;
        g.takingPile = 0;
        g.topCardPending = 0;
        g.stockExhausted = 0;
        g.inputBlocked = 0;
        game().showInstruction(kPromptDraw);
        takeSnapshot(g);
    }
};

TEST_F(TableRenderTest, MidGameTableAtEverySizeIsSavedAndShowsItsParts) {
    layOutMidGame();
    std::string why;
    ASSERT_TRUE(isConsistent(state(), layout(), &why)) << why << '\n' << toString(state());
    const int kings = rankOf(face(0, kKingType));
    const int queens = rankOf(face(0, kQueenType));
    ASSERT_EQ(state().playerVelnoras.velnoraKind[kings], kNaturalVelnora);
    ASSERT_EQ(state().playerVelnoras.velnoraKind[rankOf(face(0, kNineType))], kMixed);
    ASSERT_EQ(state().opponentVelnoras.velnoraKind[queens], kMixed);
    ASSERT_EQ(state().opponentVelnoras.velnoraKind[rankOf(face(0, kSixType))], kNaturalVelnora);

    for (int size = 0; size < kTableSizes; ++size) {
        SCOPED_TRACE(sizeName(size));
        window->windowSizeIndex = size;
        window->applyWindowSize();
        // The table pixel for pixel, even where the window would not fit the test's screen.
        window->resize(window->naturalSize());
        const Layout& l = layout();
        ASSERT_EQ(l.sizeIndex, size);
        ASSERT_TRUE(isConsistent(state(), l, &why)) << why;

        // Painting reads the table and writes nothing: the Expert's counts among it.
        const GameState before = state();
        const QImage image = table()->grab().toImage();
        EXPECT_TRUE(state() == before);
        const QString file = QCoreApplication::applicationDirPath() + "/table-" +
                             QString::fromLatin1(sizeName(size)) + ".png";
        EXPECT_TRUE(image.save(file)) << file.toStdString();
        ASSERT_EQ(image.size(), QSize(tableWidthFor(size), tableHeightFor(size)));

        // The player's first label: a yellow box whose two lines leave a yellow gap in the
        // middle, with dark text in it.
        const int t = QFontMetrics(table()->labelFont()).height();
        const int x = columnX(rankOf(face(0, kNineType)), l);
        const int top = l.playerMeldsY + l.cardHeight + 15;
        const QColor yellow(Qt::yellow);
        EXPECT_EQ(QColor(image.pixel(x + l.cardWidth / 2, top + 2 + t)), yellow);
        EXPECT_GT(darkPixels(image, QRect(x + 1, top + 1, l.cardWidth - 3, 2 * t + 3)), 20);
        // The opponent's labels sit over their columns, clear of the opponent's hand.
        const int base = l.opponentMeldsY;
        EXPECT_EQ(QColor(image.pixel(columnX(queens, l) + 2, base - 2 * t - 18)), yellow);
        EXPECT_GT(base - 2 * t - 20, kOpponentHandY + l.cardHeight);

        // The frozen pile's counter below the fanned cards, and the frame grown with them.
        const int e = table()->discardExtraHeight();
        EXPECT_EQ(e, 7 * kColumnStep);
        const QFontMetrics fm(table()->counterFont());
        const int counterTop = l.midY + l.cardHeight + e + 3;
        EXPECT_GT(darkPixels(image, QRect(l.tableLeft, counterTop, l.cardWidth, fm.height())), 5);
        const int h = fm.boundingRect("8").height() + l.cardHeight + 5;
        EXPECT_EQ(QColor(image.pixel(1, l.midY + h + 1 + e)), QColor(Qt::black));

        // The top card of the fan shows its face, not the cloth.
        const QPoint topCard(l.tableLeft + l.cardWidth / 2, l.discardY + e + l.cardHeight / 2);
        EXPECT_NE(QColor(image.pixel(topCard)), table()->backgroundColour());
    }
}

} // namespace
