#include "net_fixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

using namespace velnora;
using namespace velnora::net;
using velnora::test::msg;
using velnora::test::NetTable;

namespace {
int lastFace(const Pile& p, int face) {
    for (int i = p.count - 1; i >= 0; --i)
        if (p.at(i).face == face) return i;
    return -1;
}
} // namespace

// Receiving and dispatching

TEST(SessionReceive, TwoMessagesInOneReadAreBothDispatchedInOrder) {
    NetTable t;
    t.connect();
    t.feed(msg("CHAT", "Rita: one") + msg("CHAT", "Rita: two"));
    EXPECT_EQ(t.events.chats, (std::vector<std::string>{"Rita: one", "Rita: two"}));
}

TEST(SessionReceive, AMessageSplitAnywhereIsDispatchedOnlyAtItsTerminator) {
    const std::string bytes = msg("CHAT", "Rita: hello");
    for (std::size_t cut = 1; cut < bytes.size(); ++cut) {
        NetTable t;
        t.connect();
        t.feed(bytes.substr(0, cut));
        EXPECT_TRUE(t.events.chats.empty());
        t.feed(bytes.substr(cut));
        EXPECT_EQ(t.events.chats, std::vector<std::string>{"Rita: hello"}) << cut;
    }
}

TEST(SessionReceive, AnUnknownTokenIsReportedWithTheWholeMessage) {
    NetTable t;
    t.connect();
    t.feed(msg("FOO", "x"));
    ASSERT_EQ(t.events.errors.size(), 1u);
    // The delimiters show as the Latin-1 letters they are.
    EXPECT_EQ(t.events.errors[0], "Unknown token: FOO\xC3\xBEx\xC3\xBF");
}

TEST(SessionReceive, ACallerThatHasNotIdentifiedItselfOpensNoBox) {
    NetTable t;
    t.session.connectionOpened(net::NetRole::server, "Me");
    t.feed(msg("GET / HTTP/1.0", "x"));
    t.feed(msg("DISCARD", "5"));
    EXPECT_TRUE(t.events.errors.empty());
    EXPECT_TRUE(t.events.stepReports.empty());
}

TEST(SessionReceive, ADealArrivingWhileTheHandsResultIsShownWaitsForTheDialogs) {
    NetTable t;
    t.connectAndDeal(false);
    Random shuffle(9);
    GameState dealer;
    buildDeck(dealer, shuffle, t.game.layout);
    const Pile before = t.game.state.playerHand;
    t.host.holdNetworkMessages(true); // the end of hand opens its dialogs
    t.feed(msg("DEAL", buildDeal(dealer.stock, false)));
    EXPECT_EQ(t.game.state.playerHand, before);
    t.host.holdNetworkMessages(false);
    EXPECT_TRUE(t.host.releaseDue);
    t.session.dispatchPending();
    EXPECT_NE(t.game.state.playerHand, before);
    EXPECT_EQ(t.game.state.stock.count + t.game.state.discardPile.count +
                  t.game.state.playerHand.count + t.game.state.opponentHand.count +
                  t.game.state.playerMelds.count + t.game.state.opponentMelds.count,
              kDeckSize);
}

// Mend 1: an unfinished message may not grow without bound.
TEST(SessionMends, AnEndlessMessageOverflowsInsteadOfFillingMemory) {
    NetTable t;
    t.connect();
    const std::string chunk(4096, 'a');
    for (int i = 0; i < 15; ++i)
        t.feed(chunk);
    EXPECT_EQ(t.events.overflows, 0);
    t.feed(chunk + chunk);
    EXPECT_EQ(t.events.overflows, 1);
    EXPECT_EQ(t.session.buffered(), 0u);
    // Nothing more is taken from this connection.
    t.feed(msg("CHAT", "Rita: late"));
    EXPECT_TRUE(t.events.chats.empty());
}

TEST(SessionMends, CompleteMessagesHeldTooLongOverflowTheWholeBuffer) {
    NetTable t;
    t.connect();
    t.session.setDispatchHeld(true);
    const std::string line = msg("CHAT", std::string(250, 'z'));
    for (int i = 0; i < 5000 && t.events.overflows == 0; ++i)
        t.feed(line);
    EXPECT_EQ(t.events.overflows, 1);
    EXPECT_LE(t.session.buffered(), NetSession::kMaxBufferBytes);
}

