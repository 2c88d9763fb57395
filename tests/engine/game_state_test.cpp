#include "game.h"
#include "game_state.h"
#include "random.h"
#include "recording_host.h"
#include "rules.h"
#include "settings.h"

#include <gtest/gtest.h>

#include <map>

using namespace velnora;

TEST(Cards, RankAndPointsFollowTheFace) {
    EXPECT_EQ(rankOf(13), 13); // ace of spades
    EXPECT_EQ(rankOf(14), 1);  // two of clubs
    EXPECT_EQ(rankOf(53), 0);
    EXPECT_EQ(rankOf(1), 1);
    EXPECT_EQ(cardPoints(2), 5); // black threes
    EXPECT_EQ(cardPoints(15), 5);
    EXPECT_EQ(cardPoints(28), 0); // red threes
    EXPECT_EQ(cardPoints(41), 0);
    EXPECT_EQ(cardPoints(53), 50);
    EXPECT_EQ(cardPoints(1), 20);  // two
    EXPECT_EQ(cardPoints(26), 20); // ace of clubs
    EXPECT_EQ(cardPoints(6), 5);   // seven of spades
    EXPECT_EQ(cardPoints(7), 10);  // eight of spades
    EXPECT_EQ(cardPoints(12), 10); // king of spades
}

TEST(Cards, ImageNamesUseSuitWordAndRankLetter) {
    EXPECT_EQ(cardImageName(1), "spade2");
    EXPECT_EQ(cardImageName(22), "club10");
    EXPECT_EQ(cardImageName(36), "diamondb");
    EXPECT_EQ(cardImageName(50), "heartv");
    EXPECT_EQ(cardImageName(51), "hearth");
    EXPECT_EQ(cardImageName(52), "hearta");
    EXPECT_EQ(cardImageName(53), "joker");
}

TEST(Cards, InitialMeldMinimumSteps) {
    EXPECT_EQ(initialMeldMinimumFor(-5), 15);
    EXPECT_EQ(initialMeldMinimumFor(0), 50);
    EXPECT_EQ(initialMeldMinimumFor(1495), 50);
    EXPECT_EQ(initialMeldMinimumFor(1500), 90);
    EXPECT_EQ(initialMeldMinimumFor(2995), 90);
    EXPECT_EQ(initialMeldMinimumFor(3000), 120);
}

TEST(Piles, BoundsAreChecked) {
    Pile p;
    EXPECT_THROW(pop(p), InternalError);
    EXPECT_THROW(removeAt(p, 0), InternalError);
    for (int i = 0; i < kDeckSize; ++i)
        push(p, makeCard(1 + i % 52, 0));
    EXPECT_THROW(push(p, makeCard(1, 0)), InternalError);
    EXPECT_EQ(removeAt(p, 1).face, 2);
    EXPECT_EQ(p.count, kDeckSize - 1);
    EXPECT_EQ(p.places()[1].face, 3);
    EXPECT_TRUE(removeFace(p, 52));
    EXPECT_EQ(findFace(p, 52), findFace(p, 52)); // second copy still there
    EXPECT_GE(findFace(p, 52), 0);
}

TEST(Layout, ValuesAtAllFourSizes) {
    const int midY[] = {202, 262, 346, 474};
    // The largest table's cards are 85 x 132, not the 67 x 104 of the one below it.
    const int stockY[] = {135, 179, 240, 340};
    const int oppMeldsY[] = {146, 190, 251, 351};
    const int handY[] = {323, 399, 506, 662};
    for (int i = 0; i < 4; ++i) {
        Layout l = computeLayout(i);
        EXPECT_EQ(l.midY, midY[i]) << i;
        EXPECT_EQ(l.stockY, stockY[i]) << i;
        EXPECT_EQ(l.opponentMeldsY, oppMeldsY[i]) << i;
        EXPECT_EQ(l.playerHandY, handY[i]) << i;
        EXPECT_EQ(l.columnPitch, (l.tableWidth - 14 * l.cardWidth) / 14 + l.cardWidth) << i;
    }
    EXPECT_EQ(computeLayout(0).columnPitch, 45);
    EXPECT_EQ(computeLayout(3).columnPitch, 91);
}

