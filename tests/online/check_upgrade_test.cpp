// "Check Upgrade" against a local HTTP server: equal and different versions, HTML pages, refused
// and silent servers, no configured site, and the download button.

#include "canned_http_server.h"
#include "check_upgrade.h"
#include "url_opener.h"
#include "web_site.h"
#include "widget_lookup.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTcpServer>

using namespace velnora::online;
using velnora::onlinetest::CannedHttpServer;
using velnora::uitest::find;
using velnora::uitest::waitUntil;

namespace {

struct Outcome {
    QString latestText;
    bool downloadEnabled = false;
    bool availableShown = false;
};

// Runs a check against site and waits for its end (the check itself times out long before).
Outcome check(const QString& site, int timeoutMs = TfmCheckUpgrade::kTimeoutMilliseconds) {
    TfmCheckUpgrade dialog(site, nullptr, timeoutMs);
    dialog.show();
    EXPECT_TRUE(waitUntil([&] { return !dialog.checking(); }, 15000));
    return {find<QLabel>(&dialog, "lbLatest")->text(),
            find<QPushButton>(&dialog, "bnDownload")->isEnabled(),
            find<QLabel>(&dialog, "lbAvailable")->isVisible()};
}

} // namespace

TEST(CheckUpgrade, TheSameVersionOffersNoDownload) {
    CannedHttpServer server(200, ownVersion().toUtf8());
    TfmCheckUpgrade dialog(server.site());
    EXPECT_EQ(find<QLabel>(&dialog, "lbCurrent")->text(), "You currently have version 4.17");
    const Outcome o = check(server.site());
    EXPECT_EQ(o.latestText, "The latest version is 4.17");
    EXPECT_FALSE(o.downloadEnabled);
    EXPECT_FALSE(o.availableShown);
    EXPECT_TRUE(server.lastRequest().startsWith("GET /version.txt HTTP/1.1\r\n"));
}

TEST(CheckUpgrade, OnlyANewerVersionOffersTheDownload) {
    // Ours is 4.17: versions compare as numbers, part by part.
    const std::pair<QByteArray, bool> cases[] = {
        {"4.16", false},    {"4.9", false},   {"4.17.0", false}, {"v5", false},
        {"4.18\r\n", true}, {"4.17.1", true}, {"10.0", true}};
    for (const auto& [body, newer] : cases) {
        CannedHttpServer server(200, body);
        const Outcome o = check(server.site());
        EXPECT_EQ(o.latestText, "The latest version is " + QString(body).trimmed());
        EXPECT_EQ(o.downloadEnabled, newer) << body.toStdString();
        EXPECT_EQ(o.availableShown, newer) << body.toStdString();
    }
}

