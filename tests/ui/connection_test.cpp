// The TCP connection on the loopback address: one peer at a time, bytes in order, the peer's
// close, refused attempts, and keepalive on the live socket.

#include "connection.h"
#include "widget_lookup.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

using namespace velnora::net;
using velnora::uitest::waitUntil;

namespace {

// A free port for this test, so parallel test runs and a running game never collide.
quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

struct Recorder {
    int connected = 0;
    int closed = 0;
    QByteArray bytes;
    std::vector<SocketError> errors;

    void watch(Connection& c) {
        QObject::connect(&c, &Connection::peerConnected, [this] { ++connected; });
        QObject::connect(&c, &Connection::peerClosed, [this] { ++closed; });
        QObject::connect(&c, &Connection::dataReceived,
                         [this](const QByteArray& b) { bytes += b; });
        QObject::connect(&c, &Connection::failed,
                         [this](const SocketError& e) { errors.push_back(e); });
    }
};

class ConnectionTest : public ::testing::Test {
protected:
    Connection server, client;
    Recorder atServer, atClient;

    void SetUp() override {
        const quint16 port = freePort();
        server.setPort(port);
        client.setPort(port);
        atServer.watch(server);
        atClient.watch(client);
    }

    void connectBoth() {
        ASSERT_TRUE(server.listen());
        client.connectTo("127.0.0.1");
        ASSERT_TRUE(waitUntil([&] { return atServer.connected && atClient.connected; }, 3000));
    }
};

} // namespace

TEST_F(ConnectionTest, BytesTravelBothWaysInOrder) {
    connectBoth();
    EXPECT_TRUE(client.write(QByteArray("DRAWNEW\xFE\xFF", 9)));
    EXPECT_TRUE(client.write(QByteArray("CHAT\xFEJo: hi\xFF", 11)));
    EXPECT_TRUE(server.write("back"));
    ASSERT_TRUE(
        waitUntil([&] { return atServer.bytes.size() == 20 && atClient.bytes.size() == 4; }, 3000));
    EXPECT_EQ(atServer.bytes, QByteArray("DRAWNEW\xFE\xFF"
                                         "CHAT\xFEJo: hi\xFF",
                                         20));
    EXPECT_EQ(atClient.bytes, "back");
}

TEST_F(ConnectionTest, ASecondCallerIsDroppedWithoutReachingTheGame) {
    connectBoth();
    QTcpSocket intruder;
    bool intruderDropped = false;
    QObject::connect(&intruder, &QTcpSocket::disconnected, [&] { intruderDropped = true; });
    intruder.connectToHost("127.0.0.1", server.port());
    ASSERT_TRUE(waitUntil([&] { return intruderDropped; }, 3000));
    intruder.write("CHAT\xFEintruder\xFF");
    QCoreApplication::processEvents();
    EXPECT_EQ(atServer.connected, 1);
    EXPECT_EQ(atServer.closed, 0);
    EXPECT_TRUE(atServer.errors.empty());
    EXPECT_TRUE(atServer.bytes.isEmpty());
    // The first peer is still the one the server talks to.
    EXPECT_TRUE(server.write("still here"));
    EXPECT_TRUE(waitUntil([&] { return atClient.bytes == "still here"; }, 3000));
}

TEST_F(ConnectionTest, ThePeersCloseIsReportedOnceAndOurOwnCloseNotAtAll) {
    connectBoth();
    client.closePeer();
    ASSERT_TRUE(waitUntil([&] { return atServer.closed == 1; }, 3000));
    EXPECT_EQ(atClient.closed, 0);
    EXPECT_TRUE(atServer.errors.empty());
    // The listening socket stays; after the server drops its peer a new client is accepted.
    server.closePeer();
    EXPECT_TRUE(server.isListening());
    client.connectTo("127.0.0.1");
    EXPECT_TRUE(waitUntil([&] { return atServer.connected == 2; }, 3000));
}

TEST_F(ConnectionTest, AHandlerThatEndsTheConnectionNeverPullsTheSocketFromUnderItself) {
    // A partner's message can open a dialog, and the nested event loop of a dialog runs pending
    // deletions: the socket must not be inside its own read notification at that moment.
    connectBoth();
    QObject::connect(&server, &Connection::dataReceived, [this] {
        server.closePeer();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    });
    EXPECT_TRUE(client.write("DRAWNEW\xFE\xFF"));
    ASSERT_TRUE(waitUntil([&] { return !atServer.bytes.isEmpty(); }, 3000));
    EXPECT_FALSE(server.isConnected());
    // The process is still standing, and the server takes the next caller.
    client.closePeer();
    client.connectTo("127.0.0.1");
    EXPECT_TRUE(waitUntil([&] { return atServer.connected == 2; }, 3000));
}

TEST_F(ConnectionTest, NobodyListeningIsARefusalToRetry) {
    client.connectTo("127.0.0.1");
    ASSERT_TRUE(waitUntil([&] { return !atClient.errors.empty(); }, 3000));
    EXPECT_EQ(atClient.errors.front().kind, SocketFailure::refused);
    EXPECT_FALSE(client.isConnected());
}

TEST_F(ConnectionTest, ALiveSocketProbesAQuietPeerWithinMinutes) {
    connectBoth();
    for (Connection* side : {&server, &client}) {
        const auto fd = static_cast<int>(side->peerSocket()->socketDescriptor());
        int on = 0, idle = 0, interval = 0, count = 0;
        socklen_t len = sizeof(int);
        getsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, &len);
        getsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, &len);
        getsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, &len);
        getsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &count, &len);
        EXPECT_NE(on, 0);
        // A vanished peer is given up after idle + count * interval seconds.
        EXPECT_LE(idle + count * interval, 5 * 60);
    }
}

TEST(SocketErrors, ANetworkErrorIsRetriedOnlyWhileConnecting) {
    EXPECT_EQ(classifySocketError(QAbstractSocket::NetworkError, false, {}).kind,
              SocketFailure::unreachable);
    EXPECT_EQ(classifySocketError(QAbstractSocket::NetworkError, true, {}).kind,
              SocketFailure::other);
    EXPECT_EQ(classifySocketError(QAbstractSocket::SocketTimeoutError, false, {}).kind,
              SocketFailure::timedOut);
}
