#include "saved_game.h"

#include "scoring.h"
#include "utf8_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

namespace velnora::savegame {

namespace {

// Card positions beyond this cannot come from any table size; refusing them keeps the
// relayout arithmetic far from overflow.
constexpr std::int64_t kPositionLimit = 1000000;
// The largest first-meld minimum (120), raised by an ace (the largest top card that can be
// taken) for every pile take of a hand, when the top card does not count.
constexpr std::int64_t kMinimumLimit = 120 + 20 * kDeckSize;

void put(std::string& out, std::int64_t v) {
    out += std::to_string(v);
    out += ' ';
}

void putList(std::string& out, const Pile& pile, bool withColumns, int key) {
    const int k = key + 399;
    put(out, key);
    put(out, pile.count);
    for (const Card& c : pile) {
        put(out, k / (c.face + 1));
        put(out, k / (c.rank() + 1));
        put(out, c.x);
        put(out, c.y);
        put(out, c.points());
        put(out, c.faceUp);
        put(out, c.deck);
        put(out, k % (c.face + 1));
        put(out, k % (c.rank() + 1));
    }
    if (withColumns)
        for (const ColumnPos& p : pile.columnPos) {
            put(out, p.x);
            put(out, p.y);
        }
    out += "\r\n";
}

void putTally(std::string& out, const VelnoraTally& t) {
    put(out, t.velnoraCount);
    for (int i = 1; i < kColumns; ++i)
        put(out, t.velnoraKind[static_cast<std::size_t>(i)]);
    for (int i = 1; i < kColumns; ++i)
        put(out, t.velnoraNaturals[static_cast<std::size_t>(i)]);
    out += "\r\n";
}

// Reads blank-separated integers line by line; any malformed value fails the whole load.
class Reader {
public:
    explicit Reader(std::string_view text) {
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t nl = text.find('\n', start);
            std::string_view line = text.substr(
                start, nl == std::string_view::npos ? std::string_view::npos : nl - start);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            lines_.push_back(line);
            if (nl == std::string_view::npos) break;
            start = nl + 1;
        }
    }

    // Starts reading line n (0-based); false when the file has no such line.
    bool beginLine(std::size_t n) {
        if (n >= lines_.size()) return false;
        rest_ = lines_[n];
        return true;
    }
    void skip(std::size_t chars) { rest_.remove_prefix(std::min(chars, rest_.size())); }

    bool next(std::int64_t& v, std::int64_t lo, std::int64_t hi) {
        while (!rest_.empty() && rest_.front() == ' ')
            rest_.remove_prefix(1);
        if (rest_.empty()) return false;
        const char* b = rest_.data();
        const char* e = b + rest_.size();
        auto [p, ec] = std::from_chars(b, e, v);
        if (ec != std::errc() || p == b) return false;
        if (p != e && *p != ' ') return false;
        rest_.remove_prefix(static_cast<std::size_t>(p - b));
        return v >= lo && v <= hi;
    }
    bool nextInt(std::int32_t& out, std::int64_t lo = std::numeric_limits<std::int32_t>::min(),
                 std::int64_t hi = std::numeric_limits<std::int32_t>::max()) {
        std::int64_t v;
        if (!next(v, lo, hi)) return false;
        out = static_cast<std::int32_t>(v);
        return true;
    }

private:
    std::vector<std::string_view> lines_;
    std::string_view rest_;
};

bool readList(Reader& in, Pile& pile, bool withColumns, std::string& why) {
    std::int32_t key, count;
    if (!in.nextInt(key, 0, 999)) return why = "bad list key", false;
    if (!in.nextInt(count, 0, kDeckSize)) return why = "bad card count", false;
    const std::int32_t k = key + 399;
    pile.count = 0;
    for (int i = 0; i < count; ++i) {
        std::int32_t q1, q2, x, y, points, faceUp, deck, r1, r2;
        if (!in.nextInt(q1) || !in.nextInt(q2) || !in.nextInt(x, -kPositionLimit, kPositionLimit) ||
            !in.nextInt(y, -kPositionLimit, kPositionLimit) || !in.nextInt(points) ||
            !in.nextInt(faceUp, 0, 1) || !in.nextInt(deck, 0, 1) || !in.nextInt(r1) ||
            !in.nextInt(r2))
            return why = "bad card values", false;
        int face, rank;
        if (!unscramble(k, q1, r1, kJokerFace + 1, face) || face < 1)
            return why = "bad card face", false;
        if (!unscramble(k, q2, r2, 14, rank) || rank != rankOf(face))
            return why = "card rank disagrees with its face", false;
        if (points != cardPoints(face)) return why = "card points disagree with its face", false;
        Card c = makeCard(face, deck);
        c.x = x;
        c.y = y;
        c.faceUp = static_cast<std::uint8_t>(faceUp);
        push(pile, c);
    }
    if (withColumns)
        for (ColumnPos& p : pile.columnPos)
            if (!in.nextInt(p.x, -kPositionLimit, kPositionLimit) ||
                !in.nextInt(p.y, -kPositionLimit, kPositionLimit))
                return why = "bad column position", false;
    return true;
}

bool readTally(Reader& in, VelnoraTally& t, std::string& why) {
    if (!in.nextInt(t.velnoraCount, 0, kColumns)) return why = "bad velnora count", false;
    for (int i = 1; i < kColumns; ++i) {
        std::int32_t v;
        if (!in.nextInt(v, 0, kWildVelnora)) return why = "bad velnora kind", false;
        t.velnoraKind[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v);
    }
    for (int i = 1; i < kColumns; ++i) {
        std::int32_t v;
        if (!in.nextInt(v, 0, kDeckSize)) return why = "bad velnora naturals", false;
        t.velnoraNaturals[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v);
    }
    return true;
}

} // namespace

