#pragma once
// The workbook of a mine, or of one of its projects, made from the data
// module's views by the program's own computations: the bond with its labels,
// factors and fee percents; each project's four totals; every row of each kind
// of worksheet with its stored inputs and its cost; every machine with its hours
// and hourly costs, and its cost as a formula of its row.
#include "RowKeys.h"
#include "Workbook.h"

#include <functional>
#include <optional>

class Computation;
class DataModule;

// The workbook of the mine a window shows (with `oneProject`, of the project it shows), or
// of the mine named by `rows` (with a project in them, of that project). The windows'
// views do not move. `progress` is told after each project how many of them are listed.
Workbook buildMineWorkbook(DataModule& dm, Computation& computation, bool oneProject,
                           const std::function<void(int done, int total)>& progress = {},
                           const std::optional<RowKeys>& rows = std::nullopt);
