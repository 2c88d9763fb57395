#pragma once
// The bench's check of match records: each match's record is written as text, read back and
// played into a fresh game, which must end with the very piles, totals and hand scores.

#include "game_state.h"
#include "match_record.h"

#include <string>

namespace velnora::bench {

struct RecordCheck {
    bool replay = false;
    // Records are kept in memory only, never written as text (the cost of recording alone).
    bool memoryOnly = false;
    std::string directory; // where records are written; empty for none
    long records = 0;
    long hands = 0;
    long bytes = 0;
    long mismatches = 0;
    std::string firstMismatch;

    // Checks the record of a match that ended on `played`; name labels the file and reports.
    void check(const net::MatchRecord& record, const GameState& played, const std::string& name);
    void print() const;
};

} // namespace velnora::bench
