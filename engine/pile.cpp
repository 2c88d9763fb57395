#include "pile.h"

#include <algorithm>
#include <atomic>

namespace velnora {

namespace pile_detail {

std::uint64_t threadRange() {
    // The top 20 bits name the thread, the rest count; 2^44 changes per thread is plenty.
    static std::atomic<std::uint64_t> threads{0};
    return (threads.fetch_add(1, std::memory_order_relaxed) + 1) << 44;
}

} // namespace pile_detail

Pile& Pile::operator=(const Pile& other) {
    if (this == &other) return *this;
    std::copy(other.begin(), other.begin() + other.validCount(), cards_.begin());
    count = other.count;
    columnPos = other.columnPos;
    tally_ = other.tally_;
    tallyCount_ = other.tallyCount_;
    touch();
    return *this;
}

void Pile::recountFaces() const {
    tally_ = {};
    for (int i = 0; i < validCount(); ++i)
        tally_.add(cards_[static_cast<std::size_t>(i)].face);
    tallyCount_ = count;
}

bool Pile::operator==(const Pile& other) const {
    return count == other.count && columnPos == other.columnPos &&
           std::equal(begin(), end(), other.begin());
}

void push(Pile& pile, const Card& card) {
    if (pile.count < 0 || pile.count >= kDeckSize) throw InternalError("pile overflow");
    pile.cards_[static_cast<std::size_t>(pile.count)] = card;
    pile.tallyAdd(card.face);
    ++pile.count;
    const std::uint64_t before = pile.version_;
    pile.touch();
    pile.versionBeforePush_ = before;
}

Card pop(Pile& pile) {
    if (pile.count <= 0 || pile.count > kDeckSize) throw InternalError("pop from an empty pile");
    const Card card = pile.cards_[static_cast<std::size_t>(pile.count - 1)];
    pile.tallyRemove(card.face);
    --pile.count;
    pile.touch();
    return card;
}

Card removeAt(Pile& pile, int i) {
    Card c = pile.at(i);
    std::copy(pile.cards_.begin() + i + 1, pile.cards_.begin() + pile.count,
              pile.cards_.begin() + i);
    pile.tallyRemove(c.face);
    --pile.count;
    pile.touch();
    return c;
}

bool removeFace(Pile& pile, int face) {
    int i = findFace(pile, face);
    if (i < 0) return false;
    removeAt(pile, i);
    return true;
}

void clear(Pile& pile) {
    pile.count = 0;
    pile.tally_ = {};
    pile.tallyCount_ = 0;
    pile.touch();
}

void swapCards(Pile& a, Pile& b) {
    std::swap(a.cards_, b.cards_);
    std::swap(a.count, b.count);
    std::swap(a.tally_, b.tally_);
    std::swap(a.tallyCount_, b.tallyCount_);
    a.touch();
    b.touch();
}

int findFace(const Pile& pile, int face) {
    for (int i = 0; i < pile.count; ++i)
        if (pile.places()[static_cast<std::size_t>(i)].face == face) return i;
    return -1;
}

} // namespace velnora
