#include "rules_dialog.h"

#include "context_help.h"
#include "dialog_look.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

namespace velnora::ui {

int TfmRules::lastPage_ = 0;

namespace {

// Indent of a check box that only matters while the one above it is ticked.
constexpr int kDependentIndent = 22;

QCheckBox* makeCheck(QWidget* parent, const char* name, const QString& caption) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

// A radio group: a titled frame with one radio button per item, exclusive through the group.
QGroupBox* makeRadioGroup(QWidget* parent, const char* name, const QString& caption,
                          const QStringList& items, QButtonGroup*& group) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    group = new QButtonGroup(box);
    auto* row = new QHBoxLayout(box);
    row->setSpacing(look::kMargin * 2);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], box);
        button->setObjectName(QString::fromLatin1(name) + QString::number(i));
        group->addButton(button, i);
        row->addWidget(button);
    }
    row->addStretch(1);
    return box;
}

QWidget* indented(QWidget* child, QWidget* parent) {
    auto* holder = new QWidget(parent);
    auto* row = new QHBoxLayout(holder);
    row->setContentsMargins(kDependentIndent, 0, 0, 0);
    row->addWidget(child);
    return holder;
}

using look::pageLayout;

} // namespace

TfmRules::TfmRules(const RuleSettings& rules, bool gameInProgress, QWidget* parent, int startPage)
    : QDialog(parent), gameInProgress_(gameInProgress) {
    QVBoxLayout* outer = nullptr;
    pages_ = look::pagedDialog(this, QStringLiteral("TfmRules"), QStringLiteral("Rules"),
                               QStringLiteral("pcRules"), outer);
    buildPages();

    lbWarning_ = new QLabel(
        QStringLiteral("The rules cannot be changed now, because a game is in progress. Press OK "
                       "and then F2 to start a new game. The current game will be aborted."),
        this);
    lbWarning_->setObjectName(QStringLiteral("lbWarning"));
    lbWarning_->setWordWrap(true);
    {
        QPalette pal = lbWarning_->palette();
        pal.setColor(QPalette::WindowText, QColor(160, 0, 0));
        lbWarning_->setPalette(pal);
    }
    outer->addWidget(lbWarning_);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(look::kSpacing);
    bnHoyle_ = new QPushButton(QStringLiteral("Hoyle Rules"), this);
    bnHoyle_->setObjectName(QStringLiteral("bnHoyle"));
    bnHoyle_->setAutoDefault(false);
    bnOK_ = new QPushButton(QStringLiteral("OK"), this);
    bnOK_->setObjectName(QStringLiteral("bnOK"));
    bnOK_->setDefault(true);
    bnCancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    bnCancel_->setObjectName(QStringLiteral("bnCancel"));
    bnCancel_->setAutoDefault(false);
    for (QPushButton* b : {bnHoyle_, bnOK_, bnCancel_})
        b->setMinimumWidth(qMax(84, b->sizeHint().width()));
    buttons->addWidget(bnHoyle_);
    buttons->addStretch(1);
    buttons->addWidget(bnOK_);
    buttons->addWidget(bnCancel_);
    outer->addLayout(buttons);

    connect(bnHoyle_, &QPushButton::clicked, this, &TfmRules::bnHoyleClick);
    connect(bnOK_, &QPushButton::clicked, this, &QDialog::accept);
    connect(bnCancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(ckInitFreeze_, &QCheckBox::toggled, this, &TfmRules::ckInitFreezeClick);
    connect(ckNaturalPair_, &QCheckBox::toggled, this, &TfmRules::ckNaturalPairClick);
    connect(goOutItems_, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on) rgGoOutClick();
    });

    // Every rule and page has a short topic, shown by F1 or "What's This?" on it; the buttons
    // share the Customize dialog's topics.
    const std::pair<QWidget*, int> topics[] = {{pages_->widget(0), 1100},
                                               {ckAddTop_, 1101},
                                               {ckInitFreeze_, 1102},
                                               {ckInitBlock_, 1103},
                                               {ckNaturalPair_, 1104},
                                               {ckAddExisting_, 1105},
                                               {pages_->widget(1), 1106},
                                               {ckDrawExtra_, 1107},
                                               {ckFreezeDiscard_, 1108},
                                               {pages_->widget(2), 1109},
                                               {rgGoOut_, 1110},
                                               {ckRequired_, 1111},
                                               {ckBonus_, 1112},
                                               {ckWildcardAllowed_, 1113},
                                               {pages_->widget(3), 1114},
                                               {rgDrawn_, 1115},
                                               {ckTopCount_, 1116},
                                               {bnHoyle_, 1117},
                                               {bnOK_, 1019},
                                               {bnCancel_, 1020}};
    for (const auto& [control, topic] : topics)
        setHelpContext(control, topic);
    installContextHelp(this);

    setControls(rules);

    if (gameInProgress_) {
        for (QWidget* w : std::initializer_list<QWidget*>{
                 ckRequired_, rgGoOut_, rgDrawn_, ckAddTop_, ckTopCount_, ckInitFreeze_,
                 ckInitBlock_, ckNaturalPair_, ckAddExisting_, ckDrawExtra_, ckFreezeDiscard_,
                 ckBonus_, ckWildcardAllowed_, bnHoyle_})
            w->setEnabled(false);
    }
    lbWarning_->setVisible(gameInProgress_);

    look::openAtPage(this, pages_, startPage, lastPage_, lbWarning_);
}

