// The main window driven through its controls, offscreen, on a real data file.
#include "AppContext.h"
#include "TruckCalculatorWindow.h"
#include "DeskCalculatorWindow.h"
#include "Computation.h"
#include "Money.h"
#include "DBControls.h"
#include "DBNavigator.h"
#include "EquipmentListWindow.h"
#include "DeskCalculator.h"
#include "Dialogs.h"
#include "MainWindow.h"
#include "Notebook.h"
#include "ReportSelectionDialog.h"
#include "SideBar.h"
#include "TarvaneApplication.h"
#include "DataModule.h"
#include "EDatabaseError.h"
#include "TestSupport.h"
#include "BondPageControls.h"
#include "MainWindowFixture.h"
#include "WhenShown.h"
#include "XlsxReader.h"
#include "LayoutCheck.h"
#include "WindowSettings.h"
#include <QScreen>
#include "Keyboard.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QJsonDocument>
#include <QJsonObject>
#include <QFocusEvent>
#include <QSettings>
#include <QToolButton>
#include <QTimer>
#include <QDialog>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTreeWidget>

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void pageRefusals();
    void sideBarRefusals_data();
    void sideBarRefusals();
    void statusLine();
    void demolitionTotalAndButton();
    void equipmentButtonPostsFirst();
    void mineBondPageShowsTheExampleMine();
    void overrideSwapsControls();
    void autoFeeChoiceEnablesPercents();
    void closePostsPendingEdit();
    void closeRefusedByFailingPost();
    void closeRefusedByFailingWorksheetRow_data();
    void closeRefusedByFailingWorksheetRow();
    void revegFieldExitPostsOnce();
    void revegProductBeyondMoney();
    void autoFeeEmptyShowsYes();
    void pageNeedsFailedTable_data();
    void pageNeedsFailedTable();
    void changeUrl();
    void truckCalculatorFromTools();
    void costIndexAtLeastOneTenth();
    void deskCalculator_data();
    void deskCalculator();
    void deskCalculatorWindowKeys_data();
    void deskCalculatorWindowKeys();
    void deskCalculatorWindowFromTools();
    void printNeedsPostedData_data();
    void printNeedsPostedData();
    void printOpensTheSelection();
    void printKeepsTheBondPageInView();
    void exportAndBackUpFromTheFileMenu();
    void notebookKeys_data();
    void notebookKeys();
    void fieldLabelMessages_data();
    void fieldLabelMessages();
    void sideBarAfterFailedPost_data();
    void sideBarAfterFailedPost();
    void bondOutdatedAndFailed();
    void bondIncompleteNote();
    void titleMarksAnEdit();
    void pickListKeysMoveTheRecord();
    void costIndexSiteWithoutBrowser();
    void layoutFitsTexts_data();
    void layoutFitsTexts();
    void tabOrder_data();
    void tabOrder();
};

void TestMainWindow::initTestCase()
{
    static QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QStandardPaths::setTestModeEnabled(true);
}

void TestMainWindow::pageRefusals()
{
    Window w;
    Notebook* nb = w.main().MainOvcNotebook();
    QVERIFY(!nb->setCurrentIndex(1));
    QCOMPARE(w.dialogs.texts().last(), QStringLiteral("Must enter Mine data before a project can be entered."));
    QCOMPARE(nb->currentIndex(), 0);
    QVERIFY(!nb->setCurrentIndex(2));
    QCOMPARE(w.dialogs.texts().last(), QStringLiteral("Must enter Mine data before a Bond can be calculated."));
    w.addMine(QStringLiteral("Cedar Run Mining"));
    QVERIFY(!nb->setCurrentIndex(3));
    QCOMPARE(w.dialogs.texts().last(), QStringLiteral("Must enter Project data before a Bond can be calculated."));
    QCOMPARE(w.dialogs.shown.last().buttons, MsgButtons::Ok);
    QVERIFY(nb->setCurrentIndex(1));
    QCOMPARE(w.main().HelpContextId, 3);
    QCOMPARE(w.main().ProjCostOvcNotebook()->currentIndex(), 0);
}

void TestMainWindow::sideBarRefusals_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("message");
    QTest::newRow("demolition") << 1 << "Must enter a project before entering Demolition information";
    QTest::newRow("earthmoving") << 2 << "Must enter a project before entering Materials information";
    QTest::newRow("revegetation") << 3 << "Must enter a project before entering reveg information";
    QTest::newRow("other") << 4 << "Must enter a project before entering other cost information";
    QTest::newRow("project bond") << 5 << "Must enter a project before you can calculate a bond";
    QTest::newRow("project bond phase II") << 7 << "Must enter a project before you can calculate a bond";
}

void TestMainWindow::sideBarRefusals()
{
    QFETCH(int, item);
    QFETCH(QString, message);
    Window w;
    w.addMine(QStringLiteral("No Projects Yet"));
    QVERIFY(w.main().MainOvcNotebook()->setCurrentIndex(1));
    w.main().ProjCostOvcNotebook()->showPage(2);
    w.main().projectSideBar()->clickItem(item);
    QCOMPARE(w.dialogs.texts().last(), message);
    QCOMPARE(w.main().ProjCostOvcNotebook()->currentIndex(), 0);
}

void TestMainWindow::statusLine()
{
    Window w;
    QCOMPARE(w.status(), QStringLiteral("Mine/Project:  None"));
    w.addMine(QStringLiteral("Cedar Run Mining"));
    QCOMPARE(w.status(), QStringLiteral("Mine/Project:  Cedar Run Mining"));
    QVERIFY(w.main().MainOvcNotebook()->setCurrentIndex(1));
    QCOMPARE(w.status(), QStringLiteral("Mine/Project:  Cedar Run Mining/None"));
    w.nav(QStringLiteral("ProjectNavigator"), QStringLiteral("Insert"));
    w.type(QStringLiteral("ProjectNameEdit"), QStringLiteral("North Pit"));
    w.type(QStringLiteral("ProjectDateEdit"), QStringLiteral("7/1"));
    w.nav(QStringLiteral("ProjectNavigator"), QStringLiteral("Post"));
    QCOMPARE(w.status(), QStringLiteral("Mine/Project:  Cedar Run Mining/North Pit"));
    QVERIFY(w.main().MainOvcNotebook()->setCurrentIndex(3));  // Phase I keeps the line as it was
    QCOMPARE(w.status(), QStringLiteral("Mine/Project:  Cedar Run Mining/North Pit"));
    QCOMPARE(w.main().HelpContextId, 7);
    QVERIFY(w.main().MainOvcNotebook()->setCurrentIndex(2));
    QCOMPARE(w.status(), QStringLiteral("Mine/Project:  Cedar Run Mining"));
}

