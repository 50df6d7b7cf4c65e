// The data module's rules on a real data file: stamping, the event log,
// cascades, link upkeep, calculated fields and the main window's refreshes.
#include "ComputationFixture.h"

#include <limits>

namespace {

// A mine with a project, a demolition worksheet and a loader with its truck.
struct Worked : World {
    int mine = 0, project = 0, loader = 0, truck = 0;
    Worked()
    {
        mine = addMine(QStringLiteral("Rules Mine"));
        project = addProject(QStringLiteral("Pit"));
        addDemolition(QStringLiteral("Office"), 100, 5);
        loader = addEquipment(dm.EquipDemoT, 6, {{"BuckCap", 5.0}, {"BuckFact", 90.0}, {"CycleT", 1.0}, {"EffFact", 1.0}});
        truck = addEquipment(dm.EquipDemoT, 8, {{"AddedEquipID", loader}, {"TruckCap", 20.0}});
        dm.EquipDemoT.locate({QStringLiteral("PlanID")}, {loader});
        dm.EquipDemoT.edit();
        dm.EquipDemoT.fieldByName(QStringLiteral("AddedEquipID")).setAsInteger(truck);
        dm.EquipDemoT.post();
    }
    QStringList events()
    {
        QStringList out;
        for (dm.EventLogT.first(); !dm.EventLogT.eof(); dm.EventLogT.next())
            out << dm.EventLogT.fieldByName(QStringLiteral("Event")).asString();
        return out;
    }
};

}  // namespace

class TestRules : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void stampingAndTotals();
    void stampWrittenWhenPostFails();
    void eventLog();
    void mineDeleteCascade();
    void mineDeleteRefused();
    void linkUpkeep_data();
    void linkUpkeep();
    void addedHoursCleared_data();
    void addedHoursCleared();
    void deleteIsOneTransaction_data();
    void deleteIsOneTransaction();
    void calculatedFields();
    void numberLimitsOnPost_data();
    void numberLimitsOnPost();
    void calculatedFieldNeverUnreadable_data();
    void calculatedFieldNeverUnreadable();
    void revegetationProducts();
    void volumeSets();
    void handbookCascade();
};

void TestRules::stampingAndTotals()
{
    Worked w;
    w.dm.DemolT.edit();
    w.dm.DemolT.fieldByName(QStringLiteral("CostType")).setAsString(QStringLiteral("X"));
    w.dm.DemolT.post();
    QCOMPARE(w.dm.DemolT.fieldByName(QStringLiteral("CostType")).asString(), QStringLiteral("D"));
    QCOMPARE(w.dm.DemolT.fieldByName(QStringLiteral("DemoCost")).asFloat(), 500.0);
    QCOMPARE(w.window.totals.value(QLatin1Char('D')), formatMoney(w.comp.totals.TotalDemoCost()));
    QCOMPARE(w.window.equipButtons.value(QLatin1Char('D')), true);
    w.addSheet(w.dm.MatT, {{"Description", "Topsoil"}});
    QCOMPARE(w.dm.MatT.fieldByName(QStringLiteral("CostType")).asString(), QStringLiteral("M"));
    QCOMPARE(w.window.equipButtons.value(QLatin1Char('M')), true);
    QVERIFY(!w.window.totals.contains(QLatin1Char('M')));  // earthmoving shows no total here
    w.dm.DemolT.remove();
    QCOMPARE(w.window.equipButtons.value(QLatin1Char('D')), false);
    QCOMPARE(w.window.totals.value(QLatin1Char('D')), QStringLiteral("       $0.00"));
    QCOMPARE(w.added(QStringLiteral("Equipment.DB")), 0);  // the worksheet's machines went with it
}

void TestRules::stampWrittenWhenPostFails()
{
    Worked w;
    w.dm.RevegT.insert();
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, w.dm.RevegT.post());
    QCOMPARE(w.dm.RevegT.state(), DataSetState::Insert);
    QCOMPARE(w.dm.RevegT.fieldByName(QStringLiteral("CostType")).asString(), QStringLiteral("R"));
    w.dm.RevegT.cancel();
}