TfmRules::~TfmRules() {
    lastPage_ = pages_->currentIndex();
}

int TfmRules::rememberedPage() {
    return lastPage_;
}

void TfmRules::done(int result) {
    lastPage_ = pages_->currentIndex();
    QDialog::done(result);
}

void TfmRules::buildPages() {
    // Discard Pile: everything that decides when and how the pile may be taken.
    auto* discard = new QWidget(pages_);
    discard->setObjectName(QStringLiteral("tsDiscardPile"));
    auto* dl = pageLayout(discard);
    ckAddTop_ = makeCheck(discard, "ckAddTop", QStringLiteral("&Add top card to Velnora"));
    ckInitFreeze_ = makeCheck(discard, "ckInitFreeze", QStringLiteral("&Initially frozen"));
    ckInitBlock_ =
        makeCheck(discard, "ckInitBlock", QStringLiteral("&Separately frozen for each player"));
    ckNaturalPair_ = makeCheck(discard, "ckNaturalPair", QStringLiteral("&Natural pair required"));
    ckAddExisting_ =
        makeCheck(discard, "ckAddExisting", QStringLiteral("Also when adding to existing meld"));
    dl->addWidget(ckAddTop_);
    dl->addSpacing(look::kSpacing);
    dl->addWidget(ckInitFreeze_);
    dl->addWidget(indented(ckInitBlock_, discard));
    dl->addSpacing(look::kSpacing);
    dl->addWidget(ckNaturalPair_);
    dl->addWidget(indented(ckAddExisting_, discard));
    dl->addStretch(1);
    pages_->addTab(discard, QStringLiteral("Discard Pile"));

    auto* threes = new QWidget(pages_);
    threes->setObjectName(QStringLiteral("tsRedThrees"));
    auto* tl = pageLayout(threes);
    ckDrawExtra_ = makeCheck(threes, "ckDrawExtra", QStringLiteral("&Draw extra card"));
    ckFreezeDiscard_ = makeCheck(threes, "ckFreezeDiscard", QStringLiteral("&Freeze discard pile"));
    tl->addWidget(ckDrawExtra_);
    tl->addWidget(ckFreezeDiscard_);
    tl->addStretch(1);
    pages_->addTab(threes, QStringLiteral("Red Threes"));

    auto* velnoras = new QWidget(pages_);
    velnoras->setObjectName(QStringLiteral("tsVelnoras"));
    auto* vl = pageLayout(velnoras);
    rgGoOut_ =
        makeRadioGroup(velnoras, "rgGoOut", QStringLiteral("&Number of Velnoras needed to go out"),
                       {QStringLiteral("&One"), QStringLiteral("&Two")}, goOutItems_);
    ckRequired_ = makeCheck(velnoras, "ckRequired",
                            QStringLiteral("&Velnora(s) required for positive score"));
    ckBonus_ =
        makeCheck(velnoras, "ckBonus", QStringLiteral("Velnora &bonus counts for initial meld"));
    ckWildcardAllowed_ =
        makeCheck(velnoras, "ckwildcardallowed", QStringLiteral("Wildcard Velnora is allowed"));
    vl->addWidget(rgGoOut_);
    vl->addSpacing(look::kSpacing);
    vl->addWidget(ckRequired_);
    vl->addWidget(ckBonus_);
    vl->addWidget(ckWildcardAllowed_);
    vl->addStretch(1);
    pages_->addTab(velnoras, QStringLiteral("Velnoras"));

    auto* other = new QWidget(pages_);
    other->setObjectName(QStringLiteral("tsOther"));
    auto* ol = pageLayout(other);
    rgDrawn_ = makeRadioGroup(other, "rgDrawn", QStringLiteral("Number of &Cards drawn each turn"),
                              {QStringLiteral("On&e"), QStringLiteral("T&wo")}, drawnItems_);
    ckTopCount_ =
        makeCheck(other, "ckTopCount", QStringLiteral("&Top card counts for initial meld"));
    ol->addWidget(rgDrawn_);
    ol->addSpacing(look::kSpacing);
    ol->addWidget(ckTopCount_);
    ol->addStretch(1);
    pages_->addTab(other, QStringLiteral("Other"));
}

