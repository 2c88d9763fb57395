#include "main_window.h"

#include "presentation.h"
#include "qt_text.h"

#include "check_upgrade.h"
#include "customize_dialog.h"
#include "data_module.h"
#include "deck_dialog.h"
#include "dialog_look.h"
#include "help_window.h"
#include "highscores_window.h"
#include "hint_action.h"
#include "match_history_window.h"
#include "match_recording.h"
#include "match_totals.h"
#include "messenger_entry.h"
#include "migration.h"
#include "network_play.h"
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

namespace {

constexpr const char* kCaption = "Velnora 4.17";
// The frame a window manager commonly draws, assumed until the window has one of its own.
constexpr int kAssumedBorder = 4;
constexpr int kAssumedTitleBar = 28;
constexpr int kSplashMs = 2000;
constexpr int kLedMs = 600;
constexpr int kHintLift = 40;
// The longest the program waits at exit for the "Exit" sound to finish.
constexpr int kExitSoundWaitMs = 3000;

QColor colourOf(int stored) {
    return colourFromStored(static_cast<quint32>(stored));
}

} // namespace

WindowPlacement parseResolution(const QString& value, int screenWidth, int screenHeight) {
    WindowPlacement p;
    const int first = value.indexOf(',');
    const int second = first < 0 ? -1 : value.indexOf(',', first + 1);
    if (first < 0 || second < 0) return p;
    bool okLeft = false, okTop = false;
    const int left = value.left(first).trimmed().toInt(&okLeft);
    const int top = value.mid(first + 1, second - first - 1).trimmed().toInt(&okTop);
    if (!okLeft || !okTop) return p;
    p.left = left < 0 || left > screenWidth ? 0 : left;
    p.top = top < 0 || top > screenHeight ? 0 : top;
    const int index = sizeIndexOf(value.mid(second + 1).toStdString().c_str());
    p.sizeIndex = index < 0 ? 0 : index;
    return p;
}

int maxSizeIndexFor(QSize available, QSize chrome) {
    for (int i = kTableSizes - 1; i > 0; --i)
        if (tableWidthFor(i) + chrome.width() <= available.width() &&
            tableHeightFor(i) + chrome.height() <= available.height())
            return i;
    return 0;
}

std::optional<WindowGeometry> parseWindowGeometry(const QString& text) {
    const QStringList parts = text.split(',');
    if (parts.size() != 5) return std::nullopt;
    int v[5];
    for (int i = 0; i < 5; ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toInt(&ok);
        if (!ok) return std::nullopt;
    }
    if (v[2] <= 0 || v[3] <= 0 || v[4] < 0 || v[4] > 2) return std::nullopt;
    return WindowGeometry{QRect(v[0], v[1], v[2], v[3]), v[4]};
}

QString windowGeometryText(const WindowGeometry& g) {
    return QStringLiteral("%1,%2,%3,%4,%5")
        .arg(g.rect.x())
        .arg(g.rect.y())
        .arg(g.rect.width())
        .arg(g.rect.height())
        .arg(g.state);
}

QRect clampToArea(QRect client, const QRect& area, const QMargins& frame) {
    const QRect room = area.marginsRemoved(frame);
    if (room.isEmpty()) return client;
    client.setWidth(std::min(client.width(), room.width()));
    client.setHeight(std::min(client.height(), room.height()));
    client.moveLeft(std::clamp(client.left(), room.left(), room.right() + 1 - client.width()));
    client.moveTop(std::clamp(client.top(), room.top(), room.bottom() + 1 - client.height()));
    return client;
}

QString programDataFolder() {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dir);
    return dir;
}