void TestRules::eventLog()
{
    World w;
    w.addMine(QStringLiteral("Logged Mine"));
    for (int i = 0; i < 2; ++i) {
        w.dm.MineT.edit();
        w.dm.MineT.fieldByName(QStringLiteral("Location")).setAsString(QStringLiteral("Ridge %1").arg(i));
        w.dm.MineT.post();
    }
    QCOMPARE(w.window.postButtons.last(), false);  // disabled after the post
    w.dm.MineT.insert();
    QCOMPARE(w.window.postButtons.last(), true);
    w.dm.MineT.cancel();  // an abandoned insert logs nothing
    QVERIFY(!w.dm.MineInserted);
    QStringList events;
    for (w.dm.EventLogT.first(); !w.dm.EventLogT.eof(); w.dm.EventLogT.next()) {
        events << w.dm.EventLogT.fieldByName(QStringLiteral("Event")).asString();
        QCOMPARE(w.dm.EventLogT.fieldByName(QStringLiteral("MineName")).asString(), QStringLiteral("Logged Mine"));
        QVERIFY(w.dm.EventLogT.fieldByName(QStringLiteral("Date")).isNull());
        QVERIFY(qAbs(w.dm.EventLogT.fieldByName(QStringLiteral("Time")).asDateTime().secsTo(QDateTime::currentDateTime())) < 60);
    }
    QCOMPARE(events, QStringList({QStringLiteral("After Insert"), QStringLiteral("Before Edit"), QStringLiteral("After Edit"),
                                  QStringLiteral("Before Edit"), QStringLiteral("After Edit")}));
    QVERIFY(w.window.statusRefreshes > 0);
}

void TestRules::mineDeleteCascade()
{
    Worked w;
    w.addProject(QStringLiteral("Second Pit"));
    w.addDemolition(QStringLiteral("Garage"));
    const int l2 = w.addEquipment(w.dm.EquipDemoT, 6, {{"BuckCap", 4.0}, {"BuckFact", 100.0}});
    w.addEquipment(w.dm.EquipDemoT, 8, {{"AddedEquipID", l2}});
    w.addSheet(w.dm.CrossSecT, {{"VolumeName", "Pit fill"}});
    w.addSheet(w.dm.VolT, {{"CrossSectionName", "A"}, {"Distance", 100.0}});
    w.addMine(QStringLiteral("Other Mine"));  // untouched
    w.addProject(QStringLiteral("Kept"));
    w.dm.MineT.first();
    w.dialogs.shown.clear();
    w.dialogs.answers = {MsgResult::Ok};
    w.dm.MineT.remove();
    QCOMPARE(w.dialogs.shown.first().text, QStringLiteral("Do You Really Want to DELETE a Mine?"));
    QCOMPARE(w.dialogs.shown.first().type, MsgType::Warning);
    QCOMPARE(w.dialogs.shown.first().buttons, MsgButtons::OkNo);
    QCOMPARE(w.dialogs.shown.size(), 1);
    QCOMPARE(w.added(QStringLiteral("MINE.DB")), 1);
    QCOMPARE(w.added(QStringLiteral("PROJECT.DB")), 1);
    QCOMPARE(w.added(QStringLiteral("DEMOL.DB")), 0);
    QCOMPARE(w.added(QStringLiteral("Equipment.DB")), 0);
    QCOMPARE(w.added(QStringLiteral("CrossSections.db")), 0);
    QCOMPARE(w.added(QStringLiteral("Volume.db")), 0);
    QCOMPARE(w.events().count(QStringLiteral("Before Delete")), 1);
    QVERIFY(w.dm.CalcEnabled);
    QCOMPARE(w.dm.MineT.fieldByName(QStringLiteral("Applicant")).asString(), QStringLiteral("Other Mine"));
}

void TestRules::mineDeleteRefused()
{
    Worked w;
    w.dialogs.answers = {MsgResult::No};
    QString caught;
    try {
        w.dm.MineT.remove();
    } catch (const EDenyDeleteEdit& e) {
        caught = e.message();
    }
    QCOMPARE(caught, QStringLiteral("Delete Canceled!"));
    QCOMPARE(w.added(QStringLiteral("MINE.DB")), 1);
    QCOMPARE(w.added(QStringLiteral("Equipment.DB")), 2);
    QVERIFY(!w.events().contains(QStringLiteral("Before Delete")));
}

void TestRules::linkUpkeep_data()
{
    QTest::addColumn<QString>("deleted");
    QTest::addColumn<int>("rowsLeft");
    QTest::addColumn<int>("partnerLink");  // the other row's AddedEquipID afterwards; 0: the row is gone
    QTest::newRow("truck: the loader stays, unlinked") << "truck" << 1 << -1;
    QTest::newRow("loader: its truck goes with it") << "loader" << 0 << 0;
}

