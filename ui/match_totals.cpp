#include "match_totals.h"

#include "dialog_look.h"
#include "scoring.h"

namespace velnora::ui {

namespace {
// Room for a name of about a dozen letters; the menus keep the rest of the bar.
constexpr int kNameWidth = 90;
} // namespace

MatchTotals::MatchTotals(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("lbMatchTotals"));
    look::plain(this);
    setContentsMargins(6, 0, 8, 0);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setToolTip(QStringLiteral("The match totals: the first side to reach %1 wins the match")
                   .arg(kMatchTarget));
}

QSize MatchTotals::sizeHint() const {
    const QFontMetrics fm = fontMetrics();
    const QMargins m = contentsMargins();
    const int numbers = 2 * fm.horizontalAdvance(QStringLiteral(" -00000"));
    const int words = fm.horizontalAdvance(QStringLiteral("Match totals:  \u00b7 "));
    return {words + numbers + 2 * kNameWidth + m.left() + m.right(), QLabel::sizeHint().height()};
}

void MatchTotals::showTotals(const QString& playerName, int playerTotal,
                             const QString& opponentName, int opponentTotal) {
    // One pass over all four: a name holding "%2" must not take the next number's place.
    const QString text =
        QStringLiteral("Match totals: %1 %2 \u00b7 %3 %4")
            .arg(fontMetrics().elidedText(playerName, Qt::ElideRight, kNameWidth),
                 QString::number(playerTotal),
                 fontMetrics().elidedText(opponentName, Qt::ElideRight, kNameWidth),
                 QString::number(opponentTotal));
    if (text != this->text()) setText(text);
}

} // namespace velnora::ui
