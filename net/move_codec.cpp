#include "move_codec.h"

namespace velnora::net {

namespace {
// Receivers accept faces up to 55; 54 and 55 are no card and are never found on a table.
constexpr int kHighestWireFace = 55;

// Reads a face field; false (with the reason) when it is no number in 1..55.
bool readFace(std::string& rest, int& face, std::string& why) {
    const std::string field = NextField(rest);
    const auto n = parseNumber(field);
    if (!n || *n < 1 || *n > kHighestWireFace) {
        why = "Bad card number \"" + latin1ToUtf8(field) + "\" from the opponent.";
        return false;
    }
    face = *n;
    return true;
}

bool readColumn(std::string& rest, int& column, std::string& why) {
    const std::string field = NextField(rest);
    const auto n = parseNumber(field);
    if (!n || *n < 0 || *n >= kColumns) {
        why = "Bad column number \"" + latin1ToUtf8(field) + "\" from the opponent.";
        return false;
    }
    column = *n;
    return true;
}
} // namespace

Token moveToken(MoveKind kind) {
    switch (kind) {
    case MoveKind::newGame:
        return Token::newGame;
    case MoveKind::deal:
        return Token::deal;
    case MoveKind::draw:
        return Token::drawNew;
    case MoveKind::takeTopCard:
        return Token::drawPileTop;
    case MoveKind::takePile:
        return Token::drawPileRest;
    case MoveKind::undoTakePile:
        return Token::undoPile;
    case MoveKind::meld:
        return Token::meld;
    case MoveKind::meldWildcard:
        return Token::meldWildcard;
    case MoveKind::undoMeld:
        return Token::undo;
    case MoveKind::discard:
        return Token::discard;
    case MoveKind::discardRedThree:
        return Token::discardRedThree;
    case MoveKind::pass:
        return Token::passDiscard;
    case MoveKind::endHand:
        return Token::handOver;
    }
    return Token::unknown;
}

std::string encodeMove(const Move& move, const Pile& stock) {
    std::string payload;
    switch (move.kind) {
    case MoveKind::deal:
        payload = buildDeal(stock, move.dealerStarts);
        break;
    case MoveKind::meld:
    case MoveKind::discard:
    case MoveKind::discardRedThree:
        payload = buildFace(move.face);
        break;
    case MoveKind::meldWildcard:
        payload = buildMeldWildcard(move.face, move.column);
        break;
    case MoveKind::undoMeld:
        payload = buildUndo(move.column, move.face);
        break;
    default:
        break;
    }
    return frameMessage(tokenText(moveToken(move.kind)), payload);
}

std::optional<Move> decodeMove(Token token, std::string& rest, std::string& why) {
    Move move;
    switch (token) {
    case Token::newGame:
        return Move::of(MoveKind::newGame);
    case Token::drawNew:
        return Move::of(MoveKind::draw);
    case Token::drawPileTop:
        return Move::of(MoveKind::takeTopCard);
    case Token::drawPileRest:
        return Move::of(MoveKind::takePile);
    case Token::undoPile:
        return Move::of(MoveKind::undoTakePile);
    case Token::passDiscard:
        return Move::of(MoveKind::pass);
    case Token::handOver:
        return Move::of(MoveKind::endHand);
    case Token::meld:
    case Token::discard:
    case Token::discardRedThree:
        move.kind = token == Token::meld      ? MoveKind::meld
                    : token == Token::discard ? MoveKind::discard
                                              : MoveKind::discardRedThree;
        if (!readFace(rest, move.face, why)) return std::nullopt;
        return move;
    case Token::meldWildcard:
        move.kind = MoveKind::meldWildcard;
        if (!readFace(rest, move.face, why) || !readColumn(rest, move.column, why))
            return std::nullopt;
        return move;
    case Token::undo:
        move.kind = MoveKind::undoMeld;
        if (!readColumn(rest, move.column, why) || !readFace(rest, move.face, why))
            return std::nullopt;
        return move;
    default:
        why = std::string("The token ") + tokenText(token) + " is not a move.";
        return std::nullopt;
    }
}

} // namespace velnora::net
