#pragma once
// What the player sees of a move, played after the engine has applied it. The engine changes
// the table whole inside one call; the window collects what that call reported (cards moving,
// pauses, status lines, sounds, notices) as steps and plays them here with a timer, each over
// the table as it stood at that moment. No engine call waits for any of it, so a partner's
// message, a save, a close or a lost connection always meets a whole table.

#include "game.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <deque>
#include <functional>
#include <memory>

class QTimer;
class QWidget;

namespace velnora::ui {

class Presentation : public QObject {
    Q_OBJECT
public:
    struct Step {
        enum Kind { move, pause, status, sound, notice } kind = pause;
        // The table as it stood when the step was reported (move and pause).
        std::shared_ptr<const GameState> table;
        Card card;
        QPoint from, to;
        bool highlight = false;
        int milliseconds = 0;
        QString text;
        bool warning = false;
        MessageKind noticeKind = MessageKind::information;
        SoundEvent soundEvent = SoundEvent::deal;
    };

    // What playing a step needs from the window.
    struct Output {
        std::function<void()> repaintTable;
        std::function<void(const QString& text, bool warning)> showStatus;
        std::function<void(SoundEvent)> playSound;
        // A modal box: the steps after it wait until it is closed.
        std::function<void(MessageKind, const QString&)> showNotice;
        // Positions of a moving card between its two ends (0 when cards do not move).
        std::function<int()> movementSteps;
    };

    // While steps play, the user's input to `guarded` (the main window) is swallowed: a click
    // made while the computer's turn is shown must not act on the table that follows it.
    Presentation(Output output, QWidget* guarded, QObject* parent = nullptr);
    ~Presentation() override;

    // Queues a step; playing starts on the next turn of the event loop.
    void add(Step step);
    // Steps are queued or playing.
    bool busy() const { return !steps_.empty(); }
    // A step is being played right now (a card moves or a pause runs); input waits meanwhile.
    bool playingTimedStep() const { return timed_; }
    // The table to paint: the one the current step shows, or null for the live table.
    const GameState* shownTable() const { return shown_.get(); }
    // The moving or highlighted card over the table, when there is one.
    bool overlayShown() const { return overlay_; }
    const Card& overlayCard() const { return overlayCard_; }
    QPoint overlayPos() const { return overlayPos_; }
    bool overlayDarkened() const { return overlayDark_; }

    // Plays the rest at once: movements, pauses and sounds are dropped, the last status line is
    // shown, and notices are shown when `showNotices` (not while the program closes).
    void finish(bool showNotices);

    // Milliseconds between two positions of a moving card, and how long a highlight stays.
    static constexpr int kMovementStepMs = 6;
    static constexpr int kHighlightMs = 400;

signals:
    // Every step has been played; the live table shows again.
    void finished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void holdInput(bool hold);
    void playNext();
    void startTimed(int milliseconds);
    void tick();
    void popFront();
    void endPlaying();

    Output out_;
    QWidget* guarded_ = nullptr;
    bool holding_ = false;
    std::deque<Step> steps_;
    QTimer* timer_ = nullptr;
    bool scheduled_ = false;
    bool timed_ = false;
    bool inNotice_ = false;
    std::shared_ptr<const GameState> shown_;
    // The current movement: positions done of `positions`, then the highlight.
    int position_ = 0;
    int positions_ = 0;
    bool highlighting_ = false;
    bool overlay_ = false;
    bool overlayDark_ = false;
    Card overlayCard_;
    QPoint overlayPos_;
};

} // namespace velnora::ui
