// The team database on a real, throw-away PostgreSQL cluster (CTest runs this program
// under pg_virtualenv, which sets PGHOST, PGPORT, PGUSER and PGPASSWORD): server init,
// push, pull and check of the command line, and the rows and bonds they carry.
#include "ServerConnection.h"
#include "TestSupport.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestServer : public QObject {
    Q_OBJECT
    struct Run {
        int status;
        QString out, err;
    };
    Run cli(const TempData& data, const QStringList& args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TARVANE_ENGINE_CFG"), data.configPath);
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(TARVANE_CLI), args);
        p.waitForFinished(120000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }
    // A new, empty database of the cluster; its URI.
    QString newDatabase()
    {
        static int n = 0;
        const QString name = QStringLiteral("tarvane_test_%1").arg(++n);
        ServerConnection admin(QStringLiteral("postgresql:///postgres"));
        admin.execScript(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(name));
        admin.execScript(QStringLiteral("CREATE DATABASE %1").arg(name));
        return QStringLiteral("postgresql:///") + name;
    }
    // A generated mine of so many projects, worksheets and machines added to the data file.
    void generate(const TempData& data, int projects, int sheets, int equipment, int seed)
    {
        QCOMPARE(cli(data, {QStringLiteral("generate"), QStringLiteral("--projects"), QString::number(projects),
                            QStringLiteral("--sheets"), QString::number(sheets), QStringLiteral("--equipment"),
                            QString::number(equipment), QStringLiteral("--seed"), QString::number(seed)})
                     .status,
                 0);
    }
    static qint64 count(ServerConnection& s, const QString& table)
    {
        return s.exec(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)).text(0, 0).toLongLong();
    }

private Q_SLOTS:
    void initMakesTablesRolesAndShippedRows();
    void pushThenPullKeepsEveryBond();
    void moveRefusals_data();
    void moveRefusals();
    void serverThatIsNotThere();
    void serviceName();
    void serverStoppedMidPush();
};

// A new server database gets the tables, the three roles and the rows of a new data
// directory; a second init is refused; check reads every table.
void TestServer::initMakesTablesRolesAndShippedRows()
{
    TempData data;  // the same shipped rows, made by init for comparison
    const QString uri = newDatabase();
    const Run init = cli(data, {QStringLiteral("server"), QStringLiteral("init"), uri});
    QCOMPARE(init.status, 0);
    ServerConnection server(uri);
    for (const QString& table : {QStringLiteral("MINE.DB"), QStringLiteral("Equipment.DB"), QStringLiteral("HCOST.DB"),
                                 QStringLiteral("LaborCost.db"), QStringLiteral("GRAPH2.DB"), QStringLiteral("EQUIP.DB")}) {
        QCOMPARE(count(server, table), data.scalar(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)));
        QVERIFY(init.out.contains(QStringLiteral("  %1: %2 rows\n").arg(table).arg(count(server, table))));
    }
    QCOMPARE(server.exec(QStringLiteral("SELECT \"HourlyCost\"::text FROM \"HCOST.DB\" WHERE \"Model\" = 'D8'")).text(0, 0),
             QStringLiteral("195.0000"));
    QCOMPARE(server.exec(QStringLiteral("SELECT count(*) FROM pg_roles WHERE rolname IN ('tarvane_estimator', "
                                        "'tarvane_reviewer', 'tarvane_admin')"))
                 .text(0, 0),
             QStringLiteral("3"));
    // The reviewer writes the event log only; the estimator writes no reference row; the admin does.
    const ServerResult grants = server.exec(QStringLiteral(
        "SELECT has_table_privilege('tarvane_reviewer', '\"MINE.DB\"', 'UPDATE'), "
        "has_table_privilege('tarvane_reviewer', '\"EventLog.db\"', 'INSERT'), "
        "has_table_privilege('tarvane_reviewer', '\"HCOST.DB\"', 'SELECT'), "
        "has_table_privilege('tarvane_estimator', '\"Equipment.DB\"', 'UPDATE'), "
        "has_table_privilege('tarvane_estimator', '\"HCOST.DB\"', 'UPDATE'), "
        "has_table_privilege('tarvane_admin', '\"HCOST.DB\"', 'UPDATE')"));
    QStringList granted;
    for (int c = 0; c < grants.columns(); ++c)
        granted << grants.text(0, c);
    QCOMPARE(granted, (QStringList{"f", "t", "t", "t", "f", "t"}));

    const Run again = cli(data, {QStringLiteral("server"), QStringLiteral("init"), uri});
    QCOMPARE(again.status, 1);
    QVERIFY2(again.err.contains(QStringLiteral("already holds Tarvane tables")), qPrintable(again.err));
    const Run check = cli(data, {QStringLiteral("server"), QStringLiteral("check"), uri});
    QCOMPARE(check.status, 0);
    QVERIFY(check.out.contains(QStringLiteral("  MINE.DB: 2 rows\n")));
}

