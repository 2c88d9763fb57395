// velnora-bench: plays seeded matches headless, the autoplayer against the computer levels,
// checks the table after every action and prints speed, results and a behaviour signature.

#include "ai_common.h"
#include "autoplayer.h"
#include "digest.h"
#include "duel.h"
#include "game.h"
#include "master.h"
#include "network_bench.h"
#include "quiet_host.h"
#include "record_check.h"
#include "rules.h"
#include "settings.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

using namespace velnora;

namespace {

constexpr int kMaxHandsPerMatch = 300;
constexpr int kMaxPlayerTurnsPerMatch = 20000;

// A host that never sleeps or animates, answers "No" to another game, and remembers only what
// the bench reports.
class BenchHost : public QuietHost {
public:
    int hands = 0;
    int computerHandWins = 0;
    int playerHandWins = 0;
    bool matchOver = false;
    std::int32_t finalPlayer = 0, finalOpponent = 0;
    std::string failure;
    Fnv* signature = nullptr;
    // The computer pauses after every card it lays: a settled table worth checking.
    std::function<void()> onPause;

    void pause(int) override {
        if (onPause) onPause();
    }
    MessageAnswer showMessage(MessageKind kind, const std::string& text) override {
        if (text.find("Internal Failure") != std::string::npos ||
            text.find("Meld error") != std::string::npos)
            if (failure.empty()) failure = "message: " + text;
        if (text.find("An error occurred") != std::string::npos && failure.empty())
            failure = "message: " + text;
        return kind == MessageKind::confirmation ? MessageAnswer::yes : MessageAnswer::ok;
    }
    bool showScoring(const HandReport& report) override {
        ++hands;
        const int p = report.player.total(), o = report.opponent.total();
        if (o > p) ++computerHandWins;
        if (p > o) ++playerHandWins;
        if (signature)
            for (std::int32_t v : report.player.v)
                signature->add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(v)));
        if (signature)
            for (std::int32_t v : report.opponent.v)
                signature->add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(v)));
        return false;
    }
    int showGameOver(const MatchReport& report) override {
        matchOver = true;
        finalPlayer = report.playerTotal;
        finalOpponent = report.opponentTotal;
        return kResultNo;
    }
    void fatalError(const std::string& text) override {
        if (failure.empty()) failure = "fatal: " + text;
    }
};

// Plays the computer's turns and checks the table after each of them.
class CheckingDriver : public OpponentDriver {
public:
    ai::ComputerDriver computer;
    std::string* failure = nullptr;
    const int* hands = nullptr; // hands scored so far: a turn that ends the hand is not checked
    long turns = 0;
    void startTurn(Game& game) override {
        ++turns;
        const GameState& s = game.state;
        const bool unmelded = s.opponentMeldPoints == 0;
        const int handsBefore = *hands;
        const Card top = s.discardPile.empty() ? Card{} : s.discardPile.top();
        int minimum = initialMeldMinimumFor(s.opponentTotal);
        computer.startTurn(game);
        std::string why;
        if (failure && failure->empty() && !game.isConsistent(&why))
            *failure = "after a computer turn: " + why + "\n" + toString(game.state);
        if (!failure || !failure->empty() || !unmelded || *hands != handsBefore ||
            s.opponentMeldPoints == 0)
            return;
        // The computer may not make a first meld the rules forbid the player.
        bool taken = top.face != 0;
        for (const Card& c : s.discardPile)
            if (c.face == top.face && c.deck == top.deck) taken = false;
        if (taken && !game.rules.topCardCounts) minimum += top.points();
        const bool exempt = (game.rules.bonusCounts && s.opponentVelnoras.velnoraCount > 0) ||
                            s.opponentHand.empty();
        if (!exempt && s.opponentMeldPoints < minimum)
            *failure = "a first meld of " + std::to_string(s.opponentMeldPoints) +
                       " points below the minimum of " + std::to_string(minimum) + "\n" +
                       toString(s);
    }
};

struct LevelResult {
    int matches = 0;
    int failures = 0;
    long hands = 0;
    long turns = 0;
    int computerMatchWins = 0;
    int computerHandWins = 0;
    double seconds = 0;
    std::uint64_t signature = 0;
};

enum class RulesMode { standard, hoyle, random };

// The rules of the match played from a seed.
RuleSettings rulesFor(RulesMode mode, std::uint64_t seed) {
    if (mode == RulesMode::hoyle) return hoyleRules();
    if (mode == RulesMode::random) {
        Random ruleRng(seed ^ 0x5bd1e995ULL);
        return randomRules(ruleRng);
    }
    return RuleSettings{};
}

