#include "game.h"
#include "meld_check.h"
#include "scoring.h"

#include <string>

namespace velnora {

namespace {
constexpr const char* kChangingRulesHint =
    " Changing the rules is only possible when starting a new game";
constexpr const char* kForcedText = "You cannot end this hand now, because you must \n\rmeld the "
                                    "top card of the pile. (You are 'forced').";
constexpr const char* kStuckText = "You only have one card left, and not enough Velnoras to go "
                                   "out.\r You have to pass the discard.";
constexpr const char* kUndoTakeErrorText =
    "An error occurred while undoing taking the discard pile. A new hand will be dealt.";
constexpr int kBigPile = 12;

// Hand columns are never velnoras, so removing from them always closes the gap.
const VelnoraTally kNoTally{};
} // namespace

// Drawing and taking the pile

void Game::drawFromStock() {
    GameState& g = state;
    g.gameInProgress = 1; // from now on the rules stay as they are
    if (g.hasDrawn) {
        showWarning(kWarnAlreadyDrawn);
        return;
    }
    if (g.stock.empty()) return; // an exhausted stock cannot be clicked
    for (;;) {
        host_.setRulesHint(kChangingRulesHint);
        const Card card = pop(g.stock);
        if (g.stock.empty()) {
            g.stockExhausted = 1;
            host_.setEndHandButton(true, g.promptState == kPromptDraw);
        }
        g.mayTakePile = 0;
        ++g.stockDrawsThisTurn;
        reportMove(Move::of(MoveKind::draw));
        givePlayerCard(card);
        if (isRedThree(card.face)) {
            host_.repaint(TableArea::playerMelds);
            if (rules.drawExtra && !g.stock.empty()) {
                // The replacement of a red three is not a draw of its own.
                --g.stockDrawsThisTurn;
                continue;
            }
            if (passIfStuck()) return;
        }
        host_.repaint(TableArea::playerHand);
        if (g.stockDrawsThisTurn != rules.cardsDrawn && !g.stock.empty()) {
            showInstruction(kPromptSecondCard);
            continue;
        }
        break;
    }
    finishDraw();
}

void Game::finishDraw() {
    GameState& g = state;
    showInstruction(kPromptMeldOrDiscard);
    g.topCardPending = 0;
    g.takingPile = 0;
    g.hasDrawn = 1;
    g.stockDrawsThisTurn = 0;
    takeSnapshot(g);
}

bool Game::frozenForSeat(Seat seat) const {
    if (state.pileFrozen) return true;
    if (!rules.initialBlock || !rules.initialBlockForBoth) return false;
    return seat == Seat::player ? meldedPoints(state, Seat::player, true, layout) == 0
                                : state.opponentMeldPoints == 0;
}

bool Game::frozenForPlayer() const {
    // The same query serves the computer's turn: it asks while input is blocked.
    return frozenForSeat(state.inputBlocked ? Seat::opponent : Seat::player);
}

bool Game::isForcedFor(Seat seat) const {
    const GameState& g = state;
    if (g.pileFrozen || g.discardPile.empty()) return false;
    const int r = g.discardPile.top().rank();
    if (r < 3) return false;
    const Pile& hand = seat == Seat::player ? g.playerHand : g.opponentHand;
    const Pile& melds = seat == Seat::player ? g.playerMelds : g.opponentMelds;
    if (g.discardPile.count == 1 && hand.count == 1) return false;
    const int m = columnCount(melds, r, layout);
    return (m >= 3 && m <= 6) || (rules.addToVelnora && (m == 7 || m == 8));
}

bool Game::canTakePile(bool includeForced) {
    const GameState& g = state;
    if (g.discardPile.empty()) return false;
    const int r = g.discardPile.top().rank();
    const int h = countRank(g.playerHand, r);
    const int m = columnCount(g.playerMelds, r, layout);
    const int w = wildcardsInHand();
    const bool frozen = frozenForPlayer();
    const bool roomInMeld = m <= 6 || rules.addToVelnora;

    const bool naturalPair = h >= 2 && roomInMeld;
    const bool existingMeld =
        !frozen && !(rules.addExistingMeld && rules.naturalPair) && m >= 3 && roomInMeld;
    const bool naturalAndWild = h == 1 && w > 0 && !frozen && !rules.naturalPair && m < 3;
    const bool forced = includeForced && g.stockExhausted && isForced();
    if (!(naturalPair || existingMeld || naturalAndWild || forced) || r <= 2) return false;

    if (m == 0) {
        // A new meld takes three cards out of the hand; enough must remain to go on.
        const int cards = g.playerHand.count + g.discardPile.count;
        const bool short_ = g.playerVelnoras.velnoraCount < rules.velnorasToGoOut;
        if (short_ ? cards <= 3 : cards <= 0) return false;
    }
    if (g.discardPile.count == 1 && g.playerHand.count == 1) return false;
    return true;
}

void Game::takeDiscardPile() {
    GameState& g = state;
    g.gameInProgress = 1;
    if (!g.mayTakePile) {
        if (g.takingPile)
            undoTakePile();
        else
            showWarning(kWarnAlreadyDrawn);
        return;
    }
    if (!canTakePile(true)) {
        showWarning(g.discardPile.count == 1 && g.playerHand.count == 1 ? kWarnOneCardPile
                                                                        : kWarnCannotTakePile);
        return;
    }
    const bool onlyForced = !canTakePile(false);
    const bool frozen = frozenForPlayer();

    host_.setRulesHint(kChangingRulesHint);
    g.mayTakePile = 0;
    if (g.discardPile.count > kBigPile) host_.playSound(SoundEvent::takeHugePile);
    countRanks(g, layout);
    g.topCardPending = 1;

    Card card = pop(g.discardPile);
    const int r = card.rank();
    const int naturalsBefore = naturalsOfRank(g.playerMelds, r);
    g.topColumnCountAtTake = columnCount(g.playerMelds, r, layout);
    const int fromX = card.x, fromY = card.y;
    card.faceUp = 1;
    const bool velnoraAlready = g.playerVelnoras.velnoraKind[static_cast<std::size_t>(r)] != 0;
    placeInColumn(g.playerMelds, card, r, kColumnStep, !velnoraAlready);
    moveCard(card, fromX, fromY);
    push(g.playerMelds, card);
    reportMove(Move::of(MoveKind::takeTopCard));
    playerVelnoraCheck(r);
    // The velnora check may square the column up; remember the card where it now lies.
    g.takenTopCard = card;
    for (const Card& c : g.playerMelds)
        if (c.face == card.face && c.deck == card.deck && columnOf(c.x, layout) == r)
            g.takenTopCard = c;
    g.hasDrawn = 1;

    if (onlyForced) {
        finishDraw();
    } else if (frozen || g.topColumnCountAtTake < 1 ||
               (rules.naturalPair && rules.addExistingMeld)) {
        // The rest of the pile waits until the player has melded what entitles them to it.
        showInstruction(kPromptTakingPile);
        g.takingPile = 1;
        g.takenTopRank = static_cast<std::uint8_t>(r);
        if (!rules.topCardCounts) g.initialMeldMinimum += card.points();
        g.topNaturalsAtTake = naturalsBefore;
        g.naturalPairNeeded = (frozen || rules.naturalPair) ? 1 : 0;
    } else {
        reportMove(Move::of(MoveKind::takePile));
        showInstruction(kPromptMeldOrDiscard);
        g.pileFrozen = 0;
        g.topCardPending = 0;
        g.takingPile = 0;
        handOverPile();
    }
    if (passIfStuck()) return;
    takeSnapshot(g);
    host_.repaint(TableArea::all);
}

void Game::handOverPile() {
    GameState& g = state;
    while (!g.discardPile.empty()) {
        const Card card = givePlayerCard(pop(g.discardPile));
        // What the player took from the pile is known to the computer.
        if (!isRedThree(card.face)) push(g.knownPlayerCards, card);
    }
    g.undoStack.clear();
    host_.setUndoEnabled(false);
    host_.repaint(TableArea::all);
}

void Game::tryCompletePileTake() {
    GameState& g = state;
    if (!g.takingPile) return;
    if (!validateMelds(g, rules, layout, g.playerHand.count)) return;
    const int r = g.takenTopRank;
    if (columnCount(g.playerMelds, r, layout) < g.topColumnCountAtTake + 3) return;
    if (g.naturalPairNeeded && naturalsOfRank(g.playerMelds, r) < g.topNaturalsAtTake + 3) return;
    const bool bonusExempt = rules.bonusCounts && g.playerVelnoras.velnoraCount > 0;
    if (!bonusExempt && meldedPoints(g, Seat::player, true, layout) < g.initialMeldMinimum) return;

    showInstruction(kPromptMeldOrDiscard);
    g.pileFrozen = 0;
    g.takingPile = 0;
    g.topCardPending = 0;
    g.mayTakePile = 0;
    reportMove(Move::of(MoveKind::takePile));
    handOverPile();
}

void Game::undoTakePile() {
    GameState& g = state;
    if (!g.takingPile) return;
    showInstruction(kPromptDraw);
    if (!rules.topCardCounts) g.initialMeldMinimum -= g.takenTopCard.points();
    g.topCardPending = 0;
    g.takingPile = 0;
    g.hasDrawn = 0;
    restoreSnapshot(g);
    // The melds made since the take went back with the snapshot; their undo entries would
    // now point at cards in the hand.
    g.undoStack.clear();
    host_.setUndoEnabled(false);

    int index = -1;
    for (int i = 0; i < g.playerMelds.count; ++i) {
        const Card& c = g.playerMelds.at(i);
        // Position alone is ambiguous in a squared-up velnora; face and deck name the card.
        if (c.x == g.takenTopCard.x && c.y == g.takenTopCard.y && c.face == g.takenTopCard.face &&
            c.deck == g.takenTopCard.deck) {
            index = i;
            break;
        }
    }
    if (index < 0) {
        host_.showMessage(MessageKind::warning, kUndoTakeErrorText);
        dealHand();
        return;
    }
    const int column = columnOf(g.playerMelds.at(index).x, layout);
    Card card = removeFromColumn(g.playerMelds, index, layout, g.playerVelnoras, kColumnStep);
    // A velnora the top card completed is gone with it.
    dissolveLostVelnora(Seat::player, column);
    const int fromX = card.x, fromY = card.y;
    card.x = layout.tableLeft;
    card.y = layout.discardY;
    moveCard(card, fromX, fromY);
    push(g.discardPile, card);
    g.playerTotal -= kUndoTakeCost;
    host_.repaint(TableArea::all);
    reportMove(Move::of(MoveKind::undoTakePile));
    g.mayTakePile = 1;
}

// Discarding and ending the turn

bool Game::discard(int handIndex) {
    GameState& g = state;
    g.gameInProgress = 1;
    if (!g.hasDrawn) {
        showWarning(kWarnDiscardBeforeDraw);
        return false;
    }
    if (handIndex < 0 || handIndex >= g.playerHand.count) return false;
    if (!validateForCommit(g, rules, layout, g.playerHand.count - 1)) {
        showWarning(kWarnCannotDiscard);
        return false;
    }
    Card card = g.playerHand.at(handIndex);
    if (isRedThree(card.face) && !rules.threeBlock) return false;
    if (isWild(card.rank()) || (isRedThree(card.face) && rules.threeBlock)) g.pileFrozen = 1;

    g.undoStack.clear();
    host_.setUndoEnabled(false);
    g.hasDrawn = 0;
    g.mayTakePile = 1;

    reportMove(Move::withFace(MoveKind::discard, card.face).fromDeck(card.deck).at(handIndex));
    card = removeFromColumn(g.playerHand, handIndex, layout, kNoTally, kColumnStep);
    const int fromX = card.x, fromY = card.y;
    card.x = layout.tableLeft;
    card.y = layout.discardY;
    card.faceUp = 1;
    moveCard(card, fromX, fromY);
    push(g.discardPile, card);
    removeFace(g.knownPlayerCards, card.face);
    // After the card has moved: while it flies, the status line still belongs to this turn.
    showInstruction(kPromptDraw);
    host_.repaint(TableArea::all);

    if (checkEndOfHand()) return true;
    startOpponentAfterPlayer();
    return true;
}

void Game::startOpponentAfterPlayer() {
    state.undoStack.clear();
    showInstruction(kPromptOpponentsTurn);
    startOpponentTurn();
}

void Game::discardRedThree(int meldIndex) {
    GameState& g = state;
    if (!g.hasDrawn || !rules.threeBlock) return;
    if (meldIndex < 0 || meldIndex >= g.playerMelds.count) return;
    if (!isRedThree(g.playerMelds.at(meldIndex).face)) return;
    // Ending the turn commits the melds like any discard; the hand itself does not shrink.
    if (!validateForCommit(g, rules, layout, g.playerHand.count)) {
        showWarning(kWarnCannotDiscard);
        return;
    }
    g.hasDrawn = 0;
    host_.setUndoEnabled(false);
    g.mayTakePile = 1;
    g.pileFrozen = 1;
    Card card = removeFromColumn(g.playerMelds, meldIndex, layout, g.playerVelnoras, kColumnStep);
    reportMove(
        Move::withFace(MoveKind::discardRedThree, card.face).fromDeck(card.deck).at(meldIndex));
    const int fromX = card.x, fromY = card.y;
    card.x = layout.tableLeft;
    card.y = layout.discardY;
    moveCard(card, fromX, fromY);
    push(g.discardPile, card);
    showInstruction(kPromptDraw);
    host_.repaint(TableArea::all);
    if (checkEndOfHand()) return;
    startOpponentAfterPlayer();
}

void Game::endHand() {
    GameState& g = state;
    if (!g.stockExhausted || g.promptState != kPromptDraw) return;
    if (isForced()) {
        host_.showMessage(MessageKind::warning, kForcedText);
        return;
    }
    reportMove(Move::of(MoveKind::endHand));
    g.endHandRequested = 1;
    checkEndOfHand();
}

bool Game::passIfStuck() {
    GameState& g = state;
    if (!isStuckWithOneCard(g, rules, layout)) return false;
    host_.showMessage(MessageKind::information, kStuckText);
    g.undoStack.clear();
    g.inputBlocked = 1;
    reportMove(Move::of(MoveKind::pass));
    // The turn state is settled before the opponent moves: its turn runs inside this call.
    g.topCardPending = 0;
    g.hasDrawn = 0;
    g.takingPile = 0;
    g.stockDrawsThisTurn = 0;
    g.mayTakePile = 1;
    host_.setUndoEnabled(false);
    takeSnapshot(g);
    showInstruction(kPromptOpponentsTurn);
    startOpponentTurn();
    return true;
}

void Game::endOpponentTurn() {
    // Going out is scored against the meld points held when the turn began, so they are copied
    // only after the check; a hand that ended here has already been scored and the next one
    // dealt, and its state is left alone.
    if (checkEndOfHand()) return;
    state.opponentMeldPointsAtTurnStart = state.opponentMeldPoints;
    state.inputBlocked = 0;
    state.opponentPromptState = kPromptOpponentsTurn;
    showInstruction(kPromptDraw);
}

} // namespace velnora
