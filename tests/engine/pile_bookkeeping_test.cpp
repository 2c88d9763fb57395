#include "column_profile.h"
#include "layout.h"
#include "pile.h"
#include "random.h"

#include <gtest/gtest.h>

#include <set>

using namespace velnora;

namespace {

FaceTally plainTally(const Pile& p) {
    FaceTally t;
    for (const Card& c : p)
        t.add(c.face);
    return t;
}

ColumnProfile plainProfile(const Pile& p, const Layout& layout) {
    ColumnProfile r;
    for (const Card& c : p) {
        const auto column = static_cast<std::size_t>(columnOf(c.x, layout));
        ++r.cards[column];
        r.naturals[column] += isNatural(rankOf(c.face)) ? 1 : 0;
        r.points[column] += cardPoints(c.face);
        ++r.ranks[static_cast<std::size_t>(rankOf(c.face))];
        r.totalPoints += cardPoints(c.face);
    }
    for (std::size_t column = 0; column < r.cards.size(); ++column)
        if (r.cards[column] >= 3) r.realMeldPoints += r.points[column];
    return r;
}

} // namespace

// Counts are kept by pile version, so a change that keeps the version, or a tally that misses
// a change, would let the table check pass a table with a card lost or doubled.
TEST(PileBookkeeping, EveryChangeRenewsTheVersionAndTheFaceTallyFollowsIt) {
    Pile p, other;
    for (int f = 1; f <= 12; ++f)
        push(p, makeCard(f, 0));
    push(other, makeCard(kJokerFace, 3));
    std::set<std::uint64_t> seen{p.version(), other.version()};
    auto expectChanged = [&](const char* what) {
        EXPECT_TRUE(seen.insert(p.version()).second) << what << " kept an old version";
        EXPECT_EQ(p.faceTally(), plainTally(p)) << what;
    };
    // Reading never changes a pile.
    const std::uint64_t before = p.version();
    (void)p.at(3);
    (void)p.top();
    (void)p.faceTally();
    for (const Card& c : p)
        (void)c;
    EXPECT_EQ(p.version(), before);

    push(p, makeCard(5, 1));
    expectChanged("push");
    pop(p);
    expectChanged("pop");
    removeAt(p, 2);
    expectChanged("removeAt");
    removeFace(p, 7);
    expectChanged("removeFace");
    p.editAt(0).face = 40;
    expectChanged("editAt");
    p.edit()[1].face = 70; // past the counters: only damaged tables hold one
    expectChanged("edit");
    EXPECT_EQ(p.faceTally().beyond, 1);
    // A count set by hand, as loaders and tests do: the tally must not be trusted for the
    // cards it hides or shows, not even by the push that follows.
    p.count -= 2;
    push(p, makeCard(11, 0));
    p.count += 2; // back in step with the tally's own count, showing two cards left behind
    EXPECT_EQ(p.faceTally(), plainTally(p)) << "count set by hand around a push";
    EXPECT_TRUE(seen.insert(p.version()).second);
    swapCards(p, other);
    expectChanged("swapCards");
    EXPECT_EQ(other.faceTally(), plainTally(other));
    const Pile copy = other;
    EXPECT_TRUE(seen.insert(copy.version()).second) << "a copy shares its source's version";
    EXPECT_EQ(copy.faceTally(), plainTally(other));
    p = copy;
    expectChanged("assignment");
    clear(p);
    expectChanged("clear");
}

// The kept profiles serve every column count of the rules and the computer: after any change,
// under any layout, and with many piles asking in turn, they must equal a plain count.
TEST(PileBookkeeping, ColumnProfilesAgreeWithAPlainCountThroughChangesAndLayouts) {
    const std::array<Layout, 2> layouts = {computeLayout(0), computeLayout(3)};
    std::array<Pile, 40> piles; // more piles than profiles are kept
    Random r(77);
    for (int step = 0; step < 20000; ++step) {
        Pile& p = piles[static_cast<std::size_t>(r(static_cast<int>(piles.size())))];
        const Layout& layout = layouts[static_cast<std::size_t>(r(2))];
        switch (r(4)) {
        case 0:
            if (p.count < kDeckSize) {
                Card c = makeCard(1 + r(kJokerFace), r(2));
                c.x = columnX(r(kColumns), layout) + r(3);
                push(p, c);
            }
            break;
        case 1:
            if (!p.empty()) removeAt(p, r(p.count));
            break;
        case 2:
            if (!p.empty()) p.editAt(r(p.count)).x = columnX(r(kColumns), layout);
            break;
        default:
            break; // ask again without a change
        }
        ASSERT_EQ(columnProfile(p, layout), plainProfile(p, layout)) << "step " << step;
    }
}
