#pragma once
// The table window: owns the game, the settings store and the option values for the life of
// the process, carries the menus and the status bar, and is the engine's TableHost.

#include "ai_common.h"
#include "card_art.h"
#include "game.h"
#include "host.h"
#include "options.h"
#include "random.h"
#include "statistics.h"

#include <QMainWindow>
#include <QMargins>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QTimer;

namespace velnora {
class TdmMain;
}

namespace velnora::ui {

class HintAction;
class NetworkPlay;
class Presentation;
class StatusLine;
class MatchTotals;
class TableView;
class MatchRecording;
class TSounds;
class TfmHelp;

// The parts of a stored "left,top,size name" window placement after checking them against the
// screen.
struct WindowPlacement {
    int left = 0;
    int top = 0;
    int sizeIndex = 0;
};
WindowPlacement parseResolution(const QString& value, int screenWidth, int screenHeight);

// Largest table size index whose window fits the available area of a screen, where chrome is
// what the window adds around the table (frame, title bar, menu bar, status bar); 0 when none
// fits.
int maxSizeIndexFor(QSize available, QSize chrome);

// The window's place and size as "Settings\Window Geometry" keeps them: the client area of the
// normal window, and 0 normal, 1 maximised, 2 full screen.
struct WindowGeometry {
    QRect rect;
    int state = 0;
};
std::optional<WindowGeometry> parseWindowGeometry(const QString& text);
QString windowGeometryText(const WindowGeometry& geometry);

// A window's client area moved, and shrunk where it must be, until it and its frame lie in
// the area.
QRect clampToArea(QRect client, const QRect& area, const QMargins& frame);

// The per-user data folder where the program writes its autosave file.
QString programDataFolder();

class TfmVelMain : public QMainWindow, public TableHost {
    Q_OBJECT
public:
    // With settings given (tests) the window uses them instead of opening the settings store;
    // arguments are the command-line arguments after the program name.
    explicit TfmVelMain(Settings* settings = nullptr, QStringList arguments = {},
                        QWidget* parent = nullptr);
    ~TfmVelMain() override;

    Game& game() { return *game_; }
    TableView* table() const { return table_; }
    // What is being shown of the last moves.
    Presentation& presentation() const { return *presentation_; }
    NetworkPlay& network() { return *network_; }
    Settings& settings() { return *settings_; }
    // Event sounds, music and their options.
    TSounds& sounds() { return *sounds_; }

    // The player's options. The Customize dialog edits a copy and hands it back.
    const Options& options() const { return options_; }
    // Stores edited options and takes them over (the window and the game follow with
    // applyCustomizedOptions); without `withLevel` the level stays as it is.
    void changeOptions(const Options& options, bool withLevel);
    // The chat window's place on top, stored at once.
    void setChatOnTop(bool onTop);
    // The level being played, for this run only (a network game plays no computer level).
    void setPlayingLevel(int level);
    // Nothing is autosaved for the rest of the run (a declined match), whatever is stored.
    void stopAutoSave() { options_.autoSave = false; }
    // The table holds a network game (or one dealt while waiting for it) rather than the game
    // against the computer that the autosave keeps: the autosave is then neither written nor
    // deleted. A local new game or a loaded one gives the table back to the autosave.
    void noteNetworkTable(bool network) { networkTable_ = network; }
    bool networkTable() const { return networkTable_; }

    // State held for the life of the process
    std::vector<PlayerRecord> playerList;
    int currentPlayer = -1;
    std::array<CardBack, 2> cardBacks;
    Highscores highscores;
    int windowSizeIndex = 0;
    int maxWindowSizeIndex = 3;
    int currentHand = 0;
    int connectionState = 0;
    bool hintShowing = false;
    bool resumeGame = false;
    QString gameFileName;
    int windowLeft = 0;
    int windowTop = 0;

    // Start-up and shutdown
    // The end of the start-up interval: lays out the table and deals (or resumes) a game.
    void tmSplashTimer();
    bool splashDone() const { return splashDone_; }
    // The start-up splash, closed when the start-up interval ends.
    void setSplash(QWidget* splash) { splash_ = splash; }
    // What the window adds around the table: frame, title bar, menu bar and status bar.
    QSize windowChrome() const;
    // The window's frame; a common one until the window manager has drawn it.
    QMargins frameMargins() const;
    // The client size that shows the table at its layout's size, one pixel for one.
    QSize naturalSize();
    // Full screen on or off; a maximised window comes back maximised.
    void setFullScreen(bool on);
    // Changes the table to windowSizeIndex and moves the cards on it.
    void applyWindowSize();
    // Takes over the options the Customize dialog stored: size, status bar and game options.
    void applyCustomizedOptions();
    // Opens the Customize dialog (0, 1) or the Rules dialog (2, 3, 4) at a page.
    void externalCommand(int parameter);
    // Ends the program at once through the normal shutdown, so the running game is autosaved:
    // a termination signal or the end of the desktop session.
    void terminate();

    // Saved games
    // Saves the game; quiet saves (autosave) use fileName and show nothing, otherwise the
    // player picks the file. True when the file was written.
    bool SaveGame(bool quiet, const QString& fileName = {});
    // Replaces the game by a saved one; quiet loads (resume, command line) open fileName
    // without a dialog. True when a game was loaded.
    bool LoadGame(bool quiet, const QString& fileName = {});
    // Loads quietly the game a lost connection left with the partner just reconnected, and
    // sends it to the partner. True when it was loaded.
    bool loadInterruptedGame(const QString& fileName);
    // Whether the file exists and is a saved game; reports a file that is not.
    bool CheckSavedGameFile(const QString& fileName);
    QString autosaveFile() const;

