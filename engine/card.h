#pragma once
// The card vocabulary: how one of the 108 cards is numbered and what it is worth.

#include <array>
#include <cstdint>
#include <string>

namespace velnora {

constexpr int kJokerFace = 53;
constexpr int kDeckSize = 108;

// Rank codes: 0 joker, 1 two, 2 three, 3 four ... 13 ace.
constexpr int kRankJoker = 0;
constexpr int kRankTwo = 1;
constexpr int kRankThree = 2;
constexpr int kRankAce = 13;

// Rank 0..13 of a face 1..53.
constexpr int rankOf(int face) {
    if (face == kJokerFace) return 0;
    int r = face % 13;
    return r == 0 ? 13 : r;
}

// Point value of a card by face; red threes score only through the red-three bonus.
constexpr int cardPoints(int face) {
    if (face == kJokerFace) return 50;
    if (face == 28 || face == 41) return 0;
    switch (rankOf(face)) {
    case 1:  // two
    case 13: // ace
        return 20;
    case 2: // black three
        return 5;
    default:
        return rankOf(face) <= 6 ? 5 : 10; // four..seven 5, eight..king 10
    }
}

constexpr bool isRedThree(int face) {
    return face == 28 || face == 41;
}
constexpr bool isBlackThree(int face) {
    return face == 2 || face == 15;
}
constexpr bool isWild(int rank) {
    return rank < 2;
}
constexpr bool isNatural(int rank) {
    return rank >= 2;
}

namespace card_detail {
// What each face byte stands for; bytes that are no face stand for nothing.
struct FaceFacts {
    bool valid = false;
    std::uint8_t rank = 0;
    std::int32_t points = 0;
};
inline constexpr std::array<FaceFacts, 256> kFaceFacts = [] {
    std::array<FaceFacts, 256> t{};
    for (int f = 1; f <= kJokerFace; ++f)
        t[static_cast<std::size_t>(f)] = {true, static_cast<std::uint8_t>(rankOf(f)),
                                          cardPoints(f)};
    return t;
}();
} // namespace card_detail

// One physical card with its place on the table; positions are plain integers because saved
// games store them and the column of a melded card is derived from its x. Rank and points are
// read from the face, so no card can carry a rank or points its face does not have; a face
// outside 1..53 (only ever in damaged data, which the table check refuses) reads as rank 0 and
// 0 points, like the empty card.
struct Card {
    std::uint8_t face = 0; // 1..52 naturals and twos (suit * 13 + rank), 53 joker
    std::uint8_t faceUp = 0;
    std::uint8_t deck = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;

    // 0..13, as rankOf(face).
    std::uint8_t rank() const { return card_detail::kFaceFacts[face].rank; }
    // As cardPoints(face).
    std::int32_t points() const { return card_detail::kFaceFacts[face].points; }

    bool operator==(const Card&) const = default;
};
// Piles are copied many times per action: a card stays small.
static_assert(sizeof(Card) == 12, "a card is three bytes and two positions");

// Whether the face is one of the 53 faces.
inline bool isValidFace(int face) {
    return face >= 0 && face < 256 && card_detail::kFaceFacts[static_cast<std::size_t>(face)].valid;
}

// Resource name of a face without the size suffix: "spade2", "heartb", "joker".
std::string cardImageName(int face);

// A fresh card of the given face and deck.
Card makeCard(int face, int deck);

// Short readable name for dumps and test output: "Q♥"-free ASCII such as "QH", "10S", "JK".
std::string cardLabel(int face);
// The name a player reads, as the card's corner shows it: rank and suit symbol ("10♥", "Q♠"),
// or "Joker"; UTF-8.
std::string cardName(int face);

} // namespace velnora
