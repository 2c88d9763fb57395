#include "saved_game.h"

#include "random.h"

#include <gtest/gtest.h>

using namespace velnora;
using namespace velnora::savegame;

namespace {

// A table mid-hand: hands dealt into their rows, a meld and a velnora on the table.
GameState midHand(const Layout& l, std::uint64_t seed) {
    GameState g;
    Random rng(seed);
    buildDeck(g, rng, l);
    resetColumnPositions(g, l);
    for (int i = 0; i < 11; ++i) {
        Card c = pop(g.stock);
        c.x = l.tableLeft + 10 * i;
        c.y = kOpponentHandY;
        push(g.opponentHand, c);
    }
    for (int i = 0; i < 13; ++i) {
        Card c = pop(g.stock);
        c.faceUp = 1;
        placeInColumn(g.playerHand, c, c.rank(), kColumnStep);
        push(g.playerHand, c);
    }
    // Seven kings in the player's melds make a natural velnora; three fives for the opponent.
    int kings = 0, fives = 0;
    for (int i = g.stock.count - 1; i >= 0 && (kings < 7 || fives < 3); --i) {
        Card c = g.stock.places()[i];
        if (c.rank() == 12 && kings < 7) {
            removeAt(g.stock, i);
            c.faceUp = 1;
            placeInColumn(g.playerMelds, c, 12, kColumnStep);
            push(g.playerMelds, c);
            ++kings;
        } else if (c.rank() == 4 && fives < 3) {
            removeAt(g.stock, i);
            c.faceUp = 1;
            placeInColumn(g.opponentMelds, c, 4, -kColumnStep);
            push(g.opponentMelds, c);
            g.opponentMeldPoints += c.points();
            ++fives;
        }
    }
    checkVelnora(g, Seat::player, 12, l);
    Card up = pop(g.stock);
    up.faceUp = 1;
    up.x = l.tableLeft;
    up.y = l.discardY;
    push(g.discardPile, up);
    takeSnapshot(g);
    g.playerTotal = 1230;
    g.opponentTotal = -45;
    g.initialMeldMinimum = 50;
    g.promptState = 1;
    g.hasDrawn = 1;
    g.gameInProgress = 1;
    return g;
}

std::function<int()> keys(std::uint64_t seed) {
    auto rng = std::make_shared<Random>(seed);
    return [rng] { return (*rng)(1000); };
}

void expectSameGame(const GameState& a, const GameState& b) {
    EXPECT_EQ(a.stock, b.stock);
    EXPECT_EQ(a.discardPile, b.discardPile);
    EXPECT_EQ(a.opponentHand, b.opponentHand);
    EXPECT_EQ(a.playerHand, b.playerHand);
    EXPECT_EQ(a.playerMelds, b.playerMelds);
    EXPECT_EQ(a.opponentMelds, b.opponentMelds);
    EXPECT_EQ(a.playerHandSnapshot, b.playerHandSnapshot);
    EXPECT_EQ(a.playerMeldsSnapshot, b.playerMeldsSnapshot);
    EXPECT_EQ(a.discardSnapshot, b.discardSnapshot);
    EXPECT_EQ(a.playerVelnoras, b.playerVelnoras);
    EXPECT_EQ(a.opponentVelnoras, b.opponentVelnoras);
    EXPECT_EQ(a.playerTotal, b.playerTotal);
    EXPECT_EQ(a.opponentTotal, b.opponentTotal);
    EXPECT_EQ(a.opponentMeldPoints, b.opponentMeldPoints);
    EXPECT_EQ(a.promptState, b.promptState);
    EXPECT_EQ(a.hasDrawn, b.hasDrawn);
}

// Replaces the n-th blank-separated value (0-based) of line `line` (0-based).
std::string withValue(std::string text, int line, int n, const std::string& value) {
    std::size_t pos = 0;
    for (int i = 0; i < line; ++i)
        pos = text.find("\r\n", pos) + 2;
    for (int i = 0; i < n; ++i)
        pos = text.find(' ', pos) + 1;
    std::size_t end = text.find(' ', pos);
    return text.replace(pos, end - pos, value);
}

} // namespace

TEST(SavedGame, ScrambledPairRoundTripsForEveryKeyFaceAndRank) {
    for (int key = 0; key <= 999; ++key) {
        const int k = key + 399;
        for (int code = 0; code <= 53; ++code) {
            auto [q, r] = scramble(k, code);
            int back = -1;
            ASSERT_TRUE(unscramble(k, q, r, 54, back)) << key << ' ' << code;
            ASSERT_EQ(back, code);
        }
    }
    int out;
    EXPECT_FALSE(unscramble(500, 0, 3, 54, out)); // a zero quotient must not divide
    EXPECT_FALSE(unscramble(500, 7, 600, 54, out));
}

