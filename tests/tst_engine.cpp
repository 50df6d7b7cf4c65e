// The table engine on a real data file made by the program's own init, through
// the data module's views.
#include "DatabaseStartup.h"
#include "EDatabaseError.h"
#include "FieldValue.h"
#include "DataModule.h"
#include "OpenedData.h"

#include <QFile>
#include <cmath>
#include <cstring>
#include <limits>
#include <QProcess>
#include <QEventLoop>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTimer>

namespace {

void addProject(DataModule& dm, const QString& name)
{
    dm.ProjectT.insert();
    dm.ProjectT.fieldByName(QStringLiteral("ProjectName")).setAsString(name);
    dm.ProjectT.fieldByName(QStringLiteral("Date")).setAsString(QStringLiteral("07/01/2024"));
    dm.ProjectT.post();
}

void addDemolition(DataModule& dm, const QString& item)
{
    dm.DemolT.insert();
    dm.DemolT.fieldByName(QStringLiteral("CostType")).setAsString(QStringLiteral("D"));
    dm.DemolT.fieldByName(QStringLiteral("Item")).setAsString(item);
    dm.DemolT.fieldByName(QStringLiteral("TypeMaterial")).setAsString(QStringLiteral("Concrete"));
    dm.DemolT.post();
}

void addEquipment(Table& view, int kind, const QString& description)
{
    view.insert();
    view.fieldByName(QStringLiteral("EquipCode2")).setAsInteger(kind);
    view.fieldByName(QStringLiteral("Descriptions")).setAsString(description);
    view.post();
}

// The program waiting for the user: the event loop blocks for a while.
void waitForUser(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QStringList walk(DataSet& ds, const QString& field)
{
    QStringList out;
    for (ds.first(); !ds.eof(); ds.next())
        out << ds.fieldByName(field).asString();
    return out;
}

}  // namespace

class TestEngine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tableFormats_data();
    void tableFormats();
    void masterDetailNavigation();
    void dataSourceSignals();
    void protectedTableNeedsPassword();
    void equipmentLinkedByCostTypeAndSheet();
    void mineFilterFollowsDataSetCode();
    void filterExpressions_data();
    void filterExpressions();
    void filterExpressionErrors_data();
    void filterExpressionErrors();
    void eventsInOrder();
    void throwingEventAbortsItsOperation();
    void postRefusals_data();
    void postRefusals();
    void autoIncrementAndDefaults();
    void writeSeenBySecondView();
    void fieldsFirstReadMidWalk();
    void liveQueryFollowsMaster();
    void structureCheck_data();
    void structureCheck();
    void damagedFileRefusedUntouched();
    void lookupFieldExactMatch();
    void bookmarksLocateAndSearch();
    void transactionKeepsCompletedStages();
    void rollbackUndoesTheWholeScope();
    void deleteIsOneTransactionFromItsFirstWrite();
    void killDuringPostLeavesNoHalfRecord();
    void otherProcessWritesSeenAndPostable();
    void lockedWriterWaitedForThenReported();
    void walStaysBoundedWhileViewsStand();
    void detailWithoutMasterRefused_data();
    void detailWithoutMasterRefused();
    void emptyKeyRefused();
    void backToFirstSeesEveryChange();
    void fieldsByNamesSpelledOut();
    void storedFormsReadAsTheirFields_data();
    void storedFormsReadAsTheirFields();
};

void TestEngine::tableFormats_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("fields");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("type");
    QTest::newRow("mine, last") << "MINE.DB" << 66 << 66 << "ContOver2" << "boolean";
    QTest::newRow("mine, management before contractor") << "MINE.DB" << 66 << 63 << "Manage2" << "currency";
    QTest::newRow("mine, data set") << "mine.db" << 66 << 16 << "RevegYears" << "float";
    QTest::newRow("equipment, link") << "Equipment.db" << 59 << 42 << "AddedEquipID" << "integer";
    QTest::newRow("equipment, last") << "Equipment.DB" << 59 << 59 << "OverrideTruck" << "boolean";
    QTest::newRow("reveg") << "REVEG.DB" << 21 << 21 << "PlantFail" << "float";
    QTest::newRow("labor cost") << "LaborCost.db" << 5 << 5 << "HourlyCosst" << "currency";
    QTest::newRow("event log") << "EventLog.db" << 5 << 5 << "Time" << "date-time";
    QTest::newRow("fee table 1") << "GRAPH1.DB" << 2 << 2 << "PerCent" << "float";
    QTest::newRow("other costs") << "OTHERREC.DB" << 8 << 7 << "CostCal" << "memo";
}

void TestEngine::tableFormats()
{
    QFETCH(QString, table);
    QFETCH(int, fields);
    QFETCH(int, position);
    QFETCH(QString, field);
    QFETCH(QString, type);
    Opened o;
    const TableFormat* f = o.dm.TarvaneDatabase.format(table);
    QVERIFY(f);
    QCOMPARE(f->fields.size(), fields);
    QCOMPARE(f->fields[position - 1].name, field);
    QCOMPARE(fieldTypeName(f->fields[position - 1].type), type);
    QCOMPARE(o.data.scalar(QStringLiteral("SELECT count(*) FROM pragma_table_info('%1')").arg(f->fileName)), qint64(fields));
}

void TestEngine::masterDetailNavigation()
{
    Opened o;
    DataModule& dm = o.dm;
    addMine(dm, QStringLiteral("Alpha Coal"));
    for (const char* p : {"North Pit", "South Pit", "Haul Road"})
        addProject(dm, QString::fromLatin1(p));
    addMine(dm, QStringLiteral("Beta Minerals"));
    addProject(dm, QStringLiteral("Plant Site"));

    QCOMPARE(dm.ProjectT.recordCount(), 1);
    QCOMPARE(dm.ProjectT.fieldByName(QStringLiteral("MineID")).asInteger(),
             dm.MineT.fieldByName(QStringLiteral("MineID")).asInteger());
    dm.MineT.first();
    QCOMPARE(dm.MineT.fieldByName(QStringLiteral("Applicant")).asString(), QStringLiteral("Alpha Coal"));
    QVERIFY(dm.MineT.bof());
    QCOMPARE(dm.ProjectT.recordCount(), 3);
    QCOMPARE(walk(dm.ProjectT, QStringLiteral("ProjectName")),
             QStringList({QStringLiteral("North Pit"), QStringLiteral("South Pit"), QStringLiteral("Haul Road")}));
    QVERIFY(dm.ProjectT.eof());
    dm.ProjectT.next();  // at the end: stays on the last record
    QCOMPARE(dm.ProjectT.fieldByName(QStringLiteral("ProjectName")).asString(), QStringLiteral("Haul Road"));
    dm.ProjectT.prior();
    QCOMPARE(dm.ProjectT.fieldByName(QStringLiteral("ProjectName")).asString(), QStringLiteral("South Pit"));
    dm.MineT.last();  // newest mine last
    QCOMPARE(dm.MineT.fieldByName(QStringLiteral("Applicant")).asString(), QStringLiteral("Beta Minerals"));
    QVERIFY(dm.MineT.eof());
    QCOMPARE(walk(dm.ProjectT, QStringLiteral("ProjectName")), QStringList{QStringLiteral("Plant Site")});

    // A mine being inserted has no projects yet.
    dm.MineT.insert();
    QCOMPARE(dm.ProjectT.recordCount(), 0);
    QVERIFY(dm.ProjectT.isEmpty());
    dm.MineT.cancel();
    QCOMPARE(dm.ProjectT.recordCount(), 1);
}

