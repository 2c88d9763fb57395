#pragma once
// The maker's web site and this program's version: the addresses of the version file, the
// download page and the home page, and how a fetched version file is read.
//
// The site is a full address such as "https://velnora.example.org", built in at configure time
// (VELNORA_WEB_SITE, empty unless a packager sets it) and replaced by the setting
// "Online\Web Site"; an empty site means that this copy has no web site, and nothing is fetched
// or opened.

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace velnora::online {

// The setting that replaces the built-in site.
inline constexpr const char* kWebSiteSetting = "Online\\Web Site";

// The site this program was built with; may be empty.
QString builtInWebSite();

// The version text of this program, "unknown" when the build carries none.
QString ownVersion();

// Addresses on a site; an empty URL when the site is empty.
QUrl versionFileUrl(const QString& site);
QUrl downloadUrl(const QString& site);
QUrl homePageUrl(const QString& site);

// The latest version text from a fetched version file: "unknown" when the fetch failed, when the
// body is an HTML page (begins with "<", blanks before it not counted) or when it holds no
// version on its first line.
QString latestVersionFrom(bool fetchFailed, const QByteArray& body);

// Whether latest names a newer version than own, their numbers compared part by part ("4.9" is
// older than "4.17", "4.17.0" the same as "4.17"). A text that does not start with a number
// is never newer.
bool isNewerVersion(const QString& latest, const QString& own);

// Text of the "unknown" version.
inline constexpr const char* kUnknownVersion = "unknown";

} // namespace velnora::online
