#pragma once
// "Check Upgrade": fetches the version file of the web site and tells whether a later version
// exists, with a button that opens the download page.
//
// Use:
//     TfmCheckUpgrade dialog(webSite, this);   // the fetch starts at once
//     dialog.exec();
// The dialog shows at once and fills in the latest version when the answer arrives or the
// timeout passes; it never waits for the network before showing.

#include <QDialog>

class QLabel;
class QNetworkAccessManager;
class QNetworkReply;
class QPushButton;

namespace velnora::online {

class TfmCheckUpgrade : public QDialog {
    Q_OBJECT
public:
    // How long the web site may take to answer before the latest version reads "unknown".
    static constexpr int kTimeoutMilliseconds = 8000;

    TfmCheckUpgrade(const QString& webSite, QWidget* parent = nullptr,
                    int timeoutMilliseconds = kTimeoutMilliseconds);
    ~TfmCheckUpgrade() override;

    // True until the version file has been read, has failed or has timed out.
    bool checking() const { return reply_ != nullptr; }
    // The latest version text once the check is over ("unknown" on failure).
    QString latestVersion() const { return latest_; }

signals:
    // The check is over; the labels and the download button show its result.
    void checkFinished();

private:
    void nmHTTPReadyRead();
    void nmHTTPFinished();
    void showResult(const QString& latest);
    void bnDownloadClick();
    void restoreCursor();

    QString webSite_;
    QString latest_;
    QLabel* lbCurrent_ = nullptr;
    QLabel* lbLatest_ = nullptr;
    QLabel* lbAvailable_ = nullptr;
    QPushButton* bnDownload_ = nullptr;
    QPushButton* bnClose_ = nullptr;
    QNetworkAccessManager* nmHTTP_ = nullptr;
    QNetworkReply* reply_ = nullptr;
    QByteArray body_;
    bool waitCursor_ = false;
};

} // namespace velnora::online