void TestMainWindow::demolitionTotalAndButton()
{
    Window w;
    w.addMineWithProject();
    w.main().projectSideBar()->clickItem(1);
    QCOMPARE(w.main().ProjCostOvcNotebook()->currentIndex(), 1);
    QCOMPARE(w.main().HelpContextId, 4);
    QVERIFY(!w.find<QPushButton>(QStringLiteral("DemoEquipBtn"))->isEnabled());
    w.nav(QStringLiteral("DemolNavigator"), QStringLiteral("Insert"));
    w.type(QStringLiteral("ItemEdit"), QStringLiteral("Tipple"));
    w.type(QStringLiteral("TypeMaterialEdit"), QStringLiteral("Steel"));
    w.type(QStringLiteral("VolumeEdit"), QStringLiteral("1,200"));
    w.type(QStringLiteral("UnitCostEdit"), QStringLiteral("$2.50"));
    QCOMPARE(w.find<QLineEdit>(QStringLiteral("DemoCostEdit"))->text(), QStringLiteral("$3,000.00"));
    w.nav(QStringLiteral("DemolNavigator"), QStringLiteral("Post"));
    QCOMPARE(w.find<QLineEdit>(QStringLiteral("TotalDemoCostEdit"))->text(), QStringLiteral("   $3,000.00"));
    QVERIFY(w.find<QPushButton>(QStringLiteral("DemoEquipBtn"))->isEnabled());
    QCOMPARE(w.dm().DemolT.fieldByName(QStringLiteral("CostType")).asString(), QStringLiteral("D"));
    QVERIFY(w.dialogs.shown.isEmpty());
}

void TestMainWindow::equipmentButtonPostsFirst()
{
    Window w;
    w.addMineWithProject();
    w.main().projectSideBar()->clickItem(2);
    w.main().EnterEquipBtnClick();
    QCOMPARE(w.dialogs.texts().last(), QStringLiteral("Must enter Materials information before adding equipment"));
    w.nav(QStringLiteral("MatNavigator"), QStringLiteral("Insert"));
    w.type(QStringLiteral("OrginEdit"), QStringLiteral("Stockpile"));
    w.dialogs.shown.clear();
    // A click whose handler fails: the default error box shows the table's message and the program goes on.
    auto* button = w.find<QPushButton>(QStringLiteral("MaterialsEquipBtn"));
    button->setEnabled(true);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(w.dialogs.texts(), QStringList{QStringLiteral("Field 'Earthmoving Activity' must have a value")});
    QCOMPARE(w.dm().MatT.state(), DataSetState::Insert);
    w.type(QStringLiteral("DescriptionEdit"), QStringLiteral("Replace Topsoil"));
    QString opened;
    QTimer::singleShot(0, [&] {
        auto* list = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(list);
        opened = list->objectName() + QLatin1Char(' ') +
                 list->findChild<QLabel*>(QStringLiteral("ActivityPanel"))->text();
        list->close();
    });
    w.main().EnterEquipBtnClick();
    QCOMPARE(opened, QStringLiteral("TEquipLaborForm Equipment for Materials Handling"));
    QCOMPARE(w.dm().MatT.state(), DataSetState::Browse);
    QCOMPARE(w.dm().MatT.fieldByName(QStringLiteral("CostType")).asString(), QStringLiteral("M"));
    QCOMPARE(w.ctx.EquipLaborForm->dataSet(), &w.dm().EquipMatT);
    QCOMPARE(w.ctx.EquipLaborForm->SetSheetID, w.dm().MatT.fieldByName(QStringLiteral("SheetID")).asInteger());
    // When the list closes the page shows the worksheet's total again.
    QCOMPARE(w.find<QLineEdit>(QStringLiteral("TotalMatCostEdit"))->text(),
             formatMoney(w.ctx.Computations->totals.TotalMatCost()));
}

void TestMainWindow::mineBondPageShowsTheExampleMine()
{
    Window w(1.0);  // the example data set
    QVERIFY(w.main().MainOvcNotebook()->setCurrentIndex(2));
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TARVANE_ENGINE_CFG"), w.data.configPath);
    cli.setProcessEnvironment(env);
    cli.start(QStringLiteral(TARVANE_CLI), {QStringLiteral("bond"), QStringLiteral("--mine"), QStringLiteral("1"),
                                            QStringLiteral("--json"), QStringLiteral("--data"), w.data.dataDir});
    QVERIFY(cli.waitForFinished(60000));
    const QJsonObject items = QJsonDocument::fromJson(cli.readAllStandardOutput()).object().value(QStringLiteral("items")).toObject();
    QCOMPARE(items.size(), 34);
    const QStringList controls{QStringLiteral("BTotalDemoCostEdit"), QStringLiteral("BTotalMaterialCostEdit"),
                               QStringLiteral("BtotalRevegCostEdit"), QStringLiteral("BTotalOtherCostEdit"),
                               QStringLiteral("TotalDirectEdit"), QStringLiteral("BInflatedDirectCostEdit"),
                               QStringLiteral("BMobDemobCostEdit"), QStringLiteral("BContinCostEdit"),
                               QStringLiteral("BEngCostEdit"), QStringLiteral("BProfitCostEdit"),
                               QStringLiteral("BFeeCostEdit"), QStringLiteral("TotalIndirectEdit"),
                               QStringLiteral("TotalBondEdit")};
    for (int i = 0; i < controls.size(); ++i)
        QCOMPARE(w.find<QLineEdit>(controls[i])->text(), formatMoney(items.value(QString::number(i + 1)).toDouble()));
    QCOMPARE(w.find<QLineEdit>(QStringLiteral("BInflationFactorEdit"))->text(), QStringLiteral("     1.190"));
    QVERIFY(w.find<QLineEdit>(QStringLiteral("BContinCostIEdit"))->isHidden());  // the example overrides it
    QCOMPARE(w.find<QLineEdit>(QStringLiteral("ContinNumberEdit1"))->text(), QStringLiteral("$25,000.00"));
}

void TestMainWindow::overrideSwapsControls()
{
    Window w(1.0);
    QVERIFY(w.main().MainOvcNotebook()->setCurrentIndex(2));
    auto* box = w.find<QCheckBox>(QStringLiteral("MobCB"));
    auto* amount = w.find<QLineEdit>(QStringLiteral("MobNumberEdit"));
    auto* computed = w.find<QLineEdit>(QStringLiteral("BMobDemobCostEdit"));
    QVERIFY(!box->isChecked());
    QVERIFY(computed->isVisible());
    QVERIFY(!amount->isVisible());
    box->click();
    QVERIFY(amount->isVisible());
    QVERIFY(!computed->isVisible());
    QCOMPARE(w.dm().MineT.state(), DataSetState::Edit);
    QVERIFY(w.find<QPushButton>(QStringLiteral("BondPostBitBtn"))->isEnabled());
    box->click();
    QVERIFY(computed->isVisible());
    QVERIFY(!amount->isVisible());
}

void TestMainWindow::autoFeeChoiceEnablesPercents()
{
    Window w(2.0);  // the tutorial mine looks its fees up
    auto* group = w.find<DBRadioGroup>(QStringLiteral("DBRadioGroup1"));
    const QStringList six{QStringLiteral("ProfitNumberEdit"), QStringLiteral("ProjectManNumberEdit"),
                          QStringLiteral("ProfitINumberEdit"), QStringLiteral("ProjectManINumberEdit"),
                          QStringLiteral("ProfitIINumberEdit"), QStringLiteral("ProjectManIINumberEdit")};
    QCOMPARE(group->itemIndex(), 0);
    for (const QString& n : six)
        QVERIFY2(!w.find<QLineEdit>(n)->isEnabled(), qPrintable(n));
    QVERIFY(w.find<QLineEdit>(QStringLiteral("MobPercentEdit"))->isEnabled());
    group->choose(1);
    QCOMPARE(w.dm().MineT.fieldByName(QStringLiteral("AutoFeeCal")).asInteger(), 1);
    for (const QString& n : six)
        QVERIFY2(w.find<QLineEdit>(n)->isEnabled(), qPrintable(n));
}

