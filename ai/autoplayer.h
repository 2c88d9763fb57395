#pragma once
// A headless stand-in for the human at the table: plays the player seat through the same Game
// actions the mouse reaches, so tests and the bench can run whole matches without a window.

#include "game.h"

#include <array>
#include <functional>
#include <utility>
#include <vector>

namespace velnora::ai {

// Plays the player seat: plain but legal, sometimes going out, never looping.
class AutoPlayer {
public:
    // Upper bound on the actions of one turn; beyond it the turn falls back to a plain discard.
    static constexpr int kMaxActionsPerTurn = 120;

    AutoPlayer(Game& game, std::uint64_t seed);

    // Plays one turn of the player when it is the player's turn; afterAction runs after every
    // action. Returns the number of actions made (0 when it was not the player's turn).
    int playTurn(const std::function<void()>& afterAction = {});

    // Whether the table waits for the player's draw.
    bool isPlayersTurn() const;

private:
    Game& game_;
    Random rng_;
    const std::function<void()>* after_ = nullptr;
    int actions_ = 0;

    // One action and the check after it; a template so that the action is not wrapped in a
    // std::function, which allocates for every lambda of more than two references.
    template <typename Action> bool act(const Action& action) {
        ++actions_;
        tallyStale_ = true;
        action();
        afterAction();
        return !turnOver();
    }
    void afterAction() const {
        if (after_ && *after_) (*after_)();
    }
    bool turnOver() const;
    void playPhases();
    bool drawPhase();
    bool completePileTake();
    bool meldPhase();
    bool discardPhase();
    bool wantsPile();

    // Counts of the player's hand by rank and melds by column, read again only after an
    // action: the phases ask for them rank by rank, over and over.
    struct Tally {
        std::array<int, kColumns> hand{};
        std::array<int, kColumns> melds{};
        std::array<int, kColumns> meldNaturals{};
    };
    const Tally& tally() const;
    mutable Tally tally_;
    mutable bool tallyStale_ = true;
    // Reused from discard to discard rather than allocated each time.
    std::vector<std::pair<int, int>> discardOrder_;

    int handCount(int rank) const;
    int meldColumn(int column) const;
    int meldWilds(int column) const;
    int firstInHand(int rank) const;
    bool hasRealMeld() const;
    bool enoughVelnoras() const;
};

} // namespace velnora::ai
