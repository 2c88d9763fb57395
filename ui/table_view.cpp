#include "table_view.h"

#include "card_drag.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <utility>

namespace velnora::ui {

namespace {

// X keyboard keycodes (evdev + 8, what both X11 and Wayland deliver as the native scan code)
// of the digit row: "1" is 10, "9" is 18, "0" is 19. The digit keys are recognised by where
// they sit, so Shift+5 (reported as '%' on a US layout) and layouts that need Shift for digits
// still select a rank.
constexpr quint32 kScanCodeOne = 10, kScanCodeZero = 19;

// The column a rank key selects: "2".."9", "0" ten, J, Q, K, A, W the joker column; -1 else.
int columnForKey(int key, quint32 scanCode) {
    if (scanCode > kScanCodeOne && scanCode < kScanCodeZero)
        return static_cast<int>(scanCode - kScanCodeOne) + kRankTwo - 1;
    if (scanCode == kScanCodeZero) return 9; // ten
    if (key >= Qt::Key_2 && key <= Qt::Key_9) return key - Qt::Key_2 + kRankTwo;
    switch (key) {
    case Qt::Key_0:
        return 9; // ten
    case Qt::Key_J:
        return 10;
    case Qt::Key_Q:
        return 11;
    case Qt::Key_K:
        return 12;
    case Qt::Key_A:
        return kRankAce;
    case Qt::Key_W:
        return kRankJoker;
    default:
        return -1;
    }
}

bool isLastOfColumn(const Pile& pile, const Card& c, int column) {
    const ColumnPos& pos = pile.columnPos[static_cast<std::size_t>(column)];
    return c.x == pos.x && c.y == pos.y;
}

// Scans a column-laid pile for the card whose uncovered part holds the point.
int scanColumns(const Pile& pile, const Layout& l, int x, int y) {
    for (int i = 0; i < pile.count; ++i) {
        const Card& c = pile.at(i);
        if (x < c.x || x > c.x + l.cardWidth || y < c.y) continue;
        const int column = columnOf(c.x, l);
        if (isLastOfColumn(pile, c, column)) {
            if (y <= c.y + l.cardHeight) return i;
        } else if (y < c.y + kColumnStep) {
            // The strip the next card of the column leaves uncovered; its lower edge belongs to
            // the covering card.
            return i;
        }
    }
    return -1;
}

} // namespace

int pointsToPixels(int points) {
    return (points * 96 + 36) / 72;
}

QTransform fitTable(QSize widget, QSize table) {
    if (table.isEmpty() || widget.isEmpty() || widget == table) return {};
    const qreal scale =
        std::min(qreal(widget.width()) / table.width(), qreal(widget.height()) / table.height());
    // Whole-pixel margins keep the table's straight lines on the pixel grid.
    const qreal dx = std::floor((widget.width() - table.width() * scale) / 2);
    const qreal dy = std::floor((widget.height() - table.height() * scale) / 2);
    return QTransform(scale, 0, 0, scale, dx, dy);
}

TableView::TableView(Game& game, QWidget* parent)
    : QWidget(parent), game_(game), drag_(std::make_unique<CardDrag>(*this, game)) {
    setObjectName("TableView");
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    bnEndHand_ = new QPushButton("End Hand", this);
    bnEndHand_->setObjectName("bnEndHand");
    bnEndHand_->setFixedSize(75, 25);
    bnEndHand_->setFocusPolicy(Qt::NoFocus);
    bnEndHand_->hide();
    imageRefresh_ = new QTimer(this);
    imageRefresh_->setSingleShot(true);
    imageRefresh_->setInterval(120);
    connect(imageRefresh_, &QTimer::timeout, this, [this] {
        if (imagesLoaded_) loadCardImages(backs_);
    });
    // Below half the smallest table the cards could no longer be told apart.
    setMinimumSize(320, 240);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    computeLayout(0);
}

TableView::~TableView() = default;

// Layout and images

void TableView::computeLayout(int sizeIndex) {
    game_.setTableSize(sizeIndex);
    // Until a window lays it out, the table stands at its natural size.
    if (!isVisible()) resize(sizeHint());
    updateGeometry();
    updateTransform();
}

QSize TableView::sizeHint() const {
    return {game_.layout.tableWidth, game_.layout.tableHeight};
}

void TableView::updateTransform() {
    toWidget_ = fitTable(size(), sizeHint());
    toTable_ = toWidget_.inverted();
    placeEndHandButton();
    // Images drawn for another scale would be stretched: draw them again once resizing rests.
    if (imagesLoaded_ && std::abs(images_.devicePixelRatio() - imageRatio()) > 1e-3)
        imageRefresh_->start();
    update();
}

QPoint TableView::tablePoint(QPointF widgetPoint) const {
    const QPointF at = toTable_.map(widgetPoint);
    return {static_cast<int>(std::floor(at.x())), static_cast<int>(std::floor(at.y()))};
}

qreal TableView::imageRatio() const {
    return devicePixelRatioF() * toWidget_.m11();
}

void TableView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    updateTransform();
}

