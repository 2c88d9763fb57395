#include "record_check.h"

#include "quiet_host.h"
#include "settings.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace velnora::bench {

namespace {

// A meld pile is compared column by column: the player's own moves and the same moves applied
// as a partner's copy applies them keep a column's cards in another order within the pile.
std::vector<std::uint32_t> shown(const Pile& pile, bool melds, const Layout& layout) {
    std::vector<std::uint32_t> cards;
    for (const Card& c : pile)
        cards.push_back(static_cast<std::uint32_t>(melds ? columnOf(c.x, layout) : 0) << 16 |
                        static_cast<std::uint32_t>(c.face) << 8 | c.deck);
    if (melds) std::sort(cards.begin(), cards.end());
    return cards;
}

// The first difference of the piles and totals, or "".
std::string difference(const GameState& a, const GameState& b, const Layout& layout) {
    const std::pair<const char*, const Pile GameState::*> piles[] = {
        {"stock", &GameState::stock},
        {"discard pile", &GameState::discardPile},
        {"player's hand", &GameState::playerHand},
        {"opponent's hand", &GameState::opponentHand},
        {"player's melds", &GameState::playerMelds},
        {"opponent's melds", &GameState::opponentMelds},
    };
    for (const auto& [name, pile] : piles)
        if (const bool melds = pile == &GameState::playerMelds || pile == &GameState::opponentMelds;
            shown(a.*pile, melds, layout) != shown(b.*pile, melds, layout)) {
            std::string text = std::string(name) + ":";
            for (const Pile* p : {&(a.*pile), &(b.*pile)}) {
                text += " [";
                for (const Card& c : *p)
                    text += " " + std::to_string(c.face) + "." + std::to_string(c.deck);
                text += " ]";
            }
            return text;
        }
    if (a.playerTotal != b.playerTotal || a.opponentTotal != b.opponentTotal) return "totals";
    return {};
}

// Remembers the scores the replay reaches.
class ReplayHost : public QuietHost {
public:
    std::vector<HandReport> scored;
    bool showScoring(const HandReport& report) override {
        scored.push_back(report);
        return false;
    }
};

} // namespace

void RecordCheck::check(const net::MatchRecord& record, const GameState& played,
                        const std::string& name) {
    ++records;
    hands += static_cast<long>(record.hands.size());
    if (memoryOnly) return;
    const std::string text = net::formatRecord(record);
    bytes += static_cast<long>(text.size());
    if (!directory.empty()) std::ofstream(directory + "/" + name + ".vrec") << text;
    if (!replay) return;

    auto mismatch = [&](const std::string& why) {
        if (mismatches++ == 0) firstMismatch = name + ": " + why;
    };
    net::MatchRecord read;
    std::string why;
    if (!net::parseRecord(text, read, why)) return mismatch("the record does not read: " + why);
    ReplayHost host;
    MemorySettings settings;
    saveRules(settings, read.rules);
    Random rng(1);
    Game game(host, settings, rng);
    game.rules = read.rules;
    game.options.showTurns = false;
    game.setDealsAfterScoring(false);
    for (std::size_t h = 0; h < read.hands.size(); ++h) {
        if (!net::replayHand(game, read.hands[h], why))
            return mismatch("hand " + std::to_string(h + 1) + ": " + why);
        const net::RecordedHand& hand = read.hands[h];
        if (hand.scored &&
            (host.scored.size() != h + 1 || !(host.scored.back().player == hand.player) ||
             !(host.scored.back().opponent == hand.opponent))) {
            std::string text = "hand " + std::to_string(h + 1) + " scores differently:";
            const HandScore* none = nullptr;
            const bool any = !host.scored.empty();
            for (const HandScore* score :
                 {&hand.player, &hand.opponent, any ? &host.scored.back().player : none,
                  any ? &host.scored.back().opponent : none})
                if (score) {
                    text += " [";
                    for (std::int32_t v : score->v)
                        text += " " + std::to_string(v);
                    text += " ]";
                }
            return mismatch(text);
        }
    }
    if (const std::string d = difference(game.state, played, game.layout); !d.empty())
        mismatch("the replay ends with another " + d);
}

void RecordCheck::print() const {
    std::printf("records %ld  hands %ld", records, hands);
    if (!memoryOnly)
        std::printf("  %.0f bytes per hand",
                    hands ? static_cast<double>(bytes) / static_cast<double>(hands) : 0.0);
    if (replay) std::printf("  replayed, mismatches %ld", mismatches);
    std::printf("\n");
    if (mismatches) std::printf("first mismatch: %s\n", firstMismatch.c_str());
}

} // namespace velnora::bench
