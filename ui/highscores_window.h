#pragma once
// "Velnora Hall of Fame": the top-ten tables of one level and kind, with "&Clear".
//
// Use:
//     TfmHighscores window(settings, highscores, computerLevel, kHandHighscore, newRank, this);
//     window.exec();
// The window shows a copy of the chosen kind's tables and redisplays when the level or kind
// changes; "&Clear" empties the shown table in highscores and deletes it from the store.

#include "statistics.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QLabel;

namespace velnora::ui {

class TfmHighscores : public QDialog {
    Q_OBJECT
public:
    // Opens on level and kind; the name at rank index newRank of that table is shown in bold
    // (-1: no new entry).
    TfmHighscores(Settings& settings, Highscores& highscores, int level, int kind = kHandHighscore,
                  int newRank = -1, QWidget* parent = nullptr);

    int level() const { return level_; }
    int kind() const { return kind_; }

private:
    void rgLevelClick(int level);
    void rgTypeClick(int kind);
    void bnClearClick();
    void display();

    Settings& settings_;
    Highscores& highscores_;
    std::array<HighscoreTable, kHighscoreLevels> set_{};
    int level_;
    int kind_;
    int newLevel_;
    int newKind_;
    int newRank_;
    QButtonGroup* levels_ = nullptr;
    QButtonGroup* types_ = nullptr;
    std::array<QLabel*, kHighscoreRanks> names_{};
    std::array<QLabel*, kHighscoreRanks> dates_{};
    std::array<QLabel*, kHighscoreRanks> scores_{};
};

} // namespace velnora::ui
