// The command line's bond, totals, hours and generate commands on a fresh
// data directory with the shipped example and tutorial mines.
#include "ComputationFixture.h"
#include "RefusedOutputs.h"
#include "XlsxReader.h"
#include "Csv.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QDir>
#include <csignal>
#include <sys/resource.h>

class TestCli : public QObject {
    Q_OBJECT
    struct Run {
        int status;
        QString out, err;
    };
    Run cli(const TempData& data, QStringList args)
    {
        return cli(data, std::move(args), 0);
    }
    // With `fileLimit` > 0 the command may write no file beyond that many bytes, as on
    // a full disk: writes past it fail (the limit's signal is ignored).
    Run cli(const TempData& data, QStringList args, qint64 fileLimit)
    {
        args << QStringLiteral("--data") << data.dataDir;
        return run(data, args, fileLimit);
    }
    // The command line as given, without --data added.
    Run run(const TempData& data, const QStringList& args, qint64 fileLimit = 0)
    {
        QProcess p;
        if (fileLimit > 0)
            p.setChildProcessModifier([fileLimit] {
                ::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{static_cast<rlim_t>(fileLimit), static_cast<rlim_t>(fileLimit)};
                ::setrlimit(RLIMIT_FSIZE, &limit);
            });
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TARVANE_ENGINE_CFG"), data.configPath);
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(TARVANE_CLI), args);
        p.waitForFinished(120000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }

private Q_SLOTS:
    void bondMatchesTheLibrary_data();
    void bondMatchesTheLibrary();
    void bondTable();
    void totalsAndHours();
    void explainAnItem();
    void compareTwoEstimates_data();
    void compareTwoEstimates();
    void importAnEstimate();
    void importRefused_data();
    void importRefused();
    void repriceAtThisYearsCosts();
    void generatedMine();
    void generateOnAFullDisk_data();
    void generateOnAFullDisk();
    void reportReadsBack();
    void refusals_data();
    void refusals();
    void refusedOutputs_data() { refusedOutputRows(); }
    void refusedOutputs();
    void deleteRunsTheCascades_data();
    void deleteRunsTheCascades();
    void trucks_data();
    void trucks();
    void volumeSets();
    void copyOfAMine();
    void failedCopyStage();
    void eventLog();
    void commandLine_data();
    void commandLine();
    void usageStatuses_data();
    void usageStatuses();
    void unusableStoredValue_data();
    void unusableStoredValue();
    void dataBeforeOrAfterTheCommand();
    void backupWhileInUse();
    void backupRefusals_data() { refusedOutputRows(false); }
    void backupRefusals();
    void workbookReadsBack_data();
    void workbookReadsBack();
    void workbookAsCsv();
    void referenceDataRoundTrip();
    void referenceDataYearlyUpdate();
    void referenceDataBadRows();
    void installedTree();
    void progressOnATerminal_data();
    void progressOnATerminal();
};

void TestCli::bondMatchesTheLibrary_data()
{
    QTest::addColumn<int>("mine");
    QTest::addColumn<int>("project");
    QTest::newRow("example mine") << 1 << -1;
    QTest::newRow("example project") << 1 << 2;
    QTest::newRow("tutorial mine, fees from the tables") << 2 << -1;
}

void TestCli::bondMatchesTheLibrary()
{
    QFETCH(int, mine);
    QFETCH(int, project);
    World w;
    QStringList args{QStringLiteral("bond"), QStringLiteral("--mine"), QString::number(mine), QStringLiteral("--json")};
    if (project > 0)
        args << QStringLiteral("--project") << QString::number(project);
    w.startup.CloseAllTables();
    w.dm.TarvaneDatabase.disconnect();
    const Run r = cli(w.data, args);
    QCOMPARE(r.status, 0);
    QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
    QCOMPARE(r.out.count(QLatin1Char('\n')), 1);  // exactly one JSON object
    const QJsonObject json = QJsonDocument::fromJson(r.out.toUtf8()).object();
    QCOMPARE(json.value(QStringLiteral("mine")).toInt(), mine);
    QCOMPARE(json.value(QStringLiteral("project")).isNull(), project < 0);

    // The same bond computed here, in the program's own data module.
    DataModule dm(w.data.configPath);
    ScriptedDialogs dialogs;
    NoBondDisplay display;
    Computation comp(dm, dialogs, display);
    DatabaseStartup startup(dm);
    QCOMPARE(startup.ActivateDatabase(), QString());
    dm.DataSetCode = mine;  // the shipped masters: 1 example, 2 tutorial
    dm.MineT.refresh();
    QVERIFY(dm.MineT.locate({QStringLiteral("MineID")}, {mine}));
    if (project > 0)
        QVERIFY(dm.ProjectT.locate({QStringLiteral("PrjID")}, {project}));
    comp.bond.CalcBondSummary(project < 0);
    const BondItems& b = comp.bond.items();
    const QJsonObject items = json.value(QStringLiteral("items")).toObject();
    QCOMPARE(items.size(), 34);
    for (int i = 1; i <= 34; ++i) {
        const double expected = i == 14 ? b.item14 : b.item[i].units() / 10000.0;
        QCOMPARE(items.value(QString::number(i)).toDouble(), expected);
    }
    QCOMPARE(json.value(QStringLiteral("factors")).toObject().value(QStringLiteral("phase1")).toDouble(), b.phase1Factor);
    QVERIFY(b.item[13].units() > 0);
    QVERIFY(b.item[1].units() > 0 || project == 2);
}

void TestCli::bondTable()
{
    TempData data;
    const Run r = cli(data, {QStringLiteral("bond"), QStringLiteral("--mine"), QStringLiteral("1")});
    QCOMPARE(r.status, 0);
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 36);
    QVERIFY(lines[0].startsWith(QStringLiteral("Mine 1: ")));
    QVERIFY(lines[1].startsWith(QStringLiteral("Inflation factor 1.190")));
    QVERIFY(lines[2].startsWith(QStringLiteral(" 1  Total facility and structure removal cost")));
    QVERIFY(lines[17].contains(QStringLiteral("$25,000.00")));  // item 16: the Phase I contingency override
    QVERIFY(lines.last().startsWith(QStringLiteral("34  Phase II release amount")));
}

// An item explained: the tree as text and as JSON, its root the item the bond gives,
// cut at the depth asked; a stored value left out is a node of its own, and status 3.
void TestCli::explainAnItem()
{
    TempData data;
    const Run bond = cli(data, {QStringLiteral("bond"), QStringLiteral("--mine"), QStringLiteral("1"), QStringLiteral("--json")});
    QCOMPARE(bond.status, 0);
    const double item13 = QJsonDocument::fromJson(bond.out.toUtf8()).object()[QStringLiteral("items")].toObject()[QStringLiteral("13")].toDouble();

    const Run text = cli(data, {QStringLiteral("explain"), QStringLiteral("--mine"), QStringLiteral("1"), QStringLiteral("--item"),
                                QStringLiteral("13"), QStringLiteral("--depth"), QStringLiteral("1")});
    QCOMPARE(text.status, 0);
    const QStringList lines = text.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QVERIFY2(lines[0].startsWith(QStringLiteral("Item 13, Total bond amount = 4,808,967.67   (item 6 + item 12 = ")), qPrintable(lines[0]));
    QVERIFY(lines[1].startsWith(QStringLiteral("  Item 6, Inflated direct cost = ")));
    QVERIFY(lines[2].startsWith(QStringLiteral("  Item 12, Total indirect cost = ")));

    const Run json = cli(data, {QStringLiteral("explain"), QStringLiteral("--mine"), QStringLiteral("1"), QStringLiteral("--item"),
                                QStringLiteral("2"), QStringLiteral("--json")});
    QCOMPARE(json.status, 0);
    const QJsonObject root = QJsonDocument::fromJson(json.out.toUtf8()).object();
    QCOMPARE(root[QStringLiteral("label")].toString(), QStringLiteral("Item 2, Total earthmoving cost"));
    QVERIFY(root[QStringLiteral("source")].isNull());
    // Down to a machine's stored equipment cost, with where it is stored.
    QJsonObject n = root;
    for (const char* step : {"Earthmoving of project", "Earthmoving row", "Machine", "Cost per hour", "OperatCost"}) {
        const QJsonArray parts = n[QStringLiteral("parts")].toArray();
        const auto it = std::find_if(parts.begin(), parts.end(), [&](const QJsonValue& v) {
            return v.toObject()[QStringLiteral("label")].toString().startsWith(QLatin1String(step));
        });
        QVERIFY2(it != parts.end(), step);
        n = it->toObject();
    }
    const QJsonObject source = n[QStringLiteral("source")].toObject();
    QCOMPARE(source[QStringLiteral("table")].toString(), QStringLiteral("Equipment.DB"));
    QCOMPARE(source[QStringLiteral("field")].toString(), QStringLiteral("OperatCost"));
    QCOMPARE(n[QStringLiteral("value")].toDouble(),
             data.real(QStringLiteral("SELECT OperatCost FROM \"Equipment.DB\" WHERE PlanID = %1")
                           .arg(source[QStringLiteral("key")].toInt())));

    data.sql(QStringLiteral("UPDATE \"REVEG.DB\" SET CostSeed = 'NaN' WHERE SheetID = 1"));
    const Run nan = cli(data, {QStringLiteral("explain"), QStringLiteral("--mine"), QStringLiteral("1"), QStringLiteral("--item"),
                               QStringLiteral("3")});
    QCOMPARE(nan.status, 3);
    QVERIFY2(nan.out.contains(QStringLiteral("CostSeed = 0.00   (stored NaN: cannot be used, left out)   [REVEG.DB, SheetID 1: CostSeed]")),
             qPrintable(nan.out));
    QVERIFY(nan.out.contains(QStringLiteral("Incomplete: 1 stored value(s) left out")));
    const Run top = cli(data, {QStringLiteral("explain"), QStringLiteral("--mine"), QStringLiteral("1"), QStringLiteral("--item"),
                               QStringLiteral("13"), QStringLiteral("--depth"), QStringLiteral("0"), QStringLiteral("--json")});
    QCOMPARE(top.status, 3);
    const QJsonObject item = QJsonDocument::fromJson(top.out.toUtf8()).object();
    QVERIFY(item[QStringLiteral("parts")].toArray().isEmpty());
    QCOMPARE(item[QStringLiteral("incomplete")].toArray().size(), 1);
    QVERIFY(item[QStringLiteral("value")].toDouble() < item13);  // the seed cost left out
}

void TestCli::compareTwoEstimates_data()
{
    QTest::addColumn<QString>("change");  // SQL run on the copy (mine 3) before the comparison; %1 its first machine
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("record");  // "change: what" of the one record that differs at the bottom, or empty
    QTest::addColumn<QString>("field");   // the changed value named, or empty
    QTest::newRow("a copy as it was") << QString() << 0 << QString() << QString();
    QTest::newRow("a machine's equipment cost")
        << "UPDATE \"Equipment.DB\" SET OperatCost = OperatCost + 15 WHERE PlanID = %1" << 1
        << "changed: Project North Pit / Earthmoving row Backfill Final Pit with Spoil / Machine Caterpillar, Crawler Dozer -- D10"
        << "OperatCost";
    QTest::newRow("a machine removed") << "DELETE FROM \"Equipment.DB\" WHERE PlanID = %1" << 1
                                       << "removed: Project North Pit / Earthmoving row Backfill Final Pit with Spoil / "
                                          "Machine Caterpillar, Crawler Dozer -- D10"
                                       << QString();
    QTest::newRow("a machine added")
        << "INSERT INTO \"Equipment.DB\" (CostType, SheetID, EquipCode2, EquipmentName, HrsReg, OperatCost, LaborCost) "
           "SELECT CostType, SheetID, 9, 'Water Truck', 10, 50, 20 FROM \"Equipment.DB\" WHERE PlanID = %1" << 1
        << "added: Project North Pit / Earthmoving row Backfill Final Pit with Spoil / Machine Water Truck" << QString();
    QTest::newRow("a text of the mine only") << "UPDATE \"MINE.DB\" SET PreparedBy = 'Someone else' WHERE MineID = 3" << 1
                                             << "changed: Mine" << "PreparedBy";
}

