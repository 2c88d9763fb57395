#include "connection.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace velnora::net {

SocketError classifySocketError(int qtError, bool duringPlay, const QString& text) {
    SocketError e;
    e.code = qtError;
    e.text = text;
    switch (static_cast<QAbstractSocket::SocketError>(qtError)) {
    case QAbstractSocket::ConnectionRefusedError:
        e.kind = SocketFailure::refused;
        break;
    case QAbstractSocket::SocketTimeoutError:
        e.kind = SocketFailure::timedOut;
        break;
    case QAbstractSocket::HostNotFoundError:
        e.kind = SocketFailure::unreachable;
        break;
    case QAbstractSocket::NetworkError:
        // While connecting this is a host or network without a route (or a connect that timed
        // out); during play it is a peer that stopped answering, which must not be retried as
        // if nothing had happened.
        e.kind = duringPlay ? SocketFailure::other : SocketFailure::unreachable;
        break;
    default:
        e.kind = SocketFailure::other;
        break;
    }
    return e;
}

Connection::Connection(QObject* parent) : QObject(parent) {
    qRegisterMetaType<SocketError>();
}

Connection::~Connection() {
    closeAll();
}

bool Connection::listen() {
    closePeer();
    if (server_ && server_->isListening()) return true;
    if (!server_) {
        server_ = new QTcpServer(this);
        connect(server_, &QTcpServer::newConnection, this, &Connection::onNewConnection);
    }
    return server_->listen(QHostAddress::AnyIPv4, port_);
}

void Connection::connectTo(const QString& address) {
    closeListening();
    closePeer();
    auto* socket = new QTcpSocket(this);
    adopt(socket);
    connect(socket, &QTcpSocket::connected, this, [this, socket] {
        if (socket != peer_) return;
        peerReached_ = true;
        enableKeepAlive(socket);
        emit peerConnected();
    });
    socket->connectToHost(address, port_);
}

void Connection::onNewConnection() {
    while (server_ && server_->hasPendingConnections()) {
        QTcpSocket* socket = server_->nextPendingConnection();
        if (peer_) {
            // Only one opponent at a time: a second caller is dropped before any of its events
            // can reach the running game.
            socket->disconnect(this);
            socket->abort();
            socket->deleteLater();
            continue;
        }
        adopt(socket);
        peerReached_ = true;
        enableKeepAlive(socket);
        emit peerConnected();
    }
}

void Connection::adopt(QTcpSocket* socket) {
    peer_ = socket;
    peerReached_ = false;
    // Every handler checks that the socket is still the current peer: a dropped socket's late
    // notifications must not reach the game.
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
        if (socket != peer_ || readQueued_) return;
        // The bytes are read and handed on once the socket's notification has returned: what
        // they start may open a dialog, whose event loop can end the connection and delete the
        // socket, which Qt would then go on using when the handler returns.
        readQueued_ = true;
        QMetaObject::invokeMethod(this, &Connection::readPeer, Qt::QueuedConnection);
    });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
        if (socket != peer_) return;
        emit peerClosed();
    });
    connect(socket, &QTcpSocket::errorOccurred, this,
            [this, socket](QAbstractSocket::SocketError) { onSocketError(socket); });
}

void Connection::readPeer() {
    readQueued_ = false;
    // Only the current peer is read: the socket that notified may have been dropped since.
    if (!peer_) return;
    const QByteArray bytes = peer_->readAll();
    if (!bytes.isEmpty()) emit dataReceived(bytes);
}

void Connection::onSocketError(QTcpSocket* socket) {
    if (socket != peer_) return;
    // A peer that closes (or resets) its end is reported by disconnected; Qt reports both as
    // this error code, just before it.
    if (socket->error() == QAbstractSocket::RemoteHostClosedError) return;
    emit failed(classifySocketError(socket->error(), peerReached_, socket->errorString()));
}

void Connection::enableKeepAlive(QTcpSocket* socket) {
    // The system's default keepalive waits two hours; a peer whose machine vanished without
    // closing must be noticed within a few minutes.
    socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    const auto fd = static_cast<int>(socket->socketDescriptor());
    if (fd < 0) return;
    const int idle = kKeepIdle, interval = kKeepInterval, count = kKeepCount;
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &count, sizeof count);
}

void Connection::closePeer() {
    if (!peer_) return;
    QTcpSocket* socket = peer_;
    peer_ = nullptr;
    readQueued_ = false;
    socket->disconnect(this);
    // Whatever was written last (a chat line, the final discard) still goes out before the FIN.
    if (socket->state() == QAbstractSocket::ConnectedState) socket->flush();
    socket->close();
    socket->deleteLater();
}

void Connection::closeListening() {
    if (server_) server_->close();
}

void Connection::closeAll() {
    closePeer();
    closeListening();
}

bool Connection::isListening() const {
    return server_ && server_->isListening();
}

bool Connection::isConnected() const {
    return peer_ && peer_->state() == QAbstractSocket::ConnectedState;
}

bool Connection::write(const QByteArray& bytes) {
    if (!isConnected()) return false;
    return peer_->write(bytes) == bytes.size();
}

} // namespace velnora::net
