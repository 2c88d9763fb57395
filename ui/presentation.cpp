#include "presentation.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include <cmath>
#include <utility>

namespace {

bool isModifierKey(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr || key == Qt::Key_CapsLock;
}

} // namespace

namespace velnora::ui {

Presentation::Presentation(Output output, QWidget* guarded, QObject* parent)
    : QObject(parent), out_(std::move(output)), guarded_(guarded), timer_(new QTimer(this)) {
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &Presentation::tick);
}

Presentation::~Presentation() {
    holdInput(false);
}

void Presentation::holdInput(bool hold) {
    if (hold == holding_ || !qApp) return;
    holding_ = hold;
    if (hold)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool Presentation::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu: {
        // A notice box of the presentation, and every other window, takes input as usual.
        const auto* widget = qobject_cast<const QWidget*>(watched);
        if (inNotice_ || !widget || !guarded_ || widget->window() != guarded_) return false;
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
            // A key asks for the rest at once and then acts on the table as it now stands: an
            // F6 typed while our discard lands draws, and Alt+G opens its menu, rather than
            // being lost. (A shortcut is offered as an override before it is a key press.)
            const auto* key = static_cast<const QKeyEvent*>(event);
            if (key->isAutoRepeat() || isModifierKey(key->key())) return true;
            finish(true);
            return false;
        }
        // A click shows the rest at once too, but does not act: it was aimed at the table as it
        // was shown. Its release is past the filter by the time the rest is shown.
        if (event->type() == QEvent::MouseButtonRelease)
            QTimer::singleShot(0, this, [this] {
                if (busy() && !inNotice_) finish(true);
            });
        return true;
    }
    default:
        return false;
    }
}

void Presentation::add(Step step) {
    steps_.push_back(std::move(step));
    holdInput(true);
    // A step added while another plays, or while a notice is open, is reached in turn.
    if (scheduled_ || timed_ || inNotice_) return;
    scheduled_ = true;
    QTimer::singleShot(0, this, &Presentation::playNext);
}

void Presentation::startTimed(int milliseconds) {
    timed_ = true;
    timer_->start(milliseconds);
}

void Presentation::popFront() {
    if (!steps_.empty()) steps_.pop_front();
}

void Presentation::playNext() {
    scheduled_ = false;
    if (timed_ || inNotice_) return;
    while (!steps_.empty()) {
        Step& step = steps_.front();
        switch (step.kind) {
        case Step::status:
            out_.showStatus(step.text, step.warning);
            popFront();
            continue;
        case Step::sound:
            out_.playSound(step.soundEvent);
            popFront();
            continue;
        case Step::notice: {
            const Step notice = std::move(step);
            popFront();
            // The box runs its own event loop; steps added meanwhile wait for it to close.
            inNotice_ = true;
            out_.showNotice(notice.noticeKind, notice.text);
            inNotice_ = false;
            continue;
        }
        case Step::pause:
            shown_ = step.table;
            overlay_ = false;
            out_.repaintTable();
            startTimed(step.milliseconds);
            return;
        case Step::move:
            shown_ = step.table;
            positions_ = out_.movementSteps ? out_.movementSteps() : 0;
            position_ = 0;
            highlighting_ = positions_ == 0 && step.highlight;
            if (positions_ == 0 && !step.highlight) {
                popFront();
                continue;
            }
            overlay_ = true;
            overlayCard_ = step.card;
            overlayDark_ = highlighting_;
            overlayPos_ = highlighting_ ? step.to : step.from;
            out_.repaintTable();
            startTimed(highlighting_ ? kHighlightMs : kMovementStepMs);
            return;
        }
    }
    endPlaying();
}

void Presentation::tick() {
    timed_ = false;
    if (steps_.empty()) {
        endPlaying();
        return;
    }
    const Step& step = steps_.front();
    if (step.kind == Step::move && !highlighting_) {
        ++position_;
        if (position_ < positions_) {
            const double f = double(position_) / positions_;
            overlayPos_ =
                QPoint(int(std::lround(step.from.x() + (step.to.x() - step.from.x()) * f)),
                       int(std::lround(step.from.y() + (step.to.y() - step.from.y()) * f)));
            out_.repaintTable();
            startTimed(kMovementStepMs);
            return;
        }
        if (step.highlight) {
            // The selected look at the card's new place.
            highlighting_ = true;
            overlayDark_ = true;
            overlayPos_ = step.to;
            out_.repaintTable();
            startTimed(kHighlightMs);
            return;
        }
    }
    overlay_ = false;
    popFront();
    playNext();
}

void Presentation::endPlaying() {
    const bool wasShowing = shown_ != nullptr || overlay_;
    shown_.reset();
    overlay_ = false;
    timed_ = false;
    holdInput(false);
    if (wasShowing) out_.repaintTable();
    emit finished();
}

void Presentation::finish(bool showNotices) {
    timer_->stop();
    timed_ = false;
    std::deque<Step> rest;
    rest.swap(steps_);
    const Step* lastStatus = nullptr;
    for (const Step& step : rest)
        if (step.kind == Step::status) lastStatus = &step;
    if (lastStatus) out_.showStatus(lastStatus->text, lastStatus->warning);
    shown_.reset();
    overlay_ = false;
    holdInput(false);
    out_.repaintTable();
    if (showNotices) {
        const bool outer = inNotice_;
        for (const Step& step : rest) {
            if (step.kind != Step::notice) continue;
            inNotice_ = true;
            out_.showNotice(step.noticeKind, step.text);
        }
        inNotice_ = outer;
    }
    emit finished();
}

} // namespace velnora::ui
