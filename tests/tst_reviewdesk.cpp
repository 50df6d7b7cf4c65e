// The reviewer's desk in the desktop program: where a shown amount comes from (from
// the bond pages and the worksheet totals, by right-click), the comparison window
// and its printed report, the re-priced copy, and an estimate brought in through
// the File menu.
#include "ComparisonWindow.h"
#include "EquipmentListWindow.h"
#include "ExplanationWindow.h"
#include "MainWindowFixture.h"
#include "Money.h"
#include "ReportOutput.h"
#include "WhenShown.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSortFilterProxyModel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeView>

class TestReviewDesk : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void explainFromABondPage();
    void explainAWorksheetTotal();
    void searchAndGoToAMachine();
    void explainAMachineOfTheEquipmentList();
    void compareAndPrint();
    void repriceOpensTheComparison();
    void importFromTheFileMenu();
};

namespace {

QAction* explainAction(QWidget* control)
{
    for (QAction* a : control->actions())
        if (a->objectName() == QLatin1String("ExplainAmount1"))
            return a;
    return nullptr;
}

// The amount a field shows, as money.
double shownAmount(const QLineEdit* e)
{
    bool ok = false;
    const double v = MoneyTextToFloat(e->text(), &ok);
    return ok ? v : -1;
}

// Every row of a view's model, depth first.
void eachRow(const QAbstractItemModel& m, const QModelIndex& parent, const std::function<void(const QModelIndex&)>& f)
{
    for (int r = 0; r < m.rowCount(parent); ++r) {
        const QModelIndex i = m.index(r, 0, parent);
        f(i);
        eachRow(m, i, f);
    }
}

}  // namespace

// Right-click on the total bond amount offers "Explain this amount..." above "What's
// this?"; the tree it opens is of that amount and is what the clipboard gets.
void TestReviewDesk::explainFromABondPage()
{
    Window w(1.0);
    QVERIFY(w.main().MainOvcNotebook()->setCurrentIndex(2));
    auto* total = w.find<QLineEdit>(QStringLiteral("TotalBondEdit"));
    QMenu* offered = nullptr;
    QTimer::singleShot(0, [&] {
        for (QWidget* t : QApplication::topLevelWidgets())
            if (t->objectName() == QLatin1String("WhatsThisMenu") && t->isVisible())
                offered = qobject_cast<QMenu*>(t);
        if (offered)
            offered->close();
    });
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), total->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(total, &click);
    QApplication::processEvents();
    QVERIFY(offered);
    const QList<QAction*> items = offered->actions();
    QCOMPARE(items.size(), 3);
    QCOMPARE(items[0]->text(), QStringLiteral("Explain this amount..."));
    QVERIFY(items[1]->isSeparator());
    QCOMPARE(items[2]->text(), QStringLiteral("What's this?"));

    items[0]->trigger();
    ExplanationWindow* window = w.main().explanationWindow();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->root()->label, QStringLiteral("Item 13, Total bond amount"));
    QCOMPARE(qRound64(window->root()->value * 100), qRound64(shownAmount(total) * 100));
    window->findChild<QPushButton*>(QStringLiteral("CopyBtn"))->click();
    QCOMPARE(QApplication::clipboard()->text(), explainText(*window->root(), -1));
    QVERIFY(QApplication::clipboard()->text().startsWith(QStringLiteral("Item 13, Total bond amount")));
}

// A worksheet total explains as the project's item of its kind: the same amount.
void TestReviewDesk::explainAWorksheetTotal()
{
    Window w(1.0);
    QVERIFY(w.main().MainOvcNotebook()->setCurrentIndex(1));
    QVERIFY(w.main().ProjCostOvcNotebook()->setCurrentIndex(2));  // earthmoving
    auto* total = w.find<QLineEdit>(QStringLiteral("TotalMatCostEdit"));
    QAction* explain = explainAction(total);
    QVERIFY(explain);
    explain->trigger();
    const ExplainNode* root = w.main().explanationWindow()->root();
    QVERIFY(root);
    QCOMPARE(root->label, QStringLiteral("Item 2, Total earthmoving cost"));
    QCOMPARE(qRound64(root->value * 100), qRound64(shownAmount(total) * 100));
    QVERIFY(root->addsUp());

    // A product of the revegetation page explains as the row shown: its own cost's formula.
    QVERIFY(w.main().ProjCostOvcNotebook()->setCurrentIndex(3));
    QAction* product = explainAction(w.find<QLineEdit>(QStringLiteral("Field1")));
    QVERIFY(product);
    product->trigger();
    const ExplainNode* row = w.main().explanationWindow()->root();
    QCOMPARE(row->source.table, QStringLiteral("REVEG.DB"));
    QCOMPARE(row->source.key, qint64(w.dm().RevegT.fieldByName(QStringLiteral("SheetID")).asInteger()));
    QVERIFY(row->addsUp());
    QVERIFY(!row->parts.empty());
    QVERIFY(row->parts.front()->ruleText().startsWith(QStringLiteral("seeding ")));
}

