// Two real copies of the program on the loopback address, one started as server and one as
// client from the command line, each with its own settings and data folders. They must find
// each other, deal the same first table, and the server must notice the client's end.

#include "data_module.h"
#include "game.h"
#include "quiet_host.h"
#include "widget_lookup.h"
#include "wire.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

#ifdef VELNORA_PROGRAM

using velnora::uitest::waitUntil;

namespace {

// One copy of the program with its own folders; its network log collects in `log`.
struct Copy {
    QTemporaryDir home;
    QProcess process;
    QString log;

    void prepare(const QString& playerName, bool cardMovement = false) {
        // The settings a copy reads at start: no card flights or pauses, one named player.
        const QByteArray store = home.filePath("config/velnora/settings.db").toLocal8Bit();
        QDir().mkpath(home.filePath("config/velnora"));
        qputenv("VELNORA_USER_STORE", store);
        velnora::TRegistryVelnora settings;
        settings.Key = velnora::kUserSettingsKey;
        settings.WriteValue("Settings\\Card Movement", cardMovement);
        settings.WriteValue("Settings\\Show Turns", false);
        settings.WriteValue("Settings\\Delay", std::int32_t(0));
        settings.WriteValue("Settings\\Sound", false);
        settings.WriteValue("Player Names\\PlayerName1", (playerName + ",0,0").toStdString());
        qunsetenv("VELNORA_USER_STORE");
    }

    void start(const QStringList& arguments, quint16 port) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("SDL_AUDIODRIVER", "dummy");
        env.insert("XDG_DATA_HOME", home.filePath("data"));
        env.insert("XDG_CONFIG_HOME", home.filePath("config"));
        env.insert("VELNORA_USER_STORE", home.filePath("config/velnora/settings.db"));
        env.insert("VELNORA_MACHINE_STORE", home.filePath("machine.db"));
        env.insert("VELNORA_NET_PORT", QString::number(port));
        env.insert("QT_LOGGING_RULES", "velnora.net.info=true");
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::MergedChannels);
        QObject::connect(&process, &QProcess::readyRead,
                         [this] { log += QString::fromLocal8Bit(process.readAll()); });
        process.start(VELNORA_PROGRAM, arguments);
    }

    // Ends the copy as the desktop does at the end of a session; true when it left normally.
    bool terminatesCleanly() {
        process.terminate();
        return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    }

    // The last "table:" line of the log, without its prefix.
    QString lastTable() const {
        const qsizetype at = log.lastIndexOf("table: ");
        if (at < 0) return {};
        return log.mid(at + 7, log.indexOf('\n', at) - at - 7);
    }

    ~Copy() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(3000);
        }
    }
};

// "mine=.. theirs=.. top=.. stock=.." as a map.
QMap<QString, QString> fields(const QString& table) {
    QMap<QString, QString> out;
    for (const QString& part : table.split(' ', Qt::SkipEmptyParts)) {
        const qsizetype eq = part.indexOf('=');
        if (eq > 0) out[part.left(eq)] = part.mid(eq + 1);
    }
    return out;
}

quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

} // namespace

TEST(TwoCopies, ServerAndClientFromTheCommandLineDealTheSameTableAndSeeTheEnd) {
    Copy server, client;
    ASSERT_TRUE(server.home.isValid() && client.home.isValid());
    server.prepare("Ann");
    client.prepare("Bob");
    const quint16 port = freePort();
    // The client first: it must keep trying until the server listens.
    client.start({"/ip:127.0.0.1", "/join"}, port);
    ASSERT_TRUE(client.process.waitForStarted(5000));
    server.start({"/ip:127.0.0.1", "/invite"}, port);
    ASSERT_TRUE(server.process.waitForStarted(5000));

    ASSERT_TRUE(waitUntil(
        [&] {
            return server.log.contains("status: Connection established with Bob") &&
                   client.log.contains("status: Connection established with Ann");
        },
        20000))
        << "server:\n"
        << server.log.toStdString() << "\nclient:\n"
        << client.log.toStdString();

    // The first table: each copy's hand is the other's opponent hand, with the same pile top
    // and stock.
    auto sameTable = [&] {
        const auto s = fields(server.lastTable()), c = fields(client.lastTable());
        return !s.value("mine").isEmpty() && s.value("mine") == c.value("theirs") &&
               s.value("theirs") == c.value("mine") && s.value("top") == c.value("top") &&
               s.value("stock") == c.value("stock");
    };
    EXPECT_TRUE(waitUntil(sameTable, 10000)) << "server:\n"
                                             << server.log.toStdString() << "\nclient:\n"
                                             << client.log.toStdString();
    EXPECT_EQ(fields(server.lastTable()).value("mine").split(',').size(), 15);

    // The client quits; the server tells its player who ended the game.
    client.process.terminate();
    ASSERT_TRUE(client.process.waitForFinished(10000));
    EXPECT_TRUE(waitUntil(
        [&] {
            return server.log.contains(
                "message: Connection terminated by Bob. The network game has ended.");
        },
        10000))
        << server.log.toStdString();
}

