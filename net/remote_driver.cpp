// Applying the partner's moves to the opponent seat. Every handler checks first and changes
// the table only when the whole move fits, so a refused token leaves the table as it was.

#include "remote_driver.h"

#include "meld_check.h"
#include "table_takeover.h"

namespace velnora::net {

namespace {
constexpr int kBigPile = 12;
constexpr int kUndoTakeCost = 50;
// Receivers accept faces up to 55; 54 and 55 are no card and are never found.
constexpr int kHighestWireFace = 55;

// Index of the last card with the face, or -1; where two cards share a face the last is taken.
int lastWithFace(const Pile& pile, int face) {
    for (int i = pile.count - 1; i >= 0; --i)
        if (pile.at(i).face == face) return i;
    return -1;
}

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

// The table waits for the partner's move.
bool remoteTurn(const Game& game) {
    return game.state.promptState == kPromptOpponentsTurn;
}

// The partner has drawn (or is taking the pile) in the turn under way.
bool remoteHasDrawn(const Game& game) {
    const int p = game.state.opponentPromptState;
    return remoteTurn(game) && p != kPromptDraw && p != kPromptOpponentsTurn &&
           p != kPromptWaitForDeal;
}

ApplyResult refuse(std::string& why, const std::string& text) {
    why = text;
    return ApplyResult::outOfStep;
}

std::string cardText(int face) {
    return face >= 1 && face <= kJokerFace ? cardLabel(face) : "card " + std::to_string(face);
}
} // namespace

ApplyResult RemoteDriver::apply(Game& game, Token token, std::string& rest, std::string& why) {
    switch (token) {
    case Token::deal:
        return deal(game, rest.substr(0, rest.empty() ? 0 : rest.size() - 1), why);
    case Token::drawNew:
        return drawNew(game, why);
    case Token::drawPileTop:
        return drawPileTop(game, why);
    case Token::drawPileRest:
        return drawPileRest(game, why);
    case Token::undoPile:
        return undoPile(game, why);
    case Token::meld:
        return meld(game, rest, why);
    case Token::meldWildcard:
        return meldWildcard(game, rest, why);
    case Token::undo:
        return undo(game, rest, why);
    case Token::discard:
        return discard(game, rest, why);
    case Token::discardRedThree:
        return discardRedThree(game, rest, why);
    case Token::passDiscard:
        return passDiscard(game, why);
    case Token::handOver:
        return handOver(game, why);
    case Token::newGame:
        game.state.opponentTotal = 0;
        game.state.playerTotal = 0;
        game.state.gameInProgress = 0;
        return ApplyResult::applied;
    case Token::loadGame:
        return loadGame(game, rest, why);
    default:
        why = std::string("The token ") + tokenText(token) + " is not a move.";
        return ApplyResult::malformed;
    }
}

bool RemoteDriver::takingPile(const Game& game) const {
    // A forced take of the top card never sends the rest, and a hand may end during a take:
    // the mark counts only while the table still shows the partner taking the pile.
    return pileTakingByOpponent && game.state.opponentPromptState == kPromptTakingPile;
}

// Dealing and drawing

ApplyResult RemoteDriver::deal(Game& game, const std::string& payload, std::string& why) {
    // The DEAL payload holds raw bytes, so it is read by position up to the terminator only.
    const auto order = parseDeal(payload);
    if (!order) {
        why = "The opponent's deal is not a whole shuffled deck; the hand was not dealt.";
        return ApplyResult::malformed;
    }
    reset();
    game.dealPartnerHand(order->stock, order->senderStarts);
    return ApplyResult::applied;
}

ApplyResult RemoteDriver::drawNew(Game& game, std::string& why) {
    GameState& g = game.state;
    if (!remoteTurn(game) || takingPile(game))
        return refuse(why, "The opponent drew from the stock while it was not their draw.");
    if (g.stock.empty()) return refuse(why, "The opponent drew from an empty stock.");
    g.opponentPromptState = kPromptMeldOrDiscard;
    game.opponentDraw();
    const int last = g.opponentHand.count - 1;
    if (isRedThree(g.opponentHand.at(last).face)) game.opponentMeldCard(last);
    g.playerMeldPointsAtTurnStart = meldedPoints(g, Seat::player, true, game.layout);
    g.opponentMeldPointsAtTurnStart = g.opponentMeldPoints;
    pileTakingByOpponent = false;
    return ApplyResult::applied;
}

ApplyResult RemoteDriver::drawPileTop(Game& game, std::string& why) {
    GameState& g = game.state;
    if (!remoteTurn(game) || g.opponentPromptState != kPromptDraw)
        return refuse(why, "The opponent took the discard pile while it was not their draw.");
    if (g.discardPile.empty()) return refuse(why, "The opponent took an empty discard pile.");
    g.opponentPromptState = kPromptTakingPile;
    if (g.discardPile.count > kBigPile) game.host().playSound(SoundEvent::takeHugePile);
    handBeforeTake_ = g.opponentHand;
    meldsBeforeTake_ = g.opponentMelds;
    pileBeforeTake_ = g.discardPile;
    velnorasBeforeTake_ = g.opponentVelnoras;
    meldPointsBeforeTake_ = g.opponentMeldPoints;
    const Card card = pop(g.discardPile);
    game.host().repaint(TableArea::pileColumn);
    game.opponentLayCard(card, isRedThree(card.face) ? kRankThree : card.rank());
    pileTakingByOpponent = true;
    return ApplyResult::applied;
}

ApplyResult RemoteDriver::drawPileRest(Game& game, std::string& why) {
    GameState& g = game.state;
    if (!remoteTurn(game) || !takingPile(game))
        return refuse(why, "The opponent took the rest of a pile whose top card it had not taken.");
    g.opponentPromptState = kPromptMeldOrDiscard;
    while (!g.discardPile.empty()) {
        Card card = pop(g.discardPile);
        card.faceUp = 1;
        game.opponentAddCard(card, true);
        if (isRedThree(card.face)) game.opponentMeldCard(g.opponentHand.count - 1);
    }
    game.host().repaint(TableArea::pileColumn);
    g.pileFrozen = 0;
    pileTakingByOpponent = false;
    return ApplyResult::applied;
}

ApplyResult RemoteDriver::undoPile(Game& game, std::string& why) {
    GameState& g = game.state;
    if (!remoteTurn(game) || !takingPile(game))
        return refuse(why, "The opponent gave back a pile it had not taken.");
    g.opponentPromptState = kPromptDraw;
    g.opponentHand = handBeforeTake_;
    g.opponentMelds = meldsBeforeTake_;
    g.discardPile = pileBeforeTake_;
    g.opponentVelnoras = velnorasBeforeTake_;
    // The points of the cards melded while taking go back with them, not only the top card's.
    g.opponentMeldPoints = meldPointsBeforeTake_;
    g.opponentTotal -= kUndoTakeCost;
    pileTakingByOpponent = false;
    game.host().repaint(TableArea::all);
    return ApplyResult::applied;
}

// Melding

ApplyResult RemoteDriver::meld(Game& game, std::string& rest, std::string& why) {
    GameState& g = game.state;
    int face = 0;
    if (!readFace(rest, face, why)) return ApplyResult::malformed;
    if (!remoteHasDrawn(game)) return refuse(why, "The opponent melded before drawing.");
    const int i = lastWithFace(g.opponentHand, face);
    if (i < 0 || isWild(rankOf(face)))
        return refuse(why, "The opponent melded " + cardText(face) + ", which it does not hold.");
    // While the pile is being taken the partner still shows its taking prompt.
    if (!takingPile(game)) g.opponentPromptState = kPromptMeldOrDiscard;
    game.opponentMeldCard(i);
    if (hasGoneOut(g, Seat::opponent, game.rules)) game.checkEndOfHand();
    return ApplyResult::applied;
}

ApplyResult RemoteDriver::meldWildcard(Game& game, std::string& rest, std::string& why) {
    GameState& g = game.state;
    int face = 0, column = 0;
    if (!readFace(rest, face, why) || !readColumn(rest, column, why)) return ApplyResult::malformed;
    if (!remoteHasDrawn(game)) return refuse(why, "The opponent melded before drawing.");
    const int i = lastWithFace(g.opponentHand, face);
    if (i < 0 || !isWild(rankOf(face)))
        return refuse(why, "The opponent melded " + cardText(face) +
                               " as a wildcard, which it does not hold.");
    game.opponentLayCard(game.opponentRemoveCard(i), column);
    if (hasGoneOut(g, Seat::opponent, game.rules)) game.checkEndOfHand();
    return ApplyResult::applied;
}

ApplyResult RemoteDriver::undo(Game& game, std::string& rest, std::string& why) {
    GameState& g = game.state;
    int column = 0, face = 0;
    if (!readColumn(rest, column, why) || !readFace(rest, face, why)) return ApplyResult::malformed;
    if (!remoteHasDrawn(game))
        return refuse(why, "The opponent took back a meld outside its turn.");
    int index = -1;
    for (int i = g.opponentMelds.count - 1; i >= 0 && index < 0; --i) {
        const Card& c = g.opponentMelds.at(i);
        if (c.face == face && columnOf(c.x, game.layout) == column) index = i;
    }
    if (index < 0)
        return refuse(why,
                      "The opponent took back " + cardText(face) + ", which is not in its melds.");
    game.opponentTakeBackMeld(index);
    return ApplyResult::applied;
}

// Ending the turn

void RemoteDriver::handBack(Game& game) {
    game.host().playSound(SoundEvent::endTurnNetwork);
    game.endOpponentTurn();
}

ApplyResult RemoteDriver::discard(Game& game, std::string& rest, std::string& why) {
    GameState& g = game.state;
    int face = 0;
    if (!readFace(rest, face, why)) return ApplyResult::malformed;
    if (!remoteHasDrawn(game)) return refuse(why, "The opponent discarded before drawing.");
    const int i = lastWithFace(g.opponentHand, face);
    if (i < 0)
        return refuse(why,
                      "The opponent discarded " + cardText(face) + ", which it does not hold.");
    pileTakingByOpponent = false;
    game.opponentLayOnPile(game.opponentRemoveCard(i));
    handBack(game);
    return ApplyResult::applied;
}

ApplyResult RemoteDriver::discardRedThree(Game& game, std::string& rest, std::string& why) {
    GameState& g = game.state;
    int face = 0;
    if (!readFace(rest, face, why)) return ApplyResult::malformed;
    if (!remoteHasDrawn(game)) return refuse(why, "The opponent discarded before drawing.");
    const int i = isRedThree(face) ? lastWithFace(g.opponentMelds, face) : -1;
    if (i < 0)
        return refuse(why, "The opponent discarded " + cardText(face) +
                               " as a red three from its melds, where it is not.");
    pileTakingByOpponent = false;
    Card card = removeFromColumn(g.opponentMelds, i, game.layout, g.opponentVelnoras, -kColumnStep);
    game.host().repaint(TableArea::opponentMelds);
    game.opponentLayOnPile(card);
    handBack(game);
    return ApplyResult::applied;
}

ApplyResult RemoteDriver::passDiscard(Game& game, std::string& why) {
    GameState& g = game.state;
    if (!remoteTurn(game)) return refuse(why, "The opponent passed while it was not their turn.");
    pileTakingByOpponent = false;
    g.inputBlocked = 0;
    g.opponentPromptState = kPromptOpponentsTurn;
    game.showInstruction(kPromptDraw);
    game.host().showMessage(MessageKind::information,
                            game.options.remoteName + " passes the discard.");
    return ApplyResult::applied;
}

ApplyResult RemoteDriver::handOver(Game& game, std::string& why) {
    GameState& g = game.state;
    if (!remoteTurn(game) || g.opponentPromptState != kPromptDraw || !g.stockExhausted)
        return refuse(why, "The opponent ended the hand while the stock was not exhausted.");
    g.endHandRequested = 1;
    game.checkEndOfHand();
    return ApplyResult::applied;
}

// Taking over the partner's table

ApplyResult RemoteDriver::loadGame(Game& game, std::string& rest, std::string& why) {
    const auto table = parseLoadGame(rest.substr(0, rest.find(kTerminator)));
    if (!table) {
        why = "The opponent's table could not be read; the game was not changed.";
        return ApplyResult::malformed;
    }
    if (!takeOverTable(game, *table, why)) return ApplyResult::malformed;
    reset();
    return ApplyResult::applied;
}

} // namespace velnora::net