TfmVelMain::TfmVelMain(Settings* settings, QStringList arguments, QWidget* parent)
    : QMainWindow(parent), arguments_(std::move(arguments)) {
    setObjectName("TfmVelMain");
    // The settings store first: everything below reads through it.
    if (settings) {
        settings_ = settings;
    } else {
        dataModule_ = std::make_unique<TdmMain>();
        ownedSettings_ = std::make_unique<StoreSettings>(dataModule_->rfMain);
        settings_ = ownedSettings_.get();
    }
    game_ = std::make_unique<Game>(*this, *settings_, random_);
    game_->setOpponentDriver(&computerDriver_);
    recording_ = std::make_unique<MatchRecording>(
        *game_, QDir(programDataFolder()).filePath(QStringLiteral("records")).toStdString(),
        [this](net::MatchRecord& record) {
            const GameOptions& o = game_->options;
            record.playerName = game_->playerName();
            record.opponentName = game_->opponentName();
            record.level = o.networkGame ? "Network" : levelName(o.computerLevel);
        });
    sounds_ = new TSounds(random_, this);
    statistics_ = std::make_unique<StatisticsRecorder>(*settings_, highscores, statisticsHooks());

    table_ = new TableView(*game_, this);
    setCentralWidget(table_);
    Presentation::Output output;
    output.repaintTable = [this] {
        table_->update();
        updatePanels();
    };
    output.showStatus = [this](const QString& text, bool warning) { setStatusLine(text, warning); };
    output.playSound = [this](SoundEvent event) { sounds_->playEventSound(event); };
    output.showNotice = [this](MessageKind kind, const QString& text) { showNotice(kind, text); };
    output.movementSteps = [this] {
        return table_->cardMovement() && table_->paintingEnabled() && table_->isVisible()
                   ? table_->animationSteps()
                   : 0;
    };
    presentation_ = new Presentation(std::move(output), this, this);
    table_->setPresentation(presentation_);
    connect(table_->endHandButton(), &QPushButton::clicked, this, &TfmVelMain::bnEndHandClick);
    table_->onPainted = [this] { updatePanels(); };
    table_->onMouseMove = [this] { endMenuHint(); };

    statusLine_ = new StatusLine(this, this);
    statusBar()->addWidget(statusLine_, 1);
    totals_ = new MatchTotals(this);
    menuBar()->setCornerWidget(totals_, Qt::TopRightCorner);
    statusBar()->setSizeGripEnabled(true);

    tmLED_ = new QTimer(this);
    tmLED_->setObjectName("tmLED");
    tmLED_->setInterval(kLedMs);
    connect(tmLED_, &QTimer::timeout, this, &TfmVelMain::tmLEDTimer);
    createMenus();

    // The status line, the cursor and the generator before any option is read.
    showConnectionState(0);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    random_.reseed(clockSeed());
    game_->options.reseedFromClock = true;
    sounds_->helpCounter = 1;

    // Older versions' settings come in before anything is read.
    if (dataModule_) {
        MigrateSettings(dataModule_->rfMain, MigrationPaths::fromEnvironment());
        net::registerWithMessenger(QCoreApplication::applicationFilePath().toStdString(),
                                   VELNORA_SITE_URL);
    }

    loadOptions();

    sizeWindow(true);

    // The network items stay off until a connection exists.
    chatOnTop_->setChecked(options_.chatOnTop);
    connectionState = 0;
    setWindowTitle(kCaption);
    game_->setPlayerStartsHand(random_(2) != 0);
    disconnect_->setEnabled(false);
    chatOnTop_->setEnabled(false);
    ruleDifferences_->setEnabled(false);
    QApplication::restoreOverrideCursor();

    tmSplash_ = new QTimer(this);
    tmSplash_->setObjectName("tmSplash");
    tmSplash_->setSingleShot(true);
    connect(tmSplash_, &QTimer::timeout, this, &TfmVelMain::tmSplashTimer);
    tmSplash_->start(kSplashMs);
    // The music's first piece loads while the splash shows, not before the window appears.
    QTimer::singleShot(0, sounds_, &TSounds::startMusic);
}

TfmVelMain::~TfmVelMain() {
    destroySequence();
    // The network session holds the game; it goes before the game does.
    delete network_;
    network_ = nullptr;
}

// Creation