TEST(Layout, ColumnOfEveryCardPositionAtEverySize) {
    for (int i = 0; i < 4; ++i) {
        Layout l = computeLayout(i);
        for (int c = 0; c < kColumns; ++c) {
            EXPECT_EQ(columnOf(columnX(c, l), l), c);
            EXPECT_EQ(columnOf(columnX(c, l) + l.cardWidth - 1, l), c);
        }
    }
}

namespace {
// Lays cards of the given faces into one column of the player's melds.
void meldColumn(GameState& g, const Layout&, int column, std::initializer_list<int> faces) {
    for (int f : faces) {
        Card c = makeCard(f, 0);
        placeInColumn(g.playerMelds, c, column, kColumnStep);
        push(g.playerMelds, c);
    }
}

GameState freshState(const Layout& l) {
    GameState g;
    for (int c = 0; c < kColumns; ++c) {
        g.playerMelds.columnPos[c] = {columnX(c, l), l.playerMeldsY};
        g.opponentMelds.columnPos[c] = {columnX(c, l), l.opponentMeldsY};
    }
    return g;
}
} // namespace

TEST(Velnoras, NeedFourNaturalsExceptInTheWildcardColumn) {
    Layout l = computeLayout(1);
    GameState g = freshState(l);
    // Fives: faces 4 (spade), 17 (club), 30 (diamond); wildcards 53 and twos 1, 14.
    meldColumn(g, l, 4, {4, 17, 30, 53, 53, 1, 14});
    EXPECT_FALSE(checkVelnora(g, Seat::player, 4, l).isVelnora);
    EXPECT_EQ(g.playerVelnoras.velnoraCount, 0);

    GameState h = freshState(l);
    meldColumn(h, l, 4, {4, 17, 30, 43, 53, 1, 14});
    VelnoraCheck v = checkVelnora(h, Seat::player, 4, l);
    EXPECT_TRUE(v.isVelnora);
    EXPECT_TRUE(v.isNew);
    EXPECT_EQ(v.kind, kMixed);
    EXPECT_EQ(h.playerVelnoras.velnoraCount, 1);
    EXPECT_EQ(h.playerVelnoras.velnoraNaturals[4], 4);
    // Squared up with a black natural on top.
    int lastInColumn = -1;
    for (int i = 0; i < h.playerMelds.count; ++i) {
        EXPECT_EQ(h.playerMelds.places()[i].y, l.playerMeldsY + kColumnStep);
        lastInColumn = i;
    }
    EXPECT_LT(h.playerMelds.places()[lastInColumn].face, 29);
    EXPECT_TRUE(isNatural(h.playerMelds.places()[lastInColumn].rank()));

    // An eighth card does not count a second velnora.
    Card extra = makeCard(53, 1);
    placeInColumn(h.playerMelds, extra, 4, kColumnStep, false);
    push(h.playerMelds, extra);
    EXPECT_FALSE(checkVelnora(h, Seat::player, 4, l).isNew);
    EXPECT_EQ(h.playerVelnoras.velnoraCount, 1);

    GameState w = freshState(l);
    meldColumn(w, l, 1, {53, 53, 1, 14, 27, 40, 53});
    VelnoraCheck wv = checkVelnora(w, Seat::player, 1, l);
    EXPECT_TRUE(wv.isVelnora);
    EXPECT_EQ(wv.kind, kWildVelnora);
}

TEST(Velnoras, NaturalVelnoraShowsARedCardOnTop) {
    Layout l = computeLayout(0);
    GameState g = freshState(l);
    // Kings: 12 spade, 25 club, 38 diamond, 51 heart.
    meldColumn(g, l, 12, {38, 12, 25, 12, 25, 12, 25});
    VelnoraCheck v = checkVelnora(g, Seat::player, 12, l);
    EXPECT_EQ(v.kind, kNaturalVelnora);
    EXPECT_EQ(g.playerMelds.top().face, 38);
}

TEST(Velnoras, ThreesColumnNeverFormsAVelnora) {
    Layout l = computeLayout(0);
    GameState g = freshState(l);
    meldColumn(g, l, 2, {2, 15, 2, 15, 28, 41, 28});
    EXPECT_FALSE(checkVelnora(g, Seat::player, 2, l).isVelnora);
}

