// The reference-data editors, offscreen, on a real data file.
#include "ComputationFixture.h"
#include "DBNavigator.h"
#include "DataSetModel.h"
#include "ReferenceEditors.h"
#include "WhenShown.h"

#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QTemporaryDir>
#include "LayoutCheck.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolButton>

namespace {

void click(QWidget& editor, const QString& navigator, const QString& button)
{
    editor.findChild<DBNavigator*>(navigator)->findChild<QToolButton*>(button)->click();
}

bool enabled(QWidget& editor, const QString& control)
{
    return editor.findChild<QWidget*>(control)->isEnabled();
}

}  // namespace

class TestEditors : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        // Placements and column widths go to a settings store of this run only.
        static QTemporaryDir settings;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    }
    void equipmentCostLockingAndCascade();
    void equipmentCostCloseKeepsOpenOnFailedPost();
    void laborLocking();
    void effFactorSaveQuestion_data();
    void effFactorSaveQuestion();
    void feeEditor();
    void fileMenuExportAndImport();
    void layoutFitsTexts_data();
    void layoutFitsTexts();
};

void TestEditors::equipmentCostLockingAndCascade()
{
    World w;
    {
        EquipmentCostEditor editor(w.dm, w.comp.rules, w.dialogs);
        editor.show();
        QCOMPARE(editor.windowTitle(), QStringLiteral("Edit Equipment Cost"));
        QVERIFY(w.dm.HCompanyT.active() && w.dm.HEquipT.active() && w.dm.HCostT.active());
        QCOMPARE(editor.findChild<DBGrid*>(QStringLiteral("CompanyGrid"))->model()->rowCount(), 4);

        // A maker with two kinds and three models, entered through the grids' tables.
        w.addSheet(w.dm.HCompanyT, {{"Name", "Liebherr"}});
        w.addSheet(w.dm.HEquipT, {{"Type", "Crawler Dozer"}});
        w.addSheet(w.dm.HCostT, {{"Model", "PR 766"}, {"HourlyCost", 260.0}});
        w.addSheet(w.dm.HCostT, {{"Model", "PR 776"}, {"HourlyCost", 330.0}});
        w.addSheet(w.dm.HEquipT, {{"Type", "Wheel Loader"}});
        w.addSheet(w.dm.HCostT, {{"Model", "L 586"}, {"HourlyCost", 150.0}});

        click(editor, QStringLiteral("CostNavigator"), QStringLiteral("Edit"));
        for (const char* c : {"CompanyGrid", "EquipGrid", "CompanyNavigator", "EquipNavigator"})
            QVERIFY2(!enabled(editor, QString::fromLatin1(c)), c);
        QVERIFY(enabled(editor, QStringLiteral("CostGrid")));
        click(editor, QStringLiteral("CostNavigator"), QStringLiteral("Post"));
        for (const char* c : {"CompanyGrid", "EquipGrid", "CompanyNavigator", "EquipNavigator"})
            QVERIFY2(enabled(editor, QString::fromLatin1(c)), c);

        w.dialogs.answers = {MsgResult::Yes};
        click(editor, QStringLiteral("CompanyNavigator"), QStringLiteral("Delete"));
        QCOMPARE(w.dialogs.shown.last().buttons, MsgButtons::YesNo);
        QCOMPARE(w.count(QStringLiteral("HCOMPANY.DB"), QStringLiteral("Name = 'Liebherr'")), 0);
        QCOMPARE(w.count(QStringLiteral("HEQUIPT.DB"), QStringLiteral("COID NOT IN (SELECT COID FROM \"HCOMPANY.DB\")")), 0);
        QCOMPARE(w.count(QStringLiteral("HCOST.DB"), QStringLiteral("Model IN ('PR 766', 'PR 776', 'L 586')")), 0);
        QVERIFY(editor.close());
    }
    QVERIFY(!w.dm.HCompanyT.active() && !w.dm.HEquipT.active() && !w.dm.HCostT.active());
}

void TestEditors::equipmentCostCloseKeepsOpenOnFailedPost()
{
    World w;
    EquipmentCostEditor editor(w.dm, w.comp.rules, w.dialogs);
    editor.show();
    click(editor, QStringLiteral("CompanyNavigator"), QStringLiteral("Insert"));
    QVERIFY(!editor.close());
    QCOMPARE(w.dialogs.texts().last(), QStringLiteral("Field 'Name' must have a value"));
    QVERIFY(editor.isVisible());
    click(editor, QStringLiteral("CompanyNavigator"), QStringLiteral("Cancel"));
    QVERIFY(editor.close());
}

