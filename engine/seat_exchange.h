#pragma once
// Exchanging the two seats of a table, and naming the first difference of two tables. A
// computer level plays the player seat by exchanging, playing its turn and exchanging back;
// the network mirror compares its copy with the partner's copy seat-exchanged.

#include "game_state.h"

#include <string>

namespace velnora {

// Exchanges the player and opponent seats in place: hands, melds, velnora tallies, totals,
// meld points, prompts, the rank-count rows, the known cards and the computer's memory of each
// seat. Hands are laid out as their new seat shows them (the player's in rank columns, the
// opponent's in a row) and the meld areas are mirrored, so either seat's actions work on the
// result. Exchanging twice gives back the identical state of any table reached in play.
void exchangeSeats(GameState& state);

// Lays a hand out as the player's: rank columns, each card one step below the previous card of
// its rank, as the player receives them; the columns keep the hand's order.
void layAsPlayerHand(Pile& hand, const Layout& layout);
// Lays a hand out as the opponent's: one row from the left, face down unless the cards are shown.
void layAsOpponentRow(Pile& hand, const Layout& layout, const GameState& g);

// Empty when the two states are equal; otherwise a readable name of the first field or pile
// card that differs, with both values ("playerHand card 3: 10S (45,310) / JS (45,310)").
std::string firstDifference(const GameState& a, const GameState& b);

} // namespace velnora
