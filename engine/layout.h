#pragma once
// Table geometry for the four table sizes. Card positions are stored in the cards, so every
// column count of a meld depends on columnOf() agreeing with where cards were placed.

namespace velnora {

constexpr int kTableSizes = 4;
constexpr int kTableLeft = 3;
constexpr int kOpponentHandY = 5;

struct Layout {
    int sizeIndex = 0;
    int tableWidth = 640;
    int tableHeight = 480;
    int cardWidth = 42;
    int cardHeight = 65;
    int tableLeft = kTableLeft;
    int columnPitch = 0;
    int midY = 0;
    int stockY = 0;
    int discardY = 0;
    int opponentMeldsY = 0;
    int playerMeldsY = 0;
    int playerHandY = 0;
    int opponentCardSpacing = 10;
};

// Layout values for a table size index 0..3 (an index outside is treated as 0).
Layout computeLayout(int sizeIndex);

// Table width and height of a size index, and its name ("640x480" ...).
int tableWidthFor(int sizeIndex);
int tableHeightFor(int sizeIndex);
const char* sizeName(int sizeIndex);
// Index of a size name, or -1.
int sizeIndexOf(const char* name);

// Rank column 0..13 of a card laid out at x.
int columnOf(int x, const Layout& layout);
// Left edge of column k.
int columnX(int column, const Layout& layout);

} // namespace velnora
