// The tutorial's stated results, computed for the tutorial data set.
//
// Each tutorial topic marks the results it states as
//   <span class="figure" data-figure="KEY">VALUE</span>
// This test finds every marked figure, computes KEY on the tutorial working copy
// (made from the shipped tutorial mine as "Use Tutorial Data Set" makes it, on a
// data directory made by init) and compares VALUE with the text the program shows,
// letter for letter, the blanks that right-align a field's text left out.
// Every tutorial topic must mark at least one figure, and every KEY must be known.
//
// KEY vocabulary (":" separates the parts; a machine is named by its Route):
//   labor-rate:<sub-region>:<laborer>      hourly cost in the labor editor's list
//   equipment-rate:<maker>:<type>:<model>  hourly cost in the equipment-cost editor's list
//   hourly:<route>                         "Total Hourly Cost:" the cost wizard writes for the machine
//   result:<route>:<result>                a result field of the machine's worksheet page in the
//                                          cost wizard (<result> as the calculator names it:
//                                          OperatingFactor, NetHourlyProduction, HoursRequired, ...)
//   added-hours:<route>                    "Additional Hrs" on the machine's worksheet page in the cost wizard
//   hours:<route>                          "Hours Required" in the worksheet's equipment list
//   cost:<route>                           "Total Cost" in the worksheet's equipment list
//   demo-cost:<item>                       "=    Demolition Cost:" of a demolition worksheet
//   reveg-product:<name>:<1..4>            initial seeding, planting, reseeding, replanting cost
//                                          of a revegetation worksheet
//   total:<D|M|R|O>                        the page's total (demolition, earthmoving,
//                                          revegetation, other)
//   bond:<n>                               item n on the mine's estimate pages
//   project-bond:<n>                       item n on the project's estimate pages
//   factor:<0|1|2>                         inflation factor of the estimate, after Phase I, after Phase II
//   percent:<mine field>                   a percent on the estimate pages (ProfitPercent, ManPercent, ...)
//   volume:<end area>x<distance>x<factor>  a cross section's volume in the volume calculator
//   volume-total:<section>+<section>+...   "Total Volume:" of a volume set with those sections
//                                          (each written as for volume:)
//   report:<choice>[+]:<label>             in the report of that choice (0 to 9, in the order of the
//                                          "Select Report" window; "+" for "Page and All Pages Below"),
//                                          written as a text file, what follows the first line's <label>
// Prefixes, alone or together, compute a key on a changed working copy:
//   matched:<key>                          after "Finished -->" on the trucks' worksheet in the cost
//                                          wizard, which matches the hours of trucks and loader
//   own:<key>                              with the Phase I and Phase II indexes emptied, as a mine
//                                          entered on the Mine page has them
// With TARVANE_TUTORIAL_FIGURES set, every computed figure is also written out (for the manual's author).
#include "CanvasBackends.h"
#include "ComputationFixture.h"
#include "CopyDataModule.h"
#include "DataSetModel.h"
#include "MineCopy.h"
#include "Money.h"
#include "ReportFrame.h"
#include "ReportJob.h"
#include "Picture.h"
#include "VolumeCalculation.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>