// Mend 2: what is left in a message after its handler never becomes a second message.
TEST(SessionMends, AFullHeldBufferIsDispatchedInLinearTime) {
    NetTable t;
    t.connect();
    t.session.setDispatchHeld(true);
    // Small messages up to the buffer's limit, as a partner's burst during the end-of-hand
    // dialogs could leave them.
    const std::string one = msg("OK");
    std::string burst;
    while (burst.size() + one.size() < NetSession::kMaxBufferBytes)
        burst += one;
    t.feed(burst);
    ASSERT_EQ(t.session.buffered(), burst.size());
    t.session.setDispatchHeld(false);
    const auto start = std::chrono::steady_clock::now();
    t.session.dispatchPending();
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(t.session.buffered(), 0u);
    // Erasing each message from the front took seconds here; one pass takes milliseconds.
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(took).count(), 500);
    std::printf("dispatched %zu messages in %lld ms\n", burst.size() / one.size(),
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
}

TEST(SessionMends, AChatLineCarryingADiscardPlaysNoCard) {
    NetTable t;
    t.connectAndDeal(true);
    t.feed(msg("DRAWNEW"));
    const int face = t.game.state.opponentHand.at(0).face;
    const int hand = t.game.state.opponentHand.count;
    t.feed(std::string("CHAT\xFERita: hi\xFE"
                       "DISCARD\xFE") +
           std::to_string(face) + "\xFF");
    EXPECT_EQ(t.events.chats, std::vector<std::string>{"Rita: hi"});
    EXPECT_EQ(t.game.state.opponentHand.count, hand);
    EXPECT_TRUE(t.events.stepReports.empty());
}

TEST(SessionMends, OwnChatLinesNeverCarryTheDelimiters) {
    NetTable t;
    t.connect();
    const std::string shown = t.session.sendChat("\xC3\xBE\xC3\xBF ok");
    EXPECT_EQ(shown, "Me: ?? ok");
    EXPECT_EQ(t.events.written, msg("CHAT", "Me: ?? ok"));
}

// Mend 3: a read that arrives while a handler's message box is open is not dispatched inside it.
TEST(SessionMends, NoDispatchInsideAnotherDispatch) {
    NetTable t;
    t.connect();
    bool insideError = false;
    std::vector<bool> chatInsideError;
    t.events.duringError = [&] {
        insideError = true;
        t.feed(msg("CHAT", "Rita: meanwhile"));
        chatInsideError.push_back(!t.events.chats.empty());
        insideError = false;
    };
    t.feed(msg("BOGUS"));
    EXPECT_EQ(chatInsideError, std::vector<bool>{false});
    EXPECT_EQ(t.events.chats, std::vector<std::string>{"Rita: meanwhile"});
}

// Mend 4: a deal that is not a whole shuffled deck changes nothing.
TEST(SessionMends, ABrokenDealIsRefusedAndTheTableStays) {
    NetTable t;
    t.connectAndDeal(true);
    const GameState before = t.game.state;
    std::string shortDeal(108, '\x01');
    t.feed(msg("DEAL", "1" + shortDeal));
    std::string repeated = "0";
    for (int i = 0; i < kDeckSize; ++i)
        repeated += static_cast<char>(1 + i % 100);
    t.feed(msg("DEAL", repeated));
    EXPECT_EQ(t.events.errors.size(), 2u);
    EXPECT_TRUE(t.game.state == before);
}

// Mend 5: a move that does not fit the table changes nothing and is reported as out of step.
TEST(SessionMends, MovesThatDoNotFitTheTableChangeNothing) {
    NetTable t;
    t.connectAndDeal(true); // Rita draws first
    GameState before = t.game.state;
    t.feed(msg("UNDOPILE"));     // no pile taken
    t.feed(msg("MELD", "5"));    // before drawing
    t.feed(msg("DRAWPILEREST")); // no top card taken
    EXPECT_EQ(t.events.stepReports.size(), 3u);
    EXPECT_TRUE(t.game.state == before);

    t.feed(msg("DRAWNEW"));
    before = t.game.state;
    t.feed(msg("MELD", "54")); // no card has face 54
    t.feed(msg("DISCARD", "55"));
    const int natural = t.game.state.opponentHand.at(0).face;
    t.feed(
        msg("MELDWILDCARD", std::to_string(isWild(rankOf(natural)) ? 5 : natural) + "\xFE" + "5"));
    int absent = 1;
    while (lastFace(t.game.state.opponentHand, absent) >= 0)
        ++absent;
    t.feed(msg("DISCARD", std::to_string(absent))); // a card Rita does not hold
    t.feed(msg("DISCARDREDTHREE", "5"));            // not a red three
    EXPECT_EQ(t.events.stepReports.size(), 8u);
    EXPECT_TRUE(t.events.errors.empty());
    EXPECT_TRUE(t.game.state == before);

    // Faces beyond 55 and columns beyond 13 are malformed, not merely out of step.
    t.feed(msg("MELD", "56"));
    t.feed(msg("MELDWILDCARD", "53\xFE"
                               "14"));
    EXPECT_EQ(t.events.errors.size(), 2u);
    EXPECT_TRUE(t.game.state == before);
}

