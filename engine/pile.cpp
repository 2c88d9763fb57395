#include "pile.h"

#include <algorithm>

namespace velnora {

Pile& Pile::operator=(const Pile& other) {
    if (this == &other) return *this;
    const int n = std::clamp(other.count, 0, kDeckSize);
    std::copy(other.cards.begin(), other.cards.begin() + n, cards.begin());
    count = other.count;
    columnPos = other.columnPos;
    return *this;
}

bool Pile::operator==(const Pile& other) const {
    return count == other.count && columnPos == other.columnPos &&
           std::equal(begin(), end(), other.begin());
}

void push(Pile& pile, const Card& card) {
    if (pile.count < 0 || pile.count >= kDeckSize) throw InternalError("pile overflow");
    pile.cards[static_cast<std::size_t>(pile.count)] = card;
    ++pile.count;
}

Card pop(Pile& pile) {
    if (pile.count <= 0 || pile.count > kDeckSize) throw InternalError("pop from an empty pile");
    --pile.count;
    return pile.cards[static_cast<std::size_t>(pile.count)];
}

Card removeAt(Pile& pile, int i) {
    Card c = pile.at(i);
    std::copy(pile.cards.begin() + i + 1, pile.cards.begin() + pile.count, pile.cards.begin() + i);
    --pile.count;
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
}

int findFace(const Pile& pile, int face) {
    for (int i = 0; i < pile.count; ++i)
        if (pile.cards[static_cast<std::size_t>(i)].face == face) return i;
    return -1;
}

} // namespace velnora