void TestMainWindow::closePostsPendingEdit()
{
    Window w;
    w.addMine(QStringLiteral("Cedar Run Mining"));
    w.type(QStringLiteral("LocationEdit"), QStringLiteral("Preston County"));
    QCOMPARE(w.dm().MineT.state(), DataSetState::Edit);
    QVERIFY(w.main().close());
    QCOMPARE(w.data.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\" WHERE Location = 'Preston County'")), 1);
}

void TestMainWindow::closeRefusedByFailingPost()
{
    Window w;
    w.addMine(QStringLiteral("Cedar Run Mining"));
    w.nav(QStringLiteral("DBNavigator1"), QStringLiteral("Edit"));
    w.type(QStringLiteral("PreparedByEdit"), QString());
    w.find<QLineEdit>(QStringLiteral("PreparedByEdit"))->clear();
    w.dm().MineT.fieldByName(QStringLiteral("PreparedBy")).clear();
    QVERIFY(!w.main().close());
    QCOMPARE(w.dialogs.texts().last(), QStringLiteral("Field 'Prepared By' must have a value"));
    QVERIFY(w.main().isVisible());
    w.nav(QStringLiteral("DBNavigator1"), QStringLiteral("Cancel"));
    QVERIFY(w.main().close());
}

void TestMainWindow::closeRefusedByFailingWorksheetRow_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("view");
    QTest::addColumn<QString>("navigator");
    QTest::addColumn<QString>("message");
    QTest::newRow("earthmoving") << 2 << "MatT" << "MatNavigator" << "Field 'Earthmoving Activity' must have a value";
    QTest::newRow("revegetation") << 3 << "RevegT" << "RevegNavigator" << "Field 'Name' must have a value";
    QTest::newRow("other cost") << 4 << "OtherT" << "OtherNavigator" << "Field 'Description' must have a value";
}

// A worksheet row that cannot be posted keeps the window open with every view open; its
// message shows once, and after the row is cancelled the window closes and keeps its placement.
void TestMainWindow::closeRefusedByFailingWorksheetRow()
{
    QFETCH(int, page);
    QFETCH(QString, view);
    QFETCH(QString, navigator);
    QFETCH(QString, message);
    Window w;
    w.addMineWithProject();
    w.main().projectSideBar()->clickItem(page);
    w.nav(navigator, QStringLiteral("Insert"));
    DataSet* ds = w.dm().dataSetByName(view);
    QCOMPARE(ds->state(), DataSetState::Insert);
    w.dialogs.shown.clear();
    QVERIFY(!w.main().close());
    QCOMPARE(w.dialogs.texts(), QStringList{message});
    QVERIFY(w.main().isVisible());
    QCOMPARE(ds->state(), DataSetState::Insert);
    for (const auto& step : w.dm().openingSteps())
        QVERIFY2(step.view->active(), qPrintable(step.label));
    QVERIFY(w.dm().TarvaneDatabase.connected());
    w.nav(navigator, QStringLiteral("Cancel"));
    w.main().setGeometry(60, 70, 1000, 700);
    QVERIFY(w.main().close());
    QCOMPARE(w.dialogs.shown.size(), 1);
    QVERIFY(!w.dm().TarvaneDatabase.connected());
    QSettings settings(QStringLiteral("Veskor"), QStringLiteral("Tarvane"));
    QVERIFY(settings.childGroups().contains(QStringLiteral("2.0")));
    Window again;
    // The kept size, as far as the screen's free area takes it.
    const QSize room = again.main().screen()->availableGeometry().size() - WindowSettings::kFrame;
    QCOMPARE(again.main().size(), QSize(1000, 700).boundedTo(room).expandedTo(again.main().minimumSize()));
}

// Leaving a revegetation field posts the row; focus that a message box takes away posts nothing,
// so a refusal shows once.
void TestMainWindow::revegFieldExitPostsOnce()
{
    Window w;
    w.addMineWithProject();
    w.main().projectSideBar()->clickItem(3);
    w.nav(QStringLiteral("RevegNavigator"), QStringLiteral("Insert"));
    auto* acres = w.main().findChild<QWidget*>(QStringLiteral("AcresSeedEdit"));
    QVERIFY(acres);
    w.dialogs.shown.clear();
    QFocusEvent byTab(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(acres, &byTab);
    QCoreApplication::processEvents();
    QCOMPARE(w.dialogs.texts(), QStringList{QStringLiteral("Field 'Name' must have a value")});
    QFocusEvent toTheBox(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(acres, &toTheBox);
    QCoreApplication::processEvents();
    QCOMPARE(w.dialogs.shown.size(), 1);
    QCOMPARE(w.dm().RevegT.state(), DataSetState::Insert);
    w.nav(QStringLiteral("RevegNavigator"), QStringLiteral("Cancel"));
}

// A product too large for money shows empty with one message naming it; the other products still show.
void TestMainWindow::revegProductBeyondMoney()
{
    Window w;
    w.addMineWithProject();
    w.main().projectSideBar()->clickItem(3);
    Table& r = w.dm().RevegT;
    r.insert();
    r.fieldByName(QStringLiteral("Name")).setAsString(QStringLiteral("Pasture"));
    r.fieldByName(QStringLiteral("AcresSeed")).setAsFloat(999999999999.0);
    r.fieldByName(QStringLiteral("CostSeedBed")).setAsFloat(999999999999.0);
    r.fieldByName(QStringLiteral("AcresPlant")).setAsFloat(10);
    r.fieldByName(QStringLiteral("CostPlant")).setAsFloat(25);
    w.dialogs.shown.clear();
    try {
        r.post();
    } catch (const EDatabaseError&) {
        // the worksheet total cannot be shown either; it names itself
    }
    QCOMPARE(w.find<QLineEdit>(QStringLiteral("Field1"))->text(), QString());
    QCOMPARE(w.find<QLineEdit>(QStringLiteral("Field2"))->text(), formatMoney(250.0).trimmed());
    QVERIFY(!w.dialogs.texts().isEmpty());
    QVERIFY2(w.dialogs.texts().first().startsWith(QStringLiteral("Initial seeding cost: The amount is beyond the range")),
             qPrintable(w.dialogs.texts().join(QLatin1Char('|'))));
}

// A new mine has no AutoFeeCal; the bond takes that as "Yes", and so does the page, without writing it.
void TestMainWindow::autoFeeEmptyShowsYes()
{
    Window w;
    w.addMine(QStringLiteral("Cedar Run Mining"));
    QVERIFY(w.dm().MineT.fieldByName(QStringLiteral("AutoFeeCal")).isNull());
    auto* group = w.find<DBRadioGroup>(QStringLiteral("DBRadioGroup1"));
    group->refresh();
    QCOMPARE(group->itemIndex(), 0);
    QVERIFY(w.find<QRadioButton>(QStringLiteral("AutoFeeCalItem0"))->isChecked());
    QVERIFY(!w.find<QRadioButton>(QStringLiteral("AutoFeeCalItem1"))->isChecked());
    for (const char* n : {"ProfitNumberEdit", "ProjectManNumberEdit", "ProfitINumberEdit", "ProjectManINumberEdit",
                          "ProfitIINumberEdit", "ProjectManIINumberEdit"})
        QVERIFY2(!w.find<QLineEdit>(QString::fromLatin1(n))->isEnabled(), n);
    QCOMPARE(w.dm().MineT.state(), DataSetState::Browse);
    QVERIFY(w.dm().MineT.fieldByName(QStringLiteral("AutoFeeCal")).isNull());
    QCOMPARE(w.data.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\" WHERE AutoFeeCal IS NULL")), 1);
    group->choose(1);
    QCOMPARE(w.dm().MineT.fieldByName(QStringLiteral("AutoFeeCal")).asInteger(), 1);
    QVERIFY(w.find<QLineEdit>(QStringLiteral("ProfitNumberEdit"))->isEnabled());
}

