#include "score_chart.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace velnora::ui {

namespace {

// The lowest and highest grid line for the values, and the step between the lines: round
// numbers that take in zero and every value, in at most six steps.
struct Scale {
    int low = 0;
    int high = 0;
    int step = 1;
};

Scale scaleFor(int lowest, int highest) {
    lowest = std::min(lowest, 0);
    highest = std::max(highest, 0);
    static constexpr int kSteps[] = {50, 100, 250, 500, 1000, 2500, 5000, 10000, 25000, 50000};
    constexpr int kMostSteps = 6;
    auto floorTo = [](int v, int step) {
        return v >= 0 ? v / step * step : -((-v + step - 1) / step * step);
    };
    auto ceilTo = [&](int v, int step) { return -floorTo(-v, step); };
    for (int step : kSteps) {
        const int low = floorTo(lowest, step);
        // At least one step, so a match still at nothing has a chart of some height.
        const int high = std::max(ceilTo(highest, step), low + step);
        if ((high - low) / step <= kMostSteps) return {low, high, step};
    }
    // Beyond any real match: one step from the lowest to the highest value.
    return {lowest, std::max(highest, lowest + 1), std::max(highest - lowest, 1)};
}

} // namespace

ScoreChart::ScoreChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ScoreChart"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ScoreChart::setSeries(const std::array<Series, 2>& series) {
    series_ = series;
    update();
}

void ScoreChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Base));
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics fm = fontMetrics();
    const QColor ink = palette().color(QPalette::Text);
    const QColor grid = palette().color(QPalette::Mid);

    std::size_t points = 0;
    int lowest = 0, highest = 0;
    for (const Series& s : series_) {
        points = std::max(points, s.totals.size());
        for (int v : s.totals) {
            lowest = std::min(lowest, v);
            highest = std::max(highest, v);
        }
    }
    const Scale scale = scaleFor(lowest, highest);

    // Legend along the top: a stroke of each seat's colour and its name, which may come from
    // the partner and is only ever drawn as text.
    const int pad = 8;
    int x = pad;
    const int legendY = pad + fm.ascent();
    for (const Series& s : series_) {
        p.setPen(QPen(s.colour, 3));
        p.drawLine(x, legendY - fm.ascent() / 3, x + 16, legendY - fm.ascent() / 3);
        x += 22;
        const QString name = fm.elidedText(s.name, Qt::ElideRight, width() / 2 - 40);
        p.setPen(ink);
        p.drawText(x, legendY, name);
        x += fm.horizontalAdvance(name) + 18;
    }

    const int labelWidth = std::max(fm.horizontalAdvance(QString::number(scale.low)),
                                    fm.horizontalAdvance(QString::number(scale.high)));
    const QRect plot(pad + labelWidth + 6, legendY + fm.descent() + pad,
                     width() - (2 * pad + labelWidth + 6) -
                         fm.horizontalAdvance(QStringLiteral("00")) / 2,
                     height() - (legendY + fm.descent() + 2 * pad) - fm.height() - 4);
    if (plot.width() < 20 || plot.height() < 20) return;

    const double range = scale.high - scale.low;
    auto yOf = [&](int v) { return plot.bottom() - (v - scale.low) / range * plot.height(); };
    const double pitch = points > 1 ? double(plot.width()) / double(points - 1) : 0.0;
    auto xOf = [&](std::size_t i) { return plot.left() + pitch * double(i); };

    // Grid: a line per step, the zero line darker.
    for (int v = scale.low; v <= scale.high; v += scale.step) {
        p.setPen(QPen(v == 0 ? ink : grid, 1));
        p.drawLine(QPointF(plot.left(), yOf(v)), QPointF(plot.right(), yOf(v)));
        const QString label = QString::number(v);
        p.setPen(ink);
        p.drawText(
            QPointF(plot.left() - 6 - fm.horizontalAdvance(label), yOf(v) + fm.ascent() / 2.0 - 1),
            label);
    }
    // The hands along the bottom; on a long match only every so many, so the numbers stay apart.
    const int every = std::max<int>(
        1, int(fm.horizontalAdvance(QStringLiteral("000")) / std::max(pitch, 1.0)) + 1);
    for (std::size_t i = 1; i < points; ++i) {
        if (i % static_cast<std::size_t>(every) != 0 && i + 1 != points) continue;
        const QString label = QString::number(i);
        p.drawText(
            QPointF(xOf(i) - fm.horizontalAdvance(label) / 2.0, plot.bottom() + 4 + fm.ascent()),
            label);
    }

    if (points < 2) {
        p.drawText(plot, Qt::AlignCenter, QStringLiteral("No hand scored yet"));
        return;
    }
    for (const Series& s : series_) {
        QPainterPath line;
        for (std::size_t i = 0; i < s.totals.size(); ++i) {
            const QPointF at(xOf(i), yOf(s.totals[i]));
            if (i == 0)
                line.moveTo(at);
            else
                line.lineTo(at);
        }
        p.setPen(QPen(s.colour, 2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(line);
        p.setBrush(s.colour);
        for (std::size_t i = 0; i < s.totals.size(); ++i)
            p.drawEllipse(QPointF(xOf(i), yOf(s.totals[i])), 2.5, 2.5);
    }
}

} // namespace velnora::ui