namespace {

// The tutorial topics, in the order of the Tutorial menu.
const char* const kTopics[] = {"tutorial-introduction",
                               "tutorial-labor",
                               "tutorial-equipment",
                               "tutorial-mine",
                               "tutorial-project",
                               "tutorial-demolition",
                               "tutorial-earthmoving",
                               "tutorial-office-area-equipment",
                               "tutorial-topsoil-equipment",
                               "tutorial-volume-calculator",
                               "tutorial-topsoil-continued",
                               "tutorial-revegetation",
                               "tutorial-mine-estimate",
                               "tutorial-report-generator",
                               "tutorial-printing"};

// The field pictures of the windows that show the figures.
const Picture kHoursRequired(QStringLiteral("###,###,###,###,###,###.#"));  // equipment list
const Picture kTotalCost(QStringLiteral("$###,###,###,###,###.##"));        // equipment list
const Picture kPageMoney(QStringLiteral("$###,###,###,###.##"));            // worksheet pages
const Picture kAddedHours(QStringLiteral("###,###,###.##"));               // cost wizard
const Picture kPercent(QStringLiteral("###.####"));                         // estimate pages
const Picture kSectionVolume(QStringLiteral("###,###,###,###.##"));         // volume calculator panel
const Picture kTotalVolume(QStringLiteral("###,###,###,###,###,###.##"));   // "Total Volume:"

QString unescape(QString s)
{
    s.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    s.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    s.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    s.replace(QStringLiteral("&#39;"), QStringLiteral("'"));
    s.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    s.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return s;
}

struct Figure {
    QString topic, key, value;
};

QList<Figure> figuresOf(const QString& topic, QString* error)
{
    QFile f(QDir(QStringLiteral(HELP_TOPICS_DIR)).filePath(topic + QStringLiteral(".html")));
    if (!f.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1 cannot be read").arg(f.fileName());
        return {};
    }
    const QString text = QString::fromUtf8(f.readAll());
    static const QRegularExpression span(
        QStringLiteral("<span\\s+class=\"figure\"\\s+data-figure=\"([^\"]*)\"\\s*>(.*?)</span>"),
        QRegularExpression::DotMatchesEverythingOption);
    QList<Figure> out;
    for (auto it = span.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        out.append({topic, unescape(m.captured(1)), unescape(m.captured(2))});
    }
    return out;
}

// The tutorial working copy on a data directory made by init.
struct Tutorial : World {
    QString failure;  // why the working copy could not be made

    explicit Tutorial(bool ownIndexes = false, bool matched = false)
    {
        // As "Use Tutorial Data Set": the working copy when there is one, else a copy of the master.
        dm.DataSetCode = 4;
        dm.MineT.refresh();
        if (!dm.MineT.isEmpty()) {
            failure = QStringLiteral("a fresh data directory already has a tutorial working copy");
            return;
        }
        dm.DataSetCode = 2;
        dm.MineT.refresh();
        if (dm.MineT.recordCount() != 1) {
            failure = QStringLiteral("the tutorial master mine is not shipped");
            return;
        }
        const int master = dm.MineT.fieldByName(QStringLiteral("MineID")).asInteger();
        {
            CopyDataModule copyData;
            copyData.setDatabase(&dm.TarvaneDatabase);
            if (!copyData.openViews()) {
                failure = QStringLiteral("the copy's views did not open");
                return;
            }
            MineCopy copy(copyData, dialogs);
            const SuspendedCalculations suspended(dm);
            if (!copy.run(master)) {
                failure = QStringLiteral("the copy of the tutorial mine failed");
                return;
            }
            copyData.closeViews();
        }
        dm.MineT.refresh();
        qint64 newest = -1;
        for (const auto& [id, mark] : dm.MineT.fieldValues(QStringLiteral("MineID")))
            newest = std::max<qint64>(newest, id.toLongLong());
        if (newest == master || !dm.MineT.locate({QStringLiteral("MineID")}, {newest})) {
            failure = QStringLiteral("the copy is not shown");
            return;
        }
        dm.MineT.edit();
        dm.MineT.fieldByName(QStringLiteral("RevegYears")).setAsFloat(4.0);
        if (ownIndexes) {
            dm.MineT.fieldByName(QStringLiteral("ENRIndexI")).clear();
            dm.MineT.fieldByName(QStringLiteral("ENRIndexII")).clear();
        }
        dm.MineT.post();
        dm.DataSetCode = 4;
        dm.MineT.refresh();
        if (dm.MineT.recordCount() != 1) {
            failure = QStringLiteral("the tutorial data set does not show one mine");
            return;
        }
        dm.ProjectT.first();
        if (matched)
            finishTrucks();
    }