void TableView::placeEndHandButton() {
    // 10 table pixels from the table's right edge, wherever the scaled table ends.
    const QPointF corner = toWidget_.map(QPointF(game_.layout.tableWidth - 10, 8));
    bnEndHand_->move(qRound(corner.x()) - bnEndHand_->width(), qRound(corner.y()));
}

void TableView::loadCardImages(const std::array<CardBack, 2>& backs) {
    const bool setCursor = QApplication::overrideCursor() == nullptr;
    if (setCursor) QApplication::setOverrideCursor(Qt::WaitCursor);
    backs_ = backs;
    imagesLoaded_ = true;
    imageRefresh_->stop();
    images_.load(game_.layout.sizeIndex, backs, imageRatio());
    update();
    if (setCursor) QApplication::restoreOverrideCursor();
}

void TableView::setBackgroundColour(const QColor& colour) {
    background_ = colour;
    update();
}

void TableView::setPaintingEnabled(bool enabled) {
    paintingEnabled_ = enabled;
    update();
}

void TableView::setCardMovement(bool on, int speed) {
    cardMovement_ = on;
    cardSpeed_ = speed < 0 ? 0 : speed;
}

int TableView::animationSteps() const {
    return static_cast<int>(std::lround(100.0 / (cardSpeed_ + 1)));
}

// Drawing services of the engine

void TableView::repaintRect(int left, int top, int width, int height) {
    // Painted once control is back in the event loop: an engine call that asks for a repaint
    // is still changing the table. A scaled edge may fall inside a pixel: one more on each side.
    update(toWidget_.mapRect(QRect(left, top, width, height)).adjusted(-1, -1, 1, 1));
}

void TableView::repaintArea(TableArea area) {
    const Layout& l = game_.layout;
    // Every card that reaches or leaves a hand or meld row passes through the stock or the
    // discard pile, whose counters must follow: the pile column comes along with every band.
    if (area != TableArea::all && area != TableArea::pileColumn)
        repaintRect(0, 0, l.tableLeft + l.cardWidth + 6, l.tableHeight);
    switch (area) {
    case TableArea::pileColumn:
        repaintRect(0, 0, l.tableLeft + l.cardWidth + 6, l.tableHeight);
        break;
    case TableArea::opponentHand:
        repaintRect(0, 0, l.tableWidth, kOpponentHandY + l.cardHeight + 1);
        break;
    case TableArea::opponentMelds:
        repaintRect(0, 0, l.tableWidth, l.midY + 2);
        break;
    case TableArea::playerMelds:
    case TableArea::playerHand:
        repaintRect(0, l.midY - 1, l.tableWidth, l.tableHeight - l.midY + 1);
        break;
    case TableArea::all:
        update();
        break;
    }
}

int TableView::dragImageIndex(const Card& card) {
    // A card that travels face down (dealt or drawn to the opponent) must not show its face on
    // the way.
    return card.faceUp ? card.face - 1 : kFirstBackImage + (card.deck ? 1 : 0);
}

