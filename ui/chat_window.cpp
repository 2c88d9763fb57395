#include "chat_window.h"

#include "card_art.h"
#include "settings.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace velnora::ui {

namespace {

const QColor kFlashColour(255, 255, 128);

std::string key(const char* name) {
    return std::string("Chat\\") + name;
}

// The font height in pixels as the settings keep it: negative for a size given in points.
int heightOf(const QFont& font, const QWidget* widget) {
    const double dpi = widget->logicalDpiY() > 0 ? widget->logicalDpiY() : 96;
    return -static_cast<int>(std::lround(font.pointSizeF() * dpi / 72.0));
}

} // namespace

TfmChat::TfmChat(Settings& settings, QWidget* mainWindow, bool onTop)
    : QWidget(mainWindow, Qt::Tool), settings_(settings) {
    setObjectName("TfmChat");
    setWindowTitle("Velnora Chat");
    // No border icons: the window goes away with the connection, never by the player's hand.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    mmChat_ = new QPlainTextEdit(this);
    mmChat_->setObjectName("mmChat");
    mmChat_->setReadOnly(true);
    mmChat_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmChat_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    mmChat_->setToolTip("This area shows the messages that your partner sent you.");
    edChat_ = new QLineEdit(this);
    edChat_->setObjectName("edChat");
    edChat_->setMaxLength(kMaxLineLength);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(mmChat_, 1);
    column->addWidget(edChat_);
    setFocusProxy(edChat_);

    for (QWidget* w : {static_cast<QWidget*>(mmChat_), static_cast<QWidget*>(edChat_)}) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this,
                [this, w](const QPoint& at) { showMenu(w, at); });
    }
    connect(edChat_, &QLineEdit::returnPressed, this, &TfmChat::edChatKeyDown);

    tmMessage_ = new QTimer(this);
    tmMessage_->setObjectName("tmMessage");
    tmMessage_->setSingleShot(true);
    tmMessage_->setInterval(kFlashMs);
    connect(tmMessage_, &QTimer::timeout, this, [this] {
        QPalette p = mmChat_->palette();
        p.setColor(QPalette::Base, QApplication::palette().color(QPalette::Base));
        mmChat_->setPalette(p);
    });

    FormCreate(mainWindow, onTop);
}

TfmChat::~TfmChat() {
    settings_.writeInt(key("Top"), y());
    settings_.writeInt(key("Height"), height());
    settings_.writeInt(key("Width"), width());
    settings_.writeInt(key("Left"), x());
}

void TfmChat::FormCreate(QWidget* mainWindow, bool onTop) {
    mmChat_->clear();
    edChat_->clear();
    setStayOnTop(onTop);

    // The font, flag by flag, as the font dialog stored it
    QFont font(QString::fromStdString(settings_.readString(key("Font.Name"), "MS Sans Serif")));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(std::max(1, settings_.readInt(key("Font.Size"), 8)));
    // Pitch 2 is the fixed pitch of the font dialog; 0 and 1 leave the family's own.
    if (settings_.readInt(key("Font.Pitch"), 0) == 2) {
        font.setFixedPitch(true);
        font.setStyleHint(QFont::TypeWriter);
    }
    font.setBold(settings_.readBool(key("Font.Bold"), false));
    font.setItalic(settings_.readBool(key("Font.Italic"), false));
    font.setUnderline(settings_.readBool(key("Font.Underline"), false));
    font.setStrikeOut(settings_.readBool(key("Font.StrikeOut"), false));
    setFontEverywhere(
        font, colourFromStored(static_cast<quint32>(settings_.readInt(key("Font.Color"), 0))));

    // A stored place off the screen falls back to the main window's corner.
    const QPoint home = mainWindow ? mainWindow->pos() : QPoint(0, 0);
    QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->size() : QSize(1280, 1024);
    resize(std::max(60, settings_.readInt(key("Width"), 429)),
           std::max(40, settings_.readInt(key("Height"), 108)));
    constexpr int kUnset = std::numeric_limits<int>::min();
    int top = settings_.readInt(key("Top"), kUnset);
    int left = settings_.readInt(key("Left"), kUnset);
    if (top == kUnset && left == kUnset && mainWindow && screen) {
        // Never placed before: beside the table rather than over its menu bar and the
        // opponent's hand, where the screen has room.
        const QPoint beside =
            besideWindow(mainWindow->frameGeometry(), size(), screen->availableGeometry());
        left = beside.x();
        top = beside.y();
    }
    if (top == kUnset || top < 0 || top > screenSize.height()) top = home.y();
    if (left == kUnset || left < 0 || left > screenSize.width()) left = home.x();
    move(left, top);
}

