#include "game.h"
#include "recording_host.h"
#include "table_setup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace velnora;
using namespace velnora::test;

namespace {

// A recorder that also lets a test look at the table while a dialog is open.
class DialogHost : public RecordingHost {
public:
    std::function<void()> duringScoring, duringDetails, duringGameOver;

    bool showScoring(const HandReport& report) override {
        if (duringScoring) duringScoring();
        return RecordingHost::showScoring(report);
    }
    void showDetails(const HandReport& report) override {
        if (duringDetails) duringDetails();
        RecordingHost::showDetails(report);
    }
    int showGameOver(const MatchReport& report) override {
        if (duringGameOver) duringGameOver();
        return RecordingHost::showGameOver(report);
    }
};

// One game on a hand-built table, with the recorder and its own settings.
struct Table {
    DialogHost host;
    MemorySettings settings;
    Random rng{2026};
    Game game{host, settings, rng};
    TableBuilder t;

    Table() { game.options.showTurns = false; }

    void network(bool server = false) {
        game.options.networkGame = true;
        game.options.remoteName = "Bob";
        game.options.isServer = server;
    }

    // Hands the built table to the game, in the middle of the player's turn.
    void useTable(int playerTotal, int opponentTotal) {
        t.g.playerTotal = playerTotal;
        t.g.opponentTotal = opponentTotal;
        t.g.playerStartsHand = 1;
        t.g.promptState = kPromptMeldOrDiscard;
        game.layout = t.layout;
        game.state = t.g;
    }

    // The player went out with a natural velnora after melding before: 130 + 500 + 100 = 730.
    // The opponent keeps three queens and a joker and a nine in hand: 30 - 60 = -30.
    void playerWentOut(int playerTotal = 0, int opponentTotal = 0) {
        t.meldRun(Seat::player, kKing, 7);
        t.meldRun(Seat::player, kAce, 3);
        t.g.playerMeldPointsAtTurnStart = 130;
        t.meldRun(Seat::opponent, kQueen, 3);
        t.opponentHandCards({kJokerFace, face(kNine)});
        useTable(playerTotal, opponentTotal);
    }

    // The stock ran out and "End Hand" was pressed: the player scores 30 - 10 = 20, the
    // opponent three aces (50) or three queens (20) less an eight in hand.
    void endHandPressed(int playerTotal, int opponentTotal, int opponentMeldRank = kAce) {
        t.meldRun(Seat::player, kKing, 3);
        t.playerHandCards({face(kFive), face(kFive, kHearts)});
        t.meldRun(Seat::opponent, opponentMeldRank, 3);
        t.opponentHandCards({face(kEight)});
        t.g.stockExhausted = 1;
        t.g.endHandRequested = 1;
        useTable(playerTotal, opponentTotal);
    }

    int soundCount(SoundEvent e) const {
        return static_cast<int>(std::count(host.sounds.begin(), host.sounds.end(), e));
    }
    bool dealt() const { return soundCount(SoundEvent::deal) > 0; }
    bool sentNewGame() const { return host.movesOf(MoveKind::newGame) > 0; }
};

class EndOfHand : public ::testing::Test, protected Table {};

} // namespace

TEST_F(EndOfHand, HandGoesOnWhileNobodyHasGoneOut) {
    t.meldRun(Seat::player, kKing, 3);
    t.playerHandCards({face(kFive)});
    t.meldRun(Seat::opponent, kQueen, 7);
    t.opponentHandCards({face(kNine)});
    useTable(0, 0);
    EXPECT_FALSE(game.checkEndOfHand());

    // An empty hand without the velnoras is not going out.
    game.state.playerHand.count = 0;
    EXPECT_FALSE(game.checkEndOfHand());

    // An exhausted stock alone does not end the hand; "End Hand" must be pressed as well.
    game.state.stockExhausted = 1;
    EXPECT_FALSE(game.checkEndOfHand());

    EXPECT_TRUE(host.scorings.empty());
    EXPECT_EQ(game.state.promptState, kPromptMeldOrDiscard);
    EXPECT_FALSE(game.endOfHandRunning());
}

