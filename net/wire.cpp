// Framing, the token table, field readers, text conversion and the small payloads.

#include "wire.h"

#include <limits>

namespace velnora::net {

namespace {
// The order is the protocol: a token's number is its index here.
constexpr std::array<const char*, kTokenCount> kTokenTexts = {
    "OK",          "SENDAGAIN",    "QUIT",     "CHAT",         "PLAYERID",
    "DEAL",        "MELD",         "UNDO",     "DISCARD",      "DRAWNEW",
    "DRAWPILETOP", "DRAWPILEREST", "UNDOPILE", "MELDWILDCARD", "DISCARDREDTHREE",
    "PASSDISCARD", "RULES",        "NEWGAME",  "HANDOVER",     "UNKNOWN",
    "LOADGAME",
};

bool isDelimiter(char c) {
    return c == kFieldSeparator || c == kTerminator;
}
} // namespace

const char* tokenText(Token token) {
    const int n = static_cast<int>(token);
    if (n < 0 || n >= kTokenCount) return kTokenTexts[static_cast<int>(Token::unknown)];
    return kTokenTexts[static_cast<std::size_t>(n)];
}

Token TokenNumber(std::string_view text) {
    for (int n = 0; n < kTokenCount; ++n)
        if (text == kTokenTexts[static_cast<std::size_t>(n)]) return static_cast<Token>(n);
    return Token::unknown;
}

std::string frameMessage(std::string_view token, std::string_view payload) {
    std::string out;
    out.reserve(token.size() + payload.size() + 2);
    out += token;
    out += kFieldSeparator;
    out += payload;
    out += kTerminator;
    return out;
}

std::string NextField(std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && !isDelimiter(text[i]))
        ++i;
    std::string field = text.substr(0, i);
    text.erase(0, i < text.size() ? i + 1 : i);
    return field;
}

std::string NextWord(std::string& text) {
    const std::size_t blank = text.find(' ');
    if (blank == std::string::npos) return {};
    std::string word = text.substr(0, blank);
    text.erase(0, blank + 1);
    return word;
}

std::optional<int> parseNumber(std::string_view text) {
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 10) return std::nullopt;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (negative) value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

// Text conversion

std::string latin1ToUtf8(std::string_view latin1) {
    std::string out;
    out.reserve(latin1.size());
    for (char ch : latin1) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string utf8ToWireText(std::string_view utf8, std::size_t limit) {
    std::string out;
    std::size_t i = 0;
    while (i < utf8.size() && out.size() < limit) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        // Length of the sequence this byte starts, or 0 for a byte that starts none.
        const std::size_t length = c < 0x80           ? 1
                                   : (c >> 5) == 0x6  ? 2
                                   : (c >> 4) == 0xE  ? 3
                                   : (c >> 3) == 0x1E ? 4
                                                      : 0;
        bool whole = length > 0 && i + length <= utf8.size();
        std::uint32_t cp = length == 1   ? c
                           : length == 2 ? c & 0x1F
                           : length == 3 ? c & 0x0F
                                         : c & 0x07;
        for (std::size_t k = 1; whole && k < length; ++k) {
            const auto cc = static_cast<unsigned char>(utf8[i + k]);
            if ((cc & 0xC0) != 0x80) whole = false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (!whole) {
            out += '?';
            ++i;
            continue;
        }
        // The two delimiters would cut the message; Latin-1 holds nothing above 0xFF.
        out += cp < 0xFE ? static_cast<char>(cp) : '?';
        i += length;
    }
    return out;
}

std::string cutUtf8(std::string_view utf8, std::size_t limit) {
    std::size_t chars = 0, i = 0;
    for (; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) continue;
        if (chars == limit) break;
        ++chars;
    }
    return std::string(utf8.substr(0, i));
}

// PLAYERID

std::string buildPlayerId(std::string_view utf8Name) {
    return utf8ToWireText(utf8Name) + kFieldSeparator + kFieldSeparator +
           std::to_string(kProtocolVersion);
}

PlayerId parsePlayerId(std::string payload) {
    PlayerId id;
    std::string name = NextField(payload);
    if (name.size() > kMaxTextLength) name.resize(kMaxTextLength);
    id.name = latin1ToUtf8(name);
    NextField(payload); // reserved, sent empty
    id.sameVersion = parseNumber(NextField(payload)) == kProtocolVersion;
    return id;
}

// DEAL

namespace {
// Face of canonical card k within a deck: 52 naturals and twos, then two jokers.
int canonicalFace(int k) {
    return k < 52 ? k + 1 : kJokerFace;
}
constexpr int kCardsPerDeck = kDeckSize / 2;
} // namespace

std::string buildDeal(const Pile& stock, bool senderStarts) {
    std::string out(1, senderStarts ? '1' : '0');
    std::array<bool, kDeckSize> taken{};
    for (int deck = 0; deck < 2; ++deck) {
        for (int k = 0; k < kCardsPerDeck; ++k) {
            const int face = canonicalFace(k);
            int position = 0;
            for (int i = 0; i < stock.count; ++i) {
                const Card& c = stock.at(i);
                if (!taken[static_cast<std::size_t>(i)] && c.face == face && c.deck == deck) {
                    taken[static_cast<std::size_t>(i)] = true;
                    position = i + 1;
                    break;
                }
            }
            out += static_cast<char>(position);
        }
    }
    return out;
}

std::optional<DealOrder> parseDeal(std::string_view payload) {
    if (payload.size() != 1 + kDeckSize) return std::nullopt;
    if (payload[0] != '0' && payload[0] != '1') return std::nullopt;
    DealOrder order;
    order.senderStarts = payload[0] == '1';
    std::array<bool, kDeckSize> used{};
    for (int n = 0; n < kDeckSize; ++n) {
        const int position = static_cast<unsigned char>(payload[static_cast<std::size_t>(n + 1)]);
        if (position < 1 || position > kDeckSize) return std::nullopt;
        const auto slot = static_cast<std::size_t>(position - 1);
        if (used[slot]) return std::nullopt;
        used[slot] = true;
        order.stock[slot] = makeCard(canonicalFace(n % kCardsPerDeck), n / kCardsPerDeck);
    }
    return order;
}

// Move payloads

std::string buildFace(int face) {
    return std::to_string(face);
}

std::string buildMeldWildcard(int face, int column) {
    return std::to_string(face) + kFieldSeparator + std::to_string(column);
}

std::string buildUndo(int column, int face) {
    return std::to_string(column) + kFieldSeparator + std::to_string(face);
}

} // namespace velnora::net
