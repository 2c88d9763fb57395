// The Hall of Fame, the win ratio and the match history, alone and as the table records a game.

#include "highscores_window.h"
#include "match_history_window.h"
#include "table_window_support.h"
#include "widget_lookup.h"
#include "win_ratio_window.h"

#include <QAction>
#include <QComboBox>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QRadioButton>

using namespace velnora;
using namespace velnora::ui;
using namespace velnora::uitest;

namespace {

QString text(QWidget* root, const char* name) {
    QLabel* label = find<QLabel>(root, name);
    return label ? label->text() : QString();
}

HighscoreTable tableOf(std::initializer_list<HighscoreEntry> entries) {
    HighscoreTable t{};
    std::size_t i = 0;
    for (const HighscoreEntry& e : entries)
        t[i++] = e;
    return t;
}

} // namespace

TEST(HallOfFame, ShowsTheChosenLevelAndKindAndClearsOneTable) {
    MemorySettings settings;
    Highscores h;
    h.table(kHandHighscore, 1) = tableOf({{900, "01/12/26", "Anna"}, {300, "02/12/26", "Bob"}});
    h.table(kMatchHighscore, 1) = tableOf({{2600, "03/12/26", "Cleo"}});
    h.table(kHandHighscore, 3) =
        tableOf({{450, "04/12/26", "Remote Rita"}, {0, "05/12/26", "Zed"}});
    saveHighscoreTable(settings, h.table(kHandHighscore, 1), kHandHighscore, 1);
    saveHighscoreTable(settings, h.table(kMatchHighscore, 1), kMatchHighscore, 1);

    TfmHighscores window(settings, h, 1, kHandHighscore, 1);
    window.show();
    saveShot(&window, "halloffame");
    EXPECT_EQ(window.windowTitle(), "Velnora Hall of Fame");
    EXPECT_TRUE(find<QRadioButton>(&window, "rgLevel1")->isChecked());
    EXPECT_TRUE(find<QRadioButton>(&window, "rgType0")->isChecked());
    EXPECT_EQ(text(&window, "lbName1"), "Anna");
    EXPECT_EQ(text(&window, "lbScore1"), "900");
    EXPECT_EQ(text(&window, "lbDate2"), "02/12/26");
    EXPECT_EQ(text(&window, "lbRank10"), "10");
    EXPECT_TRUE(find<QLabel>(&window, "lbName2")->font().bold());
    EXPECT_FALSE(find<QLabel>(&window, "lbName1")->font().bold());

    find<QRadioButton>(&window, "rgLevel3")->click();
    EXPECT_EQ(text(&window, "lbName1"), "Remote Rita");
    EXPECT_EQ(text(&window, "lbScore2"), "0"); // a named line shows its score, even 0
    EXPECT_EQ(text(&window, "lbScore3"), "");  // an empty line shows none
    EXPECT_FALSE(find<QLabel>(&window, "lbName2")->font().bold());
    find<QRadioButton>(&window, "rgLevel1")->click();
    find<QRadioButton>(&window, "rgType1")->click();
    EXPECT_EQ(text(&window, "lbName1"), "Cleo");
    EXPECT_EQ(text(&window, "lbScore2"), "");

    // "No" keeps the table; "Yes" empties it and deletes its key, and nothing else.
    QString asked;
    {
        auto no =
            onNextModal<QMessageBox>([&](QMessageBox* b) { asked = b->text(); }, QMessageBox::No);
        click(&window, "bnClear");
    }
    EXPECT_EQ(asked, "Are you sure you want to clear all highscores for the Advanced level?");
    EXPECT_EQ(text(&window, "lbName1"), "Cleo");
    {
        auto yes =
            onNextModal<QMessageBox>([](QMessageBox* b) { b->button(QMessageBox::Yes)->click(); });
        click(&window, "bnClear");
    }
    EXPECT_EQ(text(&window, "lbName1"), "");
    EXPECT_EQ(h.table(kMatchHighscore, 1), HighscoreTable{});
    EXPECT_FALSE(settings.contains("AdvancedMatch\\Score1"));
    EXPECT_EQ(settings.readString("Advanced\\Name1", ""), "Anna");
}

TEST(WinRatioWindow, ShowsTheCurrentPlayersCountsAndResetsThem) {
    MemorySettings settings;
    std::vector<PlayerRecord> players = {{"Anna", 1, 7}, {"Bob", 0, 0}, {"Cleo", 4, 0}};
    savePlayerList(settings, players, 0);
    TfmWinRatio window(settings, players, 0);
    window.show();
    saveShot(&window, "winratio");
    EXPECT_EQ(window.windowTitle(), "Win Ratio");
    auto* combo = find<QComboBox>(&window, "cbPlayer");
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentText(), "Anna");
    EXPECT_EQ(text(&window, "lbWins"), "1");
    EXPECT_EQ(text(&window, "lbLosses"), "7");
    EXPECT_EQ(text(&window, "lbRatio"), "12%");
    combo->setCurrentIndex(1);
    EXPECT_EQ(text(&window, "lbRatio"), "?%");

    combo->setCurrentIndex(0);
    QString asked;
    {
        auto yes = onNextModal<QMessageBox>([&](QMessageBox* b) {
            asked = b->text();
            b->button(QMessageBox::Yes)->click();
        });
        click(&window, "bnReset");
    }
    EXPECT_EQ(asked, "Do you want to reset the win ratio statistics for player Anna?");
    EXPECT_EQ(players[0], (PlayerRecord{"Anna", 0, 0}));
    EXPECT_EQ(text(&window, "lbRatio"), "?%");
    EXPECT_EQ(settings.readString("Player Names\\PlayerName1", ""), "Anna,0,0");
    EXPECT_EQ(settings.readString("Player Names\\PlayerName3", ""), "Cleo,4,0");
}