// Drawing values

int TableView::discardExtraHeight() const {
    const Pile& pile = shown().discardPile;
    if (!shown().pileFanned || pile.count < 2) return 0;
    return kColumnStep * (pile.count - 1);
}

QString TableView::discardCountText() const {
    return (shown().pileFrozen ? QStringLiteral("*") : QString()) +
           QString::number(shown().discardPile.count);
}

QString TableView::stockCountText() const {
    return QString::number(shown().stock.count);
}

QFont TableView::counterFont() const {
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pointsToPixels(8));
    f.setBold(true);
    return f;
}

QFont TableView::labelFont() const {
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setBold(game_.layout.sizeIndex != 0);
    const int limit = game_.layout.cardWidth - 4;
    for (int points = 10; points >= 1; --points) {
        f.setPixelSize(pointsToPixels(points));
        if (QFontMetrics(f).horizontalAdvance(QStringLiteral("Natural")) <= limit) break;
    }
    return f;
}

QStringList TableView::velnoraLabel(Seat seat, int column) const {
    if (column < 1 || column >= kColumns) return {};
    const bool player = seat == Seat::player;
    const VelnoraTally& tally = player ? shown().playerVelnoras : shown().opponentVelnoras;
    const auto k = static_cast<std::size_t>(column);
    const int kind = tally.velnoraKind[k];
    if (kind == kNoVelnora) return {};
    if (kind == kWildVelnora) return {QStringLiteral("Wild"), QStringLiteral("card")};
    const int naturals = tally.velnoraNaturals[k];
    if (kind == kNaturalVelnora) return {QStringLiteral("Natural"), QString::number(naturals)};
    const Pile& melds = player ? shown().playerMelds : shown().opponentMelds;
    const int cards = columnCount(melds, column, game_.layout);
    return {QStringLiteral("Mixed"),
            QString::number(cards - naturals) + "/" + QString::number(naturals)};
}

// Painting

void TableView::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.setClipRegion(event->region());
    // The border around a scaled table is cloth too.
    p.fillRect(rect(), background_);
    if (!paintingEnabled_) return;
    p.setTransform(toWidget_);
    paintTable(p);
    paintHintMarks(p);
    paintArmedCard(p);
    if (&shown() == &game_.state) drag_->paint(p);
    paintMovingCard(p);
    if (onPainted) onPainted();
}

const GameState& TableView::shown() const {
    const GameState* frame = presentation_ ? presentation_->shownTable() : nullptr;
    return frame ? *frame : game_.state;
}

void TableView::paintMovingCard(QPainter& p) {
    if (!presentation_ || !presentation_->overlayShown()) return;
    const QPixmap& image = images_.image(dragImageIndex(presentation_->overlayCard()));
    if (image.isNull()) return;
    const QPoint at = presentation_->overlayPos();
    drawTableImage(p, toWidget_, image, at);
    if (presentation_->overlayDarkened()) {
        // The selected look: the card's image blended half with black.
        p.fillRect(QRect(at, QSize(game_.layout.cardWidth, game_.layout.cardHeight)),
                   QColor(0, 0, 0, 128));
    }
}

void TableView::drawCard(QPainter& p, const Card& c, bool showFace, int x, int y) {
    const int index = showFace ? c.face - 1 : kFirstBackImage + (c.deck ? 1 : 0);
    const QPixmap& image = images_.image(index);
    if (!image.isNull()) drawTableImage(p, toWidget_, image, QPointF(x, y));
}

