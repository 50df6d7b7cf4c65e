#include "Computation.h"

#include "DataModule.h"
#include "WorksheetKinds.h"

Computation::Computation(DataModule& dm, Dialogs& dialogs, BondDisplay& display)
    : views(dm.TarvaneDatabase), calculator(dm, dialogs), totals(dm, calculator, dialogs, views), bond(dm, totals, dialogs, display), rules(dm, dialogs, *this),
      dm_(dm)
{
    rules.install();
    rules.logMineEdits(views.MineV);  // the looked-up fee percents of a mine no window shows
}

double Computation::equipmentHours(DataSet& row, int kind)
{
    return calculator.CalcEquipHours(row, kind, false, false);
}

QList<DataSet*> Computation::viewsOfTotal(QChar costType) const
{
    const WorksheetKind* kind = findWorksheetKind(costType);
    if (!kind)
        kind = &worksheetKind(QLatin1Char('O'));
    QList<DataSet*> views{&kind->sheetsOf(dm_)};
    if (Table* equipment = kind->equipmentOf(dm_))
        views << equipment << &dm_.EquipStuffT << &dm_.EquipStuff1T;  // with the partners of trucks and push dozers
    return views;
}

QList<DataSet*> Computation::viewsOfBond() const
{
    QList<DataSet*> out{&dm_.MineT, &dm_.ProjectT};
    for (const WorksheetKind& kind : worksheetKinds())
        for (DataSet* v : viewsOfTotal(kind.letter))
            if (!out.contains(v))
                out << v;
    return out << &dm_.Graph2T << &dm_.Graph3T;  // the fee tables
}

QString Computation::totalText(QChar costType)
{
    if (!dm_.closedTable(viewsOfTotal(costType)).isEmpty())
        return {};  // the page that shows the total says which table is missing
    const WorksheetKind* kind = findWorksheetKind(costType);
    if (!kind)
        kind = &worksheetKind(QLatin1Char('O'));
    const double total = totals.total(kind->letter);
    try {
        return formatMoney(total);
    } catch (const MoneyRangeError& e) {
        throw MoneyRangeError(QLatin1String(kind->totalName) + QStringLiteral(": ") + e.message());
    }
}
