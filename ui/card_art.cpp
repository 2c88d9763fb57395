// The image-name registry and the table's image list built on the card-art drawing routines.
#include "card_art.h"

#include "card.h"
#include "card_painting.h"
#include "layout.h"

#include <QCursor>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QPainter>

#include <cmath>

namespace velnora::ui {

namespace {

// What a base image name (without suffix) draws.
constexpr int kSpareJoker = 54;
constexpr int kPatternBase = 100;

const QHash<QString, int>& imageIds() {
    static const QHash<QString, int> ids = [] {
        QHash<QString, int> h;
        for (int face = 1; face <= kJokerFace; ++face)
            h.insert(QString::fromStdString(cardImageName(face)), face);
        // The resource set carries a second joker picture that the table never uses.
        h.insert(QStringLiteral("joker2"), kSpareJoker);
        for (int i = 0; i < kPatternCount; ++i)
            h.insert(patternNames()[i], kPatternBase + i);
        return h;
    }();
    return ids;
}

QSize sizeOfSuffix(const QString& suffix) {
    if (suffix == QLatin1String("640")) return {42, 65};
    if (suffix == QLatin1String("800")) return {53, 81};
    if (suffix == QLatin1String("1024")) return {67, 104};
    return {};
}

QPixmap blankCanvas(QSize logical, qreal dpr) {
    if (!(dpr > 0) || !std::isfinite(dpr)) dpr = 1.0;
    QPixmap pm(qRound(logical.width() * dpr), qRound(logical.height() * dpr));
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    return pm;
}

QPixmap drawImage(int id, QSize logical, qreal dpr) {
    QPixmap pm = blankCanvas(logical, dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSizeF s(logical);
    if (id >= kPatternBase)
        art::paintPattern(p, s, id - kPatternBase);
    else if (id == kSpareJoker)
        art::paintSpareJoker(p, s);
    else
        art::paintFace(p, s, id);
    return pm;
}

QPixmap solidBack(quint32 colour, QSize logical, qreal dpr) {
    QPixmap pm = blankCanvas(logical, dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // Corner size 6 by 6 means an ellipse of that size in each corner, so a radius of 3.
    p.setPen(QPen(Qt::black, 1.0));
    p.setBrush(colourFromStored(colour));
    p.drawRoundedRect(QRectF(0.5, 0.5, logical.width() - 1, logical.height() - 1), 3, 3);
    return pm;
}

QPixmap pictureBack(const CardBack& back, QSize logical, qreal dpr) {
    if (back.fileName.isEmpty()) return {};
    QImageReader reader(back.fileName);
    const QImage picture = reader.read();
    if (picture.isNull()) return {};
    QPixmap pm = blankCanvas(logical, dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRectF(QPointF(0, 0), QSizeF(logical)), picture);
    return pm;
}

} // namespace

const QStringList& patternNames() {
    static const QStringList names = {"beach",    "fish1",    "fish2", "leaves1", "leaves2",
                                      "pattern1", "pattern2", "robot", "rose",    "shell"};
    return names;
}

QString sizeSuffix(int sizeIndex) {
    switch (sizeIndex) {
    case 1:
        return QStringLiteral("800");
    case 2:
    case 3:
        return QStringLiteral("1024");
    default:
        return QStringLiteral("640");
    }
}

QSize cardSizeFor(int sizeIndex) {
    const Layout& l = computeLayout(sizeIndex);
    return {l.cardWidth, l.cardHeight};
}

QStringList cardImageNames(const QString& suffix) {
    QStringList names;
    for (int face = 1; face <= kJokerFace; ++face)
        names << QString::fromStdString(cardImageName(face)) + suffix;
    names << QStringLiteral("joker2") + suffix;
    for (const QString& pattern : patternNames())
        names << pattern + suffix;
    return names;
}

QColor colourFromStored(quint32 stored) {
    return QColor(int(stored & 0xFF), int((stored >> 8) & 0xFF), int((stored >> 16) & 0xFF));
}

quint32 storedFromColour(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return quint32(rgb.red()) | (quint32(rgb.green()) << 8) | (quint32(rgb.blue()) << 16);
}

QPixmap renderCardImage(const QString& imageName, qreal dpr) {
    return renderCardImage(imageName, dpr, {});
}

QPixmap renderCardImage(const QString& imageName, qreal dpr, QSize logical) {
    const QString name = imageName.toLower();
    for (const QString& suffix :
         {QStringLiteral("1024"), QStringLiteral("800"), QStringLiteral("640")}) {
        if (!name.endsWith(suffix)) continue;
        const auto it = imageIds().constFind(name.left(name.size() - suffix.size()));
        if (it == imageIds().constEnd()) continue;
        return drawImage(it.value(), logical.isEmpty() ? sizeOfSuffix(suffix) : logical, dpr);
    }
    return {};
}

QPixmap renderCardBack(const CardBack& back, int sizeIndex, qreal dpr) {
    const QSize logical = cardSizeFor(sizeIndex);
    if (back.type == 1 && back.pattern >= 0 && back.pattern < kPatternCount)
        return renderCardImage(patternNames()[back.pattern] + sizeSuffix(sizeIndex), dpr, logical);
    if (back.type == 2) {
        QPixmap picture = pictureBack(back, logical, dpr);
        if (!picture.isNull()) return picture;
    }
    return solidBack(back.colour, logical, dpr);
}

void CardImageList::load(int sizeIndex, const std::array<CardBack, 2>& backs, qreal dpr) {
    if (sizeIndex < 0 || sizeIndex > 3) sizeIndex = 0;
    const bool showBusy = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    if (showBusy) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const QString suffix = sizeSuffix(sizeIndex);
    for (int face = 1; face <= kJokerFace; ++face)
        images_[face - 1] = renderCardImage(QString::fromStdString(cardImageName(face)) + suffix,
                                            dpr, cardSizeFor(sizeIndex));
    for (int deck = 0; deck < 2; ++deck)
        images_[kFirstBackImage + deck] = renderCardBack(backs[deck], sizeIndex, dpr);
    size_ = cardSizeFor(sizeIndex);
    sizeIndex_ = sizeIndex;
    dpr_ = images_[0].devicePixelRatio();
    if (showBusy) QGuiApplication::restoreOverrideCursor();
}

const QPixmap& CardImageList::image(int index) const {
    static const QPixmap none;
    if (index < 0 || index >= kImageListSize) return none;
    return images_[index];
}

} // namespace velnora::ui
