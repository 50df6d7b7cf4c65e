// The copy of a generated mine of 50 projects × 20 worksheets × 10 machines,
// against a bare SQLite INSERT ... SELECT of the same rows (new keys, links
// mapped, no relinking) in the same process, on the same data file.
#include "BenchComputation.h"
#include "CopyDataModule.h"
#include "MineCopy.h"
#include "SyntheticMine.h"
#include "TableFormats.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <sqlite3.h>

namespace {

// The stored fields of a table but the named ones, quoted and joined.
QString columns(const QString& table, const QStringList& without, const QString& prefix = {})
{
    QStringList out;
    for (const TableFormat& f : tarvaneTableFormats())
        if (sameTableName(f.fileName, table))
            for (const FieldDef& d : f.fields)
                if (!without.contains(d.name, Qt::CaseInsensitive))
                    out << prefix + quoteIdent(d.name);
    return out.join(QStringLiteral(", "));
}

void exec(sqlite3* h, const QString& sql)
{
    char* err = nullptr;
    if (sqlite3_exec(h, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::fprintf(stderr, "bare copy: %s\n%s\n", err, qPrintable(sql));
        std::exit(1);
    }
}

// Copies the mine's rows table by table; new keys are mapped through temporary tables. Returns the rows written.
qint64 bareCopy(const QString& file, int mineId)
{
    sqlite3* h = nullptr;
    sqlite3_open(file.toUtf8().constData(), &h);
    sqlite3_busy_timeout(h, 5000);
    qint64 rows = 0;
    const auto run = [&](const QString& sql) {
        exec(h, sql);
        rows += sqlite3_changes(h);
    };
    exec(h, QStringLiteral("BEGIN IMMEDIATE"));
    run(QStringLiteral("INSERT INTO \"MINE.DB\" (%1) SELECT %1 FROM \"MINE.DB\" WHERE MineID = %2")
            .arg(columns(QStringLiteral("MINE.DB"), {QStringLiteral("MineID")}))
            .arg(mineId));
    const qint64 newMine = sqlite3_last_insert_rowid(h);
    // New keys follow the old ones' order: map old -> first new + rank.
    const auto mapped = [&](const QString& map, const QString& table, const QString& key, const QString& where) {
        exec(h, QStringLiteral("CREATE TEMP TABLE %1 (old INTEGER PRIMARY KEY, new INTEGER)").arg(map));
        exec(h, QStringLiteral("INSERT INTO %1 SELECT %2, (SELECT seq FROM sqlite_sequence WHERE name = '%3') + "
                               "row_number() OVER (ORDER BY %2) FROM \"%3\" WHERE %4")
                    .arg(map, key, table, where));
    };
    mapped(QStringLiteral("prj"), QStringLiteral("PROJECT.DB"), QStringLiteral("PrjID"),
           QStringLiteral("MineID = %1").arg(mineId));
    run(QStringLiteral("INSERT INTO \"PROJECT.DB\" (MineID, %1) SELECT %2, %1 FROM \"PROJECT.DB\" WHERE MineID = %3 "
                       "ORDER BY PrjID")
            .arg(columns(QStringLiteral("PROJECT.DB"), {QStringLiteral("PrjID"), QStringLiteral("MineID")}))
            .arg(newMine)
            .arg(mineId));
    const struct {
        const char* table;
        const char* map;
        const char* letter;
    } sheets[] = {{"DEMOL.DB", "demol", "D"}, {"MATERIAL.DB", "mat", "M"}, {"REVEG.DB", "reveg", "R"},
                  {"OTHERREC.DB", "other", nullptr}};
    for (const auto& s : sheets) {
        const QString table = QString::fromLatin1(s.table);
        const QString cols = columns(table, {QStringLiteral("PrjID"), QStringLiteral("SheetID")}, QStringLiteral("t."));
        mapped(QString::fromLatin1(s.map), table, QStringLiteral("SheetID"),
               QStringLiteral("PrjID IN (SELECT old FROM prj)"));
        run(QStringLiteral("INSERT INTO \"%1\" (PrjID, %2) SELECT prj.new, %3 FROM \"%1\" t JOIN prj ON t.PrjID = "
                           "prj.old ORDER BY t.SheetID")
                .arg(table, QString(cols).remove(QStringLiteral("t.")), cols));
        if (!s.letter)
            continue;
        const QString ecols = columns(QStringLiteral("Equipment.DB"),
                                      {QStringLiteral("CostType"), QStringLiteral("SheetID"), QStringLiteral("PlanID"),
                                       QStringLiteral("AddedEquipID")},
                                      QStringLiteral("e."));
        run(QStringLiteral("INSERT INTO \"Equipment.DB\" (CostType, SheetID, %1) SELECT e.CostType, m.new, %2 FROM "
                           "\"Equipment.DB\" e JOIN %3 m ON e.SheetID = m.old WHERE e.CostType = '%4' ORDER BY m.new, "
                           "e.PlanID")
                .arg(QString(ecols).remove(QStringLiteral("e.")), ecols, QString::fromLatin1(s.map),
                     QString::fromLatin1(s.letter)));
    }
    exec(h, QStringLiteral("COMMIT"));
    for (const char* m : {"prj", "demol", "mat", "reveg", "other"})
        exec(h, QStringLiteral("DROP TABLE temp.%1").arg(QLatin1String(m)));
    sqlite3_close(h);
    return rows;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    BenchComputation b;
    if (!b.open())
        return 1;
    DataModule& dm = b.dm;
    const int mineId = generateMine(dm, 50, 20, 10, 7);

    CopyDataModule copyData;
    copyData.setDatabase(&dm.TarvaneDatabase);
    MineCopy copy(copyData, b.dialogs);
    double bestCopy = 1e12, bestBare = 1e12;
    qint64 rows = 0;
    int lines = 0;
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer t;
        t.start();
        if (!copyData.openViews())
            return 1;
        bool ok = false;
        {
            const SuspendedCalculations suspended(dm);
            ok = copy.run(mineId);
        }
        copyData.closeViews();
        if (!ok)
            return 1;
        bestCopy = std::min(bestCopy, t.nsecsElapsed() / 1e6);
        lines = static_cast<int>(copy.log().size());
        t.restart();
        rows = bareCopy(b.data.file, mineId);
        bestBare = std::min(bestBare, t.nsecsElapsed() / 1e6);
    }
    std::printf("mine: 50 projects x 20 worksheets x 10 machines, %lld rows a copy\n", static_cast<long long>(rows));
    std::printf("copy of the mine (views, relinking, %d log lines): %8.1f ms\n", lines, bestCopy);
    std::printf("bare SQLite INSERT ... SELECT of the same rows:    %8.1f ms\n", bestBare);
    std::printf("ratio copy / bare:                                 %8.2f (aim: within 5)\n", bestCopy / bestBare);
    return 0;
}