void TestMainWindow::pageNeedsFailedTable_data()
{
    QTest::addColumn<QString>("dropped");
    QTest::addColumn<int>("item");  // of the side bar; 0: the mine's bond page
    QTest::addColumn<QString>("message");
    QTest::newRow("fee table for the mine's bond")
        << "GRAPH2.DB" << 0 << "This page needs the Graph 2 Table, which did not open at start-up.";
    QTest::newRow("fee table for a project's bond")
        << "GRAPH2.DB" << 5 << "This page needs the Graph 2 Table, which did not open at start-up.";
    QTest::newRow("equipment partners for the demolition total")
        << "GRAPH2.DB" << 1 << "This page needs the Equip Stuff 1 Table, which did not open: opening stopped at the Graph 2 Table.";
    QTest::newRow("the earthmoving worksheet")
        << "MATERIAL.DB" << 2 << "This page needs the Material Table, which did not open at start-up.";
}

// After a table failed at start-up, a page that needs it says which, once for each time
// the user turns to it, and stays away; a pending edit of the mine is still posted at close.
void TestMainWindow::pageNeedsFailedTable()
{
    QFETCH(QString, dropped);
    QFETCH(int, item);
    QFETCH(QString, message);
    TempData data;
    data.sql(QStringLiteral("DROP TABLE \"%1\"").arg(dropped));
    ScriptedDialogs dialogs;
    static_cast<TarvaneApplication*>(qApp)->setDialogs(&dialogs);
    AppContext ctx(dialogs, data.configPath);
    ctx.create([](const QString&) {}, [](int) {});
    ctx.TarvaneDataForm->DataSetCode = 2.0;  // the tutorial mine: its fees come from the fee tables
    MainWindow& main = *ctx.MainForm;
    main.show();
    main.FormActivate();
    QCOMPARE(dialogs.shown.size(), 1);  // the start-up failure
    QVERIFY(dialogs.texts().first().startsWith(QStringLiteral("Database did NOT open -- Error in table:  ")));
    dialogs.shown.clear();
    for (int attempt = 1; attempt <= 2; ++attempt) {
        if (item == 0) {
            QVERIFY(!main.MainOvcNotebook()->setCurrentIndex(2));
            QCOMPARE(main.MainOvcNotebook()->currentIndex(), 0);
        } else {
            QVERIFY(main.MainOvcNotebook()->setCurrentIndex(1));
            main.projectSideBar()->clickItem(item);
            QCOMPARE(main.ProjCostOvcNotebook()->currentIndex(), 0);
        }
        QCOMPARE(dialogs.texts(), QStringList(attempt, message));
    }
    QVERIFY(main.MainOvcNotebook()->setCurrentIndex(0));
    ctx.TarvaneDataForm->MineT.edit();
    ctx.TarvaneDataForm->MineT.fieldByName(QStringLiteral("Location")).setAsString(QStringLiteral("Tucker County"));
    QVERIFY(main.close());
    QCOMPARE(dialogs.shown.size(), 2);
    QCOMPARE(data.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\" WHERE Location = 'Tucker County'")), 1);
}

void TestMainWindow::costIndexAtLeastOneTenth()
{
    Window w;
    w.addMine(QStringLiteral("Cedar Run Mining"));
    auto* enr5 = w.find<DBEdit>(QStringLiteral("ENRIndex5Edit"));
    enr5->setFocus();
    QTest::keyClicks(enr5, QStringLiteral("0.05"));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, enr5->commit());
    QVERIFY(w.dm().MineT.fieldByName(QStringLiteral("ENRIndex5")).isNull());
    enr5->selectAll();
    QTest::keyClicks(enr5, QStringLiteral("11466"));
    enr5->commit();
    QCOMPARE(w.dm().MineT.fieldByName(QStringLiteral("ENRIndex5")).asFloat(), 11466.0);
}

void TestMainWindow::changeUrl()
{
    Window w;
    w.dialogs.inputs = {{QStringLiteral("https://example.org/enr")}, {}};
    w.main().ChangeURL1Click();
    QCOMPARE(w.dialogs.prompts.last(), QStringLiteral("Enter URL:"));
    QCOMPARE(w.main().OvcURL, QStringLiteral("https://example.org/enr"));
    w.main().ChangeURL1Click();  // cancelled: the address stays
    QCOMPARE(w.main().OvcURL, QStringLiteral("https://example.org/enr"));
}

void TestMainWindow::deskCalculator_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("shown");
    QTest::newRow("left to right") << QStringList{"1", "2", "+", "3", "*", "2", "="} << "30";
    QTest::newRow("decimals") << QStringList{"0", ".", "5", "+", ".", "2", "5", "="} << "0.75";
    QTest::newRow("change of sign") << QStringList{"4", "+/-", "-", "6", "="} << "-10";
    QTest::newRow("division by zero") << QStringList{"7", "/", "0", "="} << "Error";
    QTest::newRow("clear") << QStringList{"9", "+", "C", "2", "="} << "2";
}

void TestMainWindow::deskCalculator()
{
    QFETCH(QStringList, keys);
    QFETCH(QString, shown);
    Window w;
    auto* calc = w.find<DeskCalculator>(QStringLiteral("OtherCalculator"));
    for (const QString& k : keys)
        calc->findChild<QPushButton*>(QStringLiteral("CalcKey") + k)->click();
    QCOMPARE(calc->display(), shown);
}

