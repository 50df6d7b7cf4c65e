#include "Computation.h"

#include "TarvaneData.h"

Computation::Computation(TTarvaneDataForm& dm, Dialogs& dialogs, BondDisplay& display, bool* activated)
    : calculator(dm, dialogs), totals(dm, calculator, dialogs), bond(dm, totals, dialogs, display), rules(dm, dialogs, *this),
      dm_(dm)
{
    calculator.Activated = activated;
    rules.install();
}

double Computation::equipmentHours(DataSet& row, int kind)
{
    return calculator.CalcEquipHours(row, kind, false, false);
}

QList<DataSet*> Computation::viewsOfTotal(QChar costType) const
{
    QList<DataSet*> equipment{&dm_.EquipStuffT, &dm_.EquipStuff1T};  // the partners of trucks and push dozers
    switch (costType.unicode()) {
    case 'D':
        return QList<DataSet*>{&dm_.DemolT, &dm_.EquipDemoT} + equipment;
    case 'M':
        return QList<DataSet*>{&dm_.MatT, &dm_.EquipMatT} + equipment;
    case 'R':
        return QList<DataSet*>{&dm_.RevegT, &dm_.EquipRevegT} + equipment;
    default:
        return {&dm_.OtherT};
    }
}

QList<DataSet*> Computation::viewsOfBond() const
{
    QList<DataSet*> out{&dm_.MineT, &dm_.ProjectT};
    for (QChar type : {QLatin1Char('D'), QLatin1Char('M'), QLatin1Char('R'), QLatin1Char('O')})
        for (DataSet* v : viewsOfTotal(type))
            if (!out.contains(v))
                out << v;
    return out << &dm_.Graph2T << &dm_.Graph3T;  // the fee tables
}

QString Computation::totalText(QChar costType)
{
    if (!dm_.closedTable(viewsOfTotal(costType)).isEmpty())
        return {};  // the page that shows the total says which table is missing
    double total = 0.0;
    QString name;
    switch (costType.unicode()) {
    case 'D':
        total = totals.TotalDemoCost();
        name = QStringLiteral("The demolition total");
        break;
    case 'M':
        total = totals.TotalMatCost();
        name = QStringLiteral("The earthmoving total");
        break;
    case 'R':
        total = totals.TotalRevegCost();
        name = QStringLiteral("The revegetation total");
        break;
    default:
        total = totals.TotalOtherCost();
        name = QStringLiteral("The other reclamation total");
        break;
    }
    try {
        return formatMoney(total);
    } catch (const MoneyRangeError& e) {
        throw MoneyRangeError(name + QStringLiteral(": ") + e.message());
    }
}
