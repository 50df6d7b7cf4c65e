#include "TruckCostChart.h"

#include "Picture.h"

#include <QCategoryAxis>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {

QScatterSeries* mark(const QString& name, QScatterSeries::MarkerShape shape, const QColor& colour, qreal size)
{
    auto* s = new QScatterSeries;
    s->setObjectName(name);
    s->setMarkerShape(shape);
    s->setMarkerSize(size);
    s->setColor(colour);
    s->setBorderColor(colour.darker());
    return s;
}

}  // namespace

TruckCostChart::TruckCostChart(QWidget* parent) : QChartView(parent)
{
    setObjectName(QStringLiteral("TruckCostChart"));
    setRenderHint(QPainter::Antialiasing);
    setMinimumHeight(210);
    setMaximumHeight(240);

    auto* chart = new QChart;
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->legend()->setAlignment(Qt::AlignBottom);
    QFont small = chart->legend()->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    chart->legend()->setFont(small);

    curve_ = new QLineSeries;
    curve_->setObjectName(QStringLiteral("CostCurve"));
    curve_->setName(QStringLiteral("Total cost"));
    // The entered count under the cheapest one, so that the cheapest stays visible when they coincide.
    entered_ = mark(QStringLiteral("EnteredMark"), QScatterSeries::MarkerShapeRectangle, QColor(0xd0, 0x60, 0x10), 13);
    optimum_ = mark(QStringLiteral("OptimumMark"), QScatterSeries::MarkerShapeCircle, QColor(0x20, 0x90, 0x30), 9);
    chart->addSeries(curve_);
    chart->addSeries(entered_);
    chart->addSeries(optimum_);

    trucksAxis_ = new QValueAxis;
    trucksAxis_->setTitleText(QStringLiteral("Number of trucks"));
    trucksAxis_->setLabelFormat(QStringLiteral("%d"));
    trucksAxis_->setTickType(QValueAxis::TicksDynamic);
    trucksAxis_->setTickAnchor(0);
    costAxis_ = new QCategoryAxis;
    costAxis_->setTitleText(QStringLiteral("Total cost"));
    costAxis_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (QAbstractAxis* axis : {static_cast<QAbstractAxis*>(trucksAxis_), static_cast<QAbstractAxis*>(costAxis_)}) {
        axis->setLabelsFont(small);
        axis->setTitleFont(small);
    }
    chart->addAxis(trucksAxis_, Qt::AlignBottom);
    chart->addAxis(costAxis_, Qt::AlignLeft);
    for (QAbstractSeries* s : chart->series()) {
        s->attachAxis(trucksAxis_);
        s->attachAxis(costAxis_);
    }
    setChart(chart);
    QChartView::hide();
}

void TruckCostChart::plot(const TruckInputs& in, int optimal)
{
    const int last = costCurveEnd(optimal, in.trucks);
    QList<QPointF> points;
    points.reserve(last);
    for (int n = 1; n <= last; ++n)
        points.append(QPointF(n, TotalCostForTrucks(in, n)));
    curve_->replace(points);
    const QPointF& best = points.at(optimal - 1);
    const QPointF& entered = points.at(in.trucks - 1);
    optimum_->replace({best});
    entered_->replace({entered});
    optimum_->setName(QStringLiteral("Optimum: %1 trucks").arg(optimal));
    entered_->setName(QStringLiteral("Entered: %1 trucks").arg(in.trucks));

    // Whole-truck ticks at a round step; half a truck of room either side for the marks.
    const double rough = (last - 1) / 5.0;
    double step = 1;
    for (double base = 1; step < rough; base *= 10)
        for (double m : {1.0, 2.0, 5.0})
            if (step < rough)
                step = m * base;
    trucksAxis_->setTickInterval(step);
    trucksAxis_->setRange(0.5, last + 0.5);
    const auto [low, high] = std::minmax_element(points.cbegin(), points.cend(),
                                                 [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); });
    scaleCost(low->y(), high->y());
    show();
}

void TruckCostChart::scaleCost(double low, double high)
{
    if (!(high > low)) {  // a flat curve gets a band around its cost
        const double pad = std::max(1.0, std::abs(low) * 0.05);
        low -= pad;
        high += pad;
    }
    // Nice round money steps from the axis's own rounding; the labels in the program's money format.
    costAxis_->setRange(low, high);
    costAxis_->setTickCount(5);
    costAxis_->applyNiceNumbers();
    const double from = costAxis_->min(), to = costAxis_->max();
    const int ticks = std::max(2, costAxis_->tickCount());
    const double step = (to - from) / (ticks - 1);
    const Picture money(step >= 1 && std::abs(step - std::round(step)) < 1e-9 ? QStringLiteral("$###,###,###,###")
                                                                             : QStringLiteral("$###,###,###,###.##"));
    for (const QString& label : costAxis_->categoriesLabels())
        costAxis_->remove(label);
    costAxis_->setStartValue(from);
    for (int i = 0; i < ticks; ++i)
        costAxis_->append(money.format(from + i * step), from + i * step);
    costAxis_->setRange(from, to);
}

void TruckCostChart::clear()
{
    curve_->clear();
    optimum_->clear();
    entered_->clear();
    hide();
}
