// The worksheet equipment list and the cost wizard, offscreen, on a real data file.
#include "ComputationFixture.h"
#include "EquipLabor.h"
#include "EquipWiz1.h"
#include "SelectReport.h"

#include <QAction>
#include <QGroupBox>
#include <QTemporaryDir>

#include <QApplication>
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

namespace {

struct ListWindow : World {
    int sheet = 0;
    std::unique_ptr<TEquipLaborForm> list;
    ListWindow()
    {
        addMine(QStringLiteral("Wizard Mine"));
        addProject(QStringLiteral("Pit"));
        addSheet(dm.MatT, {{"Description", "Replace Topsoil"}});
        sheet = dm.MatT.fieldByName(QStringLiteral("SheetID")).asInteger();
        list = std::make_unique<TEquipLaborForm>(dm, comp, dialogs);
        list->setDataSet(&dm.EquipMatT);
        list->SetCostType = QStringLiteral("M");
        list->SetSheetID = sheet;
        list->NameActivity = QStringLiteral("Equipment for Materials Handling");
    }
    TEquipWiz1Form& wiz() { return list->wizard(); }
    // Runs `script` inside the wizard's modal run that `action` starts.
    void withWizard(const std::function<void()>& action, const std::function<void(TEquipWiz1Form&)>& script)
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
void toWorksheet(TEquipWiz1Form& w)
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
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
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
};

void TestEquipWindows::loaderThenTruck()
{
    ListWindow w;
    w.list->show();
    QCOMPARE(w.list->factorStatus(), QStringLiteral("No Equipment factors entered!"));
    w.withWizard([&] { w.list->AddEquipment(EquipKind::kLoader); }, [&](TEquipWiz1Form& wiz) {
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
    w.withWizard([&] { w.list->AddEquipment(EquipKind::kTruck); }, [&](TEquipWiz1Form& wiz) {
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
    w.withWizard([&] { w.list->AddEquipment(EquipKind::kPushDozer); }, [&](TEquipWiz1Form& wiz) {
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
    w.withWizard([&] { w.list->AddEquipment(EquipKind::kDozer); }, [&](TEquipWiz1Form& wiz) { wiz.CancelBtnClick(); });
    QCOMPARE(w.f("EquipmentName").asString(), QStringLiteral("No Equipment factors entered"));
    QVERIFY(w.f("OperatCost").isNull());
    w.list->FormActivate();
    QCOMPARE(w.list->factorStatus(), QStringLiteral("Error(s) in Equipment factors entered!"));

    w.withWizard([&] { w.list->AddEquipment(EquipKind::kDozer); }, [&](TEquipWiz1Form& wiz) {
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
    w.withWizard([&] { w.list->EditLaborBtnClick(); }, [&](TEquipWiz1Form& wiz) {
        QCOMPARE(wiz.step(), 6);
        wiz.RightBtnClick();  // No: labor stays
        QCOMPARE(wiz.step(), 7);
        wiz.RightBtnClick();  // No: equipment stays; finish
    });
    QCOMPARE(w.f("LaborCost").asFloat(), 10.0);
    w.dm.LaborCostT.last();
    const double rate = w.dm.LaborCostT.fieldByName(QStringLiteral("HourlyCosst")).asFloat();
    w.withWizard([&] { w.list->EditLaborBtnClick(); }, [&](TEquipWiz1Form& wiz) {
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
    w.withWizard([&] { w.list->AddEquipment(kind); }, [&](TEquipWiz1Form& wiz) {
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
    w.withWizard([&] { w.list->ViewWorksheetBtnClick(); }, [&](TEquipWiz1Form& wiz) {
        QCOMPARE(wiz.step(), 9);
        auto* volume = wiz.findChild<QLineEdit*>(QStringLiteral("VolumeEdit8"));
        QMimeData data;
        data.setData(TEquipWiz1Form::volumeMimeType(), QByteArray("1234.5"));
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
    w.withWizard([&] { w.list->ViewWorksheetBtnClick(); }, [&](TEquipWiz1Form& wiz) {
        QVERIFY(wiz.printAction()->isEnabled());
        w.dm.EquipMatT.edit();
        w.f("Volume").setAsFloat(2400.0);  // not yet posted when "&Print" is chosen
        QTimer::singleShot(0, [&] {
            auto* form = qobject_cast<TSelectReportForm*>(QApplication::activeModalWidget());
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
    w.withWizard([&] { w.list->EditLaborBtnClick(); }, [&](TEquipWiz1Form& wiz) {
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

QTEST_MAIN(TestEquipWindows)
#include "tst_equipwindows.moc"