// A data file with a generated mine pushed to a server and pulled back into a new data
// directory: every mine's bond is the same to the last character; a second push is refused.
void TestServer::pushThenPullKeepsEveryBond()
{
    TempData data;
    generate(data, 3, 4, 3, 11);
    data.sql(QStringLiteral("INSERT INTO \"CrossSections.db\" (PrjID, VolumeName) VALUES (1, 'Pit A');"
                            "INSERT INTO \"Volume.db\" (CrossID, CrossSectionName, Distance, EndArea) VALUES (1, '1+00', 100, 140),"
                            " (1, '0+00', 0, 120)"));
    const QString uri = newDatabase();
    const Run push = cli(data, {QStringLiteral("server"), QStringLiteral("push"), QStringLiteral("--data"), data.dataDir, uri});
    QVERIFY2(push.status == 0, qPrintable(push.err));
    QVERIFY(push.out.contains(QStringLiteral("checked row for row")));
    const Run twice = cli(data, {QStringLiteral("server"), QStringLiteral("push"), QStringLiteral("--data"), data.dataDir, uri});
    QCOMPARE(twice.status, 1);
    QVERIFY(twice.err.contains(QStringLiteral("already holds Tarvane rows")));

    QTemporaryDir dir;
    const QString pulled = dir.filePath(QStringLiteral("pulled"));
    const Run pull = cli(data, {QStringLiteral("server"), QStringLiteral("pull"), uri, QStringLiteral("--to"), pulled});
    QVERIFY2(pull.status == 0, qPrintable(pull.err));
    const qint64 mines = data.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\""));
    QVERIFY(mines >= 3);
    for (qint64 m = 1; m <= mines; ++m) {
        const QStringList bond{QStringLiteral("bond"), QStringLiteral("--mine"), QString::number(m), QStringLiteral("--json")};
        const Run a = cli(data, bond + QStringList{QStringLiteral("--data"), data.dataDir});
        const Run b = cli(data, bond + QStringList{QStringLiteral("--data"), pulled});
        QCOMPARE(b.status, a.status);
        QCOMPARE(b.out, a.out);
    }
    // The stations of a volume set keep their order; the next key is the next the file would give.
    const QStringList volume{QStringLiteral("volume"), QStringLiteral("--project"), QStringLiteral("1")};
    QCOMPARE(cli(data, volume + QStringList{QStringLiteral("--data"), pulled}).out,
             cli(data, volume + QStringList{QStringLiteral("--data"), data.dataDir}).out);
    ServerConnection server(uri);
    QCOMPARE(server.exec(QStringLiteral("SELECT nextval(pg_get_serial_sequence('\"MINE.DB\"', 'MineID'))")).text(0, 0).toLongLong(),
             mines + 1);
    // Pulling again into the same folder never writes over its data file.
    const Run over = cli(data, {QStringLiteral("server"), QStringLiteral("pull"), uri, QStringLiteral("--to"), pulled});
    QCOMPARE(over.status, 1);
    QVERIFY(over.err.contains(QStringLiteral("already exists")));
}

void TestServer::moveRefusals_data()
{
    QTest::addColumn<QString>("damage");  // SQL on the data file pushed
    QTest::addColumn<QString>("err");
    QTest::newRow("money beyond four decimals")
        << "UPDATE \"Equipment.DB\" SET OperatCost = 1.0 / 3 WHERE PlanID = 1"
        << "Equipment.DB, PlanID 1, OperatCost: the server keeps '0.333333333333333' as '0.3333', not exactly; nothing was written";
    QTest::newRow("a stored text that is no date")
        << "UPDATE \"MINE.DB\" SET Date = 'soon' WHERE MineID = 1"
        << "MINE.DB, MineID 1, Date: the stored value 'soon' is no date and cannot be moved; nothing was written";
}

// A value the server cannot keep exactly stops the push, named, and the server database
// keeps no table of it.
void TestServer::moveRefusals()
{
    QFETCH(QString, damage);
    QFETCH(QString, err);
    TempData data;
    data.sql(damage);
    const QString uri = newDatabase();
    const Run push = cli(data, {QStringLiteral("server"), QStringLiteral("push"), QStringLiteral("--data"), data.dataDir, uri});
    QCOMPARE(push.status, 1);
    QVERIFY2(push.err.contains(err), qPrintable(push.err));
    ServerConnection server(uri);
    QCOMPARE(server.exec(QStringLiteral("SELECT to_regclass('\"MINE.DB\"') IS NULL")).text(0, 0), QStringLiteral("t"));
}

