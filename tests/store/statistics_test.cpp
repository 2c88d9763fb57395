// Highscore tables, players' wins and losses and the match history.

#include "data_module.h"
#include "statistics.h"
#include "store_settings.h"
#include "temp_store.h"

namespace velnora {
namespace {

// A recorder over an in-memory tree whose window answers are scripted.
struct Recording {
    MemorySettings settings;
    Highscores highscores;
    std::vector<std::string> prompts; // preset of each name prompt
    std::string answer;               // what the player types; empty keeps the preset
    std::vector<std::tuple<int, int, int>> shown;
    int sounds = 0;
    StatisticsRecorder recorder{settings, highscores, hooks()};

    StatisticsHooks hooks() {
        StatisticsHooks h;
        h.askName = [this](int, const std::string& preset) {
            prompts.push_back(preset);
            return answer.empty() ? preset : answer;
        };
        h.playHighscoreSound = [this] { ++sounds; };
        h.showTable = [this](int kind, int level, int rank) {
            shown.emplace_back(kind, level, rank);
        };
        h.today = [] { return std::string("08/12/2026"); };
        h.now = [] { return std::string("08/12/2026 05:10"); };
        return h;
    }
};

MatchContext againstComputer(int level, const std::string& player = "Anna") {
    MatchContext c;
    c.computerLevel = level;
    c.playerName = player;
    c.opponentName = "Computer";
    return c;
}

TEST(Highscores, EqualScoresKeepTheOlderEntryAboveAndTheTenthScoreStaysOut) {
    Recording r;
    const MatchContext c = againstComputer(1);
    EXPECT_EQ(r.recorder.recordHighscore(kHandHighscore, 120, c), 0);
    r.answer = "Second";
    EXPECT_EQ(r.recorder.recordHighscore(kHandHighscore, 120, c), 1);
    const HighscoreTable& t = r.highscores.table(kHandHighscore, 1);
    EXPECT_EQ(t[0], (HighscoreEntry{120, "08/12/2026", "Anna"}));
    EXPECT_EQ(t[1], (HighscoreEntry{120, "08/12/2026", "Second"}));

    // Fill the table to ten lines; a margin equal to the tenth stays out, one more enters.
    for (int s : {500, 400, 300, 250, 200, 180, 150, 130})
        r.recorder.recordHighscore(kHandHighscore, s, c);
    EXPECT_EQ(t[9].score, 120);
    EXPECT_EQ(t[8].score, 120);
    EXPECT_EQ(r.recorder.recordHighscore(kHandHighscore, 120, c), -1);
    EXPECT_EQ(r.recorder.recordHighscore(kHandHighscore, 121, c), 8);
    EXPECT_EQ(t[9].name, "Anna"); // the newer 120 ("Second") dropped out, the older stays
    EXPECT_EQ(t[9].score, 120);

    // Every table change is stored whole: score, name and date of all ten ranks.
    EXPECT_EQ(r.settings.readInt("Advanced\\Score1", 0), 500);
    EXPECT_EQ(r.settings.readString("advanced\\name10", ""), "Anna");
    EXPECT_EQ(r.settings.readInt("Advanced\\Score10", 0), 120);
    EXPECT_EQ(r.settings.readString("Advanced\\Date10", ""), "08/12/2026");
    EXPECT_FALSE(r.settings.contains("Beginner\\Score1"));
}

TEST(Highscores, LostHandsEnterOnlyTheNetworkTableUnderTheOpponentsName) {
    Recording r;
    EXPECT_EQ(r.recorder.recordHighscore(kHandHighscore, -300, againstComputer(2)), -1);
    EXPECT_EQ(r.recorder.recordHighscore(kHandHighscore, 0, againstComputer(2)), -1);
    EXPECT_TRUE(r.shown.empty());

    MatchContext net = againstComputer(0);
    net.networkGame = true;
    net.opponentName = "Remote Rita";
    EXPECT_EQ(r.recorder.recordHighscore(kHandHighscore, -300, net), 0);
    EXPECT_EQ(r.highscores.table(kHandHighscore, kNetworkLevel)[0],
              (HighscoreEntry{300, "08/12/2026", "Remote Rita"}));
    EXPECT_EQ(r.settings.readString("NetworkGame\\Name1", ""), "Remote Rita");
    // No prompt and no fanfare for the opponent's line, but the table is shown.
    EXPECT_TRUE(r.prompts.empty());
    EXPECT_EQ(r.sounds, 0);
    EXPECT_EQ(r.shown,
              (std::vector<std::tuple<int, int, int>>{{kHandHighscore, kNetworkLevel, 0}}));
    // A drawn network hand enters nothing.
    EXPECT_EQ(r.recorder.recordHighscore(kHandHighscore, 0, net), -1);
}

TEST(Highscores, TheNameIsAskedOncePerEndOfHandAndServesTheHistoryLine) {
    Recording r;
    const MatchContext c = againstComputer(0, "");
    r.answer = "Zoe";
    r.recorder.recordHighscore(kHandHighscore, 400, c);
    r.recorder.recordHighscore(kMatchHighscore, 2600, c);
    r.recorder.recordMatchHistory(5100, 2500, c);
    EXPECT_EQ(r.prompts, std::vector<std::string>{"Player"});
    EXPECT_EQ(r.sounds, 2);
    EXPECT_EQ(r.highscores.table(kMatchHighscore, 0)[0].name, "Zoe");
    EXPECT_EQ(r.settings.readString("BeginnerMatch\\Name1", ""), "Zoe");
    EXPECT_EQ(r.settings.readString("MatchHistory\\Match0", ""),
              "08/12/2026 05:10: Zoe - Computer: 5100 - 2500, winner: Zoe");

    // The next end of hand asks again, preset with the name typed last, also after a restart.
    StatisticsRecorder restarted{r.settings, r.highscores, r.hooks()};
    restarted.recordHighscore(kHandHighscore, 300, c);
    EXPECT_EQ(r.prompts.size(), 2u);
    EXPECT_EQ(r.prompts[1], "Zoe");

    // With the tables hidden there is no prompt, no sound and no window.
    MatchContext quiet = againstComputer(0, "Anna");
    quiet.showHighscores = false;
    r.shown.clear();
    r.recorder.recordHighscore(kHandHighscore, 350, quiet);
    EXPECT_EQ(r.prompts.size(), 2u);
    EXPECT_TRUE(r.shown.empty());
    EXPECT_EQ(r.highscores.table(kHandHighscore, 0)[1].name, "Anna");
}

// "é" is two bytes and "€" three in UTF-8: a byte count would cut halfway through one.
std::string repeated(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

TEST(Highscores, LongNamesAndDatesAreCutAtWholeCharacters) {
    Recording r;
    r.answer = repeated("é", 300);
    r.recorder.recordHighscore(kHandHighscore, 100, againstComputer(0));
    EXPECT_EQ(r.highscores.table(kHandHighscore, 0)[0].name, repeated("é", 255));

    r.settings.writeString("Advanced\\Name1", "a" + repeated("€", 300));
    r.settings.writeString("Advanced\\Date1", repeated("é", 200));
    const HighscoreEntry loaded = LoadHighscores(r.settings).table(kHandHighscore, 1)[0];
    EXPECT_EQ(loaded.name, "a" + repeated("€", 254));
    EXPECT_EQ(loaded.date, repeated("é", 200));
}

TEST(Highscores, ClearDeletesTheTablesKeyOnly) {
    Recording r;
    r.recorder.recordHighscore(kHandHighscore, 100, againstComputer(0));
    r.recorder.recordHighscore(kMatchHighscore, 100, againstComputer(0));
    clearHighscoreTable(r.settings, r.highscores.table(kHandHighscore, 0), kHandHighscore, 0);
    EXPECT_EQ(r.highscores.table(kHandHighscore, 0), HighscoreTable{});
    EXPECT_FALSE(r.settings.contains("Beginner\\Score1"));
    EXPECT_EQ(r.settings.readInt("BeginnerMatch\\Score1", 0), 100);
    EXPECT_EQ(LoadHighscores(r.settings).table(kMatchHighscore, 0)[0].score, 100);
}

TEST(WinRatio, RoundsHalvesToEvenAndShowsAQuestionMarkBeforeAnyMatch) {
    EXPECT_EQ(winRatioText(1, 7), "12");  // 12.5
    EXPECT_EQ(winRatioText(3, 5), "38");  // 37.5
    EXPECT_EQ(winRatioText(2, 1), "67");  // 66.67
    EXPECT_EQ(winRatioText(1, 2), "33");  // 33.33
    EXPECT_EQ(winRatioText(5, 0), "100"); //
    EXPECT_EQ(winRatioText(0, 0), "?");
}

TEST(Players, EntriesParseAndTheCurrentPlayerIsStoredFirst) {
    EXPECT_EQ(parsePlayerEntry("Anna,3,1"), (PlayerRecord{"Anna", 3, 1}));
    EXPECT_EQ(parsePlayerEntry("Bob,x,7"), (PlayerRecord{"Bob", 0, 0}));
    EXPECT_EQ(parsePlayerEntry("Cleo,4,zz"), (PlayerRecord{"Cleo", 4, 0}));
    EXPECT_EQ(parsePlayerEntry("Dan"), (PlayerRecord{"Dan", 0, 0}));
    EXPECT_EQ(parsePlayerEntry("Eve,-2,5"), (PlayerRecord{"Eve", 0, 0}));

    MemorySettings s;
    std::vector<PlayerRecord> players = {{"Anna", 3, 1}, {"Bob", 0, 2}, {"Cleo", 1, 1}};
    savePlayerList(s, players, 2);
    EXPECT_EQ(s.readString("Player Names\\PlayerName1", ""), "Cleo,1,1");
    EXPECT_EQ(s.readString("Player Names\\PlayerName2", ""), "Anna,3,1");
    EXPECT_EQ(s.readString("Player Names\\PlayerName3", ""), "Bob,0,2");

    // A shorter list rewritten leaves nothing of the longer one behind.
    players.erase(players.begin());
    rewritePlayerList(s, players, -1);
    EXPECT_EQ(loadPlayerList(s), (std::vector<PlayerRecord>{{"Bob", 0, 2}, {"Cleo", 1, 1}}));

    // An empty list writes nothing at all.
    MemorySettings empty;
    savePlayerList(empty, {}, -1);
    EXPECT_FALSE(empty.contains("Player Names\\PlayerName1"));
}

TEST(MatchHistory, AHundredLinesNewestFirstAndATieNamesTheOpponent) {
    Recording r;
    r.recorder.recordMatchHistory(5000, 5000, againstComputer(0));
    EXPECT_EQ(r.settings.readString("MatchHistory\\Match0", ""),
              "08/12/2026 05:10: Anna - Computer: 5000 - 5000, winner: Computer");

    for (int i = 1; i <= 100; ++i)
        addMatchHistoryLine(r.settings, "match " + std::to_string(i));
    const std::vector<std::string> lines = loadMatchHistory(r.settings);
    ASSERT_EQ(lines.size(), 100u);
    EXPECT_EQ(lines[0], "match 100");
    EXPECT_EQ(lines[99], "match 1"); // the tie, the 101st line back, is gone
    EXPECT_FALSE(r.settings.contains("MatchHistory\\Match100"));
}

// The statistics written by one run are what the next run reads from the store.
class StatisticsStore : public test::TempStore {};

TEST_F(StatisticsStore, ValuesWrittenAreReadBackByAFreshStore) {
    {
        TdmMain dm;
        StoreSettings settings(dm.rfMain);
        Highscores h;
        StatisticsRecorder recorder(settings, h, {});
        MatchContext c = againstComputer(2);
        recorder.recordHighscore(kHandHighscore, 700, c);
        recorder.recordHighscore(kMatchHighscore, 1900, c);
        recorder.recordMatchHistory(5100, 3200, c);
        savePlayerList(settings, {{"Anna", 4, 2}, {"Bob", 0, 1}}, 0);
        rewritePlayerList(settings, {{"Bob", 0, 1}}, 0);
    }
    TdmMain dm;
    StoreSettings settings(dm.rfMain);
    const Highscores h = LoadHighscores(settings);
    EXPECT_EQ(h.table(kHandHighscore, 2)[0].score, 700);
    EXPECT_EQ(h.table(kHandHighscore, 2)[0].name, "Anna");
    EXPECT_FALSE(h.table(kHandHighscore, 2)[0].date.empty());
    EXPECT_EQ(h.table(kMatchHighscore, 2)[0].score, 1900);
    EXPECT_EQ(h.table(kHandHighscore, 0)[0].score, 0);
    EXPECT_EQ(loadPlayerList(settings), (std::vector<PlayerRecord>{{"Bob", 0, 1}}));
    const std::string line = loadMatchHistory(settings)[0];
    EXPECT_NE(line.find(": Anna - Computer: 5100 - 3200, winner: Anna"), std::string::npos) << line;
}

} // namespace
} // namespace velnora
