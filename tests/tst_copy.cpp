// The copy of a mine's bond, run without a window and through the copy window,
// the data sets of the main window and the event log window, on a real data file.
#include "AppContext.h"
#include "ComputationFixture.h"
#include "CopyBondDialog.h"
#include "CopyDataModule.h"
#include "DBNavigator.h"
#include "DataSetModel.h"
#include "EventLogWindow.h"
#include "MainWindowFixture.h"
#include "MainWindow.h"
#include "MineCopy.h"
#include "Notebook.h"
#include "SideBar.h"
#include "SyntheticMine.h"
#include "TarvaneApplication.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <memory>

namespace {

// The copy's views on the world's data module, open as the copy window opens them.
struct Copier {
    CopyDataModule data;
    MineCopy copy;
    QList<int> steps;
    explicit Copier(World& w) : copy(data, w.dialogs)
    {
        data.setDatabase(&w.dm.TarvaneDatabase);
        if (!data.openViews())
            qFatal("the copy's views did not open");
        copy.stepBy = [this](int n) { steps << n; };
    }
    bool run(int mine) { return copy.run(mine); }
};

// Runs `act` on the first visible top-level widget of type T once it is up; gives up
// when `stop` is set (a window that should not come).
template <typename T>
void whenShown(std::function<void(T&)> act, std::shared_ptr<bool> seen, std::shared_ptr<bool> stop = {})
{
    QTimer::singleShot(0, [act, seen, stop] {
        if (stop && *stop)
            return;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) {
                *seen = true;
                act(*t);
                return;
            }
        whenShown<T>(act, seen, stop);
    });
}

QPushButton* button(QWidget& w, const char* name)
{
    return w.findChild<QPushButton*>(QString::fromLatin1(name));
}

// The main window with the controls of the data sets.
struct DataSetWindow : Window {
    QAction* action(const char* name) { return main().findChild<QAction*>(QString::fromLatin1(name)); }
    DBNavigator* navigator() { return main().findChild<DBNavigator*>(QStringLiteral("DBNavigator1")); }
    QString label() { return main().findChild<QLabel*>(QStringLiteral("DataSetLabel"))->text(); }
    qint64 mines(double code)
    {
        return data.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\" WHERE RevegYears = %1").arg(code));
    }
};

// Presses "Ok" on the copy window when it shows, then closes it.
void copyWhenShown(std::shared_ptr<bool> seen)
{
    whenShown<CopyBondDialog>(
        [](CopyBondDialog& f) {
            button(f, "OkBtn")->click();
            button(f, "CancelBtn")->click();
        },
        seen);
}

}  // namespace

class TestCopy : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void mineWithoutProjects();
    void relinking_data();
    void relinking();
    void keepsTextsDataSetAndFlags();
    void sameBond_data();
    void sameBond();
    void failedStage_data();
    void failedStage();
    void mainViewsSeeTheCopy();

    void copyWindow();
    void copyWindowUnavailable();
    void copyWindowAfterFailure();
    void copyWithoutMine();
    void tutorialDataSet();
    void exampleDataSet();
    void dataSetSwitchRefreshesThePage();
    void dataSetWithoutMaster();
    void eventLogWindow();
};

void TestCopy::mineWithoutProjects()
{
    World w;
    const int mine = w.addMine(QStringLiteral("Bare Mine"));
    Copier c(w);
    QVERIFY(c.run(mine));
    QCOMPARE(c.copy.workCount(), 1);
    QCOMPARE(c.copy.progressStep(), 100);
    QCOMPARE(c.steps, (QList<int>{100, 100}));
    QVERIFY(c.copy.newMineId() > mine);
    QCOMPARE(w.count(QStringLiteral("MINE.DB"), QStringLiteral("Applicant = 'Bare Mine'")), 2);
    QCOMPARE(w.count(QStringLiteral("PROJECT.DB"), QStringLiteral("MineID = %1").arg(c.copy.newMineId())), 0);
    QVERIFY(c.copy.log().isEmpty());
    QVERIFY(w.dialogs.shown.isEmpty());
}

