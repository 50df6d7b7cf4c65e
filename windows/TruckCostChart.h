#pragma once
// The truck calculator's cost curve: the total cost against the number of trucks
// from one truck to a little past the cheapest count, with the cheapest count and
// the entered count marked. Every point is the calculator's own total cost.
#include "TruckCalculation.h"

#include <QChartView>

class QCategoryAxis;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

class TruckCostChart : public QChartView {
    Q_OBJECT
public:
    explicit TruckCostChart(QWidget* parent = nullptr);

    // Draws the curve for the inputs, marking `optimal` and the entered count, and shows it.
    void plot(const TruckInputs& in, int optimal);
    // Empties the curve and the marks and hides the chart.
    void clear();

private:
    void scaleCost(double low, double high);

    QLineSeries* curve_;
    QScatterSeries *optimum_, *entered_;
    QValueAxis* trucksAxis_;
    QCategoryAxis* costAxis_;
};
