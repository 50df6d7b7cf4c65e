// Equipment hours, worksheet totals and the bond summary on a real data file.
#include "ComputationFixture.h"
#include "SyntheticMine.h"
#include "TruckCalculation.h"

#include <cmath>
#include <limits>

namespace {

const QVariantMap kUnitFactors{{"OpFact", 1.0},  {"MatFact", 1.0},  {"GradeFact", 1.0}, {"WeiFact", 1.0},
                               {"ProdFact", 1.0}, {"Visibil", 1.0}, {"Elevation", 1.0}};

QVariantMap with(QVariantMap base, const QVariantMap& more)
{
    for (auto it = more.begin(); it != more.end(); ++it)
        base.insert(it.key(), it.value());
    return base;
}

// An earthmoving worksheet of a new mine and project, ready for equipment.
struct Sheet : World {
    Sheet()
    {
        addMine(QStringLiteral("Test Mine"));
        addProject(QStringLiteral("Pit"));
        addSheet(dm.MatT, {{"Description", "Move spoil"}});
    }
    double hours(int plan, int kind)
    {
        dm.EquipMatT.locate({QStringLiteral("PlanID")}, {plan});
        return comp.calculator.CalcEquipHours(dm.EquipMatT, kind, false, true);
    }
    const EquipCalcResults& results() const { return comp.calculator.EquipCalcResults_; }
    // A loader with a 4.5 LCY net bucket and a loading cycle of `cycle` minutes.
    int loader(double cycle = 2.5, double volume = 2200)
    {
        return addEquipment(dm.EquipMatT, 6,
                            {{"BuckCap", 5.0}, {"BuckFact", 90.0}, {"HaulT", cycle - 1.0}, {"ReturnT", 0.5}, {"CycleT", 0.5},
                             {"EffFact", 1.0}, {"Volume", volume}});
    }
    int truck(int partner, const QVariantMap& more = {})
    {
        return addEquipment(dm.EquipMatT, 8,
                            with({{"AddedEquipID", partner}, {"LoadExcavRG", 0}, {"TruckCap", 20.0}, {"HaulT", 12.0},
                                  {"DumpT", 3.0}, {"ReturnT", 5.0}, {"EffFact", 1.0}, {"Volume", 1080.0}},
                                 more));
    }
    int scraper(double volume = 24000)
    {
        return addEquipment(dm.EquipMatT, 7,
                            {{"LoadT", 0.7}, {"TripT", 3.0}, {"SpreadT", 0.8}, {"ReturnT", 2.5}, {"AdjustedLoad", 28.0},
                             {"EffFact", 1.0}, {"Volume", volume}});
    }
};

}  // namespace

class TestComputation : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void kindFormulas_data();
    void kindFormulas();
    void truck_data();
    void truck();
    void truckPartnerErrors();
    void pushDozer_data();
    void pushDozer();
    void notActivatedOrSuspended();
    void matchAddedHours();
    void partnerRows();
    void matchAddedHoursErrors();
    void totalsKeepPositions();
    void revegetationTotal_data();
    void revegetationTotal();
    void money_data();
    void money();
    void moneyLimits_data();
    void moneyLimits();
    void storedNumberLimits_data();
    void storedNumberLimits();
    void totalsAndBondLeaveTheWindowsViews();
    void roundToPlaces_data();
    void roundToPlaces();
    void moneyText_data();
    void moneyText();
    void feeLookup_data();
    void feeLookup();
    void bondItems();
    void bondWithoutEarlierIndex();
    void projectBondAndAutomaticFees();
    void bondOfAMineNoWindowShows();
    void explanationsAddUp_data();
    void explanationsAddUp();
    void truckCalculatorChecks_data();
    void truckCalculatorChecks();
    void truckCalculatorLoading();
    void truckCalculatorCost();
    void truckCalculatorSearch_data();
    void truckCalculatorSearch();
    void truckCalculatorZeroCost();
};

void TestComputation::kindFormulas_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVariantMap>("fields");
    QTest::addColumn<double>("hours");
    QTest::addColumn<double>("unitHours");
    QTest::addColumn<QString>("result");
    QTest::addColumn<double>("value");
    QTest::newRow("dozer, exact quotient adds one")
        << 0 << with(kUnitFactors, {{"EffFact", 1.0}, {"HourProd", 100.0}, {"Volume", 1000.0}}) << 11.0 << 11.0
        << "NetHourlyProduction" << 100.0;
    QTest::newRow("dozer, no volume") << 0 << with(kUnitFactors, {{"EffFact", 1.0}, {"HourProd", 100.0}}) << 1.0 << 1.0
                                      << "OperatingFactor" << 1.0;
    QTest::newRow("dozer, factor product") << 0
                                           << QVariantMap{{"OpFact", 0.8}, {"MatFact", 1.2}, {"EffFact", 0.83},
                                                          {"GradeFact", 1.0}, {"WeiFact", 1.0}, {"ProdFact", 1.0},
                                                          {"Visibil", 1.0}, {"Elevation", 1.0}, {"HourProd", 450.0},
                                                          {"Volume", 45000.0}}
                                           << 126.0 << 126.0 << "OperatingFactor" << 0.8 * 1.2 * 0.83;
    QTest::newRow("dozer, efficiency not chosen") << 0 << with(kUnitFactors, {{"HourProd", 100.0}, {"Volume", 1000.0}})
                                                  << 0.0 << 0.0 << "NetHourlyProduction" << 0.0;
    QTest::newRow("dozer grading") << 1 << with(kUnitFactors, {{"EffFact", 1.0}, {"Speed", 3.0}, {"Blade", 10.0}, {"Acres", 10.0}})
                                   << 3.0 << 3.0 << "HourlyProduction" << 3.0 * 10 * 5280 / 43560;
    QTest::newRow("grader") << 5 << QVariantMap{{"Speed", 3.0}, {"Blade", 10.0}, {"EffFact", 0.83}, {"Acres", 50.0}}
                            << 17.0 << 17.0 << "HourlyProduction" << 3.0 * 10 * 0.83 * 5280 / 43560;
    QTest::newRow("ripper") << 3
                            << QVariantMap{{"CutL", 300.0}, {"Turn", 0.25}, {"EffFact", 0.83}, {"ToolPenetration", 2.0},
                                           {"CutS", 3.0}, {"Volume", 10000.0}}
                            << 12.0 << 12.0 << "VolumePerPass" << 2.0 * 3 * 300 / 27;
    QTest::newRow("ripper without cut") << 3 << QVariantMap{{"EffFact", 0.83}, {"Volume", 10000.0}} << 0.0 << 0.0
                                        << "PassesPerHour" << 0.0;
    QTest::newRow("excavator with added hours")
        << 4 << QVariantMap{{"BuckCap", 5.0}, {"FillFact", 0.9}, {"CycleT", 0.5}, {"EffFact", 1.0}, {"Volume", 5400.0}, {"AddHours", 3.0}}
        << 14.0 << 11.0 << "NetBucketCapacity" << 4.5;
    QTest::newRow("excavator, no cycle") << 4 << QVariantMap{{"BuckCap", 5.0}, {"FillFact", 0.9}, {"AddHours", 3.0}} << 0.0
                                         << 0.0 << "NetHourlyProduction" << 0.0;
    QTest::newRow("loader, fill factor in percent")
        << 6 << QVariantMap{{"BuckCap", 5.0}, {"BuckFact", 90.0}, {"HaulT", 0.2}, {"ReturnT", 0.2}, {"CycleT", 0.6}, {"EffFact", 1.0}, {"Volume", 2700.0}}
        << 11.0 << 11.0 << "NetBucketCapacity" << 4.5;
    QTest::newRow("scraper") << 7
                             << QVariantMap{{"LoadT", 0.7}, {"TripT", 3.0}, {"SpreadT", 0.8}, {"ReturnT", 2.5},
                                            {"AdjustedLoad", 28.0}, {"EffFact", 1.0}, {"Volume", 24000.0}}
                             << 101.0 << 101.0 << "CycleTime" << 7.0;
    QTest::newRow("user defined") << 9 << QVariantMap{{"HrsReg", 40.5}} << 40.5 << 40.5 << "HoursRequired" << 40.5;
    QTest::newRow("kind 10") << 10 << QVariantMap{{"HrsReg", 40.0}} << 0.0 << 0.0 << "UnitHours" << 0.0;
    QTest::newRow("kind -1") << -1 << with(kUnitFactors, {{"EffFact", 1.0}, {"HourProd", 100.0}}) << 0.0 << 0.0
                             << "UnitHours" << 0.0;
}

