#pragma once
// The print step of a report: which worksheets print, in which order, for
// each report choice and detail, with the calculated fields held off for the
// run and every walked table returned to its row afterwards.
#include "RowKeys.h"

#include <functional>
#include <optional>

class Computation;
class ComputeViews;
class DataSet;
class Dialogs;
class ReportCanvas;
class ReportFrame;
struct ReportOptions;
struct UnprintableEdges;
class DataModule;
struct WorksheetContext;

struct ReportSelection {
    int choice = 0;              // 0 to 9, in the order of the selection window
    bool detail = false;         // "Page and All Pages Below" or "All Items"
    DataSet* equipment = nullptr;  // equipment mode: this row's worksheet alone
    // Told how many of the run's outermost rows (projects, worksheet rows or
    // equipment rows) have printed, and of how many.
    std::function<void(int done, int total)> progress;
    // The rows to print from, by key (with a machine: its worksheet alone); without them
    // the rows the windows show.
    std::optional<RowKeys> rows;
};

void PrintReport(WorksheetContext& ctx, const ReportSelection& selection);

// The header lines of every framed page read the mine and project the views stand on.
void BindFrameToViews(ReportFrame& frame, ComputeViews& views);

// A whole job on a canvas: the page frame from the options, the start of the
// job with the printer's unprintable edges, then the print step of the selection.
void RunReportJob(ReportCanvas& canvas, const ReportOptions& options, const UnprintableEdges& edges, Dialogs& dialogs,
                  DataModule& dm, Computation& computation, const ReportSelection& selection);