// The steps of a session at the desk calculator: "[key]" clicks that key, "Enter",
// "Esc" and "Back" press those keys, anything else is typed.
void TestMainWindow::deskCalculatorWindowKeys_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("tape");
    QTest::addColumn<double>("memory");
    const QString rule = QStringLiteral("----------------");
    QTest::newRow("typed, left to right") << QStringList{"12+3.5*2", "Enter"} << "31.00"
                                          << QStringList{"12.00 +", "3.50 *", "2.00 =", rule, "31.00 T"} << 0.0;
    QTest::newRow("backspace") << QStringList{"127", "Back", "Back", "5+1", "Enter"} << "16.00"
                               << QStringList{"15.00 +", "1.00 =", rule, "16.00 T"} << 0.0;
    QTest::newRow("escape clears the entry") << QStringList{"9+", "Esc", "2", "Enter"} << "2.00"
                                             << QStringList{"9.00 +", "2.00 ="} << 0.0;
    QTest::newRow("percent added") << QStringList{"200+10%"} << "220.00"
                                   << QStringList{"200.00 +", "10.00 %", rule, "220.00 T"} << 0.0;
    QTest::newRow("percent taken") << QStringList{"80-25", "[%]"} << "60.00"
                                   << QStringList{"80.00 -", "25.00 %", rule, "60.00 T"} << 0.0;
    QTest::newRow("percent of a product") << QStringList{"50*8%"} << "4.00"
                                          << QStringList{"50.00 *", "8.00 %", rule, "4.00 T"} << 0.0;
    QTest::newRow("memory") << QStringList{"5", "[M+]", "3", "[M+]", "2", "[M-]", "[MR]", "*2", "Enter"} << "12.00"
                            << QStringList{"5.00 M+", "3.00 M+", "2.00 M-", "6.00 *", "2.00 =", rule, "12.00 T"} << 6.0;
    QTest::newRow("memory cleared") << QStringList{"4", "[M+]", "[MC]", "[MR]", "+1", "Enter"} << "1.00"
                                    << QStringList{"4.00 M+", "0.00 +", "1.00 =", rule, "1.00 T"} << 0.0;
    QTest::newRow("two decimals") << QStringList{"10/3", "Enter"} << "3.33"
                                  << QStringList{"10.00 /", "3.00 =", rule, "3.33 T"} << 0.0;
}

void TestMainWindow::deskCalculatorWindowKeys()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, shown);
    QFETCH(QStringList, tape);
    QFETCH(double, memory);
    Window w;
    DeskCalculatorWindow& form = *w.ctx.CalculatorForm;
    DeskCalculator* calc = form.calculator();
    const QMap<QString, Qt::Key> keys{{"Enter", Qt::Key_Return}, {"Esc", Qt::Key_Escape}, {"Back", Qt::Key_Backspace}};
    for (const QString& step : steps) {
        if (step.startsWith(QLatin1Char('[')))
            calc->findChild<QPushButton*>(QStringLiteral("CalcKey") + step.mid(1, step.size() - 2))->click();
        else if (keys.contains(step))
            QTest::keyClick(calc, keys.value(step));
        else
            QTest::keyClicks(calc, step);
    }
    QCOMPARE(calc->display(), shown);
    QCOMPARE(calc->memory(), memory);
    QStringList lines = form.tape().split(QLatin1Char('\n'));
    for (QString& l : lines)
        l = l.simplified();
    QCOMPARE(lines, tape);
    // Only the operands are items; a result is not.
    const int items = int(tape.size() - tape.filter(QStringLiteral(" T")).size() - tape.count(QStringLiteral("----------------")));
    QCOMPARE(form.itemCount(), items);
    QCOMPARE(form.findChild<QLabel*>(QStringLiteral("TapeCount"))->text(), QStringLiteral("Items: %1").arg(items));
}

void TestMainWindow::deskCalculatorWindowFromTools()
{
    Window w;
    auto* item = w.main().findChild<QAction*>(QStringLiteral("Calculator1"));
    QVERIFY(item);
    QCOMPARE(item->text().remove(QLatin1Char('&')), QStringLiteral("Calculator"));  // with its mnemonic
    QVERIFY(!Keyboard::mnemonicOf(item->text()).isNull());
    QVERIFY(w.find<QMenu>(QStringLiteral("Tools1"))->actions().contains(item));
    DeskCalculatorWindow* form = w.ctx.CalculatorForm.get();
    QVERIFY(form && !form->isVisible());

    // Shown beside the main window, which stays usable.
    item->trigger();
    QVERIFY(form->isVisible() && form->isWindow());
    QCOMPARE(form->windowTitle(), QStringLiteral("Calculator"));
    QVERIFY(!QApplication::activeModalWidget());
    // The wide "0" key and the point each have their own place.
    const QRect zero = form->findChild<QPushButton*>(QStringLiteral("CalcKey0"))->geometry();
    QVERIFY(!zero.intersects(form->findChild<QPushButton*>(QStringLiteral("CalcKey."))->geometry()));
    QTest::keyClicks(form->calculator(), QStringLiteral("7+8"));
    QTest::keyClick(form->calculator(), Qt::Key_Enter);
    QCOMPARE(form->itemCount(), 2);

    // Closing by the user clears the mark that would show it again; the next showing is the
    // same window with its tape and display.
    const QSize size = form->sizeHint() + QSize(70, 30);
    form->resize(size);
    w.main().ReopenCalculator = true;
    QVERIFY(form->close());
    QVERIFY(!form->isVisible());
    QVERIFY(!w.main().ReopenCalculator);
    item->trigger();
    QVERIFY(form->isVisible());
    QCOMPARE(w.ctx.CalculatorForm.get(), form);
    QCOMPARE(form->calculator()->display(), QStringLiteral("15.00"));
    QCOMPARE(form->itemCount(), 2);
    QVERIFY(form->tape().contains(QStringLiteral("15.00 T")));

    form->findChild<QPushButton*>(QStringLiteral("ClearTape"))->click();
    QVERIFY(form->tape().isEmpty());
    QCOMPARE(form->findChild<QLabel*>(QStringLiteral("TapeCount"))->text(), QStringLiteral("Items: 0"));
    QCOMPARE(form->calculator()->display(), QStringLiteral("15.00"));  // the tape only

    // The placement is kept under the window's class and given to the next instance.
    form->close();
    DeskCalculatorWindow again;
    QCOMPARE(again.size(), size);
}

void TestMainWindow::printNeedsPostedData_data()
{
    QTest::addColumn<QString>("view");
    QTest::newRow("mine being edited") << "MineT";
    QTest::newRow("project being inserted") << "ProjectT";
    QTest::newRow("demolition row being inserted") << "DemolT";
    QTest::newRow("other-cost row being inserted") << "OtherT";
}

void TestMainWindow::printNeedsPostedData()
{
    QFETCH(QString, view);
    Window w;
    w.addMineWithProject();
    DataSet* ds = w.dm().dataSetByName(view);
    QVERIFY(ds);
    if (view == QLatin1String("MineT"))
        ds->edit();
    else
        ds->insert();
    w.dialogs.shown.clear();
    w.main().findChild<QAction*>(QStringLiteral("Print1"))->trigger();  // would block if the window opened
    QCOMPARE(w.dialogs.texts(), QStringList{QStringLiteral("Post Data before printing!")});
    QCOMPARE(w.dialogs.shown.first().type, MsgType::Information);
    QVERIFY(ds->isEditing());  // nothing was posted or dropped
}