// A mine against its copy: equal as copied (status 0, like diff); one change is found where
// it was made, with the value changed, and the items it moves (status 1).
void TestCli::compareTwoEstimates()
{
    QFETCH(QString, change);
    QFETCH(int, status);
    QFETCH(QString, record);
    QFETCH(QString, field);
    TempData data;
    QCOMPARE(cli(data, {QStringLiteral("copy"), QStringLiteral("--mine"), QStringLiteral("1")}).status, 0);
    const qint64 firstMachine = data.scalar(QStringLiteral(
        "SELECT MIN(e.PlanID) FROM \"Equipment.DB\" e JOIN \"MATERIAL.DB\" s ON s.SheetID = e.SheetID AND e.CostType = 'M' "
        "JOIN \"PROJECT.DB\" p ON p.PrjID = s.PrjID WHERE p.MineID = 3"));
    if (!change.isEmpty())
        data.sql(change.contains(QLatin1String("%1")) ? change.arg(firstMachine) : change);
    const Run r = cli(data, {QStringLiteral("compare"), QStringLiteral("--mine"), QStringLiteral("1"), QStringLiteral("--with"),
                             QStringLiteral("3"), QStringLiteral("--json")});
    QCOMPARE(r.status, status);
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    QCOMPARE(o[QStringLiteral("equal")].toBool(), status == 0);
    const QJsonArray records = o[QStringLiteral("records")].toArray();
    const QJsonArray items = o[QStringLiteral("items")].toArray();
    QCOMPARE(items.size(), 34);
    int moved = 0;
    for (const QJsonValue& v : items) {
        const QJsonObject i = v.toObject();
        QCOMPARE(i[QStringLiteral("difference")].toDouble(), i[QStringLiteral("b")].toDouble() - i[QStringLiteral("a")].toDouble());
        moved += i[QStringLiteral("differs")].toBool();
    }
    if (record.isEmpty()) {
        QVERIFY(records.isEmpty());
        QCOMPARE(moved, 0);
        const Run itself = cli(data, {QStringLiteral("compare"), QStringLiteral("--mine"), QStringLiteral("1"),
                                      QStringLiteral("--with"), QStringLiteral("1")});
        QCOMPARE(itself.status, 0);
        QVERIFY(itself.out.trimmed().endsWith(QStringLiteral("The estimates are equal.")));
        const Run none = cli(data, {QStringLiteral("compare"), QStringLiteral("--mine"), QStringLiteral("1"),
                                    QStringLiteral("--with"), QStringLiteral("99")});
        QCOMPARE(none.status, 2);
        QVERIFY(none.err.contains(QStringLiteral("There is no mine 99")));
        return;
    }
    const QJsonObject last = records.last().toObject();
    QCOMPARE(last[QStringLiteral("change")].toString() + QStringLiteral(": ") + last[QStringLiteral("what")].toString(), record);
    const QJsonArray fields = last[QStringLiteral("fields")].toArray();
    if (field.isEmpty()) {
        QVERIFY(fields.isEmpty());
        QVERIFY(moved > 0);  // a machine added or removed moves the bond
    } else {
        QCOMPARE(fields.size(), 1);
        QCOMPARE(fields[0].toObject()[QStringLiteral("field")].toString(), field);
    }
    // The same as text ends with the count.
    const Run text = cli(data, {QStringLiteral("compare"), QStringLiteral("--mine"), QStringLiteral("1"), QStringLiteral("--with"),
                                QStringLiteral("3")});
    QCOMPARE(text.status, 1);
    QVERIFY(text.out.trimmed().endsWith(QStringLiteral("The estimates differ: %1 item(s), %2 record(s).").arg(moved).arg(records.size())));
}

namespace {

QByteArray filesOf(const TempData& data)
{
    QByteArray all;
    for (const QString& suffix : {QString(), QStringLiteral("-wal")}) {
        QFile f(data.dataFile() + suffix);
        if (f.open(QIODevice::ReadOnly))
            all += f.readAll();
    }
    return all;
}

}  // namespace

// An estimate of another data file comes in whole: the same bond, its volume sets, the
// reference rows that differ listed first and brought in only when asked, the import in
// the event log, and the other file never written.
void TestCli::importAnEstimate()
{
    TempData here, there;
    there.sql(QStringLiteral(
        "UPDATE \"HCOST.DB\" SET HourlyCost = 210 WHERE Model = 'D8';"
        "INSERT INTO \"CrossSections.db\" (PrjID, VolumeName) VALUES (1, 'Pit A');"
        "INSERT INTO \"Volume.db\" (CrossID, CrossSectionName, Distance, EndArea, AdjustmentFactor) "
        "SELECT max(CrossID), '0+00', 0, 120, 1 FROM \"CrossSections.db\";"
        "INSERT INTO \"Volume.db\" (CrossID, CrossSectionName, Distance, EndArea, AdjustmentFactor) "
        "SELECT max(CrossID), '1+00', 100, 140, 1 FROM \"CrossSections.db\";"));
    const QByteArray untouched = filesOf(there);
    const qint64 mines = here.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\""));
    const QStringList from{QStringLiteral("import"), QStringLiteral("--from"), there.dataDir, QStringLiteral("--mine"),
                           QStringLiteral("1")};

    const Run dry = cli(here, from + QStringList{QStringLiteral("--dry-run")});
    QCOMPARE(dry.status, 0);
    QVERIFY2(dry.out.contains(QStringLiteral("  priced differently HCOST.DB     Caterpillar, Crawler Dozer -- D8\n"
                                             "      here:  $195.00 (2024-07-01, 354 hp, SU blade)\n"
                                             "      there: $210.00 (2024-07-01, 354 hp, SU blade)\n")),
             qPrintable(dry.out));
    QVERIFY(dry.out.endsWith(QStringLiteral("Dry run: nothing was changed\n")));
    QCOMPARE(here.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\"")), mines);

    const Run kept = cli(here, from + QStringList{QStringLiteral("--json")});
    QCOMPARE(kept.status, 0);
    const QJsonObject o = QJsonDocument::fromJson(kept.out.toUtf8()).object();
    const int mine = o[QStringLiteral("mine")].toInt();
    QCOMPARE(here.scalar(QStringLiteral("SELECT max(MineID) FROM \"MINE.DB\"")), mine);
    QCOMPARE(o[QStringLiteral("differences")].toArray().size(), 1);
    QCOMPARE(o[QStringLiteral("volume_sets")].toInt(), 1);
    QCOMPARE(o[QStringLiteral("log")].toArray().size(), 4);  // the copy's relinking lines
    QCOMPARE(here.real(QStringLiteral("SELECT HourlyCost FROM \"HCOST.DB\" WHERE Model = 'D8'")), 195.0);
    QCOMPARE(cli(here, {QStringLiteral("compare"), QStringLiteral("--mine"), QStringLiteral("1"), QStringLiteral("--with"),
                        QString::number(mine)})
                 .status,
             0);
    const qint64 project = here.scalar(QStringLiteral("SELECT min(PrjID) FROM \"PROJECT.DB\" WHERE MineID = %1").arg(mine));
    QCOMPARE(here.scalar(QStringLiteral("SELECT count(*) FROM \"Volume.db\" v JOIN \"CrossSections.db\" c ON c.CrossID = "
                                        "v.CrossID WHERE c.PrjID = %1 AND c.VolumeName = 'Pit A'")
                             .arg(project)),
             2);
    const Run log = cli(here, {QStringLiteral("log"), QStringLiteral("--json")});
    const QJsonArray events = QJsonDocument::fromJson(log.out.toUtf8()).array();
    QVERIFY(events.size() >= 2);
    QCOMPARE(events[events.size() - 2].toObject()[QStringLiteral("event")].toString(), QStringLiteral("Import"));
    QCOMPARE(events.last().toObject()[QStringLiteral("event")].toString(), QStringLiteral("Imported From"));
    QCOMPARE(events.last().toObject()[QStringLiteral("mine")].toString(), there.dataFile());

    const Run brought = cli(here, from + QStringList{QStringLiteral("--reference"), QStringLiteral("bring")});
    QCOMPARE(brought.status, 0);
    QVERIFY(brought.out.contains(QStringLiteral("Brought its reference rows in.\n")));
    QCOMPARE(here.real(QStringLiteral("SELECT HourlyCost FROM \"HCOST.DB\" WHERE Model = 'D8'")), 210.0);
    QCOMPARE(here.scalar(QStringLiteral("SELECT count(*) FROM \"HCOST.DB\" WHERE Model = 'D8'")), 1);
    QVERIFY(filesOf(there) == untouched);
}

void TestCli::importRefused_data()
{
    QTest::addColumn<QString>("damage");  // SQL on the other file, or a word for what is done to it
    QTest::addColumn<QString>("mine");
    QTest::addColumn<QString>("err");     // what the message says
    QTest::newRow("not a data file") << "junk" << "1" << "cannot be read as a Tarvane data file: Cannot read";
    QTest::newRow("damaged") << "damage" << "1" << "is damaged: ";
    QTest::newRow("made by a newer program") << "PRAGMA user_version = 9" << "1"
                                             << "was made by a newer version of Tarvane (data file format 9; this program "
                                                "reads format 1 and older)";
    QTest::newRow("a table of another layout") << "ALTER TABLE \"MINE.DB\" ADD COLUMN Extra TEXT" << "1"
                                               << "is not a usable Tarvane data file: ";
    QTest::newRow("the same file") << "same" << "1" << "is the data file open here: bring an estimate in from another one";
    QTest::newRow("no data file") << "remove" << "1" << "holds no Tarvane data file (TarvaneData.db)";
    QTest::newRow("no such mine") << QString() << "99" << "holds no mine 99";
    // A stage of the copy fails half way: unlike the copy of a mine, nothing of it stays.
    QTest::newRow("a stage fails") << "UPDATE \"MATERIAL.DB\" SET Description = NULL WHERE SheetID = (SELECT max(SheetID) "
                                      "FROM \"MATERIAL.DB\" m JOIN \"PROJECT.DB\" p ON m.PrjID = p.PrjID WHERE p.MineID = 1)"
                                   << "1" << "error: Could NOT copy Mat data!";
}

// A file that cannot be brought in is named with the reason, and nothing is written here.
void TestCli::importRefused()
{
    QFETCH(QString, damage);
    QFETCH(QString, mine);
    QFETCH(QString, err);
    TempData here, there;
    QString from = there.dataDir;
    if (damage == QLatin1String("junk") || damage == QLatin1String("damage")) {
        QFile f(there.dataFile());
        QVERIFY(f.open(QIODevice::ReadWrite));
        if (damage == QLatin1String("junk")) {
            f.resize(0);
            f.write("This is a letter, not a data file.\n");
        } else {
            QVERIFY(f.seek(3 * 4096));
            f.write(QByteArray(3 * 4096, '\xff'));
        }
    } else if (damage == QLatin1String("same")) {
        from = here.dataDir;
    } else if (damage == QLatin1String("remove")) {
        QVERIFY(QFile::remove(there.dataFile()));
    } else if (!damage.isEmpty()) {
        there.sql(damage);
    }
    const QString counts = QStringLiteral("SELECT (SELECT count(*) FROM \"MINE.DB\") * 1000000 + (SELECT count(*) FROM "
                                          "\"PROJECT.DB\") * 1000 + (SELECT count(*) FROM \"EventLog.db\")");
    const qint64 before = here.scalar(counts);
    const Run r = cli(here, {QStringLiteral("import"), QStringLiteral("--from"), from, QStringLiteral("--mine"), mine,
                             QStringLiteral("--reference"), QStringLiteral("bring")});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains(err), qPrintable(r.err));
    QCOMPARE(here.scalar(counts), before);
}