TEST(SessionMends, DrawingFromAnEmptyStockIsOutOfStep) {
    NetTable t;
    t.connectAndDeal(true);
    GameState& g = t.game.state;
    while (!g.stock.empty())
        push(g.discardPile, pop(g.stock));
    const GameState before = g;
    t.feed(msg("DRAWNEW"));
    EXPECT_EQ(t.events.stepReports.size(), 1u);
    EXPECT_TRUE(t.game.state == before);
}

TEST(SessionMends, AMoveWhileItIsOurTurnIsOutOfStep) {
    NetTable t;
    t.connectAndDeal(false); // we draw first
    const GameState before = t.game.state;
    t.feed(msg("DRAWNEW"));
    t.feed(msg("PASSDISCARD"));
    EXPECT_EQ(t.events.stepReports.size(), 2u);
    EXPECT_TRUE(t.game.state == before);
}

// Mend 6: a table that does not hold the two decks is not taken over.
TEST(SessionMends, ALoadedTableMissingACardIsRefused) {
    NetTable sender;
    sender.connectAndDeal(true);
    std::string table = buildLoadGame(sender.game.state, sender.game.layout);
    // Drop the first card of the stock group: face, rank, points and deck.
    std::string rest = table;
    for (int i = 0; i < 4; ++i)
        NextWord(rest);
    NetTable t;
    t.connectAndDeal(false);
    const GameState before = t.game.state;
    t.feed(msg("LOADGAME", rest));
    EXPECT_EQ(t.events.errors.size(), 1u);
    EXPECT_EQ(t.events.tables, 0);
    EXPECT_TRUE(t.game.state == before);
    t.feed(msg("LOADGAME", table));
    EXPECT_EQ(t.events.tables, 1);
    EXPECT_TRUE(t.game.isConsistent());
}

// Mend 7: adopted rules are read as the list shows them.
TEST(SessionMends, AdoptedCountsAreOneOrTwo) {
    NetTable t;
    t.connect();
    t.feed(msg("RULES", "T\xFE"
                        "99\xFE"
                        "99\xFE"
                        "F"));
    t.session.adoptOpponentRules();
    EXPECT_EQ(t.game.rules.cardsDrawn, 2);
    EXPECT_EQ(t.game.rules.velnorasToGoOut, 2);
    EXPECT_TRUE(t.game.rules.velnoraRequired);
    // The adopted rules are sent back and never stored.
    EXPECT_NE(t.events.written.find("RULES\xFE"), std::string::npos);
    t.session.connectionClosed();
    EXPECT_EQ(t.game.rules, RuleSettings{});
}

// Mend 8: the partner counts only after a valid identification.
TEST(SessionMends, TotalsAreClearedOnlyWhenTheClientIdentifies) {
    NetTable t;
    t.game.state.playerTotal = 2400;
    t.game.state.opponentTotal = 1800;
    t.session.connectionOpened(NetRole::server, "Me");
    // The server introduces itself at once.
    EXPECT_EQ(t.events.written, msg("PLAYERID", buildPlayerId("Me")));
    t.feed(msg("CHAT", "port scan"));
    EXPECT_TRUE(t.events.chats.empty());
    EXPECT_EQ(t.game.state.playerTotal, 2400);
    EXPECT_FALSE(t.game.options.networkGame);

    t.feed(msg("PLAYERID", buildPlayerId("Rita")));
    EXPECT_EQ(t.events.identified, std::vector<std::string>{"Rita"});
    EXPECT_TRUE(t.game.options.networkGame);
    EXPECT_EQ(t.game.state.playerTotal, 0);
    EXPECT_EQ(t.game.state.opponentTotal, 0);
    // The server deals the first hand.
    EXPECT_NE(t.events.written.find("DEAL\xFE"), std::string::npos);

    // A second identification on the same connection changes nothing.
    t.feed(msg("PLAYERID", buildPlayerId("Mallory")));
    EXPECT_EQ(t.game.options.remoteName, "Rita");
    EXPECT_EQ(t.events.identified.size(), 1u);
}

