#include "replay_review.h"

#include "hint.h"
#include "quiet_host.h"
#include "settings.h"

namespace velnora::ui {

namespace {

using Steps = std::vector<ai::HintStep>;
using Kind = ai::HintStep::Kind;

int rankOf(int face) {
    return makeCard(face, 0).rank();
}

std::string cards(int count) {
    return std::to_string(count) + (count == 1 ? " card" : " cards");
}

// The second choice of a turn: what went into the melds and which card onto the pile.
struct Finish {
    int melded = 0;
    int discard = 0; // a face, or 0 when the turn ended without one
};

Finish finishOf(const std::vector<net::RecordedMove>& moves, std::size_t from, std::size_t to) {
    Finish f;
    for (std::size_t i = from; i < to; ++i) {
        const Move& m = moves[i].move;
        if (m.kind == MoveKind::meld || m.kind == MoveKind::meldWildcard) ++f.melded;
        if (m.kind == MoveKind::undoMeld) --f.melded;
        if (m.kind == MoveKind::discard || m.kind == MoveKind::discardRedThree) f.discard = m.face;
    }
    return f;
}

Finish finishOf(const Steps& steps) {
    Finish f;
    for (const ai::HintStep& s : steps) {
        if (s.kind == Kind::meldNatural || s.kind == Kind::addWildcard ||
            s.kind == Kind::wildcardVelnora)
            ++f.melded;
        if (s.kind == Kind::discard || s.kind == Kind::discardRedThree) f.discard = s.face;
    }
    return f;
}

std::string finishWords(const Finish& f) {
    std::string text = "You ";
    if (f.melded > 0) text += "melded " + cards(f.melded) + (f.discard ? " and " : " and went out");
    if (f.discard) text += "discarded " + cardName(f.discard);
    if (f.melded <= 0 && !f.discard) text += "ended the turn";
    return text + ".";
}

// The first choice of a turn, from its first move: a draw, a pile take or the end of the hand.
ai::Hint::Action startOf(MoveKind kind) {
    switch (kind) {
    case MoveKind::draw:
        return ai::Hint::Action::drawFromStock;
    case MoveKind::takeTopCard:
    case MoveKind::takePile:
        return ai::Hint::Action::takePile;
    case MoveKind::endHand:
        return ai::Hint::Action::endHand;
    default:
        return ai::Hint::Action::none;
    }
}

std::string startWords(ai::Hint::Action action) {
    switch (action) {
    case ai::Hint::Action::drawFromStock:
        return "You drew from the stock.";
    case ai::Hint::Action::takePile:
        return "You took the discard pile.";
    default:
        return "You ended the hand.";
    }
}

} // namespace

std::vector<ReviewNote> reviewHand(const net::RecordedHand& hand) {
    QuietHost host;
    MemorySettings settings;
    Random rng(1);
    Game game(host, settings, rng);
    game.options.showTurns = false;
    game.setDealsAfterScoring(false);
    game.rules = hand.deal.rules;
    game.dealRecordedHand(hand.deal);

    std::vector<ReviewNote> notes;
    const auto& moves = hand.moves;
    // The player's moves go through the player's own entry, as the clicks that made them did,
    // so that the table between them is the one the player saw (the hint reads its phase). The
    // moves the table made along with one (a wildcard after a pair, a red three's replacement)
    // follow it in the record and are passed over. Returns the next move, or 0 when refused.
    const auto apply = [&](std::size_t i) -> std::size_t {
        try {
            const Move& m = moves[i].move;
            if (moves[i].seat == Seat::opponent)
                return game.applyRecordedMove(Seat::opponent, m).accepted ? i + 1 : 0;
            const MoveResult result = game.applyPlayerMove(m);
            if (!result.accepted) return 0;
            std::size_t next = i + 1;
            for (std::size_t k = 1; k < result.made.size(); ++k, ++next)
                if (next >= moves.size() || moves[next].seat != Seat::player ||
                    !(moves[next].move == result.made[k]))
                    return 0;
            return next;
        } catch (const InternalError&) {
            return 0;
        }
    };
    for (std::size_t i = 0; i < moves.size();) {
        if (moves[i].seat != Seat::player) {
            if (!(i = apply(i))) break;
            continue;
        }
        std::size_t end = i;
        while (end < moves.size() && moves[end].seat == Seat::player)
            ++end;

        const ai::Hint::Action started = startOf(moves[i].move.kind);
        if (!game.state.hasDrawn && started != ai::Hint::Action::none && ai::hintAvailable(game)) {
            const ai::Hint hint = ai::expertHint(game);
            const bool sameStart =
                hint.action == started || (started == ai::Hint::Action::takePile &&
                                           hint.action == ai::Hint::Action::completeTake);
            if (hint.action != ai::Hint::Action::none && !sameStart)
                notes.push_back({int(i), startWords(started), hint.text});
        }
        // The melds and the discard are judged once the turn's cards are in the hand: after
        // the draws, or after the whole pile has been taken.
        bool judged = false;
        while (i < end) {
            const GameState& s = game.state;
            if (!judged && s.hasDrawn && !s.takingPile && moves[i].move.kind != MoveKind::draw &&
                ai::hintAvailable(game)) {
                judged = true;
                const ai::Hint hint = ai::expertHint(game);
                if (hint.action == ai::Hint::Action::meld ||
                    hint.action == ai::Hint::Action::discard) {
                    const Finish played = finishOf(moves, i, end);
                    const Finish hinted = finishOf(hint.steps);
                    const bool same =
                        (played.melded > 0) == (hinted.melded > 0) &&
                        (played.discard != 0) == (hinted.discard != 0) &&
                        (!played.discard || rankOf(played.discard) == rankOf(hinted.discard));
                    if (!same) notes.push_back({int(i), finishWords(played), hint.text});
                }
            }
            if (!(i = apply(i))) return notes;
        }
    }
    return notes;
}

} // namespace velnora::ui
