#include "statistics.h"

#include "utf8_text.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace velnora {

namespace {

constexpr const char* kLevelNames[kHighscoreLevels] = {"Beginner", "Advanced", "Expert",
                                                       "NetworkGame"};
constexpr const char* kPlayerNamesKey = "Player Names";

std::string cut(const std::string& text) {
    return firstCharacters(text, kMaxHighscoreText);
}

// A count of a stored player entry: digits with optional blanks around them. Anything else,
// a negative number included, does not parse: a negative count would make the ratio divide
// by a sum of zero.
bool parseCount(std::string_view text, int& value) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int parsed = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || parsed < 0)
        return false;
    value = parsed;
    return true;
}

std::string playerName(int n) {
    return std::string(kPlayerNamesKey) + "\\PlayerName" + std::to_string(n);
}

std::string historyName(int i) {
    return "MatchHistory\\Match" + std::to_string(i);
}

// Beside each line, under a name of its own: the line itself keeps the form every copy reads.
std::string historyRecordName(int i) {
    return "MatchHistory\\Record" + std::to_string(i);
}

std::string localTime(const char* format) {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    char text[64];
    return std::strftime(text, sizeof text, format, &local) ? text : "";
}

} // namespace

// Highscore tables

HighscoreTable& Highscores::table(int kind, int level) {
    return sets[std::size_t(std::clamp(kind, 0, 1))]
               [std::size_t(std::clamp(level, 0, kHighscoreLevels - 1))];
}

const HighscoreTable& Highscores::table(int kind, int level) const {
    return const_cast<Highscores*>(this)->table(kind, level);
}

const char* highscoreLevelName(int level) {
    return kLevelNames[std::clamp(level, 0, kHighscoreLevels - 1)];
}

std::string highscoreKey(int kind, int level) {
    return std::string(highscoreLevelName(level)) + (kind == kMatchHighscore ? "Match" : "");
}

Highscores LoadHighscores(Settings& settings) {
    Highscores h;
    for (int level = 0; level < kHighscoreLevels; ++level)
        for (int kind : {kHandHighscore, kMatchHighscore}) {
            const std::string key = highscoreKey(kind, level);
            HighscoreTable& t = h.table(kind, level);
            for (int n = 1; n <= kHighscoreRanks; ++n) {
                const std::string i = std::to_string(n);
                HighscoreEntry& e = t[std::size_t(n - 1)];
                // A negative margin cannot be won; a damaged value counts as an empty line.
                e.score = std::max(0, settings.readInt(key + "\\Score" + i, 0));
                e.name = cut(settings.readString(key + "\\Name" + i, ""));
                e.date = cut(settings.readString(key + "\\Date" + i, ""));
            }
        }
    return h;
}

void saveHighscoreTable(Settings& settings, const HighscoreTable& table, int kind, int level) {
    const std::string key = highscoreKey(kind, level);
    for (int n = 1; n <= kHighscoreRanks; ++n) {
        const std::string i = std::to_string(n);
        const HighscoreEntry& e = table[std::size_t(n - 1)];
        settings.writeInt(key + "\\Score" + i, e.score);
        settings.writeString(key + "\\Name" + i, e.name);
        settings.writeString(key + "\\Date" + i, e.date);
    }
}

void clearHighscoreTable(Settings& settings, HighscoreTable& table, int kind, int level) {
    table = HighscoreTable{};
    settings.deleteKey(highscoreKey(kind, level));
}

int highscoreRank(const HighscoreTable& table, std::int32_t score) {
    if (table[kHighscoreRanks - 1].score >= score) return -1;
    int rank = kHighscoreRanks - 1;
    while (rank > 0 && table[std::size_t(rank - 1)].score < score)
        --rank;
    return rank;
}

void enterHighscore(HighscoreTable& table, int rank, HighscoreEntry entry) {
    if (rank < 0 || rank >= kHighscoreRanks) return;
    for (int i = kHighscoreRanks - 1; i > rank; --i)
        table[std::size_t(i)] = std::move(table[std::size_t(i - 1)]);
    table[std::size_t(rank)] = std::move(entry);
}

// Players

PlayerRecord parsePlayerEntry(std::string_view value) {
    PlayerRecord r;
    const std::size_t comma = value.find(',');
    r.name = std::string(value.substr(0, comma));
    if (comma == std::string_view::npos) return r;
    const std::string_view rest = value.substr(comma + 1);
    const std::size_t next = rest.find(',');
    if (!parseCount(rest.substr(0, next), r.wins)) return r;
    if (next != std::string_view::npos) parseCount(rest.substr(next + 1), r.losses);
    return r;
}

std::string playerEntryText(const PlayerRecord& record) {
    return record.name + "," + std::to_string(record.wins) + "," + std::to_string(record.losses);
}

std::vector<PlayerRecord> loadPlayerList(Settings& settings) {
    std::vector<PlayerRecord> players;
    for (int n = 1;; ++n) {
        const std::string value = settings.readString(playerName(n), "");
        if (value.empty()) break;
        players.push_back(parsePlayerEntry(value));
    }
    return players;
}

