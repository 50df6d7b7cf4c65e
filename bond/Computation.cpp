#include "Computation.h"

Computation::Computation(TTarvaneDataForm& dm, Dialogs& dialogs, BondDisplay& display, bool* activated)
    : calculator(dm, dialogs), totals(dm, calculator), bond(dm, totals, dialogs, display), rules(dm, dialogs, *this)
{
    calculator.Activated = activated;
    rules.install();
}

double Computation::equipmentHours(DataSet& row, int kind)
{
    return calculator.CalcEquipHours(row, kind, false, false);
}

QString Computation::totalText(QChar costType)
{
    switch (costType.unicode()) {
    case 'D':
        return formatMoney(totals.TotalDemoCost());
    case 'M':
        return formatMoney(totals.TotalMatCost());
    case 'R':
        return formatMoney(totals.TotalRevegCost());
    default:
        return formatMoney(totals.TotalOtherCost());
    }
}