void drawTableImage(QPainter& p, const QTransform& toWidget, const QPixmap& image, QPointF at) {
    const qreal dpr = p.device()->devicePixelRatioF();
    const QRectF target =
        toWidget.mapRect(QRectF(at, QSizeF(image.size()) / image.devicePixelRatio()));
    // An image drawn for this scale is copied pixel for pixel from a device pixel's corner;
    // only one left from another scale (while a resize rests) is stretched, smoothly.
    const QSizeF exact = QSizeF(image.size()) / dpr;
    const bool sharp = std::abs(exact.width() - target.width()) * dpr < 1.0 &&
                       std::abs(exact.height() - target.height()) * dpr < 1.0;
    const QPointF corner(std::round(target.x() * dpr) / dpr, std::round(target.y() * dpr) / dpr);
    p.save();
    p.resetTransform();
    p.setRenderHint(QPainter::SmoothPixmapTransform, !sharp);
    p.drawPixmap(QRectF(corner, sharp ? exact : target.size()), image, QRectF(image.rect()));
    p.restore();
}

void TableView::paintTable(QPainter& p) {
    const GameState& g = shown();
    const Layout& l = game_.layout;

    if (!g.stock.empty()) drawCard(p, g.stock.top(), false, g.stock.top().x, g.stock.top().y);

    if (g.pileFanned) {
        for (int i = 0; i < g.discardPile.count; ++i) {
            const Card& c = g.discardPile.at(i);
            drawCard(p, c, true, c.x, c.y + kColumnStep * i);
        }
    } else if (!g.discardPile.empty()) {
        const Card& c = g.discardPile.top();
        drawCard(p, c, true, c.x, c.y);
    }

    // The opponent's hand is drawn sorted by rank whatever its pile order.
    const bool hideFaces = g.loadedSinceDeal || game_.options.networkGame;
    int x = l.tableLeft;
    for (int rank = 0; rank < kColumns; ++rank) {
        for (const Card& c : g.opponentHand) {
            if (c.rank() != rank) continue;
            drawCard(p, c, c.faceUp && !hideFaces, x, c.y);
            x += g.opponentCardSpacing;
        }
    }

    for (const Pile* pile : {&g.opponentMelds, &g.playerMelds, &g.playerHand})
        for (const Card& c : *pile)
            drawCard(p, c, c.faceUp != 0, c.x, c.y);

    paintFrameAndCounters(p);
    paintVelnoraLabels(p);
}

// Hint marks

void TableView::setHintMarks(const HintMarks& marks) {
    const GameState& g = game_.state;
    hint_ = marks;
    hintOn_ = true;
    hintHand_ = g.playerHand;
    hintMelds_ = g.playerMelds;
    hintStock_ = g.stock.count;
    hintPile_ = g.discardPile.count;
    update();
}

void TableView::clearHintMarks() {
    if (!hintOn_) return;
    hintOn_ = false;
    update();
}

bool TableView::hintMarksShown() const {
    const GameState& g = game_.state;
    return hintOn_ && g.playerHand == hintHand_ && g.playerMelds == hintMelds_ &&
           g.stock.count == hintStock_ && g.discardPile.count == hintPile_;
}

std::vector<QRect> TableView::hintMarkRects() const {
    std::vector<QRect> rects;
    if (!hintMarksShown()) return rects;
    const GameState& g = game_.state;
    const Layout& l = game_.layout;
    auto visible = [&](const Pile& pile, int index) { return visibleRect(pile, index); };
    if (hint_.stock && !g.stock.empty())
        rects.emplace_back(g.stock.top().x, g.stock.top().y, l.cardWidth, l.cardHeight);
    if (hint_.pile && !g.discardPile.empty()) {
        const Card& top = g.discardPile.top();
        const int fan = g.pileFanned ? kColumnStep * (g.discardPile.count - 1) : 0;
        rects.emplace_back(top.x, top.y + fan, l.cardWidth, l.cardHeight);
    }
    for (int i : hint_.handIndices)
        if (i >= 0 && i < g.playerHand.count) rects.push_back(visible(g.playerHand, i));
    for (int i : hint_.meldIndices)
        if (i >= 0 && i < g.playerMelds.count) rects.push_back(visible(g.playerMelds, i));
    return rects;
}