    // What "Finished -->" on a truck's worksheet does after posting it: the hours of every
    // truck of the working copy and of its loader or excavator are matched.
    void finishTrucks()
    {
        int trucks = 0;
        for (dm.MatT.first(); !dm.MatT.eof(); dm.MatT.next())
            for (dm.EquipMatT.first(); !dm.EquipMatT.eof(); dm.EquipMatT.next())
                if (dm.EquipMatT.fieldByName(QStringLiteral("EquipCode2")).asInteger() == kTruck) {
                    list.setDataSet(&dm.EquipMatT);  // the equipment list stands on the truck
                    comp.calculator.MatchAddedHours(EquipmentCalculator::MatchSide::Truck);
                    ++trucks;
                }
        if (trucks == 0)
            failure = QStringLiteral("the tutorial data set has no truck");
    }

    // Positions the worksheet and equipment views on the machine with that Route.
    std::pair<Table*, QChar> machine(const QString& route)
    {
        const std::pair<Table*, Table*> kinds[] = {
            {&dm.DemolT, &dm.EquipDemoT}, {&dm.MatT, &dm.EquipMatT}, {&dm.RevegT, &dm.EquipRevegT}};
        const QChar types[] = {QLatin1Char('D'), QLatin1Char('M'), QLatin1Char('R')};
        for (int k = 0; k < 3; ++k) {
            auto [sheets, equipment] = kinds[k];
            for (sheets->first(); !sheets->eof(); sheets->next())
                for (equipment->first(); !equipment->eof(); equipment->next())
                    if (equipment->fieldByName(QStringLiteral("Route")).asString() == route)
                        return {equipment, types[k]};
        }
        return {nullptr, QChar()};
    }

    bool locate(Table& t, const char* field, const QString& value)
    {
        return t.locate({QString::fromLatin1(field)}, {value});
    }

    static QString shown(const QString& fieldText) { return fieldText.trimmed(); }

    // A volume set of the project with these sections ("1620x800x1" each); its section view stays on it.
    bool volumeSet(const QStringList& sections)
    {
        dm.CrossSecT.insert();
        dm.CrossSecT.fieldByName(QStringLiteral("VolumeName")).setAsString(QStringLiteral("Tutorial check"));
        dm.CrossSecT.post();
        int n = 0;
        for (const QString& s : sections) {
            const QStringList v = s.split(QLatin1Char('x'));
            if (v.size() != 3)
                return false;
            bool ok[3] = {};
            const double area = v[0].toDouble(&ok[0]), distance = v[1].toDouble(&ok[1]), factor = v[2].toDouble(&ok[2]);
            if (!ok[0] || !ok[1] || !ok[2])
                return false;
            dm.VolT.insert();
            set(dm.VolT, {{"CrossSectionName", QStringLiteral("Section %1").arg(++n)},
                          {"EndArea", area},
                          {"Distance", distance},
                          {"AdjustmentFactor", factor}});
            dm.VolT.post();
        }
        return true;
    }

