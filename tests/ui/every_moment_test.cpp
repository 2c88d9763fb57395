// Two copies play scripted turns of both seats over the loopback address: a pile take and its
// undo, a draw, melds that complete a velnora, a discard, the partner's pile take whose rest is
// melded, and a hand that ends with its dialogs. At every step either window shows of a move, and
// while each dialog is open, the table is saved, a window is closed or the connection dropped:
// every file written holds the 108 cards and loads back to the table it was written from.

#include "meld_check.h"
#include "network_pair.h"
#include "presentation.h"
#include "saved_game.h"
#include "table_view.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>

#include <map>
#include <set>

using namespace velnora;
using namespace velnora::test;
using velnora::uitest::waitUntil;

namespace {

constexpr int kSpades = 0, kClubs = 1, kDiamonds = 2, kHearts = 3;
constexpr int kFour = 3, kFive = 4, kSeven = 6, kNine = 8, kTen = 9, kQueen = 11, kKing = 12;
constexpr int kAce = 13;
constexpr int face(int rank, int suit) {
    return suit * 13 + rank;
}

// Lays out the server's table, every card once: the server's player to draw, the client's
// player (the server's opponent) waiting.
void stageServerTable(Game& game) {
    GameState& g = game.state;
    const Layout& l = game.layout;
    for (Pile* p : {&g.stock, &g.discardPile, &g.opponentHand, &g.playerHand, &g.opponentMelds,
                    &g.playerMelds, &g.knownPlayerCards, &g.knownOpponentCards})
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
    const int ace = face(kAce, kSpades);
    for (int f : {face(kAce, kHearts), ace, face(kAce, kClubs), face(kAce, kDiamonds),
                  face(kSeven, kSpades), face(kSeven, kClubs), face(kFive, kSpades), kJokerFace}) {
        Card c = take(f);
        placeInColumn(g.playerHand, c, c.rank(), kColumnStep);
        push(g.playerHand, c);
    }
    for (int f : {ace, face(kAce, kClubs), face(kAce, kDiamonds)}) {
        Card c = take(f);
        placeInColumn(g.playerMelds, c, c.rank(), kColumnStep);
        push(g.playerMelds, c);
    }
    for (int f : {face(kFive, kHearts), face(kFive, kDiamonds), face(kQueen, kHearts),
                  face(kNine, kSpades), face(kNine, kClubs)})
        game.opponentAddCard(take(f), false);
    g.opponentMeldPoints = 0;
    for (int f : {face(kKing, kSpades), face(kKing, kClubs), face(kKing, kDiamonds), kJokerFace}) {
        Card c = take(f);
        placeInColumn(g.opponentMelds, c, kKing, -kColumnStep);
        push(g.opponentMelds, c);
        g.opponentMeldPoints += c.points();
    }
    for (int f : {face(kTen, kSpades), face(kSeven, kHearts)}) {
        Card c = take(f);
        c.x = l.tableLeft;
        c.y = l.discardY;
        push(g.discardPile, c);
    }
    auto toStock = [&](int f) {
        Card c = makeCard(f, used[f]++ % 2);
        c.x = l.tableLeft;
        c.y = l.stockY;
        push(g.stock, c);
    };
    for (int f = 1; f <= 52; ++f)
        while (used[f] < 2 && f != face(kSeven, kDiamonds) && f != face(kFour, kSpades))
            toStock(f);
    while (used[kJokerFace] < 4)
        toStock(kJokerFace);
    // Drawn in this order: the server's first draw, then its second.
    toStock(face(kSeven, kDiamonds));
    toStock(face(kFour, kSpades));
    toStock(face(kSeven, kDiamonds));
    toStock(face(kFour, kSpades));
    g.pileFrozen = 0;
    g.pileFanned = 0;
    g.hasDrawn = 0;
    g.mayTakePile = 1;
    g.takingPile = 0;
    g.topCardPending = 0;
    g.stockExhausted = 0;
    g.inputBlocked = 0;
    g.gameInProgress = 1;
    g.opponentPromptState = kPromptOpponentsTurn;
    g.initialMeldMinimum = 50;
    game.showInstruction(kPromptDraw);
    takeSnapshot(g);
}

// The moves of the script, each by one of the two players.
struct ScriptedMove {
    bool byServer;
    Move move;
};

std::vector<ScriptedMove> script() {
    const auto withFace = [](MoveKind kind, int f) { return Move::withFace(kind, f); };
    return {
        {true, Move::of(MoveKind::takeTopCard)},
        {true, withFace(MoveKind::meld, face(kSeven, kSpades))},
        {true, Move::of(MoveKind::undoTakePile)},
        {true, Move::of(MoveKind::draw)},
        {true, withFace(MoveKind::meld, face(kAce, kHearts))},
        {true, withFace(MoveKind::meld, face(kAce, kSpades))},
        {true, withFace(MoveKind::meld, face(kAce, kClubs))},
        {true, withFace(MoveKind::meld, face(kAce, kDiamonds))}, // the velnora
        {true, withFace(MoveKind::discard, face(kFive, kSpades))},
        {false, Move::of(MoveKind::takeTopCard)},
        {false, withFace(MoveKind::meld, face(kFive, kHearts))},
        {false, withFace(MoveKind::meld, face(kFive, kDiamonds))}, // the rest of the pile
        {false, withFace(MoveKind::discard, face(kQueen, kHearts))},
        {true, Move::of(MoveKind::draw)},
        {true, withFace(MoveKind::meld, face(kSeven, kDiamonds))},
        {true, withFace(MoveKind::meld, face(kSeven, kSpades))},
        {true, withFace(MoveKind::meld, face(kSeven, kClubs))},
        {true, Move::meldWildcardAt(kJokerFace, kSeven)},
        {true, withFace(MoveKind::discard, face(kFour, kSpades))}, // out: the hand ends
    };
}

// A table is saved unless a pile take or a meld is half made.
bool savable(const Game& game) {
    GameState scratch = game.state;
    return !scratch.takingPile &&
           validateForCommit(scratch, game.rules, game.layout, scratch.playerHand.count);
}

class EveryMomentTest : public NetworkPairTest {
protected:
    BoxAnswerer boxes;
    // Called at every step shown and in every open dialog; returns true to end the script.
    std::function<bool()> atMoment;
    int moments = 0;
    int dialogs = 0;
    bool cut = false;
    // Answers the boxes that follow a cut, also those opened while a box is being answered.
    std::unique_ptr<BoxAnswerer> rescue;

