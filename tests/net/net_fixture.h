#pragma once
// One copy of the game with a session on a pretend connection: what it writes is recorded and
// what the partner would send is fed in by hand.

#include "net_session.h"
#include "recording_host.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velnora::test {

// Records what the session reports; a hook runs inside the error report (re-entrancy tests).
class RecordingEvents : public net::NetEvents {
public:
    std::string written;
    std::vector<std::string> identified, chats, errors, stepReports;
    int mismatches = 0, overflows = 0, tables = 0, rules = 0;
    std::function<void()> duringError;

    void writeBytes(const std::string& bytes) override { written += bytes; }
    void playerIdentified(const std::string& name) override { identified.push_back(name); }
    void versionMismatch() override { ++mismatches; }
    void chatReceived(const std::string& line) override { chats.push_back(line); }
    void rulesReceived(const std::string&, const std::string&) override { ++rules; }
    void tableReceived() override { ++tables; }
    void protocolError(const std::string& text) override {
        errors.push_back(text);
        if (duringError) {
            auto hook = std::move(duringError);
            duringError = nullptr;
            hook();
        }
    }
    void outOfStep(const std::string& reason) override { stepReports.push_back(reason); }
    void bufferOverflow() override { ++overflows; }
};

// A RecordingHost that hands the engine's moves and the end-of-hand hold to the session.
class SessionHost : public RecordingHost {
public:
    net::NetSession* session = nullptr;
    bool releaseDue = false;
    void sendMove(const Move& move) override {
        RecordingHost::sendMove(move);
        if (session) session->sendMove(move);
    }
    void holdNetworkMessages(bool hold) override {
        if (!session) return;
        session->setDispatchHeld(hold);
        if (!hold) releaseDue = true;
    }
};

inline std::string msg(const std::string& token, const std::string& payload = "") {
    return net::frameMessage(token, payload);
}

struct NetTable {
    SessionHost host;
    MemorySettings settings;
    Random rng{42};
    Game game{host, settings, rng};
    RecordingEvents events;
    net::NetSession session{game, events};
    std::int64_t now = 0;

    NetTable() {
        host.session = &session;
        game.options.showTurns = false;
        game.options.meldDelay = 0;
    }
    void feed(const std::string& bytes) { session.receive(bytes, now); }

    // Connected as client to "Rita", who has identified herself; nothing dealt yet.
    void connect() {
        session.connectionOpened(net::NetRole::client, "Me");
        feed(msg("PLAYERID", net::buildPlayerId("Rita")));
        events.written.clear();
    }
    // Connected, and Rita dealt a hand from a fixed shuffle; ritaStarts decides who draws.
    void connectAndDeal(bool ritaStarts) {
        connect();
        Random shuffle(7);
        GameState dealer;
        buildDeck(dealer, shuffle, game.layout);
        feed(msg("DEAL", net::buildDeal(dealer.stock, ritaStarts)));
        events.written.clear();
    }
};

} // namespace velnora::test
