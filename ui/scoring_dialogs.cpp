#include "scoring_dialogs.h"

#include "dialog_look.h"
#include "match_report.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velnora::ui {

namespace {

QVBoxLayout* dialogLayout(QDialog* dialog) {
    auto* outer = new QVBoxLayout(dialog);
    outer->setContentsMargins(look::kMargin, look::kMargin, look::kMargin, look::kMargin);
    outer->setSpacing(look::kMargin);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    return outer;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    button->setMinimumWidth(qMax(84, button->sizeHint().width()));
    return button;
}

// A centred row of buttons, so a pair reads as one choice under its question.
QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->setSpacing(look::kSpacing);
    row->addStretch(1);
    for (QPushButton* b : buttons)
        row->addWidget(b);
    row->addStretch(1);
    return row;
}

// The three-line summary both result dialogs share: your score, theirs, and the difference,
// with a rule above the bold difference as on a score sheet.
QGridLayout* summaryGrid(QWidget* parent, const QString& opponentCaption, int playerScore,
                         int opponentScore, int difference) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(look::kMargin * 2);
    grid->setVerticalSpacing(look::kSpacing);

    auto* yours = new QLabel(QStringLiteral("Your Score:"), parent);
    yours->setObjectName(QStringLiteral("lbYourScore"));
    auto* theirs = look::plain(new QLabel(opponentCaption, parent));
    theirs->setObjectName(QStringLiteral("lbOpponent"));
    auto* diff = new QLabel(QStringLiteral("Difference:"), parent);
    diff->setObjectName(QStringLiteral("lbDifferenceCaption"));
    look::makeBold(diff);

    auto* diffValue = look::numberLabel(difference, parent, QStringLiteral("lbDifference"));
    look::makeBold(diffValue);

    grid->addWidget(yours, 0, 0);
    grid->addWidget(look::numberLabel(playerScore, parent, QStringLiteral("lbPlayerScore")), 0, 1);
    grid->addWidget(theirs, 1, 0);
    grid->addWidget(look::numberLabel(opponentScore, parent, QStringLiteral("lbOpponentScore")), 1,
                    1);
    grid->addWidget(look::horizontalRule(parent), 2, 0, 1, 2);
    grid->addWidget(diff, 3, 0);
    grid->addWidget(diffValue, 3, 1);
    grid->setColumnStretch(0, 1);
    return grid;
}

// Wraps a grid so it sits centred with some air on both sides.
QHBoxLayout* centred(QLayout* inner) {
    auto* row = new QHBoxLayout;
    row->addSpacing(look::kMargin);
    row->addLayout(inner, 1);
    row->addSpacing(look::kMargin);
    return row;
}

} // namespace

// Scoring Results

