#include "master.h"

#include "digest.h"
#include "sandbox.h"
#include "seat_driver.h"
#include "worker_pool.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <stdexcept>

namespace velnora::ai {

namespace {

using Clock = std::chrono::steady_clock;

// A hand played out seldom needs more than a few dozen turns; a table that goes round this
// often is stuck and the deal gives no verdict.
constexpr int kMaxRolloutTurns = 400;
constexpr int kExpertLevel = 2;

// The Master's seat in a rollout: the Expert, blind to the other hand like the Master itself.
class BlindExpertDriver : public OpponentDriver {
public:
    void startTurn(Game& game) override {
        ExpertTurn turn(game, ExpertSeat{nullptr, true, nullptr});
        turn.play();
    }
};

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The other seat's hand is the player's: the hand's count and the cards seen taken are all
// the opponent seat knows of it.
GameState worldFor(const Game& game, Random& rng, const RankWeights& weights) {
    return dealUnseenCards(game.state, game.layout, Seat::opponent, rng, weights);
}

// Plays one deal out from the decision with the candidate's answer: the rest of the Master's
// turn, then the Expert on both seats to the end of the hand. Returns the Master's hand score
// less the other seat's; throws when the table refuses a move or never ends the hand.
double playOut(const Game& real, const GameState& world, int minimum, bool takeDecision, bool take,
               DiscardChoice discard, std::uint64_t seed) {
    Sandbox box(real, world, seed);
    Game& game = box.game;
    game.setDealsAfterScoring(false);
    BlindExpertDriver driver;
    game.setOpponentDriver(&driver);
    {
        ExpertTurn turn(game, ExpertSeat{nullptr, true, nullptr});
        turn.setMinimum(minimum);
        if (takeDecision) {
            turn.playFrom(take);
        } else {
            const Game::ComputerTurn computer(game);
            if (discard.meldIndex >= 0)
                discardRedThree(game, discard.meldIndex);
            else
                discardFromHand(game, discard.handIndex);
            endTurn(game);
        }
    }
    for (int turns = 0; game.state.promptState != kPromptWaitForDeal; ++turns)
        if (turns > kMaxRolloutTurns || !playPlayerSeatTurn(game, kExpertLevel))
            throw std::runtime_error("the hand does not end");
    return game.lastHandReport.opponent.total() - game.lastHandReport.player.total();
}

thread_local std::vector<double>* thinkLog = nullptr;
thread_local MasterBudget budgetInForce;

} // namespace

void setMasterBudget(const MasterBudget& budget) {
    budgetInForce = budget;
}

const MasterBudget& masterBudget() {
    return budgetInForce;
}

void setMasterThinkLog(std::vector<double>* log) {
    thinkLog = log;
}

std::uint64_t situationSeed(const GameState& s, std::uint64_t salt) {
    Fnv d;
    d.add(salt);
    // By face alone: which of two like cards lies where is no part of the situation.
    for (const Pile* pile :
         {&s.opponentHand, &s.opponentMelds, &s.playerMelds, &s.discardPile, &s.knownPlayerCards}) {
        d.add(static_cast<std::uint64_t>(pile->count));
        for (const Card& c : *pile)
            d.add(static_cast<std::uint64_t>(c.face));
    }
    d.add(static_cast<std::uint64_t>(s.stock.count));
    d.add(static_cast<std::uint64_t>(s.playerHand.count));
    d.add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(s.playerTotal)));
    d.add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(s.opponentTotal)));
    d.add(static_cast<std::uint64_t>(s.pileFrozen));
    return d.h;
}

RankWeights otherHandWeights(const GameState& s) {
    RankWeights w = kUniformRanks;
    // Top down: the player's last discard, the card of ours it passed over, and so on; the
    // older a card, the more the player's hand may have changed since.
    static constexpr double kLikelihood[] = {0.25, 0.4, 0.6, 0.8};
    const int n = std::min(s.discardPile.count, 4);
    for (int i = 0; i < n; ++i) {
        const int r = s.discardPile.at(s.discardPile.count - 1 - i).rank();
        if (r > kRankThree) w[static_cast<std::size_t>(r)] *= kLikelihood[i];
    }
    return w;
}

std::size_t MasterSearch::search(const Game& game, int minimum,
                                 const std::vector<Candidate>& candidates, bool takeDecision) {
    const auto start = Clock::now();
    stats_ = MasterStats{};
    stats_.candidates = static_cast<int>(candidates.size());
    const std::size_t chosen = weigh(game, minimum, candidates, takeDecision, start);
    stats_.changed = chosen != 0;
    stats_.milliseconds = millisecondsSince(start);
    if (thinkLog) thinkLog->push_back(stats_.milliseconds);
    return chosen;
}