void TestCopy::relinking_data()
{
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QList<int>>("kinds");
    // For each machine, the index of the machine its copy must name, -1 for none.
    QTest::addColumn<QList<int>>("links");
    QTest::addColumn<QStringList>("log");
    const QString found = QStringLiteral("Found Truck Loader/Excavator for: ");
    QTest::newRow("truck and loader") << "D" << QList<int>{8, 6} << QList<int>{1, 0} << QStringList{found + "Office"};
    QTest::newRow("excavator and truck, earthmoving")
        << "M" << QList<int>{4, 8} << QList<int>{1, 0} << QStringList{found + "Topsoil"};
    QTest::newRow("two loaders and one truck")
        << "D" << QList<int>{6, 8, 6} << QList<int>{-1, -1, -1}
        << QStringList{"Warning -- More than one loader and/or excavator for: Office"};
    QTest::newRow("two trucks and one loader")
        << "D" << QList<int>{8, 6, 8} << QList<int>{1, 2, 1} << QStringList{found + "Office", found + "Office"};
    QTest::newRow("truck without loader, revegetation")
        << "R" << QList<int>{8} << QList<int>{-1}
        << QStringList{"Error -- No Loader or excavator for truck for: Seeding"};
    QTest::newRow("push dozer and scraper")
        << "D" << QList<int>{7, 2} << QList<int>{-1, 0} << QStringList{"Found Pusher and Scraper for: Office"};
    QTest::newRow("push dozer without scraper")
        << "D" << QList<int>{2, 6} << QList<int>{-1, -1} << QStringList{"Error -- No Scraper for pusher for: Office"};
    QTest::newRow("two scrapers")
        << "M" << QList<int>{7, 2, 7} << QList<int>{-1, -1, -1}
        << QStringList{"Warning -- More than one Scraper for: Topsoil"};
    QTest::newRow("pushers before trucks")
        << "D" << QList<int>{8, 2, 6, 7} << QList<int>{2, 3, 0, -1}
        << QStringList{"Found Pusher and Scraper for: Office", found + "Office"};
}

void TestCopy::relinking()
{
    QFETCH(QString, sheet);
    QFETCH(QList<int>, kinds);
    QFETCH(QList<int>, links);
    QFETCH(QStringList, log);
    World w;
    const int mine = w.addMine(QStringLiteral("Linked Mine"));
    w.addProject(QStringLiteral("Pit"));
    Table* equipment = &w.dm.EquipDemoT;
    if (sheet == QLatin1String("D")) {
        w.addDemolition(QStringLiteral("Office"));
    } else if (sheet == QLatin1String("M")) {
        w.addSheet(w.dm.MatT, {{"Description", "Topsoil"}});
        equipment = &w.dm.EquipMatT;
    } else {
        w.addSheet(w.dm.RevegT, {{"Name", "Seeding"}});
        equipment = &w.dm.EquipRevegT;
    }
    QList<int> plans;
    for (int k : kinds)
        plans << w.addEquipment(*equipment, k, {{"LoadExcavRG", k == 4 ? 1 : 0}});
    Copier c(w);
    QVERIFY(c.run(mine));
    QCOMPARE(c.copy.log(), log);
    // The copies, in the order of their sources.
    const int newest = static_cast<int>(w.data.scalar(QStringLiteral("SELECT max(PlanID) FROM \"Equipment.DB\"")));
    QList<int> copies;
    for (int i = 0; i < plans.size(); ++i)
        copies << newest - static_cast<int>(plans.size()) + 1 + i;
    for (int i = 0; i < kinds.size(); ++i) {
        QCOMPARE(w.planField(copies[i], QStringLiteral("EquipCode2")).toInt(), kinds[i]);
        QCOMPARE(w.planField(copies[i], QStringLiteral("AddedEquipID")).toInt(), links[i] < 0 ? -1 : copies[links[i]]);
        QCOMPARE(w.planField(plans[i], QStringLiteral("AddedEquipID")).toInt(), -1);  // the source is not touched
    }
}

