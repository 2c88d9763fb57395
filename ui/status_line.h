#pragma once
// The status bar's contents: the status text, then four number panels with short captions (the
// player's melded points with the minimum still to reach, the opponent's, and both match
// totals). The text comes first: when it needs the room, the totals give theirs up (the menu
// bar shows them as well), then the captions, then the meld panels; only a text wider than the
// whole line is cut, with an ellipsis.

#include <QString>
#include <QWidget>

#include <array>

class QFrame;
class QLabel;

namespace velnora::ui {

class StatusLine : public QWidget {
    Q_OBJECT
public:
    // tipFilter sees the panels' tooltip events (the window lifts them clear of the bar).
    StatusLine(QWidget* parent, QObject* tipFilter);

    // The whole text, whatever part of it shows.
    void setText(const QString& text);
    const QString& text() const { return text_; }
    // Red and bold, or the normal look.
    void setWarning(bool warning);
    bool warning() const { return warning_; }
    void showNumbers(const QString& playerMeld, int opponentMeld, int playerTotal,
                     int opponentTotal);

    // How much of the panels the text leaves room for.
    enum class Fit { whole, withoutTotals, bare, textAlone, textCut };
    Fit fit() const { return fit_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Panel {
        QFrame* frame = nullptr;
        QLabel* caption = nullptr;
        QLabel* number = nullptr;
    };
    enum { playerMeld, opponentMeld, playerTotal, opponentTotal };
    Panel makePanel(const char* name, int width, const QString& caption, const QString& tip,
                    QObject* tipFilter);
    // Shows as much as fits and cuts the text only when nothing else can give way.
    void refit();
    void apply(Fit fit);
    int panelsWidth(Fit fit) const;

    QLabel* label_ = nullptr;
    std::array<Panel, 4> panels_;
    QString text_;
    bool warning_ = false;
    Fit fit_ = Fit::whole;
};

} // namespace velnora::ui