std::size_t MasterSearch::weigh(const Game& game, int minimum,
                                const std::vector<Candidate>& candidates, bool takeDecision,
                                std::chrono::steady_clock::time_point start) {
    if (candidates.size() < 2) return 0;

    Random rng(situationSeed(game.state, budget_.salt + (takeDecision ? 1 : 2)));
    const RankWeights weights = budget_.inference ? otherHandWeights(game.state) : kUniformRanks;
    const std::size_t k = candidates.size();
    // Per candidate: the sum and sum of squares of its score less the Expert's on the same deal.
    std::vector<double> sum(k, 0.0), squares(k, 0.0);
    std::vector<bool> alive(k, true);
    enum Outcome : std::uint8_t { played, refused, cut };
    WorkerPool& pool = WorkerPool::shared();
    const int threads = budget_.threads > 0 ? budget_.threads : pool.threads();
    int rounds = 0;
    bool capped = false;
    // The rounds before the screening, then the rest: the deals are made here in the order one
    // thread would make them, so the choice is the same on any number of threads.
    for (int from = 0, to = 0; from < budget_.rounds && !capped; from = to) {
        to = from < budget_.screenRounds ? std::min(budget_.screenRounds, budget_.rounds)
                                         : budget_.rounds;
        if (from == budget_.screenRounds) {
            // Only the most promising discards go on beside the Expert's.
            std::vector<std::size_t> order;
            for (std::size_t c = 1; c < k; ++c)
                if (alive[c]) order.push_back(c);
            std::stable_sort(order.begin(), order.end(),
                             [&](std::size_t a, std::size_t b) { return sum[a] > sum[b]; });
            for (std::size_t i = static_cast<std::size_t>(budget_.survivors); i < order.size(); ++i)
                alive[order[i]] = false;
        }
        // One deal and one generator seed per round for every candidate: their differences are
        // the candidates' own, not the luck of the cards.
        const std::size_t batch = static_cast<std::size_t>(to - from);
        std::vector<GameState> worlds;
        std::vector<std::uint64_t> seeds;
        worlds.reserve(batch);
        for (std::size_t r = 0; r < batch; ++r) {
            worlds.push_back(worldFor(game, rng, weights));
            seeds.push_back(rng.next());
        }
        std::vector<std::size_t> playing;
        for (std::size_t c = 0; c < k; ++c)
            if (alive[c]) playing.push_back(c);
        std::vector<double> scores(batch * k, 0.0);
        std::vector<Outcome> outcomes(batch * k, played);
        pool.run(batch * playing.size(), threads, [&](std::size_t task) {
            const std::size_t r = task / playing.size();
            const std::size_t c = playing[task % playing.size()];
            const std::size_t at = r * k + c;
            if (from + static_cast<int>(r) > 0 && millisecondsSince(start) > budget_.hardCapMs) {
                outcomes[at] = cut;
                return;
            }
            try {
                scores[at] = playOut(game, worlds[r], minimum, takeDecision, candidates[c].take,
                                     candidates[c].discard, seeds[r]);
            } catch (const std::exception&) {
                outcomes[at] = refused;
            }
        });
        for (std::size_t r = 0; r < batch; ++r) {
            const std::size_t at = r * k;
            // A candidate the table refuses is no choice; the Expert's stands regardless.
            if (outcomes[at] == refused) return 0;
            bool roundCut = false;
            for (std::size_t c : playing) {
                if (!alive[c]) continue;
                if (outcomes[at + c] == refused) alive[c] = false;
                roundCut = roundCut || outcomes[at + c] == cut;
            }
            // A round cut short by the cap is dropped whole: its candidates must share the deal.
            if (roundCut) {
                capped = true;
                break;
            }
            for (std::size_t c = 1; c < k; ++c) {
                if (!alive[c]) continue;
                const double diff = scores[at + c] - scores[at];
                sum[c] += diff;
                squares[c] += diff * diff;
            }
            ++rounds;
        }
    }
    stats_.rounds = rounds;
    if (rounds < 2) return 0;

    std::size_t best = 0;
    double bestMean = 0;
    const double n = rounds;
    for (std::size_t c = 1; c < k; ++c) {
        if (!alive[c]) continue;
        const double mean = sum[c] / n;
        const double variance = std::max(0.0, (squares[c] - n * mean * mean) / (n - 1));
        const double error = std::sqrt(variance / n);
        if (mean > bestMean && mean > budget_.margin * error) {
            best = c;
            bestMean = mean;
        }
    }
    return best;
}

bool MasterSearch::decideTake(const Game& game, int minimum, bool expertTakes) {
    std::vector<Candidate> candidates{{expertTakes, {}}};
    // The pile is an answer only when the table would let the seat take it.
    Sandbox view(game, game.state, 0);
    const Counts c = aiRecount(view.game);
    if (expertTakes || canTakeDiscard(view.game, c, game.frozenForSeat(Seat::opponent)))
        candidates.push_back({!expertTakes, {}});
    return candidates[search(game, minimum, candidates, true)].take;
}

DiscardChoice MasterSearch::decideDiscard(const Game& game, int minimum,
                                          DiscardChoice expertChoice) {
    const Pile& hand = game.state.opponentHand;
    std::vector<Candidate> candidates{{false, expertChoice}};
    const int expertRank =
        expertChoice.handIndex >= 0 ? hand.at(expertChoice.handIndex).rank() : -1;
    std::array<bool, kColumns> offered{};
    for (int i = hand.count - 1; i >= 0; --i) {
        const int r = hand.at(i).rank();
        if (r == expertRank || offered[static_cast<std::size_t>(r)]) continue;
        offered[static_cast<std::size_t>(r)] = true;
        candidates.push_back({false, {i, -1}});
    }
    return candidates[search(game, minimum, candidates, false)].discard;
}

bool MasterSearch::takePile(ExpertTurn& turn, bool expertTakes) {
    return decideTake(turn.game(), turn.minimum(), expertTakes);
}

DiscardChoice MasterSearch::discard(ExpertTurn& turn, DiscardChoice expertChoice) {
    return decideDiscard(turn.game(), turn.minimum(), expertChoice);
}

void masterTurn(Game& game) {
    // The mood and the wild card the Expert prefers come from the Master's own generator,
    // seeded from what it sees: the game's stays untouched.
    Random mood(situationSeed(game.state, 0x6d6f6f64));
    MasterSearch search(budgetInForce);
    ExpertTurn turn(game, ExpertSeat{&mood, true, &search});
    turn.play();
}

} // namespace velnora::ai
