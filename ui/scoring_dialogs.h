#pragma once
// The end-of-hand and end-of-match dialogs: "Scoring Results", "Detailed Scoring Results" and
// "Game Over".
//
// Use:
//     TfmScoring scoring(report, this);
//     if (scoring.exec() == TfmScoring::kDetailsResult) {   // "&Details >>" was pressed
//         TfmDetails details(report, this);                 // reveal the opponent's hand around
//         details.exec();                                   // this call when the game is local
//     }
//     TfmGameOver over(matchReport, this);
//     int answer = over.exec();    // kResultYes (6) play again, kResultNo (7) stop
// Each dialog only shows what its report holds; the caller owns every consequence.

#include "host.h"

#include <QDialog>

#include <functional>

class QHBoxLayout;
class QLabel;
class QPushButton;

namespace velnora::ui {

// "Scoring Results": both hand totals and their difference after a hand.
class TfmScoring : public QDialog {
    Q_OBJECT
public:
    // The exec() result of "&Details >>"; "OK" gives QDialog::Accepted.
    static constexpr int kDetailsResult = 1000;

    // Shows the player's and the opponent's hand totals of report.
    explicit TfmScoring(const HandReport& report, QWidget* parent = nullptr);
    // Adds "Score &Sheet..." beside the other buttons; open shows the sheet over this dialog,
    // which stays open.
    void offerScoreSheet(std::function<void()> open);

private:
    void bnDetailsClick();

    QHBoxLayout* buttons_ = nullptr;
};

// "Detailed Scoring Results": the twelve hand values of both seats, row by row.
class TfmDetails : public QDialog {
    Q_OBJECT
public:
    // Value labels are named lbPlayerValue<i> and lbOpponentValue<i> after the HandScore index.
    explicit TfmDetails(const HandReport& report, QWidget* parent = nullptr);
};

// "Game Over": the verdict and the match totals, and the question whether to play on.
class TfmGameOver : public QDialog {
    Q_OBJECT
public:
    // A local game asks "&Yes"/"&No"; a network game offers "&OK" and "Send &Result". Closing
    // the window any other way answers kResultNo.
    explicit TfmGameOver(const MatchReport& report, QWidget* parent = nullptr);
    // Shows "hints used: N" above the question.
    void setHintsUsed(int hints);

    // Answers kResultNo, as "&No" does: the window was closed without choosing to play on.
    void reject() override;

    // The name this copy announced to the partner; "Send &Result" reports under it.
    void setLocalNetworkName(const QString& name) { localNetworkName_ = name; }

private:
    void btSendResultClick();

    QString localNetworkName_ = QStringLiteral("Opponent");
    QLabel* hints_ = nullptr;
};

} // namespace velnora::ui