void TestRules::linkUpkeep()
{
    QFETCH(QString, deleted);
    QFETCH(int, rowsLeft);
    QFETCH(int, partnerLink);
    Worked w;
    const int gone = deleted == QLatin1String("truck") ? w.truck : w.loader;
    const int other = gone == w.truck ? w.loader : w.truck;
    w.dm.EquipDemoT.locate({QStringLiteral("PlanID")}, {gone});
    w.dm.EquipDemoT.remove();
    QCOMPARE(w.added(QStringLiteral("Equipment.DB")), qint64(rowsLeft));
    if (partnerLink)
        QCOMPARE(w.planField(other, QStringLiteral("AddedEquipID")), QVariant(qint64(partnerLink)));
    QVERIFY(w.dm.CalcEnabled);

    // Push dozers: deleting one unlinks its scraper; deleting a scraper leaves the push dozers naming it.
    const int scraper = w.addEquipment(w.dm.EquipDemoT, 7, {});
    const int p1 = w.addEquipment(w.dm.EquipDemoT, 2, {{"AddedEquipID", scraper}});
    const int p2 = w.addEquipment(w.dm.EquipDemoT, 2, {{"AddedEquipID", scraper}});
    w.dm.EquipDemoT.locate({QStringLiteral("PlanID")}, {p1});
    w.dm.EquipDemoT.remove();
    QCOMPARE(w.planField(scraper, QStringLiteral("AddedEquipID")), QVariant(qint64(-1)));
    w.dm.EquipDemoT.locate({QStringLiteral("PlanID")}, {scraper});
    w.dm.EquipDemoT.remove();
    QCOMPARE(w.planField(p2, QStringLiteral("AddedEquipID")), QVariant(qint64(scraper)));
}

void TestRules::addedHoursCleared_data()
{
    QTest::addColumn<int>("partnerKind");
    QTest::addColumn<bool>("deleteTruck");  // false: the partner is deleted
    QTest::addColumn<bool>("namesBack");    // the partner names the truck
    QTest::newRow("truck: its loader bills its own hours") << 6 << true << true;
    QTest::newRow("truck: its excavator bills its own hours") << 4 << true << true;
    QTest::newRow("loader serving no truck: the truck naming it keeps no added hours") << 6 << false << false;
}

// The partner that stays after a truck or its loader or excavator is deleted
// keeps no hours added to match the one that went.
void TestRules::addedHoursCleared()
{
    QFETCH(int, partnerKind);
    QFETCH(bool, deleteTruck);
    QFETCH(bool, namesBack);
    World w;
    w.addMine(QStringLiteral("Hours Mine"));
    w.addProject(QStringLiteral("Pit"));
    w.addDemolition(QStringLiteral("Office"));
    // 2000 yd at 270 yd an hour: 8 hours, plus 3 added to match the truck.
    QVariantMap inputs{{"Volume", 2000.0}, {"BuckCap", 5.0}, {"CycleT", 1.0}, {"EffFact", 1.0}, {"AddHours", 3.0}};
    inputs.insert(partnerKind == 6 ? QStringLiteral("BuckFact") : QStringLiteral("FillFact"), partnerKind == 6 ? 90.0 : 0.9);
    const int partner = w.addEquipment(w.dm.EquipDemoT, partnerKind, inputs);
    const int truck = w.addEquipment(w.dm.EquipDemoT, 8,
                                     {{"AddedEquipID", partner}, {"LoadExcavRG", partnerKind == 6 ? 0 : 1},
                                      {"TruckCap", 20.0}, {"Volume", 2000.0}, {"AddHours", 2.0}});
    QVERIFY(w.dm.EquipDemoT.locate({QStringLiteral("PlanID")}, {partner}));
    if (namesBack) {
        w.dm.EquipDemoT.edit();
        w.dm.EquipDemoT.fieldByName(QStringLiteral("AddedEquipID")).setAsInteger(truck);
        w.dm.EquipDemoT.post();
    }
    QCOMPARE(w.dm.EquipDemoT.fieldByName(QStringLiteral("HrsReq")).asFloat(), 11.0);
    const int gone = deleteTruck ? truck : partner;
    const int stays = deleteTruck ? partner : truck;
    QVERIFY(w.dm.EquipDemoT.locate({QStringLiteral("PlanID")}, {gone}));
    w.dm.EquipDemoT.remove();
    QCOMPARE(w.planField(stays, QStringLiteral("AddHours")).toDouble(), 0.0);
    QVERIFY(w.dm.EquipDemoT.locate({QStringLiteral("PlanID")}, {stays}));
    if (deleteTruck) {
        QCOMPARE(w.planField(stays, QStringLiteral("AddedEquipID")), QVariant(qint64(-1)));
        QCOMPARE(w.dm.EquipDemoT.fieldByName(QStringLiteral("HrsReq")).asFloat(), 8.0);
    } else {
        QCOMPARE(w.planField(stays, QStringLiteral("AddedEquipID")), QVariant(qint64(partner)));  // as before
    }
    QVERIFY(w.dm.CalcEnabled);
}

