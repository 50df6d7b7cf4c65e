// The volume calculator and the side tools beside the main window, the worksheet
// equipment list and the cost wizard, offscreen, on a real data file.
#include "DeskCalculatorWindow.h"
#include "EquipmentListWindow.h"
#include "CostWizard.h"
#include "MainWindowFixture.h"
#include "LayoutCheck.h"
#include "TruckCalculatorWindow.h"
#include "CopyBondDialog.h"
#include "SideBar.h"
#include "VolumeCalculatorWindow.h"
#include "VolumeSections.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <memory>

namespace {

struct Tools : Window {
    Tools()
    {
        addMineWithProject();
        volume().show();
        QTest::qWait(0);
    }
    VolumeCalculatorWindow& volume() { return *ctx.VolumeForm; }
    QWidget* control(const QString& name) { return volume().findChild<QWidget*>(name); }
    QLineEdit* field(const QString& name) { return volume().findChild<QLineEdit*>(name); }
    void click(const QString& navigator, const QString& button)
    {
        volume().findChild<DBNavigator*>(navigator)->findChild<QToolButton*>(button)->click();
        QTest::qWait(0);  // the section panels follow
    }
    // Types into a field of the volume window as the user does, then Return.
    void typeIn(QLineEdit* e, const QString& text)
    {
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, text);
        QTest::keyClick(e, Qt::Key_Return);
        QTest::qWait(0);
    }
    // The panel that edits the current section.
    QLineEdit* live(const char* name)
    {
        return control(QStringLiteral("CurrentSectionPanel"))->findChild<QLineEdit*>(QLatin1String(name));
    }
    // A new volume set, posted: the sections are enabled once the project has one.
    void newSet(const QString& name, bool post = true)
    {
        click(QStringLiteral("VolumeSetNavigator"), QStringLiteral("Insert"));
        typeIn(field(QStringLiteral("VolumeNameEdit")), name);
        if (post)
            click(QStringLiteral("VolumeSetNavigator"), QStringLiteral("Post"));
    }
    // A new section typed into the current panel; an empty text leaves that field empty.
    void newSection(const QString& name, const QString& endArea, const QString& distance, const QString& factor)
    {
        click(QStringLiteral("SectionNavigator"), QStringLiteral("Insert"));
        typeIn(live("CrossSectionNameEdit"), name);
        const std::pair<const char*, QString> values[] = {
            {"EndAreaEdit", endArea}, {"DistanceEdit", distance}, {"AdjustmentFactorEdit", factor}};
        for (const auto& [f, v] : values)
            if (!v.isEmpty())
                typeIn(live(f), v);
    }
};

// Runs `script` inside the next modal window that `open` shows, then closes that window.
void insideModal(const std::function<void()>& open, const std::function<void(QDialog&)>& script)
{
    QTimer::singleShot(0, [script] {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(modal);
        QTest::qWait(20);  // its activation has run
        script(*modal);
        if (modal->isVisible())
            modal->close();
    });
    open();
}

// Whether a window is blocked by a modal window now.
struct BlockWatch : QObject {
    bool blocked = false;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::WindowBlocked || e->type() == QEvent::WindowUnblocked)
            blocked = e->type() == QEvent::WindowBlocked;
        return false;
    }
};

}  // namespace

class TestToolWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void sectionVolume_data();
    void sectionVolume();
    void totalAddsRoundedVolumes();
    void enablingFollowsVolumeSets();
    void enteringSectionsPostsTheSet();
    void closingPostsSectionThenDemolition();
    void totalDroppedOnWizard_data();
    void totalDroppedOnWizard();
    void reopenedAroundListAndWizard();
    void layoutFitsTexts_data();
    void layoutFitsTexts();
};

void TestToolWindows::initTestCase()
{
    static QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QStandardPaths::setTestModeEnabled(true);
}

void TestToolWindows::sectionVolume_data()
{
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<double>("stored");
    QTest::newRow("factor 1") << "1" << "3.70" << 3.70;
    QTest::newRow("factor 2") << "2" << "7.41" << 7.41;
    QTest::newRow("no factor entered") << "" << "0.00" << 0.0;
}

