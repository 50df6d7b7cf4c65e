// The explained bond and the comparison of two estimates, against the bond alone, on a
// generated mine of 50 projects × 20 worksheets × 10 machines and its copy's twin (a second
// generated mine of the same seed), in the same process.
#include "BenchComputation.h"
#include "MineComparison.h"
#include "SyntheticMine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    BenchComputation b;
    if (!b.open())
        return 1;
    DataModule& dm = b.dm;
    const int mineId = generateMine(dm, 50, 20, 10, 7);
    const int twinId = generateMine(dm, 50, 20, 10, 7);
    const int rounds = qEnvironmentVariableIsSet("BENCH_ROUNDS") ? qEnvironmentVariableIntValue("BENCH_ROUNDS") : 3;
    double bestBond = 1e12, bestExplain = 1e12, bestCompare = 1e12;
    qint64 nodes = 0;
    int records = -1;
    QElapsedTimer t;
    for (int round = 0; round < rounds; ++round) {
        t.restart();
        b.comp.bond.CalcBondSummaryOf(mineId, std::nullopt);
        bestBond = std::min(bestBond, t.nsecsElapsed() / 1e6);
        t.restart();
        const std::array<ExplainPtr, 35> tree = b.comp.bond.ExplainBond(mineId, std::nullopt);
        bestExplain = std::min(bestExplain, t.nsecsElapsed() / 1e6);
        if (!tree[13])
            return 1;
        nodes = static_cast<qint64>(tree[5]->parts.size());
        t.restart();
        const MineComparison c = compareMines(b.comp, mineId, twinId);
        bestCompare = std::min(bestCompare, t.nsecsElapsed() / 1e6);
        records = static_cast<int>(c.records.size());
    }
    std::printf("bond alone (all projects):      %8.1f ms\n", bestBond);
    std::printf("bond explained, every item:     %8.1f ms  (ratio %.2f, aim: within 2)\n", bestExplain, bestExplain / bestBond);
    std::printf("comparison of two such mines:   %8.1f ms  (ratio %.2f to one bond; it computes two bonds and\n"
                "                                             reads every row of both: %.2f per mine)\n",
                bestCompare, bestCompare / bestBond, bestCompare / bestBond / 2);
    std::printf("items under item 5: %lld; records that differ: %d\n", static_cast<long long>(nodes), records);
    return 0;
}
