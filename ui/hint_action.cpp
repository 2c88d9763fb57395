#include "hint_action.h"

#include "hint.h"
#include "table_view.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QToolTip>

#include <algorithm>

namespace velnora::ui {

HintAction::HintAction(QMenu* menu, Game& game, TableView& table,
                       std::function<void(const std::string&)> status, QObject* parent)
    : QObject(parent), game_(game), table_(table), status_(std::move(status)) {
    action_ = new QAction(QStringLiteral("H&int"), parent);
    action_->setObjectName(QStringLiteral("Hint1"));
    action_->setStatusTip(QStringLiteral("Show what the Master would do in your place"));
    // No key of the table or the menus uses Ctrl+H.
    action_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    menu->addAction(action_);
    connect(action_, &QAction::triggered, this, &HintAction::showHint);
}

void HintAction::showHint() {
    if (!ai::hintAvailable(game_)) {
        status_("A hint is given when it is your turn to play.");
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ai::Hint hint = ai::masterHint(game_);
    QApplication::restoreOverrideCursor();
    if (hint.samples == 0) {
        status_("No hint can be worked out for this table.");
        return;
    }
    ++hintsUsed_;
    TableView::HintMarks marks;
    marks.stock = hint.action == ai::Hint::Action::drawFromStock;
    marks.pile =
        hint.action == ai::Hint::Action::takePile || hint.action == ai::Hint::Action::undoTakePile;
    marks.handIndices = hint.handIndices;
    marks.meldIndices = hint.meldIndices;
    table_.setHintMarks(marks);
    status_(hint.text);
    showWhereCut(QString::fromStdString(hint.text));
}

void HintAction::showWhereCut(const QString& text) {
    auto* window = qobject_cast<QWidget*>(parent());
    auto* label = window ? window->findChild<QLabel*>(QStringLiteral("lbStatus")) : nullptr;
    if (!label || !label->isVisible()) return;
    // On the small tables a hint with several melds is wider than the status line: the whole
    // of it shows above the status bar for a while.
    if (label->fontMetrics().horizontalAdvance(text) <= label->contentsRect().width()) return;
    // A table as wide as the window wraps the text to it; the tip then stands just above the
    // status bar, clear of the line it completes.
    const int width = std::max(200, window->width() - 8);
    const QString tip = QStringLiteral("<table width=\"%1\"><tr><td>%2</td></tr></table>")
                            .arg(width - 12)
                            .arg(text.toHtmlEscaped());
    QToolTip::showText(label->mapToGlobal(QPoint(0, 0)), tip, label, QRect(), kCutHintMs);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() != QLatin1String("qtooltip_label") || !w->isVisible()) continue;
        const QPoint top = label->mapToGlobal(QPoint(0, 0));
        w->move(window->mapToGlobal(QPoint(4, 0)).x(), top.y() - w->height() - 4);
    }
}

} // namespace velnora::ui