QPoint besideWindow(const QRect& window, const QSize& size, const QRect& screen) {
    if (window.right() + size.width() <= screen.right()) return {window.right() + 1, window.top()};
    if (window.left() - size.width() >= screen.left())
        return {window.left() - size.width(), window.top()};
    if (window.bottom() + size.height() <= screen.bottom())
        return {window.left(), window.bottom() + 1};
    return window.topLeft();
}

void TfmChat::typeIntoLine(const QString& text) {
    edChat_->insert(text);
    raise();
    activateWindow();
    edChat_->setFocus();
}

void TfmChat::setStayOnTop(bool onTop) {
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    // Changing a window flag hides the window; a visible chat stays visible.
    if (visible) show();
}

void TfmChat::setFontEverywhere(const QFont& font, const QColor& colour) {
    fontColour_ = colour;
    fontHeight_ = heightOf(font, this);
    for (QWidget* w : {static_cast<QWidget*>(mmChat_), static_cast<QWidget*>(edChat_)}) {
        w->setFont(font);
        QPalette p = w->palette();
        p.setColor(QPalette::Text, colour);
        w->setPalette(p);
    }
    FormResize();
}

void TfmChat::FormResize() {
    // The font height is negative for sizes in points: an 8-point font gives 20 pixels.
    edChat_->setFixedHeight(9 - fontHeight_);
}

void TfmChat::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TfmChat::closeEvent(QCloseEvent* event) {
    // Closing only hides the window; it lives as long as the connection.
    event->ignore();
    hide();
}

// Lines

void TfmChat::AddChatLine(const QString& text) {
    QTextDocument* doc = mmChat_->document();
    // An empty log still holds one empty block; the first line replaces it.
    const bool empty = doc->blockCount() == 1 && doc->firstBlock().text().isEmpty();
    while (!empty && doc->blockCount() > kMaxLines - 1) {
        QTextCursor cut(doc->firstBlock());
        cut.select(QTextCursor::BlockUnderCursor);
        cut.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
        cut.removeSelectedText();
    }
    mmChat_->appendPlainText(text.left(kMaxLineLength));
}

void TfmChat::receiveLine(const QString& text) {
    show();
    raise();
    QPalette p = mmChat_->palette();
    p.setColor(QPalette::Base, kFlashColour);
    mmChat_->setPalette(p);
    tmMessage_->start();
    AddChatLine(text);
}

bool TfmChat::flashing() const {
    return tmMessage_->isActive();
}

QStringList TfmChat::lines() const {
    QStringList out;
    for (QTextBlock b = mmChat_->document()->firstBlock(); b.isValid(); b = b.next())
        out << b.text();
    if (out.size() == 1 && out.front().isEmpty()) out.clear();
    return out;
}

void TfmChat::edChatKeyDown() {
    if (!sendLine) return;
    // An empty input still sends the name and ": ", as a nudge.
    const QString line = sendLine(edChat_->text());
    if (line.isEmpty()) return;
    AddChatLine(line);
    edChat_->clear();
}

// Font

void TfmChat::showMenu(QWidget* on, const QPoint& at) {
    QMenu menu(this);
    QAction* item = menu.addAction("Change &Font...");
    item->setObjectName("SetFont1");
    connect(item, &QAction::triggered, this, &TfmChat::SetFont1Click);
    menu.exec(on->mapToGlobal(at));
}

void TfmChat::SetFont1Click() {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, mmChat_->font(), this, "Font");
    if (ok) applyFont(chosen, fontColour_);
}

void TfmChat::applyFont(const QFont& font, const QColor& colour) {
    setFontEverywhere(font, colour);
    settings_.writeInt(key("Font.Color"), static_cast<int>(storedFromColour(colour)));
    settings_.writeInt(key("Font.Height"), fontHeight_);
    settings_.writeString(key("Font.Name"), font.family().toStdString());
    settings_.writeInt(key("Font.Pitch"), font.fixedPitch() ? 2 : 0);
    settings_.writeInt(key("Font.Size"), static_cast<int>(std::lround(font.pointSizeF())));
    settings_.writeBool(key("Font.Bold"), font.bold());
    settings_.writeBool(key("Font.Italic"), font.italic());
    settings_.writeBool(key("Font.Underline"), font.underline());
    settings_.writeBool(key("Font.StrikeOut"), font.strikeOut());
}

} // namespace velnora::ui
