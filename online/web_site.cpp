#include "web_site.h"

#include <QVersionNumber>

namespace velnora::online {

namespace {

// A version text is a short line; a longer body is some other document.
constexpr int kMaxVersionLength = 64;

QUrl onSite(const QString& site, const QString& path) {
    QString base = site.trimmed();
    if (base.isEmpty()) return {};
    while (base.endsWith('/'))
        base.chop(1);
    return QUrl(base + path);
}

} // namespace

QString builtInWebSite() {
    return QStringLiteral(VELNORA_WEB_SITE);
}

QString ownVersion() {
    const QString version = QStringLiteral(VELNORA_VERSION);
    return version.isEmpty() ? QString::fromLatin1(kUnknownVersion) : version;
}

QUrl versionFileUrl(const QString& site) {
    return onSite(site, QStringLiteral("/version.txt"));
}

QUrl downloadUrl(const QString& site) {
    return onSite(site, QStringLiteral("/download/"));
}

QUrl homePageUrl(const QString& site) {
    return onSite(site, QStringLiteral("/"));
}

QString latestVersionFrom(bool fetchFailed, const QByteArray& body) {
    const QString unknown = QString::fromLatin1(kUnknownVersion);
    // A server's error page may begin with a blank line or a byte-order mark before its "<".
    QByteArray start = body.trimmed();
    if (start.startsWith("\xEF\xBB\xBF")) start = start.mid(3).trimmed();
    if (fetchFailed || start.startsWith('<')) return unknown;
    // A version file saved by an editor ends in a line break; only the first line is the version.
    const QString line = QString::fromUtf8(start).section('\n', 0, 0).trimmed();
    if (line.isEmpty() || line.size() > kMaxVersionLength) return unknown;
    for (const QChar c : line)
        if (!c.isPrint()) return unknown;
    return line;
}

bool isNewerVersion(const QString& latest, const QString& own) {
    const QVersionNumber newest = QVersionNumber::fromString(latest).normalized();
    const QVersionNumber ours = QVersionNumber::fromString(own).normalized();
    // Without numbers there is nothing to compare, and no download is worth offering.
    if (newest.segmentCount() == 0 || ours.segmentCount() == 0) return false;
    return QVersionNumber::compare(newest, ours) > 0;
}

} // namespace velnora::online
