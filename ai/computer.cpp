#include "ai_common.h"
#include "seat_driver.h"

namespace velnora::ai {

void ComputerDriver::startTurn(Game& game) {
    // The remote player moves the opponent seat in a network game.
    if (game.options.networkGame) return;
    playLevelTurn(game, game.options.computerLevel);
}

} // namespace velnora::ai
