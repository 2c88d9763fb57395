#pragma once
// Piles of cards on the table: fixed capacity 108, bounds-checked, with fourteen rank-column
// positions for the piles that are laid out in columns.

#include "card.h"

#include <array>
#include <cstdint>
#include <span>
#include <stdexcept>

namespace velnora {

constexpr int kColumns = 14;
constexpr int kColumnStep = 12; // pixels between two cards of one column

// Raised when an operation would break the card bookkeeping; it cannot happen in correct play.
struct InternalError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct ColumnPos {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const ColumnPos&) const = default;
};

// Cards of each face, by byte counters: a pile holds at most 108 cards.
struct FaceTally {
    std::array<std::uint8_t, 64> faces{};
    std::uint8_t beyond = 0; // cards whose face is past 63 (only in damaged tables)

    void add(std::uint8_t face) {
        if (face < 64)
            ++faces[face];
        else
            ++beyond;
    }
    void remove(std::uint8_t face) {
        if (face < 64)
            --faces[face];
        else
            --beyond;
    }
    bool operator==(const FaceTally&) const = default;
};

namespace pile_detail {
// The first number of a range of versions no other thread draws from.
std::uint64_t threadRange();
// A number no pile has had as its version yet. Each thread draws from its own range, so two
// threads never hand out the same number.
inline std::uint64_t freshVersion() {
    thread_local std::uint64_t next = 0;
    if (next == 0) [[unlikely]]
        next = threadRange();
    return ++next;
}
} // namespace pile_detail

// Cards 0..count-1 are valid and the last one is the top. Reading is free; every way to change a
// card in place goes through an edit function, which gives the pile a new version. Counts taken
// from a pile can then be kept with its version and count and taken again only when either one
// has changed: the table is counted after every move, and most piles are unchanged by a move.
struct Pile {
    int count = 0;
    std::array<ColumnPos, kColumns> columnPos{};

    Pile() = default;
    // A copy takes the valid cards only: tables are copied for every snapshot, undo and
    // what-if, and most piles hold a few cards of their 108 places. It has a version of its own.
    Pile(const Pile& other) { *this = other; }
    Pile& operator=(const Pile& other);

    bool empty() const { return count == 0; }
    // Defined here so that the checked access inlines: it is the most frequent call there is.
    const Card& top() const { return at(count - 1); }
    const Card& at(int i) const {
        if (i < 0 || i >= count) throw InternalError("card index outside the pile");
        return cards_[static_cast<std::size_t>(i)];
    }
    const Card* begin() const { return cards_.data(); }
    const Card* end() const { return cards_.data() + count; }

    // Writable access; a reference taken here must not be written through after the pile's
    // counts were taken again (in practice: not across a move).
    Card& editAt(int i) {
        at(i);
        changedInPlace();
        return cards_[static_cast<std::size_t>(i)];
    }
    Card& editTop() { return editAt(count - 1); }
    // The valid cards, writable.
    std::span<Card> edit() {
        changedInPlace();
        return {cards_.data(), static_cast<std::size_t>(validCount())};
    }
    // All 108 places, for filling a pile before its count is set.
    std::array<Card, kDeckSize>& places() {
        changedInPlace();
        return cards_;
    }
    const std::array<Card, kDeckSize>& places() const { return cards_; }
    // The faces of the valid cards. Cards that come and go through push, pop and the like are
    // tallied as they move; a change in place, or a count set by hand, has them counted again
    // (here, so two threads must not read one pile at once; the program has one).
    const FaceTally& faceTally() const {
        if (tallyCount_ != count) recountFaces();
        return tally_;
    }

    // Differs from every version this pile had before a change and from every other pile's.
    std::uint64_t version() const { return version_; }
    // The version before the last change when that change was a push (the card now on top),
    // else 0: counts kept for that version need only the top card added.
    std::uint64_t versionBeforePush() const { return versionBeforePush_; }

    // Equal piles hold the same valid cards and column positions; what lies beyond count is
    // leftover and does not count, and neither does the version.
    bool operator==(const Pile& other) const;

private:
    void touch() {
        version_ = pile_detail::freshVersion();
        versionBeforePush_ = 0;
    }
    int validCount() const { return count < 0 ? 0 : (count > kDeckSize ? kDeckSize : count); }
    void changedInPlace() {
        touch();
        tallyCount_ = -1;
    }
    void recountFaces() const;
    // A card leaves or enters at the end of the valid cards; the tally follows when it is up
    // to date, else it stays out of date.
    void tallyAdd(std::uint8_t face) {
        if (tallyCount_ == count) {
            tally_.add(face);
            ++tallyCount_;
        } else {
            tallyCount_ = -1;
        }
    }
    void tallyRemove(std::uint8_t face) {
        if (tallyCount_ == count) {
            tally_.remove(face);
            --tallyCount_;
        } else {
            tallyCount_ = -1;
        }
    }

    std::array<Card, kDeckSize> cards_{};
    std::uint64_t version_ = pile_detail::freshVersion();
    std::uint64_t versionBeforePush_ = 0;
    // The tally holds for the first tallyCount_ cards as they were; -1 after a change in place.
    mutable FaceTally tally_{};
    mutable int tallyCount_ = 0;

    friend void push(Pile& pile, const Card& card);
    friend Card pop(Pile& pile);
    friend Card removeAt(Pile& pile, int i);
    friend void clear(Pile& pile);
    friend void swapCards(Pile& a, Pile& b);
};

void push(Pile& pile, const Card& card);
Card pop(Pile& pile);
Card removeAt(Pile& pile, int i);
// Removes the first card with that face; returns whether one was there.
bool removeFace(Pile& pile, int face);
void clear(Pile& pile);
// Exchanges the cards and counts of two piles; their column positions stay.
void swapCards(Pile& a, Pile& b);

// Number of cards of a rank in the pile.
inline int countRank(const Pile& pile, int rank) {
    int n = 0;
    for (const Card& c : pile)
        n += c.rank() == rank;
    return n;
}
// Index of the first card with that rank, or -1.
inline int findRank(const Pile& pile, int rank) {
    for (int i = 0; i < pile.count; ++i)
        if (pile.places()[static_cast<std::size_t>(i)].rank() == rank) return i;
    return -1;
}
// Index of the first card with that face, or -1.
int findFace(const Pile& pile, int face);

} // namespace velnora