// A yearly cost update (a new dated row for every model and laborer, one model dropped):
// the re-priced copy takes the newest costs, keeps the dropped model's and lists it, takes
// the index given; the source stays as it was; the comparison of the two follows.
void TestCli::repriceAtThisYearsCosts()
{
    TempData data;
    data.sql(QStringLiteral(
        "INSERT INTO \"HCOST.DB\" (ID, Model, Specifications, DateOfCost, HourlyCost) "
        "SELECT ID, Model, Specifications, '2025-07-01', round(HourlyCost * 1.05, 2) FROM \"HCOST.DB\";"
        "INSERT INTO \"LaborCost.db\" (SubRegionID, Laborer, DateOfCost, HourlyCosst) "
        "SELECT SubRegionID, Laborer, '2025-07-01', round(HourlyCosst * 1.04, 2) FROM \"LaborCost.db\";"
        "DELETE FROM \"HCOST.DB\" WHERE Model = '775';"));
    const QString costsOf = QStringLiteral(
        "SELECT round(sum(e.OperatCost + e.LaborCost), 4) * 10000 FROM \"Equipment.DB\" e JOIN \"MATERIAL.DB\" s ON "
        "s.SheetID = e.SheetID AND e.CostType = 'M' JOIN \"PROJECT.DB\" p ON p.PrjID = s.PrjID WHERE p.MineID = %1");
    const qint64 sourceCosts = data.scalar(costsOf.arg(1));
    const QString sourceBond = cli(data, {QStringLiteral("bond"), QStringLiteral("--mine"), QStringLiteral("1")}).out;

    const Run r = cli(data, {QStringLiteral("reprice"), QStringLiteral("--mine"), QStringLiteral("1"), QStringLiteral("--index"),
                             QStringLiteral("13950"), QStringLiteral("--index-date"), QStringLiteral("2025-07-01"),
                             QStringLiteral("--json")});
    QCOMPARE(r.status, 0);
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    const int copy = o[QStringLiteral("mine")].toInt();
    QCOMPARE(copy, static_cast<int>(data.scalar(QStringLiteral("SELECT max(MineID) FROM \"MINE.DB\""))));
    QCOMPARE(data.real(QStringLiteral("SELECT ENRIndex FROM \"MINE.DB\" WHERE MineID = %1").arg(copy)), 13950.0);
    QCOMPARE(data.text(QStringLiteral("SELECT ENRIndexDate FROM \"MINE.DB\" WHERE MineID = %1").arg(copy)),
             QStringLiteral("2025-07-01"));
    const QJsonArray machines = o[QStringLiteral("machines")].toArray();
    QCOMPARE(machines.size(), static_cast<int>(data.scalar(QStringLiteral(
                                  "SELECT count(*) FROM \"Equipment.DB\" e JOIN (SELECT 'D' k, SheetID, PrjID FROM \"DEMOL.DB\" "
                                  "UNION ALL SELECT 'M', SheetID, PrjID FROM \"MATERIAL.DB\" UNION ALL SELECT 'R', SheetID, "
                                  "PrjID FROM \"REVEG.DB\") s ON s.k = e.CostType AND s.SheetID = e.SheetID JOIN "
                                  "\"PROJECT.DB\" p ON p.PrjID = s.PrjID WHERE p.MineID = 1"))));
    const auto cents = [](double v) { return qRound64(v * 100.0); };
    int keptModels = 0;
    for (const QJsonValue& v : machines) {
        const QJsonObject m = v.toObject();
        const double equipment = m[QStringLiteral("equipment_before")].toDouble();
        const double labor = m[QStringLiteral("labor_before")].toDouble();
        if (m[QStringLiteral("what")].toString().endsWith(QStringLiteral("Off-Highway Truck -- 775"))) {
            ++keptModels;
            QCOMPARE(m[QStringLiteral("equipment_kept")].toString(), QStringLiteral("its model is not in the equipment-cost handbook"));
            QCOMPARE(m[QStringLiteral("equipment_after")].toDouble(), equipment);
        } else {
            QVERIFY(!m.contains(QStringLiteral("equipment_kept")));
            QCOMPARE(cents(m[QStringLiteral("equipment_after")].toDouble()), qRound64(equipment * 105.0));
        }
        QVERIFY(!m.contains(QStringLiteral("labor_kept")));
        QCOMPARE(cents(m[QStringLiteral("labor_after")].toDouble()), qRound64(labor * 104.0));
        const qint64 plan = m[QStringLiteral("plan")].toInt();
        QCOMPARE(data.real(QStringLiteral("SELECT OperatCost FROM \"Equipment.DB\" WHERE PlanID = %1").arg(plan)),
                 m[QStringLiteral("equipment_after")].toDouble());
    }
    QVERIFY(keptModels > 0);
    // The source is as it was.
    QCOMPARE(data.scalar(costsOf.arg(1)), sourceCosts);
    QCOMPARE(cli(data, {QStringLiteral("bond"), QStringLiteral("--mine"), QStringLiteral("1")}).out, sourceBond);
    const QJsonObject comparison = o[QStringLiteral("comparison")].toObject();
    QCOMPARE(comparison[QStringLiteral("equal")].toBool(), false);
    QVERIFY(comparison[QStringLiteral("items")].toArray()[12].toObject()[QStringLiteral("differs")].toBool());

    // As text the kept machine is listed with its reason, and the comparison follows.
    const Run text = cli(data, {QStringLiteral("reprice"), QStringLiteral("--mine"), QStringLiteral("1")});
    QCOMPARE(text.status, 0);
    QVERIFY2(text.out.contains(QStringLiteral("Machine Caterpillar, Off-Highway Truck -- 775: equipment $215.00 kept: its "
                                              "model is not in the equipment-cost handbook")),
             qPrintable(text.out));
    QVERIFY(text.out.contains(QStringLiteral(" -> 13950.00 (%1), from mine %2 (")
                                  .arg(QDate::currentDate().toString(Qt::ISODate))
                                  .arg(copy)));
    QVERIFY(text.out.trimmed().endsWith(QStringLiteral("record(s).")));
}

void TestCli::totalsAndHours()
{
    TempData data;
    Run r = cli(data, {QStringLiteral("totals"), QStringLiteral("--project"), QStringLiteral("1"), QStringLiteral("--json")});
    QCOMPARE(r.status, 0);
    QJsonObject json = QJsonDocument::fromJson(r.out.toUtf8()).object();
    QCOMPARE(json.keys(), QStringList({QStringLiteral("demolition"), QStringLiteral("earthmoving"),
                                       QStringLiteral("other"), QStringLiteral("revegetation")}));
    QVERIFY(json.value(QStringLiteral("earthmoving")).toDouble() > 0);
    // The truck of the example mine's haul: (hours + added hours) × trucks.
    r = cli(data, {QStringLiteral("hours"), QStringLiteral("--plan"), QStringLiteral("5"), QStringLiteral("--json")});
    QCOMPARE(r.status, 0);
    json = QJsonDocument::fromJson(r.out.toUtf8()).object();
    QCOMPARE(json.value(QStringLiteral("kind")).toInt(), 8);
    const QJsonObject results = json.value(QStringLiteral("results")).toObject();
    QCOMPARE(json.value(QStringLiteral("hours")).toDouble(),
             json.value(QStringLiteral("unit_hours")).toDouble() * results.value(QStringLiteral("NumberOfTrucks")).toDouble());
    QVERIFY(results.contains(QStringLiteral("TruckOverridden")));
}

void TestCli::generatedMine()
{
    TempData data;
    Run r = cli(data, {QStringLiteral("generate"), QStringLiteral("--projects"), QStringLiteral("3"),
                       QStringLiteral("--sheets"), QStringLiteral("4"), QStringLiteral("--equipment"), QStringLiteral("11")});
    QCOMPARE(r.status, 0);
    QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
    QVERIFY(r.out.startsWith(QStringLiteral("Generated mine 3: 3 projects, 12 worksheets, 132 equipment rows")));
    // Every link names a row of the same worksheet, and every truck's partner names it back.
    QCOMPARE(data.scalar(QStringLiteral("SELECT count(*) FROM \"Equipment.DB\" e WHERE e.AddedEquipID > 0 AND NOT EXISTS "
                                        "(SELECT 1 FROM \"Equipment.DB\" p WHERE p.PlanID = e.AddedEquipID AND "
                                        "p.CostType = e.CostType AND p.SheetID = e.SheetID)")),
             0);
    QCOMPARE(data.scalar(QStringLiteral("SELECT count(*) FROM \"Equipment.DB\" t JOIN \"Equipment.DB\" p ON p.PlanID = "
                                        "t.AddedEquipID WHERE t.EquipCode2 = 8 AND p.AddedEquipID <> t.PlanID")),
             0);
    r = cli(data, {QStringLiteral("bond"), QStringLiteral("--mine"), QStringLiteral("3"), QStringLiteral("--json")});
    QCOMPARE(r.status, 0);
    QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
}

// The whole example mine as a PDF, read back: every worksheet, the bond items
// as the bond command shows them, and the pages numbered in order.
void TestCli::generateOnAFullDisk_data()
{
    QTest::addColumn<int>("equipment");
    QTest::newRow("fails on commit") << 5;
    QTest::newRow("fails on a post") << 150;  // the engine spills pages before the end
}

// No room to write: the command says so and fails; the data file stays whole, without the mine.
void TestCli::generateOnAFullDisk()
{
    QFETCH(int, equipment);
    TempData data;
    const qint64 mines = data.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\""));
    const qint64 size = QFileInfo(data.dataFile()).size();
    const Run r = cli(data,
                      {QStringLiteral("generate"), QStringLiteral("--projects"), QStringLiteral("20"), QStringLiteral("--sheets"),
                       QStringLiteral("10"), QStringLiteral("--equipment"), QString::number(equipment)},
                      size + 64 * 1024);
    QCOMPARE(r.status, 1);
    static const QRegularExpression reported(QStringLiteral("^error: .*(disk I/O error|disk is full)$"),
                                             QRegularExpression::MultilineOption);
    QVERIFY2(reported.match(r.err).hasMatch(), qPrintable(r.err));
    QVERIFY(!r.out.contains(QStringLiteral("Generated")));
    QCOMPARE(data.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\"")), mines);
    QCOMPARE(data.scalar(QStringLiteral("SELECT count(*) FROM pragma_integrity_check WHERE integrity_check = 'ok'")), 1);
}

void TestCli::reportReadsBack()
{
    TempData data;
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("mine.pdf"));
    Run r = cli(data, {QStringLiteral("report"), QStringLiteral("--mine"), QStringLiteral("1"), QStringLiteral("--detail"),
                       QStringLiteral("--pdf"), pdf});
    QCOMPARE(r.status, 0);
    QVERIFY2(r.out.startsWith(QStringLiteral("Printed ")), qPrintable(r.out + r.err));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished(60000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    for (const char* sheet : {"Worksheet 2", "Worksheet 3", "Worksheet 5,", "Worksheet 6,", "Worksheet 7,",
                              "Worksheet 8,", "Worksheet 9,", "Worksheet 10,", "Worksheet 11A,", "Worksheet 11B,",
                              "Worksheet 12,", "Worksheet 13,", "Worksheet 14", "Worksheet 15", "Worksheet 16",
                              "Worksheet 17", "Worksheet 18", "Hours Required for User Defined Use -- Item:"})
        QVERIFY2(printed.contains(QLatin1String(sheet)), sheet);

    const Run bond = cli(data, {QStringLiteral("bond"), QStringLiteral("--mine"), QStringLiteral("1")});
    QCOMPARE(bond.status, 0);
    const QStringList items = bond.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
    QCOMPARE(items.size(), 34);
    for (const QString& item : items) {
        const QString amount = item.mid(4 + 58).trimmed();
        QVERIFY2(!amount.isEmpty() && printed.contains(amount), qPrintable(item));
    }

    const QRegularExpression pageNumber(QStringLiteral("\\bPage (\\d+)\\b"));
    QList<int> pages;
    for (auto it = pageNumber.globalMatch(printed); it.hasNext();)
        pages << it.next().captured(1).toInt();
    const int count = static_cast<int>(r.out.section(QLatin1Char(' '), 1, 1).toInt());
    QVERIFY(count > 20);
    QCOMPARE(pages.size(), count);
    for (int i = 0; i < pages.size(); ++i)
        QCOMPARE(pages[i], i + 1);

    // One equipment row alone, as plain text.
    const QString plain = out.filePath(QStringLiteral("truck.txt"));
    r = cli(data, {QStringLiteral("report"), QStringLiteral("--mine"), QStringLiteral("1"), QStringLiteral("--plan"),
                   QStringLiteral("5"), QStringLiteral("--text"), plain});
    QCOMPARE(r.status, 0);
    QFile file(plain);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString truck = QString::fromUtf8(file.readAll());
    QVERIFY(truck.contains(QStringLiteral("Worksheet 9, ")));
    QVERIFY(truck.contains(QStringLiteral("Loader Name: ")));
    QVERIFY(!truck.contains(QStringLiteral("Worksheet 13")));

    // --paper: the PDF and the text file of the same report on A4 have the same pages;
    // a paper not offered is a usage error and writes nothing.
    const QString a4 = out.filePath(QStringLiteral("a4.pdf")), a4Text = out.filePath(QStringLiteral("a4.txt"));
    r = cli(data, {QStringLiteral("report"), QStringLiteral("--mine"), QStringLiteral("1"), QStringLiteral("--paper"),
                   QStringLiteral("A4"), QStringLiteral("--pdf"), a4});
    QCOMPARE(r.status, 0);
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {a4});
    QVERIFY(info.waitForFinished(60000));
    const QString a4Info = QString::fromUtf8(info.readAllStandardOutput());
    QVERIFY2(a4Info.contains(QStringLiteral("(A4)")), qPrintable(a4Info));
    const int a4Pages = r.out.section(QLatin1Char(' '), 1, 1).toInt();
    QVERIFY(a4Pages != count);  // another paper, other pages
    r = cli(data, {QStringLiteral("report"), QStringLiteral("--mine"), QStringLiteral("1"), QStringLiteral("--paper"),
                   QStringLiteral("a4"), QStringLiteral("--text"), a4Text});
    QCOMPARE(r.status, 0);
    QFile a4File(a4Text);
    QVERIFY(a4File.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(a4File.readAll()).count(QLatin1Char('\f')) + 1, a4Pages);
    r = cli(data, {QStringLiteral("report"), QStringLiteral("--mine"), QStringLiteral("1"), QStringLiteral("--paper"),
                   QStringLiteral("B5"), QStringLiteral("--pdf"), out.filePath(QStringLiteral("b5.pdf"))});
    QCOMPARE(r.status, 2);
    QVERIFY(r.err.contains(QStringLiteral("unknown paper B5")));
    QVERIFY(!QFileInfo::exists(out.filePath(QStringLiteral("b5.pdf"))));
}