void TestCopy::keepsTextsDataSetAndFlags()
{
    World w;
    w.dm.DataSetCode = 4;
    w.dm.MineT.refresh();
    const int mine = w.addMine(QStringLiteral("Flag Mine"),
                               {{"RevegYears", 4.0}, {"Location", "Boone County"}, {"Memo", "Notes of the reviewer"},
                                {"Mob", 12500.0}, {"MobOver", true}, {"Contin1", 900.0}, {"ContinOver1", true},
                                {"Manage2", 40.0}, {"MangeOver2", true}, {"ENRIndexDate5", QDate(2019, 7, 1)}});
    w.addProject(QStringLiteral("Pit"));
    w.addSheet(w.dm.MatT, {{"Description", "Haul"}, {"Orgin", "Stockpile"}, {"HaulDist", 1200.5}});
    const int truck = w.addEquipment(w.dm.EquipMatT, 8,
                                     {{"NumTrucks", 3.0}, {"OverrideTruck", true}, {"UserEnteredHrs", true},
                                      {"UserHrs", 17.5}, {"Route", "North ramp"}, {"Act", "Haul to the pit"}});
    Copier c(w);
    QVERIFY(c.run(mine));
    const int copy = c.copy.newMineId();
    const QString same = QStringLiteral(
        "SELECT count(*) FROM \"MINE.DB\" a JOIN \"MINE.DB\" b ON a.MineID = %1 AND b.MineID = %2 WHERE "
        "a.Applicant IS b.Applicant AND a.PemitID IS b.PemitID AND a.Location IS b.Location AND a.Memo IS b.Memo AND "
        "a.\"Date\" IS b.\"Date\" AND a.ENRIndexDate5 IS b.ENRIndexDate5 AND a.RevegYears IS b.RevegYears AND "
        "a.Mob IS b.Mob AND a.MobOver IS b.MobOver AND a.ContinOver1 IS b.ContinOver1 AND a.MangeOver2 IS b.MangeOver2 "
        "AND a.ContinOver IS b.ContinOver");
    QCOMPARE(w.data.scalar(same.arg(mine).arg(copy)), 1);
    QCOMPARE(w.data.scalar(QStringLiteral("SELECT RevegYears FROM \"MINE.DB\" WHERE MineID = %1").arg(copy)), 4);
    QCOMPARE(w.data.scalar(QStringLiteral("SELECT MobOver + ContinOver1 + MangeOver2 FROM \"MINE.DB\" WHERE MineID = %1")
                               .arg(copy)),
             3);
    const int copiedTruck = static_cast<int>(w.data.scalar(QStringLiteral("SELECT max(PlanID) FROM \"Equipment.DB\"")));
    QVERIFY(copiedTruck != truck);
    for (const char* f : {"NumTrucks", "OverrideTruck", "UserEnteredHrs", "UserHrs", "Route", "Act", "EquipCode2"})
        QCOMPARE(w.planField(copiedTruck, QLatin1String(f)), w.planField(truck, QLatin1String(f)));
    QCOMPARE(w.data.scalar(QStringLiteral("SELECT count(*) FROM \"MATERIAL.DB\" m JOIN \"PROJECT.DB\" p ON m.PrjID = "
                                          "p.PrjID WHERE p.MineID = %1 AND m.CostType = 'M' AND m.HaulDist = 1200.5")
                               .arg(copy)),
             1);
}

void TestCopy::sameBond_data()
{
    QTest::addColumn<int>("mine");  // 0: a generated mine
    QTest::newRow("example mine") << 1;
    QTest::newRow("generated mine") << 0;
}

void TestCopy::sameBond()
{
    QFETCH(int, mine);
    World w;
    if (mine == 0)
        mine = generateMine(w.dm, 3, 4, 5, 11);  // one loader, truck, scraper and push dozer a worksheet
    const auto bondOf = [&](int id) {
        const double code =
            w.data.scalar(QStringLiteral("SELECT RevegYears FROM \"MINE.DB\" WHERE MineID = %1").arg(id));
        w.dm.DataSetCode = code;
        w.dm.MineT.refresh();
        if (!w.dm.MineT.locate({QStringLiteral("MineID")}, {id}))
            qFatal("mine %d not shown", id);
        w.comp.bond.CalcBondSummary(true);
        return w.comp.bond.items();
    };
    const BondItems before = bondOf(mine);
    const QString children = QStringLiteral("PrjID IN (SELECT PrjID FROM \"PROJECT.DB\" WHERE MineID = %1)").arg(mine);
    QVERIFY(before.item[34] != Money());
    Copier c(w);
    {
        const SuspendedCalculations suspended(w.dm);
        QVERIFY(c.run(mine));
    }
    const BondItems after = bondOf(c.copy.newMineId());
    qint64 work = 1 + w.count(QStringLiteral("PROJECT.DB"), QStringLiteral("MineID = %1").arg(mine));
    for (const char* t : {"DEMOL.DB", "MATERIAL.DB", "REVEG.DB", "OTHERREC.DB"})
        work += w.count(QLatin1String(t), children);
    for (int i = 1; i <= 34; ++i)
        QVERIFY2(after.item[i] == before.item[i], qPrintable(QStringLiteral("item %1").arg(i)));
    QCOMPARE(after.item14, before.item14);
    const QString machines = QStringLiteral(
        "SELECT count(*) FROM \"Equipment.DB\" e JOIN (SELECT 'D' AS t, SheetID, PrjID FROM \"DEMOL.DB\" UNION ALL "
        "SELECT 'M', SheetID, PrjID FROM \"MATERIAL.DB\" UNION ALL SELECT 'R', SheetID, PrjID FROM \"REVEG.DB\") s ON "
        "e.CostType = s.t AND e.SheetID = s.SheetID JOIN \"PROJECT.DB\" p ON s.PrjID = p.PrjID WHERE p.MineID = %1");
    QVERIFY(w.data.scalar(machines.arg(mine)) > 0);
    QCOMPARE(w.data.scalar(machines.arg(c.copy.newMineId())), w.data.scalar(machines.arg(mine)));
    work += w.data.scalar(machines.arg(mine));
    QCOMPARE(c.copy.workCount(), static_cast<int>(work));
    QCOMPARE(c.copy.progressStep(), static_cast<int>(100 / work));
}

