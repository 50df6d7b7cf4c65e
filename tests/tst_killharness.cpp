// Kills tarvane-cli (SIGKILL) at random moments while it deletes parts of a
// generated mine, generates one or copies one, and checks the data file after every kill:
// it is intact, no link or detail points at a missing record, and the data
// are exactly as before the command or exactly as after a whole run of it.
#include "TestSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

namespace {

constexpr int kProjects = 3, kSheets = 3, kEquipment = 11;  // eleven machines: every kind, both links

struct Run {
    bool killed;  // false: the command ended before the kill
    int status;
    QString err;
};

// Reads a data file with SQLite directly.
class Reader {
public:
    explicit Reader(const QString& path) { sqlite3_open(path.toUtf8().constData(), &h_); }
    ~Reader() { sqlite3_close(h_); }
    // Every row of the query, its columns joined with '|'.
    QStringList rows(const QByteArray& sql) const { return rows(sql.constData()); }
    QStringList rows(const char* sql) const
    {
        QStringList out;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(h_, sql, -1, &st, nullptr) != SQLITE_OK)
            return {QStringLiteral("cannot read: ") + QString::fromUtf8(sqlite3_errmsg(h_))};
        while (sqlite3_step(st) == SQLITE_ROW) {
            QStringList cols;
            for (int i = 0; i < sqlite3_column_count(st); ++i)
                cols << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
            out << cols.join(QLatin1Char('|'));
        }
        sqlite3_finalize(st);
        return out;
    }

private:
    sqlite3* h_ = nullptr;
};

// One command on its own copy of a data file.
class Trial {
public:
    explicit Trial(const QByteArray& dataFile)
    {
        dataDir = dir.path() + QStringLiteral("/Data");
        configPath = dir.path() + QStringLiteral("/engine.cfg");
        QDir().mkpath(dataDir);
        QFile f(dataFile_());
        if (f.open(QIODevice::WriteOnly))
            f.write(dataFile);
        EngineConfig cfg(configPath);
        cfg.setDefaults(dataDir);
        cfg.save();
    }
    // Runs the command; kills it after `killAfterMs` when that is not negative.
    Run run(QStringList args, qint64 killAfterMs = -1)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TARVANE_ENGINE_CFG"), configPath);
        p.setProcessEnvironment(env);
        args << QStringLiteral("--data") << dataDir;
        p.start(QStringLiteral(TARVANE_CLI), args);
        p.waitForStarted();
        bool killed = false;
        if (killAfterMs >= 0) {
            if (!p.waitForFinished(int(killAfterMs))) {
                p.kill();  // SIGKILL
                killed = true;
            }
        }
        p.waitForFinished(120000);
        return {killed, p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
    }
    QString dataFile_() const { return QDir(dataDir).filePath(QStringLiteral("TarvaneData.db")); }
    QByteArray bytes() const
    {
        Reader(dataFile_()).rows("PRAGMA wal_checkpoint(TRUNCATE)");
        QFile f(dataFile_());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    QString dataDir, configPath;
};

const char* const kTables[] = {"MINE.DB", "PROJECT.DB", "DEMOL.DB", "MATERIAL.DB", "REVEG.DB", "OTHERREC.DB",
                               "Equipment.DB", "CrossSections.db", "Volume.db", "EventLog.db"};

// How many machines each worksheet holds.
QString machinesPerSheet(const Reader& r)
{
    return r.rows("SELECT CostType || ':' || SheetID || '=' || count(*) FROM \"Equipment.DB\" GROUP BY CostType, SheetID")
        .join(QLatin1Char(' '));
}

// What the rows of the data file are: per table its count and the sum of its
// row ids, and the sum of the equipment links and added hours.
QString fingerprint(const Reader& r)
{
    QStringList parts;
    for (const char* t : kTables)
        parts << QString::fromLatin1(t) + QLatin1Char('=') +
                     r.rows(QStringLiteral("SELECT count(*), total(rowid) FROM \"%1\"").arg(QLatin1String(t)).toUtf8()).join(QString());

    parts << r.rows("SELECT total(AddedEquipID), total(AddHours) FROM \"Equipment.DB\"").join(QString());
    return parts.join(QLatin1Char(' '));
}

// The broken parts of a data file: damage, links to missing rows, details without
// their master, worksheets with only some of their machines.
QStringList problems(const Reader& r)
{
    QStringList out;
    const QStringList integrity = r.rows("PRAGMA integrity_check");
    if (integrity != QStringList{QStringLiteral("ok")})
        out << QStringLiteral("integrity: ") + integrity.join(QLatin1Char(';'));
    const struct {
        const char* what;
        const char* sql;
    } checks[] = {
        {"dangling AddedEquipID", "SELECT PlanID FROM \"Equipment.DB\" WHERE EquipCode2 IN (2, 4, 6, 8) AND AddedEquipID >= 0 "
                                  "AND AddedEquipID NOT IN (SELECT PlanID FROM \"Equipment.DB\")"},
        {"project without its mine", "SELECT PrjID FROM \"PROJECT.DB\" WHERE MineID NOT IN (SELECT MineID FROM \"MINE.DB\")"},
        {"worksheet without its project",
         "SELECT SheetID FROM \"DEMOL.DB\" WHERE PrjID NOT IN (SELECT PrjID FROM \"PROJECT.DB\") UNION ALL "
         "SELECT SheetID FROM \"MATERIAL.DB\" WHERE PrjID NOT IN (SELECT PrjID FROM \"PROJECT.DB\") UNION ALL "
         "SELECT SheetID FROM \"REVEG.DB\" WHERE PrjID NOT IN (SELECT PrjID FROM \"PROJECT.DB\") UNION ALL "
         "SELECT SheetID FROM \"OTHERREC.DB\" WHERE PrjID NOT IN (SELECT PrjID FROM \"PROJECT.DB\")"},
        {"machine without its worksheet",
         "SELECT PlanID FROM \"Equipment.DB\" e WHERE NOT ("
         "(CostType = 'D' AND SheetID IN (SELECT SheetID FROM \"DEMOL.DB\")) OR "
         "(CostType = 'M' AND SheetID IN (SELECT SheetID FROM \"MATERIAL.DB\")) OR "
         "(CostType = 'R' AND SheetID IN (SELECT SheetID FROM \"REVEG.DB\")))"},
        {"volume set without its project",
         "SELECT CrossID FROM \"CrossSections.db\" WHERE PrjID NOT IN (SELECT PrjID FROM \"PROJECT.DB\")"},
        {"worksheet with none of its machines",
         "SELECT 'D:' || SheetID FROM \"DEMOL.DB\" WHERE SheetID NOT IN (SELECT SheetID FROM \"Equipment.DB\" WHERE CostType = 'D') "
         "UNION ALL SELECT 'M:' || SheetID FROM \"MATERIAL.DB\" WHERE SheetID NOT IN "
         "(SELECT SheetID FROM \"Equipment.DB\" WHERE CostType = 'M') "
         "UNION ALL SELECT 'R:' || SheetID FROM \"REVEG.DB\" WHERE SheetID NOT IN "
         "(SELECT SheetID FROM \"Equipment.DB\" WHERE CostType = 'R')"},
    };
    for (const auto& c : checks) {
        const QStringList found = r.rows(c.sql);
        if (!found.isEmpty())
            out << QStringLiteral("%1: %2").arg(QLatin1String(c.what), found.join(QLatin1Char(',')));
    }
    return out;
}

}  // namespace

