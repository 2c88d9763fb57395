// The match record's text: one line per item, the moves under the wire's token names.
//
//   VELNORA MATCH RECORD 1
//   RULES F 1 1 T T T T T T F F T F
//   PLAYER Anna
//   OPPONENT Computer
//   LEVEL Expert
//   HAND 120 85 HERE PLAYER FROZEN
//   DECK 12.0 53.1 ...            (108 cards, face.deck, the top of the stock last)
//   P DRAWNEW
//   O MELD 23.1                   (face.deck)
//   P MELDWILDCARD 53.0 7         (face.deck, column)
//   O UNDO 7 23.1                 (column, face.deck)
//   SCORE 3 35 ... 410 | 0 0 ... -55   (the twelve values of each seat)

#include "match_record.h"

#include "move_codec.h"
#include "wire.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace velnora::net {

namespace {

constexpr std::string_view kHeader = "VELNORA MATCH RECORD 1";
// Far beyond any real match; a hostile file cannot make the loader hold more.
constexpr std::size_t kMaxHands = 2000;
constexpr std::size_t kMaxMovesPerHand = 20000;
constexpr std::size_t kMaxNameLength = 200;

bool hasFace(MoveKind kind) {
    return kind == MoveKind::meld || kind == MoveKind::meldWildcard || kind == MoveKind::undoMeld ||
           kind == MoveKind::discard || kind == MoveKind::discardRedThree;
}

// Reads the words of one line.
std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ')
            ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ')
            ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

bool number(std::string_view text, long long low, long long high, long long& out) {
    if (text.empty() || text.size() > 12) return false;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end && out >= low && out <= high;
}

// "face.deck" (a deck of 0 or 1), or a bare face when allowBare; a move's card may add
// "@place" (a place in a pile).
bool cardField(std::string_view text, int& face, int& deck, bool allowBare, int* place = nullptr) {
    if (const std::size_t at = text.find('@'); at != std::string_view::npos) {
        long long p = 0;
        if (!place || !number(text.substr(at + 1), 0, kDeckSize - 1, p)) return false;
        *place = static_cast<int>(p);
        text = text.substr(0, at);
    }
    const std::size_t dot = text.find('.');
    long long f = 0, d = -1;
    if (dot == std::string_view::npos) {
        if (!allowBare) return false;
    } else if (!number(text.substr(dot + 1), 0, 1, d)) {
        return false;
    }
    if (!number(text.substr(0, dot), 1, kJokerFace, f)) return false;
    face = static_cast<int>(f);
    deck = static_cast<int>(d);
    return true;
}

std::string levelWord(const std::string& level) {
    // One word on its line; a name the loader would not read back is no level.
    for (const char* known : {"Beginner", "Advanced", "Expert", "Master", "Network"})
        if (level == known) return level;
    return "Unknown";
}

} // namespace

// Recording

void MatchRecorder::handDealt(const DealtHand& deal) {
    if (record.hands.capacity() == 0) record.hands.reserve(16);
    record.hands.emplace_back().deal = deal;
    record.hands.back().moves.reserve(128);
}

void MatchRecorder::moveMade(Seat seat, const Move& move) {
    // Moves before the first deal of a record belong to no hand of it.
    if (record.hands.empty()) return;
    record.hands.back().moves.push_back({seat, move});
}

void MatchRecorder::handScored(const HandReport& report) {
    if (record.hands.empty()) return;
    RecordedHand& hand = record.hands.back();
    hand.scored = true;
    hand.player = report.player;
    hand.opponent = report.opponent;
    if (onHandScored) onHandScored(record);
}

void MatchRecorder::matchStarted() {
    if (onMatchStarted && !record.hands.empty()) onMatchStarted(record);
    record.hands.clear();
}

// The text

namespace {
// Appends numbers without a stream: records are written at every hand's end.
void appendNumber(std::string& out, long long v) {
    char buf[24];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, end);
}

void appendCard(std::string& out, int face, int deck, int place) {
    appendNumber(out, face);
    if (deck >= 0) {
        out += '.';
        appendNumber(out, deck);
    }
    if (place >= 0) {
        out += '@';
        appendNumber(out, place);
    }
}
} // namespace

