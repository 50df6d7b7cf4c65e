// The bond of a generated mine of 50 projects × 20 worksheets × 10 machines,
// against one bare SQLite read of every row the bond needs, in the same process.
#include "BenchComputation.h"
#include "SyntheticMine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <sqlite3.h>

namespace {

// Every worksheet and equipment row of the mine's projects (or of one project:
// `by` "p.PrjID"), the fields the bond reads.
double bareRead(const QString& file, int id, qint64& rows, const char* by = "p.MineID")
{
    sqlite3* h = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &h, SQLITE_OPEN_READONLY, nullptr);
    const char* sql[] = {
        "SELECT d.Volume, d.UnitCost FROM \"DEMOL.DB\" d JOIN \"PROJECT.DB\" p ON d.PrjID = p.PrjID WHERE p.MineID = ?",
        "SELECT r.AcresSeed, r.CostSeedBed, r.CostSeed, r.AcresPlant, r.CostPlant, r.CostHerb, r.RAcresSeed, "
        "r.RCostSeedBed, r.RCostSeed, r.SeedFail, r.RAcresPlant, r.RCostPlant, r.RCostHerb, r.PlantFail, r.OtherCost "
        "FROM \"REVEG.DB\" r JOIN \"PROJECT.DB\" p ON r.PrjID = p.PrjID WHERE p.MineID = ?",
        "SELECT o.TotalCost FROM \"OTHERREC.DB\" o JOIN \"PROJECT.DB\" p ON o.PrjID = p.PrjID WHERE p.MineID = ?",
        "SELECT e.EquipCode2, e.OperatCost, e.LaborCost, e.AddedEquipID, e.LoadExcavRG, e.Volume, e.EffFact, e.HourProd, "
        "e.OpFact, e.MatFact, e.GradeFact, e.WeiFact, e.ProdFact, e.Visibil, e.Elevation, e.Speed, e.Blade, e.Acres, "
        "e.CutL, e.Turn, e.CutS, e.ToolPenetration, e.BuckCap, e.FillFact, e.BuckFact, e.CycleT, e.HaulT, e.ReturnT, "
        "e.DumpT, e.TruckCap, e.LoadT, e.TripT, e.SpreadT, e.AdjustedLoad, e.PusherFactor, e.AddHours, e.HrsReg, "
        "e.NumTrucks, e.OverrideTruck FROM \"Equipment.DB\" e JOIN (SELECT 'D' AS t, SheetID, PrjID FROM \"DEMOL.DB\" "
        "UNION ALL SELECT 'M', SheetID, PrjID FROM \"MATERIAL.DB\" UNION ALL SELECT 'R', SheetID, PrjID FROM "
        "\"REVEG.DB\") s ON e.CostType = s.t AND e.SheetID = s.SheetID JOIN \"PROJECT.DB\" p ON s.PrjID = p.PrjID "
        "WHERE p.MineID = ?"};
    double sum = 0;
    rows = 0;
    for (const char* q : sql) {
        sqlite3_stmt* st = nullptr;
        const QByteArray sql = QByteArray(q).replace("p.MineID", by);
        sqlite3_prepare_v2(h, sql.constData(), -1, &st, nullptr);
        sqlite3_bind_int(st, 1, id);
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(st); ++c)
                sum += sqlite3_column_double(st, c);
            ++rows;
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(h);
    return sum;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    BenchComputation b;
    if (!b.open())
        return 1;
    DataModule& dm = b.dm;
    QElapsedTimer t;
    t.start();
    const int mineId = generateMine(dm, 50, 20, 10, 7);
    const double generateMs = t.nsecsElapsed() / 1e6;
    if (!dm.MineT.locate({QStringLiteral("MineID")}, {mineId}))
        return 1;

    // BENCH_ROUNDS: more rounds, for a profiler.
    const int rounds = qEnvironmentVariableIsSet("BENCH_ROUNDS") ? qEnvironmentVariableIntValue("BENCH_ROUNDS") : 3;
    double bestBond = 1e12, bestBare = 1e12, bestProject = 1e12, bestProjectBare = 1e12;
    qint64 rows = 0, projectRows = 0;
    dm.ProjectT.first();
    const int projectId = dm.ProjectT.fieldByName(QStringLiteral("PrjID")).asInteger();
    for (int round = 0; round < rounds; ++round) {
        t.restart();
        b.comp.bond.CalcBondSummary(true);
        bestBond = std::min(bestBond, t.nsecsElapsed() / 1e6);
        t.restart();
        const double sum = bareRead(b.data.file, mineId, rows);
        bestBare = std::min(bestBare, t.nsecsElapsed() / 1e6);
        if (sum == 0)
            return 1;
    }
    const QString mineTotal = b.comp.bond.items().amountText(13).trimmed();
    for (int round = 0; round < rounds; ++round) {
        t.restart();
        b.comp.bond.CalcBondSummary(false);
        bestProject = std::min(bestProject, t.nsecsElapsed() / 1e6);
        t.restart();
        const double sum = bareRead(b.data.file, projectId, projectRows, "p.PrjID");
        bestProjectBare = std::min(bestProjectBare, t.nsecsElapsed() / 1e6);
        if (sum == 0)
            return 1;
    }
    std::printf("generated mine: 50 projects x 20 worksheets x 10 machines in %.0f ms\n", generateMs);
    std::printf("total bond amount: %s\n", qPrintable(mineTotal));
    std::printf("CalcBondSummary (all projects): %8.1f ms\n", bestBond);
    std::printf("bare SQLite read of %lld rows:  %8.1f ms\n", static_cast<long long>(rows), bestBare);
    std::printf("ratio bond / bare read:         %8.2f (aim: within 3)\n", bestBond / bestBare);
    std::printf("CalcBondSummary (one project):  %8.2f ms\n", bestProject);
    std::printf("bare SQLite read of %lld rows:    %8.2f ms\n", static_cast<long long>(projectRows), bestProjectBare);
    std::printf("ratio project bond / bare read: %8.2f (aim: within 3)\n", bestProject / bestProjectBare);
    return 0;
}
