#pragma once
// Context help of the dialogs: every control carries (or inherits from a parent) a help context
// number, and "What's This?" shows the help topic of that number.
//
// Use:
//     setHelpContext(bnOK, 1019);          // number a control or a whole group
//     installContextHelp(this);            // in a dialog's constructor, after its controls exist
// installContextHelp gives every control of the dialog the context menu with the one item
// "What's This?" and the title-bar help button; both end in showContextHelp for the control's
// number. The topics are the help pages topic<number>.html of the help folder.

#include <QString>

class QApplication;
class QWidget;

namespace velnora::ui {

// Gives a control (and every child without a number of its own) the help context number.
void setHelpContext(QWidget* widget, int context);

// The help context number of the control, or of its first parent that has one; 0 for none.
int helpContextOf(const QWidget* widget);

// The title of the help topic with that context number; empty for an unknown number.
QString helpTopicTitle(int context);

// Shows the help topic of the context number as a popup beside the anchor control.
void showContextHelp(QWidget* anchor, int context);

// Gives every control of the dialog the "What's This?" context menu and the title-bar help
// button, both leading to the control's help topic.
void installContextHelp(QWidget* dialog);

// The help page of a window ("network.html#chat") by its object name; empty for a window
// without one (the table, whose F1 is its menu's Help Topics).
QString helpPageOfWindow(const QWidget* window);

// F1 in a dialog shows the topic of the control with the focus, or, when it has none, opens the
// dialog's page in a help window of its own, which a modal dialog leaves usable.
void helpOnF1(QApplication& app);

} // namespace velnora::ui
