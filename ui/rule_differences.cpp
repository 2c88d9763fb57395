#include "rule_differences.h"

#include "dialog_look.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace velnora::ui {

TfmRuleDifferences::TfmRuleDifferences(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName("TfmRuleDifferences");
    setWindowTitle("Rule Differences");
    setFont(look::dialogFont());

    auto* intro = new QLabel("The following differences in rules exists between you and your "
                             "opponent. Resolve these before starting to play by changing them in "
                             "the Options | Rules dialog.",
                             this);
    intro->setObjectName("lbIntro");
    intro->setWordWrap(true);
    lvRules_ = new QTreeWidget(this);
    lvRules_->setObjectName("lvRules");
    lvRules_->setRootIsDecorated(false);
    lvRules_->setSelectionMode(QAbstractItemView::NoSelection);
    lvRules_->setHeaderLabels({"Rule", "Your Setting", "Opponent's Setting"});
    lvRules_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    lvRules_->header()->setStretchLastSection(false);
    lvRules_->setMinimumSize(460, 140);
    auto* agree = new QLabel("If you agree to use your opponent's rules, press Use Opponent's "
                             "Rules.",
                             this);
    agree->setObjectName("lbAgree");
    auto* theyAgree = new QLabel("If your opponent agrees to use your rules, (s)he should press "
                                 "Use Opponent's Rules.",
                                 this);
    theyAgree->setObjectName("lbTheyAgree");

    auto* bnUseOpp = new QPushButton("Use Opponent's Rules", this);
    bnUseOpp->setObjectName("bnUseOpp");
    auto* bnOK = new QPushButton("Hide", this);
    bnOK->setObjectName("bnOK");
    bnOK->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bnUseOpp);
    buttons->addWidget(bnOK);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(look::kMargin, look::kMargin, look::kMargin, look::kMargin);
    column->setSpacing(look::kSpacing);
    column->addWidget(intro);
    column->addWidget(lvRules_, 1);
    column->addWidget(agree);
    column->addWidget(theyAgree);
    column->addLayout(buttons);

    connect(bnOK, &QPushButton::clicked, this, &QWidget::hide);
    connect(bnUseOpp, &QPushButton::clicked, this, [this] {
        hide();
        emit useOpponentsRules();
    });
}

void TfmRuleDifferences::setRows(const QList<RuleRow>& rows) {
    lvRules_->clear();
    for (const RuleRow& r : rows)
        lvRules_->addTopLevelItem(new QTreeWidgetItem(QStringList{r.rule, r.yours, r.opponents}));
    for (int c = 1; c < 3; ++c)
        lvRules_->resizeColumnToContents(c);
}

int TfmRuleDifferences::rowCount() const {
    return lvRules_->topLevelItemCount();
}

RuleRow TfmRuleDifferences::row(int index) const {
    const QTreeWidgetItem* item = lvRules_->topLevelItem(index);
    if (!item) return {};
    return {item->text(0), item->text(1), item->text(2)};
}

} // namespace velnora::ui
