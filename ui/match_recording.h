#pragma once
// Every match of this table kept whole: a match record written into the data folder each time
// a hand is scored, one file per match, the last hundred kept.

#include "match_record.h"
#include "match_scores.h"

#include <filesystem>
#include <functional>
#include <string>

namespace velnora::ui {

class MatchRecording {
public:
    static constexpr int kKeptRecords = 100;

    // describe fills in the names and the level of the match being recorded.
    MatchRecording(Game& game, std::filesystem::path folder,
                   std::function<void(net::MatchRecord&)> describe);
    ~MatchRecording();
    MatchRecording(const MatchRecording&) = delete;
    MatchRecording& operator=(const MatchRecording&) = delete;

    // The file name (in the folder) of the match being recorded; empty before its first deal.
    const std::string& currentFile() const { return file_; }
    const std::filesystem::path& folder() const { return folder_; }
    // The scores of the match's hands, for the score sheet.
    const MatchScores& scores() const { return scores_; }

private:
    Game& game_;
    std::filesystem::path folder_;
    std::function<void(net::MatchRecord&)> describe_;
    net::MatchRecorder recorder_;
    MatchScores scores_{game_, recorder_};
    std::string file_;

    void write(const net::MatchRecord& record);
    void pruneOldRecords();
};

} // namespace velnora::ui
