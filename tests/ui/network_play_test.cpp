// Two table windows in one process joined over the loopback address: the handshake, the
// menus and status line, chat both ways, rule differences, the ends of a connection, and the
// guards against callers that never identify themselves.

#include "main_window.h"
#include "mirror_match.h"
#include "network_pair.h"
#include "network_play.h"
#include "presentation.h"
#include "table_view.h"
#include "widget_lookup.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

using namespace velnora;
using namespace velnora::ui;
using velnora::test::BoxAnswerer;
using velnora::test::freePort;
using velnora::uitest::find;
using velnora::uitest::waitUntil;

namespace {

// The two windows of network_pair.h.
class NetworkPlayTest : public velnora::test::NetworkPairTest {};

} // namespace

TEST_F(NetworkPlayTest, TheCopiesIdentifyThemselvesAndChatBothWays) {
    BoxAnswerer boxes;
    connectBoth();
    // The status line showed the connection until the server's deal put the first instruction.
    EXPECT_EQ(server->connectionState, 2);
    EXPECT_EQ(client->connectionState, 2);
    EXPECT_EQ(server->options().computerLevel, 3);
    for (TfmVelMain* w : {server.get(), client.get()}) {
        EXPECT_FALSE(item(w, "ConnecttoOpponent1")->isEnabled());
        EXPECT_TRUE(item(w, "Disconnect1")->isEnabled());
        EXPECT_TRUE(item(w, "RuleDifferences1")->isEnabled());
        EXPECT_TRUE(item(w, "Chatwindowalwaysontop1")->isEnabled());
        EXPECT_EQ(w->network().tryConnect(), nullptr);
        ASSERT_NE(w->network().chat(), nullptr);
    }
    EXPECT_EQ(server->network().chat()->lines().front(),
              "Connection established with Bob. Resize window to see more text, right-click to "
              "change font.");

    auto say = [](TfmVelMain* w, const QString& text) {
        auto* input = find<QLineEdit>(w->network().chat(), "edChat");
        input->setText(text);
        emit input->returnPressed();
    };
    // Latin-1 travels; the two delimiter characters cannot and arrive as "?".
    say(client.get(), QString::fromUtf8("h\xC3\xA9llo \xC3\xBE and \xC3\xBF"));
    ASSERT_TRUE(waitUntil([&] { return server->network().chat()->lines().size() == 2; }, 3000));
    EXPECT_EQ(server->network().chat()->lines().back(),
              QString::fromUtf8("Bob: h\xC3\xA9llo ? and ?"));
    EXPECT_TRUE(server->network().chat()->flashing());
    say(server.get(), "hi Bob");
    ASSERT_TRUE(waitUntil([&] { return client->network().chat()->lines().size() == 3; }, 3000));
    EXPECT_EQ(client->network().chat()->lines().back(), "Ann: hi Bob");

    // Asked for with equal rules, the rule differences say so.
    server->network().ShowRuleDifferences1Click();
    EXPECT_TRUE(boxes.saw("You and Bob play by the same rules."));
    EXPECT_FALSE(server->network().ruleDifferences()->isVisible());
}

