#include "MineWorkbook.h"

#include "BondSummary.h"
#include "ComputeViews.h"
#include "Computation.h"
#include "Query.h"
#include "DataModule.h"
#include "WorksheetKinds.h"

#include <QHash>
#include <cmath>
#include <functional>
#include <utility>
#include <vector>

namespace {

Cell text(const QString& s)
{
    return {s, CellStyle::Text, {}};
}

// A number the file holds or a computation gives; one that is not finite cannot be a
// spreadsheet number and is shown as its text ("nan", "inf").
Cell number(double v, CellStyle style)
{
    if (!std::isfinite(v))
        return {QString::number(v), CellStyle::Text, {}};
    return {v, style, {}};
}

Cell integer(qint64 v)
{
    return {v, CellStyle::Integer, {}};
}

CellStyle styleOf(FieldType type)
{
    switch (type) {
    case FieldType::Integer:
    case FieldType::AutoInc: return CellStyle::Integer;
    case FieldType::Float: return CellStyle::Number;
    case FieldType::Currency: return CellStyle::Money;
    case FieldType::Date: return CellStyle::Date;
    default: return CellStyle::Text;
    }
}

// A stored field's value as a cell of its own kind; an empty field is an empty cell.
Cell storedCell(const Field& f)
{
    if (f.isNull())
        return {QVariant(), styleOf(f.dataType()), {}};
    switch (f.dataType()) {
    case FieldType::Integer:
    case FieldType::AutoInc: return integer(f.asInteger());
    case FieldType::Float:
    case FieldType::Currency: return number(f.asFloat(), styleOf(f.dataType()));
    case FieldType::Date: return {f.asDate(), CellStyle::Date, {}};
    case FieldType::Boolean: return {f.asBoolean(), CellStyle::Text, {}};
    default: return text(f.asString());
    }
}

// The stored fields a worksheet row lists: all but the cost-type letter, which the sheet names.
QList<Field*> inputFields(Table& sheets)
{
    QList<Field*> out;
    for (const FieldDef& def : sheets.format().fields)
        if (def.name != QLatin1String("CostType"))
            out << &sheets.fieldByName(def.name);
    return out;
}

Sheet bondSheet(Table& mine, const BondItems& b)
{
    Sheet s{QStringLiteral("Bond"), {QStringLiteral("Item"), QStringLiteral("Description"), QStringLiteral("Amount")}, {}};
    for (int i = 1; i <= 34; ++i)
        s.rows.append({integer(i), text(bondItemLabel(i)),
                       number(i == 14 ? b.item14 : b.item[i].toDouble(), CellStyle::Money)});
    s.rows.append(QList<Cell>());
    s.rows.append({{}, text(QStringLiteral("Inflation factor")), number(b.inflationFactor.toDouble(), CellStyle::Factor)});
    s.rows.append({{}, text(QStringLiteral("Phase I factor")), number(b.phase1Factor, CellStyle::Factor)});
    s.rows.append({{}, text(QStringLiteral("Phase II factor")), number(b.phase2Factor, CellStyle::Factor)});
    s.rows.append(QList<Cell>());
    // The percent of each indirect cost of each phase, beside its item.
    static const int firstItem[3] = {7, 15, 27};
    for (int phase = 0; phase < 3; ++phase)
        for (int i = 0; i < 5; ++i) {
            const Field& f = mine.fieldByName(QLatin1String(BondSummary::indirectFields(phase, i).percent));
            const int item = firstItem[phase] + i;
            s.rows.append({integer(item), text(QStringLiteral("Percent: ") + bondItemLabel(item)),
                           f.isNull() ? Cell{QVariant(), CellStyle::Percent, {}} : number(f.asFloat(), CellStyle::Percent)});
        }
    return s;
}

// The stored values the figures leave out, one a row, after the line every output carries.
Sheet warningsSheet(const LeftOutValues& values)
{
    Sheet s{QStringLiteral("Warnings"),
            {QStringLiteral("Table"), QStringLiteral("Key field"), QStringLiteral("Key"), QStringLiteral("Field"),
             QStringLiteral("Value"), QStringLiteral("Left out")},
            {}};
    for (const LeftOutValue& v : values)
        s.rows.append({text(v.table), text(v.keyField), integer(v.key), text(v.field), text(v.value), text(v.line())});
    s.rows.append(QList<Cell>());
    s.rows.append({text(incompleteLine(values))});
    return s;
}

}  // namespace

