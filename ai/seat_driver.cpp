#include "seat_driver.h"

#include "ai_common.h"
#include "master.h"
#include "seat_exchange.h"

namespace velnora::ai {

void playLevelTurn(Game& game, int level) {
    switch (level) {
    case 0:
        beginnerTurn(game);
        break;
    case 1:
        advancedTurn(game);
        break;
    case 2:
        expertTurn(game);
        break;
    case kMasterLevel:
        masterTurn(game);
        break;
    default:
        break;
    }
}

bool playPlayerSeatTurn(Game& game, int level) {
    GameState& s = game.state;
    if (level < 0 || level > kMasterLevel) return false;
    if (s.promptState != kPromptDraw || s.inputBlocked || game.endOfHandRunning()) return false;

    exchangeSeats(s);
    // The turn's end copies the meld points for the next turn; going out must still be scored
    // against the points held when this turn began, and that happens after the exchange back.
    const std::int32_t pointsAtTurnStart = s.opponentMeldPointsAtTurnStart;
    game.holdEndOfHand = true;
    try {
        const Game::SeatsExchanged exchanged(game);
        playLevelTurn(game, level);
    } catch (...) {
        game.holdEndOfHand = false;
        exchangeSeats(s);
        throw;
    }
    game.holdEndOfHand = false;
    s.opponentMeldPointsAtTurnStart = pointsAtTurnStart;
    exchangeSeats(s);

    // As after the player's own discard.
    s.undoStack.clear();
    s.hasDrawn = 0;
    s.mayTakePile = 1;
    game.host().setUndoEnabled(false);
    if (game.checkEndOfHand()) return true;
    game.showInstruction(kPromptOpponentsTurn);
    game.startOpponentTurn();
    return true;
}

} // namespace velnora::ai