TEST_F(EndOfHand, PlayerGoingOutScoresBothSeatsAndDealsTheNextHand) {
    playerWentOut(1000, 2000);
    EXPECT_TRUE(game.checkEndOfHand());

    ASSERT_EQ(host.scorings.size(), 1u);
    const HandReport& report = host.scorings[0];
    EXPECT_EQ(report.player.total(), 730);
    EXPECT_EQ(report.player.v[9], 100);
    EXPECT_EQ(report.opponent.total(), -30);
    EXPECT_EQ(report.playerName, "Player");
    EXPECT_EQ(report.opponentName, "Computer");
    EXPECT_FALSE(report.networkGame);
    EXPECT_EQ(game.lastHandReport.player, report.player);
    EXPECT_EQ(game.lastHandReport.opponent, report.opponent);
    EXPECT_TRUE(host.details.empty());

    EXPECT_EQ(game.state.playerTotal, 1730);
    EXPECT_EQ(game.state.opponentTotal, 1970);
    EXPECT_EQ(host.highscores, (std::vector<std::pair<int, int>>{{0, 760}}));
    EXPECT_TRUE(host.gameOvers.empty());
    EXPECT_EQ(soundCount(SoundEvent::winHand), 1);
    EXPECT_EQ(soundCount(SoundEvent::loseHand), 0);
    ASSERT_TRUE(host.statuses.size() >= 1);
    EXPECT_NE(std::find_if(host.statuses.begin(), host.statuses.end(),
                           [](const auto& s) {
                               return s.text == "Please wait for the next hand to be dealt";
                           }),
              host.statuses.end());

    // The next hand is on the table, with the minimum of the new total.
    EXPECT_TRUE(dealt());
    EXPECT_EQ(game.state.initialMeldMinimum, 90);
    EXPECT_EQ(game.state.promptState, kPromptDraw);
    EXPECT_TRUE(game.isConsistent());
    EXPECT_FALSE(game.endOfHandRunning());
    EXPECT_FALSE(host.closed);
}

TEST_F(EndOfHand, OpponentGoingOutConcealedGetsTheLargerBonus) {
    t.meldRun(Seat::opponent, kJack, 7);
    t.g.opponentMeldPointsAtTurnStart = 0;
    t.meldRun(Seat::player, kAce, 3);
    t.playerHandCards({face(kNine)});
    useTable(0, 0);
    EXPECT_TRUE(game.checkEndOfHand());
    EXPECT_EQ(game.lastHandReport.opponent.v[9], 200);
    EXPECT_EQ(game.lastHandReport.player.v[9], 0);
    EXPECT_EQ(game.state.opponentTotal, 70 + 500 + 200);
    EXPECT_EQ(soundCount(SoundEvent::loseHand), 1);
}

TEST_F(EndOfHand, EmptyHandWithoutTheVelnorasEarnsNoFinishBonus) {
    game.rules.velnorasToGoOut = 2;
    t.meldRun(Seat::player, kKing, 7); // one of the two velnoras, nothing left in hand
    t.meldRun(Seat::opponent, kAce, 3);
    t.opponentHandCards({face(kEight)});
    t.g.stockExhausted = 1;
    t.g.endHandRequested = 1;
    useTable(0, 0);
    EXPECT_TRUE(game.checkEndOfHand());
    EXPECT_EQ(game.lastHandReport.player.v[9], 0);
    EXPECT_EQ(game.lastHandReport.player.total(), 70 + 500);
}

TEST_F(EndOfHand, ReachingFiveThousandEndsTheMatchWithTheVerdict) {
    game.options.playerName = "Ann";
    endHandPressed(4990, 300);
    EXPECT_TRUE(game.checkEndOfHand());

    EXPECT_EQ(game.lastHandReport.player.total(), 20);
    EXPECT_EQ(game.lastHandReport.opponent.total(), 50);
    EXPECT_EQ(game.lastHandReport.player.v[9], 0);
    EXPECT_EQ(game.lastHandReport.playerName, "Ann");
    ASSERT_EQ(host.gameOvers.size(), 1u);
    const MatchReport& match = host.gameOvers[0];
    EXPECT_EQ(match.verdict, "Congratulations Ann! You crushed the computer.");
    EXPECT_EQ(match.playerTotal, 5010);
    EXPECT_EQ(match.opponentTotal, 350);
    EXPECT_EQ(match.matchDiff, 4660);
    EXPECT_EQ(match.opponentName, "Computer");
    EXPECT_EQ(game.lastMatchReport.verdict, match.verdict);

    EXPECT_EQ(host.highscores, (std::vector<std::pair<int, int>>{{0, -30}, {1, 4660}}));
    EXPECT_EQ(host.matchHistory, (std::vector<std::pair<int, int>>{{5010, 350}}));
    EXPECT_EQ(host.winLoss, std::vector<bool>{true});
    EXPECT_EQ(host.playerListSaves, 1);
    EXPECT_EQ(soundCount(SoundEvent::loseHand), 1);
    EXPECT_EQ(soundCount(SoundEvent::winMatch), 1);

    // "No" to another game closes the program; nothing is dealt.
    EXPECT_TRUE(host.closed);
    EXPECT_FALSE(dealt());
    EXPECT_FALSE(game.endOfHandRunning());
}