TEST(SessionMends, AnotherVersionStopsDispatchingAtOnce) {
    NetTable t;
    t.session.connectionOpened(NetRole::client, "Me");
    t.feed(msg("PLAYERID", "Rita\xFE\xFEv4") + msg("CHAT", "Rita: hi"));
    EXPECT_EQ(t.events.mismatches, 1);
    EXPECT_TRUE(t.events.chats.empty());
    EXPECT_FALSE(t.game.options.networkGame);
    EXPECT_EQ(t.events.written, "");
}

// Mend 11: a partial message older than a minute is dropped.
TEST(SessionMends, APartialMessageOlderThanAMinuteIsDropped) {
    NetTable t;
    t.connect();
    t.now = 1000;
    t.feed("CHAT\xFERita: hal");
    EXPECT_FALSE(t.session.dropStalePartial(1000 + 60000));
    EXPECT_TRUE(t.session.dropStalePartial(1000 + 60001));
    EXPECT_EQ(t.session.buffered(), 0u);
    // Complete messages before it are never dropped.
    t.session.setDispatchHeld(true);
    t.feed(msg("CHAT", "Rita: whole") + "CHAT\xFE");
    EXPECT_TRUE(t.session.dropStalePartial(t.now + 60001));
    t.session.setDispatchHeld(false);
    t.session.dispatchPending();
    EXPECT_EQ(t.events.chats, std::vector<std::string>{"Rita: whole"});
}

// The other side of the turn: applying the partner's moves.

TEST(SessionApply, ADealFromThePartnerGivesItsPlayerTheCardsItsOpponentGotThere) {
    NetTable t;
    t.connect();
    Random shuffle(7);
    GameState dealer;
    buildDeck(dealer, shuffle, t.game.layout);
    const Pile stock = dealer.stock;
    t.feed(msg("DEAL", buildDeal(stock, true)));
    // The dealer gives its opponent the first fifteen (after red threes); we take them.
    int next = stock.count - 1;
    int taken = 0;
    while (taken < 15) {
        const Card& c = stock.at(next--);
        if (!isRedThree(c.face)) ++taken;
        EXPECT_TRUE(
            lastFace(isRedThree(c.face) ? t.game.state.playerMelds : t.game.state.playerHand,
                     c.face) >= 0);
    }
    EXPECT_EQ(t.game.state.promptState, kPromptOpponentsTurn);
    EXPECT_EQ(t.game.state.opponentPromptState, kPromptDraw);
    EXPECT_TRUE(t.game.state.inputBlocked);
}

// The melds made while taking the pile go back with it, and so do their points.
namespace {
// Rita and we each play a turn of drawing and discarding; then it is Rita's draw again, with a
// pile of at least two cards.
void playATurnEach(NetTable& t) {
    t.connectAndDeal(true);
    GameState& g = t.game.state;
    t.feed(msg("DRAWNEW"));
    t.feed(msg("DISCARD", std::to_string(g.opponentHand.at(0).face)));
    ASSERT_EQ(g.promptState, kPromptDraw);
    t.game.drawFromStock();
    ASSERT_TRUE(t.game.discard(0));
}
} // namespace

TEST(SessionApply, GivingBackThePileRestoresRitasSideAndCostsFifty) {
    NetTable t;
    playATurnEach(t);
    GameState& g = t.game.state;
    ASSERT_EQ(g.promptState, kPromptOpponentsTurn);

    const GameState atStart = g;
    t.feed(msg("DRAWPILETOP"));
    int natural = -1;
    for (int i = 0; i < g.opponentHand.count && natural < 0; ++i)
        if (g.opponentHand.at(i).rank() > kRankThree) natural = g.opponentHand.at(i).face;
    ASSERT_GT(natural, 0);
    t.feed(msg("MELD", std::to_string(natural)));
    ASSERT_GT(g.opponentMeldPoints, atStart.opponentMeldPoints);
    t.feed(msg("UNDOPILE"));
    EXPECT_TRUE(t.events.stepReports.empty());
    EXPECT_EQ(g.opponentTotal, atStart.opponentTotal - 50);
    EXPECT_EQ(g.discardPile, atStart.discardPile);
    EXPECT_EQ(g.opponentHand, atStart.opponentHand);
    EXPECT_EQ(g.opponentMelds, atStart.opponentMelds);
    EXPECT_EQ(g.opponentMeldPoints, atStart.opponentMeldPoints);
    EXPECT_EQ(g.opponentPromptState, kPromptDraw);
}

