// Reading the partner's game tokens: the wire codec turns each into a move, and the engine
// plays it on the opponent seat or refuses it with the table unchanged.

#include "remote_driver.h"

#include "move_codec.h"
#include "table_takeover.h"

namespace velnora::net {

ApplyResult RemoteDriver::apply(Game& game, Token token, std::string& rest, std::string& why) {
    if (token == Token::deal)
        return deal(game, rest.substr(0, rest.empty() ? 0 : rest.size() - 1), why);
    if (token == Token::loadGame) return loadGame(game, rest, why);
    const std::optional<Move> move = decodeMove(token, rest, why);
    if (!move) return ApplyResult::malformed;
    MoveResult result = game.applyOpponentMove(*move);
    if (result.accepted) return ApplyResult::applied;
    why = std::move(result.why);
    return ApplyResult::outOfStep;
}

ApplyResult RemoteDriver::deal(Game& game, const std::string& payload, std::string& why) {
    // The DEAL payload holds raw bytes, so it is read by position up to the terminator only.
    const auto order = parseDeal(payload);
    if (!order) {
        why = "The opponent's deal is not a whole shuffled deck; the hand was not dealt.";
        return ApplyResult::malformed;
    }
    game.dealPartnerHand(order->stock, order->senderStarts);
    return ApplyResult::applied;
}

ApplyResult RemoteDriver::loadGame(Game& game, std::string& rest, std::string& why) {
    const auto table = parseLoadGame(rest.substr(0, rest.find(kTerminator)));
    if (!table) {
        why = "The opponent's table could not be read; the game was not changed.";
        return ApplyResult::malformed;
    }
    if (!takeOverTable(game, *table, why)) return ApplyResult::malformed;
    return ApplyResult::applied;
}

} // namespace velnora::net
