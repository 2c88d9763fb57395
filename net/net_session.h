#pragma once
// One network game between two copies, without sockets: the connection code hands in the bytes
// it reads and writes out the bytes this class produces. The session buffers and dispatches
// messages, applies the partner's moves to the opponent seat, sends this copy's moves, and
// reports everything the window must show through NetEvents.

#include "game.h"
#include "move_codec.h"
#include "remote_driver.h"
#include "wire.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velnora::net {

// What the window does for the session; the Qt main window implements it.
class NetEvents {
public:
    virtual ~NetEvents() = default;

    // Writes bytes to the active connection (already framed).
    virtual void writeBytes(const std::string& bytes) = 0;
    // A valid first PLAYERID arrived: the partner is `name` (UTF-8). The game is now a network
    // game; after this returns the session sends RULES and, as server, deals the first hand.
    virtual void playerIdentified(const std::string& name) = 0;
    // The partner speaks another protocol version (or no number): tell the player and
    // disconnect. Nothing further is dispatched.
    virtual void versionMismatch() = 0;
    // A chat line arrived (UTF-8, "name: text").
    virtual void chatReceived(const std::string& line) = 0;
    // The partner's rules arrived (both texts in wire form); run the rule comparison.
    virtual void rulesReceived(const std::string& localRules, const std::string& remoteRules) = 0;
    // The partner sent its table with LOADGAME and it was taken over; refresh the window.
    virtual void tableReceived() = 0;
    // An unknown token or a malformed payload; `text` is the message for the player (UTF-8).
    virtual void protocolError(const std::string& text) = 0;
    // A move that does not fit this table: nothing was changed. Tell the player the tables are
    // out of step and offer sendTable().
    virtual void outOfStep(const std::string& reason) = 0;
    // The partner sent more than the buffer may hold: save quietly, disconnect, tell the player.
    virtual void bufferOverflow() = 0;
    // The server is about to deal the first hand of a connection. False when the window first
    // offers to continue a game the two players left unfinished; it then deals with
    // NetSession::dealFirstHand or sends the table it loaded.
    virtual bool dealsFirstHand() { return true; }
    // The partner's DEAL was applied.
    virtual void partnerDealt() {}
    // A message dropped without a word to the player (from a caller that has not identified
    // itself); for the log only.
    virtual void messageDropped(const std::string& /*text*/) {}
};

enum class NetRole { client, server };

class NetSession {
public:
    // Limits of the receive buffer and of an unfinished message's age.
    static constexpr std::size_t kMaxMessageBytes = 64 * 1024;
    static constexpr std::size_t kMaxBufferBytes = 1024 * 1024;
    static constexpr std::int64_t kPartialMessageMaxAgeMs = 60 * 1000;

    NetSession(Game& game, NetEvents& events);
    ~NetSession();
    NetSession(const NetSession&) = delete;
    NetSession& operator=(const NetSession&) = delete;

    // Connection
    // A connection became the active one (server: accepted; client: connected). Clears the
    // receive state; the server sends its PLAYERID at once. localName is UTF-8.
    void connectionOpened(NetRole role, const std::string& localName);
    // The connection ended (Disconnect): the game leaves network mode, the stored rules are
    // read again and the computer drives the opponent seat again.
    void connectionClosed();
    // After connectionClosed, with the computer level set: the computer plays on where the
    // partner left off. A turn the partner had begun is taken back to its start and played
    // whole; a finished hand the partner was to deal is dealt here. True when play went on.
    bool playOnWithoutPartner();
    // The connection is ending in the middle of the partner's turn: the table goes back to the
    // start of that turn, so what is saved of it is whole (a half-made meld of the partner's,
    // whose undo no loaded table keeps, would leave the partner no way to finish the turn).
    void takeBackPartnerTurn();
    // The server's first deal, held back while its player was asked about an unfinished game.
    void dealFirstHand();
    // Either seat has moved (or a game was loaded) since the partner identified itself or the
    // last new game: the table is a game worth saving when the connection breaks.
    bool gameMoved() const { return gameMoved_; }
    // Whether a connection is open / the partner has identified itself on it.
    bool connected() const { return connected_; }
    bool identified() const { return identified_; }

    // Receiving
    // Bytes read from the socket; nowMs is a monotonic clock in milliseconds.
    void receive(std::string_view bytes, std::int64_t nowMs);
    // Drops an unfinished message older than the age limit; call from a timer. True if dropped.
    bool dropStalePartial(std::int64_t nowMs);
    // While held (the end-of-hand dialogs are open), messages wait in the buffer.
    void setDispatchHeld(bool held) { dispatchHeld_ = held; }
    bool dispatchHeld() const { return dispatchHeld_; }
    // Dispatches every complete message that waits, unless held or already dispatching (a
    // modal dialog opened by a handler must not start a second dispatch inside the first).
    void dispatchPending();
    // Bytes waiting in the receive buffer.
    std::size_t buffered() const { return receiveBuffer_.size() - consumed_; }

    // Sending
    // The engine's TableHost::sendMove lands here: encodes and writes the move once the partner
    // has identified itself, else does nothing.
    void sendMove(const Move& move);
    // Sends a chat line of the local player; returns the line as sent, for the local log.
    std::string sendChat(const std::string& utf8Text);
    // Sends the local rules (after the Rules dialog's OK and after "Use Opponent's Rules").
    void sendRules();
    // Sends the whole table with LOADGAME (after loading a game, or to mend an out-of-step).
    void sendTable();

    // Rules
    // The partner's rules text as last received ("" before any).
    const std::string& opponentRules() const { return opponentRules_; }
    // "Use Opponent's Rules": takes the partner's rules for this connection (not stored) and
    // sends RULES with them.
    void adoptOpponentRules();

    // The local player's name as announced (UTF-8).
    const std::string& localName() const { return localName_; }

private:
    void resetReceiveState();
    void dispatchOne(std::string message);
    void handlePlayerId(std::string rest);
    void write(const std::string& bytes);
    void noteMove(bool deal, bool newGame);
    // Freezes the pile of the hand the partner dealt as the partner's rules froze it.
    void followDealersFreeze();

    Game& game_;
    NetEvents& events_;
    RemoteDriver driver_;
    OpponentDriver* savedDriver_ = nullptr;
    NetRole role_ = NetRole::client;
    std::string localName_;
    std::string opponentRules_;
    std::string receiveBuffer_;
    std::size_t consumed_ = 0;         // bytes of receiveBuffer_ dispatched, not yet cut off
    std::size_t scanned_ = 0;          // bytes of receiveBuffer_ already searched for 0xFF
    std::size_t completeEnd_ = 0;      // end of the last complete message in receiveBuffer_
    std::int64_t partialSinceMs_ = -1; // when the unfinished message began
    bool connected_ = false;
    bool identified_ = false;
    bool dispatchHeld_ = false;
    bool dispatching_ = false;
    bool stopped_ = false; // version mismatch or overflow: nothing more is dispatched
    // The table as the partner's turn under way began, before its first move.
    std::optional<GameState> partnerTurnStart_;
    bool gameMoved_ = false;
    // The partner dealt and nobody has moved since: its rules still decide the first freeze.
    bool dealAwaitsRules_ = false;
};

} // namespace velnora::net