void TestCopy::failedStage_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("demolitionCopied");
    QTest::addColumn<int>("equipmentCopied");
    // The second demolition item lost its required name, or its last machine has a name too long for its field.
    QTest::newRow("demolition item") << "UPDATE \"DEMOL.DB\" SET Item = NULL WHERE Item = 'Garage'"
                                     << "Could NOT copy Demol data!" << 1 << 1;
    QTest::newRow("equipment record")
        << "UPDATE \"Equipment.DB\" SET Name = substr(printf('%0100d', 0), 1, 80) WHERE PlanID = (SELECT max(PlanID) FROM \"Equipment.DB\")"
        << "Could NOT copy EquipDemo data!" << 2 << 2;
}

void TestCopy::failedStage()
{
    QFETCH(QString, damage);
    QFETCH(QString, message);
    QFETCH(int, demolitionCopied);
    QFETCH(int, equipmentCopied);
    World w;
    const int mine = w.addMine(QStringLiteral("Broken Mine"));
    w.addProject(QStringLiteral("Pit"));
    w.addDemolition(QStringLiteral("Office"));
    w.addEquipment(w.dm.EquipDemoT, 6, {});
    w.addDemolition(QStringLiteral("Garage"));
    w.addEquipment(w.dm.EquipDemoT, 8, {});
    w.addEquipment(w.dm.EquipDemoT, 0, {});
    w.data.sql(damage);
    Copier c(w);
    QVERIFY(!c.run(mine));
    QCOMPARE(w.dialogs.texts(), QStringList{message});
    QCOMPARE(w.dialogs.shown.first().type, MsgType::Error);
    QVERIFY(!c.data.views().DemolTT.isEditing());
    QVERIFY(!c.data.views().EquipDemoTT.isEditing());
    // What was posted before the failure is in the file, as another connection reads it.
    const int copy = c.copy.newMineId();
    QCOMPARE(w.count(QStringLiteral("MINE.DB"), QStringLiteral("MineID = %1").arg(copy)), 1);
    const QString sheets = QStringLiteral("PrjID IN (SELECT PrjID FROM \"PROJECT.DB\" WHERE MineID = %1)").arg(copy);
    QCOMPARE(w.count(QStringLiteral("DEMOL.DB"), sheets), demolitionCopied);
    const QString machines =
        QStringLiteral("CostType = 'D' AND SheetID IN (SELECT SheetID FROM \"DEMOL.DB\" WHERE %1)").arg(sheets);
    QCOMPARE(w.count(QStringLiteral("Equipment.DB"), machines), equipmentCopied);
    // Relinking did not run: the copied loader is not linked to the truck.
    QVERIFY(c.copy.log().isEmpty());
    QCOMPARE(w.count(QStringLiteral("Equipment.DB"), machines + QStringLiteral(" AND AddedEquipID <> -1")), 0);
}

void TestCopy::mainViewsSeeTheCopy()
{
    World w;
    const int mine = w.addMine(QStringLiteral("Seen Mine"));
    w.addProject(QStringLiteral("Pit"));
    QCOMPARE(w.dm.MineT.recordCount(), 1);
    Copier c(w);
    QVERIFY(c.run(mine));
    // No refresh: the main views notice the copy's writes at their next read.
    QCOMPARE(w.dm.MineT.recordCount(), 2);
    w.dm.MineT.last();
    QCOMPARE(w.dm.MineT.fieldByName(QStringLiteral("MineID")).asInteger(), c.copy.newMineId());
    QCOMPARE(w.dm.ProjectT.fieldByName(QStringLiteral("ProjectName")).asString(), QStringLiteral("Pit"));
    QCOMPARE(w.dm.ProjectT.recordCount(), 1);
}

// ---------------------------------------------------------------- windows