    // The text the program shows for `key`; empty `ok` when the key is unknown or its object missing.
    QString compute(const QString& key, bool* ok)
    {
        *ok = true;
        const QStringList p = key.split(QLatin1Char(':'));
        const QString what = p.value(0);
        auto fail = [&]() { *ok = false; return QString(); };
        if (what == QLatin1String("labor-rate") && p.size() == 3) {
            for (Table* t : {&dm.LaborRegionT, &dm.LaborSubRegionT, &dm.LaborCostT})  // as the labor editor opens them
                if (!t->active())
                    t->open();
            dm.LaborRegionT.first();
            for (; !dm.LaborRegionT.eof(); dm.LaborRegionT.next())
                if (locate(dm.LaborSubRegionT, "SubRegionName", p[1]) && locate(dm.LaborCostT, "Laborer", p[2])) {
                    Field& f = dm.LaborCostT.fieldByName(QStringLiteral("HourlyCosst"));
                    return DataSetModel::formatNumber(f.asFloat(), f.displayFormat);
                }
            return fail();
        }
        if (what == QLatin1String("equipment-rate") && p.size() == 4) {
            for (Table* t : {&dm.HCompanyT, &dm.HEquipT, &dm.HCostT})  // as the equipment-cost editor opens them
                if (!t->active())
                    t->open();
            if (!locate(dm.HCompanyT, "Name", p[1]) || !locate(dm.HEquipT, "Type", p[2]) || !locate(dm.HCostT, "Model", p[3]))
                return fail();
            Field& f = dm.HCostT.fieldByName(QStringLiteral("HourlyCost"));
            return DataSetModel::formatNumber(f.asFloat(), f.displayFormat);
        }
        if ((what == QLatin1String("hourly") || what == QLatin1String("hours") || what == QLatin1String("cost") ||
             what == QLatin1String("added-hours")) &&
            p.size() == 2) {
            Table* e = machine(p[1]).first;
            if (!e)
                return fail();
            if (what == QLatin1String("added-hours"))
                return kAddedHours.format(e->fieldByName(QStringLiteral("AddHours")).asFloat());
            if (what == QLatin1String("hourly"))
                return shown(formatMoney(e->fieldByName(QStringLiteral("LaborCost")).asFloat() +
                                         e->fieldByName(QStringLiteral("OperatCost")).asFloat()));
            if (what == QLatin1String("hours"))
                return kHoursRequired.format(e->fieldByName(QStringLiteral("HrsReq")).asFloat());
            return kTotalCost.format(e->fieldByName(QStringLiteral("TotalCost")).asFloat());
        }
        if (what == QLatin1String("result") && p.size() == 3) {
            Table* e = machine(p[1]).first;
            if (!e)
                return fail();
            comp.calculator.CalcEquipHours(*e, e->fieldByName(QStringLiteral("EquipCode2")).asInteger(), false, false);
            for (const auto& [name, value] : comp.calculator.EquipCalcResults_.named())
                if (name == p[2])  // as the wizard's result fields show them
                    return QString::number(value, 'f', name == QLatin1String("OperatingFactor") ? 4 : 2);
            return fail();
        }
        if (what == QLatin1String("demo-cost") && p.size() == 2) {
            if (!locate(dm.DemolT, "Item", p[1]))
                return fail();
            return kPageMoney.format(dm.DemolT.fieldByName(QStringLiteral("DemoCost")).asFloat());
        }
        if (what == QLatin1String("reveg-product") && p.size() == 3) {
            const int i = p[2].toInt();
            window.products = {};
            dm.RevegT.first();  // the products follow the current worksheet
            if (i < 1 || i > 4 || !locate(dm.RevegT, "Name", p[1]))
                return fail();
            return shown(formatMoney(window.products[i - 1]));
        }
        if (what == QLatin1String("total") && p.size() == 2 && p[1].size() == 1 &&
            QStringLiteral("DMRO").contains(p[1])) {
            return shown(comp.totalText(p[1].at(0)));
        }
        if ((what == QLatin1String("bond") || what == QLatin1String("project-bond")) && p.size() == 2) {
            const int item = p[1].toInt();
            if (item < 1 || item > 34)
                return fail();
            comp.bond.CalcBondSummary(what == QLatin1String("bond"));
            return shown(comp.bond.items().amountText(item));
        }
        if (what == QLatin1String("factor") && p.size() == 2) {
            const int i = p[1].toInt(ok);
            if (!*ok || i < 0 || i > 2)
                return fail();
            comp.bond.CalcBondSummary(true);
            return shown(comp.bond.items().factorText(i));
        }
        if (what == QLatin1String("percent") && p.size() == 2) {
            if (dm.MineT.fieldByName(p[1]).dataType() != FieldType::Float)
                return fail();
            comp.bond.CalcBondSummary(true);  // the looked-up fees are written as the estimate is computed
            return kPercent.format(dm.MineT.fieldByName(p[1]).asFloat());
        }
        if (what == QLatin1String("volume") && p.size() == 2) {
            if (!volumeSet({p[1]}))
                return fail();
            dm.VolT.first();
            return kSectionVolume.format(dm.VolT.fieldByName(QStringLiteral("Volume")).asFloat());
        }
        if (what == QLatin1String("volume-total") && p.size() == 2) {
            if (!volumeSet(p[1].split(QLatin1Char('+'))))
                return fail();
            return kTotalVolume.format(TotalAllVolumes(dm.VolT).total);
        }
        if (what == QLatin1String("report") && p.size() >= 3) {
            QString choiceText = p[1];
            ReportSelection selection;
            selection.detail = choiceText.endsWith(QLatin1Char('+'));
            if (selection.detail)
                choiceText.chop(1);
            selection.choice = choiceText.toInt(ok);
            if (!*ok || selection.choice < 0 || selection.choice > 9)
                return fail();
            const QString label = p.mid(2).join(QLatin1Char(':'));
            comp.bond.CalcBondSummary(true);  // the estimate pages are shown before the report is asked for
            TextCanvas canvas;
            RunReportJob(canvas, ReportOptions(), {}, dialogs, dm, comp, selection);
            for (const QString& line : canvas.text().split(QLatin1Char('\n'))) {
                // The label as a text of its own: at the line's start or after a blank.
                for (qsizetype at = line.indexOf(label); at >= 0; at = line.indexOf(label, at + 1))
                    if (at == 0 || line.at(at - 1) == QLatin1Char(' '))
                        return line.mid(at + label.size()).trimmed();
            }
            return fail();
        }
        return fail();
    }
};

}  // namespace

