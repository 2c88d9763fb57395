// The table window's saved games: the Save and Load menu commands with their file dialogs, the
// autosave file, and the shutdown that a termination signal or the session's end asks for.

#include "main_window.h"

#include "game_io.h"
#include "hint_action.h"
#include "network_play.h"
#include "table_view.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QStandardPaths>

namespace velnora::ui {

namespace {

std::filesystem::path toPath(const QString& file) {
    return std::filesystem::path(QFile::encodeName(file).toStdString());
}

QString documentsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

const char* const kGameFilter = "Velnora Games (*.vel);;All Files (*)";

} // namespace

QString TfmVelMain::autosaveFile() const {
    return QDir(programDataFolder()).filePath("autosave.vel");
}

bool TfmVelMain::SaveGame(bool quiet, const QString& fileName) {
    QString file = fileName;
    if (!quiet) {
        // Refusals come before the dialog, so the player is not asked for a file in vain.
        if (checkSavable(*game_, false) != SaveOutcome::saved) return false;
        const bool named = currentPlayer >= 0 && currentPlayer < int(playerList.size());
        const QString suggestion = named ? QString::fromStdString(savegame::makeGameFileName(
                                               playerList[std::size_t(currentPlayer)].name))
                                         : QString("player.vel");
        QFileDialog dialog(this, "Save Velnora Game", QDir(documentsFolder()).filePath(suggestion),
                           kGameFilter);
        dialog.setObjectName("dlgSave");
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix("vel");
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
        file = dialog.selectedFiles().first();
    }
    if (file.isEmpty()) return false;
    return saveGame(*game_, quiet, toPath(file)) == SaveOutcome::saved;
}

bool TfmVelMain::CheckSavedGameFile(const QString& fileName) {
    return checkSavedGameFile(*game_, toPath(fileName)) == LoadOutcome::loaded;
}

bool TfmVelMain::LoadGame(bool quiet, const QString& fileName) {
    if (connectionState == 2 && game_->state.gameInProgress &&
        tell(MessageKind::confirmation,
             "You have a network game running. Are you sure you want to load a game?") !=
            MessageAnswer::yes)
        return false;
    QString file = fileName;
    if (!quiet) {
        QFileDialog dialog(this, "Load Velnora Game", documentsFolder(), kGameFilter);
        dialog.setObjectName("dlgLoad");
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setDefaultSuffix("vel");
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
        file = dialog.selectedFiles().first();
    }
    return loadAndShare(file);
}

bool TfmVelMain::loadInterruptedGame(const QString& fileName) {
    // The player has just said to continue this game, so the question about the network game
    // running is not asked: the table is the one left while waiting for the partner.
    return loadAndShare(fileName);
}

bool TfmVelMain::loadAndShare(const QString& file) {
    if (file.isEmpty()) return false;
    const bool loaded = loadGame(*game_, toPath(file)) == LoadOutcome::loaded;
    if (loaded) {
        if (connectionState == 0) noteNetworkTable(false);
        hint_->resetCount();
        updatePanels();
        table_->update();
        network_->gameLoaded();
        // A network table saved between hands: the partner has it now, and both deal alike.
        if (game_->options.networkGame) game_->dealIfBetweenHands();
    }
    return loaded;
}

void TfmVelMain::terminate() {
    // The normal shutdown writes the autosave; no question is asked, the system is ending us.
    destroySequence();
    QCoreApplication::exit(0);
}

} // namespace velnora::ui
