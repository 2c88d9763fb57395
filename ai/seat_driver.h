#pragma once
// Any computer level on either seat: the opponent seat at a fixed level, and a whole turn of
// the player seat played by a level on the exchanged table.

#include "game.h"

namespace velnora::ai {

// One whole turn of the opponent seat at a level (0 Beginner, 1 Advanced, 2 Expert, 3 Master;
// any other level does nothing).
void playLevelTurn(Game& game, int level);

// Plays the player seat's whole turn at a level, as that level plays the opponent seat, then
// hands the table over as the player's discard does (end-of-hand check, then the opponent's
// turn). Returns false, changing nothing, for an unknown level or when the table does not
// wait for the player's draw.
bool playPlayerSeatTurn(Game& game, int level);

// The opponent seat at a fixed level, whatever the options say.
class LevelDriver : public OpponentDriver {
public:
    explicit LevelDriver(int level) : level_(level) {}
    void startTurn(Game& game) override { playLevelTurn(game, level_); }

private:
    int level_;
};

} // namespace velnora::ai