void TestMainWindow::printOpensTheSelection()
{
    Window w;
    w.addMineWithProject();
    w.dialogs.shown.clear();
    QString label;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        QWidget* form = QApplication::activeModalWidget();
        if (!form || form->objectName() != QLatin1String("SelectReportForm"))
            return;
        modal = true;
        auto* forLabel = form->findChild<QLabel*>(QStringLiteral("ReportForLabel"));
        if (QTest::qWaitFor([forLabel] { return !forLabel->text().isEmpty(); }, 5000))
            label = forLabel->text();  // left empty when it never activated
        form->close();
    });
    w.main().findChild<QAction*>(QStringLiteral("Print1"))->trigger();
    QVERIFY(modal);
    QCOMPARE(label, QStringLiteral("Report for Mine/Project:  Cedar Run Mining/Plant"));
    QVERIFY(w.dialogs.texts().isEmpty());
}

void TestMainWindow::printKeepsTheBondPageInView()
{
    Window w(1.0);  // the example data set: a mine of three projects
    QVERIFY(w.main().MainOvcNotebook()->setCurrentIndex(2));
    const QString control = BondPageControls::ofItem(13).first();
    const QString mineBond = w.main().text(control);
    QVERIFY(!mineBond.trimmed().isEmpty());
    QTemporaryDir dir;
    bool printed = false;
    QTimer::singleShot(0, [&] {
        auto* form = qobject_cast<ReportSelectionDialog*>(QApplication::activeModalWidget());
        if (!form)
            return;
        form->setChoice(0);  // every project's bond summary prints after the mine's
        printed = form->print({ReportDestination::Text, dir.filePath(QStringLiteral("mine.txt"))});
        form->close();
    });
    w.main().findChild<QAction*>(QStringLiteral("Print1"))->trigger();
    QVERIFY(printed);
    QCOMPARE(w.main().text(control), mineBond);
}

void TestMainWindow::truckCalculatorFromTools()
{
    Window w;
    auto* item = w.main().findChild<QAction*>(QStringLiteral("OptimalTruckCalculator1"));
    QVERIFY(item);
    QCOMPARE(item->text(), QStringLiteral("&Optimal # Truck Calculator"));
    QVERIFY(w.find<QMenu>(QStringLiteral("Tools1"))->actions().contains(item));
    // Shown modally, the one instance each time, with what the user left in it.
    QStringList seen;
    auto showing = [&](const QString& type) {
        QTimer::singleShot(0, [&, type] {
            auto* form = qobject_cast<TruckCalculatorWindow*>(QApplication::activeModalWidget());
            QVERIFY(form && form == w.ctx.TruckCalForm.get());
            auto* volume = form->findChild<QLineEdit*>(QStringLiteral("VolumeF"));
            seen << volume->text();
            if (!type.isEmpty())
                volume->setText(type);
            form->findChild<QAction*>(QStringLiteral("Close1"))->trigger();
        });
        item->trigger();
    };
    showing(QStringLiteral("1,200"));
    showing(QString());
    QCOMPARE(seen, (QStringList{QString(), QStringLiteral("1,200")}));
    QVERIFY(!w.ctx.TruckCalForm->isVisible());
}

// File > "Export to Spreadsheet..." writes the example mine's workbook with the bond the
// window computes; File > "Back Up Data..." a copy of the data file that opens.
void TestMainWindow::exportAndBackUpFromTheFileMenu()
{
    Window w(1.0);  // the example data set
    QTemporaryDir dir;
    const auto save = [&](const QString& name, bool* seen) {
        whenShown<QFileDialog>(
            [&, name](QFileDialog& d) {
                QCOMPARE(d.acceptMode(), QFileDialog::AcceptSave);
                d.selectFile(dir.filePath(name));
                QMetaObject::invokeMethod(&d, "accept", Qt::QueuedConnection);
            },
            seen);
    };
    auto* exportBook = w.main().findChild<QAction*>(QStringLiteral("ExportToSpreadsheet1"));
    QVERIFY(exportBook);
    QCOMPARE(exportBook->text().remove(QLatin1Char('&')), QStringLiteral("Export to Spreadsheet..."));
    bool seen = false;
    save(QStringLiteral("mine.xlsx"), &seen);
    exportBook->trigger();
    QVERIFY(seen);
    const QString applicant = w.dm().MineT.fieldByName(QStringLiteral("Applicant")).asString();
    const QString book = dir.filePath(QStringLiteral("mine.xlsx"));
    QCOMPARE(w.dialogs.texts().last(),
             QStringLiteral("The workbook of %1 is written to %2.").arg(applicant, QDir::toNativeSeparators(book)));
    const XlsxReader xlsx(book);
    QCOMPARE(xlsx.sheetNames().size(), 7);
    const auto cells = xlsx.cells(1);
    const BondItems& items = w.ctx.Computations->bond.items();
    for (int i : {1, 5, 13, 34})
        QCOMPARE(cells.value(QStringLiteral("C%1").arg(i + 1)).value.toDouble(), items.item[i].toDouble());
    QCOMPARE(w.find<QLineEdit>(QStringLiteral("TotalBondEdit"))->text(), formatMoney(items.item[13].toDouble()));

    auto* backup = w.main().findChild<QAction*>(QStringLiteral("BackUpData1"));
    QVERIFY(backup);
    QCOMPARE(backup->text().remove(QLatin1Char('&')), QStringLiteral("Back Up Data..."));
    seen = false;
    save(QStringLiteral("copy.db"), &seen);
    backup->trigger();
    QVERIFY(seen);
    const QString copy = dir.filePath(QStringLiteral("copy.db"));
    QCOMPARE(w.dialogs.texts().last(), QStringLiteral("The data is backed up to %1.").arg(QDir::toNativeSeparators(copy)));
    sqlite3* h = nullptr;
    QCOMPARE(sqlite3_open(copy.toUtf8().constData(), &h), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(h, "SELECT count(*) FROM \"MINE.DB\"", -1, &st, nullptr);
    QCOMPARE(sqlite3_step(st), SQLITE_ROW);
    QCOMPARE(sqlite3_column_int64(st, 0), w.data.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\"")));
    sqlite3_finalize(st);
    sqlite3_close(h);
}

// Ctrl+Tab and Ctrl+Shift+Tab turn the page of the notebook the focus is in, through the
// same refusals as a click on its tab.
void TestMainWindow::notebookKeys_data()
{
    QTest::addColumn<bool>("project");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("sideItem");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("back");
    QTest::addColumn<int>("pageAfter");
    QTest::addColumn<int>("revegTabAfter");
    QTest::addColumn<QString>("message");
    QTest::newRow("mine to projects") << true << 0 << -1 << "ApplicantEdit" << false << 1 << -1 << "";
    QTest::newRow("projects back to mine") << true << 1 << 0 << "ProjectNameEdit" << true << 0 << -1 << "";
    QTest::newRow("mine back to the last bond page") << true << 0 << -1 << "ENRIndexEdit" << true << 4 << -1 << "";
    QTest::newRow("projects refused without a mine")
        << false << 0 << -1 << "ApplicantEdit" << false << 0 << -1 << "Must enter Mine data before a project can be entered.";
    QTest::newRow("revegetation pages") << true << 1 << 3 << "AcresSeedEdit" << false << 1 << 1 << "";
}

