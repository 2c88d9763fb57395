#include "check_upgrade.h"

#include "url_opener.h"
#include "web_site.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPushButton>
#include <QVBoxLayout>

namespace velnora::online {

namespace {

// The version file is a few bytes; more is not read.
constexpr qint64 kMaxBodyBytes = 4096;

} // namespace

TfmCheckUpgrade::TfmCheckUpgrade(const QString& webSite, QWidget* parent, int timeoutMilliseconds)
    : QDialog(parent), webSite_(webSite.trimmed()) {
    setObjectName(QStringLiteral("TfmCheckUpgrade"));
    setWindowTitle(QStringLiteral("Velnora"));
    setModal(true);

    lbCurrent_ = new QLabel(QStringLiteral("You currently have version ") + ownVersion(), this);
    lbCurrent_->setObjectName(QStringLiteral("lbCurrent"));
    lbLatest_ = new QLabel(this);
    lbLatest_->setObjectName(QStringLiteral("lbLatest"));
    // The version comes from the web site, so it is shown as typed, never as markup.
    lbLatest_->setTextFormat(Qt::PlainText);
    lbLatest_->setWordWrap(true);
    lbAvailable_ = new QLabel(QStringLiteral("There is a later version available."), this);
    lbAvailable_->setObjectName(QStringLiteral("lbAvailable"));
    QFont bold = lbAvailable_->font();
    bold.setBold(true);
    lbAvailable_->setFont(bold);
    lbAvailable_->setVisible(false);
    bnDownload_ = new QPushButton(QStringLiteral("Download Now"), this);
    bnDownload_->setObjectName(QStringLiteral("bnDownload"));
    bnDownload_->setEnabled(false);
    bnDownload_->setAutoDefault(false);
    bnClose_ = new QPushButton(QStringLiteral("Close"), this);
    bnClose_->setObjectName(QStringLiteral("bnClose"));
    bnClose_->setDefault(true);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(14, 14, 14, 14);
    outer->setSpacing(8);
    outer->addWidget(lbCurrent_);
    outer->addWidget(lbLatest_);
    outer->addWidget(lbAvailable_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(bnDownload_);
    buttons->addWidget(bnClose_);
    outer->addSpacing(6);
    outer->addLayout(buttons);
    setMinimumWidth(340);
    // Sized by its text and never resized: a resizable frame gets a grip bar along its foot
    // from some window managers, which reads as a stray line under the buttons.
    outer->setSizeConstraint(QLayout::SetFixedSize);

    connect(bnDownload_, &QPushButton::clicked, this, &TfmCheckUpgrade::bnDownloadClick);
    connect(bnClose_, &QPushButton::clicked, this, &QDialog::reject);

    nmHTTP_ = new QNetworkAccessManager(this);
    nmHTTP_->setObjectName(QStringLiteral("nmHTTP"));
    if (webSite_.isEmpty()) {
        // Without a site there is nothing to ask; saying so beats a made-up "unknown".
        latest_ = QString::fromLatin1(kUnknownVersion);
        lbLatest_->setText(QStringLiteral("No Velnora web site is set up for this copy, so the "
                                          "latest version cannot be checked."));
        return;
    }

    lbLatest_->setText(QStringLiteral("Checking the latest version..."));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    waitCursor_ = true;
    QNetworkRequest request(versionFileUrl(webSite_));
    request.setTransferTimeout(timeoutMilliseconds);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    reply_ = nmHTTP_->get(request);
    // Only the start of the file is read; a site that sends more is not buffered without end.
    reply_->setReadBufferSize(kMaxBodyBytes);
    connect(reply_, &QNetworkReply::readyRead, this, &TfmCheckUpgrade::nmHTTPReadyRead);
    connect(reply_, &QNetworkReply::finished, this, &TfmCheckUpgrade::nmHTTPFinished);
}

TfmCheckUpgrade::~TfmCheckUpgrade() {
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
    }
    restoreCursor();
}

void TfmCheckUpgrade::nmHTTPReadyRead() {
    if (!reply_) return;
    body_ += reply_->read(kMaxBodyBytes - body_.size());
    // Enough read: the rest is not downloaded at all.
    if (body_.size() >= kMaxBodyBytes) nmHTTPFinished();
}

void TfmCheckUpgrade::nmHTTPFinished() {
    QNetworkReply* reply = reply_;
    reply_ = nullptr;
    if (!reply) return;
    reply->disconnect(this);
    body_ += reply->read(kMaxBodyBytes - body_.size());
    // An error status counts as a failure too: its body is the server's page, not a version.
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool failed = reply->error() != QNetworkReply::NoError || status >= 300;
    if (reply->isRunning()) reply->abort();
    reply->deleteLater();
    showResult(latestVersionFrom(failed, failed ? QByteArray() : body_));
}

void TfmCheckUpgrade::showResult(const QString& latest) {
    latest_ = latest;
    lbLatest_->setText(QStringLiteral("The latest version is ") + latest);
    // Only a newer version is worth a download; an older one listed on the site is not.
    const bool later = isNewerVersion(latest, ownVersion());
    bnDownload_->setEnabled(later);
    lbAvailable_->setVisible(later);
    if (later) bnDownload_->setDefault(true);
    restoreCursor();
    emit checkFinished();
}

void TfmCheckUpgrade::bnDownloadClick() {
    openUrlOrTell(this, downloadUrl(webSite_));
    accept();
}

void TfmCheckUpgrade::restoreCursor() {
    if (!waitCursor_) return;
    waitCursor_ = false;
    QApplication::restoreOverrideCursor();
}

} // namespace velnora::online