void TfmVelMain::loadOptions() {
    Settings& s = *settings_;
    QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->size() : QSize(1280, 1024);
    // A panel or a dock takes its share of the screen: only what is left holds a window.
    const QSize available = screen ? screen->availableGeometry().size() : screenSize;

    // Options, table colour and the largest size the screen takes
    options_ = velnora::loadOptions(s);
    table_->setBackgroundColour(colourOf(options_.backgroundColour));
    maxWindowSizeIndex = maxSizeIndexFor(available, windowChrome());
    statusBar()->setVisible(options_.showStatusbar);

    // The known players, the rules, the sounds, the decks and the highscores
    playerList = loadPlayerList(s);
    currentPlayer = playerList.empty() ? -1 : 0;
    game_->rules = loadRules(s);
    sounds_->readSwitches(s);
    cardBacks[0].colour = static_cast<quint32>(s.readInt("Cardback\\Color0", 128));
    cardBacks[1].colour = static_cast<quint32>(s.readInt("Cardback\\Color1", 16512));
    for (int d = 0; d < 2; ++d) {
        const std::string n = std::to_string(d);
        cardBacks[d].pattern = s.readInt("Cardback\\Pattern" + n, 0);
        cardBacks[d].fileName = qs(s.readString("Cardback\\Filename" + n, ""));
        cardBacks[d].type = s.readInt("Cardback\\Type" + n, 0);
    }
    sounds_->readEventSounds(s);
    highscores = LoadHighscores(s);

    // Window placement: a stored size larger than the screen allows is lowered. A first start
    // takes the largest table the screen holds.
    const std::string resolution = s.readString("Settings\\Resolution", "");
    const WindowPlacement place =
        parseResolution(resolution.empty() ? QStringLiteral("0,0,640x480") : qs(resolution),
                        screenSize.width(), screenSize.height());
    windowLeft = place.left;
    windowTop = place.top;
    const bool firstStart =
        resolution.empty() && s.readString(optionkeys::kWindowGeometry, "").empty();
    windowSizeIndex =
        firstStart ? maxWindowSizeIndex : std::min(place.sizeIndex, maxWindowSizeIndex);

    currentHand = s.readInt("Settings\\CurrentHand", 0);
    applyOptionsToGame();
}

void TfmVelMain::applyOptionsToGame() {
    GameOptions& o = game_->options;
    o.doubleClickDiscard = options_.doubleClickDiscard;
    o.showTurns = options_.showTurns;
    o.meldDelay = options_.meldDelay;
    o.aggression = options_.aggression;
    o.computerLevel = options_.computerLevel;
    o.playerName = currentPlayer >= 0 && currentPlayer < int(playerList.size())
                       ? playerList[std::size_t(currentPlayer)].name
                       : std::string();
    table_->setCardMovement(options_.cardMovement, options_.cardSpeed);
}

QMargins TfmVelMain::frameMargins() const {
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    if (outer == inner)
        return {kAssumedBorder, kAssumedTitleBar + kAssumedBorder, kAssumedBorder, kAssumedBorder};
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

QSize TfmVelMain::windowChrome() const {
    const QMargins frame = frameMargins();
    // The status bar counts even while hidden: the Customize dialog shows it again without
    // choosing a new size.
    return QSize(frame.left() + frame.right(), frame.top() + frame.bottom() +
                                                   menuBar()->sizeHint().height() +
                                                   statusBar()->sizeHint().height());
}

QSize TfmVelMain::naturalSize() {
    // Once laid out, the bars take exactly what the layout gives them; before, their own sizes.
    if (isVisible()) {
        layout()->activate();
        return table_->sizeHint() + (size() - table_->size());
    }
    const int bars = menuBar()->sizeHint().height() +
                     (statusBar()->isVisibleTo(this) ? statusBar()->sizeHint().height() : 0);
    return table_->sizeHint() + QSize(0, bars);
}

void TfmVelMain::setFullScreen(bool on) {
    setWindowState(on ? windowState() | Qt::WindowFullScreen
                      : windowState() & ~Qt::WindowFullScreen);
    fullScreen_->setChecked(on);
}

void TfmVelMain::placeAtStartup() {
    const auto stored =
        parseWindowGeometry(qs(settings_->readString(optionkeys::kWindowGeometry, "")));
    QScreen* screen = stored ? QGuiApplication::screenAt(stored->rect.center()) : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
    const QMargins frame = frameMargins();
    QRect client;
    if (stored) {
        // A screen that has shrunk or gone since still shows the whole window.
        client = stored->rect;
    } else if (!settings_->readString("Settings\\Resolution", "").empty()) {
        // Stored by an older version: the frame's corner, the table at its own size.
        client = QRect(QPoint(windowLeft + frame.left(), windowTop + frame.top()), naturalSize());
    } else {
        client = QRect(QPoint(), naturalSize());
        client.moveCenter(area.center() + QPoint((frame.left() - frame.right()) / 2,
                                                 (frame.top() - frame.bottom()) / 2));
    }
    setGeometry(clampToArea(client, area, frame));
    if (stored && stored->state == 1) setWindowState(Qt::WindowMaximized);
    if (stored && stored->state == 2) setFullScreen(true);
}

void TfmVelMain::sizeWindow(bool atStartup) {
    table_->computeLayout(windowSizeIndex);
    if (atStartup) {
        placeAtStartup();
        return;
    }
    // A maximised or full-screen window keeps its size: the new layout scales to it.
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) return;
    // The new table at its own size, where the player put the window; a larger one that
    // reaches past the right or bottom edge ends at that edge.
    QScreen* screen = this->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
    setGeometry(clampToArea(QRect(geometry().topLeft(), naturalSize()), area, frameMargins()));
}