TEST_F(NetworkPlayTest, RuleDifferencesShowAndTheAdoptedRulesLastOnlyForTheConnection) {
    BoxAnswerer boxes;
    clientSettings.writeInt("Settings\\Number of Cards", 2);
    connectBoth();
    TfmRuleDifferences* atServer = server->network().ruleDifferences();
    ASSERT_TRUE(waitUntil([&] { return atServer->isVisible(); }, 3000));
    ASSERT_EQ(atServer->rowCount(), 1);
    EXPECT_EQ(atServer->row(0).rule, "Number of Cards drawn each turn");
    EXPECT_EQ(atServer->row(0).yours, "One");
    EXPECT_EQ(atServer->row(0).opponents, "Two");

    ASSERT_TRUE(velnora::uitest::click(atServer, "bnUseOpp"));
    EXPECT_EQ(server->game().rules.cardsDrawn, 2);
    EXPECT_EQ(serverSettings.readInt("Settings\\Number of Cards", 1), 1);
    // The client hears the same rules again and has nothing left to show.
    QApplication::processEvents();
    waitUntil([] { return false; }, 200);
    EXPECT_FALSE(client->network().ruleDifferences()->isVisible());

    // "&Disconnect" asks first; No keeps the game.
    server->network().StopWaiting1Click();
    EXPECT_TRUE(server->network().networkConnected());
    EXPECT_TRUE(boxes.saw("Are you sure you want to disconnect?"));
    boxes.yesTo << "Are you sure you want to disconnect?";
    server->network().StopWaiting1Click();
    EXPECT_FALSE(server->network().networkConnected());
    EXPECT_EQ(server->game().rules.cardsDrawn, 1);
    EXPECT_EQ(server->statusText(), "Not connected");
    EXPECT_TRUE(item(server.get(), "ConnecttoOpponent1")->isEnabled());
    EXPECT_FALSE(item(server.get(), "Disconnect1")->isEnabled());
    EXPECT_EQ(server->network().chat(), nullptr);
}

TEST_F(NetworkPlayTest, TheOtherSidesEndIsReported) {
    BoxAnswerer boxes;
    connectBoth();
    client->network().shutdown();
    ASSERT_TRUE(waitUntil(
        [&] { return boxes.saw("Connection terminated by Bob. The network game has ended."); },
        3000));
    EXPECT_EQ(server->connectionState, 0);
    EXPECT_FALSE(server->network().connection().isListening());
    EXPECT_EQ(server->options().computerLevel, 0);
}

TEST_F(NetworkPlayTest, ACallerThatNeverSaysWhoItIsNeitherEndsTheWaitNorTouchesTheScore) {
    BoxAnswerer boxes;
    server = open(serverSettings);
    server->network().startFromCommandLine("127.0.0.1", "/invite");
    server->game().state.playerTotal = 1200;
    server->game().state.opponentTotal = 800;
    auto* identify = server->findChild<QTimer*>("tmIdentify");
    ASSERT_NE(identify, nullptr);
    identify->setInterval(150);
    // The check for a partner's stale message runs only while a partner is connected.
    auto* stale = server->findChild<QTimer*>("tmStale");
    ASSERT_NE(stale, nullptr);
    EXPECT_FALSE(stale->isActive());

    // A port scan: connect and go.
    {
        QTcpSocket scan;
        scan.connectToHost("127.0.0.1", port);
        ASSERT_TRUE(scan.waitForConnected(2000));
        waitUntil([] { return false; }, 100);
    }
    // A caller that connects and says nothing.
    QTcpSocket silent;
    bool dropped = false;
    QObject::connect(&silent, &QTcpSocket::disconnected, [&] { dropped = true; });
    silent.connectToHost("127.0.0.1", port);
    EXPECT_TRUE(waitUntil([&] { return dropped; }, 3000));
    waitUntil([] { return false; }, 50);

    EXPECT_EQ(server->connectionState, 1);
    EXPECT_TRUE(server->network().connection().isListening());
    EXPECT_NE(server->network().tryConnect(), nullptr);
    EXPECT_EQ(server->network().chat(), nullptr);
    EXPECT_EQ(server->game().state.playerTotal, 1200);
    EXPECT_EQ(server->game().state.opponentTotal, 800);
    EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join("|").toStdString();
    EXPECT_FALSE(stale->isActive());
}