namespace {
// Moves a card of the rank from the stock into Rita's hand; its face, or -1 when none is left.
int giveRita(NetTable& t, int rank) {
    GameState& g = t.game.state;
    for (int i = g.stock.count - 1; i >= 0; --i) {
        if (g.stock.at(i).rank() != rank || isRedThree(g.stock.at(i).face)) continue;
        const Card card = removeAt(g.stock, i);
        t.game.opponentAddCard(card, false);
        return card.face;
    }
    return -1;
}
} // namespace

// Rita undoes the fourth natural that made an eight-card column a velnora: her copy dissolved
// it, so this copy must too, or the two count different velnoras from then on.
TEST(SessionApply, UndoingTheNaturalThatCompletedAnEightCardVelnoraDissolvesIt) {
    NetTable t;
    t.connectAndDeal(true);
    GameState& g = t.game.state;
    t.feed(msg("DRAWNEW"));
    const int rank = 9;
    std::vector<int> naturals, wilds;
    for (int k = 0; k < 4; ++k) {
        naturals.push_back(giveRita(t, rank));
        wilds.push_back(giveRita(t, k < 2 ? kRankJoker : kRankTwo));
    }
    for (int k = 0; k < 3; ++k)
        t.feed(msg("MELD", std::to_string(naturals[static_cast<std::size_t>(k)])));
    for (int w : wilds)
        t.feed(msg("MELDWILDCARD", std::to_string(w) + "\xFE" + std::to_string(rank)));
    ASSERT_EQ(g.opponentVelnoras.velnoraCount, 0); // seven cards, three naturals
    t.feed(msg("MELD", std::to_string(naturals[3])));
    ASSERT_EQ(g.opponentVelnoras.velnoraCount, 1);

    t.feed(msg("UNDO", std::to_string(rank) + "\xFE" + std::to_string(naturals[3])));
    EXPECT_TRUE(t.events.stepReports.empty());
    EXPECT_EQ(g.opponentVelnoras.velnoraCount, 0);
    EXPECT_EQ(g.opponentVelnoras.velnoraKind[rank], kNoVelnora);
    // The column is laid open again, one card a step up from the meld row.
    int lowest = t.game.layout.opponentMeldsY;
    for (const Card& c : g.opponentMelds)
        if (columnOf(c.x, t.game.layout) == rank) lowest = std::min(lowest, c.y);
    EXPECT_EQ(lowest, t.game.layout.opponentMeldsY - 7 * kColumnStep);
    std::string why;
    EXPECT_TRUE(t.game.isConsistent(&why)) << why;
}

// What Rita takes with the rest of the pile was seen on this table: the hint must not deal it anew.
TEST(SessionApply, CardsTakenWithTheRestOfThePileAreKnownToTheHint) {
    NetTable t;
    playATurnEach(t);
    GameState& g = t.game.state;
    const Pile pileBefore = g.discardPile;
    ASSERT_GE(pileBefore.count, 2);

    t.feed(msg("DRAWPILETOP"));
    t.feed(msg("DRAWPILEREST"));
    ASSERT_TRUE(t.events.stepReports.empty());
    int expected = 0;
    for (int i = 0; i + 1 < pileBefore.count; ++i)
        if (!isRedThree(pileBefore.at(i).face)) {
            ++expected;
            EXPECT_GE(lastFace(g.knownOpponentCards, pileBefore.at(i).face), 0);
        }
    EXPECT_EQ(g.knownOpponentCards.count, expected);
}

// The partner leaves

namespace {
// The computer at the stored level, as far as the session can tell: it counts its turns and
// plays each as a whole draw and discard.
class ComputerStandIn : public OpponentDriver {
public:
    int turns = 0;
    void startTurn(Game& game) override {
        ++turns;
        game.opponentDraw();
        game.opponentLayOnPile(game.opponentRemoveCard(0));
        game.endOpponentTurn();
    }
};
} // namespace

