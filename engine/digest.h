#pragma once
// FNV-1a over 64 bits: cheap, stable across platforms, and changes with any changed value. The
// bench's signatures and the seeds a searcher derives from a table are digests of this kind.

#include "pile.h"

#include <cstdint>

namespace velnora {

struct Fnv {
    std::uint64_t h = 0xcbf29ce484222325ULL;
    void add(std::uint64_t v) {
        for (int i = 0; i < 8; ++i) {
            h ^= (v >> (8 * i)) & 0xFF;
            h *= 0x100000001b3ULL;
        }
    }
    // The count, then every card by face and deck, in the pile's order.
    void add(const Pile& p) {
        add(static_cast<std::uint64_t>(p.count));
        for (const Card& c : p)
            add(static_cast<std::uint64_t>(c.face) | static_cast<std::uint64_t>(c.deck) << 8);
    }
};

} // namespace velnora