void TestRules::deleteIsOneTransaction_data()
{
    QTest::addColumn<QString>("view");
    QTest::newRow("demolition worksheet") << "DemolT";
    QTest::newRow("project") << "ProjectT";
    QTest::newRow("mine") << "MineT";
    QTest::newRow("loader with its truck") << "EquipDemoT";
}

// While a delete runs its cascade, another reader of the data file sees none of
// it: the records deleted, the links unlinked and the log entry written are
// committed together with the delete itself.
void TestRules::deleteIsOneTransaction()
{
    QFETCH(QString, view);
    Worked w;
    w.addEquipment(w.dm.EquipDemoT, 0, {});
    const int scraper = w.addEquipment(w.dm.EquipDemoT, 7, {});
    w.addEquipment(w.dm.EquipDemoT, 2, {{"AddedEquipID", scraper}});
    w.addDemolition(QStringLiteral("Garage"));
    w.addEquipment(w.dm.EquipDemoT, 9, {{"HrsReg", 10.0}});
    w.dm.DemolT.first();
    w.dm.EquipDemoT.locate({QStringLiteral("PlanID")}, {w.loader});
    const auto outside = [&] {
        QStringList parts;
        for (const char* t : {"MINE.DB", "PROJECT.DB", "DEMOL.DB", "Equipment.DB", "EventLog.db"})
            parts << QString::number(w.count(QString::fromLatin1(t)));
        parts << QString::number(w.data.scalar(QStringLiteral("SELECT total(AddedEquipID) FROM \"Equipment.DB\"")));
        return parts.join(QLatin1Char(' '));
    };
    const QString before = outside();
    int stages = 0;
    QStringList seen;  // what another reader saw part-way
    for (Table* t : {&w.dm.EquipDemoT, &w.dm.EquipStuffT, &w.dm.DemolT, &w.dm.ProjectT, &w.dm.EventLogT}) {
        if (t->name() == view)
            continue;
        for (DataSet::Event* e : {&t->afterDelete, &t->afterPost}) {
            *e = [&, t, old = *e](DataSet& ds) {
                if (old)
                    old(ds);
                ++stages;
                if (outside() != before)
                    seen << t->name() + QStringLiteral(": ") + outside();
            };
        }
    }
    Table* target = view == QLatin1String("DemolT")     ? &w.dm.DemolT
                    : view == QLatin1String("ProjectT") ? &w.dm.ProjectT
                    : view == QLatin1String("MineT")    ? &w.dm.MineT
                                                        : &w.dm.EquipDemoT;
    target->remove();
    QVERIFY(stages > 0);
    QCOMPARE(seen, QStringList());
    QVERIFY(outside() != before);
    QVERIFY(!w.dm.TarvaneDatabase.inTransaction());
}