QRect TableView::visibleRect(const Pile& pile, int index) const {
    const Layout& l = game_.layout;
    // Cards of a column overlap: a card shows a strip down to the next card of its column.
    const Card& c = pile.at(index);
    int height = l.cardHeight;
    for (const Card& o : pile)
        if (o.x == c.x && o.y > c.y && o.y - c.y < height) height = o.y - c.y;
    return QRect(c.x, c.y, l.cardWidth, height);
}

int TableView::armedCard() const {
    const Pile& hand = game_.state.playerHand;
    if (lastRightClickCard < 0 || lastRightClickCard >= hand.count) return -1;
    return hand.at(lastRightClickCard).face == armedFace_ ? lastRightClickCard : -1;
}

void TableView::paintArmedCard(QPainter& p) {
    const int armed = armedCard();
    // While a move is shown the hand may not be the live one the mark belongs to.
    if (armed < 0 || !game_.options.doubleClickDiscard || &shown() != &game_.state) return;
    const int pen = std::max(2, game_.layout.cardWidth / 16);
    const QRect r = visibleRect(game_.state.playerHand, armed);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(200, 0, 0), pen, Qt::DashLine));
    p.drawRect(r.adjusted(pen / 2, pen / 2, -(pen + 1) / 2, -(pen + 1) / 2));
}

void TableView::paintHintMarks(QPainter& p) {
    // A bright frame and a light wash: plain on the green cloth and on white card faces alike;
    // a dark edge around the frame keeps it apart from an orange or brown card back.
    const int pen = std::max(2, game_.layout.cardWidth / 16);
    p.setBrush(Qt::NoBrush);
    for (const QRect& r : hintMarkRects()) {
        p.fillRect(r, QColor(255, 215, 0, 90));
        p.setPen(QPen(QColor(60, 25, 0), 1));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        const QRect inner = r.adjusted(1, 1, -1, -1);
        p.setPen(QPen(QColor(255, 120, 0), pen));
        p.drawRect(inner.adjusted(pen / 2, pen / 2, -(pen + 1) / 2, -(pen + 1) / 2));
    }
}

QColor counterColour(const QColor& table) {
    // Black, as always, while it stands out well enough from the cloth (a contrast of relative
    // luminance of 3, enough for large text); white on a dark blue or a dark red.
    const auto linear = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const double lum = 0.2126 * linear(table.redF()) + 0.7152 * linear(table.greenF()) +
                       0.0722 * linear(table.blueF());
    const double againstBlack = (lum + 0.05) / 0.05;
    return againstBlack >= 3.0 ? QColor(Qt::black) : QColor(Qt::white);
}

void TableView::paintFrameAndCounters(QPainter& p) {
    const Layout& l = game_.layout;
    const QFont font = counterFont();
    const QFontMetrics fm(font);
    const int midY = l.midY;
    const int h = fm.boundingRect(QStringLiteral("8")).height() + l.cardHeight + 5;
    const int e = discardExtraHeight();
    const int R = l.tableLeft + l.cardWidth + 4;
    const int W = l.tableWidth;

    p.setPen(Qt::black);
    p.drawLine(0, midY - h, R - 1, midY - h);
    p.drawLine(R, midY - h - 1, R, midY);
    p.drawPolyline(QPolygon({QPoint(W, midY + 1), QPoint(R, midY + 1), QPoint(R, midY + h + 1 + e),
                             QPoint(0, midY + h + 1 + e)}));
    p.setPen(Qt::white);
    p.drawLine(0, midY - h - 1, R, midY - h - 1);
    p.drawPolyline(
        QPolygon({QPoint(R - 1, midY - h), QPoint(R - 1, midY + h + e), QPoint(0, midY + h + e)}));
    p.drawLine(R, midY, W, midY);

    p.setFont(font);
    p.setPen(counterColour(background_));
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(background_);
    const int centre = l.tableLeft + l.cardWidth / 2;
    const int th = fm.height();
    auto centred = [&](const QString& text, int top) {
        const int w = fm.horizontalAdvance(text);
        p.drawText(centre - w / 2, top + fm.ascent(), text);
    };
    centred(discardCountText(), midY + l.cardHeight + e + 3);
    centred(stockCountText(), midY - l.cardHeight - th - 3);
    p.setBackgroundMode(Qt::TransparentMode);
}

