// The help pages and the help window: every link and picture of every page resolves, every
// context number of the dialogs has a topic, and the window's contents, index, history and
// command links work as a reader uses them.

#include "help_window.h"
#include "url_opener.h"
#include "widget_lookup.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QShortcut>
#include <QTreeWidget>

#include <set>

using namespace velnora::ui;
using velnora::uitest::find;

namespace {

const QString kHelpDir = QStringLiteral(VELNORA_HELP_DIR);

// The context numbers the Customize and Decks dialogs give their controls.
const int kDialogContextNumbers[] = {1018, 1019, 1020, 1021, 1022, 1023, 1024, 1025, 1026,
                                     1027, 1028, 1029, 1030, 1031, 1032, 1033, 1034, 1035,
                                     1036, 1037, 1038, 1039, 1040, 1041, 1042, 1084};

// The ids and names a page's links may point at.
std::set<QString> anchorsOf(const QString& html) {
    static const QRegularExpression anchor(QStringLiteral(R"re((?:id|name)="([^"]+)")re"));
    std::set<QString> found;
    for (auto it = anchor.globalMatch(html); it.hasNext();)
        found.insert(it.next().captured(1));
    return found;
}

// Why a link of a page (or of a list file) does not resolve; empty when it does.
QString brokenLink(const HelpLibrary& help, const QString& from, const QString& target) {
    const QUrl url(target);
    if (url.scheme() == QLatin1String("velnora"))
        return TfmHelp::commandParameter(url) >= 0 && TfmHelp::commandParameter(url) <= 4
                   ? QString()
                   : QStringLiteral("not a command link");
    if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https") ||
        url.scheme() == QLatin1String("mailto"))
        return {};
    if (!url.scheme().isEmpty()) return QStringLiteral("unknown scheme");
    const QString file = url.path().isEmpty() ? from : url.path();
    if (file.contains('/') && !file.startsWith(QLatin1String("images/")))
        return QStringLiteral("leaves the help folder");
    if (!QFile::exists(QDir(help.folder()).filePath(file))) return QStringLiteral("missing file");
    if (url.hasFragment() && !anchorsOf(help.pageHtml(file)).count(url.fragment()))
        return QStringLiteral("missing anchor");
    return {};
}

} // namespace

TEST(HelpPages, EveryLinkAndPictureResolves) {
    HelpLibrary help(kHelpDir);
    ASSERT_TRUE(help.isValid());
    static const QRegularExpression link(QStringLiteral(R"re((?:href|src)="([^"]*)")re"));
    int links = 0;
    for (const QString& page : help.pageFiles()) {
        const QString html = help.pageHtml(page);
        EXPECT_FALSE(html.contains(QLatin1String("<!--include"))) << page.toStdString();
        for (auto it = link.globalMatch(html); it.hasNext(); ++links) {
            const QString target = it.next().captured(1);
            const QString why = brokenLink(help, page, target);
            EXPECT_TRUE(why.isEmpty()) << page.toStdString() << " -> " << target.toStdString()
                                       << ": " << why.toStdString();
        }
    }
    EXPECT_GT(links, 100);
    for (const HelpTopic& topic : help.contents()) {
        if (topic.page.isEmpty()) continue;
        EXPECT_EQ(brokenLink(help, {}, topic.page), QString()) << topic.page.toStdString();
    }
    for (const HelpKeyword& k : help.keywords())
        EXPECT_EQ(brokenLink(help, {}, k.page), QString()) << k.page.toStdString();
}

TEST(HelpPages, EveryPageIsReachableFromTheContentsOrAPage) {
    HelpLibrary help(kHelpDir);
    static const QRegularExpression href(QStringLiteral(R"re(href="([^"#:]+\.html))re"));
    std::set<QString> reached;
    for (const HelpTopic& topic : help.contents())
        reached.insert(QUrl(topic.page).path());
    for (const QString& page : help.pageFiles())
        for (auto it = href.globalMatch(help.pageHtml(page)); it.hasNext();)
            reached.insert(it.next().captured(1));
    for (const QString& page : help.pageFiles()) {
        // A topic is reached through the popup, or through the dialog page that includes it.
        if (page.startsWith(QLatin1String("topic"))) continue;
        EXPECT_TRUE(reached.count(page)) << page.toStdString() << " cannot be reached";
    }
}

TEST(HelpPages, EveryDialogContextNumberHasATopicThatItsDialogPageIncludes) {
    HelpLibrary help(kHelpDir);
    const QString dialogPages = help.pageHtml("customize.html") + help.pageHtml("decks.html");
    for (int number : kDialogContextNumbers) {
        const QString topic = help.topicHtml(number);
        ASSERT_FALSE(topic.isEmpty()) << number;
        EXPECT_TRUE(dialogPages.contains(topic)) << number;
        EXPECT_EQ(contextTopicText(help, number), topic);
    }
    EXPECT_TRUE(contextTopicText(help, 4711).contains("No help topic"));
}

TEST(HelpPages, RulePagesNameEveryVariantAndItsDefault) {
    HelpLibrary help(kHelpDir);
    const QString variants = HelpLibrary::plainText(help.pageHtml("variants.html")).simplified();
    for (const char* rule :
         {"Add top card to Velnora", "Initially frozen", "Separately frozen for each player",
          "Natural pair required", "Also when adding to existing meld", "Draw extra card",
          "Freeze discard pile", "Number of Velnoras needed to go out",
          "Velnora(s) required for positive score", "Velnora bonus counts for initial meld",
          "Wildcard Velnora is allowed", "Number of Cards drawn each turn",
          "Top card counts for initial meld"})
        EXPECT_TRUE(variants.contains(QLatin1String(rule))) << rule;
}

TEST(HelpLibrary, ReadsListsAndGuardsAgainstStrangeFiles) {
    const QString dir = QDir::temp().filePath(QStringLiteral("velnora-help-test"));
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    auto write = [&](const char* name, const QByteArray& text) {
        QFile f(QDir(dir).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    };
    write("contents.txt", "# comment\nTop | index.html\n      Too deep | a.html\n\nNo page\n");
    write("index.html", "<html><body><!--include ../secret.html--><!--include a.html--></body>");
    write("a.html", "<html><head><title>A &amp; B</title></head><body>Alpha<!--include "
                    "a.html--></body></html>");
    HelpLibrary help(dir);
    ASSERT_EQ(help.contents().size(), 3);
    EXPECT_EQ(help.contents()[1].depth, 3);
    EXPECT_EQ(help.contents()[2].page, QString());
    // Includes stay inside the folder and go one level deep.
    const QString index = help.pageHtml("index.html");
    EXPECT_TRUE(index.contains("<!--include ../secret.html-->"));
    EXPECT_TRUE(index.contains("Alpha<!--include a.html-->"));
    EXPECT_EQ(help.pageTitle("a.html"), QString("A & B"));
    EXPECT_TRUE(help.pageHtml("missing.html").isEmpty());
    EXPECT_TRUE(help.keywords().isEmpty());
    QDir(dir).removeRecursively();
}

class HelpWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = velnora::online::setUrlOpener([this](const QUrl& url) {
            opened_.append(url);
            return true;
        });
        window_ = std::make_unique<TfmHelp>(kHelpDir);
        window_->onCommand = [this](int parameter) { commands_.push_back(parameter); };
    }
    void TearDown() override { velnora::online::setUrlOpener(previous_); }

    QString shownFile() const {
        return QFileInfo(window_->browser()->source().toLocalFile()).fileName();
    }

    std::unique_ptr<TfmHelp> window_;
    std::vector<int> commands_;
    QList<QUrl> opened_;
    velnora::online::UrlOpener previous_;
};

TEST_F(HelpWindowTest, ContentsOpenThePagesAndHistoryGoesBackAndForward) {
    window_->showPage();
    EXPECT_EQ(shownFile(), QString("index.html"));
    auto* back = find<QAction>(window_.get(), "bnBack");
    auto* forward = find<QAction>(window_.get(), "bnForward");
    EXPECT_FALSE(back->isEnabled());

    auto* contents = find<QTreeWidget>(window_.get(), "tvContents");
    const auto rules =
        contents->findItems("Melds, wildcards and velnoras", Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(rules.size(), 1);
    emit contents->itemActivated(rules[0], 0);
    EXPECT_EQ(shownFile(), QString("melds.html"));
    EXPECT_TRUE(window_->browser()->toPlainText().contains("seven or more cards"));

    window_->followLink(QUrl("scoring.html#penalty"));
    EXPECT_EQ(shownFile(), QString("scoring.html"));
    back->trigger();
    EXPECT_EQ(shownFile(), QString("melds.html"));
    EXPECT_TRUE(forward->isEnabled());
    forward->trigger();
    EXPECT_EQ(shownFile(), QString("scoring.html"));
    find<QAction>(window_.get(), "bnHome")->trigger();
    EXPECT_EQ(shownFile(), QString("index.html"));
}

TEST_F(HelpWindowTest, IndexFindsKeywordsAndFallsBackToTheTextOfThePages) {
    auto* edit = find<QLineEdit>(window_.get(), "edIndex");
    auto* list = find<QListWidget>(window_.get(), "lbIndex");
    edit->setText("velnora");
    ASSERT_GT(list->count(), 3);
    for (int i = 0; i < list->count(); ++i)
        EXPECT_TRUE(list->item(i)->text().contains("velnora", Qt::CaseInsensitive));
    // The keyword itself comes first, ready for Enter.
    EXPECT_EQ(list->currentItem()->text(), QString("velnora"));
    EXPECT_EQ(list->item(1)->text(), QString("velnoras needed to go out"));
    emit edit->returnPressed();
    EXPECT_EQ(shownFile(), QString("melds.html"));
    EXPECT_EQ(window_->browser()->source().fragment(), QString("velnora"));

    // "crushed" is no keyword, but the scoring page names the verdict.
    edit->setText("crushed");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), QString("Scoring a hand and the match"));
    edit->setText("zzzz-no-such-word");
    EXPECT_EQ(list->count(), 0);
}

TEST_F(HelpWindowTest, CommandLinksRunTheCommandAndOutsideLinksGoToTheDesktop) {
    window_->showPage("variants.html");
    window_->followLink(QUrl("velnora:9999/3"));
    window_->followLink(QUrl("velnora:9999/x"));
    window_->followLink(QUrl("velnora:1234/3"));
    EXPECT_EQ(commands_, std::vector<int>{3});
    EXPECT_EQ(shownFile(), QString("variants.html"));

    window_->followLink(QUrl("https://example.org/"));
    window_->followLink(QUrl("file:///etc/passwd"));
    ASSERT_EQ(opened_.size(), 1);
    EXPECT_EQ(opened_[0], QUrl("https://example.org/"));
    EXPECT_EQ(shownFile(), QString("variants.html"));
}

TEST_F(HelpWindowTest, AMissingHelpFolderSaysWhereThePagesBelong) {
    TfmHelp missing(QDir::temp().filePath("velnora-no-help-here"));
    missing.showPage();
    EXPECT_TRUE(missing.browser()->toPlainText().contains("velnora-no-help-here"));
}

TEST_F(HelpWindowTest, EscapeAndControlWCloseTheHelpWindow) {
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence("Ctrl+W")}) {
        window_->showPage();
        ASSERT_TRUE(window_->isVisible());
        int found = 0;
        for (QShortcut* shortcut : window_->findChildren<QShortcut*>())
            if (shortcut->key() == keys && ++found) emit shortcut->activated();
        EXPECT_EQ(found, 1) << keys.toString().toStdString();
        EXPECT_FALSE(window_->isVisible()) << keys.toString().toStdString();
    }
}

TEST(HelpPages, TheHelpWindowOpensBesideTheWindowItExplains) {
    const QRect screen(0, 0, 1920, 1040);
    const QSize wanted(960, 660);
    // Room on the right: beside the table, not over it.
    const QRect table(100, 50, 820, 640);
    EXPECT_FALSE(helpWindowPlace(table, screen, wanted).intersects(table));
    EXPECT_TRUE(screen.contains(helpWindowPlace(table, screen, wanted)));
    // Room only on the left.
    const QRect right(1000, 50, 900, 640);
    const QRect onLeft = helpWindowPlace(right, screen, wanted);
    EXPECT_FALSE(onLeft.intersects(right));
    EXPECT_TRUE(screen.contains(onLeft));
    // A table that fills a laptop screen: the help stays on the screen, as narrow as it may be.
    const QRect laptop(0, 0, 1366, 728);
    const QRect over = helpWindowPlace(QRect(171, 0, 1024, 728), laptop, wanted);
    EXPECT_TRUE(laptop.contains(over));
    EXPECT_EQ(over.height(), 660);
}