void TestCli::refusals_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("error");
    QTest::newRow("no such mine") << QStringList{"bond", "--mine", "99"} << "error: There is no mine 99\n";
    QTest::newRow("project of another mine") << QStringList{"bond", "--mine", "2", "--project", "1"}
                                             << "error: Project 1 is not a project of mine 2\n";
    QTest::newRow("no such row") << QStringList{"hours", "--plan", "4000"} << "error: There is no equipment row 4000\n";
    QTest::newRow("row of another mine")
        << QStringList{"report", "--mine", "2", "--plan", "5", "--text", "/dev/null"}
        << "error: Mine 2 does not hold the project or equipment row named\n";
    QTest::newRow("unwritable file")
        << QStringList{"report", "--mine", "1", "--choice", "1", "--text", "/nonexistent/dir/mine.txt"}
        << "error: Cannot write /nonexistent/dir/mine.txt: No such file or directory\n";
}

void TestCli::refusals()
{
    QFETCH(QStringList, args);
    QFETCH(QString, error);
    TempData data;
    const Run r = cli(data, args);
    QCOMPARE(r.status, 1);
    // Printing runs a GUI application, whose platform may add its own notices first.
    QStringList err = r.err.split(QLatin1Char('\n'));
    err.removeIf([](const QString& l) { return l.startsWith(QLatin1String("QStandardPaths: ")); });
    QCOMPARE(err.join(QLatin1Char('\n')), error);
    QVERIFY(r.out.isEmpty());
}

void TestCli::deleteRunsTheCascades_data()
{
    QTest::addColumn<QStringList>("args");   // the record's id goes after the first
    QTest::addColumn<QString>("prefix");     // put before the id
    QTest::addColumn<QString>("idQuery");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");    // a line of standard error, or empty
    QTest::addColumn<QString>("leftQuery");  // what is left afterwards
    QTest::addColumn<qint64>("left");
    const QString everything = QStringLiteral(
        "SELECT (SELECT count(*) FROM \"MINE.DB\") * 1000000 + (SELECT count(*) FROM \"PROJECT.DB\") * 10000 + "
        "(SELECT count(*) FROM \"DEMOL.DB\") * 1000 + (SELECT count(*) FROM \"MATERIAL.DB\") * 100 + "
        "(SELECT count(*) FROM \"Equipment.DB\")");
    QTest::newRow("mine, answered Yes") << QStringList{"--mine", "--yes"} << "" << "SELECT MineID FROM \"MINE.DB\"" << 0 << ""
                                        << everything << qint64(0);
    QTest::newRow("mine, answered No") << QStringList{"--mine"} << "" << "SELECT MineID FROM \"MINE.DB\"" << 1
                                       << "error: Delete Canceled!" << everything << qint64(1022244);
    QTest::newRow("project") << QStringList{"--project"} << "" << "SELECT min(PrjID) FROM \"PROJECT.DB\"" << 0 << ""
                             << everything << qint64(1011122);
    QTest::newRow("earthmoving worksheet") << QStringList{"--sheet"} << "M:" << "SELECT min(SheetID) FROM \"MATERIAL.DB\""
                                           << 0 << "" << everything << qint64(1022133);
    QTest::newRow("loader, with its truck")
        << QStringList{"--plan"} << "" << "SELECT min(PlanID) FROM \"Equipment.DB\" WHERE EquipCode2 = 6" << 0 << ""
        << everything << qint64(1022242);
    QTest::newRow("truck: its loader stays, unlinked")
        << QStringList{"--plan"} << "" << "SELECT min(PlanID) FROM \"Equipment.DB\" WHERE EquipCode2 = 8" << 0 << ""
        << "SELECT AddedEquipID FROM \"Equipment.DB\" WHERE EquipCode2 = 6 ORDER BY PlanID LIMIT 1" << qint64(-1);
}

// The delete command on a generated mine of 2 projects, each with a demolition
// and an earthmoving worksheet of 11 machines.
void TestCli::deleteRunsTheCascades()
{
    QFETCH(QStringList, args);
    QFETCH(QString, prefix);
    QFETCH(QString, idQuery);
    QFETCH(int, status);
    QFETCH(QString, message);
    QFETCH(QString, leftQuery);
    QFETCH(qint64, left);
    TempData data;
    data.removeShippedMines();
    QCOMPARE(cli(data, {QStringLiteral("generate"), QStringLiteral("--projects"), QStringLiteral("2"), QStringLiteral("--sheets"),
                        QStringLiteral("2"), QStringLiteral("--equipment"), QStringLiteral("11")})
                 .status,
             0);
    const qint64 id = data.scalar(idQuery);
    QVERIFY(id > 0);
    args.insert(1, prefix + QString::number(id));
    const Run r = cli(data, QStringList{QStringLiteral("delete")} + args);
    QCOMPARE(r.status, status);
    if (status == 0)
        QVERIFY2(r.out.startsWith(QStringLiteral("Deleted ")), qPrintable(r.out + r.err));
    if (!message.isEmpty())
        QVERIFY2(r.err.split(QLatin1Char('\n')).contains(message), qPrintable(r.err));
    QCOMPARE(data.scalar(leftQuery), left);
    QCOMPARE(data.scalar(QStringLiteral("SELECT count(*) FROM \"Equipment.DB\" WHERE EquipCode2 IN (2, 4, 6, 8) AND "
                                        "AddedEquipID >= 0 AND AddedEquipID NOT IN (SELECT PlanID FROM \"Equipment.DB\")")),
             qint64(0));
}

void TestCli::refusedOutputs()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QFETCH(bool, pdf);
    TempData data;
    QCOMPARE(cli(data, {QStringLiteral("check")}).status, 0);  // start-up's own change to the engine configuration
    QTemporaryDir scratch;
    const QString path = refusedOutputPath(kind, data, scratch.path());
    const QString before = whatIsAt(path);
    const QString dataBefore = whatIsAt(data.dataFile());
    const Run r = cli(data, {QStringLiteral("report"), QStringLiteral("--mine"), QStringLiteral("1"), QStringLiteral("--choice"),
                             QStringLiteral("1"), pdf ? QStringLiteral("--pdf") : QStringLiteral("--text"), path});
    QCOMPARE(r.status, 1);
    QStringList err = r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    err.removeIf([](const QString& l) { return l.startsWith(QLatin1String("QStandardPaths: ")); });
    QCOMPARE(err, QStringList{QStringLiteral("error: Cannot write the report to %1: %2. Choose another file.").arg(path, reason)});
    QVERIFY(r.out.isEmpty());
    QCOMPARE(whatIsAt(path), before);
    QCOMPARE(whatIsAt(data.dataFile()), dataBefore);
    QCOMPARE(cli(data, {QStringLiteral("check")}).status, 0);  // the data still open
}

namespace {

// The truck calculator's example: an excavator with a 3-unit payload and a half-minute
// cycle, 20-unit trucks on a 20-minute cycle; `changes` replaces or adds options.
QStringList truckArgs(const QStringList& changes)
{
    QStringList base{"--volume",     "3312", "--cycle",       "0.5", "--bucket",       "3",  "--fill",        "1",
                     "--loader-eff", ".92",  "--truck-cap",   "20",  "--truck-haul",   "10", "--truck-return", "5",
                     "--dump",       "2",    "--truck-eff",   "0.92", "--truck-labor", "20", "--truck-equip",  "40",
                     "--loader-labor", "30", "--loader-equip", "70", "--trucks",       "2"};
    QStringList args{"trucks"};
    for (int i = 0; i < changes.size(); ++i) {
        const int at = static_cast<int>(base.indexOf(changes[i]));
        if (at >= 0 && i + 1 < changes.size() && !changes[i + 1].startsWith(QLatin1String("--")))
            base[at + 1] = changes[++i];
        else
            args << changes[i];
    }
    return args + base;
}

}  // namespace

void TestCli::trucks_data()
{
    const QString one = QStringLiteral("error: The value of the item shown in red must be greater than zero.\nChange "
                                       "the value of this item and try to calculate again\n");
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::newRow("excavator")
        << QStringList{"--excavator"} << 0
        << "Total Cost: $7,333.33\nProgram Calculated Optimal # of Trucks: 6\nTotal Cost of Program Calculated # "
           "Trucks: $5,111.11\n"
        << "";
    QTest::newRow("json") << QStringList{"--excavator", "--json"} << 0
                          << "{\"total_cost\": 7333.3333333333339, \"optimal_trucks\": 6, \"optimal_cost\": "
                             "5111.1111111111104}\n"
                          << "";
    QTest::newRow("zero cost json") << QStringList{"--excavator", "--volume", "0", "--json"} << 0
                                    << "{\"total_cost\": 0, \"optimal_trucks\": null, \"optimal_cost\": null}\n" << "";
    // A loader cycle of 0.25 + 0.25 + 0.5 = 1 minute: 165.6 an hour, 20 loader hours; trucks
    // on 10 + 5 + 2 + 6 minutes: from 4 trucks on the loader is the slower, 3 trucks take 25 5/9 hours.
    QTest::newRow("loader") << QStringList{"--loader", "--haul", "0.25", "--return", "0.25", "--trucks", "5"} << 0
                            << "Total Cost: $8,000.00\nProgram Calculated Optimal # of Trucks: 4\nTotal Cost of "
                               "Program Calculated # Trucks: $6,800.00\n"
                            << "";
    QTest::newRow("loader times zero")
        << QStringList{"--loader", "--haul", "0", "--return", "0", "--cycle", "0"} << 1 << ""
        << "error: The sum of these 3 items shown in red must be greater than zero.\nChange the values of these items "
           "and try to calculate again\nerror: shown in red: \"Haul Time\" (--haul), \"Return Time\" (--return), "
           "\"Basic Cycle Time\" (--cycle)\n";
    QTest::newRow("no fill")
        << QStringList{"--excavator", "--fill", "0"} << 1 << ""
        << "error: The values of both the items shown in red must be greater than zero.\nChange the values of these "
           "items and try to calculate again\nerror: shown in red: \"Heaped Bucket Capacity:\" (--bucket), \"Bucket "
           "Fill Factor\" (--fill)\n";
    QTest::newRow("truck below a payload") << QStringList{"--excavator", "--truck-cap", "2"} << 1 << ""
                                           << one + "error: shown in red: \"Truck Capacity:\" (--truck-cap)\n";
    QTest::newRow("excavator cycle zero") << QStringList{"--excavator", "--cycle", "0"} << 1 << ""
                                          << one + "error: shown in red: \"Basic Cycle Time\" (--cycle)\n";
    QTest::newRow("no trucks") << QStringList{"--excavator", "--trucks", "0"} << 1 << ""
                               << one + "error: shown in red: \"6. Enter number of trucks\" (--trucks)\n";
    QTest::newRow("factor not offered")
        << QStringList{"--excavator", "--truck-eff", "0.9"} << 1 << ""
        << "error: --truck-eff must be one of the offered efficiency factors .92, .83, .75 or .67, not 0.9\n";
}

void TestCli::trucks()
{
    QFETCH(QStringList, changes);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    TempData data;
    const Run r = cli(data, truckArgs(changes));
    QCOMPARE(r.out, out);
    QCOMPARE(r.err, err);
    QCOMPARE(r.status, status);
}

