// The worksheet equipment list and the cost wizard, offscreen, on a real data file.
#include "HelpRecorder.h"
#include "ComputationFixture.h"
#include "EquipmentListWindow.h"
#include "CostWizard.h"
#include "ReportSelectionDialog.h"
#include "TruckCalculatorWindow.h"
#include "TruckCostChart.h"
#include <QLineSeries>
#include <QScatterSeries>
#include <QCategoryAxis>
#include <QValueAxis>
#include "PictureEdit.h"
#include "WindowSettings.h"
#include <QRadioButton>
#include <QSpinBox>
#include <cmath>

#include <QAction>
#include <QGroupBox>
#include <QTemporaryDir>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QCheckBox>
#include <QLineEdit>
#include <QMimeData>
#include <QDropEvent>
#include <QListWidget>
#include "DBControls.h"
#include "DBNavigator.h"
#include "SideBar.h"
#include "LayoutCheck.h"
#include <QStackedWidget>
#include <QComboBox>
#include <QScreen>

namespace {

struct ListWindow : World {
    int sheet = 0;
    std::unique_ptr<EquipmentListWindow> list;
    ListWindow()
    {
        addMine(QStringLiteral("Wizard Mine"));
        addProject(QStringLiteral("Pit"));
        addSheet(dm.MatT, {{"Description", "Replace Topsoil"}});
        sheet = dm.MatT.fieldByName(QStringLiteral("SheetID")).asInteger();
        list = std::make_unique<EquipmentListWindow>(dm, comp, dialogs);
        list->setDataSet(&dm.EquipMatT);
        list->SetCostType = QStringLiteral("M");
        list->SetSheetID = sheet;
        list->NameActivity = QStringLiteral("Equipment for Materials Handling");
    }
    CostWizard& wiz() { return list->wizard(); }
    // Runs `script` inside the wizard's modal run that `action` starts.
    void withWizard(const std::function<void()>& action, const std::function<void(CostWizard&)>& script)
    {
        QTimer::singleShot(0, [this, script] {
            script(wiz());
            if (wiz().isVisible())
                wiz().close();
        });
        action();
    }
    Field& f(const char* name) { return dm.EquipMatT.fieldByName(QLatin1String(name)); }
};

// Labor and equipment as the handbook and the labor rates offer them first.
void toWorksheet(CostWizard& w)
{
    QCOMPARE(w.step(), 1);
    w.RightBtnClick();  // labor is in the database
    QCOMPARE(w.step(), 2);
    w.RightBtnClick();  // the laborer selected
    QCOMPARE(w.step(), 0);
    w.RightBtnClick();  // equipment is in the database
    QCOMPARE(w.step(), 3);
    w.RightBtnClick();  // the model selected
    QCOMPARE(w.step(), 4);
}

void setAll(DataSet& ds, const QVariantMap& values)
{
    for (auto it = values.begin(); it != values.end(); ++it)
        ds.fieldByName(it.key()).setValue(it.value());
}

const QVariantMap kLoaderInputs{{"BuckCap", 5.0}, {"BuckFact", 90.0}, {"HaulT", 1.5}, {"ReturnT", 0.5}, {"CycleT", 0.5},
                          {"EffFact", 1.0}, {"Volume", 900.0}};
const QVariantMap kTruckInputs{{"TruckCap", 20.0}, {"HaulT", 12.0}, {"DumpT", 3.0}, {"ReturnT", 5.0}, {"EffFact", 1.0},
                         {"Volume", 1200.0}};

}  // namespace

class TestEquipWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        // Placements and column widths go to a settings store of this run only.
        static QTemporaryDir settings;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    }
    void loaderThenTruck();
    void pushDozerTakesFirstScraper();
    void cancelKeepsWhatWasPosted();
    void editModeNoTwiceAndLaborChange();
    void finishRefusedWithoutHours_data();
    void finishRefusedWithoutHours();
    void listRefusals();
    void deletingALoaderTakesItsTruck();
    void volumeDropAndTruckOverride();
    void printPostsAndPrintsTheRow();
    void oneBoxPerProblem_data();
    void oneBoxPerProblem();
    void orphanSelectedEditedDeleted_data();
    void orphanSelectedEditedDeleted();
    void truckCalculatorChecks_data();
    void truckCalculatorChecks();
    void truckCalculatorFullCalculation();
    void truckCalculatorLayoutAndMenu();
    void truckCalculatorCostChart_data();
    void truckCalculatorCostChart();
    void sideBarEnterOpensOneWizard_data();
    void sideBarEnterOpensOneWizard();
    void wizardKeys_data();
    void wizardKeys();
    void listKeepsItsRowAndTellsRowsApart();
    void partnerPickersNameUnroutedRows();
    void layoutFitsTexts_data();
    void layoutFitsTexts();
};

void TestEquipWindows::loaderThenTruck()
{
    ListWindow w;
    w.list->show();
    QCOMPARE(w.list->factorStatus(), QStringLiteral("No Equipment factors entered!"));
    w.withWizard([&] { w.list->AddEquipment(EquipKind::kLoader); }, [&](CostWizard& wiz) {
        QCOMPARE(wiz.findChild<QLabel*>(QStringLiteral("ModeLabel"))->text(), QStringLiteral("Insert Mode"));
        QVERIFY(!wiz.printAction()->isEnabled());
        toWorksheet(wiz);
        setAll(w.dm.EquipMatT, kLoaderInputs);
        wiz.RightBtnClick();  // finish
        QCOMPARE(wiz.step(), 5);
    });
    const int loader = w.f("PlanID").asInteger();
    QCOMPARE(w.f("EquipmentName").asString(), w.dm.HCompanyQ.fieldByName(QStringLiteral("Name")).asString() +
                                                   QStringLiteral(", ") +
                                                   w.dm.HEquipQ.fieldByName(QStringLiteral("Type")).asString() +
                                                   QStringLiteral(" -- ") +
                                                   w.dm.HCostQ.fieldByName(QStringLiteral("Model")).asString());
    QCOMPARE(w.f("OperatCost").asFloat(), w.dm.HCostQ.fieldByName(QStringLiteral("HourlyCost")).asFloat());
    QCOMPARE(w.f("LaborCost").asFloat(), w.dm.LaborCostT.fieldByName(QStringLiteral("HourlyCosst")).asFloat());
    QVERIFY(w.f("Char").asString().contains(QStringLiteral("Total Hourly Cost:  ")));
    QCOMPARE(w.f("HrsReq").asFloat(), 9.0);
    w.list->FormActivate();
    QCOMPARE(w.list->factorStatus(), QStringLiteral("Equipment factors entered!"));

    // The truck links to the free loader when its page opens, and the finish links the loader back.
    w.withWizard([&] { w.list->AddEquipment(EquipKind::kTruck); }, [&](CostWizard& wiz) {
        QCOMPARE(w.f("AddedEquipID").asInteger(), loader);
        toWorksheet(wiz);
        setAll(w.dm.EquipMatT, kTruckInputs);
        wiz.RightBtnClick();
    });
    const int truck = w.f("PlanID").asInteger();
    QCOMPARE(w.planField(loader, QStringLiteral("AddedEquipID")), QVariant(qint64(truck)));
    QCOMPARE(w.planField(truck, QStringLiteral("AddedEquipID")), QVariant(qint64(loader)));
    // Matched: the truck's 12 unit hours against the loader's 9.
    QCOMPARE(w.planField(loader, QStringLiteral("AddHours")), QVariant(qint64(3)));
    QCOMPARE(w.planField(truck, QStringLiteral("AddHours")), QVariant(qint64(0)));
    QCOMPARE(w.dm.EquipMatT.recordCount(), 2);
    // The worksheet's total is the sum of the rows' costs the list shows.
    double shown = 0;
    for (w.dm.EquipMatT.first(); !w.dm.EquipMatT.eof(); w.dm.EquipMatT.next())
        shown += w.f("TotalCost").asFloat();
    QVERIFY(shown > 0);
    QCOMPARE(w.comp.totals.TotalMatCost(), shown);
    QVERIFY(w.dialogs.shown.isEmpty());
}