void TestCopy::copyWindow()
{
    DataSetWindow w;
    w.dm().DataSetCode = 1;  // the example master mine
    w.dm().MineT.refresh();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("copylog"));
    auto seen = std::make_shared<bool>(false);
    bool calcDuring = true;
    QStringList logShown;
    whenShown<CopyBondDialog>(
        [&](CopyBondDialog& f) {
            calcDuring = w.dm().CalcEnabled;
            QCOMPARE(f.windowTitle(), QStringLiteral("Make Copy of Bond for a Mine --"));
            QVERIFY(f.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->isReadOnly());
            QCOMPARE(f.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->toPlainText().split(QLatin1Char('\n')),
                     (QStringList{"This routine will copy the selected mine and all of its parts to a new record.  ", "",
                                  "Before pressing the \"OK\" button on this form be sure you have selected ",
                                  "the mine you want copied.", "",
                                  "This will not copy the relationships between push dozer and scraper or ",
                                  "between truck and loader or excavator!"}));
            QCOMPARE(f.property("helpContext").toInt(), 59);
            QVERIFY(button(f, "OkBtn")->isEnabled());
            QCOMPARE(button(f, "CancelBtn")->text(), QStringLiteral("Cancel"));
            QCOMPARE(f.height(), 239);
            QVERIFY(!f.logShown());
            button(f, "DetailsBtn")->click();
            QCOMPARE(f.height(), 472);
            QVERIFY(f.logShown());
            QCOMPARE(button(f, "DetailsBtn")->text(), QStringLiteral("No Details"));
            button(f, "OkBtn")->click();
            QVERIFY(!button(f, "OkBtn")->isEnabled());
            QCOMPARE(button(f, "CancelBtn")->text(), QStringLiteral("Close"));
            QVERIFY(button(f, "CancelBtn")->isEnabled());
            QCOMPARE(f.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"))->value(), 100);
            auto* list = f.findChild<QListWidget*>(QStringLiteral("LogListBox"));
            for (int i = 0; i < list->count(); ++i)
                logShown << list->item(i)->text();
            // Write To File: the save dialog, then the program's question before creating the file.
            auto dialogSeen = std::make_shared<bool>(false);
            whenShown<QFileDialog>(
                [&](QFileDialog& d) {
                    QCOMPARE(d.nameFilters(), QStringList{QStringLiteral("Text File (*.txt)")});
                    QCOMPARE(d.defaultSuffix(), QStringLiteral("txt"));
                    QCOMPARE(d.acceptMode(), QFileDialog::AcceptSave);
                    QCOMPARE(QDir(d.directory()).absolutePath(), QDir::home().absolutePath());
                    d.setDirectory(dir.path());
                    d.selectFile(file);
                    QMetaObject::invokeMethod(&d, "accept", Qt::QueuedConnection);
                },
                dialogSeen);
            w.dialogs.answers = {MsgResult::Yes};
            f.WriteToFileBtnClick();
            QVERIFY(*dialogSeen);
            QCOMPARE(w.dialogs.texts().last(),
                     QDir::toNativeSeparators(file + QStringLiteral(".txt")) +
                         QStringLiteral(" does not exist.\nDo you want to create it?"));
            const QString written = file + QStringLiteral(".txt");
            const auto content = [&] {
                QFile in(written);
                return in.open(QIODevice::ReadOnly) ? QString::fromUtf8(in.readAll()) : QString();
            };
            QCOMPARE(content(), logShown.join(QLatin1Char('\n')) + QLatin1Char('\n'));
            // The same file again: the question before replacing it, answered No, keeps it.
            {
                QFile mark(written);
                QVERIFY(mark.open(QIODevice::WriteOnly));
                mark.write("kept");
            }
            auto againSeen = std::make_shared<bool>(false);
            whenShown<QFileDialog>(
                [&](QFileDialog& d) {
                    d.setDirectory(dir.path());
                    d.selectFile(written);
                    QMetaObject::invokeMethod(&d, "accept", Qt::QueuedConnection);
                },
                againSeen);
            w.dialogs.answers = {MsgResult::No};
            f.WriteToFileBtnClick();
            QVERIFY(*againSeen);
            QCOMPARE(w.dialogs.texts().last(),
                     QDir::toNativeSeparators(written) + QStringLiteral(" already exists.\nDo you want to replace it?"));
            QCOMPARE(content(), QStringLiteral("kept"));
            // The save dialog's activation is no new one: the copy stays done.
            QVERIFY(!button(f, "OkBtn")->isEnabled());
            button(f, "DetailsBtn")->click();
            QCOMPARE(f.height(), 239);
            QCOMPARE(button(f, "DetailsBtn")->text(), QStringLiteral("Copy Log Details"));
            button(f, "CancelBtn")->click();
        },
        seen);
    w.action("CopyRecord1")->trigger();
    QVERIFY(*seen);
    QVERIFY(!calcDuring);
    QVERIFY(w.dm().CalcEnabled);
    QVERIFY(!w.ctx.Copy1Form->isVisible());
    QCOMPARE(w.ctx.Copy1Form->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"))->value(), 0);
    QVERIFY(!w.ctx.CopyDataForm->views().MineTT.active());
    QCOMPARE(logShown, (QStringList{"Found Pusher and Scraper for: Replace Topsoil from Stockpile",
                                    "Found Pusher and Scraper for: Replace Topsoil from Stockpile",
                                    "Found Truck Loader/Excavator for: Haul Spoil to Highwall Area",
                                    "Found Truck Loader/Excavator for: Remove Sediment Pond Embankments"}));
    // The main window shows the copy in the list of mines.
    QCOMPARE(w.dm().MineT.recordCount(), 2);
    QCOMPARE(w.main().findChild<QListWidget*>(QStringLiteral("ApplicantList"))->count(), 2);
}

void TestCopy::copyWindowUnavailable()
{
    ScriptedDialogs dialogs;
    CopyBondDialog f(dialogs);
    CopyDataModule noDatabase;
    f.setCopyData(&noDatabase);
    f.show();
    QVERIFY(!button(f, "OkBtn")->isEnabled());
    QCOMPARE(button(f, "CancelBtn")->text(), QStringLiteral("Close"));
    f.reject();
    QVERIFY(dialogs.shown.isEmpty());  // nothing is reported
}

void TestCopy::copyWindowAfterFailure()
{
    DataSetWindow w;
    w.dm().DataSetCode = 2;  // the tutorial master mine, whose earthmoving item lost its required name
    w.dm().MineT.refresh();
    w.data.sql(QStringLiteral("UPDATE \"MATERIAL.DB\" SET Description = NULL WHERE PrjID IN (SELECT PrjID FROM "
                              "\"PROJECT.DB\" WHERE MineID = 2)"));
    auto seen = std::make_shared<bool>(false);
    whenShown<CopyBondDialog>(
        [&](CopyBondDialog& f) {
            button(f, "OkBtn")->click();
            QCOMPARE(w.dialogs.texts(), QStringList{QStringLiteral("Could NOT copy Mat data!")});
            QVERIFY(!button(f, "OkBtn")->isEnabled());
            QCOMPARE(button(f, "CancelBtn")->text(), QStringLiteral("Close"));
            QVERIFY(button(f, "CancelBtn")->isEnabled());
            QVERIFY(f.copyLog().isEmpty());
            button(f, "CancelBtn")->click();
        },
        seen);
    w.action("CopyRecord1")->trigger();
    QVERIFY(*seen);
    QCOMPARE(w.dm().MineT.recordCount(), 2);  // the partial copy shows, to be deleted like any mine
    QVERIFY(w.dm().CalcEnabled);
}

void TestCopy::copyWithoutMine()
{
    DataSetWindow w;  // the user's data set holds no mine
    QStringList items;
    for (QAction* a : w.main().findChild<QMenu*>(QStringLiteral("File1"))->actions())
        items << a->text();
    QStringList letters;
    for (const QString& item : items) {
        const qsizetype at = item.indexOf(QLatin1Char('&'));
        QVERIFY2(at >= 0 && at + 1 < item.size(), qPrintable(item));  // each with a mnemonic
        letters << item.mid(at + 1, 1).toLower();
    }
    QCOMPARE(QSet<QString>(letters.begin(), letters.end()).size(), letters.size());  // of its own
    for (QString& item : items)
        item.remove(QLatin1Char('&'));
    QCOMPARE(items, (QStringList{"Copy Record", "Print", "Export to Spreadsheet...", "Back Up Data...", "Import Mine from Data File...",
                                 "Use Tutorial Data Set", "Use Full Example Data Set", "Use Users Data", "Exit"}));
    w.action("CopyRecord1")->trigger();
    QCOMPARE(w.dialogs.texts(), QStringList{QStringLiteral("No records to copy!  Enter a record first!")});
    QVERIFY(!w.ctx.Copy1Form->isVisible());
}

void TestCopy::tutorialDataSet()
{
    DataSetWindow w;
    QVERIFY(w.action("UseUsersData1")->isChecked());
    // The user's own mine is current when the switch starts: the master is found all the same.
    Table& mines = w.dm().MineT;
    mines.insert();
    mines.fieldByName(QStringLiteral("Applicant")).setAsString(QStringLiteral("Own Mine"));
    mines.fieldByName(QStringLiteral("PemitID")).setAsString(QStringLiteral("OWN-1"));
    mines.fieldByName(QStringLiteral("Date")).setAsDate(QDate(2024, 7, 1));
    mines.fieldByName(QStringLiteral("PreparedBy")).setAsString(QStringLiteral("Reviewer"));
    mines.fieldByName(QStringLiteral("ENRIndex")).setAsFloat(13600.0);
    mines.fieldByName(QStringLiteral("ENRIndexDate")).setAsDate(QDate(2024, 7, 1));
    mines.fieldByName(QStringLiteral("AutoFeeCal")).setAsInteger(1);
    mines.post();
    QVERIFY(!mines.isEmpty());
    auto seen = std::make_shared<bool>(false);
    copyWhenShown(seen);
    w.action("UseTutorialDataSet1")->trigger();
    QVERIFY(*seen);
    QVERIFY(w.action("UseTutorialDataSet1")->isChecked());
    QVERIFY(!w.action("UseUsersData1")->isChecked());
    QCOMPARE(w.label(), QStringLiteral("Tutorial Data"));
    QCOMPARE(w.dm().DataSetCode, 4.0);
    QCOMPARE(w.dm().MineT.recordCount(), 1);
    QCOMPARE(w.mines(4), 1);
    QCOMPARE(w.mines(2), 1);  // the master stays
    QVERIFY(w.dm().MineT.fieldByName(QStringLiteral("MineID")).asInteger() > 2);
    QVERIFY(!w.action("CopyRecord1")->isEnabled());
    QVERIFY(!w.navigator()->visibleButtons().contains(DBNavigator::Insert));
    QCOMPARE(w.navigator()->visibleButtons().size(), 9);
    QCOMPARE(w.data.scalar(QStringLiteral("SELECT count(*) FROM \"EventLog.db\" WHERE Event IN ('Before Edit', 'After Edit')")), 2);

    // A change to the working copy, then the user's data and back: no copy window, the change kept.
    w.dm().MineT.edit();
    w.dm().MineT.fieldByName(QStringLiteral("Location")).setAsString(QStringLiteral("Changed by the user"));
    w.dm().MineT.post();
    w.action("UseUsersData1")->trigger();
    QCOMPARE(w.label(), QString());
    QCOMPARE(w.dm().DataSetCode, 5.0);
    QCOMPARE(w.dm().MineT.recordCount(), 1);
    QCOMPARE(w.dm().MineT.fieldByName(QStringLiteral("Applicant")).asString(), QStringLiteral("Own Mine"));
    QVERIFY(w.action("CopyRecord1")->isEnabled());
    QCOMPARE(w.navigator()->visibleButtons().size(), 10);
    auto again = std::make_shared<bool>(false);
    auto stop = std::make_shared<bool>(false);
    whenShown<CopyBondDialog>([](CopyBondDialog& f) { f.reject(); }, again, stop);
    w.action("UseTutorialDataSet1")->trigger();
    *stop = true;
    QVERIFY(!*again);
    QCOMPARE(w.mines(4), 1);
    QCOMPARE(w.dm().MineT.recordCount(), 1);
    QCOMPARE(w.dm().MineT.fieldByName(QStringLiteral("Location")).asString(), QStringLiteral("Changed by the user"));
}

void TestCopy::exampleDataSet()
{
    DataSetWindow w;
    auto seen = std::make_shared<bool>(false);
    copyWhenShown(seen);
    w.action("UseFullExampleDataSet1")->trigger();
    QVERIFY(*seen);
    QCOMPARE(w.label(), QStringLiteral("Example Data"));
    QCOMPARE(w.dm().MineT.recordCount(), 1);
    QCOMPARE(w.mines(3), 1);
    QCOMPARE(w.mines(1), 1);
    // The working copy has the master's projects.
    QCOMPARE(w.dm().ProjectT.recordCount(),
             w.data.scalar(QStringLiteral("SELECT count(*) FROM \"PROJECT.DB\" WHERE MineID = 1")));
}

// A switch of data set recomputes what the page in view shows for the project now shown:
// the earthmoving total and the state of its equipment button, also on the way back.
void TestCopy::dataSetSwitchRefreshesThePage()
{
    DataSetWindow w;
    auto tutorialCopied = std::make_shared<bool>(false);
    copyWhenShown(tutorialCopied);
    w.action("UseTutorialDataSet1")->trigger();
    QVERIFY(*tutorialCopied);
    QVERIFY(w.main().MainOvcNotebook()->setCurrentIndex(1));
    w.main().projectSideBar()->clickItem(2);
    QCOMPARE(w.main().ProjCostOvcNotebook()->currentIndex(), 2);
    auto* total = w.find<QLineEdit>(QStringLiteral("TotalMatCostEdit"));
    auto* button = w.find<QPushButton>(QStringLiteral("MaterialsEquipBtn"));
    const auto pageIsCurrent = [&] {
        return total->text() == formatMoney(w.ctx.Computations->totals.TotalMatCost()) &&
               button->isEnabled() == (w.dm().MatT.active() && !w.dm().MatT.isEmpty());
    };
    QVERIFY(pageIsCurrent());
    const QString tutorial = total->text();

    auto exampleCopied = std::make_shared<bool>(false);
    copyWhenShown(exampleCopied);
    w.action("UseFullExampleDataSet1")->trigger();
    QVERIFY(*exampleCopied);
    QCOMPARE(w.main().ProjCostOvcNotebook()->currentIndex(), 2);
    QVERIFY2(total->text() != tutorial, qPrintable(total->text()));
    QVERIFY(pageIsCurrent());

    w.action("UseTutorialDataSet1")->trigger();
    QCOMPARE(total->text(), tutorial);
    QVERIFY(pageIsCurrent());
    w.action("UseUsersData1")->trigger();
    QVERIFY(w.dm().MineT.isEmpty());
    QVERIFY(pageIsCurrent());
    QVERIFY(!button->isEnabled());
}

void TestCopy::dataSetWithoutMaster()
{
    DataSetWindow w;
    w.data.sql(QStringLiteral("DELETE FROM \"MINE.DB\" WHERE RevegYears = 2"));
    w.action("UseTutorialDataSet1")->trigger();
    QCOMPARE(w.dialogs.texts(), QStringList{QStringLiteral("No records to copy!  Enter a record first!")});
    QCOMPARE(w.dm().DataSetCode, 4.0);
    QVERIFY(w.dm().MineT.isEmpty());
    QCOMPARE(w.label(), QStringLiteral("Tutorial Data"));
}

void TestCopy::eventLogWindow()
{
    DataSetWindow w;
    w.data.sql(QStringLiteral("INSERT INTO \"EventLog.db\" (Event, MineName, Time) VALUES "
                              "('Insert', 'Older Mine', '2024-01-02T08:00:00'), ('Delete', 'Newer Mine', '2024-03-04T09:30:00')"));
    auto seen = std::make_shared<bool>(false);
    QPointer<EventLogWindow> shown;
    whenShown<EventLogWindow>(
        [&](EventLogWindow& f) {
            shown = &f;
            QCOMPARE(f.windowTitle(), QStringLiteral("Mine Event Log"));
            QCOMPARE(f.navigator()->visibleButtons(),
                     (QList<DBNavigator::Button>{DBNavigator::First, DBNavigator::Prior, DBNavigator::Next,
                                                 DBNavigator::Last, DBNavigator::Refresh}));
            DataSetModel* m = f.grid()->dataSetModel();
            QCOMPARE(m->columnCount(), 3);
            QCOMPARE(m->fieldAt(0)->fieldName(), QStringLiteral("MineName"));
            QCOMPARE(m->fieldAt(1)->fieldName(), QStringLiteral("Time"));
            QCOMPARE(m->fieldAt(2)->fieldName(), QStringLiteral("Event"));
            const int rows = m->rowCount();
            QCOMPARE(rows, static_cast<int>(w.data.scalar(QStringLiteral("SELECT count(*) FROM \"EventLog.db\""))));
            QCOMPARE(m->data(m->index(rows - 2, 0)).toString(), QStringLiteral("Older Mine"));
            QCOMPARE(m->data(m->index(rows - 1, 2)).toString(), QStringLiteral("Delete"));
            // Read-only: no cell offers editing, and a write is refused.
            QVERIFY(!(m->flags(m->index(rows - 1, 0)) & Qt::ItemIsEditable));
            QVERIFY(!m->setData(m->index(rows - 1, 0), QStringLiteral("Other")));
            f.grid()->edit(m->index(rows - 1, 0));
            QVERIFY(!w.dm().EventLogT.isEditing());
            f.close();
        },
        seen);
    w.action("EventLog1")->trigger();
    QVERIFY(*seen);
    QVERIFY(shown.isNull());  // freed on close
    QCOMPARE(w.data.scalar(QStringLiteral("SELECT count(*) FROM \"EventLog.db\" WHERE MineName = 'Older Mine'")), 1);
}

int main(int argc, char** argv)
{
    TarvaneApplication app(argc, argv);
    TestCopy t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_copy.moc"