void TestEngine::dataSourceSignals()
{
    Opened o;
    DataModule& dm = o.dm;
    QSignalSpy moved(&dm.EffFactorDS, &DataSource::dataChanged);
    QSignalSpy state(&dm.EffFactorDS, &DataSource::stateChanged);
    QSignalSpy field(&dm.EffFactorDS, &DataSource::fieldChanged);
    QSignalSpy update(&dm.EffFactorDS, &DataSource::updateData);
    dm.EffFactorT.next();
    QCOMPARE(moved.size(), 1);
    dm.EffFactorT.edit();
    QCOMPARE(state.size(), 1);
    dm.EffFactorT.fieldByName(QStringLiteral("Factor")).setAsFloat(0.91);
    QCOMPARE(field.size(), 1);
    QCOMPARE(field.first().first().value<Field*>(), &dm.EffFactorT.fieldByName(QStringLiteral("Factor")));
    // A control writing its pending text when asked is part of the post.
    connect(&dm.EffFactorDS, &DataSource::updateData, this,
            [&] { dm.EffFactorT.fieldByName(QStringLiteral("Desc")).setAsString(QStringLiteral("typed")); });
    dm.EffFactorT.post();
    QCOMPARE(update.size(), 1);
    QCOMPARE(state.size(), 2);
    QCOMPARE(o.data.scalar(QStringLiteral("SELECT count(*) FROM \"EffFactor.DB\" WHERE \"Desc\" = 'typed'")), 1);
    dm.EffFactorT.disableControls();
    dm.EffFactorT.first();
    dm.EffFactorT.next();
    const int before = moved.size();
    dm.EffFactorT.enableControls();
    QCOMPARE(moved.size(), before + 1);  // one notice for all the moves made meanwhile
}

void TestEngine::protectedTableNeedsPassword()
{
    Opened o;
    DataModule dm(o.data.configPath);
    dm.Session.onPassword = [](Session&, bool& continueRequest) { continueRequest = false; };
    dm.Session.addAlias(QStringLiteral("TarvaneDB"), o.data.dataDir);
    dm.TarvaneDatabase.connect();
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, dm.HCompanyT.open());
    dm.Graph1T.open();  // an unprotected table opens
    dm.Session.addPassword(QStringLiteral("mossR*paLen"));
    dm.HCompanyT.open();
    QCOMPARE(dm.HCompanyT.recordCount(), 4);
    o.dm.HCompanyT.open();  // the data module's own session answers the request itself
    QVERIFY(!o.dm.HEquipT.active());
    o.dm.HEquipT.open();
    QVERIFY(o.dm.HEquipT.recordCount() > 0);
}

void TestEngine::equipmentLinkedByCostTypeAndSheet()
{
    Opened o;
    DataModule& dm = o.dm;
    addMine(dm, QStringLiteral("Gamma"));
    addProject(dm, QStringLiteral("Pit"));
    addDemolition(dm, QStringLiteral("Office"));
    dm.MatT.insert();
    dm.MatT.fieldByName(QStringLiteral("CostType")).setAsString(QStringLiteral("M"));
    dm.MatT.fieldByName(QStringLiteral("Description")).setAsString(QStringLiteral("Replace Topsoil"));
    dm.MatT.post();
    QCOMPARE(dm.MatT.fieldByName(QStringLiteral("SheetID")).asInteger(),
             dm.DemolT.fieldByName(QStringLiteral("SheetID")).asInteger());

    addEquipment(dm.EquipDemoT, 6, QStringLiteral("Loader"));
    QCOMPARE(dm.EquipDemoT.fieldByName(QStringLiteral("CostType")).asString(), QStringLiteral("D"));
    QCOMPARE(dm.EquipDemoT.fieldByName(QStringLiteral("SheetID")).asInteger(),
             dm.DemolT.fieldByName(QStringLiteral("SheetID")).asInteger());
    QCOMPARE(dm.EquipDemoT.recordCount(), 1);
    QCOMPARE(dm.EquipMatT.recordCount(), 0);  // same sheet number, other worksheet kind
    // Equipment.db and Equipment.DB are one file.
    QCOMPARE(dm.EquipStuff1T.recordCount(), 1);
    QCOMPARE(dm.EquipStuffT.recordCount(), 1);
}

void TestEngine::mineFilterFollowsDataSetCode()
{
    Opened o;
    DataModule& dm = o.dm;
    addMine(dm, QStringLiteral("Own Mine"));
    addMine(dm, QStringLiteral("Tutorial Copy"));
    dm.MineT.edit();
    dm.MineT.fieldByName(QStringLiteral("RevegYears")).setAsFloat(4);
    dm.MineT.post();
    QCOMPARE(walk(dm.MineT, QStringLiteral("Applicant")), QStringList{QStringLiteral("Own Mine")});
    dm.DataSetCode = 4;
    dm.MineT.refresh();
    QCOMPARE(dm.MineT.recordCount(), 1);
    QCOMPARE(walk(dm.MineT, QStringLiteral("Applicant")), QStringList{QStringLiteral("Tutorial Copy")});
}

void TestEngine::filterExpressions_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("count");
    QTest::newRow("by kind, type and sheet") << "(EquipCode2 = 7) and (CostType = 'D') and (SheetID = 3)" << 2;
    QTest::newRow("or with parentheses") << "((EquipCode2 = 6) or (EquipCode2 = 4)) and (CostType = 'M')" << 2;
    QTest::newRow("text compare") << "Descriptions = 'Scraper B'" << 1;
    QTest::newRow("not and inequality") << "not (CostType = 'D') and (EquipCode2 <> 6)" << 2;
    QTest::newRow("is null") << "Route is null" << 6;
    QTest::newRow("lower case keywords and spacing") << "  equipcode2>=7 AND sheetid<4" << 3;
    QTest::newRow("quote inside text") << "Descriptions = 'O''Brien''s loader'" << 1;
    QTest::newRow("hostile text is data") << "CostType = 'D''; DROP TABLE \"MINE.DB\"; --'" << 0;
    QTest::newRow("keywords in text") << "Descriptions = 'x'' OR ''1''=''1'" << 0;
}

void TestEngine::filterExpressions()
{
    QFETCH(QString, filter);
    QFETCH(int, count);
    Opened o;
    DataModule& dm = o.dm;
    struct Row {
        const char* type;
        int sheet, kind;
        const char* text;
    };
    const Row rows[] = {{"D", 3, 7, "Scraper A"}, {"D", 3, 7, "Scraper B"}, {"D", 4, 7, "Scraper C"},
                        {"M", 3, 6, "O'Brien's loader"},      {"M", 3, 4, "Excavator"},   {"M", 3, 8, "Truck"}};
    for (const Row& r : rows) {
        dm.EquipStuffT.insert();
        dm.EquipStuffT.fieldByName(QStringLiteral("CostType")).setAsString(QString::fromLatin1(r.type));
        dm.EquipStuffT.fieldByName(QStringLiteral("SheetID")).setAsInteger(r.sheet);
        dm.EquipStuffT.fieldByName(QStringLiteral("EquipCode2")).setAsInteger(r.kind);
        dm.EquipStuffT.fieldByName(QStringLiteral("Descriptions")).setAsString(QString::fromUtf8(r.text));
        dm.EquipStuffT.post();
    }
    dm.EquipStuffT.setFilter(filter);
    dm.EquipStuffT.setFiltered(true);
    QCOMPARE(dm.EquipStuffT.recordCount(), count);
    int walked = 0;
    for (dm.EquipStuffT.first(); !dm.EquipStuffT.eof(); dm.EquipStuffT.next())
        ++walked;
    QCOMPARE(walked, count);
    dm.EquipStuffT.setFiltered(false);
    QCOMPARE(dm.EquipStuffT.recordCount(), 6);
    QCOMPARE(o.data.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'MINE.DB'")), 1);
}

void TestEngine::filterExpressionErrors_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("message");
    QTest::newRow("statement after filter") << "PlanID = 1; DROP TABLE \"MINE.DB\"" << "unexpected character ';'";
    QTest::newRow("unknown field") << "Bogus = 1" << "Field 'Bogus' not found";
    QTest::newRow("missing value") << "PlanID = " << "a value expected";
    QTest::newRow("unterminated text") << "CostType = 'D" << "unterminated text";
    QTest::newRow("sql function") << "PlanID = abs(1)" << "a value expected";
    QTest::newRow("wrong type") << "SheetID = 'three'" << "'three' is not a valid integer value for field 'SheetID'";
}

