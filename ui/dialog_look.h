#pragma once
// Fonts, spacing and small building blocks shared by the table window's dialogs, so every
// dialog has the same face and rhythm.

#include <QFont>
#include <QPixmap>
#include <QString>

class QButtonGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

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
// The platform's text input box; the text typed, or nothing when cancelled.
bool askText(QWidget* parent, const QString& title, const QString& prompt, QString& text);

} // namespace velnora::ui::look
