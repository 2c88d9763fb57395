#pragma once
// A TableHost for play where nobody looks: it shows nothing, never waits, stores nothing and
// answers the plain way (yes to a confirmation, OK to anything else, no details, no new match).
// The hint's samples, the bench and the test harnesses start from it and override only what
// they watch.

#include "host.h"
#include "pile.h"

namespace velnora {

class QuietHost : public TableHost {
public:
    void showStatus(std::string_view, bool) override {}
    void setEndHandButton(bool, bool) override {}
    void setUndoEnabled(bool) override {}
    void setRulesHint(std::string_view) override {}
    void showWhoseTurn(std::string_view) override {}
    void repaint(TableArea) override {}
    void animateCard(const Card&, int, int, int, int, bool) override {}
    void pause(int) override {}
    void setBusyCursor(bool) override {}
    void playSound(SoundEvent) override {}
    void sendMove(const Move&) override {}
    MessageAnswer showMessage(MessageKind kind, const std::string&) override {
        return kind == MessageKind::confirmation ? MessageAnswer::yes : MessageAnswer::ok;
    }
    bool showScoring(const HandReport&) override { return false; }
    void showDetails(const HandReport&) override {}
    int showGameOver(const MatchReport&) override { return kResultNo; }
    void recordHighscore(int, int) override {}
    void recordMatchHistory(int, int) override {}
    void recordWinLoss(bool) override {}
    void savePlayerList() override {}
    void closeApplication() override {}
    // Nobody would see the message, so the fault stops the play instead.
    void fatalError(const std::string& text) override { throw InternalError(text); }
};

} // namespace velnora
