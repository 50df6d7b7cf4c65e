#include "SyntheticMine.h"

#include "DataModule.h"

#include <QDate>
#include <QRandomGenerator>

namespace {

void set(DataSet& ds, const char* field, const QVariant& v)
{
    ds.fieldByName(QLatin1String(field)).setValue(v);
}

// One equipment row of the given kind with plausible inputs; returns its PlanID.
int addEquipment(Table& t, const QString& costType, int sheet, int kind, int link, int linkKind, QRandomGenerator& rnd)
{
    auto r = [&](double lo, double hi) { return lo + (hi - lo) * rnd.generateDouble(); };
    static const double eff[] = {1.0, 0.92, 0.83, 0.75, 0.67};
    t.insert();
    set(t, "CostType", costType);
    set(t, "SheetID", sheet);
    set(t, "EquipCode", 0);
    set(t, "EquipCode2", kind);
    set(t, "OperatCost", std::round(r(60, 400) * 100) / 100);
    set(t, "LaborCost", std::round(r(35, 65) * 100) / 100);
    set(t, "EquipmentName", QStringLiteral("Caterpillar, Crawler Dozer -- D8"));
    set(t, "Name", QStringLiteral("Caterpillar, Crawler Dozer -- D8"));
    set(t, "Descriptions", QStringLiteral("Synthetic machine of kind %1").arg(kind));
    set(t, "Description", QStringLiteral("Generated for a trial run"));
    set(t, "Route", QStringLiteral("Route %1").arg(rnd.bounded(100)));
    set(t, "EffFact", eff[rnd.bounded(5)]);
    set(t, "Volume", std::round(r(5000, 200000)));
    set(t, "AddedEquipID", link);
    switch (kind) {
    case 0:
    case 1:
        for (const char* f : {"OpFact", "MatFact", "GradeFact", "WeiFact", "ProdFact", "Visibil", "Elevation"})
            set(t, f, std::round(r(0.8, 1.2) * 100) / 100);
        set(t, "HourProd", std::round(r(200, 900)));
        set(t, "Speed", std::round(r(2, 4) * 10) / 10);
        set(t, "Blade", std::round(r(10, 16)));
        set(t, "Acres", std::round(r(20, 300)));
        break;
    case 2:
        set(t, "PusherFactor", 1.5);
        set(t, "PusherItemIndex", 0);
        break;
    case 3:
        set(t, "CutL", std::round(r(200, 500)));
        set(t, "Turn", std::round(r(0.2, 0.5) * 100) / 100);
        set(t, "CutS", std::round(r(2, 4) * 10) / 10);
        set(t, "ToolPenetration", std::round(r(1, 3) * 10) / 10);
        break;
    case 4:
        set(t, "BuckCap", std::round(r(2, 5) * 10) / 10);
        set(t, "FillFact", 0.9);
        set(t, "CycleT", std::round(r(0.3, 0.6) * 100) / 100);
        break;
    case 5:
        set(t, "Speed", std::round(r(2, 5) * 10) / 10);
        set(t, "Blade", std::round(r(10, 14)));
        set(t, "Acres", std::round(r(20, 300)));
        set(t, "ContourNotScar", QStringLiteral("Y"));
        break;
    case 6:
        set(t, "HaulT", std::round(r(0.1, 0.4) * 100) / 100);
        set(t, "ReturnT", std::round(r(0.1, 0.4) * 100) / 100);
        set(t, "CycleT", std::round(r(0.4, 0.7) * 100) / 100);
        set(t, "BuckCap", std::round(r(5, 9) * 10) / 10);
        set(t, "BuckFact", 90);
        break;
    case 7:
        set(t, "LoadT", std::round(r(0.6, 1.0) * 100) / 100);
        set(t, "TripT", std::round(r(2, 5) * 100) / 100);
        set(t, "SpreadT", std::round(r(0.5, 1.0) * 100) / 100);
        set(t, "ReturnT", std::round(r(1.5, 4) * 100) / 100);
        set(t, "AdjustedLoad", std::round(r(20, 40)));
        break;
    case 8:
        set(t, "LoadExcavRG", linkKind);
        set(t, "HaulT", std::round(r(3, 8) * 100) / 100);
        set(t, "ReturnT", std::round(r(2, 6) * 100) / 100);
        set(t, "DumpT", std::round(r(0.5, 1.5) * 100) / 100);
        set(t, "TruckCap", std::round(r(30, 60)));
        set(t, "OverrideTruck", false);
        break;
    case 9:
        set(t, "HrsReg", std::round(r(10, 200)));
        set(t, "Reference", QStringLiteral("Contractor estimate"));
        break;
    }
    t.post();
    return t.fieldByName(QStringLiteral("PlanID")).asInteger();
}

void linkBack(Table& t, int planId, int truckId)
{
    t.setFilter(QStringLiteral("PlanID = ") + QString::number(planId));
    t.setFiltered(true);
    t.edit();
    set(t, "AddedEquipID", truckId);
    t.post();
    t.setFiltered(false);
}

}  // namespace