    // Status bar
    void showConnectionState(int state);
    QString statusText() const;
    bool statusIsWarning() const;
    QLabel* panel(const char* name) const;
    void updatePanels();

    // TableHost
    void showStatus(std::string_view text, bool warning) override;
    void setEndHandButton(bool visible, bool enabled) override;
    void setUndoEnabled(bool enabled) override;
    void setRulesHint(std::string_view hint) override;
    void showWhoseTurn(std::string_view text) override;
    void repaint(TableArea area) override;
    void animateCard(const Card& card, int fromX, int fromY, int toX, int toY,
                     bool highlight) override;
    void pause(int milliseconds) override;
    void setBusyCursor(bool busy) override;
    void playSound(SoundEvent event) override;
    void sendMove(const Move& move) override;
    void holdNetworkMessages(bool hold) override;
    // The engine's messages: a notice is shown among the steps of its move, a question at once.
    MessageAnswer showMessage(MessageKind kind, const std::string& text) override;
    // The window's own messages and questions, shown at once.
    MessageAnswer tell(MessageKind kind, const std::string& text);
    bool showScoring(const HandReport& report) override;
    void showDetails(const HandReport& report) override;
    int showGameOver(const MatchReport& report) override;
    void recordHighscore(int kind, int score) override;
    void recordMatchHistory(int playerTotal, int opponentTotal) override;
    void recordWinLoss(bool won) override;
    void savePlayerList() override;
    void closeApplication() override;
    void fatalError(const std::string& text) override;

    // Menu handlers
    void New1Click();
    // A new match, from a recorded deal when one is given; asks first when a game is running.
    void startNewMatch(const DealtHand* deal);
    void UndoMeld1Click();
    void UndoAll1Click();
    void Rules1Click(int page = -1);
    void Save1Click() { SaveGame(false); }
    void Load1Click() { LoadGame(false); }
    void About1Click();
    void Sound1Click();
    // The sound of "&Help Topics": the three help events in turn.
    void playHelpTopicsSound();
    void Customize1Click(int page = -1);
    void Decks1Click();
    // Takes over two card backs: the table's images are rebuilt and repainted.
    void applyCardBacks(const std::array<CardBack, 2>& backs);
    // "&Help Topics": plays the next help sound and opens the help window at its start page.
    void HelpTopics1Click();
    // Opens the help window at a page ("melds.html#velnora"; empty: the start page).
    void showHelp(const QString& page = {});
    TfmHelp* helpWindow() const;
    // "Check &Upgrade..." and the home page, on the web site of the setting or the built-in one.
    void CheckUpgrade1Click();
    void HomePage1Click();
    QString webSite();
    void Hiscores1Click();
    void WinRatio1Click();
    void MatchHistory1Click();
    // The score sheet of the match on the table, over a window (this one, or the hand's result).
    void showScoreSheet(QWidget* over);
    // Opens the replay of the match record in the file over a window, or says why it cannot.
    void openReplay(QWidget* over, const QString& file);
    void bnEndHandClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createMenus();
    QAction* addItem(QMenu* menu, const char* objectName, const QString& caption,
                     const QString& hint, const QKeySequence& shortcut = {});
    void loadOptions();
    // Sizes the window for windowSizeIndex; start-up also moves it to its stored place.
    void sizeWindow(bool atStartup);
    void placeAtStartup();
    // The status line itself, once the steps before it have been shown.
    void setStatusLine(const QString& text, bool warning);
    void endMenuHint();
    // A notice box of the presentation.
    void showNotice(MessageKind kind, const QString& text);
    void choosePlayer();
    void applyOptionsToGame();
    void showWarningColour(bool warning);
    void tmLEDTimer();
    void destroySequence();
    // Loads the file and, during a connection, sends the table to the partner.
    bool loadAndShare(const QString& file);
    // The game being played, as the statistics record it.
    MatchContext matchContext() const;
    StatisticsHooks statisticsHooks();

    Options options_;
    std::unique_ptr<TdmMain> dataModule_;
    std::unique_ptr<Settings> ownedSettings_;
    Settings* settings_ = nullptr;
    Random random_;
    std::unique_ptr<Game> game_;
    std::unique_ptr<MatchRecording> recording_;
    std::unique_ptr<StatisticsRecorder> statistics_;
    ai::ComputerDriver computerDriver_;
    QStringList arguments_;
    TableView* table_ = nullptr;
    Presentation* presentation_ = nullptr;
    TSounds* sounds_ = nullptr;

    StatusLine* statusLine_ = nullptr;
    QString tableStatus_; // the table's own status, under any menu hint
    MatchTotals* totals_ = nullptr;
    QTimer* tmSplash_ = nullptr;
    QTimer* tmLED_ = nullptr;
    QPointer<QWidget> splash_;
    QPointer<TfmHelp> help_;

    QAction* undoMeld_ = nullptr;
    QAction* undoAll_ = nullptr;
    HintAction* hint_ = nullptr;
    QAction* rules_ = nullptr;
    QAction* chatOnTop_ = nullptr;
    QAction* fullScreen_ = nullptr;
    QAction* disconnect_ = nullptr;
    QAction* ruleDifferences_ = nullptr;
    NetworkPlay* network_ = nullptr;

    bool splashDone_ = false;
    bool busyCursor_ = false;
    bool destroyed_ = false;
    bool networkTable_ = false;
};

} // namespace velnora::ui
