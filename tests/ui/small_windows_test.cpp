#include "small_windows.h"

#include "scoring_dialogs.h"
#include "widget_lookup.h"

#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>

using namespace velnora::ui;
using namespace velnora::uitest;

TEST(Splash, BorderlessFixedPanelWithVersion) {
    auto* splash = new TfmSplash;
    QPointer<TfmSplash> alive(splash);
    splash->showCentredOn(nullptr);
    saveShot(splash, "splash");
    EXPECT_EQ(splash->size(), QSize(229, 141));
    EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(splash->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(find<QLabel>(splash, "lbVersion")->text(), "Version 4.17");
    splash->close();
    EXPECT_TRUE(waitUntil([&] { return alive.isNull(); }, 1000));
}

TEST(WhoseTurn, ShowsOneMessageAndClosesItselfAfterItsTimer) {
    QWidget table;
    table.resize(640, 480);
    table.show();
    QPointer<TfmWhoseTurn> first = TfmWhoseTurn::popup(&table, "It's your turn to draw first.");
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->size(), QSize(317, 28));
    EXPECT_EQ(find<QLabel>(first, "lbWhoseTurn")->text(), "It's your turn to draw first.");
    EXPECT_TRUE(find<QLabel>(first, "lbWhoseTurn")->font().bold());
    auto* timer = find<QTimer>(first, "tmWhoseTurn");
    EXPECT_EQ(timer->interval(), 1500);
    EXPECT_TRUE(timer->isSingleShot());
    EXPECT_TRUE(timer->isActive());
    // The popup sits in the middle of the table.
    EXPECT_EQ(first->geometry().center(), table.frameGeometry().center());

    // A new popup replaces one still showing.
    QPointer<TfmWhoseTurn> second =
        TfmWhoseTurn::popup(&table, "It's the computer's turn to draw first.");
    saveShot(second, "whoseturn");
    EXPECT_TRUE(waitUntil([&] { return first.isNull(); }, 500));
    EXPECT_EQ(TfmWhoseTurn::current(), second.data());

    EXPECT_TRUE(waitUntil([&] { return second.isNull(); }, 2500));
    EXPECT_EQ(TfmWhoseTurn::current(), nullptr);
}

TEST(SelectPlayer, StartsOnTheCurrentPlayerAndReturnsTheChosenLine) {
    const QStringList names = {"Mira", "Tobias", "Ines"};
    TfmSelectPlayer dialog(names, 1);
    dialog.show();
    saveShot(&dialog, "selectplayer");
    EXPECT_EQ(dialog.windowTitle(), "Select Player");
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    auto* list = find<QListWidget>(&dialog, "lbPlayers");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->currentRow(), 1);
    list->setCurrentRow(2);
    ASSERT_TRUE(click(&dialog, "bnOK"));
    EXPECT_EQ(dialog.selectedIndex(), 2);

    TfmSelectPlayer escaped(names, 0);
    escaped.show();
    find<QListWidget>(&escaped, "lbPlayers")->setCurrentRow(2);
    escaped.reject();
    EXPECT_EQ(escaped.selectedIndex(), 0);
}

TEST(About, NamesProductVersionAndBuild) {
    TfmAbout about;
    about.show();
    saveShot(&about, "about");
    EXPECT_EQ(about.windowTitle(), "About Velnora");
    EXPECT_EQ(find<QLabel>(&about, "lbProduct")->text(), "Velnora for Linux");
    EXPECT_EQ(find<QLabel>(&about, "lbVersion")->text(), "Version 4.17");
    EXPECT_TRUE(find<QLabel>(&about, "lbBuild")->text().startsWith("Build "));
}

TEST(DialogFrames, DialogsAndMessageBoxesCarryNoMinimiseOrMaximiseButton) {
    QMessageBox box(QMessageBox::Question, "Velnora", "Sure?", QMessageBox::Yes | QMessageBox::No);
    QDialog resizable;
    resizable.setProperty("velnoraResizable", true);
    for (QWidget* w : std::initializer_list<QWidget*>{&box, &resizable}) {
        w->show();
        QApplication::processEvents();
    }
    EXPECT_FALSE(box.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(box.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(resizable.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(resizable.windowFlags() & Qt::WindowMinimizeButtonHint);
}