void TestEditors::laborLocking()
{
    World w;
    {
        LaborRatesEditor editor(w.dm, w.comp.rules, w.dialogs);
        editor.show();
        QCOMPARE(editor.windowTitle(), QStringLiteral("Labor Costs by Region"));
        click(editor, QStringLiteral("LaborNavigator"), QStringLiteral("Edit"));
        for (const char* c : {"SubRegionGrid", "RegionGrid", "RegionNavigator", "SubRegionNavigator"})
            QVERIFY2(!enabled(editor, QString::fromLatin1(c)), c);
        click(editor, QStringLiteral("LaborNavigator"), QStringLiteral("Cancel"));
        for (const char* c : {"SubRegionGrid", "RegionGrid", "RegionNavigator", "SubRegionNavigator"})
            QVERIFY2(enabled(editor, QString::fromLatin1(c)), c);
        click(editor, QStringLiteral("RegionNavigator"), QStringLiteral("Edit"));
        QVERIFY(!enabled(editor, QStringLiteral("LaborCostGrid")));
        w.dm.LaborRegionT.fieldByName(QStringLiteral("RegionName")).setAsString(QStringLiteral("Appalachia"));
        QVERIFY(editor.close());  // posts the region
    }
    QCOMPARE(w.count(QStringLiteral("LaborRegion.db"), QStringLiteral("RegionName = 'Appalachia'")), 1);
    QVERIFY(w.dm.LaborRegionT.active());  // the labor tables stay open
    w.dm.LaborCostT.edit();  // no editor open: nothing to lock, nothing fails
    w.dm.LaborCostT.cancel();
}

void TestEditors::effFactorSaveQuestion_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<qint64>("rows");
    QTest::newRow("yes saves") << int(MsgResult::Yes) << qint64(6);
    QTest::newRow("no discards") << int(MsgResult::No) << qint64(5);
}

void TestEditors::effFactorSaveQuestion()
{
    QFETCH(int, answer);
    QFETCH(qint64, rows);
    World w;
    EfficiencyFactorEditor editor(w.dm, w.dialogs);
    editor.show();
    QCOMPARE(editor.findChild<DBGrid*>(QStringLiteral("EffFactorGrid"))->model()->columnCount(), 2);
    w.dm.EffFactorT.insert();
    w.dm.EffFactorT.fieldByName(QStringLiteral("ID")).setAsInteger(6);
    w.dm.EffFactorT.fieldByName(QStringLiteral("Desc")).setAsString(QStringLiteral("35 min/hr - very poor conditions"));
    w.dialogs.answers = {static_cast<MsgResult>(answer)};
    QVERIFY(editor.close());
    QCOMPARE(w.dialogs.shown.last().text, QStringLiteral("Efficiency Factor Data NOT saved! Do you want to save?"));
    QCOMPARE(w.dialogs.shown.last().type, MsgType::Warning);
    QCOMPARE(w.dialogs.shown.last().buttons, MsgButtons::YesNo);
    QCOMPARE(w.count(QStringLiteral("EffFactor.DB")), rows);
    QCOMPARE(w.dm.EffFactorT.state(), DataSetState::Browse);
}

void TestEditors::feeEditor()
{
    World w;
    FeeTableEditor editor(w.dialogs);
    QCOMPARE(editor.windowTitle(), QStringLiteral("Tarvane -- Engineering Redesign Fee Database"));
    editor.setTable(w.dm.Graph2T, QStringLiteral("Profit & Overhead Fees"));
    editor.show();
    QCOMPARE(editor.windowTitle(), QStringLiteral("Profit & Overhead Fees"));
    auto* model = editor.findChild<DBGrid*>(QStringLiteral("FeeGrid"))->model();
    QCOMPARE(model->rowCount(), 5);
    QCOMPARE(model->columnCount(), 2);
    w.dm.Graph2T.last();
    w.dm.Graph2T.edit();
    w.dm.Graph2T.fieldByName(QStringLiteral("Percent")).setAsFloat(12.5);
    QVERIFY(editor.close());
    QCOMPARE(w.count(QStringLiteral("GRAPH2.DB"), QStringLiteral("Percent = 12.5")), 1);
}