void TestComputation::kindFormulas()
{
    QFETCH(int, kind);
    QFETCH(QVariantMap, fields);
    QFETCH(double, hours);
    QFETCH(double, unitHours);
    QFETCH(QString, result);
    QFETCH(double, value);
    Sheet s;
    const int plan = s.addEquipment(s.dm.EquipMatT, kind, fields);
    QCOMPARE(s.hours(plan, kind), hours);
    QCOMPARE(s.results().UnitHours, unitHours);
    bool found = false;
    for (const auto& [name, v] : s.results().named())
        if (name == result) {
            QVERIFY2(qFuzzyCompare(1.0 + v, 1.0 + value), qPrintable(QStringLiteral("%1 = %2").arg(name).arg(v)));
            found = true;
        }
    QVERIFY(found);
    QCOMPARE(s.list.ds, &s.dm.EquipMatT);  // the bind flag hands the table to the list window
    // The calculated fields show the same hours and their cost.
    s.dm.EquipMatT.locate({QStringLiteral("PlanID")}, {plan});
    QCOMPARE(s.dm.EquipMatT.fieldByName(QStringLiteral("HrsReq")).asFloat(), hours);
}

void TestComputation::truck_data()
{
    QTest::addColumn<double>("loaderCycle");
    QTest::addColumn<QVariantMap>("truck");
    QTest::addColumn<double>("passes");
    QTest::addColumn<double>("trucks");
    QTest::addColumn<double>("hours");
    QTest::addColumn<bool>("overridden");
    QTest::newRow("cycle 30, loading 10: 3 trucks") << 2.5 << QVariantMap{} << 4.0 << 3.0 << 33.0 << false;
    QTest::newRow("cycle 30, loading 9: 4 trucks") << 2.25 << QVariantMap{{"HaulT", 13.0}} << 4.0 << 4.0 << 32.0 << false;
    QTest::newRow("added hours per truck") << 2.5 << QVariantMap{{"AddHours", 2.0}} << 4.0 << 3.0 << 39.0 << false;
    QTest::newRow("two trucks by hand") << 2.5 << QVariantMap{{"OverrideTruck", true}, {"NumTrucks", 2.0}} << 4.0 << 2.0
                                        << 2.0 * 16 << true;
    QTest::newRow("no trucks by hand") << 2.5 << QVariantMap{{"OverrideTruck", true}, {"NumTrucks", 0.0}} << 4.0 << 0.0
                                       << 0.0 << true;
    QTest::newRow("truck smaller than a bucket") << 2.5 << QVariantMap{{"TruckCap", 4.0}} << 0.0 << 0.0 << 0.0 << false;
    QTest::newRow("efficiency not chosen") << 2.5 << QVariantMap{{"EffFact", QVariant()}} << 4.0 << 3.0 << 0.0 << false;
}

void TestComputation::truck()
{
    QFETCH(double, loaderCycle);
    QFETCH(QVariantMap, truck);
    QFETCH(double, passes);
    QFETCH(double, trucks);
    QFETCH(double, hours);
    QFETCH(bool, overridden);
    Sheet s;
    const int loader = s.loader(loaderCycle);
    const int plan = s.truck(loader, truck);
    QCOMPARE(s.hours(plan, 8), hours);
    QCOMPARE(s.results().PassesPerTruck, passes);
    QCOMPARE(s.results().NumberOfTrucks, trucks);
    QCOMPARE(s.results().TruckOverridden, overridden);
    QCOMPARE(s.results().NetBucketCapacity, 4.5);
    QVERIFY(s.dialogs.shown.isEmpty());
}

void TestComputation::truckPartnerErrors()
{
    Sheet s;
    const int excavator = s.addEquipment(s.dm.EquipMatT, 4,
                                         {{"BuckCap", 5.0}, {"FillFact", 0.9}, {"CycleT", 2.5}, {"EffFact", 1.0}});
    const int byExcavator = s.truck(excavator, {{"LoadExcavRG", 1}});
    QCOMPARE(s.hours(byExcavator, 8), 33.0);  // the excavator's cycle is its own CycleT
    QCOMPARE(s.results().LoaderCycleTime, 2.5);
    const int emptyBucket = s.addEquipment(s.dm.EquipMatT, 6, {{"HaulT", 1.0}});
    const int broken = s.truck(emptyBucket);
    s.dialogs.shown.clear();
    s.dialogs.userActed();
    QCOMPARE(s.hours(broken, 8), 0.0);
    // The calculation says so once for the user's action, however often the row is read.
    QCOMPARE(s.dialogs.texts(), QStringList{QStringLiteral("Error in Loader or Excavator data.  Fix, then re-enter truck!")});
    s.dm.EquipMatT.first();
    s.dm.EquipMatT.last();
    QCOMPARE(s.hours(broken, 8), 0.0);
    QCOMPARE(s.dialogs.shown.size(), 1);
    s.dialogs.userActed();  // the next action shows it again
    QCOMPARE(s.hours(broken, 8), 0.0);
    QCOMPARE(s.dialogs.shown.size(), 2);
    const int orphan = s.truck(99999);
    s.dm.EquipMatT.locate({QStringLiteral("PlanID")}, {orphan});
    s.dialogs.shown.clear();
    QCOMPARE(s.comp.calculator.CalcEquipHours(s.dm.EquipMatT, 8, false, false), 0.0);
    QVERIFY(s.dialogs.shown.isEmpty());  // a missing partner says nothing
}

void TestComputation::pushDozer_data()
{
    QTest::addColumn<double>("pusherFactor");
    QTest::addColumn<double>("scrapers");
    QTest::addColumn<double>("hours");
    QTest::newRow("single back-track") << 1.5 << 6.0 << 17.0;
    QTest::newRow("tandem back-track") << 2.0 << 5.0 << 21.0;
    QTest::newRow("pusher slower than the scraper cycle") << 20.0 << 0.0 << 0.0;
}

void TestComputation::pushDozer()
{
    QFETCH(double, pusherFactor);
    QFETCH(double, scrapers);
    QFETCH(double, hours);
    Sheet s;
    const int scraper = s.scraper();
    const int pusher =
        s.addEquipment(s.dm.EquipMatT, 2, {{"AddedEquipID", scraper}, {"PusherFactor", pusherFactor}, {"PusherItemIndex", 0}});
    QCOMPARE(s.hours(pusher, 2), hours);
    QCOMPARE(s.results().ScrapersPerPusher, scrapers);
    QCOMPARE(s.results().ScraperCycleTime, 7.0);
    QCOMPARE(s.results().PusherCycleTime, 0.7 * pusherFactor);
    if (scrapers > 0)
        QCOMPARE(s.results().ScraperHours, 100.0);
}

