// The end of a hand and of a match: scoring both seats, the result dialogs, the statistics and
// the deal of the next hand.

#include "game.h"
#include "meld_check.h"
#include "scoring.h"

namespace velnora {

namespace {

// Holds the "end of hand running" mark for one call and restores it on every way out, so that
// network data keeps waiting in the buffer while the dialogs are open, also when a hand ends
// again inside the deal this call makes.
class RunningMark {
public:
    RunningMark(bool& flag, TableHost& host) : flag_(flag), saved_(flag), host_(host) {
        flag_ = true;
        if (!saved_) host_.holdNetworkMessages(true);
    }
    ~RunningMark() {
        flag_ = saved_;
        if (!saved_) host_.holdNetworkMessages(false);
    }
    RunningMark(const RunningMark&) = delete;
    RunningMark& operator=(const RunningMark&) = delete;

private:
    bool& flag_;
    bool saved_;
    TableHost& host_;
};

} // namespace

void Game::toggleOpponentCards() {
    state.showOpponentCards = state.showOpponentCards ? 0 : 1;
    for (Card& c : state.opponentHand.edit())
        c.faceUp = c.faceUp ? 0 : 1;
    state.opponentCardSpacing = static_cast<std::uint8_t>(22 - state.opponentCardSpacing);
    host_.repaint(TableArea::opponentHand);
}

std::string Game::playerName() const {
    return options.playerName.empty() ? "Player" : options.playerName;
}

std::string Game::opponentName() const {
    return options.networkGame ? options.remoteName : "Computer";
}

std::string Game::opponentPhrase() const {
    return options.networkGame ? options.remoteName : "the computer";
}

bool Game::checkEndOfHand() {
    if (holdEndOfHand) return false;
    RunningMark mark(endOfHandRunning_, host_);

    const bool someoneOut =
        hasGoneOut(state, Seat::player, rules) || hasGoneOut(state, Seat::opponent, rules);
    if (!someoneOut && !(state.stockExhausted && state.endHandRequested)) return false;
    // The hand may be closed from both a discard and the opponent's going out; score it once.
    if (state.promptState == kPromptWaitForDeal) return false;
    showInstruction(kPromptWaitForDeal);
    state.promptState = kPromptWaitForDeal;

    const std::string other = opponentName();
    const std::string phrase = opponentPhrase();
    const std::string name = playerName();

    // An empty hand alone is not going out: a hand emptied by a wildcard while a second
    // velnora is still missing must not earn the finish bonus when the stock later runs out.
    state.wentOut = hasGoneOut(state, Seat::player, rules)     ? 0
                    : hasGoneOut(state, Seat::opponent, rules) ? 1
                                                               : 2;

    // Scoring of both seats
    HandReport report;
    report.player = scoreSeat(state, Seat::player, rules, layout);
    report.opponent = scoreSeat(state, Seat::opponent, rules, layout);
    report.playerName = name;
    report.opponentName = other;
    report.networkGame = options.networkGame;
    const int handDiff = report.player.total() - report.opponent.total();
    host_.playSound(report.player.total() < report.opponent.total() ? SoundEvent::loseHand
                                                                    : SoundEvent::winHand);
    state.playerTotal += report.player.total();
    state.opponentTotal += report.opponent.total();
    lastHandReport = report;
    if (listener_) {
        flushPendingMove();
        listener_->handScored(report);
    }

    if (host_.showScoring(report)) {
        // The details name the opponent's cards, so a local game shows them meanwhile.
        const bool reveal = !state.showOpponentCards && !options.networkGame;
        if (reveal) toggleOpponentCards();
        host_.showDetails(report);
        if (reveal) toggleOpponentCards();
    }

    host_.recordHighscore(0, handDiff);

    // End of the match
    if (state.playerTotal >= kMatchTarget || state.opponentTotal >= kMatchTarget) {
        const int matchDiff = state.playerTotal - state.opponentTotal;
        host_.recordHighscore(1, matchDiff);
        host_.recordMatchHistory(state.playerTotal, state.opponentTotal);
        const bool counted = !options.playerName.empty();
        if (matchDiff > 0) {
            if (counted) host_.recordWinLoss(true);
            host_.playSound(SoundEvent::winMatch);
        } else if (matchDiff < 0) {
            if (counted) host_.recordWinLoss(false);
            host_.playSound(SoundEvent::loseMatch);
        }
        host_.savePlayerList();

        MatchReport match;
        match.verdict = matchVerdict(matchDiff, name, phrase);
        match.playerTotal = state.playerTotal;
        match.opponentTotal = state.opponentTotal;
        match.matchDiff = matchDiff;
        match.opponentName = other;
        match.networkGame = options.networkGame;
        lastMatchReport = match;

        if (host_.showGameOver(match) != kResultYes) {
            host_.closeApplication();
            return true;
        }
        state.playerTotal = 0;
        state.opponentTotal = 0;
        state.gameInProgress = 0;
        noteMatchStarted();
        // The winner (either side on a draw) tells the partner that a new match begins.
        if (options.networkGame && matchDiff >= 0) reportMove(Move::of(MoveKind::newGame));
    }

    // In a network game the copy whose player scored more deals; the server on a tie.
    const bool dealsHere =
        !options.networkGame || handDiff > 0 || (handDiff == 0 && options.isServer);
    if (dealsHere && dealsAfterScoring_) dealHand();
    return true;
}

} // namespace velnora
