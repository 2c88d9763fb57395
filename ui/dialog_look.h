#pragma once
// Fonts, spacing and small building blocks shared by the table window's dialogs, so every
// dialog has the same face and rhythm.

#include <QFont>
#include <QMessageBox>
#include <QPixmap>
#include <QString>

class QButtonGroup;
class QDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QVBoxLayout;
class QWidget;

class QApplication;

namespace velnora::ui::look {

// Outer margin and the gaps between groups of controls, in logical pixels.
inline constexpr int kMargin = 14;
inline constexpr int kSpacing = 8;

// The dialog face: "MS Sans Serif" asked for by name; fontconfig supplies the nearest sans face.
QFont dialogFont();
// "Arial" at a pixel size, for the splash and headings.
QFont arialFont(int pixelSize, bool bold);
// The program icon: the window icon when the application has one, else a drawn pair of cards.
QPixmap programIcon(int size);

// A label for a number: right-aligned so columns of scores line up on their last digit.
QLabel* numberLabel(int value, QWidget* parent, const QString& objectName = {});
// A thin sunken horizontal rule between a column of numbers and its total.
QFrame* horizontalRule(QWidget* parent);
// A framed band with a bold caption at the top of a result dialog.
QFrame* captionPanel(const QString& caption, QWidget* parent, const QString& objectName = {});
// Makes a label's text bold without touching its family or size.
void makeBold(QWidget* widget);

// A dialog button of at least the usual width that does not take Return unless made default.
QPushButton* button(QWidget* parent, const QString& objectName, const QString& caption);
// A titled radio group with one button per item (named objectName + index) laid out in the
// given number of columns; the group's ids are the item indexes.
QGroupBox* radioGroup(QWidget* parent, const QString& objectName, const QString& caption,
                      const QStringList& items, int columns, QButtonGroup*& group);
// A modal dialog of tab pages: names, titles and gives the dialog its face, lays out its outer
// column and puts the tab widget (named pagesName) at its top; the caller adds the rest below.
QTabWidget* pagedDialog(QDialog* dialog, const QString& objectName, const QString& title,
                        const QString& pagesName, QVBoxLayout*& outer);
// The layout of one page, with the dialog margins and spacing.
QVBoxLayout* pageLayout(QWidget* page);
// Opens the pages at startPage, or at lastPage when startPage < 0, lets a warning label wrap
// to the pages' width instead of widening the dialog, and fixes the dialog at its size.
void openAtPage(QDialog* dialog, QTabWidget* pages, int startPage, int lastPage, QLabel* warning);

// Shows a label's text as it is, never as markup: player names, dates and texts from files, the
// settings store or the partner may hold "<" and must not turn bold or into a link.
QLabel* plain(QLabel* label);
// Gives every dialog of the application (message boxes included) a title bar with a close
// button only: a modal question that can be minimised or maximised only gets lost. A dialog
// whose "velnoraResizable" property is true keeps its maximise button.
void frameDialogsPlainly(QApplication& app);
// A message box with the program's caption whose text is shown as plain text; the button
// pressed.
QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                    QMessageBox::StandardButtons buttons = QMessageBox::Ok);
// A Yes/No question shown as plain text; true on Yes.
bool askYesNo(QWidget* parent, const QString& text);

// The platform's text input box; the text typed, or nothing when cancelled.
bool askText(QWidget* parent, const QString& title, const QString& prompt, QString& text);

} // namespace velnora::ui::look