std::string formatRecord(const MatchRecord& r) {
    std::string out;
    std::size_t moves = 0;
    for (const RecordedHand& h : r.hands)
        moves += h.moves.size();
    out.reserve(200 + r.hands.size() * 700 + moves * 16);
    out += kHeader;
    out += "\nRULES";
    for (const std::string& v : ruleValues(buildRules(r.rules))) {
        out += ' ';
        out += v;
    }
    out += "\nPLAYER " + r.playerName + "\nOPPONENT " + r.opponentName + "\nLEVEL " +
           levelWord(r.level) + "\n";
    const RuleSettings* inForce = &r.rules;
    for (const RecordedHand& h : r.hands) {
        const DealtHand& d = h.deal;
        if (!(d.rules == *inForce)) {
            // Rules changed between hands are written where they took effect.
            out += "RULES";
            for (const std::string& v : ruleValues(buildRules(d.rules))) {
                out += ' ';
                out += v;
            }
            out += '\n';
            inForce = &d.rules;
        }
        out += "HAND ";
        appendNumber(out, d.playerTotal);
        out += ' ';
        appendNumber(out, d.opponentTotal);
        out += d.dealtHere ? " HERE" : " PARTNER";
        out += d.playerStarts ? " PLAYER" : " OPPONENT";
        out += d.initialFreeze ? " FROZEN\nDECK" : " OPEN\nDECK";
        for (const Card& c : d.order) {
            out += ' ';
            appendCard(out, c.face, c.deck, -1);
        }
        out += '\n';
        for (const RecordedMove& m : h.moves) {
            out += m.seat == Seat::player ? "P " : "O ";
            out += tokenText(moveToken(m.move.kind));
            if (m.move.kind == MoveKind::undoMeld) {
                out += ' ';
                appendNumber(out, m.move.column);
            }
            if (hasFace(m.move.kind)) {
                out += ' ';
                appendCard(out, m.move.face, m.move.deck, m.move.place);
            }
            if (m.move.kind == MoveKind::meldWildcard) {
                out += ' ';
                appendNumber(out, m.move.column);
            }
            out += '\n';
        }
        if (h.scored) {
            out += "SCORE";
            for (std::int32_t v : h.player.v) {
                out += ' ';
                appendNumber(out, v);
            }
            out += " |";
            for (std::int32_t v : h.opponent.v) {
                out += ' ';
                appendNumber(out, v);
            }
            out += '\n';
        }
    }
    return out;
}

namespace {

class Parser {
public:
    Parser(MatchRecord& record, std::string& why) : r_(record), why_(why) {}

    bool line(std::string_view text, int number) {
        line_ = number;
        const std::vector<std::string_view> w = words(text);
        if (w.empty()) return true;
        const std::string_view key = w[0];
        if (key == "RULES") return rules(w);
        if (key == "PLAYER" || key == "OPPONENT") return name(key, text);
        if (key == "LEVEL") return level(w);
        if (key == "HAND") return hand(w);
        if (key == "DECK") return deck(w);
        if (key == "SCORE") return score(w);
        if (key == "P" || key == "O") return move(w);
        return fail("an unknown line");
    }
    bool finish() {
        if (!sawRules_) return fail("no rules");
        if (!r_.hands.empty() && !deckSeen_) return fail("a hand without its deck");
        return true;
    }

private:
    MatchRecord& r_;
    std::string& why_;
    int line_ = 0;
    bool sawRules_ = false;
    RuleSettings current_;
    bool deckSeen_ = true;

    bool fail(const std::string& what) {
        why_ = "line " + std::to_string(line_) + ": " + what;
        return false;
    }

