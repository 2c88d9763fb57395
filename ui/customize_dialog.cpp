#include "customize_dialog.h"

#include "card_art.h"
#include "context_help.h"
#include "dialog_look.h"
#include "levels.h"
#include "main_window.h"
#include "qt_text.h"
#include "table_view.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

namespace velnora::ui {

int TfmCustomize::lastPage_ = 0;

namespace {

// Help context numbers of the dialog's controls.
enum HelpContext {
    kHelpOK = 1019,
    kHelpCancel = 1020,
    kHelpApply = 1021,
    kHelpBackground = 1024,
    kHelpChangeColour = 1025,
    kHelpWindowSize = 1026,
    kHelpStatusbar = 1027,
    kHelpTurns = 1028,
    kHelpCurrentPlayer = 1029,
    kHelpPlayerList = 1030,
    kHelpNew = 1031,
    kHelpRename = 1032,
    kHelpDelete = 1033,
    kHelpResetStats = 1034,
    kHelpSetCurrent = 1035,
    kHelpLevel = 1036,
    kHelpAggressiveness = 1037,
    kHelpDiscarding = 1038,
    kHelpMelding = 1039,
    kHelpAnimation = 1040,
    kHelpAutoSave = 1041,
    kHelpHighscores = 1042,
};

constexpr int kDelayStep = 150; // milliseconds per step of the melding track bar

QCheckBox* makeCheck(QWidget* parent, const char* name, const QString& caption, int help) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    setHelpContext(box, help);
    return box;
}

QSlider* makeTrackBar(QWidget* parent, const char* name, int maximum, int step) {
    auto* bar = new QSlider(Qt::Horizontal, parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setRange(0, maximum);
    bar->setSingleStep(step);
    bar->setPageStep(step);
    bar->setTickInterval(step);
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setMinimumWidth(180);
    return bar;
}

// A track bar between its two end captions ("Slow" ... "Fast").
QHBoxLayout* trackRow(QWidget* parent, QSlider* bar, const QString& low, const QString& high) {
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(low, parent));
    row->addWidget(bar, 1);
    row->addWidget(new QLabel(high, parent));
    return row;
}

using look::pageLayout;

bool has(const QString& name, QChar c) {
    return name.contains(c);
}

} // namespace