void TableView::paintVelnoraLabels(QPainter& p) {
    const Layout& l = game_.layout;
    const QFont font = labelFont();
    const QFontMetrics fm(font);
    const int t = fm.height();
    p.setFont(font);
    auto text = [&](const QString& s, int x, int top, int extra) {
        p.drawText(x + (l.cardWidth - fm.horizontalAdvance(s)) / 2 + extra, top + fm.ascent(), s);
    };
    auto box = [&](int x, int top, int bottom) {
        p.setPen(Qt::black);
        p.setBrush(Qt::yellow);
        p.drawRect(x, top, l.cardWidth - 1, bottom - top - 1);
        p.setBrush(Qt::NoBrush);
    };
    for (int k = 1; k < kColumns; ++k) {
        const int x = l.tableLeft + k * l.columnPitch;
        const QStringList mine = velnoraLabel(Seat::player, k);
        if (mine.size() == 2) {
            const int top = l.playerMeldsY + l.cardHeight;
            box(x, top + 15, top + 20 + 2 * t);
            text(mine[0], x, top + 17, 0);
            text(mine[1], x, top + 19 + t, mine[0] == "Wild" ? 0 : 1);
        }
        const QStringList theirs = velnoraLabel(Seat::opponent, k);
        if (theirs.size() == 2) {
            const int base = l.opponentMeldsY;
            box(x, base - 2 * t - 20, base - 15);
            text(theirs[0], x, base - 2 * t - 18, 0);
            if (theirs[0] == "Wild")
                text(theirs[1], x, base - t - 16, 0);
            else
                text(theirs[1], x, base - t - 18, 1);
        }
    }
}

// Controls

QPoint TableView::stockPoint() const {
    return {game_.layout.tableLeft + 1, game_.layout.stockY + 1};
}

QPoint TableView::discardPoint() const {
    return {game_.layout.tableLeft + 1, game_.layout.discardY + 1};
}

Hit TableView::hitTest(int x, int y) const {
    const GameState& g = game_.state;
    const Layout& l = game_.layout;
    Hit hit;
    if (g.promptState == kPromptWaitForDeal) return hit;
    const bool inColumn = x >= l.tableLeft && x <= l.tableLeft + l.cardWidth;
    if (!g.stockExhausted && inColumn && y >= l.stockY && y <= l.stockY + l.cardHeight) {
        hit.kind = kHitStock;
    } else if (inColumn && y >= l.discardY && y <= l.discardY + l.cardHeight) {
        hit.kind = kHitDiscardPile;
    } else if (int i = scanColumns(g.playerHand, l, x, y); i >= 0) {
        hit.index = i;
        hit.kind = isWild(g.playerHand.at(i).rank()) ? kHitHandWildcard : kHitHandNatural;
    } else if (int m = scanColumns(g.playerMelds, l, x, y); m >= 0) {
        hit.index = m;
        hit.kind = columnOf(g.playerMelds.at(m).x, l) == kRankThree ? kHitThreesColumn : kHitMeld;
    }
    return hit;
}

void TableView::formMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos) {
    actAsPlayer([&] { actOnRelease(button, modifiers, pos); });
}

void TableView::actAsPlayer(const std::function<void()>& action) {
    const GameState& g = game_.state;
    if (g.inputBlocked || waitingToRetryConnection || !paintingEnabled_) return;
    const int warningsBefore = warningsShown_;
    const auto cards = [&g] {
        return std::array{g.playerHand.version(), g.playerMelds.version(), g.discardPile.version(),
                          g.stock.version()};
    };
    const auto before = cards();
    action();
    // A move that went through makes an earlier warning old news; the prompt of the phase the
    // turn is in takes its place. A prompt that changed has said so already.
    if (warningsShown_ == warningsBefore && g.warning != kNoWarning && cards() != before)
        game_.showInstruction(g.promptState);
}

