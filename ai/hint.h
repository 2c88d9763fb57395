#pragma once
// The player's hint: what the Expert would do in the player's place for the current phase,
// worked out on copies of the table in which the cards the player cannot see are dealt anew.

#include "game.h"

#include <string>
#include <vector>

namespace velnora::ai {

struct Hint {
    enum class Action { none, drawFromStock, takePile, endHand, meld, discard };
    Action action = Action::none;
    // Cards of the player's hand the hint points at: those to meld, or the one to discard.
    std::vector<int> handIndices;
    // The discard that follows the melds (a hand index), or -1.
    int thenDiscard = -1;
    // A red three to discard from the player's melds (an index into playerMelds), or -1.
    int meldIndex = -1;
    std::string text;
    int votes = 0;   // samples that chose this
    int samples = 0; // samples that gave a choice
};

// The table as the player knows it: the computer's hand (but for the cards it was seen taking
// with the pile) and the stock dealt anew from the cards the player cannot see, same counts.
// The unseen cards are put in order before the shuffle, so where the real ones lie makes no
// difference to the deal.
GameState sampleUnseenCards(const Game& game, Random& rng);

// Whether the table waits for a move of the player that a hint can suggest.
bool hintAvailable(const Game& game);

// The Expert's choice for the player's current phase. The Expert reads the other seat's hand,
// so it plays on samples of the table where the computer's hand (apart from the cards it was
// seen taking with the pile) and the stock are a fresh deal of the cards the player cannot see,
// with the same counts; the choice most samples agree on wins. Nothing of the game changes,
// its generator included: the samples draw from their own, seeded from seed.
Hint expertHint(const Game& game, int samples = 9, std::uint64_t seed = 0x68696e74);

} // namespace velnora::ai
