#pragma once
// The statistics kept between runs: top-ten tables of winning margins per hand and per match
// for each computer level and for network games, the known players with their wins and losses,
// and the history of the last hundred matches. Everything goes through the Settings interface,
// so tests run on an in-memory tree.

#include "settings.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velnora {

inline constexpr int kHighscoreRanks = 10;
// Beginner, Advanced, Expert and network games, indexed like the computer level.
inline constexpr int kHighscoreLevels = 4;
inline constexpr int kNetworkLevel = 3;
// Table kinds.
inline constexpr int kHandHighscore = 0;
inline constexpr int kMatchHighscore = 1;
inline constexpr int kMatchHistoryLines = 100;
// Names and dates longer than this many characters are cut; the stored tables never held more.
inline constexpr std::size_t kMaxHighscoreText = 255;

// Highscore tables

// One line of a table; a score of 0 marks an empty line.
struct HighscoreEntry {
    std::int32_t score = 0;
    std::string date;
    std::string name;
    bool operator==(const HighscoreEntry&) const = default;
};
using HighscoreTable = std::array<HighscoreEntry, kHighscoreRanks>;

// Both table sets (hand and match), each with one table per level.
struct Highscores {
    std::array<std::array<HighscoreTable, kHighscoreLevels>, 2> sets{};

    // The table of a kind and level; out-of-range numbers are clamped to the nearest table.
    HighscoreTable& table(int kind, int level);
    const HighscoreTable& table(int kind, int level) const;
};

// "Beginner", "Advanced", "Expert" or "NetworkGame".
const char* highscoreLevelName(int level);
// The key a table lives under: the level name for hands, the level name + "Match" for matches.
std::string highscoreKey(int kind, int level);

// Reads all 2 x 4 x 10 entries.
Highscores LoadHighscores(Settings& settings);
// Writes the score, name and date of ranks 1 to 10 of one table.
void saveHighscoreTable(Settings& settings, const HighscoreTable& table, int kind, int level);
// Empties one table and deletes its key.
void clearHighscoreTable(Settings& settings, HighscoreTable& table, int kind, int level);

// The rank index (0 = rank 1) a score would take, or -1 when it does not beat the tenth entry.
// Equal scores keep the older entry above the new one.
int highscoreRank(const HighscoreTable& table, std::int32_t score);
// Puts entry at the rank index; the entries below move down one place and the tenth drops out.
void enterHighscore(HighscoreTable& table, int rank, HighscoreEntry entry);

// Players and their wins and losses

// One known human player with the counts of matches won and lost.
struct PlayerRecord {
    std::string name;
    int wins = 0;
    int losses = 0;
    bool operator==(const PlayerRecord&) const = default;
};

// Splits a stored "name,wins,losses" entry; a count that does not parse (or is negative) is 0,
// and when the first does not parse the second is not read.
PlayerRecord parsePlayerEntry(std::string_view value);
// The stored form "name,wins,losses".
std::string playerEntryText(const PlayerRecord& record);

// Reads "Player Names\PlayerName" + 1, 2, ... up to the first empty value.
std::vector<PlayerRecord> loadPlayerList(Settings& settings);
// Writes the current player (when there is one) as number 1, then the others in list order;
// an empty list writes nothing.
void savePlayerList(Settings& settings, const std::vector<PlayerRecord>& players,
                    int currentPlayer);
// Deletes the stored list first, for callers that removed players or reset a record: a shorter
// list must not leave old entries behind it.
void rewritePlayerList(Settings& settings, const std::vector<PlayerRecord>& players,
                       int currentPlayer);

// Adds a won or lost match to the record (a tie is counted by neither, so it never gets here).
void countMatchResult(PlayerRecord& record, bool won);
// wins x 100 / (wins + losses), rounded to the nearest integer with halves to the even
// neighbour; "?" before the first finished match.
std::string winRatioText(int wins, int losses);

// Match history

// The history line "date: player - opponent: 1234 - 567, winner: name".
std::string matchHistoryLine(const std::string& when, const std::string& playerName,
                             const std::string& opponentName, int playerTotal, int opponentTotal);
// Moves every line one down (the hundredth is lost) and writes line as the newest.
void addMatchHistoryLine(Settings& settings, const std::string& line,
                         const std::string& recordFile = {});
// All 100 lines, newest first, empty ones included.
std::vector<std::string> loadMatchHistory(Settings& settings);
// The record file name of each history line, in the same order ("" where none was kept).
std::vector<std::string> loadMatchHistoryRecords(Settings& settings);

// Recording at the end of a hand and a match

// What the recorder needs to know about the game being played.
struct MatchContext {
    bool networkGame = false;
    int computerLevel = 0;
    std::string playerName; // the selected player, empty when none
    std::string opponentName;
    bool showHighscores = true;
    // The file name of the match's record, kept beside its history line; empty when none.
    std::string recordFile;
};

// What the recorder asks of the window.
struct StatisticsHooks {
    // Asks for the name of a new entry; returns the preset on Cancel.
    std::function<std::string(int kind, const std::string& preset)> askName;
    std::function<void()> playHighscoreSound;
    // Shows a table with the line at rank index marked as the new entry.
    std::function<void(int kind, int level, int rank)> showTable;
    // Today's date and the current date and time, in the short formats of the locale.
    std::function<std::string()> today;
    std::function<std::string()> now;
};

// Enters winning margins into the tables and lines into the match history. A hand's margin is
// always recorded first at the end of a hand, so that call also starts the end of hand during
// which the name is asked at most once.
class StatisticsRecorder {
public:
    StatisticsRecorder(Settings& settings, Highscores& highscores, StatisticsHooks hooks)
        : settings_(settings), highscores_(highscores), hooks_(std::move(hooks)) {}

    // Enters a margin (player minus opponent) into the hand or match table of the level (the
    // network table in a network game). Returns the rank index entered, or -1.
    int recordHighscore(int kind, int margin, const MatchContext& context);
    // Writes the history line of a finished match.
    void recordMatchHistory(int playerTotal, int opponentTotal, const MatchContext& context);

    // The player's name in tables and history: the name typed during this end of hand, else
    // the selected player, else "Player".
    std::string playerDisplayName(const MatchContext& context) const;

private:
    Settings& settings_;
    Highscores& highscores_;
    StatisticsHooks hooks_;
    bool nameAsked_ = false;
    std::string typedName_;
};

} // namespace velnora
