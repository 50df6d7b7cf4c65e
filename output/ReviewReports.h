#pragma once
// The reviewer's printed pages: the tree of what an amount is made of, and two
// estimates side by side. Both print through the page frame of the worksheets,
// so every output of the report canvas (preview, printer, PDF, text) takes them.
#include "ReportFrame.h"

struct ExplainNode;
struct MineComparison;

// The tree as a boxed table (what, value, rule, where stored), each level indented.
// `mine` and `project` name them in the page header.
void PrintExplanation(ReportFrame& frame, const ExplainNode& root, const QString& mine, const QString& project);

// The 34 items of both mines with the difference and percent, then every record that differs.
void PrintComparison(ReportFrame& frame, const MineComparison& c, int mineId, int withId);

// The percent column of a comparison: "0.00 %", "new" when the first amount is 0.
QString comparisonPercent(double before, double after);
