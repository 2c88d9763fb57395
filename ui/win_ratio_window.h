#pragma once
// "Win Ratio": the wins, losses and win percentage of each known player, with "&Reset".
//
// Use:
//     TfmWinRatio window(settings, playerList, currentPlayer, this);
//     window.exec();
// "&Reset" sets the shown player's counts to 0 in players and rewrites the stored list.

#include "statistics.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QLabel;
class QPushButton;

namespace velnora::ui {

class TfmWinRatio : public QDialog {
    Q_OBJECT
public:
    TfmWinRatio(Settings& settings, std::vector<PlayerRecord>& players, int currentPlayer,
                QWidget* parent = nullptr);

private:
    void cbPlayerChange();
    void bnResetClick();
    // The first list entry with the chosen name, or null.
    PlayerRecord* shownPlayer();

    Settings& settings_;
    std::vector<PlayerRecord>& players_;
    int currentPlayer_;
    QComboBox* cbPlayer_ = nullptr;
    QLabel* lbWins_ = nullptr;
    QLabel* lbLosses_ = nullptr;
    QLabel* lbRatio_ = nullptr;
    QPushButton* bnReset_ = nullptr;
};

} // namespace velnora::ui
