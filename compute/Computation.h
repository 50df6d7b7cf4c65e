#pragma once
// The program's computations over one data module, wired together: equipment
// hours, worksheet totals, the bond summary, and the table rules that call them.
#include "BondSummary.h"
#include "ComputeViews.h"
#include "DirectCosts.h"
#include "EquipmentHours.h"
#include "TableRules.h"

class Computation : public RuleServices {
public:
    // `display` is told of each bond computed.
    Computation(DataModule& dm, Dialogs& dialogs, BondDisplay& display);

    ComputeViews views;  // the computations' own chain of views over the data module's connection
    EquipmentCalculator calculator;
    DirectCosts totals;
    BondSummary bond;
    TableRules rules;

    double equipmentHours(DataSet& row, int kind) override;
    // The total of a kind of worksheet; empty while a view it reads is not open.
    QString totalText(QChar costType) override;

    // The views the total of a kind of worksheet reads, and those the bond reads.
    QList<DataSet*> viewsOfTotal(QChar costType) const;
    QList<DataSet*> viewsOfBond() const;
    void setSuspendPusherCalc(bool on) override { calculator.SuspendPusherCalc = on; }
    // Whether the hours of kinds 2 to 9 may be computed (see EquipmentCalculator::MayCompute).
    void setMayCompute(bool on) { calculator.MayCompute = on; }

private:
    DataModule& dm_;
};
