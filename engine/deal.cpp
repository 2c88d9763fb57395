#include "game.h"
#include "scoring.h"

#include <string>

namespace velnora {

namespace {
constexpr int kHandSize = 15;
constexpr const char* kCurrentHandKey = "Settings\\CurrentHand";

} // namespace

void Game::newGame() {
    if (options.networkGame && state.gameInProgress) {
        const MessageAnswer answer = host_.showMessage(
            MessageKind::confirmation,
            "You have a network game running. Are you sure you want to start a new game?");
        if (answer != MessageAnswer::yes) return;
    }
    startNewMatch();
}

void Game::startNewMatch(const DealtHand* deal) {
    state.playerTotal = 0;
    state.opponentTotal = 0;
    noteMatchStarted();
    reportMove(Move::of(MoveKind::newGame));
    state.gameInProgress = 0;
    if (!deal) return dealHand();
    state.playerStartsHand = deal->playerStarts ? 1 : 0;
    startHand(&deal->order, deal->dealtHere);
}

bool Game::dealIfBetweenHands() {
    if (state.promptState != kPromptWaitForDeal) return false;
    // The totals already hold the last hand; a match it finished starts again from zero, as
    // after the game-over window.
    if (state.playerTotal >= kMatchTarget || state.opponentTotal >= kMatchTarget)
        startNewMatch();
    else
        dealHand();
    return true;
}

void Game::newGameWithDeal(const DealtHand& deal) {
    startNewMatch(&deal);
}

void Game::turnUpDiscard() {
    GameState& g = state;
    // Wildcards and red threes turned up freeze the pile and stay in it under the next upcard.
    while (!g.stock.empty()) {
        Card card = pop(g.stock);
        const int fromX = card.x, fromY = card.y;
        card.faceUp = 1;
        card.x = layout.tableLeft;
        card.y = layout.discardY;
        moveCard(card, fromX, fromY);
        push(g.discardPile, card);
        if (!isWild(card.rank()) && !isRedThree(card.face)) break;
        g.pileFrozen = 1;
    }
}

void Game::dealHand() {
    startHand(nullptr, true);
}

void Game::dealPartnerHand(const std::array<Card, kDeckSize>& stockOrder, bool partnerStarts) {
    state.playerStartsHand = partnerStarts ? 0 : 1;
    startHand(&stockOrder, false);
}

void Game::dealRecordedHand(const DealtHand& deal) {
    state.playerTotal = deal.playerTotal;
    state.opponentTotal = deal.opponentTotal;
    state.playerStartsHand = deal.playerStarts ? 1 : 0;
    recordedFreeze_ = deal.initialFreeze;
    startHand(&deal.order, deal.dealtHere);
    recordedFreeze_.reset();
}

void Game::resetHandState() {
    GameState& g = state;
    host_.setRulesHint("|Adjust the rules of Velnora to your local variant");
    host_.setUndoEnabled(false);
    g.undoStack.clear();
    g.topCardPending = 0;
    forgetOpponentTake();

    // The stored value, not the rules in memory: the rules dialog may have written it since. A
    // network game plays the rules in memory on both copies, which may be the partner's
    // adopted rules and are never stored; the stored value would split the two tables.
    g.pileFrozen = (options.networkGame ? rules.initialBlock
                                        : settings_.readBool(rulekeys::kInitialBlock, true))
                       ? 1
                       : 0;

    g.blackThreesAllowed = 0;
    g.opponentMeldPoints = 0;
    g.playerMeldPointsAtTurnStart = 0;
    g.opponentMeldPointsAtTurnStart = 0;
    g.stockDrawsThisTurn = 0;
    g.hasDrawn = 0;
    g.takingPile = 0;
    g.mayTakePile = 1;
    g.playerVelnoras = VelnoraTally{};
    g.opponentVelnoras = VelnoraTally{};
    g.stockExhausted = 0;
    host_.setEndHandButton(false, false);
    g.endHandRequested = 0;
    g.warning = 0;
    g.invalidMeldReason.clear();
    g.wentOut = 2;
    g.ai.clearForNewHand();
    g.playerSeatAi.clearForNewHand();
}

void Game::startHand(const std::array<Card, kDeckSize>* stockOrder, bool dealtHere) {
    GameState& g = state;
    host_.setBusyCursor(true);
    host_.playSound(SoundEvent::deal);

    if (options.showTurns) {
        std::string text;
        if (g.playerStartsHand)
            text = "It's your turn to draw first.";
        else if (options.networkGame)
            text = "It's " + options.remoteName + "'s turn to draw first.";
        else
            text = "It's the computer's turn to draw first.";
        host_.showWhoseTurn(text);
    }
    resetHandState();
    // Said before the cards fly, so the line under the popup and the deal is this hand's; the
    // prompt itself is set once the cards lie.
    host_.showStatus(instructionText(g.playerStartsHand ? kPromptDraw : kPromptOpponentsTurn),
                     false);
    if (recordedFreeze_) g.pileFrozen = *recordedFreeze_ ? 1 : 0;

    const int hand = settings_.readInt(kCurrentHandKey, 0) + 1;
    settings_.writeInt(kCurrentHandKey, hand);
    g.pileFanned = 1;
    g.loadedSinceDeal = 0;

    if (options.reseedFromClock && !stockOrder) rng_.reseed(clockSeed());
    buildDeck(g, rng_, layout); // also empties the known cards and every other pile
    if (stockOrder) {
        // The partner's shuffle replaces ours, card for card at the same place.
        for (int i = 0; i < kDeckSize; ++i) {
            Card c = (*stockOrder)[static_cast<std::size_t>(i)];
            c.x = layout.tableLeft;
            c.y = layout.stockY;
            c.faceUp = 0;
            g.stock.places()[static_cast<std::size_t>(i)] = c;
        }
    } else if (options.networkGame) {
        // The stock is complete and nothing is dealt yet: the partner rebuilds it from this.
        reportMove(Move::dealt(g.playerStartsHand != 0));
    }

    if (listener_) {
        flushPendingMove();
        DealtHand deal;
        for (int i = 0; i < kDeckSize; ++i)
            deal.order[static_cast<std::size_t>(i)] = g.stock.at(i);
        deal.dealtHere = dealtHere;
        deal.playerStarts = g.playerStartsHand != 0;
        deal.initialFreeze = g.pileFrozen != 0;
        deal.rules = rules;
        deal.playerTotal = g.playerTotal;
        deal.opponentTotal = g.opponentTotal;
        listener_->handDealt(deal);
    }

    resetColumnPositions(g, layout);

    // The dealer serves its opponent first; the partner, dealing from the same stock, serves
    // its own player first, so each seat gets the same cards on both tables.
    if (!dealtHere) dealToPlayer();
    dealToOpponent();
    if (dealtHere) dealToPlayer();

    turnUpDiscard();

    takeSnapshot(g);
    g.initialMeldMinimum = initialMeldMinimumFor(g.playerTotal);
    host_.repaint(TableArea::all);

    // Flipped before the opponent moves: its turn runs to completion inside this call and may
    // end the hand and deal the next one, which must see the flipped value.
    const bool playerStarts = g.playerStartsHand != 0;
    g.playerStartsHand = playerStarts ? 0 : 1;
    g.inputBlocked = playerStarts ? 0 : 1;
    host_.setBusyCursor(false);
    if (playerStarts) {
        g.opponentPromptState = kPromptOpponentsTurn;
        showInstruction(kPromptDraw);
    } else {
        showInstruction(kPromptOpponentsTurn);
        startOpponentTurn();
    }
}

void Game::dealToOpponent() {
    GameState& g = state;
    // Red threes dealt to a seat are laid out at once and do not count towards the fifteen.
    while (g.opponentHand.count < kHandSize && !g.stock.empty()) {
        Card card = pop(g.stock);
        const int fromX = card.x, fromY = card.y;
        if (isRedThree(card.face)) {
            card.faceUp = 1;
            placeInColumn(g.opponentMelds, card, kRankThree, -kColumnStep);
            moveCard(card, fromX, fromY);
            push(g.opponentMelds, card);
        } else {
            card.x = layout.tableLeft + g.opponentCardSpacing * g.opponentHand.count;
            card.y = kOpponentHandY;
            card.faceUp = g.showOpponentCards;
            moveCard(card, fromX, fromY);
            push(g.opponentHand, card);
        }
    }
}

void Game::dealToPlayer() {
    while (state.playerHand.count < kHandSize && !state.stock.empty())
        givePlayerCard(pop(state.stock));
}

} // namespace velnora