void TestEquipWindows::pushDozerTakesFirstScraper()
{
    ListWindow w;
    const int scraper = w.addEquipment(w.dm.EquipMatT, 7, {{"Route", "Scraper A"}});
    w.addEquipment(w.dm.EquipMatT, 7, {{"Route", "Scraper B"}});
    w.withWizard([&] { w.list->AddEquipment(EquipKind::kPushDozer); }, [&](CostWizard& wiz) {
        QCOMPARE(wiz.pickedScraper(), scraper);
        wiz.CancelBtnClick();  // at the labor question
    });
    QCOMPARE(w.f("EquipCode2").asInteger(), 2);
    QCOMPARE(w.f("AddedEquipID").asInteger(), scraper);
    QCOMPARE(w.f("PusherFactor").asFloat(), 1.5);
    QCOMPARE(w.f("PusherItemIndex").asInteger(), 0);
    QCOMPARE(w.f("EquipmentName").asString(), QStringLiteral("No Equipment factors entered"));
}

void TestEquipWindows::cancelKeepsWhatWasPosted()
{
    ListWindow w;
    w.withWizard([&] { w.list->AddEquipment(EquipKind::kDozer); }, [&](CostWizard& wiz) { wiz.CancelBtnClick(); });
    QCOMPARE(w.f("EquipmentName").asString(), QStringLiteral("No Equipment factors entered"));
    QVERIFY(w.f("OperatCost").isNull());
    w.list->FormActivate();
    QCOMPARE(w.list->factorStatus(), QStringLiteral("Error(s) in Equipment factors entered!"));

    w.withWizard([&] { w.list->AddEquipment(EquipKind::kDozer); }, [&](CostWizard& wiz) {
        toWorksheet(wiz);
        w.f("HourProd").setAsFloat(400);  // typed on the page, then cancelled
        wiz.CancelBtnClick();
    });
    QVERIFY(!w.f("OperatCost").isNull());
    QVERIFY(w.f("EquipmentName").asString() != QStringLiteral("No Equipment factors entered"));
    QVERIFY(w.f("Char").asString().contains(QStringLiteral("Equipment Hourly Cost:  ")));
    QVERIFY(w.f("HourProd").isNull());
}

void TestEquipWindows::editModeNoTwiceAndLaborChange()
{
    ListWindow w;
    w.addEquipment(w.dm.EquipMatT, EquipKind::kLoader, kLoaderInputs);
    w.dm.EquipMatT.edit();
    w.f("LaborCost").setAsFloat(10.0);
    w.dm.EquipMatT.post();
    w.withWizard([&] { w.list->EditLaborBtnClick(); }, [&](CostWizard& wiz) {
        QCOMPARE(wiz.step(), 6);
        wiz.RightBtnClick();  // No: labor stays
        QCOMPARE(wiz.step(), 7);
        wiz.RightBtnClick();  // No: equipment stays; finish
    });
    QCOMPARE(w.f("LaborCost").asFloat(), 10.0);
    w.dm.LaborCostT.last();
    const double rate = w.dm.LaborCostT.fieldByName(QStringLiteral("HourlyCosst")).asFloat();
    w.withWizard([&] { w.list->EditLaborBtnClick(); }, [&](CostWizard& wiz) {
        wiz.LeftBtnClick();  // Yes: change labor
        QCOMPARE(wiz.step(), 1);
        wiz.RightBtnClick();
        wiz.RightBtnClick();  // the laborer chosen: posted at once
        QCOMPARE(wiz.step(), 7);
        wiz.CancelBtnClick();
    });
    QCOMPARE(w.dialogs.texts().last(), QStringLiteral("Labor cost has been changed."));
    QCOMPARE(w.f("LaborCost").asFloat(), rate);  // survives the cancel
}

void TestEquipWindows::finishRefusedWithoutHours_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVariantMap>("values");
    QTest::addColumn<bool>("finishes");
    QTest::newRow("dozer without inputs") << 0 << QVariantMap{} << false;
    QTest::newRow("user hours 0") << 9 << QVariantMap{{"HrsReg", 0.0}} << false;
    QTest::newRow("user hours 0.00005") << 9 << QVariantMap{{"HrsReg", 0.00005}} << true;
}

void TestEquipWindows::finishRefusedWithoutHours()
{
    QFETCH(int, kind);
    QFETCH(QVariantMap, values);
    QFETCH(bool, finishes);
    ListWindow w;
    int stepAfter = -1;
    w.withWizard([&] { w.list->AddEquipment(kind); }, [&](CostWizard& wiz) {
        toWorksheet(wiz);
        setAll(w.dm.EquipMatT, values);
        wiz.RightBtnClick();
        stepAfter = wiz.step();
    });
    QCOMPARE(stepAfter, finishes ? 5 : 4);
    if (!finishes) {
        QCOMPARE(w.dialogs.shown.last().type, MsgType::Warning);
        QCOMPARE(w.dialogs.texts().last(), QStringLiteral("Hours require for this equipment is less than 0.0001\n"
                                                          "You will need to re-enter the equipment information!"));
    }
}

void TestEquipWindows::listRefusals()
{
    ListWindow w;
    w.list->EditLaborBtnClick();
    w.list->ViewWorksheetBtnClick();
    w.list->DeleteBtnClick();
    w.list->AddEquipment(EquipKind::kPushDozer);
    w.list->AddEquipment(EquipKind::kTruck);
    QCOMPARE(w.dialogs.texts(),
             QStringList({QStringLiteral("Must Add Equipment before you\n can edit a piece of equipment."),
                          QStringLiteral("Must Add Equipment before you\n can view a worksheet of equipment."),
                          QStringLiteral("Must Add Equipment before you\n can delete a piece of equipment."),
                          QStringLiteral("Must enter a scraper before\nentering data for a push dozer.\nOr scraper that "
                                         "is already entered\nis assigned to a push dozer"),
                          QStringLiteral("Must enter a Excavator or Loader \nbefore entering data for a Truck.\nOr "
                                         "Excavator or Loader that is already\nentered is already assigned to a Truck.")}));
    QCOMPARE(w.dm.EquipMatT.recordCount(), 0);  // nothing written
    // The navigator only moves: a row it inserted would have no kind.
    const auto* nav = w.list->findChild<DBNavigator*>(QStringLiteral("EquipNavigator"));
    QVERIFY(nav);
    for (DBNavigator::Button b : {DBNavigator::Insert, DBNavigator::Delete, DBNavigator::Edit, DBNavigator::Post})
        QVERIFY(!nav->visibleButtons().contains(b));
}

