#include "web_site.h"

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
    if (fetchFailed || body.startsWith('<')) return unknown;
    // A version file saved by an editor ends in a line break; only the first line is the version.
    const QString line = QString::fromUtf8(body).section('\n', 0, 0).trimmed();
    if (line.isEmpty() || line.size() > kMaxVersionLength) return unknown;
    for (const QChar c : line)
        if (!c.isPrint()) return unknown;
    return line;
}

} // namespace velnora::online