// Plays one match; returns false with a message on any failure.
bool playMatch(int level, RulesMode mode, std::uint64_t seed, LevelResult& out, Fnv& sig,
               std::string& failure, bench::RecordCheck* records) {
    BenchHost host;
    host.signature = &sig;
    MemorySettings settings;
    Random rng(seed);
    Game game(host, settings, rng);
    game.rules = rulesFor(mode, seed);
    saveRules(settings, game.rules); // the deal reads "Initial Block" from the store
    game.options.computerLevel = level;
    game.options.showTurns = false;
    CheckingDriver driver;
    driver.failure = &host.failure;
    driver.hands = &host.hands;
    game.setOpponentDriver(&driver);
    ai::AutoPlayer player(game, seed * 0x9E3779B97F4A7C15ULL + 1);
    net::MatchRecorder recorder;
    if (records) {
        recorder.record.rules = game.rules;
        recorder.record.playerName = "Player";
        recorder.record.opponentName = "Computer";
        recorder.record.level = ai::levelName(level);
        game.setMatchListener(&recorder);
    }
    game.state.playerStartsHand = static_cast<std::uint8_t>(rng(2));

    auto check = [&] {
        std::string why;
        if (host.failure.empty() && !game.isConsistent(&why))
            host.failure = "after a player action: " + why + "\n" + toString(game.state);
    };
    host.onPause = [&] {
        std::string why;
        if (host.failure.empty() && !game.isConsistent(&why))
            host.failure = "while the computer melds: " + why + "\n" + toString(game.state);
    };
    long playerTurns = 0;
    int idle = 0;
    try {
        game.newGame();
        check();
        while (!host.matchOver && host.failure.empty()) {
            if (host.hands >= kMaxHandsPerMatch) {
                host.failure =
                    "the match did not end after " + std::to_string(host.hands) + " hands";
                break;
            }
            if (++playerTurns > kMaxPlayerTurnsPerMatch) {
                host.failure = "no progress: too many player turns\n" + toString(game.state);
                break;
            }
            const std::uint64_t before = game.state.stock.count * 1000ULL +
                                         game.state.discardPile.count * 10ULL +
                                         static_cast<std::uint64_t>(host.hands) * 1000000ULL;
            const int actions = player.playTurn(check);
            const std::uint64_t after = game.state.stock.count * 1000ULL +
                                        game.state.discardPile.count * 10ULL +
                                        static_cast<std::uint64_t>(host.hands) * 1000000ULL;
            idle = (actions == 0 || before == after) ? idle + 1 : 0;
            if (idle > 5) {
                host.failure = "the player cannot move\n" + toString(game.state);
                break;
            }
        }
    } catch (const std::exception& e) {
        host.failure = std::string("exception: ") + e.what() + "\n" + toString(game.state);
    }

    out.hands += host.hands;
    out.turns += playerTurns + driver.turns;
    out.computerHandWins += host.computerHandWins;
    if (!host.failure.empty()) {
        failure = host.failure;
        return false;
    }
    if (records)
        records->check(recorder.record, game.state,
                       std::string(ai::levelName(level)) + "-" + std::to_string(seed));
    if (host.finalOpponent > host.finalPlayer) ++out.computerMatchWins;
    sig.add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(host.finalPlayer)));
    sig.add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(host.finalOpponent)));
    const GameState& s = game.state;
    for (const Pile* p : {&s.stock, &s.discardPile, &s.opponentHand, &s.playerHand,
                          &s.opponentMelds, &s.playerMelds})
        sig.add(*p);
    return true;
}

void usage() {
    std::fprintf(
        stderr,
        "usage: velnora-bench [--seed N] [--matches N] "
        "[--level beginner|advanced|expert|master|all] "
        "[--rules default|hoyle|random] [--duel LEVEL:LEVEL] [--master-rounds N] [--threads N] "
        "[--no-inference] [--network] "
        "[--record [DIR|memory]] [--replay]\n");
}

} // namespace