void TestEquipWindows::deletingALoaderTakesItsTruck()
{
    ListWindow w;
    const int loader = w.addEquipment(w.dm.EquipMatT, EquipKind::kLoader, kLoaderInputs);
    const int truck = w.addEquipment(w.dm.EquipMatT, EquipKind::kTruck, {{"AddedEquipID", loader}});
    w.dm.EquipMatT.locate({QStringLiteral("PlanID")}, {loader});
    w.dm.EquipMatT.edit();
    w.f("AddedEquipID").setAsInteger(truck);
    w.dm.EquipMatT.post();
    w.dialogs.answers = {MsgResult::Yes};
    w.list->DeleteBtnClick();
    QCOMPARE(w.dialogs.shown.last().text, QStringLiteral("Do you want to delete: \nLoader"));
    QCOMPARE(w.dm.EquipMatT.recordCount(), 0);
    QCOMPARE(w.list->factorStatus(), QStringLiteral("No Equipment factors entered!"));
}

void TestEquipWindows::volumeDropAndTruckOverride()
{
    ListWindow w;
    const int loader = w.addEquipment(w.dm.EquipMatT, EquipKind::kLoader, kLoaderInputs);
    w.addEquipment(w.dm.EquipMatT, EquipKind::kTruck, {{"AddedEquipID", loader}});
    w.withWizard([&] { w.list->ViewWorksheetBtnClick(); }, [&](CostWizard& wiz) {
        QCOMPARE(wiz.step(), 9);
        auto* volume = wiz.findChild<QLineEdit*>(QStringLiteral("VolumeEdit8"));
        QMimeData data;
        data.setData(CostWizard::volumeMimeType(), QByteArray("1234.5"));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(volume, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(volume, &drop);
        QCOMPARE(w.f("Volume").asFloat(), 1234.5);
        QCOMPARE(w.dm.EquipMatT.state(), DataSetState::Browse);  // posted at once
        auto* computed = wiz.findChild<QLineEdit*>(QStringLiteral("NumberOfTrucksResult8"));
        auto* own = wiz.findChild<QLineEdit*>(QStringLiteral("NumTrucksEdit"));
        QVERIFY(!computed->isHidden());
        QVERIFY(own->isHidden());
        wiz.findChild<QCheckBox*>(QStringLiteral("OverrideTruckBox"))->click();
        QVERIFY(computed->isHidden());
        QVERIFY(!own->isHidden());
        wiz.RightBtnClick();  // finished
    });
    QCOMPARE(w.planField(loader, QStringLiteral("AddedEquipID")), QVariant(qint64(w.f("PlanID").asInteger())));
    QVERIFY(w.f("OverrideTruck").asBoolean());
}

void TestEquipWindows::printPostsAndPrintsTheRow()
{
    ListWindow w;
    const int loader = w.addEquipment(w.dm.EquipMatT, EquipKind::kLoader, kLoaderInputs);
    w.addEquipment(w.dm.EquipMatT, EquipKind::kTruck, {{"AddedEquipID", loader}});
    const int truck = w.f("PlanID").asInteger();
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("truck.txt"));
    bool printed = false, choicesEnabled = true;
    w.withWizard([&] { w.list->ViewWorksheetBtnClick(); }, [&](CostWizard& wiz) {
        QVERIFY(wiz.printAction()->isEnabled());
        w.dm.EquipMatT.edit();
        w.f("Volume").setAsFloat(2400.0);  // not yet posted when "&Print" is chosen
        QTimer::singleShot(0, [&] {
            auto* form = qobject_cast<ReportSelectionDialog*>(QApplication::activeModalWidget());
            if (!form)
                return;
            auto* label = form->findChild<QLabel*>(QStringLiteral("ReportForLabel"));
            if (!QTest::qWaitFor([label] { return !label->text().isEmpty(); }, 5000)) {
                form->close();  // never activated: the checks below fail
                return;
            }
            choicesEnabled = form->findChild<QGroupBox*>(QStringLiteral("ReportRG"))->isEnabled();
            printed = form->print({ReportDestination::Text, text});
            form->close();
        });
        wiz.printAction()->trigger();
    });
    QVERIFY(printed);
    QVERIFY(!choicesEnabled);
    QCOMPARE(w.planField(truck, QStringLiteral("Volume")).toDouble(), 2400.0);
    QFile f(text);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString report = QString::fromUtf8(f.readAll());
    QVERIFY(report.contains(QStringLiteral("Worksheet 9, ")));
    QVERIFY(!report.contains(QStringLiteral("Worksheet 8, ")));  // only the truck's own worksheet
    QVERIFY(report.contains(QStringLiteral("2,400")));
}

namespace {

// Plays the window system for the list: a box takes the window's activation while
// it stands and gives it back when it closes, which the event loop delivers later.
void boxesReactivate(ListWindow& w)
{
    w.dialogs.whileShown = [&w](const ScriptedDialogs::Shown&) {
        QEvent off(QEvent::WindowDeactivate);
        QApplication::sendEvent(w.list.get(), &off);
        if (w.dialogs.shown.size() < 8)  // enough to show a loop, few enough to end one
            QCoreApplication::postEvent(w.list.get(), new QEvent(QEvent::WindowActivate));
    };
}

void settle()
{
    for (int i = 0; i < 12; ++i)
        QCoreApplication::processEvents();
}

int shownStartingWith(const ScriptedDialogs& d, const QString& start)
{
    int n = 0;
    for (const QString& t : d.texts())
        n += t.startsWith(start) ? 1 : 0;
    return n;
}

const QString kTruckError = QStringLiteral("Error in Loader or Excavator data.  Fix, then re-enter truck!");
const QString kPusherError = QStringLiteral("Error with pusher dozer.  Can NOT find scraper!");

// A truck loaded by a loader without a bucket; or a push dozer whose scraper was deleted.
void addOrphan(ListWindow& w, int kind)
{
    if (kind == EquipKind::kTruck) {
        const int loader = w.addEquipment(w.dm.EquipMatT, EquipKind::kLoader, {});
        w.addEquipment(w.dm.EquipMatT, EquipKind::kTruck, {{"AddedEquipID", loader}});
    } else {
        const int scraper = w.addEquipment(w.dm.EquipMatT, EquipKind::kScraper, {});
        w.addEquipment(w.dm.EquipMatT, EquipKind::kPushDozer, {{"AddedEquipID", scraper}});
        w.dm.EquipMatT.locate({QStringLiteral("PlanID")}, {scraper});
        w.dm.EquipMatT.remove();
        w.dm.EquipMatT.last();
    }
}

}  // namespace

