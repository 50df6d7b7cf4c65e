#pragma once
// tarvane-cli compare, import and reprice: two estimates side by side, an estimate
// brought in from another data file, and an estimate re-priced at this year's costs.
#include <QString>

class Computation;
class DataModule;
class Dialogs;
struct MineComparison;

// The comparison as one JSON object (with the "incomplete" member where a bond left values out).
QString comparisonJson(const MineComparison& c, int mineId, int withId);
// The comparison as text: the 34 items side by side, then each record that differs.
void printComparison(const MineComparison& c, int mineId, int withId);

enum class ReferenceChoice;
// Brings mine `mineId` of the data directory `from` in; `dryRun` lists what would be
// brought in and writes nothing. Returns the exit status.
int runImportCommand(DataModule& dm, Computation& computation, Dialogs& dialogs, const QString& from, int mineId,
                     ReferenceChoice choice, bool dryRun, bool json);

struct CostIndex;
// Re-prices a copy of the mine at the index given, then prints the comparison of the two.
int runRepriceCommand(DataModule& dm, Computation& computation, Dialogs& dialogs, int mineId, const CostIndex& index,
                      bool json);
