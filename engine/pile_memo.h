#pragma once
// A value computed from one pile, kept until the pile changes. The table is counted after every
// move, and by the computer many times a turn, while a move changes one or two piles: each count
// is taken again only for the piles that changed.

#include "pile.h"

#include <cstdint>

namespace velnora {

template <class T> class PileMemo {
public:
    // compute(pile) for this pile as it is now. A pile's version and count name its contents,
    // so the kept value is only reused for the very same cards, whichever pile it came from.
    template <class Compute> const T& get(const Pile& pile, Compute&& compute) {
        if (pile.version() != version_ || pile.count != count_) {
            value_ = compute(pile);
            version_ = pile.version();
            count_ = pile.count;
        }
#ifndef NDEBUG
        // Debug builds (the sanitizer tests) prove that every change gave a new version.
        else if (!(compute(pile) == value_)) {
            throw InternalError("a pile was changed without a new version");
        }
#endif
        return value_;
    }
    // Drops the kept value, for a value that also depends on something besides the pile.
    void forget() {
        count_ = -1;
    }

private:
    std::uint64_t version_ = 0;
    int count_ = -1;
    T value_{};
};

} // namespace velnora
