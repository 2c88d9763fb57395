#pragma once
// Network play as the table window sees it: the Network menu, connecting as server or client,
// the waiting window, the identities, the chat and rule-differences windows, disconnecting and
// the reactions to a lost connection. The bytes go through net::Connection, their meaning
// through net::NetSession; this class joins the two to the window.

#include "chat_window.h"
#include "connect_dialogs.h"
#include "connection.h"
#include "net_session.h"
#include "rule_differences.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>

#include <deque>
#include <functional>
#include <memory>

class QAction;
class QTimer;

namespace velnora::ui {

class TfmVelMain;

// The items of the Network menu this class answers and keeps enabled or disabled.
struct NetworkMenu {
    QAction* connect = nullptr;
    QAction* ruleDifferences = nullptr;
    QAction* disconnect = nullptr;
    QAction* chatOnTop = nullptr;
    QAction* requestListing = nullptr;
};

class NetworkPlay : public QObject, public net::NetEvents {
    Q_OBJECT
public:
    // The retry timer's interval, and how long a new connection may take to say who it is.
    static constexpr int kRetryMs = 2000;
    static constexpr int kIdentifyMs = 30000;

    NetworkPlay(TfmVelMain& window, NetworkMenu menu);
    ~NetworkPlay() override;

    // Roles and states, by the numbers the status bar and menus use
    enum Role { client = 0, server = 1, none = 2 };
    int networkRole() const { return networkRole_; }
    bool networkConnected() const { return networkConnected_; }
    bool connectionWanted() const { return connectionWanted_; }
    const QString& opponentName() const { return opponentName_; }
    const QString& opponentAddress() const { return opponentAddress_; }
    QString localNetworkName() const;

    // Menu commands
    void ConnecttoPartner1Click();
    void StopWaiting1Click();
    void ShowRuleDifferences1Click();
    void ChatWindowontopClick();
    // "Request &Listing": a mail asking to be listed in the Internet player list.
    void RequestListing1Click();

    // The command line "/ip:ADDRESS /invite|/join" (address and second argument given).
    void startFromCommandLine(const QString& address, const QString& mode);
    // Opens the server's listening socket or connects the client to the address.
    void StartConnection(const QString& address);
    // Ends the connection and brings back the single-player table.
    void Disconnect();
    // The window is closing: the connection ends without any message.
    void shutdown();

    // From the window: a local move, the end-of-hand hold, the Rules dialog's OK
    void sendMove(const Move& move);
    void holdMessages(bool hold);
    void rulesConfirmed();
    // A game was loaded during a connection: the partner gets the whole table.
    void gameLoaded();

    // The lost-connection file in the data folder, named after both players.
    QString lostConnectionFile() const;

    // For tests: the parts this class owns
    net::Connection& connection() { return *connection_; }
    net::NetSession& session() { return *session_; }
    TfmChat* chat() const { return chat_; }
    TfmRuleDifferences* ruleDifferences() const { return ruleDifferences_; }
    TfmTryConnect* tryConnect() const { return tryConnect_; }
    QTimer* retryTimer() const { return tmTryConnect_; }

    // NetEvents
    void writeBytes(const std::string& bytes) override;
    void playerIdentified(const std::string& name) override;
    void versionMismatch() override;
    void chatReceived(const std::string& line) override;
    void rulesReceived(const std::string& localRules, const std::string& remoteRules) override;
    void tableReceived() override;
    bool dealsFirstHand() override;
    void partnerDealt() override;
    void protocolError(const std::string& text) override;
    void messageDropped(const std::string& text) override;
    void outOfStep(const std::string& reason) override;
    void bufferOverflow() override;

private:
    // Connection events
    void onPeerConnected();
    void onData(const QByteArray& bytes);
    void onPeerClosed();
    void onFailed(const net::SocketError& error);
    void tmTryConnectTimer();
    void dropUnidentified();
    // Closes the partner's socket, the server going on listening.
    void closePeer();

    void afterConnectDialog(bool accepted);
    void enterWaiting();
    void showConnectionState(int state);
    // The hands, the pile's top card and the stock, to the log.
    void logTable();
    void closeTryConnect();
    void setMenuConnected(bool connected);
    void CompareRules(const std::string& localRules, const std::string& remoteRules);
    void freshRuleDifferences();
    // Saves the game quietly under both names when either seat has moved. Returns what the
    // player is told of it: " The game has been saved as PATH", that it could not be saved, or
    // nothing when no move was made that is worth keeping.
    QString saveLostGame();
    // Asks the player, once the current message is handled, whether to continue the game the
    // lost-connection file holds for this partner; on Yes loads it and sends it. False when
    // there is no such file.
    bool offerResume();
    // The first table of the connection is there (dealt or sent whole): the player may click.
    void firstTableArrived();
    // Dispatch waits while the table moves a card or the end-of-hand dialogs are open.
    void updateHold();
    // Shows one message box at a time, after the current message is handled; later ones wait
    // their turn. alwaysTell: told however many wait before it (the end of the game, a
    // question whose answer decides how the game goes on). The answers run only while the
    // partner is still connected.
    void tellLater(MessageKind kind, const QString& text, std::function<void()> onYes = {},
                   bool alwaysTell = false, std::function<void()> onNo = {});
    void showNotices();

    TfmVelMain& window_;
    NetworkMenu menu_;
    std::unique_ptr<net::Connection> connection_;
    std::unique_ptr<net::NetSession> session_;
    QPointer<TfmChat> chat_;
    QPointer<TfmRuleDifferences> ruleDifferences_;
    QPointer<TfmTryConnect> tryConnect_;
    QTimer* tmTryConnect_ = nullptr;
    QTimer* tmIdentify_ = nullptr;
    QTimer* tmStale_ = nullptr;
    QElapsedTimer clock_;

    int networkRole_ = none;
    bool networkConnected_ = false;
    bool connectionWanted_ = false;
    QString connectMode_;
    QString opponentAddress_;
    QString opponentName_ = "<none>";
    int savedLevel_ = 0;
    bool retryPending_ = false;
    bool disconnecting_ = false;
    bool closing_ = false;
    bool endOfHandHold_ = false;
    bool boxOpen_ = false;
    bool awaitingFirstTable_ = false;
    // Message boxes waiting for the one open to close.
    struct Notice {
        MessageKind kind;
        QString text;
        std::function<void()> onYes;
        std::function<void()> onNo;
    };
    static constexpr std::size_t kMaxWaitingNotices = 3;
    std::deque<Notice> notices_;
};

} // namespace velnora::ui
