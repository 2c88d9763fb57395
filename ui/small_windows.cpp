#include "small_windows.h"

#include "dialog_look.h"

#include <QApplication>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace velnora::ui {

namespace {
// The platform the splash and About name under the product: the one this build runs on.
constexpr const char* kPlatform = "for Linux";

const QString kVersionText = QStringLiteral("Version 4.17");

// Places a window of the given size centred on over's frame, or on the primary screen.
void centreOn(QWidget* window, QWidget* over) {
    QRect area;
    if (over && over->window()->isVisible())
        area = over->window()->frameGeometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid()) {
        QRect r(QPoint(0, 0), window->size());
        r.moveCenter(area.center());
        window->move(r.topLeft());
    }
}

} // namespace

// Splash

TfmSplash::TfmSplash(QWidget* parent)
    : QFrame(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TfmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setFixedSize(229, 141);
    setFont(look::dialogFont());

    lbVersion_ = new QLabel(this);
    lbVersion_->setObjectName(QStringLiteral("lbVersion"));
    lbVersion_->setAlignment(Qt::AlignCenter);
    lbVersion_->setGeometry(8, 108, 213, 20);
}

void TfmSplash::showCentredOn(QWidget* over) {
    centreOn(this, over);
    show();
    raise();
}

void TfmSplash::showEvent(QShowEvent* event) {
    lbVersion_->setText(kVersionText);
    QFrame::showEvent(event);
}

