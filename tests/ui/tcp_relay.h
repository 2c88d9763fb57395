#pragma once
// A TCP relay on the loopback address between a client copy and its server: it carries the
// bytes both ways in pieces of random size, each held back a random while (in order), and cuts
// the link on request, at once or inside the next message on its way. Seeded, so a failing run
// can be repeated.

#include <QElapsedTimer>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <array>
#include <deque>
#include <random>

namespace velnora::test {

class TcpRelay : public QObject {
public:
    TcpRelay(quint16 targetPort, unsigned seed, int maxDelayMs = 15)
        : target_(targetPort), rng_(seed), maxDelayMs_(maxDelayMs) {
        listener_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&listener_, &QTcpServer::newConnection, this, [this] { accept(); });
        clock_.start();
        tick_.setInterval(1);
        QObject::connect(&tick_, &QTimer::timeout, this, [this] { flush(); });
        tick_.start();
    }

    quint16 port() const { return listener_.serverPort(); }
    // Both ends of the link are closed now; whatever was on its way is lost.
    void cut() { cutLink(false); }
    // The next piece that holds part of a message goes out only in part, then the link is cut.
    void cutInsideNextMessage() { cutArmed_ = true; }
    bool linked() const { return ends_[0] && ends_[1]; }
    // Nothing waits in the relay to be carried on.
    bool idle() const { return queue_[0].empty() && queue_[1].empty(); }
    int links = 0;

private:
    struct Piece {
        QByteArray bytes;
        qint64 dueMs;
    };

    int random(int below) { return int(rng_() % unsigned(below)); }

    // Ends the link; gently, the bytes written last still reach the partner before its end.
    void cutLink(bool gently) {
        cutArmed_ = false;
        for (std::deque<Piece>& q : queue_)
            q.clear();
        for (QPointer<QTcpSocket>& s : ends_) {
            if (!s) continue;
            s->disconnect(this);
            if (gently) {
                QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
                s->disconnectFromHost();
            } else {
                s->abort();
                s->deleteLater();
            }
            s = nullptr;
        }
    }

    void accept() {
        QTcpSocket* in = listener_.nextPendingConnection();
        cut(); // one partner at a time, as the copies themselves allow
        ++links;
        auto* out = new QTcpSocket(this);
        in->setParent(this);
        ends_ = {in, out};
        for (int side = 0; side < 2; ++side) {
            QTcpSocket* s = ends_[side];
            QObject::connect(s, &QTcpSocket::readyRead, this, [this, side] { read(side); });
            // Either partner leaving (or the server not answering) ends the link for both,
            // once the socket's own notification has returned.
            const auto end = [this, s = QPointer<QTcpSocket>(s)] {
                QTimer::singleShot(0, this, [this, s] {
                    if (s && (s == ends_[0] || s == ends_[1])) cut();
                });
            };
            QObject::connect(s, &QTcpSocket::disconnected, this, end);
            QObject::connect(s, &QTcpSocket::errorOccurred, this, end);
        }
        out->connectToHost(QHostAddress::LocalHost, target_);
    }

    // Bytes read on one side are queued for the other in pieces, never overtaking each other.
    void read(int side) {
        if (!ends_[side]) return;
        QByteArray bytes = ends_[side]->readAll();
        std::deque<Piece>& q = queue_[1 - side];
        qint64 due = q.empty() ? clock_.elapsed() : q.back().dueMs;
        while (!bytes.isEmpty()) {
            const int n = 1 + random(int(std::min<qsizetype>(bytes.size(), 64)));
            due += random(maxDelayMs_ + 1);
            q.push_back({bytes.left(n), due});
            bytes.remove(0, n);
        }
    }

    void flush() {
        for (int to = 0; to < 2; ++to) {
            QTcpSocket* s = ends_[to];
            std::deque<Piece>& q = queue_[to];
            while (s && s->state() == QAbstractSocket::ConnectedState && !q.empty() &&
                   q.front().dueMs <= clock_.elapsed()) {
                QByteArray piece = q.front().bytes;
                q.pop_front();
                if (cutArmed_) {
                    // Part of the piece, never ending on a terminator: a cut there would fall
                    // between messages.
                    qsizetype k = 1 + random(int(piece.size()));
                    if (piece[k - 1] == '\xFF') k = k > 1 ? k - 1 : (piece.size() > 1 ? 2 : 0);
                    if (k > 0) {
                        s->write(piece.left(k));
                        cutLink(true);
                        return;
                    }
                }
                s->write(piece);
            }
        }
    }

    QTcpServer listener_;
    quint16 target_;
    std::mt19937 rng_;
    int maxDelayMs_;
    QElapsedTimer clock_;
    QTimer tick_;
    std::array<QPointer<QTcpSocket>, 2> ends_;
    std::array<std::deque<Piece>, 2> queue_;
    bool cutArmed_ = false;
};

} // namespace velnora::test
