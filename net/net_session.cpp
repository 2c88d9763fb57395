// The receive buffer, the dispatcher, the handshake and everything this copy sends.

#include "net_session.h"

#include <algorithm>

namespace velnora::net {

namespace {
// Clears a flag on every way out of a scope.
class FlagGuard {
public:
    explicit FlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagGuard() { flag_ = false; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& flag_;
};
} // namespace

NetSession::NetSession(Game& game, NetEvents& events) : game_(game), events_(events) {}

NetSession::~NetSession() {
    if (game_.opponentDriver() == &driver_) game_.setOpponentDriver(savedDriver_);
}

// Connection

void NetSession::connectionOpened(NetRole role, const std::string& localName) {
    resetReceiveState();
    role_ = role;
    localName_ = cutUtf8(localName, kMaxTextLength);
    connected_ = true;
    identified_ = false;
    stopped_ = false;
    opponentRules_.clear();
    partnerTurnStart_.reset();
    gameMoved_ = false;
    dealAwaitsRules_ = false;
    // The server introduces itself first; the client answers when it has heard the server.
    if (role_ == NetRole::server)
        write(frameMessage(tokenText(Token::playerId), buildPlayerId(localName_)));
}

void NetSession::connectionClosed() {
    resetReceiveState();
    connected_ = false;
    identified_ = false;
    opponentRules_.clear();
    game_.forgetOpponentTake();
    if (game_.options.networkGame) {
        game_.options.networkGame = false;
        game_.options.isServer = false;
        // Rules taken over from the partner were never stored; the stored ones apply again.
        game_.rules = loadRules(game_.settings());
    }
    if (game_.opponentDriver() == &driver_) game_.setOpponentDriver(savedDriver_);
}

bool NetSession::playOnWithoutPartner() {
    if (game_.options.networkGame || game_.endOfHandRunning()) {
        partnerTurnStart_.reset();
        return false;
    }
    if (game_.state.promptState == kPromptWaitForDeal) {
        partnerTurnStart_.reset();
        game_.dealHand();
        return true;
    }
    if (!game_.opponentToMove()) {
        partnerTurnStart_.reset();
        return false;
    }
    // Half a turn cannot be finished by a level, which plays its turns whole; the partner's
    // draw and melds are taken back instead (the player never saw the drawn card).
    takeBackPartnerTurn();
    game_.startOpponentTurn();
    return true;
}

void NetSession::takeBackPartnerTurn() {
    std::optional<GameState> turnStart = std::move(partnerTurnStart_);
    partnerTurnStart_.reset();
    if (turnStart && !game_.endOfHandRunning() && game_.opponentToMove() &&
        (game_.opponentHasDrawn() || game_.opponentTakingPile()))
        game_.rewindToTurnStart(*turnStart);
}

void NetSession::resetReceiveState() {
    receiveBuffer_.clear();
    consumed_ = 0;
    scanned_ = 0;
    completeEnd_ = 0;
    partialSinceMs_ = -1;
    dispatchHeld_ = false;
}

// Receiving

void NetSession::receive(std::string_view bytes, std::int64_t nowMs) {
    if (!connected_ || stopped_ || bytes.empty()) return;
    dropStalePartial(nowMs);
    const bool partialBefore = receiveBuffer_.size() > completeEnd_;
    receiveBuffer_.append(bytes);
    // Only the new bytes are searched, so a message trickling in byte by byte costs linear time.
    bool foundEnd = false;
    for (std::size_t i = scanned_; i < receiveBuffer_.size(); ++i)
        if (receiveBuffer_[i] == kTerminator) {
            completeEnd_ = i + 1;
            foundEnd = true;
        }
    scanned_ = receiveBuffer_.size();
    const std::size_t partial = receiveBuffer_.size() - completeEnd_;
    if (partial == 0)
        partialSinceMs_ = -1;
    else if (!partialBefore || foundEnd)
        partialSinceMs_ = nowMs;

    if (partial > kMaxMessageBytes || buffered() > kMaxBufferBytes) {
        stopped_ = true;
        resetReceiveState();
        events_.bufferOverflow();
        return;
    }
    dispatchPending();
}

bool NetSession::dropStalePartial(std::int64_t nowMs) {
    if (partialSinceMs_ < 0 || nowMs - partialSinceMs_ <= kPartialMessageMaxAgeMs) return false;
    receiveBuffer_.resize(completeEnd_);
    scanned_ = completeEnd_;
    partialSinceMs_ = -1;
    return true;
}

void NetSession::dispatchPending() {
    if (dispatching_) return;
    FlagGuard guard(dispatching_);
    // Messages are read off in one pass and the buffer is cut once at the end: erasing each
    // message from the front made a full buffer of small messages cost seconds.
    while (!stopped_ && !dispatchHeld_ && consumed_ < completeEnd_) {
        const std::size_t end = receiveBuffer_.find(kTerminator, consumed_) + 1;
        std::string message = receiveBuffer_.substr(consumed_, end - consumed_);
        consumed_ = end;
        dispatchOne(std::move(message));
    }
    // A handler may have reset the buffer (the connection ended); then nothing is left to cut.
    receiveBuffer_.erase(0, consumed_);
    completeEnd_ -= consumed_;
    scanned_ -= consumed_;
    consumed_ = 0;
}

void NetSession::dispatchOne(std::string message) {
    std::string rest = message;
    const Token token = TokenNumber(NextField(rest));
    // Whatever a handler leaves of the message is dropped: a chat line carrying the delimiters
    // must never be read as a second message.
    switch (token) {
    case Token::ok:
    case Token::sendAgain:
    case Token::quit:
        return;
    case Token::unknown:
        // Before it has identified itself a caller may be anything (a port scan, another
        // program): nothing it sends reaches the player.
        if (identified_)
            events_.protocolError("Unknown token: " + latin1ToUtf8(message));
        else
            events_.messageDropped("Unknown token: " + latin1ToUtf8(message));
        return;
    case Token::playerId:
        handlePlayerId(std::move(rest));
        return;
    default:
        break;
    }
    // Until the partner has identified itself the connection is no opponent of ours.
    if (!identified_) return;
    switch (token) {
    case Token::chat: {
        std::string line = NextField(rest);
        if (line.size() > kMaxTextLength) line.resize(kMaxTextLength);
        events_.chatReceived(latin1ToUtf8(line));
        return;
    }
    case Token::rules:
        opponentRules_ = rest.substr(0, std::min(rest.find(kTerminator), kMaxTextLength));
        // The server deals before it sends its rules: its deal waited for them.
        if (dealAwaitsRules_) followDealersFreeze();
        events_.rulesReceived(buildRules(game_.rules), opponentRules_);
        return;
    default:
        break;
    }
    // Kept until the partner's turn is over, in case the partner leaves in the middle of it.
    if (game_.opponentToMove() && game_.state.opponentPromptState == kPromptDraw)
        partnerTurnStart_ = game_.state;
    std::string why;
    ApplyResult result;
    try {
        result = driver_.apply(game_, token, rest, why);
    } catch (const InternalError& e) {
        result = ApplyResult::outOfStep;
        why = e.what();
    }
    if (!game_.opponentHasDrawn() && !game_.opponentTakingPile()) partnerTurnStart_.reset();
    if (result == ApplyResult::applied) noteMove(token == Token::deal, token == Token::newGame);
    if (result == ApplyResult::applied && token == Token::deal) {
        dealAwaitsRules_ = true;
        if (!opponentRules_.empty()) followDealersFreeze();
        events_.partnerDealt();
    }
    if (result == ApplyResult::malformed)
        events_.protocolError(why);
    else if (result == ApplyResult::outOfStep)
        events_.outOfStep(why);
    else if (token == Token::loadGame)
        events_.tableReceived();
}

void NetSession::handlePlayerId(std::string rest) {
    // A second identification on the same connection changes nothing.
    if (identified_) return;
    const PlayerId id = parsePlayerId(std::move(rest));
    if (!id.sameVersion) {
        stopped_ = true;
        resetReceiveState();
        events_.versionMismatch();
        return;
    }
    identified_ = true;
    game_.options.networkGame = true;
    game_.options.isServer = role_ == NetRole::server;
    game_.options.remoteName = id.name;
    if (game_.opponentDriver() != &driver_) savedDriver_ = game_.opponentDriver();
    game_.setOpponentDriver(&driver_);
    game_.forgetOpponentTake();
    if (role_ == NetRole::client)
        write(frameMessage(tokenText(Token::playerId), buildPlayerId(localName_)));
    events_.playerIdentified(id.name);
    // Both copies start the match from zero, so the first table is the same on both sides.
    game_.startMatchTotalsFromZero();
    // The deal goes first, then the rules; the client's first freeze waits for the rules. A
    // server that first asks about an unfinished game sends its rules before any table, which
    // is how the client knows not to ask as well.
    if (role_ == NetRole::server && events_.dealsFirstHand()) game_.dealHand();
    sendRules();
}

void NetSession::dealFirstHand() {
    if (identified_ && role_ == NetRole::server) game_.dealHand();
}

// Sending

void NetSession::write(const std::string& bytes) {
    if (connected_) events_.writeBytes(bytes);
}

void NetSession::sendMove(const Move& move) {
    if (!identified_) return;
    // Our own move, or our own deal, ends the wait of a deal the partner made.
    dealAwaitsRules_ = false;
    noteMove(move.kind == MoveKind::deal, move.kind == MoveKind::newGame);
    // A deal's stock order is read from the table at the moment of the deal.
    write(encodeMove(move, game_.state.stock));
}

void NetSession::followDealersFreeze() {
    dealAwaitsRules_ = false;
    // The dealer froze the pile by its own "Discard Pile initially frozen"; a wildcard or red
    // three turned up froze it on both copies anyway.
    bool turnedUp = false;
    for (const Card& c : game_.state.discardPile)
        turnedUp = turnedUp || isWild(c.rank()) || isRedThree(c.face);
    game_.setInitialFreeze(parseRules(opponentRules_).initialBlock || turnedUp);
}

void NetSession::noteMove(bool deal, bool newGame) {
    // Once either seat has moved, the hand's freeze is its own business.
    if (!deal) dealAwaitsRules_ = false;
    // A deal alone leaves nothing to save: both copies can deal it again.
    if (newGame)
        gameMoved_ = false;
    else if (!deal)
        gameMoved_ = true;
}

std::string NetSession::sendChat(const std::string& utf8Text) {
    const std::string wire = utf8ToWireText(localName_ + ": " + utf8Text);
    if (identified_) write(frameMessage(tokenText(Token::chat), wire));
    return latin1ToUtf8(wire);
}

void NetSession::sendRules() {
    if (identified_) write(frameMessage(tokenText(Token::rules), buildRules(game_.rules)));
}

void NetSession::sendTable() {
    if (!identified_) return;
    gameMoved_ = true;
    write(frameMessage(tokenText(Token::loadGame), buildLoadGame(game_.state, game_.layout)));
}

void NetSession::adoptOpponentRules() {
    if (opponentRules_.empty()) return;
    game_.rules = parseRules(opponentRules_);
    sendRules();
}

} // namespace velnora::net