void TestEngine::filterExpressionErrors()
{
    QFETCH(QString, filter);
    QFETCH(QString, message);
    Opened o;
    DataModule& dm = o.dm;
    QString caught;
    try {
        dm.EquipStuffT.setFilter(filter);
        dm.EquipStuffT.setFiltered(true);
        dm.EquipStuffT.recordCount();
    } catch (const EDatabaseError& e) {
        caught = e.message();
    }
    QVERIFY2(caught.contains(message), qPrintable(caught));
    QCOMPARE(o.data.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'MINE.DB'")), 1);
}

void TestEngine::eventsInOrder()
{
    Opened o;
    Table& t = o.dm.EffFactorT;
    QStringList log;
    auto record = [&log](const char* n) { return [&log, n](DataSet&) { log << QString::fromLatin1(n); }; };
    t.beforeInsert = record("beforeInsert");
    t.afterInsert = record("afterInsert");
    t.onNewRecord = record("newRecord");
    t.beforeEdit = record("beforeEdit");
    t.afterEdit = record("afterEdit");
    t.beforePost = record("beforePost");
    t.afterPost = record("afterPost");
    t.beforeCancel = record("beforeCancel");
    t.afterCancel = record("afterCancel");
    t.beforeDelete = record("beforeDelete");
    t.afterDelete = record("afterDelete");
    t.beforeScroll = record("beforeScroll");
    t.afterScroll = record("afterScroll");
    int calcs = 0;
    t.onCalcFields = [&calcs](DataSet&) { ++calcs; };

    t.insert();
    t.fieldByName(QStringLiteral("ID")).setAsInteger(9);
    t.fieldByName(QStringLiteral("Desc")).setAsString(QStringLiteral("35 min/hr"));
    t.post();
    t.edit();
    t.fieldByName(QStringLiteral("Factor")).setAsFloat(0.58);
    t.cancel();
    t.next();
    t.remove();
    QCOMPARE(log, QStringList({QStringLiteral("beforeInsert"), QStringLiteral("beforeScroll"),
                               QStringLiteral("newRecord"), QStringLiteral("afterInsert"),
                               QStringLiteral("afterScroll"), QStringLiteral("beforePost"),
                               QStringLiteral("afterPost"), QStringLiteral("beforeEdit"), QStringLiteral("afterEdit"),
                               QStringLiteral("beforeCancel"), QStringLiteral("afterCancel"),
                               QStringLiteral("beforeScroll"), QStringLiteral("afterScroll"),
                               QStringLiteral("beforeDelete"), QStringLiteral("beforeScroll"),
                               QStringLiteral("afterDelete"), QStringLiteral("afterScroll")}));
    QVERIFY(calcs >= 6);  // every record read and every change while editing
}

void TestEngine::throwingEventAbortsItsOperation()
{
    Opened o;
    DataModule& dm = o.dm;
    Table& t = dm.Graph2T;
    const int rows = t.recordCount();
    auto refuse = [](DataSet&) { throw EDatabaseError(QStringLiteral("refused")); };

    t.beforePost = refuse;
    t.insert();
    t.fieldByName(QStringLiteral("DirectCost")).setAsFloat(250000);
    t.fieldByName(QStringLiteral("Percent")).setAsFloat(27.5);
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, t.post());
    QCOMPARE(t.state(), DataSetState::Insert);
    QCOMPARE(o.data.scalar(QStringLiteral("SELECT count(*) FROM \"GRAPH2.DB\"")), qint64(rows));
    t.beforePost = nullptr;
    t.post();
    QCOMPARE(t.recordCount(), rows + 1);

    t.beforeDelete = refuse;
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, t.remove());
    QCOMPARE(t.recordCount(), rows + 1);
    QCOMPARE(t.fieldByName(QStringLiteral("DirectCost")).asFloat(), 250000.0);

    t.beforeEdit = refuse;
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, t.edit());
    QCOMPARE(t.state(), DataSetState::Browse);

    t.onNewRecord = refuse;
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, t.insert());
    QCOMPARE(t.state(), DataSetState::Browse);
    QCOMPARE(t.fieldByName(QStringLiteral("DirectCost")).asFloat(), 250000.0);
}

void TestEngine::postRefusals_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("atSet");
    QTest::newRow("required field empty") << "Applicant" << "" << "Field 'Applicant' must have a value" << false;
    QTest::newRow("text longer than its size") << "PemitID" << QString(36, QLatin1Char('x'))
                                               << "Field 'PemitID' holds 36 characters; at most 35 fit" << false;
    QTest::newRow("not a number") << "ENRIndex" << "13,6oo"
                                  << "'13,6oo' is not a valid floating point value for field 'ENRIndex'" << true;
    QTest::newRow("not a date") << "Date" << "13/45/2024" << "'13/45/2024' is not a valid date for field 'Date'"
                                << true;
    QTest::newRow("not a whole number") << "AutoFeeCal" << "1.5"
                                        << "'1.5' is not a valid integer value for field 'AutoFeeCal'" << true;
}

void TestEngine::postRefusals()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, message);
    QFETCH(bool, atSet);
    Opened o;
    DataModule& dm = o.dm;
    addMine(dm, QStringLiteral("Delta"));
    const qint64 before = o.data.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\""));
    dm.MineT.edit();
    QString caught;
    try {
        dm.MineT.fieldByName(field).setAsString(value);
        if (atSet)
            QFAIL("the value was accepted");
        dm.MineT.post();
    } catch (const EDatabaseError& e) {
        caught = e.message();
    }
    QCOMPARE(caught, message);
    QCOMPARE(dm.MineT.state(), DataSetState::Edit);
    dm.MineT.cancel();
    QCOMPARE(dm.MineT.fieldByName(QStringLiteral("Applicant")).asString(), QStringLiteral("Delta"));
    QCOMPARE(o.data.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\" WHERE Applicant = 'Delta'")), 1);
    QCOMPARE(o.data.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\"")), before);
}