// The search keeps the rows that match and the rows above them; double-clicking a
// machine goes to its worksheet row and opens the equipment list on it.
void TestReviewDesk::searchAndGoToAMachine()
{
    Window w(1.0);
    QVERIFY(w.main().MainOvcNotebook()->setCurrentIndex(2));
    explainAction(w.find<QLineEdit>(QStringLiteral("TotalBondEdit")))->trigger();
    ExplanationWindow* window = w.main().explanationWindow();
    auto* tree = window->findChild<QTreeView*>(QStringLiteral("ExplainTree"));
    window->findChild<QLineEdit*>(QStringLiteral("ExplainSearch"))->setText(QStringLiteral("Equipment.DB"));
    const QAbstractItemModel& shown = *tree->model();
    int rows = 0, matches = 0;
    QModelIndex machine;
    eachRow(shown, {}, [&](const QModelIndex& i) {
        ++rows;
        const QString stored = i.siblingAtColumn(3).data().toString();
        if (stored.startsWith(QLatin1String("Equipment.DB"))) {
            ++matches;
            if (!machine.isValid())
                machine = i;
        } else {
            QVERIFY(shown.rowCount(i) > 0);  // kept only for a match below it
        }
    });
    QVERIFY(matches > 0);
    QVERIFY(rows > matches);
    const qint64 plan = machine.siblingAtColumn(3).data().toString().section(QLatin1Char(' '), 2, 2).remove(QLatin1Char(':')).toLongLong();
    QVERIFY(plan > 0);

    bool listed = false;
    qint64 standing = -1;
    whenShown<QDialog>(
        [&](QDialog& d) {
            if (d.objectName() != QLatin1String("TEquipLaborForm"))
                return;
            standing = w.dm().EquipDemoT.active() ? -2 : -3;
            for (Table* t : {&w.dm().EquipDemoT, &w.dm().EquipMatT, &w.dm().EquipRevegT})
                if (t->active() && !t->isEmpty() && t->fieldByName(QStringLiteral("PlanID")).asInteger() == plan)
                    standing = plan;
            d.reject();
        },
        &listed);
    tree->scrollTo(machine);
    const QPoint at = tree->visualRect(machine).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
    QVERIFY(listed);
    QCOMPARE(standing, plan);
    QCOMPARE(w.main().MainOvcNotebook()->currentIndex(), 1);
    QVERIFY(w.main().ProjCostOvcNotebook()->currentIndex() >= 1);
}

// In the equipment list, the total cost of the machine shown explains as hours x (equipment +
// labor cost), the same amount the list shows.
void TestReviewDesk::explainAMachineOfTheEquipmentList()
{
    Window w(1.0);
    QVERIFY(w.main().MainOvcNotebook()->setCurrentIndex(1));
    QVERIFY(w.main().ProjCostOvcNotebook()->setCurrentIndex(2));  // earthmoving
    bool seen = false;
    double shown = -1;
    const ExplainNode* root = nullptr;
    whenShown<EquipmentListWindow>(
        [&](EquipmentListWindow& list) {
            auto* total = list.findChild<QLineEdit*>(QStringLiteral("TotalCostEdit"));
            shown = shownAmount(total);
            explainAction(total)->trigger();
            if (list.explanationWindow())
                root = list.explanationWindow()->root();
            list.reject();
        },
        &seen);
    w.main().EnterEquipBtnClick();
    QVERIFY(seen);
    QVERIFY(root);
    QCOMPARE(qRound64(root->value * 100), qRound64(shown * 100));
    QVERIFY(root->ruleText().startsWith(QStringLiteral("hours x (equipment + labor cost) = ")));
    QCOMPARE(root->parts.size(), size_t(2));
    QVERIFY(root->addsUp());
}

