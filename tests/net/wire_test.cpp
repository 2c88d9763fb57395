#include "move_codec.h"
#include "net_fixture.h"
#include "table_takeover.h"
#include "wire.h"

#include "seat_exchange.h"

#include <gtest/gtest.h>

using namespace velnora;
using namespace velnora::net;
using velnora::test::msg;
using velnora::test::NetTable;

TEST(WireTokens, NumbersFollowTheTableAndUnknownTextIsNineteen) {
    EXPECT_EQ(TokenNumber("OK"), Token::ok);
    EXPECT_EQ(TokenNumber("CHAT"), Token::chat);
    EXPECT_EQ(static_cast<int>(TokenNumber("DRAWNEW")), 9);
    EXPECT_EQ(static_cast<int>(TokenNumber("PASSDISCARD")), 15);
    EXPECT_EQ(static_cast<int>(TokenNumber("LOADGAME")), 20);
    EXPECT_EQ(TokenNumber("UNKNOWN"), Token::unknown);
    EXPECT_EQ(TokenNumber("drawnew"), Token::unknown);
    EXPECT_EQ(TokenNumber(""), Token::unknown);
    for (int n = 0; n < kTokenCount; ++n)
        EXPECT_EQ(static_cast<int>(TokenNumber(tokenText(static_cast<Token>(n)))), n);
}

TEST(WireFields, NextFieldAndNextWordCutAsTheProtocolSays) {
    std::string text = "ab\xFE"
                       "c\xFF"
                       "d";
    EXPECT_EQ(NextField(text), "ab");
    EXPECT_EQ(NextField(text), "c");
    EXPECT_EQ(text, "d");
    EXPECT_EQ(NextField(text), "d");
    EXPECT_EQ(text, "");

    std::string words = "12 -3 7";
    EXPECT_EQ(NextWord(words), "12");
    EXPECT_EQ(NextWord(words), "-3");
    // No blank left: an empty word and the text stays.
    EXPECT_EQ(NextWord(words), "");
    EXPECT_EQ(words, "7");

    EXPECT_EQ(parseNumber("-50"), -50);
    EXPECT_FALSE(parseNumber("5x"));
    EXPECT_FALSE(parseNumber(""));
    EXPECT_FALSE(parseNumber("-"));
    EXPECT_FALSE(parseNumber("99999999999"));
}

// The two byte examples: a draw and the discard of the queen of hearts, sent by the engine's
// own actions through the session.
TEST(WireBytes, DrawAndDiscardGoOutExactlyAsTheProtocolShows) {
    NetTable t;
    t.connectAndDeal(false);
    ASSERT_EQ(t.game.state.promptState, kPromptDraw);
    t.game.rules.cardsDrawn = 1;
    t.game.rules.drawExtra = false;
    t.game.drawFromStock();
    EXPECT_EQ(t.events.written.substr(0, 9), std::string("DRAWNEW\xFE\xFF", 9));

    // Put the queen of hearts in hand (swapped with a hand card) and discard it.
    GameState& g = t.game.state;
    if (findFace(g.playerHand, 50) < 0) {
        Pile& from = findFace(g.stock, 50) >= 0 ? g.stock : g.opponentHand;
        ASSERT_GE(findFace(from, 50), 0);
        Card q = removeAt(from, findFace(from, 50));
        push(from, removeAt(g.playerHand, 0));
        q.faceUp = 1;
        placeInColumn(g.playerHand, q, q.rank(), kColumnStep);
        push(g.playerHand, q);
    }
    t.events.written.clear();
    ASSERT_TRUE(t.game.discard(findFace(g.playerHand, 50)));
    EXPECT_EQ(t.events.written, std::string("DISCARD\xFE"
                                            "50\xFF"));
}

TEST(WireText, Latin1OnTheWireUtf8InTheProgram) {
    EXPECT_EQ(latin1ToUtf8("Bj\xF8rn"), "Bj\xC3\xB8rn");
    EXPECT_EQ(utf8ToWireText("Bj\xC3\xB8rn"), "Bj\xF8rn");
    // The delimiters, characters beyond Latin-1 and broken sequences become "?".
    EXPECT_EQ(utf8ToWireText("\xC3\xBE\xC3\xBF\xE2\x82\xAC\xC3"), "????");
    EXPECT_EQ(utf8ToWireText(std::string(300, 'x')).size(), kMaxTextLength);
    EXPECT_EQ(cutUtf8("\xC3\xA9\xC3\xA9\xC3\xA9", 2), "\xC3\xA9\xC3\xA9");
}

