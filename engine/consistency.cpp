#include "column_profile.h"
#include "game_state.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string>

namespace velnora {

namespace {

// Copies of each face on a whole table: two of every face, four jokers.
using FaceCounts = std::array<std::uint8_t, 64>;
constexpr FaceCounts kWholeDecks = [] {
    FaceCounts n{};
    for (int f = 1; f <= 52; ++f)
        n[static_cast<std::size_t>(f)] = 2;
    n[kJokerFace] = 4;
    return n;
}();

using LivePiles = std::array<const Pile*, 6>;
LivePiles livePiles(const GameState& g) {
    return {&g.stock,      &g.discardPile,   &g.opponentHand,
            &g.playerHand, &g.opponentMelds, &g.playerMelds};
}

bool fail(std::string* why, const std::string& msg) {
    if (why) *why = msg;
    return false;
}

// The card faults spelled out pile by pile, in the order a reader looks for them. Only runs
// once the fast count found a fault, so it never has to be quick.
bool describeCardFault(const GameState& g, std::string* why) {
    std::array<int, 256> faces{};
    int total = 0;
    for (const Pile* p : livePiles(g)) {
        if (p->count < 0 || p->count > kDeckSize) return fail(why, "pile count out of range");
        for (const Card& c : *p) {
            if (!isValidFace(c.face)) return fail(why, "bad face " + std::to_string(c.face));
            ++faces[c.face];
        }
        total += p->count;
    }
    if (total != kDeckSize)
        return fail(why, "there are " + std::to_string(total) + " cards, not 108");
    for (int f = 1; f <= 52; ++f)
        if (faces[static_cast<std::size_t>(f)] != 2)
            return fail(why, "face " + std::to_string(f) + " appears " +
                                 std::to_string(faces[static_cast<std::size_t>(f)]) + " times");
    if (faces[kJokerFace] != 4) return fail(why, "there are not four jokers");
    return fail(why, "the table check and its description disagree");
}

using ColumnCounts = std::array<int, kColumns>;

// Whether the melds back the velnora tally; `columns` counts the melds by column, only asked
// once there is a velnora.
template <class Columns>
bool tallyBacked(const VelnoraTally& t, Columns&& columns, const char* who, std::string* why) {
    // Most checks come before the first velnora: one look at the kinds as two words.
    std::uint64_t front = 0, back = 0;
    std::memcpy(&front, t.velnoraKind.data(), 8);
    std::memcpy(&back, t.velnoraKind.data() + kColumns - 8, 8);
    if ((front | back) == 0)
        return t.velnoraCount == 0 || fail(why, std::string(who) + " velnora count disagrees");
    const ColumnCounts& counts = columns();
    int kinds = 0;
    for (int c = 0; c < kColumns; ++c) {
        if (t.velnoraKind[static_cast<std::size_t>(c)] == kNoVelnora) continue;
        ++kinds;
        if (counts[static_cast<std::size_t>(c)] < 7)
            return fail(why, std::string(who) + " velnora in column " + std::to_string(c) +
                                 " has fewer than 7 cards");
    }
    if (kinds != t.velnoraCount) return fail(why, std::string(who) + " velnora count disagrees");
    return true;
}

} // namespace

bool isConsistent(const GameState& g, const Layout& layout, std::string* why) {
    // This runs after every action of long headless runs. The piles keep their face tallies as
    // cards move, so no card is read unless a pile was changed in place; the faults are only
    // spelled out when there is one.
    int total = 0;
    for (const Pile* p : livePiles(g)) {
        if (p->count < 0 || p->count > kDeckSize) return describeCardFault(g, why);
        total += p->count;
    }
    if (total != kDeckSize) return describeCardFault(g, why);
    // Rank and points are read from the face, so the faces are all there is to check. Each pile
    // keeps its own tally as cards come and go; the tallies add up without overflow, as there
    // are 108 cards in all.
    FaceCounts faces{};
    bool beyond = false;
    for (const Pile* p : livePiles(g)) {
        const FaceTally& t = p->faceTally();
#ifndef NDEBUG
        // Debug builds (the sanitizer tests) prove that the tallies follow their piles.
        FaceTally fresh;
        for (const Card& c : *p)
            fresh.add(c.face);
        if (!(fresh == t)) throw InternalError("a pile's face tally lost track of its cards");
#endif
        beyond |= t.beyond != 0;
        for (std::size_t k = 0; k < faces.size(); ++k)
            faces[k] = static_cast<std::uint8_t>(faces[k] + t.faces[k]);
    }
    if (beyond || faces != kWholeDecks) return describeCardFault(g, why);
    for (const Pile* p : {&g.knownPlayerCards, &g.knownOpponentCards, &g.playerHandSnapshot,
                          &g.playerMeldsSnapshot, &g.discardSnapshot})
        if (p->count < 0 || p->count > kDeckSize) return fail(why, "snapshot count out of range");
    return tallyBacked(
               g.playerVelnoras,
               [&]() -> const ColumnCounts& { return columnProfile(g.playerMelds, layout).cards; },
               "player", why) &&
           tallyBacked(
               g.opponentVelnoras,
               [&]() -> const ColumnCounts& {
                   return columnProfile(g.opponentMelds, layout).cards;
               },
               "opponent", why);
}

} // namespace velnora