// Compare with... against the mine itself says they are equal; against a changed copy
// it names the machine; the comparison prints to a PDF that reads back.
void TestReviewDesk::compareAndPrint()
{
    Window w(1.0);
    const int mine = w.dm().MineT.fieldByName(QStringLiteral("MineID")).asInteger();
    QVERIFY(w.main().MainOvcNotebook()->setCurrentIndex(2));
    QVERIFY(w.main().MainOvcNotebook()->setCurrentIndex(0));
    w.find<QPushButton>(QStringLiteral("CompareWithBtn"))->click();
    ComparisonWindow* window = w.main().comparisonWindow();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->withMine(), mine);
    window->findChild<QPushButton*>(QStringLiteral("CompareBtn"))->click();
    QCOMPARE(window->findChild<QLabel*>(QStringLiteral("ComparisonSummary"))->text(), QStringLiteral("The estimates are equal."));

    // Against a copy made by the command line, one machine of the copy changed.
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TARVANE_ENGINE_CFG"), w.data.configPath);
    cli.setProcessEnvironment(env);
    cli.start(QStringLiteral(TARVANE_CLI), {QStringLiteral("copy"), QStringLiteral("--mine"), QString::number(mine),
                                            QStringLiteral("--data"), w.data.dataDir});
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 0);
    const qint64 copy = w.data.scalar(QStringLiteral("SELECT max(MineID) FROM \"MINE.DB\""));
    w.data.sql(QStringLiteral("UPDATE \"Equipment.DB\" SET OperatCost = OperatCost + 15 WHERE PlanID = (SELECT min(e.PlanID) "
                              "FROM \"Equipment.DB\" e JOIN \"MATERIAL.DB\" s ON s.SheetID = e.SheetID AND e.CostType = 'M' "
                              "JOIN \"PROJECT.DB\" p ON p.PrjID = s.PrjID WHERE p.MineID = %1)").arg(copy));
    w.dm().TarvaneDatabase.checkExternalWrites(true);
    window->setMine(mine);  // the list of mines again, with the copy
    auto* with = window->findChild<QComboBox*>(QStringLiteral("WithMineCombo"));
    with->setCurrentIndex(with->findData(static_cast<int>(copy)));
    QCOMPARE(window->withMine(), static_cast<int>(copy));
    window->findChild<QPushButton*>(QStringLiteral("CompareBtn"))->click();
    const MineComparison& c = window->comparison();
    QVERIFY(!c.equal());
    auto* records = window->findChild<QTableWidget*>(QStringLiteral("RecordsTable"));
    bool machineNamed = false;
    for (int r = 0; r < records->rowCount(); ++r)
        machineNamed |= records->item(r, 2)->text().startsWith(QStringLiteral("OperatCost "));
    QVERIFY(machineNamed);
    // Double-clicking the changed machine goes to it in the main window: the equipment list on it.
    int machineRow = -1;
    for (int r = 0; r < records->rowCount(); ++r)
        if (records->item(r, 2)->text().startsWith(QStringLiteral("OperatCost ")))
            machineRow = r;
    bool listed = false;
    qint64 standing = -1;
    whenShown<EquipmentListWindow>(
        [&](EquipmentListWindow& list) {
            standing = w.dm().EquipMatT.fieldByName(QStringLiteral("PlanID")).asInteger();
            list.reject();
        },
        &listed);
    Q_EMIT records->cellDoubleClicked(machineRow, 1);
    QVERIFY(listed);
    QCOMPARE(standing, c.records[machineRow].keyBefore);
    auto* items = window->findChild<QTableWidget*>(QStringLiteral("ItemsTable"));
    QCOMPARE(items->item(12, 2)->text(), c.before.amountText(13).trimmed());
    // The bond pages go on showing the mine shown, not the last mine compared.
    QCOMPARE(w.find<QLineEdit>(QStringLiteral("TotalBondEdit"))->text().trimmed(), c.before.amountText(13).trimmed());

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("comparison.pdf"));
    bool seen = false;
    whenShown<ReportSetupDialog>(
        [&](ReportSetupDialog& d) {
            d.findChild<QRadioButton*>(QStringLiteral("PdfRB"))->click();
            d.findChild<QLineEdit*>(QStringLiteral("PathEdit"))->setText(pdf);
            d.accept();
        },
        &seen);
    window->findChild<QPushButton*>(QStringLiteral("PrintBtn"))->click();
    QVERIFY(seen);
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    QVERIFY2(text.contains(QStringLiteral("Comparison of Two Estimates")), qPrintable(text));
    QVERIFY(text.contains(c.before.amountText(13).trimmed()));
    QVERIFY(text.contains(c.after.amountText(13).trimmed()));
    QVERIFY(text.contains(QStringLiteral("changed")));
}

