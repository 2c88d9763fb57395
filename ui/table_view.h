#pragma once
// The table: draws the game state of one Game (or, while a move is being shown, the table as it
// stood at that step, with the moving card over it), and turns the human's clicks and keys into
// the engine's player actions.

#include "card_art.h"
#include "game.h"
#include "presentation.h"

#include <QFont>
#include <QPixmap>
#include <QRect>
#include <QTransform>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPushButton;
class QTimer;

namespace velnora::ui {

class CardDrag;

// What a point on the table hits.
enum HitKind {
    kHitNothing = 0,
    kHitStock = 1,
    kHitDiscardPile = 2,
    kHitHandNatural = 3,
    kHitMeld = 4,
    kHitThreesColumn = 5,
    kHitHandWildcard = 6,
};

struct Hit {
    int kind = kHitNothing;
    int index = -1; // in playerHand (3, 6) or playerMelds (4, 5)
};

// The colour of the stock and pile counters on a table of this colour.
QColor counterColour(const QColor& table);

// Converts a point size to pixels as the table's 96-dpi artwork expects, whatever the screen.
int pointsToPixels(int points);

// Where a table of a size lies in a widget of another: scaled uniformly to fit, centred on
// whole pixels; the identity when the two sizes agree.
QTransform fitTable(QSize widget, QSize table);

// Draws a card image at a point of the table seen through `toWidget`: pixel for pixel when it
// was drawn for this scale.
void drawTableImage(QPainter& p, const QTransform& toWidget, const QPixmap& image, QPointF at);

// The drawing area of the main window: one table size's layout, scaled to the widget.
class TableView : public QWidget {
    Q_OBJECT
public:
    explicit TableView(Game& game, QWidget* parent = nullptr);
    ~TableView() override;

    // Layout and images
    // Takes the layout of a table size into the game; the widget's natural size follows.
    void computeLayout(int sizeIndex);
    // Rebuilds the card images for the current size with the two decks' backs, drawn for the
    // pixels they cover at the table's present scale.
    void loadCardImages(const std::array<CardBack, 2>& backs);
    const CardImageList& images() const { return images_; }
    void setBackgroundColour(const QColor& colour);
    QColor backgroundColour() const { return background_; }
    // Nothing is painted before the start-up interval ends.
    void setPaintingEnabled(bool enabled);
    bool paintingEnabled() const { return paintingEnabled_; }
    void setCardMovement(bool on, int speed);
    bool cardMovement() const { return cardMovement_; }
    int animationSteps() const;

    // Scaling
    // The table at its layout's size, one logical pixel per table pixel.
    QSize sizeHint() const override;
    // From table to widget coordinates; painting and clicks go through the same transform.
    const QTransform& tableTransform() const { return toWidget_; }
    // The table point under a point of the widget.
    QPoint tablePoint(QPointF widgetPoint) const;
    // Device pixels per table pixel: what the card images must be drawn for to stay sharp.
    qreal imageRatio() const;

    // Drawing services of the engine
    // Repaints one rectangle of the table once control is back in the event loop.
    void repaintRect(int left, int top, int width, int height);
    // Where a card the engine moves starts its way: where the player let go of it when it was
    // dropped, rather than the place in the hand it was lifted from.
    QPoint movementStart(const Card& card, QPoint from);
    // Repaints the band of the table that holds an area.
    void repaintArea(TableArea area);
    // The steps being shown decide what is painted while they play.
    void setPresentation(const Presentation* presentation) { presentation_ = presentation; }
    // The table painted now: the live one, or the one the step being shown stood on.
    const GameState& shown() const;
    // The image a moving card shows: its face, or its deck's back while it travels face down.
    static int dragImageIndex(const Card& card);

    // Drawing values, also read by tests
    // Extra height of the discard pile while it is shown fanned.
    int discardExtraHeight() const;
    QString discardCountText() const;
    QString stockCountText() const;
    QFont counterFont() const;
    // The font of the velnora labels after shrinking it until "Natural" fits a card.
    QFont labelFont() const;
    // The two lines under (player) or over (opponent) a velnora column; empty when none.
    QStringList velnoraLabel(Seat seat, int column) const;