TEST_F(NetworkPlayTest, ARefusedClientTriesAgainOnlyOnTheRetryTimer) {
    BoxAnswerer boxes;
    client = open(clientSettings);
    int refusals = 0;
    QObject::connect(&client->network().connection(), &net::Connection::failed,
                     [&](const net::SocketError&) { ++refusals; });
    client->network().startFromCommandLine("127.0.0.1", "/join");
    EXPECT_EQ(client->connectionState, 1);
    EXPECT_EQ(client->network().tryConnect()->text(), "Trying to (re)connect to 127.0.0.1...");
    waitUntil([] { return false; }, 400);
    // Nobody listens: one refusal, then quiet until the timer ticks.
    EXPECT_EQ(refusals, 1);
    EXPECT_EQ(client->network().retryTimer()->interval(), 2000);
    client->network().retryTimer()->setInterval(100);
    client->network().retryTimer()->start();
    waitUntil([] { return false; }, 450);
    EXPECT_GE(refusals, 3);
    EXPECT_LE(refusals, 6);
    EXPECT_GT(client->network().tryConnect()->position(), 0);

    // Cancel while only waiting asks nothing and ends the attempt.
    ASSERT_TRUE(velnora::uitest::click(client->network().tryConnect(), "bnCancel"));
    EXPECT_EQ(client->connectionState, 0);
    EXPECT_EQ(client->network().networkRole(), NetworkPlay::none);
    EXPECT_TRUE(boxes.texts.isEmpty());
}

TEST_F(NetworkPlayTest, TheLostConnectionFileStaysInTheDataFolder) {
    server = open(serverSettings);
    server->network().playerIdentified("../../etc/evil\x01name");
    const QString file = server->network().lostConnectionFile();
    EXPECT_EQ(QFileInfo(file).absolutePath(), QDir(programDataFolder()).absolutePath());
    EXPECT_EQ(QFileInfo(file).fileName(), "Ann_....etcevilname.vel");
    server->network().Disconnect();
}

TEST_F(NetworkPlayTest, AnErrorDuringPlaySavesTheGameAndTellsWhere) {
    BoxAnswerer boxes;
    connectBoth();
    server->game().state.gameInProgress = 1;
    const QString file = server->network().lostConnectionFile();
    QFile::remove(file);
    emit server->network().connection().failed(
        {net::SocketFailure::other, 7, QStringLiteral("Network error")});
    const QString expected = "The connection has been lost (7). The game has been saved as " +
                             QDir::toNativeSeparators(file);
    EXPECT_TRUE(waitUntil([&] { return boxes.saw(expected); }, 3000))
        << boxes.texts.join("|").toStdString();
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_EQ(QFileInfo(file).fileName(), "Ann_Bob.vel");
    EXPECT_FALSE(server->network().networkConnected());
    EXPECT_EQ(server->connectionState, 0);
    QFile::remove(file);
}

TEST_F(NetworkPlayTest, MessagesWaitWhileTheEndOfHandDialogsAreOpen) {
    BoxAnswerer boxes;
    connectBoth();
    const int before = int(server->network().chat()->lines().size());
    server->holdNetworkMessages(true);
    auto* input = find<QLineEdit>(client->network().chat(), "edChat");
    input->setText("while you read the scores");
    emit input->returnPressed();
    waitUntil([] { return false; }, 200);
    EXPECT_EQ(server->network().chat()->lines().size(), before);
    EXPECT_GT(server->network().session().buffered(), 0u);
    server->holdNetworkMessages(false);
    EXPECT_TRUE(
        waitUntil([&] { return server->network().chat()->lines().size() == before + 1; }, 2000));
}

TEST_F(NetworkPlayTest, TheEndOfTheGameWaitsBehindAnOpenBoxAndSaysWhereTheGameWent) {
    BoxAnswerer boxes;
    server = open(serverSettings);
    server->game().setPlayerStartsHand(true);
    connectBoth();
    ASSERT_FALSE(server->game().state.inputBlocked);
    server->game().drawFromStock();
    const QString file = server->network().lostConnectionFile();
    QFile::remove(file);

    // A box of the partner's is open when it leaves. The box runs its own event loop, so the
    // partner leaves and the box closes on timers.
    boxes.hold = true;
    client->network().connection().write(QByteArray("BOGUS\xFE\xFF", 7));
    QTimer::singleShot(100, [&] { client->network().shutdown(); });
    QTimer::singleShot(400, [&] { boxes.hold = false; });
    const QString expected = "Connection terminated by Bob. The network game has ended. The game "
                             "has been saved as " +
                             QDir::toNativeSeparators(file);
    EXPECT_TRUE(waitUntil([&] { return boxes.saw(expected); }, 3000))
        << boxes.texts.join("|").toStdString();
    EXPECT_TRUE(QFile::exists(file));
    QFile::remove(file);
}

