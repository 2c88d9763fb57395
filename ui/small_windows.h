#pragma once
// The small windows around the table: the start-up splash, the whose-turn popup, the player
// choice and the About box.
//
// Use:
//     auto* splash = new TfmSplash; splash->showCentredOn(mainWindow);  // close() when done
//     TfmWhoseTurn::popup(mainWindow, "It's your turn to draw first.");  // closes itself
//     TfmSelectPlayer choice(names, currentPlayer, this);
//     choice.exec(); currentPlayer = choice.selectedIndex();
//     showAbout(this);   // the caller plays "about.wav" first when sound is on

#include <QDialog>
#include <QFrame>
#include <QPointer>
#include <QStringList>

class QLabel;
class QListWidget;
class QTimer;

namespace velnora::ui {

// The borderless start-up panel of 229 x 141 pixels; deletes itself when closed.
class TfmSplash : public QFrame {
    Q_OBJECT
public:
    explicit TfmSplash(QWidget* parent = nullptr);

    // Shows the splash centred on over (or on the screen when over is null).
    void showCentredOn(QWidget* over);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QLabel* lbVersion_ = nullptr;
};

// The borderless popup that tells who draws first; it closes itself after 1500 ms.
class TfmWhoseTurn : public QFrame {
    Q_OBJECT
public:
    // How long the popup stays, in milliseconds.
    static constexpr int kShowMilliseconds = 1500;

    // Closes any popup still showing and shows a new one with text, centred on over.
    static TfmWhoseTurn* popup(QWidget* over, const QString& text);
    // The popup now showing, or null.
    static TfmWhoseTurn* current();

    // The timer that closes the popup (objectName "tmWhoseTurn").
    QTimer* timer() const { return tmWhoseTurn_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    TfmWhoseTurn(QWidget* over, const QString& text);
    void tmWhoseTurnTimer();

    QPointer<QWidget> over_;
    QTimer* tmWhoseTurn_ = nullptr;
    static QPointer<TfmWhoseTurn> current_;
};

// "Select Player": the list of known players with the current one selected, and "&OK".
class TfmSelectPlayer : public QDialog {
    Q_OBJECT
public:
    // names in stored order; current is the index to select (-1 or out of range: none).
    TfmSelectPlayer(const QStringList& names, int current, QWidget* parent = nullptr);

    // The line selected when the dialog closed; the starting index when nothing is selected.
    int selectedIndex() const;

    // The window has no close button, so Escape keeps the player chosen at the start.
    void reject() override;

private:
    QListWidget* lbPlayers_ = nullptr;
    int initial_;
};

// "About Velnora": icon, product name, version and build.
class TfmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfmAbout(QWidget* parent = nullptr);
};

// Shows the modal "About Velnora" window over parent.
void showAbout(QWidget* parent);

} // namespace velnora::ui
