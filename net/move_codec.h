#pragma once
// Moves to wire messages and back: the only place that knows which token and payload stand for
// which move. The bytes are the protocol's; nothing is added.

#include "move.h"
#include "wire.h"

#include <optional>
#include <string>

namespace velnora::net {

// The token that carries a move.
Token moveToken(MoveKind kind);
// The whole message of a move: token, 0xFE, payload, 0xFF. A deal sends the stock order.
std::string encodeMove(const Move& move, const Pile& stock);
// The move a game token stands for, reading its payload fields from `rest`; nothing (with the
// reason) when a field cannot be read. The deal and a taken-over table are read by their own
// parsers, so they are no moves here.
std::optional<Move> decodeMove(Token token, std::string& rest, std::string& why);

} // namespace velnora::net
