#include "context_help.h"

#include "help_window.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QEvent>
#include <QHelpEvent>
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

} // namespace

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
