#include "layout.h"

#include <array>
#include <cstring>

namespace velnora {

namespace {
struct SizeRow {
    int width, height, cardWidth, cardHeight;
    const char* name;
};
constexpr std::array<SizeRow, kTableSizes> kSizes = {{
    {640, 480, 42, 65, "640x480"},
    {800, 600, 53, 81, "800x600"},
    {1024, 768, 67, 104, "1024x768"},
    // Larger cards fill the wide bands this table would leave: the column pitch (the table
    // width in fourteenths) keeps a gap of 6 as at 1024x768, and a hand column of 19 cards
    // still ends above the bottom edge.
    {1280, 1024, 85, 132, "1280x1024"},
}};
// The largest table's cards before they grew; its saved tables still say so.
constexpr SizeRow kEarlierLargest = {1280, 1024, 67, 104, "1280x1024"};

int rowIndex(int sizeIndex) {
    return sizeIndex >= 0 && sizeIndex < kTableSizes ? sizeIndex : 0;
}

const SizeRow& rowFor(int sizeIndex) {
    return kSizes[static_cast<std::size_t>(rowIndex(sizeIndex))];
}

Layout layoutFor(int sizeIndex, const SizeRow& row) {
    Layout l;
    l.sizeIndex = rowIndex(sizeIndex);
    l.tableWidth = row.width;
    l.tableHeight = row.height;
    l.cardWidth = row.cardWidth;
    l.cardHeight = row.cardHeight;
    l.tableLeft = kTableLeft;
    l.columnPitch = (row.width - 14 * row.cardWidth) / 14 + row.cardWidth;
    l.midY = row.height / 2 - 38;
    l.stockY = l.midY - row.cardHeight - 2;
    l.discardY = l.midY + 2;
    l.opponentMeldsY = l.midY - row.cardHeight + 9;
    l.playerMeldsY = l.midY - 6;
    l.playerHandY = l.midY + row.cardHeight + 56;
    l.opponentCardSpacing = 10;
    for (int d = 0; d < kColumnTableWidth; ++d)
        l.columnAtOffset[static_cast<std::size_t>(d)] =
            static_cast<std::uint8_t>(d / l.columnPitch > 13 ? 13 : d / l.columnPitch);
    return l;
}
} // namespace

Layout computeLayout(int sizeIndex) {
    // Every game starts from one, and headless runs start thousands: the column table's
    // divisions are made once per size.
    static const std::array<Layout, kTableSizes> layouts = [] {
        std::array<Layout, kTableSizes> all;
        for (int i = 0; i < kTableSizes; ++i)
            all[static_cast<std::size_t>(i)] = layoutFor(i, rowFor(i));
        return all;
    }();
    return layouts[static_cast<std::size_t>(rowIndex(sizeIndex))];
}

Layout earlierLargestLayout() {
    static const Layout layout = layoutFor(kTableSizes - 1, kEarlierLargest);
    return layout;
}

int tableWidthFor(int sizeIndex) {
    return rowFor(sizeIndex).width;
}
int tableHeightFor(int sizeIndex) {
    return rowFor(sizeIndex).height;
}
const char* sizeName(int sizeIndex) {
    return rowFor(sizeIndex).name;
}

int sizeIndexOf(const char* name) {
    for (int i = 0; i < kTableSizes; ++i)
        if (std::strcmp(kSizes[static_cast<std::size_t>(i)].name, name) == 0) return i;
    return -1;
}

int columnX(int column, const Layout& layout) {
    return layout.tableLeft + column * layout.columnPitch;
}

} // namespace velnora
