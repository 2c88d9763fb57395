#pragma once
// The engine facade: owns the game state of one table and every action of either seat. The
// window, the network mirror, the computer opponent and the tests all call it; it reaches the
// outside only through TableHost and Settings.

#include "game_state.h"
#include "host.h"
#include "layout.h"
#include "match_listener.h"
#include "move.h"
#include "random.h"
#include "rules.h"
#include "settings.h"
#include "status_codes.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace velnora {

class Game;

// Drives the opponent seat's turns: the computer (ai/) or, later, the remote player (net/).
class OpponentDriver {
public:
    virtual ~OpponentDriver() = default;
    // Plays (or, for a remote seat, waits for) one whole opponent turn.
    virtual void startTurn(Game& game) = 0;
};

// Option values the main window reads at start-up and the engine consults.
struct GameOptions {
    bool doubleClickDiscard = false; // "Settings\Mouse options" other than "Single Right Click"
    bool showTurns = true;
    int meldDelay = 300;          // ms the computer pauses after each card
    int aggression = 50;          // 0..100, the Expert's mood
    int computerLevel = 0;        // 0 Beginner, 1 Advanced, 2 Expert, 3 Master
    std::string playerName;       // selected player, empty when none
    bool reseedFromClock = false; // the program reseeds at every deal; tests never do
    bool networkGame = false;
    bool isServer = false;
    std::string remoteName;
};

enum class MeldMode { single, allOfRank, upToThree };

// Texts of the status line; the table texts without replacements.
const char* promptTableText(int prompt);
const char* warningText(Warning warning);

class Game {
public:
    Game(TableHost& host, Settings& settings, Random& rng);

    GameState state;
    // The rules in force. Constructing a game reads no setting: the window loads the rules
    // once older settings have been migrated.
    RuleSettings rules;
    Layout layout;
    GameOptions options;

    TableHost& host() { return host_; }
    Settings& settings() { return settings_; }
    Random& rng() { return rng_; }
    void setOpponentDriver(OpponentDriver* driver) { driver_ = driver; }
    OpponentDriver* opponentDriver() const { return driver_; }
    // Hears every deal, move and hand score of the match (a match record); null for none.
    void setMatchListener(MatchListener* listener) { listener_ = listener; }
    // Whether a scored hand is followed by the next deal; a replay deals each hand itself.
    void setDealsAfterScoring(bool deals) { dealsAfterScoring_ = deals; }
    // Marks the seats exchanged while a level plays the player's seat: the moves the table
    // then sees from the opponent's seat are the player's.
    class SeatsExchanged {
    public:
        explicit SeatsExchanged(Game& game) : game_(game) { ++game_.seatsExchanged_; }
        ~SeatsExchanged() { --game_.seatsExchanged_; }
        SeatsExchanged(const SeatsExchanged&) = delete;
        SeatsExchanged& operator=(const SeatsExchanged&) = delete;

    private:
        Game& game_;
    };

    // Game and hand
    void newGame();
    // A new match whose first hand is a recorded deal: the same cards to the same seats and the
    // same seat drawing first, under the rules in force (later hands are dealt afresh).
    void newGameWithDeal(const DealtHand& deal);
    // A table that waits for a deal (it was saved between a hand's scoring and the next deal)
    // gets one; false when the table is in a hand.
    bool dealIfBetweenHands();
    // The player clicked a card or pile of the table: from now on the game is one in progress
    // (the rules stay as they are, and it is saved at exit).
    void noteTableClick() { state.gameInProgress = 1; }
    // The game is given up (declined after a match, or the program fails): nothing is left to
    // save at exit.
    void abandonGame() { state.gameInProgress = 0; }
    // Who draws first in the next hand dealt.
    void setPlayerStartsHand(bool playerStarts) { state.playerStartsHand = playerStarts ? 1 : 0; }
    // The first left click on the table folds the pile shown fanned since the deal.
    void foldDiscardPile() { state.pileFanned = 0; }
    // The table is the player's again (the partner left in the middle of its turn).
    void releaseTable() { state.inputBlocked = 0; }
    // The partner left in the middle of its turn: the table goes back to where that turn began,
    // so the computer can play the turn whole.
    void rewindToTurnStart(const GameState& turnStart) { state = turnStart; }
    // The first freeze of a hand a partner dealt follows the dealer's rule, so that both copies
    // start from the same pile.
    void setInitialFreeze(bool frozen) { state.pileFrozen = frozen ? 1 : 0; }
    // New rules in force. A changed "Discard Pile initially frozen" freezes or thaws the pile
    // at once (in a network game only from the next deal); the other rules take effect as the
    // play reaches them.
    void setRules(const RuleSettings& chosen);
    // The layout of a table size, keeping the opponent's card spacing.
    void setTableSize(int sizeIndex);
    void dealHand();
    // A saved game's table, laid out for the table size it was saved at, becomes this table; a
    // table saved between hands gets its deal, one saved in the computer's turn its turn.
    void adoptSavedTable(GameState loaded, int sizeIndex);
    // The table a network partner sent, already turned to this seat's view and checked whole.
    void adoptPartnerTable(const GameState& partnerTable);
    // Both copies of a network match start it from zero.
    void startMatchTotalsFromZero();
    // Deals the hand a network partner dealt: its stock order (stockOrder[i] lies at position
    // i), its own player drawing first when partnerStarts.
    void dealPartnerHand(const std::array<Card, kDeckSize>& stockOrder, bool partnerStarts);
    // Deals a hand again as a match record kept it, at the totals it was dealt at.
    void dealRecordedHand(const DealtHand& deal);
    // A recorded move of either seat, applied exactly as the record names it: the opponent's
    // through its move entry, the player's as a partner's copy applies it (on the table seen
    // from the other seat), with the hand scored when it ends.
    MoveResult applyRecordedMove(Seat seat, const Move& move);
    // Empties the undo list and the flags and tallies of a hand, as a new deal does.
    void resetHandState();
    // Turns up the first discard from the stock (and more while wildcards or red threes show).
    void turnUpDiscard();

