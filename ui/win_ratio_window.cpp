#include "win_ratio_window.h"

#include "dialog_look.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace velnora::ui {

TfmWinRatio::TfmWinRatio(Settings& settings, std::vector<PlayerRecord>& players, int currentPlayer,
                         QWidget* parent)
    : QDialog(parent), settings_(settings), players_(players), currentPlayer_(currentPlayer) {
    setObjectName(QStringLiteral("TfmWinRatio"));
    setWindowTitle(QStringLiteral("Win Ratio"));
    setFont(look::dialogFont());

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(look::kMargin, look::kMargin, look::kMargin, look::kMargin);
    outer->setSpacing(look::kMargin);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    cbPlayer_ = new QComboBox(this);
    cbPlayer_->setObjectName(QStringLiteral("cbPlayer"));
    cbPlayer_->setMinimumWidth(200);
    outer->addWidget(cbPlayer_);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(look::kMargin * 2);
    grid->setVerticalSpacing(look::kSpacing);
    auto value = [this](const char* name) {
        auto* label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(name));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setMinimumWidth(60);
        return label;
    };
    lbWins_ = value("lbWins");
    lbLosses_ = value("lbLosses");
    lbRatio_ = value("lbRatio");
    grid->addWidget(new QLabel(QStringLiteral("Wins:"), this), 0, 0);
    grid->addWidget(lbWins_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Losses:"), this), 1, 0);
    grid->addWidget(lbLosses_, 1, 1);
    grid->addWidget(look::horizontalRule(this), 2, 0, 1, 2);
    auto* ratioCaption = new QLabel(QStringLiteral("Ratio:"), this);
    look::makeBold(ratioCaption);
    look::makeBold(lbRatio_);
    grid->addWidget(ratioCaption, 3, 0);
    grid->addWidget(lbRatio_, 3, 1);
    grid->setColumnStretch(0, 1);
    outer->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(look::kSpacing);
    QPushButton* bnOK = look::button(this, QStringLiteral("bnOK"), QStringLiteral("OK"));
    bnOK->setDefault(true);
    bnReset_ = look::button(this, QStringLiteral("bnReset"), QStringLiteral("&Reset"));
    buttons->addStretch(1);
    buttons->addWidget(bnOK);
    buttons->addWidget(bnReset_);
    outer->addLayout(buttons);

    for (const PlayerRecord& p : players_)
        cbPlayer_->addItem(QString::fromStdString(p.name));
    const bool hasCurrent = currentPlayer_ >= 0 && currentPlayer_ < int(players_.size());
    cbPlayer_->setCurrentIndex(hasCurrent ? currentPlayer_ : -1);
    bnReset_->setEnabled(!players_.empty());
    cbPlayerChange();

    connect(bnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(bnReset_, &QPushButton::clicked, this, &TfmWinRatio::bnResetClick);
    connect(cbPlayer_, &QComboBox::currentIndexChanged, this, &TfmWinRatio::cbPlayerChange);
}

PlayerRecord* TfmWinRatio::shownPlayer() {
    const std::string name = cbPlayer_->currentText().toStdString();
    if (cbPlayer_->currentIndex() < 0) return nullptr;
    for (PlayerRecord& p : players_)
        if (p.name == name) return &p;
    return nullptr;
}

void TfmWinRatio::cbPlayerChange() {
    const bool hasCurrent = currentPlayer_ >= 0 && currentPlayer_ < int(players_.size());
    const PlayerRecord* p = hasCurrent ? shownPlayer() : nullptr;
    if (!p) {
        lbWins_->clear();
        lbLosses_->clear();
        lbRatio_->clear();
        return;
    }
    lbWins_->setText(QString::number(p->wins));
    lbLosses_->setText(QString::number(p->losses));
    lbRatio_->setText(QString::fromStdString(winRatioText(p->wins, p->losses)) +
                      QStringLiteral("%"));
}

void TfmWinRatio::bnResetClick() {
    PlayerRecord* p = shownPlayer();
    if (!p) return;
    const QString question =
        QStringLiteral("Do you want to reset the win ratio statistics for player ") +
        QString::fromStdString(p->name) + QStringLiteral("?");
    if (!look::askYesNo(this, question)) return;
    p->wins = 0;
    p->losses = 0;
    rewritePlayerList(settings_, players_, currentPlayer_);
    cbPlayerChange();
}

} // namespace velnora::ui
