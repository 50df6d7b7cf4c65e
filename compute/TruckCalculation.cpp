#include "TruckCalculation.h"

#include <algorithm>
#include <cmath>

namespace {

const QString kOneItem = QStringLiteral(
    "The value of the item shown in red must be greater than zero.\nChange the value of this item and try to calculate again");

}  // namespace

TruckLoading truckLoading(const TruckInputs& in)
{
    TruckLoading l;
    l.payload = in.bucket * in.fill;
    if (in.excavator) {
        l.cycle = in.cycle;
        l.production = (l.payload * 60 / l.cycle) * in.loaderEff;
    } else {
        l.cycle = in.loaderHaul + in.loaderReturn + in.cycle;
        l.production = in.loaderEff * (l.payload / l.cycle) * 60;
    }
    l.loaderHours = in.volume / l.production;
    // Whole buckets only, never above the truck's capacity.
    const double passes = std::trunc(in.truckCapacity / l.payload);
    l.passes = std::isfinite(passes) ? static_cast<int>(std::clamp(passes, -1e9, 1e9)) : 0;
    l.load = l.passes * l.payload;
    l.loadingTime = l.passes * l.cycle;
    return l;
}

std::optional<TruckCheckFailure> checkTruckInputs(const TruckInputs& in)
{
    if (in.trucks <= 0)
        return TruckCheckFailure{kOneItem, {TruckField::Trucks}};
    const TruckLoading l = truckLoading(in);
    if (!(l.cycle > 0)) {
        if (in.excavator)
            return TruckCheckFailure{kOneItem, {TruckField::Cycle}};
        return TruckCheckFailure{
            QStringLiteral("The sum of these 3 items shown in red must be greater than zero.\nChange the values of "
                           "these items and try to calculate again"),
            {TruckField::LoaderHaul, TruckField::LoaderReturn, TruckField::Cycle}};
    }
    if (!(l.production > 0))
        return TruckCheckFailure{QStringLiteral("The values of both the items shown in red must be greater than "
                                                "zero.\nChange the values of these items and try to calculate again"),
                                 {TruckField::Bucket, TruckField::Fill}};
    if (!(l.passes > 0))
        return TruckCheckFailure{kOneItem, {TruckField::TruckCapacity}};
    return std::nullopt;
}

double TotalCostForTrucks(const TruckInputs& in, int n)
{
    const TruckLoading l = truckLoading(in);
    const double truckCycle = in.truckHaul + in.truckReturn + in.dump + l.loadingTime;
    const double fleetRate = n * l.load / truckCycle;  // volume per minute
    const double truckProduction = in.truckEff * (fleetRate * 60);
    const double truckHours = in.volume / truckProduction;
    // The job lasts as long as the slower of loading and hauling.
    const double hours = std::max(l.loaderHours, truckHours);
    return (in.truckLabor + in.truckEquip) * (n * hours) + (in.loaderLabor + in.loaderEquip) * hours;
}

int lowestCostCount(const std::function<double(int)>& costOf)
{
    double best = costOf(1);
    for (int n = 2; n <= 999; ++n) {
        const double c = costOf(n);
        if (c > best)
            return n - 1;
        best = c;  // an equal cost moves on to the larger number
    }
    return 998;
}

int OptimalTruckCount(const TruckInputs& in)
{
    return lowestCostCount([&in](int n) { return TotalCostForTrucks(in, n); });
}

int costCurveEnd(int optimal, int entered)
{
    return std::max(std::min(998, optimal + std::max(3, optimal / 2)), entered);
}

std::variant<TruckCheckFailure, TruckResult> calculateTrucks(const TruckInputs& in)
{
    if (auto failure = checkTruckInputs(in))
        return *failure;
    TruckResult r;
    r.totalCost = TotalCostForTrucks(in, in.trucks);
    if (r.totalCost != 0) {
        r.optimalTrucks = OptimalTruckCount(in);
        r.optimalCost = TotalCostForTrucks(in, *r.optimalTrucks);
    }
    return r;
}
