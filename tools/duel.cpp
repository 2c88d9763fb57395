#include "duel.h"

#include "ai_common.h"
#include "game.h"
#include "hint.h"
#include "master.h"
#include "recording_host.h"
#include "seat_driver.h"
#include "settings.h"
#include "worker_pool.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace velnora::bench {

namespace {

constexpr int kMaxHandsPerMatch = 300;
constexpr int kMaxTurnsPerMatch = 20000;
constexpr double kZ95 = 1.959964;

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Fnv {
    std::uint64_t h = 0xcbf29ce484222325ULL;
    void add(std::int64_t value) {
        const auto v = static_cast<std::uint64_t>(value);
        for (int i = 0; i < 8; ++i) {
            h ^= (v >> (8 * i)) & 0xFF;
            h *= 0x100000001b3ULL;
        }
    }
};

// Never sleeps; checks the table whenever a level pauses after a card, and keeps the time that
// checks and nested turns take so that a turn's own time can be told apart.
class DuelHost : public test::RecordingHost {
public:
    const Game* game = nullptr;
    std::string failure;
    double excludedSeconds = 0;

    void showStatus(std::string_view, bool) override {}
    void pause(int) override { check("while a level melds"); }
    MessageAnswer showMessage(MessageKind kind, const std::string& text) override {
        for (const char* bad : {"Internal Failure", "Meld error", "An error occurred"})
            if (text.find(bad) != std::string::npos && failure.empty())
                failure = "message: " + text;
        return kind == MessageKind::confirmation ? MessageAnswer::yes : MessageAnswer::ok;
    }
    void fatalError(const std::string& text) override {
        if (failure.empty()) failure = "fatal: " + text;
    }
    void check(const char* when) {
        const auto start = Clock::now();
        std::string why;
        if (failure.empty() && game && !game->isConsistent(&why))
            failure = std::string(when) + ": " + why + "\n" + toString(game->state);
        excludedSeconds += secondsSince(start);
    }
};

using TurnTimes = std::array<std::vector<double>, kLevelCount + 1>;

const char* seatName(int level) {
    return level == kHintSeat ? "Hint" : ai::levelName(level);
}

// The player's turn as the hint plays it: the hint for the draw, then for the melds and the
// discard until the table has gone round to the next draw (or the next hand).
bool playHintTurn(Game& game) {
    const GameState& s = game.state;
    if (!ai::hintAvailable(game) || s.hasDrawn) return false;
    const ai::Hint draw = ai::masterHint(game);
    if (!ai::carryOutHint(game, draw.steps)) return false;
    for (int hints = 0; s.hasDrawn && ai::hintAvailable(game); ++hints) {
        const ai::Hint next = ai::masterHint(game);
        if (hints > 20 || !ai::carryOutHint(game, next.steps)) return false;
    }
    return true;
}

// Times a turn without the checks and the turns nested in it (a hand that ends in a turn
// deals the next one, whose first turn may be the other seat's).
template <typename Play> void timeTurn(DuelHost& host, std::vector<double>& times, Play play) {
    const double excludedBefore = host.excludedSeconds;
    const auto start = Clock::now();
    play();
    const double total = secondsSince(start);
    times.push_back((total - (host.excludedSeconds - excludedBefore)) * 1e6);
    host.excludedSeconds = excludedBefore + total;
}

class TimedLevelDriver : public OpponentDriver {
public:
    TimedLevelDriver(int level, DuelHost& host, TurnTimes& times)
        : level_(level), host_(host), times_(times) {}
    void startTurn(Game& game) override {
        timeTurn(host_, times_[static_cast<std::size_t>(level_)],
                 [&] { ai::playLevelTurn(game, level_); });
        host_.check("after an opponent-seat turn");
    }

private:
    int level_;
    DuelHost& host_;
    TurnTimes& times_;
};

struct MatchOutcome {
    int hands = 0;
    double playerHandShare = 0; // hands the player seat won, ties counting half
    int playerTotal = 0;
    int opponentTotal = 0;
    std::string failure;
};

MatchOutcome playDuelMatch(int playerLevel, int opponentLevel, std::uint64_t seed,
                           const RuleSettings& rules, Fnv& sig, TurnTimes& times) {
    MatchOutcome out;
    DuelHost host;
    MemorySettings settings;
    Random rng(seed);
    Game game(host, settings, rng);
    host.game = &game;
    game.rules = rules;
    saveRules(settings, rules); // the deal reads "Initial Block" from the store
    game.options.showTurns = false;
    TimedLevelDriver opponent(opponentLevel, host, times);
    game.setOpponentDriver(&opponent);
    game.state.playerStartsHand = static_cast<std::uint8_t>(rng(2));
    try {
        game.newGame();
        host.check("after the deal");
        for (int turns = 0; host.gameOvers.empty() && host.failure.empty(); ++turns) {
            if (turns > kMaxTurnsPerMatch || host.scorings.size() > kMaxHandsPerMatch) {
                host.failure = "the match does not end\n" + toString(game.state);
                break;
            }
            bool played = false;
            timeTurn(host, times[static_cast<std::size_t>(playerLevel)], [&] {
                played = playerLevel == kHintSeat ? playHintTurn(game)
                                                  : ai::playPlayerSeatTurn(game, playerLevel);
            });
            if (!played) {
                host.failure = "the player seat cannot move\n" + toString(game.state);
                break;
            }
            host.check("after a player-seat turn");
        }
    } catch (const std::exception& e) {
        host.failure = std::string("exception: ") + e.what() + "\n" + toString(game.state);
    }
    out.failure = host.failure;
    out.hands = static_cast<int>(host.scorings.size());
    for (const HandReport& r : host.scorings) {
        const int p = r.player.total(), o = r.opponent.total();
        out.playerHandShare += p > o ? 1.0 : p == o ? 0.5 : 0.0;
        for (std::int32_t v : r.player.v)
            sig.add(v);
        for (std::int32_t v : r.opponent.v)
            sig.add(v);
    }
    if (!host.gameOvers.empty()) {
        out.playerTotal = host.gameOvers.back().playerTotal;
        out.opponentTotal = host.gameOvers.back().opponentTotal;
    }
    sig.add(out.playerTotal);
    sig.add(out.opponentTotal);
    return out;
}

double share(int mine, int theirs) {
    return mine > theirs ? 1.0 : mine == theirs ? 0.5 : 0.0;
}

// A share summed over deals, with the deal as the unit of the 95 % interval (both matches of a
// deal share its cards, so they are not independent).
struct RatioEstimate {
    std::vector<double> won, of;
    void add(double w, double n) {
        won.push_back(w);
        of.push_back(n);
    }
    double value() const {
        double w = 0, n = 0;
        for (std::size_t i = 0; i < won.size(); ++i) {
            w += won[i];
            n += of[i];
        }
        return n > 0 ? w / n : 0.0;
    }
    double halfWidth() const {
        const std::size_t k = won.size();
        if (k < 2) return 0.0;
        const double p = value();
        double n = 0, squares = 0;
        for (std::size_t i = 0; i < k; ++i) {
            n += of[i];
            squares += (won[i] - p * of[i]) * (won[i] - p * of[i]);
        }
        const double variance = squares * static_cast<double>(k) / static_cast<double>(k - 1);
        return n > 0 ? kZ95 * std::sqrt(variance) / n : 0.0;
    }
};

double percentile(std::vector<double> v, double q) {
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    const auto i = static_cast<std::size_t>(std::ceil(q * static_cast<double>(v.size()))) - 1;
    return v[std::min(i, v.size() - 1)];
}

} // namespace

