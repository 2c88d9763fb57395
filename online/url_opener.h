#pragma once
// The one way the program hands an address to the desktop: the web browser for http and https,
// the mail program for mailto. Tests replace the opener so that nothing real is launched.

#include <QUrl>

#include <functional>

namespace velnora::online {

using UrlOpener = std::function<bool(const QUrl&)>;

// Opens url with the desktop's handler; a failure is reported by the return value only.
bool openUrl(const QUrl& url);

// Replaces the opener for the rest of the process (an empty one restores the desktop's); returns
// the one it replaced.
UrlOpener setUrlOpener(UrlOpener opener);

} // namespace velnora::online
