// The table scaled to its window: clicks and painting meet at the same card whatever the
// window's size and the screen's pixel ratio (ctest runs this suite at ratio 1 and 2), and the
// window's own place and size are remembered apart from the table size.

#include "table_window_support.h"
#include "widget_lookup.h"

#include <QAction>
#include <QImage>
#include <QScreen>

#include <cmath>

namespace velnora::test {
namespace {

class TableScaling : public TableWindowTest {
protected:
    bool imagesFitTheScale() {
        return std::abs(table()->images().devicePixelRatio() - table()->imageRatio()) < 1e-3;
    }
};

std::string text(QSize s) {
    return std::to_string(s.width()) + "x" + std::to_string(s.height());
}

TEST_F(TableScaling, APointOfACardHitsAndShowsThatCardAtEveryWindowSize) {
    const int king = face(1, 11);
    stage({face(0, kSeven), king}, {face(2, 9), face(3, 9), face(0, 9)});
    window->show();

    const Card& k = state().playerHand.at(handIndexOf(king));
    const Card& m = state().playerMelds.at(0);
    const Layout& l = layout();
    struct Case {
        QPoint at;
        int kind, index;
    };
    const Case cases[] = {{{k.x + 10, k.y + 20}, ui::kHitHandNatural, handIndexOf(king)},
                          {{m.x + 30, m.y + 4}, ui::kHitMeld, 0},
                          {{l.tableLeft + 5, l.stockY + 5}, ui::kHitStock, -1},
                          {{l.tableLeft + 5, l.discardY + 5}, ui::kHitDiscardPile, -1}};
    const QColor cloth = table()->backgroundColour();
    for (QSize size : {QSize(1000, 700), QSize(700, 1000), QSize(1366, 768), QSize(500, 420)}) {
        window->resize(size);
        ASSERT_TRUE(uitest::waitUntil([&] { return imagesFitTheScale(); }, 3000)) << text(size);
        const QTransform& t = table()->tableTransform();
        EXPECT_DOUBLE_EQ(t.m11(), t.m22());
        const QImage shot = table()->grab().toImage();
        const qreal dpr = shot.devicePixelRatio();
        EXPECT_DOUBLE_EQ(dpr, table()->devicePixelRatioF());
        for (const Case& c : cases) {
            const QPointF w = t.map(QPointF(c.at) + QPointF(0.5, 0.5));
            const ui::Hit hit =
                table()->hitTest(table()->tablePoint(w).x(), table()->tablePoint(w).y());
            EXPECT_EQ(hit.kind, c.kind) << text(size);
            EXPECT_EQ(hit.index, c.index) << text(size);
            EXPECT_NE(shot.pixelColor((w * dpr).toPoint()), cloth) << text(size);
        }
        // The table keeps its proportions: the rest of the window is cloth.
        const QPoint margin = t.dx() >= 2 ? QPoint(0, table()->height() / 2)
                                          : QPoint(table()->width() / 2, table()->height() - 1);
        EXPECT_EQ(shot.pixelColor(margin * dpr), cloth) << text(size);
    }

    // The gesture itself: a press and release on the scaled king melds it.
    const QPointF onKing = table()->tableTransform().map(QPointF(cases[0].at));
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, onKing, table()->mapToGlobal(onKing), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(table(), &e);
    }
    settle();
    EXPECT_EQ(meldColumnCount(rankOf(king)), 1);
}

TEST_F(TableScaling, ADraggedCardMeetsTheSameTargetsAtEveryWindowSize) {
    const int ace = face(1, 12), king = face(2, 11);
    window->show();
    for (QSize size : {QSize(1000, 700), QSize(500, 420)}) {
        stage({face(0, kSeven), ace, king}, {face(2, 12), face(3, 12), face(0, 12)});
        window->resize(size);
        ASSERT_TRUE(uitest::waitUntil([&] { return imagesFitTheScale(); }, 3000)) << text(size);
        const Layout& l = layout();
        drag(onHandCard(handIndexOf(ace)), {l.tableWidth - 20, l.midY + 20});
        EXPECT_EQ(meldColumnCount(rankOf(ace)), 4) << text(size);
        // Near the far corner of the pile, where a mapping off by a scaled pixel would miss.
        drag(onHandCard(handIndexOf(king)), {l.tableLeft + l.cardWidth - 1, l.discardY + 1});
        EXPECT_EQ(state().discardPile.top().face, king) << text(size);
    }
}

TEST_F(TableScaling, FullScreenIsTheWindowsAndCtrlF11StaysTheTables) {
    window->show();
    QAction* item = uitest::find<QAction>(window.get(), "FullScreen1");
    ASSERT_TRUE(item);
    EXPECT_EQ(item->shortcut(), QKeySequence(Qt::Key_F11));
    item->trigger();
    EXPECT_TRUE(window->isFullScreen());
    item->trigger();
    EXPECT_FALSE(window->isFullScreen());
    // The table claims Ctrl+F11 (the opponent's cards) but lets plain F11 reach the menu item.
    for (auto [modifiers, claimed] :
         {std::pair{Qt::NoModifier, false}, {Qt::ControlModifier, true}}) {
        QKeyEvent override(QEvent::ShortcutOverride, Qt::Key_F11, modifiers);
        override.ignore();
        QApplication::sendEvent(table(), &override);
        EXPECT_EQ(override.isAccepted(), claimed);
    }
}

TEST_F(TableScaling, TheWindowsGeometryIsRememberedAndKeptOnTheScreen) {
    ui::WindowGeometry g =
        ui::parseWindowGeometry("10,20,800,600,1").value_or(ui::WindowGeometry{});
    EXPECT_EQ(g.rect, QRect(10, 20, 800, 600));
    EXPECT_EQ(g.state, 1);
    for (const char* bad : {"", "1,2,3,4", "a,2,3,4,0", "0,0,0,5,0", "0,0,5,5,3"})
        EXPECT_FALSE(ui::parseWindowGeometry(bad)) << bad;
    // Past the right edge and taller than a 1366x768 screen: pulled in and shrunk.
    EXPECT_EQ(ui::clampToArea({1500, -20, 2000, 900}, {0, 0, 1366, 768}, {4, 30, 4, 4}),
              QRect(4, 30, 1358, 734));
    EXPECT_EQ(ui::clampToArea({100, 100, 640, 520}, {0, 0, 1366, 768}, {4, 30, 4, 4}),
              QRect(100, 100, 640, 520));

    // A first start: the largest table that fits, in the middle of the screen.
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(window->windowSizeIndex, window->maxWindowSizeIndex);
    EXPECT_LE((window->geometry().center() - area.center()).manhattanLength(), 40);

    const QRect placed(area.left() + 20, area.top() + 40, area.width() / 2, area.height() / 2);
    window->setGeometry(placed);
    window.reset();
    EXPECT_EQ(settings.readString("Settings\\Window Geometry", ""),
              ui::windowGeometryText({placed, 0}).toStdString());
    EXPECT_FALSE(settings.readString("Settings\\Resolution", "").empty());
    ui::TfmVelMain again(&settings);
    EXPECT_EQ(again.geometry(), placed);
}

} // namespace
} // namespace velnora::test