// End area 10 sq ft, distance 10 ft: ( 10 X 10 X factor ) / 27, two decimals.
void TestToolWindows::sectionVolume()
{
    QFETCH(QString, factor);
    QFETCH(QString, shown);
    QFETCH(double, stored);
    Tools w;
    QCOMPARE(w.volume().windowTitle(), QStringLiteral("Volume Calculator"));
    w.newSet(QStringLiteral("Box Cut"));
    w.newSection(QStringLiteral("Station 0+00"), QStringLiteral("10"), QStringLiteral("10"), factor);
    QCOMPARE(w.live("VolumeEdit")->text(), shown);
    QVERIFY(w.live("VolumeEdit")->isReadOnly());
    w.click(QStringLiteral("SectionNavigator"), QStringLiteral("Post"));
    QCOMPARE(w.dm().VolT.fieldByName(QStringLiteral("Volume")).asFloat(), stored);
    QCOMPARE(w.live("VolumeEdit")->text(), shown);
    QVERIFY(w.dialogs.shown.isEmpty());
}

void TestToolWindows::totalAddsRoundedVolumes()
{
    Tools w;
    w.newSet(QStringLiteral("Box Cut"));
    auto* total = w.field(QStringLiteral("TotalVolumeEdit"));
    auto* button = w.volume().findChild<QPushButton*>(QStringLiteral("TotalAllVolumesBtn"));
    QTest::mouseClick(button, Qt::LeftButton);  // no sections yet
    QCOMPARE(w.volume().totalVolume(), 0.0);
    QCOMPARE(total->text(), QStringLiteral("0.00"));
    // Three sections of 1 x 1 x 1 / 27 = 0.037 cyd each show 0.04: the total is 0.12, not 0.11.
    for (const char* name : {"A", "B", "C"})
        w.newSection(QLatin1String(name), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"));
    w.newSection(QStringLiteral("D"), QStringLiteral("1,000"), QStringLiteral("27"), QStringLiteral("1.5"));
    // The total posts the section still being inserted first.
    QVERIFY(w.dm().VolT.isEditing());
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(!w.dm().VolT.isEditing());
    QCOMPARE(w.volume().totalVolume(), 1500.12);
    QCOMPARE(total->text(), QStringLiteral("1,500.12"));
    QCOMPARE(w.dm().VolT.fieldByName(QStringLiteral("CrossSectionName")).asString(), QStringLiteral("D"));
    // Three panels show the last three sections, the current one in the editing panel.
    VolumeSectionList* list = w.volume().sections();
    QTRY_COMPARE(list->topRow(), 1);
    QCOMPARE(list->currentPanel(), 2);
    QCOMPARE(list->panelTexts(0), (QStringList{"B", "1.0", "1.0", "1.0", "0.04"}));
    QCOMPARE(list->panelTexts(2), (QStringList{"D", "1,000.0", "27.0", "1.5", "1,500.00"}));
    // A click on a panel makes its section current; the list scrolls to keep it shown.
    list->panelClicked(0);
    QTest::qWait(0);
    QCOMPARE(w.dm().VolT.fieldByName(QStringLiteral("CrossSectionName")).asString(), QStringLiteral("B"));
    QTest::keyClick(w.live("DistanceEdit"), Qt::Key_Up);
    QTest::qWait(0);
    QCOMPARE(w.dm().VolT.fieldByName(QStringLiteral("CrossSectionName")).asString(), QStringLiteral("A"));
    QCOMPARE(list->topRow(), 0);
    QCOMPARE(list->currentPanel(), 0);
    QVERIFY(w.dialogs.shown.isEmpty());
}

void TestToolWindows::enablingFollowsVolumeSets()
{
    Tools w;
    const QStringList controls{QStringLiteral("SectionList"), QStringLiteral("SectionNavigator"),
                               QStringLiteral("TotalAllVolumesBtn")};
    for (const QString& c : controls)
        QVERIFY2(!w.control(c)->isEnabled(), qPrintable(c));
    // The first set posted enables them at once.
    w.newSet(QStringLiteral("Haul Road"), false);
    for (const QString& c : controls)
        QVERIFY2(!w.control(c)->isEnabled(), qPrintable(c));
    w.click(QStringLiteral("VolumeSetNavigator"), QStringLiteral("Post"));
    for (const QString& c : controls)
        QVERIFY2(w.control(c)->isEnabled(), qPrintable(c));
    // Another project without sets: activation disables them again.
    w.dm().ProjectT.insert();
    w.dm().ProjectT.fieldByName(QStringLiteral("ProjectName")).setAsString(QStringLiteral("Second Pit"));
    w.dm().ProjectT.fieldByName(QStringLiteral("Date")).setAsDate(QDate(2024, 7, 1));
    w.dm().ProjectT.post();
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&w.volume(), &activate);
    for (const QString& c : controls)
        QVERIFY2(!w.control(c)->isEnabled(), qPrintable(c));
}

