#pragma once
// The engine's one window to the world. The Qt main window implements it; tests and the bench
// implement it with a recorder that never sleeps and answers dialogs from a script.

#include "card.h"
#include "move.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace velnora {

// Sound events by number; the number is what the settings keys and sound lists use.
enum class SoundEvent {
    deal = 0,
    exit = 1,
    help1 = 2,
    help2 = 3,
    help3 = 4,
    highscore = 5,
    loseHand = 6,
    loseMatch = 7,
    mixedVelnora = 8,
    naturalVelnora = 9,
    start = 10,
    takeHugePile = 11,
    winMatch = 12,
    winHand = 13,
    endTurnNetwork = 14,
};

enum class MessageKind { information, warning, error, confirmation };
enum class MessageAnswer { ok, yes, no };

// Regions of the table the engine asks to repaint; the window maps them to rectangles.
enum class TableArea { pileColumn, opponentHand, opponentMelds, playerMelds, playerHand, all };

// Twelve values per seat, in the order the details dialog shows them.
struct HandScore {
    std::array<std::int32_t, 12> v{};
    std::int32_t total() const { return v[11]; }
    bool operator==(const HandScore&) const = default;
};

// Everything the scoring and details dialogs show.
struct HandReport {
    HandScore player;
    HandScore opponent;
    std::string playerName;   // "Player" or the selected player's name
    std::string opponentName; // "Computer" or the remote player's name
    bool networkGame = false;
};

// Everything the game-over dialog shows.
struct MatchReport {
    std::string verdict;
    std::int32_t playerTotal = 0;
    std::int32_t opponentTotal = 0;
    std::int32_t matchDiff = 0;
    std::string opponentName;
    bool networkGame = false;
};

// Result codes of the game-over dialog: 6 play again (Yes / OK), 7 no.
constexpr int kResultYes = 6;
constexpr int kResultNo = 7;

class TableHost {
public:
    virtual ~TableHost() = default;

    // Status line and window controls
    virtual void showStatus(std::string_view text, bool warning) = 0;
    virtual void setEndHandButton(bool visible, bool enabled) = 0;
    virtual void setUndoEnabled(bool enabled) = 0;
    virtual void setRulesHint(std::string_view hint) = 0;
    virtual void showWhoseTurn(std::string_view text) = 0;

    // Table drawing and movement
    virtual void repaint(TableArea area) = 0;
    virtual void animateCard(const Card& card, int fromX, int fromY, int toX, int toY,
                             bool highlight) = 0;
    virtual void pause(int milliseconds) = 0;
    virtual void setBusyCursor(bool busy) = 0;

    // Sound and network
    virtual void playSound(SoundEvent event) = 0;
    // A move of the player seat that a network partner must repeat.
    virtual void sendMove(const Move& move) = 0;
    // The end-of-hand dialogs open (true) and close (false): the partner's messages wait
    // meanwhile and are applied once the player has seen the hand's result. The release comes
    // from a destructor, so a host queues the dispatch of what waited instead of running it here.
    virtual void holdNetworkMessages(bool /*hold*/) {}

    // Dialogs
    virtual MessageAnswer showMessage(MessageKind kind, const std::string& text) = 0;
    // Returns true when the player pressed "&Details >>".
    virtual bool showScoring(const HandReport& report) = 0;
    virtual void showDetails(const HandReport& report) = 0;
    // Returns kResultYes to play another game.
    virtual int showGameOver(const MatchReport& report) = 0;

    // Statistics
    virtual void recordHighscore(int kind, int score) = 0;
    virtual void recordMatchHistory(int playerTotal, int opponentTotal) = 0;
    virtual void recordWinLoss(bool won) = 0;
    virtual void savePlayerList() = 0;

    // Process
    // The player declined another game: drop the autosave and close the program.
    virtual void closeApplication() = 0;
    // An internal failure that ends the program after its message.
    virtual void fatalError(const std::string& text) = 0;
};

} // namespace velnora
