#pragma once
// Two copies of the game joined through the real wire codec over a loopback TCP connection,
// each with its own table, host and session, the autoplayer on both player seats. After every
// action both copies must agree up to the exchange of seats. The mirrored-play test and
// velnora-bench --network run it.

#include "autoplayer.h"
#include "game.h"
#include "net_session.h"
#include "quiet_host.h"
#include "seat_exchange.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace velnora::test {

// A connected pair of TCP sockets on 127.0.0.1.
class LoopbackPair {
public:
    LoopbackPair() {
        const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr*>(&addr), len) != 0 ||
            ::listen(listener, 1) != 0 ||
            ::getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
            throw std::runtime_error("no loopback listener");
        fd_[1] = ::socket(AF_INET, SOCK_STREAM, 0);
        if (::connect(fd_[1], reinterpret_cast<sockaddr*>(&addr), len) != 0)
            throw std::runtime_error("no loopback connection");
        fd_[0] = ::accept(listener, nullptr, nullptr);
        ::close(listener);
        if (fd_[0] < 0) throw std::runtime_error("no loopback accept");
        // Small pieces go out at once instead of waiting for the peer's delayed ACK.
        const int one = 1;
        for (int fd : fd_)
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    }
    ~LoopbackPair() {
        for (int fd : fd_)
            if (fd >= 0) ::close(fd);
    }
    LoopbackPair(const LoopbackPair&) = delete;
    LoopbackPair& operator=(const LoopbackPair&) = delete;
    int fd(int side) const { return fd_[side]; }

private:
    std::array<int, 2> fd_{-1, -1};
};

// The table one copy shows of the game with everything that is only display or only the
// local player's turn bookkeeping left out: decks (a move names a face, not a deck, so the
// two copies may move different cards of one face), the order within a hand and the heights
// inside a column (both follow from which of two equal cards moved), the velnora naturals
// (a display count refreshed at different moments for the two seats), the keyboard prompts.
inline GameState mirrorView(const GameState& s) {
    GameState v;
    auto plain = [](Pile p, bool keepHeight) {
        for (Card& c : p.edit()) {
            c.deck = 0;
            if (!keepHeight) c.y = 0;
        }
        if (!keepHeight) {
            const std::span<Card> cards = p.edit();
            std::sort(cards.begin(), cards.end(), [](const Card& a, const Card& b) {
                return a.x != b.x ? a.x < b.x : a.face < b.face;
            });
        }
        return p;
    };
    v.stock = plain(s.stock, true);
    v.discardPile = plain(s.discardPile, true);
    v.playerHand = plain(s.playerHand, false);
    v.playerMelds = plain(s.playerMelds, false);
    v.opponentMelds = plain(s.opponentMelds, false);
    // The opponent's row is ordered by arrival only.
    v.opponentHand = s.opponentHand;
    for (Card& c : v.opponentHand.edit()) {
        c.deck = 0;
        c.x = 0;
    }
    const std::span<Card> row = v.opponentHand.edit();
    std::sort(row.begin(), row.end(), [](const Card& a, const Card& b) { return a.face < b.face; });
    v.opponentHand.columnPos = {};
    v.playerVelnoras = s.playerVelnoras;
    v.opponentVelnoras = s.opponentVelnoras;
    v.playerVelnoras.velnoraNaturals = {};
    v.opponentVelnoras.velnoraNaturals = {};
    v.playerTotal = s.playerTotal;
    v.opponentTotal = s.opponentTotal;
    v.opponentMeldPoints = s.opponentMeldPoints;
    v.pileFrozen = s.pileFrozen;
    v.stockExhausted = s.stockExhausted;
    // A forced take of the top card from an exhausted stock leaves the rest of the pile and
    // sends nothing more, so the partner shows the taking phase until the discard.
    auto phase = [&](int p) {
        const bool drawn = p == kPromptMeldOrDiscardTwice || p == kPromptSecondCard ||
                           (p >= kPromptSelectMeld && p <= kPromptSelectWildcard) ||
                           (p == kPromptTakingPile && s.stockExhausted);
        return static_cast<std::uint8_t>(drawn ? kPromptMeldOrDiscard : p);
    };
    v.promptState = phase(s.promptState);
    v.opponentPromptState = phase(s.opponentPromptState);
    return v;
}

// Empty when copy a's table equals copy b's with the seats exchanged; else the first difference.
inline std::string mirrorDifference(const GameState& a, const GameState& b) {
    GameState exchanged = b;
    exchangeSeats(exchanged);
    return firstDifference(mirrorView(a), mirrorView(exchanged));
}

