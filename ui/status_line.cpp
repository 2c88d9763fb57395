#include "status_line.h"

#include "dialog_look.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>

namespace velnora::ui {

namespace {
constexpr int kSpacing = 2;
} // namespace

StatusLine::StatusLine(QWidget* parent, QObject* tipFilter) : QWidget(parent) {
    setObjectName(QStringLiteral("StatusLine"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(kSpacing);
    label_ = look::plain(new QLabel(this));
    label_->setObjectName(QStringLiteral("lbStatus"));
    // The line gets what the bar has left; it never widens the window to fit a long text.
    label_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row->addWidget(label_, 1);
    panels_[playerMeld] =
        makePanel("pnPCurrMeld", 50, QStringLiteral("Your meld"),
                  QStringLiteral("Your Current Meld (and Current Minimum)"), tipFilter);
    panels_[opponentMeld] = makePanel("pnCCurrMeld", 34, QStringLiteral("Their meld"),
                                      QStringLiteral("Opponent's Current Meld"), tipFilter);
    panels_[playerTotal] = makePanel("pnPCurrScore", 34, QStringLiteral("Your total"),
                                     QStringLiteral("Your Current Score"), tipFilter);
    panels_[opponentTotal] = makePanel("pnCCurrScore", 34, QStringLiteral("Their total"),
                                       QStringLiteral("Opponent's Current Score"), tipFilter);
    for (const Panel& p : panels_)
        row->addWidget(p.frame);
}

StatusLine::Panel StatusLine::makePanel(const char* name, int width, const QString& caption,
                                        const QString& tip, QObject* tipFilter) {
    Panel p;
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setObjectName(QString::fromLatin1(name) + QStringLiteral("Frame"));
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(3, 0, 1, 0);
    row->setSpacing(3);
    p.caption = new QLabel(caption, frame);
    p.caption->setObjectName(QString::fromLatin1(name) + QStringLiteral("Caption"));
    // The caption names the number; the number is what the eye looks for.
    QPalette muted = p.caption->palette();
    muted.setColor(QPalette::WindowText, palette().color(QPalette::PlaceholderText));
    p.caption->setPalette(muted);
    p.number = new QLabel(frame);
    p.number->setObjectName(QString::fromLatin1(name));
    p.number->setFixedWidth(width);
    p.number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row->addWidget(p.caption);
    row->addWidget(p.number);
    p.frame = frame;
    for (QWidget* w : {static_cast<QWidget*>(frame), static_cast<QWidget*>(p.caption),
                       static_cast<QWidget*>(p.number)}) {
        w->setToolTip(tip);
        w->installEventFilter(tipFilter);
    }
    return p;
}

void StatusLine::setText(const QString& text) {
    text_ = text;
    refit();
}

void StatusLine::setWarning(bool warning) {
    warning_ = warning;
    label_->setStyleSheet(warning ? QStringLiteral("color: red; font-weight: bold;") : QString());
    refit();
}

void StatusLine::showNumbers(const QString& playerMeldText, int opponentMeldPoints,
                             int playerTotalPoints, int opponentTotalPoints) {
    panels_[playerMeld].number->setText(playerMeldText);
    panels_[opponentMeld].number->setText(QString::number(opponentMeldPoints));
    panels_[playerTotal].number->setText(QString::number(playerTotalPoints));
    panels_[opponentTotal].number->setText(QString::number(opponentTotalPoints));
}

void StatusLine::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    refit();
}

int StatusLine::panelsWidth(Fit fit) const {
    if (fit == Fit::textAlone || fit == Fit::textCut) return 0;
    const bool totals = fit == Fit::whole;
    const bool captions = fit == Fit::whole || fit == Fit::withoutTotals;
    int sum = 0;
    for (int i = 0; i < int(panels_.size()); ++i) {
        if (!totals && (i == playerTotal || i == opponentTotal)) continue;
        const Panel& p = panels_[std::size_t(i)];
        const QMargins m = p.frame->layout()->contentsMargins();
        const int frame = 2 * p.frame->frameWidth() + m.left() + m.right();
        const int caption =
            captions ? p.caption->sizeHint().width() + p.frame->layout()->spacing() : 0;
        sum += frame + caption + p.number->width() + kSpacing;
    }
    return sum;
}

void StatusLine::refit() {
    QFont font = label_->font();
    font.setBold(warning_);
    const int needed = QFontMetrics(font).horizontalAdvance(text_) + 2 * label_->margin() + 4;
    Fit fit = Fit::textCut;
    for (Fit f : {Fit::whole, Fit::withoutTotals, Fit::bare, Fit::textAlone})
        if (needed + panelsWidth(f) <= width()) {
            fit = f;
            break;
        }
    apply(fit);
    if (fit != Fit::textCut) {
        label_->setText(text_);
        label_->setToolTip(QString());
        return;
    }
    const int room = width() - 2 * label_->margin() - 4;
    label_->setText(QFontMetrics(font).elidedText(text_, Qt::ElideRight, std::max(room, 0)));
    // The whole of a cut text stays one hover away.
    label_->setToolTip(text_);
}

void StatusLine::apply(Fit fit) {
    fit_ = fit;
    const bool totals = fit == Fit::whole;
    const bool captions = fit == Fit::whole || fit == Fit::withoutTotals;
    const bool melds = totals || captions || fit == Fit::bare;
    for (int i = 0; i < int(panels_.size()); ++i) {
        Panel& p = panels_[std::size_t(i)];
        p.caption->setVisible(captions);
        p.frame->setVisible(i == playerTotal || i == opponentTotal ? totals : melds);
    }
}

} // namespace velnora::ui