void TestCli::volumeSets()
{
    TempData data;
    // Two sets of project 1: the first with sections of 3.70, 7.41 and three of 0.04 cyd
    // (0.037 each: their rounded sum is 0.12, not 0.11); the second without sections.
    data.sql(QStringLiteral(
        "INSERT INTO \"CrossSections.db\" (PrjID, CrossID, VolumeName) VALUES (1, 7, 'Box Cut'), (1, 9, 'Empty');"
        "INSERT INTO \"CrossSections.db\" (PrjID, CrossID, VolumeName) VALUES (2, 11, 'Other Project');"
        "INSERT INTO \"Volume.db\" (CrossID, CrossSectionName, Distance, EndArea, AdjustmentFactor) VALUES"
        " (7, 'Station 0+00', 10, 10, 1), (7, 'Station 0+10', 10, 10, 2), (7, 'A', 1, 1, 1), (7, 'B', 1, 1, 1),"
        " (7, 'C', 1, 1, 1), (7, 'No factor', 10, 10, NULL), (11, 'Elsewhere', 100, 100, 1);"));
    const Run all = cli(data, {QStringLiteral("volume"), QStringLiteral("--project"), QStringLiteral("1"),
                               QStringLiteral("--json")});
    QCOMPARE(all.status, 0);
    QCOMPARE(all.err, QString());
    const QJsonObject o = QJsonDocument::fromJson(all.out.toUtf8()).object();
    QCOMPARE(o.value(QStringLiteral("project")).toInt(), 1);
    const QJsonArray sets = o.value(QStringLiteral("sets")).toArray();
    QCOMPARE(sets.size(), 2);
    const QJsonObject box = sets.at(0).toObject();
    QCOMPARE(box.value(QStringLiteral("set")).toInt(), 7);
    QCOMPARE(box.value(QStringLiteral("name")).toString(), QStringLiteral("Box Cut"));
    QList<double> volumes;
    for (const QJsonValue& v : box.value(QStringLiteral("sections")).toArray())
        volumes << v.toObject().value(QStringLiteral("volume")).toDouble();
    QCOMPARE(volumes, (QList<double>{3.70, 7.41, 0.04, 0.04, 0.04, 0.0}));
    QCOMPARE(box.value(QStringLiteral("total")).toDouble(), 11.23);
    QCOMPARE(sets.at(1).toObject().value(QStringLiteral("total")).toDouble(), 0.0);
    QVERIFY(sets.at(1).toObject().value(QStringLiteral("sections")).toArray().isEmpty());

    // One set by its key, as text.
    const Run one = cli(data, {QStringLiteral("volume"), QStringLiteral("--project"), QStringLiteral("1"),
                               QStringLiteral("--set"), QStringLiteral("7")});
    QCOMPARE(one.status, 0);
    QVERIFY(one.out.contains(QStringLiteral("Volume set 7: Box Cut")));
    QVERIFY(!one.out.contains(QStringLiteral("Empty")));
    QVERIFY(one.out.contains(QRegularExpression(QStringLiteral("Total Volume: +11\\.23 cyd"))));

    // A set of another project is refused.
    const Run other = cli(data, {QStringLiteral("volume"), QStringLiteral("--project"), QStringLiteral("1"),
                                 QStringLiteral("--set"), QStringLiteral("11")});
    QCOMPARE(other.status, 1);
    QCOMPARE(other.err.trimmed(), QStringLiteral("error: Volume set 11 is not a volume set of project 1"));
}

void TestCli::copyOfAMine()
{
    TempData data;
    QTemporaryDir dir;
    const QString logFile = dir.filePath(QStringLiteral("copy.txt"));
    const Run r = cli(data, {QStringLiteral("copy"), QStringLiteral("--mine"), QStringLiteral("1"), QStringLiteral("--json"),
                             QStringLiteral("--log"), logFile});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.err, QString());
    QCOMPARE(r.out.count(QLatin1Char('\n')), 1);  // exactly one object
    QVERIFY(r.out.startsWith(QStringLiteral("{\"source\": 1, \"mine\": ")));
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    const int copy = o.value(QStringLiteral("mine")).toInt();
    QCOMPARE(copy, static_cast<int>(data.scalar(QStringLiteral("SELECT max(MineID) FROM \"MINE.DB\""))));
    QStringList lines;
    for (const QJsonValue& v : o.value(QStringLiteral("log")).toArray())
        lines << v.toString();
    QCOMPARE(lines, (QStringList{"Found Pusher and Scraper for: Replace Topsoil from Stockpile",
                                 "Found Pusher and Scraper for: Replace Topsoil from Stockpile",
                                 "Found Truck Loader/Excavator for: Haul Spoil to Highwall Area",
                                 "Found Truck Loader/Excavator for: Remove Sediment Pond Embankments"}));
    QFile file(logFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()), lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    // The copy is in the source's data set and has the same bond.
    QCOMPARE(data.scalar(QStringLiteral("SELECT RevegYears FROM \"MINE.DB\" WHERE MineID = %1").arg(copy)), 1);
    const auto bond = [&](int mine) {
        QJsonObject b = QJsonDocument::fromJson(
                            cli(data, {QStringLiteral("bond"), QStringLiteral("--mine"), QString::number(mine),
                                       QStringLiteral("--json")})
                                .out.toUtf8())
                            .object();
        b.remove(QStringLiteral("mine"));
        return b;
    };
    QCOMPARE(bond(copy), bond(1));

    // Without --json: the new mine, then the log lines.
    const Run text = cli(data, {QStringLiteral("copy"), QStringLiteral("--mine"), QString::number(copy)});
    QCOMPARE(text.status, 0);
    QCOMPARE(text.out, QStringLiteral("Copied mine %1 to mine %2\n").arg(copy).arg(copy + 1) + lines.join(QLatin1Char('\n')) +
                           QLatin1Char('\n'));
}

void TestCli::failedCopyStage()
{
    TempData data;
    data.sql(QStringLiteral("UPDATE \"MATERIAL.DB\" SET Description = NULL WHERE SheetID = (SELECT max(SheetID) FROM "
                            "\"MATERIAL.DB\" m JOIN \"PROJECT.DB\" p ON m.PrjID = p.PrjID WHERE p.MineID = 1)"));
    const qint64 mines = data.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\""));
    const Run r = cli(data, {QStringLiteral("copy"), QStringLiteral("--mine"), QStringLiteral("1"), QStringLiteral("--json")});
    QCOMPARE(r.status, 1);
    QCOMPARE(r.out, QString());
    QCOMPARE(r.err, QStringLiteral("error: Could NOT copy Mat data!\n"));
    // The partial copy stays, as the window leaves it.
    QCOMPARE(data.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\"")), mines + 1);
}

void TestCli::eventLog()
{
    TempData data;
    data.sql(QStringLiteral("DELETE FROM \"EventLog.db\"; INSERT INTO \"EventLog.db\" (Event, MineName, Time) VALUES "
                            "('Insert', 'First Mine', '2024-01-02T08:00:00'), ('Before Edit', 'Second Mine', "
                            "'2024-01-03T09:15:30'), ('Delete', 'First Mine', '2024-02-01T10:00:00')"));
    const Run all = cli(data, {QStringLiteral("log")});
    QCOMPARE(all.status, 0);
    QCOMPARE(all.out, QStringLiteral("2024-01-02 08:00:00  Insert           First Mine\n"
                                     "2024-01-03 09:15:30  Before Edit      Second Mine\n"
                                     "2024-02-01 10:00:00  Delete           First Mine\n"));
    const Run one = cli(data, {QStringLiteral("log"), QStringLiteral("--mine"), QStringLiteral("First Mine"),
                               QStringLiteral("--json")});
    QCOMPARE(one.status, 0);
    const QJsonArray entries = QJsonDocument::fromJson(one.out.toUtf8()).array();
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries[0].toObject().value(QStringLiteral("event")).toString(), QStringLiteral("Insert"));
    QCOMPARE(entries[1].toObject().value(QStringLiteral("time")).toString(), QStringLiteral("2024-02-01 10:00:00"));
}

void TestCli::commandLine_data()
{
    QTest::addColumn<QStringList>("args");  // --data DIR goes after them
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");       // how standard output begins
    QTest::addColumn<QString>("err");       // a line of standard error, or empty for none
    QTest::newRow("help") << QStringList{"--help"} << 0 << "usage: tarvane-cli init DIR\n" << "";
    QTest::newRow("help of a command") << QStringList{"bond", "--help"} << 0
                                       << "usage: tarvane-cli bond --mine ID [--project ID] [--json] [--data DIR]\n\n"
                                       << "";
    QTest::newRow("short help of a command") << QStringList{"backup", "-h"} << 0 << "usage: tarvane-cli backup --to FILE"
                                             << "";
    QTest::newRow("version") << QStringList{"--version"} << 0 << "tarvane-cli 2.4.9\n" << "";
    QTest::newRow("no command") << QStringList{} << 2 << "" << "tarvane-cli: no command given";
    QTest::newRow("unknown command") << QStringList{"bonds"} << 2 << "" << "tarvane-cli: unknown command 'bonds'";
    QTest::newRow("unknown option") << QStringList{"bond", "--mine", "1", "--pdf", "x.pdf"} << 2 << ""
                                    << "tarvane-cli: Unknown option 'pdf'.";
    QTest::newRow("missing value") << QStringList{"totals", "--json", "--project"} << 2 << ""
                                   << "tarvane-cli: Missing value after '--project'.";
    QTest::newRow("neither output") << QStringList{"export", "--mine", "1"} << 2 << ""
                                    << "usage: tarvane-cli init DIR";
    QTest::newRow("refused operation") << QStringList{"bond", "--mine", "99"} << 1 << ""
                                       << "error: There is no mine 99";
    QTest::newRow("value after an equals sign") << QStringList{"bond", "--mine=1", "--project=2"} << 0
                                                << "Mine 1: " << "";
}

void TestCli::commandLine()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    TempData data;
    // The value a last option lacks would be the --data added after it.
    const bool lastTakesValue = !args.isEmpty() && args.last() == QLatin1String("--project");
    const Run r = lastTakesValue ? run(data, args) : cli(data, args);
    QCOMPARE(r.status, status);
    QVERIFY2(out.isEmpty() ? r.out.isEmpty() : r.out.startsWith(out), qPrintable(r.out));
    if (err.isEmpty())
        QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
    else
        QVERIFY2(r.err.split(QLatin1Char('\n')).contains(err), qPrintable(r.err));
}

namespace {
QStringList truckArgs(const QStringList& changes);
}

