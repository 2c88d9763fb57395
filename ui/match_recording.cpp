#include "match_recording.h"

#include "game_files.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <system_error>
#include <vector>

namespace velnora::ui {

namespace {
constexpr const char* kExtension = ".vrec";

std::string timeStamp() {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}
} // namespace

MatchRecording::MatchRecording(Game& game, std::filesystem::path folder,
                               std::function<void(net::MatchRecord&)> describe)
    : game_(game), folder_(std::move(folder)), describe_(std::move(describe)) {
    recorder_.onHandScored = [this](const net::MatchRecord& record) { write(record); };
    recorder_.onMatchStarted = [this](const net::MatchRecord&) { file_.clear(); };
    game_.setMatchListener(&scores_);
}

MatchRecording::~MatchRecording() {
    game_.setMatchListener(nullptr);
}

void MatchRecording::write(const net::MatchRecord& record) {
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    if (file_.empty()) {
        // Named by the time the match's first hand ended; a second match in the same second
        // gets a number.
        const std::string stamp = "match-" + timeStamp();
        file_ = stamp + kExtension;
        for (int n = 2; std::filesystem::exists(folder_ / file_, error); ++n)
            file_ = stamp + "-" + std::to_string(n) + kExtension;
        pruneOldRecords();
    }
    net::MatchRecord described = record;
    described.rules = record.hands.empty() ? game_.rules : record.hands.front().deal.rules;
    if (describe_) describe_(described);
    // A failed write loses this record only; the game goes on.
    writeFileAtomically(folder_ / file_, net::formatRecord(described));
}

void MatchRecording::pruneOldRecords() {
    std::error_code error;
    std::vector<std::filesystem::path> records;
    for (const auto& entry : std::filesystem::directory_iterator(folder_, error))
        if (entry.path().extension() == kExtension && entry.path().filename() != file_)
            records.push_back(entry.path());
    // The names sort by the time they were made; the new file is the hundredth.
    std::sort(records.begin(), records.end());
    const std::size_t keep = kKeptRecords - 1;
    for (std::size_t i = 0; i + keep < records.size(); ++i)
        std::filesystem::remove(records[i], error);
}

} // namespace velnora::ui
