// Match records: a whole match written, read back and replayed to the very table; a damaged
// or hostile record refused with the line and the reason.

#include "played_match.h"

#include <gtest/gtest.h>

using namespace velnora;

namespace {

using test::HeadlessTable;
using test::identities;
using test::playedMatch;

std::string recordText() {
    HeadlessTable t(hoyleRules(), 5);
    return net::formatRecord(playedMatch(t, 2, 5));
}

} // namespace

TEST(MatchRecord, AWholeMatchReadsBackAndReplaysToTheSameTableAndScores) {
    for (const auto& [rules, level] : {std::pair{RuleSettings{}, 0}, std::pair{hoyleRules(), 2}}) {
        HeadlessTable played(rules, 11);
        const net::MatchRecord record = playedMatch(played, level, 11);
        ASSERT_GE(record.hands.size(), 2u);

        net::MatchRecord read;
        std::string why;
        ASSERT_TRUE(net::parseRecord(net::formatRecord(record), read, why)) << why;
        EXPECT_EQ(read.playerName, "Anna");
        EXPECT_EQ(read.rules, rules);
        ASSERT_EQ(read.hands.size(), record.hands.size());
        for (std::size_t h = 0; h < read.hands.size(); ++h) {
            EXPECT_EQ(read.hands[h].moves, record.hands[h].moves);
            EXPECT_EQ(identities(read.hands[h].deal.order), identities(record.hands[h].deal.order));
        }

        HeadlessTable replay(rules, 99); // another generator: the record alone decides
        replay.game.setDealsAfterScoring(false);
        for (const net::RecordedHand& hand : read.hands)
            ASSERT_TRUE(net::replayHand(replay.game, hand, why)) << why;
        ASSERT_EQ(replay.host.scored.size(), played.host.scored.size());
        for (std::size_t h = 0; h < replay.host.scored.size(); ++h) {
            EXPECT_EQ(replay.host.scored[h].player, played.host.scored[h].player) << h;
            EXPECT_EQ(replay.host.scored[h].opponent, played.host.scored[h].opponent) << h;
        }
        const GameState& a = replay.game.state;
        const GameState& b = played.game.state;
        EXPECT_EQ(identities(a.playerHand), identities(b.playerHand));
        EXPECT_EQ(identities(a.opponentHand), identities(b.opponentHand));
        EXPECT_EQ(identities(a.discardPile), identities(b.discardPile));
        EXPECT_EQ(identities(a.stock), identities(b.stock));
        EXPECT_EQ(a.playerTotal, b.playerTotal);
        EXPECT_EQ(a.opponentTotal, b.opponentTotal);
    }
}

TEST(MatchRecord, ADamagedOrHostileRecordIsRefusedWithItsLine) {
    const std::string good = recordText();
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return text.replace(at, from.size(), to);
    };
    const std::size_t deckAt = good.find("DECK ") + 5;
    const std::string firstCard = good.substr(deckAt, good.find(' ', deckAt) - deckAt);
    const std::size_t secondAt = deckAt + firstCard.size() + 1;
    const std::string secondCard = good.substr(secondAt, good.find(' ', secondAt) - secondAt);
    const std::pair<std::string, std::string> cases[] = {
        {"not a record\n" + good, "not a Velnora match record"},
        {replaced("\nP ", "\nP TELEPORT\nP "), "a token that names no move"},
        {replaced("DECK " + firstCard + " " + secondCard, "DECK " + firstCard + " " + firstCard),
         "a card twice in the deck"},
        {replaced("DECK " + firstCard + " ", "DECK "), "a deck of other than 108 cards"},
        {replaced("DECK " + firstCard, "DECK 54.0"), "a card that is none"},
        {replaced("RULES ", "RULES X "), "the rules need thirteen values"},
        {replaced("\nHAND ", "\nP DRAWNEW\nHAND "), "a move outside a hand"},
        {good.substr(0, good.find("DECK")), "a hand without its deck"},
        {replaced("SCORE ", "SCORE 99999999999 "), "a score"},
    };
    for (const auto& [text, reason] : cases) {
        net::MatchRecord record;
        std::string why;
        EXPECT_FALSE(net::parseRecord(text, record, why)) << reason;
        EXPECT_NE(why.find(reason), std::string::npos) << why;
    }
}

// A loaded table was not dealt here: the record so far ends with it, and the next deal starts a
// new one at the totals it is dealt at, so that no move lands in a hand of another deal.
TEST(MatchRecord, ALoadedTableEndsTheRecordAndTheNextDealStartsOne) {
    HeadlessTable t(RuleSettings{}, 3);
    net::MatchRecorder recorder;
    std::vector<net::MatchRecord> ended;
    recorder.onMatchStarted = [&](const net::MatchRecord& r) { ended.push_back(r); };
    t.game.setMatchListener(&recorder);
    t.game.setPlayerStartsHand(true);
    t.game.newGame();
    t.game.applyPlayerMove(Move::of(MoveKind::draw));
    GameState saved = t.game.state;
    saved.playerTotal = 2820;
    t.game.adoptSavedTable(saved, t.game.layout.sizeIndex);
    ASSERT_EQ(ended.size(), 1u);
    EXPECT_EQ(ended[0].hands.size(), 1u);
    EXPECT_TRUE(recorder.record.hands.empty());
    t.game.dealHand();
    ASSERT_EQ(recorder.record.hands.size(), 1u);
    EXPECT_EQ(recorder.record.hands[0].deal.playerTotal, 2820);
    t.game.setMatchListener(nullptr);
}