TEST(WirePlayerId, NameReservedAndVersionAndAVersionThatIsNoNumber) {
    EXPECT_EQ(buildPlayerId("Ann"), std::string("Ann\xFE\xFE"
                                                "415"));
    const PlayerId ok = parsePlayerId(std::string("Ann\xFEzz\xFE"
                                                  "415\xFF"));
    EXPECT_EQ(ok.name, "Ann");
    EXPECT_TRUE(ok.sameVersion);
    EXPECT_FALSE(parsePlayerId(std::string("Ann\xFE\xFE"
                                           "414\xFF"))
                     .sameVersion);
    EXPECT_FALSE(parsePlayerId(std::string("Ann\xFE\xFE"
                                           "abc\xFF"))
                     .sameVersion);
    EXPECT_EQ(parsePlayerId(std::string(400, 'n') + "\xFE\xFE" + "415").name.size(), 255u);
}

TEST(WireDeal, RoundTripsAndRefusesAnythingButAWholePermutation) {
    Random rng(3);
    GameState g;
    buildDeck(g, rng, computeLayout(0));
    const std::string payload = buildDeal(g.stock, true);
    ASSERT_EQ(payload.size(), 109u);
    EXPECT_EQ(payload[0], '1');
    const auto order = parseDeal(payload);
    ASSERT_TRUE(order);
    EXPECT_TRUE(order->senderStarts);
    for (int i = 0; i < kDeckSize; ++i) {
        EXPECT_EQ(order->stock[static_cast<std::size_t>(i)].face, g.stock.at(i).face);
        EXPECT_EQ(order->stock[static_cast<std::size_t>(i)].deck, g.stock.at(i).deck);
    }

    EXPECT_FALSE(parseDeal(payload.substr(0, 108)));
    EXPECT_FALSE(parseDeal(payload + "x"));
    std::string starter = payload;
    starter[0] = '2';
    EXPECT_FALSE(parseDeal(starter));
    std::string twice = payload;
    twice[2] = twice[1];
    EXPECT_FALSE(parseDeal(twice));
    std::string zero = payload;
    zero[5] = 0;
    EXPECT_FALSE(parseDeal(zero));
}

TEST(WireRules, ValuesReadAsTheDifferencesListShowsThem) {
    RuleSettings r;
    r.cardsDrawn = 2;
    const std::string text = buildRules(r);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\xFE'), 12);
    EXPECT_EQ(parseRules(text), r);

    // A count of 99 is "Two", not 99 cards a turn; anything but "T" is no.
    const RuleSettings odd = parseRules("X\xFE"
                                        "99\xFE"
                                        "99");
    EXPECT_EQ(odd.cardsDrawn, 2);
    EXPECT_EQ(odd.velnorasToGoOut, 2);
    EXPECT_FALSE(odd.velnoraRequired);

    RuleSettings one = r;
    one.cardsDrawn = 1;
    const auto rows = ruleDifferences(buildRules(one), buildRules(r));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].name, "Number of Cards drawn each turn");
    EXPECT_EQ(rows[0].local, "One");
    EXPECT_EQ(rows[0].remote, "Two");
}

// A table sent and taken over is the sender's with the seats exchanged.
TEST(WireLoadGame, TakenOverTableIsTheSendersWithSeatsExchanged) {
    NetTable sender;
    sender.connectAndDeal(true);
    const std::string payload = buildLoadGame(sender.game.state, sender.game.layout);
    const auto table = parseLoadGame(payload);
    ASSERT_TRUE(table);
    std::string why;
    auto taken = tableFromPartner(*table, sender.game.layout, why);
    ASSERT_TRUE(taken) << why;
    exchangeSeats(*taken);
    EXPECT_EQ(taken->stock, sender.game.state.stock);
    EXPECT_EQ(taken->discardPile, sender.game.state.discardPile);
    EXPECT_EQ(taken->playerHand.count, sender.game.state.playerHand.count);
    EXPECT_EQ(taken->opponentHand.count, sender.game.state.opponentHand.count);
    EXPECT_EQ(taken->opponentMelds, sender.game.state.opponentMelds);
    EXPECT_EQ(taken->playerMelds, sender.game.state.playerMelds);
}