    // The hint's marks: the cards of the player's hand it names, cards of the player's melds
    // (where a wildcard goes, a red three to discard), or the stock or the pile.
    struct HintMarks {
        bool stock = false;
        bool pile = false;
        std::vector<int> handIndices;
        std::vector<int> meldIndices;
    };
    // Marks cards until the player acts or the table changes.
    void setHintMarks(const HintMarks& marks);
    void clearHintMarks();
    // Whether marks are showing now; the rectangles they cover, in table coordinates.
    bool hintMarksShown() const;
    std::vector<QRect> hintMarkRects() const;
    // The part of card index of a column pile that shows above the next card of its column.
    QRect visibleRect(const Pile& pile, int index) const;

    // Controls
    Hit hitTest(int x, int y) const;
    // The mouse release on the table, mapped to a player action.
    void formMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    // A key for the table; returns true when it was consumed. The native scan code, when
    // known, tells the digit keys apart by position whatever the layout and Shift make of them.
    bool formKeyDown(int key, Qt::KeyboardModifiers modifiers, quint32 scanCode = 0);
    // Counts warnings shown on the status line, so a typed key knows whether its action failed.
    void noteWarningShown() { ++warningsShown_; }

    int lastRightClickCard = -1;
    int rightClickCount = 0;
    // The hand card the first right click armed, or -1 (the two-click discard mode); a hand
    // changed since by a meld no longer holds it there.
    int armedCard() const;
    int keySelectMode = 0;
    // Set while the program waits to retry a network connection: clicks do nothing then.
    bool waitingToRetryConnection = false;

    QPushButton* endHandButton() const { return bnEndHand_; }
    // Places the "End Hand" button 10 pixels from the table's right edge.
    void placeEndHandButton();

    // Called after every paint (the status panels follow the table), on mouse moves (the status
    // line leaves a menu hint), and for typing that belongs to the chat line.
    std::function<void()> onPainted;
    std::function<void()> onMouseMove;
    std::function<bool(int key, const QString& text)> forwardToChat;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateTransform();
    void paintTable(QPainter& p);
    void paintFrameAndCounters(QPainter& p);
    void paintVelnoraLabels(QPainter& p);
    void paintHintMarks(QPainter& p);
    // The first right click of the two-click discard leaves this frame on the card it armed.
    void paintArmedCard(QPainter& p);
    void paintMovingCard(QPainter& p);
    void drawCard(QPainter& p, const Card& c, bool showFace, int x, int y);
    void selectByRank(int column, Qt::KeyboardModifiers modifiers);
    // Runs a player action unless input is held, and lets a move that went through replace an
    // earlier warning with the turn's prompt.
    void actAsPlayer(const std::function<void()>& action);
    void actOnRelease(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void discardFromHand(int index);
    // A hand card dragged onto the melds or the pile: the action a click would take on it.
    void dropHandCard(int face, bool onPile, QPoint at, QPoint cardAt);
    bool mayStartDrag() const;
    void toggleOpponentCards();
    QPoint stockPoint() const;
    QPoint discardPoint() const;

    Game& game_;
    CardImageList images_;
    std::array<CardBack, 2> backs_;
    bool imagesLoaded_ = false;
    // Redraws the images once a resize has come to rest, not at every step of a drag.
    QTimer* imageRefresh_ = nullptr;
    QTransform toWidget_;
    QTransform toTable_;
    QColor background_{0, 128, 0};
    bool paintingEnabled_ = false;
    bool cardMovement_ = true;
    int cardSpeed_ = 10;

    const Presentation* presentation_ = nullptr;

    int warningsShown_ = 0;
    QPushButton* bnEndHand_ = nullptr;
    // The marks, with the table they were made for: any change of it ends them.
    // Where the button went down: a release acts only on the target it was pressed on.
    std::optional<Hit> pressed_;
    std::unique_ptr<CardDrag> drag_;
    // The face and table corner of a card being dropped, while the engine acts on it.
    std::optional<std::pair<int, QPoint>> dropped_;
    int armedFace_ = 0;
    HintMarks hint_;
    bool hintOn_ = false;
    Pile hintHand_;
    Pile hintMelds_;
    int hintStock_ = 0;
    int hintPile_ = 0;
};

} // namespace velnora::ui