    // A move of either seat: the player's as a click would make it (refused with the warning the
    // status line shows), the opponent's as a partner sends it.
    MoveResult applyMove(Seat seat, const Move& move);
    // The player's move through the same checks as the click that makes it. A meld, discard or
    // undo names its card by face; a wildcard move without a face takes the card a click would.
    MoveResult applyPlayerMove(const Move& move);

    // Player actions (clicks that may make several moves at once)
    void drawFromStock();
    void takeDiscardPile();
    void undoTakePile();
    // Discards hand card i (the click counting is the controls' business). Returns false when
    // refused; the warning is already shown.
    bool discard(int handIndex);
    void discardRedThree(int meldIndex);
    void endHand();

    // Melding actions and undo
    void meldFromHand(int handIndex, MeldMode mode);
    void meldCardClick(int meldIndex, bool shift);
    void addWildcard(int column);
    void fillVelnora(int column);
    // The wildcards of the hand into the wildcard velnora; the first is `face` when given.
    void meldWildcards(MeldMode mode, int face = 0);
    void undoMeld();
    void undoAll();

    // Queries
    bool frozenForSeat(Seat seat) const;
    bool frozenForPlayer() const;
    bool canTakePile(bool includeForced);
    // The side to move must take the top card: for the player, or "applied to the computer".
    bool isForced() const { return isForcedFor(Seat::player); }
    bool isForcedFor(Seat seat) const;
    // Passes the turn without a discard when the player is stuck with one card; true if it did.
    bool passIfStuck();
    void tryCompletePileTake();

    // Status line
    void showInstruction(int prompt);
    void showWarning(Warning warning);
    // The text prompt p shows now (replacements for the mouse option, exhausted stock, opponent).
    std::string instructionText(int prompt) const;
    // The same text when it is a fixed one (all but the network partner's turn), else null.
    const char* fixedInstructionText(int prompt) const;
    // The meld prompt that matches the mouse option (one or two clicks to discard).
    int promptForMouse(int prompt) const;

    // The opponent's moves as a partner sends them: checked against the table and applied whole,
    // or refused with the reason and the table left as it was.
    MoveResult applyOpponentMove(const Move& move);
    // The opponent seat is to move / has drawn in the turn under way / is taking the pile.
    bool opponentToMove() const;
    bool opponentHasDrawn() const;
    bool opponentTakingPile() const;
    // Drops a pile take of the opponent in progress (a new deal, a table taken over).
    void forgetOpponentTake();
    // The opponent's turn has begun and has not been handed back yet.
    bool opponentTurnOpen() const;
    // Marks a computer level playing the opponent seat's turn here: its moves go through the
    // same entry as a partner's, but melding the last card does not end the hand at once, as
    // the level still finishes its turn and hands the table back itself.
    class ComputerTurn {
    public:
        explicit ComputerTurn(Game& game) : game_(game) { ++game_.computerTurnRunning_; }
        ~ComputerTurn() { --game_.computerTurnRunning_; }
        ComputerTurn(const ComputerTurn&) = delete;
        ComputerTurn& operator=(const ComputerTurn&) = delete;

    private:
        Game& game_;
    };

