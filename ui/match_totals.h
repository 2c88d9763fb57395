#pragma once
// The match totals at the right end of the menu bar, where they stay in view at every table
// size and with the status bar switched off.

#include <QLabel>

namespace velnora::ui {

class MatchTotals : public QLabel {
    Q_OBJECT
public:
    explicit MatchTotals(QWidget* parent);
    // The names as the results show them; a partner's is shown as typed, and cut when long.
    void showTotals(const QString& playerName, int playerTotal, const QString& opponentName,
                    int opponentTotal);
    // Room for the longest text it shows: the menu bar places a corner widget by its size
    // hint once, and does not look again when the text grows.
    QSize sizeHint() const override;
};

} // namespace velnora::ui