void TestCli::usageStatuses_data()
{
    QTest::addColumn<QStringList>("args");  // --data DIR goes after them
    QTest::addColumn<QString>("err");       // the first line of standard error
    const QStringList trucks = truckArgs({QStringLiteral("--excavator")});
    QStringList both = trucks;
    both << QStringLiteral("--loader") << QStringLiteral("--haul") << QStringLiteral("1") << QStringLiteral("--return")
         << QStringLiteral("1");
    QStringList neither = trucks;
    neither.removeAll(QStringLiteral("--excavator"));
    QStringList noTrucks = trucks;
    noTrucks.remove(noTrucks.indexOf(QStringLiteral("--trucks")), 2);
    QTest::newRow("trucks: loader and excavator") << both << "tarvane-cli: trucks needs either --loader or --excavator";
    QTest::newRow("trucks: neither") << neither << "tarvane-cli: trucks needs either --loader or --excavator";
    QTest::newRow("trucks: haul time of an excavator")
        << truckArgs({QStringLiteral("--excavator"), QStringLiteral("--haul"), QStringLiteral("1")})
        << "tarvane-cli: trucks does not take '--haul 1'";
    QTest::newRow("trucks: no --trucks") << noTrucks << "tarvane-cli: --trucks is required";
    QTest::newRow("bond: no --mine") << QStringList{"bond", "--json"} << "tarvane-cli: --mine is required";
    QTest::newRow("totals: no --project") << QStringList{"totals"} << "tarvane-cli: --project is required";
    QTest::newRow("hours: not a number") << QStringList{"hours", "--plan", "one"}
                                         << "tarvane-cli: --plan takes a whole number, not 'one'";
    QTest::newRow("help: no --context") << QStringList{"help"} << "tarvane-cli: --context is required";
    QTest::newRow("help: unknown format") << QStringList{"help", "--context", "2", "--format", "pdf"}
                                          << "tarvane-cli: --format is html or win, not pdf";
    QTest::newRow("report: --sheet of the mine page")
        << QStringList{"report", "--mine", "1", "--choice", "1", "--sheet", "1", "--text", "/dev/null"}
        << "tarvane-cli: --sheet applies to choices 3 to 9";
    QTest::newRow("explain: item 0") << QStringList{"explain", "--mine", "1", "--item", "0"}
                                     << "tarvane-cli: --item takes a bond item, 1 to 34, not 0";
    QTest::newRow("explain: item 35") << QStringList{"explain", "--mine", "1", "--item", "35"}
                                      << "tarvane-cli: --item takes a bond item, 1 to 34, not 35";
    QTest::newRow("explain: no --item") << QStringList{"explain", "--mine", "1"} << "tarvane-cli: --item is required";
    QTest::newRow("import: no --from") << QStringList{"import", "--mine", "1"} << "tarvane-cli: --from is required";
    QTest::newRow("import: neither keep nor bring")
        << QStringList{"import", "--from", "/tmp", "--mine", "1", "--reference", "both"}
        << "tarvane-cli: --reference takes keep or bring, not 'both'";
    QTest::newRow("reprice: an index of 0") << QStringList{"reprice", "--mine", "1", "--index", "0"}
                                            << "tarvane-cli: --index takes a cost index from 0.1 to 9,999,999,999.99";
    QTest::newRow("reprice: an index beyond the mine page's") << QStringList{"reprice", "--mine", "1", "--index", "1e308"}
                                                               << "tarvane-cli: --index takes a cost index from 0.1 to 9,999,999,999.99";
    QTest::newRow("reprice: not a date") << QStringList{"reprice", "--mine", "1", "--index", "13950", "--index-date", "2025-13-01"}
                                         << "tarvane-cli: --index-date takes a date as YYYY-MM-DD, not '2025-13-01'";
    QTest::newRow("compare: no --with") << QStringList{"compare", "--mine", "1"} << "tarvane-cli: --with is required";
    QTest::newRow("report: --sheet and --plan")
        << QStringList{"report", "--mine", "1", "--choice", "5", "--sheet", "1", "--plan", "3", "--text", "/dev/null"}
        << "tarvane-cli: --sheet and --plan name two different things to print";
    QTest::newRow("delete: a worksheet without its kind") << QStringList{"delete", "--sheet", "12"}
                                                          << "tarvane-cli: --sheet takes D, M, R or O, a colon and a "
                                                             "SheetID, not '12'";
}

// Every usage error: status 2, the reason and the hint to the command's help, nothing done.
void TestCli::usageStatuses()
{
    QFETCH(QStringList, args);
    QFETCH(QString, err);
    TempData data;
    const Run r = cli(data, args);
    QCOMPARE(r.status, 2);
    QVERIFY(r.out.isEmpty());
    QStringList lines = r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    lines.removeIf([](const QString& l) { return l.startsWith(QLatin1String("QStandardPaths: ")); });
    QVERIFY2(lines.size() == 2, qPrintable(r.err));
    QCOMPARE(lines[0], err);
    QCOMPARE(lines[1], QStringLiteral("Try 'tarvane-cli %1 --help' for more.").arg(args.first()));
}

void TestCli::unusableStoredValue_data()
{
    QTest::addColumn<QString>("update");      // the stored value the program cannot use
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("keyField");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");       // as the outputs name it
    QTest::addColumn<int>("project");
    QTest::addColumn<int>("plan");            // the machine holding it, or -1
    QTest::addColumn<QList<QStringList>>("reports");  // the report choices whose pages show it
    const QStringList minePage{"--choice", "1"};
    QTest::newRow("NaN as text, demolition unit cost")
        << "UPDATE \"DEMOL.DB\" SET UnitCost = 'NaN' WHERE SheetID = 1" << "DEMOL.DB" << "SheetID" << 1 << "UnitCost"
        << "NaN" << 2 << -1 << QList<QStringList>{minePage, {"--choice", "3"}, {"--choice", "0"}};
    QTest::newRow("1e16, other reclamation cost")
        << "UPDATE \"OTHERREC.DB\" SET TotalCost = 1e16 WHERE SheetID = 1" << "OTHERREC.DB" << "SheetID" << 1
        << "TotalCost" << "10000000000000000" << 1 << -1
        << QList<QStringList>{minePage, {"--choice", "9", "--sheet", "1"}, {"--choice", "2"}};
    QTest::newRow("infinity, seed cost")
        << "UPDATE \"REVEG.DB\" SET CostSeed = 9e999 WHERE SheetID = 1" << "REVEG.DB" << "SheetID" << 1 << "CostSeed"
        << "inf" << 1 << -1 << QList<QStringList>{minePage, {"--choice", "7", "--sheet", "1"}};
    QTest::newRow("text in a number column, a dozer's volume")
        << "UPDATE \"Equipment.DB\" SET Volume = '12 dollars' WHERE PlanID = 2" << "Equipment.DB" << "PlanID" << 2
        << "Volume" << "12 dollars" << 2 << 2
        << QList<QStringList>{{"--choice", "3"}, {"--choice", "4", "--sheet", "3"}, {"--plan", "2"}};
}

// A stored value no computation can use: every output leaves its row out, is written,
// says it is incomplete naming table, key, field and value, and ends with status 3.
void TestCli::unusableStoredValue()
{
    QFETCH(QString, update);
    QFETCH(QString, table);
    QFETCH(QString, keyField);
    QFETCH(int, key);
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(int, project);
    QFETCH(int, plan);
    QFETCH(QList<QStringList>, reports);
    TempData data;
    data.sql(update);
    const QString line = QStringLiteral("%1, %2 %3: %4 = %5").arg(table, keyField).arg(key).arg(field, value);
    const QString printedLine = QStringLiteral("Incomplete: 1 stored value(s) left out");
    const auto namesTheValue = [&](const QJsonObject& json) {
        const QJsonArray list = json.value(QStringLiteral("incomplete")).toArray();
        return list.size() == 1 && list[0].toObject().value(QStringLiteral("table")).toString() == table &&
               list[0].toObject().value(QStringLiteral("key")).toInt() == key &&
               list[0].toObject().value(QStringLiteral("field")).toString() == field &&
               list[0].toObject().value(QStringLiteral("value")).toString() == value;
    };

    QList<QStringList> json{{"bond", "--mine", "1", "--json"}, {"totals", "--project", QString::number(project), "--json"}};
    if (plan >= 0)
        json << QStringList{"hours", "--plan", QString::number(plan), "--json"};
    for (const QStringList& args : json) {
        const Run r = cli(data, args);
        QVERIFY2(r.status == 3, qPrintable(args.join(QLatin1Char(' ')) + QLatin1Char(' ') + r.err));
        QVERIFY2(namesTheValue(QJsonDocument::fromJson(r.out.toUtf8()).object()), qPrintable(r.out));
        QVERIFY2(r.err.contains(line), qPrintable(r.err));
    }
    const Run text = cli(data, {QStringLiteral("bond"), QStringLiteral("--mine"), QStringLiteral("1")});
    QCOMPARE(text.status, 3);
    QVERIFY2(text.out.contains(printedLine + QStringLiteral("\n  ") + line), qPrintable(text.out));

    QTemporaryDir out;
    for (const QStringList& choice : reports) {
        for (const bool pdf : {true, false}) {
            const QString file = out.filePath(pdf ? QStringLiteral("r.pdf") : QStringLiteral("r.txt"));
            QFile::remove(file);
            QStringList args{QStringLiteral("report"), QStringLiteral("--mine"), QStringLiteral("1"),
                             QStringLiteral("--project"), QString::number(project)};
            args << choice << (pdf ? QStringLiteral("--pdf") : QStringLiteral("--text")) << file;
            const Run r = cli(data, args);
            const QString what = args.join(QLatin1Char(' '));
            QVERIFY2(r.status == 3, qPrintable(what + QLatin1Char('\n') + r.err));
            QVERIFY2(r.out.startsWith(QStringLiteral("Printed ")) && r.out.contains(line), qPrintable(r.out));
            QString printed;
            if (pdf) {
                QProcess p;
                p.start(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
                QVERIFY(p.waitForFinished(60000));
                printed = QString::fromUtf8(p.readAllStandardOutput());
            } else {
                QFile f(file);
                QVERIFY(f.open(QIODevice::ReadOnly));
                printed = QString::fromUtf8(f.readAll());
            }
            QVERIFY2(printed.contains(printedLine) && printed.contains(line), qPrintable(what));
        }
    }

    const QString xlsx = out.filePath(QStringLiteral("mine.xlsx"));
    Run r = cli(data, {QStringLiteral("export"), QStringLiteral("--mine"), QStringLiteral("1"), QStringLiteral("--xlsx"), xlsx});
    QCOMPARE(r.status, 3);
    const XlsxReader book(xlsx);
    const QStringList names = book.sheetNames();
    QCOMPARE(names.last(), QStringLiteral("Warnings"));
    const auto warnings = book.cells(static_cast<int>(names.size()));
    QCOMPARE(warnings.value(QStringLiteral("A2")).value, table);
    QCOMPARE(warnings.value(QStringLiteral("C2")).value, QString::number(key));
    QCOMPARE(warnings.value(QStringLiteral("D2")).value, field);
    QCOMPARE(warnings.value(QStringLiteral("E2")).value, value);
    QCOMPARE(warnings.value(QStringLiteral("A4")).value, printedLine);
    const QString csv = out.filePath(QStringLiteral("csv"));
    r = cli(data, {QStringLiteral("export"), QStringLiteral("--mine"), QStringLiteral("1"), QStringLiteral("--csv"), csv});
    QCOMPARE(r.status, 3);
    QFile w(csv + QStringLiteral("/Warnings.csv"));
    QVERIFY(w.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(w.readAll()).contains(line));
}

void TestCli::dataBeforeOrAfterTheCommand()
{
    TempData data;
    const QStringList bond{QStringLiteral("bond"), QStringLiteral("--mine"), QStringLiteral("1"), QStringLiteral("--json")};
    const Run after = cli(data, bond);
    QCOMPARE(after.status, 0);
    const Run before = run(data, QStringList{QStringLiteral("--data"), data.dataDir} + bond);
    QCOMPARE(before.status, 0);
    QCOMPARE(before.out, after.out);
    const Run joined = run(data, QStringList{QStringLiteral("--data=") + data.dataDir} + bond);
    QCOMPARE(joined.out, after.out);
    // Named before the command, another directory is used, not the alias's.
    TempData other;
    other.removeShippedMines();
    const Run elsewhere = run(data, QStringList{QStringLiteral("--data"), other.dataDir} + bond);
    QCOMPARE(elsewhere.status, 1);
    QCOMPARE(elsewhere.err, QStringLiteral("error: There is no mine 1\n"));
}

// The copy of a data file that another program is writing: the committed rows, whole.
void TestCli::backupWhileInUse()
{
    TempData data;
    QTemporaryDir scratch;
    const qint64 mines = data.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\""));
    sqlite3* writer = nullptr;
    QCOMPARE(sqlite3_open(data.dataFile().toUtf8().constData(), &writer), SQLITE_OK);
    QCOMPARE(sqlite3_exec(writer,
                          "BEGIN IMMEDIATE; INSERT INTO \"MINE.DB\" (Applicant, PemitID, Date, PreparedBy, ENRIndex, "
                          "ENRIndexDate, RevegYears) VALUES ('Uncommitted', 'U-1', '2024-01-01', 'T', 1, '2024-01-01', 5)",
                          nullptr, nullptr, nullptr),
             SQLITE_OK);
    const QString copyDir = scratch.filePath(QStringLiteral("Copy"));
    const QString copy = copyDir + QStringLiteral("/TarvaneData.db");
    const Run r = cli(data, {QStringLiteral("backup"), QStringLiteral("--to"), copy});
    sqlite3_exec(writer, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(writer);
    QCOMPARE(r.status, 0);
    QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
    QCOMPARE(r.out, QStringLiteral("Backed up %1 to %2\n").arg(data.dataFile(), copy));
    QCOMPARE(QDir(copyDir).entryList({QStringLiteral("*.part")}, QDir::Files), QStringList());

    TempData backup;  // its configuration, pointed at the copy by --data
    const auto onCopy = [&](QStringList args) {
        return run(backup, args << QStringLiteral("--data") << copyDir);
    };
    QCOMPARE(onCopy({QStringLiteral("check")}).status, 0);
    sqlite3* h = nullptr;
    QCOMPARE(sqlite3_open(copy.toUtf8().constData(), &h), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(h, "SELECT (SELECT count(*) FROM \"MINE.DB\"), (SELECT integrity_check FROM pragma_integrity_check)",
                       -1, &st, nullptr);
    QCOMPARE(sqlite3_step(st), SQLITE_ROW);
    QCOMPARE(sqlite3_column_int64(st, 0), mines);  // the uncommitted mine is not in the copy
    QCOMPARE(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1))), QStringLiteral("ok"));
    sqlite3_finalize(st);
    sqlite3_close(h);
    const QStringList bond{QStringLiteral("bond"), QStringLiteral("--mine"), QStringLiteral("1"), QStringLiteral("--json")};
    QCOMPARE(onCopy(bond).out, cli(data, bond).out);
    // A second backup of the same name replaces the first whole.
    QCOMPARE(cli(data, {QStringLiteral("backup"), QStringLiteral("--to"), copy}).status, 0);
    QCOMPARE(onCopy({QStringLiteral("check")}).status, 0);
}

