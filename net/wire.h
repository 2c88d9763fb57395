#pragma once
// The wire format two copies speak: messages of token, 0xFE, payload, 0xFF; the token table;
// the field readers; and the builders and parsers of every payload. Plain bytes in and out, no
// sockets, so every function can be fed arbitrary input by tests and the fuzzer.

#include "game_state.h"
#include "rules.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velnora::net {

constexpr char kFieldSeparator = '\xFE';
constexpr char kTerminator = '\xFF';
constexpr int kProtocolVersion = 415;
// Names and chat lines never exceed this on the wire.
constexpr std::size_t kMaxTextLength = 255;

// Token numbers: the index in the token table, in the order every peer uses.
enum class Token : int {
    ok = 0,
    sendAgain = 1,
    quit = 2,
    chat = 3,
    playerId = 4,
    deal = 5,
    meld = 6,
    undo = 7,
    discard = 8,
    drawNew = 9,
    drawPileTop = 10,
    drawPileRest = 11,
    undoPile = 12,
    meldWildcard = 13,
    discardRedThree = 14,
    passDiscard = 15,
    rules = 16,
    newGame = 17,
    handOver = 18,
    unknown = 19,
    loadGame = 20,
};
constexpr int kTokenCount = 21;

// The text of a token ("DRAWNEW").
const char* tokenText(Token token);
// The number of the token whose text equals `text` exactly; Token::unknown when none does.
Token TokenNumber(std::string_view text);

// One message as it goes on the wire: token, 0xFE, payload, 0xFF.
std::string frameMessage(std::string_view token, std::string_view payload);

// Removes and returns the text up to the first 0xFE or 0xFF and that delimiter; with neither,
// returns the whole text and leaves it empty.
std::string NextField(std::string& text);
// Removes and returns the text up to the first blank and the blank; with no blank, returns ""
// and leaves the text unchanged.
std::string NextWord(std::string& text);
// A decimal number in shortest form with an optional "-"; nothing else is a number.
std::optional<int> parseNumber(std::string_view text);

// Text conversion: the wire is 8-bit Latin-1, the program's strings are UTF-8.
std::string latin1ToUtf8(std::string_view latin1);
// UTF-8 to Latin-1 for sending: characters Latin-1 cannot hold, broken sequences and the two
// delimiter bytes become "?", and the result is cut to `limit` characters.
std::string utf8ToWireText(std::string_view utf8, std::size_t limit = kMaxTextLength);
// The first `limit` characters of a UTF-8 text.
std::string cutUtf8(std::string_view utf8, std::size_t limit);

// PLAYERID: name 0xFE reserved 0xFE version.
struct PlayerId {
    std::string name;         // UTF-8, at most 255 characters
    bool sameVersion = false; // the version field reads as the number 415
};
std::string buildPlayerId(std::string_view utf8Name);
PlayerId parsePlayerId(std::string payload);

// DEAL: the sender's starter digit, then per canonical card its stock position plus one.
std::string buildDeal(const Pile& stock, bool senderStarts);
struct DealOrder {
    bool senderStarts = false;
    // stock[i] is the card at stock position i, face and deck set.
    std::array<Card, kDeckSize> stock{};
};
// Nothing unless the payload is exactly the digit and 108 bytes forming a permutation of 1..108.
std::optional<DealOrder> parseDeal(std::string_view payload);

// RULES: the thirteen values separated by 0xFE.
std::string buildRules(const RuleSettings& rules);
// Values read the way the rule-differences list shows them: "T" is yes, anything else no; "1"
// is one, anything else two. Missing values read as "".
RuleSettings parseRules(std::string_view payload);
// The thirteen values of a rules text, each "" when missing.
std::array<std::string, 13> ruleValues(std::string_view payload);

// One row of the rule-differences list.
struct RuleDifference {
    std::string name;   // "Number of Cards drawn each turn"
    std::string local;  // "One"
    std::string remote; // "Two"
};
// Rows for the rules whose texts differ, in the order of the rules text.
std::vector<RuleDifference> ruleDifferences(std::string_view localRules,
                                            std::string_view remoteRules);

// Move payloads: a face; a face and a column; a column and a face.
std::string buildFace(int face);
std::string buildMeldWildcard(int face, int column);
std::string buildUndo(int column, int face);

// LOADGAME: the sender's table in its own seats (the receiver exchanges them).
std::string buildLoadGame(const GameState& g, const Layout& layout);
// The lists of a LOADGAME as sent: cards carry face, deck, and for wildcards in a column list
// the transmitted column (-1 otherwise); positions are the receiver's business.
struct WireCard {
    int face = 0;
    int deck = 0;
    int column = -1;
};
struct LoadedTable {
    std::array<std::vector<WireCard>, 9> lists; // stock, oppHand, discard, discardSnap,
                                                // oppMelds, playerHand, playerMelds, two snaps
    std::array<VelnoraTally, 3> tallies;        // player, opponent, player snapshot
    bool pileFrozen = false;
    int promptState = 0;
    int opponentPromptState = 0;
    int playerMeldPoints = 0;
    int playerTotal = 0;
    int opponentTotal = 0;
};
// Nothing when a group is missing or a value is not a number or out of range; the card
// counts and faces are checked by the session when it builds the table.
std::optional<LoadedTable> parseLoadGame(std::string payload);

} // namespace velnora::net