    void cutNow() {
        rescue = std::make_unique<BoxAnswerer>();
        rescue->yesTo = boxes.yesTo;
    }

    void startGame() {
        serverSettings.writeInt("Settings\\Card Movement", 1);
        clientSettings.writeInt("Settings\\Card Movement", 1);
        boxes.yesTo << "You have a network game running. Are you sure you want to quit?";
        boxes.beforeAnswer = [this](QDialog*) { moment(true); };
        connectBoth();
        for (ui::TfmVelMain* w : {server.get(), client.get()}) {
            w->table()->setCardMovement(true, 10);
            w->game().options.meldDelay = 10;
        }
        settleBoth();
        stageServerTable(server->game());
        server->network().session().sendTable();
        ASSERT_TRUE(waitUntil([&] { return mirrored(); }, 3000));
        client->game().noteTableClick();
    }

    void moment(bool dialog) {
        if (cut || !atMoment) return;
        ++moments;
        if (dialog) ++dialogs;
        cut = atMoment();
    }

    bool busy() const {
        return (server && server->presentation().busy()) ||
               (client && client->presentation().busy());
    }

    // The two tables agree up to the exchange of seats and nothing is being shown.
    bool mirrored() const {
        const GameState& s = server->game().state;
        const GameState& c = client->game().state;
        return !busy() && s.playerHand.count == c.opponentHand.count &&
               s.opponentHand.count == c.playerHand.count &&
               s.playerMelds.count == c.opponentMelds.count &&
               s.opponentMelds.count == c.playerMelds.count &&
               s.discardPile.count == c.discardPile.count && s.stock.count == c.stock.count;
    }

    void settleBoth() {
        waitUntil([&] { return !busy(); }, 5000);
    }

    // Plays the script until its end or until a moment's action ends it.
    void play() {
        for (const ScriptedMove& m : script()) {
            ui::TfmVelMain* w = m.byServer ? server.get() : client.get();
            const MoveResult r = w->game().applyPlayerMove(m.move);
            ASSERT_TRUE(r.accepted) << int(m.move.kind) << " " << m.move.face << " " << r.why;
            QElapsedTimer clock;
            clock.start();
            while (!cut && clock.elapsed() < 5000) {
                if (busy()) moment(false);
                if (cut || (mirrored() && !QApplication::activeModalWidget())) break;
                QEventLoop idle;
                QTimer::singleShot(2, &idle, &QEventLoop::quit);
                idle.exec();
            }
            if (cut) return;
        }
    }

