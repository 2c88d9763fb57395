#include "unseen_cards.h"

#include "seat_exchange.h"

#include <algorithm>
#include <vector>

namespace velnora {

namespace {

bool byFaceAndDeck(const Card& a, const Card& b) {
    return a.face != b.face ? a.face < b.face : a.deck < b.deck;
}

double weightOf(const RankWeights& weights, const Card& c) {
    return std::max(0.0, weights[static_cast<std::size_t>(c.rank())]);
}

} // namespace

GameState dealUnseenCards(const GameState& table, const Layout& layout, Seat seat, Random& rng,
                          const RankWeights& weights) {
    const bool forOpponent = seat == Seat::opponent;
    GameState g = table;
    Pile& hidden = forOpponent ? g.playerHand : g.opponentHand;
    const Pile& realHidden = forOpponent ? table.playerHand : table.opponentHand;
    const Pile& seenTaken = forOpponent ? table.knownPlayerCards : table.knownOpponentCards;

    // The other seat's plans are as hidden as its cards.
    (forOpponent ? g.playerSeatAi : g.ai) = AiMemory{};
    if (forOpponent) {
        // The player's undo list and the table it would go back to name the real hand.
        g.undoStack.clear();
    }

    std::vector<Card> pool(realHidden.begin(), realHidden.end());
    pool.insert(pool.end(), table.stock.begin(), table.stock.end());
    std::sort(pool.begin(), pool.end(), byFaceAndDeck);
    // The cards the other seat was seen taking stay in its hand.
    std::vector<Card> hand;
    for (const Card& k : seenTaken) {
        if (static_cast<int>(hand.size()) >= realHidden.count) break;
        const auto it =
            std::find_if(pool.begin(), pool.end(), [&](const Card& c) { return c.face == k.face; });
        if (it == pool.end()) continue;
        hand.push_back(*it);
        pool.erase(it);
    }
    for (std::size_t i = pool.size(); i > 1; --i)
        std::swap(pool[i - 1], pool[static_cast<std::size_t>(rng(static_cast<int>(i)))]);

    const bool uniform = weights == kUniformRanks;
    std::size_t next = 0;
    while (static_cast<int>(hand.size()) < realHidden.count && next < pool.size()) {
        if (!uniform) {
            // Drawn in proportion to the weights: the chosen card comes to the front of what
            // is left, so the rest keeps the shuffled order.
            double total = 0;
            for (std::size_t i = next; i < pool.size(); ++i)
                total += weightOf(weights, pool[i]);
            if (total > 0) {
                double x = rng.uniform() * total;
                std::size_t pick = next;
                for (; pick + 1 < pool.size(); ++pick) {
                    x -= weightOf(weights, pool[pick]);
                    if (x < 0) break;
                }
                std::swap(pool[next], pool[pick]);
            }
        }
        hand.push_back(pool[next++]);
    }

    clear(hidden);
    clear(g.stock);
    for (const Card& c : hand)
        push(hidden, c);
    if (forOpponent)
        layAsPlayerHand(hidden, layout);
    else
        layAsOpponentRow(hidden, layout, g);
    while (next < pool.size()) {
        Card c = pool[next++];
        c.x = layout.tableLeft;
        c.y = layout.stockY;
        c.faceUp = 0;
        push(g.stock, c);
    }
    if (forOpponent) takeSnapshot(g);
    countRanks(g, layout);
    return g;
}

} // namespace velnora
