#pragma once
// The help window: the help pages in a browser with a Contents tab, a keyword Index with search,
// back, forward and home; and the popup that shows one topic by its context number.
//
// Use:
//     TfmHelp* help = new TfmHelp(helpFolder, mainWindow);
//     help->onCommand = [this](int parameter) { externalCommand(parameter); };
//     help->showPage();                     // the start page, window raised
//     showContextTopic(library, 1024, QCursor::pos(), dialog);   // "What's This?"
// Links of the form "velnora:9999/3" run the external command with parameter 3; http, https and
// mailto links go to the desktop through the online opener; other links stay in the window.

#include "help_library.h"

#include <QMainWindow>
#include <QTextBrowser>

#include <functional>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTreeWidget;

namespace velnora::ui {

// A text browser that reads help pages through the library, so topic includes are expanded.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    HelpBrowser(const HelpLibrary& library, QWidget* parent = nullptr);
    QVariant loadResource(int type, const QUrl& name) override;

private:
    const HelpLibrary& library_;
};

class TfmHelp : public QMainWindow {
    Q_OBJECT
public:
    explicit TfmHelp(const QString& helpFolder, QWidget* parent = nullptr);

    // Runs the external command of a "velnora:9999/<parameter>" link.
    std::function<void(int)> onCommand;

    // Shows a page of the help folder ("melds.html#velnora"; empty: the start page) and brings
    // the window to the front.
    void showPage(const QString& page = {});
    // Follows a link as a click in a page would.
    void followLink(const QUrl& url);

    const HelpLibrary& library() const { return library_; }
    HelpBrowser* browser() const { return tbHelp_; }

    // The parameter of a command link, or -1 when url is not one.
    static int commandParameter(const QUrl& url);

private:
    void fillContents();
    void fillIndex(const QString& text);
    void openIndexItem();
    void showMissingHelp();

    HelpLibrary library_;
    bool placed_ = false;
    HelpBrowser* tbHelp_ = nullptr;
    QTabWidget* pcNavigation_ = nullptr;
    QTreeWidget* tvContents_ = nullptr;
    QLineEdit* edIndex_ = nullptr;
    QListWidget* lbIndex_ = nullptr;
};

// Where the help window goes when it first opens over `owner`: beside it on the side of the
// screen with room, so the table or dialog it explains stays in view; over it only where the
// screen has room on neither side.
QRect helpWindowPlace(const QRect& owner, const QRect& screen, QSize wanted);

// The folder of the help pages: help/ in the read-only data folder.
QString helpFolder();

// Shows the topic of a context number as a popup at a global position, over parent. A number
// without a topic says so.
void showContextTopic(const HelpLibrary& library, int contextNumber, const QPoint& globalPos,
                      QWidget* parent);

// The text the popup shows for a context number.
QString contextTopicText(const HelpLibrary& library, int contextNumber);

} // namespace velnora::ui