void TestServer::serverThatIsNotThere()
{
    TempData data;
    const Run r = cli(data, {QStringLiteral("server"), QStringLiteral("check"), QStringLiteral("postgresql://127.0.0.1:1/none")});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.startsWith(QStringLiteral("error: Cannot connect to the server database postgresql://127.0.0.1:1/none: ")),
             qPrintable(r.err));
}

// A service of pg_service.conf names the server database as well as a URI does.
void TestServer::serviceName()
{
    TempData data;
    const QString uri = newDatabase();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("pg_service.conf"));
    QFile conf(file);
    QVERIFY(conf.open(QIODevice::WriteOnly));
    conf.write(QStringLiteral("[tarvane team]\ndbname=%1\n").arg(uri.section(QLatin1Char('/'), -1)).toUtf8());
    conf.close();
    qputenv("PGSERVICEFILE", file.toUtf8());
    const Run init = cli(data, {QStringLiteral("server"), QStringLiteral("init"), QStringLiteral("tarvane team")});
    qunsetenv("PGSERVICEFILE");
    QVERIFY2(init.status == 0, qPrintable(init.err));
    QVERIFY(init.out.startsWith(QStringLiteral("Made the Tarvane tables, roles and shipped rows in %1 on ")
                                    .arg(uri.section(QLatin1Char('/'), -1))));
    const Run unknown = cli(data, {QStringLiteral("server"), QStringLiteral("check"), QStringLiteral("no such service")});
    QCOMPARE(unknown.status, 1);
    QVERIFY2(unknown.err.contains(QStringLiteral("no such service")), qPrintable(unknown.err));
}

namespace {

// Stops or starts the throw-away cluster pg_virtualenv made (it names its version).
bool cluster(const char* action)
{
    QProcess p;
    QStringList args{qEnvironmentVariable("PGVERSION"), QStringLiteral("regress"), QString::fromLatin1(action)};
    if (qstrcmp(action, "stop") == 0)
        args << QStringLiteral("-m") << QStringLiteral("immediate");
    p.start(QStringLiteral("pg_ctlcluster"), args);
    return p.waitForFinished(60000) && p.exitCode() == 0;
}

}  // namespace

// The server stops while a push is writing: the command says so (status 1) and, once the
// server is back, the database holds all of the file or nothing of it.
void TestServer::serverStoppedMidPush()
{
    TempData data;
    generate(data, 50, 20, 10, 7);
    const QString uri = newDatabase();
    QProcess push;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TARVANE_ENGINE_CFG"), data.configPath);
    push.setProcessEnvironment(env);
    push.start(QStringLiteral(TARVANE_CLI), {QStringLiteral("server"), QStringLiteral("push"), QStringLiteral("--data"),
                                             data.dataDir, uri});
    bool writing = false;
    {
        ServerConnection watch(QStringLiteral("postgresql:///postgres"));
        for (int i = 0; i < 3000 && !writing && push.state() != QProcess::NotRunning; ++i) {
            writing = watch.exec(QStringLiteral("SELECT count(*) FROM pg_stat_activity WHERE query LIKE 'INSERT INTO%'"))
                          .text(0, 0) != QLatin1String("0");
            if (!writing)
                QTest::qWait(5);
        }
    }
    QVERIFY2(writing, "the push was not seen writing");
    QVERIFY(cluster("stop"));
    QVERIFY(push.waitForFinished(60000));
    const QString err = QString::fromUtf8(push.readAllStandardError());
    QVERIFY(cluster("start"));
    for (int i = 0; i < 100; ++i) {  // the server takes a moment to accept connections again
        try {
            ServerConnection probe(uri);
            break;
        } catch (const std::exception&) {
            QTest::qWait(100);
        }
    }
    ServerConnection server(uri);
    const bool tables = server.exec(QStringLiteral("SELECT to_regclass('\"MINE.DB\"') IS NOT NULL")).text(0, 0) == QLatin1String("t");
    qInfo("%s", qPrintable(tables ? QStringLiteral("committed before the stop") : QStringLiteral("nothing kept; ") + err.trimmed()));
    if (tables) {  // the commit made it before the stop: then all of it
        QCOMPARE(push.exitCode(), 0);
        QCOMPARE(count(server, QStringLiteral("Equipment.DB")), data.scalar(QStringLiteral("SELECT count(*) FROM \"Equipment.DB\"")));
    } else {
        QCOMPARE(push.exitCode(), 1);
        QVERIFY2(err.startsWith(QStringLiteral("error: The connection to the server database was lost: ")), qPrintable(err));
        QCOMPARE(server.exec(QStringLiteral("SELECT count(*) FROM pg_tables WHERE schemaname = 'public'")).text(0, 0),
                 QStringLiteral("0"));
    }
}

QTEST_GUILESS_MAIN(TestServer)
#include "tst_server.moc"
