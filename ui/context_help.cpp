#include "context_help.h"

#include "help_window.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QWhatsThis>
#include <QWidget>

namespace velnora::ui {

namespace {

// The property that holds a control's number; Qt keeps it on the widget, so a control deleted
// with its dialog takes its number along.
constexpr const char* kContextProperty = "velnoraHelpContext";

// The help pages, read once: each context number has its topic page there (topic1024.html), so
// the popup and the dialog's page in the help window show one text.
const HelpLibrary& helpPages() {
    static const HelpLibrary library(helpFolder());
    return library;
}

// Catches the context menu and the title-bar help click of one dialog. Both events travel up
// from the control to the dialog when the control does not take them, so one filter on the
// dialog sees them all and finds the control under the mouse.
class ContextHelpFilter : public QObject {
public:
    explicit ContextHelpFilter(QWidget* dialog) : QObject(dialog), dialog_(dialog) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != dialog_) return false;
        switch (event->type()) {
        case QEvent::ContextMenu: {
            auto* e = static_cast<QContextMenuEvent*>(event);
            QWidget* control = controlAt(e->pos());
            QMenu menu(dialog_);
            menu.setObjectName(QStringLiteral("pmWhatsThis"));
            QAction* whatsThis = menu.addAction(QStringLiteral("What's This?"));
            whatsThis->setObjectName(QStringLiteral("WhatsThis1"));
            if (menu.exec(e->globalPos()) == whatsThis)
                showContextHelp(control, helpContextOf(control));
            return true;
        }
        case QEvent::QueryWhatsThis: {
            auto* e = static_cast<QHelpEvent*>(event);
            event->setAccepted(helpContextOf(controlAt(e->pos())) != 0);
            return true;
        }
        case QEvent::WhatsThis: {
            auto* e = static_cast<QHelpEvent*>(event);
            QWidget* control = controlAt(e->pos());
            showContextHelp(control, helpContextOf(control));
            return true;
        }
        default:
            return false;
        }
    }

private:
    QWidget* controlAt(const QPoint& pos) const {
        QWidget* child = dialog_->childAt(pos);
        return child ? child : dialog_;
    }

    QWidget* dialog_;
};

// F1 pressed in a window that has help of its own.
class F1Help : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget) return false;
        QWidget* window = widget->window();
        QWidget* focus = window->focusWidget() ? window->focusWidget() : widget;
        if (const int context = helpContextOf(focus);
            context != 0 && !helpTopicTitle(context).isEmpty()) {
            showContextHelp(focus, context);
            return true;
        }
        const QString page = helpPageOfWindow(window);
        if (page.isEmpty()) return false;
        auto* help = window->findChild<TfmHelp*>(QString(), Qt::FindDirectChildrenOnly);
        if (!help) {
            help = new TfmHelp(helpFolder(), window);
            help->setAttribute(Qt::WA_DeleteOnClose);
        }
        help->showPage(page);
        return true;
    }
};

} // namespace

QString helpPageOfWindow(const QWidget* window) {
    static const QList<QPair<QString, QString>> pages = {
        {"TfmRules", "variants.html"},
        {"TfmCustomize", "customize.html"},
        {"TfmDeck", "decks.html"},
        {"TfmPattern", "decks.html"},
        {"TfmSound", "sound.html"},
        {"TfmScoring", "scoring-dialogs.html"},
        {"TfmDetails", "scoring-dialogs.html"},
        {"TfmGameOver", "scoring-dialogs.html"},
        {"TfmHighscores", "statistics.html#hiscores"},
        {"TfmWinRatio", "statistics.html#winratio"},
        {"TfmMatchHistory", "statistics.html#history"},
        {"ReplayWindow", "statistics.html#history"},
        {"TfmConnect", "network.html"},
        {"TfmTryConnect", "network.html"},
        {"TfmRuleDifferences", "network.html#differences"},
        {"TfmChat", "network.html#chat"},
        {"TfmCheckUpgrade", "online.html"},
        {"TfmSelectPlayer", "dialogs.html"},
        {"TfmAbout", "dialogs.html"},
    };
    if (!window) return {};
    for (const auto& [name, page] : pages)
        if (window->objectName() == name) return page;
    return {};
}

void helpOnF1(QApplication& app) {
    app.installEventFilter(new F1Help(&app));
}

void setHelpContext(QWidget* widget, int context) {
    if (widget) widget->setProperty(kContextProperty, context);
}

int helpContextOf(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const int context = w->property(kContextProperty).toInt();
        if (context != 0) return context;
        if (w->isWindow()) break;
    }
    return 0;
}

QString helpTopicTitle(int context) {
    if (helpPages().topicHtml(context).isEmpty()) return {};
    return helpPages().pageTitle(HelpLibrary::topicFileName(context));
}

void showContextHelp(QWidget* anchor, int context) {
    if (!anchor || context == 0) return;
    showContextTopic(helpPages(), context, anchor->mapToGlobal(anchor->rect().center()), anchor);
}

void installContextHelp(QWidget* dialog) {
    if (!dialog) return;
    dialog->setWindowFlag(Qt::WindowContextHelpButtonHint, true);
    dialog->installEventFilter(new ContextHelpFilter(dialog));
}

} // namespace velnora::ui