void TestToolWindows::enteringSectionsPostsTheSet()
{
    Tools w;
    w.newSet(QStringLiteral("Pond"));
    w.newSet(QStringLiteral("Second pond"), false);
    QCOMPARE(w.dm().CrossSecT.state(), DataSetState::Insert);
    // The focus moving into the section list posts the set, which gets its key.
    w.volume().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.volume()));
    w.live("CrossSectionNameEdit")->setFocus();
    QTest::qWait(0);
    QCOMPARE(w.dm().CrossSecT.state(), DataSetState::Browse);
    const int set = w.dm().CrossSecT.fieldByName(QStringLiteral("CrossID")).asInteger();
    QVERIFY(set > 0);
    // So does a press on the section navigator, before its action.
    w.click(QStringLiteral("VolumeSetNavigator"), QStringLiteral("Edit"));
    w.typeIn(w.field(QStringLiteral("VolumeNameEdit")), QStringLiteral("Pond 2"));
    QTest::qWait(0);
    QVERIFY(w.dm().CrossSecT.isEditing());
    auto* insert = w.volume().findChild<DBNavigator*>(QStringLiteral("SectionNavigator"))->findChild<QToolButton*>(
        QStringLiteral("Insert"));
    QTest::mouseClick(insert, Qt::LeftButton);
    QCOMPARE(w.dm().CrossSecT.state(), DataSetState::Browse);
    QCOMPARE(w.dm().VolT.state(), DataSetState::Insert);
    QCOMPARE(w.dm().VolT.fieldByName(QStringLiteral("CrossID")).asInteger(), set);
    // The cursor waits in the new section's name.
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.live("CrossSectionNameEdit")));
    QCOMPARE(w.data.scalar(QStringLiteral("SELECT count(*) FROM \"CrossSections.db\" WHERE CrossID = %1 AND "
                                          "VolumeName = 'Pond 2'")
                               .arg(set)),
             1);
    QVERIFY(w.dialogs.shown.isEmpty());
}

void TestToolWindows::closingPostsSectionThenDemolition()
{
    Tools w;
    w.newSet(QStringLiteral("Tipple"));
    w.newSection(QStringLiteral("S1"), QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("1"));
    // A demolition row being edited in the main window.
    w.main().projectSideBar()->clickItem(1);
    w.nav(QStringLiteral("DemolNavigator"), QStringLiteral("Insert"));
    w.type(QStringLiteral("ItemEdit"), QStringLiteral("Tipple"));
    w.type(QStringLiteral("TypeMaterialEdit"), QStringLiteral("Steel"));
    w.type(QStringLiteral("VolumeEdit"), QStringLiteral("300"));
    w.type(QStringLiteral("UnitCostEdit"), QStringLiteral("$2.50"));
    QVERIFY(w.dm().DemolT.isEditing() && w.dm().VolT.isEditing());
    w.main().ReopenVolume = true;
    QVERIFY(w.volume().close());
    QVERIFY(!w.dm().VolT.isEditing());
    QVERIFY(!w.dm().DemolT.isEditing());
    QVERIFY(!w.main().ReopenVolume);
    QCOMPARE(w.data.scalar(QStringLiteral("SELECT count(*) FROM \"Volume.db\" WHERE CrossSectionName = 'S1'")), 1);
    QCOMPARE(w.data.scalar(QStringLiteral("SELECT Volume FROM \"DEMOL.DB\" WHERE Item = 'Tipple'")), 300);
    // Shown again, it is the same window with the same total.
    QTest::mouseClick(w.volume().findChild<QPushButton*>(QStringLiteral("TotalAllVolumesBtn")), Qt::LeftButton);
    QVERIFY(w.volume().close());
    w.main().findChild<QAction*>(QStringLiteral("VolumeCalculator1"))->trigger();
    QVERIFY(w.volume().isVisible());
    QCOMPARE(w.field(QStringLiteral("TotalVolumeEdit"))->text(), QStringLiteral("3.70"));
}