void TableView::actOnRelease(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos) {
    const GameState& g = game_.state;
    const Hit hit = hitTest(pos.x(), pos.y());
    if (hit.kind >= kHitStock && hit.kind <= kHitHandNatural) game_.noteTableClick();
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool ctrl = modifiers & Qt::ControlModifier;

    if (button == Qt::LeftButton) {
        if (g.pileFanned) {
            game_.foldDiscardPile();
            repaintArea(TableArea::pileColumn);
        }
        switch (hit.kind) {
        case kHitStock:
            game_.applyPlayerMove(Move::of(MoveKind::draw));
            break;
        case kHitDiscardPile:
            game_.applyPlayerMove(
                Move::of(g.takingPile ? MoveKind::undoTakePile : MoveKind::takeTopCard));
            break;
        case kHitHandNatural:
            if (ctrl || shift)
                game_.meldFromHand(hit.index, ctrl ? MeldMode::upToThree : MeldMode::allOfRank);
            else
                game_.applyPlayerMove(
                    Move::withFace(MoveKind::meld, g.playerHand.at(hit.index).face));
            break;
        case kHitMeld:
            if (const int column = columnOf(g.playerMelds.at(hit.index).x, game_.layout);
                !shift && column > kRankThree)
                game_.applyPlayerMove(Move::meldWildcardAt(0, column));
            else
                game_.meldCardClick(hit.index, shift);
            break;
        case kHitHandWildcard:
            // For wildcards Shift outranks Ctrl: up to seven before up to three.
            if (shift || ctrl)
                game_.meldWildcards(shift ? MeldMode::allOfRank : MeldMode::upToThree);
            else
                game_.applyPlayerMove(Move::meldWildcardAt(0, kRankTwo));
            break;
        default:
            break;
        }
    } else if (button == Qt::RightButton) {
        if (hit.kind == kHitHandNatural || hit.kind == kHitHandWildcard) {
            if (!g.hasDrawn) {
                game_.showWarning(kWarnDiscardBeforeDraw);
            } else {
                const int needed = game_.options.doubleClickDiscard ? 1 : 0;
                if (hit.index != armedCard()) {
                    lastRightClickCard = hit.index;
                    armedFace_ = g.playerHand.at(hit.index).face;
                    rightClickCount = 0;
                    update();
                } else if (rightClickCount < needed) {
                    ++rightClickCount;
                }
                if (rightClickCount == needed) discardFromHand(hit.index);
            }
        } else if (hit.kind == kHitThreesColumn && g.hasDrawn && game_.rules.threeBlock) {
            game_.applyPlayerMove(
                Move::withFace(MoveKind::discardRedThree, g.playerMelds.at(hit.index).face));
        }
    }
}

void TableView::discardFromHand(int index) {
    const GameState& g = game_.state;
    if (!g.hasDrawn) {
        game_.showWarning(kWarnDiscardBeforeDraw);
        return;
    }
    rightClickCount = 0;
    lastRightClickCard = -1;
    armedFace_ = 0;
    update();
    game_.applyPlayerMove(Move::withFace(MoveKind::discard, g.playerHand.at(index).face));
}

void TableView::selectByRank(int column, Qt::KeyboardModifiers modifiers) {
    const Layout& l = game_.layout;
    const int x = l.tableLeft + column * l.columnPitch;
    const int prompt = game_.state.promptState;
    const int warningsBefore = warningsShown_;
    switch (keySelectMode) {
    case 0:
        formMouseUp(Qt::LeftButton, modifiers, {x, l.playerHandY + kColumnStep});
        break;
    case 1:
        formMouseUp(Qt::RightButton, modifiers, {x, l.playerHandY + kColumnStep});
        break;
    default:
        formMouseUp(Qt::LeftButton, modifiers, {x, l.playerMeldsY + kColumnStep});
        break;
    }
    // Keep the selection prompt for the next key only while the player is still melding: after
    // a discard the turn has passed and the prompt would invite a key that cannot act.
    const GameState& g = game_.state;
    const bool stillMelding = g.hasDrawn && !g.inputBlocked &&
                              g.promptState != kPromptOpponentsTurn &&
                              g.promptState != kPromptWaitForDeal && g.promptState != kPromptDraw;
    if (warningsShown_ == warningsBefore && stillMelding) game_.showInstruction(prompt);
}