void TestEquipWindows::oneBoxPerProblem_data()
{
    QTest::addColumn<QString>("problem");
    QTest::addColumn<QString>("message");
    QTest::newRow("truck whose loader has no bucket") << "truck" << kTruckError;
    QTest::newRow("push dozer whose scraper is gone") << "pusher" << kPusherError;
    QTest::newRow("post refused while the list opens") << "locked" << "database is locked";
}

// Each box gives the list its activation back; the list's set-up does not run
// again for it, and a row's error shows once for the user's action.
void TestEquipWindows::oneBoxPerProblem()
{
    QFETCH(QString, problem);
    QFETCH(QString, message);
    ListWindow w;
    sqlite3* locker = nullptr;
    if (problem == QLatin1String("truck") || problem == QLatin1String("pusher")) {
        addOrphan(w, problem == QLatin1String("truck") ? EquipKind::kTruck : EquipKind::kPushDozer);
    } else {
        w.addEquipment(w.dm.EquipMatT, EquipKind::kUserDefined, {{"HrsReg", 4.0}});
        w.dm.EquipMatT.edit();
        w.f("Descriptions").setAsString(QStringLiteral("typed before the list opened"));
        // Another process writes to the data file and holds its lock.
        QVERIFY(sqlite3_open(w.data.dataFile().toUtf8().constData(), &locker) == SQLITE_OK);
        QVERIFY(sqlite3_exec(locker, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK);
    }
    w.dialogs.shown.clear();
    w.dialogs.userActed();  // the user opens the list
    boxesReactivate(w);
    w.list->show();
    settle();
    if (locker) {
        sqlite3_exec(locker, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(locker);
    }
    w.dialogs.whileShown = nullptr;
    int boxes = 0;
    for (const QString& t : w.dialogs.texts())
        boxes += t.contains(message) ? 1 : 0;
    QVERIFY2(boxes == 1, qPrintable(w.dialogs.texts().join(QStringLiteral(" | "))));
    QCOMPARE(w.dialogs.shown.size(), 1);
    if (locker) {  // what was typed is still there, and posts once the lock is gone
        QVERIFY(w.dm.EquipMatT.isEditing());
        w.dm.EquipMatT.post();
        QCOMPARE(w.count(QStringLiteral("Equipment.DB"), QStringLiteral("PlanID = %1 AND Descriptions = 'typed before the list opened'")
                                                            .arg(w.f("PlanID").asInteger())),
                 1);
    }
}

void TestEquipWindows::orphanSelectedEditedDeleted_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("truck") << int(EquipKind::kTruck) << kTruckError;
    QTest::newRow("push dozer") << int(EquipKind::kPushDozer) << kPusherError;
}

// A row whose hours cannot be computed is picked, opened in the wizard and deleted
// with at most one box for it per action, whatever re-reads the row.
void TestEquipWindows::orphanSelectedEditedDeleted()
{
    QFETCH(int, kind);
    QFETCH(QString, message);
    ListWindow w;
    addOrphan(w, kind);
    const int orphan = w.f("PlanID").asInteger();
    boxesReactivate(w);
    w.list->show();
    settle();

    // Picked from the search list after standing on the other row.
    auto* pick = w.list->findChild<DBPickList*>(QStringLiteral("EquipmentList"));
    w.dm.EquipMatT.locate({QStringLiteral("PlanID")}, {orphan});
    const Bookmark mark = w.dm.EquipMatT.bookmark();
    w.dm.EquipMatT.first();
    w.dialogs.shown.clear();
    w.dialogs.userActed();
    QListWidgetItem* item = nullptr;
    for (int i = 0; i < pick->count(); ++i)
        if (pick->item(i)->data(Qt::UserRole).toLongLong() == mark)
            item = pick->item(i);
    QVERIFY(item);
    emit pick->itemClicked(item);
    settle();
    QCOMPARE(w.f("PlanID").asInteger(), orphan);
    QVERIFY(shownStartingWith(w.dialogs, message) <= 1);

    // Opened for editing, and left.
    w.dialogs.shown.clear();
    w.dialogs.userActed();
    w.withWizard([&] { w.list->EditLaborBtnClick(); }, [&](CostWizard& wiz) {
        QCOMPARE(wiz.step(), 6);
        wiz.CancelBtnClick();
    });
    settle();
    QVERIFY2(shownStartingWith(w.dialogs, message) <= 1, qPrintable(w.dialogs.texts().join(QStringLiteral(" | "))));

    // Deleted.
    w.dialogs.shown.clear();
    w.dialogs.userActed();
    w.dm.EquipMatT.locate({QStringLiteral("PlanID")}, {orphan});
    w.dialogs.answers = {MsgResult::Yes};
    w.list->DeleteBtnClick();
    settle();
    QCOMPARE(w.count(QStringLiteral("Equipment.DB"), QStringLiteral("PlanID = %1").arg(orphan)), 0);
    QVERIFY(shownStartingWith(w.dialogs, message) <= 1);
    w.dialogs.whileShown = nullptr;
}

// ---------------------------------------------------------------- truck calculator

namespace {

// The window on the example inputs: an excavator with a 3-unit payload and a
// half-minute cycle, 20-unit trucks on a 20-minute cycle, 2 trucks.
struct TruckWindow : World {
    TruckCalculatorWindow form{dialogs};
    TruckWindow()
    {
        form.setData(&dm, &comp.rules);
        form.findChild<QRadioButton*>(QStringLiteral("ExcavatorRB"))->setChecked(true);
        for (auto [name, text] : {std::pair{"VolumeF", "3,312"}, {"LoExCycleTimeF", "0.5"}, {"LoExHeapedBucketF", "3"},
                                  {"LoExFillFactorF", "1"}, {"TruckCapF", "20"}, {"TruckHaulTimeF", "10"},
                                  {"TruckReturnTimeF", "5"}, {"TruckDumpTimeF", "2"}})
            edit(name)->setText(QLatin1String(text));
        trucks()->setValue(2);
        form.show();
    }
    QLineEdit* edit(const char* name) { return form.findChild<QLineEdit*>(QLatin1String(name)); }
    QSpinBox* trucks() { return form.findChild<QSpinBox*>(QStringLiteral("NumTrucksF")); }
    static bool red(QWidget* w) { return w->palette().color(QPalette::Base) == QColor(Qt::red); }
    QChartView* chart() { return form.findChild<QChartView*>(QStringLiteral("TruckCostChart")); }
    QXYSeries* series(const char* name)
    {
        for (QAbstractSeries* s : chart()->chart()->series())
            if (s->objectName() == QLatin1String(name))
                return qobject_cast<QXYSeries*>(s);
        return nullptr;
    }
    // Runs `inEditor` inside the modal editor that `open` shows, then closes the editor.
    static void inEditor(const std::function<void()>& open, const std::function<void()>& script)
    {
        QTimer::singleShot(0, [script] {
            QWidget* editor = QApplication::activeModalWidget();
            QVERIFY(editor);
            script();
            editor->close();
        });
        open();
    }
};

const QStringList kCheckedFields{"LoHaulTimeF",       "LoReturnTimeF",   "LoExCycleTimeF", "LoExHeapedBucketF",
                                 "LoExFillFactorF",   "TruckCapF",       "NumTrucksF"};

}  // namespace

void TestEquipWindows::truckCalculatorChecks_data()
{
    const QString one = QStringLiteral("The value of the item shown in red must be greater than zero.\nChange the value "
                                       "of this item and try to calculate again");
    QTest::addColumn<bool>("loader");
    QTest::addColumn<QString>("field");  // set to the text below before calculating
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("red");  // the first has the focus
    QTest::newRow("loader times zero")
        << true << "LoExCycleTimeF" << "0"
        << QStringLiteral("The sum of these 3 items shown in red must be greater than zero.\nChange the values of these "
                          "items and try to calculate again")
        << QStringList{"LoHaulTimeF", "LoReturnTimeF", "LoExCycleTimeF"};
    QTest::newRow("excavator cycle zero") << false << "LoExCycleTimeF" << "" << one << QStringList{"LoExCycleTimeF"};
    QTest::newRow("no fill")
        << false << "LoExFillFactorF" << "0"
        << QStringLiteral("The values of both the items shown in red must be greater than zero.\nChange the values of "
                          "these items and try to calculate again")
        << QStringList{"LoExHeapedBucketF", "LoExFillFactorF"};
    QTest::newRow("truck below one payload") << false << "TruckCapF" << "2.5" << one << QStringList{"TruckCapF"};
    QTest::newRow("no trucks") << false << "NumTrucksF" << "" << one << QStringList{"NumTrucksF"};
    QTest::newRow("zero trucks") << false << "NumTrucksF" << "0" << one << QStringList{"NumTrucksF"};
}

void TestEquipWindows::truckCalculatorChecks()
{
    QFETCH(bool, loader);
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(QStringList, red);
    TruckWindow w;
    w.form.findChild<QLineEdit*>(QStringLiteral("LTCF"))->setText(QStringLiteral("$10.00"));
    w.form.CalculateBtnClick();
    const QString total = w.edit("TotalCostF")->text();
    const QString optimal = w.edit("OptimalTrucksF")->text();
    QVERIFY(!total.isEmpty() && !optimal.isEmpty());
    QVERIFY(w.dialogs.shown.isEmpty());
    QVERIFY(w.chart()->isVisible());

    if (loader) {
        w.form.findChild<QRadioButton*>(QStringLiteral("LoaderRB"))->setChecked(true);
        w.edit("LoHaulTimeF")->setText(QStringLiteral("0"));
        w.edit("LoReturnTimeF")->clear();
    }
    if (field == QLatin1String("NumTrucksF"))
        w.trucks()->findChild<QLineEdit*>()->setText(text);
    else
        w.edit(field.toLatin1().constData())->setText(text);
    w.form.CalculateBtnClick();
    QCOMPARE(w.dialogs.texts(), QStringList{message});
    QCOMPARE(w.dialogs.shown.first().type, MsgType::Error);
    for (const QString& name : kCheckedFields)
        QVERIFY2(TruckWindow::red(w.form.findChild<QWidget*>(name)) == red.contains(name), qPrintable(name));
    QWidget* focus = w.form.focusWidget();
    QVERIFY(focus);
    QWidget* expected = w.form.findChild<QWidget*>(red.first());
    QVERIFY2(focus == expected || expected->isAncestorOf(focus), qPrintable(focus->objectName()));
    // The results of the earlier calculation stay; the cost curve goes with refused inputs,
    // and stays when only the number of trucks was refused.
    QCOMPARE(w.edit("TotalCostF")->text(), total);
    QCOMPARE(w.edit("OptimalTrucksF")->text(), optimal);
    const bool trucksOnly = red == QStringList{"NumTrucksF"};
    QCOMPARE(w.chart()->isVisible(), trucksOnly);
    QCOMPARE(w.series("CostCurve")->count() > 0, trucksOnly);
    QCOMPARE(w.series("OptimumMark")->count(), trucksOnly ? 1 : 0);
    QCOMPARE(w.series("EnteredMark")->count(), trucksOnly ? 1 : 0);

    // A refused number of trucks leaves the red of this attempt as it is.
    if (!red.contains(QStringLiteral("NumTrucksF"))) {
        const int count = w.trucks()->value();
        w.trucks()->findChild<QLineEdit*>()->clear();
        w.form.CalculateBtnClick();
        QCOMPARE(w.dialogs.shown.size(), 2);
        for (const QString& name : kCheckedFields)
            QVERIFY2(TruckWindow::red(w.form.findChild<QWidget*>(name)) ==
                         (red.contains(name) || name == QLatin1String("NumTrucksF")),
                     qPrintable(name));
        w.trucks()->setValue(count);
    }
    const qsizetype boxes = w.dialogs.shown.size();
    // The next calculation, on good inputs, clears the red.
    w.form.findChild<QRadioButton*>(QStringLiteral("ExcavatorRB"))->setChecked(true);
    for (auto [name, good] : {std::pair{"LoExCycleTimeF", "0.5"}, {"LoExFillFactorF", "1"}, {"TruckCapF", "20"}})
        w.edit(name)->setText(QLatin1String(good));
    w.trucks()->setValue(3);
    w.form.CalculateBtnClick();
    QCOMPARE(w.dialogs.shown.size(), boxes);
    for (const QString& name : kCheckedFields)
        QVERIFY2(!TruckWindow::red(w.form.findChild<QWidget*>(name)), qPrintable(name));
}

void TestEquipWindows::truckCalculatorFullCalculation()
{
    TruckWindow w;
    // The costs: the labor record and the equipment model left current in the editors.
    double truckLabor = 0, truckEquip = 0, loaderLabor = 0, loaderEquip = 0;
    TruckWindow::inEditor([&] { w.form.LaborTruckBtnClick(); }, [&] {
        w.dm.LaborCostT.last();
        truckLabor = w.dm.LaborCostT.fieldByName(QStringLiteral("HourlyCosst")).asFloat();
    });
    TruckWindow::inEditor([&] { w.form.EquipTruckBtnClick(); }, [&] {
        w.dm.HCostT.last();
        truckEquip = w.dm.HCostT.fieldByName(QStringLiteral("HourlyCost")).asFloat();
    });
    QVERIFY(!w.dm.HCostT.active());  // the editor closed the handbook: the mirror kept the cost
    TruckWindow::inEditor([&] { w.form.LaborLoaderBtnClick(); }, [&] {
        w.dm.LaborCostT.first();
        loaderLabor = w.dm.LaborCostT.fieldByName(QStringLiteral("HourlyCosst")).asFloat();
    });
    TruckWindow::inEditor([&] { w.form.EquipLoaderBtnClick(); }, [&] {
        w.dm.HCostT.first();
        loaderEquip = w.dm.HCostT.fieldByName(QStringLiteral("HourlyCost")).asFloat();
    });
    QVERIFY(truckLabor > 0 && truckEquip > 0 && loaderLabor > 0 && loaderEquip > 0);
    QVERIFY(truckEquip != loaderEquip);
    const Picture money(QStringLiteral("$##,###.##"));
    QCOMPARE(w.edit("LTCF")->text(), money.format(truckLabor));
    QCOMPARE(w.edit("ETCF")->text(), money.format(truckEquip));
    QCOMPARE(w.edit("LLCF")->text(), money.format(loaderLabor));
    QCOMPARE(w.edit("ELCF")->text(), money.format(loaderEquip));
    auto cents = [](double v) { return std::round(v * 100) / 100; };  // what the money fields hold

    w.form.CalculateBtnClick();
    QVERIFY(w.dialogs.shown.isEmpty());
    // 2 trucks haul 99.36 an hour: 33 1/3 hours, longer than the excavator's 10.
    const double hours = 3312 / 99.36;
    const double truck = cents(truckLabor) + cents(truckEquip), loader = cents(loaderLabor) + cents(loaderEquip);
    const Picture total(QStringLiteral("$###,###,###,###.##"));
    QCOMPARE(w.edit("TotalCostF")->text(), total.format(truck * 2 * hours + loader * hours));
    // From n trucks: the hauling takes 66 2/3 ÷ n hours until it is quicker than the excavator's 10.
    auto cost = [&](int n) { const double h = std::max(10.0, 3312 / (0.92 * n * 18 / 20 * 60)); return truck * n * h + loader * h; };
    int best = 1;
    while (best < 998 && !(cost(best + 1) > cost(best)))
        ++best;
    QCOMPARE(w.edit("OptimalTrucksF")->text(), QString::number(best));
    QCOMPARE(w.edit("OptimalCostF")->text(), total.format(cost(best)));
    QVERIFY(w.edit("OptimalTrucksF")->isVisible());
    QCOMPARE(w.edit("OptimalTrucksF")->palette().color(QPalette::Base), QColor(Qt::yellow));
    QCOMPARE(w.edit("OptimalCostF")->palette().color(QPalette::Base), QColor(Qt::yellow));
    QCOMPARE(w.edit("TotalCostF")->toolTip(), QStringLiteral("Cost from user entered number of trucks"));
    QCOMPARE(w.edit("OptimalCostF")->toolTip(), QStringLiteral("Cost from program calculated number of trucks"));
    // Beside the chart the fields of steps 3 and 4 keep the width of the most their pictures hold.
    QVERIFY(w.chart()->isVisible());
    for (const char* name : {"LoExCycleTimeF", "LoExHeapedBucketF", "TruckCapF", "TruckDumpTimeF"}) {
        QLineEdit* e = w.edit(name);
        QVERIFY2(e->width() >= e->fontMetrics().horizontalAdvance(QStringLiteral("000,000,000,000,000.0")),
                 qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(name)).arg(e->width())));
    }

    // A zero volume gives a zero cost: the optimal number and its cost are hidden and not searched.
    w.edit("VolumeF")->clear();
    w.form.CalculateBtnClick();
    QCOMPARE(w.edit("TotalCostF")->text(), total.format(0));
    QVERIFY(!w.edit("OptimalTrucksF")->isVisible());
    QVERIFY(!w.edit("OptimalCostF")->isVisible());
    QVERIFY(w.edit("OptimalCostF")->text().isEmpty());
    QVERIFY(!w.chart()->isVisible());
    QCOMPARE(w.series("CostCurve")->count(), 0);
    // The next calculation with a volume shows them again.
    w.edit("VolumeF")->setText(QStringLiteral("3312"));
    w.form.CalculateBtnClick();
    QVERIFY(w.edit("OptimalCostF")->isVisible());
    QCOMPARE(w.edit("OptimalCostF")->text(), total.format(cost(best)));
}

