#include "game_io.h"

#include "game_files.h"
#include "meld_check.h"
#include "relayout.h"
#include "scoring.h"

#include <algorithm>
#include <chrono>
#include <memory>

namespace velnora {

namespace {

std::uint64_t tickMilliseconds() {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

} // namespace

SaveOutcome checkSavable(Game& game, bool quiet) {
    const GameState& g = game.state;
    if (g.takingPile && !quiet) {
        game.host().showMessage(MessageKind::information,
                                "A game cannot be saved while taking the discard pile");
        return SaveOutcome::refusedTakingPile;
    }
    // Validation only reports; it must not disturb the table it checks.
    GameState scratch = g;
    if (!validateForCommit(scratch, game.rules, game.layout, scratch.playerHand.count)) {
        if (!quiet)
            game.host().showMessage(MessageKind::information,
                                    "This game cannot be saved now because your meld is incorrect");
        return SaveOutcome::refusedInvalidMelds;
    }
    return SaveOutcome::saved;
}

SaveOutcome saveGame(Game& game, bool quiet, const std::filesystem::path& file) {
    if (SaveOutcome refused = checkSavable(game, quiet); refused != SaveOutcome::saved)
        return refused;
    const GameState& g = game.state;
    // The keys only hide the cards from a text editor; they come from their own generator so
    // that saving never changes the game's random sequence.
    Random keyRandom(clockSeed());
    const std::string text = savegame::encode(g, game.layout.sizeIndex, [&keyRandom] {
        return savegame::saveKeyFrom(tickMilliseconds(), keyRandom.uniform());
    });
    if (!writeFileAtomically(file, text)) {
        if (!quiet)
            game.host().showMessage(MessageKind::error,
                                    "An error occurred while saving the file; the game has not "
                                    "been saved.");
        return SaveOutcome::writeFailed;
    }
    return SaveOutcome::saved;
}

namespace {
constexpr const char* kLoadErrorText =
    "An error occurred while loading the file; the game cannot be opened.";
} // namespace

LoadOutcome checkSavedGameFile(Game& game, const std::filesystem::path& file) {
    std::string head;
    ReadStatus status = readWholeFile(file, savegame::kMaxFileSize, head);
    if (status == ReadStatus::missing) return LoadOutcome::missing;
    // A file that is there but cannot be read says nothing about what it holds.
    if (status == ReadStatus::failed) {
        game.host().showMessage(MessageKind::error, kLoadErrorText);
        return LoadOutcome::readFailed;
    }
    if (status == ReadStatus::tooLarge) head.resize(savegame::kMagic.size());
    if (!savegame::hasMagic(head)) {
        // The path as it is on disk (names differ by case here) and an error's icon: the file
        // was not opened.
        game.host().showMessage(MessageKind::error,
                                file.string() + " : this file is not a Velnora saved game");
        return LoadOutcome::notSavedGame;
    }
    return LoadOutcome::loaded;
}

LoadOutcome loadGame(Game& game, const std::filesystem::path& file) {
    const LoadOutcome check = checkSavedGameFile(game, file);
    if (check != LoadOutcome::loaded) return check;
    std::string text;
    const ReadStatus status = readWholeFile(file, savegame::kMaxFileSize, text);
    savegame::LoadResult result;
    if (status == ReadStatus::ok) result = savegame::decode(text, game.state);
    if (result.error == savegame::LoadError::version) {
        game.host().showMessage(MessageKind::warning, "Version error. The file " + file.string() +
                                                          " cannot be read by Velnora.");
        return LoadOutcome::wrongVersion;
    }
    if (status != ReadStatus::ok || result.error != savegame::LoadError::none) {
        game.host().showMessage(MessageKind::error, kLoadErrorText);
        return status == ReadStatus::ok ? LoadOutcome::corrupt : LoadOutcome::readFailed;
    }
    adoptLoadedGame(game, result);
    return LoadOutcome::loaded;
}

void adoptLoadedGame(Game& game, const savegame::LoadResult& result) {
    game.adoptSavedTable(result.state, result.sizeIndex);
}

} // namespace velnora
