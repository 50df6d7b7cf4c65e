#include "Cli.h"

#include "CliArgs.h"
#include "CliCommands.h"
#include "CliParser.h"
#include "CliProgress.h"
#include "CliOutput.h"
#include "CliReview.h"
#include "CliServer.h"
#include "CliCopy.h"
#include "CliHelp.h"
#include "CliTrucks.h"
#include "Computation.h"
#include "DataBackup.h"
#include "DataDirectory.h"
#include "DatabaseStartup.h"
#include "Dialogs.h"
#include "EDatabaseError.h"
#include "EngineConfig.h"
#include "MineWorkbook.h"
#include "WorkbookFiles.h"
#include "OutputFile.h"
#include "ReferenceCsv.h"
#include "Picture.h"
#include "CanvasBackends.h"
#include "ReportFrame.h"
#include "PaperSize.h"
#include "ReportJob.h"
#include "SyntheticMine.h"
#include "DataModule.h"
#include "MineComparison.h"
#include "MineImport.h"
#include "MineReprice.h"
#include "VolumeCalculation.h"
#include "WorksheetKinds.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTextStream>
#include <cmath>
#include <cstdio>
#include <exception>
#include <variant>

namespace {

int usage()
{
    std::fputs(qPrintable(cliUsage()), stderr);
    return 2;
}

// The rows named were looked up by key, yet a view cannot stand on one of them.
void throwUnlessFound(ComputeViews::Found found, const RowKeys& keys)
{
    switch (found) {
    case ComputeViews::Found::All: return;
    case ComputeViews::Found::NoMine:
        throw EDatabaseError(QStringLiteral("Mine %1 cannot be shown").arg(keys.mine.toInt()));
    case ComputeViews::Found::NoProject:
        throw EDatabaseError(QStringLiteral("Project %1 cannot be shown").arg(keys.project.toInt()));
    case ComputeViews::Found::NoSheet:
        throw EDatabaseError(QStringLiteral("Worksheet %1:%2 cannot be shown").arg(keys.kind).arg(keys.sheet.toInt()));
    case ComputeViews::Found::NoPlan:
        throw EDatabaseError(QStringLiteral("Equipment row %1 cannot be shown").arg(keys.plan.toInt()));
    }
}

// Opens the data module as the desktop program's start-up does, with its rules.
class OpenedData {
public:
    OpenedData(Dialogs& dialogs, const QString& dataDir)
        : config_(EngineConfig::defaultPath()),
          dm_((ensureEngineConfigured(config_), config_)),
          computation_(dm_, dialogs, display),
          startup_(dm_)
    {
        computation_.rules.setMainWindow(&window_);
        if (!dataDir.isEmpty())
            dm_.Session.addAlias(QStringLiteral("TarvaneDB"), QDir(dataDir).absolutePath());
        failure_ = startup_.ActivateDatabase();
        if (!failure_.isEmpty())
            dialogs.error(failure_);
        const QString readOnly = startup_.readOnlyNotice();
        if (!readOnly.isEmpty())
            dialogs.information(readOnly);
    }
    // Posts what is pending unless a command is failing (its error is already on its way
    // to the user, and a row it left pending is not written), then closes; never throws.
    ~OpenedData()
    {
        if (std::uncaught_exceptions() == 0) {
            try {
                dm_.postAllPendingEdits();
            } catch (const std::exception& e) {
                std::fprintf(stderr, "error: %s\n", e.what());
            }
        }
        dm_.shutDown();
    }
    bool ok() const { return failure_.isEmpty(); }
    DataModule& dm() { return dm_; }
    Computation& computation() { return computation_; }

    // A value of the data file by a one-parameter query; invalid when there is no row.
    QVariant lookup(const QString& sql, int id)
    {
        Query q(dm_.TarvaneDatabase, QStringLiteral("CliLookup"));
        q.setSql({sql});
        q.setParam(QStringLiteral("ID"), id);
        q.open();
        return q.isEmpty() ? QVariant() : q.fields().first()->value();
    }

    QString projectName(int projectId)
    {
        return lookup(QStringLiteral("SELECT ProjectName FROM \"PROJECT.DB\" WHERE PrjID = :ID"), projectId).toString();
    }

    // The keys of a mine; throws when the file holds no such mine.
    RowKeys mineRows(int mineId)
    {
        if (!lookup(QStringLiteral("SELECT MineID FROM \"MINE.DB\" WHERE MineID = :ID"), mineId).isValid())
            throw EDatabaseError(QStringLiteral("There is no mine %1").arg(mineId));
        return {mineId, {}, {}, {}, {}};
    }

    // The keys of a project and its mine.
    RowKeys projectRows(int projectId)
    {
        const QVariant mine = lookup(QStringLiteral("SELECT MineID FROM \"PROJECT.DB\" WHERE PrjID = :ID"), projectId);
        if (!mine.isValid())
            throw EDatabaseError(QStringLiteral("There is no project %1").arg(projectId));
        RowKeys keys = mineRows(mine.toInt());
        keys.project = projectId;
        return keys;
    }

    // The keys of the mine, or (projectId >= 0) of its project, which must be one of the mine's.
    RowKeys mineOrProjectRows(int mineId, int projectId)
    {
        if (projectId < 0)
            return mineRows(mineId);
        const RowKeys keys = projectRows(projectId);
        if (keys.mine.toInt() != mineId)
            throw EDatabaseError(QStringLiteral("Project %1 is not a project of mine %2").arg(projectId).arg(mineId));
        return keys;
    }