void TfmRules::setItemIndex(QButtonGroup* group, int index) {
    if (QAbstractButton* b = group->button(index)) b->setChecked(true);
}

void TfmRules::setControls(const RuleSettings& r) {
    // Counts outside 1..2 never reach here from the store, but a stray value must still select
    // a radio item, or rules() would later report a count the game cannot play.
    setItemIndex(goOutItems_, r.velnorasToGoOut == 2 ? 1 : 0);
    setItemIndex(drawnItems_, r.cardsDrawn == 2 ? 1 : 0);
    ckRequired_->setChecked(r.velnoraRequired);
    ckAddTop_->setChecked(r.addToVelnora);
    ckTopCount_->setChecked(r.topCardCounts);
    ckInitFreeze_->setChecked(r.initialBlock);
    ckInitBlock_->setChecked(r.initialBlockForBoth);
    ckNaturalPair_->setChecked(r.naturalPair);
    ckAddExisting_->setChecked(r.addExistingMeld);
    ckDrawExtra_->setChecked(r.drawExtra);
    ckFreezeDiscard_->setChecked(r.threeBlock);
    ckBonus_->setChecked(r.bonusCounts);
    ckWildcardAllowed_->setChecked(r.wildcardVelnora);
    rgGoOutClick();
    ckInitFreezeClick();
    ckNaturalPairClick();
}

RuleSettings TfmRules::rules() const {
    RuleSettings r;
    r.velnoraRequired = ckRequired_->isChecked();
    r.velnorasToGoOut = goOutItems_->checkedId() + 1;
    r.cardsDrawn = drawnItems_->checkedId() + 1;
    r.addToVelnora = ckAddTop_->isChecked();
    r.topCardCounts = ckTopCount_->isChecked();
    r.initialBlock = ckInitFreeze_->isChecked();
    r.initialBlockForBoth = ckInitBlock_->isChecked();
    r.naturalPair = ckNaturalPair_->isChecked();
    r.addExistingMeld = ckAddExisting_->isChecked();
    r.drawExtra = ckDrawExtra_->isChecked();
    r.threeBlock = ckFreezeDiscard_->isChecked();
    r.bonusCounts = ckBonus_->isChecked();
    r.wildcardVelnora = ckWildcardAllowed_->isChecked();
    return r;
}

void TfmRules::bnHoyleClick() {
    setControls(hoyleRules());
}

// The dependent boxes keep their tick while disabled: the stored value survives a round trip
// through the parent option.
void TfmRules::ckInitFreezeClick() {
    ckInitBlock_->setEnabled(!gameInProgress_ && ckInitFreeze_->isChecked());
}

void TfmRules::ckNaturalPairClick() {
    ckAddExisting_->setEnabled(!gameInProgress_ && ckNaturalPair_->isChecked());
}

void TfmRules::rgGoOutClick() {
    ckRequired_->setText(goOutItems_->checkedId() == 1
                             ? QStringLiteral("At least two Velnoras required for positive score")
                             : QStringLiteral("At least one Velnora required for positive score"));
}

} // namespace velnora::ui