TEST(Deck, BuildsAConsistentDeterministicStock) {
    Layout l = computeLayout(2);
    GameState a, b;
    Random r1(42), r2(42), r3(43);
    buildDeck(a, r1, l);
    buildDeck(b, r2, l);
    std::string why;
    EXPECT_TRUE(isConsistent(a, l, &why)) << why;
    EXPECT_EQ(a.stock, b.stock);
    GameState c;
    buildDeck(c, r3, l);
    EXPECT_NE(a.stock, c.stock);
    for (const Card& card : a.stock) {
        EXPECT_EQ(card.x, l.tableLeft);
        EXPECT_EQ(card.y, l.stockY);
        EXPECT_EQ(card.faceUp, 0);
    }
}

TEST(Deck, ConsistencyCatchesALostOrDuplicatedCard) {
    Layout l = computeLayout(0);
    GameState g;
    Random r(7);
    buildDeck(g, r, l);
    GameState lost = g;
    pop(lost.stock);
    EXPECT_FALSE(isConsistent(lost, l));
    GameState dup = g;
    dup.stock.places()[0] = dup.stock.places()[1];
    std::string why;
    EXPECT_FALSE(isConsistent(dup, l, &why));
    EXPECT_FALSE(why.empty());
}

TEST(Deck, ConsistencyNamesEveryKindOfWrongCard) {
    Layout l = computeLayout(1);
    GameState g;
    Random r(9);
    buildDeck(g, r, l);
    const int first = g.stock.places()[0].face;
    auto withCard = [&](int index, auto change) {
        GameState bad = g;
        change(bad.stock.places()[static_cast<std::size_t>(index)]);
        std::string why;
        EXPECT_FALSE(isConsistent(bad, l, &why));
        return why;
    };
    // Whichever face another copy replaces, the counts say which face is short or over.
    for (int i = 1; i < kDeckSize; ++i) {
        if (g.stock.places()[static_cast<std::size_t>(i)].face == first) continue;
        const std::string why = withCard(i, [&](Card& c) { c = g.stock.places()[0]; });
        EXPECT_NE(why.find("appears"), std::string::npos) << why;
    }
    // Four copies of one face and none of another.
    GameState four = g;
    int copies = 0;
    for (Card& c : four.stock.edit())
        if (c.face == 10 || c.face == 11) c = makeCard(++copies <= 4 ? 10 : 11, 0);
    std::string why;
    EXPECT_FALSE(isConsistent(four, l, &why));
    EXPECT_EQ(why, "face 10 appears 4 times");
    EXPECT_EQ(withCard(3, [](Card& c) { c.face = 0; }), "bad face 0");
    EXPECT_EQ(withCard(3, [](Card& c) { c.face = 54; }), "bad face 54");
    GameState noJoker = g;
    for (Card& c : noJoker.stock.edit())
        if (c.face == kJokerFace) {
            c = makeCard(52, 1);
            break;
        }
    EXPECT_FALSE(isConsistent(noJoker, l));
}

// The check counts faces in byte counters, only the first 64 of them compared; a plain count
// with a map, card by card, must agree with it on every table, sound or not.
TEST(Deck, ConsistencyAgreesWithAPlainCountUnderRandomDamage) {
    const Layout l = computeLayout(2);
    Random r(2024);
    auto plainVerdict = [](const GameState& g) {
        std::map<int, int> faces;
        int total = 0;
        for (const Pile* p : {&g.stock, &g.discardPile, &g.opponentHand, &g.playerHand,
                              &g.opponentMelds, &g.playerMelds}) {
            total += p->count;
            for (const Card& c : *p) {
                if (c.face < 1 || c.face > kJokerFace) return false;
                ++faces[c.face];
            }
        }
        if (total != kDeckSize) return false;
        for (int f = 1; f <= kJokerFace; ++f)
            if (faces[f] != (f == kJokerFace ? 4 : 2)) return false;
        return true;
    };
    int faults = 0;
    for (int round = 0; round < 3000; ++round) {
        GameState g;
        buildDeck(g, r, l);
        // Spread the cards over the live piles, then damage a few of them.
        Pile* piles[] = {&g.discardPile, &g.opponentHand, &g.playerHand, &g.opponentMelds,
                         &g.playerMelds};
        for (int moves = r(60); moves > 0; --moves)
            push(*piles[r(5)], pop(g.stock));
        for (int damage = r(3); damage > 0; --damage) {
            Pile& p = *piles[r(5)];
            if (p.empty()) continue;
            Card& c = p.places()[static_cast<std::size_t>(r(p.count))];
            switch (r(6)) {
            case 0:
                c.face = static_cast<std::uint8_t>(r(256));
                break;
            case 1:
                c.face = static_cast<std::uint8_t>(1 + r(kJokerFace));
                break;
            case 2: // a face whose counter lies just past the compared ones
                c.face = static_cast<std::uint8_t>(c.face + 64);
                break;
            case 3:
                c = makeCard(1 + r(kJokerFace), r(2));
                break;
            case 4:
                pop(p);
                break;
            default:
                push(p, c);
                break;
            }
        }
        std::string why;
        const bool verdict = isConsistent(g, l, &why);
        ASSERT_EQ(verdict, plainVerdict(g)) << "round " << round << ": " << why;
        EXPECT_EQ(why.empty(), verdict) << why;
        faults += !verdict;
    }
    EXPECT_GT(faults, 1000); // the damage really reached the check
}