    // The keys of a worksheet row of the cost type, its project and mine.
    RowKeys sheetRows(const QString& costType, int sheetId)
    {
        const WorksheetKind* kind = costType.size() == 1 ? findWorksheetKind(costType.at(0)) : nullptr;
        if (!kind)
            throw EDatabaseError(QStringLiteral("A worksheet is named D, M, R or O, a colon and its SheetID, not '%1'")
                                     .arg(costType));
        const QVariant project = lookup(
            QStringLiteral("SELECT PrjID FROM %1 WHERE SheetID = :ID").arg(quoteIdent(kind->sheetsOf(dm_).format().fileName)),
            sheetId);
        if (!project.isValid())
            throw EDatabaseError(QStringLiteral("There is no worksheet %1:%2").arg(costType).arg(sheetId));
        RowKeys keys = projectRows(project.toInt());
        keys.kind = kind->letter;
        keys.sheet = sheetId;
        return keys;
    }

    // The keys of an equipment row, its worksheet row, project and mine.
    RowKeys planRows(int planId)
    {
        Query row(dm_.TarvaneDatabase, QStringLiteral("CliPlan"));
        row.setSql({QStringLiteral("SELECT CostType, SheetID FROM \"Equipment.DB\" WHERE PlanID = :ID")});
        row.setParam(QStringLiteral("ID"), planId);
        row.open();
        if (row.isEmpty())
            throw EDatabaseError(QStringLiteral("There is no equipment row %1").arg(planId));
        const QString costType = row.fieldByName(QStringLiteral("CostType")).asString();
        const int sheetId = row.fieldByName(QStringLiteral("SheetID")).asInteger();
        const WorksheetKind* kind = costType.size() == 1 ? findWorksheetKind(costType.at(0)) : nullptr;
        if (!kind || !kind->hasMachines() || costType != QString(kind->letter))
            throw EDatabaseError(QStringLiteral("Equipment row %1 names no worksheet kind").arg(planId));
        const QVariant project = lookup(
            QStringLiteral("SELECT PrjID FROM %1 WHERE SheetID = :ID").arg(quoteIdent(kind->sheetsOf(dm_).format().fileName)),
            sheetId);
        if (!project.isValid())
            throw EDatabaseError(QStringLiteral("The worksheet of equipment row %1 does not exist").arg(planId));
        RowKeys keys = projectRows(project.toInt());
        keys.kind = kind->letter;
        keys.sheet = sheetId;
        keys.plan = planId;
        return keys;
    }

    // Stands the computations' own views on the rows; the data module's views do not move.
    ComputeViews& standOn(const RowKeys& keys)
    {
        ComputeViews& views = computation_.views;
        throwUnlessFound(views.standOnRows(keys), keys);
        return views;
    }

    // Makes the rows current in the data module's views, switching to the mine's data set:
    // a record is deleted through the view a window shows it in, with its rules and cascades.
    void show(const RowKeys& keys)
    {
        const QVariant code = lookup(QStringLiteral("SELECT RevegYears FROM \"MINE.DB\" WHERE MineID = :ID"), keys.mine.toInt());
        dm_.DataSetCode = code.toDouble();
        dm_.MineT.refresh();
        ComputeViews::Found found = ComputeViews::Found::All;
        if (!dm_.MineT.locate({QStringLiteral("MineID")}, {keys.mine}))
            found = ComputeViews::Found::NoMine;
        else if (keys.project.isValid() && !dm_.ProjectT.locate({QStringLiteral("PrjID")}, {keys.project}))
            found = ComputeViews::Found::NoProject;
        else if (keys.sheet.isValid() && !worksheetKind(keys.kind).sheetsOf(dm_).locate({QStringLiteral("SheetID")}, {keys.sheet}))
            found = ComputeViews::Found::NoSheet;
        else if (keys.plan.isValid() &&
                 !worksheetKind(keys.kind).equipmentOf(dm_)->locate({QStringLiteral("PlanID")}, {keys.plan}))
            found = ComputeViews::Found::NoPlan;
        throwUnlessFound(found, keys);
    }