void TestEquipWindows::truckCalculatorLayoutAndMenu()
{
    TruckWindow w;
    auto* group = w.form.findChild<QGroupBox*>(QStringLiteral("LoExGroup"));
    QCOMPARE(group->title(), QStringLiteral("3. Enter excavator data:"));
    QVERIFY(!w.edit("LoHaulTimeF")->isVisible() && !w.edit("LoReturnTimeF")->isVisible());
    w.form.findChild<QRadioButton*>(QStringLiteral("LoaderRB"))->setChecked(true);
    QCOMPARE(group->title(), QStringLiteral("3. Enter loader data:"));
    QVERIFY(w.edit("LoHaulTimeF")->isVisible() && w.edit("LoReturnTimeF")->isVisible());
    w.form.close();
    w.form.show();
    QCOMPARE(group->title(), QStringLiteral("3. Enter loader data:"));
    // The efficiency factors: two groups of four, the first selected.
    for (const char* name : {"LoExEffRG", "TruckEffRG"}) {
        const auto buttons = w.form.findChild<QGroupBox*>(QLatin1String(name))->findChildren<QRadioButton*>();
        QStringList captions;
        for (QRadioButton* b : buttons)
            captions << b->text();
        QCOMPARE(captions, (QStringList{".92", ".83", ".75", ".67"}));
        QVERIFY(buttons.first()->isChecked());
    }
    w.form.findChild<QGroupBox*>(QStringLiteral("TruckEffRG"))->findChildren<QRadioButton*>()[2]->setChecked(true);
    QCOMPARE(w.form.inputs().truckEff, 0.75);
    QCOMPARE(w.form.inputs().loaderEff, 0.92);

    QCOMPARE(w.form.property("helpContext").toInt(), 19);
    int about = 0;
    HelpRecorder help;
    w.form.showAbout = [&](QWidget*) { ++about; };
    w.form.findChild<QAction*>(QStringLiteral("HelpThisForm1"))->trigger();
    w.form.findChild<QAction*>(QStringLiteral("About1"))->trigger();
    QCOMPARE(help.contexts(), QList<int>{19});
    QCOMPARE(about, 1);

    // The placement is kept under the window's class and given to the next instance.
    const QSize size = w.form.sizeHint() + QSize(60, 40);
    w.form.resize(size);
    w.form.findChild<QAction*>(QStringLiteral("Close1"))->trigger();
    QVERIFY(!w.form.isVisible());
    QVERIFY(!WindowSettings::value(QStringLiteral("TTruckCalForm"), QStringLiteral("Placement")).toByteArray().isEmpty());
    TruckCalculatorWindow again(w.dialogs);
    // The kept size, as far as the screen's free area takes it.
    const QSize room = again.screen()->availableGeometry().size() - WindowSettings::kFrame;
    QCOMPARE(again.size(), size.boundedTo(room).expandedTo(again.minimumSize()));
}

