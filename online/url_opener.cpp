#include "url_opener.h"

#include <QDesktopServices>

namespace velnora::online {

namespace {

UrlOpener& currentOpener() {
    static UrlOpener opener;
    return opener;
}

} // namespace

bool openUrl(const QUrl& url) {
    if (const UrlOpener& opener = currentOpener()) return opener(url);
    return QDesktopServices::openUrl(url);
}

UrlOpener setUrlOpener(UrlOpener opener) {
    UrlOpener previous = std::move(currentOpener());
    currentOpener() = std::move(opener);
    return previous;
}

} // namespace velnora::online