TfmScoring::TfmScoring(const HandReport& report, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfmScoring"));
    setWindowTitle(QStringLiteral("Scoring Results"));
    setFont(look::dialogFont());
    setModal(true);

    auto* outer = dialogLayout(this);
    auto* caption =
        look::captionPanel(QStringLiteral("Hand Finished"), this, QStringLiteral("lbCaption"));
    caption->setMinimumWidth(270);
    outer->addWidget(caption);

    const QString opponentCaption =
        report.networkGame
            ? QString::fromStdString(report.opponentName) + QStringLiteral("'s Score:")
            : QStringLiteral("Computer's Score:");
    const int mine = report.player.total();
    const int theirs = report.opponent.total();
    outer->addLayout(centred(summaryGrid(this, opponentCaption, mine, theirs, mine - theirs)));

    auto* bnOK = makeButton(this, "bnOK", QStringLiteral("OK"));
    bnOK->setDefault(true);
    auto* bnDetails = makeButton(this, "bnDetails", QStringLiteral("&Details >>"));
    buttons_ = buttonRow({bnOK, bnDetails});
    outer->addLayout(buttons_);

    connect(bnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(bnDetails, &QPushButton::clicked, this, &TfmScoring::bnDetailsClick);
}

void TfmScoring::offerScoreSheet(std::function<void()> open) {
    auto* bnScoreSheet = makeButton(this, "bnScoreSheet", QStringLiteral("Score &Sheet..."));
    // Before the closing stretch, so the row stays centred.
    buttons_->insertWidget(buttons_->count() - 1, bnScoreSheet);
    connect(bnScoreSheet, &QPushButton::clicked, this, std::move(open));
}

void TfmScoring::bnDetailsClick() {
    done(kDetailsResult);
}

// Detailed Scoring Results

TfmDetails::TfmDetails(const HandReport& report, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfmDetails"));
    setWindowTitle(QStringLiteral("Detailed Scoring Results"));
    setFont(look::dialogFont());
    setModal(true);

    auto* outer = dialogLayout(this);

    // Columns: row caption | player count, value | divider | opponent count, value.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(look::kMargin);
    grid->setVerticalSpacing(look::kSpacing);
    enum { colCaption = 0, colPlayer = 1, colDivider = 3, colOpponent = 4, columns = 6 };

    auto* playerName = look::plain(new QLabel(QString::fromStdString(report.playerName), this));
    playerName->setObjectName(QStringLiteral("lbPlayerName"));
    auto* opponentName = look::plain(new QLabel(QString::fromStdString(report.opponentName), this));
    opponentName->setObjectName(QStringLiteral("lbOpponentName"));
    for (QLabel* name : {playerName, opponentName}) {
        look::makeBold(name);
        name->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    grid->addWidget(playerName, 0, colPlayer, 1, 2);
    grid->addWidget(opponentName, 0, colOpponent, 1, 2);
    grid->addWidget(look::horizontalRule(this), 1, 0, 1, columns);

    // Counts are secondary to the points, so they are drawn in the muted text colour.
    QPalette muted = palette();
    muted.setColor(QPalette::WindowText, palette().color(QPalette::PlaceholderText));

    struct Row {
        const char* caption;
        int countIndex; // -1: the row has a value only
        int valueIndex;
    };
    const Row rows[] = {{"Cards on the Table", 0, 1},
                        {"Cards in Hand", 2, 3},
                        {"Velnoras", 4, 5},
                        {"Red Threes", 6, 7},
                        {"Finish Bonus", -1, 9}};

    auto addSeat = [&](const HandScore& score, const QString& prefix, int column, int gridRow,
                       const Row& row) {
        if (row.countIndex >= 0) {
            auto* count = look::numberLabel(score.v[row.countIndex], this,
                                            prefix + QString::number(row.countIndex));
            count->setMinimumWidth(count->fontMetrics().horizontalAdvance(QStringLiteral("000")));
            count->setPalette(muted);
            grid->addWidget(count, gridRow, column);
        }
        grid->addWidget(look::numberLabel(score.v[row.valueIndex], this,
                                          prefix + QString::number(row.valueIndex)),
                        gridRow, column + 1);
    };

    int gridRow = 2;
    for (const Row& row : rows) {
        grid->addWidget(new QLabel(QString::fromLatin1(row.caption), this), gridRow, colCaption);
        addSeat(report.player, QStringLiteral("lbPlayerValue"), colPlayer, gridRow, row);
        addSeat(report.opponent, QStringLiteral("lbOpponentValue"), colOpponent, gridRow, row);
        ++gridRow;
    }
    grid->addWidget(look::horizontalRule(this), gridRow++, 0, 1, columns);

    auto* total = new QLabel(QStringLiteral("TOTAL"), this);
    look::makeBold(total);
    grid->addWidget(total, gridRow, colCaption);
    auto* playerTotal =
        look::numberLabel(report.player.total(), this, QStringLiteral("lbPlayerValue11"));
    auto* opponentTotal =
        look::numberLabel(report.opponent.total(), this, QStringLiteral("lbOpponentValue11"));
    look::makeBold(playerTotal);
    look::makeBold(opponentTotal);
    grid->addWidget(playerTotal, gridRow, colPlayer + 1);
    grid->addWidget(opponentTotal, gridRow, colOpponent + 1);

    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::VLine);
    divider->setFrameShadow(QFrame::Sunken);
    grid->addWidget(divider, 0, colDivider, gridRow + 1, 1);
    grid->setColumnMinimumWidth(colCaption, 130);

    outer->addLayout(grid);

    auto* bnOK = makeButton(this, "bnOK", QStringLiteral("OK"));
    bnOK->setDefault(true);
    outer->addLayout(buttonRow({bnOK}));
    connect(bnOK, &QPushButton::clicked, this, &QDialog::accept);
}

// Game Over

TfmGameOver::TfmGameOver(const MatchReport& report, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfmGameOver"));
    setWindowTitle(QStringLiteral("Velnora"));
    setFont(look::dialogFont());
    setModal(true);

    auto* outer = dialogLayout(this);
    outer->addWidget(
        look::captionPanel(QStringLiteral("Game Over"), this, QStringLiteral("lbCaption")));

    auto* comment = look::plain(new QLabel(QString::fromStdString(report.verdict), this));
    comment->setObjectName(QStringLiteral("lbComment"));
    comment->setWordWrap(true);
    comment->setAlignment(Qt::AlignCenter);
    comment->setMinimumWidth(300);
    outer->addWidget(comment);

    const QString opponentCaption =
        QString::fromStdString(report.opponentName) + QStringLiteral("'s score:");
    outer->addLayout(centred(summaryGrid(this, opponentCaption, report.playerTotal,
                                         report.opponentTotal, report.matchDiff)));

    hints_ = new QLabel(this);
    hints_->setObjectName(QStringLiteral("lbHints"));
    hints_->setAlignment(Qt::AlignCenter);
    hints_->hide();
    outer->addWidget(hints_);

    auto* question =
        new QLabel(report.networkGame ? QStringLiteral("Press OK to continue.")
                                      : QStringLiteral("Do you want to play another game?"),
                   this);
    question->setObjectName(QStringLiteral("lbQuestion"));
    question->setAlignment(Qt::AlignCenter);
    outer->addWidget(question);

    if (report.networkGame) {
        auto* bnOK = makeButton(this, "bnOK", QStringLiteral("&OK"));
        bnOK->setDefault(true);
        auto* bnSend = makeButton(this, "bnSendResult", QStringLiteral("Send &Result"));
        outer->addLayout(buttonRow({bnOK, bnSend}));
        connect(bnSend, &QPushButton::clicked, this, &TfmGameOver::btSendResultClick);
        connect(bnOK, &QPushButton::clicked, this, [this] { done(kResultYes); });
    } else {
        auto* bnYes = makeButton(this, "bnYes", QStringLiteral("&Yes"));
        bnYes->setDefault(true);
        auto* bnNo = makeButton(this, "bnNo", QStringLiteral("&No"));
        outer->addLayout(buttonRow({bnYes, bnNo}));
        connect(bnYes, &QPushButton::clicked, this, [this] { done(kResultYes); });
        connect(bnNo, &QPushButton::clicked, this, [this] { done(kResultNo); });
    }
}

void TfmGameOver::setHintsUsed(int hints) {
    hints_->setText(QStringLiteral("hints used: %1").arg(hints));
    hints_->show();
}

void TfmGameOver::reject() {
    done(kResultNo);
}

void TfmGameOver::btSendResultClick() {
    // The report repeats what the dialog shows, label by label.
    auto text = [this](const char* name) {
        const auto* label = findChild<QLabel*>(QString::fromLatin1(name));
        return label ? label->text() : QString();
    };
    online::sendMatchReport(this, {localNetworkName_, text("lbPlayerScore"), text("lbOpponent"),
                                   text("lbOpponentScore")});
}

} // namespace velnora::ui