TEST(Layout, ColumnOfBeyondTheTableAndWithoutALayout) {
    const Layout l = computeLayout(3);
    EXPECT_EQ(columnOf(-5000, l), 0);
    EXPECT_EQ(columnOf(l.tableLeft - 1, l), 0);
    EXPECT_EQ(columnOf(l.tableWidth * 4, l), 13);
    EXPECT_EQ(columnOf(2147483647, l), 13);
    EXPECT_EQ(columnOf(-2147483647 - 1, l), 0);
    EXPECT_EQ(columnOf(500, Layout{}), 0);
}

TEST(Random, RangeAndDeterminism) {
    Random a(5), b(5);
    for (int i = 0; i < 1000; ++i) {
        int x = a(10);
        EXPECT_EQ(x, b(10));
        EXPECT_GE(x, 0);
        EXPECT_LT(x, 10);
        double u = a.uniform();
        b.uniform();
        EXPECT_GE(u, 0.0);
        EXPECT_LT(u, 1.0);
    }
    EXPECT_EQ(a(0), 0);
}

TEST(Rules, DefaultsAndRuleString) {
    MemorySettings s;
    RuleSettings r = loadRules(s);
    EXPECT_EQ(r, RuleSettings{});
    const std::string sep(1, '\xFE');
    EXPECT_EQ(ruleString(r), "F" + sep + "1" + sep + "1" + sep + "T" + sep + "T" + sep + "T" + sep +
                                 "T" + sep + "T" + sep + "F" + sep + "F" + sep + "T" + sep + "T" +
                                 sep + "F");
    // The reader's "Velnora required" finds a value written with another case.
    s.writeInt("SETTINGS\\VELNORA REQUIRED", 1);
    s.writeInt("Settings\\Number of Cards", 7); // nonsense falls back to one card
    r = loadRules(s);
    EXPECT_TRUE(r.velnoraRequired);
    EXPECT_EQ(r.cardsDrawn, 1);
    saveRules(s, hoyleRules());
    EXPECT_EQ(loadRules(s), hoyleRules());
}

namespace {
// Remembers the exact spelling of every name read or written.
struct NameRecordingSettings : MemorySettings {
    std::vector<std::string> reads, writes;
    int readInt(std::string_view name, int d) override {
        reads.emplace_back(name);
        return MemorySettings::readInt(name, d);
    }
    std::string readString(std::string_view name, std::string_view d) override {
        reads.emplace_back(name);
        return MemorySettings::readString(name, d);
    }
    void writeInt(std::string_view name, int v) override {
        writes.emplace_back(name);
        MemorySettings::writeInt(name, v);
    }
};
} // namespace

TEST(Rules, AGameReadsNoSettingUntilTheWindowLoadsThemAndTheWriterUsesTheDialogsSpelling) {
    NameRecordingSettings s;
    test::RecordingHost host;
    Random rng(1);
    // Settings of an older version are migrated after the game exists and before any read.
    Game game(host, s, rng);
    EXPECT_TRUE(s.reads.empty());
    EXPECT_EQ(game.rules, RuleSettings{});

    saveRules(s, RuleSettings{});
    ASSERT_EQ(s.writes.size(), 13u);
    EXPECT_EQ(s.writes[0], "Settings\\Velnora Required");
}
