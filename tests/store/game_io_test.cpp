#include "game_io.h"

#include "game_files.h"
#include "recording_host.h"
#include "scoring.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

using namespace velnora;
namespace fs = std::filesystem;

namespace {

struct CountingDriver : OpponentDriver {
    int turns = 0;
    void startTurn(Game&) override { ++turns; }
};

struct Table {
    test::RecordingHost host;
    MemorySettings settings;
    Random rng;
    Game game{host, settings, rng};
    CountingDriver driver;
    explicit Table(std::uint64_t seed, int sizeIndex = 0) : rng(seed) {
        game.options.showTurns = false;
        game.layout = computeLayout(sizeIndex);
        game.setOpponentDriver(&driver);
    }
};

struct TempFile {
    fs::path path;
    TempFile() {
        static int n = 0;
        path = fs::temp_directory_path() /
               ("velnora-io-" + std::to_string(::getpid()) + "-" + std::to_string(n++) + ".vel");
    }
    ~TempFile() {
        std::error_code ec;
        fs::remove(path, ec);
    }
};

// A dealt hand with the player to move (the first deal alternates, so deal until it is).
void dealForPlayer(Table& t) {
    t.game.state.playerStartsHand = 1;
    t.game.dealHand();
    ASSERT_EQ(t.game.state.promptState, kPromptDraw) << toString(t.game.state);
}

} // namespace

TEST(GameIo, SavedAt1024LoadedAt800KeepsEveryCardInItsColumn) {
    Table big(3, 2);
    dealForPlayer(big);
    big.game.state.gameInProgress = 1;
    TempFile f;
    ASSERT_EQ(saveGame(big.game, true, f.path), SaveOutcome::saved);

    Table small(4, 1);
    dealForPlayer(small);
    ASSERT_EQ(loadGame(small.game, f.path), LoadOutcome::loaded) << small.host.messages.back();
    const Layout& from = big.game.layout;
    const Layout& to = small.game.layout;
    auto sameColumnAndOffset = [&](const Pile& a, const Pile& b, int fromBase, int toBase) {
        ASSERT_EQ(a.count, b.count);
        for (int i = 0; i < a.count; ++i) {
            EXPECT_EQ(a.places()[i].face, b.places()[i].face);
            EXPECT_EQ(columnOf(a.places()[i].x, from), columnOf(b.places()[i].x, to));
            EXPECT_EQ(a.places()[i].y - fromBase, b.places()[i].y - toBase);
        }
    };
    sameColumnAndOffset(big.game.state.playerHand, small.game.state.playerHand, from.playerHandY,
                        to.playerHandY);
    sameColumnAndOffset(big.game.state.playerMelds, small.game.state.playerMelds, from.playerMeldsY,
                        to.playerMeldsY);
    sameColumnAndOffset(big.game.state.opponentMelds, small.game.state.opponentMelds,
                        from.opponentMeldsY, to.opponentMeldsY);
    EXPECT_TRUE(small.game.isConsistent());
    EXPECT_EQ(small.game.state.discardPile.top().y, to.discardY);
}

TEST(GameIo, GameSavedAtTheComputersTurnResumesWithIt) {
    Table a(5);
    dealForPlayer(a);
    a.game.state.promptState = kPromptOpponentsTurn;
    a.game.state.opponentPromptState = kPromptOpponentsTurn;
    TempFile f;
    ASSERT_EQ(saveGame(a.game, true, f.path), SaveOutcome::saved);

    Table b(6);
    dealForPlayer(b);
    const int before = b.driver.turns;
    ASSERT_EQ(loadGame(b.game, f.path), LoadOutcome::loaded);
    EXPECT_EQ(b.driver.turns, before + 1);
    EXPECT_EQ(b.game.state.inputBlocked, 1);
    EXPECT_EQ(b.game.state.opponentPromptState, 0);
}

TEST(GameIo, RefusedFilesLeaveTheCurrentGameIntact) {
    Table a(7);
    dealForPlayer(a);
    TempFile f;
    ASSERT_EQ(saveGame(a.game, true, f.path), SaveOutcome::saved);
    std::string text;
    ASSERT_EQ(readWholeFile(f.path, 1 << 20, text), ReadStatus::ok);

    Table b(8);
    dealForPlayer(b);
    const GameState before = b.game.state;

    std::string v414 = text;
    v414.replace(17, 3, "414");
    ASSERT_TRUE(writeFileAtomically(f.path, v414));
    EXPECT_EQ(loadGame(b.game, f.path), LoadOutcome::wrongVersion);
    EXPECT_EQ(b.host.messages.back(),
              "Version error. The file " + f.path.string() + " cannot be read by Velnora.");
    EXPECT_EQ(b.game.state, before);

    ASSERT_TRUE(writeFileAtomically(f.path, text.substr(0, text.size() / 3)));
    EXPECT_EQ(loadGame(b.game, f.path), LoadOutcome::corrupt);
    EXPECT_EQ(b.host.messages.back(),
              "An error occurred while loading the file; the game cannot be opened.");
    EXPECT_EQ(b.game.state, before);

    ASSERT_TRUE(writeFileAtomically(f.path, "VelnoraSavedGamX 415 0"));
    EXPECT_EQ(loadGame(b.game, f.path), LoadOutcome::notSavedGame);
    // The path as it is on disk, not in capitals: names differ by case here.
    EXPECT_EQ(b.host.messages.back(), f.path.string() + " : this file is not a Velnora saved game");
    EXPECT_EQ(b.game.state, before);

    const std::size_t shown = b.host.messages.size();
    EXPECT_EQ(loadGame(b.game, f.path.string() + ".missing"), LoadOutcome::missing);
    EXPECT_EQ(b.host.messages.size(), shown); // a missing file is passed over silently
}

