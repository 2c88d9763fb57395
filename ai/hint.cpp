#include "hint.h"

#include "sandbox.h"

#include "expert.h"
#include "master.h"
#include "meld_check.h"
#include "seat_exchange.h"
#include "unseen_cards.h"

#include <algorithm>
#include <array>
#include <map>
#include <stdexcept>

namespace velnora::ai {

namespace {

enum class Phase { none, draw, takingPile, meld };

Phase phaseOf(const Game& game) {
    const GameState& s = game.state;
    if (s.inputBlocked || game.endOfHandRunning() || s.promptState == kPromptWaitForDeal ||
        s.promptState == kPromptOpponentsTurn || s.playerHand.count == 0)
        return Phase::none;
    if (!s.hasDrawn) return s.promptState == kPromptDraw ? Phase::draw : Phase::none;
    return s.takingPile ? Phase::takingPile : Phase::meld;
}

} // namespace

GameState sampleUnseenCards(const Game& game, Random& rng) {
    return dealUnseenCards(game.state, game.layout, Seat::player, rng);
}

namespace {

using Steps = std::vector<HintStep>;
using Kind = HintStep::Kind;

// A table of its own on which the samples and the checks of a choice play.
struct HintBox : Sandbox {
    HintBox(const Game& real, const GameState& table, std::uint64_t seed)
        : Sandbox(real, table, seed) {
        // A copy that goes out must not score the hand or deal the next one.
        game.holdEndOfHand = true;
    }
};

int wildcardsIn(const Pile& pile) {
    return countRank(pile, kRankJoker) + countRank(pile, kRankTwo);
}

// Cards of a that b lacks, each card once, in a's order.
std::vector<Card> cardsGone(const Pile& a, const Pile& b) {
    std::vector<Card> rest(b.begin(), b.end());
    std::vector<Card> gone;
    for (const Card& c : a) {
        const auto it = std::find_if(rest.begin(), rest.end(), [&](const Card& r) {
            return r.face == c.face && r.deck == c.deck;
        });
        if (it == rest.end())
            gone.push_back(c);
        else
            rest.erase(it);
    }
    return gone;
}

// The cards of each column with its naturals before its wildcards, the columns in the order
// they were first laid to. A velnora the Expert completes is squared up with its wildcards
// below the naturals, so the pile's order can name a wildcard first; the player's click on an
// empty column is refused, and the hint then fell back to a bare discard.
std::vector<Card> naturalsFirst(const std::vector<Card>& laid, const Layout& layout) {
    std::vector<int> columns;
    for (const Card& c : laid) {
        const int column = columnOf(c.x, layout);
        if (std::find(columns.begin(), columns.end(), column) == columns.end())
            columns.push_back(column);
    }
    std::vector<Card> ordered;
    for (const int column : columns)
        for (const bool wild : {false, true})
            for (const Card& c : laid)
                if (columnOf(c.x, layout) == column && isWild(c.rank()) == wild)
                    ordered.push_back(c);
    return ordered;
}

int meldCardOfColumn(const Game& game, int column) {
    const Pile& melds = game.state.playerMelds;
    for (int i = melds.count - 1; i >= 0; --i)
        if (columnOf(melds.at(i).x, game.layout) == column) return i;
    return -1;
}

// Whether the table passed the turn on by itself (the player was stuck with one card).
bool turnPassed(const GameState& g) {
    return g.inputBlocked && !g.hasDrawn;
}

// Whether the hand ended since the stock held stockBefore cards: a deal fills the stock.
bool handOver(const GameState& g, int stockBefore) {
    return g.stock.count > stockBefore || g.promptState == kPromptWaitForDeal;
}

} // namespace

bool carryOutHint(Game& game, const std::vector<HintStep>& steps, std::vector<HintStep>* done) {
    GameState& g = game.state;
    // Wildcards that joined a column by themselves and stand for a later click on that column.
    std::array<int, kColumns> joined{};
    int stock = g.stock.count;
    for (std::size_t n = 0; n < steps.size(); ++n) {
        const HintStep& step = steps[n];
        // A hand that ended on the last click leaves nothing to do but the wildcards that
        // joined by themselves.
        if (n > 0 && handOver(g, stock)) {
            for (std::size_t m = n; m < steps.size(); ++m) {
                if (!steps[m].automatic) return false;
                if (done) done->push_back(steps[m]);
            }
            return true;
        }
        stock = g.stock.count;
        // A wildcard that joins by itself comes with the natural before it, also when that
        // natural went out and the next hand is already dealt.
        if (step.automatic && step.kind == Kind::addWildcard) {
            auto& waiting = joined[static_cast<std::size_t>(step.column)];
            if (waiting <= 0) return false;
            --waiting; // and done has it from that natural
            continue;
        }
        if (g.inputBlocked) return false; // the turn is over
        HintStep did = step;
        const auto play = [&](const Move& move) { return game.applyPlayerMove(move); };
        // The face of the first wildcard the table laid, when it picked one itself.
        const auto wildcardLaid = [](const MoveResult& r) {
            for (const Move& m : r.made)
                if (m.kind == MoveKind::meldWildcard) return m.face;
            return 0;
        };
        switch (step.kind) {
        case Kind::drawFromStock:
            if (!play(Move::of(MoveKind::draw)).accepted) return false;
            break;
        case Kind::takePile:
            if (!play(Move::of(MoveKind::takeTopCard)).accepted) return false;
            break;
        case Kind::undoTakePile:
            if (!play(Move::of(MoveKind::undoTakePile)).accepted) return false;
            break;
        case Kind::endHand:
            if (!play(Move::of(MoveKind::endHand)).accepted) return false;
            break;
        case Kind::meldNatural: {
            const MoveResult r = play(Move::withFace(MoveKind::meld, step.face));
            if (handOver(g, stock)) break; // went out
            if (!r.accepted) return false;
            if (done) done->push_back(did);
            // A pair of naturals takes its third card from the wildcards by itself.
            for (const Move& m : r.made) {
                if (m.kind != MoveKind::meldWildcard) continue;
                ++joined[static_cast<std::size_t>(m.column)];
                if (done) done->push_back({Kind::addWildcard, m.face, m.column, true});
            }
            continue;
        }
        case Kind::addWildcard: {
            auto& waiting = joined[static_cast<std::size_t>(step.column)];
            if (waiting > 0) {
                --waiting; // already there
                continue;
            }
            if (step.column == kRankTwo) return false;
            const MoveResult r = play(Move::meldWildcardAt(0, step.column));
            if (handOver(g, stock)) break; // went out
            if (!r.accepted) return false;
            did.face = wildcardLaid(r);
            break;
        }
        case Kind::wildcardVelnora: {
            const MoveResult r = play(Move::meldWildcardAt(0, kRankTwo));
            if (handOver(g, stock)) break; // went out
            if (!r.accepted) return false;
            did.face = wildcardLaid(r);
            break;
        }
        case Kind::undoAll: {
            if (g.undoStack.empty()) return false;
            game.undoAll();
            if (!g.undoStack.empty()) return false;
            break;
        }
        case Kind::discard:
            if (!play(Move::withFace(MoveKind::discard, step.face)).accepted) return false;
            break;
        case Kind::discardRedThree:
            if (!play(Move::withFace(MoveKind::discardRedThree, step.face)).accepted) return false;
            break;
        }
        if (done) done->push_back(did);
    }
    return true;
}

namespace {

// The Expert's choice on one sample, as the player's clicks.
Steps expertSteps(const Game& real, GameState sample, Phase phase, std::uint64_t seed,
                  ExpertAdvisor* advisor) {
    const Layout& layout = real.layout;
    HintBox box(real, sample, seed);
    GameState& s = box.game.state;
    exchangeSeats(s);
    // The sample's computer hand is a guess: the Expert on the player's seat must not count on
    // it.
    ExpertTurn turn(box.game, ExpertSeat{nullptr, true, advisor});
    // Melding the sample's last card must not score the sample's hand under the plan.
    const Game::ComputerTurn planning(box.game);
    turn.setMinimum(s.initialMeldMinimum);

    if (phase == Phase::draw) {
        const int pileBefore = s.discardPile.count;
        turn.expertBeginDraw();
        bool take = turn.expertTakePile();
        if (advisor) take = advisor->takePile(turn, take);
        const int result = turn.expertTakeOrDraw(take);
        if (result == 2) return {{Kind::endHand}};
        if (s.discardPile.count < pileBefore) return {{Kind::takePile}};
        return {{Kind::drawFromStock}};
    }

    // The Expert rolls its mood at the start of its turn and melds by it; the draw was played
    // on other copies, so the mood is rolled here again. Left at the memory's zero, the mood
    // was never aggressive: the Expert then holds its melds back for the pile, goes out only
    // late, and the hint said "discard" turn after turn.
    turn.expertBeginDraw();
    const Pile meldsBefore = s.opponentMelds;
    const int pileBefore = s.discardPile.count;
    if (phase == Phase::takingPile) {
        // The top card lies among the melds on both tables; whether the seat had melded before
        // it went down decides how the Expert goes on.
        const int topPoints = cardPoints(s.takenTopCard.face);
        turn.expertMeldTakenTop(s.takenTopRank, s.opponentMeldPoints - topPoints > 0);
    } else {
        turn.expertMeldPhase();
    }
    Steps steps;
    // The placements, in the order they were made.
    for (const Card& c : naturalsFirst(cardsGone(s.opponentMelds, meldsBefore), layout)) {
        if (isRedThree(c.face)) continue; // laid by the game itself
        const int column = columnOf(c.x, layout);
        if (!isWild(c.rank()))
            steps.push_back({Kind::meldNatural, c.face, c.rank()});
        else if (column == kRankTwo)
            steps.push_back({Kind::wildcardVelnora, c.face, column});
        else
            steps.push_back({Kind::addWildcard, c.face, column});
    }
    if (phase == Phase::meld && s.opponentHand.count > 0) {
        const int handBeforeDiscard = s.opponentHand.count;
        turn.expertDiscardPhase();
        if (s.discardPile.count > pileBefore) {
            const int face = s.discardPile.top().face;
            steps.push_back(
                {s.opponentHand.count == handBeforeDiscard ? Kind::discardRedThree : Kind::discard,
                 face, 0});
        }
    }
    return steps;
}

struct Checked {
    bool accepted = false;
    Steps done;
    Steps completion; // after a pile take: the melds that finish it
};

Steps completeTake(const Game& real, const GameState& table);

// Carries the steps out on a sample and says whether they leave the table where the player
// can go on: a draw, a finished (or finishable) pile take, a finished turn.
Checked check(const Game& real, const GameState& sample, const Steps& steps, Phase phase) {
    Checked result;
    HintBox box(real, sample, 1);
    GameState& g = box.game.state;
    if (steps.empty() || !carryOutHint(box.game, steps, &result.done)) return result;
    const Kind last = steps.back().kind;
    if (last == Kind::takePile) {
        if (g.takingPile) {
            result.completion = completeTake(real, g);
            result.accepted = !result.completion.empty();
        } else {
            result.accepted = true;
        }
        return result;
    }
    if (phase == Phase::draw) {
        result.accepted = true;
        return result;
    }
    if (phase == Phase::takingPile) {
        result.accepted = last == Kind::undoTakePile || (!g.takingPile && g.hasDrawn);
        return result;
    }
    // The meld phase ends the turn: by a discard, by going out, or by the pass of the game.
    result.accepted = last == Kind::discard || last == Kind::discardRedThree || turnPassed(g) ||
                      (g.playerHand.empty() && validateForCommit(g, real.rules, real.layout, 0));
    return result;
}

// The least the player can meld to finish taking the pile: naturals of the top card's rank,
// wildcards on them, and, when the first meld is short of its minimum, whole ranks from the
// hand, the most valuable first. Empty when the cards in hand cannot finish it.
Steps completeTake(const Game& real, const GameState& table) {
    const int r = table.takenTopRank;
    std::vector<int> naturals;
    for (const Card& c : table.playerHand)
        if (c.rank() == r) naturals.push_back(c.face);
    const int wild = wildcardsIn(table.playerHand);
    std::vector<int> others;
    for (int rank = kRankThree + 1; rank <= kRankAce; ++rank)
        if (rank != r && countRank(table.playerHand, rank) >= 3) others.push_back(rank);
    std::stable_sort(others.begin(), others.end(),
                     [](int a, int b) { return pointsOfRank(a) > pointsOfRank(b); });

    const std::size_t maxOthers = std::min<std::size_t>(others.size(), 4);
    for (std::size_t extra = 0; extra <= maxOthers; ++extra) {
        Steps best;
        std::size_t bestCards = 0;
        for (std::size_t n = 0; n <= naturals.size(); ++n) {
            for (int w = 0; w <= std::min(wild, 3); ++w) {
                Steps steps;
                for (std::size_t k = 0; k < n; ++k)
                    steps.push_back({Kind::meldNatural, naturals[k], r});
                for (int k = 0; k < w; ++k)
                    steps.push_back({Kind::addWildcard, 0, r});
                for (std::size_t e = 0; e < extra; ++e)
                    for (const Card& c : table.playerHand)
                        if (c.rank() == others[e])
                            steps.push_back({Kind::meldNatural, c.face, c.rank()});
                if (steps.empty()) continue;
                HintBox box(real, table, 1);
                Steps done;
                if (!carryOutHint(box.game, steps, &done)) continue;
                const GameState& g = box.game.state;
                if (g.takingPile || !g.hasDrawn) continue;
                if (best.empty() || done.size() < bestCards) {
                    best = done;
                    bestCards = done.size();
                }
            }
        }
        if (!best.empty()) return best;
    }
    return {};
}

// The faces of a hand, the cheapest card to lose first and wildcards last.
std::vector<int> cheapestFirst(const Pile& hand) {
    std::vector<int> order;
    for (const Card& c : hand)
        order.push_back(c.face);
    std::stable_sort(order.begin(), order.end(), [](int a, int b) {
        const bool wa = isWild(rankOf(a)), wb = isWild(rankOf(b));
        return wa != wb ? wb : cardPoints(a) < cardPoints(b);
    });
    return order;
}

// A choice the game accepts when no sample's Expert gave one.
Steps fallbackSteps(const Game& real, const GameState& sample, Phase phase) {
    const GameState& g = real.state;
    auto accepted = [&](const Steps& steps) { return check(real, sample, steps, phase).accepted; };
    if (phase == Phase::draw) {
        for (const Steps& steps :
             {Steps{{Kind::drawFromStock}}, Steps{{Kind::takePile}}, Steps{{Kind::endHand}}})
            if (accepted(steps)) return steps;
        return {};
    }
    if (phase == Phase::takingPile) {
        Steps steps = completeTake(real, sample);
        if (!steps.empty()) return steps;
        return {{Kind::undoTakePile}};
    }
    for (int face : cheapestFirst(g.playerHand))
        if (accepted({{Kind::discard, face, 0}})) return {{Kind::discard, face, 0}};
    if (!g.undoStack.empty()) {
        HintBox box(real, sample, 1);
        box.game.undoAll();
        for (int face : cheapestFirst(box.game.state.playerHand))
            if (accepted({{Kind::undoAll}, {Kind::discard, face, 0}}))
                return {{Kind::undoAll}, {Kind::discard, face, 0}};
    }
    return {};
}

std::string key(const Steps& steps) {
    std::string k;
    for (const HintStep& s : steps)
        k += std::to_string(static_cast<int>(s.kind)) + ":" + std::to_string(s.face) + ":" +
             std::to_string(s.column) + (s.automatic ? "a" : "") + ",";
    return k;
}

std::string labels(const std::vector<int>& faces) {
    std::string text;
    for (int f : faces) {
        if (!text.empty()) text += ' ';
        text += cardName(f);
    }
    return text;
}

std::string columnName(int column) {
    static const char* const kNames[kColumns] = {
        "wildcards", "wildcards", "threes", "fours", "fives",  "sixes", "sevens",
        "eights",    "nines",     "tens",   "jacks", "queens", "kings", "aces"};
    return kNames[static_cast<std::size_t>(std::clamp(column, 0, kColumns - 1))];
}

// The melds of the steps in words, in the order they are to be made (the game gives a joker
// before a two, so the order decides which wildcard goes where), short enough for the status
// line: runs of naturals with the wildcards that join them by themselves, and the clicks on
// melds that add a wildcard.
std::string meldWords(const Steps& steps) {
    std::vector<std::string> phrases;
    std::string melds;
    std::vector<int> group, plus;
    int groupRank = -1;
    const HintStep* lastClick = nullptr;
    auto flushGroup = [&] {
        if (group.empty()) return;
        melds += (melds.empty() ? "meld " : ", ") + labels(group);
        if (!plus.empty()) melds += " (+" + labels(plus) + ")";
        group.clear();
        plus.clear();
    };
    auto flushMelds = [&] {
        flushGroup();
        if (!melds.empty()) phrases.push_back(melds);
        melds.clear();
        groupRank = -1;
    };
    for (const HintStep& step : steps) {
        if (step.kind == Kind::meldNatural) {
            if (step.column != groupRank) flushGroup();
            group.push_back(step.face);
            groupRank = step.column;
            lastClick = nullptr;
        } else if (step.kind == Kind::addWildcard && step.automatic) {
            plus.push_back(step.face);
        } else if (step.kind == Kind::addWildcard || step.kind == Kind::wildcardVelnora) {
            flushMelds();
            if (lastClick && lastClick->kind == step.kind && lastClick->column == step.column) {
                phrases.back() += " " + cardName(step.face);
            } else if (step.kind == Kind::addWildcard) {
                phrases.push_back("click the " + columnName(step.column) + " for " +
                                  cardName(step.face));
            } else {
                phrases.push_back("click a wildcard in your hand for the wildcard velnora: " +
                                  cardName(step.face));
            }
            lastClick = &step;
        }
    }
    flushMelds();
    std::string text;
    for (const std::string& phrase : phrases)
        text += (text.empty() ? "" : "; ") + phrase;
    return text;
}

// Points the carried-out steps at the player's own cards and words them.
Hint describe(const Game& game, const Steps& done, const Steps& completion) {
    const GameState& s = game.state;
    Hint hint;
    hint.steps = done;
    std::vector<bool> used(static_cast<std::size_t>(s.playerHand.count), false);
    // The discard is marked only when nothing goes down first: one colour, one kind of click.
    const bool anyMeld = std::any_of(done.begin(), done.end(), [](const HintStep& step) {
        return step.kind == Kind::meldNatural || step.kind == Kind::addWildcard ||
               step.kind == Kind::wildcardVelnora;
    });
    // After Undo All the hand is another: the cards are named, not marked.
    const bool undoFirst = !done.empty() && done.front().kind == Kind::undoAll;
    // Of two cards alike the one lying on top of its column, which shows whole, is marked.
    auto take = [&](int face, bool mark = true) {
        if (undoFirst) return -1;
        int best = -1;
        for (int i = 0; i < s.playerHand.count; ++i)
            if (!used[static_cast<std::size_t>(i)] && s.playerHand.at(i).face == face &&
                (best < 0 || s.playerHand.at(i).y > s.playerHand.at(best).y))
                best = i;
        if (best < 0) return -1;
        used[static_cast<std::size_t>(best)] = true;
        if (mark) hint.handIndices.push_back(best);
        return best;
    };

    std::string discardText;
    bool undoAll = false;
    for (const HintStep& step : done) {
        switch (step.kind) {
        case Kind::meldNatural:
        case Kind::wildcardVelnora:
            take(step.face);
            break;
        case Kind::addWildcard:
            take(step.face);
            if (!step.automatic && !undoFirst) {
                const int i = meldCardOfColumn(game, step.column);
                if (i >= 0 && std::find(hint.meldIndices.begin(), hint.meldIndices.end(), i) ==
                                  hint.meldIndices.end())
                    hint.meldIndices.push_back(i);
            }
            break;
        case Kind::discard:
            hint.thenDiscard = take(step.face, !anyMeld);
            discardText = "discard " + cardName(step.face);
            break;
        case Kind::discardRedThree:
            for (int i = 0; i < s.playerMelds.count; ++i)
                if (s.playerMelds.at(i).face == step.face) {
                    hint.meldIndices.push_back(i);
                    break;
                }
            discardText = "right-click the red three " + cardName(step.face) + " in your melds";
            break;
        case Kind::undoAll:
            undoAll = true;
            break;
        default:
            break;
        }
    }
    const std::string melds = meldWords(done);

    const Kind first = done.empty() ? Kind::drawFromStock : done.front().kind;
    if (done.empty()) {
        hint.action = Hint::Action::none;
        hint.text = "Hint: no move to suggest.";
    } else if (first == Kind::drawFromStock) {
        hint.action = Hint::Action::drawFromStock;
        hint.text = "Hint: draw from the stock.";
    } else if (first == Kind::takePile) {
        hint.action = Hint::Action::takePile;
        hint.text = "Hint: take the discard pile.";
        if (!completion.empty()) {
            hint.text = "Hint: take the pile, then " + meldWords(completion) + ".";
        }
    } else if (first == Kind::endHand) {
        hint.action = Hint::Action::endHand;
        hint.text = "Hint: end the hand.";
    } else if (first == Kind::undoTakePile) {
        hint.action = Hint::Action::undoTakePile;
        hint.text = "Hint: your cards cannot finish this take; click the pile to give it back "
                    "(costs 50 points).";
    } else if (undoAll) {
        hint.action = Hint::Action::undoMelds;
        std::vector<std::string> then;
        if (!melds.empty()) then.push_back(melds);
        if (!discardText.empty()) then.push_back(discardText);
        hint.text = "Hint: Undo All (Ctrl+Del)";
        for (const std::string& t : then)
            hint.text += "; then " + t;
        hint.text += ".";
    } else if (s.takingPile) {
        hint.action = Hint::Action::completeTake;
        hint.text = "Hint: to take the pile, " + melds + ".";
    } else if (!melds.empty()) {
        hint.action = Hint::Action::meld;
        hint.text = "Hint: " + melds + (discardText.empty() ? "." : "; then " + discardText + ".");
    } else {
        hint.action = Hint::Action::discard;
        hint.text = "Hint: " + discardText + ".";
    }
    return hint;
}

} // namespace

bool hintAvailable(const Game& game) {
    return phaseOf(game) != Phase::none;
}

Hint expertHint(const Game& game, int samples, std::uint64_t seed) {
    return hintOnSamples(game, samples, seed, nullptr);
}

Hint masterHint(const Game& game, std::uint64_t seed) {
    // The search reads only what the player sees, so every sample would give the same
    // answer: one is enough.
    MasterSearch search(masterBudget());
    return hintOnSamples(game, 1, seed, &search);
}

Hint hintOnSamples(const Game& game, int samples, std::uint64_t seed, ExpertAdvisor* advisor) {
    const Phase phase = phaseOf(game);
    if (phase == Phase::none) return {};
    Random sampler(seed);
    struct Vote {
        int count = 0;
        Checked checked;
    };
    std::map<std::string, Vote> votes;
    std::vector<std::string> order;
    int given = 0;
    GameState firstSample;
    for (int n = 0; n < samples; ++n) {
        const GameState sample = sampleUnseenCards(game, sampler);
        if (n == 0) firstSample = sample;
        Checked checked;
        try {
            const Steps steps =
                expertSteps(game, sample, phase, seed + 1 + static_cast<std::uint64_t>(n), advisor);
            checked = check(game, sample, steps, phase);
        } catch (const std::exception&) {
            continue; // a sample the Expert cannot play gives no vote
        }
        if (!checked.accepted && phase == Phase::meld && !game.state.undoStack.empty()) {
            // Melds of this turn the Expert cannot build on (half a meld, say): it plays the
            // turn again from what the player held before them.
            try {
                HintBox box(game, sample, 1);
                box.game.undoAll();
                Steps steps{{Kind::undoAll}};
                const Steps more = expertSteps(game, box.game.state, phase,
                                               seed + 1 + static_cast<std::uint64_t>(n), advisor);
                steps.insert(steps.end(), more.begin(), more.end());
                checked = check(game, sample, steps, phase);
            } catch (const std::exception&) {
                continue;
            }
        }
        if (!checked.accepted) continue; // nor does a choice the game would refuse
        ++given;
        const std::string k = key(checked.done);
        auto [it, fresh] = votes.try_emplace(k);
        if (fresh) {
            order.push_back(k);
            it->second.checked = checked;
        }
        ++it->second.count;
    }
    if (given == 0) {
        if (samples <= 0) return {};
        Hint hint;
        try {
            const Checked checked =
                check(game, firstSample, fallbackSteps(game, firstSample, phase), phase);
            if (!checked.accepted) return {};
            hint = describe(game, checked.done, checked.completion);
        } catch (const std::exception&) {
            return {};
        }
        hint.samples = 1; // one table, no vote
        return hint;
    }
    // The most votes; on a tie the choice that came up first.
    const std::string* best = &order.front();
    for (const std::string& k : order)
        if (votes[k].count > votes[*best].count) best = &k;
    const Vote& vote = votes[*best];
    Hint hint = describe(game, vote.checked.done, vote.checked.completion);
    hint.votes = vote.count;
    hint.samples = given;
    return hint;
}

} // namespace velnora::ai