TEST(SessionPlayOn, APartnerWhoLeavesInItsTurnHasItTakenBackAndPlayedByTheComputer) {
    for (const bool takesPile : {false, true}) {
        NetTable t;
        ComputerStandIn computer;
        t.game.setOpponentDriver(&computer);
        playATurnEach(t);
        const GameState start = t.game.state;
        t.feed(msg(takesPile ? "DRAWPILETOP" : "DRAWNEW"));
        ASSERT_TRUE(t.game.opponentHasDrawn());
        t.session.connectionClosed();
        ASSERT_TRUE(t.session.playOnWithoutPartner());
        EXPECT_EQ(computer.turns, 1);
        // The computer drew the card the partner had drawn: its turn began where the partner's
        // did.
        EXPECT_EQ(t.game.state.opponentHand.count, start.opponentHand.count);
        EXPECT_EQ(t.game.state.stock.count, start.stock.count - 1);
        EXPECT_EQ(t.game.state.discardPile.count, start.discardPile.count + 1);
        EXPECT_EQ(t.game.state.opponentMelds, start.opponentMelds);
        EXPECT_EQ(t.game.state.promptState, kPromptDraw);
        EXPECT_FALSE(t.game.state.inputBlocked);
        EXPECT_TRUE(t.game.isConsistent());
    }
}

TEST(SessionPlayOn, OnlyATableWaitingForThePartnerIsPlayedOn) {
    NetTable t;
    ComputerStandIn computer;
    t.game.setOpponentDriver(&computer);
    t.connectAndDeal(false); // our draw
    t.session.connectionClosed();
    EXPECT_FALSE(t.session.playOnWithoutPartner());
    EXPECT_EQ(computer.turns, 0);
    EXPECT_EQ(t.game.state.promptState, kPromptDraw);
}

// The first freeze of a hand

namespace {
// Rita's rules: ours with "Discard Pile initially frozen" the other way round.
std::string ritasRules(const NetTable& t) {
    RuleSettings r = t.game.rules;
    r.initialBlock = !r.initialBlock;
    return msg("RULES", buildRules(r));
}
bool turnedUpFreeze(const GameState& g) {
    for (const Card& c : g.discardPile)
        if (isWild(c.rank()) || isRedThree(c.face)) return true;
    return false;
}
} // namespace

TEST(SessionDeal, TheDealersInitialFreezeDecidesWhicheverOfDealAndRulesComesFirst) {
    for (const bool rulesFirst : {true, false}) {
        NetTable t;
        t.connect();
        const bool ritas = !t.game.rules.initialBlock;
        if (rulesFirst) t.feed(ritasRules(t));
        Random shuffle(7);
        GameState dealer;
        buildDeck(dealer, shuffle, t.game.layout);
        t.feed(msg("DEAL", buildDeal(dealer.stock, true)));
        ASSERT_FALSE(turnedUpFreeze(t.game.state)) << "pick a shuffle that turns up a plain card";
        if (!rulesFirst) t.feed(ritasRules(t));
        EXPECT_EQ(t.game.state.pileFrozen != 0, ritas) << rulesFirst;
        // Our own rules stay ours.
        EXPECT_EQ(t.game.rules.initialBlock, !ritas);
    }
}

TEST(SessionDeal, RulesArrivingAfterTheFirstMoveLeaveTheFreezeAlone) {
    NetTable t;
    t.connectAndDeal(true);
    const std::uint8_t frozen = t.game.state.pileFrozen;
    t.feed(msg("DRAWNEW"));
    t.feed(ritasRules(t));
    EXPECT_EQ(t.game.state.pileFrozen, frozen);
}

// Our own Rules dialog in a network hand: the new rule waits for the next deal, since the
// partner's table keeps the freeze the dealer decided.
TEST(SessionDeal, OurRulesChangedInAHandLeaveItsFreezeAlone) {
    NetTable t;
    t.connectAndDeal(true);
    const std::uint8_t frozen = t.game.state.pileFrozen;
    RuleSettings changed = t.game.rules;
    changed.initialBlock = !changed.initialBlock;
    t.game.setRules(changed);
    EXPECT_EQ(t.game.state.pileFrozen, frozen);
    EXPECT_EQ(t.game.rules.initialBlock, changed.initialBlock);
}

TEST(SessionDeal, TheServerDealsBeforeItSendsItsRules) {
    NetTable t;
    t.session.connectionOpened(NetRole::server, "Me");
    t.feed(msg("PLAYERID", buildPlayerId("Rita")));
    const std::size_t deal = t.events.written.find("DEAL\xFE");
    const std::size_t rules = t.events.written.find("RULES\xFE");
    ASSERT_NE(deal, std::string::npos);
    ASSERT_NE(rules, std::string::npos);
    EXPECT_LT(deal, rules);
}