void TestEquipWindows::truckCalculatorCostChart_data()
{
    QTest::addColumn<bool>("loader");
    QTest::addColumn<int>("trucks");
    QTest::addColumn<QString>("truckCost");  // labor per truck hour; the loader's is $50.00
    QTest::newRow("excavator, fewer than the cheapest") << false << 2 << "$10.00";
    QTest::newRow("excavator, far past the cheapest") << false << 40 << "$10.00";
    QTest::newRow("loader, dear trucks") << true << 1 << "$95.00";
    QTest::newRow("excavator, cheap trucks") << false << 6 << "$0.50";
}

void TestEquipWindows::truckCalculatorCostChart()
{
    QFETCH(bool, loader);
    QFETCH(int, trucks);
    QFETCH(QString, truckCost);
    TruckWindow w;
    QVERIFY(w.chart());
    QVERIFY(!w.chart()->isVisible());  // nothing calculated yet
    if (loader) {
        w.form.findChild<QRadioButton*>(QStringLiteral("LoaderRB"))->setChecked(true);
        w.edit("LoHaulTimeF")->setText(QStringLiteral("0.2"));
        w.edit("LoReturnTimeF")->setText(QStringLiteral("0.2"));
    }
    w.edit("LTCF")->setText(truckCost);
    w.edit("LLCF")->setText(QStringLiteral("$50.00"));
    w.trucks()->setValue(trucks);
    w.form.CalculateBtnClick();
    QVERIFY(w.dialogs.shown.isEmpty());
    QVERIFY(w.chart()->isVisible());

    const TruckInputs in = w.form.inputs();
    const int optimal = OptimalTruckCount(in);
    QCOMPARE(w.edit("OptimalTrucksF")->text(), QString::number(optimal));
    // From one truck to half as far again past the cheapest (at least three), reaching the entered count.
    const int last = std::max(std::min(998, optimal + std::max(3, optimal / 2)), trucks);
    const QList<QPointF> points = w.series("CostCurve")->points();
    QCOMPARE(points.size(), last);
    for (int n = 1; n <= last; ++n) {
        QCOMPARE(points[n - 1].x(), double(n));
        QCOMPARE(points[n - 1].y(), TotalCostForTrucks(in, n));
    }
    QCOMPARE(w.series("OptimumMark")->points(), (QList<QPointF>{{double(optimal), TotalCostForTrucks(in, optimal)}}));
    QCOMPARE(w.series("EnteredMark")->points(), (QList<QPointF>{{double(trucks), TotalCostForTrucks(in, trucks)}}));
    QVERIFY(w.series("OptimumMark")->name().contains(QStringLiteral("Optimum: %1").arg(optimal)));
    QVERIFY(w.series("EnteredMark")->name().contains(QStringLiteral("Entered: %1").arg(trucks)));

    // The axes: trucks across, money up.
    QChart* chart = w.chart()->chart();
    QCOMPARE(chart->axes(Qt::Horizontal).first()->titleText(), QStringLiteral("Number of trucks"));
    auto* cost = qobject_cast<QCategoryAxis*>(chart->axes(Qt::Vertical).first());
    QVERIFY(cost);
    QCOMPARE(cost->titleText(), QStringLiteral("Total cost"));
    QVERIFY(cost->count() >= 2);
    for (const QString& label : cost->categoriesLabels())
        QVERIFY2(label.startsWith(QLatin1Char('$')), qPrintable(label));
    QVERIFY(cost->min() <= TotalCostForTrucks(in, optimal) && cost->max() >= points[0].y());

    // The window with its chart still fits a 1024 × 768 screen.
    QVERIFY2(w.form.sizeHint().width() <= 1000 && w.form.sizeHint().height() <= 720,
             qPrintable(QStringLiteral("%1 x %2").arg(w.form.sizeHint().width()).arg(w.form.sizeHint().height())));
}