void TestRules::calculatedFields()
{
    Worked w;
    const int odd = w.addEquipment(w.dm.EquipDemoT, 12, {{"OperatCost", 100.0}});
    QCOMPARE(w.dm.EquipDemoT.fieldByName(QStringLiteral("EquipName")).asString(), QStringLiteral("None"));
    QCOMPARE(w.dm.EquipDemoT.fieldByName(QStringLiteral("TotalCost")).asFloat(), 0.0);
    const int dozer = w.addEquipment(
        w.dm.EquipDemoT, 0,
        {{"OpFact", 1.0}, {"MatFact", 1.0}, {"EffFact", 1.0}, {"GradeFact", 1.0}, {"WeiFact", 1.0}, {"ProdFact", 1.0},
         {"Visibil", 1.0}, {"Elevation", 1.0}, {"HourProd", 100.0}, {"Volume", 1000.0}, {"OperatCost", 118.0},
         {"LaborCost", 58.4}});
    QCOMPARE(w.dm.EquipDemoT.fieldByName(QStringLiteral("EquipName")).asString(), QStringLiteral("Dozer"));
    QCOMPARE(w.dm.EquipDemoT.fieldByName(QStringLiteral("HrsReq")).asFloat(), 11.0);
    QCOMPARE(w.dm.EquipDemoT.fieldByName(QStringLiteral("TotalCost")).asFloat(), 11 * 176.4);
    w.dm.CalcEnabled = false;
    w.dm.EquipDemoT.refresh();
    QVERIFY(w.dm.EquipDemoT.fieldByName(QStringLiteral("HrsReq")).isNull());
    QVERIFY(w.dm.EquipDemoT.fieldByName(QStringLiteral("EquipName")).isNull());
    w.dm.CalcEnabled = true;
    w.dm.EquipDemoT.locate({QStringLiteral("PlanID")}, {odd});
    QCOMPARE(w.dm.EquipDemoT.fieldByName(QStringLiteral("EquipName")).asString(), QStringLiteral("None"));
    Q_UNUSED(dozer);
}

void TestRules::numberLimitsOnPost_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("accepted");
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("currency, max digits of its picture") << "UnitCost" << QVariant(999999999999.99) << true;
    QTest::newRow("currency, max + 1 digit") << "UnitCost" << QVariant(9999999999999.99) << true;
    QTest::newRow("currency, near 9.2e14") << "UnitCost" << QVariant(922337203685477.0) << true;
    QTest::newRow("currency, past 9.2e14") << "UnitCost" << QVariant(922337203685478.0) << false;
    QTest::newRow("currency, typed 1e16") << "UnitCost" << QVariant(QStringLiteral("10000000000000000")) << false;
    QTest::newRow("currency, 1e200") << "UnitCost" << QVariant(1e200) << false;
    QTest::newRow("currency, inf") << "UnitCost" << QVariant(inf) << false;
    QTest::newRow("currency, NaN") << "UnitCost" << QVariant(nan) << false;
    QTest::newRow("currency, text NaN") << "UnitCost" << QVariant(QStringLiteral("NaN")) << false;
    QTest::newRow("float, 1e200") << "Volume" << QVariant(1e200) << true;
    QTest::newRow("float, -inf") << "Volume" << QVariant(-inf) << false;
    QTest::newRow("float, NaN") << "Volume" << QVariant(nan) << false;
    QTest::newRow("float, text inf") << "Volume" << QVariant(QStringLiteral("inf")) << false;
}

// A value that is not a finite number, or a currency amount beyond what the bond's
// money holds, is refused with a message naming the field; the stored row stays.
void TestRules::numberLimitsOnPost()
{
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(bool, accepted);
    Worked w;
    Table& d = w.dm.DemolT;
    const int sheet = d.fieldByName(QStringLiteral("SheetID")).asInteger();
    d.edit();
    if (field == QLatin1String("UnitCost"))
        d.fieldByName(QStringLiteral("Volume")).setAsFloat(1);  // the cost itself stays within money
    QString refusal;
    try {
        d.fieldByName(field).setValue(value);
        d.post();
    } catch (const EDatabaseError& e) {
        refusal = e.message();
        d.cancel();
    }
    QCOMPARE(refusal.isEmpty(), accepted);
    if (!accepted)
        QVERIFY2(refusal.contains(QStringLiteral("'%1'").arg(field)), qPrintable(refusal));
    const qint64 kept = w.count(QStringLiteral("DEMOL.DB"),
                                QStringLiteral("SheetID = %1 AND Volume = 100 AND UnitCost = 5").arg(sheet));
    QCOMPARE(kept, accepted ? 0 : 1);
    if (accepted)
        QCOMPARE(w.count(QStringLiteral("DEMOL.DB"), QStringLiteral("SheetID = %1 AND %2 = %3")
                                                          .arg(sheet)
                                                          .arg(field, QString::number(value.toDouble(), 'g', 17))),
                 1);
}

void TestRules::calculatedFieldNeverUnreadable_data()
{
    QTest::addColumn<QString>("stored");  // the dozer's Volume, as an SQL literal
    QTest::newRow("NaN as text") << "'NaN'";
    QTest::newRow("inf") << "9e999";
    QTest::newRow("1e200: its cost does not fit") << "1e200";
}