void TestCli::backupRefusals()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    TempData data;
    QCOMPARE(cli(data, {QStringLiteral("check")}).status, 0);
    QTemporaryDir scratch;
    const QString path = refusedOutputPath(kind, data, scratch.path());
    const QString before = whatIsAt(path);
    const QString dataBefore = whatIsAt(data.dataFile());
    const Run r = cli(data, {QStringLiteral("backup"), QStringLiteral("--to"), path});
    QCOMPARE(r.status, 1);
    QCOMPARE(r.err, QStringLiteral("error: Cannot write the backup to %1: %2. Choose another file.\n").arg(path, reason));
    QVERIFY(r.out.isEmpty());
    QCOMPARE(whatIsAt(path), before);
    QCOMPARE(whatIsAt(data.dataFile()), dataBefore);
}

void TestCli::workbookReadsBack_data()
{
    QTest::addColumn<int>("mine");
    QTest::addColumn<int>("project");
    QTest::newRow("example mine") << 1 << -1;
    QTest::newRow("example project") << 1 << 2;
    QTest::newRow("tutorial mine") << 2 << -1;
}

// The workbook unzipped: every bond item against the bond command, the projects' totals
// against the totals command, every machine with its cost as a formula of its row.
void TestCli::workbookReadsBack()
{
    QFETCH(int, mine);
    QFETCH(int, project);
    TempData data;
    QTemporaryDir out;
    const QString file = out.filePath(QStringLiteral("mine.xlsx"));
    QStringList args{QStringLiteral("export"), QStringLiteral("--mine"), QString::number(mine), QStringLiteral("--xlsx"), file};
    QStringList bondArgs{QStringLiteral("bond"), QStringLiteral("--mine"), QString::number(mine), QStringLiteral("--json")};
    if (project > 0) {
        args << QStringLiteral("--project") << QString::number(project);
        bondArgs << QStringLiteral("--project") << QString::number(project);
    }
    const Run r = cli(data, args);
    QCOMPARE(r.status, 0);
    QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
    QCOMPARE(r.out, QStringLiteral("Exported 7 sheets to %1\n").arg(file));

    const XlsxReader book(file);
    QCOMPARE(book.sheetNames(), (QStringList{"Bond", "Projects", "Demolition", "Earthmoving", "Revegetation",
                                             "Other Reclamation", "Equipment"}));
    const QJsonObject bond = QJsonDocument::fromJson(cli(data, bondArgs).out.toUtf8()).object();
    const QJsonObject items = bond.value(QStringLiteral("items")).toObject();
    const auto bondCells = book.cells(1);
    QCOMPARE(bondCells.value(QStringLiteral("C1")).value, QStringLiteral("Amount"));
    for (int i = 1; i <= 34; ++i) {
        const XlsxCell amount = bondCells.value(QStringLiteral("C%1").arg(i + 1));
        QCOMPARE(amount.type, QString());  // a number, not text
        QVERIFY(!amount.style.isEmpty());  // in the money format
        QCOMPARE(bondCells.value(QStringLiteral("B%1").arg(i + 1)).value, bondItemLabel(i));
        const double expected = items.value(QString::number(i)).toDouble();
        QVERIFY2(qAbs(amount.value.toDouble() - expected) <= 1e-9 * qMax(1.0, qAbs(expected)),
                 qPrintable(QStringLiteral("item %1: %2 against %3").arg(i).arg(amount.value).arg(expected)));
    }
    QCOMPARE(bondCells.value(QStringLiteral("C38")).value.toDouble(),
             bond.value(QStringLiteral("factors")).toObject().value(QStringLiteral("phase1")).toDouble());
    QVERIFY(book.part(QStringLiteral("xl/worksheets/sheet1.xml")).contains("state=\"frozen\""));

    // Each project's four totals, as the totals command gives them.
    const auto projects = book.cells(2);
    const qint64 projectCount =
        project > 0 ? 1 : data.scalar(QStringLiteral("SELECT count(*) FROM \"PROJECT.DB\" WHERE MineID = %1").arg(mine));
    QVERIFY(projectCount > 0);
    QVERIFY(!projects.contains(QStringLiteral("A%1").arg(projectCount + 2)));
    for (int row = 2; row < projectCount + 2; ++row) {
        const QString id = projects.value(QStringLiteral("A%1").arg(row)).value;
        const QJsonObject totals = QJsonDocument::fromJson(cli(data, {QStringLiteral("totals"), QStringLiteral("--project"), id,
                                                                      QStringLiteral("--json")})
                                                               .out.toUtf8())
                                       .object();
        const char* keys[] = {"demolition", "earthmoving", "revegetation", "other"};
        for (int k = 0; k < 4; ++k)
            QCOMPARE(projects.value(QStringLiteral("%1%2").arg(QChar(u'C' + k)).arg(row)).value.toDouble(),
                     totals.value(QLatin1String(keys[k])).toDouble());
    }

    // Every machine of the mine (or project), its cost the formula of its row.
    const auto machines = book.cells(7);
    const QString where = project > 0 ? QStringLiteral("p.PrjID = %1").arg(project) : QStringLiteral("p.MineID = %1").arg(mine);
    const qint64 count = data.scalar(QStringLiteral(
        "SELECT count(*) FROM \"Equipment.DB\" e JOIN (SELECT 'D' k, SheetID, PrjID FROM \"DEMOL.DB\" UNION ALL SELECT 'M', "
        "SheetID, PrjID FROM \"MATERIAL.DB\" UNION ALL SELECT 'R', SheetID, PrjID FROM \"REVEG.DB\") s ON s.k = e.CostType "
        "AND s.SheetID = e.SheetID JOIN \"PROJECT.DB\" p ON p.PrjID = s.PrjID WHERE ") + where);
    QVERIFY(count > 0);
    QVERIFY(!machines.contains(QStringLiteral("A%1").arg(count + 2)));
    double sum = 0;
    for (int row = 2; row < count + 2; ++row) {
        const auto cell = [&](char column) { return machines.value(QStringLiteral("%1%2").arg(QLatin1Char(column)).arg(row)); };
        QCOMPARE(cell('K').formula, QStringLiteral("G%1*(I%1+J%1)").arg(row));
        const double cost = cell('G').value.toDouble() * (cell('I').value.toDouble() + cell('J').value.toDouble());
        QVERIFY(qAbs(cell('K').value.toDouble() - cost) <= 1e-9 * qMax(1.0, cost));
        sum += cell('K').value.toDouble();
    }
    // The machines' costs are part of the direct cost: at most item 5.
    QVERIFY(sum <= items.value(QStringLiteral("5")).toDouble() + 0.01);
}

void TestCli::workbookAsCsv()
{
    TempData data;
    QTemporaryDir out;
    const QString dir = out.filePath(QStringLiteral("sheets"));
    const Run r = cli(data, {QStringLiteral("export"), QStringLiteral("--mine"), QStringLiteral("1"), QStringLiteral("--csv"), dir});
    QCOMPARE(r.status, 0);
    QCOMPARE(QDir(dir).entryList(QDir::Files, QDir::Name),
             (QStringList{"Bond.csv", "Demolition.csv", "Earthmoving.csv", "Equipment.csv", "Other Reclamation.csv",
                          "Projects.csv", "Revegetation.csv"}));
    QFile bondFile(QDir(dir).filePath(QStringLiteral("Bond.csv")));
    QVERIFY(bondFile.open(QIODevice::ReadOnly));
    const QList<CsvRecord> rows = parseCsv(QString::fromUtf8(bondFile.readAll()));
    QCOMPARE(rows.first().fields, (QStringList{"Item", "Description", "Amount"}));
    const QJsonObject items = QJsonDocument::fromJson(cli(data, {QStringLiteral("bond"), QStringLiteral("--mine"),
                                                                 QStringLiteral("1"), QStringLiteral("--json")})
                                                          .out.toUtf8())
                                  .object()
                                  .value(QStringLiteral("items"))
                                  .toObject();
    for (int i = 1; i <= 34; ++i) {
        QCOMPARE(rows[i].fields[0], QString::number(i));
        QCOMPARE(rows[i].fields[1], bondItemLabel(i));
        QCOMPARE(rows[i].fields[2].toDouble(), items.value(QString::number(i)).toDouble());
    }
    // The percent rows stand beside the five indirect costs of each phase.
    QList<int> percentItems;
    for (const CsvRecord& row : rows)
        if (row.fields.value(1).startsWith(QLatin1String("Percent: ")))
            percentItems << row.fields[0].toInt();
    QCOMPARE(percentItems, (QList<int>{7, 8, 9, 10, 11, 15, 16, 17, 18, 19, 27, 28, 29, 30, 31}));
    // Nothing is written over the data file's folder's data file.
    const Run refused = cli(data, {QStringLiteral("export"), QStringLiteral("--mine"), QStringLiteral("1"), QStringLiteral("--xlsx"),
                                   data.dataFile()});
    QCOMPARE(refused.status, 1);
    QCOMPARE(refused.err, QStringLiteral("error: Cannot write the workbook to %1: it is the data file. Choose another file.\n")
                              .arg(data.dataFile()));
}

void TestCli::referenceDataRoundTrip()
{
    TempData data;
    QTemporaryDir out;
    const Run exported = cli(data, {QStringLiteral("refdata"), QStringLiteral("export"), out.path()});
    QCOMPARE(exported.status, 0);
    QCOMPARE(QDir(out.path()).entryList({QStringLiteral("*.csv")}, QDir::Files).size(), 11);
    const Run dry = cli(data, {QStringLiteral("refdata"), QStringLiteral("import"), out.path(), QStringLiteral("--dry-run")});
    QCOMPARE(dry.status, 0);
    QVERIFY2(dry.err.isEmpty(), qPrintable(dry.err));
    const QStringList lines = dry.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 12);
    const QRegularExpression same(QStringLiteral("^\\S+ \\(\\S+\\.csv\\): add 0, change 0, leave [1-9]\\d*$"));
    for (int i = 0; i < 11; ++i)
        QVERIFY2(same.match(lines[i]).hasMatch(), qPrintable(lines[i]));
    QCOMPARE(lines.last(), QStringLiteral("Dry run: nothing was changed"));
}

namespace {

void writeText(const QString& path, const QString& text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
}

}  // namespace

