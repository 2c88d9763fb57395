#include "help_window.h"

#include "data_folder.h"
#include "dialog_look.h"
#include "url_opener.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWhatsThis>

#include <algorithm>

namespace velnora::ui {

namespace {

constexpr const char* kCommandScheme = "velnora";
constexpr int kCommandNumber = 9999;

} // namespace

// Browser

HelpBrowser::HelpBrowser(const HelpLibrary& library, QWidget* parent)
    : QTextBrowser(parent), library_(library) {}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    if (type == QTextDocument::HtmlResource) {
        const QString file = library_.fileNameOf(name);
        if (!file.isEmpty()) {
            const QString html = library_.pageHtml(file);
            if (!html.isEmpty()) return html;
        }
    }
    return QTextBrowser::loadResource(type, name);
}

// Window

TfmHelp::TfmHelp(const QString& helpFolder, QWidget* parent)
    : QMainWindow(parent, Qt::Window), library_(helpFolder) {
    setObjectName(QStringLiteral("TfmHelp"));
    setWindowTitle(QStringLiteral("Velnora Help"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    resize(960, 660);
    // A help window is read and put away: Esc and Ctrl+W close it, as they close a dialog.
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);

    tbHelp_ = new HelpBrowser(library_, this);
    tbHelp_->setObjectName(QStringLiteral("tbHelp"));
    // Every link goes through followLink, so commands and outside addresses never load as pages.
    tbHelp_->setOpenLinks(false);
    connect(tbHelp_, &QTextBrowser::anchorClicked, this, &TfmHelp::followLink);

    QToolBar* bar = addToolBar(QStringLiteral("Navigation"));
    bar->setObjectName(QStringLiteral("tbNavigation"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction* back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), "&Back");
    back->setObjectName(QStringLiteral("bnBack"));
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    QAction* forward = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), "&Forward");
    forward->setObjectName(QStringLiteral("bnForward"));
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    QAction* home = bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), "&Start Page");
    home->setObjectName(QStringLiteral("bnHome"));
    connect(back, &QAction::triggered, tbHelp_, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, tbHelp_, &QTextBrowser::forward);
    connect(home, &QAction::triggered, this, [this] { showPage(); });
    connect(tbHelp_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(tbHelp_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    pcNavigation_ = new QTabWidget(this);
    pcNavigation_->setObjectName(QStringLiteral("pcNavigation"));

    tvContents_ = new QTreeWidget(pcNavigation_);
    tvContents_->setObjectName(QStringLiteral("tvContents"));
    tvContents_->setHeaderHidden(true);
    connect(tvContents_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const QString page = item->data(0, Qt::UserRole).toString();
        if (!page.isEmpty()) showPage(page);
    });
    connect(tvContents_, &QTreeWidget::itemClicked, tvContents_, &QTreeWidget::itemActivated);
    pcNavigation_->addTab(tvContents_, QStringLiteral("&Contents"));

    auto* indexPage = new QWidget(pcNavigation_);
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->setContentsMargins(look::kSpacing, look::kSpacing, look::kSpacing, look::kSpacing);
    auto* prompt = new QLabel(QStringLiteral("&Type the word you are looking for:"), indexPage);
    edIndex_ = new QLineEdit(indexPage);
    edIndex_->setObjectName(QStringLiteral("edIndex"));
    edIndex_->setClearButtonEnabled(true);
    prompt->setBuddy(edIndex_);
    lbIndex_ = new QListWidget(indexPage);
    lbIndex_->setObjectName(QStringLiteral("lbIndex"));
    indexLayout->addWidget(prompt);
    indexLayout->addWidget(edIndex_);
    indexLayout->addWidget(lbIndex_, 1);
    connect(edIndex_, &QLineEdit::textChanged, this, &TfmHelp::fillIndex);
    connect(edIndex_, &QLineEdit::returnPressed, this, &TfmHelp::openIndexItem);
    connect(lbIndex_, &QListWidget::itemActivated, this, &TfmHelp::openIndexItem);
    pcNavigation_->addTab(indexPage, QStringLiteral("&Index"));
    connect(pcNavigation_, &QTabWidget::currentChanged, this, [this, indexPage](int index) {
        if (pcNavigation_->widget(index) == indexPage) edIndex_->setFocus();
    });

    auto* split = new QSplitter(this);
    split->addWidget(pcNavigation_);
    split->addWidget(tbHelp_);
    split->setStretchFactor(1, 1);
    split->setSizes({280, 680});
    setCentralWidget(split);

    fillContents();
    fillIndex({});
}

