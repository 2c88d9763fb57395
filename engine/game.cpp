#include "game.h"

#include <array>

namespace velnora {

namespace {
constexpr std::array<const char*, 10> kPromptTexts = {
    "Draw a card by clicking on the stock or the discard pile",
    "Meld a card by clicking it, discard a card by right-clicking it",
    "Meld by clicking a card, discard by right-clicking it twice",
    "Meld by clicking left, undo taking discard pile by clicking it (costs 50 points)",
    "Draw a second card from the stock",
    "Select a card to meld by typing one of the characters 2 thru 9, 0 (for 10), J, Q, K, A or W "
    "for a wildcard",
    "Select a card to discard by typing one of the characters 2 thru 9, 0 (for 10), J, Q, K, A or "
    "W for a wildcard",
    "Select a card to add a wildcard to by typing one of the characters 2 thru 9, 0 (for 10), J, "
    "Q, K or A",
    "It's the turn of your opponent now",
    "Please wait for the next hand to be dealt",
};

constexpr std::array<const char*, 10> kWarningTexts = {
    "",
    "You cannot meld before drawing; please draw first by clicking on the stock or the discard "
    "pile",
    "You cannot discard before drawing; please draw first by clicking on the stock or the "
    "discard pile",
    "You have already drawn",
    "Discarding is not possible now: ",
    "Taking the discard pile is not possible now because you cannot meld the top card",
    "Black Threes can only be melded as the last cards when going out",
    "You need at least seven wildcards to create a wildcard Velnora",
    "Wildcard Velnoras are not allowed with the current rules",
    "You cannot take a pile with one card if you only have one card in hand",
};
} // namespace

const char* promptTableText(int prompt) {
    if (prompt < 0 || prompt >= static_cast<int>(kPromptTexts.size())) return "";
    return kPromptTexts[static_cast<std::size_t>(prompt)];
}

const char* warningText(Warning warning) {
    if (warning < 0 || warning >= static_cast<int>(kWarningTexts.size())) return "";
    return kWarningTexts[static_cast<std::size_t>(warning)];
}

Game::Game(TableHost& host, Settings& settings, Random& rng)
    : layout(computeLayout(0)), host_(host), settings_(settings), rng_(rng) {}

void Game::setRules(const RuleSettings& chosen) {
    const bool blockChanged = chosen.initialBlock != rules.initialBlock;
    rules = chosen;
    // In a network hand the dealer's rule froze the pile on both tables; changing it here
    // alone would part the two copies, so the new rule waits for the next deal.
    if (!blockChanged || options.networkGame) return;
    state.pileFrozen = chosen.initialBlock ? 1 : 0;
    host_.repaint(TableArea::pileColumn);
}

void Game::setTableSize(int sizeIndex) {
    const std::uint8_t spacing = state.opponentCardSpacing;
    layout = computeLayout(sizeIndex);
    layout.opponentCardSpacing = spacing;
}

int Game::promptForMouse(int prompt) const {
    // The two meld prompts differ only in how a discard is made; the mouse option picks one.
    if (prompt == kPromptMeldOrDiscard && options.doubleClickDiscard)
        return kPromptMeldOrDiscardTwice;
    if (prompt == kPromptMeldOrDiscardTwice && !options.doubleClickDiscard)
        return kPromptMeldOrDiscard;
    return prompt;
}

const char* Game::fixedInstructionText(int prompt) const {
    prompt = promptForMouse(prompt);
    if (prompt == kPromptDraw && state.stockExhausted)
        return "Stock exhausted; take discard pile or end hand";
    if (prompt == kPromptOpponentsTurn)
        return options.networkGame ? nullptr : "It's the computer's turn";
    return promptTableText(prompt);
}

std::string Game::instructionText(int prompt) const {
    if (const char* text = fixedInstructionText(prompt)) return text;
    return "It's " + options.remoteName + "'s turn";
}

void Game::showInstruction(int prompt) {
    prompt = promptForMouse(prompt);
    state.promptState = static_cast<std::uint8_t>(prompt);
    state.warning = 0;
    // Shown after every move of long headless runs: a fixed text is passed without a copy.
    if (const char* text = fixedInstructionText(prompt))
        host_.showStatus(text, false);
    else
        host_.showStatus(instructionText(prompt), false);
    host_.setEndHandButton(state.stockExhausted != 0, prompt == kPromptDraw);
}

void Game::showWarning(Warning warning) {
    state.warning = static_cast<std::uint8_t>(warning);
    lastWarning_ = warning;
    if (warning == kNoWarning) {
        host_.showStatus(promptTableText(state.promptState), false);
        return;
    }
    std::string text = warningText(warning);
    if (warning == kWarnCannotDiscard) text += state.invalidMeldReason;
    host_.showStatus(text, true);
}

void Game::moveCard(const Card& card, int fromX, int fromY) {
    host_.animateCard(card, fromX, fromY, card.x, card.y, false);
}

Card Game::givePlayerCard(Card card) {
    GameState& g = state;
    const int fromX = card.x, fromY = card.y;
    card.faceUp = 1;
    // A red three is never held: it goes straight to its column of the melds.
    const bool redThree = isRedThree(card.face);
    Pile& to = redThree ? g.playerMelds : g.playerHand;
    placeInColumn(to, card, redThree ? kRankThree : card.rank(), kColumnStep);
    moveCard(card, fromX, fromY);
    push(to, card);
    return card;
}

int Game::wildcardsInHand() const {
    return countRank(state.playerHand, kRankJoker) + countRank(state.playerHand, kRankTwo);
}

void Game::playerVelnoraCheck(int column) {
    const VelnoraCheck check = checkVelnora(state, Seat::player, column, layout);
    if (check.isNew)
        host_.playSound(check.kind == kMixed ? SoundEvent::mixedVelnora
                                             : SoundEvent::naturalVelnora);
}

} // namespace velnora