void TestEngine::autoIncrementAndDefaults()
{
    Opened o;
    DataModule& dm = o.dm;
    dm.MineT.insert();
    QCOMPARE(dm.MineT.fieldByName(QStringLiteral("RevegYears")).asFloat(), 5.0);
    QVERIFY(dm.MineT.fieldByName(QStringLiteral("MineID")).isNull());
    dm.MineT.cancel();
    addMine(dm, QStringLiteral("First"));
    const int first = dm.MineT.fieldByName(QStringLiteral("MineID")).asInteger();
    addMine(dm, QStringLiteral("Second"));
    QCOMPARE(dm.MineT.fieldByName(QStringLiteral("MineID")).asInteger(), first + 1);
    dm.MineT.remove();
    addMine(dm, QStringLiteral("Third"));
    QCOMPARE(dm.MineT.fieldByName(QStringLiteral("MineID")).asInteger(), first + 2);  // numbers are never reused
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, (dm.MineT.edit(), dm.MineT.fieldByName(QStringLiteral("MineID")).setAsInteger(1)));
    dm.MineT.cancel();

    addProject(dm, QStringLiteral("Pit"));
    addDemolition(dm, QStringLiteral("Shop"));
    dm.EquipDemoT.insert();
    QCOMPARE(dm.EquipDemoT.fieldByName(QStringLiteral("AddedEquipID")).asInteger(), -1);
    dm.EquipDemoT.post();
    QCOMPARE(o.data.scalar(QStringLiteral("SELECT AddedEquipID FROM \"Equipment.DB\"")), -1);
}

void TestEngine::writeSeenBySecondView()
{
    Opened o;
    DataModule& dm = o.dm;
    addMine(dm, QStringLiteral("Echo"));
    addProject(dm, QStringLiteral("Pit"));
    addDemolition(dm, QStringLiteral("Mill"));
    addEquipment(dm.EquipDemoT, 6, QStringLiteral("Loader"));
    addEquipment(dm.EquipDemoT, 8, QStringLiteral("Truck"));
    addEquipment(dm.EquipDemoT, 0, QStringLiteral("Dozer"));
    dm.EquipDemoT.first();
    const int loaderId = dm.EquipDemoT.fieldByName(QStringLiteral("PlanID")).asInteger();
    dm.EquipDemoT.next();
    const int truckId = dm.EquipDemoT.fieldByName(QStringLiteral("PlanID")).asInteger();

    // An edit through another view shows at the next read.
    dm.EquipStuffT.setFilter(QStringLiteral("PlanID = ") + QString::number(truckId));
    dm.EquipStuffT.setFiltered(true);
    QCOMPARE(dm.EquipStuffT.recordCount(), 1);
    dm.EquipStuffT.edit();
    dm.EquipStuffT.fieldByName(QStringLiteral("AddedEquipID")).setAsInteger(loaderId);
    dm.EquipStuffT.post();
    QCOMPARE(dm.EquipDemoT.fieldByName(QStringLiteral("AddedEquipID")).asInteger(), loaderId);

    // A record deleted elsewhere is never shown as current.
    dm.EquipStuffT.remove();
    QVERIFY(dm.EquipStuffT.isEmpty());
    QCOMPARE(dm.EquipDemoT.fieldByName(QStringLiteral("Descriptions")).asString(), QStringLiteral("Dozer"));
    QCOMPARE(dm.EquipDemoT.recordCount(), 2);
    QCOMPARE(walk(dm.EquipDemoT, QStringLiteral("Descriptions")),
             QStringList({QStringLiteral("Loader"), QStringLiteral("Dozer")}));

    // Walking one view while another deletes the rows it walks.
    QStringList seen;
    for (dm.EquipStuff1T.first(); !dm.EquipStuff1T.eof(); dm.EquipStuff1T.next()) {
        seen << dm.EquipStuff1T.fieldByName(QStringLiteral("Descriptions")).asString();
        dm.EquipDemoT.first();
        dm.EquipDemoT.remove();
    }
    QCOMPARE(seen, QStringList({QStringLiteral("Loader"), QStringLiteral("Dozer")}));
    QVERIFY(dm.EquipStuff1T.isEmpty());
}

void TestEngine::fieldsFirstReadMidWalk()
{
    Opened o;
    DataModule& dm = o.dm;
    for (int i = 1; i <= 40; ++i)
        addMine(dm, QStringLiteral("Mine %1").arg(i, 2, 10, QLatin1Char('0')));
    dm.MineT.setIndexName(QStringLiteral("Applicant"));
    // Walk backward reading only the name, then from the middle on the permit and the date too.
    int i = 40;
    for (dm.MineT.last(); !dm.MineT.bof(); dm.MineT.prior(), --i) {
        const QString name = QStringLiteral("Mine %1").arg(i, 2, 10, QLatin1Char('0'));
        QCOMPARE(dm.MineT.fieldByName(QStringLiteral("Applicant")).asString(), name);
        if (i <= 25) {
            QCOMPARE(dm.MineT.fieldByName(QStringLiteral("PemitID")).asString(), QStringLiteral("P-") + name);
            QCOMPARE(dm.MineT.fieldByName(QStringLiteral("Date")).asDate(), QDate(2024, 7, 1));
        }
        if (i == 10)
            QCOMPARE(dm.MineT.fieldByName(QStringLiteral("ENRIndex")).asFloat(), 13600.0);
    }
    QCOMPARE(i, 0);
    // Forward again, a field first read on the last row.
    i = 0;
    for (dm.MineT.first(); !dm.MineT.eof(); dm.MineT.next())
        if (++i == 40)
            QCOMPARE(dm.MineT.fieldByName(QStringLiteral("PreparedBy")).asString(), QStringLiteral("Reviewer"));
    QCOMPARE(i, 40);
}

void TestEngine::liveQueryFollowsMaster()
{
    Opened o;
    DataModule& dm = o.dm;
    dm.HCompanyQ.open();
    dm.HEquipQ.open();
    dm.HCostQ.open();
    const QStringList makers = walk(dm.HCompanyQ, QStringLiteral("Name"));
    QStringList sorted = makers;
    std::sort(sorted.begin(), sorted.end());
    QCOMPARE(makers, sorted);
    QVERIFY(dm.HCompanyQ.locate({QStringLiteral("Name")}, {QStringLiteral("Komatsu")}));
    const int coid = dm.HCompanyQ.fieldByName(QStringLiteral("COID")).asInteger();
    QVERIFY(dm.HEquipQ.recordCount() > 0);
    for (dm.HEquipQ.first(); !dm.HEquipQ.eof(); dm.HEquipQ.next())
        QCOMPARE(dm.HEquipQ.fieldByName(QStringLiteral("COID")).asInteger(), coid);
    QVERIFY(dm.HEquipQ.locate({QStringLiteral("Type")}, {QStringLiteral("Hydraulic Excavator")}));
    QCOMPARE(walk(dm.HCostQ, QStringLiteral("Model")), QStringList({QStringLiteral("PC490"), QStringLiteral("PC360")}));

    // Editing through the live query writes the table.
    dm.HCostQ.first();
    dm.HCostQ.edit();
    dm.HCostQ.fieldByName(QStringLiteral("HourlyCost")).setAsFloat(155.25);
    dm.HCostQ.post();
    QCOMPARE(dm.HCostQ.fieldByName(QStringLiteral("HourlyCost")).asFloat(), 155.25);
    QCOMPARE(o.data.scalar(QStringLiteral("SELECT HourlyCost * 100 FROM \"HCOST.DB\" WHERE Model = 'PC490'")), 15525);

    // A new row takes its parameter from the master.
    dm.HEquipQ.insert();
    dm.HEquipQ.fieldByName(QStringLiteral("Type")).setAsString(QStringLiteral("Wheel Dozer"));
    dm.HEquipQ.post();
    QCOMPARE(dm.HEquipQ.fieldByName(QStringLiteral("COID")).asInteger(), coid);
    QCOMPARE(o.data.scalar(QStringLiteral("SELECT COID FROM \"HEQUIPT.DB\" WHERE Type = 'Wheel Dozer'")), qint64(coid));
}