void savePlayerList(Settings& settings, const std::vector<PlayerRecord>& players,
                    int currentPlayer) {
    int n = 1;
    const bool hasCurrent = currentPlayer >= 0 && currentPlayer < int(players.size());
    if (hasCurrent)
        settings.writeString(playerName(n++), playerEntryText(players[std::size_t(currentPlayer)]));
    for (int i = 0; i < int(players.size()); ++i)
        if (!hasCurrent || i != currentPlayer)
            settings.writeString(playerName(n++), playerEntryText(players[std::size_t(i)]));
}

void rewritePlayerList(Settings& settings, const std::vector<PlayerRecord>& players,
                       int currentPlayer) {
    settings.deleteKey(kPlayerNamesKey);
    savePlayerList(settings, players, currentPlayer);
}

void countMatchResult(PlayerRecord& record, bool won) {
    if (won)
        ++record.wins;
    else
        ++record.losses;
}

std::string winRatioText(int wins, int losses) {
    const long long played = (long long)std::max(0, wins) + std::max(0, losses);
    if (played == 0) return "?";
    const long long scaled = (long long)std::max(0, wins) * 100;
    long long ratio = scaled / played;
    const long long twiceRest = 2 * (scaled % played);
    if (twiceRest > played || (twiceRest == played && ratio % 2 != 0)) ++ratio;
    return std::to_string(ratio);
}

// Match history

std::string matchHistoryLine(const std::string& when, const std::string& playerName,
                             const std::string& opponentName, int playerTotal, int opponentTotal) {
    const std::string winner = opponentTotal < playerTotal ? playerName : opponentName;
    return when + ": " + playerName + " - " + opponentName + ": " + std::to_string(playerTotal) +
           " - " + std::to_string(opponentTotal) + ", winner: " + winner;
}

void addMatchHistoryLine(Settings& settings, const std::string& line,
                         const std::string& recordFile) {
    for (int i = kMatchHistoryLines - 2; i >= 0; --i) {
        settings.writeString(historyName(i + 1), settings.readString(historyName(i), ""));
        settings.writeString(historyRecordName(i + 1),
                             settings.readString(historyRecordName(i), ""));
    }
    settings.writeString(historyName(0), line);
    settings.writeString(historyRecordName(0), recordFile);
}

std::vector<std::string> loadMatchHistoryRecords(Settings& settings) {
    std::vector<std::string> files;
    files.reserve(kMatchHistoryLines);
    for (int i = 0; i < kMatchHistoryLines; ++i)
        files.push_back(settings.readString(historyRecordName(i), ""));
    return files;
}

std::vector<std::string> loadMatchHistory(Settings& settings) {
    std::vector<std::string> lines;
    lines.reserve(kMatchHistoryLines);
    for (int i = 0; i < kMatchHistoryLines; ++i)
        lines.push_back(settings.readString(historyName(i), ""));
    return lines;
}

namespace {
constexpr const char* kLastHighscoreName = "Settings\\Last Highscore Name";
} // namespace

// Recording

std::string StatisticsRecorder::playerDisplayName(const MatchContext& context) const {
    if (nameAsked_) return typedName_;
    return context.playerName.empty() ? "Player" : context.playerName;
}

int StatisticsRecorder::recordHighscore(int kind, int margin, const MatchContext& context) {
    if (kind == kHandHighscore) {
        nameAsked_ = false;
        typedName_.clear();
    }
    if (!context.networkGame && margin <= 0) return -1;
    const int level = context.networkGame ? kNetworkLevel : std::clamp(context.computerLevel, 0, 2);
    const std::int32_t score =
        static_cast<std::int32_t>(std::min<long long>(std::llabs(margin), INT32_MAX));
    HighscoreTable& table = highscores_.table(kind, level);
    const int rank = highscoreRank(table, score);
    if (rank < 0) return -1;

    HighscoreEntry entry;
    entry.score = score;
    entry.date = cut(hooks_.today ? hooks_.today() : localTime("%x"));
    if (margin < 1) {
        // Only a network game gets here: the remote player won the hand or the match.
        entry.name = context.opponentName;
    } else {
        if (context.showHighscores) {
            if (hooks_.playHighscoreSound) hooks_.playHighscoreSound();
            if (!nameAsked_ && hooks_.askName) {
                // The name typed the last time is offered again: most tables have one player.
                const std::string last = settings_.readString(kLastHighscoreName, "");
                const std::string preset = last.empty() ? playerDisplayName(context) : last;
                std::string typed = hooks_.askName(kind, preset);
                // An emptied box keeps the preset: a nameless line would read as an empty one.
                typedName_ = typed.empty() ? preset : typed;
                nameAsked_ = true;
                settings_.writeString(kLastHighscoreName, cut(typedName_));
            }
        }
        entry.name = playerDisplayName(context);
    }
    entry.name = cut(entry.name);
    enterHighscore(table, rank, entry);
    // Stored before the window opens, so a "Clear" pressed there is not undone by this write.
    saveHighscoreTable(settings_, table, kind, level);
    if (context.showHighscores && hooks_.showTable) hooks_.showTable(kind, level, rank);
    return rank;
}

void StatisticsRecorder::recordMatchHistory(int playerTotal, int opponentTotal,
                                            const MatchContext& context) {
    const std::string when = hooks_.now ? hooks_.now() : localTime("%x %X");
    addMatchHistoryLine(settings_,
                        matchHistoryLine(when, playerDisplayName(context), context.opponentName,
                                         playerTotal, opponentTotal),
                        context.recordFile);
}

} // namespace velnora
