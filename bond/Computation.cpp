#include "Computation.h"

Computation::Computation(TTarvaneDataForm& dm, Dialogs& dialogs, BondDisplay& display, bool* activated)
    : calculator(dm, dialogs), totals(dm, calculator, dialogs), bond(dm, totals, dialogs, display), rules(dm, dialogs, *this)
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
