#include "context_help.h"
#include "help_window.h"
#include "rules_dialog.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QGroupBox>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWhatsThis>
#include <gtest/gtest.h>

using namespace velnora::ui;

namespace {

// The visible "What's This?" popup's text, or empty when none shows.

bool whatsThisPopupShown() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && QString::fromLatin1(w->metaObject()->className()) == "QWhatsThat")
            return true;
    return false;
}

} // namespace

TEST(ContextHelp, ControlsTakeTheNumberOfTheirFirstNumberedParent) {
    QDialog dialog;
    setHelpContext(&dialog, 7);
    auto* group = new QGroupBox("Cardback Type", &dialog);
    setHelpContext(group, 1022);
    auto* inside = new QPushButton("&Change...", group);
    auto* ownNumber = new QPushButton("OK", group);
    setHelpContext(ownNumber, 1019);
    auto* loose = new QPushButton("Cancel", &dialog);

    EXPECT_EQ(helpContextOf(inside), 1022);
    EXPECT_EQ(helpContextOf(ownNumber), 1019);
    EXPECT_EQ(helpContextOf(group), 1022);
    EXPECT_EQ(helpContextOf(loose), 7);
    EXPECT_EQ(helpContextOf(nullptr), 0);

    // A window's number does not leak into another window opened over it.
    QDialog child(&dialog);
    EXPECT_EQ(helpContextOf(&child), 0);
}

TEST(ContextHelp, EveryDialogNumberHasATopic) {
    for (int context :
         {1018, 1019, 1020, 1021, 1022, 1023, 1024, 1025, 1026, 1027, 1028, 1029, 1030,
          1031, 1032, 1033, 1034, 1035, 1036, 1037, 1038, 1039, 1040, 1041, 1042, 1084})
        EXPECT_FALSE(helpTopicTitle(context).isEmpty()) << context;
    EXPECT_EQ(helpTopicTitle(1019), "OK");
    EXPECT_TRUE(helpTopicTitle(4242).isEmpty());
}

TEST(ContextHelp, TheHelpClickOnAControlShowsItsTopic) {
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* group = new QGroupBox("Select Deck", &dialog);
    setHelpContext(group, 1084);
    auto* groupLayout = new QVBoxLayout(group);
    auto* button = new QPushButton("Deck One", group);
    groupLayout->addWidget(button);
    layout->addWidget(group);
    installContextHelp(&dialog);
    dialog.show();
    ASSERT_TRUE(dialog.windowFlags() & Qt::WindowContextHelpButtonHint);

    // The click of the title-bar help mode reaches the control and travels up to the dialog.
    const QPoint centre = button->rect().center();
    QHelpEvent query(QEvent::QueryWhatsThis, centre, button->mapToGlobal(centre));
    QCoreApplication::sendEvent(button, &query);
    EXPECT_TRUE(query.isAccepted());
    QHelpEvent click(QEvent::WhatsThis, centre, button->mapToGlobal(centre));
    QCoreApplication::sendEvent(button, &click);
    EXPECT_TRUE(whatsThisPopupShown());
    QWhatsThis::hideText();
}

TEST(ContextHelp, F1InADialogShowsTheTopicOfTheFocusOrOpensTheDialogsPage) {
    auto pressF1 = [](QWidget* at) {
        QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
        QApplication::sendEvent(at, &f1);
    };
    // Every rule of the Rules dialog, and each page, has a topic of its own.
    velnora::RuleSettings rules;
    TfmRules dialog(rules, false);
    dialog.show();
    QList<int> seen;
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (!w->inherits("QCheckBox") && !w->inherits("QGroupBox")) continue;
        const int context = helpContextOf(w);
        EXPECT_FALSE(helpTopicTitle(context).isEmpty()) << w->objectName().toStdString();
        EXPECT_FALSE(seen.contains(context)) << w->objectName().toStdString();
        seen.append(context);
    }
    EXPECT_EQ(seen.size(), 13);
    auto* box = dialog.findChild<QWidget*>("ckAddTop");
    box->setFocus();
    pressF1(box);
    EXPECT_TRUE(whatsThisPopupShown());
    QWhatsThis::hideText();

    // Where the focus has no topic, the dialog's page opens in a help window of the dialog's.
    QDialog chat;
    chat.setObjectName("TfmChat");
    auto* edit = new QLineEdit(&chat);
    chat.show();
    edit->setFocus();
    pressF1(edit);
    auto* help = chat.findChild<TfmHelp*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->browser()->source().toString().endsWith("network.html#chat"))
        << help->browser()->source().toString().toStdString();
}
