// The main window's menus and what their items do.

#include "main_window.h"

#include "check_upgrade.h"
#include "customize_dialog.h"
#include "data_module.h"
#include "deck_dialog.h"
#include "dialog_look.h"
#include "help_window.h"
#include "highscores_window.h"
#include "hint_action.h"
#include "main_window.h"
#include "match_history_window.h"
#include "match_recording.h"
#include "match_totals.h"
#include "messenger_entry.h"
#include "migration.h"
#include "network_play.h"
#include "presentation.h"
#include "qt_text.h"
#include "relayout.h"
#include "replay_window.h"
#include "rules_dialog.h"
#include "score_sheet.h"
#include "scoring_dialogs.h"
#include "small_windows.h"
#include "sound_dialog.h"
#include "sounds.h"
#include "status_line.h"
#include "store_settings.h"
#include "table_view.h"
#include "url_opener.h"
#include "web_site.h"
#include "win_ratio_window.h"
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLocale>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolTip>
#include <algorithm>

namespace velnora::ui {

// Menus

QAction* TfmVelMain::addItem(QMenu* menu, const char* objectName, const QString& caption,
                             const QString& hint, const QKeySequence& shortcut) {
    auto* action = new QAction(caption, this);
    action->setObjectName(objectName);
    action->setStatusTip(longHint(hint));
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    menu->addAction(action);
    return action;
}

void TfmVelMain::createMenus() {
    // Items whose feature lives in a module that is not wired yet stay disabled.
    QMenu* game = menuBar()->addMenu("&Game");
    game->setObjectName("Game1");
    QAction* a = addItem(game, "New1", "&New", "Start a new Velnora game", Qt::Key_F2);
    connect(a, &QAction::triggered, this, &TfmVelMain::New1Click);
    a = addItem(game, "Load1", "&Load...", "Load a saved Velnora game from disk", Qt::Key_F3);
    connect(a, &QAction::triggered, this, &TfmVelMain::Load1Click);
    a = addItem(game, "Save1", "&Save...", "Save the current Velnora game to disk", Qt::Key_F4);
    connect(a, &QAction::triggered, this, &TfmVelMain::Save1Click);
    game->addSeparator();
    a = addItem(game, "Hiscores1", "&Hiscores...", "Show the Top Ten highscores");
    connect(a, &QAction::triggered, this, &TfmVelMain::Hiscores1Click);
    a = addItem(game, "WinRatio1", "&Win Ratio...", "Show the player's win/loss ratio ");
    connect(a, &QAction::triggered, this, &TfmVelMain::WinRatio1Click);
    a = addItem(game, "MatchHistory1", "&Match History...",
                "Show the result of the last hundred matches");
    connect(a, &QAction::triggered, this, &TfmVelMain::MatchHistory1Click);
    a = addItem(game, "ScoreSheet1", "S&core Sheet...",
                "Show this match's hands one by one, with the running totals");
    connect(a, &QAction::triggered, this, [this] { showScoreSheet(this); });
    game->addSeparator();
    undoMeld_ = addItem(game, "UndoMeld1", "&Undo Meld", "Undo the last meld, if any",
                        QKeySequence(Qt::Key_Delete));
    connect(undoMeld_, &QAction::triggered, this, &TfmVelMain::UndoMeld1Click);
    undoMeld_->setEnabled(false);
    undoAll_ =
        addItem(game, "UndoAll1", "Undo &All",
                "Undo all melds since your last discard or taking of the discard pile, if any",
                QKeySequence(Qt::CTRL | Qt::Key_Delete));
    connect(undoAll_, &QAction::triggered, this, &TfmVelMain::UndoAll1Click);
    undoAll_->setEnabled(false);
    hint_ = new HintAction(
        game, *game_, *table_, [this](const std::string& text) { showStatus(text, false); }, this);
    game->addSeparator();
    a = addItem(game, "Exit1", "E&xit", "Exit Velnora");
    connect(a, &QAction::triggered, this, &QWidget::close);

    QMenu* options = menuBar()->addMenu("&Options");
    options->setObjectName("Options1");
    a = addItem(options, "Customize1", "&Customize...",
                "Create players, set the computer level and change the window size and color");
    connect(a, &QAction::triggered, this, [this] { Customize1Click(); });
    a = addItem(options, "Decks1", "&Decks...",
                "Select a color or image for the backside of the cards");
    connect(a, &QAction::triggered, this, &TfmVelMain::Decks1Click);
    a = addItem(options, "Sound1", "&Sound...",
                "Enable or disable sound and music, and select sound effects and melodies");
    connect(a, &QAction::triggered, this, &TfmVelMain::Sound1Click);
    options->addSeparator();
    rules_ = addItem(options, "Rules1", "&Rules...",
                     "Adjust the rules of Velnora to your local variant (only possible when "
                     "starting a new game)");
    connect(rules_, &QAction::triggered, this, [this] { Rules1Click(); });
    options->addSeparator();
    fullScreen_ = addItem(options, "FullScreen1", "&Full Screen",
                          "Show the table on the whole screen, or back in its window", Qt::Key_F11);
    fullScreen_->setCheckable(true);
    connect(fullScreen_, &QAction::triggered, this, &TfmVelMain::setFullScreen);

    QMenu* network = menuBar()->addMenu("&Network");
    network->setObjectName("Network1");
    QAction* connectItem = addItem(network, "ConnecttoOpponent1", "&Connect to Opponent...",
                                   "Connect to another player over a network");
    ruleDifferences_ = addItem(network, "RuleDifferences1", "&Rule Differences...",
                               "Shows the differences in rule settings between you and your "
                               "opponent, if there are any");
    disconnect_ = addItem(network, "Disconnect1", "&Disconnect", "Cancel network connection");
    QAction* listing = addItem(network, "RequestListing1", "Request &Listing",
                               "Listing in an Internet player list is not available in this "
                               "version");
    // No player list exists to be listed in, so the item stays off and says so.
    listing->setToolTip(listing->statusTip());
    listing->setEnabled(false);
    // A disabled item shows no status hint; its tooltip is the one place to say why.
    network->setToolTipsVisible(true);
    network->addSeparator();
    chatOnTop_ = addItem(network, "Chatwindowalwaysontop1", "Chat window always on &top",
                         "Check this to keep the chat window visible at all times");
    chatOnTop_->setCheckable(true);
    network_ =
        new NetworkPlay(*this, {connectItem, ruleDifferences_, disconnect_, chatOnTop_, listing});

    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("Help1");
    a = addItem(help, "HelpTopics1", "&Help Topics", "Opens the index of the Help file",
                Qt::Key_F1);
    connect(a, &QAction::triggered, this, &TfmVelMain::HelpTopics1Click);
    a = addItem(help, "CheckUpgrade1", "Check &Upgrade...",
                "Check whether a newer version of Velnora is available");
    connect(a, &QAction::triggered, this, &TfmVelMain::CheckUpgrade1Click);
    a = addItem(help, "HomePage1", "Velnora Home &Page", "Open the Velnora home page");
    connect(a, &QAction::triggered, this, &TfmVelMain::HomePage1Click);
    help->addSeparator();
    a = addItem(help, "About1", "&About...", "");
    connect(a, &QAction::triggered, this, &TfmVelMain::About1Click);
    for (QMenu* menu : {game, options, network, help})
        connect(menu, &QMenu::aboutToHide, this, &TfmVelMain::endMenuHint);
}

// Menu handlers

void TfmVelMain::New1Click() {
    startNewMatch(nullptr);
}

void TfmVelMain::startNewMatch(const DealtHand* deal) {
    if (!splashDone_ || game_->state.inputBlocked) return;
    // A recorded deal is played against the computer only.
    if (deal && game_->options.networkGame) return;
    // A match against the computer is as much worth keeping as a network one: New asks too.
    // (In a network game the engine asks its own question.)
    if (!game_->options.networkGame && game_->state.gameInProgress &&
        tell(MessageKind::confirmation,
             "You have a game in progress. Are you sure you want to give it up and start a "
             "new game?") != MessageAnswer::yes)
        return;
    applyOptionsToGame();
    hint_->resetCount();
    if (connectionState == 0) networkTable_ = false;
    if (deal)
        game_->newGameWithDeal(*deal);
    else
        game_->newGame();
}

void TfmVelMain::UndoMeld1Click() {
    const auto& undo = game_->state.undoStack;
    if (game_->state.inputBlocked || undo.empty()) return;
    game_->applyPlayerMove(Move::undoMeldAt(-1, undo.back().card.face));
}

void TfmVelMain::UndoAll1Click() {
    if (game_->state.inputBlocked) return;
    game_->undoAll();
}

void TfmVelMain::Rules1Click(int page) {
    TfmRules dialog(game_->rules, game_->state.gameInProgress != 0, this, page);
    if (dialog.exec() != QDialog::Accepted) return;
    const RuleSettings chosen = dialog.rules();
    saveRules(*settings_, chosen);
    game_->setRules(chosen);
    network_->rulesConfirmed();
}

void TfmVelMain::HelpTopics1Click() {
    playHelpTopicsSound();
    showHelp();
}

TfmHelp* TfmVelMain::helpWindow() const {
    return help_;
}

void TfmVelMain::showHelp(const QString& page) {
    if (!help_) {
        help_ = new TfmHelp(helpFolder(), this);
        help_->onCommand = [this](int parameter) { externalCommand(parameter); };
    }
    help_->showPage(page);
}

QString TfmVelMain::webSite() {
    return qs(
        settings_->readString(online::kWebSiteSetting, online::builtInWebSite().toStdString()));
}

void TfmVelMain::CheckUpgrade1Click() {
    online::TfmCheckUpgrade dialog(webSite(), this);
    dialog.exec();
}

void TfmVelMain::HomePage1Click() {
    const QUrl home = online::homePageUrl(webSite());
    if (home.isEmpty())
        tell(MessageKind::information, "No Velnora web site is set up for this copy.");
    else
        online::openUrlOrTell(this, home);
}

void TfmVelMain::About1Click() {
    sounds_->playAboutSound();
    showAbout(this);
}

void TfmVelMain::Sound1Click() {
    TfmSound dialog(*sounds_, *settings_, this);
    if (dialog.exec() == QDialog::Accepted) sounds_->applyMusicSettings(dialog.chosen());
}

void TfmVelMain::Customize1Click(int page) {
    TfmCustomize dialog(*this, page);
    if (dialog.exec() == QDialog::Accepted) applyCustomizedOptions();
}

void TfmVelMain::Decks1Click() {
    TfmDeck dialog(*settings_, cardBacks, this);
    dialog.onApply = [this](const std::array<CardBack, 2>& backs) { applyCardBacks(backs); };
    dialog.exec();
}

void TfmVelMain::applyCardBacks(const std::array<CardBack, 2>& backs) {
    cardBacks = backs;
    if (!splashDone_) return; // the images are built when the start-up interval ends
    table_->loadCardImages(cardBacks);
    table_->update();
}

void TfmVelMain::changeOptions(const Options& options, bool withLevel) {
    velnora::saveOptions(*settings_, options, withLevel);
    const int level = options_.computerLevel;
    options_ = options;
    if (!withLevel) options_.computerLevel = level;
    table_->setBackgroundColour(colourFromStored(static_cast<quint32>(options_.backgroundColour)));
    // Switching the autosave off drops the autosave file at once.
    if (!options_.autoSave) QFile::remove(autosaveFile());
}

void TfmVelMain::setChatOnTop(bool onTop) {
    options_.chatOnTop = onTop;
    settings_->writeBool(optionkeys::kChatOnTop, onTop);
}

void TfmVelMain::setPlayingLevel(int level) {
    options_.computerLevel = level;
    game_->options.computerLevel = level;
}

void TfmVelMain::applyCustomizedOptions() {
    applyOptionsToGame();
    applyWindowSize();
}

void TfmVelMain::Hiscores1Click() {
    // The Master's scores are kept with the Expert's: the fourth table is the network's.
    TfmHighscores window(*settings_, highscores, std::min(options_.computerLevel, 2),
                         kHandHighscore, -1, this);
    window.exec();
}

void TfmVelMain::WinRatio1Click() {
    if (currentPlayer == -1) {
        tell(MessageKind::information,
             "There are no players defined to show statistics for. To create players, "
             "select Options|Customize...|Player and press 'New...'");
        return;
    }
    TfmWinRatio window(*settings_, playerList, currentPlayer, this);
    window.exec();
}

void TfmVelMain::MatchHistory1Click() {
    TfmMatchHistory window(*settings_, this, [this](QWidget* over, const std::string& file) {
        openReplay(over, QString::fromStdString((recording_->folder() / file).string()));
    });
    window.exec();
}

void TfmVelMain::showScoreSheet(QWidget* over) {
    TfmScoreSheet sheet(recording_->scores(), qs(game_->playerName()), qs(game_->opponentName()),
                        over);
    sheet.exec();
}

void TfmVelMain::openReplay(QWidget* over, const QString& file) {
    QString why;
    std::optional<net::MatchRecord> record = ReplayWindow::load(file, why);
    if (!record) {
        look::message(over, QMessageBox::Warning, why, QMessageBox::Ok);
        return;
    }
    ReplayLook look;
    look.sizeIndex = windowSizeIndex;
    look.backs = cardBacks;
    look.background = table_->backgroundColour();
    ReplayWindow window(std::move(*record), look, over);
    if (connectionState == 0 && !game_->options.networkGame)
        window.offerPlayingDealAgain([this, over](const DealtHand& deal) {
            // The history the replay was opened from closes too: the new game is on the table.
            if (auto* history = qobject_cast<QDialog*>(over)) history->reject();
            QTimer::singleShot(0, this, [this, deal] { startNewMatch(&deal); });
        });
    window.exec();
}

void TfmVelMain::bnEndHandClick() {
    if (game_->state.inputBlocked) return;
    game_->applyPlayerMove(Move::of(MoveKind::endHand));
}

} // namespace velnora::ui
