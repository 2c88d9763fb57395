#pragma once
// The one way the program hands an address to the desktop: the web browser for http and https,
// the mail program for mailto. Tests replace the opener so that nothing real is launched.

#include <QUrl>

#include <functional>

class QWidget;

namespace velnora::online {

using UrlOpener = std::function<bool(const QUrl&)>;

// Opens url with the desktop's handler; a failure is reported by the return value only.
bool openUrl(const QUrl& url);

// Opens url as openUrl does; when nothing takes it, says so in a message box over parent instead
// of leaving the click without an answer. True when it was opened.
bool openUrlOrTell(QWidget* parent, const QUrl& url);

// Replaces the opener for the rest of the process (an empty one restores the desktop's); returns
// the one it replaced.
UrlOpener setUrlOpener(UrlOpener opener);

} // namespace velnora::online