TfmCustomize::TfmCustomize(TfmVelMain& main, int startPage, QWidget* parent)
    : QDialog(parent ? parent : &main), main_(main),
      gameInProgress_(main.game().state.gameInProgress != 0),
      networkGame_(main.game().options.networkGame) {
    QVBoxLayout* outer = nullptr;
    pages_ =
        look::pagedDialog(this, QStringLiteral("TfmCustomize"), QStringLiteral("Customize Velnora"),
                          QStringLiteral("pcCustomize"), outer);
    buildScreenPage();
    buildPlayersPage();
    buildLevelPage();
    buildGeneralPage();

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(look::kSpacing);
    QPushButton* bnOK = look::button(this, QStringLiteral("bnOK"), QStringLiteral("OK"));
    bnOK->setDefault(true);
    setHelpContext(bnOK, kHelpOK);
    QPushButton* bnCancel =
        look::button(this, QStringLiteral("bnCancel"), QStringLiteral("Cancel"));
    setHelpContext(bnCancel, kHelpCancel);
    bnApply_ = look::button(this, QStringLiteral("bnApply"), QStringLiteral("&Apply"));
    setHelpContext(bnApply_, kHelpApply);
    buttons->addStretch(1);
    buttons->addWidget(bnOK);
    buttons->addWidget(bnCancel);
    buttons->addWidget(bnApply_);
    outer->addLayout(buttons);
    connect(bnOK, &QPushButton::clicked, this, &TfmCustomize::bnOKClick);
    connect(bnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(bnApply_, &QPushButton::clicked, this, &TfmCustomize::bnApplyClick);

    loadControls();

    // Every change of a control makes "&Apply" available.
    for (QCheckBox* box : findChildren<QCheckBox*>())
        connect(box, &QCheckBox::toggled, this, &TfmCustomize::changed);
    for (QButtonGroup* group : {windowSizes_, levels_, discards_})
        connect(group, &QButtonGroup::idToggled, this, &TfmCustomize::changed);
    for (QSlider* bar : {tbAggression_, tbMelding_, tbCardSpeed_})
        connect(bar, &QSlider::valueChanged, this, &TfmCustomize::changed);

    installContextHelp(this);
    look::openAtPage(this, pages_, startPage, lastPage_, lbWarning_);
}

int TfmCustomize::rememberedPage() {
    return lastPage_;
}

void TfmCustomize::done(int result) {
    lastPage_ = pages_->currentIndex();
    QDialog::done(result);
}

// Pages

void TfmCustomize::buildScreenPage() {
    auto* page = new QWidget(pages_);
    page->setObjectName(QStringLiteral("tsScreen"));
    auto* layout = pageLayout(page);

    auto* colour = new QGroupBox(QStringLiteral("Background Color"), page);
    colour->setObjectName(QStringLiteral("gbBackground"));
    setHelpContext(colour, kHelpBackground);
    auto* colourRow = new QHBoxLayout(colour);
    pnColor_ = new QFrame(colour);
    pnColor_->setObjectName(QStringLiteral("pnColor"));
    pnColor_->setFrameStyle(QFrame::Box | QFrame::Plain);
    pnColor_->setFixedSize(64, 24);
    pnColor_->setAutoFillBackground(true);
    auto* bnChange = look::button(colour, QStringLiteral("bnChange"), QStringLiteral("&Change..."));
    setHelpContext(bnChange, kHelpChangeColour);
    connect(bnChange, &QPushButton::clicked, this, &TfmCustomize::bnChangeClick);
    colourRow->addWidget(pnColor_);
    colourRow->addStretch(1);
    colourRow->addWidget(bnChange);
    layout->addWidget(colour);

    ckStatusbar_ =
        makeCheck(page, "ckStatusbar", QStringLiteral("&Show statusbar"), kHelpStatusbar);
    ckTurns_ =
        makeCheck(page, "ckTurns", QStringLiteral("Show my turn/your turn &messages"), kHelpTurns);
    ckHighscores_ =
        makeCheck(page, "ckHighscores", QStringLiteral("Show &highscores"), kHelpHighscores);
    layout->addWidget(ckStatusbar_);
    layout->addWidget(ckTurns_);
    layout->addWidget(ckHighscores_);

    auto* sizes =
        look::radioGroup(page, QStringLiteral("rgWindowSize"), QStringLiteral("&Window Size"),
                         {QStringLiteral("&640 x 480"), QStringLiteral("&800 x 600"),
                          QStringLiteral("&1024 x 768"), QStringLiteral("1&280 x 1024")},
                         2, windowSizes_);
    setHelpContext(sizes, kHelpWindowSize);
    layout->addWidget(sizes);
    layout->addStretch(1);
    pages_->addTab(page, QStringLiteral("Screen"));
}

void TfmCustomize::buildPlayersPage() {
    auto* page = new QWidget(pages_);
    page->setObjectName(QStringLiteral("tsPlayers"));
    auto* layout = pageLayout(page);

    auto* current = new QGroupBox(QStringLiteral("Current Player"), page);
    current->setObjectName(QStringLiteral("gbCurrentPlayer"));
    setHelpContext(current, kHelpCurrentPlayer);
    auto* currentRow = new QHBoxLayout(current);
    lbCurrentPlayer_ = look::plain(new QLabel(current));
    lbCurrentPlayer_->setObjectName(QStringLiteral("lbCurrentPlayer"));
    look::makeBold(lbCurrentPlayer_);
    currentRow->addWidget(lbCurrentPlayer_);
    layout->addWidget(current);

    auto* listCaption = new QLabel(QStringLiteral("&Player List"), page);
    setHelpContext(listCaption, kHelpPlayerList);
    lbPlayerList_ = new QListWidget(page);
    lbPlayerList_->setObjectName(QStringLiteral("lbPlayerList"));
    lbPlayerList_->setMinimumHeight(120);
    setHelpContext(lbPlayerList_, kHelpPlayerList);
    listCaption->setBuddy(lbPlayerList_);
    connect(lbPlayerList_, &QListWidget::itemSelectionChanged, this,
            &TfmCustomize::lbPlayerListClick);

    auto* row = new QHBoxLayout;
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(listCaption);
    listColumn->addWidget(lbPlayerList_, 1);
    row->addLayout(listColumn, 1);
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(look::kSpacing / 2);
    struct ButtonSpec {
        QPushButton** button;
        const char* name;
        const char* caption;
        int help;
        void (TfmCustomize::*handler)();
    };
    const ButtonSpec specs[] = {
        {&bnSetCurrent_, "bnSetCurrent", "Set as &Current Player", kHelpSetCurrent,
         &TfmCustomize::bnSetCurrentClick},
        {&bnResetStats_, "bnResetStats", "Reset &Stats", kHelpResetStats,
         &TfmCustomize::bnResetStatsClick},
        {&bnDelete_, "bnDelete", "&Delete", kHelpDelete, &TfmCustomize::bnDeleteClick},
        {&bnRename_, "bnRename", "&Rename...", kHelpRename, &TfmCustomize::bnRenameClick},
        {&bnNew_, "bnNew", "&New...", kHelpNew, &TfmCustomize::bnNewClick},
    };
    buttons->addSpacing(listCaption->sizeHint().height());
    for (const ButtonSpec& s : specs) {
        *s.button = look::button(page, QString::fromLatin1(s.name), QString::fromLatin1(s.caption));
        setHelpContext(*s.button, s.help);
        connect(*s.button, &QPushButton::clicked, this, s.handler);
        buttons->addWidget(*s.button);
    }
    buttons->addStretch(1);
    row->addLayout(buttons);
    layout->addLayout(row, 1);

    ckSelectPlayer_ = new QCheckBox(QStringLiteral("Select player when starting Velnora"), page);
    ckSelectPlayer_->setObjectName(QStringLiteral("ckSelectPlayer"));
    setHelpContext(ckSelectPlayer_, kHelpPlayerList);
    layout->addWidget(ckSelectPlayer_);
    pages_->addTab(page, QStringLiteral("Players"));
}

void TfmCustomize::buildLevelPage() {
    auto* page = new QWidget(pages_);
    page->setObjectName(QStringLiteral("tsLevel"));
    auto* layout = pageLayout(page);

    rgLevel_ = look::radioGroup(page, QStringLiteral("rgLevel"), QStringLiteral("Computer &Level"),
                                {QStringLiteral("&Beginner"), QStringLiteral("&Advanced"),
                                 QStringLiteral("&Expert"), QStringLiteral("&Master")},
                                4, levels_);
    setHelpContext(rgLevel_, kHelpLevel);
    connect(levels_, &QButtonGroup::idClicked, this, &TfmCustomize::rgLevelClick);
    layout->addWidget(rgLevel_);

    auto* aggressiveness = new QGroupBox(QStringLiteral("&Aggressiveness"), page);
    aggressiveness->setObjectName(QStringLiteral("gbAggressiveness"));
    setHelpContext(aggressiveness, kHelpAggressiveness);
    tbAggression_ = makeTrackBar(aggressiveness, "tbAggression", 100, 10);
    lbAggression_ = new QLabel(aggressiveness);
    lbAggression_->setObjectName(QStringLiteral("lbAggression"));
    lbAggression_->setMinimumWidth(lbAggression_->fontMetrics().horizontalAdvance("100%") + 4);
    lbAggression_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* aggressionRow =
        trackRow(aggressiveness, tbAggression_, QStringLiteral("Low"), QStringLiteral("High"));
    aggressionRow->addWidget(lbAggression_);
    aggressiveness->setLayout(aggressionRow);
    // The bar moves in tens; a drag lands on the nearest ten.
    connect(tbAggression_, &QSlider::valueChanged, this, [this](int v) {
        const int snapped = (v + 5) / 10 * 10;
        if (snapped != v) {
            tbAggression_->setValue(snapped);
            return;
        }
        lbAggression_->setText(QString::number(v) + QStringLiteral("%"));
    });
    layout->addWidget(aggressiveness);

    lbWarning_ = new QLabel(
        QStringLiteral("The level cannot be changed now, because a game is in progress. Press OK "
                       "and then F2 to start a new game. The current game will be aborted."),
        page);
    lbWarning_->setObjectName(QStringLiteral("lbWarning"));
    lbWarning_->setWordWrap(true);
    QPalette pal = lbWarning_->palette();
    pal.setColor(QPalette::WindowText, QColor(200, 0, 0));
    lbWarning_->setPalette(pal);
    setHelpContext(lbWarning_, kHelpLevel);
    layout->addWidget(lbWarning_);
    layout->addStretch(1);
    pages_->addTab(page, QStringLiteral("Level"));
}

void TfmCustomize::buildGeneralPage() {
    auto* page = new QWidget(pages_);
    page->setObjectName(QStringLiteral("tsGeneral"));
    auto* layout = pageLayout(page);

    auto* discard = look::radioGroup(
        page, QStringLiteral("rgDiscard"), QStringLiteral("D&iscarding"),
        {QStringLiteral("&One Right Click"), QStringLiteral("&Two Right Clicks")}, 2, discards_);
    setHelpContext(discard, kHelpDiscarding);
    layout->addWidget(discard);

    auto* melding = new QGroupBox(QStringLiteral("Computer &Melding"), page);
    melding->setObjectName(QStringLiteral("gbMelding"));
    setHelpContext(melding, kHelpMelding);
    tbMelding_ = makeTrackBar(melding, "tbMelding", 10, 1);
    melding->setLayout(
        trackRow(melding, tbMelding_, QStringLiteral("Slow"), QStringLiteral("Fast")));
    layout->addWidget(melding);

    auto* animation = new QGroupBox(QStringLiteral("&Card Animation"), page);
    animation->setObjectName(QStringLiteral("gbAnimation"));
    setHelpContext(animation, kHelpAnimation);
    auto* animationColumn = new QVBoxLayout(animation);
    ckNoAnimation_ = new QCheckBox(QStringLiteral("&No Animation"), animation);
    ckNoAnimation_->setObjectName(QStringLiteral("ckNoAnimation"));
    connect(ckNoAnimation_, &QCheckBox::clicked, this, &TfmCustomize::ckNoAnimationClick);
    tbCardSpeed_ = makeTrackBar(animation, "tbCardSpeed", 10, 1);
    animationColumn->addWidget(ckNoAnimation_);
    animationColumn->addLayout(
        trackRow(animation, tbCardSpeed_, QStringLiteral("Slow"), QStringLiteral("Fast")));
    layout->addWidget(animation);

    ckAutoSave_ =
        makeCheck(page, "ckAutoSave", QStringLiteral("&AutoSave on Exit and AutoLoad on Start"),
                  kHelpAutoSave);
    layout->addWidget(ckAutoSave_);
    layout->addStretch(1);
    pages_->addTab(page, QStringLiteral("General"));
}

// Opening

void TfmCustomize::loadControls() {
    loading_ = true;
    TfmVelMain& m = main_;
    const Options& o = m.options();

    // Screen: the sizes the screen cannot hold stay out of reach.
    if (QAbstractButton* b = windowSizes_->button(m.windowSizeIndex)) b->setChecked(true);
    for (int i = 0; i < 4; ++i)
        windowSizes_->button(i)->setEnabled(i <= m.maxWindowSizeIndex);
    colour_ = m.table()->backgroundColour();
    QPalette pal = pnColor_->palette();
    pal.setColor(QPalette::Window, colour_);
    pnColor_->setPalette(pal);

    // Players
    players_.clear();
    for (int i = 0; i < int(m.playerList.size()); ++i)
        players_.push_back({m.playerList[std::size_t(i)], i});
    fillPlayerList();
    const bool hasCurrent = m.currentPlayer >= 0 && m.currentPlayer < int(players_.size());
    setCurrentLabel(hasCurrent ? qs(players_[std::size_t(m.currentPlayer)].record.name)
                               : QStringLiteral("Player"));
    playerButtonsEnabled(!players_.empty());
    if (hasCurrent) lbPlayerList_->setCurrentRow(m.currentPlayer);
    // The buttons follow the selection from the start: the current player's line is selected.
    lbPlayerListClick();
    ckSelectPlayer_->setChecked(o.selectPlayerOnStartup);
    ckSelectPlayer_->setEnabled(players_.size() > 1);

    // Level and general options
    if (QAbstractButton* b = levels_->button(qBound(0, o.computerLevel, kLevelCount - 1)))
        b->setChecked(true);
    tbAggression_->setValue(o.aggression);
    lbAggression_->setText(QString::number(tbAggression_->value()) + QStringLiteral("%"));
    discards_->button(o.doubleClickDiscard ? 1 : 0)->setChecked(true);
    tbMelding_->setValue(qBound(0, 10 - o.meldDelay / kDelayStep, 10));
    ckAutoSave_->setChecked(o.autoSave);
    ckStatusbar_->setChecked(o.showStatusbar);
    ckNoAnimation_->setChecked(!o.cardMovement);
    tbCardSpeed_->setEnabled(o.cardMovement);
    // The bar keeps the stored speed while animation is off, so turning it on again later
    // brings back the speed the player chose.
    tbCardSpeed_->setValue(o.cardSpeed);
    ckHighscores_->setChecked(o.showHighscores);
    ckTurns_->setChecked(o.showTurns);

    // The level stays as it is while a game runs; the warning says how to change it.
    rgLevel_->setEnabled(!gameInProgress_ && !networkGame_);
    // The Master searches around the Expert's play, so the Expert's aggressiveness is its too.
    tbAggression_->setEnabled(o.computerLevel >= 2 && !gameInProgress_);
    lbWarning_->setVisible(gameInProgress_);
    bnApply_->setEnabled(false);
    loading_ = false;
}

void TfmCustomize::fillPlayerList() {
    lbPlayerList_->clear();
    for (const WorkingPlayer& p : players_)
        lbPlayerList_->addItem(qs(p.record.name));
}

void TfmCustomize::setCurrentLabel(const QString& name) {
    lbCurrentPlayer_->setText(name);
}

void TfmCustomize::playerButtonsEnabled(bool listHasNames) {
    bnRename_->setEnabled(listHasNames);
    bnDelete_->setEnabled(listHasNames);
    if (!listHasNames) {
        bnResetStats_->setEnabled(false);
        bnSetCurrent_->setEnabled(false);
    }
    ckSelectPlayer_->setEnabled(players_.size() > 1);
}

// While open

void TfmCustomize::changed() {
    if (!loading_) bnApply_->setEnabled(true);
}

void TfmCustomize::bnChangeClick() {
    const QColor chosen = QColorDialog::getColor(colour_, this, QStringLiteral("Color"));
    if (!chosen.isValid()) return;
    colour_ = chosen;
    QPalette pal = pnColor_->palette();
    pal.setColor(QPalette::Window, colour_);
    pnColor_->setPalette(pal);
    changed();
}

bool TfmCustomize::askPlayerName(const QString& title, const QString& prompt, QString& name) {
    if (!look::askText(this, title, prompt, name)) return false;
    name = name.trimmed();
    if (has(name, QLatin1Char(','))) {
        QApplication::beep();
        QMessageBox::warning(this, QStringLiteral("Velnora"),
                             QStringLiteral("Please do not use commas in the name."));
        return false;
    }
    // A nameless player could never be told apart in the list or the tables.
    return !name.isEmpty();
}

void TfmCustomize::bnNewClick() {
    QString name;
    if (!askPlayerName(QStringLiteral("New Player"),
                       QStringLiteral("Enter the name of the new player:"), name))
        return;
    players_.push_back({PlayerRecord{name.toStdString(), 0, 0}, -1});
    lbPlayerList_->addItem(name);
    playerButtonsEnabled(true);
    bnResetStats_->setEnabled(true);
    bnSetCurrent_->setEnabled(true);
    if (players_.size() == 1) {
        lbPlayerList_->setCurrentRow(0);
        setCurrentLabel(name);
    }
    changed();
}

void TfmCustomize::bnRenameClick() {
    const int row = selectedRow();
    if (row < 0) return;
    QString name = qs(players_[std::size_t(row)].record.name);
    if (!askPlayerName(QStringLiteral("Rename Player"),
                       QStringLiteral("Enter the new name of the player:"), name))
        return;
    players_[std::size_t(row)].record.name = name.toStdString();
    lbPlayerList_->item(row)->setText(name);
    setCurrentLabel(name);
    changed();
}

void TfmCustomize::bnDeleteClick() {
    const int row = selectedRow();
    if (row < 0) return;
    const QString name = qs(players_[std::size_t(row)].record.name);
    if (!look::askYesNo(this, QStringLiteral("Do you want to delete the player ") + name +
                                  QStringLiteral("?")))
        return;
    players_.erase(players_.begin() + row);
    {
        const QSignalBlocker quiet(lbPlayerList_);
        delete lbPlayerList_->takeItem(row);
        lbPlayerList_->setCurrentRow(-1);
        lbPlayerList_->clearSelection();
    }
    bnSetCurrent_->setEnabled(false);
    bnResetStats_->setEnabled(false);
    if (!players_.empty()) {
        // Selected for the next action, so its statistics can be reset; it is already the
        // current player, so "Set as &Current Player" waits for another line.
        const QSignalBlocker quiet(lbPlayerList_);
        lbPlayerList_->setCurrentRow(0);
        setCurrentLabel(qs(players_.front().record.name));
        bnResetStats_->setEnabled(true);
    } else {
        setCurrentLabel(QStringLiteral("Player"));
    }
    playerButtonsEnabled(!players_.empty());
    changed();
}

int TfmCustomize::selectedRow() const {
    // The list's current row outlives its selection (a click below the last name clears the
    // selection only), so the buttons act on what is highlighted, never on a hidden current row.
    const QList<QListWidgetItem*> selected = lbPlayerList_->selectedItems();
    const int row = selected.isEmpty() ? -1 : lbPlayerList_->row(selected.front());
    return row < int(players_.size()) ? row : -1;
}

void TfmCustomize::lbPlayerListClick() {
    const bool selected = selectedRow() >= 0;
    bnSetCurrent_->setEnabled(selected);
    bnResetStats_->setEnabled(selected);
}

void TfmCustomize::bnSetCurrentClick() {
    const int row = selectedRow();
    if (row < 0) return;
    setCurrentLabel(qs(players_[std::size_t(row)].record.name));
    changed();
}

void TfmCustomize::bnResetStatsClick() {
    const int row = selectedRow();
    if (row < 0) return;
    WorkingPlayer& p = players_[std::size_t(row)];
    // A player added here has no record in the main window yet, so nothing to reset.
    if (p.origin < 0 || p.origin >= int(main_.playerList.size())) return;
    if (!look::askYesNo(
            this, QStringLiteral("Do you want to reset the win ratio statistics for player ") +
                      qs(p.record.name) + QStringLiteral("?")))
        return;
    // The record is the main window's: the reset stands even if the dialog is cancelled, and
    // it is stored at once, since nothing else may write the list before the program ends.
    PlayerRecord& shared = main_.playerList[std::size_t(p.origin)];
    shared.wins = shared.losses = 0;
    p.record.wins = p.record.losses = 0;
    rewritePlayerList(main_.settings(), main_.playerList, main_.currentPlayer);
    changed();
}

void TfmCustomize::rgLevelClick() {
    tbAggression_->setEnabled(levels_->checkedId() >= 2 && !gameInProgress_);
}

void TfmCustomize::ckNoAnimationClick() {
    tbCardSpeed_->setEnabled(!ckNoAnimation_->isChecked());
    if (!ckNoAnimation_->isChecked()) tbCardSpeed_->setValue(main_.options().cardSpeed);
}

// OK and Apply

Options TfmCustomize::options() const {
    Options o = main_.options();
    o.backgroundColour = static_cast<int>(storedFromColour(colour_));
    // The level stays as it is in a network game; the dialog shows it disabled then.
    if (!networkGame_) o.computerLevel = qMax(0, levels_->checkedId());
    o.aggression = tbAggression_->value();
    o.doubleClickDiscard = discards_->checkedId() == 1;
    o.meldDelay = (10 - tbMelding_->value()) * kDelayStep;
    o.autoSave = ckAutoSave_->isChecked();
    o.showStatusbar = ckStatusbar_->isChecked();
    o.cardMovement = !ckNoAnimation_->isChecked();
    o.cardSpeed = tbCardSpeed_->value();
    o.showHighscores = ckHighscores_->isChecked();
    o.showTurns = ckTurns_->isChecked();
    o.selectPlayerOnStartup = ckSelectPlayer_->isChecked();
    return o;
}

void TfmCustomize::storeValues() {
    TfmVelMain& m = main_;
    Settings& s = m.settings();
    // The options; the size is stored at shutdown.
    m.changeOptions(options(), !networkGame_);
    m.windowSizeIndex = qMax(0, windowSizes_->checkedId());
    // Players: the working copy replaces the list; the current player is found by name
    m.playerList.clear();
    for (const WorkingPlayer& p : players_)
        m.playerList.push_back(p.record);
    m.currentPlayer = -1;
    for (int i = 0; i < int(m.playerList.size()); ++i)
        if (qs(m.playerList[std::size_t(i)].name) == lbCurrentPlayer_->text()) {
            m.currentPlayer = i;
            break;
        }
    rewritePlayerList(s, m.playerList, m.currentPlayer);
    // The working copy now mirrors the main list one to one.
    for (int i = 0; i < int(players_.size()); ++i)
        players_[std::size_t(i)].origin = i;
}

void TfmCustomize::bnOKClick() {
    storeValues();
    accept();
}

void TfmCustomize::bnApplyClick() {
    storeValues();
    main_.applyCustomizedOptions();
    bnApply_->setEnabled(false);
    raise();
    activateWindow();
}

} // namespace velnora::ui
