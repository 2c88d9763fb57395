#include "match_report.h"

#include "url_opener.h"

#include <QDateTime>
#include <QInputDialog>
#include <QLineEdit>
#include <QLocale>
#include <QUrl>

namespace velnora::online {

namespace {

constexpr const char* kLineBreak = "%0D%0A";

// A name with "&", "#" or "%" would end the body early or garble it in the address, so those
// three are written as their escapes; everything else stays as typed.
QString inAddress(const QString& text) {
    QString escaped;
    for (const QChar c : text) {
        if (c == '%')
            escaped += QStringLiteral("%25");
        else if (c == '&')
            escaped += QStringLiteral("%26");
        else if (c == '#')
            escaped += QStringLiteral("%23");
        else
            escaped += c;
    }
    return escaped;
}

} // namespace

QString matchReportBody(const MatchResultTexts& t, const QString& timestamp) {
    const QString br = QString::fromLatin1(kLineBreak);
    return inAddress(t.localName) + QStringLiteral("'s Score:") + inAddress(t.playerTotal) + br +
           inAddress(t.opponentLabel) + ' ' + inAddress(t.opponentTotal) + br +
           QStringLiteral("Timestamp: ") + inAddress(timestamp) + br;
}

QString matchReportAddress(const QString& email, const QString& body) {
    return QStringLiteral("mailto:") + inAddress(email.trimmed()) +
           QStringLiteral("?Subject=Velnora Match Result&Body=") + body;
}

QString reportTimestamp() {
    return QLocale::system().toString(QDateTime::currentDateTime(), QLocale::ShortFormat);
}

bool sendMatchReport(QWidget* parent, const MatchResultTexts& texts) {
    bool ok = false;
    const QString email = QInputDialog::getText(
        parent, QStringLiteral("Velnora"), QStringLiteral("Email address to report this match to:"),
        QLineEdit::Normal, QString(), &ok);
    if (!ok) return false;
    const QString address = matchReportAddress(email, matchReportBody(texts, reportTimestamp()));
    // The escapes already in the text are kept as they are; only spaces and the like get theirs.
    return openUrlOrTell(parent, QUrl(address, QUrl::TolerantMode));
}

} // namespace velnora::online
