#pragma once
// The mine page, the project page and the direct-cost worksheets 2, 3, 13, 14
// and 15, recomputing their cost figures from the rows as the totals do.
#include "LeftOutValue.h"
#include "RowKeys.h"

#include <QString>
#include <memory>
#include <optional>

class Computation;
class ComputeViews;
class ReportFrame;
class Table;
class DataModule;

struct WorksheetContext {
    ReportFrame& frame;
    DataModule& dm;
    Computation& computation;
    QString kindLabel;  // "DE-ID", "MAT-ID" or "REV-ID" for Worksheet 13's title
    // The report's own views of the data file, standing at first on the rows named (else
    // on those the windows show): the pages are printed from these, and a window's record
    // never moves.
    ComputeViews& views();
    std::shared_ptr<ComputeViews> ownViews;
    std::optional<RowKeys> rows;
};

// The page's note of the stored values its figures leave out: "Incomplete: <n> stored
// value(s) left out" and one line for each; nothing when none was left out.
void PrintIncompleteNote(ReportFrame& frame, const QString& continuedTitle, const LeftOutValues& values);

void PrintMinePage(WorksheetContext& ctx);
void PrintProjectPage(WorksheetContext& ctx, bool newPage);
void PrintDemolitionWorksheet(WorksheetContext& ctx, bool newPage);
void PrintEarthmovingWorksheet(WorksheetContext& ctx, bool newPage);
void PrintEquipmentCostSummary(WorksheetContext& ctx, bool newPage, Table& equipment, const QString& itemName);
void PrintRevegetationWorksheet(WorksheetContext& ctx, bool newPage);
void PrintOtherWorksheet(WorksheetContext& ctx, bool newPage);