int generateMine(DataModule& dm, int projects, int sheetsPerProject, int equipmentPerSheet, unsigned seed,
                 const std::function<void(int done, int total)>& progress)
{
    QRandomGenerator rnd(seed);
    Database::Transaction tx(dm.TarvaneDatabase);
    const bool calc = dm.CalcEnabled;
    dm.CalcEnabled = false;
    const double dataSet = dm.DataSetCode;
    dm.DataSetCode = 5.0;  // the user's own data
    dm.MineT.refresh();
    Table& mine = dm.MineT;
    mine.insert();
    set(mine, "Applicant", QStringLiteral("Synthetic Mine %1x%2x%3").arg(projects).arg(sheetsPerProject).arg(equipmentPerSheet));
    set(mine, "PemitID", QStringLiteral("SYN-%1").arg(seed));
    set(mine, "Date", QDate(2024, 7, 1));
    set(mine, "PreparedBy", QStringLiteral("Generator"));
    set(mine, "ENRIndex", 13600.0);
    set(mine, "ENRIndexDate", QDate(2024, 7, 1));
    set(mine, "ENRIndex5", 11466.0);
    set(mine, "ENRIndexI", 13600.0);
    set(mine, "ENRIndexII", 13600.0);
    set(mine, "AutoFeeCal", 1);
    for (const char* f : {"MobDemobPercent", "MobDemobPercentI", "MobDemobPercentII"})
        set(mine, f, 5.0);
    for (const char* f : {"ContinPercent", "ContinPercentI", "ContinPercentII"})
        set(mine, f, 10.0);
    for (const char* f : {"EngPercent", "EngPercentI", "EngPercentII", "ManPercent", "ManPercentI", "ManPercentII"})
        set(mine, f, 4.0);
    for (const char* f : {"ProfitPercent", "ProfitPercentI", "ProfitPercentII"})
        set(mine, f, 20.0);
    mine.post();
    const int mineId = mine.fieldByName(QStringLiteral("MineID")).asInteger();

    // Equipment in a repeating pattern whose links stay within one worksheet.
    static const int pattern[] = {6, 8, 0, 7, 2, 4, 8, 3, 5, 1, 9};
    Table& equipment = dm.EquipStuff1T;
    for (int p = 0; p < projects; ++p) {
        dm.ProjectT.insert();
        set(dm.ProjectT, "ProjectName", QStringLiteral("Project %1").arg(p + 1));
        set(dm.ProjectT, "Date", QDate(2024, 7, 1));
        dm.ProjectT.post();
        for (int s = 0; s < sheetsPerProject; ++s) {
            Table* sheet = s % 3 == 0 ? &dm.DemolT : s % 3 == 1 ? &dm.MatT : &dm.RevegT;
            sheet->insert();
            if (sheet == &dm.DemolT) {
                set(*sheet, "Item", QStringLiteral("Structure %1").arg(s + 1));
                set(*sheet, "TypeMaterial", QStringLiteral("Concrete"));
                set(*sheet, "Volume", std::round(1000 + rnd.bounded(20000)));
                set(*sheet, "UnitCost", 6.5);
            } else if (sheet == &dm.MatT) {
                set(*sheet, "Description", QStringLiteral("Earthmoving task %1").arg(s + 1));
            } else {
                set(*sheet, "Name", QStringLiteral("Reveg area %1").arg(s + 1));
                set(*sheet, "AcresSeed", 40.0);
                set(*sheet, "CostSeedBed", 210.0);
                set(*sheet, "CostSeed", 520.0);
                set(*sheet, "RAcresSeed", 40.0);
                set(*sheet, "SeedFail", 20.0);
                set(*sheet, "RCostSeedBed", 210.0);
                set(*sheet, "RCostSeed", 520.0);
            }
            sheet->post();
            const QString costType = sheet->fieldByName(QStringLiteral("CostType")).asString();
            const int sheetId = sheet->fieldByName(QStringLiteral("SheetID")).asInteger();
            int loader = -1, scraper = -1, excavator = -1;
            for (int e = 0; e < equipmentPerSheet; ++e) {
                const int kind = pattern[e % (sizeof pattern / sizeof pattern[0])];
                int link = -1, linkKind = 0;
                if (kind == 8 && (loader > 0 || excavator > 0)) {
                    link = loader > 0 ? loader : excavator;
                    linkKind = loader > 0 ? 0 : 1;
                } else if (kind == 2 && scraper > 0) {
                    link = scraper;
                }
                const int plan = addEquipment(equipment, costType, sheetId, kind, link, linkKind, rnd);
                if (kind == 6)
                    loader = plan;
                else if (kind == 4)
                    excavator = plan;
                else if (kind == 7)
                    scraper = plan;
                else if (kind == 8 && link > 0) {
                    linkBack(dm.EquipStuffT, link, plan);
                    (linkKind == 0 ? loader : excavator) = -1;  // it serves this truck now
                }
            }
        }
        if (progress)
            progress(p + 1, projects);
    }
    dm.CalcEnabled = calc;
    tx.commit();  // a mine that cannot be written (a full disk) is an error, not a silent loss
    dm.DataSetCode = dataSet;
    dm.MineT.refresh();
    return mineId;
}
