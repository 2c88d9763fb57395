#include "relayout.h"

namespace velnora {

namespace {

// Keeps the column by its index (not by pixels): a saved x that is not exactly on a column edge
// still lands in the same column after the move.
int movedX(int x, const Layout& from, const Layout& to) {
    if (from.columnPitch <= 0) return x;
    return (x - from.tableLeft) / from.columnPitch * to.columnPitch + to.tableLeft;
}

void moveRow(Pile& pile, const Layout& from, const Layout& to, int dy) {
    for (Card& c : pile.edit()) {
        c.x = movedX(c.x, from, to);
        c.y += dy;
    }
    for (int k = 0; k < kColumns; ++k) {
        ColumnPos& pos = pile.columnPos[static_cast<std::size_t>(k)];
        pos.x = to.tableLeft + k * to.columnPitch;
        pos.y += dy;
    }
}

} // namespace

void relayout(GameState& g, const Layout& from, const Layout& to) {
    moveRow(g.playerHand, from, to, to.playerHandY - from.playerHandY);
    moveRow(g.playerMelds, from, to, to.playerMeldsY - from.playerMeldsY);
    moveRow(g.opponentMelds, from, to, to.opponentMeldsY - from.opponentMeldsY);
    // The snapshots are restored by undoing a pile take, so they must live in the same layout.
    moveRow(g.playerHandSnapshot, from, to, to.playerHandY - from.playerHandY);
    moveRow(g.playerMeldsSnapshot, from, to, to.playerMeldsY - from.playerMeldsY);
    for (Card& c : g.stock.edit())
        c.y = to.stockY;
    for (Card& c : g.discardPile.edit())
        c.y = to.discardY;
    for (Card& c : g.discardSnapshot.edit())
        c.y = to.discardY;
    if (g.takenTopCard.face != 0) {
        g.takenTopCard.x = movedX(g.takenTopCard.x, from, to);
        g.takenTopCard.y += to.playerMeldsY - from.playerMeldsY;
    }
}

} // namespace velnora
