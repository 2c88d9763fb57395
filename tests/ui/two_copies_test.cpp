// Two real copies of the program on the loopback address, one started as server and one as
// client from the command line, each with its own settings and data folders. They must find
// each other, deal the same first table, and the server must notice the client's end.

#include "data_module.h"
#include "widget_lookup.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
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

    void prepare(const QString& playerName) {
        // The settings a copy reads at start: no card flights or pauses, one named player.
        const QByteArray store = home.filePath("config/velnora/settings.db").toLocal8Bit();
        QDir().mkpath(home.filePath("config/velnora"));
        qputenv("VELNORA_USER_STORE", store);
        velnora::TRegistryVelnora settings;
        settings.Key = velnora::kUserSettingsKey;
        settings.WriteValue("Settings\\Card Movement", false);
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

#endif
