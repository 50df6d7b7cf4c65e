#pragma once
// The program's computations over one data module, wired together: equipment
// hours, worksheet totals, the bond summary, and the table rules that call them.
#include "BondSummary.h"
#include "DirectCosts.h"
#include "EquipCalc.h"
#include "TableRules.h"

class Computation : public RuleServices {
public:
    // `display` receives the bond's texts; `activated` is the main window's flag.
    Computation(TTarvaneDataForm& dm, Dialogs& dialogs, BondDisplay& display, bool* activated);

    EquipmentCalculator calculator;
    DirectCosts totals;
    BondSummary bond;
    TableRules rules;

    double equipmentHours(DataSet& row, int kind) override;
    QString totalText(QChar costType) override;
    void setSuspendPusherCalc(bool on) override { calculator.SuspendPusherCalc = on; }
};