void TestEngine::structureCheck_data()
{
    QTest::addColumn<QString>("view");
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("message");
    const QString schema = QStringLiteral("PRAGMA writable_schema = ON; UPDATE sqlite_master SET sql = replace(sql, '%1', '') "
                                          "WHERE name = '%2'; PRAGMA writable_schema = OFF;");
    QTest::newRow("missing table") << "Graph2T" << "DROP TABLE \"GRAPH2.DB\"" << "Table GRAPH2.DB: no such table";
    QTest::newRow("renamed column") << "Graph2T" << "ALTER TABLE \"GRAPH2.DB\" RENAME COLUMN Percent TO Pct"
                                    << "Table GRAPH2.DB: missing column Percent";
    QTest::newRow("extra column") << "Graph2T" << "ALTER TABLE \"GRAPH2.DB\" ADD COLUMN Note TEXT"
                                  << "Table GRAPH2.DB: column Note is not in the table format";
    QTest::newRow("no primary key") << "Graph2T" << "DROP INDEX \"GRAPH2.DB.PrimaryKey\""
                                    << "Table GRAPH2.DB: missing primary key (DirectCost)";
    QTest::newRow("key not auto-increment") << "LaborRegionT" << schema.arg(" AUTOINCREMENT", "LaborRegion.db")
                                            << "Table LaborRegion.db: column RegionID is not auto-increment";
    QTest::newRow("auto-increment field not the key")
        << "LaborRegionT" << schema.arg(" PRIMARY KEY AUTOINCREMENT", "LaborRegion.db")
        << "Table LaborRegion.db: column RegionID is not the auto-increment key";
    QTest::newRow("key where the format has none")
        << "Graph2T"
        << "ALTER TABLE \"GRAPH2.DB\" RENAME TO Old; CREATE TABLE \"GRAPH2.DB\" (DirectCost REAL PRIMARY KEY, "
           "Percent REAL); DROP TABLE Old;"
        << "Table GRAPH2.DB: column DirectCost is a key column where the format has none";
}

void TestEngine::structureCheck()
{
    QFETCH(QString, view);
    QFETCH(QString, damage);
    QFETCH(QString, message);
    EmptyData data;
    data.sql(damage);
    DataModule dm(data.configPath);
    DatabaseStartup startup(dm);
    dm.Session.setActive(true);
    dm.TarvaneDatabase.connect();
    DataSet* damaged = dm.dataSetByName(view);
    QString caught;
    try {
        damaged->open();
    } catch (const EDatabaseError& e) {
        caught = e.message();
    }
    QCOMPARE(caught, message);
    QVERIFY(!damaged->active());
    dm.Graph1T.open();  // the others still open
    QCOMPARE(dm.Graph1T.recordCount(), 5);
}

void TestEngine::damagedFileRefusedUntouched()
{
    TempData data;
    QFile f(data.dataFile());
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    const QByteArray junk = QByteArray("This is a spreadsheet, not a data file.\n").repeated(200);
    f.write(junk);
    f.close();
    DataModule dm(data.configPath);
    DatabaseStartup startup(dm);
    QCOMPARE(startup.ActivateDatabase(), QStringLiteral("Database did NOT open -- Error in table:  Event Log\nData file: ") +
                                             data.dataFile() + QStringLiteral("\nTable EventLog.db: file is not a database"));
    QVERIFY(!startup.DatabaseOpened);
    QFile again(data.dataFile());
    QVERIFY(again.open(QIODevice::ReadOnly));
    QCOMPARE(again.readAll(), junk);
}

void TestEngine::lookupFieldExactMatch()
{
    Opened o;
    DataModule& dm = o.dm;
    addMine(dm, QStringLiteral("Foxtrot"));
    addProject(dm, QStringLiteral("Pit"));
    addDemolition(dm, QStringLiteral("Tipple"));
    dm.EquipDemoT.insert();
    dm.EquipDemoT.fieldByName(QStringLiteral("EffFact")).setAsFloat(0.83);
    QCOMPARE(dm.EquipDemoT.fieldByName(QStringLiteral("EffFactorStr")).asString(),
             QStringLiteral("50 min/hr - average day shift"));
    dm.EquipDemoT.post();
    QCOMPARE(dm.EquipDemoT.fieldByName(QStringLiteral("EffFactorStr")).asString(),
             QStringLiteral("50 min/hr - average day shift"));
    dm.EquipDemoT.edit();
    dm.EquipDemoT.fieldByName(QStringLiteral("EffFact")).setAsFloat(0.8300001);
    dm.EquipDemoT.post();
    QVERIFY(dm.EquipDemoT.fieldByName(QStringLiteral("EffFactorStr")).isNull());
}

void TestEngine::bookmarksLocateAndSearch()
{
    Opened o;
    DataModule& dm = o.dm;
    for (const char* m : {"Smith Energy", "apex Resources", "Mountain Coal", "smithfield Sand"})
        addMine(dm, QString::fromLatin1(m));
    dm.MineT.first();
    dm.MineT.next();
    const Bookmark apex = dm.MineT.bookmark();
    dm.MineT.last();
    dm.MineT.gotoBookmark(apex);
    QCOMPARE(dm.MineT.fieldByName(QStringLiteral("Applicant")).asString(), QStringLiteral("apex Resources"));

    QVERIFY(dm.MineT.locate({QStringLiteral("Applicant")}, {QStringLiteral("SMITHF")}, {true, true}));
    QCOMPARE(dm.MineT.fieldByName(QStringLiteral("Applicant")).asString(), QStringLiteral("smithfield Sand"));
    QVERIFY(!dm.MineT.locate({QStringLiteral("Applicant")}, {QStringLiteral("SMITHF")}, {false, true}));
    QCOMPARE(dm.MineT.fieldByName(QStringLiteral("Applicant")).asString(), QStringLiteral("smithfield Sand"));

    // Incremental search on a chosen index: the first key at or after the text, without regard to case.
    dm.MineT.setIndexName(QStringLiteral("Applicant"));
    QCOMPARE(walk(dm.MineT, QStringLiteral("Applicant")),
             QStringList({QStringLiteral("apex Resources"), QStringLiteral("Mountain Coal"),
                          QStringLiteral("Smith Energy"), QStringLiteral("smithfield Sand")}));
    dm.MineT.findNearest({QStringLiteral("Mo")});
    QCOMPARE(dm.MineT.fieldByName(QStringLiteral("Applicant")).asString(), QStringLiteral("Mountain Coal"));
    dm.MineT.findNearest({QStringLiteral("smithf")});
    QCOMPARE(dm.MineT.fieldByName(QStringLiteral("Applicant")).asString(), QStringLiteral("smithfield Sand"));
    dm.MineT.findNearest({QStringLiteral("zz")});
    QCOMPARE(dm.MineT.fieldByName(QStringLiteral("Applicant")).asString(), QStringLiteral("smithfield Sand"));

    // Search text is data: quotes, semicolons and keywords find nothing and harm nothing.
    const QString hostile = QStringLiteral("a'; DROP TABLE \"MINE.DB\"; --");
    dm.MineT.findNearest({hostile});  // sorts just before "apex"
    QCOMPARE(dm.MineT.fieldByName(QStringLiteral("Applicant")).asString(), QStringLiteral("apex Resources"));
    QVERIFY(!dm.MineT.locate({QStringLiteral("Applicant")}, {hostile}, {true, true}));
    QCOMPARE(o.data.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\"")), 4);

    const auto values = dm.MineT.fieldValues(QStringLiteral("Applicant"));
    QCOMPARE(values.size(), 4);
    QCOMPARE(values[0].first.toString(), QStringLiteral("apex Resources"));
    QCOMPARE(values[0].second, apex);
    dm.MineT.setIndexName(QString());
    QCOMPARE(dm.MineT.fieldValues(QStringLiteral("Applicant")).first().first.toString(), QStringLiteral("Smith Energy"));
}

