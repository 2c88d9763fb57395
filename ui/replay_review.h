#pragma once
// The review of a recorded hand: the turns where the player chose otherwise than the hint
// would have, judged on what the player could see at that moment (the hint deals the cards the
// player could not see anew), not on the open hands of the replay.
//
// Use:
//     for (const ReviewNote& note : reviewHand(record.hands[0]))
//         show(note.move, note.played + " " + note.hinted);

#include "match_record.h"

#include <string>
#include <vector>

namespace velnora::ui {

struct ReviewNote {
    // The table the choice was made on: the hand's first `move` moves made.
    int move = 0;
    // What the player did, and what the hint said then.
    std::string played;
    std::string hinted;
};

// Two choices of each of the player's turns are judged: drawing or taking the pile, and what
// was melded and discarded once the cards were in the hand. A hand the table cannot replay
// gives the notes up to the move it refuses.
std::vector<ReviewNote> reviewHand(const net::RecordedHand& hand);

} // namespace velnora::ui