std::pair<int, int> scramble(int k, int code) {
    return {k / (code + 1), k % (code + 1)};
}

bool unscramble(int k, int q, int r, int maxCodePlusOne, int& code) {
    if (q <= 0 || r < 0 || r >= k) return false;
    const int plusOne = (k - r) / q;
    if (plusOne < 1 || plusOne > maxCodePlusOne) return false;
    if (k / plusOne != q || k % plusOne != r) return false;
    code = plusOne - 1;
    return true;
}

int saveKeyFrom(std::uint64_t tickMilliseconds, double uniform) {
    const double v = std::fabs(std::round(static_cast<double>(tickMilliseconds) * uniform));
    return static_cast<int>(std::fmod(v, 1000.0));
}

std::string encode(const GameState& g, int sizeIndex, const std::function<int()>& nextKey) {
    std::string out;
    out.reserve(40000);
    out += kMagic;
    out += ' ';
    put(out, kFormatVersion);
    put(out, sizeIndex);
    putList(out, g.stock, false, nextKey());
    putList(out, g.opponentHand, false, nextKey());
    putList(out, g.discardPile, false, nextKey());
    putList(out, g.discardSnapshot, false, nextKey());
    putList(out, g.opponentMelds, true, nextKey());
    putList(out, g.playerHand, true, nextKey());
    putList(out, g.playerMelds, true, nextKey());
    putList(out, g.playerHandSnapshot, true, nextKey());
    putList(out, g.playerMeldsSnapshot, true, nextKey());
    putTally(out, g.playerVelnoras);
    putTally(out, g.opponentVelnoras);
    putTally(out, g.playerVelnorasSnapshot);
    for (std::int64_t v :
         {std::int64_t{g.pileFrozen}, std::int64_t{g.hasDrawn}, std::int64_t{g.takingPile},
          std::int64_t{g.topCardPending}, std::int64_t{g.blackThreesAllowed},
          std::int64_t{g.gameInProgress}, std::int64_t{g.showOpponentCards},
          std::int64_t{g.topColumnCountAtTake}, std::int64_t{g.topNaturalsAtTake},
          std::int64_t{g.naturalPairNeeded}, std::int64_t{g.opponentCardSpacing},
          std::int64_t{g.opponentMeldPoints}, std::int64_t{g.opponentTotal},
          std::int64_t{g.playerTotal}, std::int64_t{g.initialMeldMinimum},
          std::int64_t{g.promptState}, std::int64_t{g.opponentPromptState}})
        put(out, v);
    return out;
}

bool hasMagic(std::string_view text) {
    return text.substr(0, kMagic.size()) == kMagic;
}

