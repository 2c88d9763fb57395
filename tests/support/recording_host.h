#pragma once
// A TableHost for tests and the bench: records every call, never sleeps, and answers dialogs
// from a script (defaults: OK, no details, play again = No).

#include "host.h"

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

namespace velnora::test {

class RecordingHost : public TableHost {
public:
    struct Status {
        std::string text;
        bool warning;
    };

    // Recorded calls
    std::vector<Status> statuses;
    std::vector<std::string> messages; // every showMessage text, in order
    std::vector<MessageKind> messageKinds;
    std::vector<SoundEvent> sounds;
    std::vector<Move> moves; // every move sent for a partner
    std::vector<HandReport> scorings;
    std::vector<HandReport> details;
    std::vector<MatchReport> gameOvers;
    std::vector<std::pair<int, int>> highscores; // (kind, score)
    std::vector<std::pair<int, int>> matchHistory;
    std::vector<bool> winLoss;
    int playerListSaves = 0;
    int repaints = 0;
    int animations = 0;
    int pausedMilliseconds = 0;
    bool undoEnabled = false;
    bool endHandVisible = false;
    bool endHandEnabled = false;
    std::string rulesHint;
    std::vector<std::string> whoseTurn;
    bool closed = false;
    std::string fatal;

    // Scripted answers, consumed front first; when empty the defaults apply.
    std::deque<MessageAnswer> messageAnswers;
    std::deque<bool> scoringDetails;
    std::deque<int> gameOverResults;

    const Status& lastStatus() const {
        static const Status none{"", false};
        return statuses.empty() ? none : statuses.back();
    }

    void showStatus(std::string_view text, bool warning) override {
        statuses.push_back({std::string(text), warning});
    }
    void setEndHandButton(bool visible, bool enabled) override {
        endHandVisible = visible;
        endHandEnabled = enabled;
    }
    void setUndoEnabled(bool enabled) override { undoEnabled = enabled; }
    void setRulesHint(std::string_view hint) override { rulesHint = hint; }
    void showWhoseTurn(std::string_view text) override { whoseTurn.emplace_back(text); }
    void repaint(TableArea) override { ++repaints; }
    void animateCard(const Card&, int, int, int, int, bool) override { ++animations; }
    void pause(int milliseconds) override { pausedMilliseconds += milliseconds; }
    void setBusyCursor(bool) override {}
    void playSound(SoundEvent event) override { sounds.push_back(event); }
    void sendMove(const Move& move) override { moves.push_back(move); }
    int movesOf(MoveKind kind) const {
        return static_cast<int>(std::count_if(moves.begin(), moves.end(),
                                              [&](const Move& m) { return m.kind == kind; }));
    }
    MessageAnswer showMessage(MessageKind kind, const std::string& text) override {
        messages.push_back(text);
        messageKinds.push_back(kind);
        if (messageAnswers.empty())
            return kind == MessageKind::confirmation ? MessageAnswer::yes : MessageAnswer::ok;
        MessageAnswer a = messageAnswers.front();
        messageAnswers.pop_front();
        return a;
    }
    bool showScoring(const HandReport& report) override {
        scorings.push_back(report);
        if (scoringDetails.empty()) return false;
        bool d = scoringDetails.front();
        scoringDetails.pop_front();
        return d;
    }
    void showDetails(const HandReport& report) override { details.push_back(report); }
    int showGameOver(const MatchReport& report) override {
        gameOvers.push_back(report);
        if (gameOverResults.empty()) return kResultNo;
        int r = gameOverResults.front();
        gameOverResults.pop_front();
        return r;
    }
    void recordHighscore(int kind, int score) override { highscores.emplace_back(kind, score); }
    void recordMatchHistory(int p, int o) override { matchHistory.emplace_back(p, o); }
    void recordWinLoss(bool won) override { winLoss.push_back(won); }
    void savePlayerList() override { ++playerListSaves; }
    void closeApplication() override { closed = true; }
    void fatalError(const std::string& text) override { fatal = text; }
};

} // namespace velnora::test