void TfmVelMain::tmSplashTimer() {
    if (splashDone_) return;
    splashDone_ = true;
    tmSplash_->stop();
    if (splash_) splash_->close();
    table_->computeLayout(windowSizeIndex);
    table_->loadCardImages(cardBacks);

    if (playerList.size() > 1 && options_.selectPlayerOnStartup) choosePlayer();
    applyOptionsToGame();

    resumeGame = false;
    if (arguments_.isEmpty()) {
        if (options_.autoSave) {
            gameFileName = autosaveFile();
            resumeGame = CheckSavedGameFile(gameFileName);
        }
    } else if (arguments_[0].contains("/ip:")) {
        if (arguments_[0].mid(4).isEmpty() || arguments_.size() < 2)
            tell(MessageKind::warning, "IP number, /invite or /join parameter missing");
        else
            network_->startFromCommandLine(arguments_[0].mid(4), arguments_[1]);
    } else if (arguments_[0] != "/setup" && arguments_[0].contains(".vel")) {
        gameFileName = arguments_[0];
        resumeGame = CheckSavedGameFile(gameFileName);
    }

    table_->setPaintingEnabled(true);
    table_->setFocus();
    if (resumeGame) {
        playSound(SoundEvent::start);
        resumeGame = LoadGame(true, gameFileName);
    }
    // A resumed file that turned out damaged has left the table as it was: deal instead.
    if (!resumeGame) game_->newGame();
}

void TfmVelMain::choosePlayer() {
    QStringList names;
    for (const PlayerRecord& r : playerList)
        names << qs(r.name);
    TfmSelectPlayer choice(names, currentPlayer, this);
    choice.exec();
    currentPlayer = choice.selectedIndex();
}

void TfmVelMain::applyWindowSize() {
    const Layout old = game_->layout;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The status bar first: the new size makes room for it.
    statusBar()->setVisible(options_.showStatusbar);
    if (windowSizeIndex != old.sizeIndex) {
        sizeWindow(false);
        relayout(game_->state, old, game_->layout);
        table_->loadCardImages(cardBacks);
        table_->update();
    }
    QApplication::restoreOverrideCursor();
}

void TfmVelMain::externalCommand(int parameter) {
    switch (parameter) {
    case 2:
        Rules1Click(1);
        break;
    case 3:
        Rules1Click(2);
        break;
    case 4:
        Rules1Click(0);
        break;
    case 0:
        Customize1Click(TfmCustomize::playersPage);
        break;
    case 1:
        Customize1Click(TfmCustomize::generalPage);
        break;
    default:
        break;
    }
}

// Closing

void TfmVelMain::closeEvent(QCloseEvent* event) {
    if (connectionState == 2 &&
        tell(MessageKind::confirmation,
             "You have a network game running. Are you sure you want to quit?") !=
            MessageAnswer::yes) {
        event->ignore();
        return;
    }
    destroySequence();
    event->accept();
}

