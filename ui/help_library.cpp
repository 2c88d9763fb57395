#include "help_library.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace velnora::ui {

namespace {

constexpr const char* kStartPage = "index.html";
// Help pages are small; anything larger is not one of ours and is not read.
constexpr qint64 kMaxPageBytes = 1 << 20;

// The lines of a list file without comments and blank lines, split at the first " | ".
QList<QPair<QString, QString>> readListFile(const QString& path, QList<int>* depths = nullptr) {
    QList<QPair<QString, QString>> rows;
    QFile file(path);
    if (file.size() > kMaxPageBytes || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return rows;
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    for (const QString& raw : lines) {
        if (raw.trimmed().isEmpty() || raw.trimmed().startsWith('#')) continue;
        int indent = 0;
        while (indent < raw.size() && raw[indent] == ' ')
            ++indent;
        const int bar = raw.indexOf('|');
        const QString name = (bar < 0 ? raw : raw.left(bar)).trimmed();
        const QString page = bar < 0 ? QString() : raw.mid(bar + 1).trimmed();
        rows.append({name, page});
        if (depths) depths->append(indent / 2);
    }
    return rows;
}

// Only plain file names of the folder are included: a topic never reaches outside it.
const QRegularExpression& includePattern() {
    static const QRegularExpression re(
        QStringLiteral(R"(<!--\s*include\s+([A-Za-z0-9_-]+\.html)\s*-->)"));
    return re;
}

} // namespace

HelpLibrary::HelpLibrary(const QString& folder) : folder_(folder) {
    QList<int> depths;
    const auto topics = readListFile(QDir(folder).filePath("contents.txt"), &depths);
    for (int i = 0; i < topics.size(); ++i)
        contents_.append({topics[i].first, topics[i].second, depths[i]});
    for (const auto& [keyword, page] : readListFile(QDir(folder).filePath("keywords.txt")))
        keywords_.append({keyword, page});
}

bool HelpLibrary::isValid() const {
    return QFile::exists(QDir(folder_).filePath(kStartPage));
}

QUrl HelpLibrary::pageUrl(const QString& page) const {
    const QString name = page.isEmpty() ? QString::fromLatin1(kStartPage) : page;
    const int hash = name.indexOf('#');
    QUrl url =
        QUrl::fromLocalFile(QDir(folder_).absoluteFilePath(hash < 0 ? name : name.left(hash)));
    if (hash >= 0) url.setFragment(name.mid(hash + 1));
    return url;
}

QString HelpLibrary::fileNameOf(const QUrl& url) const {
    if (!url.isLocalFile()) return {};
    const QFileInfo info(url.toLocalFile());
    if (QDir(info.absolutePath()) != QDir(QDir(folder_).absolutePath())) return {};
    return info.fileName();
}

QString HelpLibrary::readFile(const QString& fileName) const {
    QFile file(QDir(folder_).filePath(fileName));
    if (file.size() > kMaxPageBytes || !file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

QString HelpLibrary::pageHtml(const QString& fileName) const {
    QString html = readFile(fileName);
    // One level only: a topic that includes itself or another topic is left as it stands.
    QString expanded;
    qsizetype last = 0;
    for (auto it = includePattern().globalMatch(html); it.hasNext();) {
        const auto match = it.next();
        expanded += html.mid(last, match.capturedStart() - last);
        expanded += bodyOf(readFile(match.captured(1)));
        last = match.capturedEnd();
    }
    expanded += html.mid(last);
    return expanded;
}

QString HelpLibrary::pageTitle(const QString& fileName) const {
    static const QRegularExpression title(QStringLiteral("<title>(.*?)</title>"),
                                          QRegularExpression::DotMatchesEverythingOption |
                                              QRegularExpression::CaseInsensitiveOption);
    const auto match = title.match(readFile(fileName));
    return match.hasMatch() ? plainText(match.captured(1)).simplified() : fileName;
}

QString HelpLibrary::topicFileName(int contextNumber) {
    return QStringLiteral("topic%1.html").arg(contextNumber);
}

QString HelpLibrary::topicHtml(int contextNumber) const {
    return bodyOf(readFile(topicFileName(contextNumber))).trimmed();
}

QList<HelpKeyword> HelpLibrary::matchingKeywords(const QString& text) const {
    // The keyword itself first, then keywords that begin with the text, then the rest.
    QList<HelpKeyword> exact, prefix, inside;
    const QString wanted = text.trimmed();
    for (const HelpKeyword& k : keywords_) {
        if (k.keyword.compare(wanted, Qt::CaseInsensitive) == 0)
            exact.append(k);
        else if (k.keyword.startsWith(wanted, Qt::CaseInsensitive))
            prefix.append(k);
        else if (k.keyword.contains(wanted, Qt::CaseInsensitive))
            inside.append(k);
    }
    return exact + prefix + inside;
}

QList<HelpKeyword> HelpLibrary::pagesContaining(const QString& text) const {
    QList<HelpKeyword> found;
    const QString wanted = text.simplified();
    if (wanted.isEmpty()) return found;
    for (const QString& file : pageFiles())
        if (plainText(bodyOf(pageHtml(file))).simplified().contains(wanted, Qt::CaseInsensitive))
            found.append({pageTitle(file), file});
    return found;
}

QStringList HelpLibrary::pageFiles() const {
    return QDir(folder_).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
}

QString HelpLibrary::bodyOf(const QString& html) {
    static const QRegularExpression body(QStringLiteral("<body[^>]*>(.*)</body>"),
                                         QRegularExpression::DotMatchesEverythingOption |
                                             QRegularExpression::CaseInsensitiveOption);
    const auto match = body.match(html);
    return match.hasMatch() ? match.captured(1) : html;
}

QString HelpLibrary::plainText(const QString& html) {
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    QString text = html;
    text.replace(tag, QStringLiteral(" "));
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text;
}

} // namespace velnora::ui
