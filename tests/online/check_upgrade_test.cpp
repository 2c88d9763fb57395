// "Check Upgrade" against a local HTTP server: equal and different versions, HTML pages, refused
// and silent servers, no configured site, and the download button.

#include "canned_http_server.h"
#include "check_upgrade.h"
#include "url_opener.h"
#include "web_site.h"
#include "widget_lookup.h"

#include <QLabel>
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

TEST(CheckUpgrade, AnyOtherVersionOffersTheDownloadEvenAnOlderOne) {
    for (const QByteArray& body : {QByteArray("4.16"), QByteArray("4.18\r\n")}) {
        CannedHttpServer server(200, body);
        const Outcome o = check(server.site());
        EXPECT_EQ(o.latestText, "The latest version is " + QString(body).trimmed());
        EXPECT_TRUE(o.downloadEnabled);
        EXPECT_TRUE(o.availableShown);
    }
}

TEST(CheckUpgrade, HtmlPagesAndErrorsReadUnknown) {
    CannedHttpServer htmlOk(200, "<html><body>Moved</body></html>", "text/html");
    CannedHttpServer notFound(404, "<html><body>404 Not Found</body></html>", "text/html");
    CannedHttpServer plainNotFound(404, "Not Found");
    for (const CannedHttpServer* server : {&htmlOk, &notFound, &plainNotFound}) {
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
}