class TestKillHarness : public QObject {
    Q_OBJECT
    QByteArray empty_;      // the reference data only
    QByteArray generated_;  // with one generated mine
    int mineId_ = 0;
    QRandomGenerator rnd_;

    struct Outcome {
        int trials = 0, killed = 0, before = 0, after = 0, failures = 0;
    };
    // Kills `args` at random moments on copies of `start`; each result must be whole and
    // be the state before the command or the one after a whole run of it. A quick command
    // may end before the kills of a round land: up to four more rounds are run until one does.
    Outcome killTrials(const QByteArray& start, const QStringList& args, int trials)
    {
        Outcome all;
        for (int round = 0; round < 5 && all.killed == 0; ++round) {
            const Outcome o = killRound(start, args, trials);
            all.trials += o.trials;
            all.killed += o.killed;
            all.before += o.before;
            all.after += o.after;
            all.failures += o.failures;
        }
        return all;
    }
    Outcome killRound(const QByteArray& start, const QStringList& args, int trials)
    {
        Outcome o;
        QString before, after, machinesBefore, machinesAfter;
        qint64 fullMs = 0;
        // Three whole runs: the data after the command, and the longest time it takes.
        for (int i = 0; i < 3; ++i) {
            Trial t(start);
            before = fingerprint(Reader(t.dataFile_()));
            machinesBefore = machinesPerSheet(Reader(t.dataFile_()));
            QElapsedTimer clock;
            clock.start();
            const Run r = t.run(args);
            fullMs = qMax(fullMs, clock.elapsed());
            if (r.status != 0)
                qWarning("%s: %s", qPrintable(args.join(QLatin1Char(' '))), qPrintable(r.err));
            Reader reader(t.dataFile_());
            after = fingerprint(reader);
            machinesAfter = machinesPerSheet(reader);
            const QStringList broken = problems(reader);
            if (r.status != 0 || !broken.isEmpty() || after == before) {
                qWarning("the whole run of '%s' is not clean: %s", qPrintable(args.join(QLatin1Char(' '))),
                         qPrintable(broken.join(QLatin1Char(';'))));
                ++o.failures;
            }
        }
        // The kills fall between the end of most of the start-up (the shortest time of
        // a command that opens the data and finds nothing to do) and the end of the
        // longest whole run.
        qint64 openMs = fullMs;
        for (int i = 0; i < 3; ++i) {
            Trial t(start);
            QElapsedTimer clock;
            clock.start();
            t.run({QStringLiteral("hours"), QStringLiteral("--plan"), QStringLiteral("0")});
            openMs = qMin(openMs, clock.elapsed() * 8 / 10);
        }
        for (int i = 0; i < trials; ++i) {
            Trial t(start);
            const Run r = t.run(args, openMs + qint64(rnd_.bounded(int(fullMs - openMs) + 1)));
            ++o.trials;
            o.killed += r.killed;
            Reader reader(t.dataFile_());
            QStringList broken = problems(reader);
            const QString now = fingerprint(reader);
            const QString machines = machinesPerSheet(reader);
            if (machines != machinesBefore && machines != machinesAfter)
                broken << QStringLiteral("worksheets with only some of their machines: ") + machines;
            o.before += now == before;
            o.after += now == after;
            if (now != before && now != after)
                broken << QStringLiteral("neither the data before the command nor those after it: ") + now;
            if (!broken.isEmpty()) {
                ++o.failures;
                qWarning("'%s' killed: %s", qPrintable(args.join(QLatin1Char(' '))), qPrintable(broken.join(QLatin1Char(';'))));
            }
        }
        qInfo("%s: %d trials (kills from %lld to %lld ms), %d killed while running, %d left as before, %d as after, "
              "%d failures",
              qPrintable(args.join(QLatin1Char(' '))), o.trials, openMs, fullMs, o.killed, o.before, o.after, o.failures);
        return o;
    }

private Q_SLOTS:
    void initTestCase();
    void killedDelete_data();
    void killedDelete();
    void killedGenerate();
    void killedCopy();
};

