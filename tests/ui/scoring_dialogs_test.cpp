#include "scoring_dialogs.h"

#include "url_opener.h"
#include "widget_lookup.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace velnora;
using namespace velnora::uitest;
using velnora::ui::TfmDetails;
using velnora::ui::TfmGameOver;
using velnora::ui::TfmScoring;

namespace {

QString text(QWidget* root, const char* name) {
    auto* label = find<QLabel>(root, name);
    return label ? label->text() : QString();
}

// A hand in which the player went out with two velnoras and the computer was caught holding
// cards: every value differs, so a value shown in the wrong cell cannot pass.
HandReport sampleHand(bool network) {
    HandReport r;
    //            table      hand    velnoras  red 3s  -  bonus  -  total
    r.player.v = {23, 345, 0, 0, 2, 1000, 3, 300, 0, 100, 0, 1745};
    r.opponent.v = {11, 150, 6, -85, 0, 0, 1, 100, 0, 0, 0, 165};
    r.playerName = "Mira";
    r.opponentName = network ? "Tobias" : "Computer";
    r.networkGame = network;
    return r;
}

} // namespace

TEST(ScoringDialog, ShowsBothHandTotalsAndTheirDifference) {
    TfmScoring dialog(sampleHand(false));
    dialog.show();
    saveShot(&dialog, "scoring_local");
    EXPECT_EQ(dialog.windowTitle(), "Scoring Results");
    EXPECT_EQ(text(&dialog, "lbCaption"), "Hand Finished");
    EXPECT_EQ(text(&dialog, "lbYourScore"), "Your Score:");
    EXPECT_EQ(text(&dialog, "lbOpponent"), "Computer's Score:");
    EXPECT_EQ(text(&dialog, "lbPlayerScore"), "1745");
    EXPECT_EQ(text(&dialog, "lbOpponentScore"), "165");
    EXPECT_EQ(text(&dialog, "lbDifference"), "1580");

    HandReport lost = sampleHand(true);
    std::swap(lost.player, lost.opponent);
    TfmScoring network(lost);
    EXPECT_EQ(text(&network, "lbOpponent"), "Tobias's Score:");
    EXPECT_EQ(text(&network, "lbDifference"), "-1580");
}

TEST(ScoringDialog, DetailsButtonClosesWithItsOwnResult) {
    TfmScoring dialog(sampleHand(false));
    dialog.show();
    EXPECT_EQ(find<QPushButton>(&dialog, "bnDetails")->text(), "&Details >>");
    ASSERT_TRUE(click(&dialog, "bnDetails"));
    EXPECT_EQ(dialog.result(), TfmScoring::kDetailsResult);
    EXPECT_EQ(TfmScoring::kDetailsResult, 1000);

    TfmScoring plain(sampleHand(false));
    plain.show();
    EXPECT_EQ(find<QPushButton>(&plain, "bnOK")->text(), "OK");
    ASSERT_TRUE(click(&plain, "bnOK"));
    EXPECT_EQ(plain.result(), QDialog::Accepted);
}

TEST(DetailsDialog, ShowsEveryValueInItsRowAndColumn) {
    const HandReport report = sampleHand(true);
    TfmDetails dialog(report);
    dialog.show();
    saveShot(&dialog, "details_network");
    EXPECT_EQ(dialog.windowTitle(), "Detailed Scoring Results");
    EXPECT_EQ(text(&dialog, "lbPlayerName"), "Mira");
    EXPECT_EQ(text(&dialog, "lbOpponentName"), "Tobias");
    for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 9, 11}) {
        const QByteArray p = "lbPlayerValue" + QByteArray::number(i);
        const QByteArray o = "lbOpponentValue" + QByteArray::number(i);
        EXPECT_EQ(text(&dialog, p.constData()), QString::number(report.player.v[i])) << i;
        EXPECT_EQ(text(&dialog, o.constData()), QString::number(report.opponent.v[i])) << i;
    }
    // The unused slots and the count of the finish bonus have no cell.
    EXPECT_EQ(dialog.findChild<QLabel*>("lbPlayerValue8"), nullptr);
    EXPECT_EQ(dialog.findChild<QLabel*>("lbPlayerValue10"), nullptr);
    EXPECT_TRUE(find<QLabel>(&dialog, "lbPlayerValue11")->font().bold());

    QStringList captions;
    for (auto* label : dialog.findChildren<QLabel*>())
        if (label->objectName().isEmpty()) captions << label->text();
    for (const char* row :
         {"Cards on the Table", "Cards in Hand", "Velnoras", "Red Threes", "Finish Bonus", "TOTAL"})
        EXPECT_TRUE(captions.contains(QString::fromLatin1(row))) << row;

    TfmDetails local(sampleHand(false));
    EXPECT_EQ(text(&local, "lbOpponentName"), "Computer");
}

