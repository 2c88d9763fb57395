#include "column_profile.h"

#include <cstdint>

namespace velnora {

namespace {

void add(ColumnProfile& p, const Card& c, const Layout& layout) {
    const auto column = static_cast<std::size_t>(columnOf(c.x, layout));
    const int points = c.points();
    ++p.cards[column];
    p.naturals[column] += isNatural(c.rank()) ? 1 : 0;
    p.points[column] += points;
    ++p.ranks[c.rank()];
    p.totalPoints += points;
}

void sumRealMelds(ColumnProfile& p) {
    p.realMeldPoints = 0;
    for (std::size_t column = 0; column < p.cards.size(); ++column)
        if (p.cards[column] >= 3) p.realMeldPoints += p.points[column];
}

void count(ColumnProfile& p, const Pile& pile, const Layout& layout) {
    p = {};
    for (const Card& c : pile)
        add(p, c, layout);
    sumRealMelds(p);
}

} // namespace

namespace column_detail {

thread_local constinit std::array<KeptProfile, kKept> kept{};

const ColumnProfile& take(KeptProfile& k, const Pile& pile, const Layout& layout) {
    // Melds grow a card at a time: the profile before the push, when still kept, only needs
    // the new top card.
    const std::uint64_t before = pile.versionBeforePush();
    const KeptProfile& last = kept[before % kKept];
    if (before != 0 && holds(last, before, pile.count - 1, layout)) {
        if (&last != &k) k.profile = last.profile;
        add(k.profile, pile.top(), layout);
        sumRealMelds(k.profile);
    } else {
        count(k.profile, pile, layout);
    }
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
