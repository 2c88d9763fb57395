#include "ai_common.h"

namespace velnora::ai {

void ComputerDriver::startTurn(Game& game) {
    // The remote player moves the opponent seat in a network game.
    if (game.options.networkGame) return;
    switch (game.options.computerLevel) {
    case 0:
        beginnerTurn(game);
        break;
    case 1:
        advancedTurn(game);
        break;
    case 2:
        expertTurn(game);
        break;
    default:
        break;
    }
}

} // namespace velnora::ai
