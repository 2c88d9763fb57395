#pragma once
// Piles of cards on the table: fixed capacity 108, bounds-checked, with fourteen rank-column
// positions for the piles that are laid out in columns.

#include "card.h"

#include <array>
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

// Cards 0..count-1 are valid and the last one is the top.
struct Pile {
    std::array<Card, kDeckSize> cards{};
    int count = 0;
    std::array<ColumnPos, kColumns> columnPos{};

    Pile() = default;
    // A copy takes the valid cards only: tables are copied for every snapshot, undo and
    // what-if, and most piles hold a few cards of their 108 places.
    Pile(const Pile& other) { *this = other; }
    Pile& operator=(const Pile& other);

    bool empty() const { return count == 0; }
    // Defined here so that the checked access inlines: it is the most frequent call there is.
    const Card& top() const { return at(count - 1); }
    Card& top() { return at(count - 1); }
    const Card& at(int i) const {
        if (i < 0 || i >= count) throw InternalError("card index outside the pile");
        return cards[static_cast<std::size_t>(i)];
    }
    Card& at(int i) {
        if (i < 0 || i >= count) throw InternalError("card index outside the pile");
        return cards[static_cast<std::size_t>(i)];
    }
    const Card* begin() const { return cards.data(); }
    const Card* end() const { return cards.data() + count; }
    Card* begin() { return cards.data(); }
    Card* end() { return cards.data() + count; }
    // Equal piles hold the same valid cards and column positions; what lies beyond count is
    // leftover and does not count.
    bool operator==(const Pile& other) const;
};

void push(Pile& pile, const Card& card);
Card pop(Pile& pile);
Card removeAt(Pile& pile, int i);
// Removes the first card with that face; returns whether one was there.
bool removeFace(Pile& pile, int face);
void clear(Pile& pile);

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
        if (pile.cards[static_cast<std::size_t>(i)].rank() == rank) return i;
    return -1;
}
// Index of the first card with that face, or -1.
int findFace(const Pile& pile, int face);

} // namespace velnora
