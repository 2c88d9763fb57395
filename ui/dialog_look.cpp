#include "dialog_look.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

namespace velnora::ui::look {

QFont dialogFont() {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(9);
    return font;
}

QFont arialFont(int pixelSize, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

namespace {

// One card of the drawn icon: rounded white face with a red or black pip letter.
void drawIconCard(QPainter& p, const QRectF& r, qreal angle, const QColor& ink,
                  const QString& pip) {
    p.save();
    p.translate(r.center());
    p.rotate(angle);
    QRectF face(-r.width() / 2, -r.height() / 2, r.width(), r.height());
    const qreal radius = r.width() * 0.12;
    p.setPen(QPen(QColor(60, 60, 60), qMax<qreal>(1.0, r.width() / 24)));
    p.setBrush(Qt::white);
    p.drawRoundedRect(face, radius, radius);
    QFont f = arialFont(qMax(6, int(r.height() * 0.5)), true);
    p.setFont(f);
    p.setPen(ink);
    p.drawText(face, Qt::AlignCenter, pip);
    p.restore();
}

} // namespace

QPixmap programIcon(int size) {
    const QIcon appIcon = QApplication::windowIcon();
    if (!appIcon.isNull()) return appIcon.pixmap(size, size);

    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size * 0.56;
    const qreal h = size * 0.78;
    drawIconCard(p, QRectF(size * 0.08, size * 0.12, w, h), -12, QColor(20, 20, 20), "A");
    drawIconCard(p, QRectF(size * 0.36, size * 0.10, w, h), 10, QColor(190, 20, 30), "V");
    return pm;
}

QLabel* numberLabel(int value, QWidget* parent, const QString& objectName) {
    auto* label = new QLabel(QString::number(value), parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("-00000")));
    if (!objectName.isEmpty()) label->setObjectName(objectName);
    return label;
}

QFrame* horizontalRule(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QFrame* captionPanel(const QString& caption, QWidget* parent, const QString& objectName) {
    auto* panel = new QFrame(parent);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Base));
    panel->setPalette(pal);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(kSpacing, kSpacing, kSpacing, kSpacing);
    auto* label = new QLabel(caption, panel);
    if (!objectName.isEmpty()) label->setObjectName(objectName);
    QFont f = label->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.35);
    label->setFont(f);
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
    return panel;
}

void makeBold(QWidget* widget) {
    QFont f = widget->font();
    f.setBold(true);
    widget->setFont(f);
}

} // namespace velnora::ui::look
