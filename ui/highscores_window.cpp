#include "highscores_window.h"

#include "dialog_look.h"
#include "qt_text.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace velnora::ui {

namespace {

QLabel* cell(QWidget* parent, const QString& objectName, Qt::Alignment align = Qt::AlignLeft) {
    auto* label = look::plain(new QLabel(parent));
    label->setObjectName(objectName);
    label->setAlignment(align | Qt::AlignVCenter);
    return label;
}

} // namespace

TfmHighscores::TfmHighscores(Settings& settings, Highscores& highscores, int level, int kind,
                             int newRank, QWidget* parent)
    : QDialog(parent), settings_(settings), highscores_(highscores),
      level_(std::clamp(level, 0, kHighscoreLevels - 1)), kind_(kind == kMatchHighscore ? 1 : 0),
      newLevel_(level_), newKind_(kind_), newRank_(newRank) {
    setObjectName(QStringLiteral("TfmHighscores"));
    setWindowTitle(QStringLiteral("Velnora Hall of Fame"));
    setFont(look::dialogFont());

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(look::kMargin, look::kMargin, look::kMargin, look::kMargin);
    outer->setSpacing(look::kMargin);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    // The table: rank, name, date and score, one line per rank.
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setAutoFillBackground(true);
    QPalette pal = frame->palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Base));
    frame->setPalette(pal);
    auto* grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(look::kMargin * 2);
    grid->setVerticalSpacing(look::kSpacing / 2);
    const QStringList headings = {QStringLiteral("Ranking"), QStringLiteral("Player"),
                                  QStringLiteral("Date"), QStringLiteral("Score")};
    for (int c = 0; c < headings.size(); ++c) {
        auto* h = new QLabel(headings[c], frame);
        h->setObjectName(QStringLiteral("lbHeading") + QString::number(c));
        look::makeBold(h);
        h->setAlignment((c == 0 || c == 3 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        grid->addWidget(h, 0, c);
    }
    grid->addWidget(look::horizontalRule(frame), 1, 0, 1, 4);
    for (int r = 0; r < kHighscoreRanks; ++r) {
        const QString n = QString::number(r + 1);
        auto* rank = cell(frame, QStringLiteral("lbRank") + n, Qt::AlignRight);
        rank->setText(n);
        names_[std::size_t(r)] = cell(frame, QStringLiteral("lbName") + n);
        names_[std::size_t(r)]->setMinimumWidth(160);
        dates_[std::size_t(r)] = cell(frame, QStringLiteral("lbDate") + n);
        dates_[std::size_t(r)]->setMinimumWidth(90);
        scores_[std::size_t(r)] = cell(frame, QStringLiteral("lbScore") + n, Qt::AlignRight);
        scores_[std::size_t(r)]->setMinimumWidth(50);
        grid->addWidget(rank, r + 2, 0);
        grid->addWidget(names_[std::size_t(r)], r + 2, 1);
        grid->addWidget(dates_[std::size_t(r)], r + 2, 2);
        grid->addWidget(scores_[std::size_t(r)], r + 2, 3);
    }
    grid->setColumnStretch(1, 1);
    outer->addWidget(frame);

    auto* rgLevel = look::radioGroup(this, QStringLiteral("rgLevel"), QStringLiteral("&Level"),
                                     {QStringLiteral("&Beginner"), QStringLiteral("&Advanced"),
                                      QStringLiteral("&Expert"), QStringLiteral("&Network")},
                                     4, levels_);
    outer->addWidget(rgLevel);

    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(look::kMargin);
    auto* rgType =
        look::radioGroup(this, QStringLiteral("rgType"), QStringLiteral("&Type of Highscore"),
                         {QStringLiteral("&Hand"), QStringLiteral("&Match")}, 2, types_);
    bottom->addWidget(rgType, 1);
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(look::kSpacing);
    QPushButton* bnOK = look::button(this, QStringLiteral("bnOK"), QStringLiteral("OK"));
    bnOK->setDefault(true);
    QPushButton* bnClear = look::button(this, QStringLiteral("bnClear"), QStringLiteral("&Clear"));
    buttons->addStretch(1);
    buttons->addWidget(bnOK);
    buttons->addWidget(bnClear);
    bottom->addLayout(buttons);
    outer->addLayout(bottom);

    levels_->button(level_)->setChecked(true);
    types_->button(kind_)->setChecked(true);
    set_ = highscores_.sets[std::size_t(kind_)];
    display();

    connect(bnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(bnClear, &QPushButton::clicked, this, &TfmHighscores::bnClearClick);
    connect(levels_, &QButtonGroup::idClicked, this, &TfmHighscores::rgLevelClick);
    connect(types_, &QButtonGroup::idClicked, this, &TfmHighscores::rgTypeClick);
}

void TfmHighscores::rgLevelClick(int level) {
    level_ = level;
    display();
}

void TfmHighscores::rgTypeClick(int kind) {
    kind_ = kind;
    set_ = highscores_.sets[std::size_t(kind_)];
    display();
}

void TfmHighscores::bnClearClick() {
    const QString question =
        QStringLiteral("Are you sure you want to clear all highscores for the ") +
        QString::fromLatin1(highscoreLevelName(level_)) + QStringLiteral(" level?");
    if (!look::askYesNo(this, question)) return;
    clearHighscoreTable(settings_, highscores_.table(kind_, level_), kind_, level_);
    set_[std::size_t(level_)] = HighscoreTable{};
    display();
}

void TfmHighscores::display() {
    const HighscoreTable& table = set_[std::size_t(level_)];
    const bool newHere = kind_ == newKind_ && level_ == newLevel_;
    for (int r = 0; r < kHighscoreRanks; ++r) {
        const HighscoreEntry& e = table[std::size_t(r)];
        QLabel* name = names_[std::size_t(r)];
        name->setText(qs(e.name));
        QFont f = name->font();
        f.setBold(newHere && r == newRank_);
        name->setFont(f);
        dates_[std::size_t(r)]->setText(qs(e.date));
        // An empty line shows no score rather than a row of zeros; a line with a name shows
        // its score even when it is 0 (a stored table may hold one).
        const bool empty = e.score == 0 && e.name.empty() && e.date.empty();
        scores_[std::size_t(r)]->setText(empty ? QString() : QString::number(e.score));
    }
}

} // namespace velnora::ui
