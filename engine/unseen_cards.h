#pragma once
// The table as one seat knows it: what that seat cannot see is cleared or dealt anew, so that a
// searcher or a hint can play on copies without learning anything it could not have seen.

#include "game_state.h"
#include "layout.h"
#include "random.h"

#include <array>

namespace velnora {

// How likely a card of each rank is to be in the other seat's hand, relative to the unseen
// cards of other ranks: 1 everywhere deals uniformly.
using RankWeights = std::array<double, kColumns>;
inline constexpr RankWeights kUniformRanks = [] {
    RankWeights w{};
    w.fill(1.0);
    return w;
}();

// A copy of the table for `seat`: the other seat's hand (but for the cards it was seen taking
// with the pile) and the stock are dealt anew from rng out of the cards `seat` cannot see, same
// counts, the other hand drawing card by card in proportion to the weight of its rank. The
// other seat's plans and its undo copy are cleared and the rank counts recounted from the new
// deal. The unseen cards are put in order before the deal, so where the real ones lie makes no
// difference to the copy.
GameState dealUnseenCards(const GameState& table, const Layout& layout, Seat seat, Random& rng,
                          const RankWeights& weights = kUniformRanks);

} // namespace velnora
