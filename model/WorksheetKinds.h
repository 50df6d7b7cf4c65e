#pragma once
// The four kinds of worksheet of a project, in one table: the cost-type letter that
// ties a row (and its machines) to its kind, the table file, the data module's views,
// and the names the totals, messages, printed pages and workbook give it.
#include <QChar>
#include <QString>
#include <array>

class Table;
class DataModule;

struct WorksheetKind {
    // What names a machine of the kind in the messages of its hours.
    enum class MachineItem { EquipmentDescription, WorksheetDescription, EquipmentName, None };

    QChar letter;            // 'D', 'M', 'R', 'O'
    const char* tableName;   // "DEMOL.DB", ...
    const char* sheetName;   // the workbook's sheet: "Demolition", "Earthmoving", ...
    const char* activity;    // the hours' messages name the activity: "Demolition", "Earhmoving", ...
    const char* totalName;   // "The demolition total", ... (a total beyond the range of money)
    const char* idLabel;     // Worksheet 13's title: "DE-ID", "MAT-ID", "REV-ID"; empty for other costs
    const char* itemField;   // the worksheet row's field Worksheet 13 names it by
    MachineItem machineItem;
    bool totalAfterChange;   // a post or delete of a row shows the kind's total again
    Table DataModule::*sheets;
    Table DataModule::*equipment;  // nullptr: the kind has no machines

    bool hasMachines() const { return equipment != nullptr; }
    Table& sheetsOf(DataModule& dm) const;
    Table* equipmentOf(DataModule& dm) const;  // nullptr for other costs
};

// D, M, R and O, in that order.
const std::array<WorksheetKind, 4>& worksheetKinds();
// The kind of a cost-type letter (either case); nullptr for any other.
const WorksheetKind* findWorksheetKind(QChar letter);
// The same, for a letter that must be one: throws EDatabaseError naming it otherwise.
const WorksheetKind& worksheetKind(QChar letter);