void TableView::toggleOpponentCards() {
    game_.toggleOpponentCards();
    const GameState& g = game_.state;
    game_.layout.opponentCardSpacing = g.opponentCardSpacing;
    const Layout& l = game_.layout;
    const int width = l.cardWidth + 12 * g.opponentHand.count - 12;
    repaintRect(l.tableLeft, kOpponentHandY, width > l.cardWidth ? width : l.cardWidth,
                l.cardHeight);
}

bool TableView::formKeyDown(int key, Qt::KeyboardModifiers modifiers, quint32 scanCode) {
    const int prompt = game_.state.promptState;
    if (prompt >= kPromptSelectMeld && prompt <= kPromptSelectWildcard) {
        const int column = columnForKey(key, scanCode);
        if (column >= 0) {
            selectByRank(column, modifiers);
            return true;
        }
    }
    switch (key) {
    case Qt::Key_Escape:
        // Leaves a selection prompt for the prompt of the turn's phase; a selection entered
        // before drawing must not invite melding.
        if (prompt >= kPromptSelectMeld && prompt <= kPromptSelectWildcard) {
            const GameState& g = game_.state;
            game_.showInstruction(!g.hasDrawn    ? kPromptDraw
                                  : g.takingPile ? kPromptTakingPile
                                                 : kPromptMeldOrDiscard);
        }
        return true;
    case Qt::Key_F5:
        return true;
    case Qt::Key_F6:
        formMouseUp(Qt::LeftButton, modifiers, stockPoint());
        return true;
    case Qt::Key_F7:
        formMouseUp(Qt::LeftButton, modifiers, discardPoint());
        return true;
    case Qt::Key_F8:
        keySelectMode = 0;
        game_.showInstruction(kPromptSelectMeld);
        return true;
    case Qt::Key_F9:
        keySelectMode = 2;
        game_.showInstruction(kPromptSelectWildcard);
        return true;
    case Qt::Key_F10:
        keySelectMode = 1;
        game_.showInstruction(kPromptSelectDiscard);
        return true;
    case Qt::Key_F11:
        if (modifiers & Qt::ControlModifier) {
            toggleOpponentCards();
            return true;
        }
        return false;
    default:
        return false;
    }
}

// Qt events

// The mouse buttons are read with the drag gesture, in card_drag.cpp.

void TableView::keyPressEvent(QKeyEvent* event) {
    // A modifier alone is the start of a Ctrl or Shift click, which keeps the marks in view.
    const int key = event->key();
    if (key == Qt::Key_Escape && drag_->cancel()) {
        update();
        return;
    }
    if (key != Qt::Key_Shift && key != Qt::Key_Control && key != Qt::Key_Alt && key != Qt::Key_Meta)
        clearHintMarks();
    if (formKeyDown(event->key(), event->modifiers(), event->nativeScanCode())) return;
    if (game_.options.networkGame && forwardToChat && !(event->modifiers() & Qt::AltModifier) &&
        event->key() >= 33 && forwardToChat(event->key(), event->text()))
        return;
    QWidget::keyPressEvent(event);
}

bool TableView::event(QEvent* event) {
    // F10 would otherwise reach the menu bar; the table keeps its function keys to itself,
    // except F11 without Ctrl, the window's full screen.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool fullScreenKey =
            key->key() == Qt::Key_F11 && !(key->modifiers() & Qt::ControlModifier);
        if (key->key() >= Qt::Key_F5 && key->key() <= Qt::Key_F11 && !fullScreenKey) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

} // namespace velnora::ui