// A stored value whose calculation fails leaves the row's calculated fields empty and
// says so once; the view still opens and walks, and the other rows compute.
void TestRules::calculatedFieldNeverUnreadable()
{
    QFETCH(QString, stored);
    Worked w;
    const int dozer = w.addEquipment(
        w.dm.EquipDemoT, 0,
        {{"OpFact", 1.0}, {"MatFact", 1.0}, {"EffFact", 1.0}, {"GradeFact", 1.0}, {"WeiFact", 1.0}, {"ProdFact", 1.0},
         {"Visibil", 1.0}, {"Elevation", 1.0}, {"HourProd", 100.0}, {"Volume", 1000.0}, {"OperatCost", 118.0}});
    w.dm.TarvaneDatabase.execSql(
        QStringLiteral("UPDATE \"Equipment.DB\" SET Volume = %1 WHERE PlanID = %2").arg(stored).arg(dozer));
    w.dialogs.shown.clear();
    w.dialogs.userActed();
    Table& e = w.dm.EquipDemoT;
    e.close();
    e.open();
    int rows = 0;
    for (e.first(); !e.eof(); e.next()) {
        ++rows;
        if (e.fieldByName(QStringLiteral("PlanID")).asInteger() == dozer) {
            QVERIFY(e.fieldByName(QStringLiteral("TotalCost")).isNull());
        } else {
            QVERIFY(!e.fieldByName(QStringLiteral("EquipName")).isNull());
        }
    }
    QCOMPARE(rows, 3);
    e.last();
    e.first();
    QCOMPARE(w.dialogs.shown.size(), 1);
    QVERIFY2(w.dialogs.texts().first().contains(QStringLiteral("the machines of the Demolition worksheet")),
             qPrintable(w.dialogs.texts().first()));
}

void TestRules::revegetationProducts()
{
    Worked w;
    w.addSheet(w.dm.RevegT, {{"Name", "Slope"}, {"SeedFail", 10.0}, {"RAcresSeed", 50.0}, {"RCostSeedBed", 100.0},
                             {"RCostSeed", 200.0}, {"AcresSeed", 2.0}, {"CostSeed", 300.0}});
    w.dm.RevegT.first();
    QCOMPARE(w.window.products[0], 600.0);
    QCOMPARE(w.window.products[2], 1500.0);
    QCOMPARE(formatMoney(w.window.products[2]), QStringLiteral("   $1,500.00"));
}

void TestRules::volumeSets()
{
    Worked w;
    w.addSheet(w.dm.CrossSecT, {{"VolumeName", "Pit"}});
    QCOMPARE(w.window.volumeSets, 1);
    w.addSheet(w.dm.VolT, {{"CrossSectionName", "A"}, {"Distance", 100.0}, {"EndArea", 250.0}, {"AdjustmentFactor", 1.1}});
    QCOMPARE(w.dm.VolT.fieldByName(QStringLiteral("Volume")).asFloat(), 1018.52);  // 27500 / 27, two places
    w.addSheet(w.dm.VolT, {{"CrossSectionName", "B"}, {"Distance", 100.0}});
    QCOMPARE(w.dm.VolT.fieldByName(QStringLiteral("Volume")).asFloat(), 0.0);
    w.dm.CrossSecT.remove();
    QCOMPARE(w.added(QStringLiteral("Volume.db")), 0);
}

void TestRules::handbookCascade()
{
    World w;
    w.dm.HCompanyT.open();
    w.dm.HEquipT.open();
    w.dm.HCostT.open();
    QVERIFY(w.dm.HCompanyT.locate({QStringLiteral("Name")}, {QStringLiteral("Volvo")}));
    const qint64 models = w.count(QStringLiteral("HCOST.DB"));
    w.dm.HCompanyT.remove();
    QCOMPARE(w.count(QStringLiteral("HCOMPANY.DB"), QStringLiteral("Name = 'Volvo'")), 0);
    QCOMPARE(w.count(QStringLiteral("HEQUIPT.DB"), QStringLiteral("COID NOT IN (SELECT COID FROM \"HCOMPANY.DB\")")), 0);
    QCOMPARE(w.count(QStringLiteral("HCOST.DB")), models - 2);  // Volvo's two articulated trucks
}

QTEST_GUILESS_MAIN(TestRules)
#include "tst_rules.moc"
