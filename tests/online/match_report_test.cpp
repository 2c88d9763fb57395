// The mail report of a network match: the exact address, and Cancel opening nothing.

#include "match_report.h"
#include "url_opener.h"

#include <QApplication>
#include <QInputDialog>
#include <QTimer>
#include <gtest/gtest.h>

using namespace velnora::online;

namespace {

// Answers the next address prompt with text, or cancels it when text is null.
void answerPrompt(const QString& text) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, text] {
        auto* prompt = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (!prompt) return;
        poll->stop();
        poll->deleteLater();
        EXPECT_EQ(prompt->windowTitle(), "Velnora");
        EXPECT_EQ(prompt->labelText(), "Email address to report this match to:");
        if (text.isNull()) {
            prompt->reject();
        } else {
            prompt->setTextValue(text);
            prompt->accept();
        }
    });
    poll->start(5);
}

const MatchResultTexts kMatch{"Ann", "5010", "Bob's score:", "4200"};

} // namespace

TEST(MatchReport, TheAddressOfAKnownMatchIsExact) {
    EXPECT_EQ(matchReportAddress("bob@example.org", matchReportBody(kMatch, "08.12.26 05:30")),
              "mailto:bob@example.org?Subject=Velnora Match Result&Body=Ann's Score:5010%0D%0A"
              "Bob's score: 4200%0D%0ATimestamp: 08.12.26 05:30%0D%0A");
}

TEST(MatchReport, NamesCannotCutTheBodyShort) {
    const QString body =
        matchReportBody({"Tom & Jerry", "-50", "100% #1's score:", "20"}, "08.12.26 05:30");
    EXPECT_EQ(body, "Tom %26 Jerry's Score:-50%0D%0A100%25 %231's score: 20%0D%0A"
                    "Timestamp: 08.12.26 05:30%0D%0A");
}

TEST(MatchReport, CancellingTheAddressPromptOpensNothing) {
    QList<QUrl> opened;
    const UrlOpener previous = setUrlOpener([&](const QUrl& url) {
        opened.append(url);
        return true;
    });
    answerPrompt(QString());
    EXPECT_FALSE(sendMatchReport(nullptr, kMatch));
    EXPECT_TRUE(opened.isEmpty());

    answerPrompt("bob@example.org");
    EXPECT_TRUE(sendMatchReport(nullptr, kMatch));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].scheme(), "mailto");
    EXPECT_EQ(opened[0].path(), "bob@example.org");
    EXPECT_TRUE(opened[0].toString().contains("Body=Ann's Score:5010%0D%0ABob's score: 4200%0D%0A"))
        << opened[0].toString().toStdString();
    setUrlOpener(previous);
}
