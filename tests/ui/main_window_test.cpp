// The table window's menus, status bar, start-up values and shutdown.

#include "table_window_support.h"

#include <QAction>
#include <QEventLoop>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

using namespace velnora;
using namespace velnora::test;

namespace {

QAction* item(QWidget* window, const char* name) {
    return window->findChild<QAction*>(name);
}

void waitMs(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

TEST_F(TableWindowTest, MenuItemsCarryTheirCaptionsShortcutsAndHints) {
    struct Row {
        const char* name;
        const char* caption;
        QKeySequence shortcut;
        bool enabled;
    };
    const Row rows[] = {
        {"New1", "&New", QKeySequence(Qt::Key_F2), true},
        {"Load1", "&Load...", QKeySequence(Qt::Key_F3), true},
        {"Save1", "&Save...", QKeySequence(Qt::Key_F4), true},
        {"Hiscores1", "&Hiscores...", {}, true},
        {"WinRatio1", "&Win Ratio...", {}, true},
        {"MatchHistory1", "&Match History...", {}, true},
        {"UndoMeld1", "&Undo Meld", QKeySequence(Qt::Key_Delete), false},
        {"UndoAll1", "Undo &All", QKeySequence(Qt::CTRL | Qt::Key_Delete), false},
        {"Exit1", "E&xit", {}, true},
        {"Customize1", "&Customize...", {}, true},
        {"Decks1", "&Decks...", {}, true},
        {"Sound1", "&Sound...", {}, true},
        {"ConnecttoOpponent1", "&Connect to Opponent...", {}, true},
        {"RuleDifferences1", "&Rule Differences...", {}, false},
        {"Disconnect1", "&Disconnect", {}, false},
        {"Chatwindowalwaysontop1", "Chat window always on &top", {}, false},
        {"RequestListing1", "Request &Listing", {}, false},
        {"HelpTopics1", "&Help Topics", QKeySequence(Qt::Key_F1), true},
        {"CheckUpgrade1", "Check &Upgrade...", {}, true},
        {"About1", "&About...", {}, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        QAction* a = item(window.get(), r.name);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(), r.caption);
        EXPECT_EQ(a->shortcut(), r.shortcut);
        EXPECT_EQ(a->isEnabled(), r.enabled);
    }
    EXPECT_NE(item(window.get(), "Rules1"), nullptr);
    EXPECT_EQ(item(window.get(), "New1")->statusTip(), "Start a new Velnora game");
    EXPECT_EQ(item(window.get(), "UndoAll1")->statusTip(),
              "Undo all melds since your last discard or taking of the discard pile, if any");
    EXPECT_EQ(window->windowTitle(), "Velnora 4.17");
}

TEST_F(TableWindowTest, SeparatorsStandWhereTheMenusGroupTheirItems) {
    QMenu* game = window->menuBar()->findChild<QMenu*>("Game1");
    ASSERT_NE(game, nullptr);
    QStringList shape;
    for (QAction* a : game->actions())
        shape << (a->isSeparator() ? "-" : a->objectName());
    EXPECT_EQ(shape,
              QStringList({"New1", "Load1", "Save1", "-", "Hiscores1", "WinRatio1", "MatchHistory1",
                           "ScoreSheet1", "-", "UndoMeld1", "UndoAll1", "Hint1", "-", "Exit1"}));
}

// Alt and a letter reaches one item: no menu, and not the menu bar, has two items on a letter.
TEST_F(TableWindowTest, EveryMnemonicOfAMenuIsItsOwn) {
    auto letters = [](const QList<QAction*>& actions, const QString& where) {
        QMap<QChar, QString> seen;
        for (const QAction* a : actions) {
            const QString text = a->text();
            for (qsizetype i = text.indexOf('&'); i >= 0 && i + 1 < text.size();
                 i = text.indexOf('&', i + 2)) {
                if (text[i + 1] == '&') continue;
                const QChar letter = text[i + 1].toLower();
                EXPECT_FALSE(seen.contains(letter))
                    << where.toStdString() << ": " << seen[letter].toStdString() << " and "
                    << text.toStdString();
                seen[letter] = text;
                break;
            }
        }
    };
    letters(window->menuBar()->actions(), "menu bar");
    for (QMenu* menu : window->menuBar()->findChildren<QMenu*>())
        letters(menu->actions(), menu->title());
}

TEST_F(TableWindowTest, UndoItemsFollowTheUndoStack) {
    const int seven = face(0, kSeven);
    stage({seven, face(1, kSeven), face(0, 11), face(1, 11), face(2, 9)});
    click(onHandCard(handIndexOf(seven)));
    EXPECT_TRUE(item(window.get(), "UndoMeld1")->isEnabled());
    EXPECT_TRUE(item(window.get(), "UndoAll1")->isEnabled());
    item(window.get(), "UndoMeld1")->trigger();
    EXPECT_EQ(meldColumnCount(rankOf(seven)), 0);
    EXPECT_FALSE(item(window.get(), "UndoMeld1")->isEnabled());
}

TEST_F(TableWindowTest, WarningsTurnRedWithTheLedTimerAndKeepTheirText) {
    game().showWarning(kWarnAlreadyDrawn);
    EXPECT_EQ(window->statusText(), "You have already drawn");
    EXPECT_TRUE(window->statusIsWarning());
    waitMs(700);
    EXPECT_FALSE(window->statusIsWarning());
    EXPECT_EQ(window->statusText(), "You have already drawn");
}

TEST_F(TableWindowTest, StatusPanelsShowMeldsScoresAndTheMinimum) {
    stage({face(0, 11)}, {face(0, 12), face(1, 12), face(2, 12)}); // three aces: 60 points
    state().playerTotal = 120;
    state().opponentTotal = 45;
    state().opponentMeldPoints = 15;
    state().initialMeldMinimum = 90;
    window->repaint(TableArea::all);
    EXPECT_EQ(window->panel("pnPCurrMeld")->text(), "60 (90)");
    EXPECT_EQ(window->panel("pnCCurrMeld")->text(), "15");
    EXPECT_EQ(window->panel("pnPCurrScore")->text(), "120");
    EXPECT_EQ(window->panel("pnCCurrScore")->text(), "45");
    state().initialMeldMinimum = 50;
    window->repaint(TableArea::all);
    EXPECT_EQ(window->panel("pnPCurrMeld")->text(), "60");
    EXPECT_EQ(window->panel("pnPCurrMeld")->width(), 50);
    EXPECT_EQ(window->panel("pnCCurrScore")->width(), 34);
    EXPECT_EQ(window->panel("pnCCurrMeld")->toolTip(), "Opponent's Current Meld");
}

TEST_F(TableWindowTest, PanelsAreCaptionedAndGiveWayToTheTextWhileTheTotalsStayInView) {
    window->show();
    window->resize(1280, 900);
    QApplication::processEvents();
    game().showInstruction(kPromptDraw);
    auto* line = window->findChild<QLabel*>("lbStatus");
    auto* meldCaption = window->findChild<QLabel*>("pnPCurrMeldCaption");
    auto* totalFrame = window->findChild<QWidget*>("pnPCurrScoreFrame");
    ASSERT_TRUE(line && meldCaption && totalFrame);
    EXPECT_TRUE(meldCaption->isVisible());
    EXPECT_FALSE(meldCaption->text().isEmpty());
    EXPECT_TRUE(totalFrame->isVisible());
    EXPECT_EQ(line->text(), window->statusText());

    // A text longer than the line: the panels give up their room first, then it is cut, and
    // the whole of it stays one hover away.
    const QString longText =
        QString("Select a card to meld by typing one of the characters ").repeated(4);
    window->showStatus(longText.toStdString(), false);
    EXPECT_FALSE(meldCaption->isVisible());
    EXPECT_FALSE(totalFrame->isVisible());
    EXPECT_TRUE(line->text().endsWith(QChar(0x2026))) << line->text().toStdString();
    EXPECT_EQ(line->toolTip(), longText);
    EXPECT_EQ(window->statusText(), longText);

    // Without the status bar the totals are still in view, under the names of the results.
    state().playerTotal = 1230;
    state().opponentTotal = 45;
    window->statusBar()->hide();
    window->repaint(TableArea::all);
    auto* totals = window->findChild<QLabel*>("lbMatchTotals");
    ASSERT_NE(totals, nullptr);
    EXPECT_TRUE(totals->isVisible());
    EXPECT_EQ(totals->text(), QString::fromUtf8("Match totals: Player 1230 \u00b7 Computer 45"));
}

TEST_F(TableWindowTest, TheTableIsExactlyTheTableSizeWithMenuAndStatusBarOutside) {
    window->show();
    EXPECT_EQ(table()->size(), QSize(640, 480));
    EXPECT_EQ(window->centralWidget(), table());
    EXPECT_GE(window->height(), 480 + window->menuBar()->height());
    // A larger window scales the table to its height, the margins left and right.
    window->resize(900, 700);
    QApplication::processEvents();
    EXPECT_EQ(table()->width(), 900);
    const QTransform& t = table()->tableTransform();
    EXPECT_DOUBLE_EQ(t.m11(), table()->height() / 480.0);
    EXPECT_NEAR(t.dx(), (900 - 640 * t.m11()) / 2, 1.0);
    EXPECT_EQ(t.dy(), 0);
}

TEST_F(TableWindowTest, ShutdownStoresTheWindowPlacement) {
    window->windowSizeIndex = 1;
    window.reset();
    const std::string stored = settings.readString("Settings\\Resolution", "");
    EXPECT_TRUE(QString::fromStdString(stored).endsWith(",800x600")) << stored;
}

TEST_F(TableWindowTest, EndHandButtonShowsOnlyWithAnExhaustedStock) {
    QPushButton* end = window->findChild<QPushButton*>("bnEndHand");
    ASSERT_NE(end, nullptr);
    EXPECT_FALSE(end->isVisibleTo(window.get()));
    window->setEndHandButton(true, true);
    EXPECT_TRUE(end->isVisibleTo(window.get()));
    EXPECT_EQ(end->text(), "End Hand");
}

TEST(TableWindowValues, PlayerEntriesSplitAtCommas) {
    PlayerRecord r = parsePlayerEntry("Anna,3,1");
    EXPECT_EQ(r.name, "Anna");
    EXPECT_EQ(r.wins, 3);
    EXPECT_EQ(r.losses, 1);
    r = parsePlayerEntry("Bob,x,7");
    EXPECT_EQ(r.name, "Bob");
    EXPECT_EQ(r.wins, 0);
    EXPECT_EQ(r.losses, 0);
    r = parsePlayerEntry("Cleo,4,zz");
    EXPECT_EQ(r.wins, 4);
    EXPECT_EQ(r.losses, 0);
    r = parsePlayerEntry("Dan");
    EXPECT_EQ(r.name, "Dan");
    EXPECT_EQ(r.wins, 0);
}

TEST(TableWindowValues, StoredPlacementIsCheckedAgainstTheScreen) {
    ui::WindowPlacement p = ui::parseResolution("10,20,800x600", 1024, 768);
    EXPECT_EQ(p.left, 10);
    EXPECT_EQ(p.top, 20);
    EXPECT_EQ(p.sizeIndex, 1);
    p = ui::parseResolution("-5,900,1024x768", 1024, 768);
    EXPECT_EQ(p.left, 0);
    EXPECT_EQ(p.top, 0);
    EXPECT_EQ(p.sizeIndex, 2);
    p = ui::parseResolution("a,20,800x600", 1024, 768);
    EXPECT_EQ(p.left, 0);
    EXPECT_EQ(p.top, 0);
    EXPECT_EQ(p.sizeIndex, 0);
    EXPECT_EQ(ui::parseResolution("5,5,999x1", 1024, 768).sizeIndex, 0);
    // A window without chrome on a tall screen: the width alone decides.
    const QSize none(0, 0);
    EXPECT_EQ(ui::maxSizeIndexFor({1024, 2000}, none), 2);
    EXPECT_EQ(ui::maxSizeIndexFor({1279, 2000}, none), 2);
    EXPECT_EQ(ui::maxSizeIndexFor({1280, 2000}, none), 3);
    EXPECT_EQ(ui::maxSizeIndexFor({800, 2000}, none), 1);
    EXPECT_EQ(ui::maxSizeIndexFor({600, 2000}, none), 0);
}

TEST_F(TableWindowTest, OnlySizesWhoseWholeWindowFitsTheScreenAreOffered) {
    // Borders of 4, a title bar of 30, a menu bar of 22 and a status bar of 20.
    const QSize chrome(8, 8 + 30 + 22 + 20);
    EXPECT_EQ(ui::maxSizeIndexFor({1366, 768}, chrome), 1);
    EXPECT_EQ(ui::maxSizeIndexFor({1920, 1080}, chrome), 2);
    EXPECT_EQ(ui::maxSizeIndexFor({1920, 1040}, chrome), 2); // a panel below
    EXPECT_EQ(ui::maxSizeIndexFor({2560, 1440}, chrome), 3);
    EXPECT_EQ(ui::maxSizeIndexFor({1032, 848}, chrome), 2); // exactly
    EXPECT_EQ(ui::maxSizeIndexFor({1032, 847}, chrome), 1);
    EXPECT_EQ(ui::maxSizeIndexFor({1031, 848}, chrome), 1);
    EXPECT_EQ(ui::maxSizeIndexFor({500, 400}, chrome), 0);
    // The window's own estimate, before a window manager has framed it, counts a title bar, the
    // menu bar and the status bar, so it makes the same choice on both screens.
    const QSize own = window->windowChrome();
    EXPECT_GE(own.height(), 30 + window->menuBar()->sizeHint().height() +
                                window->statusBar()->sizeHint().height());
    EXPECT_EQ(ui::maxSizeIndexFor({1366, 768}, own), 1);
    EXPECT_EQ(ui::maxSizeIndexFor({1920, 1080}, own), 2);
}

TEST(TableWindowValues, OptionsAreReadFromTheSettings) {
    QStandardPaths::setTestModeEnabled(true);
    MemorySettings settings;
    settings.writeString("Settings\\Mouse Options", "Double Right Click");
    settings.writeString("Settings\\Level", "Advanced");
    settings.writeInt("Settings\\Delay", 450);
    settings.writeString("Player Names\\PlayerName1", "Anna,2,5");
    settings.writeString("Player Names\\PlayerName2", "Bob,1,0");
    settings.writeString("Settings\\Resolution", "0,0,800x600");
    ui::TfmVelMain window(&settings);
    EXPECT_TRUE(window.options().doubleClickDiscard);
    EXPECT_TRUE(window.game().options.doubleClickDiscard);
    EXPECT_EQ(window.options().computerLevel, 1);
    EXPECT_EQ(window.game().options.meldDelay, 450);
    ASSERT_EQ(window.playerList.size(), 2u);
    EXPECT_EQ(window.playerList[1].name, "Bob");
    EXPECT_EQ(window.currentPlayer, 0);
    EXPECT_EQ(window.windowSizeIndex, std::min(1, window.maxWindowSizeIndex));
    EXPECT_TRUE(window.game().options.reseedFromClock);
    EXPECT_FALSE(window.splashDone());
}