// One copy of the game: table, host, session and the autoplayer on its player seat.
class MirrorCopy : public QuietHost, public net::NetEvents {
public:
    MirrorCopy(std::uint64_t seed, int fd)
        : rng_(seed), split_(seed ^ 0xA5A5A5A5ULL), fd_(fd), game(*this, settings, rng_),
          player(game, seed * 0x9E3779B97F4A7C15ULL + 7), session(game, *this) {
        game.options.showTurns = false;
        game.options.meldDelay = 0;
    }

    MemorySettings settings;

private:
    Random rng_;
    Random split_;
    int fd_;

public:
    Game game;
    ai::AutoPlayer player;
    net::NetSession session;

    // What the window would have shown
    std::vector<std::string> chats;
    std::vector<std::string> problems; // protocol errors, out-of-step reports, overflows
    std::vector<net::RuleDifference> lastDifferences;
    bool adoptDifferingRules = false;
    int matchesOver = 0;
    int handsOver = 0;
    int tablesReceived = 0;
    int undoPilesSent = 0;
    long bytesWritten = 0;
    long bytesRead = 0;
    bool dispatchDue = false;
    std::string* tap = nullptr; // when set, collects every byte received

    // Reads whatever has arrived, in pieces of random size, and hands it to the session.
    long pump(std::int64_t nowMs) {
        long total = 0;
        std::array<char, 4096> buf{};
        for (;;) {
            const auto want = static_cast<std::size_t>(1 + split_(static_cast<int>(buf.size())));
            const ssize_t n = ::recv(fd_, buf.data(), want, MSG_DONTWAIT);
            if (n <= 0) break;
            total += n;
            bytesRead += n;
            if (tap) tap->append(buf.data(), static_cast<std::size_t>(n));
            session.receive(std::string_view(buf.data(), static_cast<std::size_t>(n)), nowMs);
        }
        if (dispatchDue && !session.dispatchHeld()) {
            dispatchDue = false;
            session.dispatchPending();
        }
        return total;
    }

    // NetEvents
    void writeBytes(const std::string& bytes) override {
        bytesWritten += static_cast<long>(bytes.size());
        if (fd_ < 0) return; // no partner: the fuzzer feeds this copy by hand
        // Cut at random places, so the receiver sees messages split anywhere.
        std::size_t at = 0;
        while (at < bytes.size()) {
            const std::size_t left = bytes.size() - at;
            const std::size_t n =
                split_(3) == 0 ? left
                               : 1 + static_cast<std::size_t>(split_(static_cast<int>(left)));
            std::size_t sent = 0;
            while (sent < n) {
                const ssize_t k = ::send(fd_, bytes.data() + at + sent, n - sent, MSG_NOSIGNAL);
                if (k < 0 && errno == EINTR) continue;
                if (k <= 0) throw std::runtime_error("loopback send failed");
                sent += static_cast<std::size_t>(k);
            }
            at += n;
        }
    }
    void playerIdentified(const std::string&) override {}
    void versionMismatch() override { problems.emplace_back("version mismatch with the partner"); }
    void chatReceived(const std::string& line) override { chats.push_back(line); }
    void rulesReceived(const std::string& local, const std::string& remote) override {
        lastDifferences = net::ruleDifferences(local, remote);
        if (adoptDifferingRules && !lastDifferences.empty()) session.adoptOpponentRules();
    }
    void tableReceived() override { ++tablesReceived; }
    void protocolError(const std::string& text) override { problems.push_back(text); }
    void outOfStep(const std::string& reason) override {
        problems.push_back("out of step: " + reason);
    }
    void bufferOverflow() override { problems.push_back("buffer overflow"); }

    // TableHost: passes moves to the partner, watches messages and plays on after a match.
    void sendMove(const Move& move) override {
        if (move.kind == MoveKind::undoTakePile) ++undoPilesSent;
        session.sendMove(move);
    }
    void holdNetworkMessages(bool hold) override {
        session.setDispatchHeld(hold);
        if (!hold) dispatchDue = true;
    }
    MessageAnswer showMessage(MessageKind kind, const std::string& text) override {
        if (text.find("Internal Failure") != std::string::npos ||
            text.find("An error occurred") != std::string::npos)
            problems.push_back("message: " + text);
        return kind == MessageKind::confirmation ? MessageAnswer::yes : MessageAnswer::ok;
    }
    bool showScoring(const HandReport&) override {
        ++handsOver;
        return false;
    }
    int showGameOver(const MatchReport&) override {
        ++matchesOver;
        return kResultYes;
    }
    void closeApplication() override { problems.push_back("closed"); }
    void fatalError(const std::string& text) override { problems.push_back("fatal: " + text); }
};

