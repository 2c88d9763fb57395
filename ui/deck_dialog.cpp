#include "deck_dialog.h"

#include "context_help.h"
#include "dialog_look.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace velnora::ui {

namespace {

// The pattern images and the preview are the 800 x 600 table's cards.
constexpr int kPreviewSizeIndex = 1;
constexpr int kPreviewWidth = 53;
constexpr int kPreviewHeight = 81;
constexpr int kGap = 5;

enum HelpContext {
    kHelpCurrentCardback = 1018,
    kHelpOK = 1019,
    kHelpCancel = 1020,
    kHelpApply = 1021,
    kHelpCardbackType = 1022,
    kHelpChange = 1023,
    kHelpSelectDeck = 1084,
};

// Picture formats first as the old dialog offered them, then everything Qt can read.
QString pictureFilter() {
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    return QStringLiteral("Bitmaps (*.bmp);;Pictures (") + patterns.join(QLatin1Char(' ')) +
           QStringLiteral(");;All Files (*)");
}

} // namespace

// TfmPattern

TfmPattern::TfmPattern(const std::array<QPixmap, kPatternCount>& patterns, int selected,
                       QWidget* parent)
    : QDialog(parent), patterns_(patterns),
      selected_(selected >= 0 && selected < kPatternCount ? selected : 0) {
    setObjectName(QStringLiteral("TfmPattern"));
    setWindowTitle(QStringLiteral("Select Card Back Pattern"));
    setFont(look::dialogFont());
    setFixedSize(297, 210);
    QPushButton* bnOK = look::button(this, QStringLiteral("bnOK"), QStringLiteral("OK"));
    bnOK->setDefault(true);
    QPushButton* bnCancel =
        look::button(this, QStringLiteral("bnCancel"), QStringLiteral("Cancel"));
    setHelpContext(bnOK, kHelpOK);
    setHelpContext(bnCancel, kHelpCancel);
    const int y = 210 - 25 - 8;
    bnCancel->setGeometry(297 - 8 - 84, y, 84, 25);
    bnOK->setGeometry(297 - 8 - 84 - 8 - 84, y, 84, 25);
    connect(bnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(bnCancel, &QPushButton::clicked, this, &QDialog::reject);
    installContextHelp(this);
}

QRect TfmPattern::patternRect(int i) {
    return QRect((i % 5) * (kPreviewWidth + kGap) + kGap, (i / 5) * (kPreviewHeight + kGap) + kGap,
                 kPreviewWidth, kPreviewHeight);
}

int TfmPattern::patternAt(const QPoint& point) {
    for (int i = 0; i < kPatternCount; ++i)
        if (patternRect(i).contains(point)) return i; // QRect excludes the right and bottom edges
    return -1;
}

void TfmPattern::paintEvent(QPaintEvent*) {
    QPainter p(this);
    for (int i = 0; i < kPatternCount; ++i) {
        const QRect r = patternRect(i);
        p.drawPixmap(r, patterns_[std::size_t(i)]);
        if (i == selected_) {
            // Blended with the info-background colour, as a selected image is drawn.
            QColor tint = palette().color(QPalette::ToolTipBase);
            tint.setAlpha(128);
            p.fillRect(r, tint);
            p.setPen(QPen(palette().color(QPalette::Highlight), 2));
            p.drawRect(r.adjusted(1, 1, -1, -1));
        }
    }
}

void TfmPattern::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int hit = patternAt(event->position().toPoint());
    if (hit < 0 || hit == selected_) return;
    selected_ = hit;
    update();
}

// TfmDeck

TfmDeck::TfmDeck(Settings& settings, const std::array<CardBack, 2>& backs, QWidget* parent)
    : QDialog(parent), settings_(settings), backs_(backs) {
    setObjectName(QStringLiteral("TfmDeck"));
    setWindowTitle(QStringLiteral("Select Card Back"));
    setFont(look::dialogFont());
    for (int i = 0; i < kPatternCount; ++i)
        patterns_[std::size_t(i)] =
            renderCardImage(patternNames()[i] + sizeSuffix(kPreviewSizeIndex), devicePixelRatioF());

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 8, 8, 8);
    outer->setSpacing(look::kSpacing);

    auto* rgDeck =
        look::radioGroup(this, QStringLiteral("rgDeck"), QStringLiteral("Select Deck"),
                         {QStringLiteral("Deck One"), QStringLiteral("Deck Two")}, 2, decks_);
    setHelpContext(rgDeck, kHelpSelectDeck);
    outer->addWidget(rgDeck);

    auto* current = new QGroupBox(QStringLiteral("Current Cardback"), this);
    current->setObjectName(QStringLiteral("gbCurrentCardback"));
    setHelpContext(current, kHelpCurrentCardback);
    auto* currentRow = new QHBoxLayout(current);
    lbPreview_ = new QLabel(current);
    lbPreview_->setObjectName(QStringLiteral("imPreview"));
    lbPreview_->setFixedSize(kPreviewWidth, kPreviewHeight);
    currentRow->addStretch(1);
    currentRow->addWidget(lbPreview_);
    currentRow->addStretch(1);
    outer->addWidget(current);

    auto* rgType =
        look::radioGroup(this, QStringLiteral("rgType"), QStringLiteral("Cardback Type"),
                         {QStringLiteral("&Solid Color"), QStringLiteral("S&tandard Pattern"),
                          QStringLiteral("C&ustom Pattern")},
                         1, types_);
    setHelpContext(rgType, kHelpCardbackType);
    // "&Change..." sits in the group's lower right corner.
    auto* typeGrid = static_cast<QGridLayout*>(rgType->layout());
    QPushButton* bnChange =
        look::button(rgType, QStringLiteral("bnChange"), QStringLiteral("&Change..."));
    setHelpContext(bnChange, kHelpChange);
    typeGrid->addWidget(bnChange, 2, 1, Qt::AlignRight | Qt::AlignBottom);
    typeGrid->setColumnStretch(1, 1);
    outer->addWidget(rgType);
    outer->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(look::kSpacing / 2);
    QPushButton* bnOK = look::button(this, QStringLiteral("bnOK"), QStringLiteral("OK"));
    bnOK->setDefault(true);
    QPushButton* bnCancel =
        look::button(this, QStringLiteral("bnCancel"), QStringLiteral("Cancel"));
    bnApply_ = look::button(this, QStringLiteral("bnApply"), QStringLiteral("&Apply"));
    for (QPushButton* b : {bnOK, bnCancel, bnApply_}) {
        b->setMinimumWidth(80);
        buttons->addWidget(b);
    }
    setHelpContext(bnOK, kHelpOK);
    setHelpContext(bnCancel, kHelpCancel);
    setHelpContext(bnApply_, kHelpApply);
    bnApply_->setEnabled(false);
    outer->addLayout(buttons);

    connect(decks_, &QButtonGroup::idClicked, this, &TfmDeck::rgDeckClick);
    connect(types_, &QButtonGroup::idClicked, this, &TfmDeck::rgTypeClick);
    connect(bnChange, &QPushButton::clicked, this, &TfmDeck::bnChangeClick);
    connect(bnOK, &QPushButton::clicked, this, &TfmDeck::bnOKClick);
    connect(bnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(bnApply_, &QPushButton::clicked, this, &TfmDeck::bnApplyClick);

    decks_->button(0)->setChecked(true);
    rgDeckClick(0);
    bnApply_->setEnabled(false);
    installContextHelp(this);
    // No smaller than the classic size, and as large as the fonts need: a box squeezed below
    // its contents cut the preview's foot.
    setFixedSize(sizeHint().expandedTo(QSize(274, 311)));
}

