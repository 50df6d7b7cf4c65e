#pragma once
// The direct-cost totals of the current project's worksheets of each kind.
class EquipmentCalculator;
class TTarvaneDataForm;
class Table;

class DirectCosts {
public:
    DirectCosts(TTarvaneDataForm& dm, EquipmentCalculator& calc) : dm_(dm), calc_(calc) {}

    double TotalDemoCost();
    double TotalMatCost();
    double TotalRevegCost();
    double TotalOtherCost();

private:
    enum class ItemSource { EquipmentDescription, WorksheetDescription, EquipmentName };
    // hours × (equipment cost + labor cost) over the equipment of every worksheet row.
    double equipmentCost(Table& sheets, Table& equipment, ItemSource item);

    TTarvaneDataForm& dm_;
    EquipmentCalculator& calc_;
};
