#pragma once
// Table geometry for the four table sizes. Card positions are stored in the cards, so every
// column count of a meld depends on columnOf() agreeing with where cards were placed.

#include <array>
#include <cstdint>

namespace velnora {

constexpr int kTableSizes = 4;
// Offsets from the table's left edge that the column table covers; wider than any table.
constexpr int kColumnTableWidth = 2048;
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
    // Rank column by offset from tableLeft, filled by computeLayout: the column of a melded
    // card is asked for over and over, and a division per card dominated headless play.
    std::array<std::uint8_t, kColumnTableWidth> columnAtOffset{};
};

// Layout values for a table size index 0..3 (an index outside is treated as 0).
Layout computeLayout(int sizeIndex);

// The largest table as it was laid out before its cards grew, for tables saved then.
Layout earlierLargestLayout();

// Table width and height of a size index, and its name ("640x480" ...).
int tableWidthFor(int sizeIndex);
int tableHeightFor(int sizeIndex);
const char* sizeName(int sizeIndex);
// Index of a size name, or -1.
int sizeIndexOf(const char* name);

// Rank column 0..13 of a card laid out at x: floor division by the pitch, column 0 left of the
// table and column 13 beyond its last column (always 0 for a layout without a pitch).
inline int columnOf(int x, const Layout& layout) {
    // A card nudged left of column 0 still belongs to column 0; x comes from saved files too.
    const long long d = static_cast<long long>(x) - layout.tableLeft;
    if (d >= 0 && d < kColumnTableWidth) return layout.columnAtOffset[static_cast<std::size_t>(d)];
    return d > 0 && layout.columnPitch > 0 ? 13 : 0;
}
// Left edge of column k.
int columnX(int column, const Layout& layout);

} // namespace velnora
