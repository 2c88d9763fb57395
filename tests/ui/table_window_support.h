#pragma once
// A table window on an in-memory settings tree, past its start-up interval, with helpers that
// stage a table and click or type on it the way a person does.

#include "main_window.h"
#include "presentation.h"
#include "table_view.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStandardPaths>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace velnora::test {

// An opponent that only counts its turns, so a test sees the table right after the player.
class IdleDriver : public OpponentDriver {
public:
    int turns = 0;
    void startTurn(Game&) override { ++turns; }
};

// Face numbers: suit * 13 + type + 1 with spades 0, clubs 1, diamonds 2, hearts 3, type 0 two.
constexpr int face(int suit, int type) {
    return suit * 13 + type + 1;
}
constexpr int kSeven = 5; // type index of the seven
constexpr int kTwo = 0;

class TableWindowTest : public ::testing::Test {
protected:
    MemorySettings settings;
    std::unique_ptr<ui::TfmVelMain> window;
    IdleDriver driver;

    void SetUp() override {
        QStandardPaths::setTestModeEnabled(true);
        settings.writeInt("Settings\\Card Movement", 0);
        settings.writeInt("Settings\\Delay", 0);
        settings.writeInt("Settings\\Show Turns", 0);
        settings.writeInt("Settings\\AutoSave", 0);
        prepareSettings();
        window = std::make_unique<ui::TfmVelMain>(&settings);
        window->game().state.playerStartsHand = 1;
        window->tmSplashTimer();
        window->game().setOpponentDriver(&driver);
        settle(); // the deal is shown
    }

    // Lets a test store options before the window reads them.
    virtual void prepareSettings() {}

    Game& game() { return window->game(); }
    GameState& state() { return window->game().state; }
    const Layout& layout() { return window->game().layout; }
    ui::TableView* table() { return window->table(); }

    // Lets the steps of the last moves play out, as a player waits for the cards to land.
    void settle() {
        for (int i = 0; i < 1000 && window->presentation().busy(); ++i) {
            QEventLoop idle;
            QTimer::singleShot(2, &idle, &QEventLoop::quit);
            idle.exec();
        }
    }

    void click(QPoint at, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        settle();
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), QPointF(at), button,
                            Qt::NoButton, modifiers);
        QApplication::sendEvent(table(), &release);
        settle();
    }
    void rightClick(QPoint at) { click(at, Qt::RightButton); }

    // Presses a button at one table point, moves halfway and on to another, and releases there,
    // each point seen through the table's scale. `whileHeld` runs before the release; the cards
    // that move afterwards are still on their way on return.
    void drag(QPoint from, QPoint to, const std::function<void()>& whileHeld = {},
              Qt::MouseButton button = Qt::LeftButton) {
        settle();
        auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton changed,
                        Qt::MouseButtons held) {
            const QPointF w = table()->tableTransform().map(QPointF(at) + QPointF(0.5, 0.5));
            QMouseEvent e(type, w, table()->mapToGlobal(w), changed, held, Qt::NoModifier);
            QApplication::sendEvent(table(), &e);
        };
        send(QEvent::MouseButtonPress, from, button, button);
        send(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, button);
        send(QEvent::MouseMove, to, Qt::NoButton, button);
        if (whileHeld) whileHeld();
        send(QEvent::MouseButtonRelease, to, button, Qt::NoButton);
    }

    void key(int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        settle();
        QKeyEvent press(QEvent::KeyPress, code, modifiers);
        QApplication::sendEvent(table(), &press);
        settle();
    }

    // A point on the visible part of hand card i.
    QPoint onHandCard(int i) {
        const Card& c = state().playerHand.at(i);
        return {c.x + 5, c.y + 5};
    }
    int handIndexOf(int faceNumber) { return findFace(state().playerHand, faceNumber); }

    // Lays out a table with exactly these hand cards and melds (faces; deck chosen as needed),
    // every other card in the stock, and the player to meld or discard.
    void stage(const std::vector<int>& hand, const std::vector<int>& melds = {}) {
        GameState& g = state();
        const Layout& l = layout();
        for (Pile* p : {&g.stock, &g.discardPile, &g.opponentHand, &g.playerHand, &g.opponentMelds,
                        &g.playerMelds, &g.knownPlayerCards})
            clear(*p);
        g.playerVelnoras = {};
        g.opponentVelnoras = {};
        g.undoStack.clear();
        resetColumnPositions(g, l);
        std::map<int, int> used;
        auto take = [&](int f) {
            Card c = makeCard(f, used[f]++ % 2);
            c.faceUp = 1;
            return c;
        };
        for (int f : hand) {
            Card c = take(f);
            placeInColumn(g.playerHand, c, c.rank(), kColumnStep);
            push(g.playerHand, c);
        }
        for (int f : melds) {
            Card c = take(f);
            placeInColumn(g.playerMelds, c, c.rank(), kColumnStep);
            push(g.playerMelds, c);
        }
        auto addToStock = [&](int f, int copies) {
            for (int n = used[f]; n < copies; ++n) {
                Card c = makeCard(f, n % 2);
                c.x = l.tableLeft;
                c.y = l.stockY;
                push(g.stock, c);
            }
        };
        for (int f = 1; f <= 52; ++f)
            addToStock(f, 2);
        addToStock(kJokerFace, 4);
        // One ordinary card on the pile, so the pile is never empty.
        Card top = pop(g.stock);
        top.y = l.discardY;
        top.faceUp = 1;
        push(g.discardPile, top);
        g.pileFrozen = 0;
        g.pileFanned = 0;
        g.hasDrawn = 1;
        g.mayTakePile = 0;
        g.takingPile = 0;
        g.topCardPending = 0;
        g.stockExhausted = 0;
        g.inputBlocked = 0;
        g.initialMeldMinimum = 50;
        game().showInstruction(kPromptMeldOrDiscard);
        takeSnapshot(g);
    }

    int meldColumnCount(int column) { return columnCount(state().playerMelds, column, layout()); }
};

} // namespace velnora::test