bool TfmDeck::refreshPreview() {
    const CardBack& back = backs_[std::size_t(deck_)];
    const qreal dpr = devicePixelRatioF();
    QPixmap pm;
    if (back.type == 1) {
        pm = patterns_[std::size_t(std::clamp(back.pattern, 0, kPatternCount - 1))];
    } else if (back.type == 2) {
        QImageReader reader(back.fileName);
        const QImage picture = back.fileName.isEmpty() ? QImage() : reader.read();
        if (picture.isNull()) return false;
        pm = QPixmap::fromImage(picture.scaled(QSize(kPreviewWidth, kPreviewHeight) * dpr,
                                               Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        pm.setDevicePixelRatio(dpr);
    } else {
        pm = QPixmap(QSize(kPreviewWidth, kPreviewHeight) * dpr);
        pm.setDevicePixelRatio(dpr);
        pm.fill(palette().color(QPalette::Button));
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(colourFromStored(back.colour));
        p.drawRoundedRect(QRectF(0, 0, kPreviewWidth, kPreviewHeight), 3, 3);
    }
    preview_ = pm;
    lbPreview_->setPixmap(preview_);
    return true;
}

void TfmDeck::rgDeckClick(int deck) {
    deck_ = deck == 1 ? 1 : 0;
    const int type = std::clamp(backs_[std::size_t(deck_)].type, 0, 2);
    types_->button(type)->setChecked(true);
    refreshPreview();
    bnApply_->setEnabled(true);
}

void TfmDeck::rgTypeClick(int type) {
    backs_[std::size_t(deck_)].type = type;
    refreshPreview();
    bnApply_->setEnabled(true);
}

void TfmDeck::bnChangeClick() {
    CardBack& back = backs_[std::size_t(deck_)];
    switch (back.type) {
    case 1: {
        TfmPattern chooser(patterns_, back.pattern, this);
        if (chooser.exec() != QDialog::Accepted) return;
        back.pattern = chooser.selected();
        break;
    }
    case 2: {
        QFileDialog chooser(this, QStringLiteral("Open"), QFileInfo(back.fileName).path(),
                            pictureFilter());
        chooser.setObjectName(QStringLiteral("dlgPicture"));
        chooser.setFileMode(QFileDialog::ExistingFile);
        chooser.setDefaultSuffix(QStringLiteral("bmp"));
        if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return;
        const QString previous = back.fileName;
        back.fileName = QFileInfo(chooser.selectedFiles().first()).absoluteFilePath();
        // A file that is no picture leaves the deck's file as it was, without a word.
        if (!refreshPreview()) back.fileName = previous;
        break;
    }
    default: {
        const QColor chosen =
            QColorDialog::getColor(colourFromStored(back.colour), this, QStringLiteral("Color"));
        if (!chosen.isValid()) return;
        back.colour = storedFromColour(chosen);
        break;
    }
    }
    refreshPreview();
    bnApply_->setEnabled(true);
}

void TfmDeck::store() {
    for (int n = 0; n < 2; ++n) {
        const CardBack& back = backs_[std::size_t(n)];
        const std::string d = std::to_string(n);
        settings_.writeInt("Cardback\\Type" + d, back.type);
        if (back.type == 0)
            settings_.writeInt("Cardback\\Color" + d, static_cast<int>(back.colour));
        else if (back.type == 1)
            settings_.writeInt("Cardback\\Pattern" + d, back.pattern);
        else if (back.type == 2)
            settings_.writeString("Cardback\\Filename" + d, back.fileName.toStdString());
    }
    if (onApply) onApply(backs_);
}

void TfmDeck::bnOKClick() {
    store();
    accept();
}

void TfmDeck::bnApplyClick() {
    store();
    bnApply_->setEnabled(false);
    raise();
    activateWindow();
}

} // namespace velnora::ui
