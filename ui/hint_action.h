#pragma once
// The Game menu's hint: asks the Master what it would do in the player's place, shows the
// answer on the status line and whole in a panel at the foot of the table, marks the cards on
// the table, and counts the hints of a match.

#include <QObject>

#include <functional>
#include <string>

class QAction;
class QLabel;
class QString;
class QMenu;

namespace velnora {
class Game;
}

namespace velnora::ui {

class TableView;

class HintAction : public QObject {
    Q_OBJECT
public:
    // Adds "H&int" to the menu (the H belongs to the hall of fame); status shows a text on the
    // status line.
    HintAction(QMenu* menu, Game& game, TableView& table,
               std::function<void(const std::string&)> status, QObject* parent);

    QAction* action() const { return action_; }
    // Hints asked for since the match began.
    int hintsUsed() const { return hintsUsed_; }
    // A new match (or a loaded one) starts counting from nothing.
    void resetCount() { hintsUsed_ = 0; }
    // Works out and shows the hint; on another's turn it says when a hint can be had.
    void showHint();
    // The table changed: the panel goes once the table is no longer the one the hint was for.
    void followTable();
    // The panel with the whole of the hint, while it shows.
    QLabel* panel() const { return panel_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placePanel();

    Game& game_;
    TableView& table_;
    std::function<void(const std::string&)> status_;
    QAction* action_ = nullptr;
    QLabel* panel_ = nullptr;
    int hintsUsed_ = 0;
};

} // namespace velnora::ui