void TestComputation::notActivatedOrSuspended()
{
    Sheet s;
    const int scraper = s.scraper();
    const int pusher = s.addEquipment(s.dm.EquipMatT, 2, {{"AddedEquipID", scraper}, {"PusherFactor", 1.5}});
    s.comp.calculator.SuspendPusherCalc = true;
    QCOMPARE(s.hours(pusher, 2), 0.0);
    s.comp.calculator.SuspendPusherCalc = false;
    // Before the main window's first activation: the rules compute no field, the calculator is told not to.
    s.window.activated = false;
    s.comp.setMayCompute(false);
    QCOMPARE(s.hours(scraper, 7), 0.0);
    QVERIFY(s.dm.EquipMatT.fieldByName(QStringLiteral("HrsReq")).isNull());  // not computed before activation
    s.window.activated = true;
    s.comp.setMayCompute(true);
    QCOMPARE(s.hours(scraper, 7), 101.0);

    // A push dozer whose scraper is gone names the mine, project, activity and item.
    s.comp.calculator.ActivityName = QStringLiteral("Earhmoving");
    s.comp.calculator.ItemName = QStringLiteral("Move spoil");
    const int lost = s.addEquipment(s.dm.EquipMatT, 2, {{"AddedEquipID", 424242}, {"PusherFactor", 1.5}});
    s.dialogs.shown.clear();
    s.dialogs.userActed();
    QCOMPARE(s.hours(lost, 2), 0.0);
    QCOMPARE(s.dialogs.shown.size(), 1);
    QCOMPARE(s.dialogs.texts().last(), QStringLiteral("Error with pusher dozer.  Can NOT find scraper!\nMine: Test Mine\n"
                                                      "Project: Pit\nEarhmoving\nItem Name: Move spoil"));
}

void TestComputation::matchAddedHours()
{
    Sheet s;
    const int loader = s.loader(2.5, 900);            // 9 unit hours
    const int truck = s.truck(loader, {{"Volume", 1200.0}});  // 12 unit hours, 3 trucks
    s.dm.EquipStuffT.setFilter(QStringLiteral("PlanID = %1").arg(loader));
    s.dm.EquipStuffT.setFiltered(true);
    s.dm.EquipStuffT.edit();
    s.dm.EquipStuffT.fieldByName(QStringLiteral("AddedEquipID")).setAsInteger(truck);
    s.dm.EquipStuffT.post();
    for (int run = 0; run < 2; ++run) {  // running it again changes nothing
        s.dm.EquipMatT.locate({QStringLiteral("PlanID")}, {truck});
        s.list.ds = &s.dm.EquipMatT;
        s.comp.calculator.MatchAddedHours(EquipmentCalculator::MatchSide::Truck);
        QCOMPARE(s.planField(loader, QStringLiteral("AddHours")), QVariant(qint64(3)));
        QCOMPARE(s.planField(truck, QStringLiteral("AddHours")), QVariant(qint64(0)));
        QCOMPARE(s.hours(loader, 6), 12.0);
    }
    // From the loader's side, with equal unit hours both added hours go back to 0.
    s.dm.EquipMatT.locate({QStringLiteral("PlanID")}, {loader});
    s.dm.EquipMatT.edit();
    s.dm.EquipMatT.fieldByName(QStringLiteral("Volume")).setAsFloat(1200);  // 12 unit hours
    s.dm.EquipMatT.post();
    s.list.ds = &s.dm.EquipMatT;
    s.comp.calculator.MatchAddedHours(EquipmentCalculator::MatchSide::Loader);
    QCOMPARE(s.planField(loader, QStringLiteral("AddHours")), QVariant(qint64(0)));
    QCOMPARE(s.planField(truck, QStringLiteral("AddHours")), QVariant(qint64(0)));
    QVERIFY(s.dialogs.shown.isEmpty());
}

void TestComputation::partnerRows()
{
    Sheet s;
    const int first = s.loader();
    const int second = s.loader();
    s.scraper();
    const int sheet = s.dm.MatT.fieldByName(QStringLiteral("SheetID")).asInteger();
    QCOMPARE(EquipmentCalculator::partnerFilter(6, QStringLiteral("M"), sheet),
             QStringLiteral("(EquipCode2 = 6) and (CostType = 'M') and (SheetID = %1)").arg(sheet));
    const auto loaders = s.comp.calculator.partnerRows(6, QStringLiteral("M"), sheet);
    QCOMPARE(loaders.size(), 2);
    QCOMPARE(loaders[0].planId, first);
    QCOMPARE(loaders[1].planId, second);
    QCOMPARE(loaders[1].addedEquipId, -1);
    QVERIFY(s.comp.calculator.partnerRows(6, QStringLiteral("D"), sheet).isEmpty());  // another worksheet kind
    QCOMPARE(s.comp.calculator.partnerRows(7, QStringLiteral("M"), sheet).size(), 1);
}

void TestComputation::matchAddedHoursErrors()
{
    Sheet s;
    const int truck = s.truck(777);
    s.dm.EquipMatT.locate({QStringLiteral("PlanID")}, {truck});
    s.list.ds = &s.dm.EquipMatT;
    s.comp.calculator.MatchAddedHours(EquipmentCalculator::MatchSide::Truck);
    QCOMPARE(s.dialogs.texts(), QStringList{QStringLiteral("Error finding loader or excavator worksheet for max hours!")});
    const int loose = s.loader();
    s.dm.EquipMatT.locate({QStringLiteral("PlanID")}, {loose});
    s.comp.calculator.MatchAddedHours(EquipmentCalculator::MatchSide::Loader);  // -1: silent
    QCOMPARE(s.dialogs.shown.size(), 1);
    s.dm.EquipMatT.edit();
    s.dm.EquipMatT.fieldByName(QStringLiteral("AddedEquipID")).setAsInteger(555);
    s.dm.EquipMatT.post();
    s.comp.calculator.MatchAddedHours(EquipmentCalculator::MatchSide::Loader);
    QCOMPARE(s.dialogs.texts().last(), QStringLiteral("Error finding truck worksheet for max hours!"));
}

void TestComputation::totalsKeepPositions()
{
    Sheet s;
    s.addDemolition(QStringLiteral("Office"), 1000, 6.5);
    const int dozer = s.addEquipment(s.dm.EquipDemoT, 0,
                                     with(kUnitFactors, {{"EffFact", 1.0}, {"HourProd", 100.0}, {"Volume", 1000.0},
                                                         {"OperatCost", 100.0}, {"LaborCost", 50.0}}));
    s.addEquipment(s.dm.EquipDemoT, 12, {{"OperatCost", 100.0}});  // outside the kinds: 0 hours
    s.addDemolition(QStringLiteral("Shop"), 200, 10);
    s.addDemolition(QStringLiteral("Tank"));
    s.dm.DemolT.first();
    s.dm.EquipDemoT.locate({QStringLiteral("PlanID")}, {dozer});
    const Bookmark sheet = s.dm.DemolT.bookmark();
    const double total = s.comp.totals.TotalDemoCost();
    QCOMPARE(total, 6500.0 + 2000.0 + 11 * 150.0);
    QCOMPARE(s.dm.DemolT.bookmark(), sheet);
    QCOMPARE(s.dm.EquipDemoT.fieldByName(QStringLiteral("PlanID")).asInteger(), dozer);
    QVERIFY(s.dm.CalcEnabled);
    QCOMPARE(s.comp.calculator.ActivityName, QStringLiteral("Demolition"));
    QCOMPARE(s.comp.totals.TotalMatCost(), 0.0);  // an earthmoving sheet without equipment costs nothing
    s.addSheet(s.dm.OtherT, {{"Name", "Wells"}, {"Description", "Plug"}, {"Assumptions", "4 wells"},
                             {"CostCal", "4 x 1750"}, {"TotalCost", 7000.0}});
    QCOMPARE(s.comp.totals.TotalOtherCost(), 7000.0);
    QCOMPARE(s.window.totals.value(QLatin1Char('O')), QStringLiteral("   $7,000.00"));
}