QTEST_MAIN(TestEquipWindows)
// Enter, Return or Space on a kind of the side bar adds one row and opens one wizard;
// the wizard closed, no other button of the list takes the key.
void TestEquipWindows::sideBarEnterOpensOneWizard_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("return") << int(Qt::Key_Return);
    QTest::newRow("enter") << int(Qt::Key_Enter);
    QTest::newRow("space") << int(Qt::Key_Space);
}

void TestEquipWindows::sideBarEnterOpensOneWizard()
{
    QFETCH(int, key);
    ListWindow w;
    w.addEquipment(w.dm.EquipMatT, EquipKind::kLoader, {{"Route", "Old loader"}});
    w.list->show();
    auto* bar = w.list->findChild<SideBar*>(QStringLiteral("AddEquipmentBar"));
    QVERIFY(bar);
    bar->setFocus();
    bar->setCurrentItem(bar->topLevelItem(0)->child(EquipKind::kDozer));
    QList<int> modes;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (w.wiz().isVisible()) {
            modes << w.wiz().mode;
            w.wiz().CancelBtnClick();
        }
    });
    closer.start(0);
    QTest::keyClick(bar, static_cast<Qt::Key>(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QTest::qWait(20);
    closer.stop();
    QCOMPARE(modes, QList<int>{CostWizard::Insert});
    QCOMPARE(w.dm.EquipMatT.recordCount(), 2);
    QCOMPARE(w.f("EquipCode2").asInteger(), int(EquipKind::kDozer));
}

// Keys of the wizard at each step: Enter presses the right-hand button, Escape cancels.
// "Refresh Data on this form!" shows at the model choice only.
void TestEquipWindows::wizardKeys_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("rightClicks");  // steps walked before the key
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("stepBefore");
    QTest::addColumn<int>("stepAfter");
    QTest::addColumn<bool>("closed");
    const int ins = CostWizard::Insert, edit = CostWizard::Edit, view = CostWizard::ViewEdit;
    const int ret = Qt::Key_Return, esc = Qt::Key_Escape;
    QTest::newRow("insert labor question, Enter") << ins << 0 << ret << 1 << 2 << false;
    QTest::newRow("insert select laborer, Enter") << ins << 1 << ret << 2 << 0 << false;
    QTest::newRow("insert equipment question, Enter") << ins << 2 << ret << 0 << 3 << false;
    QTest::newRow("insert select equipment, Enter") << ins << 3 << ret << 3 << 4 << false;
    QTest::newRow("insert worksheet, Enter finishes") << ins << 4 << ret << 4 << 5 << true;
    QTest::newRow("insert labor question, Escape") << ins << 0 << esc << 1 << 1 << true;
    QTest::newRow("insert select equipment, Escape") << ins << 3 << esc << 3 << 3 << true;
    QTest::newRow("insert worksheet, Escape") << ins << 4 << esc << 4 << 4 << true;
    QTest::newRow("edit labor change, Enter") << edit << 0 << ret << 6 << 7 << false;
    QTest::newRow("edit equipment change, Enter finishes") << edit << 1 << ret << 7 << 5 << true;
    QTest::newRow("edit labor change, Escape") << edit << 0 << esc << 6 << 6 << true;
    QTest::newRow("view, Enter finishes") << view << 0 << ret << 9 << 5 << true;
}

