#include "hint_action.h"

#include "hint.h"
#include "table_view.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>

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

    // The status line cuts a long hint and may be switched off: the panel shows all of it until
    // the player acts. Clicks go through it to the cards it may lie over.
    panel_ = new QLabel(&table_);
    panel_->setObjectName(QStringLiteral("lbHint"));
    panel_->setTextFormat(Qt::PlainText);
    panel_->setWordWrap(true);
    panel_->setAttribute(Qt::WA_TransparentForMouseEvents);
    panel_->setFrameStyle(QFrame::Box | QFrame::Plain);
    panel_->setMargin(3);
    panel_->setAutoFillBackground(true);
    QPalette look = panel_->palette();
    QColor paper = look.color(QPalette::ToolTipBase);
    // The cards under it still show a little, so a long hand column is not lost from view.
    paper.setAlpha(235);
    look.setColor(QPalette::Window, paper);
    look.setColor(QPalette::WindowText, look.color(QPalette::ToolTipText));
    panel_->setPalette(look);
    panel_->hide();
    table_.installEventFilter(this);
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
    panel_->setText(QString::fromStdString(hint.text));
    panel_->show();
    placePanel();
    panel_->raise();
}

bool HintAction::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) placePanel();
    return QObject::eventFilter(watched, event);
}

void HintAction::followTable() {
    if (!panel_->isHidden() && !table_.hintMarksShown()) panel_->hide();
}

void HintAction::placePanel() {
    // Across the foot of the table, just above the status line, as high as its text needs.
    const int margin = 4;
    const int width = std::max(100, table_.width() - 2 * margin);
    const int height = panel_->heightForWidth(width);
    panel_->setGeometry(margin, table_.height() - height - margin, width, height);
}

} // namespace velnora::ui