void TestComputation::revegetationTotal_data()
{
    QTest::addColumn<double>("seedFail");
    QTest::addColumn<double>("expected");
    // Seeding 10 × (100 + 200), planting 5 × (50 + 300), reseeding 50 × rate% × (100 + 200), other 400.
    QTest::newRow("no failures") << 0.0 << 3000.0 + 1750.0 + 400.0;
    QTest::newRow("10 % reseeded") << 10.0 << 3000.0 + 1750.0 + 1500.0 + 400.0;
    QTest::newRow("all reseeded") << 100.0 << 3000.0 + 1750.0 + 15000.0 + 400.0;
}

void TestComputation::revegetationTotal()
{
    QFETCH(double, seedFail);
    QFETCH(double, expected);
    Sheet s;
    s.addSheet(s.dm.RevegT, {{"Name", "Area"}, {"AcresSeed", 10.0}, {"CostSeedBed", 100.0}, {"CostSeed", 200.0},
                             {"AcresPlant", 5.0}, {"CostPlant", 300.0}, {"CostHerb", 50.0}, {"RAcresSeed", 50.0},
                             {"RCostSeedBed", 100.0}, {"RCostSeed", 200.0}, {"SeedFail", seedFail}, {"OtherCost", 400.0}});
    QCOMPARE(s.comp.totals.TotalRevegCost(), expected);
    QCOMPARE(s.window.products[2], seedFail * 50 / 100 * 300);
}

void TestComputation::money_data()
{
    QTest::addColumn<double>("dollars");
    QTest::addColumn<qint64>("units");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << 1234.5 << qint64(12345000) << "   $1,234.50";
    QTest::newRow("tie to even, down") << 0.00005 << qint64(0) << "       $0.00";
    QTest::newRow("tie to even, up") << 0.00015 << qint64(2) << "       $0.00";
    QTest::newRow("negative") << -1234567.891 << qint64(-12345678910) << "($1,234,567.89)";
    QTest::newRow("millions") << 4808967.6718 << qint64(48089676718) << "$4,808,967.67";
    QTest::newRow("half cent shown away from zero") << 0.125 << qint64(1250) << "       $0.13";
}

void TestComputation::money()
{
    QFETCH(double, dollars);
    QFETCH(qint64, units);
    QFETCH(QString, text);
    // 0.00005 and 0.00015 are not exact in binary: the exact value decides, as it lies just off the tie.
    const Money m = Money::fromDouble(dollars);
    if (QByteArray(QTest::currentDataTag()).startsWith("tie"))
        QCOMPARE(m.units(), static_cast<qint64>(std::nearbyint(static_cast<long double>(dollars) * 10000)));
    else
        QCOMPARE(m.units(), units);
    QCOMPARE(formatMoney(m), text);
    QCOMPARE(Money::product(0.5, Money::fromUnits(3)).units(), qint64(2));   // 1.5 → 2
    QCOMPARE(Money::product(0.5, Money::fromUnits(5)).units(), qint64(2));   // 2.5 → 2
    QCOMPARE(Money::product(Money::fromUnits(12300), Money::fromUnits(12345)).units(), qint64(15184));  // 1.23 × 1.2345
}

void TestComputation::moneyLimits_data()
{
    QTest::addColumn<double>("dollars");
    QTest::addColumn<bool>("fits");
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("max digits of a money field") << 999999999999.99 << true;
    QTest::newRow("max + 1 digit") << 9999999999999.99 << true;
    QTest::newRow("near 9.2e14, inside") << 922337203685477.0 << true;
    QTest::newRow("near 9.2e14, outside") << 922337203685478.0 << false;
    QTest::newRow("negative edge, outside") << -922337203685478.0 << false;
    QTest::newRow("1e16") << 1e16 << false;
    QTest::newRow("1e200") << 1e200 << false;
    QTest::newRow("inf") << inf << false;
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << false;
}

// Money holds what fits in 64 bits of ten-thousandths and refuses the rest; sums,
// differences and products never wrap.
void TestComputation::moneyLimits()
{
    QFETCH(double, dollars);
    QFETCH(bool, fits);
    QCOMPARE(Money::fits(dollars), fits);
    bool refused = false;
    try {
        const Money m = Money::fromDouble(dollars);
        QVERIFY(std::fabs(m.toDouble() - dollars) <= 0.0001 * std::max(1.0, std::fabs(dollars) * 1e-15));
        QVERIFY(!formatMoney(dollars).contains(QLatin1Char('-')));
    } catch (const MoneyRangeError& e) {
        refused = true;
        QVERIFY2(e.message().contains(QStringLiteral("beyond the range")) || e.message().contains(QStringLiteral("finite")),
                 qPrintable(e.message()));
    }
    QCOMPARE(refused, !fits);
    if (!fits)
        return;
    // Twice an amount near the edge, or a product past it, is an error, not a wrapped amount.
    const Money m = Money::fromDouble(dollars);
    const bool sumFits = std::fabs(2 * dollars) <= Money::maxDollars();
    QCOMPARE(Money::fits(2 * dollars), sumFits);
    auto raises = [](const std::function<void()>& f) {
        try {
            f();
        } catch (const MoneyRangeError&) {
            return true;
        }
        return false;
    };
    QCOMPARE(raises([&] { (void)(m + m); }), !sumFits);
    QCOMPARE(raises([&] { (void)(Money() - m - m); }), !sumFits);
    QCOMPARE(raises([&] { (void)Money::product(2.0, m); }), !sumFits);
    QCOMPARE(raises([&] { (void)Money::product(m, Money::fromDouble(2.0)); }), !sumFits);
    QCOMPARE(raises([&] { (void)Money::sum(dollars, m); }), !sumFits);
    QCOMPARE(raises([&] { (void)Money::product(dollars, 2.0); }), !sumFits);
}

void TestComputation::storedNumberLimits_data()
{
    QTest::addColumn<QString>("stored");  // as written into the file, an SQL literal
    QTest::addColumn<bool>("usable");
    QTest::addColumn<QString>("bondError");
    QTest::newRow("max digits of a money field") << "999999999999.99" << true << "";
    QTest::newRow("max + 1 digit") << "9999999999999.99" << true << "";
    QTest::newRow("near 9.2e14: the bond's sum no longer fits")
        << "922337203685477" << true << "Item 1, Total facility and structure removal cost";
    QTest::newRow("beyond 9.2e14") << "922337203685478" << false << "";
    QTest::newRow("1e200") << "1e200" << false << "";
    QTest::newRow("inf") << "9e999" << false << "";
    QTest::newRow("NaN as text") << "'NaN'" << false << "";
    QTest::newRow("text that is no number") << "'12 dollars'" << false << "";
}