    NoBondDisplay display;

private:
    QString config_;
    NoMainWindow window_;
    DataModule dm_;
    Computation computation_;
    DatabaseStartup startup_;
    QString failure_;
};

QString fixed4(Money m)
{
    const qint64 u = m.units();
    const quint64 a = static_cast<quint64>(u < 0 ? -u : u);
    return (u < 0 ? QStringLiteral("-") : QString()) + QString::number(a / 10000) + QLatin1Char('.') +
           QStringLiteral("%1").arg(a % 10000, 4, 10, QLatin1Char('0'));
}

QString full(double v)
{
    return QString::number(v, 'g', 17);
}

// A number of a JSON result; a value that cannot be computed is null.
QString jsonNumber(double v)
{
    return std::isfinite(v) ? full(v) : QStringLiteral("null");
}

int cmdInit(QStringList args)
{
    if (args.size() != 1)
        return usage();
    createDataDirectory(args[0]);
    out() << "Created " << QDir(args[0]).absoluteFilePath(QLatin1String(Database::kDataFileName)) << Qt::endl;
    return 0;
}

int cmdCheck(QStringList args, Dialogs& dialogs)
{
    const QString dataDir = takeOption(args, QStringLiteral("--data"));
    if (!args.isEmpty())
        return usage();
    OpenedData data(dialogs, dataDir);
    if (!data.ok())
        return 1;
    DataModule& dm = data.dm();
    out() << "Data file: " << dm.TarvaneDatabase.filePath() << Qt::endl;
    for (const auto& step : dm.openingSteps())
        out() << "  " << step.label << ": " << step.view->recordCount() << " records shown" << Qt::endl;
    return 0;
}

int cmdBond(QStringList args, Dialogs& dialogs)
{
    const QString dataDir = takeOption(args, QStringLiteral("--data"));
    const int mineId = takeNumber(args, QStringLiteral("--mine"), true);
    const int projectId = takeNumber(args, QStringLiteral("--project"), false, -1);
    const bool json = takeFlag(args, QStringLiteral("--json"));
    if (!args.isEmpty())
        return usage();
    OpenedData data(dialogs, dataDir);
    if (!data.ok())
        return 1;
    const RowKeys keys = data.mineOrProjectRows(mineId, projectId);
    BondSummary& bond = data.computation().bond;
    bond.CalcBondSummaryOf(keys.mine, projectId < 0 ? std::nullopt : std::optional(keys.project));
    const BondItems& b = bond.items();
    if (json) {
        QStringList items;
        for (int i = 1; i <= 34; ++i)
            items << QStringLiteral("\"%1\": %2").arg(i).arg(i == 14 ? full(b.item14) : fixed4(b.item[i]));
        out() << "{\"mine\": " << mineId << ", \"project\": "
              << (projectId >= 0 ? QString::number(projectId) : QStringLiteral("null")) << ", \"factors\": {\"inflation\": "
              << fixed4(b.inflationFactor) << ", \"phase1\": " << full(b.phase1Factor) << ", \"phase2\": "
              << full(b.phase2Factor) << "}, \"items\": {" << items.join(QStringLiteral(", ")) << "}"
              << incompleteMember(b.incomplete) << "}" << Qt::endl;
        return doneStatus(b.incomplete);
    }
    out() << "Mine " << mineId << ": "
          << data.lookup(QStringLiteral("SELECT Applicant FROM \"MINE.DB\" WHERE MineID = :ID"), mineId).toString();
    if (projectId >= 0)
        out() << ", project " << projectId << ": " << data.projectName(projectId);
    out() << Qt::endl;
    out() << "Inflation factor " << formatFactor(b.inflationFactor.toDouble()).trimmed() << ", Phase I factor "
          << formatFactor(b.phase1Factor).trimmed() << ", Phase II factor " << formatFactor(b.phase2Factor).trimmed()
          << Qt::endl;
    for (int i = 1; i <= 34; ++i) {
        out() << QStringLiteral("%1  %2 %3").arg(i, 2).arg(bondItemLabel(i), -58).arg(b.amountText(i)) << Qt::endl;
    }
    printIncomplete(b.incomplete);
    return doneStatus(b.incomplete);
}

int cmdExplain(QStringList args, Dialogs& dialogs)
{
    const QString dataDir = takeOption(args, QStringLiteral("--data"));
    const int mineId = takeNumber(args, QStringLiteral("--mine"), true);
    const int projectId = takeNumber(args, QStringLiteral("--project"), false, -1);
    const int item = takeNumber(args, QStringLiteral("--item"), true);
    const int depth = takeNumber(args, QStringLiteral("--depth"), false, -1);
    const bool json = takeFlag(args, QStringLiteral("--json"));
    if (!args.isEmpty())
        return usage();
    if (item < 1 || item > 34)
        throw CliUsageError(QStringLiteral("--item takes a bond item, 1 to 34, not %1").arg(item));
    if (depth < -1)
        throw CliUsageError(QStringLiteral("--depth takes a number of levels, 0 or more"));
    OpenedData data(dialogs, dataDir);
    if (!data.ok())
        return 1;
    const RowKeys keys = data.mineOrProjectRows(mineId, projectId);
    BondSummary& bond = data.computation().bond;
    const std::array<ExplainPtr, 35> tree =
        bond.ExplainBond(keys.mine, projectId < 0 ? std::nullopt : std::optional(keys.project));
    const ExplainNode& root = *tree[static_cast<size_t>(item)];
    const LeftOutValues& leftOut = bond.items().incomplete;
    if (json) {
        out() << QString::fromUtf8(QJsonDocument(explainJson(root, depth)).toJson(QJsonDocument::Compact)).chopped(1)
              << incompleteMember(leftOut) << "}" << Qt::endl;
        return doneStatus(leftOut);
    }
    out() << explainText(root, depth) << Qt::endl;
    printIncomplete(leftOut);
    return doneStatus(leftOut);
}

// Like diff: 0 equal, 1 different, 2 when the two cannot be compared.
int cmdCompare(QStringList args, Dialogs& dialogs)
{
    const QString dataDir = takeOption(args, QStringLiteral("--data"));
    const int mineId = takeNumber(args, QStringLiteral("--mine"), true);
    const int withId = takeNumber(args, QStringLiteral("--with"), true);
    const bool json = takeFlag(args, QStringLiteral("--json"));
    if (!args.isEmpty())
        return usage();
    MineComparison c;
    {
        OpenedData data(dialogs, dataDir);
        if (!data.ok())
            return 2;
        try {
            c = compareMines(data.computation(), data.mineRows(mineId).mine, data.mineRows(withId).mine);
        } catch (const EDatabaseError& e) {
            dialogs.error(e.message());
            return 2;
        }
    }
    if (json) {
        out() << comparisonJson(c, mineId, withId) << Qt::endl;
        return c.equal() ? 0 : 1;
    }
    printComparison(c, mineId, withId);
    printIncomplete(c.incomplete);
    return c.equal() ? 0 : 1;
}

int cmdImport(QStringList args, Dialogs& dialogs)
{
    const QString dataDir = takeOption(args, QStringLiteral("--data"));
    const QString from = takeOption(args, QStringLiteral("--from"));
    const int mineId = takeNumber(args, QStringLiteral("--mine"), true);
    const QString reference = takeOption(args, QStringLiteral("--reference"));
    const bool dryRun = takeFlag(args, QStringLiteral("--dry-run"));
    const bool json = takeFlag(args, QStringLiteral("--json"));
    if (!args.isEmpty())
        return usage();
    if (from.isEmpty())
        throw CliUsageError(QStringLiteral("--from is required"));
    if (!reference.isEmpty() && reference != QLatin1String("keep") && reference != QLatin1String("bring"))
        throw CliUsageError(QStringLiteral("--reference takes keep or bring, not '%1'").arg(reference));
    OpenedData data(dialogs, dataDir);
    if (!data.ok())
        return 1;
    return runImportCommand(data.dm(), data.computation(), dialogs, from, mineId,
                            reference == QLatin1String("bring") ? ReferenceChoice::Bring : ReferenceChoice::Keep, dryRun,
                            json);
}

double takeIndex(QStringList& args, const QString& flag)
{
    if (!args.contains(flag))
        return 0;
    const double v = takeReal(args, flag);
    if (!isCostIndex(v))
        throw CliUsageError(QStringLiteral("%1 takes a cost index %2").arg(flag, costIndexRange()));
    return v;
}

QDate takeDate(QStringList& args, const QString& flag)
{
    const QString v = takeOption(args, flag);
    if (v.isEmpty())
        return {};
    const QDate d = QDate::fromString(v, Qt::ISODate);
    if (!d.isValid())
        throw CliUsageError(QStringLiteral("%1 takes a date as YYYY-MM-DD, not '%2'").arg(flag, v));
    return d;
}

int cmdReprice(QStringList args, Dialogs& dialogs)
{
    const QString dataDir = takeOption(args, QStringLiteral("--data"));
    const int mineId = takeNumber(args, QStringLiteral("--mine"), true);
    const double current = takeIndex(args, QStringLiteral("--index"));
    const QDate date = takeDate(args, QStringLiteral("--index-date"));
    const double five = takeIndex(args, QStringLiteral("--index5"));
    const QDate fiveDate = takeDate(args, QStringLiteral("--index5-date"));
    const bool json = takeFlag(args, QStringLiteral("--json"));
    if (!args.isEmpty())
        return usage();
    OpenedData data(dialogs, dataDir);
    if (!data.ok())
        return 1;
    data.mineRows(mineId);
    CostIndex index;
    if (current > 0) {
        index.current = current;
        index.date = date.isValid() ? date : QDate::currentDate();
    } else {
        index = newestCostIndex(data.dm().TarvaneDatabase);
        if (date.isValid())
            index.date = date;
    }
    if (five > 0) {
        index.fiveYearsEarlier = five;
        index.fiveYearsEarlierDate = fiveDate;
    }
    return runRepriceCommand(data.dm(), data.computation(), dialogs, mineId, index, json);
}

int cmdTotals(QStringList args, Dialogs& dialogs)
{
    const QString dataDir = takeOption(args, QStringLiteral("--data"));
    const int projectId = takeNumber(args, QStringLiteral("--project"), true);
    const bool json = takeFlag(args, QStringLiteral("--json"));
    if (!args.isEmpty())
        return usage();
    OpenedData data(dialogs, dataDir);
    if (!data.ok())
        return 1;
    data.standOn(data.projectRows(projectId));
    DirectCosts& t = data.computation().totals;
    DirectCosts::Watch leftOut(t);
    double d = 0, m = 0, r = 0, o = 0;
    t.beginReport();  // one message for the four totals
    try {
        d = t.totalOfViewsProject(QLatin1Char('D')), m = t.totalOfViewsProject(QLatin1Char('M'));
        r = t.totalOfViewsProject(QLatin1Char('R')), o = t.totalOfViewsProject(QLatin1Char('O'));
    } catch (...) {
        t.dropReport();
        throw;
    }
    t.endReport();
    if (json) {
        out() << "{\"demolition\": " << full(d) << ", \"earthmoving\": " << full(m) << ", \"revegetation\": " << full(r)
              << ", \"other\": " << full(o) << incompleteMember(leftOut.values()) << "}" << Qt::endl;
        return doneStatus(leftOut.values());
    }
    out() << "Demolition:   " << formatMoney(d) << Qt::endl
          << "Earthmoving:  " << formatMoney(m) << Qt::endl
          << "Revegetation: " << formatMoney(r) << Qt::endl
          << "Other:        " << formatMoney(o) << Qt::endl;
    printIncomplete(leftOut.values());
    return doneStatus(leftOut.values());
}

int cmdHours(QStringList args, Dialogs& dialogs)
{
    const QString dataDir = takeOption(args, QStringLiteral("--data"));
    const int planId = takeNumber(args, QStringLiteral("--plan"), true);
    const bool json = takeFlag(args, QStringLiteral("--json"));
    if (!args.isEmpty())
        return usage();
    OpenedData data(dialogs, dataDir);
    if (!data.ok())
        return 1;
    const RowKeys keys = data.planRows(planId);
    ComputeViews& views = data.standOn(keys);
    Table* equipment = views.equipment(keys.kind);
    EquipmentCalculator& calc = data.computation().calculator;
    const int kind = equipment->fieldByName(QStringLiteral("EquipCode2")).asInteger();
    double hours = 0;
    {
        // The machine's partners, mine and project are read from the same views.
        const EquipmentCalculator::LentViews lent(calc, {&views.PartnerV, &views.MineV, &views.ProjectV});
        hours = calc.CalcEquipHours(*equipment, kind, false, true);
    }
    const EquipCalcResults results = calc.EquipCalcResults_;
    DirectCosts::Watch leftOut(data.computation().totals);
    data.computation().totals.checkHours(*equipment, hours);
    if (json) {
        QStringList named;
        for (const auto& [name, value] : results.named())
            named << QStringLiteral("\"%1\": %2").arg(name, jsonNumber(value));
        out() << "{\"plan\": " << planId << ", \"kind\": " << kind << ", \"hours\": " << jsonNumber(hours)
              << ", \"unit_hours\": " << jsonNumber(results.UnitHours) << ", \"results\": {"
              << named.join(QStringLiteral(", ")) << "}" << incompleteMember(leftOut.values()) << "}" << Qt::endl;
        return doneStatus(leftOut.values());
    }
    out() << "Equipment row " << planId << " (kind " << kind << "): " << full(hours) << " hours" << Qt::endl;
    for (const auto& [name, value] : results.named())
        out() << "  " << name << ": " << full(value) << Qt::endl;
    printIncomplete(leftOut.values());
    return doneStatus(leftOut.values());
}

// The kind of worksheet row that choices 3 to 9 print from: two choices for each kind with
// machines (its worksheet, its machines), one for other costs, in the kinds' order.
const WorksheetKind* kindOfChoice(int choice)
{
    if (choice < 3 || choice > 9)
        return nullptr;
    return &worksheetKinds()[static_cast<size_t>((choice - 3) / 2)];
}

int cmdReport(QStringList args, Dialogs& dialogs)
{
    const QString dataDir = takeOption(args, QStringLiteral("--data"));
    const int mineId = takeNumber(args, QStringLiteral("--mine"), true);
    const int projectId = takeNumber(args, QStringLiteral("--project"), false, -1);
    ReportSelection selection;
    selection.choice = takeNumber(args, QStringLiteral("--choice"), false, 0);
    selection.detail = takeFlag(args, QStringLiteral("--detail"));
    selection.progress = terminalProgress(QStringLiteral("Printing"));
    const int sheetId = takeNumber(args, QStringLiteral("--sheet"), false, -1);
    const int planId = takeNumber(args, QStringLiteral("--plan"), false, -1);
    const QString pdf = takeOption(args, QStringLiteral("--pdf"));
    const QString text = takeOption(args, QStringLiteral("--text"));
    QString paper = takeOption(args, QStringLiteral("--paper"));
    if (paper.isEmpty())
        paper = QString::fromLatin1(kDefaultPaper);
    if (!args.isEmpty() || pdf.isEmpty() == text.isEmpty() || selection.choice < 0 || selection.choice > 9)
        return usage();
    const QStringList papers = paperNames();
    const auto known = std::find_if(papers.begin(), papers.end(),
                                    [&](const QString& p) { return p.compare(paper, Qt::CaseInsensitive) == 0; });
    if (known == papers.end()) {
        std::fprintf(stderr, "error: unknown paper %s; the papers are %s\n", qPrintable(paper),
                     qPrintable(papers.join(QStringLiteral(", "))));
        return usage();
    }
    OpenedData data(dialogs, dataDir);
    if (!data.ok())
        return 1;
    DataModule& dm = data.dm();
    RowKeys keys = planId >= 0 ? data.planRows(planId) : projectId >= 0 ? data.projectRows(projectId) : data.mineRows(mineId);
    if (keys.mine.toInt() != mineId)
        throw EDatabaseError(QStringLiteral("Mine %1 does not hold the project or equipment row named").arg(mineId));
    ComputeViews& views = data.standOn(keys);
    if (sheetId >= 0) {
        if (planId >= 0)
            throw CliUsageError(QStringLiteral("--sheet and --plan name two different things to print"));
        const WorksheetKind* kind = kindOfChoice(selection.choice);
        if (!kind)
            throw CliUsageError(QStringLiteral("--sheet applies to choices 3 to 9"));
        if (!views.sheets(kind->letter).locate({QStringLiteral("SheetID")}, {sheetId}))
            throw EDatabaseError(QStringLiteral("Worksheet row %1 is not in the project").arg(sheetId));
        keys.kind = kind->letter;
        keys.sheet = sheetId;
    }
    // The selection window refuses to print without a project; so does the command.
    if (views.ProjectV.isEmpty())
        throw EDatabaseError(QStringLiteral("No Project Information to print"));
    selection.rows = keys;

    // Refuse a file that must not or cannot be written before anything prints.
    const QString refusal = outputFileRefusal(pdf.isEmpty() ? text : pdf, dm);
    if (!refusal.isEmpty())
        throw EDatabaseError(refusal);
    QSaveFile target(pdf.isEmpty() ? text : pdf);
    if (!target.open(QIODevice::WriteOnly))
        throw EDatabaseError(QStringLiteral("Cannot write %1: %2").arg(target.fileName(), target.errorString()));
    target.cancelWriting();

    DirectCosts::Watch leftOut(data.computation().totals);
    const auto print = [&](ReportCanvas& canvas) {
        RunReportJob(canvas, ReportOptions(), {}, dialogs, dm, data.computation(), selection);
        canvas.finish();
        return canvas.pageNumber();
    };
    const auto nothingPrinted = [](int pages) {
        if (pages == 0)
            throw EDatabaseError(QStringLiteral("There is nothing to print for this selection."));
    };
    int pages = 0;
    if (!pdf.isEmpty()) {
        PdfCanvas canvas(pdf, paperPageSize(paper));
        pages = print(canvas);
        nothingPrinted(pages);
        QString error;
        if (!canvas.commit(&error))
            throw EDatabaseError(QStringLiteral("Cannot write %1: %2").arg(pdf, error));
    } else {
        const QSizeF inches = paperInches(paper);
        TextCanvas canvas(inches.width(), inches.height());
        pages = print(canvas);
        nothingPrinted(pages);
        QSaveFile file(text);
        if (!file.open(QIODevice::WriteOnly) || file.write(canvas.text().toUtf8()) < 0 || !file.commit())
            throw EDatabaseError(QStringLiteral("Cannot write %1: %2").arg(text, file.errorString()));
    }
    out() << "Printed " << pages << (pages == 1 ? " page to " : " pages to ") << (pdf.isEmpty() ? text : pdf)
          << Qt::endl;
    printIncomplete(leftOut.values());
    return doneStatus(leftOut.values());
}

int cmdGenerate(QStringList args, Dialogs& dialogs)
{
    const QString dataDir = takeOption(args, QStringLiteral("--data"));
    const int projects = takeNumber(args, QStringLiteral("--projects"), true);
    const int sheets = takeNumber(args, QStringLiteral("--sheets"), true);
    const int equipment = takeNumber(args, QStringLiteral("--equipment"), true);
    const int seed = takeNumber(args, QStringLiteral("--seed"), false, 1);
    if (!args.isEmpty() || projects < 1 || sheets < 0 || equipment < 0)
        return usage();
    OpenedData data(dialogs, dataDir);
    if (!data.ok())
        return 1;
    const int mineId = generateMine(data.dm(), projects, sheets, equipment, static_cast<unsigned>(seed),
                                     terminalProgress(QStringLiteral("Generating projects")));
    out() << "Generated mine " << mineId << ": " << projects << " projects, " << projects * sheets << " worksheets, "
          << projects * sheets * equipment << " equipment rows" << Qt::endl;
    return 0;
}

// Deletes one record through the view that shows it, so that its table rules
// and cascades run as when a window deletes it.
int cmdDelete(QStringList args, ConsoleDialogs& dialogs)
{
    const QString dataDir = takeOption(args, QStringLiteral("--data"));
    const int mineId = takeNumber(args, QStringLiteral("--mine"), false, -1);
    const int projectId = takeNumber(args, QStringLiteral("--project"), false, -1);
    const QString sheet = takeOption(args, QStringLiteral("--sheet"));
    const int planId = takeNumber(args, QStringLiteral("--plan"), false, -1);
    dialogs.answerYes = takeFlag(args, QStringLiteral("--yes"));
    const int named = (mineId >= 0) + (projectId >= 0) + !sheet.isEmpty() + (planId >= 0);
    if (!args.isEmpty() || named != 1)
        return usage();
    QString costType;
    int sheetId = -1;
    if (!sheet.isEmpty()) {
        const QStringList parts = sheet.split(QLatin1Char(':'));
        bool ok = parts.size() == 2;
        if (ok)
            sheetId = parts[1].toInt(&ok);
        if (!ok)
            throw CliUsageError(QStringLiteral("--sheet takes D, M, R or O, a colon and a SheetID, not '%1'").arg(sheet));
        costType = parts[0].toUpper();
    }
    OpenedData data(dialogs, dataDir);
    if (!data.ok())
        return 1;
    DataModule& dm = data.dm();
    Table* view = nullptr;
    QString what;
    if (mineId >= 0) {
        data.show(data.mineRows(mineId));
        view = &dm.MineT;
        what = QStringLiteral("mine %1").arg(mineId);
    } else if (projectId >= 0) {
        data.show(data.projectRows(projectId));
        view = &dm.ProjectT;
        what = QStringLiteral("project %1").arg(projectId);
    } else if (sheetId >= 0 || !costType.isEmpty()) {
        const RowKeys keys = data.sheetRows(costType, sheetId);
        data.show(keys);
        view = &worksheetKind(keys.kind).sheetsOf(dm);
        what = QStringLiteral("worksheet %1:%2").arg(costType).arg(sheetId);
    } else {
        const RowKeys keys = data.planRows(planId);
        data.show(keys);
        view = worksheetKind(keys.kind).equipmentOf(dm);
        what = QStringLiteral("equipment row %1").arg(planId);
    }
    view->remove();
    out() << "Deleted " << what << Qt::endl;
    return 0;
}

// Copies a mine of any data set with the copy window's code.
// The volume sets of a project: each section's volume and the set's total, as
// "Total All Volumes" computes them.
int cmdVolume(QStringList args, Dialogs& dialogs)
{
    const QString dataDir = takeOption(args, QStringLiteral("--data"));
    const int projectId = takeNumber(args, QStringLiteral("--project"), true);
    const int setId = takeNumber(args, QStringLiteral("--set"), false, -1);
    const bool json = takeFlag(args, QStringLiteral("--json"));
    if (!args.isEmpty())
        return usage();
    OpenedData data(dialogs, dataDir);
    if (!data.ok())
        return 1;
    data.projectRows(projectId);
    VolumeSetViews volumes(data.dm().TarvaneDatabase, data.computation().rules);
    if (!volumes.standOnProject(projectId))
        throw EDatabaseError(QStringLiteral("Project %1 cannot be shown").arg(projectId));
    Table& sets = volumes.SetsV;
    if (setId >= 0 && !sets.locate({QStringLiteral("CrossID")}, {setId}))
        throw EDatabaseError(QStringLiteral("Volume set %1 is not a volume set of project %2").arg(setId).arg(projectId));
    QJsonArray all;
    if (!json)
        out() << "Project " << projectId << ": " << data.projectName(projectId) << Qt::endl;
    const Picture volume(QStringLiteral("###,###,###,###,###,###.##"));
    auto report = [&] {
        const int id = sets.fieldByName(QStringLiteral("CrossID")).asInteger();
        const QString name = sets.fieldByName(QStringLiteral("VolumeName")).asString();
        const VolumeSetTotal t = TotalAllVolumes(volumes.SectionsV);
        if (json) {
            QJsonArray sections;
            for (const SectionVolume& s : t.sections)
                sections.append(QJsonObject{{QStringLiteral("name"), s.name}, {QStringLiteral("volume"), s.volume}});
            all.append(QJsonObject{{QStringLiteral("set"), id},
                                   {QStringLiteral("name"), name},
                                   {QStringLiteral("sections"), sections},
                                   {QStringLiteral("total"), t.total}});
            return;
        }
        out() << "Volume set " << id << ": " << name << Qt::endl;
        for (const SectionVolume& s : t.sections)
            out() << "  " << s.name.leftJustified(50) << " " << volume.format(s.volume).rightJustified(14) << " cyd"
                  << Qt::endl;
        out() << "  " << QStringLiteral("Total Volume:").leftJustified(50) << " "
              << volume.format(t.total).rightJustified(14) << " cyd" << Qt::endl;
    };
    if (setId >= 0)
        report();
    else
        for (sets.first(); !sets.eof(); sets.next())
            report();
    if (json)
        out() << QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("project"), projectId},
                                                             {QStringLiteral("sets"), all}})
                                       .toJson(QJsonDocument::Compact))
              << Qt::endl;
    else if (setId < 0 && sets.isEmpty())
        out() << "No volume sets" << Qt::endl;
    return 0;
}

