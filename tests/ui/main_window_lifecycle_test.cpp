// The table window's start-up choices, waits, commands and shutdown.

#include "ai_common.h"
#include "check_upgrade.h"
#include "help_window.h"
#include "rules_dialog.h"
#include "saved_game.h"
#include "small_windows.h"
#include "table_window_support.h"
#include "url_opener.h"
#include "web_site.h"
#include "widget_lookup.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTimer>

using namespace velnora;
using namespace velnora::test;
using velnora::uitest::onNextModal;

namespace {

QString autosaveFile() {
    return QDir(ui::programDataFolder()).filePath("autosave.vel");
}

void touch(const QString& file) {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
}

} // namespace

TEST_F(TableWindowTest, ClicksWhileTheComputersPauseIsShownAreSwallowed) {
    ASSERT_EQ(state().promptState, kPromptDraw);
    const int stockBefore = state().stock.count;
    const QPoint stock(layout().tableLeft + 5, layout().stockY + 5);
    window->pause(30); // returns at once; the pause is shown afterwards
    EXPECT_TRUE(window->presentation().busy());
    QApplication::postEvent(table(), new QMouseEvent(QEvent::MouseButtonRelease, QPointF(stock),
                                                     QPointF(stock), Qt::LeftButton, Qt::NoButton,
                                                     Qt::NoModifier));
    QApplication::processEvents();
    EXPECT_EQ(state().stock.count, stockBefore);
    EXPECT_FALSE(state().hasDrawn);
    // Once it has been shown, clicks act again.
    click(stock);
    EXPECT_FALSE(window->presentation().busy());
    EXPECT_TRUE(state().hasDrawn);
}

TEST_F(TableWindowTest, PopupsStillCloseThemselvesDuringAPause) {
    // The whose-turn popup's timer fires while the deal is still moving cards.
    window->show();
    auto* popup = ui::TfmWhoseTurn::popup(window.get(), "It's your turn to draw first.");
    QPointer<QWidget> guard(popup);
    QTimer::singleShot(5, [&] {
        if (guard) guard->close();
    });
    window->pause(40);
    settle();
    EXPECT_TRUE(!guard || !guard->isVisible());
}

TEST_F(TableWindowTest, TheWindowClosesAtOnceWhileAMoveIsShown) {
    // The table is whole while its last moves are shown, so closing need not wait for them.
    window->show();
    window->pause(400);
    bool closed = false;
    QTimer::singleShot(5, [&] { closed = window->close(); });
    QEventLoop idle;
    QTimer::singleShot(50, &idle, &QEventLoop::quit);
    idle.exec();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->presentation().busy());
}

TEST_F(TableWindowTest, ANewTableSizeKeepsTheWindowsPlaceAndPullsItOntoTheScreen) {
    window->windowLeft = 200; // where start-up put it
    window->windowTop = 100;
    window->show();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    window->move(screen.left() + 30, screen.top() + 20);
    QApplication::processEvents();
    // A table wider than the screen ends at the right and bottom edges, as far as it can.
    window->windowSizeIndex = 2;
    window->applyWindowSize();
    EXPECT_EQ(window->frameGeometry().left(), screen.left());
    EXPECT_EQ(window->frameGeometry().top(), screen.top());
    // Back to the small table: it stays where the player has moved it.
    window->move(screen.left() + 40, screen.top() + 25);
    window->windowSizeIndex = 0;
    window->applyWindowSize();
    EXPECT_EQ(window->frameGeometry().topLeft(), screen.topLeft() + QPoint(40, 25));
}

TEST_F(TableWindowTest, WinRatioWithoutPlayersSaysHowToCreateThem) {
    ASSERT_TRUE(window->playerList.empty());
    QAction* item = window->findChild<QAction*>("WinRatio1");
    ASSERT_TRUE(item->isEnabled());
    QString shown;
    auto answer = onNextModal<QMessageBox>([&](QMessageBox* box) { shown = box->text(); });
    item->trigger();
    EXPECT_EQ(shown, "There are no players defined to show statistics for. To create players, "
                     "select Options|Customize...|Player and press 'New...'");
}

TEST_F(TableWindowTest, TheTableRepaintsDuringAPause) {
    window->show();
    int paints = 0;
    table()->onPainted = [&] { ++paints; };
    window->pause(40);
    settle();
    EXPECT_GT(paints, 0);
}

