#pragma once
// "Rule Differences": the rules in which this copy and the opponent differ, with the buttons to
// take over the opponent's rules or to hide the list. Not modal and always on top, so the
// players can talk it over in the chat window while it shows.

#include <QStringList>
#include <QWidget>

class QTreeWidget;

namespace velnora::ui {

// One row of the list: the rule's display name, this copy's value, the opponent's value.
struct RuleRow {
    QString rule;
    QString yours;
    QString opponents;
};

class TfmRuleDifferences : public QWidget {
    Q_OBJECT
public:
    explicit TfmRuleDifferences(QWidget* parent = nullptr);

    // Replaces the rows of lvRules.
    void setRows(const QList<RuleRow>& rows);
    int rowCount() const;
    RuleRow row(int index) const;

signals:
    // "Use Opponent's Rules" was pressed; the window has hidden itself.
    void useOpponentsRules();

private:
    QTreeWidget* lvRules_ = nullptr;
};

} // namespace velnora::ui