void TestKillHarness::initTestCase()
{
    const quint32 seed = qEnvironmentVariableIsSet("TARVANE_KILL_SEED") ? qEnvironmentVariableIntValue("TARVANE_KILL_SEED")
                                                                        : QRandomGenerator::global()->generate();
    qInfo("kill moments from seed %u (TARVANE_KILL_SEED)", seed);
    rnd_.seed(seed);
    TempData base;
    base.removeShippedMines();
    QFile f(base.dataFile());
    QVERIFY(f.open(QIODevice::ReadOnly));
    empty_ = f.readAll();
    Trial t(empty_);
    const Run r = t.run({QStringLiteral("generate"), QStringLiteral("--projects"), QString::number(kProjects),
                         QStringLiteral("--sheets"), QString::number(kSheets), QStringLiteral("--equipment"),
                         QString::number(kEquipment)});
    QVERIFY2(r.status == 0, qPrintable(r.err));
    generated_ = t.bytes();
    const Reader reader(t.dataFile_());
    QCOMPARE(problems(reader), QStringList());
    mineId_ = reader.rows("SELECT MineID FROM \"MINE.DB\"").value(0).toInt();
    QVERIFY(mineId_ > 0);
}

void TestKillHarness::killedDelete_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("target");  // a query for the record deleted
    QTest::newRow("mine") << "--mine" << "SELECT MineID FROM \"MINE.DB\"";
    QTest::newRow("project") << "--project" << "SELECT PrjID FROM \"PROJECT.DB\" ORDER BY PrjID LIMIT 1 OFFSET 1";
    QTest::newRow("demolition worksheet") << "--sheet" << "SELECT 'D:' || SheetID FROM \"DEMOL.DB\" LIMIT 1";
    QTest::newRow("earthmoving worksheet") << "--sheet" << "SELECT 'M:' || SheetID FROM \"MATERIAL.DB\" LIMIT 1";
    QTest::newRow("loader and its truck") << "--plan" << "SELECT PlanID FROM \"Equipment.DB\" WHERE EquipCode2 = 6 LIMIT 1";
}

void TestKillHarness::killedDelete()
{
    QFETCH(QString, option);
    QFETCH(QString, target);
    Trial look(generated_);
    const QString id = Reader(look.dataFile_()).rows(target.toUtf8()).value(0);
    QVERIFY(!id.isEmpty());
    const Outcome o = killTrials(generated_, {QStringLiteral("delete"), option, id, QStringLiteral("--yes")}, 30);
    QVERIFY2(o.killed > 0, "no kill landed while the command ran");
    QCOMPARE(o.failures, 0);
}

void TestKillHarness::killedGenerate()
{
    const Outcome o = killTrials(empty_,
                                 {QStringLiteral("generate"), QStringLiteral("--projects"), QString::number(kProjects),
                                  QStringLiteral("--sheets"), QString::number(kSheets), QStringLiteral("--equipment"),
                                  QString::number(kEquipment)},
                                 40);
    QVERIFY2(o.killed > 0, "no kill landed while the command ran");
    QCOMPARE(o.failures, 0);
}

// The copy of a mine is one transaction: a kill leaves no copy or all of it.
void TestKillHarness::killedCopy()
{
    const Outcome o =
        killTrials(generated_, {QStringLiteral("copy"), QStringLiteral("--mine"), QString::number(mineId_)}, 30);
    QVERIFY2(o.killed > 0, "no kill landed while the command ran");
    QCOMPARE(o.failures, 0);
}

QTEST_GUILESS_MAIN(TestKillHarness)
#include "tst_killharness.moc"
