#pragma once
// Worksheets 16, 17 and 18: the bond summary of a mine or of a project, printed
// as the main window's bond pages show it.
#include <QVariant>
#include <optional>

class BondSummary;
class ReportFrame;

// Runs the bond summary, then prints Worksheet 16 on the current page and
// Worksheets 17 and 18 each on a new framed page.
void PrintBondSummary(ReportFrame& frame, BondSummary& bond, bool mine);
// The same for a mine named by key, of all its projects or (with `projectId`) of one.
void PrintBondSummaryOf(ReportFrame& frame, BondSummary& bond, const QVariant& mineId,
                        const std::optional<QVariant>& projectId);