TEST(GameIo, AFileThatCannotBeReadIsALoadErrorNotAForeignFile) {
    Table b(8);
    dealForPlayer(b);
    const GameState before = b.game.state;
    // It exists, but every read of it fails (the tests may run with rights that read any file).
    const fs::path unreadable = "/proc/self/mem";
    EXPECT_EQ(loadGame(b.game, unreadable), LoadOutcome::readFailed);
    ASSERT_FALSE(b.host.messages.empty());
    EXPECT_EQ(b.host.messages.back(),
              "An error occurred while loading the file; the game cannot be opened.");
    EXPECT_EQ(b.host.messageKinds.back(), MessageKind::error);
    EXPECT_EQ(b.game.state, before);
}

TEST(GameIo, TakingThePileRefusesTheMenuSaveButNotTheAutosave) {
    Table a(9);
    dealForPlayer(a);
    a.game.state.takingPile = 1;
    TempFile f;
    EXPECT_EQ(saveGame(a.game, false, f.path), SaveOutcome::refusedTakingPile);
    EXPECT_EQ(a.host.messages.back(), "A game cannot be saved while taking the discard pile");
    EXPECT_FALSE(fs::exists(f.path));
    EXPECT_EQ(saveGame(a.game, true, f.path), SaveOutcome::saved);
    EXPECT_TRUE(fs::exists(f.path));
}

TEST(GameIo, InvalidMeldsRefuseEveryKindOfSave) {
    Table a(10);
    dealForPlayer(a);
    a.game.state.topCardPending = 1; // the taken top card is not melded yet
    TempFile f;
    ASSERT_TRUE(writeFileAtomically(f.path, "previous autosave"));
    EXPECT_EQ(saveGame(a.game, false, f.path), SaveOutcome::refusedInvalidMelds);
    EXPECT_EQ(a.host.messages.back(),
              "This game cannot be saved now because your meld is incorrect");
    const std::size_t shown = a.host.messages.size();
    EXPECT_EQ(saveGame(a.game, true, f.path), SaveOutcome::refusedInvalidMelds);
    EXPECT_EQ(a.host.messages.size(), shown);
    std::string text;
    readWholeFile(f.path, 1000, text);
    EXPECT_EQ(text, "previous autosave");
}

TEST(GameIo, FailedSaveIsNeverReportedAsSuccess) {
    Table a(11);
    dealForPlayer(a);
    EXPECT_EQ(saveGame(a.game, false, "/nonexistent-folder/x.vel"), SaveOutcome::writeFailed);
    EXPECT_EQ(a.host.messageKinds.back(), MessageKind::error);
}

// The program may end while a hand's result or the match's end is on screen: the autosave then
// holds a scored table that waits for the next deal. Resuming it must deal, not wait for ever.
TEST(GameIo, ATableSavedBeforeTheNextDealResumesWithADeal) {
    struct SavingHost : test::RecordingHost {
        Game* game = nullptr;
        fs::path file;
        bool atGameOver = false;
        bool showScoring(const HandReport& report) override {
            if (!atGameOver) {
                EXPECT_EQ(saveGame(*game, true, file), SaveOutcome::saved);
            }
            return test::RecordingHost::showScoring(report);
        }
        int showGameOver(const MatchReport& report) override {
            if (atGameOver) {
                EXPECT_EQ(saveGame(*game, true, file), SaveOutcome::saved);
            }
            return test::RecordingHost::showGameOver(report);
        }
    };
    for (const bool matchOver : {false, true}) {
        TempFile f;
        SavingHost host;
        MemorySettings settings;
        Random rng(11);
        Game game(host, settings, rng);
        CountingDriver driver;
        game.options.showTurns = false;
        game.setOpponentDriver(&driver);
        host.game = &game;
        host.file = f.path;
        host.atGameOver = matchOver;
        game.state.playerStartsHand = 1;
        game.dealHand();
        game.state.gameInProgress = 1;
        game.state.playerTotal = matchOver ? 9000 : 1200; // a hand ended by the stock can lose
        game.state.opponentTotal = 900;
        game.state.stockExhausted = 1;
        game.state.endHandRequested = 1;
        ASSERT_TRUE(game.checkEndOfHand());
        ASSERT_EQ(host.gameOvers.size(), matchOver ? 1u : 0u);
        const std::int32_t playerTotal =
            host.scorings.back().player.total() + (matchOver ? 9000 : 1200);

        Table resumed(12);
        dealForPlayer(resumed);
        ASSERT_EQ(loadGame(resumed.game, f.path), LoadOutcome::loaded)
            << (resumed.host.messages.empty() ? "" : resumed.host.messages.back());
        const GameState& s = resumed.game.state;
        EXPECT_NE(s.promptState, kPromptWaitForDeal) << "match over: " << matchOver;
        EXPECT_EQ(s.stockExhausted, 0);
        EXPECT_GT(s.playerHand.count, 0);
        EXPECT_TRUE(resumed.game.isConsistent());
        if (matchOver) {
            EXPECT_GE(playerTotal, kMatchTarget);
            EXPECT_EQ(s.playerTotal, 0);
            EXPECT_EQ(s.opponentTotal, 0);
        } else {
            EXPECT_EQ(s.playerTotal, playerTotal);
        }
    }
}