int cmdCopy(QStringList args, Dialogs& dialogs)
{
    const QString dataDir = takeOption(args, QStringLiteral("--data"));
    const int mineId = takeNumber(args, QStringLiteral("--mine"), true);
    const QString logFile = takeOption(args, QStringLiteral("--log"));
    const bool json = takeFlag(args, QStringLiteral("--json"));
    if (!args.isEmpty())
        return usage();
    OpenedData data(dialogs, dataDir);
    if (!data.ok())
        return 1;
    data.mineRows(mineId);
    return runCopyCommand(data.dm(), dialogs, mineId, logFile, json);
}

int cmdLog(QStringList args, Dialogs& dialogs)
{
    const QString dataDir = takeOption(args, QStringLiteral("--data"));
    const QString mineName = takeOption(args, QStringLiteral("--mine"));
    const bool json = takeFlag(args, QStringLiteral("--json"));
    if (!args.isEmpty())
        return usage();
    OpenedData data(dialogs, dataDir);
    if (!data.ok())
        return 1;
    return runLogCommand(data.dm(), mineName, json);
}

// A consistent copy of the data file, written while it may be in use.
int cmdBackup(QStringList args, Dialogs& dialogs)
{
    const QString dataDir = takeOption(args, QStringLiteral("--data"));
    const QString target = takeOption(args, QStringLiteral("--to"));
    if (!args.isEmpty() || target.isEmpty())
        return usage();
    OpenedData data(dialogs, dataDir);
    if (!data.ok())
        return 1;
    const QString copy = backUpDataFile(data.dm(), target);
    out() << "Backed up " << data.dm().TarvaneDatabase.filePath() << " to " << copy << Qt::endl;
    return 0;
}

