#include "hint.h"

#include "expert.h"
#include "seat_exchange.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace velnora::ai {

namespace {

// The samples play where nobody looks: every call to the outside does nothing.
class SilentHost : public TableHost {
public:
    void showStatus(const std::string&, bool) override {}
    void setEndHandButton(bool, bool) override {}
    void setUndoEnabled(bool) override {}
    void setRulesHint(const std::string&) override {}
    void showWhoseTurn(const std::string&) override {}
    void repaint(TableArea) override {}
    void animateCard(const Card&, int, int, int, int, bool) override {}
    void pause(int) override {}
    void setBusyCursor(bool) override {}
    void processPendingEvents() override {}
    void playSound(SoundEvent) override {}
    void sendToken(const std::string&, const std::string&) override {}
    MessageAnswer showMessage(MessageKind kind, const std::string&) override {
        return kind == MessageKind::confirmation ? MessageAnswer::yes : MessageAnswer::ok;
    }
    bool showScoring(const HandReport&) override { return false; }
    void showDetails(const HandReport&) override {}
    int showGameOver(const MatchReport&) override { return kResultNo; }
    void recordHighscore(int, int) override {}
    void recordMatchHistory(int, int) override {}
    void recordWinLoss(bool) override {}
    void savePlayerList() override {}
    void closeApplication() override {}
    void fatalError(const std::string& text) override { throw InternalError(text); }
};

enum class Phase { none, draw, meld };

Phase phaseOf(const Game& game) {
    const GameState& s = game.state;
    if (s.inputBlocked || game.endOfHandRunning() || s.promptState == kPromptWaitForDeal ||
        s.promptState == kPromptOpponentsTurn || s.playerHand.count == 0)
        return Phase::none;
    if (!s.hasDrawn) return s.promptState == kPromptDraw ? Phase::draw : Phase::none;
    return Phase::meld;
}

bool byFaceAndDeck(const Card& a, const Card& b) {
    return a.face != b.face ? a.face < b.face : a.deck < b.deck;
}

} // namespace

GameState sampleUnseenCards(const Game& game, Random& rng) {
    const GameState& real = game.state;
    GameState g = real;
    // The computer's plans are as hidden as its cards.
    g.ai = AiMemory{};

    std::vector<Card> pool(real.opponentHand.begin(), real.opponentHand.end());
    pool.insert(pool.end(), real.stock.begin(), real.stock.end());
    std::sort(pool.begin(), pool.end(), byFaceAndDeck);
    // The cards the computer was seen taking stay in its hand.
    std::vector<Card> known;
    for (const Card& k : real.knownOpponentCards) {
        if (static_cast<int>(known.size()) >= real.opponentHand.count) break;
        const auto it =
            std::find_if(pool.begin(), pool.end(), [&](const Card& c) { return c.face == k.face; });
        if (it == pool.end()) continue;
        known.push_back(*it);
        pool.erase(it);
    }
    for (std::size_t i = pool.size(); i > 1; --i)
        std::swap(pool[i - 1], pool[static_cast<std::size_t>(rng(static_cast<int>(i)))]);

    clear(g.opponentHand);
    clear(g.stock);
    std::size_t next = 0;
    for (const Card& c : known)
        push(g.opponentHand, c);
    while (g.opponentHand.count < real.opponentHand.count && next < pool.size())
        push(g.opponentHand, pool[next++]);
    int i = 0;
    for (Card& c : g.opponentHand) {
        c.x = game.layout.tableLeft + g.opponentCardSpacing * i++;
        c.y = kOpponentHandY;
        c.faceUp = g.showOpponentCards;
    }
    while (next < pool.size()) {
        Card c = pool[next++];
        c.x = game.layout.tableLeft;
        c.y = game.layout.stockY;
        c.faceUp = 0;
        push(g.stock, c);
    }
    return g;
}

namespace {

// What one sample's Expert chose, in terms of the player's own cards.
struct Choice {
    Hint::Action action = Hint::Action::none;
    std::vector<int> meldFaces; // sorted
    int discardFace = 0;
    bool redThreeFromMelds = false;

