#include "dialog_look.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

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

// One card of the drawn icon, rotated about its centre: a white face with a red letter, or a
// blue back with a lattice.
void drawIconCard(QPainter& p, const QRectF& r, qreal angle, bool faceUp) {
    p.save();
    p.translate(r.center());
    p.rotate(angle);
    const QRectF card(-r.width() / 2, -r.height() / 2, r.width(), r.height());
    const qreal radius = r.width() * 0.14;
    const qreal pen = qMax<qreal>(1.0, r.width() / 22);
    p.setPen(QPen(QColor(50, 50, 50), pen));
    p.setBrush(Qt::white);
    p.drawRoundedRect(card, radius, radius);
    if (faceUp) {
        p.setFont(arialFont(qMax(6, int(r.height() * 0.55)), true));
        p.setPen(QColor(190, 20, 30));
        p.drawText(card, Qt::AlignCenter, QStringLiteral("V"));
    } else {
        const QRectF back =
            card.adjusted(r.width() * 0.12, r.width() * 0.12, -r.width() * 0.12, -r.width() * 0.12);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 70, 150));
        p.drawRoundedRect(back, radius / 2, radius / 2);
        p.setClipRect(back);
        p.setPen(QPen(QColor(120, 160, 220), pen));
        const qreal step = r.width() / 5;
        for (qreal d = -back.height(); d < back.width() + back.height(); d += step) {
            p.drawLine(QPointF(back.left() + d, back.top()),
                       QPointF(back.left() + d - back.height(), back.bottom()));
            p.drawLine(QPointF(back.left() + d - back.height(), back.top()),
                       QPointF(back.left() + d, back.bottom()));
        }
    }
    p.restore();
}

} // namespace

QPixmap programIcon(int size) {
    const QIcon appIcon = QApplication::windowIcon();
    if (!appIcon.isNull()) return appIcon.pixmap(size, size);

    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pm(QSize(size, size) * ratio);
    pm.setDevicePixelRatio(ratio);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size * 0.54;
    const qreal h = size * 0.76;
    drawIconCard(p, QRectF(size * 0.06, size * 0.12, w, h), -14, false);
    drawIconCard(p, QRectF(size * 0.38, size * 0.10, w, h), 10, true);
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

QPushButton* button(QWidget* parent, const QString& objectName, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    b->setMinimumWidth(qMax(84, b->sizeHint().width()));
    return b;
}

QGroupBox* radioGroup(QWidget* parent, const QString& objectName, const QString& caption,
                      const QStringList& items, int columns, QButtonGroup*& group) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(objectName);
    group = new QButtonGroup(box);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(kMargin);
    grid->setVerticalSpacing(kSpacing / 2);
    const int perColumn = (int(items.size()) + qMax(1, columns) - 1) / qMax(1, columns);
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], box);
        radio->setObjectName(objectName + QString::number(i));
        group->addButton(radio, i);
        grid->addWidget(radio, i % perColumn, i / perColumn);
    }
    return box;
}

namespace {
class PlainDialogFrames : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Before the first show the native window does not exist yet: the flags are set once,
        // without the hide a change of flags brings to a visible window.
        if (event->type() == QEvent::Polish)
            if (auto* dialog = qobject_cast<QDialog*>(watched); dialog && dialog->isWindow()) {
                Qt::WindowFlags flags = dialog->windowFlags();
                // A dialog that chose its buttons keeps them but for these two; one that left
                // them to the window manager keeps its title and close button.
                if (!(flags & Qt::CustomizeWindowHint))
                    flags |=
                        Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
                flags &= ~(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);
                if (dialog->property("velnoraResizable").toBool())
                    flags |= Qt::WindowMaximizeButtonHint;
                if (flags != dialog->windowFlags()) dialog->setWindowFlags(flags);
            }
        return QObject::eventFilter(watched, event);
    }
};
} // namespace

void frameDialogsPlainly(QApplication& app) {
    app.installEventFilter(new PlainDialogFrames(&app));
}

QLabel* plain(QLabel* label) {
    label->setTextFormat(Qt::PlainText);
    return label;
}

QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                    QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, QStringLiteral("Velnora"), text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    // The button clicked, as the static boxes report it; Escape clicks the escape button.
    return box.standardButton(box.clickedButton());
}

bool askYesNo(QWidget* parent, const QString& text) {
    return message(parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

bool askText(QWidget* parent, const QString& title, const QString& prompt, QString& text) {
    QInputDialog box(parent);
    box.setObjectName(QStringLiteral("InputBox"));
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(text);
    box.setInputMode(QInputDialog::TextInput);
    // Wide enough for its own title beside the title bar's buttons.
    const int wide = box.fontMetrics().horizontalAdvance(title) + 160;
    box.resize(std::max(wide, box.sizeHint().width()), box.sizeHint().height());
    if (box.exec() != QDialog::Accepted) return false;
    text = box.textValue();
    return true;
}

QTabWidget* pagedDialog(QDialog* dialog, const QString& objectName, const QString& title,
                        const QString& pagesName, QVBoxLayout*& outer) {
    dialog->setObjectName(objectName);
    dialog->setWindowTitle(title);
    dialog->setFont(dialogFont());
    dialog->setModal(true);
    outer = new QVBoxLayout(dialog);
    outer->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    outer->setSpacing(kMargin);
    auto* pages = new QTabWidget(dialog);
    pages->setObjectName(pagesName);
    outer->addWidget(pages);
    return pages;
}

QVBoxLayout* pageLayout(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->setSpacing(kSpacing);
    return layout;
}

void openAtPage(QDialog* dialog, QTabWidget* pages, int startPage, int lastPage, QLabel* warning) {
    pages->setCurrentIndex(qBound(0, startPage >= 0 ? startPage : lastPage, pages->count() - 1));
    if (warning) warning->setMaximumWidth(pages->sizeHint().width());
    dialog->setFixedSize(dialog->sizeHint());
}

} // namespace velnora::ui::look