// The workbook of a mine or of one of its projects, as XLSX or as CSV files.
int cmdExport(QStringList args, Dialogs& dialogs)
{
    const QString dataDir = takeOption(args, QStringLiteral("--data"));
    const int mineId = takeNumber(args, QStringLiteral("--mine"), true);
    const int projectId = takeNumber(args, QStringLiteral("--project"), false, -1);
    const QString xlsx = takeOption(args, QStringLiteral("--xlsx"));
    const QString csv = takeOption(args, QStringLiteral("--csv"));
    if (!args.isEmpty() || xlsx.isEmpty() == csv.isEmpty())
        return usage();
    OpenedData data(dialogs, dataDir);
    if (!data.ok())
        return 1;
    const RowKeys keys = data.mineOrProjectRows(mineId, projectId);
    DirectCosts::Watch leftOut(data.computation().totals);
    const Workbook book = buildMineWorkbook(data.dm(), data.computation(), projectId >= 0,
                                            terminalProgress(QStringLiteral("Listing projects")), keys);
    if (!xlsx.isEmpty()) {
        writeXlsxWorkbook(book, xlsx, data.dm());
        out() << "Exported " << book.sheets.size() << " sheets to " << xlsx << Qt::endl;
    } else {
        const QStringList files = writeCsvWorkbook(book, csv, data.dm());
        out() << "Exported " << files.size() << " sheets to " << csv << Qt::endl;
        for (const QString& f : files)
            out() << "  " << f << Qt::endl;
    }
    printIncomplete(leftOut.values());
    return doneStatus(leftOut.values());
}