class TestTutorial : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void figures_data();
    void figures();
    void everyTopicStatesResults();
};

void TestTutorial::figures_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    for (const char* t : kTopics) {
        QString error;
        const QList<Figure> figures = figuresOf(QString::fromLatin1(t), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        int n = 0;
        for (const Figure& f : figures)
            QTest::addRow("%s #%d %s", t, ++n, qPrintable(f.key)) << f.key << f.value;
    }
}

void TestTutorial::figures()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QString rest = key;
    bool own = false, matched = false;
    for (bool more = true; more;) {
        more = false;
        for (auto [prefix, flag] : {std::pair{QLatin1String("own:"), &own}, std::pair{QLatin1String("matched:"), &matched}})
            if (rest.startsWith(prefix)) {
                *flag = more = true;
                rest = rest.mid(prefix.size());
            }
    }
    // Each figure on its own working copy: a figure's computation (a volume set, a fee look-up)
    // cannot change another's.
    Tutorial t(own, matched);
    QVERIFY2(t.failure.isEmpty(), qPrintable(t.failure));
    bool known = false;
    QString computed;
    try {
        computed = t.compute(rest, &known);
    } catch (const std::exception& e) {
        QFAIL(qPrintable(key + QStringLiteral(": ") + QString::fromLocal8Bit(e.what())));
    }
    QVERIFY2(known, qPrintable(QStringLiteral("unknown key or no such object: ") + key));
    if (qEnvironmentVariableIsSet("TARVANE_TUTORIAL_FIGURES"))
        qInfo("%s = %s", qPrintable(key), qPrintable(computed));
    QCOMPARE(value, computed);
}

void TestTutorial::everyTopicStatesResults()
{
    for (const char* t : kTopics) {
        QString error;
        const QList<Figure> figures = figuresOf(QString::fromLatin1(t), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY2(!figures.isEmpty(), qPrintable(QStringLiteral("%1 marks no figure").arg(QLatin1String(t))));
    }
}

QTEST_MAIN(TestTutorial)
#include "tst_tutorial.moc"