void TfmVelMain::destroySequence() {
    if (destroyed_) return;
    destroyed_ = true;
    // The table is whole whatever is still being shown of the last move.
    presentation_->finish(false);
    tmSplash_->stop();
    tmLED_->stop();
    sounds_->stopMusic();
    network_->shutdown();
    playSound(SoundEvent::exit);
    if (help_) help_->close();
    if (networkTable_) {
        // The autosave holds the player's game against the computer, which this table is not.
    } else if (options_.autoSave && game_->state.gameInProgress) {
        // A refused or failed autosave leaves the previous autosave as it was.
        SaveGame(true, autosaveFile());
    } else {
        QFile::remove(autosaveFile());
    }
    const QString resolution = QString::number(windowLeft = x()) + "," +
                               QString::number(windowTop = y()) + "," + sizeName(windowSizeIndex);
    settings_->writeString("Settings\\Resolution", resolution.toStdString());
    const int shownState = isFullScreen() ? 2 : isMaximized() ? 1 : 0;
    settings_->writeString(
        optionkeys::kWindowGeometry,
        windowGeometryText({shownState ? normalGeometry() : geometry(), shownState}).toStdString());
    playerList.clear();
    // Nobody hears SDL's dummy device (tests, servers): no reason to hold the exit there.
    if (!audioDeviceSilent()) sounds_->waitForSound(kExitSoundWaitMs);
    sounds_->mpWav.close();
}

void TfmVelMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    table_->placeEndHandButton();
}

void TfmVelMain::changeEvent(QEvent* event) {
    // The window manager may leave full screen by itself; the menu's check follows.
    if (event->type() == QEvent::WindowStateChange && fullScreen_)
        fullScreen_->setChecked(isFullScreen());
    QMainWindow::changeEvent(event);
}

bool TfmVelMain::event(QEvent* event) {
    // A menu hint stays on the status line until the mouse moves over the table again.
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        if (tip.isEmpty()) {
            endMenuHint();
        } else {
            statusLine_->setText(tip);
            showWarningColour(false);
            hintShowing = true;
        }
        return true;
    }
    return QMainWindow::event(event);
}