    // Opponent primitives
    void startOpponentTurn();
    // The bookkeeping of every opponent turn's start: the table is blocked for the player, the
    // opponent is to draw, and the player's meld points are taken for the end-of-hand scoring.
    void noteOpponentTurnStart();
    void opponentDraw();
    Card opponentRemoveCard(int i);
    void opponentMeldCard(int i);
    // Lays a card that has left the opponent's hand (or the pile) face up in a column of its
    // melds, counting its points and checking the column for a velnora.
    void opponentLayCard(Card card, int column);
    // Takes card meldIndex of the opponent's melds back into its hand, breaking up a velnora
    // whose column no longer forms one.
    Card opponentTakeBackMeld(int meldIndex);
    // Lays a card that has left the opponent's hand or melds face up on the discard pile; a
    // wildcard or red three freezes it.
    void opponentLayOnPile(Card card);
    // Appends a card at the right end of the opponent's hand row.
    void opponentAddCard(Card card, bool animate);
    void endOpponentTurn();

    // Shows or hides the opponent's hand: flips its cards and widens or narrows the row (the
    // reveal key, and the details dialog of a local game).
    void toggleOpponentCards();

    // End of hand and match; true when the hand ended here.
    bool checkEndOfHand();
    // Set while a computer level plays the player seat on the exchanged table: the hand must
    // be scored and the next one dealt with the seats the right way round, so the check waits
    // until the seats are back.
    bool holdEndOfHand = false;
    bool endOfHandRunning() const { return endOfHandRunning_; }
    HandReport lastHandReport;
    MatchReport lastMatchReport;

    // Names of the seats as the results show them: the selected player's or "Player", and
    // "Computer" or the remote name; the opponent's phrase ("the computer" / name).
    std::string playerName() const;
    std::string opponentName() const;
    std::string opponentPhrase() const;

    // Invariant check after an action; used by tests and the bench.
    bool isConsistent(std::string* why = nullptr) const {
        return velnora::isConsistent(state, layout, why);
    }

private:
    // Shared steps of the actions
    // Deals from the stock order given, or from a fresh shuffle; the dealer serves its
    // opponent first.
    void startHand(const std::array<Card, kDeckSize>* stockOrder, bool dealtHere);
    // Index of the card a move of the opponent names in pile: at its place, else of its deck,
    // else the last of its face; the deck found goes with the move into the record.
    int cardOfMove(const Pile& pile, const Move& move);
    void noteMatchStarted();
    // Totals back to zero and the first hand of a new match dealt (from the recorded deal when
    // given), without asking.
    void startNewMatch(const DealtHand* deal = nullptr);
    // The opponent's move being applied, heard once it is accepted; anything the table hears
    // first (a hand scored, the next deal) comes after it.
    void flushPendingMove();
    void dealToOpponent();
    void dealToPlayer();
    void moveCard(const Card& card, int fromX, int fromY);
    // Lays a card the player receives face up in their hand, or a red three in their melds.
    Card givePlayerCard(Card card);
    int wildcardsInHand() const;
    void playerVelnoraCheck(int column);
    // Dissolves a seat's velnora of a column that no longer forms one (after an undo).
    void dissolveLostVelnora(Seat seat, int column);
    void finishDraw();
    void handOverPile();
    void startOpponentAfterPlayer();
    // The partner's discard ended its turn: the table goes back to the player.
    void handBackAfterOpponent();
    MoveResult applyOpponentMoveUnheard(const Move& move);
    void endHandIfGoneOut();
    // The opponent is taking the pile and its rest is still to come into the hand.
    bool restOfPileToCome() const;
    void meldOneFromHand(int handIndex);
    // A click on hand card handIndex; a wildcard velnora's first card is wildFace when given.
    void meldFromHandAs(int handIndex, MeldMode mode, int wildFace);
    // A click on a column of the melds that adds a wildcard (face, or the table's pick).
    void wildcardClick(int column, int face);
    bool addWildcardTo(int column, int face = 0);
    // Every move the engine reports for the player goes through here, so that applyPlayerMove
    // can tell its caller what the table made of a move.
    void reportMove(const Move& move);
    void undoOneMeld();

    TableHost& host_;
    Settings& settings_;
    Random& rng_;
    OpponentDriver* driver_ = nullptr;
    MatchListener* listener_ = nullptr;
    std::optional<Move> pendingMove_;
    bool dealsAfterScoring_ = true;
    std::optional<bool> recordedFreeze_;
    int seatsExchanged_ = 0;
    bool endOfHandRunning_ = false;
    int computerTurnRunning_ = 0;
    std::vector<Move>* madeMoves_ = nullptr;
    Warning lastWarning_ = kNoWarning;
};

} // namespace velnora