// A server copy A and a client copy B joined and identified, for scripted play: each move is
// made on one copy, the bytes are carried over, and the two tables compared.
struct MirroredPair {
    LoopbackPair link;
    MirrorCopy a{3, link.fd(0)};
    MirrorCopy b{4, link.fd(1)};
    std::int64_t now = 0;

    MirroredPair() {
        a.game.options.playerName = "Ann";
        b.game.options.playerName = "Bob";
        a.session.connectionOpened(net::NetRole::server, "Ann");
        b.session.connectionOpened(net::NetRole::client, "Bob");
        settle();
    }
    // Moves bytes until each side has read all the other wrote; false if they never arrive.
    bool settle() {
        for (int spin = 0; spin < 2000; ++spin) {
            now += 1;
            a.pump(now);
            b.pump(now);
            if (a.bytesRead == b.bytesWritten && b.bytesRead == a.bytesWritten && !a.dispatchDue &&
                !b.dispatchDue)
                return true;
            pollfd fds[2] = {{link.fd(0), POLLIN, 0}, {link.fd(1), POLLIN, 0}};
            ::poll(fds, 2, 10);
        }
        return false;
    }
    // Empty when the tables agree up to the exchange of seats and neither copy saw a problem.
    std::string difference() const {
        for (const MirrorCopy* c : {&a, &b}) {
            std::string why;
            if (!c->game.isConsistent(&why)) return "inconsistent table: " + why;
            if (!c->problems.empty()) return "problem: " + c->problems.front();
        }
        return mirrorDifference(a.game.state, b.game.state);
    }
};

struct MirrorOptions {
    std::uint64_t seed = 1;
    int matches = 1;
    bool randomRules = true; // the server plays random rules; the client adopts them
    bool extras = true;      // chat, a NEWGAME and a LOADGAME mid-hand in every match
    bool stopAtMismatch = true;
    std::string* clientTap = nullptr; // collects every byte the client receives
    // When set, hear the server's and the client's table (a match record, say).
    std::array<MatchListener*, 2> listeners{};
};

// A hand longer than this is a stall of the two autoplayers, not a network fault.
constexpr long kMaxTurnsPerHand = 400;

struct MirrorResult {
    int matches = 0;
    int stalledHands = 0;
    long hands = 0;
    long actions = 0;
    int mismatches = 0;
    int undoPiles = 0;
    int tablesSent = 0;
    int newGames = 0;
    int chatsChecked = 0;
    int adoptedRules = 0;
    std::string failure; // the first mismatch, problem or stall, with both tables
};

