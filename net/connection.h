#pragma once
// The one TCP connection of a network game: a listening socket for the server role, a client
// socket for the client role, and the single accepted peer. Only this class touches sockets;
// it turns their notifications into a few plain signals and never decides what they mean for
// the game.

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTcpSocket>

class QTcpServer;

namespace velnora::net {

// The port both copies agree on.
inline constexpr quint16 kVelnoraPort = 31415;

// How a socket error is told apart by the connection logic.
enum class SocketFailure {
    refused,     // nobody listens at the address (yet)
    timedOut,    // the attempt or the connection timed out
    unreachable, // no route to the host or its network
    other,
};

// A socket error with the code shown to the player.
struct SocketError {
    SocketFailure kind = SocketFailure::other;
    int code = 0;
    QString text;
};

// Server and client sockets on one port; at most one peer at a time.
class Connection : public QObject {
    Q_OBJECT
public:
    explicit Connection(QObject* parent = nullptr);
    ~Connection() override;

    // Tests run their copies on a port of their own; the program always uses kVelnoraPort.
    void setPort(quint16 port) { port_ = port; }
    quint16 port() const { return port_; }

    // Server role: closes any client socket and listens on all IPv4 addresses. False (with
    // failed emitted) when the port cannot be bound.
    bool listen();
    // Client role: closes the listening socket and connects to the address.
    void connectTo(const QString& address);
    // Drops the peer (server) or closes the client socket; the listening socket stays.
    void closePeer();
    void closeListening();
    void closeAll();

    bool isListening() const;
    // A peer is connected: the server's accepted client, or the client socket.
    bool isConnected() const;
    // Writes the bytes to the peer; false when there is none.
    bool write(const QByteArray& bytes);

    // The socket of the current peer, for tests that look at its options.
    QTcpSocket* peerSocket() const { return peer_; }

    // Keepalive probing of an idle peer, in seconds: first probe, between probes, probe count.
    static constexpr int kKeepIdle = 60;
    static constexpr int kKeepInterval = 10;
    static constexpr int kKeepCount = 6;

signals:
    // Server: the first peer was accepted. Client: the socket reached the server.
    void peerConnected();
    // Bytes from the current peer, in arrival order.
    void dataReceived(const QByteArray& bytes);
    // The current peer closed the connection.
    void peerClosed();
    // An error of the current peer's socket, or of the listening socket.
    void failed(const SocketError& error);

private:
    void adopt(QTcpSocket* socket);
    // Reads what the current peer has sent and hands it on; queued from its read notification.
    void readPeer();
    void onNewConnection();
    void onSocketError(QTcpSocket* socket);
    static void enableKeepAlive(QTcpSocket* socket);

    quint16 port_ = kVelnoraPort;
    QTcpServer* server_ = nullptr;
    QPointer<QTcpSocket> peer_;
    // The current socket got as far as a connection (errors after that are not retried).
    bool peerReached_ = false;
    // A read of the peer is queued and has not run yet.
    bool readQueued_ = false;
};

// Maps a socket error to its kind and the code shown in the lost-connection message.
SocketError classifySocketError(int qtError, bool duringPlay, const QString& text);

} // namespace velnora::net

Q_DECLARE_METATYPE(velnora::net::SocketError)