// A unit cost in the file that cannot be used: the worksheet still reads, the totals
// and the bond leave its row out and name it once, the other rows count.
void TestComputation::storedNumberLimits()
{
    QFETCH(QString, stored);
    QFETCH(bool, usable);
    QFETCH(QString, bondError);
    World w;
    w.addMine(QStringLiteral("Limits Mine"));
    w.addProject(QStringLiteral("Pit"));
    w.addDemolition(QStringLiteral("Good"), 2, 50);
    w.addDemolition(QStringLiteral("Odd"), 1, 1);
    const int odd = w.dm.DemolT.fieldByName(QStringLiteral("SheetID")).asInteger();
    w.dm.TarvaneDatabase.execSql(QStringLiteral("UPDATE \"DEMOL.DB\" SET UnitCost = %1 WHERE SheetID = %2").arg(stored).arg(odd));
    w.dialogs.shown.clear();
    w.dialogs.userActed();

    // The worksheet reads from first to last; the odd row's cost is empty when it cannot be computed.
    w.dm.DemolT.refresh();
    int rows = 0;
    for (w.dm.DemolT.first(); !w.dm.DemolT.eof(); w.dm.DemolT.next()) {
        ++rows;
        const bool isOdd = w.dm.DemolT.fieldByName(QStringLiteral("SheetID")).asInteger() == odd;
        const Field& cost = w.dm.DemolT.fieldByName(QStringLiteral("DemoCost"));
        if (!isOdd)
            QCOMPARE(cost.asFloat(), 100.0);
        else if (!usable)
            QVERIFY(cost.isNull());
    }
    QCOMPARE(rows, 2);
    // The empty cost says why, naming the worksheet as the user knows it.
    if (!usable)
        QVERIFY2(w.dialogs.texts().join(QLatin1Char('\n')).contains(QStringLiteral(
                     "The calculated fields of the Demolition worksheet cannot be computed for this record: ")),
                 qPrintable(w.dialogs.texts().join(QLatin1Char('|'))));

    const double total = w.comp.totals.TotalDemoCost();
    if (usable)
        QVERIFY(total > 100.0);
    else
        QCOMPARE(total, 100.0);
    const QString row = QStringLiteral("DEMOL.DB, SheetID %1: UnitCost").arg(odd);
    auto reports = [&] {
        int n = 0;
        for (const QString& t : w.dialogs.texts())
            n += t.contains(row) ? 1 : 0;
        return n;
    };
    QCOMPARE(reports(), usable ? 0 : 1);
    // Read again in the same action: not shown again.
    w.comp.totals.TotalDemoCost();
    QCOMPARE(reports(), usable ? 0 : 1);

    // The bond of the mine: computed from the other rows, or an error naming the item.
    w.dialogs.userActed();
    QString error;
    try {
        w.comp.bond.CalcBondSummary(true);
    } catch (const MoneyRangeError& e) {
        error = e.message();
    }
    if (bondError.isEmpty()) {
        QVERIFY2(error.isEmpty(), qPrintable(error));
        if (!usable)
            QCOMPARE(w.comp.bond.items().item[1].toDouble(), 100.0);
        QVERIFY(w.comp.bond.items().item[13] >= Money());
        QCOMPARE(reports(), usable ? 0 : 2);  // once for the bond
    } else {
        QVERIFY2(error.startsWith(bondError), qPrintable(error));
    }
    if (usable && bondError.isEmpty())
        QVERIFY2(w.dialogs.shown.isEmpty(), qPrintable(w.dialogs.texts().join(QStringLiteral(" | "))));
}

// The totals and the bond walk views of their own: the rows the windows show are not
// moved (no view of theirs scrolls), and what a window has pending is posted first.
void TestComputation::totalsAndBondLeaveTheWindowsViews()
{
    World w;
    QVERIFY(w.selectExampleMine());
    DataModule& dm = w.dm;
    dm.ProjectT.last();
    dm.DemolT.last();
    QVERIFY(!dm.DemolT.isEmpty());
    const QVariant project = dm.ProjectT.fieldByName(QStringLiteral("PrjID")).value();
    const QVariant sheet = dm.DemolT.fieldByName(QStringLiteral("SheetID")).value();
    int scrolls = 0;
    QList<Table*> shown{&dm.MineT, &dm.ProjectT, &dm.DemolT, &dm.MatT, &dm.RevegT, &dm.OtherT,
                        &dm.EquipDemoT, &dm.EquipMatT, &dm.EquipRevegT, &dm.EquipStuffT};
    for (Table* t : shown) {
        const DataSet::Event was = t->beforeScroll;
        t->beforeScroll = [&scrolls, was](DataSet& ds) {
            ++scrolls;
            if (was)
                was(ds);
        };
    }
    // A pending change of the shown demolition row counts, posted.
    const double before = w.comp.totals.TotalDemoCost();
    dm.DemolT.edit();
    dm.DemolT.fieldByName(QStringLiteral("UnitCost"))
        .setAsFloat(dm.DemolT.fieldByName(QStringLiteral("UnitCost")).asFloat() + 1.0);
    const double volume = dm.DemolT.fieldByName(QStringLiteral("Volume")).asFloat();
    const double after = w.comp.totals.TotalDemoCost();
    QCOMPARE(dm.DemolT.state(), DataSetState::Browse);
    QCOMPARE(after, before + volume);
    w.comp.bond.CalcBondSummary(true);
    w.comp.bond.CalcBondSummary(false);
    w.comp.totals.TotalMatCost();
    w.comp.totals.TotalRevegCost();
    w.comp.totals.TotalOtherCost();
    QCOMPARE(scrolls, 0);
    QCOMPARE(dm.ProjectT.fieldByName(QStringLiteral("PrjID")).value(), project);
    QCOMPARE(dm.DemolT.fieldByName(QStringLiteral("SheetID")).value(), sheet);
}

void TestComputation::roundToPlaces_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    QTest::newRow("1234/1000") << 1234.0 / 1000 << 1.23;
    QTest::newRow("1234.6/1000") << 1234.6 / 1000 << 1.24;
    QTest::newRow("1.2346") << 1.2346 << 1.24;
    QTest::newRow("1.2344") << 1.2344 << 1.23;
    QTest::newRow("negative") << -1.2346 << -1.24;
    QTest::newRow("13600/11466") << 13600.0 / 11466 << 1.19;
}

void TestComputation::roundToPlaces()
{
    QFETCH(double, value);
    QFETCH(double, expected);
    QCOMPARE(RoundToPlaces(2, value), expected);
}

void TestComputation::moneyText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("ok");
    QTest::newRow("shown amount") << "  $3,316,529.43" << 3316529.43 << true;
    QTest::newRow("parentheses") << "($1,234.56)" << -1234.56 << true;
    QTest::newRow("plain") << "12.5" << 12.5 << true;
    QTest::newRow("not a number") << "n/a" << -999999.99 << false;
    QTest::newRow("empty") << "" << -999999.99 << false;
}

void TestComputation::moneyText()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QFETCH(bool, ok);
    bool good = !ok;
    QCOMPARE(MoneyTextToFloat(text, &good), value);
    QCOMPARE(good, ok);
}

void TestComputation::feeLookup_data()
{
    QTest::addColumn<double>("cost");  // item 26 of the computed bond; < 0: no bond computed
    QTest::addColumn<double>("profit");
    QTest::addColumn<double>("management");
    QTest::addColumn<int>("messages");
    QTest::newRow("below every row") << 50000.0 << 30.0 << 10.0 << 0;
    QTest::newRow("equal to a row") << 500000.0 << 25.0 << 8.0 << 0;
    QTest::newRow("between two rows") << 500000.01 << 20.0 << 6.0 << 0;
    QTest::newRow("above every row") << 200000000.0 << 15.0 << 3.0 << 0;
    // The item as the page shows it, in whole cents: a part of a cent below one half is not more.
    QTest::newRow("rounded down to a row") << 500000.004 << 25.0 << 8.0 << 0;
    QTest::newRow("rounded up past a row") << 500000.005 << 20.0 << 6.0 << 0;
    QTest::newRow("no bond computed") << -1.0 << 30.0 << 10.0 << 1;
}

// The fee tables are looked up with the bond's item as shown: item 26 here, the
// other reclamation cost of a mine without a Phase II index.
void TestComputation::feeLookup()
{
    QFETCH(double, cost);
    QFETCH(double, profit);
    QFETCH(double, management);
    QFETCH(int, messages);
    World w;
    w.addMine(QStringLiteral("Fee Mine"), {{"ENRIndex5", 13600.0}});
    w.addProject(QStringLiteral("Pit"));
    if (cost >= 0) {
        w.addSheet(w.dm.OtherT, {{"Name", "Item"}, {"Description", "d"}, {"Assumptions", "a"}, {"CostCal", "c"},
                                 {"TotalCost", cost}});
        w.comp.bond.CalcBondSummary(true);
        QCOMPARE(w.comp.bond.items().item[26], Money::fromDouble(cost));
    }
    w.dialogs.shown.clear();
    QCOMPARE(w.comp.bond.ProfitPercentFromTable(2), profit);
    QCOMPARE(w.comp.bond.ManPercentFromTable(2), management);
    QCOMPARE(w.dialogs.shown.size(), 2 * messages);
    if (messages)
        QCOMPARE(w.dialogs.texts().first(), QStringLiteral("Error Converting String to Float"));
}

