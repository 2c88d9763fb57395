// Two table windows joined through a relay that splits and delays the bytes, the autoplayer on
// both player seats, the link cut at random moments: between messages, inside one, while a
// move is shown, while a dialog is open, or after a random while. After every cut both copies
// must go on answering, keep the broken game in a whole file, and continue it together when
// they reconnect. VELNORA_RELAY_CUTS=N (and VELNORA_RELAY_SEED) runs N cuts instead of a few.

#include "autoplayer.h"
#include "mirror_match.h"
#include "network_pair.h"
#include "presentation.h"
#include "saved_game.h"
#include "scoring_dialogs.h"
#include "table_view.h"
#include "tcp_relay.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>

#include <cstdio>
#include <random>

using namespace velnora;
using namespace velnora::test;
using velnora::uitest::waitUntil;

namespace {

enum class CutAt { betweenMessages, insideMessage, whileShowing, inDialog, anyTime, kinds };

struct Figures {
    int cuts = 0, resumes = 0, mismatches = 0, stuck = 0, hangs = 0, badFiles = 0, turns = 0;
    int fresh = 0; // reconnections where the server held no game to continue
    std::array<int, int(CutAt::kinds)> byMoment{};
};

class RelayCutTest : public NetworkPairTest {
protected:
    BoxAnswerer boxes;
    std::unique_ptr<TcpRelay> relay;
    std::array<std::unique_ptr<ai::AutoPlayer>, 2> players;
    std::mt19937 plan;
    Figures figures;
    std::vector<std::string> failures;
    bool cutInDialog = false;
    int ticks = 0;
    QTimer ticker;

    std::array<ui::TfmVelMain*, 2> windows() const { return {server.get(), client.get()}; }

    void openThroughRelay(unsigned seed) {
        plan.seed(seed);
        relay = std::make_unique<TcpRelay>(port, seed);
        for (MemorySettings* s : {&serverSettings, &clientSettings})
            s->writeInt("Settings\\Card Movement", 1);
        server = open(serverSettings);
        qputenv("VELNORA_NET_PORT", QByteArray::number(relay->port()));
        client = open(clientSettings);
        qputenv("VELNORA_NET_PORT", QByteArray::number(port));
        for (ui::TfmVelMain* w : windows()) {
            w->table()->setCardMovement(true, 20);
            w->game().options.meldDelay = 10;
        }
        players[0] = std::make_unique<ai::AutoPlayer>(server->game(), seed * 2 + 1);
        players[1] = std::make_unique<ai::AutoPlayer>(client->game(), seed * 2 + 2);
        boxes.yesTo << "Continue the interrupted game with Bob?"
                    << "Continue the interrupted game with Ann?";
        boxes.beforeAnswer = [this](QDialog* dialog) {
            if (cutInDialog) {
                cutInDialog = false;
                relay->cut();
            }
            // The end of a match plays on; the answerer's Esc would end the program. A match
            // that ends after a cut, with the computer in the partner's seat, asks Yes or No.
            auto* play = dialog->findChild<QPushButton*>("bnOK");
            if (!play) play = dialog->findChild<QPushButton*>("bnYes");
            if (qobject_cast<ui::TfmGameOver*>(dialog) && play) {
                boxes.hold = true;
                play->click();
                QTimer::singleShot(0, [this] { boxes.hold = false; });
            }
        };
        // Counts while the event loop turns: a copy that hangs stops it.
        QObject::connect(&ticker, &QTimer::timeout, [this] { ++ticks; });
        ticker.start(10);
    }

    bool busy() const {
        return server->presentation().busy() || client->presentation().busy() ||
               QApplication::activeModalWidget();
    }
    bool connected() const {
        return server->network().networkConnected() && client->network().networkConnected() &&
               !server->table()->waitingToRetryConnection &&
               !client->table()->waitingToRetryConnection;
    }
    std::string difference() const {
        return mirrorDifference(server->game().state, client->game().state);
    }
    void fail(const std::string& what) {
        if (qEnvironmentVariableIsSet("VELNORA_RELAY_TRACE")) {
            std::printf("cut %d: %s\n", figures.cuts, what.c_str());
            std::fflush(stdout);
        }
        if (failures.size() < 5)
            failures.push_back("cut " + std::to_string(figures.cuts) + ": " + what);
    }

    // Connects again; the server holds the broken game and continues it on Yes.
    void reconnect() {
        const bool resumable = QFile::exists(server->network().lostConnectionFile());
        boxes.texts.clear();
        server->network().startFromCommandLine("127.0.0.1", "/invite");
        client->network().startFromCommandLine("127.0.0.1", "/join");
        if (!waitUntil([&] { return connected() && !busy() && difference().empty(); }, 8000)) {
            ++figures.mismatches;
            fail(connected() ? "tables differ: " + difference() : "no connection again");
            if (connected()) {
                server->network().session().sendTable();
                waitUntil([&] { return !busy() && difference().empty(); }, 3000);
            }
            return;
        }
        if (resumable && boxes.saw("Continue the interrupted game with Bob?")) ++figures.resumes;
        if (!resumable) ++figures.fresh;
        if (qEnvironmentVariableIsSet("VELNORA_RELAY_TRACE"))
            std::printf("reconnect %d: file %d, boxes %s\n", figures.cuts, int(resumable),
                        boxes.texts.join(" | ").toUtf8().constData());
        std::fflush(stdout);
    }