void TestToolWindows::totalDroppedOnWizard_data()
{
    QTest::addColumn<bool>("editing");
    QTest::newRow("browsed row: posted at once") << false;
    QTest::newRow("edited row: posted with the rest") << true;
}

void TestToolWindows::totalDroppedOnWizard()
{
    QFETCH(bool, editing);
    Tools w;
    w.newSet(QStringLiteral("Spoil"));
    w.newSection(QStringLiteral("S1"), QStringLiteral("100"), QStringLiteral("27"), QStringLiteral("1"));
    QTest::mouseClick(w.volume().findChild<QPushButton*>(QStringLiteral("TotalAllVolumesBtn")), Qt::LeftButton);
    QCOMPARE(w.volume().totalVolume(), 100.0);
    std::unique_ptr<QMimeData> drag(w.volume().totalField()->dragData());
    QVERIFY(drag);

    // A loader row of an earthmoving worksheet, shown in the wizard's view/edit mode.
    w.main().projectSideBar()->clickItem(2);
    w.nav(QStringLiteral("MatNavigator"), QStringLiteral("Insert"));
    w.type(QStringLiteral("DescriptionEdit"), QStringLiteral("Load Spoil"));
    w.nav(QStringLiteral("MatNavigator"), QStringLiteral("Post"));
    DataModule& dm = w.dm();
    dm.EquipMatT.insert();
    dm.EquipMatT.fieldByName(QStringLiteral("EquipmentName")).setAsString(QStringLiteral("Loader 1"));
    dm.EquipMatT.fieldByName(QStringLiteral("EquipCode2")).setAsInteger(6);
    dm.EquipMatT.post();
    const int plan = dm.EquipMatT.fieldByName(QStringLiteral("PlanID")).asInteger();
    const QString storedVolume =
        QStringLiteral("SELECT count(*) FROM \"Equipment.DB\" WHERE PlanID = %1 AND Volume = 100").arg(plan);
    EquipmentListWindow& list = *w.ctx.EquipLaborForm;
    insideModal([&] { w.main().EnterEquipBtnClick(); }, [&](QDialog&) {
        insideModal([&] { list.ViewWorksheetBtnClick(); }, [&](QDialog& wizard) {
            auto* volumeField = wizard.findChild<QLineEdit*>(QStringLiteral("VolumeEdit6"));
            auto* haulField = wizard.findChild<QLineEdit*>(QStringLiteral("HaulTEdit6"));
            QVERIFY(volumeField && haulField && volumeField->isVisible());
            if (editing)
                dm.EquipMatT.edit();
            // Other fields refuse the total; the volume field takes it.
            for (QLineEdit* e : {haulField, volumeField}) {
                QDragEnterEvent enter(QPoint(4, 4), Qt::CopyAction, drag.get(), Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(e, &enter);
                QCOMPARE(enter.isAccepted(), e == volumeField);
            }
            QDropEvent drop(QPointF(4, 4), Qt::CopyAction, drag.get(), Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(volumeField, &drop);
            QVERIFY(drop.isAccepted());
            QCOMPARE(dm.EquipMatT.fieldByName(QStringLiteral("Volume")).asFloat(), 100.0);
            QCOMPARE(dm.EquipMatT.isEditing(), editing);
            QCOMPARE(w.data.scalar(storedVolume), editing ? 0 : 1);
            if (editing)
                dm.EquipMatT.post();  // as the wizard's finish does
        });
    });
    QCOMPARE(w.data.scalar(storedVolume), 1);
}

void TestToolWindows::reopenedAroundListAndWizard()
{
    Tools w;
    VolumeCalculatorWindow& volume = w.volume();
    DeskCalculatorWindow& calculator = *w.ctx.CalculatorForm;
    w.main().findChild<QAction*>(QStringLiteral("Calculator1"))->trigger();
    QVERIFY(volume.isVisible() && calculator.isVisible());
    w.main().projectSideBar()->clickItem(2);
    w.nav(QStringLiteral("MatNavigator"), QStringLiteral("Insert"));
    w.type(QStringLiteral("DescriptionEdit"), QStringLiteral("Replace Topsoil"));
    BlockWatch watch;
    volume.installEventFilter(&watch);
    calculator.installEventFilter(&watch);
    EquipmentListWindow& list = *w.ctx.EquipLaborForm;
    bool inList = false, inWizard = false;
    insideModal([&] { w.main().EnterEquipBtnClick(); }, [&](QDialog& listWindow) {
        inList = true;
        // Closed before the list showed, marked, and shown again beside it on its activation.
        QVERIFY(w.main().ReopenVolume && w.main().ReopenCalculator);
        QVERIFY(volume.isVisible() && calculator.isVisible());
        QCOMPARE(volume.parentWidget(), &listWindow);
        // Kept above the list by the window manager: dialog-type windows that name it as their owner.
        for (QWidget* side : {static_cast<QWidget*>(&volume), static_cast<QWidget*>(&calculator)}) {
            QCOMPARE(side->windowType(), Qt::Dialog);
            QVERIFY(side->windowHandle() && side->windowHandle()->transientParent() == listWindow.windowHandle());
        }
        QVERIFY(!watch.blocked);
        insideModal([&] { list.AddEquipment(6); }, [&](QDialog& wizard) {
            inWizard = true;
            QCOMPARE(&wizard, static_cast<QDialog*>(&list.wizard()));
            QVERIFY(volume.isVisible() && calculator.isVisible());
            QCOMPARE(calculator.parentWidget(), &wizard);
            QVERIFY(!watch.blocked);
            // The user closes the desk calculator: it is not shown again by itself.
            QVERIFY(calculator.close());
            QVERIFY(!w.main().ReopenCalculator && w.main().ReopenVolume);
        });
        QTest::qWait(20);
        QVERIFY(volume.isVisible());
        QVERIFY(!calculator.isVisible());
        // The wizard's Tools menu shows it beside the list's child windows, unblocked.
        insideModal([&] { list.EditLaborBtnClick(); }, [&](QDialog& wizard) {
            QVERIFY(!calculator.isVisible());
            wizard.findChild<QAction*>(QStringLiteral("Calculator1"))->trigger();
            QVERIFY(calculator.isVisible());
            QVERIFY(!watch.blocked);
        });
    });
    QVERIFY(inList && inWizard);
    QVERIFY(w.dialogs.shown.isEmpty());
}

// The side tools and the copy window read whole at their default size and on a screen at 150 %.
void TestToolWindows::layoutFitsTexts_data()
{
    QTest::addColumn<int>("window");
    QTest::newRow("volume calculator") << 0;
    QTest::newRow("desk calculator") << 1;
    QTest::newRow("truck calculator") << 2;
    QTest::newRow("copy of a mine") << 3;
}

void TestToolWindows::layoutFitsTexts()
{
    QFETCH(int, window);
    Window w(1.0);
    QWidget* windows[] = {w.ctx.VolumeForm.get(), w.ctx.CalculatorForm.get(), w.ctx.TruckCalForm.get(),
                          w.ctx.Copy1Form.get()};
    QWidget* shown = windows[window];
    QVERIFY(shown);
    const QStringList cut = LayoutCheck::cutTextsAtBothSizes(shown);
    shown->hide();
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
}

int main(int argc, char** argv)
{
    TarvaneApplication app(argc, argv);
    TestToolWindows t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_toolwindows.moc"
