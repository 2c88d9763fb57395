// The replay of a recorded match, and the records the table keeps of its matches.

#include "hint.h"
#include "match_history_window.h"
#include "match_recording.h"
#include "played_match.h"
#include "replay_window.h"
#include "statistics.h"
#include "widget_lookup.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

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

TEST(ReplayWindow, PlayDealAgainDealsTheShownHandsCardsToANewMatch) {
    HeadlessTable played(RuleSettings{}, 21);
    const net::MatchRecord record = playedMatch(played, 2, 21);
    ui::ReplayWindow replay(record, ui::ReplayLook{});
    auto* again = uitest::find<QPushButton>(&replay, "bnPlayAgain");
    EXPECT_TRUE(again->isHidden()); // nobody to play it: not offered
    std::optional<DealtHand> chosen;
    replay.offerPlayingDealAgain([&](const DealtHand& deal) { chosen = deal; });
    // A hand the player starts: the new table stands where the recorded one did.
    int hand = 0;
    while (!record.hands[static_cast<std::size_t>(hand)].deal.playerStarts)
        ++hand;
    replay.goTo(hand, 5);
    again->click();
    ASSERT_TRUE(chosen);
    HeadlessTable fresh(RuleSettings{}, 99);
    fresh.game.state.playerTotal = 1234;
    fresh.game.newGameWithDeal(*chosen);
    replay.goTo(hand, 0);
    auto expected = piles(replay.table());
    expected.back() = {0, 0}; // a new match
    EXPECT_EQ(piles(fresh.game.state), expected);
}

namespace {

// Plays the player's seat as the hint advises until the first hand is scored.
net::MatchRecord handPlayedByTheHint(HeadlessTable& t) {
    net::MatchRecorder recorder;
    t.game.setMatchListener(&recorder);
    ai::ComputerDriver computer;
    t.game.setOpponentDriver(&computer);
    t.game.newGame();
    for (int steps = 0; t.host.scored.empty() && steps < 2000; ++steps) {
        const ai::Hint hint = ai::expertHint(t.game);
        if (hint.action == ai::Hint::Action::none || !ai::carryOutHint(t.game, hint.steps)) break;
    }
    t.game.setMatchListener(nullptr);
    t.game.setOpponentDriver(nullptr);
    return recorder.record;
}

} // namespace

TEST(ReplayReview, MarksTheChoicesThatDifferFromTheHintsAndNoneOfAHintFollower) {
    HeadlessTable followed(RuleSettings{}, 5);
    const net::MatchRecord byHint = handPlayedByTheHint(followed);
    ASSERT_FALSE(followed.host.scored.empty());
    ASSERT_GE(byHint.hands.size(), 1u);
    ASSERT_GT(byHint.hands[0].moves.size(), 20u);
    const auto none = ui::reviewHand(byHint.hands[0]);
    EXPECT_TRUE(none.empty()) << none.front().move << ": " << none.front().played << " "
                              << none.front().hinted;

    HeadlessTable played(RuleSettings{}, 21);
    const net::MatchRecord record = playedMatch(played, 2, 21);
    const auto& moves = record.hands[0].moves;
    const auto notes = ui::reviewHand(record.hands[0]);
    ASSERT_FALSE(notes.empty());
    for (const ui::ReviewNote& note : notes) {
        ASSERT_LT(note.move, static_cast<int>(moves.size()));
        EXPECT_EQ(moves[static_cast<std::size_t>(note.move)].seat, Seat::player);
        EXPECT_EQ(note.hinted.rfind("Hint: ", 0), 0u) << note.hinted;
        EXPECT_EQ(note.played.rfind("You ", 0), 0u) << note.played;
    }
    // The window lists them and shows the note of the move it stands on.
    ui::ReplayWindow replay(record, ui::ReplayLook{});
    uitest::find<QPushButton>(&replay, "bnReview")->click();
    auto* list = uitest::find<QListWidget>(&replay, "lbReview");
    ASSERT_EQ(list->count(), static_cast<int>(notes.size()));
    list->setCurrentRow(0);
    EXPECT_EQ(replay.move(), notes[0].move);
    EXPECT_TRUE(uitest::find<QLabel>(&replay, "lbPosition")
                    ->text()
                    .contains(QString::fromStdString(notes[0].hinted)));
}
