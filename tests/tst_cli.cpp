// The command line's bond, totals, hours and generate commands on a fresh
// data directory with the shipped example and tutorial mines.
#include "ComputationFixture.h"
#include "RefusedOutputs.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
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
        args << QStringLiteral("--data") << data.dataDir;
        p.start(QStringLiteral(TARVANE_CLI), args);
        p.waitForFinished(120000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }

private Q_SLOTS:
    void bondMatchesTheLibrary_data();
    void bondMatchesTheLibrary();
    void bondTable();
    void totalsAndHours();
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
    TTarvaneDataForm dm(w.data.configPath);
    ScriptedDialogs dialogs;
    MapBondDisplay display;
    bool activated = true;
    Computation comp(dm, dialogs, display, &activated);
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
}

void TestCli::refusals_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("error");
    QTest::newRow("no such mine") << QStringList{"bond", "--mine", "99"} << "error: There is no mine 99\n";
    QTest::newRow("project of another mine") << QStringList{"bond", "--mine", "2", "--project", "1"}
                                             << "error: Project 1 is not a project of mine 2\n";
    QTest::newRow("not a number") << QStringList{"totals", "--project", "one"}
                                  << "error: --project takes a whole number, not 'one'\n";
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
    QTest::newRow("neither loader nor excavator")
        << QStringList{} << 1 << "" << "error: trucks needs either --loader or --excavator\n";
    QTest::newRow("haul time of an excavator") << QStringList{"--excavator", "--haul", "1"} << 1 << ""
                                               << "error: trucks does not take '--haul 1'\n";
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

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
