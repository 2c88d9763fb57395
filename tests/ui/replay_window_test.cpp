// The replay of a recorded match, and the records the table keeps of its matches.

#include "match_history_window.h"
#include "match_recording.h"
#include "played_match.h"
#include "replay_window.h"
#include "statistics.h"
#include "widget_lookup.h"

#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace velnora;
using namespace velnora::test;

namespace {

// A table's piles as the player sees them, card by card.
std::vector<std::vector<int>> piles(const GameState& g) {
    return {identities(g.stock),
            identities(g.discardPile),
            identities(g.playerHand),
            identities(g.opponentHand),
            identities(g.playerMelds),
            identities(g.opponentMelds),
            {g.playerTotal, g.opponentTotal}};
}

} // namespace

TEST(ReplayWindow, SteppingBackThenForwardGivesTheSameTableAtEveryMove) {
    HeadlessTable played(RuleSettings{}, 21);
    const net::MatchRecord record = playedMatch(played, 2, 21);
    ASSERT_GE(record.hands.size(), 2u);
    ui::ReplayWindow replay(record, ui::ReplayLook{});
    const int moves = static_cast<int>(record.hands[0].moves.size());
    std::vector<std::vector<std::vector<int>>> forward;
    for (int m = 0; m <= moves; ++m) {
        replay.goTo(0, m);
        forward.push_back(piles(replay.table()));
    }
    for (int m = moves; m >= 0; --m) {
        replay.goTo(0, m);
        ASSERT_EQ(piles(replay.table()), forward[static_cast<std::size_t>(m)]) << m;
    }
    replay.show();
    replay.goTo(0, moves * 2 / 3);
    uitest::saveShot(&replay, "replay");
    // A turn step stops where the other seat's moves begin; a hand step at the next deal.
    replay.goTo(0, 0);
    replay.stepTurn(1);
    const auto& first = record.hands[0].moves;
    ASSERT_GT(replay.move(), 0);
    EXPECT_NE(first[static_cast<std::size_t>(replay.move())].seat,
              first[static_cast<std::size_t>(replay.move() - 1)].seat);
    replay.stepHand(1);
    EXPECT_EQ(replay.hand(), 1);
    EXPECT_EQ(replay.move(), 0);
    // The end of the match shows the totals the match ended on.
    const int last = static_cast<int>(record.hands.size()) - 1;
    replay.goTo(last, static_cast<int>(record.hands.back().moves.size()));
    EXPECT_EQ(replay.table().playerTotal, played.game.state.playerTotal);
    EXPECT_EQ(replay.table().opponentTotal, played.game.state.opponentTotal);
}

TEST(ReplayWindow, ADamagedRecordIsRefusedAndTheTableKeepsAHundredRecords) {
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    std::ofstream(folder / "broken.vrec") << "VELNORA MATCH RECORD 1\nRULES T\n";
    QString why;
    EXPECT_FALSE(ui::ReplayWindow::load(dir.filePath("broken.vrec"), why));
    EXPECT_TRUE(why.contains("thirteen values")) << why.toStdString();
    EXPECT_FALSE(ui::ReplayWindow::load(dir.filePath("gone.vrec"), why));

    for (int i = 0; i < 120; ++i)
        std::ofstream(folder / ("match-2026010" + std::to_string(i / 100) + "-" +
                                std::to_string(100 + i % 100) + ".vrec"))
            << "old";
    HeadlessTable t(RuleSettings{}, 4);
    ui::MatchRecording recording(t.game, folder, [](net::MatchRecord& r) { r.level = "Expert"; });
    ai::ComputerDriver computer;
    t.game.setOpponentDriver(&computer);
    ai::AutoPlayer player(t.game, 4);
    t.game.newGame();
    for (int turns = 0; t.host.scored.empty() && turns < 500; ++turns)
        player.playTurn();
    ASSERT_FALSE(recording.currentFile().empty());
    const auto read = ui::ReplayWindow::load(
        QString::fromStdString((folder / recording.currentFile()).string()), why);
    ASSERT_TRUE(read) << why.toStdString();
    EXPECT_EQ(read->hands.size(), 1u);
    EXPECT_EQ(read->level, "Expert");
    int kept = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        kept += entry.path().extension() == ".vrec" ? 1 : 0;
    // The oldest names go first: the broken file, then the oldest matches.
    EXPECT_EQ(kept, ui::MatchRecording::kKeptRecords);
    EXPECT_FALSE(std::filesystem::exists(folder / "broken.vrec"));
    EXPECT_FALSE(std::filesystem::exists(folder / "match-20260100-100.vrec"));
    EXPECT_TRUE(std::filesystem::exists(folder / "match-20260101-119.vrec"));
    t.game.setOpponentDriver(nullptr);
}

TEST(ReplayWindow, TheHistoryOffersTheReplayOfALineWithARecord) {
    MemorySettings settings;
    addMatchHistoryLine(settings, "old match");
    addMatchHistoryLine(settings, "new match", "match-1.vrec");
    std::string asked;
    ui::TfmMatchHistory window(settings, nullptr,
                               [&](QWidget*, const std::string& file) { asked = file; });
    auto* list = uitest::find<QListWidget>(&window, "lbHistory");
    auto* replay = uitest::find<QPushButton>(&window, "bnReplay");
    list->setCurrentRow(1);
    EXPECT_FALSE(replay->isEnabled());
    list->setCurrentRow(0);
    ASSERT_TRUE(replay->isEnabled());
    replay->click();
    EXPECT_EQ(asked, "match-1.vrec");
}
