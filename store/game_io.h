#pragma once
// Saving the running game to a file and loading one back, with the refusals and messages the
// player sees; the file dialogs themselves belong to the window.

#include "game.h"
#include "saved_game.h"

#include <filesystem>

namespace velnora {

enum class SaveOutcome { saved, refusedTakingPile, refusedInvalidMelds, writeFailed };

// Whether the game may be saved now; shows the refusal unless quiet. Menu saves ask this before
// the file dialog opens.
SaveOutcome checkSavable(Game& game, bool quiet);

// Writes the game to `file`. A quiet save (autosave, lost connection) shows no message and
// goes on while the pile is being taken; an invalid meld area refuses either kind.
SaveOutcome saveGame(Game& game, bool quiet, const std::filesystem::path& file);

enum class LoadOutcome { loaded, missing, notSavedGame, wrongVersion, corrupt, readFailed };

// Whether the file exists and begins with the saved-game marker; shows the refusal for a file
// that does not (quiet or not: the player asked for that file).
LoadOutcome checkSavedGameFile(Game& game, const std::filesystem::path& file);

// Replaces the current game by the file's when the whole file is valid; otherwise shows the
// reason and leaves the current game as it was. Starts the computer's turn when the file was
// saved while the computer was to move.
LoadOutcome loadGame(Game& game, const std::filesystem::path& file);

// Puts a decoded game on the table: converts positions from the file's table size to the
// current one, restores the status line and buttons, and hands the turn to the computer when
// it is its move.
void adoptLoadedGame(Game& game, const savegame::LoadResult& result);

} // namespace velnora