TEST(GameOverDialog, LocalGameAsksToPlayAgain) {
    MatchReport report;
    report.verdict = "Congratulations Mira! You crushed the computer.";
    report.playerTotal = 5010;
    report.opponentTotal = 350;
    report.matchDiff = 4660;
    report.opponentName = "Computer";
    TfmGameOver dialog(report);
    dialog.show();
    saveShot(&dialog, "gameover_local");
    EXPECT_EQ(dialog.windowTitle(), "Velnora");
    EXPECT_EQ(text(&dialog, "lbCaption"), "Game Over");
    EXPECT_EQ(text(&dialog, "lbComment"), "Congratulations Mira! You crushed the computer.");
    EXPECT_EQ(text(&dialog, "lbOpponent"), "Computer's score:");
    EXPECT_EQ(text(&dialog, "lbPlayerScore"), "5010");
    EXPECT_EQ(text(&dialog, "lbOpponentScore"), "350");
    EXPECT_EQ(text(&dialog, "lbDifference"), "4660");
    EXPECT_EQ(text(&dialog, "lbQuestion"), "Do you want to play another game?");
    EXPECT_EQ(dialog.findChild<QPushButton*>("bnOK"), nullptr);
    EXPECT_EQ(find<QPushButton>(&dialog, "bnYes")->text(), "&Yes");
    EXPECT_EQ(find<QPushButton>(&dialog, "bnNo")->text(), "&No");
    ASSERT_TRUE(click(&dialog, "bnYes"));
    EXPECT_EQ(dialog.result(), kResultYes);

    TfmGameOver no(report);
    no.show();
    ASSERT_TRUE(click(&no, "bnNo"));
    EXPECT_EQ(no.result(), kResultNo);

    TfmGameOver closed(report);
    closed.show();
    closed.reject(); // Escape or the title-bar button: no new game
    EXPECT_EQ(closed.result(), kResultNo);
}

TEST(GameOverDialog, NetworkGameOnlyContinues) {
    MatchReport report;
    report.verdict = "Too bad, Mira, you lost but it was pretty close.";
    report.playerTotal = 4890;
    report.opponentTotal = 5005;
    report.matchDiff = -115;
    report.opponentName = "Tobias";
    report.networkGame = true;
    TfmGameOver dialog(report);
    dialog.show();
    saveShot(&dialog, "gameover_network");
    EXPECT_EQ(text(&dialog, "lbOpponent"), "Tobias's score:");
    EXPECT_EQ(text(&dialog, "lbDifference"), "-115");
    EXPECT_EQ(text(&dialog, "lbQuestion"), "Press OK to continue.");
    EXPECT_EQ(dialog.findChild<QPushButton*>("bnYes"), nullptr);
    auto* send = find<QPushButton>(&dialog, "bnSendResult");
    EXPECT_EQ(send->text(), "Send &Result");
    EXPECT_EQ(find<QPushButton>(&dialog, "bnOK")->text(), "&OK");

    // "Send &Result" reports what the dialog shows, under the name this copy announced.
    QList<QUrl> opened;
    const auto previous = online::setUrlOpener([&](const QUrl& url) {
        opened.append(url);
        return true;
    });
    dialog.setLocalNetworkName("Mira");
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* prompt = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
            answer.stop();
            prompt->setTextValue("tobias@example.org");
            prompt->accept();
        }
    });
    answer.start(5);
    ASSERT_TRUE(click(&dialog, "bnSendResult"));
    online::setUrlOpener(previous);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].toString().startsWith(
        "mailto:tobias@example.org?Subject=Velnora Match Result&Body=Mira's "
        "Score:4890%0D%0ATobias's score: 5005%0D%0ATimestamp: "))
        << opened[0].toString().toStdString();
    EXPECT_FALSE(dialog.result() == kResultYes);
    ASSERT_TRUE(click(&dialog, "bnOK"));
    EXPECT_EQ(dialog.result(), kResultYes);
}