TEST(WinRatioWindow, NoCurrentPlayerShowsNothingAndAnEmptyListCannotReset) {
    MemorySettings settings;
    std::vector<PlayerRecord> none;
    TfmWinRatio empty(settings, none, -1);
    EXPECT_FALSE(find<QAbstractButton>(&empty, "bnReset")->isEnabled());
    EXPECT_EQ(text(&empty, "lbRatio"), "");
}

TEST(MatchHistoryWindow, ListsAllHundredLinesNewestFirst) {
    MemorySettings settings;
    for (int i = 1; i <= 3; ++i)
        addMatchHistoryLine(settings, "match " + std::to_string(i));
    TfmMatchHistory window(settings);
    window.show();
    saveShot(&window, "matchhistory");
    EXPECT_EQ(window.windowTitle(), "Match History");
    auto* list = find<QListWidget>(&window, "lbHistory");
    ASSERT_EQ(list->count(), 100);
    EXPECT_EQ(list->item(0)->text(), "match 3");
    EXPECT_EQ(list->item(2)->text(), "match 1");
    EXPECT_EQ(list->item(99)->text(), "");

    MemorySettings fresh;
    TfmMatchHistory empty(fresh);
    auto* none = find<QListWidget>(&empty, "lbHistory");
    ASSERT_EQ(none->count(), 1);
    EXPECT_EQ(none->item(0)->text(), "No matches have been played yet.");
    EXPECT_EQ(none->item(0)->flags(), Qt::NoItemFlags);
}

// The table window records what the game reports and opens the tables from its menu.
class TableStatistics : public test::TableWindowTest {
protected:
    void prepareSettings() override {
        settings.writeString("Player Names\\PlayerName1", "Anna,1,1");
        settings.writeString("Settings\\Level", "Expert");
        settings.writeInt("Expert\\Score1", 500);
    }
};

TEST_F(TableStatistics, AQualifyingHandAsksTheNameOnceAndShowsTheTable) {
    ASSERT_EQ(window->highscores.table(kHandHighscore, 2)[0].score, 500);
    QString title, preset;
    int shownRank = -1;
    auto name = onNextModal<QInputDialog>(
        [&](QInputDialog* box) {
            title = box->windowTitle();
            preset = box->textValue();
            // The box is wide enough for its title beside the title bar's buttons.
            EXPECT_GT(box->width(), box->fontMetrics().horizontalAdvance(title) + 100);
            box->setTextValue("Annabel");
        },
        QDialog::Accepted);
    auto fame = onNextModal<TfmHighscores>([&](TfmHighscores* w) {
        shownRank = w->level();
        EXPECT_EQ(text(w, "lbName2"), "Annabel");
        EXPECT_TRUE(find<QLabel>(w, "lbName2")->font().bold());
    });
    window->recordHighscore(kHandHighscore, 320);
    EXPECT_EQ(title, "Hand Score in Highscore List");
    EXPECT_EQ(preset, "Anna");
    EXPECT_EQ(shownRank, 2);
    EXPECT_EQ(settings.readString("Expert\\Name2", ""), "Annabel");

    // The match of the same end of hand takes the typed name without asking again.
    bool askedAgain = false;
    auto again = onNextModal<QInputDialog>([&](QInputDialog*) { askedAgain = true; });
    auto fame2 = onNextModal<TfmHighscores>([](TfmHighscores*) {});
    window->recordHighscore(kMatchHighscore, 2000);
    window->recordMatchHistory(5200, 3200);
    window->recordWinLoss(true);
    EXPECT_FALSE(askedAgain);
    EXPECT_EQ(settings.readString("ExpertMatch\\Name1", ""), "Annabel");
    const QString line = QString::fromStdString(settings.readString("MatchHistory\\Match0", ""));
    EXPECT_TRUE(line.endsWith(": Annabel - Computer: 5200 - 3200, winner: Annabel"))
        << line.toStdString();
    EXPECT_EQ(settings.readString("Player Names\\PlayerName1", ""), "Anna,2,1");
}

TEST_F(TableStatistics, TheMenuOpensTheThreeWindows) {
    int opened = 0;
    {
        auto w = onNextModal<TfmHighscores>([&](TfmHighscores* t) {
            ++opened;
            EXPECT_EQ(t->level(), 2);
        });
        window->findChild<QAction*>("Hiscores1")->trigger();
    }
    {
        auto w = onNextModal<TfmWinRatio>([&](TfmWinRatio* t) {
            ++opened;
            EXPECT_EQ(text(t, "lbRatio"), "50%");
        });
        window->findChild<QAction*>("WinRatio1")->trigger();
    }
    {
        auto w = onNextModal<TfmMatchHistory>([&](TfmMatchHistory*) { ++opened; });
        window->findChild<QAction*>("MatchHistory1")->trigger();
    }
    EXPECT_EQ(opened, 3);
}