    // Saves a window's table and checks the file against it; a refused save must have its
    // reason on the table.
    void saveAndCheck(ui::TfmVelMain* w, const QString& name) {
        const QString file = QDir(dataHome.path()).filePath(name);
        if (!w->SaveGame(true, file)) {
            EXPECT_FALSE(savable(w->game())) << "a save refused at moment " << moments;
            return;
        }
        checkFile(file, w->game().state);
    }

    void checkFile(const QString& file, const GameState& table) {
        QFile saved(file);
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly)) << file.toStdString();
        const savegame::LoadResult back =
            savegame::decode(saved.readAll().toStdString(), GameState{});
        ASSERT_EQ(back.error, savegame::LoadError::none) << back.detail;
        std::string why;
        EXPECT_TRUE(isConsistent(back.state, server->game().layout, &why))
            << file.toStdString() << " at moment " << moments << ": " << why;
        EXPECT_EQ(back.state.stock, table.stock);
        EXPECT_EQ(back.state.discardPile, table.discardPile);
        EXPECT_EQ(back.state.playerHand, table.playerHand);
        EXPECT_EQ(back.state.playerMelds, table.playerMelds);
        EXPECT_EQ(back.state.opponentMelds, table.opponentMelds);
        EXPECT_EQ(back.state.opponentHand.count, table.opponentHand.count);
        EXPECT_EQ(back.state.playerTotal, table.playerTotal);
        EXPECT_EQ(back.state.opponentTotal, table.opponentTotal);
    }
};

TEST_F(EveryMomentTest, EveryStepAndDialogSavesBothWholeTables) {
    startGame();
    atMoment = [&] {
        saveAndCheck(server.get(), "server.vel");
        saveAndCheck(client.get(), "client.vel");
        return false;
    };
    play();
    EXPECT_GT(moments - dialogs, 19) << "steps seen";
    EXPECT_GE(dialogs, 2);                          // the end of the hand on both tables
    EXPECT_GT(server->game().state.playerTotal, 0); // the hand was scored
}

// Closing either window or losing the connection at a spread of moments: the files written
// then (the partner's lost-connection file, the closed window's autosave) are whole.
TEST_F(EveryMomentTest, ClosingOrDroppingAtAnyMomentWritesWholeFiles) {
    int total = 0;
    {
        startGame();
        atMoment = [] { return false; };
        play();
        total = moments;
        TearDown();
        SetUp();
    }
    ASSERT_GT(total, 20);
    // Ten moments spread over the script, and the last two: its dialogs.
    std::set<int> chosen{total - 1, total};
    for (int k = 1; k < total; k += std::max(1, total / 10))
        chosen.insert(k);
    int checked = 0;
    for (int k : chosen) {
        for (int action = 0; action < 2; ++action) {
            SCOPED_TRACE("moment " + std::to_string(k) + (action ? " close" : " drop"));
            moments = 0;
            dialogs = 0;
            cut = false;
            serverSettings.writeInt("Settings\\AutoSave", 1);
            startGame();
            GameState serverTable, clientTable;
            bool serverSaves = true;
            atMoment = [&] {
                if (moments < k) return false;
                serverTable = server->game().state;
                serverSaves = savable(server->game());
                cutNow();
                if (action == 0)
                    emit server->network().connection().failed(
                        {net::SocketFailure::other, 7, QStringLiteral("Network error")});
                else
                    server->close();
                return true;
            };
            play();
            ASSERT_TRUE(cut);
            ASSERT_TRUE(waitUntil([&] { return !client->network().networkConnected(); }, 3000));
            waitUntil([&] { return !QApplication::activeModalWidget() && !busy(); }, 3000);
            const QDir data(ui::programDataFolder());
            if (serverSaves) {
                checkFile(action == 0 ? data.filePath("Ann_Bob.vel") : server->autosaveFile(),
                          serverTable);
                ++checked;
            }
            if (savable(client->game())) {
                checkFile(data.filePath("Bob_Ann.vel"), client->game().state);
                ++checked;
            }
            for (const QString& f : data.entryList({"*.vel"}))
                QFile::remove(data.filePath(f));
            QFile::remove(server->autosaveFile());
            TearDown();
            rescue.reset();
            SetUp();
        }
    }
    EXPECT_GT(checked, 20);
}

} // namespace
