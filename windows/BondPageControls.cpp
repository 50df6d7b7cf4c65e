#include "BondPageControls.h"

#include "BondSummary.h"

namespace {

struct ItemControls {
    int item;
    const char* mine;
    const char* project;
};

// Items 1 to 34 and the repeated showings of items 3, 4 and 13.
const ItemControls kItemControls[] = {
    {1, "BTotalDemoCostEdit", "BTotalDemoCostEditPrj"},
    {2, "BTotalMaterialCostEdit", "BTotalMaterialCostEditPrj"},
    {3, "BtotalRevegCostEdit", "BtotalRevegCostEditPrj"},
    {4, "BTotalOtherCostEdit", "BTotalOtherCostEditPrj"},
    {5, "TotalDirectEdit", "TotalDirectEditPrj"},
    {6, "BInflatedDirectCostEdit", "BInflatedDirectCostEditPrj"},
    {7, "BMobDemobCostEdit", "BMobDemobCostEditPrj"},
    {8, "BContinCostEdit", "BContinCostEditPrj"},
    {9, "BEngCostEdit", "BEngCostEditPrj"},
    {10, "BProfitCostEdit", "BProfitCostEditPrj"},
    {11, "BFeeCostEdit", "BFeeCostEditPrj"},
    {12, "TotalIndirectEdit", "TotalIndirectEditPrj"},
    {13, "TotalBondEdit", "TotalBondEditPrj"},
    {13, "TotalBond1Edit", "TotalBond1EditPrj"},
    {13, "TotalBond2Edit", "TotalBond2EditPrj"},
    {14, "BInflatedDirectCostIEdit", "BInflatedDirectCost1EditPrj"},
    {15, "BMobDemobCostIEdit", "BMobDemobCostIEditPrj"},
    {16, "BContinCostIEdit", "BContinCostIEditPrj"},
    {17, "BEngCostIEdit", "BEngCostIEditPrj"},
    {18, "BProfitCostIEdit", "BProfitCostIEditPrj"},
    {19, "BFeeCostIEdit", "BFeeCostIEditPrj"},
    {20, "TotalIndirectIEdit", "TotalIndirectIEditPrj"},
    {21, "BAfterPhaseIEdit", "BAfterPhaseIEditPrj"},
    {22, "BMinimimBondEdit", "BMinimimBondEditPrj"},
    {23, "BRequiedBondEdit", "BRequiedBondEditPrj"},
    {24, "BPhaseIReleaseAmountEdit", "BPhaseIReleaseAmountEditPrj"},
    {3, "BtotalRevegCost1Edit", "BtotalRevegCost1EditPrj"},
    {4, "BTotalOtherCost1Edit", "BTotalOtherCost1EditPrj"},
    {25, "TotalDirectIIEdit", "TotalDirectIIEditPrj"},
    {26, "BInflatedDirectCostIIEdit", "BInflatedDirectCostIIEditPrj"},
    {27, "BMobDemobCostIIEdit", "BMobDemobCostIIEditPrj"},
    {28, "BContinCostIIEdit", "BContinCostIIEditPrj"},
    {29, "BEngCostIIEdit", "BEngCostIIEditPrj"},
    {30, "BProfitCostIIEdit", "BProfitCostIIEditPrj"},
    {31, "BFeeCostIIEdit", "BFeeCostIIEditPrj"},
    {32, "TotalIndirectIIEdit", "TotalIndirectIIEditPrj"},
    {33, "TotalBondIIEdit", "TotalBondIIEditPrj"},
    {34, "PhaseIIRealeaseEdit", "PhaseIIRealeaseEditPrj"},
};

// The factor controls: item 6's, Phase I's, Phase II's.
const ItemControls kFactorControls[] = {
    {0, "BInflationFactorEdit", "BInflationFactorEditPrj"},
    {1, "BInflationFactorIEdit", "BInflationFactor1EditPrj"},
    {2, "BInflationFactorIIEdit", "BInflationFactorIIEditPrj"},
};

}  // namespace

namespace BondPageControls {

QStringList ofItem(int item)
{
    QStringList out;
    for (const ItemControls& c : kItemControls)
        if (c.item == item)
            out << QString::fromLatin1(c.mine) << QString::fromLatin1(c.project);
    return out;
}

QString projectControlOf(const QString& mineControl)
{
    for (const ItemControls& c : kItemControls)
        if (mineControl == QLatin1String(c.mine))
            return QString::fromLatin1(c.project);
    for (const ItemControls& c : kFactorControls)
        if (mineControl == QLatin1String(c.mine))
            return QString::fromLatin1(c.project);
    return {};
}

QList<QPair<QString, QString>> texts(const BondItems& items)
{
    QList<QPair<QString, QString>> out;
    for (const ItemControls& c : kItemControls) {
        const QString text = items.amountText(c.item);
        out.append({QString::fromLatin1(c.mine), text});
        out.append({QString::fromLatin1(c.project), text});
    }
    for (const ItemControls& c : kFactorControls) {
        const QString text = items.factorText(c.item);
        out.append({QString::fromLatin1(c.mine), text});
        out.append({QString::fromLatin1(c.project), text});
    }
    return out;
}

}  // namespace BondPageControls