TEST_F(EndOfHand, ExactlyFiveThousandEndsTheMatchAndYesStartsAnother) {
    host.gameOverResults = {kResultYes};
    endHandPressed(4980, 300);
    game.state.gameInProgress = 1;
    EXPECT_TRUE(game.checkEndOfHand());
    ASSERT_EQ(host.gameOvers.size(), 1u);
    EXPECT_EQ(host.gameOvers[0].playerTotal, 5000);
    EXPECT_EQ(host.gameOvers[0].verdict, "Congratulations Player! You crushed the computer.");
    // Without a selected player no win is counted.
    EXPECT_TRUE(host.winLoss.empty());
    EXPECT_FALSE(host.closed);
    EXPECT_EQ(game.state.playerTotal, 0);
    EXPECT_EQ(game.state.opponentTotal, 0);
    EXPECT_EQ(game.state.gameInProgress, 0);
    EXPECT_TRUE(dealt());
    EXPECT_EQ(game.state.initialMeldMinimum, 50);
}

TEST_F(EndOfHand, JustBelowFiveThousandTheMatchGoesOn) {
    endHandPressed(4979, 4949);
    EXPECT_TRUE(game.checkEndOfHand());
    EXPECT_EQ(game.state.playerTotal, 4999);
    EXPECT_EQ(game.state.opponentTotal, 4999);
    EXPECT_TRUE(host.gameOvers.empty());
    EXPECT_TRUE(dealt());
}

TEST_F(EndOfHand, LostAndDrawnMatches) {
    game.options.playerName = "Ann";
    endHandPressed(300, 4990);
    EXPECT_TRUE(game.checkEndOfHand());
    ASSERT_EQ(host.gameOvers.size(), 1u);
    EXPECT_EQ(host.gameOvers[0].verdict, "Too bad, Ann, the computer crushed you.");
    EXPECT_EQ(host.winLoss, std::vector<bool>{false});
    EXPECT_EQ(soundCount(SoundEvent::loseMatch), 1);

    Table draw;
    draw.game.options.playerName = "Ann";
    draw.endHandPressed(4980, 4980, kQueen); // 20 : 20
    EXPECT_TRUE(draw.game.checkEndOfHand());
    ASSERT_EQ(draw.host.gameOvers.size(), 1u);
    EXPECT_EQ(draw.host.gameOvers[0].verdict, "It's a draw!");
    EXPECT_EQ(draw.host.gameOvers[0].matchDiff, 0);
    EXPECT_TRUE(draw.host.winLoss.empty());
    EXPECT_EQ(draw.soundCount(SoundEvent::winMatch) + draw.soundCount(SoundEvent::loseMatch), 0);
    // An equal hand counts as won for the sound.
    EXPECT_EQ(draw.soundCount(SoundEvent::winHand), 1);
}

TEST_F(EndOfHand, RunsOnceAndHoldsItsMarkWhileTheDialogsAreOpen) {
    game.options.playerName = "Ann";
    endHandPressed(4990, 300);
    std::vector<bool> nestedResults, markSeen;
    auto probe = [&] {
        markSeen.push_back(game.endOfHandRunning());
        nestedResults.push_back(game.checkEndOfHand());
    };
    host.duringScoring = probe;
    host.duringGameOver = probe;
    EXPECT_TRUE(game.checkEndOfHand());
    EXPECT_EQ(markSeen, (std::vector<bool>{true, true}));
    EXPECT_EQ(nestedResults, (std::vector<bool>{false, false}));
    EXPECT_EQ(host.scorings.size(), 1u);
    EXPECT_EQ(host.gameOvers.size(), 1u);
    EXPECT_EQ(host.highscores.size(), 2u);
    EXPECT_EQ(game.state.playerTotal, 5010);
    EXPECT_FALSE(game.endOfHandRunning());

    // A hand already closed (waiting for the deal) is not scored again.
    game.state.promptState = kPromptWaitForDeal;
    EXPECT_FALSE(game.checkEndOfHand());
    EXPECT_EQ(host.scorings.size(), 1u);
    EXPECT_FALSE(game.endOfHandRunning());
}