Workbook buildMineWorkbook(DataModule& dm, Computation& computation, bool oneProject,
                           const std::function<void(int done, int total)>& progress,
                           const std::optional<RowKeys>& rows)
{
    DirectCosts& totals = computation.totals;
    DirectCosts::Watch leftOut(totals);
    ComputeViews& views = computation.views;
    Workbook book;
    if (rows) {
        oneProject = rows->project.isValid();
        computation.bond.CalcBondSummaryOf(rows->mine, oneProject ? std::optional(rows->project) : std::nullopt);
        book.sheets << bondSheet(computation.bond.mineRecordOf(rows->mine), computation.bond.items());
    } else {
        computation.bond.CalcBondSummary(!oneProject);
        book.sheets << bondSheet(dm.MineT, computation.bond.items());
    }

    const std::array<WorksheetKind, 4>& kinds = worksheetKinds();
    Sheet projects{QStringLiteral("Projects"),
                   {QStringLiteral("PrjID"), QStringLiteral("Project"), QStringLiteral("Demolition"),
                    QStringLiteral("Earthmoving"), QStringLiteral("Revegetation"), QStringLiteral("Other")},
                   {}};
    QList<Sheet> sheets;
    for (const WorksheetKind& k : kinds) {
        Sheet s{QString::fromLatin1(k.sheetName), {}, {}};
        for (const Field* f : inputFields(k.sheetsOf(dm)))
            s.columns << f->fieldName();
        s.columns << QStringLiteral("Cost");
        sheets << s;
    }
    // The machines' columns; the cost is hours × (equipment cost + labor cost) of its row.
    Sheet machines{QStringLiteral("Equipment"),
                   {QStringLiteral("Worksheet"), QStringLiteral("SheetID"), QStringLiteral("PlanID"), QStringLiteral("Kind"),
                    QStringLiteral("Name"), QStringLiteral("Route"), QStringLiteral("Hours"), QStringLiteral("Unit hours"),
                    QStringLiteral("Equipment cost per hour"), QStringLiteral("Labor cost per hour"),
                    QStringLiteral("Cost")},
                   {}};
    QHash<int, QString> kindNames;
    {
        Query q(dm.TarvaneDatabase, QStringLiteral("WorkbookKinds"));
        q.setSql({QStringLiteral("SELECT EquipCode, EquipmentName FROM \"EQUIP.DB\"")});
        q.open();
        for (q.first(); !q.eof(); q.next())
            kindNames.insert(q.fieldByName(QStringLiteral("EquipCode")).asInteger(),
                             q.fieldByName(QStringLiteral("EquipmentName")).asString());
    }

    // The rows are listed from the computation's own views: the windows' stay where they are.
    totals.beginReport();  // one message for the values that cannot be used, at the end
    try {
        Table& p = views.ProjectV;
        const auto eachProject = [&](const std::function<void()>& work) {
            if (oneProject) {
                if (rows ? views.standOnRows({rows->mine, rows->project, {}, {}, {}}) == ComputeViews::Found::All
                         : views.standOnShownProject(dm)) {
                    work();
                    if (progress)
                        progress(1, 1);
                }
                return;
            }
            const QVariant mine = rows ? rows->mine
                                       : dm.MineT.isEmpty() ? QVariant() : dm.MineT.fieldByName(QStringLiteral("MineID")).value();
            if (!views.standOnMine(mine))
                return;
            const int total = p.recordCount();
            int done = 0;
            for (p.first(); !p.eof(); p.next()) {
                work();
                if (progress)
                    progress(++done, total);
            }
        };
        eachProject([&] {
            projects.rows.append({integer(p.fieldByName(QStringLiteral("PrjID")).asInteger()),
                                  text(p.fieldByName(QStringLiteral("ProjectName")).asString()),
                                  number(totals.totalOfViewsProject(QLatin1Char('D')), CellStyle::Money),
                                  number(totals.totalOfViewsProject(QLatin1Char('M')), CellStyle::Money),
                                  number(totals.totalOfViewsProject(QLatin1Char('R')), CellStyle::Money),
                                  number(totals.totalOfViewsProject(QLatin1Char('O')), CellStyle::Money)});
            for (size_t k = 0; k < kinds.size(); ++k) {
                Table& t = views.sheets(kinds[k].letter);
                const QList<Field*> fields = inputFields(t);
                for (t.first(); !t.eof(); t.next()) {
                    QList<Cell> row;
                    for (const Field* f : fields)
                        row << storedCell(*f);
                    row << number(totals.viewsRowCost(views, kinds[k].letter).total(), CellStyle::Money);
                    sheets[static_cast<qsizetype>(k)].rows << row;
                    Table* e = views.equipment(kinds[k].letter);
                    if (!e)
                        continue;
                    for (e->first(); !e->eof(); e->next()) {
                        const DirectCosts::MachineCost m = totals.viewsMachineCost(views, kinds[k].letter);
                        const int r = static_cast<int>(machines.rows.size()) + 2;  // the sheet's row, after its header
                        machines.rows.append(
                            {text(QString::fromLatin1(kinds[k].sheetName)), storedCell(e->fieldByName(QStringLiteral("SheetID"))),
                             storedCell(e->fieldByName(QStringLiteral("PlanID"))),
                             text(kindNames.value(e->fieldByName(QStringLiteral("EquipCode2")).asInteger())),
                             storedCell(e->fieldByName(QStringLiteral("EquipmentName"))),
                             storedCell(e->fieldByName(QStringLiteral("Route"))), number(m.hours, CellStyle::Hours),
                             number(m.unitHours, CellStyle::Hours),
                             number(e->fieldByName(QStringLiteral("OperatCost")).asFloat(), CellStyle::Money),
                             number(e->fieldByName(QStringLiteral("LaborCost")).asFloat(), CellStyle::Money),
                             m.usable ? Cell{m.cost, CellStyle::Money, QStringLiteral("=G%1*(I%1+J%1)").arg(r)}
                                      : text(QStringLiteral("left out"))});
                    }
                }
            }
        });
    } catch (...) {
        totals.dropReport();
        throw;
    }
    totals.endReport();
    book.sheets << projects << sheets << machines;
    if (!leftOut.values().isEmpty())
        book.sheets << warningsSheet(leftOut.values());
    return book;
}