void TestComputation::bondItems()
{
    World w;
    w.addMine(QStringLiteral("Bond Mine"),
              {{"ENRIndex", 1234.0}, {"ENRIndex5", 1000.0}, {"ENRIndexI", 1.0}, {"MobDemobPercent", 5.0},
               {"ContinPercent", 10.0}, {"EngPercent", 4.0}, {"ProfitPercent", 20.0}, {"ManPercent", 6.0},
               {"MobDemobPercentI", 5.0}, {"ContinOver1", true}, {"Contin1", 2500.0}, {"EngOver", true},
               {"MobDemobPercentII", 7.5}, {"ManPercentII", 3.0}});
    w.addProject(QStringLiteral("One"));
    w.addSheet(w.dm.OtherT, {{"Name", "Item"}, {"Description", "d"}, {"Assumptions", "a"}, {"CostCal", "c"},
                             {"TotalCost", 100000.0}});
    w.addDemolition(QStringLiteral("Slab"), 1000, 6.0);
    w.addProject(QStringLiteral("Two"));
    w.addSheet(w.dm.RevegT, {{"Name", "Area"}, {"OtherCost", 0.03}});
    w.dm.ProjectT.first();
    w.comp.bond.CalcBondSummary(true);
    const BondItems& b = w.comp.bond.items();
    auto dollars = [&](int i) { return b.item[i].units() / 10000.0; };
    QCOMPARE(dollars(1), 6000.0);
    QCOMPARE(dollars(3), 0.03);
    QCOMPARE(dollars(4), 100000.0);
    QCOMPARE(dollars(5), 106000.03);
    QCOMPARE(b.inflationFactor.units(), qint64(12300));
    QCOMPARE(b.item[6].units(), qint64(1303800369));  // 106000.03 × 1.23 = 130380.0369
    QCOMPARE(b.item[7].units(), Money::product(0.05, b.item[6]).units());
    QCOMPARE(b.item[9].units(), qint64(0));  // overridden with an empty amount
    QCOMPARE(b.item[12], b.item[7] + b.item[8] + b.item[9] + b.item[10] + b.item[11]);
    QCOMPARE(b.item[13], b.item[6] + b.item[12]);
    QCOMPARE(b.item14, 106000.03 * (1234.0 / 1000.0));  // unrounded factor
    QCOMPARE(b.item[16].units(), qint64(25000000));   // the Phase I override amount
    QCOMPARE(b.item[15], Money::product(0.05, b.item14));
    QCOMPARE(b.item[21], Money::sum(b.item14, b.item[20]));
    QCOMPARE(b.item[22], Money::product(0.4, b.item[13]));
    QCOMPARE(b.item[23], std::max(b.item[21], b.item[22]));
    QCOMPARE(b.item[24], b.item[13] - b.item[23]);
    QCOMPARE(b.phase2Factor, 1.0);  // no Phase II index
    QCOMPARE(b.item[26].units(), qint64(1000000300));
    QCOMPARE(b.item[27], Money::product(0.075, b.item[26]));
    QCOMPARE(b.item[31], Money::product(0.03, b.item[26]));
    QCOMPARE(b.item[34], b.item[23] - b.item[33]);
    QCOMPARE(b.factorText(0), QStringLiteral("     1.230"));
    QCOMPARE(b.amountText(5), QStringLiteral(" $106,000.03"));
    QCOMPARE(b.amountText(13), formatMoney(b.item[13]));
    QCOMPARE(b.amountText(14), formatMoney(b.item14));
    QCOMPARE(w.dm.ProjectT.fieldByName(QStringLiteral("ProjectName")).asString(), QStringLiteral("One"));
}

void TestComputation::bondWithoutEarlierIndex()
{
    World w;
    w.addMine(QStringLiteral("No Index"), {{"ENRIndexI", 13600.0}, {"MobDemobPercent", 5.0}});
    w.addProject(QStringLiteral("P"));
    w.addSheet(w.dm.OtherT, {{"Name", "Item"}, {"Description", "d"}, {"Assumptions", "a"}, {"CostCal", "c"},
                             {"TotalCost", 1000.0}});
    w.comp.bond.CalcBondSummary(false);
    const BondItems& b = w.comp.bond.items();
    QCOMPARE(b.inflationFactor.units(), qint64(10000));
    QCOMPARE(b.item[6], b.item[5]);
    QCOMPARE(b.phase1Factor, 1.0);
    QCOMPARE(b.item[7].units(), qint64(500000));
}

void TestComputation::projectBondAndAutomaticFees()
{
    World w;
    w.addMine(QStringLiteral("Auto Fees"), {{"AutoFeeCal", 0}});
    w.addProject(QStringLiteral("Small"));
    w.addSheet(w.dm.OtherT, {{"Name", "Item"}, {"Description", "d"}, {"Assumptions", "a"}, {"CostCal", "c"},
                             {"TotalCost", 50000.0}});
    w.addProject(QStringLiteral("Large"));
    w.addSheet(w.dm.OtherT, {{"Name", "Item"}, {"Description", "d"}, {"Assumptions", "a"}, {"CostCal", "c"},
                             {"TotalCost", 800000.0}});
    w.dm.ProjectT.first();
    w.comp.bond.CalcBondSummary(false);  // the small project's own costs choose the percents
    QCOMPARE(w.dm.MineT.fieldByName(QStringLiteral("ProfitPercent")).asFloat(), 30.0);
    QCOMPARE(w.dm.MineT.fieldByName(QStringLiteral("ManPercentII")).asFloat(), 10.0);
    QCOMPARE(w.comp.bond.items().item[10].units(), qint64(150000000));
    QCOMPARE(w.dm.MineT.state(), DataSetState::Browse);
    w.comp.bond.CalcBondSummary(true);  // the whole mine: 850,000
    QCOMPARE(w.dm.MineT.fieldByName(QStringLiteral("ProfitPercent")).asFloat(), 20.0);
    QCOMPARE(w.dm.MineT.fieldByName(QStringLiteral("ManPercent")).asFloat(), 6.0);
    QCOMPARE(w.comp.bond.items().item[11].units(), qint64(510000000));
    QCOMPARE(w.dm.ProjectT.fieldByName(QStringLiteral("ProjectName")).asString(), QStringLiteral("Small"));
}