// The reference tables as CSV files: written out, or read in after a check of every row.
int cmdRefdata(QStringList args, Dialogs& dialogs)
{
    const QString dataDir = takeOption(args, QStringLiteral("--data"));
    const bool dryRun = takeFlag(args, QStringLiteral("--dry-run"));
    if (args.size() != 2 || (args[0] != QLatin1String("export") && args[0] != QLatin1String("import")) ||
        (dryRun && args[0] == QLatin1String("export")))
        return usage();
    OpenedData data(dialogs, dataDir);
    if (!data.ok())
        return 1;
    Database& db = data.dm().TarvaneDatabase;
    if (args[0] == QLatin1String("export")) {
        const QStringList files = exportReferenceData(db, args[1]);
        out() << "Exported " << files.size() << " reference tables to " << args[1] << Qt::endl;
        for (const QString& f : files)
            out() << "  " << f << Qt::endl;
        return 0;
    }
    ReferenceImport import(db, args[1]);
    if (!import.errors().isEmpty()) {
        dialogs.error(import.refusal());
        return 1;
    }
    for (const QString& line : import.plan())
        out() << line << Qt::endl;
    if (dryRun) {
        out() << "Dry run: nothing was changed" << Qt::endl;
        return 0;
    }
    import.apply();
    out() << import.outcome() << Qt::endl;
    return 0;
}