void TfmHelp::fillContents() {
    tvContents_->clear();
    QList<QTreeWidgetItem*> parents;
    for (const HelpTopic& topic : library_.contents()) {
        // A line indented deeper than its predecessor allows hangs under the nearest parent.
        const int depth = std::min<int>(topic.depth, int(parents.size()));
        parents.resize(depth);
        auto* item = parents.isEmpty() ? new QTreeWidgetItem(tvContents_)
                                       : new QTreeWidgetItem(parents.last());
        item->setText(0, topic.title);
        item->setData(0, Qt::UserRole, topic.page);
        parents.append(item);
    }
    tvContents_->expandAll();
}

void TfmHelp::fillIndex(const QString& text) {
    lbIndex_->clear();
    QList<HelpKeyword> found = library_.matchingKeywords(text);
    // Words that are no keyword may still stand in a page: offer the pages that contain them.
    if (found.isEmpty() && !text.trimmed().isEmpty()) found = library_.pagesContaining(text);
    for (const HelpKeyword& k : found) {
        auto* item = new QListWidgetItem(k.keyword, lbIndex_);
        item->setData(Qt::UserRole, k.page);
    }
    if (lbIndex_->count() > 0) lbIndex_->setCurrentRow(0);
}

void TfmHelp::openIndexItem() {
    if (QListWidgetItem* item = lbIndex_->currentItem())
        showPage(item->data(Qt::UserRole).toString());
}

QRect helpWindowPlace(const QRect& owner, const QRect& screen, QSize wanted) {
    constexpr int kNarrowest = 480;
    const int height = std::min(wanted.height(), screen.height());
    const int top = std::clamp(owner.top(), screen.top(), screen.bottom() + 1 - height);
    const int right = screen.right() - owner.right();
    const int left = owner.left() - screen.left();
    // Beside the window it explains, on the side with room; over it only where neither has.
    if (right >= kNarrowest || (right >= left && right > 0 && left < kNarrowest)) {
        const int width = std::min(wanted.width(), std::max(right, kNarrowest));
        return {std::min(owner.right() + 1, screen.right() + 1 - width), top, width, height};
    }
    const int width = std::min(wanted.width(), std::max(left, kNarrowest));
    return {std::max(owner.left() - width, screen.left()), top, width, height};
}

void TfmHelp::showPage(const QString& page) {
    if (!library_.isValid()) {
        showMissingHelp();
    } else {
        tbHelp_->setSource(library_.pageUrl(page));
    }
    if (isMinimized()) showNormal();
    if (!placed_ && parentWidget()) {
        placed_ = true;
        const QWidget* owner = parentWidget()->window();
        if (const QScreen* screen = owner->screen())
            setGeometry(
                helpWindowPlace(owner->frameGeometry(), screen->availableGeometry(), size()));
    }
    show();
    raise();
    activateWindow();
}

void TfmHelp::showMissingHelp() {
    tbHelp_->setHtml(QStringLiteral("<h1>Velnora Help</h1><p>The help pages were not found. They "
                                    "belong in the folder <b>%1</b>.</p>")
                         .arg(library_.folder().toHtmlEscaped()));
}

int TfmHelp::commandParameter(const QUrl& url) {
    if (url.scheme() != QLatin1String(kCommandScheme)) return -1;
    const QStringList parts = url.path().split('/');
    if (parts.size() != 2 || parts[0].toInt() != kCommandNumber) return -1;
    bool ok = false;
    const int parameter = parts[1].toInt(&ok);
    return ok && parameter >= 0 ? parameter : -1;
}

void TfmHelp::followLink(const QUrl& link) {
    const QUrl url = tbHelp_->source().resolved(link);
    if (url.scheme() == QLatin1String(kCommandScheme)) {
        const int parameter = commandParameter(url);
        if (parameter >= 0 && onCommand) onCommand(parameter);
        return;
    }
    if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https") ||
        url.scheme() == QLatin1String("mailto")) {
        online::openUrlOrTell(this, url);
        return;
    }
    if (url.isLocalFile() && !library_.fileNameOf(url).isEmpty()) tbHelp_->setSource(url);
}

// Context topics

QString helpFolder() {
    return QString::fromStdString(readOnlyDataFolder()) + QStringLiteral("/help");
}

QString contextTopicText(const HelpLibrary& library, int contextNumber) {
    const QString topic = library.topicHtml(contextNumber);
    if (!topic.isEmpty()) return topic;
    return QStringLiteral("<p>No help topic is available for this item.</p>");
}

void showContextTopic(const HelpLibrary& library, int contextNumber, const QPoint& globalPos,
                      QWidget* parent) {
    QWhatsThis::showText(globalPos, contextTopicText(library, contextNumber), parent);
}

} // namespace velnora::ui
