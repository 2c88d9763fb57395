// The score sheet of the match's hands, from the Game menu and from the hand's result.

#include "score_sheet.h"
#include "scoring_dialogs.h"
#include "table_window_support.h"
#include "widget_lookup.h"

#include <QAction>
#include <QLabel>
#include <QTableWidget>

using namespace velnora;
using namespace velnora::test;
using velnora::uitest::onNextModal;

namespace {

class ScoreSheetTest : public TableWindowTest {
protected:
    void prepareSettings() override { settings.writeInt("Settings\\Show Highscores", 0); }

    // Ends the hand with these cards in the player's hand, as "End Hand" on an exhausted stock
    // does; inspect sees the scoring dialog before it is closed.
    template <typename Inspect>
    HandReport endHandHolding(const std::vector<int>& hand, Inspect inspect) {
        stage(hand);
        state().hasDrawn = 0;
        state().stockExhausted = 1;
        game().showInstruction(kPromptDraw);
        auto close = onNextModal<ui::TfmScoring>(inspect, QDialog::Accepted);
        window->bnEndHandClick();
        settle();
        return game().lastHandReport;
    }

    // The sheet's cells, row by row, as the player reads them.
    static std::vector<QStringList> rows(ui::TfmScoreSheet* sheet) {
        std::vector<QStringList> out;
        auto* table = sheet->findChild<QTableWidget*>("sgHands");
        for (int r = 0; table && r < table->rowCount(); ++r) {
            QStringList row;
            for (int c = 0; c < table->columnCount(); ++c)
                row << table->item(r, c)->text();
            out.push_back(row);
        }
        return out;
    }

    static QStringList row(const QString& hand, int player, int playerTotal, int opponent,
                           int opponentTotal) {
        return {hand, QString::number(player), QString::number(playerTotal),
                QString::number(opponent), QString::number(opponentTotal)};
    }
};

constexpr int kKing = 11, kAce = 12;

} // namespace

TEST_F(ScoreSheetTest, SheetFromTheScoringDialogListsEveryHandWithRunningTotals) {
    const HandReport first = endHandHolding({face(0, kKing), face(1, kKing)}, [](auto*) {});
    std::vector<QStringList> shown;
    QString header;
    const HandReport second = endHandHolding({face(0, kAce), kJokerFace}, [&](ui::TfmScoring* d) {
        auto sheet = onNextModal<ui::TfmScoreSheet>([&](ui::TfmScoreSheet* s) {
            shown = rows(s);
            header = s->findChild<QTableWidget*>("sgHands")->horizontalHeaderItem(3)->text();
            uitest::saveShot(s, "score_sheet");
        });
        uitest::saveShot(d, "scoring_with_score_sheet");
        ASSERT_TRUE(uitest::click(d, "bnScoreSheet"));
    });
    // Cards left in hand cost their points: two kings less than an ace and a joker.
    ASSERT_LT(second.player.total(), first.player.total());
    ASSERT_LT(first.player.total(), 0);
    const int p1 = first.player.total(), o1 = first.opponent.total();
    const int p2 = second.player.total(), o2 = second.opponent.total();
    EXPECT_EQ(shown, (std::vector<QStringList>{row("1", p1, p1, o1, o1),
                                               row("2", p2, p1 + p2, o2, o1 + o2)}));
    EXPECT_EQ(header, "Computer\nhand");
    EXPECT_EQ(state().playerTotal, p1 + p2);

    // A new match starts a new sheet.
    game().newGame();
    settle();
    auto empty = onNextModal<ui::TfmScoreSheet>([&](ui::TfmScoreSheet* s) {
        shown = rows(s);
        EXPECT_TRUE(s->findChild<QLabel*>("lbNote")->isVisibleTo(s));
    });
    window->findChild<QAction*>("ScoreSheet1")->trigger();
    EXPECT_TRUE(shown.empty());
}

TEST_F(ScoreSheetTest, AGameLoadedPartWayThroughSaysItsEarlierHandsAreNotKnown) {
    GameState saved = state();
    saved.playerTotal = 350;
    saved.opponentTotal = 120;
    game().adoptSavedTable(saved, layout().sizeIndex);
    settle();
    const HandReport hand = endHandHolding({face(2, kKing)}, [](auto*) {});

    std::vector<QStringList> shown;
    bool noted = false;
    auto sheet = onNextModal<ui::TfmScoreSheet>([&](ui::TfmScoreSheet* s) {
        shown = rows(s);
        noted = s->findChild<QLabel*>("lbNote")->isVisibleTo(s);
    });
    window->findChild<QAction*>("ScoreSheet1")->trigger();
    EXPECT_TRUE(noted);
    const int p = hand.player.total(), o = hand.opponent.total();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], (QStringList{"before", "", "350", "", "120"}));
    EXPECT_EQ(shown[1], row("1", p, 350 + p, o, 120 + o));
}