TEST_F(TableWindowTest, AMenuHintGivesWayToTheTablesStatusOnceTheMenuIsLeft) {
    const QString draw = "Draw a card by clicking on the stock or the discard pile";
    auto hint = [&] {
        QStatusTipEvent tip("Start a new Velnora game");
        QApplication::sendEvent(window.get(), &tip);
        EXPECT_EQ(window->statusText(), "Start a new Velnora game");
        EXPECT_TRUE(window->hintShowing);
    };
    // Leaving the item (an empty tip), the menu closing, or the mouse on the table: each brings
    // the table's own line back.
    hint();
    QStatusTipEvent empty("");
    QApplication::sendEvent(window.get(), &empty);
    EXPECT_EQ(window->statusText(), draw);
    hint();
    auto* menu = window->findChild<QMenu*>("Game1");
    ASSERT_NE(menu, nullptr);
    emit menu->aboutToHide();
    EXPECT_EQ(window->statusText(), draw);
    hint();
    QMouseEvent move(QEvent::MouseMove, QPointF(100, 100), QPointF(100, 100), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(table(), &move);
    EXPECT_FALSE(window->hintShowing);
    EXPECT_EQ(window->statusText(), draw);
}

TEST_F(TableWindowTest, ExternalCommandOpensTheRulesAtItsPage) {
    const int expected[] = {-1, -1, 1, 2, 0};
    for (int parameter : {2, 3, 4}) {
        SCOPED_TRACE(parameter);
        int page = -1;
        auto answer = onNextModal<ui::TfmRules>(
            [&](ui::TfmRules* d) { page = d->findChild<QTabWidget*>()->currentIndex(); });
        window->externalCommand(parameter);
        EXPECT_EQ(page, expected[parameter]);
    }
}

TEST_F(TableWindowTest, RulesConfirmedAreStoredAndRefreezeThePile) {
    state().gameInProgress = 0;
    state().pileFrozen = 1;
    ASSERT_TRUE(game().rules.initialBlock);
    auto answer = onNextModal<ui::TfmRules>(
        [](ui::TfmRules* d) {
            auto* box = d->findChild<QCheckBox*>("ckInitFreeze");
            ASSERT_NE(box, nullptr);
            box->click();
        },
        QDialog::Accepted);
    window->Rules1Click();
    EXPECT_FALSE(game().rules.initialBlock);
    EXPECT_FALSE(state().pileFrozen);
    EXPECT_FALSE(settings.readBool("Settings\\Initial Block", true));
}

TEST_F(TableWindowTest, ClosingTheApplicationDropsTheAutosave) {
    touch(autosaveFile());
    window->closeApplication();
    EXPECT_FALSE(QFile::exists(autosaveFile()));
}

TEST_F(TableWindowTest, ShutdownWithoutAGameInProgressDeletesTheAutosave) {
    touch(autosaveFile());
    state().gameInProgress = 0;
    window.reset();
    EXPECT_FALSE(QFile::exists(autosaveFile()));
}

class AutosavingWindow : public TableWindowTest {
    void prepareSettings() override { settings.writeInt("Settings\\AutoSave", 1); }
};

TEST_F(AutosavingWindow, AGameLeftInTheMiddleResumesAtTheNextStart) {
    QFile::remove(autosaveFile());
    click({layout().tableLeft + 5, layout().stockY + 5});
    ASSERT_TRUE(state().gameInProgress);
    ASSERT_TRUE(state().hasDrawn);
    const GameState before = state();
    window.reset();
    QFile saved(autosaveFile());
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.read(16) == "VelnoraSavedGame");
    saved.close();

    window = std::make_unique<ui::TfmVelMain>(&settings);
    window->game().setOpponentDriver(&driver);
    window->tmSplashTimer();
    EXPECT_EQ(state().playerHand, before.playerHand);
    EXPECT_EQ(state().stock, before.stock);
    EXPECT_EQ(state().discardPile, before.discardPile);
    EXPECT_EQ(state().promptState, before.promptState);
    EXPECT_TRUE(state().hasDrawn);
    EXPECT_EQ(window->statusText(), QString::fromStdString(game().instructionText(1)));
}

TEST_F(AutosavingWindow, DecliningAnotherGameLeavesNoAutosaveBehind) {
    click({layout().tableLeft + 5, layout().stockY + 5});
    ASSERT_TRUE(state().gameInProgress);
    window->closeApplication();
    window.reset();
    EXPECT_FALSE(QFile::exists(autosaveFile()));
}

