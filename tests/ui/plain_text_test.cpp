// Names and texts that come from the settings store, a saved file or the partner are shown as
// typed in every window: a name like "<b>Rita</b>" must not turn bold, and never into a link.

#include "connect_dialogs.h"
#include "customize_dialog.h"
#include "highscores_window.h"
#include "scoring_dialogs.h"
#include "small_windows.h"
#include "table_window_support.h"
#include "widget_lookup.h"
#include "win_ratio_window.h"

#include <QLabel>
#include <QListWidget>
#include <QMessageBox>

using namespace velnora;
using namespace velnora::ui;
using namespace velnora::uitest;

namespace {

const std::string kMarkup = "<b>Rita</b>";

// Every label under root that holds markup shows it as plain text; returns how many held it, so
// a test can tell that the markup reached the window at all.
int expectMarkupShownPlain(QWidget* root) {
    int seen = 0;
    for (QLabel* label : root->findChildren<QLabel*>()) {
        if (!label->text().contains(QLatin1String("<b>"))) continue;
        ++seen;
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
    }
    return seen;
}

// Answers the next message box with button after checking that it shows its text plainly.
[[nodiscard]] std::unique_ptr<QTimer> expectPlainBox(QMessageBox::StandardButton button,
                                                     bool* seen) {
    return onNextModal<QMessageBox>([=](QMessageBox* box) {
        *seen = box->text().contains(QLatin1String("<b>"));
        EXPECT_EQ(box->textFormat(), Qt::PlainText) << box->text().toStdString();
        box->button(button)->click();
    });
}

class PlainText : public test::TableWindowTest {
protected:
    void prepareSettings() override {
        settings.writeString("Player Names\\PlayerName1", kMarkup + ",3,1");
        settings.writeString("Player Names\\PlayerName2", "Bob,1,7");
        settings.writeInt("Settings\\Select Player on startup", 0);
    }
};

} // namespace

TEST_F(PlainText, NamesAndDatesInTheStatisticsWindows) {
    Highscores h;
    h.table(kHandHighscore, kNetworkLevel)[0] = {300, "<i>today</i><b>!</b>", kMarkup};
    TfmHighscores fame(settings, h, kNetworkLevel, kHandHighscore, 0);
    EXPECT_EQ(expectMarkupShownPlain(&fame), 2);

    TfmWinRatio ratio(settings, window->playerList, 0);
    ratio.show();
    bool seen = false;
    {
        auto no = expectPlainBox(QMessageBox::No, &seen);
        uitest::click(&ratio, "bnReset");
    }
    EXPECT_TRUE(seen);
}

TEST_F(PlainText, PlayerNamesInTheCustomizeDialog) {
    state().gameInProgress = 0;
    TfmCustomize dialog(*window, TfmCustomize::playersPage);
    dialog.show();
    EXPECT_EQ(expectMarkupShownPlain(&dialog), 1);
    find<QListWidget>(&dialog, "lbPlayerList")->setCurrentRow(0);
    for (const char* button : {"bnResetStats", "bnDelete"}) {
        bool seen = false;
        auto no = expectPlainBox(QMessageBox::No, &seen);
        uitest::click(&dialog, button);
        EXPECT_TRUE(seen) << button;
    }
}

TEST_F(PlainText, ThePartnersNameInScoresMessagesAndPopups) {
    HandReport hand;
    hand.playerName = "Mira";
    hand.opponentName = kMarkup;
    hand.networkGame = true;
    TfmScoring scoring(hand);
    EXPECT_GE(expectMarkupShownPlain(&scoring), 1);
    TfmDetails details(hand);
    EXPECT_GE(expectMarkupShownPlain(&details), 1);
    MatchReport match;
    match.verdict = kMarkup + " crushed you.";
    match.opponentName = kMarkup;
    match.networkGame = true;
    TfmGameOver over(match);
    EXPECT_GE(expectMarkupShownPlain(&over), 2);

    bool seen = false;
    {
        auto ok = expectPlainBox(QMessageBox::Ok, &seen);
        window->tell(MessageKind::warning, "Connection terminated by " + kMarkup + ".");
    }
    EXPECT_TRUE(seen);
    window->showStatus("Waiting for " + kMarkup, false);
    EXPECT_EQ(expectMarkupShownPlain(window.get()), 1);

    TfmWhoseTurn* popup = TfmWhoseTurn::popup(window.get(), QString::fromStdString(kMarkup));
    EXPECT_EQ(expectMarkupShownPlain(popup), 1);
    popup->close();
    TfmTryConnect waiting(QString::fromStdString("Calling " + kMarkup));
    EXPECT_EQ(expectMarkupShownPlain(&waiting), 1);
}
