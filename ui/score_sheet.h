#pragma once
// "Score Sheet": the hands of the match on the table, one row each with both seats' scores and
// running totals, over a chart of the two totals. Opened from the Game menu and from the
// end-of-hand result.

#include <QDialog>

namespace velnora::ui {

class MatchScores;

class TfmScoreSheet : public QDialog {
    Q_OBJECT
public:
    // The names are the seats' as the results show them; a partner's is shown as typed.
    TfmScoreSheet(const MatchScores& scores, const QString& playerName, const QString& opponentName,
                  QWidget* parent = nullptr);
};

} // namespace velnora::ui
