#include "context_help.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QPointer>
#include <QWhatsThis>
#include <QWidget>

#include <map>

namespace velnora::ui {

namespace {

// The property that holds a control's number; Qt keeps it on the widget, so a control deleted
// with its dialog takes its number along.
constexpr const char* kContextProperty = "velnoraHelpContext";

// The help topics of the dialogs by context number. The numbers are those of the help file the
// program has always shipped with, so links into it keep working.
const std::map<int, QString>& topics() {
    static const std::map<int, QString> table = {
        {1018, QStringLiteral("Current Cardback")},
        {1019, QStringLiteral("OK")},
        {1020, QStringLiteral("Cancel")},
        {1021, QStringLiteral("Apply")},
        {1022, QStringLiteral("Cardback Type")},
        {1023, QStringLiteral("Change Card Back")},
        {1024, QStringLiteral("Background Color")},
        {1025, QStringLiteral("Change Background Color")},
        {1026, QStringLiteral("Window Size")},
        {1027, QStringLiteral("Show Statusbar")},
        {1028, QStringLiteral("Show My Turn/Your Turn Messages")},
        {1029, QStringLiteral("Current Player")},
        {1030, QStringLiteral("Player List")},
        {1031, QStringLiteral("New Player")},
        {1032, QStringLiteral("Rename Player")},
        {1033, QStringLiteral("Delete Player")},
        {1034, QStringLiteral("Reset Stats")},
        {1035, QStringLiteral("Set as Current Player")},
        {1036, QStringLiteral("Computer Level")},
        {1037, QStringLiteral("Aggressiveness")},
        {1038, QStringLiteral("Discarding")},
        {1039, QStringLiteral("Computer Melding")},
        {1040, QStringLiteral("Card Animation")},
        {1041, QStringLiteral("AutoSave on Exit and AutoLoad on Start")},
        {1042, QStringLiteral("Show Highscores")},
        {1084, QStringLiteral("Select Deck")},
    };
    return table;
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
    const auto it = topics().find(context);
    return it == topics().end() ? QString() : it->second;
}

void showContextHelp(QWidget* anchor, int context) {
    if (!anchor || context == 0) return;
    QString title = helpTopicTitle(context);
    if (title.isEmpty()) title = QStringLiteral("Help topic");
    const QString text =
        QStringLiteral("<b>%1</b><br>Help topic %2").arg(title.toHtmlEscaped()).arg(context);
    QWhatsThis::showText(anchor->mapToGlobal(anchor->rect().center()), text, anchor);
}

void installContextHelp(QWidget* dialog) {
    if (!dialog) return;
    dialog->setWindowFlag(Qt::WindowContextHelpButtonHint, true);
    dialog->installEventFilter(new ContextHelpFilter(dialog));
}

} // namespace velnora::ui