void TestMainWindow::notebookKeys()
{
    QFETCH(bool, project);
    QFETCH(int, page);
    QFETCH(int, sideItem);
    QFETCH(QString, focus);
    QFETCH(bool, back);
    QFETCH(int, pageAfter);
    QFETCH(int, revegTabAfter);
    QFETCH(QString, message);
    Window w;
    if (project)
        w.addMineWithProject();
    QVERIFY(w.main().MainOvcNotebook()->setCurrentIndex(page));
    if (sideItem >= 0)
        w.main().projectSideBar()->clickItem(sideItem);
    w.dialogs.shown.clear();
    auto* control = w.find<QWidget>(focus);
    control->setFocus();
    if (back)
        QTest::keyClick(control, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    else
        QTest::keyClick(control, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(w.main().MainOvcNotebook()->currentIndex(), pageAfter);
    if (revegTabAfter >= 0)
        QCOMPARE(w.find<QTabWidget>(QStringLiteral("RevegNotebook"))->currentIndex(), revegTabAfter);
    QCOMPARE(w.dialogs.texts(), message.isEmpty() ? QStringList() : QStringList{message});
}

// Messages name a field by the caption the page shows for it.
void TestMainWindow::fieldLabelMessages_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("required, emptied") << "PemitIDEdit" << "" << "Field 'Permit ID' must have a value";
    QTest::newRow("required, two words") << "PreparedByEdit" << "" << "Field 'Prepared By' must have a value";
    QTest::newRow("at least a tenth") << "ENRIndex5Edit" << "0.05" << "5 Years earlier ENR must be at least 0.1";
    QTest::newRow("current index") << "ENRIndexEdit" << "0" << "Current ENR must be at least 0.1";
    QTest::newRow("not a date") << "DateEdit" << "13/45/2024"
                                << "'13/45/2024' is not a valid date for field 'Date': enter month/day/year as 7/1/2024 "
                                   "or 07012024, or / for today";
}

void TestMainWindow::fieldLabelMessages()
{
    QFETCH(QString, control);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    Window w;
    w.addMine(QStringLiteral("Cedar Run Mining"));
    w.nav(QStringLiteral("DBNavigator1"), QStringLiteral("Edit"));
    w.dialogs.shown.clear();
    auto* e = w.find<QLineEdit>(control);
    e->setFocus();
    e->selectAll();
    if (typed.isEmpty())
        QTest::keyClick(e, Qt::Key_Delete);
    else
        QTest::keyClicks(e, typed);
    QTest::keyClick(e, Qt::Key_Return);
    if (w.dialogs.shown.isEmpty())
        w.nav(QStringLiteral("DBNavigator1"), QStringLiteral("Post"));
    QCOMPARE(w.dialogs.texts(), QStringList{message});
    for (const QString& text : w.dialogs.texts())
        QVERIFY2(!text.contains(QStringLiteral("MineT")), qPrintable(text));
}

// A side-bar item whose pending post fails leaves the page in view and the highlight on it.
void TestMainWindow::sideBarAfterFailedPost_data()
{
    QTest::addColumn<int>("item");
    QTest::newRow("demolition") << 1;
    QTest::newRow("project bond") << 5;
}

void TestMainWindow::sideBarAfterFailedPost()
{
    QFETCH(int, item);
    Window w;
    w.addMineWithProject();
    SideBar* bar = w.main().projectSideBar();
    QCOMPARE(w.main().ProjCostOvcNotebook()->currentIndex(), 0);
    w.nav(QStringLiteral("ProjectNavigator"), QStringLiteral("Insert"));
    w.dialogs.shown.clear();
    QTreeWidgetItem* target = bar->topLevelItem(0)->child(item);
    const QRect r = bar->visualItemRect(target);
    QTest::mouseClick(bar->viewport(), Qt::LeftButton, {}, r.center());
    QCOMPARE(w.dialogs.texts(), QStringList{QStringLiteral("Field 'Project Name' must have a value")});
    QCOMPARE(w.main().ProjCostOvcNotebook()->currentIndex(), 0);
    QCOMPARE(bar->currentItem(), bar->topLevelItem(0)->child(0));
    // Once the project can be posted, the same click turns the page and the highlight follows.
    w.type(QStringLiteral("ProjectNameEdit"), QStringLiteral("Haul road"));
    w.type(QStringLiteral("ProjectDateEdit"), QStringLiteral("7/1/2024"));
    QTest::mouseClick(bar->viewport(), Qt::LeftButton, {}, r.center());
    QCOMPARE(w.main().ProjCostOvcNotebook()->currentIndex(), item);
    QCOMPARE(bar->currentItem(), target);
}

// A changed figure of the mine marks the bond shown as older than its inputs until it is
// computed again; a failed computation leaves the page blank with its message.
void TestMainWindow::bondOutdatedAndFailed()
{
    Window w(1.0);  // the example data set
    QVERIFY(w.main().MainOvcNotebook()->setCurrentIndex(2));
    auto* note = w.find<QLabel>(QStringLiteral("BondOutdatedNote0"));
    auto* total = w.find<QLineEdit>(QStringLiteral("TotalBondEdit"));
    QVERIFY(!note->isVisible());
    QVERIFY(!total->text().trimmed().isEmpty());
    w.type(QStringLiteral("MobPercentEdit"), QStringLiteral("9.5"));
    QVERIFY(note->isVisible());
    QTest::mouseClick(w.find<QPushButton>(QStringLiteral("RecalBtn")), Qt::LeftButton);
    QVERIFY(!note->isVisible());
    QVERIFY(!total->text().trimmed().isEmpty());
    // Override amounts whose sum is beyond the range of money make the computation fail.
    w.dm().MineT.edit();
    for (const char* f : {"MobOver", "ContinOver"})
        w.dm().MineT.fieldByName(QLatin1String(f)).setAsBoolean(true);
    for (const char* f : {"Mob", "Contin"})
        w.dm().MineT.fieldByName(QLatin1String(f)).setAsFloat(9.0e14);
    w.dm().MineT.post();
    w.dialogs.shown.clear();
    QTest::mouseClick(w.find<QPushButton>(QStringLiteral("RecalBtn")), Qt::LeftButton);
    QVERIFY(!w.dialogs.shown.isEmpty());
    QCOMPARE(w.dialogs.shown.last().type, MsgType::Error);
    QVERIFY(total->text().isEmpty());
    QVERIFY(w.find<QLineEdit>(QStringLiteral("BTotalDemoCostEdit"))->text().isEmpty());
}

// A stored value the bond cannot use: a red note beside the amounts names it on every
// bond page until a computation no longer meets it.
void TestMainWindow::bondIncompleteNote()
{
    Window w(1.0);  // the example data set
    w.data.sql(QStringLiteral("UPDATE \"DEMOL.DB\" SET UnitCost = 'NaN' WHERE SheetID = 1"));
    QVERIFY(w.main().MainOvcNotebook()->setCurrentIndex(2));
    const QString line = QStringLiteral("DEMOL.DB, SheetID 1: UnitCost = NaN");
    for (int phase = 0; phase < 3; ++phase) {
        auto* note = w.find<QLabel>(QStringLiteral("BondIncompleteNote%1").arg(phase));
        QVERIFY(!note->isHidden());
        QVERIFY2(note->text().startsWith(QStringLiteral("Incomplete: 1 stored value(s) left out")), qPrintable(note->text()));
        QVERIFY(note->text().contains(line));
        QCOMPARE(note->palette().color(QPalette::WindowText), QColor(0xc0, 0x00, 0x00));
    }
    QVERIFY(!w.find<QLineEdit>(QStringLiteral("TotalBondEdit"))->text().trimmed().isEmpty());
    QVERIFY(w.dialogs.texts().join(QLatin1Char('\n')).contains(line));
    w.data.sql(QStringLiteral("UPDATE \"DEMOL.DB\" SET UnitCost = 4.5 WHERE SheetID = 1"));
    QTest::mouseClick(w.find<QPushButton>(QStringLiteral("RecalBtn")), Qt::LeftButton);
    for (int phase = 0; phase < 3; ++phase)
        QVERIFY(w.find<QLabel>(QStringLiteral("BondIncompleteNote%1").arg(phase))->isHidden());
    QVERIFY(w.find<QLabel>(QStringLiteral("BondIncompleteNote0Prj"))->isHidden());
}

// While a record is being edited the title carries a mark; a post or cancel takes it away.
void TestMainWindow::titleMarksAnEdit()
{
    Window w;
    w.addMine(QStringLiteral("Cedar Run Mining"));
    const QString title = w.main().windowTitle();
    QVERIFY2(title.startsWith(QStringLiteral("Tarvane -- Version:  ")) && !title.contains(QLatin1Char('*')), qPrintable(title));
    auto* e = w.find<QLineEdit>(QStringLiteral("LocationEdit"));
    e->setFocus();
    QTest::keyClicks(e, QStringLiteral("Preston"));
    QVERIFY2(w.main().windowTitle().startsWith(title + QStringLiteral("  *")), qPrintable(w.main().windowTitle()));
    w.nav(QStringLiteral("DBNavigator1"), QStringLiteral("Post"));
    QCOMPARE(w.main().windowTitle(), title);
}

// Without a web browser the cost-index link says so, naming the address.
// The arrow keys in "Select Applicant Name:" move the mine shown with the highlight.
void TestMainWindow::pickListKeysMoveTheRecord()
{
    Window w;
    w.addMine(QStringLiteral("Alder Fork Mining"));
    w.addMine(QStringLiteral("Birch Hollow Coal"));
    auto* list = w.find<QListWidget>(QStringLiteral("ApplicantList"));
    auto* applicant = w.find<QLineEdit>(QStringLiteral("ApplicantEdit"));
    QCOMPARE(list->currentItem()->text(), applicant->text());
    list->setFocus();
    const QString before = applicant->text();
    QTest::keyClick(list, before == QLatin1String("Alder Fork Mining") ? Qt::Key_Down : Qt::Key_Up);
    QTRY_VERIFY(applicant->text() != before);
    QCOMPARE(w.dm().MineT.fieldByName(QStringLiteral("Applicant")).asString(), applicant->text());
    QCOMPARE(list->currentItem()->text(), applicant->text());
    QCOMPARE(w.status(), QStringLiteral("Mine/Project:  ") + applicant->text());
}

void TestMainWindow::costIndexSiteWithoutBrowser()
{
    Window w;
    w.main().OvcURL = QStringLiteral("https://example.org/enr");
    QTest::mouseClick(w.find<QPushButton>(QStringLiteral("OvcURL1")), Qt::LeftButton);
    QCOMPARE(w.dialogs.shown.size(), 1);
    QCOMPARE(w.dialogs.shown.last().type, MsgType::Error);
    QVERIFY2(w.dialogs.texts().last().contains(QStringLiteral("https://example.org/enr")), qPrintable(w.dialogs.texts().last()));
}

// Every caption, tab, header, side-bar item and picker entry of each page reads whole at the
// window's default size and on a screen at 150 %.
void TestMainWindow::layoutFitsTexts_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("projectPage");
    QTest::addColumn<int>("revegTab");
    const char* mainPages[] = {"mine", "projects", "mine bond", "mine bond phase I", "mine bond phase II"};
    for (int p = 0; p < 5; ++p)
        if (p != 1)
            QTest::newRow(mainPages[p]) << p << -1 << -1;
    const char* projectPages[] = {"project", "demolition", "earthmoving", "revegetation", "other cost",
                                  "project bond", "project bond phase I", "project bond phase II"};
    for (int p = 0; p < 8; ++p)
        QTest::newRow(projectPages[p]) << 1 << p << -1;
    for (int t = 1; t < 4; ++t)
        QTest::newRow(qPrintable(QStringLiteral("revegetation tab %1").arg(t))) << 1 << 3 << t;
}