TEST(CheckUpgrade, AnEndlessBodyIsReadOnlyToItsLimit) {
    // The site announces a huge file and sends only its start: the check is over as soon as
    // the start has come, instead of waiting for the rest or the timeout.
    CannedHttpServer endless(200, "4.18\n" + QByteArray(8000, 'x'), "text/plain", 1'000'000'000);
    QElapsedTimer clock;
    clock.start();
    const Outcome o = check(endless.site(), 5000);
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(o.latestText, "The latest version is 4.18");
}

TEST(CheckUpgrade, HtmlPagesAndErrorsReadUnknown) {
    CannedHttpServer htmlOk(200, "<html><body>Moved</body></html>", "text/html");
    CannedHttpServer notFound(404, "<html><body>404 Not Found</body></html>", "text/html");
    CannedHttpServer plainNotFound(404, "Not Found");
    CannedHttpServer indented(200, " \r\n\t<html><body>4.18</body></html>", "text/html");
    for (const CannedHttpServer* server : {&htmlOk, &notFound, &plainNotFound, &indented}) {
        const Outcome o = check(server->site());
        EXPECT_EQ(o.latestText, "The latest version is unknown");
        EXPECT_FALSE(o.downloadEnabled);
        EXPECT_FALSE(o.availableShown);
    }
}

TEST(CheckUpgrade, ARefusedConnectionReadsUnknownAndTheDialogIsThereAtOnce) {
    QString site;
    {
        QTcpServer closed;
        ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
        site = QStringLiteral("http://127.0.0.1:%1").arg(closed.serverPort());
    }
    TfmCheckUpgrade dialog(site);
    // The dialog is built and can show before any answer.
    EXPECT_TRUE(dialog.checking());
    EXPECT_EQ(find<QLabel>(&dialog, "lbLatest")->text(), "Checking the latest version...");
    ASSERT_TRUE(waitUntil([&] { return !dialog.checking(); }, 15000));
    EXPECT_EQ(dialog.latestVersion(), "unknown");
}

TEST(CheckUpgrade, ASilentServerTimesOutAsUnknown) {
    CannedHttpServer silent(0, {});
    const Outcome o = check(silent.site(), 200);
    EXPECT_EQ(o.latestText, "The latest version is unknown");
    EXPECT_EQ(silent.requests(), 1);
}

TEST(CheckUpgrade, WithoutASiteNothingIsFetchedAndTheDialogSaysSo) {
    TfmCheckUpgrade dialog(QString(" "));
    EXPECT_FALSE(dialog.checking());
    EXPECT_TRUE(find<QLabel>(&dialog, "lbLatest")->text().contains("No Velnora web site"));
    EXPECT_FALSE(find<QPushButton>(&dialog, "bnDownload")->isEnabled());
}

TEST(CheckUpgrade, DownloadNowOpensTheDownloadPageAndCloses) {
    QList<QUrl> opened;
    const UrlOpener previous = setUrlOpener([&](const QUrl& url) {
        opened.append(url);
        return true;
    });
    CannedHttpServer server(200, "5.0");
    TfmCheckUpgrade dialog(server.site() + "/");
    dialog.show();
    ASSERT_TRUE(waitUntil([&] { return !dialog.checking(); }, 15000));
    find<QPushButton>(&dialog, "bnDownload")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], QUrl(server.site() + "/download/"));

    // No browser to open it: the user is told so.
    setUrlOpener([](const QUrl&) { return false; });
    TfmCheckUpgrade again(server.site());
    again.show();
    ASSERT_TRUE(waitUntil([&] { return !again.checking(); }, 15000));
    QString told;
    {
        auto ok = velnora::uitest::onNextModal<QMessageBox>(
            [&](QMessageBox* box) { told = box->text(); });
        find<QPushButton>(&again, "bnDownload")->click();
    }
    EXPECT_EQ(told, "No web browser could be opened for " + server.site() + "/download/.");
    setUrlOpener(previous);
}

TEST(WebSite, AddressesAndVersionTexts) {
    EXPECT_EQ(homePageUrl("https://example.org//"), QUrl("https://example.org/"));
    EXPECT_TRUE(versionFileUrl("").isEmpty());
    EXPECT_EQ(latestVersionFrom(false, "4.17.1.6"), "4.17.1.6");
    EXPECT_EQ(latestVersionFrom(false, " 4.17\n\nnotes"), "4.17");
    EXPECT_EQ(latestVersionFrom(true, "4.17"), "unknown");
    EXPECT_EQ(latestVersionFrom(false, "<!DOCTYPE html>"), "unknown");
    EXPECT_EQ(latestVersionFrom(false, ""), "unknown");
    EXPECT_EQ(latestVersionFrom(false, QByteArray(200, '7')), "unknown");
    EXPECT_EQ(latestVersionFrom(false, "\n  <html>4.18</html>"), "unknown");
    EXPECT_EQ(latestVersionFrom(false, "\xEF\xBB\xBF<html>"), "unknown");
    EXPECT_EQ(latestVersionFrom(false, "\xEF\xBB\xBF"
                                       "4.18"),
              "4.18");
    EXPECT_TRUE(builtInWebSite().isEmpty()); // a packager sets the real site at build time
}
