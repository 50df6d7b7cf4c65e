#pragma once
// The cost formulas of a worksheet row and of a machine, written once: the calculated
// fields, the totals, the printed worksheets and the workbook all take them from here.
// Each keeps the order of its operations, on which the last bit of a total depends.
#include <array>

namespace costrule {

// A machine: hours × (equipment cost + labor cost), both per hour.
inline double machine(double hours, double equipmentPerHour, double laborPerHour)
{
    return hours * (equipmentPerHour + laborPerHour);
}

// A demolition row's own cost: volume × unit cost.
inline double demolition(double volume, double unitCost)
{
    return volume * unitCost;
}

struct RevegInputs {
    double AcresSeed, CostSeedBed, CostSeed, AcresPlant, CostPlant, CostHerb;
    double RAcresSeed, RCostSeedBed, RCostSeed, SeedFail, RAcresPlant, RCostPlant, RCostHerb, PlantFail;
    double OtherCost;
};

// A revegetation row's inputs, each read by `num(field)` in the order of the formulas.
template <class Read>
RevegInputs revegInputs(Read num)
{
    RevegInputs r{};
    r.AcresSeed = num("AcresSeed");
    r.CostSeedBed = num("CostSeedBed");
    r.CostSeed = num("CostSeed");
    r.AcresPlant = num("AcresPlant");
    r.CostHerb = num("CostHerb");
    r.CostPlant = num("CostPlant");
    r.RAcresSeed = num("RAcresSeed");
    r.SeedFail = num("SeedFail");
    r.RCostSeedBed = num("RCostSeedBed");
    r.RCostSeed = num("RCostSeed");
    r.RAcresPlant = num("RAcresPlant");
    r.PlantFail = num("PlantFail");
    r.RCostHerb = num("RCostHerb");
    r.RCostPlant = num("RCostPlant");
    r.OtherCost = num("OtherCost");
    return r;
}

// The four products of a revegetation row: initial seeding, planting trees and shrubs,
// reseeding and replanting of the failed shares (the failure rates are percentages).
inline std::array<double, 4> revegProducts(const RevegInputs& r)
{
    return {r.AcresSeed * (r.CostSeedBed + r.CostSeed), r.AcresPlant * (r.CostHerb + r.CostPlant),
            (r.RAcresSeed * r.SeedFail / 100.0) * (r.RCostSeedBed + r.RCostSeed),
            (r.RAcresPlant * r.PlantFail / 100.0) * (r.RCostHerb + r.RCostPlant)};
}

// A revegetation row's own cost as the totals add it: the four products in order, then
// the other revegetation cost.
inline double revegetation(const RevegInputs& r)
{
    const std::array<double, 4> p = revegProducts(r);
    double row = p[0];
    row += p[1];
    row += p[2];
    row += p[3];
    row += r.OtherCost;
    return row;
}

}  // namespace costrule
