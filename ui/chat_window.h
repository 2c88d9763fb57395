#pragma once
// "Velnora Chat": the log of lines the two players typed and of the connection's notices, and
// the input line. It exists only while a network game is connected; its place, size and font
// are remembered in the settings store.
//
// Use:
//     auto* chat = new TfmChat(settings, mainWindow, chatOnTop);   // placed and shown by caller
//     chat->sendLine = [&](const QString& text) { return session.sendChat(...); };
//     chat->AddChatLine("Connection established with ...");
//     chat->receiveLine(line);                                       // a partner's "CHAT"
//     delete chat;                                                   // stores the geometry

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <functional>

class QLineEdit;
class QPlainTextEdit;
class QTimer;

namespace velnora {
class Settings;
}

namespace velnora::ui {

// Where a window of that size stands next to `window` on the screen: right of it, else left,
// else below; its own corner when none of these fits.
QPoint besideWindow(const QRect& window, const QSize& size, const QRect& screen);

class TfmChat : public QWidget {
    Q_OBJECT
public:
    // Longest line the log takes, and how many lines it keeps.
    static constexpr int kMaxLineLength = 255;
    static constexpr int kMaxLines = 101;
    // How long a received line colours the log.
    static constexpr int kFlashMs = 200;

    // mainWindow gives the fallback position and stays the owner; onTop keeps the window above
    // others.
    TfmChat(Settings& settings, QWidget* mainWindow, bool onTop);
    ~TfmChat() override;

    // Sends the typed text and returns the line as the log shows it; empty when this copy has
    // no network role (Enter then does nothing).
    std::function<QString(const QString& text)> sendLine;

    // Appends one line (own, received or a notice), dropping the oldest beyond kMaxLines.
    void AddChatLine(const QString& text);
    // A partner's line: brings the window forward and flashes the log light yellow.
    void receiveLine(const QString& text);
    void setStayOnTop(bool onTop);
    // Text typed on the table: it goes on in the input line, which takes the keyboard.
    void typeIntoLine(const QString& text);

    // Gives log and input the font and colour and stores all nine font values.
    void applyFont(const QFont& font, const QColor& colour);
    // The font dialog of the pop-up menu's "Change &Font...".
    void SetFont1Click();

    QStringList lines() const;
    bool flashing() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate(QWidget* mainWindow, bool onTop);
    void FormResize();
    void edChatKeyDown();
    void showMenu(QWidget* on, const QPoint& at);
    void setFontEverywhere(const QFont& font, const QColor& colour);

    Settings& settings_;
    QPlainTextEdit* mmChat_ = nullptr;
    QLineEdit* edChat_ = nullptr;
    QTimer* tmMessage_ = nullptr;
    QColor fontColour_;
    int fontHeight_ = -11;
};

} // namespace velnora::ui
