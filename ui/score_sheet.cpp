#include "score_sheet.h"

#include "dialog_look.h"
#include "match_scores.h"
#include "score_chart.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velnora::ui {

namespace {

// The two seats' colours, told apart by people who do not see red and green apart.
const QColor kPlayerColour(0, 90, 200);
const QColor kOpponentColour(220, 110, 0);

QTableWidgetItem* cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

} // namespace

TfmScoreSheet::TfmScoreSheet(const MatchScores& scores, const QString& playerName,
                             const QString& opponentName, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TfmScoreSheet"));
    setWindowTitle(QStringLiteral("Score Sheet"));
    setFont(look::dialogFont());

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(look::kMargin, look::kMargin, look::kMargin, look::kMargin);
    outer->setSpacing(look::kSpacing);

    const auto& hands = scores.hands();
    const bool unknown = scores.earlierHandsUnknown();
    QString note;
    if (unknown)
        note = QStringLiteral("This match was loaded part-way through: the hands before it are "
                              "not known here, only the totals they came to (first row).");
    else if (hands.empty())
        note = QStringLiteral("No hand of this match has been scored yet.");
    auto* lbNote = look::plain(new QLabel(note, this));
    lbNote->setObjectName(QStringLiteral("lbNote"));
    lbNote->setWordWrap(true);
    lbNote->setVisible(!note.isEmpty());
    outer->addWidget(lbNote);

    // Hand | the player's score and total | the opponent's score and total. Header items are
    // never read as markup, so the partner's name is safe there.
    auto* table = new QTableWidget(0, 5, this);
    table->setObjectName(QStringLiteral("sgHands"));
    table->setHorizontalHeaderLabels({QStringLiteral("Hand"), playerName + QStringLiteral("\nhand"),
                                      playerName + QStringLiteral("\ntotal"),
                                      opponentName + QStringLiteral("\nhand"),
                                      opponentName + QStringLiteral("\ntotal")});
    table->verticalHeader()->hide();
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->horizontalHeader()->setTextElideMode(Qt::ElideRight);
    auto addRow = [table](const QString& hand, const QString& player, int playerTotal,
                          const QString& opponent, int opponentTotal) {
        const int row = table->rowCount();
        table->insertRow(row);
        table->setItem(row, 0, cell(hand));
        table->setItem(row, 1, cell(player));
        table->setItem(row, 2, cell(QString::number(playerTotal)));
        table->setItem(row, 3, cell(opponent));
        table->setItem(row, 4, cell(QString::number(opponentTotal)));
    };
    const int openingPlayer = scores.openingPlayerTotal();
    const int openingOpponent = scores.openingOpponentTotal();
    if (unknown)
        addRow(QStringLiteral("before"), QString(), openingPlayer, QString(), openingOpponent);
    int number = 0;
    for (const ScoredHand& h : hands)
        addRow(QString::number(++number), QString::number(h.player), h.playerTotal,
               QString::number(h.opponent), h.opponentTotal);
    table->setMinimumSize(440, 160);
    if (table->rowCount() > 0) table->scrollToBottom();
    outer->addWidget(table, 1);

    ScoreChart::Series mine{playerName, kPlayerColour, {openingPlayer}};
    ScoreChart::Series theirs{opponentName, kOpponentColour, {openingOpponent}};
    for (const ScoredHand& h : hands) {
        mine.totals.push_back(h.playerTotal);
        theirs.totals.push_back(h.opponentTotal);
    }
    auto* chart = new ScoreChart(this);
    chart->setSeries({mine, theirs});
    outer->addWidget(chart, 1);

    auto* row = new QHBoxLayout;
    QPushButton* bnOK = look::button(this, QStringLiteral("bnOK"), QStringLiteral("&OK"));
    bnOK->setDefault(true);
    row->addStretch(1);
    row->addWidget(bnOK);
    outer->addLayout(row);
    connect(bnOK, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace velnora::ui