TEST(SavedGame, FileStartsWithHeaderAndHasThirteenLines) {
    Layout l = computeLayout(2);
    GameState g = midHand(l, 3);
    std::string text = encode(g, 2, keys(1));
    EXPECT_EQ(text.rfind("VelnoraSavedGame 415 2 ", 0), 0u);
    int lines = 0;
    for (std::size_t p = text.find("\r\n"); p != std::string::npos; p = text.find("\r\n", p + 2))
        ++lines;
    EXPECT_EQ(lines, 12); // no line end after the last value
    EXPECT_EQ(text.back(), ' ');
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
}

TEST(SavedGame, TwoSavesDifferAsTextButLoadTheSameGame) {
    Layout l = computeLayout(1);
    GameState g = midHand(l, 11);
    std::string a = encode(g, 1, keys(1));
    std::string b = encode(g, 1, keys(2));
    EXPECT_NE(a, b);
    LoadResult ra = decode(a, GameState{});
    LoadResult rb = decode(b, GameState{});
    ASSERT_EQ(ra.error, LoadError::none) << ra.detail;
    ASSERT_EQ(rb.error, LoadError::none) << rb.detail;
    EXPECT_EQ(ra.sizeIndex, 1);
    expectSameGame(ra.state, g);
    expectSameGame(rb.state, g);
    EXPECT_EQ(ra.state.mayTakePile, 0);
    EXPECT_EQ(ra.state.loadedSinceDeal, 1);
}

TEST(SavedGame, RefusesWrongMagicVersionAndDamage) {
    Layout l = computeLayout(0);
    GameState g = midHand(l, 5);
    const std::string good = encode(g, 0, keys(9));

    EXPECT_EQ(decode("VelnoraSavedGamf 415 0 ", g).error, LoadError::notSavedGame);
    EXPECT_EQ(decode("", g).error, LoadError::notSavedGame);

    std::string v414 = good;
    v414.replace(17, 3, "414");
    LoadResult r = decode(v414, g);
    EXPECT_EQ(r.error, LoadError::version);
    EXPECT_EQ(r.version, 414);

    for (std::size_t cut : {good.size() / 2, good.size() - 3, std::size_t{30}})
        EXPECT_EQ(decode(good.substr(0, cut), g).error, LoadError::corrupt) << cut;

    // A count of 200 on the stock line (value 1 after the key, after the 3 header values).
    EXPECT_EQ(decode(withValue(good, 0, 5, "200"), g).error, LoadError::corrupt);
    // A size index outside 0..3.
    EXPECT_EQ(decode(withValue(good, 0, 2, "4"), g).error, LoadError::corrupt);
    // A zero quotient in the first stock card.
    EXPECT_EQ(decode(withValue(good, 0, 6, "0"), g).error, LoadError::corrupt);
    // Not a number.
    EXPECT_EQ(decode(withValue(good, 12, 13, "12x"), g).error, LoadError::corrupt);
    // Prompt state 42.
    EXPECT_EQ(decode(withValue(good, 12, 15, "42"), g).error, LoadError::corrupt);

    std::string huge = good + std::string(kMaxFileSize, ' ');
    EXPECT_EQ(decode(huge, g).error, LoadError::corrupt);
}

TEST(SavedGame, RefusesGameValuesNoGameCanReach) {
    Layout l = computeLayout(0);
    GameState g = midHand(l, 6);
    const std::string good = encode(g, 0, keys(3));
    ASSERT_EQ(decode(good, g).error, LoadError::none);
    // Line 13: values 8 and 9 the take counts, 12 the computer's meld points, 13 and 14 the
    // totals, 15 the first-meld minimum; near the 32-bit limit each would overflow in play.
    for (int value : {7, 8, 11, 12, 13, 14}) {
        EXPECT_EQ(decode(withValue(good, 12, value, "2147483600"), g).error, LoadError::corrupt)
            << value;
        EXPECT_EQ(decode(withValue(good, 12, value, "-2147483600"), g).error, LoadError::corrupt)
            << value;
    }
    // Values a long match does reach still load.
    LoadResult r = decode(withValue(withValue(good, 12, 13, "-25000"), 12, 12, "4990"), g);
    ASSERT_EQ(r.error, LoadError::none) << r.detail;
    EXPECT_EQ(r.state.playerTotal, -25000);
    EXPECT_EQ(r.state.opponentTotal, 4990);
}

