#pragma once
// The truck calculator's arithmetic: the total cost of moving a volume with one
// loader or excavator and a fleet of identical trucks, the checks of its inputs
// and the search for the cheapest number of trucks. Widget-free, shared by the
// window and the command line.
#include <QList>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <variant>

// The efficiency factors offered for the loader or excavator and for the trucks,
// in the order shown; the first is the one selected at first.
inline constexpr std::array<double, 4> kTruckEfficiencyFactors = {0.92, 0.83, 0.75, 0.67};

struct TruckInputs {
    double volume = 0;
    bool excavator = false;  // false: loader, whose haul and return times count
    double loaderHaul = 0, loaderReturn = 0, cycle = 0, bucket = 0, fill = 0;
    double loaderEff = kTruckEfficiencyFactors[0];
    double truckCapacity = 0, truckHaul = 0, truckReturn = 0, dump = 0;
    double truckEff = kTruckEfficiencyFactors[0];
    double truckLabor = 0, truckEquip = 0, loaderLabor = 0, loaderEquip = 0;
    int trucks = 0;
};

// The input fields a failed check turns red.
enum class TruckField { LoaderHaul, LoaderReturn, Cycle, Bucket, Fill, TruckCapacity, Trucks };

struct TruckCheckFailure {
    QString message;
    QList<TruckField> red;  // the first one gets the focus
};

// The loader side and the truck load, steps that do not depend on the number of trucks.
struct TruckLoading {
    double payload = 0;      // heaped bucket × fill factor
    double cycle = 0;        // loader or excavator cycle time
    double production = 0;   // loader hourly production
    double loaderHours = 0;  // volume ÷ production
    int passes = 0;          // whole buckets per truck
    double load = 0;         // passes × payload
    double loadingTime = 0;  // passes × cycle
};

struct TruckResult {
    double totalCost = 0;
    // Set only when the total cost is not zero: the cheapest count and its cost.
    std::optional<int> optimalTrucks;
    std::optional<double> optimalCost;
};

TruckLoading truckLoading(const TruckInputs& in);
// The first failed check of a calculation, in the order they are made, or none.
std::optional<TruckCheckFailure> checkTruckInputs(const TruckInputs& in);
// The total cost with n trucks on the inputs, without any checks.
double TotalCostForTrucks(const TruckInputs& in, int n);
// The walk up from one truck that stops at the first rise in cost: 1 to 998.
int lowestCostCount(const std::function<double(int)>& costOf);
int OptimalTruckCount(const TruckInputs& in);
// The last number of trucks the cost curve shows: a little past the cheapest count
// (half as far again, at least three more, at most 998) and never short of the entered count.
int costCurveEnd(int optimal, int entered);
// The checks, then the total cost for the entered count and, when it is not zero, the search.
std::variant<TruckCheckFailure, TruckResult> calculateTrucks(const TruckInputs& in);
