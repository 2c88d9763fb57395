// The LOADGAME payload: the sender's whole table as twelve groups and a final group.

#include "scoring.h"
#include "wire.h"

namespace velnora::net {

namespace {
// Lists 5 to 9 (meld areas, the player's hand and the snapshots) carry wildcard columns.
constexpr std::size_t kFirstColumnList = 4;

void addNumber(std::string& out, int value) {
    out += std::to_string(value);
    out += ' ';
}

void addCards(std::string& out, const Pile& pile, bool withColumns, const Layout& layout) {
    for (const Card& c : pile) {
        addNumber(out, c.face);
        addNumber(out, c.rank());
        addNumber(out, c.points());
        addNumber(out, c.deck);
        if (withColumns && isWild(c.rank())) addNumber(out, columnOf(c.x, layout));
    }
    out += kFieldSeparator;
}

void addTally(std::string& out, const VelnoraTally& t) {
    addNumber(out, t.velnoraCount);
    for (int c = 1; c < kColumns; ++c)
        addNumber(out, t.velnoraKind[static_cast<std::size_t>(c)]);
    for (int c = 1; c < kColumns; ++c)
        addNumber(out, t.velnoraNaturals[static_cast<std::size_t>(c)]);
    out += kFieldSeparator;
}

// Reads the next blank-ended number of a group; nothing at the group's end or on bad text. A
// group whose last value lacks its blank is refused rather than read forever.
std::optional<int> nextNumber(std::string& group) {
    if (group.empty()) return std::nullopt;
    const std::string word = NextWord(group);
    if (word.empty()) return std::nullopt;
    return parseNumber(word);
}

bool inRange(std::optional<int> v, int low, int high) {
    return v && *v >= low && *v <= high;
}

bool readCards(std::string group, bool withColumns, std::vector<WireCard>& cards) {
    while (!group.empty()) {
        const auto face = nextNumber(group);
        const auto rank = nextNumber(group);
        const auto points = nextNumber(group);
        const auto deck = nextNumber(group);
        if (!inRange(face, 1, kJokerFace) || !rank || !points || !inRange(deck, 0, 1)) return false;
        // The rank decides whether a column follows, so it must be the face's own.
        if (*rank != rankOf(*face) || cards.size() >= static_cast<std::size_t>(kDeckSize))
            return false;
        WireCard card{*face, *deck, -1};
        if (withColumns && isWild(*rank)) {
            const auto column = nextNumber(group);
            if (!inRange(column, 0, kColumns - 1)) return false;
            card.column = *column;
        }
        cards.push_back(card);
    }
    return true;
}

bool readTally(std::string group, VelnoraTally& t) {
    const auto count = nextNumber(group);
    if (!inRange(count, 0, kColumns - 1)) return false;
    t.velnoraCount = *count;
    for (int c = 1; c < kColumns; ++c) {
        const auto kind = nextNumber(group);
        if (!inRange(kind, 0, kWildVelnora)) return false;
        t.velnoraKind[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(*kind);
    }
    for (int c = 1; c < kColumns; ++c) {
        const auto naturals = nextNumber(group);
        if (!inRange(naturals, 0, kDeckSize)) return false;
        t.velnoraNaturals[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(*naturals);
    }
    return group.empty();
}
} // namespace

std::string buildLoadGame(const GameState& g, const Layout& layout) {
    std::string out;
    const Pile* lists[] = {&g.stock,           &g.opponentHand,       &g.discardPile,
                           &g.discardSnapshot, &g.opponentMelds,      &g.playerHand,
                           &g.playerMelds,     &g.playerHandSnapshot, &g.playerMeldsSnapshot};
    for (std::size_t i = 0; i < std::size(lists); ++i)
        addCards(out, *lists[i], i >= kFirstColumnList, layout);
    addTally(out, g.playerVelnoras);
    addTally(out, g.opponentVelnoras);
    addTally(out, g.playerVelnorasSnapshot);
    addNumber(out, g.pileFrozen ? 1 : 0);
    addNumber(out, g.promptState);
    addNumber(out, g.opponentPromptState);
    addNumber(out, meldedPoints(g, Seat::player, false, layout));
    addNumber(out, g.playerTotal);
    addNumber(out, g.opponentTotal);
    return out;
}

std::optional<LoadedTable> parseLoadGame(std::string payload) {
    LoadedTable t;
    for (std::size_t i = 0; i < t.lists.size(); ++i) {
        if (payload.empty()) return std::nullopt;
        if (!readCards(NextField(payload), i >= kFirstColumnList, t.lists[i])) return std::nullopt;
    }
    for (VelnoraTally& tally : t.tallies) {
        if (payload.empty()) return std::nullopt;
        if (!readTally(NextField(payload), tally)) return std::nullopt;
    }
    std::string last = NextField(payload);
    const auto frozen = nextNumber(last);
    const auto prompt = nextNumber(last);
    const auto opponentPrompt = nextNumber(last);
    const auto points = nextNumber(last);
    const auto playerTotal = nextNumber(last);
    const auto opponentTotal = nextNumber(last);
    // The same bounds as a saved game's: later additions to larger values would overflow.
    if (!frozen || !inRange(prompt, 0, 9) || !inRange(opponentPrompt, 0, 9) ||
        !inRange(points, 0, kMeldPointsLimit) || !inRange(playerTotal, -kTotalLimit, kTotalLimit) ||
        !inRange(opponentTotal, -kTotalLimit, kTotalLimit))
        return std::nullopt;
    t.pileFrozen = *frozen == 1;
    t.promptState = *prompt;
    t.opponentPromptState = *opponentPrompt;
    t.playerMeldPoints = *points;
    t.playerTotal = *playerTotal;
    t.opponentTotal = *opponentTotal;
    return t;
}

} // namespace velnora::net