// A partner played by the test itself on the other end of the socket: it deals, so it can make
// the first move of the hand.
struct PartnerByHand {
    QTcpServer server;
    QTcpSocket* socket = nullptr;
    QByteArray received;

    bool listen(quint16 port) { return server.listen(QHostAddress::LocalHost, port); }
    bool accept() {
        if (!waitUntil([&] { return server.hasPendingConnections(); }, 10000)) return false;
        socket = server.nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, [this] { received += socket->readAll(); });
        return true;
    }
    void send(const QByteArray& token, const QByteArray& payload = {}) {
        socket->write(token + '\xFE' + payload + '\xFF');
        socket->flush();
    }
    QByteArray deal{"1"};
    // Introduces itself, waits for the answer and deals with itself to draw first.
    bool identifyAndDeal() {
        send("PLAYERID", QByteArray("Rita\xFE\xFE"
                                    "415"));
        if (!waitUntil([&] { return received.contains("PLAYERID"); }, 10000)) return false;
        for (int position = 1; position <= 108; ++position)
            deal += char((position * 37) % 108 + 1); // 37 and 108 share no factor: a permutation
        send("DEAL", deal);
        return true;
    }
    // The card Rita draws first from the stock of her deal, as every copy deals it.
    int firstDraw() const {
        velnora::QuietHost host;
        velnora::MemorySettings settings;
        velnora::Random rng(1);
        velnora::Game game(host, settings, rng);
        game.options.networkGame = true;
        const auto order = velnora::net::parseDeal(std::string(deal.constData(), 109));
        if (!order) return 0;
        game.dealPartnerHand(order->stock, true);
        return game.state.stock.at(game.state.stock.count - 1).face;
    }
};

TEST(TwoCopies, ACopyEndsCleanlyInEveryStateOfTheConnection) {
    const quint16 port = freePort();
    auto started = [&](Copy& copy) {
        copy.prepare("Bob");
        copy.start({"/ip:127.0.0.1", "/join"}, port);
        return copy.process.waitForStarted(5000) &&
               waitUntil([&] { return copy.log.contains("status: Waiting for connection"); },
                         10000);
    };
    // Trying again and again to reach a server that is not there.
    {
        Copy copy;
        ASSERT_TRUE(started(copy));
        EXPECT_TRUE(copy.terminatesCleanly()) << copy.log.toStdString();
    }
    // Connected to a caller that has not said who it is.
    {
        Copy copy;
        PartnerByHand partner;
        ASSERT_TRUE(partner.listen(port));
        ASSERT_TRUE(started(copy));
        ASSERT_TRUE(partner.accept());
        EXPECT_TRUE(copy.terminatesCleanly()) << copy.log.toStdString();
    }
    // In the middle of the partner's turn, and after the partner left in it, with the notice
    // still open.
    for (const bool partnerLeaves : {false, true}) {
        Copy copy;
        PartnerByHand partner;
        ASSERT_TRUE(partner.listen(port));
        ASSERT_TRUE(started(copy));
        ASSERT_TRUE(partner.accept());
        ASSERT_TRUE(partner.identifyAndDeal());
        partner.send("DRAWNEW");
        ASSERT_TRUE(waitUntil(
            [&] { return fields(copy.lastTable()).value("theirs").split(',').size() == 16; },
            10000))
            << copy.log.toStdString();
        if (partnerLeaves) {
            partner.socket->disconnectFromHost();
            ASSERT_TRUE(waitUntil(
                [&] { return copy.log.contains("message: Connection terminated by Rita"); }, 10000))
                << copy.log.toStdString();
        }
        EXPECT_TRUE(copy.terminatesCleanly()) << copy.log.toStdString();
    }
}

TEST(TwoCopies, APartnersWholeFirstTurnDuringTheDealIsAppliedWithoutFurtherBytes) {
    // The deal is still being shown (cards fly) when Rita has drawn and discarded.
    const quint16 port = freePort();
    Copy copy;
    PartnerByHand partner;
    ASSERT_TRUE(partner.listen(port));
    copy.prepare("Bob", true);
    copy.start({"/ip:127.0.0.1", "/join"}, port);
    ASSERT_TRUE(copy.process.waitForStarted(5000));
    ASSERT_TRUE(partner.accept());
    ASSERT_TRUE(partner.identifyAndDeal());
    const int drawn = partner.firstDraw();
    ASSERT_TRUE(drawn != 0 && !velnora::isRedThree(drawn)) << "a red three would be melded";
    partner.send("DRAWNEW");
    partner.send("DISCARD", QByteArray::number(drawn));
    // Within 100 ms of the deal; nothing more arrives after this.
    EXPECT_TRUE(waitUntil(
        [&] {
            const auto t = fields(copy.lastTable());
            return t.value("top") == QString::number(drawn) &&
                   t.value("theirs").split(',').size() == 15;
        },
        5000))
        << copy.log.toStdString();
    EXPECT_TRUE(copy.terminatesCleanly());
}

#endif