// Re-price at Current Costs... takes the index typed, makes the copy and opens the
// comparison of the two with what it did.
void TestReviewDesk::repriceOpensTheComparison()
{
    Window w(1.0);
    w.data.sql(QStringLiteral("INSERT INTO \"HCOST.DB\" (ID, Model, Specifications, DateOfCost, HourlyCost) SELECT ID, "
                              "Model, Specifications, '2025-07-01', HourlyCost + 10 FROM \"HCOST.DB\""));
    const int mine = w.dm().MineT.fieldByName(QStringLiteral("MineID")).asInteger();
    const QString before = w.data.text(QStringLiteral("SELECT group_concat(OperatCost) FROM \"Equipment.DB\""));
    w.dialogs.inputs = {{QStringLiteral("0")}, {QStringLiteral("13950")}};
    w.find<QPushButton>(QStringLiteral("RepriceBtn"))->click();
    QVERIFY(w.dialogs.texts().last().contains(QStringLiteral("must be a number from 0.1 to 9,999,999,999.99, not '0'")));
    QVERIFY(!w.main().comparisonWindow());
    w.find<QPushButton>(QStringLiteral("RepriceBtn"))->click();
    ComparisonWindow* window = w.main().comparisonWindow();
    QVERIFY(window && window->isVisible());
    const int copy = window->withMine();
    QVERIFY(copy > mine);
    QCOMPARE(w.data.real(QStringLiteral("SELECT ENRIndex FROM \"MINE.DB\" WHERE MineID = %1").arg(copy)), 13950.0);
    QVERIFY(window->findChild<QLabel*>(QStringLiteral("ComparisonNote"))->text().startsWith(
        QStringLiteral("Mine %1 is mine %2 re-priced: ").arg(copy).arg(mine)));
    QVERIFY(!window->comparison().equal());
    QVERIFY(window->comparison().itemDiffers(13));
    // The source's machines are as they were: only the copy's rows were added.
    QVERIFY(w.data.text(QStringLiteral("SELECT group_concat(OperatCost) FROM \"Equipment.DB\"")).startsWith(before));
}

// File > Import Mine from Data File... brings a mine of another data file in, asking
// whether to bring its differing reference rows; a file that is not one is refused.
void TestReviewDesk::importFromTheFileMenu()
{
    Window w;
    TempData there;
    there.sql(QStringLiteral("UPDATE \"HCOST.DB\" SET HourlyCost = 210 WHERE Model = 'D8'"));
    const qint64 mines = w.data.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\""));
    w.dialogs.inputs = {{QStringLiteral("1")}};
    w.dialogs.answers = {MsgResult::Yes};
    w.main().importMineFrom(there.dataDir);
    QCOMPARE(w.data.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\"")), mines + 1);
    QVERIFY(w.dialogs.prompts.last().contains(QStringLiteral("Laurel Ridge")));
    const QStringList texts = w.dialogs.texts();
    QVERIFY(texts[texts.size() - 2].contains(QStringLiteral("Caterpillar, Crawler Dozer -- D8 (priced differently)")));
    QVERIFY(texts.last().contains(QStringLiteral("is brought in as mine %1").arg(mines + 1)));
    QCOMPARE(w.data.real(QStringLiteral("SELECT HourlyCost FROM \"HCOST.DB\" WHERE Model = 'D8'")), 210.0);

    QTemporaryDir junk;
    QFile letter(QDir(junk.path()).filePath(QStringLiteral("TarvaneData.db")));
    QVERIFY(letter.open(QIODevice::WriteOnly));
    letter.write("not a data file\n");
    letter.close();
    w.main().importMineFrom(junk.path());
    QVERIFY(w.dialogs.texts().last().contains(QStringLiteral("cannot be read as a Tarvane data file")));
    QCOMPARE(w.data.scalar(QStringLiteral("SELECT count(*) FROM \"MINE.DB\"")), mines + 1);
}

int main(int argc, char** argv)
{
    TarvaneApplication app(argc, argv);
    TestReviewDesk t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_reviewdesk.moc"