// A new maker with a kind and a model, linked by the file's keys, and a changed hourly
// cost: a dry run changes nothing, the import adds and changes, the priced machines stay.
void TestCli::referenceDataYearlyUpdate()
{
    TempData data;
    QTemporaryDir exported, update;
    QCOMPARE(cli(data, {QStringLiteral("refdata"), QStringLiteral("export"), exported.path()}).status, 0);
    QFile costs(QDir(exported.path()).filePath(QStringLiteral("HCOST.csv")));
    QVERIFY(costs.open(QIODevice::ReadOnly));
    const QList<CsvRecord> rows = parseCsv(QString::fromUtf8(costs.readAll()));
    QCOMPARE(rows[0].fields, (QStringList{"ID", "Item", "Model", "Specifications", "DateOfCost", "HourlyCost"}));
    QStringList first = rows[1].fields;
    const QString oldCost = first[5];
    first[5] = QStringLiteral("999.5");
    writeText(update.filePath(QStringLiteral("HCOMPANY.csv")), QStringLiteral("COID,Name\n900,New Maker\n"));
    writeText(update.filePath(QStringLiteral("HEQUIPT.csv")), QStringLiteral("COID,ID,Type\n900,901,New Kind\n"));
    writeText(update.filePath(QStringLiteral("HCOST.csv")),
              csvLine(rows[0].fields) + csvLine(first) + QStringLiteral("901,,New Model,\"410 hp, with a comma\",2026-01-15,321.25\n"));

    const QString machines = QStringLiteral("SELECT CAST(round(sum(OperatCost) * 100) AS INTEGER) FROM \"Equipment.DB\"");
    const qint64 priced = data.scalar(machines);
    const QStringList bond{QStringLiteral("bond"), QStringLiteral("--mine"), QStringLiteral("1"), QStringLiteral("--json")};
    const QString bondBefore = cli(data, bond).out;
    const qint64 makers = data.scalar(QStringLiteral("SELECT count(*) FROM \"HCOMPANY.DB\""));

    const Run dry = cli(data, {QStringLiteral("refdata"), QStringLiteral("import"), update.path(), QStringLiteral("--dry-run")});
    QCOMPARE(dry.status, 0);
    const QStringList lines = dry.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines[0], QStringLiteral("HCOMPANY.DB (HCOMPANY.csv): add 1, change 0, leave 0; %1 rows not in the file stay").arg(makers));
    QCOMPARE(lines[1], QStringLiteral("  add line 2: COID=900, Name=New Maker"));
    QVERIFY(lines.contains(QStringLiteral("  change line 2: HourlyCost: %1 -> 999.5").arg(oldCost)));
    QVERIFY(lines.contains(
        QStringLiteral("  add line 3: ID=901, Model=New Model, Specifications=410 hp, with a comma, DateOfCost=2026-01-15, HourlyCost=321.25")));
    QCOMPARE(data.scalar(QStringLiteral("SELECT count(*) FROM \"HCOMPANY.DB\"")), makers);  // nothing written

    const Run applied = cli(data, {QStringLiteral("refdata"), QStringLiteral("import"), update.path()});
    QCOMPARE(applied.status, 0);
    QVERIFY2(applied.out.endsWith(QStringLiteral("Imported: 3 rows added, 1 rows changed\n")), qPrintable(applied.out));
    QCOMPARE(data.scalar(QStringLiteral("SELECT count(*) FROM \"HCOST.DB\" c JOIN \"HEQUIPT.DB\" e ON c.ID = e.ID JOIN "
                                        "\"HCOMPANY.DB\" m ON e.COID = m.COID WHERE c.Model = 'New Model' AND e.Type = 'New "
                                        "Kind' AND m.Name = 'New Maker' AND c.Specifications = '410 hp, with a comma'")),
             1);
    QCOMPARE(data.scalar(QStringLiteral("SELECT HourlyCost * 10 FROM \"HCOST.DB\" WHERE Item = %1").arg(first[1])), 9995);
    QCOMPARE(data.scalar(machines), priced);
    QCOMPARE(cli(data, bond).out, bondBefore);
    // Imported again, the same files add the new rows again but change nothing more.
    const Run again = cli(data, {QStringLiteral("refdata"), QStringLiteral("import"), update.path(), QStringLiteral("--dry-run")});
    QVERIFY2(again.out.contains(QStringLiteral("HCOST.DB (HCOST.csv): add 1, change 0, leave 1")), qPrintable(again.out));
}

void TestCli::referenceDataBadRows()
{
    TempData data;
    QTemporaryDir update;
    writeText(update.filePath(QStringLiteral("HCOST.csv")),
              QStringLiteral("ID,Item,Model,Specifications,DateOfCost,HourlyCost\n"
                             "1,,Good Model,,2026-01-01,10\n"
                             "1,,Bad Cost,,2026-01-01,ten\n"
                             "1,,,,2026-01-01,10\n"
                             "99999,,Orphan,,2026-01-01,10\n"
                             "1,,%1,,2026-01-01,10\n"
                             "1,,Short\n")
                  .arg(QString(31, QLatin1Char('M'))));
    writeText(update.filePath(QStringLiteral("LaborCost.csv")),
              QStringLiteral("SubRegionID,LaborID,Laborer,DateOfCost,HourlyCosst\n1,,Operator,2026-13-45,50\n"));
    const qint64 models = data.scalar(QStringLiteral("SELECT count(*) FROM \"HCOST.DB\""));
    const Run r = cli(data, {QStringLiteral("refdata"), QStringLiteral("import"), update.path()});
    QCOMPARE(r.status, 1);
    QVERIFY(r.out.isEmpty());
    const QStringList err = r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(err.size(), 7);
    QCOMPARE(err[0], QStringLiteral("error: The reference data of %1 is not imported; nothing was changed:").arg(update.path()));
    QVERIFY2(err[1].startsWith(QStringLiteral("HCOST.csv line 3: ")) && err[1].contains(QStringLiteral("HourlyCost")),
             qPrintable(err[1]));
    QCOMPARE(err[2], QStringLiteral("HCOST.csv line 4: Field 'Model' must have a value"));
    QCOMPARE(err[3], QStringLiteral("HCOST.csv line 5: ID 99999 names no row of HEQUIPT.DB"));
    QCOMPARE(err[4], QStringLiteral("HCOST.csv line 6: Field 'Model' holds 31 characters; at most 30 fit"));
    QCOMPARE(err[5], QStringLiteral("HCOST.csv line 7: it has 3 fields, the header 6"));
    QVERIFY2(err[6].startsWith(QStringLiteral("LaborCost.csv line 2: ")) && err[6].contains(QStringLiteral("DateOfCost")),
             qPrintable(err[6]));
    QCOMPARE(data.scalar(QStringLiteral("SELECT count(*) FROM \"HCOST.DB\"")), models);  // the good row is not added either
}

// cmake --install into a temporary DESTDIR: the programs, the files beside them, the
// desktop entry, icon, metadata and manual page; init, check, bond and a report run
// from the installed tree, and the report's title bitmap is the one beside the program.
void TestCli::installedTree()
{
    QTemporaryDir root, work;
    QProcess install;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DESTDIR"), root.path());
    install.setProcessEnvironment(env);
    install.start(QStringLiteral(CMAKE_PROGRAM),
                  {QStringLiteral("--install"), QStringLiteral(TARVANE_BUILD_DIR), QStringLiteral("--prefix"), QStringLiteral("/usr")});
    QVERIFY(install.waitForFinished(120000));
    QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());
    const QString usr = root.path() + QStringLiteral("/usr/");
    for (const char* f : {"bin/tarvane", "bin/tarvane-cli", "lib/tarvane/tarvane", "lib/tarvane/tarvane-cli",
                          "lib/tarvane/veskor.bmp", "share/applications/com.veskor.Tarvane.desktop",
                          "share/icons/hicolor/scalable/apps/com.veskor.Tarvane.svg",
                          "share/metainfo/com.veskor.Tarvane.metainfo.xml", "share/man/man1/tarvane-cli.1.gz",
                          "share/tarvane/datadir/reference.sql", "lib/tarvane/Tarvane.qch", "lib/tarvane/Tarvane.qhc",
                          "lib/tarvane/Tarvane-html/index.html", "lib/tarvane/Tarvane-html/CSHelp.txt"})
        QVERIFY2(QFileInfo::exists(usr + QLatin1String(f)), f);
    QVERIFY(!QFileInfo::exists(usr + QStringLiteral("lib/tarvane/Tarvane-html/Tarvane.qhp")));
    QCOMPARE(QFileInfo(usr + QStringLiteral("bin/tarvane-cli")).symLinkTarget(),
             QFileInfo(usr + QStringLiteral("lib/tarvane/tarvane-cli")).absoluteFilePath());
    // The command line needs no widget library, so it runs where no X libraries are: its
    // needed libraries (and theirs) hold Qt Core and Gui, not Widgets, Print Support or Help.
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), {usr + QStringLiteral("lib/tarvane/tarvane-cli")});
    QVERIFY(ldd.waitForFinished(60000));
    const QString needed = QString::fromUtf8(ldd.readAllStandardOutput());
    QVERIFY2(needed.contains(QStringLiteral("libQt6Core.so")), qPrintable(needed));
    for (const char* widgets : {"libQt6Widgets", "libQt6PrintSupport", "libQt6Help", "libQt6Charts"})
        QVERIFY2(!needed.contains(QLatin1String(widgets)), widgets);

    // A home and a configuration of their own, in a folder away from the build.
    QProcessEnvironment home;
    home.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
    home.insert(QStringLiteral("HOME"), work.path());
    home.insert(QStringLiteral("TARVANE_ENGINE_CFG"), work.filePath(QStringLiteral("engine.cfg")));
    home.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const auto installed = [&](const QStringList& args) {
        QProcess p;
        p.setProcessEnvironment(home);
        p.setWorkingDirectory(work.path());
        p.start(usr + QStringLiteral("bin/tarvane-cli"), args);
        p.waitForFinished(120000);
        return Run{p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    };
    const QString dataDir = work.filePath(QStringLiteral("Data"));
    QCOMPARE(installed({QStringLiteral("init"), dataDir}).status, 0);
    const Run check = installed({QStringLiteral("check"), QStringLiteral("--data"), dataDir});
    QCOMPARE(check.status, 0);
    QVERIFY(check.out.startsWith(QStringLiteral("Data file: ") + dataDir));
    TempData data;
    const QStringList bond{QStringLiteral("bond"), QStringLiteral("--mine"), QStringLiteral("1"), QStringLiteral("--json")};
    const Run bondRun = installed(bond + QStringList{QStringLiteral("--data"), dataDir});
    QCOMPARE(bondRun.status, 0);
    QCOMPARE(bondRun.out, cli(data, bond).out);
    const QStringList report{QStringLiteral("report"), QStringLiteral("--mine"), QStringLiteral("1"), QStringLiteral("--choice"),
                             QStringLiteral("1"), QStringLiteral("--text"), work.filePath(QStringLiteral("summary.txt")),
                             QStringLiteral("--data"), dataDir};
    const QString noBitmap = QStringLiteral("Bitmap for Page Title could not be found!");
    // Help reads the help files beside the installed program, in both formats.
    for (const QString& format : {QStringLiteral("html"), QStringLiteral("win")}) {
        const Run help = installed({QStringLiteral("help"), QStringLiteral("--context"), QStringLiteral("1"),
                                    QStringLiteral("--format"), format});
        QVERIFY2(help.status == 0 && help.out.size() > 200, qPrintable(help.err));
    }
    Run printed = installed(report);
    QCOMPARE(printed.status, 0);
    QVERIFY2(!printed.err.contains(noBitmap), qPrintable(printed.err));
    QVERIFY(QFile::remove(usr + QStringLiteral("lib/tarvane/veskor.bmp")));
    printed = installed(report);
    QVERIFY2(printed.err.contains(noBitmap), qPrintable(printed.err));
}

void TestCli::progressOnATerminal_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("progress");  // the last progress line
    QTest::addColumn<QString>("result");    // a line of the result
    QTest::newRow("generate") << QStringList{"generate", "--projects", "2", "--sheets", "1", "--equipment", "2"}
                              << "Generating projects: 2 of 2" << "Generated mine 3: 2 projects, 2 worksheets, 4 equipment rows";
    QTest::newRow("copy") << QStringList{"copy", "--mine", "1"} << "Copying (percent): 100 of 100" << "Copied mine 1 to mine 3";
    QTest::newRow("export") << QStringList{"export", "--mine", "1", "--csv", "sheets"} << "Listing projects: 3 of 3"
                            << "Exported 7 sheets to sheets";
    QTest::newRow("report") << QStringList{"report", "--mine", "1", "--text", "mine.txt"} << "Printing: 3 of 3"
                            << "Printed ";
}

// On a terminal (a pseudo-terminal made by script(1)) long commands show their progress on
// standard error; the other tests run them without one and see none.
void TestCli::progressOnATerminal()
{
    QFETCH(QStringList, args);
    QFETCH(QString, progress);
    QFETCH(QString, result);
    TempData data;
    QTemporaryDir work;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TARVANE_ENGINE_CFG"), data.configPath);
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(work.path());
    const QString command = QStringLiteral(TARVANE_CLI) + QLatin1Char(' ') + args.join(QLatin1Char(' ')) +
                            QStringLiteral(" --data ") + data.dataDir;
    p.start(QStringLiteral("script"), {QStringLiteral("-qec"), command, QStringLiteral("/dev/null")});
    QVERIFY(p.waitForFinished(120000));
    QCOMPARE(p.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(QStringLiteral("\r\n"));
    const auto shown = [&](const QString& text) {
        for (const QString& line : lines)
            if (line.split(QLatin1Char('\r')).last().startsWith(text))
                return true;
        return false;
    };
    QVERIFY2(shown(progress), qPrintable(lines.join(QLatin1Char('|'))));
    QVERIFY2(shown(result), qPrintable(lines.join(QLatin1Char('|'))));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
