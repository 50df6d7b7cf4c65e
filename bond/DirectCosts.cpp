#include "DirectCosts.h"

#include "EquipCalc.h"
#include "TarvaneData.h"

#include <optional>

namespace {

// Keeps a view's current row (and its controls quiet) for the length of a walk.
class KeepPosition {
public:
    explicit KeepPosition(DataSet& ds) : ds_(ds), mark_(ds.isEmpty() ? kNoBookmark : ds.bookmark())
    {
        ds_.disableControls();
    }
    void restore()
    {
        if (mark_ != kNoBookmark && ds_.bookmarkValid(mark_))
            ds_.gotoBookmark(mark_);
    }
    ~KeepPosition() { ds_.enableControls(); }

private:
    DataSet& ds_;
    Bookmark mark_;
};

// The worksheet row first (its equipment follows it), then the equipment row.
class KeepSheetAndEquipment {
public:
    KeepSheetAndEquipment(DataSet& sheets, DataSet* equipment) : sheets_(sheets)
    {
        if (equipment)
            equipment_.emplace(*equipment);
    }
    ~KeepSheetAndEquipment()
    {
        try {
            sheets_.restore();
            if (equipment_)
                equipment_->restore();
        } catch (...) {
            // The walk's own error, if any, is what reaches the caller.
        }
    }

private:
    KeepPosition sheets_;
    std::optional<KeepPosition> equipment_;
};

// Clears CalcEnabled while equipment rows are scanned; puts it back on every exit.
class CalcPause {
public:
    explicit CalcPause(TTarvaneDataForm& dm) : dm_(dm), was_(dm.CalcEnabled) { dm_.CalcEnabled = false; }
    ~CalcPause() { dm_.CalcEnabled = was_; }

private:
    TTarvaneDataForm& dm_;
    bool was_;
};

double num(DataSet& ds, const char* field)
{
    return ds.fieldByName(QLatin1String(field)).asFloat();
}

}  // namespace

double DirectCosts::equipmentCost(Table& sheets, Table& equipment, ItemSource item)
{
    double sum = 0.0;
    CalcPause pause(dm_);
    for (sheets.first(); !sheets.eof(); sheets.next()) {
        for (equipment.first(); !equipment.eof(); equipment.next()) {
            switch (item) {
            case ItemSource::EquipmentDescription:
                calc_.ItemName = equipment.fieldByName(QStringLiteral("Description")).asString();
                break;
            case ItemSource::WorksheetDescription:
                calc_.ItemName = sheets.fieldByName(QStringLiteral("Description")).asString();
                break;
            case ItemSource::EquipmentName:
                calc_.ItemName = equipment.fieldByName(QStringLiteral("Name")).asString();
                break;
            }
            const int kind = equipment.fieldByName(QStringLiteral("EquipCode2")).asInteger();
            const double hours = calc_.CalcEquipHours(equipment, kind, false, true);
            sum += hours * (num(equipment, "OperatCost") + num(equipment, "LaborCost"));
        }
    }
    return sum;
}

double DirectCosts::TotalDemoCost()
{
    KeepSheetAndEquipment keep(dm_.DemolT, &dm_.EquipDemoT);
    double sum = 0.0;
    for (dm_.DemolT.first(); !dm_.DemolT.eof(); dm_.DemolT.next())
        sum += num(dm_.DemolT, "Volume") * num(dm_.DemolT, "UnitCost");
    calc_.ActivityName = QStringLiteral("Demolition");
    return sum + equipmentCost(dm_.DemolT, dm_.EquipDemoT, ItemSource::EquipmentDescription);
}

double DirectCosts::TotalMatCost()
{
    KeepSheetAndEquipment keep(dm_.MatT, &dm_.EquipMatT);
    calc_.ActivityName = QStringLiteral("Earhmoving");
    return equipmentCost(dm_.MatT, dm_.EquipMatT, ItemSource::WorksheetDescription);
}

double DirectCosts::TotalRevegCost()
{
    KeepSheetAndEquipment keep(dm_.RevegT, &dm_.EquipRevegT);
    Table& r = dm_.RevegT;
    double sum = 0.0;
    for (r.first(); !r.eof(); r.next()) {
        sum += num(r, "AcresSeed") * (num(r, "CostSeedBed") + num(r, "CostSeed"));
        sum += num(r, "AcresPlant") * (num(r, "CostHerb") + num(r, "CostPlant"));
        sum += (num(r, "RAcresSeed") * num(r, "SeedFail") / 100.0) * (num(r, "RCostSeedBed") + num(r, "RCostSeed"));
        sum += (num(r, "RAcresPlant") * num(r, "PlantFail") / 100.0) * (num(r, "RCostHerb") + num(r, "RCostPlant"));
        sum += num(r, "OtherCost");
    }
    calc_.ActivityName = QStringLiteral("Revegetation");
    return sum + equipmentCost(r, dm_.EquipRevegT, ItemSource::EquipmentName);
}

double DirectCosts::TotalOtherCost()
{
    KeepSheetAndEquipment keep(dm_.OtherT, nullptr);
    double sum = 0.0;
    for (dm_.OtherT.first(); !dm_.OtherT.eof(); dm_.OtherT.next())
        sum += num(dm_.OtherT, "TotalCost");
    return sum;
}
