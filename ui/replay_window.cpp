#include "replay_window.h"

#include "dialog_look.h"
#include "game_files.h"
#include "table_view.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

namespace velnora::ui {

namespace {
// A record of a long match is some hundred kilobytes; anything far larger is no record.
constexpr std::size_t kMaxRecordSize = 16 * 1024 * 1024;
} // namespace

std::optional<net::MatchRecord> ReplayWindow::load(const QString& file, QString& why) {
    std::string text;
    const ReadStatus status = readWholeFile(file.toStdString(), kMaxRecordSize, text);
    if (status != ReadStatus::ok) {
        why = status == ReadStatus::missing    ? QStringLiteral("The match record is gone.")
              : status == ReadStatus::tooLarge ? QStringLiteral("The file is too large to be a "
                                                                "match record.")
                                               : QStringLiteral("The match record cannot be read.");
        return std::nullopt;
    }
    net::MatchRecord record;
    std::string reason;
    if (!net::parseRecord(text, record, reason)) {
        why = QStringLiteral("This is no match record Velnora can replay (%1).")
                  .arg(QString::fromStdString(reason));
        return std::nullopt;
    }
    if (record.hands.empty()) {
        why = QStringLiteral("The match record holds no hand.");
        return std::nullopt;
    }
    return record;
}

ReplayWindow::ReplayWindow(net::MatchRecord record, const ReplayLook& look, QWidget* parent)
    : QDialog(parent), record_(std::move(record)) {
    setObjectName(QStringLiteral("ReplayWindow"));
    // The table scales with the window: a replay may be watched maximised.
    setProperty("velnoraResizable", true);
    setWindowTitle(QStringLiteral("Replay: %1 - %2")
                       .arg(QString::fromStdString(record_.playerName),
                            QString::fromStdString(record_.opponentName)));
    setFont(look::dialogFont());

    game_ = std::make_unique<Game>(host_, settings_, rng_);
    game_->options.showTurns = false;
    game_->setDealsAfterScoring(false);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(look::kMargin, look::kMargin, look::kMargin, look::kMargin);
    table_ = new TableView(*game_, this);
    table_->computeLayout(look.sizeIndex);
    table_->loadCardImages(look.backs);
    table_->setBackgroundColour(look.background);
    table_->setCardMovement(false, 10);
    table_->setPaintingEnabled(true);
    // A replay is watched, not played: clicks and keys never reach its table.
    table_->setAttribute(Qt::WA_TransparentForMouseEvents);
    table_->setFocusPolicy(Qt::NoFocus);
    outer->addWidget(table_, 0, Qt::AlignHCenter);

    position_ = new QLabel(this);
    position_->setObjectName(QStringLiteral("lbPosition"));
    position_->setTextFormat(Qt::PlainText); // the names come from a file
    outer->addWidget(position_);

    auto* row = new QHBoxLayout;
    const auto add = [&](const char* name, const QString& text, const QString& tip,
                         std::function<void()> act) {
        QPushButton* b = look::button(this, QString::fromLatin1(name), text);
        b->setToolTip(tip);
        connect(b, &QPushButton::clicked, this, std::move(act));
        row->addWidget(b);
        return b;
    };
    add("bnHandBack", QStringLiteral("<< &Hand"),
        QStringLiteral("The start of this hand, or the previous hand"), [this] { stepHand(-1); });
    add("bnTurnBack", QStringLiteral("< &Turn"),
        QStringLiteral("The start of this turn, or the previous turn"), [this] { stepTurn(-1); });
    add("bnMoveBack", QStringLiteral("< &Move"), QStringLiteral("One move back"),
        [this] { stepMove(-1); });
    play_ = add("bnPlay", QStringLiteral("&Play"), QStringLiteral("Play on by itself"),
                [this] { togglePlay(); });
    add("bnMoveOn", QStringLiteral("M&ove >"), QStringLiteral("One move on"),
        [this] { stepMove(1); });
    add("bnTurnOn", QStringLiteral("T&urn >"), QStringLiteral("To the next turn"),
        [this] { stepTurn(1); });
    add("bnHandOn", QStringLiteral("H&and >>"), QStringLiteral("To the next hand"),
        [this] { stepHand(1); });
    speed_ = new QSlider(Qt::Horizontal, this);
    speed_->setObjectName(QStringLiteral("tbSpeed"));
    speed_->setRange(1, 10);
    speed_->setValue(5);
    speed_->setToolTip(QStringLiteral("How fast the replay plays on"));
    speed_->setMinimumWidth(120);
    row->addWidget(new QLabel(QStringLiteral("Speed:"), this));
    row->addWidget(speed_);
    add("bnReview", QStringLiteral("&Review"),
        QStringLiteral("Mark the turns of this hand where your choice differed from the hint's"),
        [this] { reviewShownHand(); });
    playAgain_ =
        add("bnPlayAgain", QStringLiteral("Play &Deal Again"),
            QStringLiteral("Start a new game against the computer with this hand's deal"), [this] {
                const DealtHand deal = record_.hands[static_cast<std::size_t>(hand_)].deal;
                accept();
                if (playDeal_) playDeal_(deal);
            });
    playAgain_->hide();
    QPushButton* close = look::button(this, QStringLiteral("bnClose"), QStringLiteral("&Close"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    row->addWidget(close);
    outer->addLayout(row);

    review_ = new QListWidget(this);
    review_->setObjectName(QStringLiteral("lbReview"));
    review_->setWordWrap(true);
    review_->setMaximumHeight(6 * review_->fontMetrics().height());
    review_->hide();
    connect(review_, &QListWidget::currentRowChanged, this, [this](int row) {
        const auto* notes = shownReview();
        if (notes && row >= 0 && row < static_cast<int>(notes->size()))
            goTo(hand_, (*notes)[static_cast<std::size_t>(row)].move);
    });
    outer->addWidget(review_);

    for (auto [key, step] : {std::pair{Qt::Key_Right, 1}, std::pair{Qt::Key_Left, -1}})
        connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, this,
                [this, step] { stepMove(step); });

    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, [this] {
        const int before = move_, hand = hand_;
        stepMove(1);
        if (before == move_ && hand == hand_) togglePlay(); // the end of the match
    });
    connect(speed_, &QSlider::valueChanged, this,
            [this](int v) { timer_->setInterval(2200 - 200 * v); });
    timer_->setInterval(2200 - 200 * speed_->value());
    goTo(0, 0);
}

ReplayWindow::~ReplayWindow() = default;

int ReplayWindow::movesOf(int hand) const {
    return static_cast<int>(record_.hands[static_cast<std::size_t>(hand)].moves.size());
}

void ReplayWindow::goTo(int hand, int move) {
    hand = std::clamp(hand, 0, static_cast<int>(record_.hands.size()) - 1);
    move = std::clamp(move, 0, movesOf(hand));
    const net::RecordedHand& h = record_.hands[static_cast<std::size_t>(hand)];
    // Back, or another hand: the hand is dealt again and played up to the move; forward within
    // the hand needs only the moves in between. Replay is exact, so both reach the same table.
    if (hand != hand_ || move < move_ || !refused_.isEmpty()) {
        refused_.clear();
        game_->rules = h.deal.rules;
        game_->dealRecordedHand(h.deal);
        if (!game_->state.showOpponentCards) game_->toggleOpponentCards();
        const bool otherHand = hand != hand_;
        hand_ = hand;
        move_ = 0;
        if (otherHand) showReview();
    }
    try {
        while (move_ < move) {
            const net::RecordedMove& m = h.moves[static_cast<std::size_t>(move_)];
            const MoveResult result = game_->applyRecordedMove(m.seat, m.move);
            if (!result.accepted) {
                refused_ = QString::fromStdString(result.why);
                break;
            }
            ++move_;
        }
    } catch (const InternalError& e) {
        refused_ = QString::fromStdString(e.what());
    }
    table_->update();
    showPosition();
}

void ReplayWindow::stepMove(int direction) {
    if (direction > 0 && move_ == movesOf(hand_) &&
        hand_ + 1 < static_cast<int>(record_.hands.size()))
        return goTo(hand_ + 1, 0);
    if (direction < 0 && move_ == 0 && hand_ > 0) return goTo(hand_ - 1, movesOf(hand_ - 1));
    goTo(hand_, move_ + direction);
}

void ReplayWindow::stepTurn(int direction) {
    const auto& moves = record_.hands[static_cast<std::size_t>(hand_)].moves;
    const auto seatAt = [&](int i) { return moves[static_cast<std::size_t>(i)].seat; };
    int m = move_;
    if (direction > 0) {
        if (m >= static_cast<int>(moves.size())) return stepMove(1);
        const Seat seat = seatAt(m);
        while (m < static_cast<int>(moves.size()) && seatAt(m) == seat)
            ++m;
    } else {
        if (m == 0) return stepMove(-1);
        // The start of the turn the last move belongs to; from there, the turn before.
        const Seat seat = seatAt(m - 1);
        while (m > 0 && seatAt(m - 1) == seat)
            --m;
        if (m == move_ && m > 0) return stepTurn(-1);
    }
    goTo(hand_, m);
}

void ReplayWindow::stepHand(int direction) {
    if (direction < 0 && move_ > 0) return goTo(hand_, 0);
    goTo(hand_ + direction, 0);
}

void ReplayWindow::showPosition() {
    const GameState& g = game_->state;
    QString text = QStringLiteral("Hand %1 of %2, move %3 of %4.   %5: %6   %7: %8")
                       .arg(hand_ + 1)
                       .arg(record_.hands.size())
                       .arg(move_)
                       .arg(movesOf(hand_))
                       .arg(QString::fromStdString(record_.playerName))
                       .arg(g.playerTotal)
                       .arg(QString::fromStdString(record_.opponentName))
                       .arg(g.opponentTotal);
    if (const auto* notes = shownReview())
        for (const ReviewNote& note : *notes)
            if (note.move == move_)
                text += QStringLiteral("\n%1 %2").arg(QString::fromStdString(note.played),
                                                      QString::fromStdString(note.hinted));
    if (!refused_.isEmpty())
        text += QStringLiteral("\nThe record goes on with a move this table refuses: ") + refused_;
    position_->setText(text);
}

const std::vector<ReviewNote>* ReplayWindow::shownReview() const {
    const auto it = reviews_.find(hand_);
    return it == reviews_.end() ? nullptr : &it->second;
}

void ReplayWindow::reviewShownHand() {
    if (!shownReview()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        reviews_[hand_] = reviewHand(record_.hands[static_cast<std::size_t>(hand_)]);
        QApplication::restoreOverrideCursor();
    }
    showReview();
    showPosition();
}

void ReplayWindow::showReview() {
    const QSignalBlocker quiet(review_);
    review_->clear();
    const auto* notes = shownReview();
    review_->setVisible(notes != nullptr);
    if (!notes) return;
    for (const ReviewNote& note : *notes)
        review_->addItem(
            QStringLiteral("Move %1: %2 %3")
                .arg(note.move)
                .arg(QString::fromStdString(note.played), QString::fromStdString(note.hinted)));
    if (notes->empty())
        review_->addItem(QStringLiteral("In this hand you chose as the hint would have."));
}

void ReplayWindow::offerPlayingDealAgain(std::function<void(const DealtHand&)> play) {
    playDeal_ = std::move(play);
    playAgain_->setVisible(static_cast<bool>(playDeal_));
}

void ReplayWindow::togglePlay() {
    if (timer_->isActive()) {
        timer_->stop();
        play_->setText(QStringLiteral("&Play"));
    } else {
        timer_->start();
        play_->setText(QStringLiteral("&Pause"));
    }
}

} // namespace velnora::ui
