#pragma once
// A small line chart of both seats' match totals across the hands, drawn with our own painter:
// one line per seat from the totals the hands started at, a legend and a labelled grid.

#include <QColor>
#include <QString>
#include <QWidget>

#include <array>
#include <vector>

namespace velnora::ui {

class ScoreChart : public QWidget {
    Q_OBJECT
public:
    struct Series {
        QString name;
        QColor colour;
        // The totals before the first hand, then after each hand.
        std::vector<int> totals;
    };

    explicit ScoreChart(QWidget* parent = nullptr);
    void setSeries(const std::array<Series, 2>& series);

    QSize sizeHint() const override { return {420, 200}; }
    QSize minimumSizeHint() const override { return {240, 140}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::array<Series, 2> series_;
};

} // namespace velnora::ui