void TestEngine::transactionKeepsCompletedStages()
{
    Opened o;
    DataModule& dm = o.dm;
    try {
        Database::Transaction tx(dm.TarvaneDatabase);
        addMine(dm, QStringLiteral("Stage One"));
        addMine(dm, QString());  // fails: applicant required
    } catch (const EDatabaseError&) {
    }
    dm.MineT.cancel();
    QCOMPARE(o.data.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\" WHERE Applicant = 'Stage One'")), 1);
}

// A scope undone leaves nothing it wrote, and the views read again; a nested scope
// cannot undo alone, and the outer one still commits what it wrote.
void TestEngine::rollbackUndoesTheWholeScope()
{
    Opened o;
    DataModule& dm = o.dm;
    addMine(dm, QStringLiteral("Kept"));
    {
        Database::Transaction tx(dm.TarvaneDatabase);
        addMine(dm, QStringLiteral("Undone One"));
        addMine(dm, QStringLiteral("Undone Two"));
        QCOMPARE(dm.MineT.recordCount(), 3);
        tx.rollback();
        QVERIFY(!dm.TarvaneDatabase.inTransaction());
    }
    QCOMPARE(o.data.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\"")), 1);
    QCOMPARE(dm.MineT.recordCount(), 1);
    dm.MineT.first();
    QCOMPARE(dm.MineT.fieldByName(QStringLiteral("Applicant")).asString(), QStringLiteral("Kept"));

    {
        Database::Transaction outer(dm.TarvaneDatabase);
        addMine(dm, QStringLiteral("Outer"));
        Database::Transaction inner(dm.TarvaneDatabase);
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, inner.rollback());
        inner.commit();
        outer.commit();
    }
    QCOMPARE(o.data.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\"")), 2);
}

// A delete and what its before-delete event writes are committed together;
// until the event's first write (while it asks the user) the write lock is free
// for another process.
void TestEngine::deleteIsOneTransactionFromItsFirstWrite()
{
    Opened o;
    DataModule& dm = o.dm;
    addMine(dm, QStringLiteral("Doomed"));
    addProject(dm, QStringLiteral("Pit"));
    const auto outside = [&](const char* sql) {
        sqlite3* h = nullptr;
        sqlite3_open(o.data.dataFile().toUtf8().constData(), &h);
        const int rc = sqlite3_exec(h, sql, nullptr, nullptr, nullptr);
        sqlite3_close(h);
        return rc;
    };
    int otherWriter = -1;
    qint64 projectsSeen = -1, minesSeen = -1;
    dm.MineT.beforeDelete = [&](DataSet&) {
        otherWriter = outside("BEGIN IMMEDIATE; ROLLBACK");  // could take the write lock
        dm.ProjectT.first();
        dm.ProjectT.remove();
        projectsSeen = o.data.scalar(QStringLiteral("SELECT count(*) FROM \"PROJECT.DB\""));
    };
    dm.MineT.afterDelete = [&](DataSet&) { minesSeen = o.data.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\"")); };
    dm.MineT.remove();
    QCOMPARE(otherWriter, SQLITE_OK);
    QCOMPARE(projectsSeen, 1);  // not yet committed
    QCOMPARE(minesSeen, 0);     // committed with the mine
    QCOMPARE(o.data.scalar(QStringLiteral("SELECT count(*) FROM \"PROJECT.DB\"")), 0);
    QVERIFY(!dm.TarvaneDatabase.inTransaction());
}

void TestEngine::killDuringPostLeavesNoHalfRecord()
{
    EmptyData data;
    QProcess poster;
    poster.start(QStringLiteral(CRASH_POSTER), {data.configPath});
    QVERIFY(poster.waitForStarted());
    QVERIFY(poster.waitForReadyRead(10000));  // it has started posting
    QTest::qWait(700);
    poster.kill();
    poster.waitForFinished();
    const qint64 rows = data.scalar(QStringLiteral("SELECT count(*) FROM \"Equipment.DB\""));
    QVERIFY(rows > 0);
    QCOMPARE(data.scalar(QStringLiteral("SELECT count(*) FROM \"Equipment.DB\" WHERE Descriptions IS NULL OR Volume IS NULL OR "
                                        "Descriptions <> 'row ' || CAST(Volume AS INTEGER) OR Reference IS NULL")),
             0);
    sqlite3* h = nullptr;
    QVERIFY(sqlite3_open(data.dataFile().toUtf8().constData(), &h) == SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(h, "PRAGMA integrity_check", -1, &st, nullptr);
    QVERIFY(sqlite3_step(st) == SQLITE_ROW);
    QCOMPARE(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))), QStringLiteral("ok"));
    sqlite3_finalize(st);
    sqlite3_close(h);
    DataModule dm(data.configPath);
    DatabaseStartup startup(dm);
    QCOMPARE(startup.ActivateDatabase(), QString());
    QCOMPARE(dm.EquipStuff1T.recordCount(), static_cast<int>(rows));
}

// Another process posts rows without pause; this one, with its views standing
// on rows, sees them after waiting and can post while the other writes.
void TestEngine::otherProcessWritesSeenAndPostable()
{
    Opened o;
    DataModule& dm = o.dm;
    addMine(dm, QStringLiteral("Echo"));
    Table& t = dm.EquipStuff1T;
    QProcess poster;
    poster.start(QStringLiteral(CRASH_POSTER), {o.data.configPath, QStringLiteral("2")});
    QVERIFY(poster.waitForStarted());
    QVERIFY(poster.waitForReadyRead(10000));
    waitForUser(100);
    t.last();
    const int lastSeen = t.fieldByName(QStringLiteral("PlanID")).asInteger();
    QVERIFY(lastSeen > 0);
    t.prior();
    const int counted = t.recordCount();
    waitForUser(300);
    // The next moves go on past the row that was the last to the rows posted meanwhile.
    t.next();
    QCOMPARE(t.fieldByName(QStringLiteral("PlanID")).asInteger(), lastSeen);
    t.next();
    QVERIFY(!t.eof());
    QVERIFY(t.fieldByName(QStringLiteral("PlanID")).asInteger() > lastSeen);
    QVERIFY(t.recordCount() > counted);
    // Standing on a row mid-table holds nothing: a post of this process goes through.
    t.first();
    t.next();
    QCOMPARE(dm.TarvaneDatabase.runningStatements(), 0);
    waitForUser(100);
    dm.MineT.edit();
    dm.MineT.fieldByName(QStringLiteral("Applicant")).setAsString(QStringLiteral("Echo 2"));
    dm.MineT.post();
    QCOMPARE(dm.MineT.state(), DataSetState::Browse);
    poster.kill();
    poster.waitForFinished();
    QCOMPARE(o.data.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\" WHERE Applicant = 'Echo 2'")), 1);
}