bool TfmVelMain::eventFilter(QObject* watched, QEvent* event) {
    // Hints stand 40 pixels higher than usual, so they do not cover the status bar they explain.
    if (event->type() == QEvent::ToolTip) {
        auto* widget = qobject_cast<QWidget*>(watched);
        auto* help = static_cast<QHelpEvent*>(event);
        if (widget && !widget->toolTip().isEmpty()) {
            QToolTip::showText(help->globalPos() - QPoint(0, kHintLift), widget->toolTip(), widget);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfmVelMain::keyPressEvent(QKeyEvent* event) {
    if (!table_->formKeyDown(event->key(), event->modifiers(), event->nativeScanCode()))
        QMainWindow::keyPressEvent(event);
}

// Status bar

void TfmVelMain::showConnectionState(int state) {
    static const char* texts[] = {"Not connected", "Waiting for connection...",
                                  "Connection established with "};
    if (state < 0 || state > 2) return;
    tmLED_->stop();
    QString text = texts[state];
    if (state == 2) text += qs(game_->opponentName());
    hintShowing = false;
    tableStatus_ = text;
    statusLine_->setText(text);
    showWarningColour(false);
}

QString TfmVelMain::statusText() const {
    return statusLine_->text();
}

bool TfmVelMain::statusIsWarning() const {
    return statusLine_->warning();
}

QLabel* TfmVelMain::panel(const char* name) const {
    return findChild<QLabel*>(name);
}

void TfmVelMain::showWarningColour(bool warning) {
    statusLine_->setWarning(warning);
}

void TfmVelMain::tmLEDTimer() {
    showWarningColour(false);
    tmLED_->stop();
}

void TfmVelMain::updatePanels() {
    // The panels follow the table as it is shown, not ahead of the cards still moving.
    const GameState& g = table_->shown();
    const Layout& l = game_->layout;
    QString meld = QString::number(meldedPoints(g, Seat::player, false, l));
    if (meldedPoints(g, Seat::player, true, l) < g.initialMeldMinimum)
        meld += " (" + QString::number(g.initialMeldMinimum) + ")";
    statusLine_->showNumbers(meld, g.opponentMeldPoints, g.playerTotal, g.opponentTotal);
    totals_->showTotals(qs(game_->playerName()), g.playerTotal, qs(game_->opponentName()),
                        g.opponentTotal);
}

// TableHost

void TfmVelMain::showStatus(std::string_view text, bool warning) {
    // Counted at once: a typed key asks right after its action whether a warning came.
    if (warning) table_->noteWarningShown();
    if (presentation_->busy()) {
        Presentation::Step step;
        step.kind = Presentation::Step::status;
        step.text = qs(text);
        step.warning = warning;
        presentation_->add(std::move(step));
        return;
    }
    setStatusLine(qs(text), warning);
}

void TfmVelMain::endMenuHint() {
    // The line the hint stood in for comes back: the table's status, not a menu's explanation of
    // an item long closed.
    if (!hintShowing) return;
    hintShowing = false;
    statusLine_->setText(tableStatus_);
    showWarningColour(tmLED_->isActive());
}

void TfmVelMain::setStatusLine(const QString& text, bool warning) {
    hintShowing = false;
    tableStatus_ = text;
    statusLine_->setText(text);
    if (warning) {
        QApplication::beep();
        showWarningColour(true);
        tmLED_->start();
    } else {
        showWarningColour(false);
    }
}

void TfmVelMain::setEndHandButton(bool visible, bool enabled) {
    table_->endHandButton()->setVisible(visible);
    table_->endHandButton()->setEnabled(enabled);
}

void TfmVelMain::setUndoEnabled(bool enabled) {
    undoMeld_->setEnabled(enabled);
    undoAll_->setEnabled(enabled);
}

void TfmVelMain::setRulesHint(std::string_view hint) {
    rules_->setStatusTip(longHint(qs(hint)));
}

void TfmVelMain::showWhoseTurn(std::string_view text) {
    if (!isActiveWindow()) return;
    TfmWhoseTurn::popup(this, qs(text));
}

void TfmVelMain::repaint(TableArea area) {
    table_->repaintArea(area);
    updatePanels();
    if (hint_) hint_->followTable();
}

void TfmVelMain::animateCard(const Card& card, int fromX, int fromY, int toX, int toY,
                             bool highlight) {
    // Shown over the table as it stands now: the card has left its place and not yet landed.
    Presentation::Step step;
    step.kind = Presentation::Step::move;
    step.table = std::make_shared<const GameState>(game_->state);
    step.card = card;
    step.from = table_->movementStart(card, QPoint(fromX, fromY));
    step.to = QPoint(toX, toY);
    step.highlight = highlight;
    presentation_->add(std::move(step));
}

void TfmVelMain::pause(int milliseconds) {
    if (milliseconds <= 0) return;
    Presentation::Step step;
    step.kind = Presentation::Step::pause;
    step.table = std::make_shared<const GameState>(game_->state);
    step.milliseconds = milliseconds;
    presentation_->add(std::move(step));
}

void TfmVelMain::setBusyCursor(bool busy) {
    if (busy == busyCursor_) return;
    busyCursor_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TfmVelMain::playSound(SoundEvent event) {
    if (!presentation_->busy()) {
        sounds_->playEventSound(event);
        return;
    }
    Presentation::Step step;
    step.kind = Presentation::Step::sound;
    step.soundEvent = event;
    presentation_->add(std::move(step));
}

void TfmVelMain::playHelpTopicsSound() {
    sounds_->playHelpSound();
}

void TfmVelMain::sendMove(const Move& move) {
    network_->sendMove(move);
}

void TfmVelMain::holdNetworkMessages(bool hold) {
    network_->holdMessages(hold);
}

MessageAnswer TfmVelMain::showMessage(MessageKind kind, const std::string& text) {
    if (kind != MessageKind::confirmation) {
        // A notice needs no answer: it is shown in its turn among the steps of the move, after
        // the engine call has returned, so no event loop runs inside the call.
        Presentation::Step step;
        step.kind = Presentation::Step::notice;
        step.noticeKind = kind;
        step.text = qs(text);
        presentation_->add(std::move(step));
        return MessageAnswer::ok;
    }
    return tell(kind, text);
}

MessageAnswer TfmVelMain::tell(MessageKind kind, const std::string& text) {
    if (kind != MessageKind::confirmation) {
        showNotice(kind, qs(text));
        return MessageAnswer::ok;
    }
    // A question is asked over the table as it is now.
    presentation_->finish(true);
    QApplication::beep();
    return look::askYesNo(this, qs(text)) ? MessageAnswer::yes : MessageAnswer::no;
}

void TfmVelMain::showNotice(MessageKind kind, const QString& text) {
    QApplication::beep();
    // The texts may name the partner, so they are shown as typed, never as markup.
    switch (kind) {
    case MessageKind::warning:
        look::message(this, QMessageBox::Warning, text);
        break;
    case MessageKind::error:
        look::message(this, QMessageBox::Critical, text);
        break;
    default:
        look::message(this, QMessageBox::Information, text);
        break;
    }
}

bool TfmVelMain::showScoring(const HandReport& report) {
    // The hand's result is shown over its last table, not over cards still on their way.
    presentation_->finish(true);
    TfmScoring scoring(report, this);
    scoring.offerScoreSheet([this, &scoring] { showScoreSheet(&scoring); });
    return scoring.exec() == TfmScoring::kDetailsResult;
}

void TfmVelMain::showDetails(const HandReport& report) {
    presentation_->finish(true);
    TfmDetails details(report, this);
    details.exec();
}

int TfmVelMain::showGameOver(const MatchReport& report) {
    presentation_->finish(true);
    TfmGameOver over(report, this);
    // The name this copy announces to the partner: the player's, or "Opponent" without one.
    const std::string& name = game_->options.playerName;
    over.setLocalNetworkName(name.empty() ? QStringLiteral("Opponent") : qs(name));
    over.setHintsUsed(hint_->hintsUsed());
    const int answer = over.exec();
    hint_->resetCount();
    return answer;
}

void TfmVelMain::recordHighscore(int kind, int score) {
    statistics_->recordHighscore(kind, score, matchContext());
}

void TfmVelMain::recordMatchHistory(int playerTotal, int opponentTotal) {
    statistics_->recordMatchHistory(playerTotal, opponentTotal, matchContext());
}

void TfmVelMain::recordWinLoss(bool won) {
    if (currentPlayer < 0 || currentPlayer >= int(playerList.size())) return;
    countMatchResult(playerList[std::size_t(currentPlayer)], won);
    savePlayerList();
}

void TfmVelMain::savePlayerList() {
    velnora::savePlayerList(*settings_, playerList, currentPlayer);
}

MatchContext TfmVelMain::matchContext() const {
    MatchContext c;
    c.networkGame = game_->options.networkGame;
    c.computerLevel = options_.computerLevel;
    c.playerName = game_->options.playerName;
    c.opponentName = game_->opponentName();
    c.showHighscores = options_.showHighscores;
    c.recordFile = recording_ ? recording_->currentFile() : std::string();
    return c;
}

StatisticsHooks TfmVelMain::statisticsHooks() {
    StatisticsHooks h;
    h.askName = [this](int kind, const std::string& preset) {
        QString name = qs(preset);
        const bool typed = look::askText(this,
                                         kind == kMatchHighscore ? "Match Score in Highscore List"
                                                                 : "Hand Score in Highscore List",
                                         "Enter your name:", name);
        return typed ? name.trimmed().toStdString() : preset;
    };
    h.playHighscoreSound = [this] { playSound(SoundEvent::highscore); };
    h.showTable = [this](int kind, int level, int rank) {
        TfmHighscores window(*settings_, highscores, level, kind, rank, this);
        window.exec();
    };
    h.today = [] {
        return QLocale().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
    };
    h.now = [] {
        return QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat).toStdString();
    };
    return h;
}

void TfmVelMain::closeApplication() {
    if (!networkTable_) QFile::remove(autosaveFile());
    // The match is over and another was declined: nothing is saved for the rest of the run.
    stopAutoSave();
    game_->abandonGame();
    QTimer::singleShot(0, this, &QWidget::close);
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

void TfmVelMain::fatalError(const std::string& text) {
    QApplication::beep();
    look::message(this, QMessageBox::Critical, qs(text));
    game_->abandonGame();
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

} // namespace velnora::ui
