#include "network_play.h"

#include "chat_window.h"
#include "connect_dialogs.h"
#include "main_window.h"
#include "qt_text.h"
#include "rule_differences.h"
#include "saved_game.h"
#include "table_view.h"
#include "url_opener.h"
#include "wire.h"

#include <QAction>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

#include <algorithm>

namespace velnora::ui {

// What happens on the connection, for someone watching two copies play (off by default; switch
// on with QT_LOGGING_RULES="velnora.net.info=true").
Q_LOGGING_CATEGORY(lcNet, "velnora.net", QtWarningMsg)

namespace {

constexpr int kStaleCheckMs = 5000;
constexpr int kLevelNetwork = 3;

QString sortedFaces(const Pile& pile) {
    std::vector<int> faces;
    for (const Card& c : pile)
        faces.push_back(c.face);
    std::sort(faces.begin(), faces.end());
    QStringList out;
    for (int f : faces)
        out << QString::number(f);
    return out.join(',');
}

} // namespace

NetworkPlay::NetworkPlay(TfmVelMain& window, NetworkMenu menu)
    : QObject(&window), window_(window), menu_(menu),
      connection_(std::make_unique<net::Connection>()),
      session_(std::make_unique<net::NetSession>(window.game(), *this)) {
    clock_.start();
    // Two copies on one machine for a trial or a test may agree on another port.
    bool portOk = false;
    const uint port = qEnvironmentVariableIntValue("VELNORA_NET_PORT", &portOk);
    if (portOk && port > 0 && port < 65536) connection_->setPort(quint16(port));
    tmTryConnect_ = new QTimer(this);
    tmTryConnect_->setObjectName("tmTryConnect");
    tmTryConnect_->setInterval(kRetryMs);
    connect(tmTryConnect_, &QTimer::timeout, this, &NetworkPlay::tmTryConnectTimer);
    tmIdentify_ = new QTimer(this);
    tmIdentify_->setObjectName("tmIdentify");
    tmIdentify_->setSingleShot(true);
    tmIdentify_->setInterval(kIdentifyMs);
    connect(tmIdentify_, &QTimer::timeout, this, &NetworkPlay::dropUnidentified);
    // A partner that stops in the middle of a message must not pin its bytes forever, even when
    // nothing more arrives to trigger the check.
    tmStale_ = new QTimer(this);
    tmStale_->setObjectName("tmStale");
    tmStale_->setInterval(kStaleCheckMs);
    connect(tmStale_, &QTimer::timeout, this,
            [this] { session_->dropStalePartial(clock_.elapsed()); });

    connect(connection_.get(), &net::Connection::peerConnected, this,
            &NetworkPlay::onPeerConnected);
    connect(connection_.get(), &net::Connection::dataReceived, this, &NetworkPlay::onData);
    // Closing and errors are handled after the socket's own notification has returned, so the
    // socket is never closed inside it.
    connect(connection_.get(), &net::Connection::peerClosed, this, &NetworkPlay::onPeerClosed,
            Qt::QueuedConnection);
    connect(connection_.get(), &net::Connection::failed, this, &NetworkPlay::onFailed,
            Qt::QueuedConnection);

    if (menu_.connect)
        connect(menu_.connect, &QAction::triggered, this, &NetworkPlay::ConnecttoPartner1Click);
    if (menu_.disconnect)
        connect(menu_.disconnect, &QAction::triggered, this, &NetworkPlay::StopWaiting1Click);
    if (menu_.ruleDifferences)
        connect(menu_.ruleDifferences, &QAction::triggered, this,
                &NetworkPlay::ShowRuleDifferences1Click);
    if (menu_.chatOnTop)
        connect(menu_.chatOnTop, &QAction::triggered, this, &NetworkPlay::ChatWindowontopClick);
    if (menu_.requestListing)
        connect(menu_.requestListing, &QAction::triggered, this,
                &NetworkPlay::RequestListing1Click);
    setMenuConnected(false);
    freshRuleDifferences();
}

NetworkPlay::~NetworkPlay() {
    shutdown();
    delete chat_;
    delete ruleDifferences_;
    delete tryConnect_;
}

QString NetworkPlay::localNetworkName() const {
    const int p = window_.currentPlayer;
    if (p >= 0 && p < int(window_.playerList.size()))
        return qs(window_.playerList[std::size_t(p)].name);
    return "Opponent";
}

// The Network menu

void NetworkPlay::setMenuConnected(bool connected) {
    if (menu_.connect) menu_.connect->setEnabled(!connected);
    for (QAction* a : {menu_.disconnect, menu_.chatOnTop, menu_.ruleDifferences})
        if (a) a->setEnabled(connected);
}

void NetworkPlay::ConnecttoPartner1Click() {
    savedLevel_ = window_.options().computerLevel;
    connectionWanted_ = true;
    TfmConnect dialog(window_.settings(), connectionWanted_, &window_);
    dialog.startConnection = [this](const QString& mode, const QString& address) {
        connectMode_ = mode;
        opponentAddress_ = address;
        opponentName_ = "<none>";
        StartConnection(address);
    };
    afterConnectDialog(dialog.exec() == QDialog::Accepted);
}

void NetworkPlay::startFromCommandLine(const QString& address, const QString& mode) {
    // This run never resumed the autosaved game, and the table dealt for the wait is not it.
    window_.noteNetworkTable(true);
    savedLevel_ = window_.options().computerLevel;
    connectionWanted_ = true;
    TfmConnect dialog(window_.settings(), connectionWanted_, &window_);
    dialog.startConnection = [this](const QString& m, const QString& a) {
        connectMode_ = m;
        opponentAddress_ = a;
        opponentName_ = "<none>";
        StartConnection(a);
    };
    dialog.setStoresChoices(false);
    dialog.setAddress(address);
    dialog.chooseServer(mode == "/invite");
    dialog.bnConnectClick();
    // The dialog is never shown and stores nothing; a refused address leaves it open, which
    // here means no connection was started.
    afterConnectDialog(dialog.result() == QDialog::Accepted);
}

void NetworkPlay::afterConnectDialog(bool accepted) {
    if (accepted && connectionWanted_) {
        enterWaiting();
    } else {
        tmTryConnect_->stop();
        Disconnect();
    }
}

void NetworkPlay::showConnectionState(int state) {
    window_.showConnectionState(state);
    qCInfo(lcNet).noquote() << "status:" << window_.statusText();
}

void NetworkPlay::logTable() {
    if (!lcNet().isInfoEnabled()) return;
    const GameState& g = window_.game().state;
    qCInfo(lcNet).noquote()
        << "table: mine=" + sortedFaces(g.playerHand) << "theirs=" + sortedFaces(g.opponentHand)
        << "top=" + QString::number(
                        g.discardPile.empty()
                            ? 0
                            : g.discardPile.places()[std::size_t(g.discardPile.count - 1)].face)
        << "stock=" + QString::number(g.stock.count);
}

void NetworkPlay::enterWaiting() {
    // The table waits with the player: a local game played on now would be replaced without a
    // word when the partner connects.
    window_.table()->waitingToRetryConnection = true;
    window_.connectionState = 1;
    showConnectionState(1);
    setMenuConnected(true);
}

void NetworkPlay::StopWaiting1Click() {
    tmTryConnect_->stop();
    if (networkConnected_ &&
        window_.tell(MessageKind::confirmation, "Are you sure you want to disconnect?") !=
            MessageAnswer::yes) {
        return;
    }
    // Ended on purpose or not, the game is kept where the two players find it when they meet
    // again; an older file there would otherwise be offered as the game they left.
    if (networkConnected_) saveLostGame();
    connection_->closeListening();
    Disconnect();
}

void NetworkPlay::ChatWindowontopClick() {
    window_.setChatOnTop(menu_.chatOnTop ? menu_.chatOnTop->isChecked()
                                         : !window_.options().chatOnTop);
    if (chat_) chat_->setStayOnTop(window_.options().chatOnTop);
}

void NetworkPlay::RequestListing1Click() {
    // A mail to the list's keeper, composed in the player's own mail program, with what others
    // need to find this copy.
    const QStringList addresses = ownIPv4Addresses();
    QUrl mail(QStringLiteral("mailto:") + VELNORA_LISTING_MAIL);
    QUrlQuery query;
    query.addQueryItem("subject", "Velnora player list");
    query.addQueryItem(
        "body", "Please list me in the Velnora player list.\r\nName: " + localNetworkName() +
                    "\r\nIP number: " + (addresses.isEmpty() ? QString() : addresses.front()) +
                    "\r\n");
    mail.setQuery(query);
    online::openUrlOrTell(&window_, mail);
}

// Starting and ending a connection

void NetworkPlay::StartConnection(const QString& address) {
    tmTryConnect_->stop();
    retryPending_ = false;
    closeTryConnect();
    const bool asServer = connectMode_ == "/invite";
    tryConnect_ = new TfmTryConnect(asServer ? QString("Waiting for opponent to connect...")
                                             : "Trying to (re)connect to " + address + "...",
                                    &window_);
    connect(tryConnect_, &TfmTryConnect::cancelled, this, &NetworkPlay::StopWaiting1Click);
    tryConnect_->adjustSize();
    tryConnect_->move(window_.geometry().center() - tryConnect_->rect().center());
    tryConnect_->show();
    tmTryConnect_->start();
    if (asServer) {
        networkRole_ = server;
        if (!connection_->listen()) {
            // Another program (or a second copy) holds the port: nobody could ever connect.
            connectionWanted_ = false;
            closeTryConnect();
            tmTryConnect_->stop();
            window_.tell(MessageKind::warning, "Velnora cannot wait for an opponent: port " +
                                                   std::to_string(connection_->port()) +
                                                   " is in use by another program.");
        }
    } else {
        networkRole_ = client;
        connection_->connectTo(address);
    }
}

void NetworkPlay::tmTryConnectTimer() {
    if (!tryConnect_) {
        tmTryConnect_->stop();
        return;
    }
    tryConnect_->step();
    // A refused attempt is made again on the next tick, not at once: a tight loop of refusals
    // would keep the machine busy until the server listens.
    if (retryPending_ && networkRole_ == client) {
        retryPending_ = false;
        connection_->connectTo(opponentAddress_);
    }
}

void NetworkPlay::closeTryConnect() {
    if (tryConnect_) {
        tryConnect_->hide();
        tryConnect_->deleteLater();
        tryConnect_ = nullptr;
    }
}

void NetworkPlay::Disconnect() {
    if (disconnecting_) return;
    disconnecting_ = true;
    tmIdentify_->stop();
    tmStale_->stop();
    endOfHandHold_ = false;
    awaitingFirstTable_ = false;
    connection_->closeAll();
    networkRole_ = none;
    window_.table()->waitingToRetryConnection = false;
    window_.connectionState = 0;
    showConnectionState(0);
    setMenuConnected(false);
    closeTryConnect();
    const bool wasPlaying = networkConnected_;
    if (networkConnected_) {
        delete chat_;
        freshRuleDifferences();
    }
    networkConnected_ = false;
    retryPending_ = false;
    // Leaves network mode: the stored rules come back, the computer drives the opponent again.
    session_->connectionClosed();
    window_.setPlayingLevel(savedLevel_);
    // Nobody is left at a table that waits for a partner who has gone; at the program's end
    // nothing more is played.
    if (wasPlaying && !closing_) session_->playOnWithoutPartner();
    window_.updatePanels();
    disconnecting_ = false;
}

void NetworkPlay::shutdown() {
    closing_ = true;
    tmTryConnect_->stop();
    connectionWanted_ = false;
    // The program's end breaks the connection too; the autosave is not this game's place.
    if (networkConnected_) saveLostGame();
    if (networkRole_ != none || networkConnected_) Disconnect();
    connection_->closeAll();
}

// Connection events

void NetworkPlay::onPeerConnected() {
    // The peer counts as the opponent only once it has said who it is: a port scan must neither
    // end the server's wait nor touch the running match.
    session_->connectionOpened(networkRole_ == server ? net::NetRole::server : net::NetRole::client,
                               localNetworkName().toStdString());
    tmIdentify_->start();
    tmStale_->start();
}

void NetworkPlay::closePeer() {
    // With no partner there is nothing to go stale: the check would only wake the program.
    tmStale_->stop();
    connection_->closePeer();
}

void NetworkPlay::dropUnidentified() {
    if (session_->identified()) return;
    qWarning() << "Velnora: a connection that did not identify itself within" << kIdentifyMs / 1000
               << "seconds was closed";
    session_->connectionClosed();
    closePeer();
    // The client tries again on the next tick; the server goes on waiting.
    if (networkRole_ == client) retryPending_ = true;
}

void NetworkPlay::onData(const QByteArray& bytes) {
    updateHold();
    session_->receive(std::string_view(bytes.constData(), std::size_t(bytes.size())),
                      clock_.elapsed());
    QTimer::singleShot(0, this, &NetworkPlay::logTable);
}

void NetworkPlay::updateHold() {
    // Moves are applied whole and shown afterwards, so a message is applied as soon as it is
    // read; only the end-of-hand dialogs make the partner's next moves wait.
    const bool held = endOfHandHold_;
    session_->setDispatchHeld(held);
    if (held) return;
    if (session_->buffered() > 0) session_->dispatchPending();
}

void NetworkPlay::holdMessages(bool hold) {
    endOfHandHold_ = hold;
    if (hold) {
        session_->setDispatchHeld(true);
    } else {
        // The release comes from inside the engine's end of hand; what waited is applied once
        // that has returned.
        QTimer::singleShot(0, this, &NetworkPlay::updateHold);
    }
}

void NetworkPlay::onPeerClosed() {
    if (disconnecting_) return;
    if (!session_->identified()) {
        // Not an opponent yet (a port scan, or a copy that gave up): keep waiting.
        session_->connectionClosed();
        closePeer();
        tmIdentify_->stop();
        if (networkRole_ == client) retryPending_ = true;
        return;
    }
    // A peer that vanished (killed, or reset) looks the same here as one that quit; the
    // table is saved quietly either way so the match can be loaded again.
    const QString saved = saveLostGame();
    const QString name = opponentName_;
    Disconnect();
    closeTryConnect();
    tellLater(MessageKind::warning,
              "Connection terminated by " + name + ". The network game has ended." + saved, {},
              true);
}

void NetworkPlay::onFailed(const net::SocketError& error) {
    if (disconnecting_ || networkRole_ == none) return;
    const bool connecting = !session_->identified();
    const bool retryable = error.kind == net::SocketFailure::refused ||
                           error.kind == net::SocketFailure::timedOut ||
                           error.kind == net::SocketFailure::unreachable;
    if (connecting && networkRole_ == client && retryable) {
        closePeer();
        retryPending_ = true;
        return;
    }
    if (connecting && networkRole_ == server) {
        // An unidentified caller's error is its own affair; the server keeps listening.
        session_->connectionClosed();
        closePeer();
        tmIdentify_->stop();
        return;
    }
    connectionWanted_ = false;
    tmTryConnect_->stop();
    const QString saved = saveLostGame();
    Disconnect();
    tellLater(MessageKind::warning,
              "The connection has been lost (" + QString::number(error.code) + ")." + saved, {},
              true);
}

QString NetworkPlay::lostConnectionFile() const {
    const std::string name =
        savegame::makeGameFileName((localNetworkName() + "_" + opponentName_).toStdString());
    return QDir(programDataFolder()).filePath(qs(name));
}

QString NetworkPlay::saveLostGame() {
    // The partner's moves count as much as ours: a hand the partner has played in is worth
    // keeping even when our player has not clicked yet.
    if (!session_->gameMoved() && !window_.game().state.gameInProgress) return {};
    // Whoever continues the game later, the partner must be able to finish its turn: it plays
    // the turn again from its start.
    session_->takeBackPartnerTurn();
    const QString file = lostConnectionFile();
    // A quiet save refuses a half-made meld; the player must not be told of a file that was
    // never written.
    if (window_.SaveGame(true, file))
        return " The game has been saved as " + QDir::toNativeSeparators(file);
    // A file left there by an earlier break holds an older game, which the next connection
    // with this partner would offer to continue as this one.
    QFile::remove(file);
    return " The game could not be saved.";
}

bool NetworkPlay::offerResume() {
    const QString file = lostConnectionFile();
    if (!QFileInfo::exists(file)) return false;
    const bool asServer = networkRole_ == server;
    // The file stays: it is the only copy of the game until the resumed game is saved again
    // (at the next break, or when either player ends the connection).
    tellLater(
        MessageKind::confirmation, "Continue the interrupted game with " + opponentName_ + "?",
        [this, file, asServer] {
            if (!window_.loadInterruptedGame(file) && asServer) session_->dealFirstHand();
        },
        true,
        [this, asServer] {
            if (asServer) session_->dealFirstHand();
        });
    return true;
}

void NetworkPlay::firstTableArrived() {
    if (!awaitingFirstTable_) return;
    awaitingFirstTable_ = false;
    window_.table()->waitingToRetryConnection = false;
}

bool NetworkPlay::dealsFirstHand() {
    return !offerResume();
}

void NetworkPlay::partnerDealt() {
    // A server that deals before it sends its rules did not ask about an unfinished game: it
    // holds no file of ours, or never asks. Then the client may ask; a server that asked sends
    // its rules first and its answer governs.
    const bool first = awaitingFirstTable_;
    firstTableArrived();
    if (first && networkRole_ == client && session_->opponentRules().empty()) offerResume();
}

// Session events

void NetworkPlay::writeBytes(const std::string& bytes) {
    connection_->write(QByteArray(bytes.data(), qsizetype(bytes.size())));
}

void NetworkPlay::playerIdentified(const std::string& name) {
    tmIdentify_->stop();
    freshRuleDifferences();
    opponentName_ = qs(name);
    networkConnected_ = true;
    // The table left from before the connection is no table of this game: a click on it would
    // send the partner moves it cannot follow.
    awaitingFirstTable_ = true;
    window_.table()->waitingToRetryConnection = true;
    // A letter typed on the table is the start of a chat line (the table's own keys come first).
    window_.table()->forwardToChat = [this](int, const QString& text) {
        if (!chat_ || text.isEmpty() || !text.front().isPrint()) return false;
        chat_->typeIntoLine(text);
        return true;
    };
    window_.noteNetworkTable(true);
    window_.connectionState = 2;
    window_.setPlayingLevel(kLevelNetwork);
    tmTryConnect_->stop();
    retryPending_ = false;

    delete chat_;
    chat_ = new TfmChat(window_.settings(), &window_, window_.options().chatOnTop);
    chat_->sendLine = [this](const QString& text) {
        if (networkRole_ == none) return QString();
        return qs(session_->sendChat(text.toStdString()));
    };
    chat_->show();
    chat_->AddChatLine("Connection established with " + opponentName_ + ". " +
                       "Resize window to see more text, right-click to change font.");
    closeTryConnect();
    showConnectionState(2);
    setMenuConnected(true);
}

void NetworkPlay::versionMismatch() {
    // The message waits until the dispatch has returned; the connection ends with it.
    networkRole_ = none;
    QTimer::singleShot(0, this, [this] {
        Disconnect();
        closeTryConnect();
        tellLater(MessageKind::information,
                  "You have version 41701 and your opponent has another version. "
                  "Please use the same version.",
                  {}, true);
    });
}

void NetworkPlay::chatReceived(const std::string& line) {
    if (chat_) chat_->receiveLine(qs(line));
}

void NetworkPlay::rulesReceived(const std::string& localRules, const std::string& remoteRules) {
    CompareRules(localRules, remoteRules);
}

void NetworkPlay::CompareRules(const std::string& localRules, const std::string& remoteRules) {
    if (!networkConnected_) return;
    QList<RuleRow> rows;
    for (const net::RuleDifference& d : net::ruleDifferences(localRules, remoteRules))
        rows.append({qs(d.name), qs(d.local), qs(d.remote)});
    if (rows.isEmpty()) {
        freshRuleDifferences();
        return;
    }
    ruleDifferences_->setRows(rows);
    ruleDifferences_->show();
    ruleDifferences_->raise();
}

void NetworkPlay::freshRuleDifferences() {
    delete ruleDifferences_;
    ruleDifferences_ = new TfmRuleDifferences(&window_);
    connect(ruleDifferences_, &TfmRuleDifferences::useOpponentsRules, this,
            [this] { session_->adoptOpponentRules(); });
}

void NetworkPlay::ShowRuleDifferences1Click() {
    if (session_->opponentRules().empty()) return;
    const std::string local = net::buildRules(window_.game().rules);
    CompareRules(local, session_->opponentRules());
    // Asked for, an empty list must not look like a menu item that does nothing.
    if (networkConnected_ && net::ruleDifferences(local, session_->opponentRules()).empty())
        window_.tell(MessageKind::information,
                     "You and " + opponentName_.toStdString() + " play by the same rules.");
}

void NetworkPlay::rulesConfirmed() {
    if (!networkConnected_) return;
    session_->sendRules();
    if (!session_->opponentRules().empty())
        CompareRules(net::buildRules(window_.game().rules), session_->opponentRules());
}

void NetworkPlay::tableReceived() {
    firstTableArrived();
    window_.repaint(TableArea::all);
}

void NetworkPlay::messageDropped(const std::string& text) {
    qCInfo(lcNet).noquote() << "dropped from an unidentified caller:"
                            << QString::fromStdString(text);
}

void NetworkPlay::protocolError(const std::string& text) {
    tellLater(MessageKind::warning, qs(text));
}

void NetworkPlay::outOfStep(const std::string& reason) {
    tellLater(MessageKind::confirmation,
              "The two tables are out of step (" + qs(reason) +
                  "). Send your table to your opponent, so both tables are the same again?",
              [this] { session_->sendTable(); });
}

void NetworkPlay::bufferOverflow() {
    QTimer::singleShot(0, this, [this] {
        connectionWanted_ = false;
        tmTryConnect_->stop();
        const QString saved = saveLostGame();
        Disconnect();
        tellLater(MessageKind::warning,
                  "Your opponent sent more data than Velnora accepts, so the connection has "
                  "been closed." +
                      saved,
                  {}, true);
    });
}

void NetworkPlay::tellLater(MessageKind kind, const QString& text, std::function<void()> onYes,
                            bool alwaysTell, std::function<void()> onNo) {
    // A partner that sends one bad message after another must not stack up boxes; the end of
    // the connection and where the game went are always told.
    if (!alwaysTell && notices_.size() >= kMaxWaitingNotices) {
        qWarning().noquote() << "Velnora:" << text;
        return;
    }
    qCInfo(lcNet).noquote() << "message:" << text;
    notices_.push_back({kind, text, std::move(onYes), std::move(onNo)});
    if (boxOpen_) return;
    boxOpen_ = true;
    QTimer::singleShot(0, this, &NetworkPlay::showNotices);
}

void NetworkPlay::showNotices() {
    while (!notices_.empty()) {
        Notice notice = std::move(notices_.front());
        notices_.pop_front();
        const MessageAnswer answer = window_.tell(notice.kind, notice.text.toStdString());
        if (!networkConnected_) continue;
        if (answer == MessageAnswer::yes && notice.onYes)
            notice.onYes();
        else if (answer != MessageAnswer::yes && notice.onNo)
            notice.onNo();
    }
    boxOpen_ = false;
}

// From the window

void NetworkPlay::sendMove(const Move& move) {
    if (move.kind == MoveKind::deal) firstTableArrived();
    session_->sendMove(move);
    QTimer::singleShot(0, this, &NetworkPlay::logTable);
}

void NetworkPlay::gameLoaded() {
    firstTableArrived();
    session_->sendTable();
}

} // namespace velnora::ui
