#include "game.h"
#include "meld_check.h"

#include <algorithm>
#include <string>

namespace velnora {

namespace {
const VelnoraTally kNoTally{};
} // namespace

void Game::meldOneFromHand(int handIndex) {
    GameState& g = state;
    Card card = removeFromColumn(g.playerHand, handIndex, layout, kNoTally, kColumnStep);
    const int fromX = card.x, fromY = card.y;
    const int column = card.rank();
    const bool velnora = g.playerVelnoras.velnoraKind[static_cast<std::size_t>(column)] != 0;
    placeInColumn(g.playerMelds, card, column, kColumnStep, !velnora);
    moveCard(card, fromX, fromY);
    push(g.playerMelds, card);
    reportMove(Move::withFace(MoveKind::meld, card.face).fromDeck(card.deck).at(handIndex));
    removeFace(g.knownPlayerCards, card.face);
    g.undoStack.push_back({card, layout.columnPitch});
    host_.setUndoEnabled(true);
    host_.repaint(TableArea::all);
}

void Game::meldFromHand(int handIndex, MeldMode mode) {
    meldFromHandAs(handIndex, mode, 0);
}

void Game::meldFromHandAs(int handIndex, MeldMode mode, int wildFace) {
    GameState& g = state;
    g.gameInProgress = 1;
    if (!g.hasDrawn) {
        showWarning(kWarnMeldBeforeDraw);
        return;
    }
    if (g.promptState != kPromptTakingPile) showInstruction(kPromptMeldOrDiscard);
    if (g.playerHand.empty() && !g.takingPile) return;
    if (handIndex < 0 || handIndex >= g.playerHand.count) return;
    const int rank = g.playerHand.at(handIndex).rank();
    if (isWild(rank)) {
        meldWildcards(mode, wildFace);
        return;
    }
    if (rank == kRankThree && !blackThreesMeldable(g, rules)) {
        showWarning(kWarnBlackThreesLast);
        return;
    }
    const bool shortOfVelnoras = g.playerVelnoras.velnoraCount < rules.velnorasToGoOut;

    if (mode == MeldMode::single) {
        meldOneFromHand(handIndex);
    } else {
        const int inHand = countRank(g.playerHand, rank);
        int n = inHand;
        if (mode == MeldMode::upToThree)
            n = std::min(inHand, std::max(0, 3 - columnCount(g.playerMelds, rank, layout)));
        // Emptying the hand without the velnoras to go out would leave no card to discard.
        if (n == g.playerHand.count && shortOfVelnoras) --n;
        if (n <= 0) return;
        for (int k = 0; k < n; ++k)
            meldOneFromHand(findRank(g.playerHand, rank));
    }

    // A pair of naturals gets its third card from the wildcards at once.
    bool wildcardAdded = false;
    if (rank > kRankThree && countRank(g.playerHand, rank) == 0 &&
        columnCount(g.playerMelds, rank, layout) == 2 &&
        (g.playerHand.count > 1 || !shortOfVelnoras ||
         (g.topCardPending && !g.discardPile.empty())) &&
        wildcardsInHand() > 0) {
        wildcardAdded = true;
        // The addition may already have passed the turn or ended the hand.
        if (addWildcardTo(rank)) return;
    }

    playerVelnoraCheck(rank);
    tryCompletePileTake();
    if (g.playerHand.empty() && !g.topCardPending && validateForCommit(g, rules, layout, 0)) {
        checkEndOfHand(); // going out by melding
    } else if (!wildcardAdded) {
        passIfStuck();
    }
}

void Game::meldCardClick(int meldIndex, bool shift) {
    GameState& g = state;
    if (!g.hasDrawn) {
        showWarning(kWarnMeldBeforeDraw);
        return;
    }
    if (meldIndex < 0 || meldIndex >= g.playerMelds.count) return;
    const int column = columnOf(g.playerMelds.at(meldIndex).x, layout);
    // Wildcards belong to rank melds or to the wildcard velnora, never among the threes.
    if (column == kRankThree || column == 0) return;
    if (shift) {
        fillVelnora(column);
        return;
    }
    wildcardClick(column, 0);
}

void Game::wildcardClick(int column, int face) {
    GameState& g = state;
    if (g.playerHand.count < 2 && g.playerVelnoras.velnoraCount < rules.velnorasToGoOut &&
        columnCount(g.playerMelds, column, layout) != 6)
        return;
    addWildcardTo(column, face);
}

void Game::addWildcard(int column) {
    addWildcardTo(column);
}

bool Game::addWildcardTo(int column, int face) {
    GameState& g = state;
    int index = -1;
    if (face != 0) {
        index = findFace(g.playerHand, face);
        if (index >= 0 && !isWild(g.playerHand.at(index).rank())) return false;
    } else {
        index = findRank(g.playerHand, kRankJoker);
        if (index < 0) index = findRank(g.playerHand, kRankTwo);
    }
    if (index < 0) return false;
    if (g.playerHand.count == 1 && !g.takingPile) {
        // The last card may only go out: an empty hand without the velnoras to go out would
        // leave the player with nothing to discard and no way to end the turn.
        const auto col = static_cast<std::size_t>(column);
        const bool completes =
            column != kRankThree && g.playerVelnoras.velnoraKind[col] == kNoVelnora &&
            columnCount(g.playerMelds, column, layout) == 6 &&
            (column == kRankTwo || columnNaturals(g.playerMelds, column, layout) >= 4);
        if (g.playerVelnoras.velnoraCount + (completes ? 1 : 0) < rules.velnorasToGoOut)
            return false;
    }
    Card card = removeFromColumn(g.playerHand, index, layout, kNoTally, kColumnStep);
    const int fromX = card.x, fromY = card.y;
    const bool velnora = g.playerVelnoras.velnoraKind[static_cast<std::size_t>(column)] != 0;
    placeInColumn(g.playerMelds, card, column, kColumnStep, !velnora);
    moveCard(card, fromX, fromY);
    push(g.playerMelds, card);
    reportMove(Move::meldWildcardAt(card.face, column).fromDeck(card.deck).at(index));
    // A melded wildcard is no longer a card the opponent knows in the hand; undo puts it back.
    removeFace(g.knownPlayerCards, card.face);
    g.undoStack.push_back({card, layout.columnPitch});
    host_.setUndoEnabled(true);
    host_.repaint(TableArea::all);
    playerVelnoraCheck(column);
    tryCompletePileTake();
    if (!g.playerHand.empty() || !validateForCommit(g, rules, layout, 0) || g.topCardPending)
        return passIfStuck();
    return checkEndOfHand();
}

void Game::fillVelnora(int column) {
    const int n = columnCount(state.playerMelds, column, layout);
    if (n < 4 || n > 6 || n + wildcardsInHand() < 7) return;
    for (int k = 0; k < 7 - n; ++k)
        if (addWildcardTo(column)) return;
}

void Game::meldWildcards(MeldMode mode, int face) {
    GameState& g = state;
    if (!g.hasDrawn) {
        showWarning(kWarnMeldBeforeDraw);
        return;
    }
    if (!rules.wildcardVelnora) {
        showWarning(kWarnNoWildVelnoras);
        return;
    }
    const int d = columnCount(g.playerMelds, kRankTwo, layout);
    if (wildcardsInHand() + d < 7) {
        showWarning(kWarnTooFewWildcards);
        return;
    }
    const int times = mode == MeldMode::allOfRank ? 7 - d : mode == MeldMode::upToThree ? 3 - d : 1;
    for (int k = 0; k < times; ++k)
        if (addWildcardTo(kRankTwo, k == 0 ? face : 0)) return;
}

// Undo of melds

void Game::dissolveLostVelnora(Seat seat, int column) {
    GameState& g = state;
    const bool isPlayer = seat == Seat::player;
    Pile& melds = isPlayer ? g.playerMelds : g.opponentMelds;
    VelnoraTally& tally = isPlayer ? g.playerVelnoras : g.opponentVelnoras;
    const auto col = static_cast<std::size_t>(column);
    if (tally.velnoraKind[col] == kNoVelnora || columnFormsVelnora(melds, column, layout)) return;
    --tally.velnoraCount;
    tally.velnoraKind[col] = kNoVelnora;
    // Laid open again, 12 pixels apart from the meld row: down for the player, up for the
    // opponent, the way each seat's columns grow.
    const int step = isPlayer ? kColumnStep : -kColumnStep;
    int y = isPlayer ? layout.playerMeldsY : layout.opponentMeldsY;
    for (Card& c : melds.edit()) {
        if (columnOf(c.x, layout) != column) continue;
        y += step;
        c.y = y;
    }
    melds.columnPos[col].y = y;
}

void Game::undoOneMeld() {
    GameState& g = state;
    const UndoEntry entry = g.undoStack.back();
    g.undoStack.pop_back();
    // The column as it was when the card was placed, whatever the table size is now.
    const int pitch = entry.columnPitch > 0 ? entry.columnPitch : layout.columnPitch;
    const int column =
        std::clamp((entry.card.x - layout.tableLeft) / pitch, 0, static_cast<int>(kColumns) - 1);
    int index = -1;
    for (int i = g.playerMelds.count - 1; i >= 0 && index < 0; --i) {
        const Card& c = g.playerMelds.at(i);
        if (c.face == entry.card.face && columnOf(c.x, layout) == column) index = i;
    }
    if (index < 0) return; // the card left the melds another way (a pile take was undone)
    Card card = removeFromColumn(g.playerMelds, index, layout, g.playerVelnoras, kColumnStep);
    // A velnora can pass seven cards before it qualifies, so the count alone does not tell
    // whether taking a card back undoes it.
    dissolveLostVelnora(Seat::player, column);
    push(g.knownPlayerCards, card);
    playerVelnoraCheck(column);
    const int fromX = card.x, fromY = card.y;
    placeInColumn(g.playerHand, card, card.rank(), kColumnStep);
    moveCard(card, fromX, fromY);
    push(g.playerHand, card);
    reportMove(Move::undoMeldAt(column, card.face).fromDeck(card.deck).at(index));
    host_.repaint(TableArea::all);
}

void Game::undoMeld() {
    if (!state.undoStack.empty()) undoOneMeld();
    if (state.undoStack.empty()) host_.setUndoEnabled(false);
}

void Game::undoAll() {
    while (!state.undoStack.empty())
        undoOneMeld();
    host_.setUndoEnabled(false);
}

} // namespace velnora