// The bond of a mine named by key reads its figures and writes its looked-up percents
// through the computation's own views; the window's mine stays as it is.
void TestComputation::bondOfAMineNoWindowShows()
{
    World w;
    const int autoMine = w.addMine(QStringLiteral("Auto Fees"), {{"AutoFeeCal", 0}});
    const int small = w.addProject(QStringLiteral("Small"));
    w.addSheet(w.dm.OtherT, {{"Name", "Item"}, {"Description", "d"}, {"Assumptions", "a"}, {"CostCal", "c"},
                             {"TotalCost", 50000.0}});
    w.addProject(QStringLiteral("Large"));
    w.addSheet(w.dm.OtherT, {{"Name", "Item"}, {"Description", "d"}, {"Assumptions", "a"}, {"CostCal", "c"},
                             {"TotalCost", 800000.0}});
    const int shown = w.addMine(QStringLiteral("Shown"), {{"ProfitPercent", 12.5}});
    const auto stored = [&](int mine, const char* field) {  // the stored percent, as read outside the views
        return static_cast<double>(w.data.scalar(
                   QStringLiteral("SELECT CAST(ROUND(%1 * 100) AS INTEGER) FROM \"MINE.DB\" WHERE MineID = %2")
                       .arg(QLatin1String(field))
                       .arg(mine))) /
               100.0;
    };

    const auto edits = [&] {  // the event log's edits of the mine, as a window's edit logs them
        return w.data.scalar(QStringLiteral(
            "SELECT COUNT(*) FROM \"EventLog.db\" WHERE MineName = 'Auto Fees' AND Event IN ('Before Edit', 'After Edit')"));
    };
    const qint64 editsBefore = edits();
    w.comp.bond.CalcBondSummaryOf(autoMine, std::nullopt);  // the whole mine: 850,000
    QCOMPARE(edits(), editsBefore + 2);
    QCOMPARE(w.comp.bond.items().item[4].units(), qint64(8500000000));
    QCOMPARE(w.comp.bond.items().item[11].units(), qint64(510000000));
    QCOMPARE(stored(autoMine, "ProfitPercent"), 20.0);
    QCOMPARE(w.comp.bond.items().percent[10], 20.0);  // profit and overhead, as written
    QCOMPARE(stored(autoMine, "ManPercent"), 6.0);

    w.comp.bond.CalcBondSummaryOf(autoMine, QVariant(small));  // the small project's own costs
    QCOMPARE(w.comp.bond.items().item[10].units(), qint64(150000000));
    QCOMPARE(stored(autoMine, "ProfitPercent"), 30.0);
    QCOMPARE(stored(autoMine, "ManPercentII"), 10.0);

    QCOMPARE(w.dm.MineT.fieldByName(QStringLiteral("MineID")).asInteger(), shown);
    QCOMPARE(w.dm.MineT.state(), DataSetState::Browse);
    QCOMPARE(w.dm.MineT.fieldByName(QStringLiteral("ProfitPercent")).asFloat(), 12.5);
    QCOMPARE(stored(shown, "ProfitPercent"), 12.5);

    QVERIFY_THROWS_EXCEPTION(EDatabaseError, w.comp.bond.CalcBondSummaryOf(999999, std::nullopt));
}

void TestComputation::explanationsAddUp_data()
{
    QTest::addColumn<bool>("generated");
    QTest::addColumn<bool>("oneProject");
    QTest::newRow("example mine") << false << false;
    QTest::newRow("example project") << false << true;
    QTest::newRow("generated mine") << true << false;
}

// Every item's tree is the computation's own: its root is the item as the bond gives it,
// every node follows from its parts by its rule, and every stored value is the one the
// file holds where the node says.
void TestComputation::explanationsAddUp()
{
    QFETCH(bool, generated);
    QFETCH(bool, oneProject);
    World w;
    const int mine = generated ? generateMine(w.dm, 3, 6, 4, 5) : 1;
    std::optional<QVariant> project;
    if (oneProject)
        project = QVariant(static_cast<int>(w.data.scalar(QStringLiteral("SELECT MAX(PrjID) FROM \"PROJECT.DB\" WHERE MineID = %1").arg(mine))));
    const std::array<ExplainPtr, 35> tree = w.comp.bond.ExplainBond(mine, project);
    const BondItems b = w.comp.bond.items();
    w.comp.bond.CalcBondSummaryOf(mine, project);  // the same bond, not explained
    int nodes = 0, stored = 0, machines = 0;
    QSet<const ExplainNode*> seen;
    std::function<void(const ExplainNode&)> check = [&](const ExplainNode& n) {
        if (seen.contains(&n))
            return;
        seen.insert(&n);
        ++nodes;
        if (!n.addsUp())
            QFAIL(qPrintable(QStringLiteral("%1 = %2 does not follow from its parts (%3)").arg(n.label).arg(n.value, 0, 'g', 17).arg(n.ruleText())));
        if (n.label.startsWith(QLatin1String("Machine ")))
            ++machines;
        if (n.kind == ExplainNode::Rule::Stored && n.source.stored() && !n.source.field.isEmpty()) {
            ++stored;
            const double v = w.data.real(QStringLiteral("SELECT COALESCE(%1, 0) FROM \"%2\" WHERE %3 = %4")
                                             .arg(n.source.field, n.source.table, n.source.keyField)
                                             .arg(n.source.key));
            QCOMPARE(v, n.value);
        }
        for (const ExplainPtr& p : n.parts)
            check(*p);
    };
    for (int i = 1; i <= 34; ++i) {
        QVERIFY(tree[static_cast<size_t>(i)]);
        const ExplainNode& root = *tree[static_cast<size_t>(i)];
        QCOMPARE(root.value, i == 14 ? b.item14 : b.item[static_cast<size_t>(i)].toDouble());
        QCOMPARE(root.value, i == 14 ? w.comp.bond.items().item14 : w.comp.bond.items().item[static_cast<size_t>(i)].toDouble());
        QVERIFY(root.label.startsWith(QStringLiteral("Item %1, ").arg(i)));
        check(root);
    }
    const qint64 planned = w.data.scalar(
        oneProject ? QStringLiteral("SELECT COUNT(*) FROM \"Equipment.DB\" e WHERE EXISTS (SELECT 1 FROM \"MATERIAL.DB\" s WHERE "
                                    "s.PrjID = %1 AND s.SheetID = e.SheetID AND e.CostType = 'M') OR EXISTS (SELECT 1 FROM "
                                    "\"DEMOL.DB\" s WHERE s.PrjID = %1 AND s.SheetID = e.SheetID AND e.CostType = 'D') OR "
                                    "EXISTS (SELECT 1 FROM \"REVEG.DB\" s WHERE s.PrjID = %1 AND s.SheetID = e.SheetID AND "
                                    "e.CostType = 'R')")
                           .arg(project->toInt())
                   : QStringLiteral("SELECT COUNT(*) FROM \"Equipment.DB\" e JOIN (SELECT PrjID, SheetID, 'D' AS t FROM "
                                    "\"DEMOL.DB\" UNION ALL SELECT PrjID, SheetID, 'M' FROM \"MATERIAL.DB\" UNION ALL "
                                    "SELECT PrjID, SheetID, 'R' FROM \"REVEG.DB\") s ON s.SheetID = e.SheetID AND s.t = "
                                    "e.CostType JOIN \"PROJECT.DB\" p ON p.PrjID = s.PrjID WHERE p.MineID = %1")
                           .arg(mine));
    QCOMPARE(machines, static_cast<int>(planned));  // every machine of the estimate is in the tree, once
    QVERIFY(stored > machines);
    QVERIFY(nodes > 50);
}

// ---------------------------------------------------------------- truck calculator

namespace {

// An excavator with a 3-unit bucket payload, a 20-unit truck and a half-minute
// cycle: 6 passes of 3, loaded in 3 minutes; truck cycle 10 + 5 + 2 + 3 = 20 minutes.
TruckInputs exampleTrucks()
{
    TruckInputs in;
    in.volume = 3312;  // 10 loader hours at (3 × 60 ÷ 0.5) × 0.92 = 331.2 an hour
    in.excavator = true;
    in.cycle = 0.5;
    in.bucket = 3;
    in.fill = 1;
    in.truckCapacity = 20;
    in.truckHaul = 10;
    in.truckReturn = 5;
    in.dump = 2;
    in.truckLabor = 20;
    in.truckEquip = 40;
    in.loaderLabor = 30;
    in.loaderEquip = 70;
    in.trucks = 2;
    return in;
}

}  // namespace