// The labor editor's File menu: its three tables written as CSV files, a laborer added
// to one and read back after the plan's question; a bad row refuses the whole import.
void TestEditors::fileMenuExportAndImport()
{
    World w;
    QTemporaryDir dir;
    LaborRatesEditor editor(w.dm, w.comp.rules, w.dialogs);
    editor.show();
    auto* file = editor.findChild<QMenu*>(QStringLiteral("File1"));
    QVERIFY(file);
    QCOMPARE(file->title(), QStringLiteral("&File"));
    QStringList entries;
    for (QAction* a : file->actions())
        entries << a->text();
    QCOMPARE(entries, (QStringList{"Import...", "Export..."}));
    const auto chooseDirectory = [&](bool* seen) {
        whenShown<QFileDialog>(
            [&](QFileDialog& d) {
                QCOMPARE(d.fileMode(), QFileDialog::Directory);
                d.setDirectory(dir.path());
                QMetaObject::invokeMethod(&d, "accept", Qt::QueuedConnection);
            },
            seen);
    };
    bool seen = false;
    chooseDirectory(&seen);
    editor.ExportClick();
    QVERIFY(seen);
    QCOMPARE(w.dialogs.texts().last(), QStringLiteral("Exported 3 tables to %1").arg(QDir::toNativeSeparators(dir.path())));
    QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("*.csv")}, QDir::Files),
             (QStringList{"LaborCost.csv", "LaborRegion.csv", "LaborSubRegion.csv"}));

    const qint64 laborers = w.count(QStringLiteral("LaborCost.db"), QStringLiteral("1 = 1"));
    QCOMPARE(w.count(QStringLiteral("LaborSubRegion.DB"), QStringLiteral("SubRegionID = 1")), 1);
    QFile costs(QDir(dir.path()).filePath(QStringLiteral("LaborCost.csv")));
    QVERIFY(costs.open(QIODevice::Append));
    costs.write("1,,Blaster,2026-01-15,61.5\r\n");
    costs.close();
    seen = false;
    chooseDirectory(&seen);
    w.dialogs.answers = {MsgResult::Yes};
    editor.ImportClick();
    QVERIFY(seen);
    const QStringList texts = w.dialogs.texts();
    QVERIFY2(texts[texts.size() - 2].startsWith(QStringLiteral("LaborRegion.db (LaborRegion.csv): add 0, change 0, leave ")),
             qPrintable(texts[texts.size() - 2]));
    QVERIFY(texts[texts.size() - 2].contains(QStringLiteral("LaborCost.db (LaborCost.csv): add 1, change 0, leave %1\n"
                                                             "  add line %2: SubRegionID=1, Laborer=Blaster, DateOfCost=2026-01-15, HourlyCosst=61.5")
                                                 .arg(laborers)
                                                 .arg(laborers + 2)));
    QVERIFY(texts[texts.size() - 2].endsWith(QStringLiteral("\n\nImport these rows?")));
    QCOMPARE(texts.last(), QStringLiteral("Imported: 1 rows added, 0 rows changed"));
    QCOMPARE(w.count(QStringLiteral("LaborCost.db"), QStringLiteral("Laborer = 'Blaster' AND SubRegionID = 1")), 1);

    // A laborer without an hourly cost: the import is refused whole, with its line.
    QVERIFY(costs.open(QIODevice::Append));
    costs.write("1,,Driller,2026-01-15,\r\n");
    costs.close();
    seen = false;
    chooseDirectory(&seen);
    editor.ImportClick();
    QCOMPARE(w.dialogs.shown.last().type, MsgType::Error);
    QCOMPARE(w.dialogs.texts().last(),
             QStringLiteral("The reference data of %1 is not imported; nothing was changed:\nLaborCost.csv line %2: Field "
                            "'HourlyCosst' must have a value")
                 .arg(dir.path())
                 .arg(laborers + 3));
    QCOMPARE(w.count(QStringLiteral("LaborCost.db"), QStringLiteral("Laborer = 'Blaster'")), 1);
    QVERIFY(editor.close());
}

// Every editor reads whole, headers and columns in sight, at its default size and on a screen at 150 %.
void TestEditors::layoutFitsTexts_data()
{
    QTest::addColumn<int>("editor");
    QTest::newRow("equipment cost") << 0;
    QTest::newRow("labor") << 1;
    QTest::newRow("efficiency factor") << 2;
    QTest::newRow("fees") << 3;
}

void TestEditors::layoutFitsTexts()
{
    QFETCH(int, editor);
    World w;
    std::unique_ptr<QWidget> window;
    if (editor == 0)
        window = std::make_unique<EquipmentCostEditor>(w.dm, w.comp.rules, w.dialogs);
    else if (editor == 1)
        window = std::make_unique<LaborRatesEditor>(w.dm, w.comp.rules, w.dialogs);
    else if (editor == 2)
        window = std::make_unique<EfficiencyFactorEditor>(w.dm, w.dialogs);
    else {
        auto fees = std::make_unique<FeeTableEditor>(w.dialogs);
        fees->setTable(w.dm.Graph2T, QStringLiteral("Profit & Overhead Fees"));
        window = std::move(fees);
    }
    const QStringList cut = LayoutCheck::cutTextsAtBothSizes(window.get());
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestEditors)
#include "tst_editors.moc"
