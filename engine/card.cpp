#include "card.h"

#include <array>

namespace velnora {

namespace {
constexpr std::array<const char*, 4> kSuitWords = {"spade", "club", "diamond", "heart"};
constexpr std::array<const char*, 13> kTypeLetters = {"2", "3",  "4", "5", "6", "7", "8",
                                                      "9", "10", "b", "v", "h", "a"};
constexpr std::array<const char*, 13> kLabels = {"2", "3",  "4", "5", "6", "7", "8",
                                                 "9", "10", "J", "Q", "K", "A"};
constexpr std::array<char, 4> kSuitLetters = {'S', 'C', 'D', 'H'};
constexpr std::array<const char*, 4> kSuitSymbols = {"\u2660", "\u2663", "\u2666", "\u2665"};
} // namespace

std::string cardImageName(int face) {
    if (face == kJokerFace) return "joker";
    if (face < 1 || face > 52) return {};
    int suit = (face - 1) / 13;
    int type = (face - 1) % 13;
    return std::string(kSuitWords[suit]) + kTypeLetters[type];
}

Card makeCard(int face, int deck) {
    Card c;
    c.face = static_cast<std::uint8_t>(face);
    c.deck = static_cast<std::uint8_t>(deck);
    return c;
}

std::string cardLabel(int face) {
    if (face == kJokerFace) return "JK";
    if (face < 1 || face > 52) return "??";
    int suit = (face - 1) / 13;
    int type = (face - 1) % 13;
    return std::string(kLabels[type]) + kSuitLetters[suit];
}

std::string cardName(int face) {
    if (face == kJokerFace) return "Joker";
    if (face < 1 || face > 52) return "??";
    return std::string(kLabels[(face - 1) % 13]) + kSuitSymbols[(face - 1) / 13];
}

} // namespace velnora
