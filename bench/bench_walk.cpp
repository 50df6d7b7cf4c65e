// Walks 100,000 Equipment.DB rows through a view reading five fields, against a
// bare SQLite read of the same rows in the same process.
#include "BenchData.h"
#include "DatabaseStartup.h"
#include "DataModule.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <sqlite3.h>

namespace {

constexpr int kRows = 100000;

void generate(const QString& file)
{
    sqlite3* h = nullptr;
    sqlite3_open(file.toUtf8().constData(), &h);
    sqlite3_exec(h, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_exec(h, "DELETE FROM \"Equipment.DB\"", nullptr, nullptr, nullptr);  // exactly kRows rows walked
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(h,
                       "INSERT INTO \"Equipment.DB\" (CostType, SheetID, EquipCode, EquipCode2, OperatCost, LaborCost, "
                       "EquipmentName, Descriptions, Name, Act, Char, Description, OpFact, MatFact, HourProd, Volume, "
                       "Speed, EffFact, AddedEquipID, Reference, Route) VALUES (?, ?, 0, ?, ?, ?, 'Caterpillar D8', "
                       "'Push topsoil to stockpile', 'North Pit', 'Replace topsoil', 'Crawler dozer, SU blade', "
                       "'Dozer used for topsoil', 0.8, 1.2, 450, ?, 2.5, 0.83, -1, 'Handbook 2024', 'Haul road A')",
                       -1, &st, nullptr);
    const char* types[] = {"D", "M", "R"};
    for (int i = 0; i < kRows; ++i) {
        sqlite3_bind_text(st, 1, types[i % 3], 1, SQLITE_STATIC);
        sqlite3_bind_int(st, 2, 1 + i / 10);
        sqlite3_bind_int(st, 3, i % 10);
        sqlite3_bind_double(st, 4, 100.0 + i % 300);
        sqlite3_bind_double(st, 5, 45.0 + i % 20);
        sqlite3_bind_double(st, 6, 1000.0 + i);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(h, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(h);
}

struct Sums {
    qint64 ints = 0;
    double money = 0;
    qint64 chars = 0;
    bool operator==(const Sums& o) const { return ints == o.ints && money == o.money && chars == o.chars; }
};

Sums walkView(DataModule& dm, int& rows)
{
    Table& t = dm.EquipStuff1T;
    Field& costType = t.fieldByName(QStringLiteral("CostType"));
    Field& sheet = t.fieldByName(QStringLiteral("SheetID"));
    Field& plan = t.fieldByName(QStringLiteral("PlanID"));
    Field& kind = t.fieldByName(QStringLiteral("EquipCode2"));
    Field& cost = t.fieldByName(QStringLiteral("OperatCost"));
    Sums s;
    rows = 0;
    for (t.first(); !t.eof(); t.next()) {
        s.chars += costType.asString().size();
        s.ints += sheet.asInteger() + plan.asInteger() + kind.asInteger();
        s.money += cost.asFloat();
        ++rows;
    }
    return s;
}

Sums walkBare(const QString& file, int& rows)
{
    sqlite3* h = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &h, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(h, "SELECT CostType, SheetID, PlanID, EquipCode2, OperatCost FROM \"Equipment.DB\" ORDER BY rowid",
                       -1, &st, nullptr);
    Sums s;
    rows = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        s.chars += QString::fromUtf8(text, sqlite3_column_bytes(st, 0)).size();
        s.ints += sqlite3_column_int(st, 1) + sqlite3_column_int(st, 2) + sqlite3_column_int(st, 3);
        s.money += sqlite3_column_double(st, 4);
        ++rows;
    }
    sqlite3_finalize(st);
    sqlite3_close(h);
    return s;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    BenchData data;
    data.dir.setAutoRemove(qEnvironmentVariableIsEmpty("BENCH_KEEP"));
    const QString& file = data.file;
    generate(file);
    if (!qEnvironmentVariableIsEmpty("BENCH_KEEP"))
        std::printf("data file: %s\n", file.toUtf8().constData());

    DataModule dm(data.config);
    DatabaseStartup startup(dm);
    const QString failure = startup.ActivateDatabase();
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "%s\n", failure.toUtf8().constData());
        return 1;
    }
    double bestView = 1e9, bestBare = 1e9;
    // BENCH_ROUNDS: more rounds, for a profiler.
    const int rounds = qEnvironmentVariableIsSet("BENCH_ROUNDS") ? qEnvironmentVariableIntValue("BENCH_ROUNDS") : 5;
    for (int round = 0; round < rounds; ++round) {
        int viewRows = 0, bareRows = 0;
        QElapsedTimer t;
        t.start();
        const Sums v = walkView(dm, viewRows);
        bestView = std::min(bestView, t.nsecsElapsed() / 1e6);
        t.restart();
        const Sums b = walkBare(file, bareRows);
        bestBare = std::min(bestBare, t.nsecsElapsed() / 1e6);
        if (!(v == b) || viewRows != kRows || bareRows != kRows) {
            std::fprintf(stderr, "the two reads differ (%d / %d rows)\n", viewRows, bareRows);
            return 1;
        }
    }
    std::printf("rows: %d, fields read per row: 5\n", kRows);
    std::printf("view walk (EquipStuff1T): %8.1f ms\n", bestView);
    std::printf("bare SQLite read:         %8.1f ms\n", bestBare);
    std::printf("ratio view / bare:        %8.2f (aim: within 1.3)\n", bestView / bestBare);
    return 0;
}