bool parseDuel(const std::string& pairing, int& first, int& second) {
    const auto colon = pairing.find(':');
    if (colon == std::string::npos) return false;
    auto level = [](std::string word) {
        for (char& ch : word)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        for (int l = 0; l < kLevelCount; ++l) {
            std::string name = ai::levelName(l);
            for (char& ch : name)
                ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            if (word == name || word == name.substr(0, 1) || word == std::to_string(l)) return l;
        }
        return -1;
    };
    first = pairing.substr(0, colon) == "hint" ? kHintSeat : level(pairing.substr(0, colon));
    second = level(pairing.substr(colon + 1));
    return first >= 0 && second >= 0;
}

int runDuel(int first, int second, std::uint64_t seed, int matches, const char* rulesName,
            const std::function<RuleSettings(std::uint64_t)>& rulesFor) {
    const int deals = (matches + 1) / 2;
    const bool hint = first == kHintSeat;
    std::printf("velnora-bench duel %s:%s seed %llu, %d matches (%d deals %s), rules %s\n",
                seatName(first), seatName(second), static_cast<unsigned long long>(seed), 2 * deals,
                deals, hint ? "by the hint and the Master on the player seat" : "from both seats",
                rulesName);
    Fnv sig;
    TurnTimes times;
    std::vector<double> think;
    ai::setMasterThinkLog(&think);
    RatioEstimate matchShare, handShare, playerSeatShare, masterShare;
    long hands = 0;
    int failures = 0;
    const auto start = Clock::now();
    for (int d = 0; d < deals; ++d) {
        const std::uint64_t dealSeed = seed * 1000003ULL + static_cast<std::uint64_t>(d);
        const RuleSettings rules = rulesFor(dealSeed);
        const MatchOutcome a = playDuelMatch(first, second, dealSeed, rules, sig, times);
        const MatchOutcome b =
            hint ? playDuelMatch(ai::kMasterLevel, second, dealSeed, rules, sig, times)
                 : playDuelMatch(second, first, dealSeed, rules, sig, times);
        hands += a.hands + b.hands;
        if (!a.failure.empty() || !b.failure.empty()) {
            ++failures;
            std::printf("FAIL deal %d (seed %llu): %s\n", d,
                        static_cast<unsigned long long>(dealSeed),
                        (a.failure.empty() ? b.failure : a.failure).c_str());
            continue;
        }
        if (hint) {
            matchShare.add(share(a.playerTotal, a.opponentTotal), 1);
            handShare.add(a.playerHandShare, a.hands);
            masterShare.add(share(b.playerTotal, b.opponentTotal), 1);
            continue;
        }
        matchShare.add(
            share(a.playerTotal, a.opponentTotal) + share(b.opponentTotal, b.playerTotal), 2);
        handShare.add(a.playerHandShare + (b.hands - b.playerHandShare), a.hands + b.hands);
        playerSeatShare.add(
            share(a.playerTotal, a.opponentTotal) + share(b.playerTotal, b.opponentTotal), 2);
    }
    const double seconds = secondsSince(start);
    auto interval = [](const RatioEstimate& r) {
        static char text[64];
        std::snprintf(text, sizeof text, "%.1f%% [%.1f, %.1f]", 100 * r.value(),
                      100 * (r.value() - r.halfWidth()), 100 * (r.value() + r.halfWidth()));
        return std::string(text);
    };
    std::printf("matches %d failures %d hands %ld  %.0f hands/s\n", 2 * deals, failures, hands,
                seconds > 0 ? static_cast<double>(hands) / seconds : 0.0);
    std::printf("%s wins: matches %s  hands %s\n", seatName(first), interval(matchShare).c_str(),
                interval(handShare).c_str());
    if (hint)
        std::printf("Master on the same deals and seat wins: matches %s\n",
                    interval(masterShare).c_str());
    else
        std::printf("player seat wins: matches %s\n", interval(playerSeatShare).c_str());
    std::printf("turn time p50/p99:");
    for (int l = 0; l <= kLevelCount; ++l) {
        const auto& t = times[static_cast<std::size_t>(l)];
        if (!t.empty())
            std::printf("  %s %.0f/%.0f us (%zu turns)", seatName(l), percentile(t, 0.5),
                        percentile(t, 0.99), t.size());
    }
    std::printf("\n");
    ai::setMasterThinkLog(nullptr);
    if (!think.empty())
        std::printf("master think time per decision p50/p99/max: %.2f/%.2f/%.2f ms (%zu "
                    "decisions, %d threads)\n",
                    percentile(think, 0.5), percentile(think, 0.99),
                    *std::max_element(think.begin(), think.end()), think.size(),
                    ai::masterBudget().threads > 0 ? ai::masterBudget().threads
                                                   : ai::WorkerPool::shared().threads());
    std::printf("signature %016llx\n", static_cast<unsigned long long>(sig.h));
    return failures;
}

} // namespace velnora::bench