TEST(WireLoadGame, BrokenGroupsAreRefusedWithoutLooping) {
    NetTable sender;
    sender.connectAndDeal(true);
    const std::string good = buildLoadGame(sender.game.state, sender.game.layout);
    ASSERT_TRUE(parseLoadGame(good));
    // The last value without its blank would leave NextWord with nothing to take.
    EXPECT_FALSE(parseLoadGame(good.substr(0, good.size() - 1)));
    EXPECT_FALSE(parseLoadGame(good.substr(0, good.size() / 2)));
    EXPECT_FALSE(parseLoadGame(std::string(12, '\xFE') + "0 0 0 0 0 0 "));
    std::string badPrompt = good;
    // The final group: frozen, prompt, opponent prompt, points, totals.
    const std::size_t last = badPrompt.rfind('\xFE') + 1;
    const std::string head = badPrompt.substr(0, last);
    EXPECT_FALSE(parseLoadGame(head + "0 12 8 0 0 0 "));
    // Totals and meld points within the saved game's bounds only: later additions would
    // overflow a signed int.
    EXPECT_TRUE(parseLoadGame(head + "0 0 8 2000 -1000000 1000000 "));
    EXPECT_FALSE(parseLoadGame(head + "0 0 8 2001 0 0 "));
    EXPECT_FALSE(parseLoadGame(head + "0 0 8 -1 0 0 "));
    EXPECT_FALSE(parseLoadGame(head + "0 0 8 0 2147483647 0 "));
    EXPECT_FALSE(parseLoadGame(head + "0 0 8 0 0 -1000001 "));
}

// Every move goes out as the protocol spells it and reads back as the same move.
TEST(WireMoves, EveryMoveEncodesToItsBytesAndDecodesBack) {
    const Pile noStock;
    const std::vector<std::pair<Move, std::string>> cases = {
        {Move::of(MoveKind::newGame), std::string("NEWGAME\xFE\xFF", 9)},
        {Move::of(MoveKind::draw), std::string("DRAWNEW\xFE\xFF", 9)},
        {Move::of(MoveKind::takeTopCard), std::string("DRAWPILETOP\xFE\xFF", 13)},
        {Move::of(MoveKind::takePile), std::string("DRAWPILEREST\xFE\xFF", 14)},
        {Move::of(MoveKind::undoTakePile), std::string("UNDOPILE\xFE\xFF", 10)},
        {Move::withFace(MoveKind::meld, 12), std::string("MELD\xFE"
                                                         "12\xFF")},
        {Move::meldWildcardAt(53, 9), std::string("MELDWILDCARD\xFE"
                                                  "53\xFE"
                                                  "9\xFF")},
        {Move::undoMeldAt(9, 41), std::string("UNDO\xFE"
                                              "9\xFE"
                                              "41\xFF")},
        {Move::withFace(MoveKind::discard, 50), std::string("DISCARD\xFE"
                                                            "50\xFF")},
        {Move::withFace(MoveKind::discardRedThree, 29), std::string("DISCARDREDTHREE\xFE"
                                                                    "29\xFF")},
        {Move::of(MoveKind::pass), std::string("PASSDISCARD\xFE\xFF", 13)},
        {Move::of(MoveKind::endHand), std::string("HANDOVER\xFE\xFF", 10)},
    };
    for (const auto& [move, bytes] : cases) {
        EXPECT_EQ(encodeMove(move, noStock), bytes);
        std::string rest = bytes;
        const Token token = TokenNumber(NextField(rest));
        std::string why;
        const auto back = decodeMove(token, rest, why);
        ASSERT_TRUE(back) << bytes << ": " << why;
        EXPECT_EQ(*back, move) << bytes;
    }
    std::string rest = "PLAYERID";
    std::string why;
    EXPECT_FALSE(decodeMove(Token::playerId, rest, why));
}