TEST_F(TableWindowTest, AGameFileNamedOnTheCommandLineIsOpened) {
    click({layout().tableLeft + 5, layout().stockY + 5});
    const QString file = QDir(ui::programDataFolder()).filePath("named.vel");
    ASSERT_TRUE(window->SaveGame(true, file));
    const GameState saved = state();

    MemorySettings other;
    other.writeInt("Settings\\Card Movement", 0);
    other.writeInt("Settings\\Show Turns", 0);
    other.writeInt("Settings\\AutoSave", 0);
    ui::TfmVelMain second(&other, {file});
    second.game().setOpponentDriver(&driver);
    second.tmSplashTimer();
    EXPECT_EQ(second.game().state.playerHand, saved.playerHand);
    EXPECT_EQ(second.game().state.loadedSinceDeal, 1);
    QFile::remove(file);
}

TEST_F(TableWindowTest, ClosingAsksOnlyWhileConnected) {
    window->show();
    EXPECT_TRUE(window->close()); // not connected: no question
    window->show();
    window->connectionState = 2;
    bool asked = false;
    auto answer = onNextModal<QMessageBox>([&](QMessageBox* box) {
        asked = box->text() == "You have a network game running. Are you sure you want to quit?";
    });
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(asked);
    window->connectionState = 0;
}

// New gives up a match in progress only when the player says so.
TEST_F(TableWindowTest, NewAsksBeforeGivingUpAGameInProgress) {
    QAction* newGame = window->findChild<QAction*>("New1");
    const Pile hand = state().playerHand;
    game().noteTableClick();
    {
        auto no = onNextModal<QMessageBox>(
            [](QMessageBox* box) { box->button(QMessageBox::No)->click(); }, QMessageBox::No);
        newGame->trigger();
    }
    EXPECT_EQ(state().playerHand, hand);
    {
        auto yes = onNextModal<QMessageBox>(
            [](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); }, QMessageBox::Yes);
        newGame->trigger();
    }
    settle();
    EXPECT_FALSE(state().playerHand == hand);
    EXPECT_EQ(state().gameInProgress, 0);
}

TEST(TableWindowPlayers, TheChoiceIsOfferedWithMoreThanOnePlayer) {
    QStandardPaths::setTestModeEnabled(true);
    MemorySettings settings;
    settings.writeInt("Settings\\Card Movement", 0);
    settings.writeInt("Settings\\Show Turns", 0);
    settings.writeInt("Settings\\AutoSave", 0);
    settings.writeString("Player Names\\PlayerName1", "Anna,2,5");
    settings.writeString("Player Names\\PlayerName2", "Bob,1,0");
    ui::TfmVelMain window(&settings);
    window.game().state.playerStartsHand = 1;
    IdleDriver driver;
    window.game().setOpponentDriver(&driver);
    bool offered = false;
    auto answer = onNextModal<ui::TfmSelectPlayer>(
        [&](ui::TfmSelectPlayer* d) {
            offered = true;
            d->findChild<QListWidget*>()->setCurrentRow(1);
        },
        QDialog::Accepted);
    window.tmSplashTimer();
    EXPECT_TRUE(offered);
    EXPECT_EQ(window.currentPlayer, 1);
    EXPECT_EQ(window.game().options.playerName, "Bob");
}

TEST(TableWindowPlayers, OnePlayerIsTakenWithoutAsking) {
    QStandardPaths::setTestModeEnabled(true);
    MemorySettings settings;
    settings.writeInt("Settings\\Card Movement", 0);
    settings.writeInt("Settings\\Show Turns", 0);
    settings.writeInt("Settings\\AutoSave", 0);
    settings.writeString("Player Names\\PlayerName1", "Anna,2,5");
    ui::TfmVelMain window(&settings);
    window.game().state.playerStartsHand = 1;
    IdleDriver driver;
    window.game().setOpponentDriver(&driver);
    bool offered = false;
    auto answer = onNextModal<ui::TfmSelectPlayer>([&](ui::TfmSelectPlayer*) { offered = true; });
    window.tmSplashTimer();
    QApplication::processEvents();
    EXPECT_FALSE(offered);
    EXPECT_EQ(window.currentPlayer, 0);
    // A won match counts for the selected player and is stored.
    window.recordWinLoss(true);
    EXPECT_EQ(settings.readString("Player Names\\PlayerName1", ""), "Anna,3,5");
}