TEST(SavedGame, RefusesADuplicatedCard) {
    Layout l = computeLayout(0);
    GameState g = midHand(l, 8);
    // Copy the opponent's first card over its second: 108 cards, one face three times.
    GameState bad = g;
    bad.opponentHand.places()[1] = bad.opponentHand.places()[0];
    if (bad.opponentHand.places()[1].face == g.opponentHand.places()[1].face)
        bad.opponentHand.places()[1] = makeCard(bad.opponentHand.places()[0].face % 52 + 1, 0);
    LoadResult r = decode(encode(bad, 0, keys(4)), g);
    EXPECT_EQ(r.error, LoadError::corrupt);
    EXPECT_FALSE(r.detail.empty());
}

TEST(SavedGame, PendingPileTakeKeepsTheTakenCardAcrossALoad) {
    Layout l = computeLayout(1);
    GameState g = midHand(l, 21);
    // Take the pile's top card into an empty column and snapshot, as a pending take does.
    Card top = pop(g.discardPile);
    placeInColumn(g.playerMelds, top, top.rank(), kColumnStep);
    push(g.playerMelds, top);
    takeSnapshot(g);
    g.takingPile = 1;
    g.topCardPending = 1;
    g.promptState = 3;
    LoadResult r = decode(encode(g, 1, keys(3)), GameState{});
    ASSERT_EQ(r.error, LoadError::none) << r.detail;
    EXPECT_EQ(r.state.takenTopCard, top);
    EXPECT_EQ(r.state.takenTopRank, top.rank());

    // A snapshot that has lost a card would lose it from the table when the take is undone.
    GameState damaged = g;
    removeAt(damaged.playerHandSnapshot, 0);
    r = decode(encode(damaged, 1, keys(4)), GameState{});
    EXPECT_EQ(r.error, LoadError::corrupt);

    // Nor can the computer be to move in the middle of the take: its discard would come after
    // the snapshot and be lost by the undo.
    GameState computerToMove = g;
    computerToMove.promptState = 8;
    r = decode(encode(computerToMove, 1, keys(5)), GameState{});
    EXPECT_EQ(r.error, LoadError::corrupt);
}

TEST(SavedGame, OpponentsTurnIsRestoredAsTheOpponentToDraw) {
    Layout l = computeLayout(0);
    GameState g = midHand(l, 2);
    g.promptState = 8;
    g.opponentPromptState = 8;
    g.hasDrawn = 0;
    LoadResult r = decode(encode(g, 0, keys(5)), GameState{});
    ASSERT_EQ(r.error, LoadError::none) << r.detail;
    EXPECT_EQ(r.state.opponentPromptState, 0);
    EXPECT_EQ(r.state.inputBlocked, 1);
    EXPECT_EQ(r.state.mayTakePile, 1);
}

TEST(SavedGame, FileNamesStayInsideTheirFolder) {
    EXPECT_EQ(makeGameFileName("a:b?c"), "abc.vel");
    EXPECT_EQ(makeGameFileName("\"x*<y>\\z"), "xyz.vel");
    EXPECT_EQ(makeGameFileName("../../etc/passwd"), "....etcpasswd.vel");
    EXPECT_EQ(makeGameFileName(std::string("a\nb\tc", 5)), "abc.vel");
    EXPECT_EQ(makeGameFileName(std::string(300, 'n')), std::string(250, 'n') + ".vel");
}

TEST(SavedGame, FileNamesAreCutAtWholeCharactersAndFitTheFileSystem) {
    auto repeated = [](const std::string& piece, int times) {
        std::string out;
        for (int i = 0; i < times; ++i)
            out += piece;
        return out;
    };
    // Two and three bytes to a character; a file name holds at most 255 bytes.
    EXPECT_EQ(makeGameFileName(repeated("é", 200)), repeated("é", 125) + ".vel");
    EXPECT_EQ(makeGameFileName("a" + repeated("é", 200)), "a" + repeated("é", 124) + ".vel");
    EXPECT_EQ(makeGameFileName(repeated("€", 100)), repeated("€", 83) + ".vel");
    EXPECT_EQ(makeGameFileName(repeated("é", 20)), repeated("é", 20) + ".vel");
}

TEST(SavedGame, SaveKeyIsTheRoundedProductModuloAThousand) {
    EXPECT_EQ(saveKeyFrom(123456, 0.5), 728);
    EXPECT_EQ(saveKeyFrom(0, 0.9), 0);
    EXPECT_EQ(saveKeyFrom(1999, 1.0 - 1e-12), 999);
}