int main(int argc, char** argv) {
    std::uint64_t seed = 1;
    int matches = 100;
    std::vector<int> levels = {0, 1, 2};
    RulesMode mode = RulesMode::standard;
    std::string modeName = "default";
    int duelFirst = -1, duelSecond = -1;
    bool network = false;
    bench::RecordCheck recordCheck;
    bool recording = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const char* v = i + 1 < argc ? argv[i + 1] : nullptr;
        if (a == "--seed" && v) {
            seed = std::strtoull(v, nullptr, 10);
            ++i;
        } else if (a == "--matches" && v) {
            matches = std::atoi(v);
            ++i;
        } else if (a == "--level" && v) {
            const std::string l = v;
            ++i;
            if (l == "all")
                levels = {0, 1, 2};
            else if (l == "beginner" || l == "0")
                levels = {0};
            else if (l == "advanced" || l == "1")
                levels = {1};
            else if (l == "expert" || l == "2")
                levels = {2};
            else if (l == "master" || l == "3")
                levels = {3};
            else {
                usage();
                return 2;
            }
        } else if (a == "--network") {
            network = true;
        } else if (a == "--record") {
            recording = true;
            if (v && v[0] != '-') {
                if (std::strcmp(v, "memory") == 0)
                    recordCheck.memoryOnly = true;
                else
                    recordCheck.directory = v;
                ++i;
            }
        } else if (a == "--replay") {
            recording = true;
            recordCheck.replay = true;
        } else if (a == "--master-rounds" && v) {
            ai::MasterBudget budget = ai::masterBudget();
            budget.rounds = std::atoi(v);
            ai::setMasterBudget(budget);
            ++i;
        } else if (a == "--threads" && v) {
            ai::MasterBudget budget = ai::masterBudget();
            budget.threads = std::atoi(v);
            ai::setMasterBudget(budget);
            ++i;
        } else if (a == "--no-inference") {
            ai::MasterBudget budget = ai::masterBudget();
            budget.inference = false;
            ai::setMasterBudget(budget);
        } else if (a == "--duel" && v) {
            if (!bench::parseDuel(v, duelFirst, duelSecond)) {
                usage();
                return 2;
            }
            ++i;
        } else if (a == "--rules" && v) {
            modeName = v;
            ++i;
            if (modeName == "default")
                mode = RulesMode::standard;
            else if (modeName == "hoyle")
                mode = RulesMode::hoyle;
            else if (modeName == "random")
                mode = RulesMode::random;
            else {
                usage();
                return 2;
            }
        } else {
            usage();
            return 2;
        }
    }
    if (matches <= 0) {
        usage();
        return 2;
    }

    if (network) return bench::runNetwork(seed, matches);
    if (duelFirst >= 0)
        return bench::runDuel(duelFirst, duelSecond, seed, matches, modeName.c_str(),
                              [mode](std::uint64_t s) { return rulesFor(mode, s); }) == 0
                   ? 0
                   : 1;

    int failures = 0;
    long allHands = 0;
    double allSeconds = 0;
    Fnv total;
    std::printf("velnora-bench seed %llu, %d matches per level, rules %s\n",
                static_cast<unsigned long long>(seed), matches, modeName.c_str());
    for (int level : levels) {
        LevelResult r;
        Fnv sig;
        const auto start = std::chrono::steady_clock::now();
        for (int m = 0; m < matches; ++m) {
            std::string failure;
            const std::uint64_t matchSeed = seed * 1000003ULL + static_cast<std::uint64_t>(m);
            ++r.matches;
            if (!playMatch(level, mode, matchSeed, r, sig, failure,
                           recording ? &recordCheck : nullptr)) {
                ++r.failures;
                std::printf("FAIL %s match %d (seed %llu): %s\n", ai::levelName(level), m,
                            static_cast<unsigned long long>(matchSeed), failure.c_str());
            }
        }
        r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        r.signature = sig.h;
        total.add(sig.h);
        failures += r.failures;
        allHands += r.hands;
        allSeconds += r.seconds;
        const double done = r.matches - r.failures;
        std::printf("%-9s matches %d failures %d hands %ld  %.0f hands/s  %.1f turns/hand  "
                    "computer wins: matches %.1f%% hands %.1f%%  signature %016llx\n",
                    ai::levelName(level), r.matches, r.failures, r.hands,
                    r.seconds > 0 ? r.hands / r.seconds : 0.0,
                    r.hands ? static_cast<double>(r.turns) / r.hands : 0.0,
                    done > 0 ? 100.0 * r.computerMatchWins / done : 0.0,
                    r.hands ? 100.0 * r.computerHandWins / r.hands : 0.0,
                    static_cast<unsigned long long>(r.signature));
    }
    if (levels.size() > 1)
        std::printf("%-9s hands %ld  %.0f hands/s\n", "all", allHands,
                    allSeconds > 0 ? allHands / allSeconds : 0.0);
    if (recording) recordCheck.print();
    std::printf("signature %016llx\n", static_cast<unsigned long long>(total.h));
    return failures == 0 && recordCheck.mismatches == 0 ? 0 : 1;
}