TEST_F(TableWindowTest, HelpTopicsOpensTheHelpWhoseCommandLinksOpenTheRules) {
    auto* topics = window->findChild<QAction*>("HelpTopics1");
    ASSERT_NE(topics, nullptr);
    EXPECT_EQ(topics->shortcut(), QKeySequence(Qt::Key_F1));
    topics->trigger();
    ui::TfmHelp* help = window->helpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->browser()->source().toLocalFile().endsWith("help/index.html"));

    // The Velnoras page of the Rules dialog is its page 2, reached through command 3.
    int page = -1;
    auto answer = onNextModal<ui::TfmRules>(
        [&](ui::TfmRules* d) { page = d->findChild<QTabWidget*>()->currentIndex(); });
    help->followLink(QUrl("velnora:9999/3"));
    EXPECT_EQ(page, 2);

    // A second request reuses the one window.
    window->showHelp("scoring.html");
    EXPECT_EQ(window->helpWindow(), help);
    EXPECT_TRUE(help->browser()->source().toLocalFile().endsWith("help/scoring.html"));
    EXPECT_FALSE(window->findChild<QAction*>("RequestListing1")->isEnabled());
}

TEST_F(TableWindowTest, TheHelpMenuReachesTheWebSiteOfTheSetting) {
    QList<QUrl> opened;
    const auto previous = online::setUrlOpener([&](const QUrl& url) {
        opened.append(url);
        return true;
    });
    // Out of the box there is no site: the home page item says so and opens nothing.
    EXPECT_EQ(window->webSite(), "");
    QString told;
    {
        auto ok = onNextModal<QMessageBox>([&](QMessageBox* box) { told = box->text(); });
        window->findChild<QAction*>("HomePage1")->trigger();
    }
    EXPECT_EQ(told, "No Velnora web site is set up for this copy.");
    EXPECT_TRUE(opened.isEmpty());

    settings.writeString("Online\\Web Site", "http://127.0.0.1:9");
    window->findChild<QAction*>("HomePage1")->trigger();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], QUrl("http://127.0.0.1:9/"));

    // When no browser takes the address, a message says so instead of nothing.
    online::setUrlOpener([](const QUrl&) { return false; });
    {
        auto ok = onNextModal<QMessageBox>([&](QMessageBox* box) { told = box->text(); });
        window->findChild<QAction*>("HomePage1")->trigger();
    }
    EXPECT_EQ(told, "No web browser could be opened for http://127.0.0.1:9/.");

    // An empty setting means no site: the check says so instead of asking anyone.
    settings.writeString("Online\\Web Site", "");
    QString latest;
    auto answer = onNextModal<online::TfmCheckUpgrade>([&](online::TfmCheckUpgrade* d) {
        latest = d->findChild<QLabel*>("lbLatest")->text();
        EXPECT_FALSE(d->checking());
    });
    window->findChild<QAction*>("CheckUpgrade1")->trigger();
    EXPECT_TRUE(latest.startsWith("No Velnora web site")) << latest.toStdString();
    online::setUrlOpener(previous);
}

// The engine applies a turn whole before any of it is shown: whenever the event loop runs while
// the computer's turn plays out on the screen, a save holds the live table with all its cards.
TEST_F(TableWindowTest, EveryMomentOfAShownTurnSavesTheWholeTable) {
    ai::ComputerDriver computer;
    game().setOpponentDriver(&computer);
    game().options.meldDelay = 15;
    table()->setCardMovement(true, 10);
    window->show();
    const QString file = QDir(ui::programDataFolder()).filePath("moment.vel");
    int samples = 0;
    for (int turn = 0; turn < 4 && state().promptState == kPromptDraw; ++turn) {
        game().drawFromStock();
        ASSERT_TRUE(state().hasDrawn);
        game().discard(0);
        while (window->presentation().busy() && samples < 400) {
            ASSERT_TRUE(window->SaveGame(true, file));
            QFile saved(file);
            ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
            const savegame::LoadResult back =
                savegame::decode(saved.readAll().toStdString(), GameState{});
            ASSERT_EQ(back.error, savegame::LoadError::none) << back.detail;
            std::string why;
            EXPECT_TRUE(isConsistent(back.state, layout(), &why)) << why;
            EXPECT_EQ(back.state.opponentHand, state().opponentHand);
            EXPECT_EQ(back.state.discardPile, state().discardPile);
            EXPECT_EQ(back.state.stock.count, state().stock.count);
            ++samples;
            QEventLoop idle;
            QTimer::singleShot(3, &idle, &QEventLoop::quit);
            idle.exec();
        }
        settle();
    }
    EXPECT_GT(samples, 10);
}
