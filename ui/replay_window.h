#pragma once
// "Replay": a recorded match played back on a table of its own, both hands open. Steps forward
// and back by move, by turn and by hand, or plays on by itself; never touches the running game.
//
// Use:
//     QString why;
//     auto record = ReplayWindow::load(file, why);   // refused with the reason
//     ReplayWindow window(*record, look, this);
//     window.exec();

#include "card_art.h"
#include "match_record.h"
#include "quiet_host.h"
#include "replay_review.h"
#include "settings.h"

#include <QDialog>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class QLabel;
class QListWidget;
class QPushButton;
class QSlider;
class QTimer;

namespace velnora::ui {

class TableView;

// How the running game draws its table, for the replay to draw alike.
struct ReplayLook {
    int sizeIndex = 0;
    std::array<CardBack, 2> backs{};
    QColor background{0, 128, 0};
};

class ReplayWindow : public QDialog {
    Q_OBJECT
public:
    // The record in the file, or nothing with the reason (a file too large, unreadable or not a
    // whole, sound record).
    static std::optional<net::MatchRecord> load(const QString& file, QString& why);

    ReplayWindow(net::MatchRecord record, const ReplayLook& look, QWidget* parent = nullptr);
    ~ReplayWindow() override;

    // Where the table stands: a hand (from 0) and how many of its moves were made.
    int hand() const { return hand_; }
    int move() const { return move_; }
    const GameState& table() const { return game_->state; }
    // Goes to move `move` of hand `hand`, replaying the hand from its deal when it goes back.
    void goTo(int hand, int move);
    void stepMove(int direction);
    void stepTurn(int direction);
    void stepHand(int direction);
    // Marks the shown hand's turns where the player chose otherwise than the hint, and lists
    // them; a click on one shows its table.
    void reviewShownHand();
    const std::vector<ReviewNote>* shownReview() const;
    // Offers "Play Deal Again": the shown hand's deal goes to play, and the window closes.
    void offerPlayingDealAgain(std::function<void(const DealtHand&)> play);

private:
    net::MatchRecord record_;
    QuietHost host_;
    MemorySettings settings_;
    Random rng_{1};
    std::unique_ptr<Game> game_;
    TableView* table_ = nullptr;
    QLabel* position_ = nullptr;
    QPushButton* play_ = nullptr;
    QSlider* speed_ = nullptr;
    QTimer* timer_ = nullptr;
    QPushButton* playAgain_ = nullptr;
    QListWidget* review_ = nullptr;
    std::map<int, std::vector<ReviewNote>> reviews_;
    std::function<void(const DealtHand&)> playDeal_;
    int hand_ = -1;
    int move_ = 0;
    QString refused_;

    int movesOf(int hand) const;
    void showPosition();
    void showReview();
    void togglePlay();
};

} // namespace velnora::ui