    // Plays turns until the chosen moment comes and the relay cuts the link.
    void playUntilCut() {
        const auto at = CutAt(plan() % int(CutAt::kinds));
        const int turnsBefore = int(plan() % 8);
        ++figures.byMoment[std::size_t(at)];
        int turns = 0;
        bool armed = false;
        QElapsedTimer clock;
        clock.start();
        while (relay->linked() && clock.elapsed() < 20000) {
            if (turns >= turnsBefore && !armed) {
                armed = true;
                if (at == CutAt::insideMessage) relay->cutInsideNextMessage();
                if (at == CutAt::inDialog) {
                    cutInDialog = true;
                    // No dialog of the game's own may come soon: the player opens one.
                    QTimer::singleShot(int(plan() % 200), server.get(), [this] {
                        if (cutInDialog) server->findChild<QAction*>("Rules1")->trigger();
                    });
                }
                if (at == CutAt::anyTime)
                    QTimer::singleShot(int(plan() % 300), relay.get(), [this] { relay->cut(); });
            }
            if (armed && at == CutAt::betweenMessages && relay->idle() && !busy()) relay->cut();
            if (armed && at == CutAt::whileShowing &&
                (server->presentation().busy() || client->presentation().busy()))
                relay->cut();
            if (connected() && !busy())
                for (std::size_t i = 0; i < 2; ++i)
                    if (players[i]->isPlayersTurn() && players[i]->playTurn() > 0) {
                        ++turns;
                        ++figures.turns;
                        // A turn left half played is a table the player cannot finish (a
                        // player on turn who has not drawn had the hand end and starts anew).
                        if (!players[i]->isPlayersTurn() || !windows()[i]->game().state.hasDrawn)
                            continue;
                        ++figures.stuck;
                        fail("the player cannot end the turn:\n" +
                             toString(windows()[i]->game().state));
                        relay->cut();
                    }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        if (relay->linked()) {
            ++figures.stuck;
            const GameState& a = server->game().state;
            const GameState& b = client->game().state;
            fail("no cut within 20 s (moment " + std::to_string(int(at)) + ", turns " +
                 std::to_string(turns) + ", linked " + std::to_string(connected()) + ", prompts " +
                 std::to_string(a.promptState) + "/" + std::to_string(a.opponentPromptState) + " " +
                 std::to_string(b.promptState) + "/" + std::to_string(b.opponentPromptState) +
                 ", blocked " + std::to_string(a.inputBlocked) + std::to_string(b.inputBlocked) +
                 ")" +
                 (qEnvironmentVariableIsSet("VELNORA_RELAY_TRACE")
                      ? "\n--- server ---\n" + toString(a) + "--- client ---\n" + toString(b)
                      : std::string()));
            relay->cut();
        }
        cutInDialog = false;
    }

    // Both copies notice, keep answering, and each keeps the game in a file that loads whole.
    void checkAfterCut() {
        ++figures.cuts;
        const int ticksBefore = ticks;
        // The timer must fire again too: a copy that waits inside a loop of its own stops it.
        if (!waitUntil(
                [&] {
                    return !server->network().networkConnected() &&
                           !client->network().networkConnected() && !busy() &&
                           ticks > ticksBefore + 1;
                },
                8000)) {
            ++figures.hangs;
            fail("a copy did not see the end of the connection, or stopped turning");
        }
        for (ui::TfmVelMain* w : windows()) {
            QFile file(w->network().lostConnectionFile());
            if (!file.open(QIODevice::ReadOnly)) continue; // nothing moved yet in this game
            const savegame::LoadResult back =
                savegame::decode(file.readAll().toStdString(), GameState{});
            std::string why;
            if (back.error != savegame::LoadError::none ||
                !isConsistent(back.state, w->game().layout, &why)) {
                ++figures.badFiles;
                fail(file.fileName().toStdString() + ": " + back.detail + why);
            }
        }
    }

    // After the resume, one of the two players can move within a while (or a hand ends).
    void checkNotStuck() {
        if (!waitUntil(
                [&] {
                    return !connected() || players[0]->isPlayersTurn() ||
                           players[1]->isPlayersTurn();
                },
                5000)) {
            ++figures.stuck;
            fail("neither player can move");
        }
    }

    void run(int cuts) {
        connectBoth();
        while (figures.cuts < cuts) {
            playUntilCut();
            checkAfterCut();
            reconnect();
            checkNotStuck();
        }
    }
};

TEST_F(RelayCutTest, CutsAnywhereLeaveWholeFilesAndTheGameGoesOnAfterReconnecting) {
    const int cuts = qEnvironmentVariableIsSet("VELNORA_RELAY_CUTS")
                         ? qEnvironmentVariableIntValue("VELNORA_RELAY_CUTS")
                         : 5;
    const unsigned seed = qEnvironmentVariableIsSet("VELNORA_RELAY_SEED")
                              ? unsigned(qEnvironmentVariableIntValue("VELNORA_RELAY_SEED"))
                              : 20;
    openThroughRelay(seed);
    run(cuts);
    std::printf(
        "relay: seed %u, cuts %d, resumes %d, fresh deals %d, mismatches %d, stuck tables %d, "
        "hangs %d, bad files %d, turns %d, links %d; cut between messages %d, inside one %d, while "
        "showing %d, in a dialog %d, at any time %d\n",
        seed, figures.cuts, figures.resumes, figures.fresh, figures.mismatches, figures.stuck,
        figures.hangs, figures.badFiles, figures.turns, relay->links, figures.byMoment[0],
        figures.byMoment[1], figures.byMoment[2], figures.byMoment[3], figures.byMoment[4]);
    for (const std::string& f : failures)
        ADD_FAILURE() << f;
    EXPECT_EQ(figures.cuts, cuts);
    EXPECT_GT(figures.resumes, cuts / 2);
    EXPECT_GT(figures.turns, cuts);
}

} // namespace