    bool rules(const std::vector<std::string_view>& w) {
        if (w.size() != 14) return fail("the rules need thirteen values");
        std::string payload;
        for (std::size_t i = 1; i < w.size(); ++i) {
            if (w[i] != "T" && w[i] != "F" && w[i] != "1" && w[i] != "2")
                return fail("a rule value that is none");
            if (i > 1) payload += kFieldSeparator;
            payload += w[i];
        }
        current_ = parseRules(payload);
        if (!sawRules_) r_.rules = current_;
        sawRules_ = true;
        return true;
    }
    bool name(std::string_view key, std::string_view text) {
        const std::string value(text.size() > key.size() + 1 ? text.substr(key.size() + 1) : "");
        if (value.size() > kMaxNameLength) return fail("a name too long");
        (key == "PLAYER" ? r_.playerName : r_.opponentName) = value;
        return true;
    }
    bool level(const std::vector<std::string_view>& w) {
        if (w.size() != 2) return fail("a level of more than one word");
        r_.level = std::string(w[1]);
        return true;
    }
    bool hand(const std::vector<std::string_view>& w) {
        if (!deckSeen_) return fail("a hand without its deck");
        if (r_.hands.size() >= kMaxHands) return fail("more hands than a record holds");
        if (w.size() != 6) return fail("a hand line needs five fields");
        long long p = 0, o = 0;
        if (!number(w[1], -10'000'000, 10'000'000, p) || !number(w[2], -10'000'000, 10'000'000, o))
            return fail("totals out of range");
        if (!sawRules_) return fail("a hand before the rules");
        RecordedHand h;
        h.deal.rules = current_;
        h.deal.playerTotal = static_cast<std::int32_t>(p);
        h.deal.opponentTotal = static_cast<std::int32_t>(o);
        if (w[3] != "HERE" && w[3] != "PARTNER") return fail("no dealer");
        if (w[4] != "PLAYER" && w[4] != "OPPONENT") return fail("no seat to start");
        if (w[5] != "FROZEN" && w[5] != "OPEN") return fail("no first freeze");
        h.deal.dealtHere = w[3] == "HERE";
        h.deal.playerStarts = w[4] == "PLAYER";
        h.deal.initialFreeze = w[5] == "FROZEN";
        r_.hands.push_back(std::move(h));
        deckSeen_ = false;
        return true;
    }
    bool deck(const std::vector<std::string_view>& w) {
        if (r_.hands.empty() || deckSeen_) return fail("a deck outside a hand");
        if (w.size() != kDeckSize + 1) return fail("a deck of other than 108 cards");
        // Each card of the two decks exactly once: 52 faces and two jokers per deck.
        std::array<std::array<int, 2>, kJokerFace + 1> seen{};
        DealtHand& d = r_.hands.back().deal;
        for (int i = 0; i < kDeckSize; ++i) {
            int face = 0, deckOf = 0;
            if (!cardField(w[static_cast<std::size_t>(i) + 1], face, deckOf, false))
                return fail("a card that is none");
            const int allowed = face == kJokerFace ? 2 : 1;
            if (++seen[static_cast<std::size_t>(face)][static_cast<std::size_t>(deckOf)] > allowed)
                return fail("a card twice in the deck");
            d.order[static_cast<std::size_t>(i)] = makeCard(face, deckOf);
        }
        deckSeen_ = true;
        return true;
    }
    bool score(const std::vector<std::string_view>& w) {
        if (r_.hands.empty() || !deckSeen_) return fail("a score outside a hand");
        RecordedHand& h = r_.hands.back();
        if (h.scored) return fail("a hand scored twice");
        if (w.size() != 26 || w[13] != "|") return fail("a score needs twelve values a seat");
        for (std::size_t i = 0; i < 12; ++i) {
            long long a = 0, b = 0;
            if (!number(w[i + 1], -10'000'000, 10'000'000, a) ||
                !number(w[i + 14], -10'000'000, 10'000'000, b))
                return fail("a score out of range");
            h.player.v[i] = static_cast<std::int32_t>(a);
            h.opponent.v[i] = static_cast<std::int32_t>(b);
        }
        h.scored = true;
        return true;
    }
    bool move(const std::vector<std::string_view>& w) {
        if (r_.hands.empty() || !deckSeen_) return fail("a move outside a hand");
        RecordedHand& h = r_.hands.back();
        if (h.scored) return fail("a move after the hand was scored");
        if (h.moves.size() >= kMaxMovesPerHand) return fail("more moves than a hand holds");
        if (w.size() < 2) return fail("a move without its token");
        RecordedMove m;
        m.seat = w[0] == "P" ? Seat::player : Seat::opponent;
        std::optional<MoveKind> kind;
        const Token token = TokenNumber(w[1]);
        for (MoveKind k :
             {MoveKind::draw, MoveKind::takeTopCard, MoveKind::takePile, MoveKind::undoTakePile,
              MoveKind::meld, MoveKind::meldWildcard, MoveKind::undoMeld, MoveKind::discard,
              MoveKind::discardRedThree, MoveKind::pass, MoveKind::endHand})
            if (moveToken(k) == token) kind = k;
        if (!kind) return fail("a token that names no move");
        m.move.kind = *kind;
        const std::size_t fields = *kind == MoveKind::meldWildcard || *kind == MoveKind::undoMeld
                                       ? 2
                                   : hasFace(*kind) ? 1
                                                    : 0;
        if (w.size() != fields + 2) return fail("a move with the wrong fields");
        long long column = -1;
        std::string_view card;
        if (*kind == MoveKind::undoMeld) {
            if (!number(w[2], 0, kColumns - 1, column)) return fail("a column that is none");
            card = w[3];
        } else if (fields > 0) {
            card = w[2];
            if (*kind == MoveKind::meldWildcard && !number(w[3], 0, kColumns - 1, column))
                return fail("a column that is none");
        }
        if (fields > 0 && !cardField(card, m.move.face, m.move.deck, true, &m.move.place))
            return fail("a card that is none");
        m.move.column = static_cast<int>(column);
        h.moves.push_back(m);
        return true;
    }
};

} // namespace

bool parseRecord(std::string_view text, MatchRecord& record, std::string& why) {
    record = MatchRecord{};
    const std::size_t first = text.find('\n');
    if (text.substr(0, first) != kHeader) {
        why = "this is not a Velnora match record";
        return false;
    }
    Parser parser(record, why);
    int number = 1;
    std::size_t at = first == std::string_view::npos ? text.size() : first + 1;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        if (!parser.line(text.substr(at, end - at), ++number)) return false;
        at = end + 1;
    }
    return parser.finish();
}

bool replayHand(Game& game, const RecordedHand& hand, std::string& why) {
    game.rules = hand.deal.rules;
    game.dealRecordedHand(hand.deal);
    for (std::size_t i = 0; i < hand.moves.size(); ++i) {
        const RecordedMove& m = hand.moves[i];
        const MoveResult result = game.applyRecordedMove(m.seat, m.move);
        if (!result.accepted) {
            why = "move " + std::to_string(i + 1) + " of the hand was refused: " + result.why;
            return false;
        }
    }
    return true;
}

} // namespace velnora::net
