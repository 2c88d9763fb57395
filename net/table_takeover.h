#pragma once
// Taking over the table a partner sent with LOADGAME: built as the partner sees it, checked
// card by card, and only then put in place with the seats exchanged.

#include "game.h"
#include "wire.h"

#include <optional>
#include <string>

namespace velnora::net {

// The partner's table as this copy sees it; nothing (with the reason) when its lists do not
// hold the 108 cards of the two decks or a tally disagrees with its columns.
std::optional<GameState> tableFromPartner(const LoadedTable& table, const Layout& layout,
                                          std::string& why);

// Replaces the game's table by the partner's, as after a new deal; false (with the reason, and
// nothing changed) when the table is not whole.
bool takeOverTable(Game& game, const LoadedTable& table, std::string& why);

} // namespace velnora::net