TEST_F(NetworkPlayTest, WhenThePartnerGoesInItsTurnTheComputerPlaysItAndTheTableIsOursAgain) {
    BoxAnswerer boxes;
    boxes.yesTo << "Are you sure you want to disconnect?";
    for (const bool weDisconnect : {false, true}) {
        server = open(serverSettings);
        server->game().setPlayerStartsHand(false);
        connectBoth();
        ASSERT_FALSE(client->game().state.inputBlocked);
        client->game().drawFromStock();
        ASSERT_TRUE(waitUntil([&] { return server->game().opponentHasDrawn(); }, 3000));
        // Only the partner has moved: its draw alone makes the hand worth keeping.
        ASSERT_FALSE(server->game().state.gameInProgress);
        const QString file = server->network().lostConnectionFile();
        QFile::remove(file);
        if (weDisconnect)
            server->network().StopWaiting1Click();
        else
            client->network().shutdown();
        ASSERT_TRUE(waitUntil([&] { return !server->network().networkConnected(); }, 3000));
        const GameState& g = server->game().state;
        // The computer at the stored level finished the turn: the player draws next.
        EXPECT_EQ(g.promptState, kPromptDraw) << weDisconnect;
        EXPECT_FALSE(g.inputBlocked);
        EXPECT_EQ(g.opponentPromptState, kPromptOpponentsTurn);
        EXPECT_EQ(server->options().computerLevel, 0);
        EXPECT_TRUE(server->game().isConsistent());
        if (!weDisconnect) {
            EXPECT_TRUE(QFile::exists(file));
        }
        QFile::remove(file);
        client.reset();
        server.reset();
    }
}