void TestComputation::truckCalculatorChecks_data()
{
    const QString one = QStringLiteral("The value of the item shown in red must be greater than zero.\nChange the value "
                                       "of this item and try to calculate again");
    QTest::addColumn<bool>("excavator");
    QTest::addColumn<QList<double>>("times");  // haul, return, cycle, bucket, fill, truck capacity
    QTest::addColumn<int>("trucks");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QList<TruckField>>("red");
    QTest::newRow("loader times all zero")
        << false << QList<double>{0, 0, 0, 3, 1, 20} << 2
        << QStringLiteral("The sum of these 3 items shown in red must be greater than zero.\nChange the values of these "
                          "items and try to calculate again")
        << QList<TruckField>{TruckField::LoaderHaul, TruckField::LoaderReturn, TruckField::Cycle};
    QTest::newRow("loader times sum below zero")
        << false << QList<double>{1, -2, 0.5, 3, 1, 20} << 2
        << QStringLiteral("The sum of these 3 items shown in red must be greater than zero.\nChange the values of these "
                          "items and try to calculate again")
        << QList<TruckField>{TruckField::LoaderHaul, TruckField::LoaderReturn, TruckField::Cycle};
    QTest::newRow("excavator cycle zero, loader times ignored")
        << true << QList<double>{4, 4, 0, 3, 1, 20} << 2 << one << QList<TruckField>{TruckField::Cycle};
    QTest::newRow("fill factor zero")
        << false << QList<double>{1, 1, 0.5, 3, 0, 20} << 2
        << QStringLiteral("The values of both the items shown in red must be greater than zero.\nChange the values of "
                          "these items and try to calculate again")
        << QList<TruckField>{TruckField::Bucket, TruckField::Fill};
    QTest::newRow("bucket below zero")
        << true << QList<double>{0, 0, 0.5, -3, 1, 20} << 2
        << QStringLiteral("The values of both the items shown in red must be greater than zero.\nChange the values of "
                          "these items and try to calculate again")
        << QList<TruckField>{TruckField::Bucket, TruckField::Fill};
    QTest::newRow("truck smaller than one payload")
        << true << QList<double>{0, 0, 0.5, 3, 1, 2.9} << 2 << one << QList<TruckField>{TruckField::TruckCapacity};
    QTest::newRow("no trucks") << true << QList<double>{0, 0, 0.5, 3, 1, 20} << 0 << one
                               << QList<TruckField>{TruckField::Trucks};
    QTest::newRow("all good") << false << QList<double>{1, 1, 0.5, 3, 1, 20} << 2 << QString() << QList<TruckField>{};
}

void TestComputation::truckCalculatorChecks()
{
    QFETCH(bool, excavator);
    QFETCH(QList<double>, times);
    QFETCH(int, trucks);
    QFETCH(QString, message);
    QFETCH(QList<TruckField>, red);
    TruckInputs in = exampleTrucks();
    in.excavator = excavator;
    in.loaderHaul = times[0];
    in.loaderReturn = times[1];
    in.cycle = times[2];
    in.bucket = times[3];
    in.fill = times[4];
    in.truckCapacity = times[5];
    in.trucks = trucks;
    const auto failure = checkTruckInputs(in);
    QCOMPARE(failure.has_value(), !message.isEmpty());
    if (failure) {
        QCOMPARE(failure->message, message);
        QCOMPARE(failure->red, red);
        QVERIFY(std::holds_alternative<TruckCheckFailure>(calculateTrucks(in)));
    }
}

void TestComputation::truckCalculatorLoading()
{
    const TruckLoading l = truckLoading(exampleTrucks());
    QCOMPARE(l.payload, 3.0);
    QCOMPARE(l.passes, 6);
    QCOMPARE(l.load, 18.0);
    QCOMPARE(l.loadingTime, 3.0);
    QCOMPARE(l.production, 331.2);
    QCOMPARE(l.loaderHours, 10.0);
}

void TestComputation::truckCalculatorCost()
{
    TruckInputs in = exampleTrucks();
    // 2 trucks haul 2 × 18 ÷ 20 × 60 × 0.92 = 99.36 an hour: 33 1/3 hours, slower than the
    // loader's 10; (20 + 40) × 2 × 33 1/3 + (30 + 70) × 33 1/3.
    QCOMPARE(TotalCostForTrucks(in, 2), 7333.333333333333);
    // Up to 6 trucks the hauling is slower (4000 + 6666.67 ÷ n), from 7 on the loader (600 n + 1000).
    QCOMPARE(TotalCostForTrucks(in, 6), 4000 + 6666.666666666667 / 6);
    QCOMPARE(TotalCostForTrucks(in, 7), 5200.0);
    QCOMPARE(OptimalTruckCount(in), 6);
    const auto result = calculateTrucks(in);
    QVERIFY(std::holds_alternative<TruckResult>(result));
    const TruckResult& r = std::get<TruckResult>(result);
    QCOMPARE(r.totalCost, 7333.333333333333);
    QCOMPARE(r.optimalTrucks, std::optional<int>(6));
    QCOMPARE(*r.optimalCost, TotalCostForTrucks(in, 6));

    // Hidden loader times are not used by an excavator.
    TruckInputs withTimes = in;
    withTimes.loaderHaul = 7;
    withTimes.loaderReturn = 9;
    QCOMPARE(TotalCostForTrucks(withTimes, 2), TotalCostForTrucks(in, 2));
    // A loader counts them: cycle 0.5 + 0.25 + 0.25 = 1 minute, 6 passes load in 6 minutes.
    withTimes.excavator = false;
    withTimes.loaderHaul = 0.25;
    withTimes.loaderReturn = 0.25;
    QCOMPARE(truckLoading(withTimes).loadingTime, 6.0);
    QCOMPARE(truckLoading(withTimes).production, 0.92 * 3 * 60);
}

void TestComputation::truckCalculatorSearch_data()
{
    QTest::addColumn<QList<double>>("head");  // the costs of 1, 2, ...; beyond: the last one plus n
    QTest::addColumn<int>("optimal");
    QTest::newRow("falls then rises") << QList<double>{10, 8, 7, 6, 5, 6} << 5;
    QTest::newRow("rises at once") << QList<double>{10, 11} << 1;
    QTest::newRow("equal moves to the larger count") << QList<double>{10, 8, 8, 9} << 3;
    QTest::newRow("equal at the start") << QList<double>{5, 5, 5, 6} << 3;
    QTest::newRow("never rises") << QList<double>{} << 998;
}

void TestComputation::truckCalculatorSearch()
{
    QFETCH(QList<double>, head);
    QFETCH(int, optimal);
    int calls = 0;
    const auto cost = [&](int n) {
        ++calls;
        if (head.isEmpty())
            return 100.0;  // every count costs the same
        return n <= head.size() ? head[n - 1] : head.last() + n;
    };
    QCOMPARE(lowestCostCount(cost), optimal);
    QVERIFY(calls <= 999);
    if (head.isEmpty())
        QCOMPARE(calls, 999);
}

void TestComputation::truckCalculatorZeroCost()
{
    TruckInputs in = exampleTrucks();
    in.truckLabor = in.truckEquip = in.loaderLabor = in.loaderEquip = 0;
    auto r = std::get<TruckResult>(calculateTrucks(in));
    QCOMPARE(r.totalCost, 0.0);
    QVERIFY(!r.optimalTrucks && !r.optimalCost);
    in = exampleTrucks();
    in.volume = 0;
    r = std::get<TruckResult>(calculateTrucks(in));
    QCOMPARE(r.totalCost, 0.0);
    QVERIFY(!r.optimalTrucks);
    // Only the loader costs and the loader is the slower from one truck on: every count
    // costs the same, so the walk ends at 998.
    in = exampleTrucks();
    in.truckLabor = in.truckEquip = 0;
    in.volume = 3312;
    in.truckHaul = in.truckReturn = in.dump = 0;  // a truck cycle of 3 minutes: 331.2 an hour from one truck
    in.trucks = 1;
    r = std::get<TruckResult>(calculateTrucks(in));
    QCOMPARE(r.totalCost, 1000.0);
    QCOMPARE(r.optimalTrucks, std::optional<int>(998));
    QCOMPARE(*r.optimalCost, 1000.0);
}

QTEST_GUILESS_MAIN(TestComputation)
#include "tst_computation.moc"
