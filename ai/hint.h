#pragma once
// The player's hint: what the Expert would do in the player's place for the current phase,
// worked out on copies of the table in which the cards the player cannot see are dealt anew.

#include "game.h"

#include <string>
#include <vector>

namespace velnora::ai {

// One click of the player that a hint asks for.
struct HintStep {
    enum class Kind {
        drawFromStock,
        takePile,
        undoTakePile, // a click on the pile while it is being taken
        endHand,
        meldNatural,     // a click on hand card face
        addWildcard,     // a click on the meld of column: the game adds a joker, else a two
        wildcardVelnora, // a click on a wildcard in the hand: one more for the wildcard velnora
        undoAll,
        discard,        // a right click on hand card face
        discardRedThree // a right click on the red three face among the melds
    };
    Kind kind = Kind::drawFromStock;
    int face = 0;
    int column = 0;
    // Carried out: the wildcard joined the column by itself when the naturals before it were
    // melded, so no click is needed.
    bool automatic = false;

    bool operator==(const HintStep&) const = default;
};

struct Hint {
    enum class Action {
        none,
        drawFromStock,
        takePile,
        endHand,
        meld,
        discard,
        completeTake, // the melds that finish taking the pile
        undoTakePile, // the pile cannot be taken with these cards: give it back
        undoMelds     // this turn's melds cannot stand: take them back, then discard
    };
    Action action = Action::none;
    // The clicks, in order, as the game accepted them on a copy of the table.
    std::vector<HintStep> steps;
    // Cards of the player's hand the hint points at: those to meld, then the one to discard.
    std::vector<int> handIndices;
    // The discard among them (a hand index), or -1.
    int thenDiscard = -1;
    // Cards of the player's melds to click: where a wildcard goes, or the red three to discard.
    std::vector<int> meldIndices;
    std::string text;
    int votes = 0;   // samples that chose this
    int samples = 0; // samples that gave a choice the game accepts
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
// with the same counts; the choice most samples agree on wins. A choice counts only when the
// game accepts every click of it on its sample. Nothing of the game changes, its generator
// included: the samples draw from their own, seeded from seed.
Hint expertHint(const Game& game, int samples = 9, std::uint64_t seed = 0x68696e74);

// The Master's choice for the player's current phase: the Expert's melds, with the take-or-draw
// answer and the discard searched from what the player sees, within the Master's time box.
Hint masterHint(const Game& game, std::uint64_t seed = 0x68696e74);

class ExpertAdvisor;
// The hint of samples tables, the Expert's choices on them put to advisor when there is one.
Hint hintOnSamples(const Game& game, int samples, std::uint64_t seed, ExpertAdvisor* advisor);

// Carries the steps out on the table as the player's clicks, stopping at the first one the
// game refuses (false). done, when given, receives the steps as carried out: the wildcard the
// game actually took, and the automatic ones.
bool carryOutHint(Game& game, const std::vector<HintStep>& steps,
                  std::vector<HintStep>* done = nullptr);

} // namespace velnora::ai