TEST_F(NetworkPlayTest, ANetworkSessionLeavesTheAutosavedGameAgainstTheComputerAlone) {
    BoxAnswerer boxes;
    serverSettings.writeInt("Settings\\AutoSave", 1);
    clientSettings.writeInt("Settings\\AutoSave", 1);
    auto autosaveHolds = [](const QByteArray& text) {
        QFile f(QDir(programDataFolder()).filePath("autosave.vel"));
        return f.open(QIODevice::ReadOnly) && f.readAll() == text;
    };
    auto writeAutosave = [] {
        QFile f(QDir(programDataFolder()).filePath("autosave.vel"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("the game against the computer");
    };
    // Started from the command line and quit while still waiting.
    writeAutosave();
    server = std::make_unique<TfmVelMain>(&serverSettings, QStringList{"/ip:127.0.0.1", "/invite"});
    server->tmSplashTimer();
    ASSERT_EQ(server->connectionState, 1);
    server.reset();
    EXPECT_TRUE(autosaveHolds("the game against the computer"));

    // A game played over the network and quit in the middle.
    connectBoth();
    for (TfmVelMain* w : {server.get(), client.get()})
        if (!w->game().state.inputBlocked) w->game().drawFromStock();
    ASSERT_TRUE(waitUntil([&] { return server->network().session().gameMoved(); }, 3000));
    const QString file = server->network().lostConnectionFile();
    QFile::remove(file);
    server.reset();
    EXPECT_TRUE(autosaveHolds("the game against the computer"));
    // Quitting broke the connection too: the game went where a broken connection puts it.
    EXPECT_TRUE(QFile::exists(file));
    QFile::remove(file);
}

TEST_F(NetworkPlayTest, ACommandLineStartStoresNoRoleAddressOrHistory) {
    clientSettings.writeBool("Network\\ServerorClient", false);
    clientSettings.writeString("Network\\LANAddress", "10.0.0.9");
    clientSettings.writeString("Network\\LANHist0", "10.0.0.9");
    client = open(clientSettings);
    client->network().startFromCommandLine("127.0.0.1", "/join");
    EXPECT_EQ(client->connectionState, 1);
    EXPECT_FALSE(clientSettings.readBool("Network\\ServerorClient", true));
    EXPECT_EQ(clientSettings.readString("Network\\LANAddress", ""), "10.0.0.9");
    EXPECT_EQ(clientSettings.readString("Network\\LANHist0", ""), "10.0.0.9");
    EXPECT_EQ(clientSettings.readString("Network\\LANHist1", ""), "");
}

TEST_F(NetworkPlayTest, WhileWaitingTheTableTakesNoClicks) {
    server = open(serverSettings);
    const Layout& l = server->game().layout;
    const QPoint stock(l.tableLeft + 5, l.stockY + 5);
    const int cards = server->game().state.stock.count;
    ASSERT_EQ(server->game().state.promptState, kPromptDraw);
    server->network().startFromCommandLine("127.0.0.1", "/invite");
    server->table()->formMouseUp(Qt::LeftButton, Qt::NoModifier, stock);
    EXPECT_EQ(server->game().state.stock.count, cards);
    server->network().StopWaiting1Click();
    server->table()->formMouseUp(Qt::LeftButton, Qt::NoModifier, stock);
    EXPECT_LT(server->game().state.stock.count, cards);
}

TEST_F(NetworkPlayTest, ALetterTypedOnTheTableGoesIntoTheChatLineUnlessAltIsHeld) {
    BoxAnswerer boxes;
    connectBoth();
    auto type = [&](int key, const QString& text, Qt::KeyboardModifiers modifiers) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(server->table(), &press);
    };
    auto* input = find<QLineEdit>(server->network().chat(), "edChat");
    // Keys wait, like clicks, until the deal has been shown.
    ASSERT_TRUE(waitUntil([&] { return !server->presentation().busy(); }, 3000));
    type(Qt::Key_H, "h", Qt::NoModifier);
    type(Qt::Key_I, "i", Qt::NoModifier);
    EXPECT_EQ(input->text(), "hi");
    type(Qt::Key_X, "x", Qt::AltModifier);
    EXPECT_EQ(input->text(), "hi");
}

// Both copies keep the game a drop broke off. When the players meet again the copy holding the
// file asks to continue it: the server, whose table then governs, and the client only when the
// server dealt at once (it holds no file, or never asks). No deals a new hand and keeps the file.
TEST_F(NetworkPlayTest, AfterADropTheGameLeftCanBeContinued) {
    BoxAnswerer boxes;
    const QString serverAsks = "Continue the interrupted game with Bob?";
    const QString clientAsks = "Continue the interrupted game with Ann?";
    server = open(serverSettings);
    server->game().setPlayerStartsHand(true);
    connectBoth();
    server->game().drawFromStock();
    ASSERT_TRUE(waitUntil([&] { return client->game().opponentHasDrawn(); }, 3000));
    const GameState atDrop = server->game().state;
    emit server->network().connection().failed(
        {net::SocketFailure::other, 7, QStringLiteral("Network error")});
    ASSERT_TRUE(waitUntil([&] { return !client->network().networkConnected(); }, 3000));
    const QString serverFile = server->network().lostConnectionFile();
    const QString clientFile = client->network().lostConnectionFile();
    ASSERT_TRUE(QFile::exists(serverFile) && QFile::exists(clientFile));

    auto reconnect = [&](bool yes) {
        boxes.texts.clear();
        boxes.yesTo = yes ? QStringList{serverAsks, clientAsks} : QStringList{};
        connectBoth();
        EXPECT_TRUE(waitUntil(
            [&] {
                return !client->table()->waitingToRetryConnection &&
                       !server->presentation().busy() && !client->presentation().busy() &&
                       !QApplication::activeModalWidget() &&
                       test::mirrorDifference(server->game().state, client->game().state).empty();
            },
            5000))
            << test::mirrorDifference(server->game().state, client->game().state);
        EXPECT_TRUE(server->game().isConsistent() && client->game().isConsistent());
    };
    auto leave = [&] {
        emit client->network().connection().failed(
            {net::SocketFailure::other, 7, QStringLiteral("Network error")});
        ASSERT_TRUE(waitUntil([&] { return !server->network().networkConnected(); }, 3000));
        waitUntil([] { return !QApplication::activeModalWidget(); }, 3000);
    };

    reconnect(true);
    EXPECT_EQ(boxes.texts.count(serverAsks), 1);
    EXPECT_FALSE(boxes.saw(clientAsks));
    EXPECT_EQ(server->game().state.playerHand, atDrop.playerHand);
    EXPECT_EQ(server->game().state.stock, atDrop.stock);
    EXPECT_TRUE(client->game().opponentHasDrawn());
    leave();

    reconnect(false);
    EXPECT_TRUE(boxes.saw(serverAsks));
    EXPECT_FALSE(boxes.saw(clientAsks));
    EXPECT_EQ(server->game().state.playerHand.count + client->game().state.playerHand.count, 30);
    EXPECT_TRUE(QFile::exists(serverFile));
    leave();

    // Only the client holds a file: the server deals, then the client asks and its table goes.
    ASSERT_TRUE(QFile::remove(serverFile));
    ASSERT_TRUE(client->SaveGame(true, clientFile));
    const GameState clientSaved = client->game().state;
    reconnect(true);
    EXPECT_FALSE(boxes.saw(serverAsks));
    EXPECT_TRUE(boxes.saw(clientAsks));
    EXPECT_EQ(client->game().state.playerHand, clientSaved.playerHand);
    QFile::remove(serverFile);
    QFile::remove(clientFile);
}

// A game broken off between a hand's scoring and the next deal is continued with a deal: the
// copy that loads it deals once the partner has the table, and both copies play the new hand.
TEST_F(NetworkPlayTest, AGameLeftBetweenHandsIsContinuedWithTheNextDeal) {
    BoxAnswerer boxes;
    boxes.yesTo = QStringList{"Continue the interrupted game with Bob?"};
    server = open(serverSettings);
    connectBoth();
    emit server->network().connection().failed(
        {net::SocketFailure::other, 7, QStringLiteral("Network error")});
    ASSERT_TRUE(waitUntil([&] { return !client->network().networkConnected(); }, 3000));
    waitUntil([] { return !QApplication::activeModalWidget(); }, 3000);
    const QString serverFile = server->network().lostConnectionFile();
    server->game().state.promptState = kPromptWaitForDeal;
    server->game().state.playerTotal = 1200;
    ASSERT_TRUE(server->SaveGame(true, serverFile));
    QFile::remove(client->network().lostConnectionFile());

    connectBoth();
    EXPECT_TRUE(waitUntil(
        [&] {
            return !client->table()->waitingToRetryConnection && !server->presentation().busy() &&
                   !client->presentation().busy() && !QApplication::activeModalWidget() &&
                   server->game().state.promptState != kPromptWaitForDeal &&
                   test::mirrorDifference(server->game().state, client->game().state).empty();
        },
        5000))
        << test::mirrorDifference(server->game().state, client->game().state);
    EXPECT_TRUE(boxes.saw("Continue the interrupted game with Bob?"));
    EXPECT_EQ(server->game().state.playerTotal, 1200);
    EXPECT_EQ(server->game().state.playerHand.count + client->game().state.playerHand.count, 30);
    QFile::remove(serverFile);
}
