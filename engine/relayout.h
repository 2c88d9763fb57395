#pragma once
// Moving the cards on the table from one table size to another, so that every card keeps its
// rank column and its distance from its row's base line.

#include "game_state.h"
#include "layout.h"

namespace velnora {

// Moves every card and column position of the hand and meld rows, and the stock and discard
// pile, from the layout `from` to the layout `to`. The opponent's hand row does not move.
void relayout(GameState& g, const Layout& from, const Layout& to);

} // namespace velnora