TEST_F(EndOfHand, DetailsShowTheComputersHandWhileOpen) {
    host.scoringDetails = {true};
    endHandPressed(4990, 300); // the match ends and "No" keeps the last table in place
    game.state.opponentHand.places()[0].faceUp = 0;
    bool shownMeanwhile = false;
    int spacingMeanwhile = 0;
    host.duringDetails = [&] {
        shownMeanwhile = game.state.showOpponentCards && game.state.opponentHand.at(0).faceUp;
        spacingMeanwhile = game.state.opponentCardSpacing;
    };
    EXPECT_TRUE(game.checkEndOfHand());
    ASSERT_EQ(host.details.size(), 1u);
    EXPECT_EQ(host.details[0].player, host.scorings[0].player);
    EXPECT_EQ(host.details[0].opponent, host.scorings[0].opponent);
    EXPECT_TRUE(shownMeanwhile);
    EXPECT_EQ(spacingMeanwhile, 12);
    EXPECT_EQ(game.state.showOpponentCards, 0);
    EXPECT_EQ(game.state.opponentCardSpacing, 10);
    EXPECT_EQ(game.state.opponentHand.at(0).faceUp, 0);
}

TEST_F(EndOfHand, DetailsLeaveAnOpenHandOpenAndANetworkHandHidden) {
    host.scoringDetails = {true};
    endHandPressed(4990, 300);
    game.state.showOpponentCards = 1;
    game.state.opponentCardSpacing = 12;
    game.state.opponentHand.places()[0].faceUp = 1;
    int spacingMeanwhile = 0;
    host.duringDetails = [&] { spacingMeanwhile = game.state.opponentCardSpacing; };
    EXPECT_TRUE(game.checkEndOfHand());
    EXPECT_EQ(spacingMeanwhile, 12);
    EXPECT_EQ(game.state.showOpponentCards, 1);
    EXPECT_EQ(game.state.opponentHand.at(0).faceUp, 1);

    Table net;
    net.network();
    net.host.scoringDetails = {true};
    net.endHandPressed(0, 0);
    bool revealed = true;
    net.host.duringDetails = [&] { revealed = net.game.state.showOpponentCards != 0; };
    EXPECT_TRUE(net.game.checkEndOfHand());
    ASSERT_EQ(net.host.details.size(), 1u);
    EXPECT_FALSE(revealed);
}

TEST_F(EndOfHand, NetworkGameNamesTheRemotePlayerAndTheHandWinnerDeals) {
    network(true);
    endHandPressed(0, 0); // the player loses the hand 20 : 50
    EXPECT_TRUE(game.checkEndOfHand());
    EXPECT_EQ(host.scorings[0].opponentName, "Bob");
    EXPECT_TRUE(host.scorings[0].networkGame);
    EXPECT_FALSE(dealt()) << "the partner deals";
    EXPECT_EQ(game.state.promptState, kPromptWaitForDeal);

    Table winner;
    winner.network();
    winner.playerWentOut();
    EXPECT_TRUE(winner.game.checkEndOfHand());
    EXPECT_TRUE(winner.dealt());

    for (bool server : {false, true}) {
        Table tied;
        tied.network(server);
        tied.endHandPressed(0, 0, kQueen);
        EXPECT_TRUE(tied.game.checkEndOfHand());
        EXPECT_EQ(tied.dealt(), server) << "server " << server;
    }
}

TEST_F(EndOfHand, NetworkMatchWinnerAnnouncesTheNewMatch) {
    host.gameOverResults = {kResultYes};
    network();
    game.options.playerName = "Ann";
    endHandPressed(300, 4990); // lost by 4660
    EXPECT_TRUE(game.checkEndOfHand());
    ASSERT_EQ(host.gameOvers.size(), 1u);
    EXPECT_EQ(host.gameOvers[0].verdict, "Too bad, Ann, Bob crushed you.");
    EXPECT_TRUE(host.gameOvers[0].networkGame);
    EXPECT_FALSE(sentNewGame());
    EXPECT_EQ(game.state.playerTotal, 0);

    Table winner;
    winner.host.gameOverResults = {kResultYes};
    winner.network();
    winner.playerWentOut(4900, 0);
    EXPECT_TRUE(winner.game.checkEndOfHand());
    EXPECT_TRUE(winner.sentNewGame());
    EXPECT_TRUE(winner.dealt());
}
