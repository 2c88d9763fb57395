#pragma once
// "Customize Velnora": the table's colour and size, the status bar and popups, the players, the
// computer's level and aggressiveness, the discard click, the melding speed, the animation and
// autosave, on four pages.
//
// Use:
//     TfmCustomize dialog(mainWindow, page);    // page < 0: the page shown last
//     if (dialog.exec() == QDialog::Accepted) mainWindow.applyCustomizedOptions();
// OK and "&Apply" store every value in the main window and the settings store; "&Apply" also
// has the main window take them over at once. Cancel changes nothing, except a "Reset &Stats",
// which acts on the main window's player record at once.

#include "statistics.h"

#include "options.h"

#include <QDialog>

#include <vector>

class QButtonGroup;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSlider;
class QTabWidget;

namespace velnora::ui {

class TfmVelMain;

class TfmCustomize : public QDialog {
    Q_OBJECT
public:
    // Pages in the order of the tabs.
    enum Page { screenPage = 0, playersPage = 1, levelPage = 2, generalPage = 3 };

    TfmCustomize(TfmVelMain& main, int startPage = -1, QWidget* parent = nullptr);

    // The page the next dialog opens on when no start page is given.
    static int rememberedPage();
    // The window's options as the dialog's controls have them now.
    Options options() const;
    void done(int result) override;

private:
    // Event handlers of the controls
    void bnChangeClick();
    void bnNewClick();
    void bnRenameClick();
    void bnDeleteClick();
    void bnResetStatsClick();
    void bnSetCurrentClick();
    void lbPlayerListClick();
    void rgLevelClick();
    void ckNoAnimationClick();
    void bnOKClick();
    void bnApplyClick();
    void changed();

    void buildScreenPage();
    void buildPlayersPage();
    void buildLevelPage();
    void buildGeneralPage();
    void loadControls();
    void fillPlayerList();
    void setCurrentLabel(const QString& name);
    void playerButtonsEnabled(bool listHasNames);
    // The highlighted line of the player list, or -1 when none is.
    int selectedRow() const;
    // Steps of OK and "&Apply": every value into the main window and the store.
    void storeValues();
    // Asks for a player name; false when cancelled or refused for its comma.
    bool askPlayerName(const QString& title, const QString& prompt, QString& name);

    TfmVelMain& main_;
    bool gameInProgress_;
    bool networkGame_;
    QColor colour_;
    // The working copy of the player list; origin is the index in the main window's list, or
    // -1 for a player added here and not yet applied.
    struct WorkingPlayer {
        PlayerRecord record;
        int origin = -1;
    };
    std::vector<WorkingPlayer> players_;
    bool loading_ = false;

    QTabWidget* pages_ = nullptr;
    QFrame* pnColor_ = nullptr;
    QCheckBox* ckStatusbar_ = nullptr;
    QCheckBox* ckTurns_ = nullptr;
    QCheckBox* ckHighscores_ = nullptr;
    QButtonGroup* windowSizes_ = nullptr;
    QLabel* lbCurrentPlayer_ = nullptr;
    QListWidget* lbPlayerList_ = nullptr;
    QPushButton* bnSetCurrent_ = nullptr;
    QPushButton* bnResetStats_ = nullptr;
    QPushButton* bnDelete_ = nullptr;
    QPushButton* bnRename_ = nullptr;
    QPushButton* bnNew_ = nullptr;
    QCheckBox* ckSelectPlayer_ = nullptr;
    QGroupBox* rgLevel_ = nullptr;
    QButtonGroup* levels_ = nullptr;
    QSlider* tbAggression_ = nullptr;
    QLabel* lbAggression_ = nullptr;
    QLabel* lbWarning_ = nullptr;
    QButtonGroup* discards_ = nullptr;
    QSlider* tbMelding_ = nullptr;
    QCheckBox* ckNoAnimation_ = nullptr;
    QSlider* tbCardSpeed_ = nullptr;
    QCheckBox* ckAutoSave_ = nullptr;
    QPushButton* bnApply_ = nullptr;

    static int lastPage_;
};

} // namespace velnora::ui