void TestEquipWindows::wizardKeys()
{
    QFETCH(int, mode);
    QFETCH(int, rightClicks);
    QFETCH(int, key);
    QFETCH(int, stepBefore);
    QFETCH(int, stepAfter);
    QFETCH(bool, closed);
    ListWindow w;
    w.list->show();
    if (mode != CostWizard::Insert) {
        w.addEquipment(w.dm.EquipMatT, EquipKind::kLoader, kLoaderInputs);
        w.list->FormActivate();
    }
    bool stillOpen = false;
    w.withWizard(
        [&] {
            if (mode == CostWizard::Insert)
                w.list->AddEquipment(EquipKind::kLoader);
            else if (mode == CostWizard::Edit)
                w.list->EditLaborBtnClick();
            else
                w.list->ViewWorksheetBtnClick();
        },
        [&](CostWizard& wiz) {
            for (int i = 0; i < rightClicks; ++i)
                wiz.RightBtnClick();
            QCOMPARE(wiz.step(), stepBefore);
            auto* refresh = wiz.findChild<QPushButton*>(QStringLiteral("RefreshDataBtn"));
            QCOMPARE(refresh->isVisible(), stepBefore == 3);
            QWidget* target = &wiz;
            if (stepBefore == 4 || stepBefore == 9) {
                if (stepBefore == 4)
                    setAll(w.dm.EquipMatT, kLoaderInputs);  // the view already has them
                target = wiz.findChild<QLineEdit*>(QStringLiteral("VolumeEdit%1").arg(EquipKind::kLoader));
            } else if (QWidget* focus = wiz.focusWidget()) {
                target = focus;
            }
            QVERIFY(target);
            QTest::keyClick(target, static_cast<Qt::Key>(key));
            QCOMPARE(wiz.step(), stepAfter);
            stillOpen = wiz.isVisible();
        });
    QCOMPARE(!stillOpen, closed);
    QVERIFY2(w.dialogs.shown.isEmpty(), qPrintable(w.dialogs.texts().join(QLatin1Char('|'))));
}

// Back from the wizard or another window the list stays on the row the user chose; its
// search list tells rows of the same machine apart by their kind and route.
void TestEquipWindows::listKeepsItsRowAndTellsRowsApart()
{
    ListWindow w;
    const int first = w.addEquipment(w.dm.EquipMatT, EquipKind::kLoader,
                                      {{"EquipmentName", "CAT, Loader -- 950"}, {"Route", "Pit to plant"}});
    w.addEquipment(w.dm.EquipMatT, EquipKind::kExcavator, {{"EquipmentName", "CAT, Loader -- 950"}});
    const int last = w.addEquipment(w.dm.EquipMatT, EquipKind::kDozer, {{"EquipmentName", "CAT, Dozer -- D6"}});
    w.list->show();
    QCOMPARE(w.f("PlanID").asInteger(), last);  // opened: the last row
    auto* picker = w.list->findChild<QListWidget*>(QStringLiteral("EquipmentList"));
    QStringList texts;
    for (int i = 0; i < picker->count(); ++i)
        texts << picker->item(i)->text();
    QCOMPARE(texts, (QStringList{QStringLiteral("CAT, Loader -- 950  (Loader, Pit to plant)"),
                                 QStringLiteral("CAT, Loader -- 950  (Excavator)"), QStringLiteral("CAT, Dozer -- D6  (Dozer)")}));
    picker->itemClicked(picker->item(0));
    QCOMPARE(w.f("PlanID").asInteger(), first);
    w.list->FormActivate();  // another activation, as after the truck calculator
    QCOMPARE(w.f("PlanID").asInteger(), first);
    w.withWizard([&] { w.list->EditLaborBtnClick(); }, [&](CostWizard& wiz) { wiz.CancelBtnClick(); });
    w.list->FormActivate();
    QCOMPARE(w.f("PlanID").asInteger(), first);
    QCOMPARE(picker->currentRow(), 0);
    // Opened again for the worksheet, it starts on the last row.
    w.list->close();
    w.list->show();
    QCOMPARE(w.f("PlanID").asInteger(), last);
}

// A partner without a route is offered by its kind and machine.
void TestEquipWindows::partnerPickersNameUnroutedRows()
{
    ListWindow w;
    w.addEquipment(w.dm.EquipMatT, EquipKind::kLoader, {{"EquipmentName", "CAT, Loader -- 950"}});
    w.addEquipment(w.dm.EquipMatT, EquipKind::kLoader, {{"EquipmentName", "CAT, Loader -- 980"}, {"Route", "North haul"}});
    QStringList offered;
    w.withWizard([&] { w.list->AddEquipment(EquipKind::kTruck); }, [&](CostWizard& wiz) {
        auto* picker = wiz.findChild<QComboBox*>(QStringLiteral("LoaderPicker"));
        for (int i = 0; i < picker->count(); ++i)
            offered << picker->itemText(i);
        wiz.CancelBtnClick();
    });
    QCOMPARE(offered, (QStringList{QStringLiteral("Loader: CAT, Loader -- 950"), QStringLiteral("North haul")}));
}

// The list and each page of the wizard read whole at their default size and on a screen at 150 %.
void TestEquipWindows::layoutFitsTexts_data()
{
    QTest::addColumn<int>("wizardPage");  // -1: the list; 0 to 9: a worksheet; 10, 11: the selection pages
    QTest::addColumn<int>("clicks");      // right-hand clicks from the first step to a selection page
    QTest::newRow("equipment list") << -1 << 0;
    for (int k = 0; k < 10; ++k)
        QTest::newRow(qPrintable(EquipmentCalculator::kindName(k) + QStringLiteral(" worksheet"))) << k << 0;
    QTest::newRow("select laborer") << int(CostWizard::SelectLaborer) << 1;
    QTest::newRow("select equipment") << int(CostWizard::SelectEquipment) << 3;
}

void TestEquipWindows::layoutFitsTexts()
{
    QFETCH(int, wizardPage);
    QFETCH(int, clicks);
    ListWindow w;
    w.addEquipment(w.dm.EquipMatT, EquipKind::kLoader, {{"EquipmentName", "Caterpillar, Wheel Loader -- 988K"}, {"Route", "Pit to plant"}});
    w.addEquipment(w.dm.EquipMatT, EquipKind::kExcavator, {{"EquipmentName", "Komatsu, Hydraulic Excavator -- PC490LC"}});
    w.addEquipment(w.dm.EquipMatT, EquipKind::kScraper, {{"EquipmentName", "Caterpillar, Wheel Tractor Scraper -- 631K"}});
    if (wizardPage < 0) {
        const QStringList cut = LayoutCheck::cutTextsAtBothSizes(w.list.get());
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
        return;
    }
    const int kind = wizardPage < 10 ? wizardPage : EquipKind::kLoader;
    QStringList cut;
    w.withWizard([&] { w.list->AddEquipment(kind); }, [&](CostWizard& wiz) {
        if (wizardPage >= 10)
            for (int i = 0; i < clicks; ++i)
                wiz.RightBtnClick();
        else
            toWorksheet(wiz);
        QCOMPARE(wiz.pages()->currentIndex(), wizardPage);
        cut = LayoutCheck::cutTextsAtBothSizes(&wiz);
        wiz.CancelBtnClick();
    });
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
}

#include "tst_equipwindows.moc"
