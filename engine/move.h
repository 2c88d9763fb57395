#pragma once
// One value for every action either seat takes that the other side must see: the engine reports
// the player's moves as these, the remote driver hands the partner's to the engine as these, and
// only the wire codec turns them into bytes.

#include "status_codes.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace velnora {

enum class MoveKind : std::uint8_t {
    newGame,         // the match starts again from zero
    deal,            // a hand is dealt; the stock order travels beside the move
    draw,            // one card from the stock
    takeTopCard,     // the pile's top card, laid into the melds
    takePile,        // the rest of the pile, after its top card
    undoTakePile,    // the pile is given back, at a cost
    meld,            // a natural card `face` from the hand into its column
    meldWildcard,    // a joker or two `face` from the hand into `column`
    undoMeld,        // the melded card `face` of `column` back into the hand
    discard,         // `face` from the hand onto the pile, ending the turn
    discardRedThree, // the red three `face` from the melds onto the pile, ending the turn
    pass,            // the turn ends without a discard
    endHand,         // the stock is exhausted and the seat to draw ends the hand
};

struct Move {
    MoveKind kind = MoveKind::draw;
    // Faces start at 1. A player's wildcard move without a face leaves the choice to the table,
    // as a click on a column does.
    int face = 0;
    int column = -1;
    // For a deal: the seat that dealt draws first.
    bool dealerStarts = false;
    // Where two cards share the face, the place of the one meant in the pile it leaves, when
    // the mover knows it (a computer level); the wire carries the face alone, and without a
    // place the last card of the face is taken.
    int place = -1;
    // Which of the two decks the card moved comes from, where the table knows it: a match
    // record replays the very card. Never on the wire.
    int deck = -1;
    // The same move whichever copy of the face it names and wherever that copy lies.
    bool operator==(const Move& o) const {
        return kind == o.kind && face == o.face && column == o.column &&
               dealerStarts == o.dealerStarts;
    }

    Move at(int pilePlace) const {
        Move move = *this;
        move.place = pilePlace;
        return move;
    }
    Move fromDeck(int cardDeck) const {
        Move move = *this;
        move.deck = cardDeck;
        return move;
    }

    static Move of(MoveKind kind) { return Move{kind, 0, -1, false}; }
    static Move withFace(MoveKind kind, int face) { return Move{kind, face, -1, false}; }
    static Move meldWildcardAt(int face, int column) {
        return Move{MoveKind::meldWildcard, face, column, false};
    }
    static Move undoMeldAt(int column, int face) {
        return Move{MoveKind::undoMeld, face, column, false};
    }
    static Move dealt(bool dealerStarts) { return Move{MoveKind::deal, 0, -1, dealerStarts}; }
};

// What the engine made of a move: accepted, or refused with the reason (the table is then as it
// was). For the player's moves also the warning the status line showed and every move the table
// made of it, in order: a natural may bring a wildcard along, a draw a red three's replacement.
struct MoveResult {
    bool accepted = true;
    std::string why;
    Warning warning = kNoWarning;
    std::vector<Move> made;
    static MoveResult refused(std::string text) {
        MoveResult result;
        result.accepted = false;
        result.why = std::move(text);
        return result;
    }
};

} // namespace velnora