// A writer that keeps the lock is waited for, then reported; what was typed stays.
void TestEngine::lockedWriterWaitedForThenReported()
{
    Opened o;
    DataModule& dm = o.dm;
    addMine(dm, QStringLiteral("Foxtrot"));
    sqlite3* other = nullptr;
    QCOMPARE(sqlite3_open(o.data.dataFile().toUtf8().constData(), &other), SQLITE_OK);
    QCOMPARE(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    dm.MineT.edit();
    dm.MineT.fieldByName(QStringLiteral("Applicant")).setAsString(QStringLiteral("Typed"));
    QString caught;
    try {
        dm.MineT.post();
    } catch (const EDatabaseError& e) {
        caught = e.message();
    }
    QVERIFY2(caught.contains(QStringLiteral("database is locked")), qPrintable(caught));
    QCOMPARE(dm.MineT.state(), DataSetState::Edit);
    QCOMPARE(dm.MineT.fieldByName(QStringLiteral("Applicant")).asString(), QStringLiteral("Typed"));
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    dm.MineT.post();
    QCOMPARE(o.data.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\" WHERE Applicant = 'Typed'")), 1);
}

// Views standing mid-table do not keep the write-ahead log from being reused.
void TestEngine::walStaysBoundedWhileViewsStand()
{
    Opened o;
    DataModule& dm = o.dm;
    addMine(dm, QStringLiteral("Golf"));
    Table& walker = dm.EquipStuff1T;
    Table& writer = dm.EquipStuffT;
    for (int i = 0; i < 40; ++i)
        addEquipment(writer, 0, QStringLiteral("seed %1").arg(i));
    walker.first();
    for (int i = 0; i < 10; ++i)
        walker.next();
    const QString wal = o.data.dataFile() + QStringLiteral("-wal");
    for (int i = 0; i < 1500; ++i) {
        writer.insert();
        writer.fieldByName(QStringLiteral("EquipCode2")).setAsInteger(0);
        writer.fieldByName(QStringLiteral("Descriptions")).setAsString(QString(70, QLatin1Char('w')));
        writer.post();
        if (i % 100 == 0)
            walker.next();  // the walking view moves on now and then
    }
    QVERIFY(!walker.eof());
    const qint64 size = QFileInfo(wal).size();
    QVERIFY2(size < 8 * 1024 * 1024, qPrintable(QStringLiteral("write-ahead log of %1 bytes").arg(size)));
}

void TestEngine::detailWithoutMasterRefused_data()
{
    QTest::addColumn<QString>("view");
    QTest::addColumn<QString>("linkField");
    QTest::newRow("project without a mine") << "ProjectT" << "MineID";
    QTest::newRow("earthmoving without a project") << "MatT" << "PrjID";
    QTest::newRow("equipment without a worksheet") << "EquipDemoT" << "CostType";
    QTest::newRow("handbook model without a kind") << "HCostT" << "ID";
    QTest::newRow("labor rate without a sub-region") << "LaborCostT" << "SubRegionID";
}

// A detail row without its master would be stored with empty links, shown by no view.
void TestEngine::detailWithoutMasterRefused()
{
    QFETCH(QString, view);
    QFETCH(QString, linkField);
    Opened o;
    DataModule& dm = o.dm;
    o.data.sql(QStringLiteral("DELETE FROM \"HEQUIPT.DB\"; DELETE FROM \"LaborSubRegion.DB\""));
    for (Table* t : {&dm.HCompanyT, &dm.HEquipT, &dm.HCostT, &dm.LaborRegionT, &dm.LaborSubRegionT, &dm.LaborCostT})
        t->open();  // the editors open these
    for (DataSet* ds : {static_cast<DataSet*>(&dm.MineT), static_cast<DataSet*>(&dm.HEquipT),
                        static_cast<DataSet*>(&dm.LaborSubRegionT)})
        ds->refresh();
    DataSet* detail = nullptr;
    for (DataSet* ds : {static_cast<DataSet*>(&dm.ProjectT), static_cast<DataSet*>(&dm.MatT),
                        static_cast<DataSet*>(&dm.EquipDemoT), static_cast<DataSet*>(&dm.HCostT),
                        static_cast<DataSet*>(&dm.LaborCostT)})
        if (ds->name() == view)
            detail = ds;
    QVERIFY(detail && detail->active());
    if (view == QLatin1String("EquipDemoT")) {  // a mine and a project, but no worksheet
        addMine(dm, QStringLiteral("Hotel"));
        addProject(dm, QStringLiteral("Pit"));
    } else if (view == QLatin1String("MatT")) {
        addMine(dm, QStringLiteral("Hotel"));
    }
    QString caught;
    try {
        detail->insert();
    } catch (const EDatabaseError& e) {
        caught = e.message();
    }
    QCOMPARE(caught, view + QStringLiteral(": Cannot insert a record: there is no master record to link it to (") + linkField +
                         QStringLiteral(" is empty)"));
    QCOMPARE(detail->state(), DataSetState::Browse);
}

void TestEngine::emptyKeyRefused()
{
    Opened o;
    DataModule& dm = o.dm;
    // A kind name without its code could never be found again.
    const qint64 kinds = o.data.scalar(QStringLiteral("SELECT count(*) FROM \"EQUIP.DB\""));
    Table kindsView(dm.TarvaneDatabase, QStringLiteral("KindsT"), QStringLiteral("EQUIP.DB"));
    kindsView.open();
    kindsView.insert();
    kindsView.fieldByName(QStringLiteral("EquipmentName")).setAsString(QStringLiteral("Dragline"));
    QString caught;
    try {
        kindsView.post();
    } catch (const EDatabaseError& e) {
        caught = e.message();
    }
    QCOMPARE(caught, QStringLiteral("Field 'EquipCode' must have a value"));
    kindsView.cancel();
    QCOMPARE(o.data.scalar(QStringLiteral("SELECT count(*) FROM \"EQUIP.DB\"")), kinds);
    // A new efficiency factor, whose editor shows only its description and factor, takes the next ID.
    const qint64 top = o.data.scalar(QStringLiteral("SELECT max(ID) FROM \"EffFactor.DB\""));
    dm.EffFactorT.insert();
    dm.EffFactorT.fieldByName(QStringLiteral("Desc")).setAsString(QStringLiteral("Night shift"));
    dm.EffFactorT.fieldByName(QStringLiteral("Factor")).setAsFloat(0.5);
    dm.EffFactorT.post();
    QCOMPARE(o.data.scalar(QStringLiteral("SELECT ID FROM \"EffFactor.DB\" WHERE \"Desc\" = 'Night shift'")), top + 1);
}

