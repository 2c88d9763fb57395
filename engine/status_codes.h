#pragma once
// The status line's prompts and warnings by name: the engine shows them, a refused move reports
// its warning, and the table of texts numbers them.

namespace velnora {

// Status-line prompt numbers and warning numbers.
enum Prompt : int {
    kPromptDraw = 0,
    kPromptMeldOrDiscard = 1,
    kPromptMeldOrDiscardTwice = 2,
    kPromptTakingPile = 3,
    kPromptSecondCard = 4,
    kPromptSelectMeld = 5,
    kPromptSelectDiscard = 6,
    kPromptSelectWildcard = 7,
    kPromptOpponentsTurn = 8,
    kPromptWaitForDeal = 9,
};

// Warnings of the status line, by the number the table of texts uses.
enum Warning : int {
    kNoWarning = 0,
    kWarnMeldBeforeDraw = 1,
    kWarnDiscardBeforeDraw = 2,
    kWarnAlreadyDrawn = 3,
    kWarnCannotDiscard = 4, // followed by the reason the melds cannot stand
    kWarnCannotTakePile = 5,
    kWarnBlackThreesLast = 6,
    kWarnTooFewWildcards = 7,
    kWarnNoWildVelnoras = 8,
    kWarnOneCardPile = 9,
};

} // namespace velnora
