#pragma once
// Re-pricing an estimate at this year's costs: a copy of the mine, made by the copy's
// own code, whose machines take the newest equipment and labor costs of the reference
// data and whose cost index is the one given (today's); the source stays as it was.
// A machine whose model the handbook no longer holds, or whose labor cost cannot be
// traced to one laborer, keeps its stored cost and is listed with the reason.
#include <QDate>
#include <QList>
#include <QString>
#include <functional>

class DataModule;
class Database;
class Dialogs;
class TableRules;

struct CostIndex {
    double current = 0;  // ENRIndex
    QDate date;          // ENRIndexDate
    double fiveYearsEarlier = 0;  // ENRIndex5; 0 keeps the mine's
    QDate fiveYearsEarlierDate;
    QString from;        // where it was taken from, for the user
};

// A cost index as the mine page takes one ("##########.##", at least 0.1), and its range in words.
bool isCostIndex(double value);
QString costIndexRange();

// The newest cost index the data file records: that of the mine whose current index is
// dated latest (of equal dates, the one entered last), dated today. Empty (current 0)
// when no mine has one.
CostIndex newestCostIndex(Database& db);

struct RepricedMachine {
    QString place;  // "Project North Pit / Earthmoving row Topsoil / Machine Caterpillar, ..."
    int planId = 0;  // in the copy
    double equipmentBefore = 0, equipmentAfter = 0, laborBefore = 0, laborAfter = 0;
    QString equipmentKept, laborKept;  // why a cost was kept; empty when it was repriced
    bool kept() const { return !equipmentKept.isEmpty() || !laborKept.isEmpty(); }
    bool changed() const { return equipmentBefore != equipmentAfter || laborBefore != laborAfter; }
};

struct RepricedMine {
    int source = -1, mineId = -1;
    double indexBefore = 0, indexAfter = 0;
    QDate dateBefore, dateAfter;
    QList<RepricedMachine> machines;  // every machine of the copy, in worksheet order
};

// Copies mine `mineId` and re-prices the copy, in one transaction. False when a stage
// of the copy failed (its message was shown); EDatabaseError on any other failure.
// Either way nothing is written.
bool repriceMine(DataModule& dm, TableRules& rules, Dialogs& dialogs, int mineId, const CostIndex& index,
                 RepricedMine& result, const std::function<void(int)>& stepBy = {});
