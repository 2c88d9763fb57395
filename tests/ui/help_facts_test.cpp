// What the help pages teach against what the game does: every number they state about the
// rules comes from the engine, and the places where they once taught something the game does
// not do stay corrected.

#include "card.h"
#include "game_state.h"
#include "help_library.h"
#include "scoring.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

using velnora::ui::HelpLibrary;

namespace {

const QString kHelpDir = QStringLiteral(VELNORA_HELP_DIR);

// A page as plain text on one line, so sentences can be matched across line breaks and marked-up
// words ("<b>finish bonus</b>: 100" reads "finish bonus: 100").
QString pageText(const char* page) {
    HelpLibrary help(kHelpDir);
    static const QRegularExpression spaceBeforeStop(QStringLiteral(" ([:;,.)])"));
    return HelpLibrary::plainText(help.pageHtml(QString::fromLatin1(page)))
        .simplified()
        .replace(spaceBeforeStop, QStringLiteral("\\1"));
}

// The number in the first table row of the page whose first cell is label: the row reads
// "label" then the number (with a sign, "in all" or a unit after it).
int rowNumber(const char* page, const QString& label) {
    HelpLibrary help(kHelpDir);
    const QString html = help.pageHtml(QString::fromLatin1(page));
    const QRegularExpression row(QStringLiteral("<tr><td>") + QRegularExpression::escape(label) +
                                 QStringLiteral("</td>(?:<td></td>)?<td>([+\u2212-]?)(\\d+)"));
    const QRegularExpressionMatch m = row.match(html);
    if (!m.hasMatch()) {
        ADD_FAILURE() << page << ": no row " << label.toStdString();
        return -1;
    }
    const int value = m.captured(2).toInt();
    return m.captured(1).isEmpty() || m.captured(1) == QStringLiteral("+") ? value : -value;
}

} // namespace

TEST(HelpFacts, CardValuesAreTheEngines) {
    // Each row of the card table with the faces it covers (spades 1 two .. 13 ace, clubs from
    // 14, diamonds from 27, hearts from 40).
    const std::pair<const char*, std::vector<int>> rows[] = {
        {"Joker", {velnora::kJokerFace}},
        {"Two, Ace", {1, 13, 40, 52}},
        {"King, Queen, Jack, Ten, Nine, Eight", {7, 8, 9, 10, 11, 12, 46}},
        {"Seven, Six, Five, Four", {3, 4, 5, 6, 32}},
        {"Black three (spades, clubs)", {2, 15}},
        {"Red three (diamonds, hearts)", {28, 41}},
    };
    for (const auto& [label, faces] : rows)
        for (int f : faces)
            EXPECT_EQ(rowNumber("cards.html", label), velnora::cardPoints(f)) << label << " " << f;
    EXPECT_TRUE(pageText("red-threes.html").contains("worth 5 points each"));
}

