#include "column_profile.h"

#include <cstdint>

namespace velnora {

namespace {

void count(ColumnProfile& p, const Pile& pile, const Layout& layout) {
    p = {};
    for (const Card& c : pile) {
        const auto column = static_cast<std::size_t>(columnOf(c.x, layout));
        const int points = c.points();
        ++p.cards[column];
        p.naturals[column] += isNatural(c.rank()) ? 1 : 0;
        p.points[column] += points;
        ++p.ranks[c.rank()];
        p.totalPoints += points;
    }
    for (std::size_t column = 0; column < p.cards.size(); ++column)
        if (p.cards[column] >= 3) p.realMeldPoints += p.points[column];
}

} // namespace

namespace column_detail {

thread_local constinit std::array<KeptProfile, kKept> kept{};

const ColumnProfile& take(KeptProfile& k, const Pile& pile, const Layout& layout) {
    count(k.profile, pile, layout);
    k.version = pile.version();
    k.count = pile.count;
    k.tableLeft = layout.tableLeft;
    k.columnPitch = layout.columnPitch;
    return k.profile;
}

void verify(const KeptProfile& k, const Pile& pile, const Layout& layout) {
    ColumnProfile fresh;
    count(fresh, pile, layout);
    if (!(fresh == k.profile)) throw InternalError("a pile was changed without a new version");
}

} // namespace column_detail

} // namespace velnora