LoadResult decode(std::string_view text, const GameState& current) {
    LoadResult r;
    auto corrupt = [&r](std::string why) {
        r.error = LoadError::corrupt;
        r.detail = std::move(why);
        return r;
    };
    if (text.size() > kMaxFileSize) return corrupt("file larger than any saved game");
    if (!hasMagic(text)) {
        r.error = LoadError::notSavedGame;
        return r;
    }
    Reader in(text);
    in.beginLine(0);
    in.skip(kMagic.size());
    std::int32_t version;
    if (!in.nextInt(version)) return corrupt("no version");
    r.version = version;
    if (version != kFormatVersion) {
        r.error = LoadError::version;
        return r;
    }
    std::int32_t sizeIndex;
    if (!in.nextInt(sizeIndex, 0, kTableSizes - 1)) return corrupt("bad table size index");
    r.sizeIndex = sizeIndex;

    GameState& g = r.state;
    g = current;
    std::string why;
    struct ListLine {
        Pile* pile;
        bool withColumns;
    };
    const ListLine lists[] = {
        {&g.stock, false},           {&g.opponentHand, false},      {&g.discardPile, false},
        {&g.discardSnapshot, false}, {&g.opponentMelds, true},      {&g.playerHand, true},
        {&g.playerMelds, true},      {&g.playerHandSnapshot, true}, {&g.playerMeldsSnapshot, true},
    };
    std::size_t line = 0;
    for (const ListLine& list : lists) {
        if (line > 0 && !in.beginLine(line)) return corrupt("file ends early");
        if (!readList(in, *list.pile, list.withColumns, why)) return corrupt(why);
        ++line;
    }
    for (VelnoraTally* t : {&g.playerVelnoras, &g.opponentVelnoras, &g.playerVelnorasSnapshot}) {
        if (!in.beginLine(line++)) return corrupt("file ends early");
        if (!readTally(in, *t, why)) return corrupt(why);
    }
    if (!in.beginLine(line)) return corrupt("file ends early");
    // What each of the 17 values can reach in a game; the flags and bytes are read as the
    // format says (non-zero, low byte) and only need to fit 32 bits.
    constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
    struct Range {
        std::int64_t lo, hi;
    };
    const Range ranges[17] = {
        {kInt32Min, kInt32Max},
        {kInt32Min, kInt32Max},
        {kInt32Min, kInt32Max},
        {kInt32Min, kInt32Max},
        {kInt32Min, kInt32Max},
        {kInt32Min, kInt32Max},
        {kInt32Min, kInt32Max},
        {0, kDeckSize},
        {0, kDeckSize},
        {kInt32Min, kInt32Max},
        {kInt32Min, kInt32Max},
        {0, kMeldPointsLimit},
        {-kTotalLimit, kTotalLimit},
        {-kTotalLimit, kTotalLimit},
        {0, kMinimumLimit},
        {0, 9},
        {0, 9},
    };
    std::int32_t v[17];
    for (int i = 0; i < 17; ++i)
        if (!in.nextInt(v[i], ranges[i].lo, ranges[i].hi))
            return corrupt("bad game value " + std::to_string(i + 1));
    auto flag = [](std::int32_t x) { return static_cast<std::uint8_t>(x != 0 ? 1 : 0); };
    g.pileFrozen = flag(v[0]);
    g.hasDrawn = flag(v[1]);
    g.takingPile = flag(v[2]);
    g.topCardPending = flag(v[3]);
    g.blackThreesAllowed = flag(v[4]);
    g.gameInProgress = flag(v[5]);
    g.showOpponentCards = flag(v[6]);
    g.topColumnCountAtTake = v[7];
    g.topNaturalsAtTake = v[8];
    g.naturalPairNeeded = flag(v[9]);
    g.opponentCardSpacing = static_cast<std::uint8_t>(v[10] & 0xFF);
    g.opponentMeldPoints = v[11];
    g.opponentTotal = v[12];
    g.playerTotal = v[13];
    g.initialMeldMinimum = v[14];
    g.promptState = static_cast<std::uint8_t>(v[15]);
    g.opponentPromptState = static_cast<std::uint8_t>(v[16]);
    if (g.promptState == kPromptOpponentsTurn && g.opponentPromptState == kPromptOpponentsTurn)
        g.opponentPromptState = kPromptDraw;
    g.mayTakePile = static_cast<std::uint8_t>(!g.hasDrawn);

    const Layout layout = computeLayout(sizeIndex);
    if (!isConsistent(g, layout, &why)) return corrupt(why);
    // Undoing a pending take puts the snapshot back on the table, which must then still hold
    // every card once.
    if (g.takingPile) {
        // A take is the player's move and ends before the turn passes: with the computer to
        // move, its discard would land after the snapshot and vanish when the take is undone.
        if (g.promptState == kPromptOpponentsTurn)
            return corrupt("a pile take during the computer's turn");
        GameState undone = g;
        restoreSnapshot(undone);
        if (!isConsistent(undone, layout, &why)) return corrupt("snapshot: " + why);
    }

    // Derived state the file does not hold.
    g.stockExhausted = static_cast<std::uint8_t>(g.stock.empty());
    g.undoStack.clear();
    g.endHandRequested = 0;
    g.warning = 0;
    g.inputBlocked = static_cast<std::uint8_t>(g.promptState == kPromptOpponentsTurn);
    g.playerMeldPointsAtTurnStart = meldedPoints(g, Seat::player, true, layout);
    g.opponentMeldPointsAtTurnStart = g.opponentMeldPoints;
    g.loadedSinceDeal = 1;
    g.pileFanned = 0;
    // The file does not hold the card taken from the pile; it is the last card the snapshot
    // taken right after the take put into the melds. Without it a pending take could never be
    // completed or undone after a load.
    if (g.takingPile && !g.playerMeldsSnapshot.empty()) {
        g.takenTopCard = g.playerMeldsSnapshot.top();
        g.takenTopRank = g.takenTopCard.rank();
    }
    r.error = LoadError::none;
    return r;
}

std::string makeGameFileName(std::string_view text) {
    std::string out;
    for (char ch : text) {
        const auto u = static_cast<unsigned char>(ch);
        if (u < 32 || u == 127) continue;
        switch (ch) {
        case '"':
        case '*':
        case ':':
        case '<':
        case '>':
        case '?':
        case '\\':
        case '/':
            continue;
        default:
            out += ch;
        }
    }
    // Whole characters only, and no more bytes than a file name can hold with ".vel" after it
    // (255 on Linux file systems): a name of accented letters has two bytes to each.
    return firstWholeBytes(firstCharacters(out, kMaxGameFileNameLength), kMaxGameFileNameLength) +
           ".vel";
}

} // namespace velnora::savegame
