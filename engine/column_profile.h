#pragma once
// A pile laid out in rank columns, read column by column. The rules, the table check and the
// computer ask for the same columns of the same melds many times between two moves, so the
// profiles of the last few piles are kept until those piles change.

#include "layout.h"
#include "pile.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace velnora {

struct ColumnProfile {
    std::array<int, kColumns> cards{};    // cards in each column
    std::array<int, kColumns> naturals{}; // of them, naturals (neither joker nor two)
    std::array<int, kColumns> points{};   // their points
    std::array<int, kColumns> ranks{};    // the pile's cards by their own rank, in any column
    int totalPoints = 0;
    int realMeldPoints = 0; // points of the columns of three cards or more

    bool operator==(const ColumnProfile&) const = default;
};

namespace column_detail {
// A pile's version and count name its cards, whichever pile it is, so the kept profiles are
// found by version alone; the layout decides the columns.
struct KeptProfile {
    std::uint64_t version = 0;
    int count = -1;
    int tableLeft = 0;
    int columnPitch = -1;
    ColumnProfile profile;
};
// With eight places a third of the recounts were of a profile pushed out by another pile's;
// 32 places (8 KB) leave few.
constexpr std::size_t kKept = 32;
// Whether the kept profile is that of the pile at this version and count, under this layout.
inline bool holds(const KeptProfile& k, std::uint64_t version, int count, const Layout& layout) {
    return k.version == version && k.count == count && k.tableLeft == layout.tableLeft &&
           k.columnPitch == layout.columnPitch;
}
extern thread_local constinit std::array<KeptProfile, kKept> kept;
// Counts the pile into its place.
const ColumnProfile& take(KeptProfile& k, const Pile& pile, const Layout& layout);
// Debug builds (the sanitizer tests) prove that every change gave the pile a new version.
void verify(const KeptProfile& k, const Pile& pile, const Layout& layout);
} // namespace column_detail

// The profile of the pile as it lies under the layout. The reference holds until the next call
// on this thread: read what is needed from it before asking again.
inline const ColumnProfile& columnProfile(const Pile& pile, const Layout& layout) {
    // Consecutive versions of one pile, and the piles of one table, spread over the places.
    column_detail::KeptProfile& k = column_detail::kept[pile.version() % column_detail::kKept];
    if (column_detail::holds(k, pile.version(), pile.count, layout)) [[likely]] {
#ifndef NDEBUG
        column_detail::verify(k, pile, layout);
#endif
        return k.profile;
    }
    return column_detail::take(k, pile, layout);
}

} // namespace velnora
