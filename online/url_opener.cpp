#include "url_opener.h"

#include <QDesktopServices>
#include <QMessageBox>

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

bool openUrlOrTell(QWidget* parent, const QUrl& url) {
    if (openUrl(url)) return true;
    const QString text = url.scheme() == QLatin1String("mailto")
                             ? QStringLiteral("No mail program could be opened for this message.")
                             : QStringLiteral("No web browser could be opened for ") +
                                   url.toDisplayString(QUrl::RemoveQuery) + QStringLiteral(".");
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Velnora"), text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return false;
}

UrlOpener setUrlOpener(UrlOpener opener) {
    UrlOpener previous = std::move(currentOpener());
    currentOpener() = std::move(opener);
    return previous;
}

} // namespace velnora::online