    std::string key() const {
        std::string k(1, static_cast<char>('0' + static_cast<int>(action)));
        for (int f : meldFaces)
            k += "," + std::to_string(f);
        k += "|" + std::to_string(discardFace) + (redThreeFromMelds ? "m" : "");
        return k;
    }
};

Choice playSample(const Game& real, const GameState& sample, Phase phase, std::uint64_t seed) {
    SilentHost host;
    MemorySettings settings;
    Random rng(seed);
    Game game(host, settings, rng);
    game.rules = real.rules;
    game.layout = real.layout;
    game.options = real.options;
    game.options.networkGame = false;
    game.options.reseedFromClock = false;
    game.state = sample;
    exchangeSeats(game.state);
    // A sample that goes out must not score the hand or deal the next one.
    game.holdEndOfHand = true;
    GameState& s = game.state;

    Choice choice;
    ExpertTurn turn(game);
    if (phase == Phase::draw) {
        const int pileBefore = s.discardPile.count;
        const int result = turn.expertDrawPhase();
        choice.action = result == 2                        ? Hint::Action::endHand
                        : s.discardPile.count < pileBefore ? Hint::Action::takePile
                                                           : Hint::Action::drawFromStock;
        return choice;
    }

    std::vector<int> before;
    for (const Card& c : s.opponentHand)
        before.push_back(c.face);
    const int pileBefore = s.discardPile.count;
    turn.expertMeldPhase();
    std::vector<int> after;
    for (const Card& c : s.opponentHand)
        after.push_back(c.face);
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    std::set_difference(before.begin(), before.end(), after.begin(), after.end(),
                        std::back_inserter(choice.meldFaces));
    const int handBeforeDiscard = s.opponentHand.count;
    if (handBeforeDiscard > 0) turn.expertDiscardPhase();
    if (s.discardPile.count > pileBefore) {
        choice.discardFace = s.discardPile.top().face;
        choice.redThreeFromMelds = s.opponentHand.count == handBeforeDiscard;
    }
    choice.action = choice.meldFaces.empty() ? Hint::Action::discard : Hint::Action::meld;
    if (choice.meldFaces.empty() && choice.discardFace == 0) choice.action = Hint::Action::none;
    return choice;
}

std::string labels(const std::vector<int>& faces) {
    std::string text;
    for (int f : faces)
        text += (text.empty() ? "" : " ") + cardLabel(f);
    return text;
}

// Points the choice at the player's own cards: hand indices for the faces, each card once.
Hint describe(const Game& game, const Choice& choice) {
    const GameState& s = game.state;
    Hint hint;
    hint.action = choice.action;
    std::vector<bool> used(static_cast<std::size_t>(s.playerHand.count), false);
    auto take = [&](int face) {
        for (int i = 0; i < s.playerHand.count; ++i)
            if (!used[static_cast<std::size_t>(i)] && s.playerHand.at(i).face == face) {
                used[static_cast<std::size_t>(i)] = true;
                return i;
            }
        return -1;
    };
    for (int f : choice.meldFaces) {
        const int i = take(f);
        if (i >= 0) hint.handIndices.push_back(i);
    }
    if (choice.discardFace != 0) {
        if (choice.redThreeFromMelds) {
            for (int i = 0; i < s.playerMelds.count && hint.meldIndex < 0; ++i)
                if (s.playerMelds.at(i).face == choice.discardFace) hint.meldIndex = i;
        } else {
            hint.thenDiscard = take(choice.discardFace);
        }
    }
    const std::string discardText =
        choice.discardFace == 0 ? std::string()
        : choice.redThreeFromMelds
            ? "discard the red three " + cardLabel(choice.discardFace) + " from your melds"
            : "discard " + cardLabel(choice.discardFace);
    switch (choice.action) {
    case Hint::Action::drawFromStock:
        hint.text = "Hint: draw from the stock.";
        break;
    case Hint::Action::takePile:
        hint.text = "Hint: take the discard pile.";
        break;
    case Hint::Action::endHand:
        hint.text = "Hint: end the hand.";
        break;
    case Hint::Action::meld:
        hint.text = "Hint: meld " + labels(choice.meldFaces) +
                    (discardText.empty() ? "." : ", then " + discardText + ".");
        break;
    case Hint::Action::discard:
        hint.text = "Hint: " + discardText + ".";
        if (hint.thenDiscard >= 0) hint.handIndices.push_back(hint.thenDiscard);
        break;
    case Hint::Action::none:
        hint.text = "Hint: no move to suggest.";
        break;
    }
    return hint;
}

} // namespace

bool hintAvailable(const Game& game) {
    return phaseOf(game) != Phase::none;
}

Hint expertHint(const Game& game, int samples, std::uint64_t seed) {
    const Phase phase = phaseOf(game);
    if (phase == Phase::none) return {};
    Random sampler(seed);
    std::map<std::string, std::pair<int, Choice>> votes;
    std::vector<std::string> order;
    int given = 0;
    for (int n = 0; n < samples; ++n) {
        const GameState sample = sampleUnseenCards(game, sampler);
        Choice choice;
        try {
            choice = playSample(game, sample, phase, seed + 1 + static_cast<std::uint64_t>(n));
        } catch (const std::exception&) {
            continue; // a sample the Expert cannot play gives no vote
        }
        ++given;
        const std::string key = choice.key();
        auto [it, fresh] = votes.try_emplace(key, 0, choice);
        if (fresh) order.push_back(key);
        ++it->second.first;
    }
    if (given == 0) return {};
    // The most votes; on a tie the choice that came up first.
    const std::string* best = &order.front();
    for (const std::string& key : order)
        if (votes[key].first > votes[*best].first) best = &key;
    Hint hint = describe(game, votes[*best].second);
    hint.votes = votes[*best].first;
    hint.samples = given;
    return hint;
}

} // namespace velnora::ai