void TestMainWindow::layoutFitsTexts()
{
    QFETCH(int, page);
    QFETCH(int, projectPage);
    QFETCH(int, revegTab);
    Window w(1.0);  // the example mine, with projects and worksheets
    QVERIFY(w.main().MainOvcNotebook()->setCurrentIndex(page));
    if (projectPage >= 0)
        w.main().projectSideBar()->clickItem(projectPage);
    if (revegTab >= 0)
        w.find<QTabWidget>(QStringLiteral("RevegNotebook"))->setCurrentIndex(revegTab);
    const QStringList cut = LayoutCheck::cutTextsAtBothSizes(&w.main());
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
}

// Tab walks each page in the order its fields stand.
void TestMainWindow::tabOrder_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("next");
    QTest::newRow("mine page") << 0 << "ApplicantEdit"
                               << QStringList{"PemitIDEdit", "TypeOperationEdit", "LocationEdit", "DateEdit", "PreparedByEdit"};
    QTest::newRow("mine bond, an overridden row") << 2 << "MobNumberEdit"
                                                  << QStringList{"MobPercentEdit", "MobCB", "ContinPercentEdit", "ContinCB"};
}

void TestMainWindow::tabOrder()
{
    QFETCH(int, page);
    QFETCH(QString, start);
    QFETCH(QStringList, next);
    Window w(1.0);
    QVERIFY(w.main().MainOvcNotebook()->setCurrentIndex(page));
    if (page == 2) {
        w.find<QCheckBox>(QStringLiteral("MobCB"))->click();  // the amount takes the computed item's place
        QVERIFY(w.find<QWidget>(QStringLiteral("MobNumberEdit"))->isVisible());
    }
    QStringList walked;
    QWidget* at = w.find<QWidget>(start);
    while (walked.size() < next.size()) {
        at = at->nextInFocusChain();
        if (at == w.find<QWidget>(start))
            break;
        if (at->isVisible() && at->isEnabled() && (at->focusPolicy() & Qt::TabFocus) && !at->objectName().isEmpty())
            walked << at->objectName();
    }
    QCOMPARE(walked, next);
}

int main(int argc, char** argv)
{
    TarvaneApplication app(argc, argv);
    TestMainWindow t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_mainwindow.moc"