TEST(HelpFacts, BonusesPenaltiesMinimumsAndTheTargetAreTheEngines) {
    using namespace velnora;
    EXPECT_EQ(rowNumber("scoring.html", "Each natural velnora"), kNaturalVelnoraBonus);
    EXPECT_EQ(rowNumber("scoring.html", "Each mixed velnora"), kMixedVelnoraBonus);
    EXPECT_EQ(rowNumber("scoring.html", "A wildcard velnora"), kWildVelnoraBonus);
    EXPECT_EQ(rowNumber("scoring.html", "Each red three"), kRedThreeBonus);
    const int allFour = 4 * kRedThreeBonus + kAllFourRedThreesExtra;
    EXPECT_EQ(rowNumber("scoring.html", "All four red threes"), allFour);
    EXPECT_EQ(rowNumber("scoring.html", "Going out (finish bonus)"), kGoingOutBonus);
    EXPECT_EQ(rowNumber("scoring.html", "Going out concealed (nothing melded before that turn)"),
              kConcealedGoingOutBonus);

    // The numbers in the running text of the rule pages.
    const QString minus = QStringLiteral("\u2212");
    const QString scoring = pageText("scoring.html");
    const QString penalty = QStringLiteral("red threes count %1%2 each (%1%3 for all four)")
                                .arg(minus)
                                .arg(kRedThreeBonus)
                                .arg(allFour);
    EXPECT_TRUE(scoring.contains(penalty)) << penalty.toStdString();
    EXPECT_TRUE(scoring.contains(QStringLiteral("costs %1 points").arg(kUndoTakeCost)));
    EXPECT_TRUE(scoring.contains(QStringLiteral("reach %1 wins the match").arg(kMatchTarget)));
    EXPECT_TRUE(scoring.contains(QStringLiteral("reaches %1 or more").arg(kMatchTarget)));
    const QString redThrees = pageText("red-threes.html");
    EXPECT_TRUE(redThrees.contains(QStringLiteral("scores %1 at the end").arg(kRedThreeBonus)));
    EXPECT_TRUE(redThrees.contains(QStringLiteral("together score %1").arg(allFour)));
    EXPECT_TRUE(redThrees.contains(QStringLiteral("%1%2 each, %1%3 for all four")
                                       .arg(minus)
                                       .arg(kRedThreeBonus)
                                       .arg(allFour)));
    const QString goingOut = pageText("going-out.html");
    EXPECT_TRUE(goingOut.contains(QStringLiteral("finish bonus: %1 points, or %2 when")
                                      .arg(kGoingOutBonus)
                                      .arg(kConcealedGoingOutBonus)));
    EXPECT_TRUE(goingOut.contains(QStringLiteral("reaches %1").arg(kMatchTarget)));
    EXPECT_TRUE(pageText("discard-pile.html")
                    .contains(QStringLiteral("costs %1 points").arg(kUndoTakeCost)));

    // The first-meld minimum at both ends of every band of the match score.
    EXPECT_EQ(rowNumber("first-meld.html", "below 0"), initialMeldMinimumFor(-1));
    EXPECT_EQ(rowNumber("first-meld.html", "0 to 1499"), initialMeldMinimumFor(0));
    EXPECT_EQ(rowNumber("first-meld.html", "0 to 1499"), initialMeldMinimumFor(1499));
    EXPECT_EQ(rowNumber("first-meld.html", "1500 to 2999"), initialMeldMinimumFor(1500));
    EXPECT_EQ(rowNumber("first-meld.html", "1500 to 2999"), initialMeldMinimumFor(2999));
    EXPECT_EQ(rowNumber("first-meld.html", "3000 or more"), initialMeldMinimumFor(3000));
}

TEST(HelpFacts, PagesTeachWhatTheGameDoes) {
    // A reset connection ends the network game like a broken one; nothing reconnects.
    const QString network = pageText("network.html");
    EXPECT_FALSE(network.contains("tried again by itself"));
    EXPECT_TRUE(network.contains("If the connection breaks or is reset, it is not made again"));
    // The star marks a pile frozen for both, not one frozen for a single player.
    EXPECT_TRUE(pageText("frozen-pile.html").contains("frozen only for one player"));
    EXPECT_TRUE(pageText("table.html").contains("frozen for both players"));
    // With both pile rules on, a meld of the rank neither lets you take nor brings the pile at
    // once.
    const QString pile = pageText("discard-pile.html");
    EXPECT_FALSE(pile.contains("\"Also when adding to existing meld\" is off"));
    EXPECT_EQ(pile.count("\"Natural pair required\" and \"Also when adding to existing meld\" are "
                         "not both on"),
              2);
    // The name for the highscore table is asked after the hand's windows.
    EXPECT_FALSE(pageText("scoring-dialogs.html").contains("Before these windows"));
    EXPECT_TRUE(pageText("scoring-dialogs.html").contains("After the windows of the hand"));
    // Only the win ratio belongs to a player.
    EXPECT_FALSE(pageText("statistics.html").contains("They are kept per player"));
    EXPECT_TRUE(pageText("statistics.html").contains("Only the win ratio is kept per player"));
}
