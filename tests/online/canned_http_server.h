#pragma once
// A one-page HTTP server on 127.0.0.1 for the online tests: it answers every request with the
// same canned response, or accepts and never answers, or announces a longer body than it sends
// and then stalls. Nothing leaves the machine.

#include <QTcpServer>
#include <QTcpSocket>

namespace velnora::onlinetest {

class CannedHttpServer : public QObject {
public:
    // status 0: accept the connection and never answer. announced > 0: the Content-Length sent,
    // with the connection kept open after the body.
    CannedHttpServer(int status, QByteArray body, QByteArray contentType = "text/plain",
                     qint64 announced = 0)
        : status_(status), body_(std::move(body)), contentType_(std::move(contentType)),
          announced_(announced) {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                ++requests_;
                QObject::connect(socket, &QTcpSocket::readyRead, socket,
                                 [this, socket] { answer(socket); });
            }
        });
    }

    QString site() const { return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort()); }
    int requests() const { return requests_; }
    QByteArray lastRequest() const { return lastRequest_; }

private:
    void answer(QTcpSocket* socket) {
        lastRequest_ += socket->readAll();
        if (status_ == 0 || !lastRequest_.contains("\r\n\r\n")) return;
        const QByteArray reason = status_ == 200 ? "OK" : "Not Found";
        socket->write("HTTP/1.1 " + QByteArray::number(status_) + ' ' + reason +
                      "\r\nContent-Type: " + contentType_ + "\r\nContent-Length: " +
                      QByteArray::number(announced_ > 0 ? announced_ : body_.size()) +
                      "\r\nConnection: close\r\n\r\n" + body_);
        if (announced_ == 0) socket->disconnectFromHost();
    }

    QTcpServer server_;
    int status_;
    QByteArray body_;
    QByteArray contentType_;
    qint64 announced_;
    int requests_ = 0;
    QByteArray lastRequest_;
};

} // namespace velnora::onlinetest