int runCommand(const QString& command, const QStringList& args, ConsoleDialogs& dialogs)
{
    if (command == QLatin1String("init"))
        return cmdInit(args);
    if (command == QLatin1String("check"))
        return cmdCheck(args, dialogs);
    if (command == QLatin1String("bond"))
        return cmdBond(args, dialogs);
    if (command == QLatin1String("explain"))
        return cmdExplain(args, dialogs);
    if (command == QLatin1String("compare"))
        return cmdCompare(args, dialogs);
    if (command == QLatin1String("server"))
        return runServerCommand(args, dialogs);
    if (command == QLatin1String("import"))
        return cmdImport(args, dialogs);
    if (command == QLatin1String("reprice"))
        return cmdReprice(args, dialogs);
    if (command == QLatin1String("totals"))
        return cmdTotals(args, dialogs);
    if (command == QLatin1String("hours"))
        return cmdHours(args, dialogs);
    if (command == QLatin1String("report"))
        return cmdReport(args, dialogs);
    if (command == QLatin1String("generate"))
        return cmdGenerate(args, dialogs);
    if (command == QLatin1String("trucks"))
        return cmdTrucks(args, dialogs);
    if (command == QLatin1String("delete"))
        return cmdDelete(args, dialogs);
    if (command == QLatin1String("volume"))
        return cmdVolume(args, dialogs);
    if (command == QLatin1String("copy"))
        return cmdCopy(args, dialogs);
    if (command == QLatin1String("log"))
        return cmdLog(args, dialogs);
    if (command == QLatin1String("backup"))
        return cmdBackup(args, dialogs);
    if (command == QLatin1String("export"))
        return cmdExport(args, dialogs);
    if (command == QLatin1String("refdata"))
        return cmdRefdata(args, dialogs);
    if (command == QLatin1String("help"))
        return cmdHelp(args, dialogs);
    return usage();
}

}  // namespace

int runCli(const QStringList& argList)
{
    const auto parsed = parseCommandLine(argList);
    if (const int* status = std::get_if<int>(&parsed))
        return *status;
    const auto& [command, args] = std::get<ParsedCommand>(parsed);
    ConsoleDialogs dialogs;
    try {
        return runCommand(command, args, dialogs);
    } catch (const CliUsageError& e) {
        return reportUsageError(e.text(), command);
    } catch (const std::exception& e) {
        dialogs.showException(e);
        return 1;
    }
}