// Going back to the first record after standing on it (as every total's walk does)
// shows what was written meanwhile here or by another process, and a filter
// callback judges the rows again; a bookmark is valid while its row is shown.
void TestEngine::backToFirstSeesEveryChange()
{
    Opened o;
    DataModule& dm = o.dm;
    Table& t = dm.EquipStuff1T;
    for (const char* d : {"Loader", "Truck", "Dozer"})
        addEquipment(t, 6, QLatin1String(d));
    const auto descriptions = [&] { return walk(t, QStringLiteral("Descriptions")); };
    QCOMPARE(descriptions(), QStringList({"Loader", "Truck", "Dozer"}));
    t.first();
    const Bookmark loader = t.bookmark();
    t.next();
    const Bookmark truck = t.bookmark();

    // Written through another view of this process.
    Table& other = dm.EquipStuffT;
    other.setFilter(QStringLiteral("PlanID = %1").arg(loader));
    other.setFiltered(true);
    other.edit();
    other.fieldByName(QStringLiteral("Descriptions")).setAsString(QStringLiteral("Loader 2"));
    other.post();
    t.first();
    QCOMPARE(t.fieldByName(QStringLiteral("Descriptions")).asString(), QStringLiteral("Loader 2"));

    // Written by another process, seen once the program has waited for the user.
    QCOMPARE(descriptions(), QStringList({"Loader 2", "Truck", "Dozer"}));
    t.first();
    t.next();
    o.data.sql(QStringLiteral("UPDATE \"Equipment.DB\" SET Descriptions = 'Loader 3' WHERE PlanID = %1;"
                              "INSERT INTO \"Equipment.DB\" (PlanID, CostType, SheetID, EquipCode2, Descriptions) "
                              "VALUES (%2, 'D', 1, 6, 'Grader')")
                   .arg(loader)
                   .arg(-5));
    waitForUser(50);
    t.first();
    QCOMPARE(t.fieldByName(QStringLiteral("Descriptions")).asString(), QStringLiteral("Grader"));
    QCOMPARE(descriptions(), QStringList({"Grader", "Loader 3", "Truck", "Dozer"}));

    // A filter callback whose judgement changes with the program's state is asked again.
    QString hidden = QStringLiteral("Grader");
    t.setOnFilterRecord([&](DataSet& ds) { return ds.fieldByName(QStringLiteral("Descriptions")).asString() != hidden; });
    t.setFiltered(true);
    QCOMPARE(t.fieldByName(QStringLiteral("Descriptions")).asString(), QStringLiteral("Loader 3"));
    hidden = QStringLiteral("Loader 3");
    t.first();
    QCOMPARE(t.fieldByName(QStringLiteral("Descriptions")).asString(), QStringLiteral("Grader"));

    // Bookmarks: a row the filter hides, a row deleted elsewhere, no row at all.
    QVERIFY(t.bookmarkValid(truck));
    QVERIFY(!t.bookmarkValid(loader));
    t.setFiltered(false);
    QVERIFY(t.bookmarkValid(loader));
    other.remove();
    QVERIFY(!t.bookmarkValid(loader));
    QVERIFY(!t.bookmarkValid(kNoBookmark));
    t.setOnFilterRecord({});
}

// A name handed over as text in the program's own buffer is looked up by its text:
// a buffer that now holds another name finds the other field.
void TestEngine::fieldsByNamesSpelledOut()
{
    Opened o;
    Table& t = o.dm.EquipStuff1T;
    char name[32];
    std::strcpy(name, "PlanID");
    QCOMPARE(t.fieldByName(name).fieldName(), QStringLiteral("PlanID"));
    std::strcpy(name, "Descriptions");
    QCOMPARE(t.fieldByName(name).fieldName(), QStringLiteral("Descriptions"));
    std::strcpy(name, "descriptions");
    QCOMPARE(t.fieldByName(name).fieldName(), QStringLiteral("Descriptions"));
    std::strcpy(name, "NoSuchField");
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, t.fieldByName(name));
    QCOMPARE(&t.fieldByName("Route"), &t.fieldByName(QStringLiteral("Route")));
}

void TestEngine::storedFormsReadAsTheirFields_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("stored");  // an SQL literal, written past the program
    QTest::addColumn<QVariant>("value");  // what the field reads; invalid: empty
    QTest::addColumn<QString>("text");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("string") << "CostType" << "'M'" << QVariant(QStringLiteral("M")) << "M";
    QTest::newRow("string, stored as bytes") << "Name" << "X'4142'" << QVariant(QStringLiteral("AB")) << "AB";
    QTest::newRow("string, empty") << "Name" << "NULL" << QVariant() << "";
    QTest::newRow("memo, not ASCII") << "Act" << QString::fromUtf8("'Überlagerung — 3 m³'")
                                     << QVariant(QString::fromUtf8("Überlagerung — 3 m³")) << QString::fromUtf8("Überlagerung — 3 m³");
    QTest::newRow("integer") << "EquipCode2" << "6" << QVariant(6) << "6";
    QTest::newRow("integer, stored as a float") << "EquipCode2" << "12.0001" << QVariant(12) << "12";
    QTest::newRow("integer, empty") << "EquipCode2" << "NULL" << QVariant() << "";
    QTest::newRow("currency") << "OperatCost" << "118.25" << QVariant(118.25) << "118.25";
    QTest::newRow("currency, stored whole") << "OperatCost" << "118" << QVariant(118.0) << "118";
    QTest::newRow("float, text that is no number") << "HaulDistance" << "'NaN'" << QVariant(nan) << "nan";
    QTest::newRow("float, empty") << "HaulDistance" << "NULL" << QVariant() << "";
    QTest::newRow("boolean") << "UserEnteredHrs" << "1" << QVariant(true) << "True";
}

// Every form a value can be stored in reads as its field's own value and text,
// in a plain walk and through a filter that refuses the rows around it.
void TestEngine::storedFormsReadAsTheirFields()
{
    QFETCH(QString, field);
    QFETCH(QString, stored);
    QFETCH(QVariant, value);
    QFETCH(QString, text);
    Opened o;
    DataModule& dm = o.dm;
    Database& db = dm.TarvaneDatabase;
    db.execSql(QStringLiteral("DELETE FROM \"Equipment.DB\""));
    // The row under test among rows the filter below refuses, in several blocks of a walk.
    for (int i = 0; i < 60; ++i)
        db.execSql(QStringLiteral("INSERT INTO \"Equipment.DB\" (CostType, SheetID, EquipCode2, Name, OperatCost) "
                                  "VALUES ('D', %1, 2, 'other', 5.5)")
                       .arg(i == 41 ? 1 : 2));
    db.execSql(QStringLiteral("UPDATE \"Equipment.DB\" SET CostType = 'M', Name = NULL, EquipCode2 = NULL, OperatCost = NULL, "
                              "%1 = %2 WHERE SheetID = 1")
                   .arg(field, stored));
    Table& t = dm.EquipStuff1T;
    for (const bool filtered : {false, true}) {
        t.close();
        t.setOnFilterRecord([](DataSet& ds) { return ds.fieldByName(QStringLiteral("SheetID")).asInteger() == 1; });
        t.setFiltered(filtered);
        t.open();
        int seen = 0, tested = 0;
        for (t.first(); !t.eof(); t.next()) {
            ++seen;
            Field& f = t.fieldByName(field);
            if (t.fieldByName(QStringLiteral("SheetID")).asInteger() != 1) {
                QCOMPARE(t.fieldByName(QStringLiteral("Name")).asString(), QStringLiteral("other"));
                QCOMPARE(t.fieldByName(QStringLiteral("OperatCost")).asFloat(), 5.5);
                continue;
            }
            const QVariant got = f.value();
            QCOMPARE(got.isValid(), value.isValid());
            QCOMPARE(f.isNull(), !value.isValid());
            if (value.isValid()) {
                QCOMPARE(got.typeId(), value.typeId());
                if (value.typeId() == QMetaType::Double && std::isnan(value.toDouble()))
                    QVERIFY(std::isnan(got.toDouble()) && std::isnan(f.asFloat()));
                else
                    QCOMPARE(got, value);
            }
            QCOMPARE(f.asString(), text);
            QCOMPARE(t.fieldByName(QStringLiteral("CostType")).asString(), QStringLiteral("M"));
            ++tested;
        }
        QCOMPARE(seen, filtered ? 1 : 60);
        QCOMPARE(tested, 1);
    }
    t.setFiltered(false);
    t.setOnFilterRecord({});
}

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"