// Plays opts.matches whole matches between a server copy A and a client copy B.
inline MirrorResult playMirroredMatches(const MirrorOptions& opts) {
    MirrorResult r;
    LoopbackPair link;
    auto a = std::make_unique<MirrorCopy>(opts.seed * 2 + 1, link.fd(0));
    auto b = std::make_unique<MirrorCopy>(opts.seed * 2 + 2, link.fd(1));
    b->tap = opts.clientTap;
    a->game.setMatchListener(opts.listeners[0]);
    b->game.setMatchListener(opts.listeners[1]);
    Random plan(opts.seed ^ 0x7F4A7C15ULL);
    a->game.options.playerName = "Ann";
    b->game.options.playerName = "Bj\xC3\xB8rn";
    if (opts.randomRules) {
        a->game.rules = randomRules(plan);
        // With velnoras required the autoplayers score below zero hand after hand and a match
        // would never reach its end.
        a->game.rules.velnoraRequired = false;
        b->adoptDifferingRules = true;
    }
    std::int64_t now = 0;

    auto fail = [&](const std::string& what) {
        if (r.failure.empty())
            r.failure = what + "\n--- A ---\n" + toString(a->game.state) + "--- B ---\n" +
                        toString(b->game.state);
    };
    // Moves bytes until each side has read all the other wrote.
    auto settle = [&] {
        for (int spin = 0; spin < 2000; ++spin) {
            now += 1;
            a->pump(now);
            b->pump(now);
            if (a->bytesRead == b->bytesWritten && b->bytesRead == a->bytesWritten &&
                !a->dispatchDue && !b->dispatchDue)
                return;
            pollfd fds[2] = {{link.fd(0), POLLIN, 0}, {link.fd(1), POLLIN, 0}};
            ::poll(fds, 2, 10);
        }
        fail("the bytes did not arrive");
    };
    auto check = [&] {
        settle();
        ++r.actions;
        for (MirrorCopy* c : {a.get(), b.get()}) {
            std::string why;
            if (!c->game.isConsistent(&why)) fail("inconsistent table: " + why);
            if (!c->problems.empty()) fail("problem: " + c->problems.front());
        }
        const std::string d = mirrorDifference(a->game.state, b->game.state);
        if (!d.empty()) {
            ++r.mismatches;
            fail("copies differ after action " + std::to_string(r.actions) + ": " + d);
            // Mend it the way a player would: send our table.
            if (!opts.stopAtMismatch) {
                a->session.sendTable();
                settle();
            }
        }
    };

    a->session.connectionOpened(net::NetRole::server, a->game.options.playerName);
    b->session.connectionOpened(net::NetRole::client, b->game.options.playerName);
    settle();
    // The client saw the differences and adopted; the server then sees none.
    if (opts.randomRules && b->lastDifferences.empty() && a->game.rules != RuleSettings{})
        fail("the client was shown no rule differences");
    if (!a->lastDifferences.empty()) fail("rules still differ after adopting");
    if (a->game.rules != b->game.rules) fail("the client did not adopt the server's rules");
    r.adoptedRules = opts.randomRules ? 1 : 0;
    check();

    // The two delimiters and what Latin-1 cannot hold travel as "?"; other accents pass.
    const std::string chatA = "Gl\xC3\xBC"
                              "ck \xC3\xBE und \xC3\xBF";
    const std::string wantA = "Ann: Gl\xC3\xBC"
                              "ck ? und ?";
    const std::string chatB = "\xC3\xBF\xC3\xBE done \xE2\x82\xAC \xC3\xA9";
    const std::string wantB = "Bj\xC3\xB8rn: ?? done ? \xC3\xA9";
    long tableHand = -1;
    int matchAtExtras = -1;
    int idle = 0;
    long turns = 0;
    long handTurns = 0;
    long lastHands = 0;
    while (r.failure.empty() || !opts.stopAtMismatch) {
        if (a->matchesOver >= opts.matches) break;
        if (++turns > 40000L * opts.matches) {
            fail("no end of the matches in sight");
            break;
        }
        MirrorCopy* mover = a->player.isPlayersTurn() ? a.get() : nullptr;
        if (b->player.isPlayersTurn()) {
            if (mover) fail("both copies think it is their turn");
            mover = b.get();
        }
        if (!mover) {
            fail("neither copy can move");
            break;
        }
        MirrorCopy* other = mover == a.get() ? b.get() : a.get();

        // Two players who can only give the pile back to each other never end the hand; a
        // new game (a legal network move) gets the table going again.
        handTurns = a->handsOver == lastHands ? handTurns + 1 : 0;
        lastHands = a->handsOver;
        if (handTurns > kMaxTurnsPerHand) {
            ++r.stalledHands;
            handTurns = 0;
            mover->game.newGame();
            check();
            continue;
        }

        // Once a match, at the second hand: chat both ways, then a new game from the mover.
        if (opts.extras && matchAtExtras != a->matchesOver && a->handsOver > 0 &&
            !mover->game.state.hasDrawn && mover->game.state.gameInProgress) {
            matchAtExtras = a->matchesOver;
            const std::string sentA = a->session.sendChat(chatA);
            const std::string sentB = b->session.sendChat(chatB);
            settle();
            if (sentA != wantA || b->chats.empty() || b->chats.back() != wantA)
                fail("chat A to B arrived as \"" + (b->chats.empty() ? "" : b->chats.back()) +
                     "\"");
            if (sentB != wantB || a->chats.empty() || a->chats.back() != wantB)
                fail("chat B to A arrived as \"" + (a->chats.empty() ? "" : a->chats.back()) +
                     "\"");
            ++r.chatsChecked;
            mover->game.newGame();
            ++r.newGames;
            check();
            continue;
        }

        const long before = r.actions;
        mover->player.playTurn([&] {
            check();
            GameState& s = mover->game.state;
            // Now and then the player clicks the pile again and gives it back.
            if (s.takingPile && plan(3) == 0) {
                mover->game.undoTakePile();
                check();
            }
            // Mid-turn, once in every third hand: the mover sends its whole table.
            if (opts.extras && tableHand != a->handsOver && s.hasDrawn && !s.takingPile &&
                !s.topCardPending && mover->player.isPlayersTurn() && a->handsOver % 3 == 1) {
                tableHand = a->handsOver;
                const int received = other->tablesReceived;
                mover->session.sendTable();
                ++r.tablesSent;
                check();
                if (other->tablesReceived != received + 1) fail("the table was not taken over");
            }
        });
        idle = r.actions == before ? idle + 1 : 0;
        if (idle > 3) {
            fail("the player on turn cannot move");
            break;
        }
    }
    r.matches = a->matchesOver;
    r.hands = a->handsOver;
    r.undoPiles = a->undoPilesSent + b->undoPilesSent;
    return r;
}

} // namespace velnora::test