void TfmSplash::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    p.drawPixmap(18, 26, look::programIcon(40));

    // The title is drawn twice, a gray copy two pixels down and right under the black one,
    // which gives it a raised, printed look.
    const QRect titleBox(68, 14, 150, 48);
    p.setFont(look::arialFont(32, true));
    p.setPen(QColor(128, 128, 128));
    p.drawText(titleBox.translated(2, 2), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Velnora"));
    p.setPen(Qt::black);
    p.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Velnora"));

    p.setFont(look::arialFont(16, false));
    p.drawText(QRect(70, 62, 150, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromLatin1(kPlatform));

    p.setPen(QPen(palette().color(QPalette::Mid), 1));
    p.drawLine(16, 100, width() - 16, 100);
}

// Whose-turn popup

QPointer<TfmWhoseTurn> TfmWhoseTurn::current_;

TfmWhoseTurn::TfmWhoseTurn(QWidget* over, const QString& text)
    : QFrame(over ? over->window() : nullptr,
             Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      over_(over) {
    setObjectName(QStringLiteral("TfmWhoseTurn"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setFixedSize(317, 28);
    setAutoFillBackground(true);
    setFont(look::dialogFont());

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    auto* label = look::plain(new QLabel(text, this));
    label->setObjectName(QStringLiteral("lbWhoseTurn"));
    label->setAlignment(Qt::AlignCenter);
    look::makeBold(label);
    layout->addWidget(label);

    tmWhoseTurn_ = new QTimer(this);
    tmWhoseTurn_->setObjectName(QStringLiteral("tmWhoseTurn"));
    tmWhoseTurn_->setSingleShot(true);
    tmWhoseTurn_->setInterval(kShowMilliseconds);
    connect(tmWhoseTurn_, &QTimer::timeout, this, &TfmWhoseTurn::tmWhoseTurnTimer);
}

TfmWhoseTurn* TfmWhoseTurn::popup(QWidget* over, const QString& text) {
    if (current_) {
        current_->tmWhoseTurn_->stop();
        current_->close();
    }
    auto* window = new TfmWhoseTurn(over, text);
    current_ = window;
    centreOn(window, over);
    window->show();
    window->tmWhoseTurn_->start();
    return window;
}

TfmWhoseTurn* TfmWhoseTurn::current() {
    return current_.data();
}

void TfmWhoseTurn::tmWhoseTurnTimer() {
    close();
    // A result dialog opened while the popup was up may have gone behind it or the table;
    // bring it back so the player sees what is waiting for an answer.
    static const QStringList kResultWindows = {
        QStringLiteral("TfmGameOver"), QStringLiteral("TfmHighscores"),
        QStringLiteral("TfmScoring"), QStringLiteral("TfmDetails")};
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->isVisible() && kResultWindows.contains(w->objectName())) {
            w->raise();
            w->activateWindow();
        }
    }
}

void TfmWhoseTurn::changeEvent(QEvent* event) {
    // Clicking the popup must not leave the table behind it inactive.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && over_) {
        over_->window()->raise();
        over_->window()->activateWindow();
    }
    QFrame::changeEvent(event);
}

// Player choice

TfmSelectPlayer::TfmSelectPlayer(const QStringList& names, int current, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      initial_(current) {
    setObjectName(QStringLiteral("TfmSelectPlayer"));
    setWindowTitle(QStringLiteral("Select Player"));
    setFont(look::dialogFont());
    setModal(true);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(look::kMargin, look::kMargin, look::kMargin, look::kMargin);
    outer->setSpacing(look::kSpacing + 2);

    lbPlayers_ = new QListWidget(this);
    lbPlayers_->setObjectName(QStringLiteral("lbPlayers"));
    lbPlayers_->addItems(names);
    lbPlayers_->setSelectionMode(QAbstractItemView::SingleSelection);
    lbPlayers_->setUniformItemSizes(true);
    if (current >= 0 && current < names.size()) lbPlayers_->setCurrentRow(current);
    const int rows = qBound(4, int(names.size()), 10);
    lbPlayers_->setMinimumSize(220, rows * lbPlayers_->fontMetrics().height() * 13 / 10 + 8);
    outer->addWidget(lbPlayers_);

    auto* bnOK = new QPushButton(QStringLiteral("&OK"), this);
    bnOK->setObjectName(QStringLiteral("bnOK"));
    bnOK->setDefault(true);
    bnOK->setMinimumWidth(84);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(bnOK);
    row->addStretch(1);
    outer->addLayout(row);

    connect(bnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(lbPlayers_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    setFixedSize(sizeHint());
}

int TfmSelectPlayer::selectedIndex() const {
    const int row = lbPlayers_->currentRow();
    return row >= 0 ? row : initial_;
}

void TfmSelectPlayer::reject() {
    lbPlayers_->setCurrentRow(initial_);
    QDialog::reject();
}

// About box

TfmAbout::TfmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfmAbout"));
    setWindowTitle(QStringLiteral("About Velnora"));
    setFont(look::dialogFont());

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(look::kMargin + 4, look::kMargin + 4, look::kMargin + 4,
                              look::kMargin);
    outer->setSpacing(look::kMargin);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    auto* top = new QHBoxLayout;
    top->setSpacing(look::kMargin + 4);
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("imIcon"));
    icon->setPixmap(look::programIcon(48));
    icon->setAlignment(Qt::AlignTop);
    top->addWidget(icon);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    auto* product = new QLabel(QStringLiteral("Velnora ") + QString::fromLatin1(kPlatform), this);
    product->setObjectName(QStringLiteral("lbProduct"));
    product->setFont(look::arialFont(18, true));
    auto* version = new QLabel(kVersionText, this);
    version->setObjectName(QStringLiteral("lbVersion"));
    QString build = QCoreApplication::applicationVersion();
    if (build.isEmpty()) build = QStringLiteral("4.17");
    auto* buildLabel = new QLabel(QStringLiteral("Build ") + build, this);
    buildLabel->setObjectName(QStringLiteral("lbBuild"));
    texts->addWidget(product);
    texts->addWidget(version);
    texts->addWidget(buildLabel);
    texts->addStretch(1);
    top->addLayout(texts, 1);
    outer->addLayout(top);

    outer->addWidget(look::horizontalRule(this));
    auto* bnOK = new QPushButton(QStringLiteral("OK"), this);
    bnOK->setObjectName(QStringLiteral("bnOK"));
    bnOK->setDefault(true);
    bnOK->setMinimumWidth(84);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(bnOK);
    outer->addLayout(row);
    connect(bnOK, &QPushButton::clicked, this, &QDialog::accept);
}

void showAbout(QWidget* parent) {
    TfmAbout dialog(parent);
    dialog.exec();
}

} // namespace velnora::ui
