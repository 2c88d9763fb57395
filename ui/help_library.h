#pragma once
// The help pages on disk: the contents and keyword lists, pages with their shared topics
// included, the topics shown by context number, and a plain-text search over every page.
//
// Use:
//     HelpLibrary help(dataFolder() + "/help");
//     browser->setHtml(help.pageHtml("melds.html"));
//     QString popup = help.topicHtml(1024);   // empty when the number has no topic
// A page may include a topic with the line <!--include topic1024.html-->, so the text that the
// "What's This?" popup shows and the dialog's page in the help window are one text.

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace velnora::ui {

// One line of the Contents tab; depth 0 is the top level.
struct HelpTopic {
    QString title;
    QString page; // relative to the help folder, possibly with "#anchor"; empty for a heading
    int depth = 0;
};

// One line of the Index tab.
struct HelpKeyword {
    QString keyword;
    QString page;
};

class HelpLibrary {
public:
    // Reads the contents and keyword lists of a folder; a missing folder gives empty lists.
    explicit HelpLibrary(const QString& folder);

    // True when the folder holds the start page.
    bool isValid() const;
    QString folder() const { return folder_; }
    // The URL of a page of the folder ("melds.html#velnora"); the start page for an empty name.
    QUrl pageUrl(const QString& page) const;
    // The file name of a help URL inside the folder ("melds.html"); empty for anything else.
    QString fileNameOf(const QUrl& url) const;

    const QList<HelpTopic>& contents() const { return contents_; }
    const QList<HelpKeyword>& keywords() const { return keywords_; }

    // A page's HTML with its topic includes expanded; empty when the page cannot be read.
    QString pageHtml(const QString& fileName) const;
    // The title of a page, from its <title>.
    QString pageTitle(const QString& fileName) const;
    // The body of the topic page of a context number; empty when there is none.
    QString topicHtml(int contextNumber) const;
    static QString topicFileName(int contextNumber);

    // Keywords containing text, without regard to case: an exact match first, then those that
    // begin with the text, then the others, each group in list order.
    QList<HelpKeyword> matchingKeywords(const QString& text) const;
    // Pages whose visible text contains text, without regard to case, as (title, page).
    QList<HelpKeyword> pagesContaining(const QString& text) const;
    // Every page of the folder, sorted by file name.
    QStringList pageFiles() const;

    // The body of an HTML text (everything between <body> and </body>, or all of it).
    static QString bodyOf(const QString& html);
    // The visible text of an HTML text: tags removed, entities for <, >, & and " decoded.
    static QString plainText(const QString& html);

private:
    QString readFile(const QString& fileName) const;

    QString folder_;
    QList<HelpTopic> contents_;
    QList<HelpKeyword> keywords_;
};

} // namespace velnora::ui
